#pragma once

#include <QString>

namespace quill {

// How messages name a character: U+ and at least four upper-case hexadecimal digits.
QString codePointName(char32_t code);

} // namespace quill
