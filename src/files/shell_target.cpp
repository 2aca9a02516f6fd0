#include "files/shell_target.h"

#include <QDir>

namespace quill {

QString pathInFolder(const QString &folder, const QString &name)
{
    const bool endsInSeparator =
        folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator());
    return endsInSeparator ? folder + name : folder + QDir::separator() + name;
}

QString helpPagePath(const QString &startFolder, const QString &page)
{
    return pathInFolder(pathInFolder(startFolder, QStringLiteral("help")), page);
}

QString latin1QueryValue(QStringView words)
{
    QByteArray bytes;
    bytes.reserve(words.size());
    for (const char32_t c : words.toUcs4())
        bytes.append(c <= 0xFF ? char(c) : '?');
    return QString::fromLatin1(bytes.toPercentEncoding());
}

QUrl shellUrl(const QString &target)
{
    // A one-letter scheme is a drive letter, not an address.
    const QUrl url(target);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(target);
}

} // namespace quill
