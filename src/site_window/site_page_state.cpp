#include "site_window/site_page_state.h"

#include "files/file_io.h"
#include "site/check_rules.h"
#include "site/site_page.h"
#include "site/text_width.h"

#include <QDir>

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

// The shaper of the calling thread: FreeType's faces are not shared between threads.
// Null when the font is missing; the widths are then left out.
TextWidth *threadShaper()
{
    thread_local const std::unique_ptr<TextWidth> shaper = [] {
        QString error;
        return TextWidth::liberationSans(&error);
    }();
    return shaper.get();
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

std::optional<MeasuredWidth> measuredWidth(SiteColumn column, const SiteCell &text)
{
    const CheckRule rule = column == SiteColumn::Title         ? CheckRule::TitleTooLong
                           : column == SiteColumn::Description ? CheckRule::DescriptionTooLong
                                                               : CheckRule::TitleMissing;
    const RuleDef &def = checkRule(rule);
    TextWidth *shaper = threadShaper();
    if (def.unit != LimitUnit::Pixels || !shaper || !text)
        return std::nullopt;
    // A browser shows the text with its blanks collapsed.
    return MeasuredWidth{shaper->width(text->simplified(), def.pixelSize), def.limit};
}

SitePageState sitePageFromBytes(const QString &path, const QString &file, QByteArray bytes,
                                const PageStamp &stamp)
{
    SitePageState state;
    state.path = path;
    state.file = file;
    state.stamp = stamp;
    SitePage page;
    if (page.read(bytes, &state.error)) {
        state.read = page.row(path, everyColumn());
        state.cells = state.read.cells;
        state.titleWidth = measuredWidth(SiteColumn::Title, state.cell(SiteColumn::Title));
        state.descriptionWidth =
            measuredWidth(SiteColumn::Description, state.cell(SiteColumn::Description));
    } else {
        state.cells = QList<SiteCell>(qsizetype(SiteColumnCount));
        state.cells[int(SiteColumn::Page)] = path;
    }
    state.bytes = std::move(bytes);
    return state;
}

SitePageState readSitePage(const QString &folder, const QString &path)
{
    const QString file = QDir(folder).filePath(path);
    QByteArray bytes;
    PageStamp stamp;
    QString error;
    if (!readPageFile(file, &bytes, &stamp, &error)) {
        SitePageState state = sitePageFromBytes(path, file, {}, stamp);
        state.error = error;
        return state;
    }
    return sitePageFromBytes(path, file, std::move(bytes), stamp);
}

} // namespace quill
