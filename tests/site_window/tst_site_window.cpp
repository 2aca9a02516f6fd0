// The site window driven as its user drives it: the folder opened through File, cells
// edited with the keyboard, the shortcuts and the menu actions, the questions answered
// ahead; then the table, the review and the files on disk checked, the companion's
// `table --write` being the reference for the bytes.

#include "common/file_helpers.h"
#include "scripted_prompts.h"

#include "site/site_folder.h"
#include "site_window/site_window.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>
#include <sys/stat.h>

using namespace quill;
using namespace Qt::Literals::StringLiterals;

namespace {

QString key(SiteColumn column)
{
    return QLatin1StringView(siteColumn(column).key);
}

SiteColumn columnOf(const QString &key)
{
    return findSiteColumn(key.toLatin1())->column;
}

} // namespace

class TestSiteWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_site;
    std::unique_ptr<QTemporaryDir> m_home;
    ScriptedPrompts m_prompts;
    std::unique_ptr<SiteWindow> m_window;

    SiteWindow &window() { return *m_window; }
    SiteModel &model() { return m_window->model(); }
    QString sitePath(const QString &page) const { return m_site->filePath(page); }

    // Opens the site as the user does: File > Open Folder, the folder chosen.
    void openSite(SiteWindow &window, const QString &folder)
    {
        QSignalSpy loaded(&window, &SiteWindow::loadFinished);
        m_prompts.answerFolder(folder);
        window.actions().openFolder->trigger();
        QVERIFY(loaded.wait(10000));
    }
    int rowOf(const QString &page)
    {
        for (int row = 0; row < model().rowCount(); ++row) {
            if (model().page(row).path == page)
                return row;
        }
        return -1;
    }
    QString cellText(const QString &page, SiteColumn column)
    {
        return model().index(rowOf(page), int(column)).data().toString();
    }
    QModelIndex viewIndex(const QString &page, SiteColumn column)
    {
        const auto *proxy = static_cast<const QSortFilterProxyModel *>(window().table()->model());
        return proxy->mapFromSource(model().index(rowOf(page), int(column)));
    }
    // Types the text into the cell: F2, the whole text replaced, committed.
    void editCell(const QString &page, SiteColumn column, const QString &text)
    {
        QTableView *table = window().table();
        table->setFocus();
        table->setCurrentIndex(viewIndex(page, column));
        QTest::keyClick(table, Qt::Key_F2);
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(editor && editor != table);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(editor, Qt::Key_Delete);
        for (const QChar c : text) {
            // QTest types Latin-1 only; a key event carries any text.
            if (c == u'\n')
                QTest::keyClick(editor, Qt::Key_Return);
            else if (c.unicode() < 0x80)
                QTest::keyClick(editor, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
        // A multi-line editor takes Return as a line break; Ctrl+Return commits either.
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(), table);
    }
    void press(const QKeySequence &keys)
    {
        QTest::keySequence(
            QApplication::focusWidget() ? QApplication::focusWidget() : m_window.get(), keys);
    }
    // What the companion makes of the same change: `table --write` with a table of the
    // page and the changed column, run in the site's folder (so it names the page as the
    // window does), on a copy of the page for a write.
    QByteArray companion(const QString &folder, const QString &page, SiteColumn column,
                         const QString &value, bool dryRun)
    {
        const QByteArray csv = QByteArray("page,") + siteColumn(column).key + "\r\n" +
                               page.toUtf8() + ",\"" + value.toUtf8().replace("\"", "\"\"") +
                               "\"\r\n";
        if (!writeFile(folder + u"/table.csv"_s, csv))
            return "<no table>";
        QProcess cli;
        cli.setWorkingDirectory(folder);
        QStringList arguments{u"table"_s, u"--write"_s};
        if (dryRun)
            arguments << u"--dry-run"_s;
        cli.start(QStringLiteral(QUILLMARK_CLI), arguments << u"table.csv"_s);
        if (!cli.waitForFinished(30000) || cli.exitCode() != 0)
            return "<failed: " + cli.readAllStandardError() + ">";
        return dryRun ? cli.readAllStandardOutput() : readFile(folder + u"/"_s + page);
    }

private slots:
    void initTestCase()
    {
        // Settings go to a configuration folder of the test's own.
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("HOME", QFile::encodeName(m_home->path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home->filePath(u"config"_s)));
    }
    void init()
    {
        m_site = std::make_unique<QTemporaryDir>();
        const QDir corpus(QStringLiteral(PAGES_CORPUS));
        for (const QString &page : corpus.entryList({u"site_*.html"_s}, QDir::Files))
            QVERIFY(QFile::copy(corpus.filePath(page), sitePath(page)));
        m_window = std::make_unique<SiteWindow>(m_prompts);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        openSite(*m_window, m_site->path());
    }
    void cleanup()
    {
        // Nothing left to ask on the way out.
        model().setPages({}, {});
        m_window.reset();
        QCOMPARE(m_prompts.pendingAnswers(), 0);
        m_prompts.reset();
        m_site.reset();
    }

    void opensEveryPageOfTheFolder();
    void widthAgainstLimit_data();
    void widthAgainstLimit();
    void editUndoRedo();
    void replaceAcrossSelectedRows_data();
    void replaceAcrossSelectedRows();
    void cancelledReadingKeepsTheTable();
    void reviewAndWriteAsTheCompanion_data();
    void reviewAndWriteAsTheCompanion();
    void closeQuestion_data();
    void closeQuestion();
    void changedOnDisk_data();
    void changedOnDisk();
    void pageThatCannotBeWritten();
    void writeEndsAnOpenEdit();
    void searchAndFindingsFilter();
    void keptBetweenRuns();
};

