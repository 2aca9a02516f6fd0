#pragma once

#include <QByteArrayView>
#include <QString>

namespace quill {

// The system's name from the text of an os-release file: PRETTY_NAME, else NAME and
// VERSION, else "Linux". Values are read as the shell reads them (quotes, backslash
// escapes); comments and malformed lines are skipped; control characters are dropped,
// so the name fits on one line.
QString osReleaseName(QByteArrayView text);

} // namespace quill
