// The main window's menus: the menu bar and the context menu item by item, what
// each command does when it runs, and the edit actions on the focused control.

#include "gui_driver.h"

#include "common/expected_values.h"
#include "components/xp_menu.h"
#include "components/xp_menu_painter.h"
#include "document/meta_generator.h"

using namespace Qt::StringLiterals;

namespace {

QString text(const char *s)
{
    return QString::fromLatin1(s);
}

// One item as a line of text, so a whole menu compares at once.
QString describe(const QString &name, const QString &caption, const QKeySequence &shortcut,
                 bool picture, bool submenu)
{
    return u"%1 \"%2\" %3%4%5"_s.arg(name, caption, shortcut.toString(QKeySequence::PortableText),
                                     picture ? u" picture"_s : QString(),
                                     submenu ? u" submenu"_s : QString());
}

QString describe(const QAction *a)
{
    return a->isSeparator() ? a->objectName()
                            : describe(a->objectName(), a->text(), a->shortcut(),
                                       !a->icon().isNull(), a->menu() != nullptr);
}

// What a command does, as the effect table below names it.
enum class Effect {
    Nothing,     // nothing that shows: no field, page, mark, code, box or window changes
    ShowsPage,   // the page `argument`
    Generates,   // the code page filled
    Resets,      // every field back to start-up, the mark "Saved"
    Asks,        // the question before clearing a modified document
    Preferences, // the Preferences dialog shown
    Dialog,      // the file dialog titled `argument` (cancelled)
    Refuses,     // the box that asks for code before an export
    Prints,      // the code page sent to the printer
    Copies,      // the code page put on the clipboard
    Tools,       // the Tools window asked for on page `argument`
    About,
    Wizard,
    Opens, // the shell opens `argument`: a path under the start folder, or "web"/"mail"
};

// Counts the times a window is shown.
struct ShowCounter : QObject {
    int shows = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        shows += event->type() == QEvent::Show;
        return false;
    }
};

} // namespace

class TestMainWindowMenus : public GuiTest
{
    Q_OBJECT

private slots:
    // The whole menu bar, menu by menu and item by item in order.
    void menuBar()
    {
        QStringList actual;
        const std::function<void(const QString &, QMenu *)> walk = [&](const QString &path,
                                                                       QMenu *menu) {
            for (QAction *a : menu->actions()) {
                actual << path + u' ' + describe(a);
                if (a->menu())
                    walk(path + u'/' + a->text(), a->menu());
            }
        };
        for (QAction *a : form().menuBar()->actions()) {
            actual << a->text();
            walk(a->text(), a->menu());
        }
        QStringList wanted;
        for (const expected::MenuItem &item : expected::menuItems) {
            const QString menu = text(item.menu);
            if (!menu.contains(u'/') && !wanted.contains(menu))
                wanted << menu;
            // Every command shows a picture; separators and submenu headers show none.
            const bool submenu = expected::isSubmenu(item);
            wanted << menu + u' ' +
                          (item.caption ? describe(text(item.name), text(item.caption),
                                                   QKeySequence::fromString(text(item.shortcut)),
                                                   !submenu, submenu)
                                        : text(item.name));
        }
        QCOMPARE(actual, wanted);
    }

    void contextMenu()
    {
        const auto isEditAction = [](const QString &name) { return name.startsWith("Edit"_L1); };
        const QList<QAction *> actions = form().PopupMenu1->actions();
        QStringList actual;
        for (QAction *a : actions) {
            actual << describe(a);
            if (isEditAction(a->objectName()))
                actual.last() += u' ' + a->toolTip() + u'|' + a->statusTip();
        }
        QStringList wanted;
        for (const expected::ContextItem &item : expected::contextItems) {
            wanted << (item.caption ? describe(text(item.action), text(item.caption),
                                               QKeySequence::fromString(text(item.shortcut)),
                                               item.picture, false)
                                    : text(item.name));
            if (isEditAction(text(item.action)))
                wanted.last() += u' ' + text(item.hint);
        }
        QCOMPARE(actual, wanted);

        // One command, one action: the items the menu bar also offers are its actions.
        for (qsizetype i = 0; i < actions.size(); ++i) {
            for (const expected::MenuItem &command : expected::menuItems) {
                if (text(command.name) == text(expected::contextItems[i].action))
                    QVERIFY(menuByPath(form().menuBar(), text(command.menu))
                                ->actions()
                                .contains(actions[i]));
            }
        }
    }

