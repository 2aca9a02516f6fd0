#include "files/prefs_record.h"

#include "files/file_io.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

// Writes `data` over the start of the file and cuts the file there. The record is no
// longer than the file it was read from, so the write needs no new room on the disk.
bool writeInPlace(const QByteArray &native, const QByteArray &data, QString *error)
{
    const FileDescriptor fd(::open(native.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {
    };
    if (fd.get() < 0)
        return fail(error, errno);
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return fail(error, EACCES);
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t n = ::pwrite(fd.get(), data.constData() + done,
                                   static_cast<size_t>(data.size() - done), done);
        if (n < 0 && errno != EINTR)
            return fail(error, errno);
        done += n > 0 ? n : 0;
    }
    if (::ftruncate(fd.get(), data.size()) != 0 || ::fsync(fd.get()) != 0)
        return fail(error, errno);
    return true;
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
    const QByteArray data(reinterpret_cast<const char *>(record.bytes.data()), TPrefsRecord::Size);
    const QByteArray native = nativeName(path);
    struct stat info {
    };
    if (native.isEmpty() || native.contains('\0'))
        return fail(error, EINVAL);
    if (::stat(native.constData(), &info) != 0)
        return fail(error, errno);
    if (!S_ISREG(info.st_mode) || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return fail(error, EACCES);

    // A refusal of the folder to take the new file is not the last word.
    QString refusal;
    ReplacementFile file(path);
    if (file.open(&refusal)) {
        // Written straight to the disk, so a failure of the disk stops here and only a
        // refusal of the new name is left to the commit.
        if (!file.write(data.constData(), data.size(), error))
            return false;
        if (file.commit(&refusal))
            return true;
    }
    // The folder takes no new file beside the old one: write over the old bytes.
    return writeInPlace(native, data, error);
}

} // namespace quill
