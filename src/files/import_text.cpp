#include "files/import_text.h"

#include "document/ansi_codec.h"
#include "document/line_breaks.h"
#include "files/file_io.h"

namespace quill {

bool readImportText(const QString &path, QString *text, QString *error)
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
    QString result = withCrLfBreaks(decodeAnsi(bytes));
    if (result.size() > CodePageCapacity) {
        *error = QStringLiteral("Text exceeds memo capacity");
        return false;
    }
    *text = std::move(result);
    return true;
}

} // namespace quill
