#pragma once

#include "document/tag_document.h"

#include <QStringList>

namespace quill {

// The meta lines of the document, in their fixed order, each only when its
// condition holds. The same in both modes. A value that stands inside a double-quoted
// attribute has its double quotes written as "&quot;"; nothing else is changed.
QStringList generateMetaBlock(const TagDocument &doc);

// The lines of the code page for the document's mode: the meta block alone, or
// framed by the head and body of an HTML page.
QStringList generateMetaCode(const TagDocument &doc);

// The code page's text: its lines joined by CR LF, nothing after the last line, and
// every line break inside a line (a text can hold one) made CR LF as well.
QString codePageText(const QStringList &lines);

// The one code text of the document: what Generate Meta Code puts on the code page and
// Export, Print and Copy take from it, and what the companion's generate writes.
QString generateCodeText(const TagDocument &doc);

} // namespace quill
