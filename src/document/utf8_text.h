#pragma once

#include <QByteArrayView>
#include <QString>

namespace quill {

// Well-formed UTF-8 as RFC 3629 has it: no overlong form, no surrogate, nothing beyond
// U+10FFFF, no sequence cut off. The toolkit's validator decides, for every reader.
bool isValidUtf8(QByteArrayView bytes);

// The length of the well-formed UTF-8 character at `at`; 0 when none starts there.
qsizetype utf8CharacterLength(QByteArrayView text, qsizetype at);

// The offset of the first byte that does not begin a well-formed character; -1 when
// there is none.
qsizetype firstInvalidUtf8(QByteArrayView text);

// How many characters begin in `text`: every byte but those that continue one.
qsizetype utf8CharacterCount(QByteArrayView text);

// Where the character that byte `at` falls in begins, for a cut that keeps characters
// whole; `at` itself at the end.
qsizetype utf8CharacterStart(QByteArrayView text, qsizetype at);

// The characters of well-formed UTF-8, a leading U+FEFF kept as the character it is.
QString utf8Characters(QByteArrayView utf8);

} // namespace quill
