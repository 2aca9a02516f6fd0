#include "files/export_text.h"

#include "document/ansi_codec.h"
#include "files/file_io.h"

namespace quill {

bool exportText(const QString &path, const QString &text, QString *error)
{
    bool createFailed = false;
    if (replaceFile(path, encodeAnsi(text), error, &createFailed))
        return true;
    if (createFailed)
        *error = QStringLiteral("Cannot create file %1").arg(displayName(path));
    return false;
}

} // namespace quill
