#pragma once

#include <QtGlobal>

namespace quill {

// Integer scaling a * b / c as the drawing code needs it: the product in 64 bits,
// rounded to the nearest integer with a half going away from zero. A divisor of 0,
// or a result outside the 32-bit range, gives -1.
qint32 MulDiv(qint32 a, qint32 b, qint32 c);

} // namespace quill
