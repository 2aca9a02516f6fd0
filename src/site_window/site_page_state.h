#pragma once

#include "site/page_write_back.h"
#include "site/site_checks.h"
#include "site/site_columns.h"
#include "site/site_page.h"
#include "site/site_table.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace quill {

// The width of a column's text as search results draw it, against its limit; for the
// title and the description only.
struct MeasuredWidth {
    double pixels = 0;
    double limit = 0;
    bool pastLimit() const { return pixels > limit; }
};

// One page of the site as the window holds it: its bytes and row as last read, and the
// cells as the user has them now.
struct SitePageState {
    QString path;  // relative to the site's folder: the page column
    QString file;  // absolute
    SitePage page; // as read, with its bytes
    PageStamp stamp;
    SiteRow read;               // every column, in siteColumns() order; empty when unreadable
    QList<SiteCell> cells;      // the same columns, as edited
    QString error;              // why the page could not be read; its row cannot be edited
    bool changedOnDisk = false; // read again with edits of its own still pending
    std::optional<MeasuredWidth> titleWidth, descriptionWidth;
    // What the checks find in the cells as they are now: the page's own rules, and the
    // rules across pages; with what the latter compare of this page.
    QList<SiteFinding> ownFindings, siteFindings;
    PageFacts facts;

    bool readable() const { return error.isEmpty(); }
    const SiteCell &cell(SiteColumn column) const { return cells[int(column)]; }
    // The columns whose cells ask something of the page.
    QList<SiteColumn> pendingColumns() const;
    bool pending() const { return !pendingColumns().isEmpty(); }
    QByteArrayView bytes() const { return page.bytes(); }
    // The row the engine writes: the columns given (those with changes) and the user's
    // text in them, so that a tag changed on disk meanwhile in another column stays.
    SiteRow pendingRow(const QList<SiteColumn> &columns) const;
    // Checks the cells as they are now, and measures the title and the description.
    void check();
};

// Reads the page at `path` below `folder`, in whatever thread calls it: its row and the
// widths of its title and description (one shaper a thread).
SitePageState readSitePage(const QString &folder, const QString &path);
// The page's state from bytes just read; `error` set when they are no page.
SitePageState sitePageFromBytes(const QString &path, const QString &file, QByteArray bytes,
                                const PageStamp &stamp);
// Gives each page the findings of the rules across the pages.
void shareSiteFindings(QList<SitePageState> *pages);

} // namespace quill
