#pragma once

#include "site/check_rules.h"
#include "site/rule_limits.h"
#include "site/site_columns.h"
#include "site/site_page.h"
#include "site/site_table.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace quill {

class TextWidth;

// One thing the checks found wrong with a page.
struct SiteFinding {
    QString page; // the page's path as it was given
    int line = 0; // 1-based; 0 for the page as a whole
    CheckRule rule;
    QString message; // one line, without the page, line, severity or rule id
    // What was measured against the rule's limit, in the rule's unit (pixels for a width,
    // characters for a length); none for a rule without a limit.
    std::optional<double> measured;
    // The cell of the site table the finding is about; none for a fact of the page's
    // bytes (its character set's bytes, a refresh, an obsolete tag the table lacks).
    std::optional<SiteColumn> column;

    Severity severity() const { return checkRule(rule).severity; }
};

// What the rules across pages compare of one page: kept per page, so that a page edited
// or read again costs only its own check, and the site's rules run over all of them.
struct PageFacts {
    QString page;
    ColumnTag title;
    ColumnTag description;
    ColumnTag canonical;
    // The canonical address resolved against the page's own place (relative ones) and
    // normalised for comparing; empty when the page has none or it is no valid URL.
    QString canonicalKey;
    // The page's own address (a file: URL of its absolute path), for telling whether a
    // shared canonical is one of the pages.
    QString selfKey;
};

// The values of a page that the checks read: each column's tag as the page holds it, or
// as a table row (the site window's pending edits) would have it.
class CheckedValues
{
public:
    // The page as read.
    explicit CheckedValues(const SitePage &page);
    // The page with the cells of `row` (one a column of `columns`) in place of its own,
    // as writing the row would leave them: a changed value keeps its tag's line (a new
    // tag has none), a removed tag goes with its repeats. A column `columns` lacks keeps
    // the page's value.
    CheckedValues(const SitePage &page, const QList<SiteColumn> &columns, const SiteRow &row);

    const ColumnTag &tag(SiteColumn column) const;

private:
    std::array<ColumnTag, SiteColumnCount> m_tags;
};

// The checks of one page and of a site. Measures widths with a TextWidth it does not
// own; like it, one object a thread.
class SiteChecks
{
public:
    SiteChecks(const RuleLimits &limits, TextWidth *width);

    // The findings of one page's own rules, in the page's line order (the page as a whole
    // first); `facts`, when given, receives what the rules across pages need of it.
    QList<SiteFinding> checkPage(const QString &path, const SitePage &page,
                                 PageFacts *facts = nullptr) const;
    // The same for the page with pending edits: the values from `values`, the facts of
    // the bytes (character set, repeats beyond the table's, refresh, obsolete tags) from
    // the page as read.
    QList<SiteFinding> checkPage(const QString &path, const SitePage &page,
                                 const CheckedValues &values, PageFacts *facts = nullptr) const;

    // The width in pixels of a text as the rule of `rule` measures it (a title at 20 px,
    // a description at 14 px), its blanks collapsed as a browser shows them; and where
    // the rule's limit (the site's) cuts the text as given (see TextWidth::cutPoint), so
    // collapse it first (site_text::collapsed) to cut what a browser shows. For a rule
    // whose limit is in pixels only.
    double width(CheckRule rule, QStringView text) const;
    qsizetype cutPoint(CheckRule rule, QStringView text) const;

    const RuleLimits &limits() const { return m_limits; }

private:
    RuleLimits m_limits;
    TextWidth *m_width;
};

// The facts of a page for the rules across pages, without its own checks.
PageFacts pageFacts(const QString &path, const CheckedValues &values);

// The findings of the rules across pages (title-duplicate, description-duplicate,
// canonical-shared): each page that shares a value gets one, naming the others. In the
// order of `pages`, then of the rules. Time grows in proportion to the pages.
QList<SiteFinding> checkAcrossPages(const QList<PageFacts> &pages);

// The names of the tags obsolete-tag finds ("keywords", "pragma"...), for the help.
QStringList obsoleteTagNames();

// The findings in the order `check` reports them: by page as given, then line, then
// the rule table's order.
void sortFindings(QList<SiteFinding> *findings, const QStringList &pageOrder);

} // namespace quill
