#pragma once

#include "files/project_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace quill {

// The text form of a project file: one value per field key, in record order. A text
// is a JSON string of the characters the 8-bit codec reads from its bytes, a list the
// text of its item or null for none, a check box true or false. Every byte a record
// means something by survives the way there and back; the bytes the program neither
// writes nor reads (padding, bytes after a text) do not.

// The record as Open reads it, as one JSON object: every key on a line of its own,
// indented by four spaces, in record order. UTF-8 with LF line ends and a final LF.
QByteArray projectToJson(const TProjectRecord &record);

// The same values as `key: VALUE` lines, VALUE written as in the JSON object, so that
// blanks, quotes and control characters stay visible.
QByteArray projectToLines(const TProjectRecord &record);

// One line for each stored value that reading changed: a list position that is
// neither -1 nor one of the list's items, a check box byte other than 0 and 1, a
// length byte beyond the field's capacity. Each names the key and the stored value.
QStringList projectNormalisations(const TProjectRecord &record);

// A text as a JSON string. Control characters, C1 included, are escaped too: a text may
// hold any byte, and the line form must show every one of them.
QString jsonString(QStringView text);

// The most bytes of JSON text pack reads: far above any project's few kilobytes, and a
// bound for an endless or huge source before memory grows.
inline constexpr qsizetype ProjectJsonLimit = 16 * 1024 * 1024;

// Reads the JSON object of the text form (UTF-8, a byte-order mark allowed) into the
// record Save writes for it. A key left out keeps its start-up value. Strict JSON: an
// invalid escape or a raw control character in a string is a fault. Time and memory
// grow in proportion to the source. On failure
// returns false and leaves `record` alone; `errors` then holds one line per fault,
// each starting "SOURCE:LINE:COLUMN: " with `sourceName` for SOURCE.
bool projectFromJson(QByteArrayView source, const QString &sourceName, TProjectRecord *record,
                     QStringList *errors);

} // namespace quill
