#pragma once

#include <QString>

#include <stdexcept>

namespace quill {

class SysInfoPlatform;

} // namespace quill

// The system-information component's own failure.
class ESysInfo : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

namespace quill {

// The longest registry text the product-type read takes (81 bytes with the terminator).
inline constexpr qsizetype RegistryTextCapacity = 80;

// A readable description of the operating system from its version record, e.g.
// "Windows XP Professional Service Pack 1 (Build 2600)" or
// "Debian GNU/Linux 12 (bookworm) (Kernel 6.1.0-9-amd64)". Asks for the extended
// record first, then for the plain one; throws ESysInfo when both fail.
QString describeOs(const SysInfoPlatform &platform);

} // namespace quill
