#pragma once

#include <QByteArrayView>

namespace quill {

// How deep the elements a text opens nest, as a look at its tags finds it, never less
// than the HTML parser would make them: comments, and the text of the elements whose
// content is text (<script>, <style>, <title>, <noscript>, ...), hold no tags; void
// elements hold nothing; an end tag closes what it names; a start tag closes the
// sibling it ends by rule (<p> before a block, <li> before <li>, a table cell before
// a cell or row). Other implied ends count as open. Stops as soon as `limit` is
// passed; one pass over the text.
int nestingDepth(QByteArrayView text, int limit);

} // namespace quill
