#pragma once

#include <QString>

namespace quill {

// The most characters the code page holds.
inline constexpr qsizetype CodePageCapacity = 16'777'216;

// The text an import puts into the code page: the file's 8-bit text up to its first
// zero byte, with CR LF breaks. A file that cannot be opened or read, or is no regular
// file, fails with "Cannot open file <name>"; more than the code page holds with
// "Text exceeds memo capacity". Never reads more than the code page could hold.
bool readImportText(const QString &path, QString *text, QString *error);

} // namespace quill
