#pragma once

#include <QString>
#include <QStringList>

namespace quill {

// The lines of a text file of the installation (a tip, a wizard page) as a memo takes
// them: 8-bit text through the codec, a line ended by CR LF, LF or a lone CR, the text
// ended by a Ctrl-Z byte, no empty line after the last break. A file that cannot be
// opened or read, or is no regular file, fails with "Cannot open file <full path>";
// more than a memo holds with "Text exceeds memo capacity".
bool readTextLines(const QString &path, QStringList *lines, QString *error);

} // namespace quill
