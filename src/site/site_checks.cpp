#include "site/site_checks.h"

#include "site/text_width.h"

namespace quill {

CheckedValues::CheckedValues(const SitePage &page)
{
    for (const ColumnDef &def : siteColumns())
        m_tags[static_cast<std::size_t>(def.column)] = page.tag(def.column);
}

CheckedValues::CheckedValues(const SitePage &page, const QList<SiteColumn> &columns,
                             const SiteRow &row)
    : CheckedValues(page)
{
    Q_UNUSED(columns);
    Q_UNUSED(row);
}

const ColumnTag &CheckedValues::tag(SiteColumn column) const
{
    return m_tags[static_cast<std::size_t>(column)];
}

SiteChecks::SiteChecks(const RuleLimits &limits, TextWidth *width)
    : m_limits(limits)
    , m_width(width)
{}

QList<SiteFinding> SiteChecks::checkPage(const QString &path, const SitePage &page,
                                         PageFacts *facts) const
{
    return checkPage(path, page, CheckedValues(page), facts);
}

QList<SiteFinding> SiteChecks::checkPage(const QString &path, const SitePage &page,
                                         const CheckedValues &values, PageFacts *facts) const
{
    Q_UNUSED(page);
    if (facts)
        *facts = pageFacts(path, values);
    return {};
}

double SiteChecks::width(CheckRule rule, QStringView text) const
{
    return m_width->width(text, checkRule(rule).pixelSize);
}

qsizetype SiteChecks::cutPoint(CheckRule rule, QStringView text) const
{
    return m_width->cutPoint(text, checkRule(rule).pixelSize, m_limits.limit(rule));
}

PageFacts pageFacts(const QString &path, const CheckedValues &values)
{
    PageFacts facts;
    facts.page = path;
    facts.title = values.tag(SiteColumn::Title);
    facts.description = values.tag(SiteColumn::Description);
    facts.canonical = values.tag(SiteColumn::Canonical);
    return facts;
}

QList<SiteFinding> checkAcrossPages(const QList<PageFacts> &pages)
{
    Q_UNUSED(pages);
    return {};
}

void sortFindings(QList<SiteFinding> *findings, const QStringList &pageOrder)
{
    Q_UNUSED(findings);
    Q_UNUSED(pageOrder);
}

} // namespace quill
