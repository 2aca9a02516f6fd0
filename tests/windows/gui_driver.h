#pragma once

// Driving the program's windows as their user does, for every GUI test: a test
// class derives from GuiTest, whose init() prepares a start folder of its own and runs
// the program's start-up there with scripted prompts and draws and a recording shell,
// and whose cleanup() fails the test if a scripted answer was never asked for, then
// takes the windows down. The helpers click, type, choose and press on shown windows and
// read the status panels and the document back.

#include "recording_printer.h"
#include "recording_shell.h"
#include "scripted_prompts.h"
#include "scripted_random.h"

#include "app/application.h"
#include "document/field_catalogue.h"
#include "document/tag_document.h"
#include "files/prefs_record.h"
#include "windows/about_box.h"
#include "windows/field_edit.h"
#include "windows/look.h"
#include "windows/main_window.h"
#include "windows/preferences_dialog.h"
#include "windows/seams.h"
#include "windows/startup_tip.h"
#include "windows/tools_window.h"
#include "windows/update_reminder.h"
#include "windows/wizard.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>
#include <optional>

class GuiTest : public QObject
{
    Q_OBJECT

protected:
    quill::Application &app() const { return *m_app; }
    TForm1 &form() const { return m_app->mainWindow(); }
    TForm2 &preferences() const { return m_app->preferences(); }
    TAboutBox &aboutBox() const { return m_app->aboutBox(); }
    TForm4 &tools() const { return m_app->tools(); }
    TForm5 &startupTip() const { return m_app->startupTip(); }
    TForm6 &updateReminder() const { return m_app->updateReminder(); }
    TForm7 &wizard() const { return m_app->wizard(); }
    // The folder the program was started in, as the program writes it.
    QString startFolder() const { return m_startFolder; }

    // Called before the program starts: the place to prepare its start folder (the
    // current folder) with the files it reads at start-up, and to script the draws. The
    // folder holds a prefs.cfg that asks for no guidance and seventeen one-line tips,
    // "Tip 1." to "Tip 17.".
    virtual void beforeStart() {}

    // The preferences file with the given flags and mode, and zeros elsewhere.
    static QByteArray prefsFile(bool tips, bool updates, bool metaOnly = false, bool wizard = false)
    {
        quill::TPrefsRecord record;
        quill::storePreferences(record, {tips, updates, metaOnly, wizard});
        return QByteArray(reinterpret_cast<const char *>(record.bytes.data()), record.Size);
    }

