#include "sysinfo/os_description.h"

#include "sysinfo/sysinfo_platform.h"

#include <array>

namespace quill {
namespace {

constexpr std::array<const char *, 9> ProductNames = {
    "Unknown Windows NT Release",
    "Windows NT",
    "Windows 2000",
    "Windows XP",
    "Unknown Windows 9x Release",
    "Windows 95",
    "Windows 98",
    "Windows Me",
    "Win32s",
};

constexpr quint8 ProductTypeWorkstation = 1;
constexpr quint8 ProductTypeServer = 3;
constexpr quint16 SuitePersonal = 0x0200;
constexpr quint16 SuiteDataCenter = 0x0080;
constexpr quint16 SuiteEnterprise = 0x0002;

int productIndex(const OsVersionRecord &v)
{
    const auto version = [&v](quint32 major, quint32 minor) {
        return v.majorVersion == major && v.minorVersion == minor;
    };
    switch (v.platformId) {
    case PlatformWindows9x:
        if (version(4, 0))
            return 5;
        if (version(4, 10))
            return 6;
        if (version(4, 90))
            return 7;
        return 4;
    case PlatformWindowsNt:
        if (v.majorVersion <= 4)
            return 1;
        if (version(5, 0))
            return 2;
        if (version(5, 1))
            return 3;
        return 0;
    default:
        return 8;
    }
}

QString editionFromRegistry(const std::optional<QString> &productType)
{
    if (!productType || productType->size() > RegistryTextCapacity)
        return {};
    const auto is = [&productType](const char *text) {
        return productType->compare(QLatin1StringView(text), Qt::CaseInsensitive) == 0;
    };
    if (is("WINNT"))
        return QStringLiteral("Professional");
    if (is("LANMANNT"))
        return QStringLiteral("Server");
    if (is("SERVERNT"))
        return QStringLiteral("Advanced Server");
    return {};
}

QString edition(const OsVersionRecord &v, bool extended, const SysInfoPlatform &platform)
{
    if (v.platformId != PlatformWindowsNt)
        return {};
    if (!extended)
        return editionFromRegistry(platform.registryProductType());
    if (v.productType == ProductTypeWorkstation)
        return v.suiteMask & SuitePersonal ? QStringLiteral("Personal")
                                           : QStringLiteral("Professional");
    if (v.productType == ProductTypeServer) {
        if (v.suiteMask & SuiteDataCenter)
            return QStringLiteral("DataCenter Server");
        if (v.suiteMask & SuiteEnterprise)
            return QStringLiteral("Advanced Server");
        return QStringLiteral("Server");
    }
    return {};
}

QString releaseText(const OsVersionRecord &v)
{
    if (v.platformId == PlatformWindowsNt || v.platformId == PlatformLinux)
        return v.servicePack;
    if (v.platformId != PlatformWindows9x || v.majorVersion != 4)
        return {};
    // A text shorter than two characters has no second one to match.
    const QChar second = v.servicePack.size() >= 2 ? v.servicePack[1] : QChar();
    if (v.minorVersion == 0 && (second == u'B' || second == u'C'))
        return QStringLiteral("OSR2");
    if (v.minorVersion == 10 && second == u'A')
        return QStringLiteral("SE");
    return {};
}

void append(QString &text, const QString &piece)
{
    if (!piece.isEmpty())
        text += u' ' + piece;
}

} // namespace

QString describeOs(const SysInfoPlatform &platform)
{
    OsVersionRecord v;
    v.size = VersionRecordSizeExtended;
    const bool extended = platform.versionInfo(&v);
    if (!extended) {
        v = {};
        v.size = VersionRecordSizePlain;
        if (!platform.versionInfo(&v))
            throw ESysInfo("Can't get OS version info");
    }

    const QString release = releaseText(v);
    if (v.platformId == PlatformLinux) {
        QString text = v.productName.isEmpty() ? QStringLiteral("Linux") : v.productName;
        if (!release.isEmpty())
            append(text, QStringLiteral("(Kernel %1)").arg(release));
        return text;
    }

    QString text = QString::fromLatin1(ProductNames[productIndex(v)]);
    if (v.platformId == PlatformWindows9x) {
        append(text, release);
    } else if (v.platformId == PlatformWindowsNt) {
        append(text, edition(v, extended, platform));
        const quint32 build = v.buildNumber & 0xFFFF;
        // One arg() call each, so a release text holding "%1" stays as it is.
        const QString number = QString::number(build);
        if (v.majorVersion <= 4)
            append(text, QStringLiteral("version %1.%2 %3 (Build %4)")
                             .arg(QString::number(v.majorVersion), QString::number(v.minorVersion),
                                  release, number));
        else
            append(text, QStringLiteral("%1 (Build %2)").arg(release, number));
    }
    return text;
}

} // namespace quill
