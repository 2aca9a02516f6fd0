#pragma once

#include <QString>
#include <QStringView>

namespace quill {

// The text as one line: each CR LF, lone CR and lone LF becomes one blank.
QString withoutLineBreaks(const QString &text);

// The text with every line break made CR LF: a CR LF pair stays one break; a lone CR,
// a lone LF and each character a text page ends a line at (the Unicode line and
// paragraph separators, and the two a text document keeps for its frames) become one.
QString withCrLfBreaks(QStringView text);

} // namespace quill
