#pragma once

#include "site_window/site_page_state.h"

#include <QAbstractTableModel>
#include <QList>
#include <QUndoStack>

namespace quill {

// A change of cells, as the undo stack keeps it: each cell's text before and after.
struct CellEdit {
    int row;
    SiteColumn column;
    SiteCell before;
    SiteCell after;
};

// The pages of a site as a table: a row a page, the columns of siteColumns() in their
// order. Every edit goes through the undo stack.
class SiteModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        WidthTextRole = Qt::UserRole + 1, // "512 / 600 px" for a measured cell
        PastLimitRole,                    // true where the text is wider than its limit
        PendingRole,                      // true where the cell asks a change of its page
        HasFindingsRole,                  // true, in any column, for a page with findings
    };

    explicit SiteModel(QObject *parent = nullptr);

    // The site's pages, in their order; forgets the undo history.
    void setPages(const QString &folder, QList<SitePageState> pages);
    const QString &folder() const { return m_folder; }
    const SitePageState &page(int row) const { return m_pages[row]; }
    QUndoStack *undoStack() { return &m_undo; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // An edit of a cell, pushed on the undo stack.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    // Replaces `find` with `with` in the column's text of each row given (the whole text
    // when `find` is empty), as one step of the undo stack; the number of cells changed.
    int replace(SiteColumn column, const QString &find, const QString &with,
                const QList<int> &rows);

    // The rows whose cells ask a change of their page, in order.
    QList<int> pendingRows() const;
    int pendingPages() const { return m_pendingPages; }
    // The page as read again: its cells take the new values, but keep the user's in
    // `kept` (the columns still to be written), and the row says it was changed on disk
    // when any are kept.
    void reread(int row, SitePageState fresh, const QList<SiteColumn> &kept);

    // Sets the cells without the undo stack: what its steps do and undo.
    void applyEdits(const QList<CellEdit> &edits, bool forward);

signals:
    // The number of pages with changes not yet written, whenever it changes.
    void pendingChanged(int pages);

private:
    void recheckSite();
    void countPending();

    QString m_folder;
    QList<SitePageState> m_pages;
    QUndoStack m_undo;
    int m_pendingPages = 0;
};

} // namespace quill
