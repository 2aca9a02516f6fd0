#pragma once

#include "sysinfo/sysinfo_platform.h"

namespace quill {

// The system information of the Linux machine the program runs on: the host name,
// /usr in the place of the Windows folder, the folder of the C library in the place
// of the system folder, and a version record of our own platform that carries the
// system's name from os-release and the kernel release from uname.
class LinuxSysInfo : public SysInfoPlatform
{
public:
    bool computerName(QString *name) const override;
    bool windowsFolder(QString *path) const override;
    bool systemFolder(QString *path) const override;
    bool versionInfo(OsVersionRecord *record) const override;
    std::optional<QString> registryProductType() const override;
};

// The platform layer of the machine the program runs on.
const SysInfoPlatform &machineSysInfo();

} // namespace quill