void TestSiteWindow::opensEveryPageOfTheFolder()
{
    QStringList shown;
    for (int row = 0; row < model().rowCount(); ++row)
        shown << model().page(row).path;
    QCOMPARE(shown, sitePages(m_site->path()));
    QCOMPARE(model().columnCount(), int(SiteColumnCount));
    QVERIFY(!window().isWindowModified());
}

void TestSiteWindow::widthAgainstLimit_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text"); // typed over the page's own; empty keeps it
    QTest::addColumn<bool>("pastLimit");

    QTest::newRow("a long title") << u"site_hidden.html"_s << u"title"_s << QString() << true;
    QTest::newRow("a short title")
        << u"site_style_block.html"_s << u"title"_s << QString() << false;
    QTest::newRow("a title typed too long")
        << u"site_style_block.html"_s << u"title"_s
        << u"Garden tools, seeds and everything a weekend gardener might need in spring"_s << true;
    // Line breaks count as a browser shows them: one blank.
    QTest::newRow("a description of many line breaks")
        << u"site_style_block.html"_s << u"description"_s
        << u"Roses"_s + QString(80, u'\n') + u"tulips"_s << false;
    QTest::newRow("a description typed too long")
        << u"site_style_block.html"_s << u"description"_s << QString(200, u'W') << true;
}

void TestSiteWindow::widthAgainstLimit()
{
    QFETCH(QString, page);
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(bool, pastLimit);
    if (!text.isEmpty())
        editCell(page, columnOf(column), text);
    const QModelIndex cell = model().index(rowOf(page), int(columnOf(column)));
    QCOMPARE(cell.data(SiteModel::PastLimitRole).toBool(), pastLimit);
    // "512 / 600 px": the measure, the rule's limit.
    const QStringList parts = cell.data(SiteModel::WidthTextRole).toString().split(u' ');
    QCOMPARE(parts.size(), 4);
    QCOMPARE(parts[0].toDouble() > parts[2].toDouble(), pastLimit);
    // The checks say so too, on the same cell.
    QCOMPARE(cell.data(Qt::ToolTipRole).toString().contains(u"-too-long"_s), pastLimit);
}

void TestSiteWindow::editUndoRedo()
{
    const QString page = u"site_style_block.html"_s;
    const QString before = cellText(page, SiteColumn::Title);
    editCell(page, SiteColumn::Title, u"Roses and tulips"_s);
    QCOMPARE(cellText(page, SiteColumn::Title), u"Roses and tulips"_s);
    QVERIFY(
        model().index(rowOf(page), int(SiteColumn::Title)).data(SiteModel::PendingRole).toBool());
    QVERIFY(window().isWindowModified());

    press(QKeySequence(u"Ctrl+Z"_s));
    QCOMPARE(cellText(page, SiteColumn::Title), before);
    QVERIFY(!window().isWindowModified());
    press(QKeySequence(u"Ctrl+Shift+Z"_s));
    QCOMPARE(cellText(page, SiteColumn::Title), u"Roses and tulips"_s);
    QCOMPARE(model().pendingPages(), 1);
    // The description's editor takes several lines.
    editCell(page, SiteColumn::Description, u"Roses"_s);
    QCOMPARE(model().pendingPages(), 1);
    window().actions().undo->trigger();
    window().actions().undo->trigger();
    QCOMPARE(model().pendingPages(), 0);
}

