#include "site_window/site_window.h"

#include "components/prompts.h"
#include "site/site_folder.h"
#include "site_window/site_cell_delegate.h"
#include "site_window/site_preview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentMap>

namespace quill {
namespace {

// Folders in File > Recent.
constexpr int RecentCount = 8;

QString columnKey(SiteColumn column)
{
    return QLatin1StringView(siteColumn(column).key);
}

} // namespace

QString counted(int count, const QString &one, const QString &many)
{
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

void SiteFilter::setOnlyFindings(bool only)
{
    m_onlyFindings = only;
    invalidateFilter();
}

bool SiteFilter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_onlyFindings &&
        !sourceModel()->index(sourceRow, 0, sourceParent).data(SiteModel::HasFindingsRole).toBool())
        return false;
    return QSortFilterProxyModel::filterAcceptsRow(sourceRow, sourceParent);
}

SiteWindow::SiteWindow(Prompts &prompts, QWidget *parent)
    : QMainWindow(parent)
    , m_prompts(prompts)
    , m_settings(QStringLiteral("quillmark"), QStringLiteral("quillmark-site"))
{
    setObjectName(QStringLiteral("SiteWindow"));
    m_filter.setSourceModel(&m_model);
    m_filter.setFilterKeyColumn(-1);
    m_filter.setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_filter.setSortCaseSensitivity(Qt::CaseInsensitive);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);
    auto *searchRow = new QHBoxLayout;
    auto *searchLabel = new QLabel(tr("&Search:"), central);
    m_search = new QLineEdit(central);
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setClearButtonEnabled(true);
    m_search->setPlaceholderText(tr("Text in any column"));
    m_search->setAccessibleName(tr("Search the pages"));
    searchLabel->setBuddy(m_search);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    layout->addLayout(searchRow);
    buildReplaceBar(central);
    layout->addWidget(m_replaceBar);

    m_splitter = new QSplitter(Qt::Horizontal, central);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    m_table = new QTableView(m_splitter);
    m_table->setObjectName(QStringLiteral("pages"));
    m_table->setAccessibleName(tr("Pages of the site"));
    m_table->setModel(&m_filter);
    m_table->setItemDelegate(new SiteCellDelegate(m_table));
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(int(SiteColumn::Page), Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    m_table->setWordWrap(false);
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    // Rows of one height: the view need not measure each row to scroll.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->horizontalHeader()->setSectionsMovable(true);
    m_table->horizontalHeader()->setDefaultSectionSize(160);
    m_table->horizontalHeader()->resizeSection(int(SiteColumn::Page), 170);
    m_table->horizontalHeader()->resizeSection(int(SiteColumn::Charset), 110);
    m_table->horizontalHeader()->resizeSection(int(SiteColumn::Lang), 60);
    m_table->horizontalHeader()->resizeSection(int(SiteColumn::Title), 340);
    m_table->horizontalHeader()->resizeSection(int(SiteColumn::Description), 380);
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_preview = new SitePreview(m_splitter);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setAccessibleName(tr("Preview of the selected page"));
    m_splitter->setStretchFactor(0, 3);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);
    layout->addWidget(m_splitter, 1);
    setCentralWidget(central);
    setTabOrder(m_search, m_table);
    setTabOrder(m_table, m_preview);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("pageCount"));
    statusBar()->addPermanentWidget(m_status);

    buildActions();
    buildMenus();

    connect(m_search, &QLineEdit::textChanged, &m_filter,
            &QSortFilterProxyModel::setFilterFixedString);
    connect(&m_model, &SiteModel::pendingChanged, this, &SiteWindow::updateTitle);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &SiteWindow::updateTitle);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &SiteWindow::showCurrentPage);
    connect(&m_model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &topLeft) {
        if (topLeft.row() == currentRow())
            showCurrentPage();
    });
    connect(&m_loading, &QFutureWatcher<SitePageState>::finished, this, &SiteWindow::finishLoading);

    // A roomy window, within the screen.
    const QSize room = screen() ? screen()->availableSize() * 0.9 : QSize(1280, 760);
    resize(std::min(1280, room.width()), std::min(760, room.height()));
    // The table first, the preview wide enough for a desktop result's 600 px column and
    // its margins where the window allows; it scrolls what does not fit beside it.
    const int preview = std::clamp(660, width() * 2 / 5, width() * 11 / 20);
    m_splitter->setSizes({width() - preview, preview});
    restoreSettings();
    updateTitle();
}

