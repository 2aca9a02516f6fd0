#include "cli/command.h"

#include "files/file_io.h"

#include <cerrno>
#include <cstdio>

namespace quill::cli {

int failure(const QString &message)
{
    std::fprintf(stderr, "quillmark-cli: %s\n", errorBoxText(message).toLocal8Bit().constData());
    return Failed;
}

// On this platform a FILE* does no newline translation, so the bytes go out as given.
bool writeStdout(const QByteArray &bytes, QString *error)
{
    errno = 0;
    const auto size = static_cast<std::size_t>(bytes.size());
    const bool ok =
        std::fwrite(bytes.constData(), 1, size, stdout) == size && std::fflush(stdout) == 0;
    if (!ok)
        *error = ioErrorMessage(errno ? errno : EIO);
    return ok;
}

} // namespace quill::cli
