// The Tools window as the user drives it from the main window's Tools menu: its
// frame and pages, the site manager's targets, the converter's enabling rule, browse
// buttons and Convert, and the state it keeps while hidden.

#include "gui_driver.h"

#include "common/file_helpers.h"
#include "components/grad_progress.h"

using namespace Qt::StringLiterals;

namespace {

const QByteArray EightLines = "<p>1</p>\n<p>2</p>\n<p>3</p>\n<p>4</p>\n"
                              "<p>5</p>\n<p>6</p>\n<p>7</p>\n<p>8</p>\n";

const QString SearchPage = u"http://www.google.com/search?hl=en&lr=&ie=ISO-8859-1&q="_s;

// The positions the bar shows, in the order it paints them.
class PaintedPositions : public QObject
{
public:
    explicit PaintedPositions(TGradProgress *bar) { bar->installEventFilter(this); }
    bool eventFilter(QObject *bar, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            positions << static_cast<TGradProgress *>(bar)->position();
        return false;
    }
    QList<int> positions;
};

} // namespace

class TestToolsWindow : public GuiTest
{
    Q_OBJECT

private slots:
    void frame()
    {
        showTools(0);
        TForm4 &t = tools();
        QCOMPARE(t.size(), QSize(354, 299));
        QCOMPARE(t.minimumSize(), t.maximumSize());
        QCOMPARE(t.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                    Qt::WindowMaximizeButtonHint | Qt::WindowStaysOnTopHint),
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
        QVERIFY((t.frameGeometry().center() - form().frameGeometry().center()).manhattanLength() <=
                2);
        // Hints are targets, not tool tips.
        for (QWidget *w : t.findChildren<QWidget *>())
            QVERIFY2(w->toolTip().isEmpty(), qPrintable(w->objectName()));
    }

