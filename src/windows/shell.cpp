#include "windows/shell.h"

#include "files/shell_target.h"

#include <QDesktopServices>

namespace quill {

void DesktopShell::open(const QString &target)
{
    // Its result is not examined: a missing file or an unknown type is the desktop's to tell.
    QDesktopServices::openUrl(shellUrl(target));
}

} // namespace quill
