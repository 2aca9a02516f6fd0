#pragma once

#include <QString>
#include <QStringList>

namespace quill {

// The pages of a site's folder: every *.html and *.htm file (in any case) in it and in
// its folders, by their paths relative to it, sorted. Hidden files and folders are left
// out, and so are folders reached through a link (which could lead round in a loop or
// out of the site); a page reached through a link is a page.
QStringList sitePages(const QString &folder);

// The folder that holds all the pages given, the deepest one: the one their table paths
// count from. Each page is named by an absolute path.
QString commonFolder(const QStringList &pages);

} // namespace quill