void TestSiteWindow::replaceAcrossSelectedRows_data()
{
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("with");
    QTest::addColumn<QStringList>("titles"); // of the two selected pages, after
    QTest::addColumn<int>("changed");
    QTest::addColumn<bool>("duplicates");

    QTest::newRow("nothing to find: the whole text")
        << QString() << u"Same for all"_s << QStringList{u"Same for all"_s, u"Same for all"_s} << 2
        << true;
    QTest::newRow("a letter, where it stands")
        << u"i"_s << u"1"_s << QStringList{u"M1n1f1ed"_s, u"Garden"_s} << 1 << false;
}

void TestSiteWindow::replaceAcrossSelectedRows()
{
    QFETCH(QString, find);
    QFETCH(QString, with);
    QFETCH(QStringList, titles);
    QFETCH(int, changed);
    QFETCH(bool, duplicates);
    const QStringList pages{u"site_one_line.html"_s, u"site_style_block.html"_s};
    QStringList before;
    QTableView *table = window().table();
    table->setFocus();
    table->clearSelection();
    for (const QString &page : pages) {
        before << cellText(page, SiteColumn::Title);
        table->selectionModel()->select(viewIndex(page, SiteColumn::Title),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    table->selectionModel()->setCurrentIndex(viewIndex(pages[0], SiteColumn::Title),
                                             QItemSelectionModel::NoUpdate);
    const QString unselected = u"site_hidden.html"_s;
    const QString untouched = cellText(unselected, SiteColumn::Title);

    press(QKeySequence(u"Ctrl+H"_s));
    auto *findField = window().findChild<QLineEdit *>(u"replaceFind"_s);
    QCOMPARE(QApplication::focusWidget(), findField);
    QTest::keyClicks(findField, find);
    QTest::keyClick(findField, Qt::Key_Tab);
    auto *withField = window().findChild<QLineEdit *>(u"replaceWith"_s);
    QCOMPARE(QApplication::focusWidget(), withField);
    QTest::keyClicks(withField, with);
    QTest::keyClick(withField, Qt::Key_Return);
    for (qsizetype i = 0; i < pages.size(); ++i)
        QCOMPARE(cellText(pages[i], SiteColumn::Title), titles[i]);
    QCOMPARE(cellText(unselected, SiteColumn::Title), untouched);
    QCOMPARE(model().pendingPages(), changed);
    // The checks across pages see the new values at once.
    QCOMPARE(model()
                 .index(rowOf(pages[0]), int(SiteColumn::Title))
                 .data(Qt::ToolTipRole)
                 .toString()
                 .contains(u"title-duplicate"_s),
             duplicates);
    // One step undoes them all.
    window().actions().undo->trigger();
    for (qsizetype i = 0; i < pages.size(); ++i)
        QCOMPARE(cellText(pages[i], SiteColumn::Title), before[i]);
    QCOMPARE(model().pendingPages(), 0);
}

void TestSiteWindow::reviewAndWriteAsTheCompanion_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");

    QTest::newRow("a title") << u"site_quoting_crlf.html"_s << u"title"_s
                             << u"Caf\u00e9 \"Chez nous\" & co"_s;
    QTest::newRow("a tag the page lacks")
        << u"site_style_block.html"_s << u"og:title"_s << u"Garden"_s;
    QTest::newRow("a tag emptied") << u"site_quoting_crlf.html"_s << u"keywords"_s << QString();
    QTest::newRow("in a page of another set")
        << u"site_windows1252.html"_s << u"description"_s << u"\u00dcber M\u00fcnchen"_s;
}

void TestSiteWindow::reviewAndWriteAsTheCompanion()
{
    QFETCH(QString, page);
    QFETCH(QString, column);
    QFETCH(QString, value);
    QTemporaryDir reference;
    QVERIFY(QFile::copy(sitePath(page), reference.filePath(page)));
    const QByteArray diff = companion(reference.path(), page, columnOf(column), value, true);
    QVERIFY(diff.startsWith("--- a/"));

    editCell(page, columnOf(column), value);
    press(QKeySequence(u"Ctrl+D"_s));
    auto *review = window().findChild<QPlainTextEdit *>(u"reviewText"_s);
    QVERIFY(review && review->isVisible());
    // The dialog shows the change in the page's own letters, whatever its set; the bytes
    // behind it are the companion's.
    QVERIFY(review->toPlainText().startsWith(u"--- a/"_s + page));
    QVERIFY(review->toPlainText().contains(value.section(u' ', 0, 0)));
    QStringList notes;
    QCOMPARE(window().pendingDiff(&notes), diff);
    QCOMPARE(notes, QStringList());
    review->window()->close();

    window().table()->setFocus();
    press(QKeySequence::Save);
    QCOMPARE(readFile(sitePath(page)),
             companion(reference.path(), page, columnOf(column), value, false));
    // Written pages are read again: nothing is left to write.
    QCOMPARE(model().pendingPages(), 0);
    QVERIFY(!window().isWindowModified());
}

void TestSiteWindow::closeQuestion_data()
{
    QTest::addColumn<QString>("answer"); // the button's caption
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("written");

    QTest::newRow("write") << u"Write"_s << true << true;
    QTest::newRow("discard") << u"Discard"_s << true << false;
    QTest::newRow("cancel") << u"Cancel"_s << false << false;
}

void TestSiteWindow::closeQuestion()
{
    QFETCH(QString, answer);
    QFETCH(bool, closed);
    QFETCH(bool, written);
    const QString page = u"site_one_line.html"_s;
    const QByteArray before = readFile(sitePath(page));
    editCell(page, SiteColumn::Title, u"Minified, then written"_s);

    m_prompts.answerRun(answer);
    QCOMPARE(window().close(), closed);
    QCOMPARE(m_prompts.ranBoxes().constLast().text, u"Write the changes to 1 page?"_s);
    QCOMPARE(readFile(sitePath(page)) != before, written);
    QCOMPARE(model().pendingPages(), written ? 0 : 1);
}

void TestSiteWindow::changedOnDisk_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("editWins");

    QTest::newRow("the edit wins") << QMessageBox::Yes << true;
    QTest::newRow("the disk wins") << QMessageBox::No << false;
}

