#include "site_window/site_page_state.h"

#include "site/check_rules.h"
#include "site/site_text.h"
#include "site/text_width.h"

#include <QByteArray>
#include <QDir>
#include <QHash>

#include <memory>

namespace quill {
namespace {

QList<SiteColumn> everyColumn()
{
    QList<SiteColumn> out;
    for (const ColumnDef &def : siteColumns())
        out << def.column;
    return out;
}

// The checks of the calling thread, with the shaper they measure with: FreeType's faces
// are not shared between threads. Without the font the widths are left out.
struct ThreadChecks {
    std::unique_ptr<TextWidth> shaper;
    SiteChecks checks;
};

ThreadChecks &threadChecks()
{
    thread_local ThreadChecks checks = [] {
        QString error;
        std::unique_ptr<TextWidth> shaper = TextWidth::liberationSans(&error);
        TextWidth *width = shaper.get();
        return ThreadChecks{std::move(shaper), SiteChecks(RuleLimits(), width)};
    }();
    return checks;
}

std::optional<MeasuredWidth> measured(CheckRule rule, const SiteCell &text)
{
    ThreadChecks &thread = threadChecks();
    if (!thread.shaper || !text)
        return std::nullopt;
    // Measured as a browser shows it, as the checks measure it.
    return MeasuredWidth{thread.checks.width(rule, site_text::collapsed(*text)),
                         thread.checks.limits().limit(rule)};
}

SitePageState unreadable(const QString &path, const QString &file, const QString &error)
{
    SitePageState state;
    state.path = path;
    state.file = file;
    state.error = error;
    state.cells = QList<SiteCell>(qsizetype(SiteColumnCount));
    state.cells[int(SiteColumn::Page)] = path;
    return state;
}

} // namespace

QList<SiteColumn> SitePageState::pendingColumns() const
{
    QList<SiteColumn> out;
    if (!readable())
        return out;
    for (const ColumnDef &def : siteColumns()) {
        const int i = int(def.column);
        if (!def.readOnly() &&
            cellChange(read.cells[i], cells[i], def.source == ColumnSource::TitleText) !=
                CellChange::None)
            out << def.column;
    }
    return out;
}

SiteRow SitePageState::pendingRow(const QList<SiteColumn> &columns) const
{
    SiteRow row;
    for (const SiteColumn column : columns)
        row.cells << cell(column);
    return row;
}

void SitePageState::check()
{
    titleWidth = measured(CheckRule::TitleTooLong, cell(SiteColumn::Title));
    descriptionWidth = measured(CheckRule::DescriptionTooLong, cell(SiteColumn::Description));
    const QList<SiteColumn> columns = pendingColumns();
    const CheckedValues values =
        columns.isEmpty() ? CheckedValues(page) : CheckedValues(page, columns, pendingRow(columns));
    ownFindings = threadChecks().checks.checkPage(path, page, values, &facts);
}

void shareSiteFindings(QList<SitePageState> *pages)
{
    QList<PageFacts> facts;
    QHash<QString, qsizetype> rows;
    for (qsizetype i = 0; i < pages->size(); ++i) {
        SitePageState &page = (*pages)[i];
        page.siteFindings.clear();
        if (!page.readable())
            continue;
        facts << page.facts;
        rows.insert(page.path, i);
    }
    for (SiteFinding &finding : checkAcrossPages(facts)) {
        if (const auto row = rows.constFind(finding.page); row != rows.cend())
            (*pages)[*row].siteFindings << std::move(finding);
    }
}

SitePageState sitePageFromBytes(const QString &path, const QString &file, QByteArray bytes,
                                const PageStamp &stamp)
{
    SitePageState state;
    QString error;
    if (!state.page.read(bytes, &error))
        return unreadable(path, file, error);
    state.path = path;
    state.file = file;
    state.stamp = stamp;
    state.read = state.page.row(path, everyColumn());
    state.cells = state.read.cells;
    state.check();
    return state;
}

SitePageState readSitePage(const QString &folder, const QString &path)
{
    const QString file = QDir(folder).filePath(path);
    QByteArray bytes;
    PageStamp stamp;
    QString error;
    if (!readPageFile(file, &bytes, &stamp, &error))
        return unreadable(path, file, error);
    return sitePageFromBytes(path, file, std::move(bytes), stamp);
}

} // namespace quill
