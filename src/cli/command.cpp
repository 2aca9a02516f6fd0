#include "cli/command.h"

#include "files/file_io.h"

#include <cstdio>

namespace quill::cli {

int failure(const QString &message)
{
    std::fprintf(stderr, "quillmark-cli: %s\n",
                 displayName(errorBoxText(message)).toUtf8().constData());
    return Failed;
}

int badUsage(const QString &why)
{
    std::fprintf(stderr, "quillmark-cli: %s\n", why.toLocal8Bit().constData());
    return BadUsage;
}

bool readPage(const QString &path, QByteArray *bytes, QString *error)
{
    constexpr qsizetype PageLimit = 64 * 1024 * 1024;
    QString why;
    // One byte beyond the bound tells a page that is too large from one that fits. Only
    // a regular file is a page: a pipe would keep the batch waiting, a device never end.
    if (!readFileUpTo(path, PageLimit + 1, bytes, &why, FileKind::RegularOnly))
        *error = displayName(path) + QStringLiteral(": ") + why;
    else if (bytes->size() > PageLimit)
        *error = QStringLiteral("%1: more than %2 MiB, far beyond any web page; left alone")
                     .arg(displayName(path))
                     .arg(PageLimit / (1024 * 1024));
    else
        return true;
    bytes->clear();
    return false;
}

} // namespace quill::cli
