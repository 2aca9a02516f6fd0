#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace quill {

// The one 8-bit character set of every file the program reads or writes as text
// or record: Windows-1252. A character outside it is written as '?'; plain
// ASCII passes both ways unchanged. Each character becomes exactly one byte.
QByteArray encodeAnsi(QStringView text);
QString decodeAnsi(QByteArrayView bytes);

// The byte that stands for the character, or -1 for a character outside the set.
int ansiByte(char32_t c);

} // namespace quill
