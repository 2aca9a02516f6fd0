#include "files/project_text.h"

#include "document/ansi_codec.h"
#include "document/tag_document.h"

#include <QLatin1StringView>

#include <string>

namespace quill {
namespace {

QString keyOf(const FieldDef &def)
{
    return QLatin1StringView(def.key);
}

} // namespace

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

namespace {

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

} // namespace quill
