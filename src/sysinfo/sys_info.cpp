#include "sysinfo/sys_info.h"

#include "sysinfo/linux_sysinfo.h"
#include "sysinfo/os_description.h"

#include <algorithm>
#include <stdexcept>

namespace {

// The platform's buffers hold 260 characters with the terminator; a longer answer
// counts as a failed query.
constexpr qsizetype MaxPath = 260;

using Query = bool (quill::SysInfoPlatform::*)(QString *) const;

QString ask(const quill::SysInfoPlatform &platform, Query query)
{
    QString value;
    if (!(platform.*query)(&value) || value.size() >= MaxPath)
        return {};
    return value;
}

bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

// Every trailing separator goes, except that a path of separators only keeps one: a
// root folder stays a folder.
QString withoutTrailingSeparators(QString path)
{
    qsizetype end = path.size();
    while (end > 0 && isSeparator(path[end - 1]))
        --end;
    path.truncate(std::max<qsizetype>(end, path.isEmpty() ? 0 : 1));
    return path;
}

} // namespace

TSysInfo::TSysInfo(QObject *owner, const quill::SysInfoPlatform *platform)
    : TSysInfo(owner, platform, staticMetaObject)
{}

TSysInfo::TSysInfo(QObject *owner, const quill::SysInfoPlatform *platform, const QMetaObject &kind)
    : m_platform(platform ? *platform : quill::machineSysInfo())
{
    // Looked for before joining the owner, so the new component does not find itself.
    if (owner) {
        for (const QObject *present : owner->children()) {
            if (present->metaObject()->inherits(&kind)) {
                throw std::runtime_error(
                    QStringLiteral(
                        "Only one %1 component is permitted on a form: %2 is already present on %3")
                        .arg(QString::fromLatin1(kind.className()), present->objectName(),
                             owner->objectName())
                        .toStdString());
            }
        }
    }
    setParent(owner);
}

QString TSysInfo::ComputerName() const
{
    return ask(m_platform, &quill::SysInfoPlatform::computerName);
}

QString TSysInfo::OSDescription() const
{
    return quill::describeOs(m_platform);
}

QString TSysInfo::SystemFolder() const
{
    return withoutTrailingSeparators(ask(m_platform, &quill::SysInfoPlatform::systemFolder));
}

QString TSysInfo::WindowsFolder() const
{
    return withoutTrailingSeparators(ask(m_platform, &quill::SysInfoPlatform::windowsFolder));
}
