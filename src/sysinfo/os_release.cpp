#include "sysinfo/os_release.h"

#include <QHash>

#include <optional>

namespace quill {
namespace {

bool isKey(QStringView key)
{
    if (key.isEmpty())
        return false;
    for (QChar c : key) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'_')
            return false;
    }
    return true;
}

// The value of an assignment as the shell reads it; nullopt when a quote is left open.
std::optional<QString> shellValue(QStringView raw)
{
    QString out;
    qsizetype i = 0;
    while (i < raw.size()) {
        const QChar c = raw[i];
        if (c == u'"') {
            for (++i;; ++i) {
                if (i >= raw.size())
                    return std::nullopt;
                if (raw[i] == u'"')
                    break;
                // Inside double quotes a backslash escapes only these.
                if (raw[i] == u'\\' && i + 1 < raw.size() &&
                    QStringView(u"$\"\\`").contains(raw[i + 1]))
                    ++i;
                out += raw[i];
            }
            ++i;
        } else if (c == u'\'') {
            const qsizetype close = raw.indexOf(u'\'', i + 1);
            if (close < 0)
                return std::nullopt;
            out += raw.sliced(i + 1, close - i - 1);
            i = close + 1;
        } else if (c == u'\\') {
            if (i + 1 < raw.size())
                out += raw[i + 1];
            i += 2;
        } else if (c.isSpace()) {
            break; // an unquoted blank ends the value
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QString oneLine(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return out.simplified();
}

} // namespace

QString osReleaseName(QByteArrayView text)
{
    QHash<QString, QString> values;
    const QString decoded = QString::fromUtf8(text);
    for (QStringView line : QStringView(decoded).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || !isKey(line.first(eq)))
            continue;
        if (const std::optional<QString> value = shellValue(line.sliced(eq + 1)))
            values.insert(line.first(eq).toString(), oneLine(*value));
    }

    const QString pretty = values.value(QStringLiteral("PRETTY_NAME"));
    if (!pretty.isEmpty())
        return pretty;
    QString name = values.value(QStringLiteral("NAME"));
    const QString version = values.value(QStringLiteral("VERSION"));
    if (name.isEmpty())
        name = QStringLiteral("Linux");
    if (!version.isEmpty())
        name += u' ' + version;
    return name;
}

} // namespace quill
