#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <sys/stat.h>
#include <sys/types.h>

namespace quill {

// File names are the system's bytes, which need not be UTF-8. A name keeps a byte that
// is not part of a UTF-8 character as the lone surrogate U+DC80 + (byte - 0x80), so any
// name comes back from its QString as the bytes it was given.
QString nameFromNative(QByteArrayView native);
QByteArray nativeName(const QString &name);
// The bytes of a name a file can have; empty for a name no file can have (an empty one,
// or one holding a zero byte, where the system's names end).
QByteArray nativeFileName(const QString &name);

// A name as messages show it: a byte that is not UTF-8 as \xHH.
QString displayName(const QString &name);

// The message the user sees for a failure of the platform's file layer, by the
// system's error number ("File not found", "Disk full", "Path not found", ...).
QString ioErrorMessage(int systemError);

// The text of the generic error box for a failure message: a full stop is
// appended when the last character sorts after '.'.
QString errorBoxText(const QString &message);

// Which files a read takes: any that opens (a pipe too), or only regular files, so a
// window never waits on a pipe or reads a device without end ("File access denied").
enum class FileKind { Any, RegularOnly };

// The message for a file that ends before the reader has all it needs.
QString readBeyondEndOfFileMessage();

// Closes the descriptor on every path out of a read.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Opens the file for reading, without translation; -1 with errno set on failure.
// RegularOnly opens without waiting and refuses anything but a regular file at once (a
// pipe with no writer, a device, a folder), before a byte is read.
int openForReading(const QString &path, FileKind kind = FileKind::Any);

// read() and pread(), repeated when a signal interrupts them; -1 with errno set on failure.
qsizetype readSome(int fd, char *buffer, qsizetype size);
qsizetype readSomeAt(int fd, char *buffer, qsizetype size, qint64 offset);
// Reads up to `limit` bytes from the descriptor (all when limit < 0); false with errno
// set on failure.
bool readUpTo(int fd, qsizetype limit, QByteArray *out);
// Writes all `size` bytes, at `offset` or, when it is negative, where the descriptor
// stands; false with errno set on failure.
bool writeAll(int fd, const char *data, qsizetype size, qint64 offset = -1);

// The messages for a name whose links lead nowhere or round in a loop, naming it.
QString danglingLinkMessage(const QString &path);
QString linkLoopMessage(const QString &path);

// A file being replaced. The new content goes to a new file beside the old one, which
// takes the old one's name only once it is whole and on the disk; until then, and after
// any failure, the old file stays as it was and the new one is gone. The new file has no
// name while it is written where the file system allows (so a killed writer leaves
// nothing), else a short hidden one, so any name the system takes can be replaced.
//
// A name that is a symbolic link is written through to the file it leads to, and the
// link stays; a link that leads to no file, or round in a loop, is an error naming it.
// The replacement keeps the old file's permissions (without set-user-ID and set-group-ID)
// and, where the process may set them, its owner and group; until it takes the name only
// its writer may read it. A file with several names (hard links) is written in place, so
// every name sees the new content: the new bytes are first whole on the disk in a file of
// their own, the old ones are copied aside, and a failure while the new bytes go in puts
// the old ones back, so the file is old or new, never a mix. Should the process be killed
// or the machine stop during that copy, the old content survives beside it in a hidden
// file named after it (a dot, its name, a few letters and ".old").
class ReplacementFile
{
public:
    explicit ReplacementFile(const QString &path)
        : m_path(path)
    {}
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile &) = delete;
    ReplacementFile &operator=(const ReplacementFile &) = delete;

    // A folder, a device, a pipe or a read-only file is refused: a new file in its place
    // would need only the folder's rights. Read-only is judged by the permission bits
    // for the superuser too: a file with no write bit at all is never replaced.
    bool open(QString *error);
    bool write(const char *data, qsizetype size, QString *error);
    // Puts the new content in place of the old.
    bool commit(QString *error);
    // Drops the new content; the old file stays.
    void cancel();

private:
    bool replaceByName(QString *error);
    bool writeInPlace(QString *error);

    QString m_path;
    QByteArray m_target;    // the file the name leads to, links followed
    QByteArray m_temporary; // the new file's name while it has one
    struct stat m_old {
    }; // the old file, when there is one
    bool m_exists = false;
    int m_fd = -1;
};

// The file a name leads to, by device and inode, links followed; for a file yet to be
// made, its folder's and its own name. Two names with one key are one file.
struct FileKey {
    dev_t device = 0;
    ino_t inode = 0;
    QByteArray name; // empty for a file that exists
    friend bool operator==(const FileKey &, const FileKey &) = default;
};
// False when the name leads nowhere a file could be (the open will say why).
bool fileKey(const QString &path, FileKey *key);

// Refuses a run that would write over a file it reads or over another of its own
// outputs, however each is spelled ("./", "..", links, standard input's redirection as
// /dev/stdin). Checked before anything is written; false with the message, and in
// `atFault`, when given, the output that would be written over.
bool distinctFiles(const QStringList &sources, const QStringList &outputs, QString *error,
                   QString *atFault = nullptr);

// Reads the first `size` bytes of the file. A shorter file fails with "Read
// beyond end of file"; a longer one is read only that far.
bool readFilePrefix(const QString &path, qsizetype size, QByteArray *out, QString *error,
                    FileKind kind = FileKind::Any);

// Reads at most `limit` bytes of the file; fewer when it is shorter.
bool readFileUpTo(const QString &path, qsizetype limit, QByteArray *out, QString *error,
                  FileKind kind = FileKind::Any);

// Reads standard input to its end, or `limit` bytes when it goes on beyond them; false
// with the file layer's message on failure.
bool readStdin(QByteArray *bytes, qsizetype limit, QString *error);

// Writes raw bytes to standard output; false with the file layer's message on failure
// (a full disk, a closed output).
bool writeStdout(const QByteArray &bytes, QString *error);

// Creates or replaces the file with `data`. The old file stays byte for byte
// unless the whole new content was written. `createFailed`, when given, tells a
// file that could not be created at all from one that failed while being written.
bool replaceFile(const QString &path, const QByteArray &data, QString *error,
                 bool *createFailed = nullptr);

} // namespace quill
