#include "files/text_lines.h"

#include "document/ansi_codec.h"
#include "document/line_breaks.h"
#include "files/file_io.h"
#include "files/import_text.h"

#include <QDir>
#include <QFileInfo>

namespace quill {

bool readTextLines(const QString &path, QStringList *lines, QString *error)
{
    const QString crLf = QStringLiteral("\r\n");
    QByteArray bytes;
    if (!readFileUpTo(path, CodePageCapacity + 1, &bytes, nullptr, FileKind::RegularOnly)) {
        *error = QStringLiteral("Cannot open file %1")
                     .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
        return false;
    }
    if (const qsizetype end = bytes.indexOf('\x1a'); end >= 0)
        bytes.truncate(end);
    if (bytes.size() > CodePageCapacity) {
        *error = memoCapacityMessage();
        return false;
    }
    QStringList result = withCrLfBreaks(decodeAnsi(bytes)).split(crLf);
    // A break ends its line; it does not begin another.
    if (result.constLast().isEmpty())
        result.removeLast();
    *lines = std::move(result);
    return true;
}

} // namespace quill