void TestSiteWindow::changedOnDisk()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, editWins);
    const QString page = u"site_style_block.html"_s;
    editCell(page, SiteColumn::Title, u"Edited in the window"_s);
    // Meanwhile another program gives the page a description.
    QByteArray changed = readFile(sitePath(page));
    const qsizetype head = changed.indexOf("</head>");
    QVERIFY(head > 0);
    changed.insert(head, "<meta name=\"description\" content=\"Written elsewhere\">\n");
    QVERIFY(writeFile(sitePath(page), changed));

    m_prompts.answerBox(answer);
    press(QKeySequence::Save);
    QCOMPARE(m_prompts.boxes().size(), 1);
    QVERIFY(m_prompts.boxes().constFirst().text.contains(page));
    // The other program's change stays either way; the title is the window's only when
    // the user says so.
    const QByteArray now = readFile(sitePath(page));
    QVERIFY(now.contains("Written elsewhere"));
    QCOMPARE(now.contains("Edited in the window"), editWins);
    QCOMPARE(cellText(page, SiteColumn::Description), u"Written elsewhere"_s);
    QCOMPARE(model().pendingPages(), 0);
    QVERIFY(!model().page(rowOf(page)).changedOnDisk);
}

void TestSiteWindow::pageThatCannotBeWritten()
{
    const QString page = u"site_one_line.html"_s;
    const QByteArray before = readFile(sitePath(page));
    QVERIFY(::chmod(QFile::encodeName(sitePath(page)).constData(), 0444) == 0);
    editCell(page, SiteColumn::Title, u"Cannot be written"_s);
    editCell(u"site_style_block.html"_s, SiteColumn::Title, u"Can be written"_s);
    m_prompts.answerBox(QMessageBox::Ok);
    press(QKeySequence::Save);
    QCOMPARE(m_prompts.boxes().size(), 1);
    const QString text = m_prompts.boxes().constFirst().text;
    QVERIFY2(text.contains(page) && !text.contains(u"site_style_block"_s), qPrintable(text));
    QCOMPARE(readFile(sitePath(page)), before);
    // Its edit is still to be written; the other page's is done.
    QCOMPARE(model().pendingRows(), QList<int>{rowOf(page)});
    QCOMPARE(cellText(page, SiteColumn::Title), u"Cannot be written"_s);
}

