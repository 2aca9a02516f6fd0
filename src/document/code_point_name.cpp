#include "document/code_point_name.h"

namespace quill {

QString codePointName(char32_t code)
{
    return QStringLiteral("U+%1").arg(unsigned(code), 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace quill
