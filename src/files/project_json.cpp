// Reading the JSON text form of a project file: RapidJSON's event reader for the grammar,
// this program's rules for the members. Every step is linear in the source: the text is
// scanned a fixed number of times, and each member is checked in constant time.

#include "files/project_text.h"

#include "document/code_point_name.h"
#include "document/tag_document.h"
#include "document/utf8_text.h"
#include "files/text_places.h"

#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// One member's value as the reader saw it; a string is UTF-8 (a lone low surrogate
// from an escape included) and lives only as long as the event.
struct Value {
    enum Type { Null, False, True, Number, String, Array, Object } type = Null;
    std::string_view utf8;
};

QString typeName(const Value &value)
{
    switch (value.type) {
    case Value::Null:
        return QStringLiteral("null");
    case Value::False:
        return QStringLiteral("false");
    case Value::True:
        return QStringLiteral("true");
    case Value::Number:
        return QStringLiteral("a number");
    case Value::String:
        return QStringLiteral("a string");
    case Value::Array:
        return QStringLiteral("an array");
    case Value::Object:
        break;
    }
    return QStringLiteral("an object");
}

// The code points of a string the reader decoded: whole UTF-8 sequences, each a
// character but for a surrogate that an escape may give, which ICU's unchecked step reads
// as the code point it encodes.
std::vector<char32_t> characters(std::string_view utf8)
{
    std::vector<char32_t> out;
    out.reserve(utf8.size());
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        UChar32 code = 0;
        U8_NEXT_UNSAFE(bytes, i, code);
        out.push_back(char32_t(code));
    }
    return out;
}

// Puts one member's value into the document; a fault is appended to `faults` as a
// reason naming the key.
void takeValue(const FieldDef &def, const Value &value, TagDocument &doc, QStringList &faults)
{
    const QString key = QLatin1StringView(def.key);
    switch (def.kind) {
    case FieldKind::Edit: {
        if (value.type != Value::String) {
            faults << key + QStringLiteral(": takes a string, not ") + typeName(value);
            return;
        }
        // Any character: one the project's set lacks goes to the file's tail whole. Only
        // half a surrogate pair, which an escape can give, is no character.
        QStringList halves;
        for (const char32_t c : characters(value.utf8)) {
            if (c >= 0xD800 && c <= 0xDFFF && !halves.contains(codePointName(c)))
                halves << codePointName(c);
        }
        if (!halves.isEmpty())
            faults << key + QStringLiteral(": half a surrogate pair is no character: ") +
                          halves.join(QStringLiteral(", "));
        // As long as the window lets the field's text grow, counted as it counts.
        const QString text = utf8Characters(value.utf8);
        const int longest = longestText(def);
        if (text.size() > longest)
            faults << QStringLiteral("%1: %2 characters, more than the %3 the field takes")
                          .arg(key)
                          .arg(text.size())
                          .arg(longest);
        if (halves.isEmpty() && text.size() <= longest)
            doc.setText(def.id, text);
        return;
    }
    case FieldKind::List: {
        if (value.type == Value::Null) {
            doc.setIndex(def.id, -1);
            return;
        }
        if (value.type != Value::String) {
            faults << key + QStringLiteral(": takes one of its items or null, not ") +
                          typeName(value);
            return;
        }
        QStringList items;
        for (std::size_t i = 0; i < def.items.size(); ++i) {
            if (value.utf8 == def.items[i]) {
                doc.setIndex(def.id, int(i));
                return;
            }
            items << jsonString(QString(QLatin1StringView(def.items[i])));
        }
        const QString text = QString::fromUtf8(value.utf8.data(), qsizetype(value.utf8.size()));
        faults << key + QLatin1StringView(": ") + jsonString(text) +
                      QStringLiteral(" is none of its items: ") + items.join(QStringLiteral(", "));
        return;
    }
    case FieldKind::Check:
        if (value.type != Value::True && value.type != Value::False) {
            faults << key + QStringLiteral(": takes true or false, not ") + typeName(value);
            return;
        }
        doc.setChecked(def.id, value.type == Value::True);
        return;
    }
}

const FieldDef *fieldByKey(std::string_view key)
{
    for (const FieldDef &def : fieldCatalogue()) {
        if (key == def.key)
            return &def;
    }
    return nullptr;
}

// One member of the top-level object: its key (UTF-8), where the key's opening quote
// stands, and its value. Both views live only as long as the call.
using MemberSink =
    std::function<void(std::string_view key, qsizetype keyPlace, const Value &value)>;

