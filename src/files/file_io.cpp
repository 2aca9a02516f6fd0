#include "files/file_io.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quill {
namespace {

void setError(QString *error, int systemError)
{
    if (error)
        *error = ioErrorMessage(systemError);
}

// Reads up to `limit` bytes (all when limit < 0); false with errno set on failure.
bool readUpTo(int fd, qsizetype limit, QByteArray *out)
{
    out->clear();
    char buffer[16384];
    while (limit < 0 || out->size() < limit) {
        const qsizetype want = limit < 0 ? qsizetype(sizeof buffer)
                                         : std::min<qsizetype>(sizeof buffer, limit - out->size());
        const ssize_t got = ::read(fd, buffer, static_cast<size_t>(want));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            break;
        out->append(buffer, got);
    }
    return true;
}

} // namespace

FileDescriptor::~FileDescriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int openForReading(const QString &path, FileKind kind)
{
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty() || native.contains('\0')) {
        errno = EINVAL;
        return -1;
    }
    if (kind == FileKind::Any)
        return ::open(native.constData(), O_RDONLY | O_CLOEXEC);

    // Opening a pipe for reading would wait for a writer: open without waiting, look
    // at what it is, and only then read as usual.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat info {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        const int cause = S_ISDIR(info.st_mode) ? EISDIR : EACCES;
        ::close(fd);
        errno = cause;
        return -1;
    }
    return fd;
}

QString ioErrorMessage(int systemError)
{
    switch (systemError) {
    case ENOENT:
        return QStringLiteral("File not found");
    case EINVAL:
    case ENAMETOOLONG:
    case EILSEQ:
        return QStringLiteral("Invalid filename");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return QStringLiteral("File access denied");
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(systemError);
    }
}

QString errorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QString readBeyondEndOfFileMessage()
{
    return QStringLiteral("Read beyond end of file");
}

bool readFilePrefix(const QString &path, qsizetype size, QByteArray *out, QString *error,
                    FileKind kind)
{
    const FileDescriptor fd(openForReading(path, kind));
    if (fd.get() < 0) {
        setError(error, errno);
        return false;
    }
    if (!readUpTo(fd.get(), size, out)) {
        setError(error, errno);
        return false;
    }
    if (out->size() < size) {
        if (error)
            *error = readBeyondEndOfFileMessage();
        return false;
    }
    return true;
}

bool readFileUpTo(const QString &path, qsizetype limit, QByteArray *out, QString *error,
                  FileKind kind)
{
    const FileDescriptor fd(openForReading(path, kind));
    if (fd.get() < 0 || !readUpTo(fd.get(), limit, out)) {
        setError(error, errno);
        return false;
    }
    return true;
}

bool readWholeFile(const QString &path, QByteArray *out, QString *error)
{
    const FileDescriptor fd(openForReading(path));
    if (fd.get() < 0 || !readUpTo(fd.get(), -1, out)) {
        setError(error, errno);
        return false;
    }
    return true;
}

bool openForReplacing(QSaveFile &file, QString *error)
{
    const QString path = file.fileName();
    if (path.isEmpty() || path.contains(QChar(0))) {
        setError(error, EINVAL);
        return false;
    }
    // A read-only file is not the user's to replace, although its folder may allow it.
    const QFileInfo existing(path);
    if (existing.exists() && (!existing.isFile() || !existing.isWritable())) {
        setError(error, EACCES);
        return false;
    }
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, errno ? errno : EIO);
        return false;
    }
    return true;
}

bool writeReplacement(QSaveFile &file, const char *data, qsizetype size, QString *error)
{
    errno = 0;
    if (file.write(data, size) == size)
        return true;
    setError(error, errno ? errno : EIO);
    file.cancelWriting();
    return false;
}

bool commitReplacement(QSaveFile &file, QString *error)
{
    errno = 0;
    // Flush first: Qt 6.4's commit() ignores a short write in its own final flush and
    // would put a cut-off file in place of the old one.
    if (file.flush() && file.commit())
        return true;
    setError(error, errno ? errno : EIO);
    file.cancelWriting();
    return false;
}

bool replaceFile(const QString &path, const QByteArray &data, QString *error, bool *createFailed)
{
    if (createFailed)
        *createFailed = true;
    QSaveFile file(path);
    if (!openForReplacing(file, error))
        return false;
    if (createFailed)
        *createFailed = false;
    return writeReplacement(file, data.constData(), data.size(), error) &&
           commitReplacement(file, error);
}

} // namespace quill
