#pragma once

#include <QString>

namespace quill {

// The platform shell's open: hands a path or web address to the program the
// desktop has registered for it. Nothing is reported back.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual void open(const QString &target) = 0;
};

class DesktopShell : public Shell
{
public:
    void open(const QString &target) override;
};

} // namespace quill