    void tabOrder_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("tabOrder");
        QTest::newRow("Site Manager") << 0 << u"Button2 Edit1 Button3"_s;
        QTest::newRow("HTML > JS Converter")
            << 1 << u"Edit2 Edit3 CheckBox1 CheckBox2 Button4 BitBtn1 BitBtn2"_s;
    }

    // Tab from the page control through the page, then the buttons below.
    void tabOrder()
    {
        QFETCH(int, page);
        QFETCH(QString, tabOrder);
        showTools(1);
        typeInto(tools().Edit2, u"abc"_s); // Convert takes part once enabled
        typeInto(tools().Edit3, u"abc"_s);
        showTools(page);

        tools().PageControl1->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int i = 0; i < 4 + tabOrder.count(u' '); ++i) {
            press(Qt::Key_Tab);
            QWidget *focus = QApplication::focusWidget();
            visited << (focus == tools().PageControl1->tabBar() ? u"PageControl1"_s
                                                                : focus->objectName());
        }
        QCOMPARE(visited.join(u' '), tabOrder + u" Button1 Button5 PageControl1"_s);
    }

    void toolsMenu_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<int>("page");
        QTest::newRow("Add Site To Google") << Qt::Key_F10 << 0;
        QTest::newRow("Check Site Rankings") << Qt::Key_F11 << 0;
        QTest::newRow("HTML > JS Converter") << Qt::Key_F12 << 1;
    }

    // An open window, on the other page, comes forward on the command's page.
    void toolsMenu()
    {
        QFETCH(Qt::Key, key);
        QFETCH(int, page);
        showTools(1 - page);
        activate(&form());
        press(key);
        QVERIFY(QTest::qWaitForWindowActive(&tools()));
        QCOMPARE(tools().PageControl1->currentIndex(), page);
    }

    void siteManagerTargets_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("keywords");
        QTest::addColumn<QString>("target");
        QTest::newRow("submit") << u"Button2"_s << u"meta"_s << u"http://www.google.com/addurl"_s;
        // Enter presses the button that has the focus.
        QTest::newRow("Enter") << u"Enter"_s << u"meta"_s << SearchPage + u"meta"_s;
        QTest::newRow("no keywords") << u"Button3"_s << QString() << SearchPage;
        // The keywords percent-encoded, blanks at the ends too.
        QTest::newRow("encoded") << u"Button3"_s << u" C# & a+b "_s
                                 << SearchPage + u"%20C%23%20%26%20a%2Bb%20"_s;
    }

    void siteManagerTargets()
    {
        QFETCH(QString, button);
        QFETCH(QString, keywords);
        QFETCH(QString, target);
        showTools(0);
        typeInto(tools().Edit1, keywords);
        if (button == u"Enter"_s) {
            press(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), tools().Button3);
            press(Qt::Key_Return);
        } else {
            QTest::mouseClick(tools().findChild<QPushButton *>(button), Qt::LeftButton);
        }
        QCOMPARE(m_shell.targets, QStringList{target});
    }

    // A click anywhere in a check box's place ticks it, right of its caption too.
    void wholeCheckBoxClicks_data()
    {
        QTest::addColumn<QString>("box");
        QTest::newRow("Generate HTML Page") << u"CheckBox1"_s;
        QTest::newRow("Create Log File") << u"CheckBox2"_s;
    }

    void wholeCheckBoxClicks()
    {
        QFETCH(QString, box);
        showTools(1);
        auto *check = tools().findChild<QCheckBox *>(box);
        QVERIFY(check->sizeHint().width() < check->width() - 4);
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(check->width() - 2, 8));
        QVERIFY(check->isChecked());
    }

    void helpUsesStartFolder()
    {
        showTools(0);
        QTemporaryDir elsewhere;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        QTest::mouseClick(tools().Button5, Qt::LeftButton);
        QDir::setCurrent(previous);
        const QString sep = QDir::separator();
        QCOMPARE(m_shell.targets,
                 QStringList{startFolder() + sep + u"help"_s + sep + u"context3.html"_s});
    }

    void convertEnabling_data()
    {
        QTest::addColumn<bool>("source"); // Edit2, else Edit3
        QTest::addColumn<bool>("browsed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("source 2") << true << false << u"ab"_s << false;
        QTest::newRow("source 3") << true << false << u"a.h"_s << true;
        QTest::newRow("destination 2") << false << false << u"ab"_s << false;
        QTest::newRow("destination 3 blanks") << false << false << u"   "_s << true;
        QTest::newRow("source browsed 2") << true << true << u"ab"_s << false;
        QTest::newRow("destination browsed 3") << false << true << u"a.j"_s << true;
    }

    // From two long enough paths, one change decides.
    void convertEnabling()
    {
        QFETCH(bool, source);
        QFETCH(bool, browsed);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        showTools(1);
        QVERIFY(!tools().Button4->isEnabled());
        typeInto(tools().Edit2, u"long enough"_s);
        typeInto(tools().Edit3, u"long enough"_s);
        QVERIFY(tools().Button4->isEnabled());
        QLineEdit *edit = source ? tools().Edit2 : tools().Edit3;
        if (browsed) {
            source ? m_prompts.answerOpenFile(text) : m_prompts.answerSaveFile(text);
            QTest::mouseClick(source ? tools().BitBtn1 : tools().BitBtn2, Qt::LeftButton);
        } else {
            typeInto(edit, text);
        }
        QCOMPARE(edit->text(), text);
        QCOMPARE(tools().Button4->isEnabled(), enabled);
    }

    void browse()
    {
        showTools(1);
        TForm4 &t = tools();
        typeInto(t.Edit2, u"typed.html"_s);
        typeInto(t.Edit3, u"typed.js"_s);
        const auto browse = [this](QPushButton *button, const QString &answer) {
            button == tools().BitBtn1 ? m_prompts.answerOpenFile(answer)
                                      : m_prompts.answerSaveFile(answer);
            QTest::mouseClick(button, Qt::LeftButton);
        };

        // Cancelled before any choice: the edit is emptied, Convert disabled.
        browse(t.BitBtn1, QString());
        QCOMPARE(t.Edit2->text(), QString());
        QVERIFY(!t.Button4->isEnabled());
        // Chosen, typed over, cancelled: the chosen name comes back.
        browse(t.BitBtn1, u"/web/menu.html"_s);
        typeInto(t.Edit2, u"typed.html"_s);
        browse(t.BitBtn1, QString());
        QCOMPARE(t.Edit2->text(), u"/web/menu.html"_s);
        // The save dialog has a name of its own: none yet.
        browse(t.BitBtn2, QString());
        QCOMPARE(t.Edit3->text(), QString());

        QStringList startedFrom;
        for (const quill::FileDialogRequest &r : m_prompts.fileRequests())
            startedFrom << r.filter + u' ' + r.lastName;
        QCOMPARE(startedFrom, QStringList({u"All (*.*) "_s, u"All (*.*) "_s,
                                           u"All (*.*) /web/menu.html"_s, u"JS File (*.js) "_s}));
        QCOMPARE(m_prompts.fileRequests().constLast().defaultSuffix, u"js"_s);
    }

    void convert_data()
    {
        QTest::addColumn<bool>("sourceExists");
        QTest::addColumn<bool>("ontoSource");
        QTest::addColumn<QString>("box"); // the error box's text begins so; empty: none
        QTest::addColumn<QString>("files");
        QTest::newRow("eight lines")
            << true << false << QString() << u"in.html out.html out.js out.log"_s;
        QTest::newRow("missing source") << false << false << u"File not found."_s << QString();
        QTest::newRow("onto the source")
            << true << true << u"The source file would be overwritten"_s << u"in.html"_s;
    }

    void convert()
    {
        QFETCH(bool, sourceExists);
        QFETCH(bool, ontoSource);
        QFETCH(QString, box);
        QFETCH(QString, files);
        QTemporaryDir dir;
        const QString source = dir.filePath(u"in.html"_s);
        if (sourceExists)
            QVERIFY(writeFile(source, EightLines));
        const QString destination = ontoSource ? source : dir.filePath(u"out.js"_s);

        showTools(1);
        typeInto(tools().Edit2, source);
        typeInto(tools().Edit3, destination);
        clickIndicator(tools().CheckBox1);
        clickIndicator(tools().CheckBox2);
        if (!box.isEmpty())
            m_prompts.answerBox(QMessageBox::Ok);
        QTest::mouseClick(tools().Button4, Qt::LeftButton);

        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).join(u' '), files);
        if (box.isEmpty()) {
            QVERIFY(m_prompts.boxes().isEmpty());
            QCOMPARE(tools().GradProgress1->position(), 100);
            QCOMPARE(readFile(destination).count("document.write("), 8);
        } else {
            QCOMPARE(m_prompts.boxes().size(), 1);
            const quill::Message shown = m_prompts.boxes().constFirst();
            QCOMPARE(shown, quill::errorMessage(shown.text));
            QVERIFY2(shown.text.startsWith(box), qPrintable(shown.text));
        }
        if (ontoSource)
            QCOMPARE(readFile(source), EightLines);
    }

    // The button stays disabled for such paths; the handler still refuses them itself.
    void shortPathsShowTheMessage()
    {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        const auto back = qScopeGuard([&previous] { QDir::setCurrent(previous); });
        QVERIFY(QDir::setCurrent(dir.path()));
        showTools(1);
        typeInto(tools().Edit2, u"a.h"_s);
        typeInto(tools().Edit3, u"js"_s);
        m_prompts.answerRun(u"OK"_s);
        QMetaObject::invokeMethod(&tools(), "Button4Click");

        QCOMPARE(m_prompts.ranBoxes().size(), 1);
        const ScriptedPrompts::RanBox &box = m_prompts.ranBoxes().constFirst();
        QCOMPARE(box.caption, u"Quillmark"_s);
        QCOMPARE(box.text, u"Please enter a valid source and destination filename!"_s);
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.buttons, QStringList{u"OK"_s});
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    // Switching pages, the Close button and the close box only hide what was there;
    // the next run moves the bar on from where it stands.
    void stateSurvivesHiding()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(u"in.html"_s), EightLines));
        showTools(0);
        typeInto(tools().Edit1, u"meta tags"_s);
        showTools(1);
        typeInto(tools().Edit2, dir.filePath(u"in.html"_s));
        typeInto(tools().Edit3, dir.filePath(u"out.js"_s));
        clickIndicator(tools().CheckBox2);
        QTest::mouseClick(tools().Button4, Qt::LeftButton);
        const QStringList before = toolsState();
        QVERIFY(before.contains(u"bar 100"_s));

        showTools(0);
        showTools(1);
        QCOMPARE(toolsState(), before);
        QTest::mouseClick(tools().Button1, Qt::LeftButton);
        QVERIFY(!tools().isVisible());
        showTools(1);
        QCOMPARE(toolsState(), before);
        QVERIFY(tools().close());
        QVERIFY(!tools().isVisible());
        showTools(1);
        QCOMPARE(toolsState(), before);

        PaintedPositions painted(tools().GradProgress1);
        QTest::mouseClick(tools().Button4, Qt::LeftButton);
        QVERIFY(!painted.positions.isEmpty());
        QCOMPARE(painted.positions.constFirst(), 12);
        QVERIFY(!painted.positions.contains(0));
        QCOMPARE(painted.positions.constLast(), 100);
    }

private:
    // The Tools menu's command for the page, by its shortcut on the main window.
    void showTools(int page)
    {
        activate(&form());
        press(page == 0 ? Qt::Key_F10 : Qt::Key_F12);
        QVERIFY(QTest::qWaitForWindowActive(&tools()));
    }

    QStringList toolsState() const
    {
        const TForm4 &t = tools();
        return {t.Edit1->text(),
                t.Edit2->text(),
                t.Edit3->text(),
                u"html %1 log %2"_s.arg(t.CheckBox1->isChecked()).arg(t.CheckBox2->isChecked()),
                u"convert %1"_s.arg(t.Button4->isEnabled()),
                u"bar %1"_s.arg(t.GradProgress1->position())};
    }
};

QTEST_MAIN(TestToolsWindow)
#include "tst_tools_window.moc"