SiteWindow::~SiteWindow()
{
    m_loading.cancel();
    m_loading.waitForFinished();
}

void SiteWindow::buildActions()
{
    const auto make = [this](const QString &text, const QString &name,
                             const QKeySequence &keys = {}) {
        auto *action = new QAction(text, this);
        action->setObjectName(name);
        action->setShortcut(keys);
        return action;
    };
    SiteActions &a = m_actions;
    a.openFolder = make(tr("&Open Folder…"), QStringLiteral("openFolder"), QKeySequence::Open);
    a.openPages =
        make(tr("Open &Pages…"), QStringLiteral("openPages"), QKeySequence(tr("Ctrl+Shift+O")));
    a.writeChanges = make(tr("&Write Changes"), QStringLiteral("writeChanges"), QKeySequence::Save);
    a.reviewChanges =
        make(tr("&Review Changes…"), QStringLiteral("reviewChanges"), QKeySequence(tr("Ctrl+D")));
    a.quit = make(tr("&Quit"), QStringLiteral("quit"), QKeySequence::Quit);
    a.undo = m_model.undoStack()->createUndoAction(this, tr("&Undo"));
    a.undo->setObjectName(QStringLiteral("undo"));
    a.undo->setShortcut(QKeySequence(tr("Ctrl+Z")));
    a.redo = m_model.undoStack()->createRedoAction(this, tr("&Redo"));
    a.redo->setObjectName(QStringLiteral("redo"));
    a.redo->setShortcut(QKeySequence(tr("Ctrl+Shift+Z")));
    a.replace = make(tr("R&eplace…"), QStringLiteral("replace"), QKeySequence(tr("Ctrl+H")));
    a.find = make(tr("&Find"), QStringLiteral("find"), QKeySequence::Find);
    a.onlyFindings = make(tr("Only Pages with &Findings"), QStringLiteral("onlyFindings"));
    a.onlyFindings->setCheckable(true);
    a.preview = make(tr("&Preview"), QStringLiteral("preview"), QKeySequence(tr("F8")));
    a.preview->setCheckable(true);
    a.preview->setChecked(true);

    connect(a.openFolder, &QAction::triggered, this, &SiteWindow::askForFolder);
    connect(a.openPages, &QAction::triggered, this, [this] {
        const QStringList files =
            m_prompts.openFileNames(this, {tr("Open Pages"),
                                           tr("Web pages (*.html *.htm);;All files (*)"),
                                           {},
                                           m_model.folder()});
        if (!files.isEmpty())
            openPages(files);
    });
    connect(a.writeChanges, &QAction::triggered, this, &SiteWindow::writeChanges);
    connect(a.reviewChanges, &QAction::triggered, this, &SiteWindow::reviewChanges);
    connect(a.quit, &QAction::triggered, this, &QWidget::close);
    connect(a.replace, &QAction::triggered, this, &SiteWindow::showReplaceBar);
    connect(a.find, &QAction::triggered, this, [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });
    connect(a.onlyFindings, &QAction::toggled, &m_filter, &SiteFilter::setOnlyFindings);
    connect(a.preview, &QAction::toggled, m_preview, &QWidget::setVisible);

    m_table->addActions({a.undo, a.redo, a.replace});
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    m_table->addActions({separator, a.reviewChanges, a.writeChanges});
}

