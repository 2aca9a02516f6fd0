#include "pages/page_charset.h"

#include "document/ansi_codec.h"
#include "document/character_set.h"
#include "document/code_point_name.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

#include <iconv.h>

namespace quill {
namespace {

// The encoding standard's own table of encodings and their labels, as it publishes it.
constexpr char encodingTable[] =
#include "encoding_table.inc"
    ;

struct Table {
    QStringList names;
    QHash<QByteArray, int> labels;
    int index(const char *name) const { return int(names.indexOf(QLatin1StringView(name))); }
};

const Table &table()
{
    static const Table loaded = [] {
        Table out;
        const QJsonArray groups = QJsonDocument::fromJson(encodingTable).array();
        for (const QJsonValue &group : groups) {
            for (const QJsonValue &encoding : group[QLatin1StringView("encodings")].toArray()) {
                const int index = int(out.names.size());
                out.names << encoding[QLatin1StringView("name")].toString();
                for (const QJsonValue &label : encoding[QLatin1StringView("labels")].toArray())
                    out.labels.insert(label.toString().toLatin1(), index);
            }
        }
        Q_ASSERT(!out.names.isEmpty());
        return out;
    }();
    return loaded;
}

bool isAsciiWhitespace(char c)
{
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

QByteArrayView asciiTrimmed(QByteArrayView text)
{
    while (!text.isEmpty() && isAsciiWhitespace(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isAsciiWhitespace(text.back()))
        text.chop(1);
    return text;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

char32_t codeAt(QStringView text, qsizetype i)
{
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(text[i], text[i + 1]);
    return text[i].unicode();
}

// Labels of UTF-32, which the table no longer holds: browsers that still know them read
// such a declaration as UTF-8, as they do a UTF-16 one.
bool namesUtf32(QByteArrayView label)
{
    for (const char *utf32 : {"utf-32", "utf-32le", "utf-32be"}) {
        if (QByteArrayView(utf32).compare(label, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The system's converter, for a set the toolkit's converters lack (ISO-8859-16): false
// when it has none either or a character does not convert.
// `stop`, when given, receives where the conversion stopped.
bool convertBySystem(const char *from, const char *to, QByteArrayView bytes, QByteArray *out,
                     qsizetype *stop = nullptr)
{
    const iconv_t converter = ::iconv_open(to, from);
    if (converter == iconv_t(-1))
        return false;
    out->resize(bytes.size() * 4 + 16);
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = std::size_t(bytes.size());
    char *at = out->data();
    std::size_t outLeft = std::size_t(out->size());
    const bool done = ::iconv(converter, &in, &inLeft, &at, &outLeft) != std::size_t(-1) &&
                      ::iconv(converter, nullptr, nullptr, &at, &outLeft) != std::size_t(-1);
    ::iconv_close(converter);
    out->truncate(at - out->data());
    if (stop)
        *stop = bytes.size() - qsizetype(inLeft);
    return done && inLeft == 0;
}

} // namespace

PageCharset PageCharset::forLabel(QByteArrayView label)
{
    QByteArray key = asciiTrimmed(label).toByteArray();
    for (char &c : key)
        c = asciiLower(c);
    return PageCharset(table().labels.value(key, -1));
}

PageCharset PageCharset::utf8()
{
    return PageCharset(table().index("UTF-8"));
}

PageCharset PageCharset::windows1252()
{
    return PageCharset(table().index("windows-1252"));
}

QString PageCharset::name() const
{
    return isValid() ? table().names.at(m_index) : QString();
}

bool PageCharset::keepsAscii() const
{
    static const QList<int> others = {table().index("ISO-2022-JP"), table().index("UTF-16BE"),
                                      table().index("UTF-16LE"), table().index("replacement")};
    return isValid() && !others.contains(m_index);
}

QString PageCharset::decode(QByteArrayView bytes) const
{
    if (sameAs(windows1252()))
        return decodeAnsi(bytes);
    if (sameAs(utf8()))
        return QString::fromUtf8(bytes);
    const QByteArray set = name().toLatin1();
    QStringDecoder decoder(set.constData());
    if (decoder.isValid())
        return decoder.decode(bytes);
    QByteArray utf8;
    convertBySystem(set.constData(), "UTF-8", bytes, &utf8);
    return QString::fromUtf8(utf8);
}

qsizetype PageCharset::firstInvalid(QByteArrayView bytes) const
{
    // Every byte means a character in windows-1252 as browsers read it.
    if (!isValid() || sameAs(windows1252()))
        return -1;
    if (sameAs(utf8()))
        return firstInvalidUtf8(bytes);
    const QByteArray set = name().toLatin1();
    QStringDecoder whole(set.constData(), QStringConverter::Flag::Stateless);
    if (!whole.isValid()) {
        QByteArray utf8;
        qsizetype stop = -1;
        return convertBySystem(set.constData(), "UTF-8", bytes, &utf8, &stop) ? -1 : stop;
    }
    // The decoder works only once its result is taken.
    const QString text = whole.decode(bytes);
    if (!whole.hasError())
        return -1;
    // Found again a byte at a time, only for a page that has such a fault: the decoder
    // keeps a broken sequence's state, so the first byte after which it reports the
    // error is where the fault shows.
    QStringDecoder stepwise(set.constData());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const QString part = stepwise.decode(bytes.sliced(i, 1));
        if (stepwise.hasError())
            return i;
    }
    return bytes.size();
}

bool PageCharset::encode(QStringView text, QByteArray *out, QString *fault) const
{
    // The whole text at once; only a text the set cannot hold is gone through one
    // character at a time, to name the first character it lacks.
    const auto encoded = [this](QStringView part, QByteArray *bytes) {
        if (sameAs(utf8())) {
            *bytes = part.toUtf8();
            return part.isValidUtf16();
        }
        if (sameAs(windows1252())) {
            *bytes = encodeAnsi(part);
            return CharacterSet::western().holds(part);
        }
        const QByteArray set = name().toLatin1();
        QStringEncoder encoder(set.constData());
        if (!encoder.isValid())
            return convertBySystem("UTF-8", set.constData(), part.toUtf8(), bytes) &&
                   decode(*bytes) == part;
        *bytes = encoder.encode(part);
        return !encoder.hasError() && decode(*bytes) == part;
    };
    if (!isValid()) {
        *fault = QStringLiteral("no character set to write in");
        return false;
    }
    if (encoded(text, out))
        return true;
    out->clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char32_t code = codeAt(text, i);
        const qsizetype length = code > 0xFFFF ? 2 : 1;
        QByteArray bytes;
        if (!encoded(text.sliced(i, length), &bytes)) {
            *fault =
                QStringLiteral("%1 cannot be written in %2").arg(describeCharacter(code), name());
            return false;
        }
        out->append(bytes);
        i += length - 1;
    }
    return true;
}

bool pageEncoding(QByteArrayView page, const PageHead &head, PageEncoding *out, QString *error)
{
    using Source = PageEncoding::Source;
    // The first declaration of a set browsers know counts, as it does for them; the
    // others, known or not, are of no effect.
    const auto known = std::find_if(
        head.declarations.begin(), head.declarations.end(), [](const CharsetDeclaration &d) {
            return PageCharset::forLabel(d.label).isValid() || namesUtf32(asciiTrimmed(d.label));
        });
    const CharsetDeclaration declaration =
        known != head.declarations.end() ? *known : CharsetDeclaration();
    // A byte-order mark outranks any declaration.
    if (utf8BomLength(page) > 0) {
        *out = {PageCharset::utf8(), Source::ByteOrderMark,
                QStringLiteral("is written in UTF-8 (it starts with a byte-order mark)"),
                declaration};
        return true;
    }
    if (known == head.declarations.end() && !head.declarations.isEmpty()) {
        const CharsetDeclaration &unknown = head.declarations.constFirst();
        *error = QStringLiteral("Line %1 declares the unknown character set \"%2\"")
                     .arg(unknown.line)
                     .arg(QString::fromLatin1(unknown.label));
        return false;
    }
    if (known != head.declarations.end()) {
        const PageCharset named = PageCharset::forLabel(declaration.label);
        const QString label = QString::fromLatin1(declaration.label);
        PageCharset charset = named;
        QString reason = QStringLiteral("declares %1 on line %2").arg(label).arg(declaration.line);
        if (namesUtf32(asciiTrimmed(declaration.label)) ||
            named.sameAs(PageCharset::forLabel("utf-16le")) ||
            named.sameAs(PageCharset::forLabel("utf-16be"))) {
            charset = PageCharset::utf8();
            reason += QStringLiteral(" (browsers read it as UTF-8)");
        } else if (named.sameAs(PageCharset::forLabel("x-user-defined"))) {
            charset = PageCharset::windows1252();
            reason += QStringLiteral(" (browsers read it as windows-1252)");
        } else if (named.sameAs(PageCharset::forLabel("replacement"))) {
            *error = QStringLiteral("Line %1 declares %2, in which browsers show none of the "
                                    "page's text; the page is left alone")
                         .arg(declaration.line)
                         .arg(label);
            return false;
        } else if (!named.keepsAscii()) {
            *error = QStringLiteral("Line %1 declares %2 (%3), a character set that does not "
                                    "keep ASCII as it is; the page is left alone")
                         .arg(declaration.line)
                         .arg(label, named.name());
            return false;
        }
        *out = {charset, Source::Declaration, reason, declaration};
        return true;
    }
    if (isAscii(page)) {
        *out = {PageCharset::utf8(),
                Source::PlainAscii,
                QStringLiteral("declares no character set and is plain ASCII"),
                {}};
        return true;
    }
    const PageCharset own = isValidUtf8(page) ? PageCharset::utf8() : PageCharset::windows1252();
    *out = {own,
            Source::Content,
            QStringLiteral("is written in %1 without declaring it").arg(own.name()),
            {}};
    return true;
}

bool readsAlike(const PageEncoding &changed, const PageCharset &charset, QString *error)
{
    if (changed.source == PageEncoding::Source::PlainAscii || changed.charset.sameAs(charset))
        return true;
    *error = QStringLiteral("The page declares no character set, and once changed its other "
                            "bytes would read as %1, not %2; declare its set first")
                 .arg(changed.charset.name(), charset.name());
    return false;
}

qsizetype utf8BomLength(QByteArrayView page)
{
    return page.startsWith("\xEF\xBB\xBF") ? 3 : 0;
}

bool hasUtf16Bom(QByteArrayView page)
{
    return page.startsWith("\xFF\xFE") || page.startsWith("\xFE\xFF");
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
    constexpr QByteArrayView word = "charset";
    qsizetype position = 0;
    for (;;) {
        qsizetype at = position;
        while (at + word.size() <= content.size() &&
               content.sliced(at, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            ++at;
        if (at + word.size() > content.size())
            return {};
        qsizetype next = at + word.size();
        while (next < content.size() && isAsciiWhitespace(content[next]))
            ++next;
        if (next == content.size() || content[next] != '=') {
            // Not this "charset": look again from the character after it.
            position = next;
            continue;
        }
        ++next;
        while (next < content.size() && isAsciiWhitespace(content[next]))
            ++next;
        if (next == content.size())
            return {};
        const char first = content[next];
        if (first == '"' || first == '\'') {
            const qsizetype close = content.indexOf(first, next + 1);
            return close < 0 ? QByteArray()
                             : content.sliced(next + 1, close - next - 1).toByteArray();
        }
        qsizetype end = next;
        while (end < content.size() && !isAsciiWhitespace(content[end]) && content[end] != ';')
            ++end;
        return content.sliced(next, end - next).toByteArray();
    }
}

QString describeCharacter(char32_t code)
{
    const QString name = codePointName(code);
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F) || (code >= 0xD800 && code <= 0xDFFF))
        return name;
    return QStringLiteral("\"%1\" (%2)").arg(QString::fromUcs4(&code, 1), name);
}

} // namespace quill
