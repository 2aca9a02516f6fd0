#pragma once

#include "document/character_set.h"

#include <QByteArrayView>
#include <QString>

namespace quill {

// The most characters the code page holds.
inline constexpr qsizetype CodePageCapacity = 16'777'216;

// The failure of a text longer than the code page holds.
QString memoCapacityMessage();

// A file's text as an import reads it: UTF-8 when the bytes are valid UTF-8 (a
// byte-order mark is no text), as nearly every page today is, else in `set`, the set
// the project declares. Plain ASCII reads the same either way.
QString importedText(QByteArrayView bytes, const CharacterSet &set);

// The text an import puts into the code page: the file's text as importedText reads it,
// up to its first zero byte, with CR LF breaks. A file that cannot be opened or read, or
// is no regular file, fails with "Cannot open file <name>"; more than the code page holds
// with "Text exceeds memo capacity". Never reads more than the code page could hold.
bool readImportText(const QString &path, const CharacterSet &set, QString *text, QString *error);

} // namespace quill