void SiteWindow::buildMenus()
{
    const SiteActions &a = m_actions;
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->addActions({a.openFolder, a.openPages});
    m_recentMenu = file->addMenu(tr("Recent &Folders"));
    m_recentMenu->setObjectName(QStringLiteral("recentFolders"));
    file->addSeparator();
    file->addActions({a.writeChanges, a.reviewChanges});
    file->addSeparator();
    file->addAction(a.quit);

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    edit->addActions({a.undo, a.redo});
    edit->addSeparator();
    edit->addActions({a.replace, a.find});

    QMenu *view = menuBar()->addMenu(tr("&View"));
    m_columnsMenu = view->addMenu(tr("&Columns"));
    QHeaderView *header = m_table->horizontalHeader();
    header->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const ColumnDef &def : siteColumns()) {
        // The page names its row: it stays.
        if (def.column == SiteColumn::Page)
            continue;
        auto *action = m_columnsMenu->addAction(QLatin1StringView(def.key));
        action->setObjectName(QStringLiteral("column:") + QLatin1StringView(def.key));
        action->setCheckable(true);
        action->setChecked(true);
        const int section = int(def.column);
        connect(action, &QAction::toggled, this,
                [this, section](bool shown) { m_table->setColumnHidden(section, !shown); });
        header->addAction(action);
        m_columnActions[std::size_t(section)] = action;
    }
    view->addActions({a.onlyFindings, a.preview});
}

void SiteWindow::buildReplaceBar(QWidget *parent)
{
    m_replaceBar = new QWidget(parent);
    m_replaceBar->setObjectName(QStringLiteral("replaceBar"));
    auto *row = new QHBoxLayout(m_replaceBar);
    row->setContentsMargins(0, 0, 0, 0);
    auto *inLabel = new QLabel(tr("Replace &in:"), m_replaceBar);
    m_replaceColumn = new QComboBox(m_replaceBar);
    m_replaceColumn->setObjectName(QStringLiteral("replaceColumn"));
    // A list's name is its chosen item to a screen reader; what it is, its description.
    m_replaceColumn->setAccessibleName(tr("Column to replace in"));
    m_replaceColumn->setAccessibleDescription(tr("Column to replace in"));
    for (const ColumnDef &def : siteColumns()) {
        if (!def.readOnly())
            m_replaceColumn->addItem(QLatin1StringView(def.key), int(def.column));
    }
    inLabel->setBuddy(m_replaceColumn);
    auto *findLabel = new QLabel(tr("Fi&nd:"), m_replaceBar);
    m_replaceFind = new QLineEdit(m_replaceBar);
    m_replaceFind->setObjectName(QStringLiteral("replaceFind"));
    m_replaceFind->setAccessibleName(tr("Text to find"));
    m_replaceFind->setPlaceholderText(tr("empty: the whole text"));
    findLabel->setBuddy(m_replaceFind);
    auto *withLabel = new QLabel(tr("&With:"), m_replaceBar);
    m_replaceWith = new QLineEdit(m_replaceBar);
    m_replaceWith->setObjectName(QStringLiteral("replaceWith"));
    m_replaceWith->setAccessibleName(tr("Text to put in its place"));
    withLabel->setBuddy(m_replaceWith);
    auto *apply = new QPushButton(tr("Replace in Selected &Rows"), m_replaceBar);
    apply->setObjectName(QStringLiteral("replaceApply"));
    apply->setAccessibleName(tr("Replace in the selected rows"));
    auto *close = new QToolButton(m_replaceBar);
    close->setText(tr("Close"));
    close->setAccessibleName(tr("Close the replace bar"));
    row->addWidget(inLabel);
    row->addWidget(m_replaceColumn);
    row->addWidget(findLabel);
    row->addWidget(m_replaceFind, 1);
    row->addWidget(withLabel);
    row->addWidget(m_replaceWith, 1);
    row->addWidget(apply);
    row->addWidget(close);
    m_replaceBar->hide();
    connect(apply, &QPushButton::clicked, this, &SiteWindow::replaceInSelection);
    connect(m_replaceWith, &QLineEdit::returnPressed, this, &SiteWindow::replaceInSelection);
    const auto hideBar = [this] {
        m_replaceBar->hide();
        m_table->setFocus();
    };
    connect(close, &QToolButton::clicked, this, hideBar);
    connect(new QShortcut(Qt::Key_Escape, m_replaceBar, nullptr, nullptr,
                          Qt::WidgetWithChildrenShortcut),
            &QShortcut::activated, this, hideBar);
}

void SiteWindow::showReplaceBar()
{
    const int column = m_table->currentIndex().column();
    const int item = m_replaceColumn->findData(column);
    if (item >= 0)
        m_replaceColumn->setCurrentIndex(item);
    m_replaceBar->show();
    m_replaceFind->setFocus(Qt::ShortcutFocusReason);
    m_replaceFind->selectAll();
}

