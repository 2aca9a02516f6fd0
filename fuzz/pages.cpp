// Reading and writing page heads on random pages: nothing crashes, apply changes no
// byte outside the elements the reader names, the blanks and line ends around them and
// the place where the head ends, and a second apply changes nothing. Each project's
// writer is made once, so that an input costs a few reads of it.

#include "document/tag_document.h"
#include "pages/page_apply.h"
#include "pages/page_charset.h"
#include "pages/page_extract.h"
#include "pages/page_head.h"
#include "pages/page_nesting.h"
#include "pages/unified_diff.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

#define PAGES_CHECK(condition)                                                                     \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__);            \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

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

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether [begin, end) is a managed element, with at most blanks and line ends around it.
bool coversOneItem(QByteArrayView page, const PageHead &head, const PageEdit &edit)
{
    for (const HeadItem &item : head.items) {
        if (item.begin < edit.begin || item.end > edit.end)
            continue;
        const QByteArrayView before = page.sliced(edit.begin, item.begin - edit.begin);
        const QByteArrayView after = page.sliced(item.end, edit.end - item.end);
        if (std::all_of(before.begin(), before.end(), isSpace) &&
            std::all_of(after.begin(), after.end(), isSpace))
            return true;
    }
    return false;
}

// Applies with `writer`, then checks the edits, that `again` (the same project with the
// page's own set not kept) finds every line in place, and, when asked, the diff.
void checkApply(QByteArrayView page, const PageHead &head, const HeadWriter &writer,
                const HeadWriter &again, bool keepCharset, bool diff)
{
    QList<PageEdit> edits;
    QStringList notes;
    QString error;
    if (!writer.plan(page, head, &edits, &notes, &error)) {
        // The elements the parser gives never overlap where lines would go.
        PAGES_CHECK(!error.contains(QLatin1StringView("overlap")));
        return;
    }
    qsizetype at = 0;
    for (const PageEdit &edit : edits) {
        PAGES_CHECK(edit.begin >= at && edit.end >= edit.begin && edit.end <= page.size());
        at = edit.end;
        if (edit.begin == edit.end)
            PAGES_CHECK(edit.begin <= head.headEnd && edit.bytes.size() > 0);
        else
            PAGES_CHECK(coversOneItem(page, head, edit));
    }
    // What is outside the edits comes through byte for byte.
    const QByteArray out = spliced(page, edits);
    qsizetype from = 0;
    qsizetype to = 0;
    for (const PageEdit &edit : edits) {
        const qsizetype kept = edit.begin - from;
        PAGES_CHECK(QByteArrayView(out).sliced(to, kept) == page.sliced(from, kept));
        to += kept + edit.bytes.size();
        from = edit.end;
    }
    PAGES_CHECK(QByteArrayView(out).sliced(to) == page.sliced(from));
    if (diff)
        unifiedDiff(page, edits, QStringLiteral("page.html"));
    // Applied once more, the project finds every line in place. (With the page's own
    // set kept, writing may remove the last 8-bit byte, and the page then takes the
    // project's declaration the next time.)
    if (!keepCharset) {
        QList<PageEdit> more;
        PAGES_CHECK(again.plan(out, &more, &notes, &error));
        PAGES_CHECK(more.isEmpty());
    }
}

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
    static const TagDocument project = everyLine();
    static const HeadWriter plain(project, ApplyOptions{});
    static const HeadWriter keeping(project, ApplyOptions{true});
    TagDocument extracted;
    QStringList notes;
    QString error;
    // Pages of fuzzed size are too short to nest beyond the limit: the look at their
    // depth is tried on its own, with a small limit.
    PAGES_CHECK(nestingDepth(page, 64) <= std::max<qsizetype>(65, page.size()));
    const bool read = extractPage(page, &extracted, &notes, &error);
    const PageHead head = readPageHead(page);
    checkApply(page, head, plain, plain, false, true);
    // Keeping the page's set differs only where the page is in a set of its own.
    if (!head.declarations.isEmpty() || !isAscii(page))
        checkApply(page, head, keeping, plain, true, false);
    if (read) {
        const HeadWriter &own = writerFor(extracted);
        checkApply(page, head, own, own, false, false);
    }
    return 0;
}
