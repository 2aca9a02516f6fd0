// A random page's own project: what extract reads from a page, applied to it, changes
// no byte outside the elements the reader names and the places where new ones go, and a
// second apply changes nothing. Its seeds are the pages harness's.

#include "page_checks.h"

#include "document/tag_document.h"
#include "pages/page_apply.h"
#include "pages/page_extract.h"
#include "pages/page_head.h"

#include <memory>
#include <utility>

namespace {

using namespace quill;

// The writer of a project, made once: making one reads each of its lines. Random pages
// give few projects, most of them again and again.
const HeadWriter &writerFor(const TagDocument &project)
{
    static QList<std::pair<TagDocument, std::shared_ptr<const HeadWriter>>> made;
    for (const auto &[doc, writer] : std::as_const(made)) {
        if (doc == project)
            return *writer;
    }
    if (made.size() >= 64)
        made.removeFirst();
    made.append({project, std::make_shared<const HeadWriter>(project, ApplyOptions{})});
    return *made.constLast().second;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView page(reinterpret_cast<const char *>(data), qsizetype(size));
    const PageHead head = readPageHead(page);
    TagDocument extracted;
    QStringList notes;
    QString error;
    if (extractPage(page, head, &extracted, &notes, &error)) {
        const HeadWriter &own = writerFor(extracted);
        fuzz::checkApply(page, head, own, own, false, false);
    }
    return 0;
}
