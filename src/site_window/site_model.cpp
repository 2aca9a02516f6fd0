#include "site_window/site_model.h"

#include <QColor>
#include <QFont>
#include <QUndoCommand>

namespace quill {
namespace {

// One step of the undo stack: cells set, and set back.
class CellEditCommand : public QUndoCommand
{
public:
    CellEditCommand(SiteModel *model, QList<CellEdit> edits, const QString &text)
        : QUndoCommand(text)
        , m_model(model)
        , m_edits(std::move(edits))
    {}
    void redo() override { m_model->applyEdits(m_edits, true); }
    void undo() override { m_model->applyEdits(m_edits, false); }

private:
    SiteModel *m_model;
    QList<CellEdit> m_edits;
};

QString columnKey(SiteColumn column)
{
    return QLatin1StringView(siteColumn(column).key);
}

// The findings a cell shows: those about its column; the page's cell shows those about
// the page as a whole.
QList<const SiteFinding *> cellFindings(const SitePageState &page, SiteColumn column)
{
    QList<const SiteFinding *> out;
    for (const QList<SiteFinding> *findings : {&page.ownFindings, &page.siteFindings}) {
        for (const SiteFinding &finding : *findings) {
            if (finding.column.value_or(SiteColumn::Page) == column)
                out << &finding;
        }
    }
    return out;
}

// "warning, line 5: the title is 640 px wide, … (title-too-long)"
QString findingLine(const SiteFinding &finding)
{
    const QString where =
        finding.line > 0
            ? SiteModel::tr("%1, line %2").arg(severityName(finding.severity())).arg(finding.line)
            : QString(severityName(finding.severity()));
    return QStringLiteral("%1: %2 (%3)")
        .arg(where, finding.message, QLatin1StringView(checkRule(finding.rule).id));
}

} // namespace

SiteModel::SiteModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

void SiteModel::setPages(const QString &folder, QList<SitePageState> pages)
{
    beginResetModel();
    m_folder = folder;
    m_pages = std::move(pages);
    m_undo.clear();
    shareSiteFindings(&m_pages);
    endResetModel();
    m_pendingPages = -1;
    countPending();
}

int SiteModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_pages.size());
}

int SiteModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(SiteColumnCount);
}

QVariant SiteModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const SitePageState &page = m_pages[index.row()];
    const auto column = SiteColumn(index.column());
    const std::optional<MeasuredWidth> &width = column == SiteColumn::Title ? page.titleWidth
                                                : column == SiteColumn::Description
                                                    ? page.descriptionWidth
                                                    : std::nullopt;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return page.cell(column).value_or(QString());
    case Qt::ToolTipRole: {
        QStringList lines;
        if (column == SiteColumn::Page && !page.readable())
            lines << page.error;
        if (column == SiteColumn::Page && page.changedOnDisk)
            lines << tr("Changed on disk since it was read; the edits of this row are still "
                        "to be written over it");
        for (const SiteFinding *finding : cellFindings(page, column))
            lines << findingLine(*finding);
        return lines.isEmpty() ? QVariant() : QVariant(lines.join(QLatin1Char('\n')));
    }
    case Qt::DecorationRole: {
        // The mark of the gravest finding of the cell.
        std::optional<Severity> gravest;
        for (const SiteFinding *finding : cellFindings(page, column))
            gravest = std::min(gravest.value_or(Severity::Info), finding->severity());
        if (!gravest)
            return {};
        return *gravest == Severity::Error     ? QColor(214, 40, 40)
               : *gravest == Severity::Warning ? QColor(232, 150, 0)
                                               : QColor(60, 130, 220);
    }
    case HasFindingsRole:
        return !page.ownFindings.isEmpty() || !page.siteFindings.isEmpty();
    case Qt::FontRole:
        if (data(index, PendingRole).toBool() ||
            (column == SiteColumn::Page && (!page.readable() || page.changedOnDisk))) {
            QFont font;
            font.setBold(page.readable());
            font.setItalic(!page.readable() || page.changedOnDisk);
            return font;
        }
        return {};
    case WidthTextRole:
        if (!width)
            return {};
        return tr("%1 / %2 px").arg(qRound(width->pixels)).arg(width->limit);
    case PastLimitRole:
        return width && width->pastLimit();
    case PendingRole:
        return page.readable() && page.pendingColumns().contains(column);
    default:
        return {};
    }
}

QVariant SiteModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(SiteColumnCount))
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return columnKey(SiteColumn(section));
    return {};
}

Qt::ItemFlags SiteModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && m_pages[index.row()].readable() &&
        !siteColumn(SiteColumn(index.column())).readOnly())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool SiteModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const auto column = SiteColumn(index.column());
    const SiteCell &before = m_pages[index.row()].cell(column);
    const SiteCell after = value.toString();
    // An empty cell over a missing tag asks nothing either: no step.
    if (before.value_or(QString()) == *after)
        return true;
    m_undo.push(new CellEditCommand(this, {{index.row(), column, before, after}},
                                    tr("Edit %1").arg(columnKey(column))));
    return true;
}

int SiteModel::replace(SiteColumn column, const QString &find, const QString &with,
                       const QList<int> &rows)
{
    if (siteColumn(column).readOnly())
        return 0;
    QList<CellEdit> edits;
    for (const int row : rows) {
        const SitePageState &page = m_pages[row];
        if (!page.readable())
            continue;
        const SiteCell &before = page.cell(column);
        const QString text = before.value_or(QString());
        if (!find.isEmpty() && !text.contains(find))
            continue;
        const QString after = find.isEmpty() ? with : QString(text).replace(find, with);
        if (after != text)
            edits.append({row, column, before, after});
    }
    if (!edits.isEmpty())
        m_undo.push(new CellEditCommand(this, edits, tr("Replace in %1").arg(columnKey(column))));
    return int(edits.size());
}

void SiteModel::applyEdits(const QList<CellEdit> &edits, bool forward)
{
    for (const CellEdit &edit : edits) {
        SitePageState &page = m_pages[edit.row];
        page.cells[int(edit.column)] = forward ? edit.after : edit.before;
        page.check();
    }
    recheckSite();
}

QList<int> SiteModel::pendingRows() const
{
    QList<int> out;
    for (int row = 0; row < m_pages.size(); ++row) {
        if (m_pages[row].pending())
            out << row;
    }
    return out;
}

void SiteModel::reread(int row, SitePageState fresh, const QList<SiteColumn> &kept)
{
    SitePageState &page = m_pages[row];
    if (fresh.readable()) {
        for (const SiteColumn column : kept) {
            fresh.cells[int(column)] = page.cell(column);
            fresh.changedOnDisk = true;
        }
        if (fresh.changedOnDisk)
            fresh.check();
    }
    page = std::move(fresh);
    recheckSite();
}

void SiteModel::recheckSite()
{
    // A title or description of one page may make or end a duplicate anywhere.
    shareSiteFindings(&m_pages);
    if (!m_pages.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    countPending();
}

void SiteModel::countPending()
{
    const int pending = int(pendingRows().size());
    if (pending != m_pendingPages) {
        m_pendingPages = pending;
        emit pendingChanged(pending);
    }
}

} // namespace quill
