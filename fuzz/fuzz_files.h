// Files for the harnesses: the input as a file of its own in memory, and a folder in
// memory for what a harness writes, so that no run waits on a disk.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace fuzz {

// The bytes as a regular file, named through /proc while the object lives.
class InputFile
{
public:
    InputFile(const uint8_t *data, size_t size)
        : m_fd(::memfd_create("fuzz-input", MFD_CLOEXEC))
    {
        if (m_fd < 0 || ::write(m_fd, data, size) != ssize_t(size))
            std::abort();
    }
    ~InputFile() { ::close(m_fd); }
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;
    QString path() const { return QStringLiteral("/proc/self/fd/%1").arg(m_fd); }

private:
    int m_fd;
};

// One folder for the whole run, in /dev/shm where there is one.
inline const QTemporaryDir &outputFolder()
{
    static const QTemporaryDir folder(QStringLiteral("%1/quillmark-fuzz-XXXXXX")
                                          .arg(::access("/dev/shm", W_OK) == 0
                                                   ? QStringLiteral("/dev/shm")
                                                   : QStringLiteral("/tmp")));
    if (!folder.isValid())
        std::abort();
    return folder;
}

inline QString outputPath(const char *name)
{
    return outputFolder().filePath(QString::fromUtf8(name));
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace fuzz

// A broken promise of the code under test: stop the run with the input that shows it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            std::abort();                                                                          \
    } while (false)