// Receives the reader's events and hands on the members of the top-level object in source
// order; what lies deeper only counts as the type of the member's value.
class Members
{
public:
    Members(const rapidjson::MemoryStream &stream, QByteArrayView text, const MemberSink &sink)
        : m_stream(stream)
        , m_text(text)
        , m_sink(sink)
    {}

    bool Null() { return scalar({Value::Null, {}}); }
    bool Bool(bool b) { return scalar({b ? Value::True : Value::False, {}}); }
    bool Int(int) { return number(); }
    bool Uint(unsigned) { return number(); }
    bool Int64(int64_t) { return number(); }
    bool Uint64(uint64_t) { return number(); }
    bool Double(double) { return number(); }
    bool RawNumber(const char *, rapidjson::SizeType, bool) { return number(); }
    bool String(const char *s, rapidjson::SizeType length, bool)
    {
        return scalar({Value::String, std::string_view(s, length)});
    }
    bool StartObject() { return open(Value::Object); }
    bool StartArray() { return open(Value::Array); }
    bool EndObject(rapidjson::SizeType) { return close(); }
    bool EndArray(rapidjson::SizeType) { return close(); }

    bool Key(const char *s, rapidjson::SizeType length, bool)
    {
        if (m_depth == 1) {
            // The key's opening quote: the first byte after the previous event that is
            // neither a blank nor the comma between members.
            qsizetype at = m_lastEvent;
            while (at < m_text.size() && (isBlank(m_text[at]) || m_text[at] == ','))
                ++at;
            m_key.assign(s, length); // the reader reuses its buffer for the value
            m_keyPlace = at;
        }
        return moved();
    }

private:
    bool number() { return scalar({Value::Number, {}}); }

    bool scalar(const Value &value)
    {
        if (m_depth == 1)
            m_sink(m_key, m_keyPlace, value);
        return moved();
    }

    bool open(Value::Type type)
    {
        if (m_depth == 1)
            m_sink(m_key, m_keyPlace, {type, {}});
        ++m_depth;
        return moved(1);
    }

    bool close()
    {
        --m_depth;
        return moved(1);
    }

    // The reader tells a bracket's event before it takes the bracket, any other event
    // after its token.
    bool moved(qsizetype bracket = 0)
    {
        m_lastEvent = qsizetype(m_stream.Tell()) + bracket;
        return true;
    }

    const rapidjson::MemoryStream &m_stream;
    QByteArrayView m_text;
    const MemberSink &m_sink;
    int m_depth = 0;
    qsizetype m_lastEvent = 0;
    std::string m_key;
    qsizetype m_keyPlace = 0;
};

// The reason for a fault of the JSON grammar at `offset`.
QString grammarFault(rapidjson::ParseErrorCode code, QByteArrayView text, qsizetype offset)
{
    using namespace rapidjson;
    const bool atEnd = offset >= text.size();
    const auto byte = atEnd ? 0u : static_cast<unsigned char>(text[offset]);
    if (atEnd && code != kParseErrorStringEscapeInvalid &&
        code != kParseErrorStringUnicodeEscapeInvalidHex &&
        code != kParseErrorStringUnicodeSurrogateInvalid)
        return QStringLiteral("the text ends inside the object");
    // The reader tells a raw control character in a string as a bad escape or a
    // missing quote.
    if (!atEnd && byte < 0x20 &&
        (code == kParseErrorStringMissQuotationMark || code == kParseErrorStringEscapeInvalid ||
         code == kParseErrorStringInvalidEncoding))
        return QStringLiteral("control character %1 inside a string; write it as an escape")
            .arg(codePointName(char32_t(byte)));
    if (byte == 0)
        return QStringLiteral("a NUL byte outside a string");
    switch (code) {
    case kParseErrorObjectMissName:
        return QStringLiteral("a key in double quotes expected");
    case kParseErrorObjectMissColon:
        return QStringLiteral("':' expected after the key");
    case kParseErrorObjectMissCommaOrCurlyBracket:
        return QStringLiteral("',' or '}' expected after the value");
    case kParseErrorArrayMissCommaOrSquareBracket:
        return QStringLiteral("',' or ']' expected after the value");
    case kParseErrorStringUnicodeEscapeInvalidHex:
        return QStringLiteral("\\u must be followed by four hexadecimal digits");
    case kParseErrorStringUnicodeSurrogateInvalid:
        return QStringLiteral("a \\u escape of half a surrogate pair without its other half");
    case kParseErrorStringEscapeInvalid: {
        const QString escape = offset + 1 < text.size()
                                   ? QString::fromUtf8(text.sliced(offset, 2).toByteArray())
                                   : QStringLiteral("\\");
        return QStringLiteral("invalid escape %1 (a backslash in a string begins one of "
                              "\\\" \\\\ \\/ \\b \\f \\n \\r \\t \\uXXXX)")
            .arg(escape);
    }
    case kParseErrorStringMissQuotationMark:
        return QStringLiteral("the string has no closing quote");
    case kParseErrorNumberTooBig:
    case kParseErrorNumberMissFraction:
    case kParseErrorNumberMissExponent:
        return QStringLiteral("not a valid number");
    default:
        break;
    }
    return QStringLiteral("not a JSON value");
}

