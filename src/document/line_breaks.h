#pragma once

#include <QString>

namespace quill {

// The text as one line: each CR LF, lone CR and lone LF becomes one blank.
QString withoutLineBreaks(const QString &text);

} // namespace quill
