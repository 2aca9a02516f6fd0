#include "files/project_file.h"

#include "document/character_set.h"
#include "files/project_text.h"

#include <cstring>

namespace quill {
namespace {

// The tail's first line; a later form of the tail would change its number.
constexpr QByteArrayView TailStart = "Quillmark-Texts ";
constexpr QByteArrayView TailLine = "Quillmark-Texts 1\n";

QByteArray recordBytes(const TProjectRecord &record)
{
    return QByteArray(reinterpret_cast<const char *>(record.bytes.data()), TProjectRecord::Size);
}

// True when the text, written as Save writes it, is exactly what the record holds for
// the field: its length byte and its bytes.
bool recordHolds(const TProjectRecord &record, const CharacterSet &set, const FieldDef &def,
                 const QString &text)
{
    const QByteArray bytes = set.fitted(text, def.capacity);
    return record.bytes[std::size_t(def.offset)] == bytes.size() &&
           storedText(record, def) == bytes;
}

} // namespace

ProjectFile GatherProjectFile(const TagDocument &doc)
{
    ProjectFile file{GatherProject(doc), {}};
    const CharacterSet set = recordSet(file.record);
    QList<std::pair<QString, QString>> whole;
    for (const FieldDef &def : fieldCatalogue()) {
        const QString text = doc.text(def.id);
        if (def.kind == FieldKind::Edit && set.decode(storedText(file.record, def)) != text)
            whole.append({QLatin1StringView(def.key), jsonString(text)});
    }
    if (!whole.isEmpty())
        file.tail = TailLine.toByteArray() + jsonObject(whole);
    return file;
}

void ApplyProjectFile(const ProjectFile &file, TagDocument &doc, QString *note)
{
    note->clear();
    ApplyProject(file.record, doc);
    if (!file.tail.startsWith(TailStart))
        return;
    if (!file.tail.startsWith(TailLine)) {
        *note = QStringLiteral("the whole texts after the record are in a later form");
        return;
    }
    const QByteArrayView object = QByteArrayView(file.tail).sliced(TailLine.size());
    QList<std::pair<Field, QString>> texts;
    if (!object.endsWith('\n') || !textsFromJson(object, &texts)) {
        *note = QStringLiteral("the whole texts after the record are not well formed");
        return;
    }
    const CharacterSet set = recordSet(file.record);
    for (const auto &[field, text] : std::as_const(texts)) {
        if (recordHolds(file.record, set, fieldDef(field), text))
            doc.setText(field, text);
    }
}

QByteArray projectFileBytes(const ProjectFile &file)
{
    return recordBytes(file.record) + file.tail;
}

bool SaveProjectFile(const QString &path, const ProjectFile &file, QString *error)
{
    return replaceFile(path, projectFileBytes(file), error);
}

bool projectFileFromBytes(const QByteArray &bytes, ProjectFile *file, QString *error)
{
    if (bytes.size() < TProjectRecord::Size) {
        if (error)
            *error = readBeyondEndOfFileMessage();
        return false;
    }
    std::memcpy(file->record.bytes.data(), bytes.constData(), TProjectRecord::Size);
    file->tail = bytes.sliced(TProjectRecord::Size);
    return true;
}

bool LoadProjectFile(const QString &path, ProjectFile *file, QString *error, FileKind kind)
{
    QByteArray data;
    return readFileUpTo(path, TProjectRecord::Size + ProjectTailLimit, &data, error, kind) &&
           projectFileFromBytes(data, file, error);
}

} // namespace quill
