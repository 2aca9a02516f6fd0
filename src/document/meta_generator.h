#pragma once

#include "document/tag_document.h"

#include <QStringList>

namespace quill {

// The meta lines of the document, in their fixed order, each only when its
// condition holds. The same in both modes.
QStringList generateMetaBlock(const TagDocument &doc);

// The lines of the code page for the document's mode: the meta block alone, or
// framed by the head and body of an HTML page.
QStringList generateMetaCode(const TagDocument &doc);

// The code page's text: its lines joined by CR LF, nothing after the last line.
QString codePageText(const QStringList &lines);

} // namespace quill
