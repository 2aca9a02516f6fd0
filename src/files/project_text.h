#pragma once

#include "files/project_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <utility>

namespace quill {

// The text form of a project file: one value per field key, in record order. A text
// is a JSON string of the whole text Open puts into its field, a list the text of its
// item or null for none, a check box true or false. Every value a project file means
// something by survives the way there and back; the bytes the program neither writes
// nor reads (padding, bytes after a text) do not.

// The document as one JSON object: every key on a line of its own, indented by four
// spaces, in record order. UTF-8 with LF line ends and a final LF.
QByteArray projectToJson(const TagDocument &doc);
// The same values as `key: VALUE` lines, VALUE written as in the JSON object, so that
// blanks, quotes and control characters stay visible.
QByteArray projectToLines(const TagDocument &doc);
// The same of the record alone, as Open reads it.
QByteArray projectToJson(const TProjectRecord &record);
QByteArray projectToLines(const TProjectRecord &record);

// An object of the members given, each a key and its value written as JSON, laid out
// as projectToJson lays out its own.
QByteArray jsonObject(const QList<std::pair<QString, QString>> &members);

// One line for each stored value that reading changed: a list position that is
// neither -1 nor one of the list's items, a check box byte other than 0 and 1, a
// length byte beyond the field's capacity, bytes that are no characters of the record's
// set. Each names the key and the stored value.
QStringList projectNormalisations(const TProjectRecord &record);

// A text as a JSON string. Control characters, C1 included, are escaped too: a text may
// hold any byte, and the line form must show every one of them.
QString jsonString(QStringView text);

// The most bytes of JSON text pack reads: far above any project's few kilobytes, and a
// bound for an endless or huge source before memory grows.
inline constexpr qsizetype ProjectJsonLimit = 16 * 1024 * 1024;

// Reads the JSON object of the text form (UTF-8, a byte-order mark allowed) into the
// document Open would give for the file Save writes of it. A key left out keeps its
// start-up value. A text takes any character, as long as the window lets the field's
// text be. Strict JSON: an invalid escape or a raw control character in a string is a
// fault. Time and memory grow in proportion to the source. On failure returns false
// and leaves `doc` alone; `errors` then holds one line per fault, each starting
// "SOURCE:LINE:COLUMN: " with `sourceName` for SOURCE.
bool projectFromJson(QByteArrayView source, const QString &sourceName, TagDocument *doc,
                     QStringList *errors);
// The same, into the record alone, whose texts keep what fits their places.
bool projectFromJson(QByteArrayView source, const QString &sourceName, TProjectRecord *record,
                     QStringList *errors);

// The texts of a JSON object: each member whose key names a text field and whose value
// is a string, in source order; any other member is passed over. False, with `texts`
// left alone, when the bytes are not one strict JSON object in UTF-8 (blanks may follow).
bool textsFromJson(QByteArrayView source, QList<std::pair<Field, QString>> *texts);

} // namespace quill