    static void writeStartFile(const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(name).path());
        QFile file(name);
        QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
                 qPrintable(name));
    }

    // The control of a catalogue field in its window.
    QWidget *fieldControl(const quill::FieldDef &def) const
    {
        QWidget *window = def.owner == quill::Owner::Preferences
                              ? static_cast<QWidget *>(&preferences())
                              : static_cast<QWidget *>(&form());
        return window->findChild<QWidget *>(QString::fromLatin1(def.control));
    }

    // A command of the main window by its name ("cool1", "EditCut1").
    QAction *action(const QString &name) const { return form().findChild<QAction *>(name); }

    // A menu of the menu bar by its captions, "&Help/On The Web".
    static QMenu *menuByPath(const QMenuBar *bar, const QString &path)
    {
        QList<QAction *> actions = bar->actions();
        QMenu *menu = nullptr;
        for (const QString &caption : path.split(QLatin1Char('/'))) {
            const auto it = std::find_if(actions.begin(), actions.end(), [&caption](QAction *a) {
                return a->menu() && a->text() == caption;
            });
            if (it == actions.end())
                return nullptr;
            menu = (*it)->menu();
            actions = menu->actions();
        }
        return menu;
    }

    void activate(QWidget *window)
    {
        window->activateWindow();
        // A window counts as active while a window it owns has the focus: wait until it
        // has the focus itself.
        QTRY_COMPARE(QApplication::activeWindow(), window);
    }

    // File > Preferences, as the user opens it; nothing when it is open.
    void showPreferences()
    {
        if (preferences().isVisible())
            return;
        QAction *item = action(QStringLiteral("Preferences1"));
        QVERIFY(item);
        item->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(&preferences()));
    }

    // Hides the dialog and brings the main window back to the front.
    void leavePreferences()
    {
        preferences().hide();
        activate(&form());
    }

    // Brings `widget` into view: its window (the Preferences dialog through its menu
    // item) and, with a click on each tab, the pages that hold it.
    void showPageOf(QWidget *widget)
    {
        if (widget->window() == &preferences())
            showPreferences();
        QVERIFY2(widget->window()->isVisible(), qPrintable(widget->window()->objectName()));
        // A page of a tab widget stands in the tab widget's stack.
        for (QWidget *w = widget; w; w = w->parentWidget()) {
            QWidget *stack = w->parentWidget();
            auto *tabs = qobject_cast<QTabWidget *>(stack ? stack->parentWidget() : nullptr);
            const int index = tabs ? tabs->indexOf(w) : -1;
            if (index < 0)
                continue;
            showPageOf(tabs);
            if (tabs->currentIndex() != index) {
                QTabBar *bar = tabs->tabBar();
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
            }
            QCOMPARE(tabs->currentIndex(), index);
            return;
        }
    }

    // Clicks into the field, selects what it holds and types `text` over it.
    void typeInto(QWidget *edit, const QString &text)
    {
        showPageOf(edit);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            typeText(edit, text);
    }

    // Key presses that type `text`, a character each, as a keyboard of any script gives
    // them: QTest knows keys for ASCII only.
    static void typeText(QWidget *widget, const QString &text)
    {
        for (const char32_t c : text.toUcs4()) {
            if (c < 0x80)
                QTest::keyClick(widget, char(c));
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                                    Qt::NoModifier);
        }
    }

    // Opens the list with a click and walks to the item with the arrow keys.
    void chooseItem(QComboBox *combo, int index)
    {
        showPageOf(combo);
        QTest::mouseClick(combo, Qt::LeftButton);
        QAbstractItemView *view = combo->view();
        QVERIFY(view->isVisible());
        for (int step = 0; step <= combo->count() && view->currentIndex().row() != index; ++step)
            QTest::keyClick(view, view->currentIndex().row() < index ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(view->currentIndex().row(), index);
        QTest::keyClick(view, Qt::Key_Return);
        QVERIFY(!view->isVisible());
    }

    // Opens the list with a click and clicks the item.
    void chooseItemByMouse(QComboBox *combo, int index)
    {
        showPageOf(combo);
        QTest::mouseClick(combo, Qt::LeftButton);
        QAbstractItemView *view = combo->view();
        QVERIFY(view->isVisible());
        // A release right after the click that opened the list is taken as part of it.
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        const QModelIndex item = view->model()->index(index, combo->modelColumn());
        view->scrollTo(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
        QVERIFY(!view->isVisible());
    }

    // A click on the round or square box of a radio button or check box, which is
    // where the user aims; its wide caption area is not all clickable.
    void clickIndicator(QAbstractButton *button)
    {
        showPageOf(button);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    // A key press where the user's focus is, as the keyboard delivers it.
    void press(QKeyCombination key)
    {
        QWidget *target = QApplication::focusWidget();
        if (!target)
            target = QApplication::activeWindow() ? QApplication::activeWindow() : &form();
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

    // A right click on `target` (default: where the focus is), as the platform
    // delivers it; the menu that opened, or nullptr.
    QMenu *openContextMenu(QWidget *target = nullptr)
    {
        if (!target)
            target = QApplication::focusWidget() ? QApplication::focusWidget() : &form();
        const QPoint pos(2, 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, target->mapToGlobal(pos));
        QApplication::sendEvent(target, &event);
        return qobject_cast<QMenu *>(QApplication::activePopupWidget());
    }

    // The main window's status panels from left to right, and the mark in the first.
    QList<QLabel *> statusPanels() const
    {
        QList<QLabel *> panels = form().StatusBar1->findChildren<QLabel *>();
        std::sort(panels.begin(), panels.end(),
                  [](QLabel *a, QLabel *b) { return a->x() < b->x(); });
        return panels;
    }

    QString mark() const
    {
        const QList<QLabel *> panels = statusPanels();
        return panels.isEmpty() ? QStringLiteral("<no panel>") : panels.constFirst()->text();
    }

    static QStringList lines(const QPlainTextEdit *memo)
    {
        return memo->toPlainText().split(QLatin1Char('\n'));
    }

    // Compares every field of the document the windows hold, and the mode.
    void verifyDocument(const quill::TagDocument &expected)
    {
        const auto fields = [](const quill::TagDocument &doc) {
            QStringList out{QStringLiteral("mode %1").arg(int(doc.mode()))};
            for (const quill::FieldDef &def : quill::fieldCatalogue())
                out << QStringLiteral("%1 \"%2\" item %3 checked %4")
                           .arg(QString::fromLatin1(def.key), doc.text(def.id))
                           .arg(doc.index(def.id))
                           .arg(doc.isChecked(def.id));
            return out;
        };
        QCOMPARE(fields(form().document()), fields(expected));
    }

    // The seams the program runs with: answers are scripted ahead of an action, and
    // the boxes shown and the targets opened are read back after it.
    ScriptedPrompts m_prompts;
    RecordingShell m_shell;
    RecordingPrinter m_printer;
    ScriptedRandom m_random;
    // What the About box is told about the machine; none: the machine's own. Set it in
    // beforeStart().
    const quill::SysInfoPlatform *m_sysInfo = nullptr;

private slots:
    void initTestCase()
    {
        quill::applyProgramLook(*qApp);
        m_testFolder = QDir::currentPath();
    }

    void init()
    {
        m_prompts.reset();
        m_shell.targets.clear();
        m_printer = {};
        m_random.reset();
        m_startDir.emplace();
        QVERIFY(m_startDir->isValid());
        QVERIFY(QDir::setCurrent(m_startDir->path()));
        writeStartFile(QStringLiteral("prefs.cfg"), prefsFile(false, false));
        for (int n = 1; n <= 17; ++n)
            writeStartFile(QStringLiteral("tips/%1.txt").arg(n),
                           "Tip " + QByteArray::number(n) + ".\r\n");
        for (int n = 1; n <= 5; ++n)
            writeStartFile(QStringLiteral("wizard/%1.txt").arg(n),
                           "Wizard step " + QByteArray::number(n) + ".\r\n");
        beforeStart();
        if (QTest::currentTestFailed())
            return;
        m_startFolder = QDir::toNativeSeparators(QDir::currentPath());
        m_app = quill::Application::start({m_prompts, m_shell, m_printer, m_random, m_sysInfo});
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
        activate(&form());
    }

    void cleanup()
    {
        const qsizetype answers = m_prompts.pendingAnswers();
        const qsizetype draws = m_random.pendingDraws();
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        // Destroyed while shown and holding the focus, as the program does at exit.
        m_app.reset();
        QDir::setCurrent(m_testFolder);
        m_startDir.reset();
        QVERIFY2(answers == 0, "A scripted box was never shown");
        QVERIFY2(draws == 0, "A scripted draw was never made");
    }

private:
    std::unique_ptr<quill::Application> m_app;
    QString m_testFolder;
    QString m_startFolder;
    std::optional<QTemporaryDir> m_startDir;
};
