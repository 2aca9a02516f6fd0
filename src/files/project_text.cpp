#include "files/project_text.h"

#include "document/character_set.h"
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

QByteArray jsonObject(const QList<std::pair<QString, QString>> &members)
{
    QStringList lines;
    for (const auto &[key, value] : members)
        lines << QStringLiteral("    %1: %2").arg(jsonString(key), value);
    return (QStringLiteral("{\n") + lines.join(QStringLiteral(",\n")) + QStringLiteral("\n}\n"))
        .toUtf8();
}

QByteArray projectToJson(const TagDocument &doc)
{
    QList<std::pair<QString, QString>> members;
    for (const FieldDef &def : fieldCatalogue())
        members.append({keyOf(def), jsonValue(doc, def)});
    return jsonObject(members);
}

QByteArray projectToLines(const TagDocument &doc)
{
    QString text;
    for (const FieldDef &def : fieldCatalogue())
        text += keyOf(def) + QLatin1StringView(": ") + jsonValue(doc, def) + QLatin1Char('\n');
    return text.toUtf8();
}

QByteArray projectToJson(const TProjectRecord &record)
{
    return projectToJson(opened(record));
}

QByteArray projectToLines(const TProjectRecord &record)
{
    return projectToLines(opened(record));
}

QStringList projectNormalisations(const TProjectRecord &record)
{
    QStringList out;
    const CharacterSet set = recordSet(record);
    for (const FieldDef &def : fieldCatalogue()) {
        const QString key = keyOf(def);
        const unsigned byte = record.bytes[static_cast<std::size_t>(def.offset)];
        switch (def.kind) {
        case FieldKind::Edit: {
            if (byte > unsigned(def.capacity))
                out << QStringLiteral("%1: stored length %2 is beyond its capacity; cut to %3 "
                                      "bytes")
                           .arg(key)
                           .arg(byte)
                           .arg(def.capacity);
            // What the set leaves undefined reads as U+FFFD, which Save writes otherwise.
            const QByteArray stored = storedText(record, def);
            if (set.encode(set.decode(stored), Lacking::QuestionMark) != stored)
                out << QStringLiteral("%1: stored bytes that are no characters of %2; shown as "
                                      "U+FFFD")
                           .arg(key, set.name());
            break;
        }
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