QList<int> SiteWindow::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        rows << m_filter.mapToSource(index).row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void SiteWindow::replaceInSelection()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) {
        statusBar()->showMessage(tr("Select the rows to replace in first."));
        return;
    }
    const auto column = SiteColumn(m_replaceColumn->currentData().toInt());
    const int changed = m_model.replace(column, m_replaceFind->text(), m_replaceWith->text(), rows);
    statusBar()->showMessage(tr("Replaced in %1 of %2.")
                                 .arg(counted(changed, tr("row"), tr("rows")), columnKey(column)));
}

int SiteWindow::currentRow() const
{
    const QModelIndex current = m_filter.mapToSource(m_table->currentIndex());
    return current.isValid() ? current.row() : -1;
}

void SiteWindow::showCurrentPage()
{
    const int row = currentRow();
    if (row < 0 || !m_model.page(row).readable()) {
        m_preview->clear();
        return;
    }
    const SitePageState &page = m_model.page(row);
    const auto text = [&page](SiteColumn column) { return page.cell(column).value_or(QString()); };
    m_preview->showPage({text(SiteColumn::Title), text(SiteColumn::Description),
                         text(SiteColumn::Canonical), page.path, page.file,
                         text(SiteColumn::OgTitle), text(SiteColumn::OgDescription),
                         text(SiteColumn::OgImage), text(SiteColumn::OgUrl)});
}

void SiteWindow::updateTitle()
{
    const int pending = m_model.pendingPages();
    const QString folder = m_model.folder();
    setWindowTitle(folder.isEmpty()
                       ? tr("Quillmark Site[*]")
                       : tr("%1[*] – Quillmark Site").arg(QDir::toNativeSeparators(folder)));
    setWindowModified(pending > 0);
    // Enabled with a site open, not only with changes: an edit still open in the table
    // counts once its editor is left, which these commands do first.
    m_actions.writeChanges->setEnabled(m_model.rowCount() > 0);
    m_actions.reviewChanges->setEnabled(m_model.rowCount() > 0);
    const int pages = m_model.rowCount();
    m_status->setText(pending > 0
                          ? tr("%1, %2 with changes to write").arg(pageCount(pages)).arg(pending)
                          : pageCount(pages));
}

void SiteWindow::askForFolder()
{
    const QString folder =
        m_prompts.folderName(this, {tr("Open Folder"), {}, {}, m_model.folder()});
    if (!folder.isEmpty())
        openFolder(folder);
}

void SiteWindow::openFolder(const QString &folder)
{
    if (isLoading() || !settlePending())
        return;
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    if (!QFileInfo(absolute).isDir()) {
        m_prompts.show(this, errorMessage(tr("%1: no such folder").arg(absolute)));
        return;
    }
    rememberFolder(absolute);
    startLoading(absolute, sitePages(absolute));
}

void SiteWindow::openPages(const QStringList &files)
{
    if (isLoading() || files.isEmpty() || !settlePending())
        return;
    QStringList absolute;
    for (const QString &file : files)
        absolute << QFileInfo(file).absoluteFilePath();
    const QString folder = commonFolder(absolute);
    const QDir dir(folder);
    QStringList pages;
    for (const QString &file : std::as_const(absolute))
        pages << dir.relativeFilePath(file);
    startLoading(folder, pages);
}

bool SiteWindow::isLoading() const
{
    return m_loading.isRunning() || m_progress;
}

void SiteWindow::startLoading(const QString &folder, const QStringList &pages)
{
    m_loadingFolder = folder;
    m_loadCancelled = false;
    m_progress = new QProgressDialog(tr("Reading the pages of %1…").arg(folder), tr("Cancel"), 0,
                                     int(pages.size()), this);
    m_progress->setObjectName(QStringLiteral("loadProgress"));
    m_progress->setWindowTitle(tr("Opening the Site"));
    m_progress->setAccessibleName(tr("Reading the pages"));
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setMinimumDuration(400);
    m_progress->setValue(0);
    connect(m_progress, &QProgressDialog::canceled, this, [this] {
        m_loadCancelled = true;
        m_loading.cancel();
    });
    connect(&m_loading, &QFutureWatcher<SitePageState>::progressValueChanged, m_progress,
            &QProgressDialog::setValue);
    m_actions.openFolder->setEnabled(false);
    m_actions.openPages->setEnabled(false);
    m_loading.setFuture(QtConcurrent::mapped(
        pages, [folder](const QString &page) { return readSitePage(folder, page); }));
}

