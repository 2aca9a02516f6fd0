#include "site/site_text.h"

#include "document/utf8_text.h"
#include "files/project_text.h"
#include "files/text_places.h"

#include <QStringList>

#include <bitset>

namespace quill::site_text {

QString collapsed(QStringView text)
{
    QString out;
    out.reserve(text.size());
    bool blank = false;
    for (const QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r') {
            blank = !out.isEmpty();
            continue;
        }
        if (blank)
            out += u' ';
        blank = false;
        out += c;
    }
    return out;
}

QString place(const QString &name, int line)
{
    return QStringLiteral("%1:%2: ").arg(name).arg(line);
}

QString placeAt(const QString &name, QByteArrayView text, qsizetype offset)
{
    return TextPlaces(name, text).at(offset);
}

bool decodeText(QByteArrayView utf8, QString *text)
{
    *text = utf8Characters(utf8);
    return isValidUtf8(utf8);
}

QString quoted(QByteArrayView name)
{
    return jsonString(QString::fromUtf8(name));
}

bool headerColumns(const QList<QByteArray> &names, QList<SiteColumn> *columns, QString *error)
{
    QList<SiteColumn> found;
    QStringList unknown;
    std::bitset<SiteColumnCount> seen;
    for (const QByteArray &name : names) {
        const ColumnDef *def = findSiteColumn(name);
        if (!def) {
            unknown << quoted(name);
            continue;
        }
        const auto index = static_cast<std::size_t>(def->column);
        if (seen[index]) {
            *error = QStringLiteral("column %1 given twice").arg(quoted(name));
            return false;
        }
        seen[index] = true;
        found << def->column;
    }
    if (!unknown.isEmpty()) {
        QStringList known;
        for (const ColumnDef &def : siteColumns())
            known << QLatin1StringView(def.key);
        *error =
            QStringLiteral("unknown %1 %2 (the columns are %3)")
                .arg(unknown.size() == 1 ? QStringLiteral("column") : QStringLiteral("columns"),
                     unknown.join(QStringLiteral(", ")), known.join(QStringLiteral(", ")));
        return false;
    }
    if (!seen[static_cast<std::size_t>(SiteColumn::Page)]) {
        *error = QStringLiteral("no column \"page\" to name each row's page");
        return false;
    }
    *columns = found;
    return true;
}

} // namespace quill::site_text
