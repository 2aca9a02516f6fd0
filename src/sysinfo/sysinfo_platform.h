#pragma once

#include <QString>

#include <optional>

namespace quill {

// Platform identifiers of the version record.
inline constexpr quint32 PlatformWin32s = 0;
inline constexpr quint32 PlatformWindows9x = 1;
inline constexpr quint32 PlatformWindowsNt = 2;
// Our own identifier, outside the range Windows uses: a Linux system, whose record
// carries the system's name and, as its release text, the kernel release.
inline constexpr quint32 PlatformLinux = 100;

// The sizes a caller puts into the record's size field: the extended record, and
// its first part, the plain record that older systems know.
inline constexpr quint32 VersionRecordSizeExtended = 156;
inline constexpr quint32 VersionRecordSizePlain = 148;

// The operating system's version record, as the version query fills it.
struct OsVersionRecord {
    quint32 size = 0; // set by the caller before the query
    quint32 majorVersion = 0;
    quint32 minorVersion = 0;
    quint32 buildNumber = 0;
    quint32 platformId = 0;
    QString servicePack; // the release text: service pack, or kernel release
    // The extended part: filled only for a query with the extended size.
    quint16 servicePackMajor = 0;
    quint16 servicePackMinor = 0;
    quint16 suiteMask = 0;
    quint8 productType = 0;
    // Our own platform: the system's name.
    QString productName;
};

// What the system-information component asks the platform. Each query answers
// false when the platform cannot tell; callers decide what a failure means.
class SysInfoPlatform
{
public:
    virtual ~SysInfoPlatform() = default;

    virtual bool computerName(QString *name) const = 0;
    virtual bool windowsFolder(QString *path) const = 0;
    virtual bool systemFolder(QString *path) const = 0;
    // Fills `record` as far as its size field asks.
    virtual bool versionInfo(OsVersionRecord *record) const = 0;
    // The text value "ProductType" of the key
    // SYSTEM\CurrentControlSet\Control\ProductOptions; nullopt when unreadable.
    virtual std::optional<QString> registryProductType() const = 0;
};

} // namespace quill
