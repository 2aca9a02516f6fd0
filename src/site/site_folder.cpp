#include "site/site_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace quill {

QStringList sitePages(const QString &folder)
{
    const QDir root(folder);
    QStringList pages;
    // Without QDir::Hidden the iterator neither lists hidden files nor descends into
    // hidden folders; without FollowSymlinks it descends into no linked folder.
    QDirIterator it(folder, {QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        pages << root.relativeFilePath(it.next());
    pages.sort();
    return pages;
}

QString commonFolder(const QStringList &pages)
{
    QString common;
    for (const QString &page : pages) {
        const QString folder = QFileInfo(page).absolutePath();
        if (common.isNull()) {
            common = folder;
            continue;
        }
        // Shorten to the last folder both begin with.
        while (folder != common &&
               !folder.startsWith(common == QLatin1StringView("/") ? common
                                                                   : common + QLatin1Char('/')))
            common = QFileInfo(common).path();
    }
    return common;
}

} // namespace quill
