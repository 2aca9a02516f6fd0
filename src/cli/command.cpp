#include "cli/command.h"

#include "files/file_io.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace quill::cli {

int failure(const QString &message)
{
    std::fprintf(stderr, "quillmark-cli: %s\n", errorBoxText(message).toLocal8Bit().constData());
    return Failed;
}

int badUsage(const QString &why)
{
    std::fprintf(stderr, "quillmark-cli: %s\n", why.toLocal8Bit().constData());
    return BadUsage;
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

bool readStdin(QByteArray *bytes, QString *error)
{
    bytes->clear();
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got > 0) {
            bytes->append(buffer, got);
        } else if (got == 0) {
            return true;
        } else if (errno != EINTR) {
            *error = ioErrorMessage(errno);
            return false;
        }
    }
}

} // namespace quill::cli