    // Every menu exactly as wide as its widest item measures, with the room for a check
    // mark that the look gives each item; whichever item has the widest shortcut.
    void menuWidths_data()
    {
        QTest::addColumn<QString>("menu");
        for (const char *name : {"File1", "Export1Menu", "Code1", "View1", "Tools1", "Help1",
                                 "OnTheWeb1Menu", "PopupMenu1"})
            QTest::newRow(name) << text(name);
    }

    void menuWidths()
    {
        QFETCH(QString, menu);
        auto *shown = form().findChild<QMenu *>(menu);
        QVERIFY(shown);
        const quill::XPMenuTextMetrics metrics =
            quill::textMetrics(quill::paintFont(form().XPMenu1->settings()));
        int widest = 0;
        for (const QAction *a : shown->actions()) {
            quill::XPMenuItem item;
            item.caption = a->text();
            item.shortcut = a->shortcut().toString(QKeySequence::NativeText);
            item.separator = a->isSeparator();
            widest = std::max(widest, quill::measureItem(item, metrics, 24).width());
        }
        const int checkMarkRoom = 12;
        shown->popup(form().mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        for (const QAction *a : shown->actions())
            QCOMPARE(shown->actionGeometry(const_cast<QAction *>(a)).width(),
                     widest + checkMarkRoom);
        shown->close();
    }

    void commandEffects_data()
    {
        QTest::addColumn<QString>("item");     // a command, or a button
        QTest::addColumn<QKeySequence>("key"); // pressed in a field; empty: triggered
        QTest::addColumn<int>("effect");
        QTest::addColumn<QVariant>("argument");

        const QMap<QString, std::pair<Effect, QVariant>> effects = {
            {u"New1"_s, {Effect::Asks, {}}},
            {u"Preferences1"_s, {Effect::Preferences, {}}},
            {u"cool1"_s, {Effect::Generates, {}}},
            {u"ClearAllFields1"_s, {Effect::Resets, {}}},
            {u"Beginner1"_s, {Effect::ShowsPage, 0}},
            {u"Advanced1"_s, {Effect::ShowsPage, 1}},
            {u"ExtraTags1"_s, {Effect::ShowsPage, 2}},
            {u"DCTags1"_s, {Effect::ShowsPage, 3}},
            {u"HTMLTags1"_s, {Effect::ShowsPage, 4}},
            {u"AddSitetoGoogle1"_s, {Effect::Tools, 0}},
            {u"CheckSiteRankings1"_s, {Effect::Tools, 0}},
            {u"HTMLJS1"_s, {Effect::Tools, 1}},
            {u"Help2"_s, {Effect::Opens, u"help/index.html"_s}},
            {u"Readme1"_s, {Effect::Opens, u"readme.txt"_s}},
            {u"BeginnerWizard1"_s, {Effect::Wizard, {}}},
            {u"SitePromotion1"_s, {Effect::Opens, u"sitepromo.hlp"_s}},
            {u"Website1"_s, {Effect::Opens, u"web"_s}},
            {u"CheckforUpdate1"_s, {Effect::Opens, u"web"_s}},
            {u"Support1"_s, {Effect::Opens, u"mail"_s}},
            {u"SupportForum1"_s, {Effect::Opens, u"web"_s}},
            {u"About1"_s, {Effect::About, {}}},
            {u"Open1"_s, {Effect::Dialog, QString()}},
            {u"save2"_s, {Effect::Dialog, u"Save"_s}},
            {u"Import1"_s, {Effect::Dialog, u"Import"_s}},
            {u"AsHTML1"_s, {Effect::Refuses, {}}},
            {u"AsText1"_s, {Effect::Refuses, {}}},
            {u"Print1"_s, {Effect::Prints, {}}},
            {u"CopyToClipboard1"_s, {Effect::Copies, {}}},
            // Exit leaves the event loop, which a test does not run: nothing shows.
        };
        // Every command of the menu bar has a row, run by its shortcut from a field where
        // it has one; a command missing from the table must do nothing.
        for (const expected::MenuItem &item : expected::menuItems) {
            if (!item.caption || expected::isSubmenu(item))
                continue;
            const auto [effect, argument] = effects.value(text(item.name));
            QTest::newRow(item.name)
                << text(item.name) << QKeySequence::fromString(text(item.shortcut)) << int(effect)
                << argument;
        }
        // The context menu's own command shows F3 but leaves the key to the menu bar's.
        QTest::newRow("CopyCodetoClipboard1")
            << u"CopyCodetoClipboard1"_s << QKeySequence() << int(Effect::Copies) << QVariant();
        QTest::newRow("Button19") << u"Button19"_s << QKeySequence() << int(Effect::Opens)
                                  << QVariant(u"help/context1.html"_s);
    }

    void commandEffects()
    {
        QFETCH(QString, item);
        QFETCH(QKeySequence, key);
        QFETCH(int, effect);
        QFETCH(QVariant, argument);

        // A modified document with the focus in a field, on another page than a row shows.
        const bool advanced = Effect(effect) == Effect::ShowsPage && argument.toInt() == 1;
        typeInto(advanced ? form().Edit16 : form().Edit8, u"x"_s);
        // Saved, as Save would leave it, so a command that sets the mark shows; New asks
        // only when the document is modified.
        if (Effect(effect) != Effect::Asks)
            form().setSaved();
        const QString markBefore = mark();
        auto *button = form().findChild<QPushButton *>(item);
        if (button)
            showPageOf(button);
        const quill::TagDocument before = form().document();
        const QString code = form().Memo1->toPlainText();
        const int page = form().PageControl1->currentIndex();
        QSignalSpy tools(&form(), &TForm1::toolsRequested);
        QSignalSpy about(&form(), &TForm1::aboutRequested);
        QSignalSpy wizard(&form(), &TForm1::wizardRequested);
        if (Effect(effect) == Effect::Asks)
            m_prompts.answerBox(QMessageBox::Cancel);
        if (Effect(effect) == Effect::Dialog && argument.toString() == u"Save"_s)
            m_prompts.answerSaveFile({});
        else if (Effect(effect) == Effect::Dialog)
            m_prompts.answerOpenFile({});
        if (Effect(effect) == Effect::Refuses)
            m_prompts.answerRun(u"OK"_s);
        QApplication::clipboard()->setText(u"before"_s);

        // The About box is modal: it is closed as soon as it shows.
        ShowCounter aboutShows;
        aboutBox().installEventFilter(&aboutShows);
        if (Effect(effect) == Effect::About)
            QTimer::singleShot(0, &aboutBox(), &QWidget::close);

        if (!key.isEmpty()) {
            press(key[0]);
        } else if (button) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            QAction *command = action(item);
            QVERIFY(command);
            command->trigger();
        }

        switch (Effect(effect)) {
        case Effect::Generates:
            QCOMPARE(lines(form().Memo1), quill::generateMetaCode(before));
            QCOMPARE(form().PageControl1->currentIndex(), 4);
            break;
        case Effect::Resets:
            verifyDocument(quill::TagDocument::startUp());
            QCOMPARE(mark(), u"Saved"_s);
            break;
        case Effect::Asks:
            QCOMPARE(m_prompts.boxes().size(), 1);
            QCOMPARE(m_prompts.boxes().constFirst().caption, u"Warning"_s);
            break;
        case Effect::ShowsPage:
            QCOMPARE(form().PageControl1->currentIndex(), argument.toInt());
            break;
        case Effect::Dialog:
            QCOMPARE(m_prompts.fileRequests().size(), 1);
            QCOMPARE(m_prompts.fileRequests().constFirst().title, argument.toString());
            break;
        case Effect::Refuses:
            QCOMPARE(m_prompts.ranBoxes().size(), 1);
            QCOMPARE(m_prompts.ranBoxes().constFirst().text,
                     u"Please generate your code before exporting."_s);
            break;
        case Effect::Prints:
            QCOMPARE(m_printer.texts, QStringList{code + u"\r\n"_s});
            break;
        case Effect::Copies:
            // The page is empty: the clipboard keeps what it held.
            QVERIFY(code.isEmpty());
            QCOMPARE(QApplication::clipboard()->text(), u"before"_s);
            break;
        case Effect::Wizard:
            QVERIFY(GuiTest::wizard().isVisible());
            break;
        case Effect::Tools:
            QCOMPARE(tools.size(), 1);
            QCOMPARE(tools.constFirst().constFirst().toInt(), argument.toInt());
            break;
        case Effect::Opens: {
            QCOMPARE(m_shell.targets.size(), 1);
            const QString target = m_shell.targets.constFirst();
            if (argument == u"web"_s || argument == u"mail"_s) {
                // One home page for the three web items; a mail address for support.
                action(u"Website1"_s)->trigger();
                QCOMPARE(m_shell.targets.size(), 2);
                const QString home = m_shell.targets.constLast();
                QVERIFY2(home.startsWith("http"_L1), qPrintable(home));
                if (argument == u"mail"_s)
                    QVERIFY2(target.startsWith("mailto:"_L1), qPrintable(target));
                else
                    QCOMPARE(target, home);
            } else {
                QCOMPARE(target, startFolder() + QDir::separator() +
                                     QDir::toNativeSeparators(argument.toString()));
            }
            break;
        }
        default:
            break;
        }

        // Nothing else happens.
        QCOMPARE(tools.size(), Effect(effect) == Effect::Tools ? 1 : 0);
        QCOMPARE(about.size(), Effect(effect) == Effect::About ? 1 : 0);
        QCOMPARE(wizard.size(), Effect(effect) == Effect::Wizard ? 1 : 0);
        QCOMPARE(aboutShows.shows, Effect(effect) == Effect::About ? 1 : 0);
        QCOMPARE(preferences().isVisible(), Effect(effect) == Effect::Preferences);
        QVERIFY(form().isVisible());
        if (Effect(effect) != Effect::Opens)
            QVERIFY(m_shell.targets.isEmpty());
        if (Effect(effect) != Effect::Asks)
            QVERIFY(m_prompts.boxes().isEmpty());
        if (Effect(effect) != Effect::Dialog)
            QVERIFY(m_prompts.fileRequests().isEmpty());
        if (Effect(effect) != Effect::Refuses)
            QVERIFY(m_prompts.ranBoxes().isEmpty());
        if (Effect(effect) != Effect::Prints)
            QVERIFY(m_printer.texts.isEmpty());
        if (Effect(effect) != Effect::Resets)
            verifyDocument(before);
        if (Effect(effect) != Effect::Generates) {
            QCOMPARE(form().Memo1->toPlainText(), code);
            QCOMPARE(mark(), markBefore);
        }
        if (Effect(effect) != Effect::Generates && Effect(effect) != Effect::ShowsPage)
            QCOMPARE(form().PageControl1->currentIndex(), page);
    }

