#pragma once

#include "document/tag_document.h"
#include "files/file_io.h"
#include "files/project_record.h"

#include <QByteArray>
#include <QString>

namespace quill {

// A project file: the record, and after it, when a text does not fit its place in the
// record whole (longer than its capacity, or holding a character the project's set
// lacks), the tail that keeps every such text whole:
//
//     Quillmark-Texts 1 LF, one JSON object of those fields' keys and texts, LF
//
// Any file of at least the record's size is a project whose first bytes are the record,
// so a reader that knows no tail sees the record and nothing else; a project whose
// texts all fit is the record alone, byte for byte as it always was.
struct ProjectFile {
    TProjectRecord record;
    QByteArray tail; // the bytes after the record, as far as they were read

    friend bool operator==(const ProjectFile &, const ProjectFile &) = default;
};

// The most bytes after the record that are read: far beyond the whole texts of every
// field, and a bound for a huge file opened as a project.
inline constexpr qsizetype ProjectTailLimit = 1024 * 1024;

// What Save writes for the document.
ProjectFile GatherProjectFile(const TagDocument &doc);

// Puts the file's values into the document as Open does: the record's, then the whole
// text of each tail member whose text, written as Save writes it, gives exactly that
// field's bytes in the record; so a record another program changed wins over an old
// tail. Bytes after the record that do not begin with the tail's first line are another
// program's and are passed over. A tail that is not well formed is ignored: `note` then
// says so in a sentence, and is emptied otherwise.
void ApplyProjectFile(const ProjectFile &file, TagDocument &doc, QString *note);

// The file's bytes, record and tail.
QByteArray projectFileBytes(const ProjectFile &file);

// The file from its bytes, as far as they were read: a text shorter than the record
// fails with "Read beyond end of file".
bool projectFileFromBytes(const QByteArray &bytes, ProjectFile *file, QString *error);

bool SaveProjectFile(const QString &path, const ProjectFile &file, QString *error);
// Reads the record and what follows it, up to ProjectTailLimit bytes; a file shorter
// than the record fails with "Read beyond end of file".
bool LoadProjectFile(const QString &path, ProjectFile *file, QString *error,
                     FileKind kind = FileKind::Any);

} // namespace quill
