// The site table on random pages: a page's row written back changes no byte at all;
// every cell but the read-only ones changed at once, and then emptied, changes only
// values, whole tags and new tags, the page reads back as the row, and writing the row
// again changes nothing. Its seeds are the pages harness's.

#include "page_checks.h"

#include "pages/page_edits.h"
#include "site/site_page.h"

namespace {

using namespace quill;
using fuzz::touchesOnlyValues;

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
    checkTable(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
