// Applying page heads on random pages: nothing crashes, apply changes no byte outside
// the elements the reader names (the values of those it keeps, the blanks and line ends
// around those it removes) and the places where new ones go, and a second apply changes
// nothing. Each input costs two reads of a head or three: what a page's own project does
// to it is the harness page_extract's, and the site table's is site_page's.

#include "page_checks.h"

#include "document/tag_document.h"
#include "pages/page_apply.h"
#include "pages/page_charset.h"
#include "pages/page_head.h"
#include "pages/page_nesting.h"

namespace {

using namespace quill;

// A project that writes every line the generator can write.
TagDocument everyLine()
{
    TagDocument doc = TagDocument::startUp();
    for (const FieldDef &def : fieldCatalogue()) {
        if (def.kind == FieldKind::Edit)
            doc.setText(def.id, QStringLiteral("v\"1"));
    }
    return doc;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView page(reinterpret_cast<const char *>(data), qsizetype(size));
    static const TagDocument project = everyLine();
    static const HeadWriter plain(project, ApplyOptions{});
    static const HeadWriter keeping(project, ApplyOptions{true});
    // Pages of fuzzed size are too short to nest beyond the limit: the look at their
    // depth is tried on its own, with a small limit.
    PAGES_CHECK(nestingDepth(page, 64) <= std::max<qsizetype>(65, page.size()));
    const PageHead head = readPageHead(page);
    fuzz::checkApply(page, head, plain, plain, false, true);
    // Keeping the page's set differs only where the page is in a set of its own.
    if (!head.declarations.isEmpty() || !isAscii(page))
        fuzz::checkApply(page, head, keeping, plain, true, false);
    return 0;
}
