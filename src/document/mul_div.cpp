#include "document/mul_div.h"

#include <limits>

namespace quill {

qint32 MulDiv(qint32 a, qint32 b, qint32 c)
{
    if (c == 0)
        return -1;
    const qint64 product = qint64(a) * b;
    qint64 quotient = product / c;
    const qint64 remainder = product % c;
    // |remainder| < |c| <= 2^31, so doubling it cannot overflow.
    if (2 * qAbs(remainder) >= qAbs(qint64(c)))
        quotient += (product < 0) == (c < 0) ? 1 : -1;
    if (quotient < std::numeric_limits<qint32>::min() ||
        quotient > std::numeric_limits<qint32>::max())
        return -1;
    return qint32(quotient);
}

} // namespace quill
