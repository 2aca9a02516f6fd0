#include "pages/page_charset.h"

#include "document/ansi_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace quill {
namespace {

const QString westernName = QStringLiteral("windows-1252");
const QString utf8Name = QStringLiteral("UTF-8");

bool isWesternLabel(const QString &canonical)
{
    // Browsers read every one of these as Windows-1252; so does the program's own codec.
    return canonical.compare(QLatin1StringView("ISO-8859-1"), Qt::CaseInsensitive) == 0 ||
           canonical.compare(QLatin1StringView("US-ASCII"), Qt::CaseInsensitive) == 0 ||
           canonical.compare(QLatin1StringView("windows-1252"), Qt::CaseInsensitive) == 0;
}

char32_t codeAt(QStringView text, qsizetype i)
{
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(text[i], text[i + 1]);
    return text[i].unicode();
}

} // namespace

PageCharset PageCharset::forLabel(QByteArrayView label)
{
    PageCharset set;
    const QByteArray trimmed = label.toByteArray().trimmed();
    if (trimmed.isEmpty() || trimmed.contains('\0'))
        return set;
    QStringDecoder decoder(trimmed.constData());
    if (!decoder.isValid())
        return set;
    const QString canonical = QString::fromLatin1(decoder.name());
    if (isWesternLabel(canonical))
        set.m_name = westernName;
    else if (canonical.compare(utf8Name, Qt::CaseInsensitive) == 0)
        set.m_name = utf8Name;
    else
        set.m_name = canonical;
    return set;
}

PageCharset PageCharset::utf8()
{
    PageCharset set;
    set.m_name = utf8Name;
    return set;
}

PageCharset PageCharset::windows1252()
{
    PageCharset set;
    set.m_name = westernName;
    return set;
}

QString PageCharset::decode(QByteArrayView bytes) const
{
    if (m_name == westernName)
        return decodeAnsi(bytes);
    if (m_name == utf8Name)
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(m_name.toLatin1().constData());
    return decoder.decode(bytes);
}

bool PageCharset::encode(QStringView text, QByteArray *out, QString *fault) const
{
    out->clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char32_t code = codeAt(text, i);
        const QStringView one = text.sliced(i, code > 0xFFFF ? 2 : 1);
        QByteArray bytes;
        bool held = !text[i].isSurrogate() || code > 0xFFFF;
        if (held && m_name == westernName) {
            bytes = encodeAnsi(one);
            held = decodeAnsi(bytes) == one;
        } else if (held && m_name == utf8Name) {
            bytes = one.toUtf8();
        } else if (held) {
            QStringEncoder encoder(m_name.toLatin1().constData());
            bytes = encoder.encode(one);
            held = !encoder.hasError() && decode(bytes) == one;
        }
        if (!held) {
            *fault =
                QStringLiteral("%1 cannot be written in %2").arg(describeCharacter(code), m_name);
            return false;
        }
        out->append(bytes);
        if (code > 0xFFFF)
            ++i;
    }
    return true;
}

qsizetype utf8BomLength(QByteArrayView page)
{
    return page.startsWith("\xEF\xBB\xBF") ? 3 : 0;
}

bool hasUtf16Bom(QByteArrayView page)
{
    return page.startsWith("\xFF\xFE") || page.startsWith("\xFE\xFF");
}

bool isValidUtf8(QByteArrayView bytes)
{
    return QStringView(QString::fromUtf8(bytes)).toUtf8() == bytes;
}

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

QByteArray charsetOfContentType(QByteArrayView content)
{
    const QByteArray lower = content.toByteArray().toLower();
    const qsizetype at = lower.indexOf("charset=");
    if (at < 0)
        return {};
    QByteArray label = content.sliced(at + 8).toByteArray();
    const qsizetype end = label.indexOf(';');
    if (end >= 0)
        label.truncate(end);
    label = label.trimmed();
    if (label.size() >= 2 && (label.front() == '"' || label.front() == '\'') &&
        label.back() == label.front())
        label = label.sliced(1, label.size() - 2);
    return label;
}

QString describeCharacter(char32_t code)
{
    const QString name =
        QStringLiteral("U+%1").arg(unsigned(code), 4, 16, QLatin1Char('0')).toUpper();
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F) || (code >= 0xD800 && code <= 0xDFFF))
        return name;
    return QStringLiteral("\"%1\" (%2)").arg(QString::fromUcs4(&code, 1), name);
}

} // namespace quill
