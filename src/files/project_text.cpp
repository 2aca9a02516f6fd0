#include "files/project_text.h"

#include "document/ansi_codec.h"
#include "document/tag_document.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>
#include <QLatin1StringView>

#include <algorithm>
#include <string>

namespace quill {
namespace {

QString keyOf(const FieldDef &def)
{
    return QLatin1StringView(def.key);
}

// Control characters, C1 included, are escaped too: a text may hold any byte, and
// the line form must show every one of them.
QString jsonString(QStringView text)
{
    static constexpr char16_t named[] = u"\"\\\b\f\n\r\t";
    static constexpr char letters[] = "\"\\bfnrt";
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (const char16_t *n = std::char_traits<char16_t>::find(named, 7, u)) {
            out += QLatin1Char('\\');
            out += QLatin1Char(letters[n - named]);
        } else if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
            out += QStringLiteral("\\u%1").arg(unsigned(u), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out + QLatin1Char('"');
}

// The value of one field as Open leaves it, written as JSON.
QString jsonValue(const TagDocument &doc, const FieldDef &def)
{
    switch (def.kind) {
    case FieldKind::Edit:
        return jsonString(doc.text(def.id));
    case FieldKind::List:
        return doc.index(def.id) < 0 ? QStringLiteral("null")
                                     : jsonString(listItemText(def, doc.index(def.id)));
    case FieldKind::Check:
        break;
    }
    return doc.isChecked(def.id) ? QStringLiteral("true") : QStringLiteral("false");
}

TagDocument opened(const TProjectRecord &record)
{
    TagDocument doc = TagDocument::startUp();
    ApplyProject(record, doc);
    return doc;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The offset of the first byte that does not begin a well-formed UTF-8 sequence (no
// overlong forms, no surrogates, nothing beyond U+10FFFF); -1 when there is none.
qsizetype firstInvalidUtf8(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 1;
        char32_t code = lead;
        char32_t least = 0;
        if (lead >= 0xF0 && lead < 0xF8) {
            length = 4;
            code = lead & 0x07;
            least = 0x10000;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3;
            code = lead & 0x0F;
            least = 0x800;
        } else if (lead >= 0xC0 && lead < 0xE0) {
            length = 2;
            code = lead & 0x1F;
            least = 0x80;
        } else if (lead >= 0x80) {
            return i;
        }
        if (length > text.size() - i)
            return i;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return i;
        i += length;
    }
    return -1;
}

// "NAME:LINE:COLUMN: " for a byte offset into valid UTF-8; columns count characters.
QString place(const QString &name, QByteArrayView text, qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    qsizetype line = 1;
    qsizetype column = 1;
    for (qsizetype i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return QStringLiteral("%1:%2:%3: ").arg(name).arg(line).arg(column);
}

// One JSON value on its own, taken from a document the parser has accepted whole.
QJsonValue parseValue(QByteArrayView json)
{
    const QByteArray wrapped = '[' + json.toByteArray() + ']';
    return QJsonDocument::fromJson(wrapped).array().at(0);
}

// A member of the top-level object as the source spells it. QJsonObject keeps only
// the last of a repeated key, so the members are read from the raw text.
struct Member {
    QString key;
    qsizetype offset; // of the key's opening quote
    QJsonValue value;
};

// The members of the top-level object in source order; `json` is an object the
// parser has accepted.
QList<Member> members(QByteArrayView json)
{
    QList<Member> out;
    int depth = 0;
    qsizetype keyStart = -1;
    qsizetype keyEnd = -1;
    qsizetype valueStart = -1;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '"') {
            const qsizetype start = i;
            for (++i; i < json.size() && json[i] != '"'; ++i) {
                if (json[i] == '\\')
                    ++i;
            }
            if (depth == 1 && keyStart < 0) {
                keyStart = start;
                keyEnd = i + 1;
            }
            continue;
        }
        if (depth == 1 && c == ':') {
            valueStart = i + 1;
        } else if (depth == 1 && (c == ',' || c == '}') && keyStart >= 0) {
            out.append({parseValue(json.sliced(keyStart, keyEnd - keyStart)).toString(), keyStart,
                        parseValue(json.sliced(valueStart, i - valueStart))});
            keyStart = -1;
        }
        if (c == '{' || c == '[')
            ++depth;
        else if (c == '}' || c == ']')
            --depth;
    }
    return out;
}

QString typeName(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

// The characters of `text` that do not come back from the 8-bit codec as themselves,
// each once, as U+XXXX. A lone surrogate counts as a character of its own.
QStringList outsideCodec(const QString &text)
{
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QStringView one = QStringView(text).sliced(i, pair ? 2 : 1);
        if (decodeAnsi(encodeAnsi(one)) != one) {
            const char32_t code =
                pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
            const QString name =
                QStringLiteral("U+%1").arg(unsigned(code), 4, 16, QLatin1Char('0')).toUpper();
            if (!out.contains(name))
                out << name;
        }
        if (pair)
            ++i;
    }
    return out;
}

// Puts one member's value into the document; a fault is appended to `faults` as a
// reason naming the key.
void takeValue(const FieldDef &def, const QJsonValue &value, TagDocument &doc, QStringList &faults)
{
    const QString key = keyOf(def);
    switch (def.kind) {
    case FieldKind::Edit: {
        if (!value.isString()) {
            faults << key + QStringLiteral(": takes a string, not ") + typeName(value);
            return;
        }
        const QString text = value.toString();
        const QStringList outside = outsideCodec(text);
        if (!outside.isEmpty())
            faults << key +
                          (outside.size() == 1 ? QStringLiteral(": a character outside")
                                               : QStringLiteral(": characters outside")) +
                          QStringLiteral(" the 8-bit character set: ") +
                          outside.join(QStringLiteral(", "));
        // One byte per character: the stored length.
        const qsizetype length = encodeAnsi(text).size();
        if (length > def.capacity)
            faults << QStringLiteral("%1: %2 characters, more than the %3 the field holds")
                          .arg(key)
                          .arg(length)
                          .arg(def.capacity);
        doc.setText(def.id, text);
        return;
    }
    case FieldKind::List: {
        if (value.isNull()) {
            doc.setIndex(def.id, -1);
            return;
        }
        if (!value.isString()) {
            faults << key + QStringLiteral(": takes one of its items or null, not ") +
                          typeName(value);
            return;
        }
        const QString text = value.toString();
        QStringList items;
        for (std::size_t i = 0; i < def.items.size(); ++i) {
            const QString item = QLatin1StringView(def.items[i]);
            if (item == text) {
                doc.setIndex(def.id, int(i));
                return;
            }
            items << jsonString(item);
        }
        faults << key + QLatin1StringView(": ") + jsonString(text) +
                      QStringLiteral(" is none of its items: ") + items.join(QStringLiteral(", "));
        return;
    }
    case FieldKind::Check:
        if (!value.isBool()) {
            faults << key + QStringLiteral(": takes true or false, not ") + typeName(value);
            return;
        }
        doc.setChecked(def.id, value.toBool());
        return;
    }
}

} // namespace

QByteArray projectToJson(const TProjectRecord &record)
{
    const TagDocument doc = opened(record);
    QStringList lines;
    for (const FieldDef &def : fieldCatalogue())
        lines << QStringLiteral("    \"%1\": %2").arg(keyOf(def), jsonValue(doc, def));
    return (QStringLiteral("{\n") + lines.join(QStringLiteral(",\n")) + QStringLiteral("\n}\n"))
        .toUtf8();
}

QByteArray projectToLines(const TProjectRecord &record)
{
    const TagDocument doc = opened(record);
    QString text;
    for (const FieldDef &def : fieldCatalogue())
        text += keyOf(def) + QLatin1StringView(": ") + jsonValue(doc, def) + QLatin1Char('\n');
    return text.toUtf8();
}

QStringList projectNormalisations(const TProjectRecord &record)
{
    QStringList out;
    for (const FieldDef &def : fieldCatalogue()) {
        const QString key = keyOf(def);
        const unsigned byte = record.bytes[static_cast<std::size_t>(def.offset)];
        switch (def.kind) {
        case FieldKind::Edit:
            if (byte > unsigned(def.capacity))
                out << QStringLiteral("%1: stored length %2 is beyond its capacity; cut to %3 "
                                      "characters")
                           .arg(key)
                           .arg(byte)
                           .arg(def.capacity);
            break;
        case FieldKind::List: {
            const std::int32_t position = storedPosition(record, def);
            if (position != -1 && listItemText(def, position).isEmpty())
                out << QStringLiteral("%1: stored position %2 is none of its items; shown as null")
                           .arg(key)
                           .arg(position);
            break;
        }
        case FieldKind::Check:
            if (byte > 1)
                out << QStringLiteral("%1: stored byte %2 is neither 0 nor 1; shown as false")
                           .arg(key)
                           .arg(byte);
            break;
        }
    }
    return out;
}

bool projectFromJson(QByteArrayView source, const QString &sourceName, TProjectRecord *record,
                     QStringList *errors)
{
    errors->clear();
    // The byte-order mark is no part of the text: columns count from after it.
    const QByteArrayView text =
        source.startsWith("\xEF\xBB\xBF") ? source.sliced(3) : QByteArrayView(source);
    const auto fail = [&](qsizetype offset, const QString &reason) {
        *errors << place(sourceName, text, offset) + reason;
        return false;
    };

    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    if (first == text.end())
        return fail(0, QStringLiteral("empty"));
    if (const qsizetype bad = firstInvalidUtf8(text); bad >= 0)
        return fail(bad, QStringLiteral("not UTF-8"));
    if (*first != '{')
        return fail(first - text.begin(), QStringLiteral("the top level is not an object"));
    QJsonParseError parsed;
    QJsonDocument::fromJson(text.toByteArray(), &parsed);
    if (parsed.error != QJsonParseError::NoError)
        return fail(parsed.offset, parsed.errorString());

    TagDocument doc = TagDocument::startUp();
    QStringList seen;
    for (const Member &member : members(text)) {
        const QString at = place(sourceName, text, member.offset);
        const FieldDef *def = findFieldByKey(member.key);
        if (!def) {
            *errors << at + QStringLiteral("unknown key ") + jsonString(member.key);
            continue;
        }
        if (seen.contains(member.key))
            *errors << at + member.key + QStringLiteral(": given more than once");
        seen << member.key;
        QStringList faults;
        takeValue(*def, member.value, doc, faults);
        for (const QString &fault : std::as_const(faults))
            *errors << at + fault;
    }
    if (!errors->isEmpty())
        return false;
    *record = GatherProject(doc);
    return true;
}

} // namespace quill
