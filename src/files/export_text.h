#pragma once

#include "document/character_set.h"

#include <QByteArray>
#include <QString>

namespace quill {

// The code as a page file holds it: in the character set the project declares, a
// character that set lacks as a numeric character reference ("&#937;"), which browsers
// show as the character. Export and the companion's generate both write these bytes.
QByteArray pageBytes(const QString &code, const CharacterSet &set);

// Writes the code page's text to `path` as Export does: its bytes in `set` exactly,
// nothing added, replacing an existing file only once the new one is whole. A file
// that cannot be created fails with "Cannot create file <name>"; a failure while
// writing with the file layer's message ("Disk full").
bool exportText(const QString &path, const QString &text, const CharacterSet &set, QString *error);

} // namespace quill
