#pragma once

#include <QByteArray>
#include <QString>

class QSaveFile;

namespace quill {

// The message the user sees for a failure of the platform's file layer, by the
// system's error number ("File not found", "Disk full", "I/O error 5", ...).
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
int openForReading(const QString &path, FileKind kind = FileKind::Any);

// Opens `file` to replace the file it names. A folder, a device, a pipe or a read-only
// file is refused: QSaveFile would put a plain file in its place through the folder's
// rights.
bool openForReplacing(QSaveFile &file, QString *error);

// Writes `size` bytes to a file opened by openForReplacing.
bool writeReplacement(QSaveFile &file, const char *data, qsizetype size, QString *error);

// Puts the new file in place of the old one; on failure the old file stays as it was.
bool commitReplacement(QSaveFile &file, QString *error);

// Reads the first `size` bytes of the file. A shorter file fails with "Read
// beyond end of file"; a longer one is read only that far.
bool readFilePrefix(const QString &path, qsizetype size, QByteArray *out, QString *error,
                    FileKind kind = FileKind::Any);

// Reads at most `limit` bytes of the file; fewer when it is shorter.
bool readFileUpTo(const QString &path, qsizetype limit, QByteArray *out, QString *error,
                  FileKind kind = FileKind::Any);

// Reads the whole file.
bool readWholeFile(const QString &path, QByteArray *out, QString *error);

// Creates or replaces the file with `data`. The old file stays byte for byte
// unless the whole new content was written. `createFailed`, when given, tells a
// file that could not be created at all from one that failed while being written.
bool replaceFile(const QString &path, const QByteArray &data, QString *error,
                 bool *createFailed = nullptr);

} // namespace quill
