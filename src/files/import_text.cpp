#include "files/import_text.h"

#include "document/line_breaks.h"
#include "document/utf8_text.h"
#include "files/file_io.h"

namespace quill {

QString memoCapacityMessage()
{
    return QStringLiteral("Text exceeds memo capacity");
}

QString importedText(QByteArrayView bytes, const CharacterSet &set)
{
    return isValidUtf8(bytes) ? QString::fromUtf8(bytes) : set.decode(bytes);
}

bool readImportText(const QString &path, const CharacterSet &set, QString *text, QString *error)
{
    // One byte more than fits tells a text that is too long from one that just fits;
    // breaks only ever grow, so nothing past that byte can make it fit again.
    QByteArray bytes;
    if (!readFileUpTo(path, CodePageCapacity + 1, &bytes, nullptr, FileKind::RegularOnly)) {
        *error = QStringLiteral("Cannot open file %1").arg(displayName(path));
        return false;
    }
    if (const qsizetype zero = bytes.indexOf('\0'); zero >= 0)
        bytes.truncate(zero);
    QString result = withCrLfBreaks(importedText(bytes, set));
    if (result.size() > CodePageCapacity) {
        *error = memoCapacityMessage();
        return false;
    }
    *text = std::move(result);
    return true;
}

} // namespace quill
