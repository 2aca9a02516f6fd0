#pragma once

#include <QString>
#include <QStringView>

namespace quill {

// The most characters the code page holds.
inline constexpr qsizetype CodePageCapacity = 16'777'216;

// The text with every line break made CR LF: a CR LF pair stays one break, a lone CR
// and a lone LF each become one.
QString withCrLfBreaks(QStringView text);

// The text an import puts into the code page: the file's 8-bit text up to its first
// zero byte, with CR LF breaks. A file that cannot be opened or read, or is no regular
// file, fails with "Cannot open file <name>"; more than the code page holds with
// "Text exceeds memo capacity". Never reads more than the code page could hold.
bool readImportText(const QString &path, QString *text, QString *error);

} // namespace quill
