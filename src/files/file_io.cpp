#include "files/file_io.h"

#include "document/utf8_text.h"

#include <QRandomGenerator>

#include <algorithm>
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

bool fail(QString *error, int systemError)
{
    setError(error, systemError);
    return false;
}

// Copies the first `size` bytes of one file over the first bytes of another; false with
// errno set on failure.
bool copyStart(int from, int to, qint64 size)
{
    char buffer[65536];
    for (qint64 done = 0; done < size;) {
        const qsizetype got =
            readSomeAt(from, buffer, qsizetype(std::min<qint64>(sizeof buffer, size - done)), done);
        if (got <= 0) {
            if (got == 0) // shorter than it was a moment ago
                errno = EIO;
            return false;
        }
        if (!writeAll(to, buffer, got, done))
            return false;
        done += got;
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

// `count` letters and digits drawn at random.
QByteArray randomLetters(int count)
{
    static constexpr char Letters[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    QByteArray letters;
    for (int i = 0; i < count; ++i)
        letters += Letters[QRandomGenerator::system()->bounded(int(sizeof Letters) - 1)];
    return letters;
}

// A hidden name for a file of the moment, short enough for any folder whatever the name
// of the file it stands in for.
QByteArray temporaryName()
{
    return ".qm" + randomLetters(8);
}

// The name of the copy of a file's old bytes: hidden, after the file (its first 200 bytes,
// whole characters), ending in ".old".
QByteArray backupName(const QByteArray &leaf)
{
    const qsizetype cut = utf8CharacterStart(leaf, std::min<qsizetype>(leaf.size(), 200));
    return '.' + leaf.left(cut) + '.' + randomLetters(6) + ".old";
}

// Creates a new file in `folder` under a name `name()` makes, drawn again while one is
// taken; the descriptor, or -1 with errno set.
template <class Name>
int createNamed(const QByteArray &folder, Name name, mode_t mode, QByteArray *created)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray candidate = folder + '/' + name();
        const int fd = ::open(candidate.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0)
            *created = candidate;
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Follows the links that the name's last part may be, as opening it would. True with
// `cause` 0 and `info` filled for a file that exists (`target` its name, links
// followed), with `cause` ENOENT where no file is (`target` where a new one would be
// made, `followed` telling whether a link led there); false with the cause otherwise,
// ELOOP for a loop of links.
bool resolveLinks(const QByteArray &native, QByteArray *target, struct stat *info, int *cause,
                  bool *followed = nullptr)
{
    *target = native;
    for (int links = 0; links <= 40; ++links) {
        if (::lstat(target->constData(), info) != 0) {
            *cause = errno;
            if (followed)
                *followed = links > 0;
            return *cause == ENOENT;
        }
        if (!S_ISLNK(info->st_mode)) {
            *cause = 0;
            return true;
        }
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
    const QByteArray native = nativeFileName(path);
    if (native.isEmpty()) {
        errno = EINVAL;
        return -1;
    }
    // Opening a pipe for reading waits for a writer, however long, and a signal may cut
    // the wait short.
    if (kind == FileKind::Any) {
        int fd = -1;
        while ((fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC)) < 0 && errno == EINTR) {}
        return fd;
    }
    // RegularOnly opens without waiting, looks at what it is, and only then reads as usual.
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

qsizetype readSome(int fd, char *buffer, qsizetype size)
{
    for (;;) {
        const ssize_t got = ::read(fd, buffer, std::size_t(size));
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

qsizetype readSomeAt(int fd, char *buffer, qsizetype size, qint64 offset)
{
    for (;;) {
        const ssize_t got = ::pread(fd, buffer, std::size_t(size), off_t(offset));
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

bool readUpTo(int fd, qsizetype limit, QByteArray *out)
{
    out->clear();
    char buffer[16384];
    while (limit < 0 || out->size() < limit) {
        const qsizetype want = limit < 0 ? qsizetype(sizeof buffer)
                                         : std::min<qsizetype>(sizeof buffer, limit - out->size());
        const qsizetype got = readSome(fd, buffer, want);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        out->append(buffer, got);
    }
    return true;
}

bool writeAll(int fd, const char *data, qsizetype size, qint64 offset)
{
    while (size > 0) {
        const ssize_t n = offset < 0 ? ::write(fd, data, std::size_t(size))
                                     : ::pwrite(fd, data, std::size_t(size), off_t(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
        if (offset >= 0)
            offset += n;
    }
    return true;
}

QString danglingLinkMessage(const QString &path)
{
    return QStringLiteral("%1 is a symbolic link to a missing file").arg(displayName(path));
}

QString linkLoopMessage(const QString &path)
{
    return QStringLiteral("%1 leads round a loop of symbolic links").arg(displayName(path));
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
            out += utf8Characters(native.sliced(i, length));
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

QByteArray nativeFileName(const QString &name)
{
    const QByteArray native = nativeName(name);
    return native.contains('\0') ? QByteArray() : native;
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
    cancel();
    const QByteArray native = nativeFileName(m_path);
    if (native.isEmpty())
        return fail(error, EINVAL);
    int cause = 0;
    bool followed = false;
    if (!resolveLinks(native, &m_target, &m_old, &cause, &followed)) {
        if (cause != ELOOP)
            return fail(error, cause);
        if (error)
            *error = linkLoopMessage(m_path);
        return false;
    }
    if (cause == ENOENT && followed) {
        if (error)
            *error = danglingLinkMessage(m_path);
        return false;
    }
    m_exists = cause == 0;
    // A read-only file is not the user's to replace, although its folder may allow it.
    if (m_exists && (!S_ISREG(m_old.st_mode) || (m_old.st_mode & 0222) == 0 ||
                     ::access(m_target.constData(), W_OK) != 0))
        return fail(error, EACCES);

    // Beside the file, so that the rename stays on its disk. For a file that exists, only
    // its writer may read the new one until it takes the old one's permissions; a new
    // file's follow the user's umask, as any created file's do.
    const QByteArray folder = folderOf(m_target);
    const mode_t mode = m_exists ? 0600 : 0666;
    // Without /proc a file made without a name could not be given one.
    static const bool canLink = ::access("/proc/self/fd", X_OK) == 0;
    m_fd = canLink ? ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode) : -1;
    if (m_fd < 0 && canLink && errno != EOPNOTSUPP && errno != EISDIR)
        return fail(error, errno);
    if (m_fd < 0)
        m_fd = createNamed(folder, temporaryName, mode, &m_temporary);
    return m_fd >= 0 || fail(error, errno);
}

bool ReplacementFile::write(const char *data, qsizetype size, QString *error)
{
    if (m_fd >= 0 && writeAll(m_fd, data, size))
        return true;
    setError(error, m_fd >= 0 ? errno : EBADF);
    cancel();
    return false;
}

bool ReplacementFile::commit(QString *error)
{
    if (m_fd < 0)
        return fail(error, EBADF);
    // On the disk before it takes the name: a crash then leaves the old file or the
    // whole new one.
    bool done = false;
    if (::fsync(m_fd) != 0)
        setError(error, errno);
    else
        done = m_exists && m_old.st_nlink > 1 ? writeInPlace(error) : replaceByName(error);
    cancel();
    return done;
}

bool ReplacementFile::replaceByName(QString *error)
{
    if (m_exists) {
        // The old owner and group where the process may set them (the superuser both, a
        // member of the old group that one), then the old permissions, never set-user-ID
        // or set-group-ID.
        if (::fchown(m_fd, m_old.st_uid, m_old.st_gid) != 0)
            (void)!::fchown(m_fd, uid_t(-1), m_old.st_gid);
        if (::fchmod(m_fd, m_old.st_mode & 01777) != 0)
            return fail(error, errno);
    }
    if (m_temporary.isEmpty()) {
        // A name of its own for a moment: a link takes no name that is there already.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
        const QByteArray folder = folderOf(m_target);
        for (int attempt = 0; m_temporary.isEmpty(); ++attempt) {
            const QByteArray candidate = folder + '/' + temporaryName();
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, candidate.constData(),
                         AT_SYMLINK_FOLLOW) == 0)
                m_temporary = candidate;
            else if (errno != EEXIST || attempt == 99)
                return fail(error, errno);
        }
    }
    if (::close(std::exchange(m_fd, -1)) != 0 ||
        ::rename(m_temporary.constData(), m_target.constData()) != 0)
        return fail(error, errno);
    m_temporary.clear();
    return true;
}

bool ReplacementFile::writeInPlace(QString *error)
{
    const FileDescriptor file(
        ::open(m_target.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat old {
    };
    struct stat fresh {
    };
    if (file.get() < 0 || ::fstat(m_fd, &fresh) != 0)
        return fail(error, errno);
    if (::fstat(file.get(), &old) != 0 || !S_ISREG(old.st_mode))
        return fail(error, EACCES);

    // The old bytes aside, whole on the disk under a name before the first new byte goes
    // in.
    const QByteArray folder = folderOf(m_target);
    QByteArray backup;
    const FileDescriptor aside(createNamed(
        folder, [this] { return backupName(leafOf(m_target)); }, 0600, &backup));
    const auto dropBackup = [&backup, error](int cause) {
        ::unlink(backup.constData());
        return fail(error, cause);
    };
    if (aside.get() < 0)
        return fail(error, errno);
    const FileDescriptor folderFd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!copyStart(file.get(), aside.get(), old.st_size) || ::fsync(aside.get()) != 0 ||
        (folderFd.get() >= 0 && ::fsync(folderFd.get()) != 0))
        return dropBackup(errno);
    // Room for the new bytes where the file system can promise it, so that a full disk
    // stops here.
    if (::fallocate(file.get(), FALLOC_FL_KEEP_SIZE, 0, fresh.st_size) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS)
        return dropBackup(errno);
    // Set-user-ID and set-group-ID go before the new content comes in.
    if ((old.st_mode & 06000) != 0 && ::fchmod(file.get(), old.st_mode & 01777) != 0)
        return dropBackup(errno);

    if (copyStart(m_fd, file.get(), fresh.st_size) && ::ftruncate(file.get(), fresh.st_size) == 0 &&
        ::fsync(file.get()) == 0) {
        ::unlink(backup.constData());
        return true;
    }
    const int cause = errno;
    // Back as it was; should even that fail, the old bytes stay in the copy aside.
    if (copyStart(aside.get(), file.get(), old.st_size) &&
        ::ftruncate(file.get(), old.st_size) == 0 &&
        ::fchmod(file.get(), old.st_mode & 07777) == 0 && ::fsync(file.get()) == 0)
        ::unlink(backup.constData());
    return fail(error, cause);
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
    const QByteArray native = nativeFileName(path);
    if (native.isEmpty())
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

bool readStdin(QByteArray *bytes, qsizetype limit, QString *error)
{
    return readUpTo(STDIN_FILENO, limit, bytes) || fail(error, errno);
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
