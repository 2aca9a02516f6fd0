#pragma once

#include "document/character_set.h"
#include "document/tag_document.h"
#include "files/file_io.h"

#include <QString>

#include <array>
#include <cstdint>

namespace quill {

// The project file: one fixed record of the tag document, little-endian, texts as
// a length byte followed by a fixed capacity of bytes in the character set the record
// chooses.
struct TProjectRecord {
    static constexpr qsizetype Size = 1640;
    std::array<std::uint8_t, Size> bytes{};

    friend bool operator==(const TProjectRecord &, const TProjectRecord &) = default;
};

// Takes every stored field of the document into a record. Texts are in the character
// set the document chooses, a character it lacks as '?'; a text longer than its
// capacity keeps its first bytes, cut where a character ends. Lists outside their items
// store -1.
TProjectRecord GatherProject(const TagDocument &doc);

// Puts every stored value back into the document, texts read in the set the record
// chooses. A list position outside its items gives no selection (-1); a check box is
// checked only for the byte 1; a length byte beyond the capacity is cut at the capacity.
// The mode and unstored values stay.
void ApplyProject(const TProjectRecord &record, TagDocument &doc);

// The position a list field's four bytes hold, whatever it is.
std::int32_t storedPosition(const TProjectRecord &record, const FieldDef &def);
// The character set the record's texts are in: that of its stored character-set item.
CharacterSet recordSet(const TProjectRecord &record);
// A text field's bytes as Open takes them: as many as its length byte says, at most its
// capacity.
QByteArray storedText(const TProjectRecord &record, const FieldDef &def);

// The name of the file to write for the name chosen in the save dialog.
QString ProjectFileName(const QString &chosen);

bool SaveProjectFile(const QString &path, const TProjectRecord &record, QString *error);
// Reads the record from the file's first bytes. The window takes regular files only;
// the companion reads a pipe too.
bool LoadProjectFile(const QString &path, TProjectRecord *record, QString *error,
                     FileKind kind = FileKind::Any);

} // namespace quill