void SiteWindow::finishLoading()
{
    const bool cancelled = m_loadCancelled || m_loading.isCanceled();
    if (m_progress) {
        // A modal dialog's setValue() runs the event loop, which may bring this here
        // from inside it: the dialog goes once it has returned.
        m_progress->disconnect(this);
        m_loading.disconnect(m_progress);
        m_progress->setObjectName({});
        m_progress->hide();
        m_progress->deleteLater();
        m_progress = nullptr;
    }
    m_actions.openFolder->setEnabled(true);
    m_actions.openPages->setEnabled(true);
    if (cancelled) {
        statusBar()->showMessage(tr("Reading cancelled; the table is as it was."));
    } else {
        m_model.setPages(m_loadingFolder, m_loading.future().results());
        m_table->setCurrentIndex(m_filter.index(0, 0));
        m_table->setFocus();
        statusBar()->showMessage(tr("Read %1.").arg(pageCount(m_model.rowCount())), 5000);
    }
    emit loadFinished();
}

void SiteWindow::rememberFolder(const QString &folder)
{
    QStringList recent = m_settings.value(QStringLiteral("recentFolders")).toStringList();
    recent.removeAll(folder);
    recent.prepend(folder);
    while (recent.size() > RecentCount)
        recent.removeLast();
    m_settings.setValue(QStringLiteral("recentFolders"), recent);
    rebuildRecent();
}

void SiteWindow::rebuildRecent()
{
    m_recentMenu->clear();
    const QStringList recent = m_settings.value(QStringLiteral("recentFolders")).toStringList();
    for (int i = 0; i < recent.size(); ++i) {
        const QString folder = recent[i];
        QAction *action = m_recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(folder)));
        connect(action, &QAction::triggered, this, [this, folder] { openFolder(folder); });
    }
    m_recentMenu->setEnabled(!recent.isEmpty());
}

void SiteWindow::restoreSettings()
{
    restoreGeometry(m_settings.value(QStringLiteral("geometry")).toByteArray());
    m_table->horizontalHeader()->restoreState(
        m_settings.value(QStringLiteral("columns")).toByteArray());
    m_splitter->restoreState(m_settings.value(QStringLiteral("splitter")).toByteArray());
    m_actions.preview->setChecked(m_settings.value(QStringLiteral("preview"), true).toBool());
    for (const ColumnDef &def : siteColumns()) {
        if (QAction *action = m_columnActions[std::size_t(def.column)])
            action->setChecked(!m_table->isColumnHidden(int(def.column)));
    }
    rebuildRecent();
}

void SiteWindow::saveSettings()
{
    m_settings.setValue(QStringLiteral("geometry"), saveGeometry());
    m_settings.setValue(QStringLiteral("columns"), m_table->horizontalHeader()->saveState());
    m_settings.setValue(QStringLiteral("splitter"), m_splitter->saveState());
    m_settings.setValue(QStringLiteral("preview"), m_actions.preview->isChecked());
}

void SiteWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Back from another program, which may have changed a page with edits of its own
    // here: such a row says so at once.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !isLoading()) {
        for (const int row : m_model.pendingRows()) {
            QString failure;
            refreshFromDisk(row, &failure);
        }
    }
}

void SiteWindow::commitOpenEditor()
{
    // Leaving the editor commits it.
    const QWidget *focus = QApplication::focusWidget();
    if (focus && focus != m_table && m_table->isAncestorOf(focus))
        m_table->setFocus();
}

void SiteWindow::closeEvent(QCloseEvent *event)
{
    if (isLoading() || !settlePending()) {
        event->ignore();
        return;
    }
    saveSettings();
    event->accept();
}

} // namespace quill