// Where the grammar first fails, and why.
struct GrammarFault {
    qsizetype offset;
    QString reason;
};

// Reads `text` as one strict JSON object (UTF-8, blanks only after it), handing each
// top-level member to `sink`; the first fault of the grammar when it is none.
std::optional<GrammarFault> readObject(QByteArrayView text, const MemberSink &sink)
{
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    if (first == text.end())
        return GrammarFault{0, QStringLiteral("empty")};
    if (const qsizetype bad = firstInvalidUtf8(text); bad >= 0)
        return GrammarFault{bad, QStringLiteral("not UTF-8")};
    if (*first != '{')
        return GrammarFault{first - text.begin(), QStringLiteral("the top level is not an object")};

    // Iterative, so that deep nesting costs heap, not stack; numbers are only ever a
    // wrong type here, so they are not converted.
    constexpr unsigned flags = rapidjson::kParseIterativeFlag | rapidjson::kParseStopWhenDoneFlag |
                               rapidjson::kParseNumbersAsStringsFlag;
    rapidjson::MemoryStream stream(text.data(), std::size_t(text.size()));
    Members members(stream, text, sink);
    rapidjson::Reader reader;
    const rapidjson::ParseResult parsed = reader.Parse<flags>(stream, members);
    if (parsed.IsError()) {
        const auto offset = qsizetype(parsed.Offset());
        return GrammarFault{offset, grammarFault(parsed.Code(), text, offset)};
    }
    // The reader stops after the object: only blanks may follow.
    const auto rest =
        std::find_if_not(text.begin() + qsizetype(stream.Tell()), text.end(), isBlank);
    if (rest != text.end())
        return GrammarFault{rest - text.begin(), QStringLiteral("text after the object")};
    return std::nullopt;
}

} // namespace

bool projectFromJson(QByteArrayView source, const QString &sourceName, TagDocument *doc,
                     QStringList *errors)
{
    errors->clear();
    // The byte-order mark is no part of the text: columns count from after it.
    const QByteArrayView text =
        source.startsWith("\xEF\xBB\xBF") ? source.sliced(3) : QByteArrayView(source);
    TextPlaces places(sourceName, text);
    std::vector<bool> seen(fieldCatalogue().size(), false);
    TagDocument taken = TagDocument::startUp();
    const MemberSink member = [&](std::string_view key, qsizetype keyPlace, const Value &value) {
        const QString at = places.at(keyPlace);
        const FieldDef *def = fieldByKey(key);
        if (!def) {
            const QString name = QString::fromUtf8(key.data(), qsizetype(key.size()));
            *errors << at + QStringLiteral("unknown key ") + jsonString(name);
            return;
        }
        const auto index = std::size_t(def - fieldCatalogue().data());
        if (seen[index])
            *errors << at + QLatin1StringView(def->key) + QStringLiteral(": given more than once");
        seen[index] = true;
        QStringList faults;
        takeValue(*def, value, taken, faults);
        for (const QString &fault : std::as_const(faults))
            *errors << at + fault;
    };
    if (const auto fault = readObject(text, member)) {
        *errors = QStringList{places.at(fault->offset) + fault->reason};
        return false;
    }
    if (!errors->isEmpty())
        return false;
    *doc = taken;
    return true;
}

bool projectFromJson(QByteArrayView source, const QString &sourceName, TProjectRecord *record,
                     QStringList *errors)
{
    TagDocument doc;
    if (!projectFromJson(source, sourceName, &doc, errors))
        return false;
    *record = GatherProject(doc);
    return true;
}

bool textsFromJson(QByteArrayView source, QList<std::pair<Field, QString>> *texts)
{
    QList<std::pair<Field, QString>> found;
    const MemberSink member = [&found](std::string_view key, qsizetype, const Value &value) {
        const FieldDef *def = fieldByKey(key);
        if (def && def->kind == FieldKind::Edit && value.type == Value::String)
            found.append({def->id, utf8Characters(value.utf8)});
    };
    if (readObject(source, member))
        return false;
    *texts = std::move(found);
    return true;
}

} // namespace quill
