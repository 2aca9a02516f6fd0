#include "files/prefs_record.h"

#include "files/file_io.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quill {
namespace {

bool fail(QString *error, int systemError)
{
    if (error)
        *error = ioErrorMessage(systemError);
    return false;
}

bool isOn(const TPrefsRecord &record, TPrefsRecord::Offset offset)
{
    return record.bytes[offset] == 1;
}

QByteArray bytesOf(const TPrefsRecord &record)
{
    return QByteArray(reinterpret_cast<const char *>(record.bytes.data()), TPrefsRecord::Size);
}

// Takes the turn among the writers of the file: a lock on its folder, which stays when the
// file is replaced, held while the descriptor is open. A folder without locks (or none at
// all, which the open of the file reports) has no turns to take.
int takeTurn(const QString &path)
{
    const int fd =
        ::open(nativeName(QFileInfo(path).path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {}
    }
    return fd;
}

// Opens the file to read what it holds, without waiting on a pipe; -1 with errno set,
// EACCES for what is no regular file. `info` is the file's.
int openRecordFile(const QByteArray &native, struct stat *info)
{
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    if (::fstat(fd, info) == 0 && S_ISREG(info->st_mode))
        return fd;
    const int cause = S_ISDIR(info->st_mode) ? EISDIR : EACCES;
    ::close(fd);
    errno = cause;
    return -1;
}

// Writes the record over the first bytes of the file, open as `current`; should that fail
// part-way, the old bytes go back.
bool writeOver(const QByteArray &native, int current, const QByteArray &data, QString *error)
{
    const FileDescriptor fd(::open(native.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {
    };
    QByteArray old(data.size(), '\0');
    if (fd.get() < 0)
        return fail(error, errno);
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return fail(error, EACCES);
    const qsizetype had = readSomeAt(current, old.data(), old.size(), 0);
    if (had < 0)
        return fail(error, errno);
    if (writeAll(fd.get(), data.constData(), data.size(), 0) && ::fsync(fd.get()) == 0)
        return true;
    const int cause = errno;
    if (writeAll(fd.get(), old.constData(), had, 0) && had < data.size())
        (void)!::ftruncate(fd.get(), had);
    return fail(error, cause);
}

// Writes the record over the start of the file, open as `current` and found as `info`, and
// keeps what follows.
bool writeRecord(const QString &path, const QByteArray &native, int current,
                 const struct stat &info, const TPrefsRecord &record, QString *error)
{
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return fail(error, EACCES);
    const QByteArray data = bytesOf(record);

    // A refusal of the folder to take the new file is not the last word.
    QString refusal;
    ReplacementFile file(path);
    if (file.open(&refusal)) {
        // Written straight to the disk, so a failure of the disk stops here and only a
        // refusal of the new name is left to the commit. The record, then the rest as it is.
        if (!file.write(data.constData(), data.size(), error))
            return false;
        char buffer[65536];
        for (qint64 at = data.size();;) {
            const qsizetype got = readSomeAt(current, buffer, sizeof buffer, at);
            if (got < 0)
                return fail(error, errno);
            if (got == 0)
                break;
            if (!file.write(buffer, got, error))
                return false;
            at += got;
        }
        if (file.commit(&refusal))
            return true;
    }
    // The folder takes no new file beside the old one: write over the old bytes.
    return writeOver(native, current, data, error);
}

} // namespace

Preferences preferencesOf(const TPrefsRecord &record)
{
    return {isOn(record, TPrefsRecord::ShowTips), isOn(record, TPrefsRecord::CheckUpdates),
            isOn(record, TPrefsRecord::CodeMode), isOn(record, TPrefsRecord::ShowWizard)};
}

void storePreferences(TPrefsRecord &record, const Preferences &prefs)
{
    record.bytes[TPrefsRecord::ShowTips] = prefs.showTips ? 1 : 0;
    record.bytes[TPrefsRecord::CodeMode] = prefs.metaOnly ? 1 : 2;
    record.bytes[TPrefsRecord::CheckUpdates] = prefs.checkUpdates ? 1 : 0;
    record.bytes[TPrefsRecord::ShowWizard] = prefs.showWizard ? 1 : 0;
}

void countStart(TPrefsRecord &record)
{
    ++record.bytes[TPrefsRecord::StartCount1];
    ++record.bytes[TPrefsRecord::StartCount2];
}

bool loadPrefsFile(const QString &path, TPrefsRecord *record, QString *error)
{
    QByteArray data;
    if (!readFilePrefix(path, TPrefsRecord::Size, &data, error, FileKind::RegularOnly))
        return false;
    std::memcpy(record->bytes.data(), data.constData(), TPrefsRecord::Size);
    return true;
}

bool savePrefsFile(const QString &path, const TPrefsRecord &record, QString *error)
{
    const QByteArray native = nativeFileName(path);
    if (native.isEmpty())
        return fail(error, EINVAL);
    struct stat info {
    };
    const FileDescriptor turn(takeTurn(path));
    const FileDescriptor current(openRecordFile(native, &info));
    return current.get() >= 0 ? writeRecord(path, native, current.get(), info, record, error)
                              : fail(error, errno);
}

bool updatePrefsFile(const QString &path, const std::function<void(TPrefsRecord &)> &change,
                     QString *error)
{
    const QByteArray native = nativeFileName(path);
    if (native.isEmpty())
        return fail(error, EINVAL);
    struct stat info {
    };
    const FileDescriptor turn(takeTurn(path));
    const FileDescriptor current(openRecordFile(native, &info));
    QByteArray data;
    if (current.get() < 0 || !readUpTo(current.get(), TPrefsRecord::Size, &data))
        return fail(error, errno);
    if (data.size() < TPrefsRecord::Size) {
        if (error)
            *error = readBeyondEndOfFileMessage();
        return false;
    }
    TPrefsRecord record;
    std::memcpy(record.bytes.data(), data.constData(), TPrefsRecord::Size);
    change(record);
    return writeRecord(path, native, current.get(), info, record, error);
}

} // namespace quill
