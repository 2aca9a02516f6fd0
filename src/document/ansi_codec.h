#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace quill {

// The Western set, Windows-1252, of the installation's text files and of pages that
// declare nothing: a character outside it is written as '?'; plain ASCII passes both
// ways unchanged, and each character becomes exactly one byte.
QByteArray encodeAnsi(QStringView text);
QString decodeAnsi(QByteArrayView bytes);

} // namespace quill
