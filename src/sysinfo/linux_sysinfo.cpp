#include "sysinfo/linux_sysinfo.h"

#include "sysinfo/os_release.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <dlfcn.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace quill {
namespace {

// An os-release file is a few hundred bytes; a larger one is read this far.
constexpr qint64 OsReleaseLimit = 64 * 1024;

QString systemName()
{
    for (const char *path : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly))
            return osReleaseName(file.read(OsReleaseLimit));
    }
    return osReleaseName({});
}

} // namespace

bool LinuxSysInfo::computerName(QString *name) const
{
    char buffer[260] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0)
        return false;
    *name = QString::fromLocal8Bit(buffer);
    return true;
}

bool LinuxSysInfo::windowsFolder(QString *path) const
{
    *path = QStringLiteral("/usr");
    return true;
}

bool LinuxSysInfo::systemFolder(QString *path) const
{
    // The folder of the C library this process runs with. The symbol is looked up
    // rather than taken by address, which could name a stub in the program itself.
    void *symbol = ::dlsym(RTLD_DEFAULT, "gnu_get_libc_version");
    Dl_info info{};
    if (!symbol || ::dladdr(symbol, &info) == 0 || !info.dli_fname)
        return false;
    const QString library = QFileInfo(QFile::decodeName(info.dli_fname)).canonicalFilePath();
    if (library.isEmpty())
        return false;
    *path = QFileInfo(library).path();
    return true;
}

bool LinuxSysInfo::versionInfo(OsVersionRecord *record) const
{
    if (record->size != VersionRecordSizeExtended && record->size != VersionRecordSizePlain)
        return false;
    struct utsname names {
    };
    if (::uname(&names) != 0)
        return false;
    record->platformId = PlatformLinux;
    record->servicePack = QString::fromLocal8Bit(names.release);
    // "6.1.0-9-amd64": version 6.1, build 0.
    static const QRegularExpression numbers(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
    const QRegularExpressionMatch match = numbers.match(record->servicePack);
    record->majorVersion = match.captured(1).toUInt();
    record->minorVersion = match.captured(2).toUInt();
    record->buildNumber = match.captured(3).toUInt();
    record->productName = systemName();
    return true;
}

std::optional<QString> LinuxSysInfo::registryProductType() const
{
    return std::nullopt;
}

const SysInfoPlatform &machineSysInfo()
{
    static const LinuxSysInfo platform;
    return platform;
}

} // namespace quill
