#include "files/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

QByteArray folderOf(const QByteArray &native)
{
    const qsizetype slash = native.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : native.left(slash);
}

QByteArray leafOf(const QByteArray &native)
{
    return native.mid(native.lastIndexOf('/') + 1);
}

// Follows the links that the name's last part may be, as opening it would. True with
// `cause` 0 and `info` filled for a file that exists, with `cause` ENOENT for a name
// where a new file would be made (`target`); false with the cause otherwise, ELOOP for
// a loop of links.
bool resolveLinks(const QByteArray &native, QByteArray *target, struct stat *info, int *cause)
{
    *target = native;
    for (int links = 0; links <= 40; ++links) {
        if (::stat(target->constData(), info) == 0) {
            *cause = 0;
            return true;
        }
        *cause = errno;
        if (*cause != ENOENT)
            return false;
        struct stat own {
        };
        if (::lstat(target->constData(), &own) != 0 || !S_ISLNK(own.st_mode)) {
            *cause = errno;
            return *cause == ENOENT;
        }
        // A link to nowhere: the new file is made where it points.
        QByteArray to(PATH_MAX, '\0');
        const ssize_t n = ::readlink(target->constData(), to.data(), std::size_t(to.size()));
        if (n < 0 || n == to.size()) {
            *cause = n < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        to.truncate(n);
        *target = to.startsWith('/') ? to : folderOf(*target) + '/' + to;
    }
    *cause = ELOOP;
    return false;
}

} // namespace

FileDescriptor::~FileDescriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int openForReading(const QString &path, FileKind kind)
{
    const QByteArray native = nativeName(path);
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
    case ENOTDIR:
        return QStringLiteral("Path not found");
    case EBADF:
        return QStringLiteral("Invalid file handle");
    case ELOOP:
        return QStringLiteral("Too many levels of symbolic links");
    default:
        break;
    }
    // Any other cause in the system's own words, which do not change with the language.
    if (const char *words = ::strerrordesc_np(systemError))
        return QString::fromUtf8(words);
    return QStringLiteral("I/O error %1").arg(systemError);
}

namespace {
constexpr char16_t StrayByteBase = 0xDC00; // U+DC80 to U+DCFF stand for bytes 0x80 to 0xFF
} // namespace

qsizetype utf8CharacterLength(QByteArrayView text, qsizetype at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return 1;
    int length = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead >= 0xF0 && lead < 0xF8) {
        length = 4;
        code = lead & 0x07;
        least = 0x10000;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3;
        code = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xC0 && lead < 0xE0) {
        length = 2;
        code = lead & 0x1F;
        least = 0x80;
    } else {
        return 0;
    }
    if (length > text.size() - at)
        return 0;
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

QString nameFromNative(QByteArrayView native)
{
    QString out;
    out.reserve(native.size());
    for (qsizetype i = 0; i < native.size();) {
        const qsizetype length = utf8CharacterLength(native, i);
        if (length == 0) {
            out += QChar(char16_t(StrayByteBase + static_cast<unsigned char>(native[i])));
            ++i;
        } else {
            out += QString::fromUtf8(native.sliced(i, length));
            i += length;
        }
    }
    return out;
}

QByteArray nativeName(const QString &name)
{
    QByteArray out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c >= StrayByteBase + 0x80 && c <= StrayByteBase + 0xFF) {
            out += QStringView(name).sliced(start, i - start).toUtf8();
            out += char(c - StrayByteBase);
            start = i + 1;
        }
    }
    return out + QStringView(name).sliced(start).toUtf8();
}

