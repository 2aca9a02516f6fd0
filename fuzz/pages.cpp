// Reading and writing page heads on random pages: nothing crashes, apply and the site
// table change no byte outside the elements the reader names (the values of those they
// keep, the blanks and line ends around those they remove) and the places where new ones
// go, and a second apply, or writing the table once more, changes nothing. The table of
// a page written back changes no byte at all. Each project's writer is made once, so
// that an input costs a few reads of it.

#include "document/tag_document.h"
#include "pages/page_apply.h"
#include "pages/page_charset.h"
#include "pages/page_extract.h"
#include "pages/page_head.h"
#include "pages/page_nesting.h"
#include "pages/unified_diff.h"
#include "site/site_page.h"

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

// Whether [begin, end) lies within the value of an element: a value replaced.
bool withinOneValue(const PageHead &head, const PageEdit &edit)
{
    const auto within = [&edit](const HeadItem &item) {
        return item.valueBegin <= edit.begin && edit.end <= item.valueEnd;
    };
    return std::any_of(head.items.begin(), head.items.end(), within) ||
           (!head.lang.slot.isEmpty() && within(head.lang));
}

// Whether the edit keeps every byte but those of values, elements removed whole and the
// places where new ones go.
bool touchesOnlyValues(QByteArrayView page, const PageHead &head, const PageEdit &edit)
{
    return edit.begin == edit.end || withinOneValue(head, edit) ||
           coversOneItem(page, head, edit) ||
           (edit.begin < head.lang.begin && edit.end == head.lang.end);
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
        PAGES_CHECK(touchesOnlyValues(page, head, edit));
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
    // A page whose only elements went is no page to apply to any more.
    if (!keepCharset) {
        QList<PageEdit> more;
        PAGES_CHECK(again.plan(out, &more, &notes, &error) || !readPageHead(out).isHtml);
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

// The page's row is read and written back (no byte changes), then every cell but the
// read-only ones is changed at once, and then emptied: only values, whole tags and new
// tags change, the page reads back as the row, and writing the row again changes nothing.
void checkTable(QByteArrayView page)
{
    SitePage read;
    QString error;
    if (!read.read(page, &error))
        return;
    QList<SiteColumn> columns;
    for (const ColumnDef &def : siteColumns())
        columns << def.column;
    const SiteRow own = read.row(QStringLiteral("p.html"), columns);
    QList<PageEdit> edits;
    PAGES_CHECK(read.plan(columns, own, &edits, &error) && edits.isEmpty());
    for (const SiteCell &value :
         {SiteCell(QStringLiteral(" v\"1 &amp; it's <x> </title> \u00fc\u03a9")), SiteCell()}) {
        SiteRow wanted = own;
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (!siteColumn(columns[i]).readOnly())
                wanted.cells[i] = value;
        }
        if (!read.plan(columns, wanted, &edits, &error))
            continue;
        for (const PageEdit &edit : std::as_const(edits))
            PAGES_CHECK(touchesOnlyValues(page, read.head(), edit));
        const QByteArray out = spliced(page, edits);
        SitePage again;
        if (!again.read(out, &error)) {
            // Every tag went, and with them the page's markup.
            PAGES_CHECK(!readPageHead(out).isHtml && !value);
            continue;
        }
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const ColumnDef &def = siteColumn(columns[i]);
            PAGES_CHECK(def.source == ColumnSource::PagePath ||
                        cellChange(again.tag(def.column).value, wanted.cells[i],
                                   def.source == ColumnSource::TitleText) == CellChange::None);
        }
        QList<PageEdit> more;
        PAGES_CHECK(again.plan(columns, wanted, &more, &error) && more.isEmpty());
    }
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
    checkTable(page);
    return 0;
}