    void contextMenuEverywhere_data()
    {
        QTest::addColumn<QString>("control");
        for (const char *name : {"Edit1", "Edit14", "ComboBox1", "Button11", "Panel2", "CheckBox2",
                                 "BitBtn7", "Memo1", "PageControl1"})
            QTest::newRow(name) << text(name);
    }

    // The window's context menu serves every control that has none of its own.
    void contextMenuEverywhere()
    {
        QFETCH(QString, control);
        QWidget *w = form().findChild<QWidget *>(control);
        QVERIFY(w);
        showPageOf(w);
        auto *memo = qobject_cast<QPlainTextEdit *>(w);
        QCOMPARE(openContextMenu(memo ? memo->viewport() : w), form().PopupMenu1);
        form().PopupMenu1->close();
    }

    void editActionsEnabled_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("selectLeft"); // Shift+Left presses after typing
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("enabled");

        QTest::newRow("empty field, text on the clipboard")
            << u"Edit1"_s << QString() << 0 << u"clip"_s << u"EditPaste1"_s;
        QTest::newRow("empty field, empty clipboard")
            << u"Edit1"_s << QString() << 0 << QString() << QString();
        QTest::newRow("typed text, no selection")
            << u"Edit1"_s << u"hello"_s << 0 << QString() << u"EditUndo1 EditSelectAll1"_s;
        QTest::newRow("selection") << u"Edit1"_s << u"hello"_s << 3 << u"clip"_s
                                   << u"EditUndo1 EditCut1 EditCopy1 EditPaste1 EditDelete1 "
                                      u"EditSelectAll1"_s;
        QTest::newRow("selection in the code page")
            << u"Memo1"_s << u"<meta>"_s << 2 << QString()
            << u"EditUndo1 EditCut1 EditCopy1 EditDelete1 EditSelectAll1"_s;
        QTest::newRow("list") << u"ComboBox1"_s << QString() << 0 << u"clip"_s << QString();
    }

    void editActionsEnabled()
    {
        QFETCH(QString, focus);
        QFETCH(QString, typed);
        QFETCH(int, selectLeft);
        QFETCH(QString, clipboard);
        QFETCH(QString, enabled);

        if (clipboard.isEmpty())
            QApplication::clipboard()->clear();
        else
            QApplication::clipboard()->setText(clipboard);
        QWidget *w = form().findChild<QWidget *>(focus);
        QVERIFY(w);
        showPageOf(w);
        if (auto *combo = qobject_cast<QComboBox *>(w)) {
            // A click would open the list; the user tabs into it.
            QTest::mouseClick(form().Edit7, Qt::LeftButton);
            for (int i = 0; i < 3 && QApplication::focusWidget() != combo; ++i)
                press(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), combo);
        } else if (auto *memo = qobject_cast<QPlainTextEdit *>(w)) {
            QTest::mouseClick(memo->viewport(), Qt::LeftButton);
        } else {
            QTest::mouseClick(w, Qt::LeftButton);
        }
        QTest::keyClicks(QApplication::focusWidget(), typed);
        for (int i = 0; i < selectLeft; ++i)
            press(Qt::SHIFT | Qt::Key_Left);

        QMenu *menu = openContextMenu();
        QStringList actual;
        for (const expected::ContextItem &item : expected::contextItems) {
            if (QLatin1StringView(item.action).startsWith("Edit"_L1) &&
                action(text(item.action))->isEnabled())
                actual << text(item.action);
        }
        form().PopupMenu1->close();
        QCOMPARE(actual.join(u' '), enabled);
        // A list opening no menu is a fault of its own, checked above.
        if (!qobject_cast<QComboBox *>(w))
            QCOMPARE(menu, form().PopupMenu1);
    }

    void editActionsAct_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("clipboard");

        // "hello world" is typed into Edit1 and "world" selected; the clipboard holds "clip".
        QTest::newRow("Undo") << u"EditUndo1"_s << QString() << QString() << u"clip"_s;
        QTest::newRow("Cut") << u"EditCut1"_s << u"hello "_s << QString() << u"world"_s;
        QTest::newRow("Copy") << u"EditCopy1"_s << u"hello world"_s << u"world"_s << u"world"_s;
        QTest::newRow("Paste") << u"EditPaste1"_s << u"hello clip"_s << QString() << u"clip"_s;
        QTest::newRow("Delete") << u"EditDelete1"_s << u"hello "_s << QString() << u"clip"_s;
        QTest::newRow("Select All")
            << u"EditSelectAll1"_s << u"hello world"_s << u"hello world"_s << u"clip"_s;
    }

    void editActionsAct()
    {
        QFETCH(QString, action);
        QFETCH(QString, text);
        QFETCH(QString, selected);
        QFETCH(QString, clipboard);

        QApplication::clipboard()->setText(u"clip"_s);
        QTest::mouseClick(form().Edit1, Qt::LeftButton);
        QTest::keyClicks(form().Edit1, u"hello world"_s);
        for (int i = 0; i < 5; ++i)
            press(Qt::SHIFT | Qt::Key_Left);
        QCOMPARE(form().Edit1->selectedText(), u"world"_s);

        // Chosen with the mouse from the context menu.
        QMenu *menu = openContextMenu();
        QCOMPARE(menu, form().PopupMenu1);
        QAction *item = this->action(action);
        QVERIFY(item && item->isEnabled());
        // Resting on the item leaves the status panels in view: its hint is no message.
        QTest::mouseMove(menu, menu->actionGeometry(item).center());
        QCOMPARE(menu->activeAction(), item);
        QCOMPARE(form().StatusBar1->currentMessage(), QString());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        QVERIFY(!menu->isVisible());

        QCOMPARE(form().Edit1->text(), text);
        QCOMPARE(form().Edit1->selectedText(), selected);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        QCOMPARE(form().Edit14->text(),
                 QString::number(quill::fieldDef(quill::Field::Edit1).limit - text.size()));
    }
};

QTEST_MAIN(TestMainWindowMenus)
#include "tst_main_window_menus.moc"