QString displayName(const QString &name)
{
    QString out;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u >= StrayByteBase + 0x80 && u <= StrayByteBase + 0xFF)
            out +=
                QStringLiteral("\\x%1").arg(unsigned(u - StrayByteBase), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
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

ReplacementFile::~ReplacementFile()
{
    cancel();
}

bool ReplacementFile::open(QString *error)
{
    const QByteArray native = nativeName(m_path);
    if (native.isEmpty() || native.contains('\0')) {
        setError(error, EINVAL);
        return false;
    }
    struct stat info {
    };
    int cause = 0;
    if (!resolveLinks(native, &m_target, &info, &cause)) {
        setError(error, cause);
        return false;
    }
    const bool exists = cause == 0;
    // A read-only file is not the user's to replace, although its folder may allow it.
    if (exists && (!S_ISREG(info.st_mode) || ::access(m_target.constData(), W_OK) != 0)) {
        setError(error, EACCES);
        return false;
    }
    // Beside the file, so that the rename stays on its disk; the name is longer than
    // the file's own, so a folder that takes no longer name falls back on the caller.
    const QByteArray stem = folderOf(m_target) + "/." + leafOf(m_target) + '.';
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray candidate =
            stem + QByteArray::number(unsigned(::getpid()), 36) + '-' +
            QByteArray::number(serial.fetch_add(1) * 7919u + unsigned(attempt), 36);
        // The mode of a new file follows the user's umask, as any created file's does.
        m_fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) {
            m_temporary = candidate;
            break;
        }
        if (errno != EEXIST) {
            setError(error, errno);
            return false;
        }
    }
    if (m_fd < 0) {
        setError(error, EEXIST);
        return false;
    }
    if (exists && ::fchmod(m_fd, info.st_mode & 07777) != 0) {
        setError(error, errno);
        cancel();
        return false;
    }
    return true;
}

bool ReplacementFile::write(const char *data, qsizetype size, QString *error)
{
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, std::size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            setError(error, errno);
            cancel();
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

bool ReplacementFile::commit(QString *error)
{
    // On the disk before it takes the name: a crash then leaves the old file or the
    // whole new one.
    const int fd = std::exchange(m_fd, -1);
    if (::fsync(fd) != 0) {
        const int cause = errno;
        ::close(fd);
        setError(error, cause);
        cancel();
        return false;
    }
    if (::close(fd) != 0 || ::rename(m_temporary.constData(), m_target.constData()) != 0) {
        setError(error, errno);
        cancel();
        return false;
    }
    m_temporary.clear();
    return true;
}

void ReplacementFile::cancel()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
}

bool fileKey(const QString &path, FileKey *key)
{
    const QByteArray native = nativeName(path);
    if (native.isEmpty() || native.contains('\0'))
        return false;
    QByteArray target;
    struct stat info {
    };
    int cause = 0;
    if (!resolveLinks(native, &target, &info, &cause))
        return false;
    if (cause == 0) {
        *key = {info.st_dev, info.st_ino, {}};
        return true;
    }
    // Yet to be made: its folder, and its name there.
    if (::stat(folderOf(target).constData(), &info) != 0)
        return false;
    *key = {info.st_dev, info.st_ino, leafOf(target)};
    return true;
}

bool distinctFiles(const QStringList &sources, const QStringList &outputs, QString *error,
                   QString *atFault)
{
    QList<FileKey> read;
    for (const QString &source : sources) {
        FileKey key;
        if (fileKey(source, &key) && key.name.isEmpty()) // a missing source is its own fault
            read << key;
    }
    QList<FileKey> written;
    for (const QString &output : outputs) {
        FileKey key;
        if (!fileKey(output, &key))
            continue;
        if (atFault)
            *atFault = output;
        if (read.contains(key)) {
            *error = QStringLiteral("The source file would be overwritten; choose another "
                                    "destination.");
            return false;
        }
        if (written.contains(key)) {
            *error = QStringLiteral("Two files this run writes are one file; choose another "
                                    "destination.");
            return false;
        }
        written << key;
    }
    return true;
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

bool replaceFile(const QString &path, const QByteArray &data, QString *error, bool *createFailed)
{
    if (createFailed)
        *createFailed = true;
    ReplacementFile file(path);
    if (!file.open(error))
        return false;
    if (createFailed)
        *createFailed = false;
    return file.write(data.constData(), data.size(), error) && file.commit(error);
}

} // namespace quill
