#include "windows/shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace quill {

void DesktopShell::open(const QString &target)
{
    // Web and mail addresses carry a scheme; everything else is a local path.
    const QUrl url(target);
    const bool isAddress = url.isValid() && url.scheme().size() > 1;
    QDesktopServices::openUrl(isAddress ? url : QUrl::fromLocalFile(target));
}

} // namespace quill
