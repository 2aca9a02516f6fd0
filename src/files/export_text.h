#pragma once

#include <QString>

namespace quill {

// Writes the code page's text to `path` as Export does: its 8-bit bytes exactly,
// nothing added, replacing an existing file only once the new one is whole. A file
// that cannot be created fails with "Cannot create file <name>"; a failure while
// writing with the file layer's message ("Disk full").
bool exportText(const QString &path, const QString &text, QString *error);

} // namespace quill
