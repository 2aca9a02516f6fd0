#pragma once

#include "site_window/site_model.h"

#include <QFutureWatcher>
#include <QMainWindow>
#include <QPointer>
#include <QSettings>
#include <QSortFilterProxyModel>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressDialog;
class QPushButton;
class QSplitter;
class QTableView;

namespace quill {

class Prompts;
class SitePreview;

// "1 page", "2 pages": a number of things in English.
QString counted(int count, const QString &one, const QString &many);
inline QString pageCount(int count)
{
    return counted(count, QStringLiteral("page"), QStringLiteral("pages"));
}

// The rows the table shows: those that hold the search text in any column, and with the
// filter on, only pages with findings.
class SiteFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setOnlyFindings(bool only);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool m_onlyFindings = false;
};

// The commands of the window, each one action shared by the menus, the context menus and
// the shortcuts.
struct SiteActions {
    QAction *openFolder, *openPages, *writeChanges, *reviewChanges, *quit;
    QAction *undo, *redo, *replace, *find;
    QAction *onlyFindings, *preview;
};

// The site window: every page of a site as a row of a table, edited in place, its
// changes reviewed as a diff and written back page by page.
class SiteWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit SiteWindow(Prompts &prompts, QWidget *parent = nullptr);
    ~SiteWindow() override;

    // Reads the pages of the folder (or the pages given, below the folder that holds them
    // all) in the background, after asking about changes not yet written.
    void openFolder(const QString &folder);
    void openPages(const QStringList &files);
    // Asks for a folder and opens it.
    void askForFolder();
    bool isLoading() const;

    // Shows the diff of every change not yet written.
    void reviewChanges();
    // That diff, the pages' own bytes, and in `shown` as text, each page's part read in
    // its own set; `notes` receives the pages left out and why, and those changed on
    // disk since they were read (read again first).
    QByteArray pendingDiff(QStringList *notes, QString *shown = nullptr);
    // Writes every page with changes, page by page; true when none failed.
    bool writeChanges();

    const SiteActions &actions() const { return m_actions; }
    SiteModel &model() { return m_model; }
    QTableView *table() const { return m_table; }
    // The model's row of the table's current one; -1 for none.
    int currentRow() const;

signals:
    // A site's pages are in the table (or their reading was cancelled).
    void loadFinished();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildActions();
    void buildMenus();
    void buildReplaceBar(QWidget *parent);
    void restoreSettings();
    void saveSettings();
    void rememberFolder(const QString &folder);
    void rebuildRecent();
    void startLoading(const QString &folder, const QStringList &pages);
    void finishLoading();
    void updateTitle();
    void showCurrentPage();
    void showReplaceBar();
    void replaceInSelection();
    QList<int> selectedRows() const;
    // Ends an edit still open in the table, keeping what was typed.
    void commitOpenEditor();
    // Asks what becomes of the changes not yet written; true when the caller may go on.
    bool settlePending();
    // Reads the page again when its file is no longer the one read, keeping the edits
    // over it; false with `failure` when it cannot be read.
    bool refreshFromDisk(int row, QString *failure);
    // Before a page is written: reads it again and, when it changed on disk, asks whether
    // the edits win. False when the page is to be left alone.
    bool settleChangedOnDisk(int row, QString *failure);

    Prompts &m_prompts;
    QSettings m_settings;
    SiteModel m_model;
    SiteFilter m_filter;
    SiteActions m_actions{};
    QMenu *m_recentMenu = nullptr;
    QMenu *m_columnsMenu = nullptr;
    std::array<QAction *, SiteColumnCount> m_columnActions{};
    QLineEdit *m_search = nullptr;
    QTableView *m_table = nullptr;
    QSplitter *m_splitter = nullptr;
    SitePreview *m_preview = nullptr;
    QWidget *m_replaceBar = nullptr;
    QComboBox *m_replaceColumn = nullptr;
    QLineEdit *m_replaceFind = nullptr;
    QLineEdit *m_replaceWith = nullptr;
    QLabel *m_status = nullptr;
    QPointer<QDialog> m_review;
    QPlainTextEdit *m_reviewText = nullptr;
    QLabel *m_reviewNotes = nullptr;

    QFutureWatcher<SitePageState> m_loading;
    QProgressDialog *m_progress = nullptr;
    QString m_loadingFolder;
    bool m_loadCancelled = false;
};

} // namespace quill
