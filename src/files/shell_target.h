#pragma once

#include <QString>
#include <QUrl>

namespace quill {

// `name` inside `folder`, joined by exactly one separator: a folder that already
// ends in one (the root, say) gets no second, which URL parsing would read as a host.
QString pathInFolder(const QString &folder, const QString &name);

// The help page `page` of the installation: in the folder "help" of the start folder.
QString helpPagePath(const QString &startFolder, const QString &page);

// Search words as the value that completes a search address declaring ISO-8859-1
// ("ie=ISO-8859-1"): each character as its byte in that set, one outside it as "?",
// and every byte but letters, digits and "-._~" percent-encoded, so that "#", "&", "+"
// and blanks reach the engine as words.
QString latin1QueryValue(QStringView words);

// What the platform shell is handed for a target: an address that carries a scheme
// (web, mail) as it stands, anything else as a local file.
QUrl shellUrl(const QString &target);

} // namespace quill
