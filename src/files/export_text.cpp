#include "files/export_text.h"

#include "files/file_io.h"

namespace quill {

QByteArray pageBytes(const QString &code, const CharacterSet &set)
{
    return set.encode(code, Lacking::CharacterReference);
}

bool exportText(const QString &path, const QString &text, const CharacterSet &set, QString *error)
{
    bool createFailed = false;
    if (replaceFile(path, pageBytes(text, set), error, &createFailed))
        return true;
    if (createFailed)
        *error = QStringLiteral("Cannot create file %1").arg(displayName(path));
    return false;
}

} // namespace quill