void TestSiteWindow::writeEndsAnOpenEdit()
{
    const QString page = u"site_one_line.html"_s;
    QTableView *table = window().table();
    table->setFocus();
    table->setCurrentIndex(viewIndex(page, SiteColumn::Title));
    QTest::keyClick(table, Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QTest::keyClicks(QApplication::focusWidget(), u" and typed"_s);
    press(QKeySequence::Save);
    QVERIFY(readFile(sitePath(page)).contains("Minified and typed"));
    QCOMPARE(model().pendingPages(), 0);
}

void TestSiteWindow::searchAndFindingsFilter()
{
    QAbstractItemModel *shown = window().table()->model();
    press(QKeySequence::Find);
    QTest::keyClicks(QApplication::focusWidget(), u"stadtf"_s);
    QCOMPARE(shown->rowCount(), 1);
    QCOMPARE(shown->index(0, 0).data().toString(), u"site_windows1252.html"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QCOMPARE(shown->rowCount(), model().rowCount());

    // A page with nothing to find beside one with findings.
    QVERIFY(writeFile(sitePath(u"site_clean.html"_s),
                      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<title>Wooden toys from a small workshop</title>\n"
                      "<meta name=\"description\" content=\"Hand-made wooden toys from a small "
                      "workshop in the hills, painted with colours safe for children.\">\n"
                      "<link rel=\"canonical\" href=\"https://toys.example/\">\n"
                      "</head>\n<body></body>\n</html>\n"));
    openSite(window(), m_site->path());
    window().actions().onlyFindings->trigger();
    QStringList withFindings;
    for (int row = 0; row < shown->rowCount(); ++row)
        withFindings << shown->index(row, 0).data().toString();
    QVERIFY2(!withFindings.contains(u"site_clean.html"_s), qPrintable(withFindings.join(u' ')));
    QCOMPARE(withFindings.size(), model().rowCount() - 1);
    window().actions().onlyFindings->trigger();
    QCOMPARE(shown->rowCount(), model().rowCount());
}

void TestSiteWindow::cancelledReadingKeepsTheTable()
{
    QTemporaryDir other;
    QVERIFY(writeFile(other.filePath(u"only.html"_s), "<title>Only</title>"));
    const int rows = model().rowCount();
    QSignalSpy loaded(&window(), &SiteWindow::loadFinished);
    m_prompts.answerFolder(other.path());
    window().actions().openFolder->trigger();
    auto *progress = window().findChild<QProgressDialog *>(u"loadProgress"_s);
    QVERIFY(progress);
    QPushButton *cancel = progress->findChild<QPushButton *>();
    QVERIFY(cancel);
    cancel->click();
    QVERIFY(loaded.wait(10000));
    QCOMPARE(model().rowCount(), rows);
    QCOMPARE(model().folder(), m_site->path());
}

void TestSiteWindow::keptBetweenRuns()
{
    const SiteColumn hidden = SiteColumn::Keywords;
    auto *column = window().findChild<QAction *>(u"column:"_s + key(hidden));
    column->trigger();
    QVERIFY(window().table()->isColumnHidden(int(hidden)));
    QVERIFY(window().close());
    SiteWindow again(m_prompts);
    QVERIFY(again.table()->isColumnHidden(int(hidden)));
    QVERIFY(!again.table()->isColumnHidden(int(SiteColumn::Title)));
    QVERIFY(!again.findChild<QAction *>(u"column:"_s + key(hidden))->isChecked());
    // The site opened last is the first of the recent folders, and opens from there.
    const QList<QAction *> recent = again.findChild<QMenu *>(u"recentFolders"_s)->actions();
    QVERIFY(!recent.isEmpty());
    QVERIFY(recent.constFirst()->text().endsWith(QDir::toNativeSeparators(m_site->path())));
    again.show();
    QSignalSpy loaded(&again, &SiteWindow::loadFinished);
    recent.constFirst()->trigger();
    QVERIFY(loaded.wait(10000));
    QCOMPARE(again.model().rowCount(), model().rowCount());
    column = again.findChild<QAction *>(u"column:"_s + key(hidden));
    column->trigger();
    QVERIFY(again.close());
}

QTEST_MAIN(TestSiteWindow)
#include "tst_site_window.moc"
