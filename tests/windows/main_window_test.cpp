// The main window driven as its user drives it: clicks, typing and shortcuts on
// a shown window, with the boxes answered by ScriptedPrompts and the shell
// recorded. The expected values are written out here on purpose, not read back
// from the field catalogue, so a wrong catalogue entry shows up as a failure.

#include "common/worked_example.h"
#include "recording_shell.h"
#include "scripted_prompts.h"

#include "app/application.h"
#include "document/meta_generator.h"
#include "document/tag_document.h"
#include "windows/field_edit.h"
#include "windows/look.h"
#include "windows/main_window.h"
#include "windows/preferences_dialog.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using quill::Field;

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QStringList list(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *item : items)
        out << QString::fromUtf8(item);
    return out;
}

// Long item lists, written as one text with a bar between the items.
QStringList split(const char *items)
{
    return s(items).split(QLatin1Char('|'));
}

QStringList dayNumbers()
{
    QStringList days;
    for (int d = 1; d <= 31; ++d)
        days << QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0'));
    return days;
}

QStringList lines(const QPlainTextEdit *memo)
{
    return memo->toPlainText().split(QLatin1Char('\n'));
}

const QString ItemZeroNote =
    s("Afrikaans, Basque, Catalan, Danish, Dutch, English, Faeroese, Finnish, French, Galician, "
      "German, Icelandic, Irish, Italian, Norwegian, Portuguese, Spanish and Swedish.");

// A menu of the menu bar by its captions, "&Help/On The Web".
QMenu *menuByPath(QMenuBar *bar, const QString &path)
{
    const QStringList parts = path.split(QLatin1Char('/'));
    QList<QAction *> actions = bar->actions();
    QMenu *menu = nullptr;
    for (const QString &caption : parts) {
        menu = nullptr;
        for (QAction *a : actions) {
            if (a->menu() && a->text() == caption)
                menu = a->menu();
        }
        if (!menu)
            return nullptr;
        actions = menu->actions();
    }
    return menu;
}

// The six edit actions by name, in the order of the context menu.
const char *const EditActionNames[] = {"EditUndo1",  "EditCut1",    "EditCopy1",
                                       "EditPaste1", "EditDelete1", "EditSelectAll1"};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { quill::applyProgramLook(*qApp); }

    void init()
    {
        m_prompts.reset();
        m_shell.targets.clear();
        m_startFolder = QDir::toNativeSeparators(QDir::currentPath());
        m_app = std::make_unique<quill::Application>(m_prompts, m_shell);
        m_form = &m_app->mainWindow();
        m_prefs = &m_app->preferences();
        m_app->start();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        activateForm();
    }

    void cleanup()
    {
        QVERIFY2(m_prompts.pendingAnswers() == 0, "A scripted box was never shown");
        closeWindows();
    }

    // --- The window as it stands at start-up

    void windowFrame()
    {
        TForm1 &f = form();
        QCOMPARE(f.windowTitle(), s("Quillmark v2.0"));
        // Typing right after start goes into the description.
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f.Edit1));

        // The client area holds the pages and the status bar; the menu bar stands above.
        QWidget *client = f.centralWidget();
        QCOMPARE(f.menuBar()->geometry().top(), 0);
        QCOMPARE(client->geometry().top(), f.menuBar()->geometry().bottom() + 1);
        QCOMPARE(client->width(), 484);
        QCOMPARE(f.StatusBar1->height(), 19);
        QCOMPARE(f.StatusBar1->geometry().top(), client->geometry().bottom() + 1);
        QCOMPARE(client->height() + f.StatusBar1->height(), 325);
        QCOMPARE(f.height() - f.menuBar()->height(), 325);
        QCOMPARE(f.width(), 484);

        // Fixed single border: close and minimise boxes, no maximise, no resizing.
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(f.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(f.windowFlags() & Qt::WindowCloseButtonHint);

        // Centred on the desktop when first shown.
        const QPoint centre = f.screen()->availableGeometry().center();
        QVERIFY2((f.frameGeometry().center() - centre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("window centre %1,%2, desktop centre %3,%4")
                                .arg(f.frameGeometry().center().x())
                                .arg(f.frameGeometry().center().y())
                                .arg(centre.x())
                                .arg(centre.y())));

        // Status bar: two panels, 100 and 50 wide, no size grip, the mark empty.
        QVERIFY(!f.StatusBar1->isSizeGripEnabled());
        const QList<QLabel *> panels = statusPanels();
        QCOMPARE(panels.size(), 2);
        QCOMPARE(panels[0]->width(), 100);
        QCOMPARE(panels[1]->width(), 50);
        QCOMPARE(panels[0]->text(), QString());
        QCOMPARE(panels[1]->text(), QString());

        // The page control and its pages in order, page 0 in front.
        QCOMPARE(f.PageControl1->parentWidget(), client);
        QCOMPARE(f.PageControl1->geometry(), QRect(0, 8, 483, 297));
        const QStringList captions =
            list({"Basic", "Advanced", "Extra Tags", "DC Tags", "HTML Code"});
        const QStringList sheets =
            list({"TabSheet1", "TabSheet2", "TabSheet4", "TabSheet5", "TabSheet3"});
        QCOMPARE(f.PageControl1->count(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(f.PageControl1->tabText(i), captions[i]);
            QCOMPARE(f.PageControl1->widget(i)->objectName(), sheets[i]);
        }
        QCOMPARE(f.PageControl1->currentIndex(), 0);

        // The page area the panels fill.
        QCOMPARE(f.TabSheet1->size(), QSize(475, 269));
    }

    void fieldControls_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("rect"); // null: not checked
        QTest::addColumn<int>("limit");  // -1: a list or check box
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("labelLeft"); // -1: position not checked

        const auto edit = [](const char *name, const char *parent, int x, int y, int w, int limit,
                             const char *hint, const char *label, int labelLeft = 8,
                             const char *text = "") {
            QTest::newRow(name) << s("Form1") << s(parent) << QRect(x, y, w, 21) << limit << s(hint)
                                << s(text) << -1 << QStringList() << s(label) << labelLeft;
        };
        const auto combo = [](const char *name, const char *parent, int x, int y, int w,
                              const QStringList &items, int index, const char *label,
                              int labelLeft = 8) {
            QTest::newRow(name) << s("Form1") << s(parent) << QRect(x, y, w, 21) << -1 << QString()
                                << items[index] << index << items << s(label) << labelLeft;
        };

        // Basic
        edit("Edit1", "Panel2", 96, 8, 305, 250,
             "Enter a description of your site (max 250 characters)", "Description:");
        edit("Edit2", "Panel2", 96, 32, 305, 200,
             "Enter keywords that describe your site. Seperate keywords with commas. Max 200 "
             "characters.",
             "Keywords:");
        edit("Edit3", "Panel2", 96, 56, 337, 75,
             "Enter the persons name who made the website here.", "Author:");
        edit("Edit4", "Panel2", 96, 80, 337, 75,
             "Enter the name of the program in which you made your website.", "Generator:");
        edit("Edit5", "Panel2", 96, 104, 25, 2,
             "Enter the number of days which must go by before the search engine comes back to "
             "re-evaluate your sites' contents.",
             "Revisit after:");
        edit("Edit6", "Panel2", 96, 128, 305, 75, "Enter the title of your web page here.",
             "Title:");
        edit("Edit7", "Panel2", 96, 152, 305, 75,
             "Enter the years in which your website is copyrighted", "Copyright:");
        combo("ComboBox1", "Panel2", 96, 176, 97, list({"Global", "Regional", "Limited"}), 0,
              "Distribution:");
        combo("ComboBox2", "Panel2", 96, 200, 97,
              list({"General", "Adult", "Children", "Restricted", "13 Years"}), 0, "Rating:");
        combo("ComboBox3", "Panel2", 96, 224, 97,
              list({"Follow", "NoIndex", "Index", "All", "Nofollow", "None"}), 3, "Robots:");

        // Advanced
        combo("ComboBox4", "GroupBox1", 152, 27, 89,
              list({"ISO-8859-1", "ISO-8859-2", "ISO-8859-3", "ISO-8859-4", "ISO-8859-5",
                    "ISO-8859-6", "ISO-8859-7", "ISO-8859-8", "ISO-8859-9"}),
              0, "Choose a Character Set: ");
        combo(
            "ComboBox5", "Panel1", 96, 136, 57,
            split(
                "af|ar|be|bg|ca|cs|da|de|el|en|en-au|en-ca|en-nz|en-us|es|et|eu|fa|fi|fo|fr|gd|he|"
                "hi|hr|hu|in|is|it|ja|ji|ko|lt|lv|mk|ms|mt|nl|no|pl|pt|rm|ro|ru|sb|sk|sl|sg|sr|sv|"
                "sx|sz|th|tn|tr|ts|uk|ur|ve|vi|xh|zh|zu"),
            9, "Language:");
        edit("Edit8", "Panel1", 160, 168, 137, 75,
             "Enter page to which the user must be redirected.", "Refresh:");
        edit("Edit9", "Panel1", 320, 168, 33, 3,
             "After how many seconds should the user be redirected?", "in ", 304);
        combo("ComboBox6", "Panel1", 96, 200, 49,
              list({"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}), 0, "Expires:");
        combo("ComboBox7", "Panel1", 152, 200, 41, dayNumbers(), 0, "", -1);
        combo("ComboBox8", "Panel1", 200, 200, 49,
              list({"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov",
                    "Dec"}),
              0, "", -1);
        edit("Edit10", "Panel1", 288, 200, 33, 4, "Enter year.", "Year:", 256);
        edit("Edit11", "Panel1", 360, 200, 25, 2, "Hours", "Time:", 328);
        edit("Edit12", "Panel1", 400, 200, 25, 2, "Minutes", ":", 392);

        // Extra Tags
        combo("ComboBox9", "Panel3", 96, 8, 121, list({"Cache", "No-Cache"}), 0, "Pragma:");
        combo("ComboBox10", "Panel3", 96, 32, 121, list({"_blank", "_parent", "_self", "_top"}), 3,
              "Window Target:");
        edit("Edit16", "Panel3", 96, 56, 337, 250, "Enter PICS label tag text", "PICS Label:");
        combo("ComboBox11", "Panel3", 120, 80, 97,
              list({"text/javascript", "text/jscript", "text/vbscript", "text/php", "text/tcl"}), 0,
              "Content Script Type: ");
        QTest::newRow("CheckBox2")
            << s("Form1") << s("Panel3") << QRect(232, 80, 49, 0) << -1 << QString() << s("Other")
            << -1 << QStringList() << QString() << -1;
        edit("Edit33", "Panel3", 304, 80, 129, 30, "Insert other scripting language type", "", -1);
        combo("ComboBox12", "Panel3", 120, 104, 97, list({"text/css"}), 0, "Content Style Type:");
        QTest::newRow("CheckBox3")
            << s("Form1") << s("Panel3") << QRect(232, 104, 49, 0) << -1 << QString() << s("Other")
            << -1 << QStringList() << QString() << -1;
        edit("Edit34", "Panel3", 304, 104, 129, 30, "Enter other style type", "", -1);
        combo(
            "ComboBox13", "Panel3", 96, 128, 185,
            split("Adults|Advertising|Agriculture|Antiques|Art|Arts and Crafts|Arts and Humanities|"
                  "Automotive|Avaition|Bar|Business Banking|Business Supplies|Business and Economy|"
                  "Business and Finance|Career Services|Catalogs|Children|Christmas|Commercial|"
                  "Communications|Computers and Internet|Computers Multimedia|Computers|"
                  "Construction|Consumer|Consumer Children|Consumer Electronics|Design|Drinks|"
                  "Education|Entertainment|Family|Family Services|Flags|Flowers|Food and Beverage|"
                  "General Hardware|General Software|Gift baskets|Gifts|Government|Hardware|Health|"
                  "Health and Fitness|Hobbies|Home and Family|Human Resources|Index Site|"
                  "Internet Services|Math|Media|Medical|Medical Equipment|Miscellaneous|Museums|"
                  "News and Media|Personal|Photograph|Pictures|Program|Programming|"
                  "Property and Building|Recreation|Science|Science and Technology|"
                  "Security Services|Shopping and Services|Social Science|Society and Culture|"
                  "Software|Sports|Sports and Recreation|Tourism|Travel|Travel Agents|Web Hosting|"
                  "Web Programming|Web Site Promotion"),
            0, "Classification:");
        edit("Edit17", "GroupBox2", 8, 24, 409, 50,
             "Insert comments (description) or press the QuickInsert button", "", -1);

        // DC Tags: no hints
        const auto dc = [&edit](const char *name, const char *panel, int row, const char *label,
                                int limit = 30, const char *text = "") {
            edit(name, panel, 72, 8 + 24 * row, 129, limit, "", label, 8, text);
        };
        dc("Edit18", "Panel4", 0, "Title:");
        dc("Edit19", "Panel4", 1, "Creator:");
        dc("Edit21", "Panel4", 2, "Subject:");
        dc("Edit20", "Panel4", 3, "Description:");
        dc("Edit22", "Panel4", 4, "Publisher:");
        dc("Edit23", "Panel4", 5, "Contributor:");
        dc("Edit24", "Panel4", 6, "Date:", 10, "YYYY-MM-DD");
        dc("Edit25", "Panel4", 7, "Type:");
        dc("Edit26", "Panel4", 8, "Format");
        dc("Edit27", "Panel4", 9, "Identifier:");
        dc("Edit28", "Panel5", 0, "Source:");
        dc("Edit29", "Panel5", 1, "Language:", 5);
        dc("Edit30", "Panel5", 2, "Relation:");
        dc("Edit31", "Panel5", 3, "Coverage:");
        dc("Edit32", "Panel5", 4, "Rights:");

        // The page-head texts of the Preferences dialog; their places belong to the dialog.
        const auto head = [](const char *tag, const char *label) {
            QTest::newRow(tag) << s("Form2") << QString() << QRect() << 50 << QString() << QString()
                               << -1 << QStringList() << s(label) << -1;
        };
        head("Form2.Edit1", "Page Title: ");
        head("Form2.Edit2", "External CSS:");
        head("Form2.Edit3", "Favicon URL:");
    }

    void fieldControls()
    {
        QFETCH(QString, window);
        QFETCH(QString, parent);
        QFETCH(QRect, rect);
        QFETCH(int, limit);
        QFETCH(QString, hint);
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(QStringList, items);
        QFETCH(QString, label);
        QFETCH(int, labelLeft);

        const QString name =
            QString::fromLatin1(QTest::currentDataTag()).section(QLatin1Char('.'), -1);
        QWidget *w = control(window, name);
        QVERIFY2(w, qPrintable(name));
        if (!parent.isEmpty())
            QCOMPARE(w->parentWidget()->objectName(), parent);
        if (!rect.isNull()) {
            // A check box is as high as its style draws it.
            if (rect.height() > 0)
                QCOMPARE(w->geometry(), rect);
            else
                QCOMPARE(QRect(w->x(), w->y(), w->width(), 0), rect);
        }
        QCOMPARE(w->toolTip(), hint);

        if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            QCOMPARE(edit->maxLength(), limit);
            QCOMPARE(edit->text(), text);
            QVERIFY(!edit->isReadOnly());
            QVERIFY(edit->isEnabled());
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            QVERIFY(!combo->isEditable());
            QStringList actual;
            for (int i = 0; i < combo->count(); ++i)
                actual << combo->itemText(i);
            QCOMPARE(actual, items);
            QCOMPARE(combo->currentIndex(), index);
            QCOMPARE(combo->currentText(), text);
            QVERIFY(combo->isEnabled());
        } else if (auto *check = qobject_cast<QCheckBox *>(w)) {
            QCOMPARE(check->text(), text);
            QVERIFY(!check->isChecked());
        } else {
            QFAIL("unexpected kind of control");
        }

        // The row label: beside the field in the same container, two pixels lower.
        if (!label.isEmpty()) {
            QLabel *found = nullptr;
            for (QLabel *l :
                 w->parentWidget()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
                if (l->text() == label)
                    found = l;
            }
            QVERIFY2(found, qPrintable(QStringLiteral("no label \"%1\"").arg(label)));
            if (labelLeft >= 0)
                QCOMPARE(found->pos(), QPoint(labelLeft, rect.top() + 2));
            else
                QVERIFY(qAbs(found->y() - (w->y() + 2)) <= 1);
            QVERIFY2(found->width() >= found->sizeHint().width(), "label clipped");
        }
    }

    void otherControls_data()
    {
        // Controls that are not fields, and labels found by their text (empty name).
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("rect"); // width 0: only the position is checked
        QTest::addColumn<QString>("text");

        const auto row = [](const char *name, const char *parent, QRect rect,
                            const char *text = "") {
            QTest::newRow(name) << s(name) << s(parent) << rect << s(text);
        };
        const auto label = [](const char *text, const char *parent, int x, int y) {
            QTest::newRow(text) << QString() << s(parent) << QRect(x, y, 0, 0) << s(text);
        };

        row("Panel2", "TabSheet1", QRect(0, 0, 475, 269));
        row("Panel1", "TabSheet2", QRect(0, 0, 475, 269));
        row("Panel3", "TabSheet4", QRect(0, 0, 475, 269));
        row("Panel4", "TabSheet5", QRect(0, 0, 235, 269));
        row("Panel5", "TabSheet5", QRect(240, 0, 235, 269));
        row("GroupBox1", "Panel1", QRect(8, 8, 441, 121), " Char Set ");
        row("GroupBox2", "Panel3", QRect(8, 160, 457, 89), " Comments ");
        row("GroupBox3", "Panel5", QRect(8, 136, 217, 97), " Tips ");
        row("Edit14", "Panel2", QRect(408, 8, 25, 21), "250");
        row("Edit15", "Panel2", QRect(408, 32, 25, 21), "200");
        row("Memo2", "GroupBox1", QRect(144, 51, 289, 62));
        row("BitBtn2", "Panel4", QRect(208, 8, 17, 20));
        row("BitBtn3", "Panel4", QRect(208, 32, 17, 20));
        row("BitBtn4", "Panel4", QRect(208, 56, 17, 20));
        row("BitBtn5", "Panel4", QRect(208, 80, 17, 20));
        row("BitBtn6", "Panel5", QRect(208, 32, 17, 20));
        row("BitBtn7", "GroupBox2", QRect(8, 54, 17, 20));
        row("Button19", "Panel5", QRect(152, 240, 75, 25), "Help");
        label("Days", "Panel2", 128, 106);
        label("The selected character", "GroupBox1", 8, -1);
        label("set supports the following", "GroupBox1", 8, -1);
        label("language(s):", "GroupBox1", 8, -1);
        label("Go to URL ", "Panel1", 96, 170);
        label("seconds", "Panel1", 360, 170);
        label("Use Description", "GroupBox2", 32, 56);
        label("Clicking on the QuickInsert button (       )", "GroupBox3", -1, -1);
        label("will automatically fill in the information", "GroupBox3", -1, -1);
        label("based on the data you entered into the", "GroupBox3", -1, -1);
        label("previous Meta boxes, saving you time!", "GroupBox3", -1, -1);
    }

    void otherControls()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, rect);
        QFETCH(QString, text);

        QWidget *w = nullptr;
        if (name.isEmpty()) {
            auto *container = form().findChild<QWidget *>(parent);
            QVERIFY(container);
            for (QLabel *l : container->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
                if (l->text() == text)
                    w = l;
            }
            QVERIFY2(w, qPrintable(QStringLiteral("no label \"%1\" in %2").arg(text, parent)));
            QVERIFY2(w->width() >= w->sizeHint().width(), "label clipped");
        } else {
            w = form().findChild<QWidget *>(name);
            QVERIFY2(w, qPrintable(name));
            QCOMPARE(w->parentWidget()->objectName(), parent);
        }

        if (rect.width() > 0) {
            QCOMPARE(w->geometry(), rect);
        } else {
            if (rect.x() >= 0)
                QCOMPARE(w->x(), rect.x());
            if (rect.y() >= 0)
                QCOMPARE(w->y(), rect.y());
        }
        if (auto *group = qobject_cast<QGroupBox *>(w))
            QCOMPARE(group->title(), text);
        else if (auto *edit = qobject_cast<QLineEdit *>(w))
            QCOMPARE(edit->text(), text);
        else if (auto *button = qobject_cast<QPushButton *>(w); button && !text.isEmpty())
            QCOMPARE(button->text(), text);

        // The QuickInsert buttons show the picture and no caption.
        if (name.startsWith(QLatin1StringView("BitBtn"))) {
            auto *button = qobject_cast<QPushButton *>(w);
            QVERIFY(button->text().isEmpty());
            QVERIFY2(!button->icon().isNull(), "no QuickInsert picture");
            QCOMPARE(button->iconSize(), QSize(9, 9));
        }
    }

    void nothingOverlaps_data()
    {
        QTest::addColumn<QString>("container");
        for (const char *name : {"Panel2", "Panel1", "GroupBox1", "Panel3", "GroupBox2", "Panel4",
                                 "Panel5", "GroupBox3"})
            QTest::newRow(name) << s(name);
    }

    // Labels are as wide as their text, so a font too wide for the layout shows up
    // as a label running into the control beside it.
    void nothingOverlaps()
    {
        QFETCH(QString, container);
        auto *parent = form().findChild<QWidget *>(container);
        QVERIFY(parent);
        QList<QWidget *> children;
        for (QWidget *w : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!w->isHidden())
                children << w;
        }
        for (qsizetype i = 0; i < children.size(); ++i) {
            for (qsizetype j = i + 1; j < children.size(); ++j) {
                QWidget *a = children[i];
                QWidget *b = children[j];
                // The tip's picture sits inside the blank of its own line on purpose.
                if (a == form().BitBtn1 || b == form().BitBtn1)
                    continue;
                const auto describe = [](QWidget *w) {
                    const auto *l = qobject_cast<QLabel *>(w);
                    return l ? QStringLiteral("\"%1\"").arg(l->text()) : w->objectName();
                };
                QVERIFY2(
                    !a->geometry().intersects(b->geometry()),
                    qPrintable(QStringLiteral("%1 overlaps %2").arg(describe(a), describe(b))));
            }
        }
    }

    void quickInsertPictureInTip()
    {
        // BitBtn1 only illustrates the tip: it sits in the blank between the parentheses
        // of the first tip line, whatever font draws it, and does nothing when clicked.
        QPushButton *button = form().BitBtn1;
        QCOMPARE(button->parentWidget(), form().GroupBox3);
        QCOMPARE(button->size(), QSize(17, 20));
        QCOMPARE(button->y(), 22);
        QVERIFY(!button->icon().isNull());

        const QString tip = s("Clicking on the QuickInsert button (       )");
        QLabel *label = nullptr;
        for (QLabel *l : form().GroupBox3->findChildren<QLabel *>())
            label = l->text() == tip ? l : label;
        QVERIFY(label);
        const QFontMetrics metrics(label->font());
        const int open = label->x() + label->contentsRect().left() +
                         metrics.horizontalAdvance(tip.left(tip.indexOf(QLatin1Char('(')) + 1));
        const int close = label->x() + label->contentsRect().left() +
                          metrics.horizontalAdvance(tip.left(tip.indexOf(QLatin1Char(')'))));
        QVERIFY2(button->x() >= open && button->geometry().right() < close,
                 qPrintable(QStringLiteral("button at %1..%2, blank at %3..%4")
                                .arg(button->x())
                                .arg(button->geometry().right())
                                .arg(open)
                                .arg(close)));

        showPageOf(button);
        const quill::TagDocument before = form().document();
        QTest::mouseClick(button, Qt::LeftButton);
        verifyDocument(before);
        QCOMPARE(mark(), QString());
    }

    void codePageAndNote()
    {
        TForm1 &f = form();
        // The code page: the whole page, editable, no wrapping, both scroll bars, empty.
        QCOMPARE(f.Memo1->parentWidget(), f.TabSheet3);
        showPageOf(f.Memo1);
        QCOMPARE(f.Memo1->geometry(), f.TabSheet3->rect());
        QVERIFY(!f.Memo1->isReadOnly());
        QCOMPARE(f.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(f.Memo1->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
        QVERIFY(f.Memo1->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
        QVERIFY(f.Memo1->toPlainText().isEmpty());

        // The character-set note: read-only, disabled, wrapping, three lines at start-up.
        QVERIFY(f.Memo2->isReadOnly());
        QVERIFY(!f.Memo2->isEnabled());
        QVERIFY(f.Memo2->lineWrapMode() != QPlainTextEdit::NoWrap);
        QCOMPARE(lines(f.Memo2),
                 list({"Afrikaans, Basque, Catalan, Danish, Dutch, English, ",
                       "Faeroese, Finnish, French, Galician, German, Icelandic, ",
                       "Irish, Italian, Norwegian, Portuguese, Spanish and Swedish."}));

        // The counters cannot be typed into and wear the 3-D face colour.
        for (QLineEdit *counter : {f.Edit14, f.Edit15}) {
            QVERIFY(counter->isReadOnly());
            QCOMPARE(counter->palette().color(QPalette::Base),
                     counter->palette().color(QPalette::Button));
        }
        showPageOf(f.Edit14);
        QTest::mouseClick(f.Edit14, Qt::LeftButton);
        QTest::keyClicks(f.Edit14, s("7"));
        QCOMPARE(f.Edit14->text(), s("250"));
        QCOMPARE(mark(), QString());

        // The start folder, hidden on the Advanced page.
        QCOMPARE(f.Edit13->parentWidget(), f.Panel1);
        QVERIFY(f.Edit13->isHidden());
        QCOMPARE(f.Edit13->text(), m_startFolder);
    }

    void preferencesControls()
    {
        TForm2 &p = *m_prefs;
        QCOMPARE(p.RadioButton1->text(), s("&Make Meta Tag Code only"));
        QCOMPARE(p.RadioButton2->text(), s("M&ake Meta Tag Code and HTML code"));
        QVERIFY(!p.RadioButton1->isChecked());
        QVERIFY(p.RadioButton2->isChecked());
        QVERIFY(p.mode() == quill::GenerationMode::FullPage);
    }

    // --- Menus

    void menuBar()
    {
        QStringList titles;
        for (QAction *a : form().menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, list({"&File", "Code", "View", "Tools", "&Help"}));
    }

    void menuStructure_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("items"); // object names; N1, N2 ... are separators

        QTest::newRow("File") << s("&File")
                              << list({"New1", "Open1", "save2", "N1", "Import1", "Export1", "N2",
                                       "Preferences1", "N4", "Print1", "N3", "Exit1"});
        QTest::newRow("Export") << s("&File/Export") << list({"AsHTML1", "AsText1"});
        QTest::newRow("Code") << s("Code")
                              << list({"cool1", "ClearAllFields1", "CopyToClipboard1"});
        QTest::newRow("View") << s("View")
                              << list({"Beginner1", "Advanced1", "ExtraTags1", "DCTags1",
                                       "HTMLTags1"});
        QTest::newRow("Tools") << s("Tools")
                               << list({"AddSitetoGoogle1", "CheckSiteRankings1", "N7", "HTMLJS1"});
        QTest::newRow("Help") << s("&Help")
                              << list({"Help2", "Readme1", "BeginnerWizard1", "N11",
                                       "SitePromotion1", "N5", "OnTheWeb1", "N6", "About1"});
        QTest::newRow("On The Web")
            << s("&Help/On The Web")
            << list({"Website1", "CheckforUpdate1", "Support1", "SupportForum1"});
    }

    void menuStructure()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, items);

        QMenu *menu = menuByPath(form().menuBar(), path);
        QVERIFY2(menu, qPrintable(path));
        QStringList names;
        for (QAction *a : menu->actions()) {
            names << a->objectName();
            const bool separator =
                QRegularExpression(QStringLiteral("^N\\d+$")).match(a->objectName()).hasMatch();
            QVERIFY2(a->isSeparator() == separator, qPrintable(a->objectName()));
        }
        QCOMPARE(names, items);
    }

    void menuItems_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<QString>("handler"); // empty: a submenu header
        QTest::addColumn<bool>("picture");

        const auto item = [](const char *name, const char *caption, QKeySequence shortcut,
                             const char *handler) {
            QTest::newRow(name) << s(caption) << shortcut << s(handler) << true;
        };
        const auto submenu = [](const char *name, const char *caption) {
            QTest::newRow(name) << s(caption) << QKeySequence() << QString() << false;
        };
        const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };
        const auto ctrlAlt = [](Qt::Key key) { return QKeySequence(Qt::CTRL | Qt::ALT | key); };

        item("New1", "&New", ctrl(Qt::Key_N), "New1Click");
        item("Open1", "Open", ctrl(Qt::Key_O), "Open1Click");
        item("save2", "Save", ctrl(Qt::Key_S), "SaveAs1Click");
        item("Import1", "Import...", ctrlAlt(Qt::Key_I), "Import1Click");
        submenu("Export1", "Export");
        item("AsHTML1", "As HTML", ctrl(Qt::Key_H), "AsHTML1Click");
        item("AsText1", "As Text", ctrl(Qt::Key_T), "AsText1Click");
        item("Preferences1", "Preferences", ctrl(Qt::Key_E), "Preferences1Click");
        item("Print1", "Print Code", ctrl(Qt::Key_P), "Print1Click");
        item("Exit1", "E&xit", ctrlAlt(Qt::Key_X), "Exit1Click");
        item("cool1", "Generate Meta Code", QKeySequence(Qt::Key_F2), "cool1Click");
        item("ClearAllFields1", "Reset All Fields", ctrl(Qt::Key_R), "ClearAllFields1Click");
        item("CopyToClipboard1", "Copy To Clipboard", QKeySequence(Qt::Key_F3),
             "CopyToClipboard1Click");
        item("Beginner1", "Basic", QKeySequence(Qt::Key_F5), "Beginner1Click");
        item("Advanced1", "Advanced", QKeySequence(Qt::Key_F6), "Advanced1Click");
        item("ExtraTags1", "Extra Tags", QKeySequence(Qt::Key_F7), "ExtraTags1Click");
        item("DCTags1", "DC Tags", QKeySequence(Qt::Key_F8), "DCTags1Click");
        item("HTMLTags1", "HTML Tags", QKeySequence(Qt::Key_F9), "HTMLTags1Click");
        item("AddSitetoGoogle1", "Add Site To Google", QKeySequence(Qt::Key_F10),
             "AddSitetoGoogle1Click");
        item("CheckSiteRankings1", "Check Site Rankings", QKeySequence(Qt::Key_F11),
             "CheckSiteRankings1Click");
        item("HTMLJS1", "HTML > JS Converter", QKeySequence(Qt::Key_F12), "HTMLJS1Click");
        item("Help2", "Help", QKeySequence(Qt::Key_F1), "Help2Click");
        item("Readme1", "Readme", ctrl(Qt::Key_D), "Readme1Click");
        item("BeginnerWizard1", "Beginner Wizard", ctrlAlt(Qt::Key_B), "BeginnerWizard1Click");
        item("SitePromotion1", "Site Promotion", ctrl(Qt::Key_I), "SitePromotion1Click");
        submenu("OnTheWeb1", "On The Web");
        item("Website1", "Website", QKeySequence(), "Website1Click");
        item("CheckforUpdate1", "Check For Update", QKeySequence(), "CheckforUpdate1Click");
        item("Support1", "Support (E-mail)", QKeySequence(), "Support1Click");
        item("SupportForum1", "Support Forum", QKeySequence(), "SupportForum1Click");
        item("About1", "&About...", ctrlAlt(Qt::Key_A), "About1Click");
    }

    void menuItems()
    {
        QFETCH(QString, caption);
        QFETCH(QKeySequence, shortcut);
        QFETCH(QString, handler);
        QFETCH(bool, picture);

        const QString name = QString::fromLatin1(QTest::currentDataTag());
        QAction *action = form().findChild<QAction *>(name);
        QVERIFY2(action, qPrintable(name));
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut(), shortcut);
        if (handler.isEmpty()) {
            QVERIFY(action->menu());
        } else {
        }
        QCOMPARE(!action->icon().isNull(), picture);
    }

    void popupMenu_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<QString>("command"); // handler, or the edit action
        QTest::addColumn<QString>("hint");    // short|long hint of an edit action
        QTest::addColumn<bool>("picture");

        const auto item = [](const char *tag, int position, const char *caption, QKeySequence key,
                             const char *command, const char *hint = "", bool picture = true) {
            QTest::newRow(tag) << position << s(caption) << key << s(command) << s(hint) << picture;
        };
        item("GenerateMetaCode1", 0, "Generate Meta Code", QKeySequence(Qt::Key_F2), "cool1Click");
        item("CopyCodetoClipboard1", 1, "Copy Code to Clipboard", QKeySequence(Qt::Key_F3),
             "CopyToClipboard1Click");
        item("Save1", 2, "Save", QKeySequence(Qt::CTRL | Qt::Key_S), "SaveAs1Click");
        item("N8", 3, "", QKeySequence(), "", "", false);
        item("Undo1", 4, "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), "EditUndo1",
             "Undo|Reverts the last action");
        item("N9", 5, "", QKeySequence(), "", "", false);
        item("Cut1", 6, "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X), "EditCut1",
             "Cut|Cuts the selection and puts it on the Clipboard");
        item("Copy1", 7, "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), "EditCopy1",
             "Copy|Copies the selection and puts it on the Clipboard");
        item("Paste1", 8, "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V), "EditPaste1",
             "Paste|Inserts Clipboard contents");
        item("Delete1", 9, "&Delete", QKeySequence(Qt::Key_Delete), "EditDelete1",
             "Delete|Erases the selection");
        item("N10", 10, "", QKeySequence(), "", "", false);
        item("SelectAll1", 11, "Select &All", QKeySequence(Qt::CTRL | Qt::Key_A), "EditSelectAll1",
             "Select All|Selects the entire document", false);
    }

    void popupMenu()
    {
        QFETCH(int, position);
        QFETCH(QString, caption);
        QFETCH(QKeySequence, shortcut);
        QFETCH(QString, command);
        QFETCH(QString, hint);
        QFETCH(bool, picture);

        const QList<QAction *> actions = form().PopupMenu1->actions();
        QCOMPARE(actions.size(), 12);
        QAction *action = actions[position];
        if (caption.isEmpty()) {
            QVERIFY(action->isSeparator());
            return;
        }
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut(), shortcut);
        QCOMPARE(!action->icon().isNull(), picture);
        if (command.startsWith(QLatin1StringView("Edit"))) {
            QCOMPARE(action->objectName(), command);
            QCOMPARE(action->toolTip(), hint.section(QLatin1Char('|'), 0, 0));
            QCOMPARE(action->statusTip(), hint.section(QLatin1Char('|'), 1));
        } else {
        }
        // One command, one action: the items the menu bar also offers are its actions.
        if (command == QLatin1StringView("cool1Click"))
            QCOMPARE(action, form().findChild<QAction *>(s("cool1")));
        if (command == QLatin1StringView("SaveAs1Click"))
            QCOMPARE(action, form().findChild<QAction *>(s("save2")));
    }

    // --- The "?" buttons

    void descriptionButtons_data()
    {
        QTest::addColumn<QString>("container"); // where the position is measured
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tail"); // non-empty: text is the head, an address stands between

        const auto row = [](const char *button, const char *container, int x, int y,
                            const char *text, const char *tail = "") {
            QTest::newRow(button) << s(container) << QPoint(x, y) << s(text) << s(tail);
        };
        row("Button11", "Panel2", 440, 8, "Enter a description of your site. Max 250 characters.");
        row("Button12", "Panel2", 440, 32,
            "Enter keywords describing your website and seperate with commas. Max 200 characters.");
        row("Button4", "Panel2", 440, 56,
            "Enter the name of the person who made the website, here. (i.e. your name)");
        row("Button5", "Panel2", 440, 80,
            "Enter the name of the program in which you made your website.");
        row("Button6", "Panel2", 160, 104,
            "This tag will request that the search engine/spider re-visit every x days to update "
            "the "
            "changes you've made to your site and keyword coding.");
        row("Button7", "Panel2", 408, 128,
            "This tag will be more of a secondary title to the spiders indexing your site. Enter "
            "descriptive title here.");
        row("Button8", "Panel2", 408, 152,
            "If your site is copyrighted, enter the years for which the copyright exists, and "
            "seperate a list of years with commas, eg. 2000, 2001, 2002");
        row("Button9", "Panel2", 203, 176,
            "This tag tells the spider that your site is of interest to the whole world (global) "
            "or "
            "else.");
        row("Button10", "Panel2", 203, 200,
            "You use this tag to suggest the rating your site falls under.");
        row("Button13", "Panel2", 203, 224,
            "This tag is asking the spider to list ALL of your site in it's directory. Some "
            "engines "
            "list each and every page and some only list your entry or index page. But, if this "
            "tag "
            "is present, the spider will list the maximum it's been programmed to list.");
        row("Button1", "GroupBox1", 248, 27,
            "The character set. The most commonly used character set is ISO-8859-1.");
        row("Button2", "Panel1", 160, 136,
            "Sets the language of your page. The most commonly used is EN (English).");
        row("Button3", "Panel1", 432, 168,
            "This tag instructs the browser to redirect you to another page in a certain number of "
            "seconds after the page has loaded.");
        row("Button14", "Panel1", 432, 200,
            "This tag sets the expiration date of your web document.");
        row("Button15", "Panel3", 224, 8,
            "By default, browsers cache your pages. (Saving web documents locally to recall faster "
            "in the future) Choose No-Cache to stop this.");
        row("Button16", "Panel3", 224, 32,
            "This tag specifies the named window of the current page. _top can be used to stop "
            "your "
            "page from appearing in frames by \"breaking out\" of them.");
        row("Button17", "Panel3", 440, 56,
            "Platform-Independant Content rating Scheme. This tag is usually used to rate the page "
            "in terms of adult content (sex, violence, etc.) Visit ",
            " to have your site rated where you will then be given the relevant code to enter into "
            "this box.");
        row("Button20", "Panel3", 440, 80,
            "This tag specifies the default scripting language in the document.");
        row("Button21", "Panel3", 440, 104,
            "This tag specifies the default style sheet for a document.");
        row("Button22", "Panel3", 288, 128, "Places your site into a certain category.");
        row("Button18", "Panel3", 432, 184,
            "Some search engines take descriptions found in HTML comments as well.");
    }

    void descriptionButtons()
    {
        QFETCH(QString, container);
        QFETCH(QPoint, pos);
        QFETCH(QString, text);
        QFETCH(QString, tail);

        const QString name = QString::fromLatin1(QTest::currentDataTag());
        auto *button = form().findChild<QPushButton *>(name);
        QVERIFY2(button, qPrintable(name));
        auto *reference = form().findChild<QWidget *>(container);
        QVERIFY(reference && reference->isAncestorOf(button));
        QCOMPARE(button->mapTo(reference, QPoint(0, 0)), pos);
        QCOMPARE(button->size(), QSize(25, 20));
        QCOMPARE(button->text(), s("?"));

        showPageOf(button);
        const quill::TagDocument before = form().document();
        m_prompts.answerBox(QMessageBox::Ok);
        QTest::mouseClick(button, Qt::LeftButton);

        QCOMPARE(m_prompts.boxes().size(), 1);
        const quill::Message box = m_prompts.boxes().constFirst();
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.buttons, QMessageBox::Ok);
        QCOMPARE(box.caption, s("Description"));
        if (tail.isEmpty()) {
            QCOMPARE(box.text, text);
        } else {
            QVERIFY2(box.text.startsWith(text) && box.text.endsWith(tail), qPrintable(box.text));
            const QString address =
                box.text.mid(text.size(), box.text.size() - text.size() - tail.size());
            QVERIFY2(address.contains(QLatin1Char('.')) && !address.contains(QLatin1Char(' ')),
                     qPrintable(address));
        }
        // Nothing else changes: no field, no mark.
        verifyDocument(before);
        QCOMPARE(mark(), QString());
    }

    // --- Editing behaviours

    void typingLimitAndMark_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("limit");

        const struct {
            const char *name;
            int limit;
        } edits[] = {{"Edit1", 250},  {"Edit2", 200}, {"Edit3", 75},  {"Edit4", 75},
                     {"Edit5", 2},    {"Edit6", 75},  {"Edit7", 75},  {"Edit8", 75},
                     {"Edit9", 3},    {"Edit10", 4},  {"Edit11", 2},  {"Edit12", 2},
                     {"Edit16", 250}, {"Edit17", 50}, {"Edit18", 30}, {"Edit19", 30},
                     {"Edit20", 30},  {"Edit21", 30}, {"Edit22", 30}, {"Edit23", 30},
                     {"Edit24", 10},  {"Edit25", 30}, {"Edit26", 30}, {"Edit27", 30},
                     {"Edit28", 30},  {"Edit29", 5},  {"Edit30", 30}, {"Edit31", 30},
                     {"Edit32", 30},  {"Edit33", 30}, {"Edit34", 30}};
        for (const auto &e : edits)
            QTest::newRow(e.name) << s("Form1") << s(e.name) << e.limit;
        for (const char *name : {"Edit1", "Edit2", "Edit3"})
            QTest::newRow(qPrintable(QStringLiteral("Form2.%1").arg(s(name))))
                << s("Form2") << s(name) << 50;
    }

    void typingLimitAndMark()
    {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(int, limit);

        auto *edit = qobject_cast<QLineEdit *>(control(window, name));
        QVERIFY(edit);
        QCOMPARE(mark(), QString());
        typeInto(edit, QString(limit + 3, QLatin1Char('x')));
        QCOMPARE(edit->text(), QString(limit, QLatin1Char('x')));
        QCOMPARE(mark(), s("Modified"));
    }

    void editingKeys_data()
    {
        // "hello" is typed, then the cursor goes two to the left: "hel|lo".
        QTest::addColumn<QString>("field");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("Del") << s("Edit1") << QKeySequence(Qt::Key_Delete) << s("helo");
        QTest::newRow("Backspace") << s("Edit1") << QKeySequence(Qt::Key_Backspace) << s("helo");
        QTest::newRow("Shift+Home, Del")
            << s("Edit1") << QKeySequence(Qt::SHIFT | Qt::Key_Home, QKeyCombination(Qt::Key_Delete))
            << s("lo");
        QTest::newRow("Ctrl+A, Del")
            << s("Edit3") << QKeySequence(Qt::CTRL | Qt::Key_A, QKeyCombination(Qt::Key_Delete))
            << QString();
        QTest::newRow("Ctrl+Z") << s("Edit20") << QKeySequence(Qt::CTRL | Qt::Key_Z) << QString();
        QTest::newRow("code page, Del") << s("Memo1") << QKeySequence(Qt::Key_Delete) << s("helo");
        QTest::newRow("code page, Ctrl+A, Del")
            << s("Memo1") << QKeySequence(Qt::CTRL | Qt::Key_A, QKeyCombination(Qt::Key_Delete))
            << QString();
    }

    // The window's shortcuts leave the ordinary editing keys to the fields.
    void editingKeys()
    {
        QFETCH(QString, field);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, text);

        QWidget *w = form().findChild<QWidget *>(field);
        showPageOf(w);
        auto *memo = qobject_cast<QPlainTextEdit *>(w);
        QTest::mouseClick(memo ? memo->viewport() : w, Qt::LeftButton);
        QTest::keyClicks(QApplication::focusWidget(), s("hello"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        for (int i = 0; i < keys.count(); ++i)
            press(keys[i]);
        QCOMPARE(memo ? memo->toPlainText() : qobject_cast<QLineEdit *>(w)->text(), text);
    }

    void counters_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<int>("start");
        QTest::newRow("description") << s("Edit1") << s("Edit14") << 250;
        QTest::newRow("keywords") << s("Edit2") << s("Edit15") << 200;
    }

    void counters()
    {
        QFETCH(QString, edit);
        QFETCH(QString, counter);
        QFETCH(int, start);

        auto *field = form().findChild<QLineEdit *>(edit);
        auto *count = form().findChild<QLineEdit *>(counter);
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClicks(field, s("a"));
        QCOMPARE(count->text(), QString::number(start - 1));
        QCOMPARE(mark(), s("Modified"));
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->text(), QString());
        QCOMPARE(count->text(), QString::number(start));
        QCOMPARE(mark(), s("Modified"));

        // Pasting counts as well.
        QApplication::clipboard()->setText(s("four"));
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(count->text(), QString::number(start - 4));
    }

    void choosingSetsMark_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        // Another item than the start-up one; ComboBox12 has one item only, and
        // choosing it again is a choice all the same.
        const int choice[] = {1, 1, 0, 1, 0, 1, 1, 1, 1, 0, 1, 0, 1};
        for (int n = 1; n <= 13; ++n) {
            const QString name = QStringLiteral("ComboBox%1").arg(n);
            QTest::newRow(qPrintable(name)) << name << choice[n - 1];
        }
    }

    void choosingSetsMark()
    {
        QFETCH(QString, name);
        QFETCH(int, index);

        auto *combo = form().findChild<QComboBox *>(name);
        QVERIFY(combo);
        QCOMPARE(mark(), QString());
        chooseItem(combo, index);
        QCOMPARE(combo->currentIndex(), index);
        QCOMPARE(mark(), s("Modified"));
    }

    void characterSetNote_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("mouse");
        QTest::addColumn<QString>("note");

        QTest::newRow("ISO-8859-1 again") << 0 << false << ItemZeroNote;
        QTest::newRow("ISO-8859-2")
            << 1 << false << s("Latin-written Slavic and Central European languages.");
        QTest::newRow("ISO-8859-3")
            << 2 << false << s("Esperanto, Galician, Maltese, and Turkish.");
        QTest::newRow("ISO-8859-4") << 3 << false << s("Scandinavia/Baltic.");
        QTest::newRow("ISO-8859-5") << 4 << false << s("Cyrillic.");
        QTest::newRow("ISO-8859-5 by mouse") << 4 << true << s("Cyrillic.");
        QTest::newRow("ISO-8859-6") << 5 << false << s("Arabic.");
        QTest::newRow("ISO-8859-7") << 6 << false << s("Modern Greek.");
        QTest::newRow("ISO-8859-8") << 7 << false << s("Hebrew.");
        QTest::newRow("ISO-8859-9")
            << 8 << false
            << s("Afrikaans, Basque, Catalan, Danish, Dutch, English, Faeroese, Finnish, French, "
                 "Galician, German, Turkish, Irish, Italian, Norwegian, Portuguese, Spanish and "
                 "Swedish.");
    }

    void characterSetNote()
    {
        QFETCH(int, index);
        QFETCH(bool, mouse);
        QFETCH(QString, note);

        if (mouse)
            chooseItemByMouse(form().ComboBox4, index);
        else
            chooseItem(form().ComboBox4, index);
        QCOMPARE(form().ComboBox4->currentIndex(), index);
        QCOMPARE(lines(form().Memo2), QStringList{note});
        QCOMPARE(mark(), s("Modified"));

        // Back to the first set: its note as one line, not the three of start-up.
        chooseItem(form().ComboBox4, 0);
        QCOMPARE(lines(form().Memo2), QStringList{ItemZeroNote});
    }

    void quickInsert_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("sourceText"); // typed into the source edit
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("targetLimit");

        const QString description = QString(249, QLatin1Char('d')) + QLatin1Char('!');
        QTest::newRow("BitBtn5 description")
            << s("BitBtn5") << s("Edit1") << description << s("Edit20") << 30;
        QTest::newRow("BitBtn7 comment")
            << s("BitBtn7") << s("Edit1") << description << s("Edit17") << 50;
        QTest::newRow("BitBtn2 title")
            << s("BitBtn2") << s("Edit6") << QString(75, QLatin1Char('t')) << s("Edit18") << 30;
        QTest::newRow("BitBtn3 creator")
            << s("BitBtn3") << s("Edit3") << QString(75, QLatin1Char('c')) << s("Edit19") << 30;
        QTest::newRow("BitBtn4 subject")
            << s("BitBtn4") << s("Edit2") << QString(200, QLatin1Char('k')) << s("Edit21") << 30;
        QTest::newRow("BitBtn6 language")
            << s("BitBtn6") << s("ComboBox5") << s("en-au") << s("Edit29") << 5;
        // An empty source empties the target.
        QTest::newRow("BitBtn5 empty")
            << s("BitBtn5") << s("Edit1") << QString() << s("Edit20") << 30;
        QTest::newRow("BitBtn7 empty")
            << s("BitBtn7") << s("Edit1") << QString() << s("Edit17") << 50;
        QTest::newRow("BitBtn2 empty")
            << s("BitBtn2") << s("Edit6") << QString() << s("Edit18") << 30;
        QTest::newRow("BitBtn3 empty")
            << s("BitBtn3") << s("Edit3") << QString() << s("Edit19") << 30;
        QTest::newRow("BitBtn4 empty")
            << s("BitBtn4") << s("Edit2") << QString() << s("Edit21") << 30;
    }

    void quickInsert()
    {
        QFETCH(QString, button);
        QFETCH(QString, source);
        QFETCH(QString, sourceText);
        QFETCH(QString, target);
        QFETCH(int, targetLimit);

        auto *targetEdit = form().findChild<QLineEdit *>(target);
        QVERIFY(targetEdit);
        typeInto(targetEdit, s("old"));
        if (auto *combo = form().findChild<QComboBox *>(source))
            chooseItem(combo, combo->findText(sourceText));
        else
            typeInto(form().findChild<QWidget *>(source), sourceText);

        auto *btn = form().findChild<QPushButton *>(button);
        showPageOf(btn);
        QTest::mouseClick(btn, Qt::LeftButton);
        QCOMPARE(targetEdit->text(), sourceText);
        QCOMPARE(mark(), s("Modified"));

        // The typing limit still governs the user: typing cannot lengthen the text.
        QTest::mouseClick(targetEdit, Qt::LeftButton);
        QTest::keyClick(targetEdit, Qt::Key_End);
        QTest::keyClicks(targetEdit, QString(targetLimit + 1, QLatin1Char('z')));
        QCOMPARE(targetEdit->text().size(), qMax(sourceText.size(), qsizetype(targetLimit)));
        QVERIFY(targetEdit->text().startsWith(sourceText));
    }

    void quickInsertIntoEmptyTargetFromStartUp()
    {
        // The language list has its item from start-up: the copy alone sets the mark.
        QCOMPARE(mark(), QString());
        showPageOf(form().BitBtn6);
        QTest::mouseClick(form().BitBtn6, Qt::LeftButton);
        QCOMPARE(form().Edit29->text(), s("en"));
        QCOMPARE(mark(), s("Modified"));
    }

    void programTextKeepsTypingLimit()
    {
        // A copied text longer than the limit can be shortened, but the user cannot type
        // into the box again until the text is shorter than the limit.
        typeInto(form().Edit1, QString(250, QLatin1Char('d')));
        showPageOf(form().BitBtn5);
        QTest::mouseClick(form().BitBtn5, Qt::LeftButton);
        FieldEdit *edit = form().Edit20;
        QCOMPARE(edit->text().size(), 250);

        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_End);
        for (int i = 0; i < 200; ++i)
            QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text().size(), 50);
        QTest::keyClicks(edit, s("q"));
        QCOMPARE(edit->text().size(), 50);
        // Undo brings the deleted text back, but typing still cannot lengthen it.
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString(250, QLatin1Char('d')));
        QTest::keyClicks(edit, s("qq"));
        QCOMPARE(edit->text(), QString(250, QLatin1Char('d')));

        // Replaced by typing, the text is held to the limit again.
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QString(40, QLatin1Char('n')));
        QCOMPARE(edit->text(), QString(30, QLatin1Char('n')));
    }

    void otherBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("other");
        QTest::addColumn<int>("choice"); // chosen first, with a text in the edit; -1: start-up

        QTest::newRow("script type") << s("CheckBox2") << s("ComboBox11") << s("Edit33") << -1;
        QTest::newRow("script type, text/php")
            << s("CheckBox2") << s("ComboBox11") << s("Edit33") << 3;
        QTest::newRow("style type") << s("CheckBox3") << s("ComboBox12") << s("Edit34") << -1;
        QTest::newRow("style type, text/css")
            << s("CheckBox3") << s("ComboBox12") << s("Edit34") << 0;
    }

    void otherBoxes()
    {
        QFETCH(QString, box);
        QFETCH(QString, list);
        QFETCH(QString, other);
        QFETCH(int, choice);

        auto *check = form().findChild<QCheckBox *>(box);
        auto *combo = form().findChild<QComboBox *>(list);
        auto *edit = form().findChild<QLineEdit *>(other);
        const QString text = choice >= 0 ? s("text/x") : QString();
        if (choice >= 0) {
            chooseItem(combo, choice);
            typeInto(edit, text);
        }
        const int index = combo->currentIndex();
        const QString markBefore = mark();

        for (bool checked : {true, false}) {
            clickIndicator(check);
            QCOMPARE(check->isChecked(), checked);
            QCOMPARE(combo->isEnabled(), !checked);
            QCOMPARE(combo->currentIndex(), index);
            QVERIFY(edit->isEnabled());
            QCOMPARE(edit->text(), text);
            QCOMPARE(mark(), markBefore);
        }
        // The keyboard toggles it the same way.
        QTest::keyClick(check, Qt::Key_Space);
        QVERIFY(check->isChecked() && !combo->isEnabled());
        QCOMPARE(mark(), markBefore);
    }

    // --- Commands

    void generate()
    {
        typeInto(form().Edit1, s("Toys \"for\" <kids>"));
        typeInto(form().Edit3, s(" "));
        chooseItem(form().ComboBox3, 5);
        press(Qt::Key_F2);

        QCOMPARE(form().PageControl1->currentIndex(), 4);
        const QStringList expected = quill::generateMetaCode(form().document());
        QCOMPARE(lines(form().Memo1), expected);
        QCOMPARE(mark(), s("Modified"));

        // A second run rebuilds the page rather than adding to it; text typed there is lost.
        QTest::mouseClick(form().Memo1->viewport(), Qt::LeftButton);
        QTest::keyClicks(form().Memo1, s("typed by hand"));
        press(Qt::Key_F2);
        QCOMPARE(lines(form().Memo1), expected);
        press(Qt::Key_F2);
        QCOMPARE(lines(form().Memo1), expected);
    }

    void workedExample_data()
    {
        QTest::addColumn<bool>("metaOnly");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("meta only") << true << worked::metaLines();
        QTest::newRow("full page") << false << worked::fullPageLines();
    }

    void workedExample()
    {
        QFETCH(bool, metaOnly);
        QFETCH(QStringList, expected);

        const struct {
            const char *control;
            const char *value;
        } typed[] = {
            {"Edit1", "Hand-made wooden toys"},
            {"Edit2", "toys, wooden, handmade"},
            {"Edit3", "Toy Workshop"},
            {"Edit4", "Text editor"},
            {"Edit5", "14"},
            {"Edit6", "Wooden Toys"},
            {"Edit7", "2001, 2002"},
            {"ComboBox5", "en-us"},
            {"Edit8", "new.html"},
            {"Edit9", "5"},
            {"ComboBox6", "Fri"},
            {"ComboBox7", "31"},
            {"ComboBox8", "Dec"},
            {"Edit10", "2004"},
            {"Edit11", "23"},
            {"Edit12", "59"},
            {"ComboBox9", "No-Cache"},
            {"Edit16", "rated-general"},
            {"Edit34", "text/xsl"},
            {"ComboBox13", "Hobbies"},
            {"Edit17", "Hand-made wooden toys"},
            {"Edit18", "Wooden Toys"},
            {"Edit19", "Toy Workshop"},
            {"Edit21", "toys, wooden, handmade"},
            {"Edit20", "Hand-made wooden toys"},
            {"Edit22", "Toy Workshop"},
            {"Edit23", "Photo Studio"},
            {"Edit24", "2002-06-01"},
            {"Edit25", "Text"},
            {"Edit26", "text/html"},
            {"Edit27", "toys.html"},
            {"Edit28", "catalogue"},
            {"Edit29", "en-us"},
            {"Edit30", "index.html"},
            {"Edit31", "World"},
            {"Edit32", "All rights reserved"},
        };
        for (const auto &t : typed) {
            QWidget *w = form().findChild<QWidget *>(s(t.control));
            QVERIFY2(w, t.control);
            if (auto *combo = qobject_cast<QComboBox *>(w))
                chooseItem(combo, combo->findText(s(t.value)));
            else
                typeInto(w, s(t.value));
            if (QTest::currentTestFailed())
                return;
        }
        showPageOf(form().CheckBox3);
        clickIndicator(form().CheckBox3);
        QVERIFY(form().CheckBox3->isChecked());

        typeInto(m_prefs->Edit1, s("Wooden Toys"));
        typeInto(m_prefs->Edit2, s("style.css"));
        typeInto(m_prefs->Edit3, s("favicon.ico"));
        if (metaOnly)
            clickIndicator(m_prefs->RadioButton1);
        QCOMPARE(m_prefs->RadioButton1->isChecked(), metaOnly);
        m_prefs->hide();
        activateForm();

        press(Qt::Key_F2);
        QCOMPARE(lines(form().Memo1), expected);
        QCOMPARE(lines(form().Memo1), quill::generateMetaCode(form().document()));
    }

    void resetAllFields()
    {
        // A document with every kind of change, a generated page and meta-only mode.
        typeInto(form().Edit1, s("A description"));
        typeInto(form().Edit2, s("some, keywords"));
        typeInto(form().Edit24, s("2020-01-01"));
        typeInto(form().Edit33, s("text/lua"));
        typeInto(form().Edit34, s("text/xsl"));
        chooseItem(form().ComboBox3, 0);
        chooseItem(form().ComboBox4, 4);
        chooseItem(form().ComboBox10, 0);
        chooseItem(form().ComboBox13, 10);
        showPageOf(form().CheckBox2);
        clickIndicator(form().CheckBox2);
        clickIndicator(form().CheckBox3);
        typeInto(m_prefs->Edit1, s("Title"));
        typeInto(m_prefs->Edit2, s("style.css"));
        typeInto(m_prefs->Edit3, s("favicon.ico"));
        clickIndicator(m_prefs->RadioButton1);
        m_prefs->hide();
        activateForm();
        press(Qt::Key_F2);
        const QString code = form().Memo1->toPlainText();
        QVERIFY(!code.isEmpty());
        press(Qt::Key_F7);
        QTest::mouseClick(form().Edit16, Qt::LeftButton);
        form().setStatusPanelText(1, s("toys.qmk")); // as Save would leave it

        press(Qt::CTRL | Qt::Key_R);

        quill::TagDocument expected = quill::TagDocument::startUp();
        expected.setMode(quill::GenerationMode::MetaOnly);
        verifyDocument(expected);
        QCOMPARE(form().Memo1->toPlainText(), code);
        QCOMPARE(form().PageControl1->currentIndex(), 2);
        QVERIFY(!form().CheckBox2->isChecked());
        QVERIFY(!form().CheckBox3->isChecked());
        QVERIFY(form().ComboBox11->isEnabled());
        QVERIFY(form().ComboBox12->isEnabled());
        QCOMPARE(form().Edit14->text(), s("250"));
        QCOMPARE(form().Edit15->text(), s("200"));
        QCOMPARE(form().Edit24->text(), s("YYYY-MM-DD"));
        QCOMPARE(m_prefs->Edit1->text(), QString());
        QCOMPARE(m_prefs->Edit2->text(), QString());
        QCOMPARE(m_prefs->Edit3->text(), QString());
        QVERIFY(m_prefs->RadioButton1->isChecked());
        QCOMPARE(lines(form().Memo2), QStringList{ItemZeroNote});
        QCOMPARE(mark(), s("Saved"));
        QCOMPARE(statusPanels()[1]->text(), s("toys.qmk"));
        QCOMPARE(form().Edit13->text(), m_startFolder);
        QVERIFY(m_prompts.boxes().isEmpty());

        // The kept code page is the user's to edit, and editing it is a change.
        QTest::keyClick(form().Edit16, Qt::Key_F9);
        QTest::mouseClick(form().Memo1->viewport(), Qt::LeftButton);
        QTest::keyClicks(form().Memo1, s("<!-- by hand -->"));
        QCOMPARE(mark(), s("Modified"));
    }

    void newWhenModified_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("Cancel") << false;
        QTest::newRow("OK") << true;
    }

    void newWhenModified()
    {
        QFETCH(bool, ok);

        typeInto(form().Edit6, s("A title"));
        chooseItem(form().ComboBox5, 13);
        chooseItem(form().ComboBox4, 7);
        typeInto(m_prefs->Edit1, s("Page"));
        m_prefs->hide();
        activateForm();
        press(Qt::Key_F2);
        press(Qt::Key_F8);
        QTest::mouseClick(form().Edit22, Qt::LeftButton);
        const quill::TagDocument before = form().document();
        const QString code = form().Memo1->toPlainText();
        QCOMPARE(mark(), s("Modified"));

        m_prompts.answerBox(ok ? QMessageBox::Ok : QMessageBox::Cancel);
        press(Qt::CTRL | Qt::Key_N);

        const quill::Message question{s("Warning"), s("Are you sure you want to clear all fields?"),
                                      QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel,
                                      QMessageBox::Ok};
        QCOMPARE(m_prompts.boxes(), QList<quill::Message>{question});
        if (!ok) {
            verifyDocument(before);
            QCOMPARE(form().Memo1->toPlainText(), code);
            QCOMPARE(form().PageControl1->currentIndex(), 3);
            QCOMPARE(lines(form().Memo2), list({"Hebrew."}));
            QCOMPARE(mark(), s("Modified"));
            return;
        }
        verifyDocument(quill::TagDocument::startUp());
        QCOMPARE(lines(form().Memo2), QStringList{ItemZeroNote});
        QVERIFY(form().Memo1->toPlainText().isEmpty());
        QCOMPARE(form().PageControl1->currentIndex(), 0);
        QCOMPARE(form().Edit14->text(), s("250"));
        QCOMPARE(form().Edit15->text(), s("200"));
        QCOMPARE(mark(), s("Saved"));
    }

    void newWhenNotModified_data()
    {
        QTest::addColumn<bool>("afterReset");
        QTest::newRow("start-up, Other checked") << false;
        QTest::newRow("after a reset, code on the page") << true;
    }

    void newWhenNotModified()
    {
        QFETCH(bool, afterReset);

        // Unscripted: any question here fails the test.
        if (afterReset) {
            typeInto(form().Edit1, s("Gone soon"));
            press(Qt::Key_F2);
            press(Qt::CTRL | Qt::Key_R);
            QCOMPARE(mark(), s("Saved"));
            QVERIFY(!form().Memo1->toPlainText().isEmpty());
        } else {
            showPageOf(form().CheckBox2);
            clickIndicator(form().CheckBox2);
            QCOMPARE(mark(), QString());
        }
        const int pageBefore = form().PageControl1->currentIndex();
        QVERIFY(pageBefore != 0);

        press(Qt::CTRL | Qt::Key_N);

        QVERIFY(m_prompts.boxes().isEmpty());
        verifyDocument(quill::TagDocument::startUp());
        QVERIFY(form().ComboBox11->isEnabled());
        QVERIFY(form().Memo1->toPlainText().isEmpty());
        QCOMPARE(form().PageControl1->currentIndex(), 0);
        QCOMPARE(mark(), s("Saved"));
    }

    void pageSwitching_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("caption");
        QTest::newRow("F5 Basic") << int(Qt::Key_F5) << 0 << s("Basic");
        QTest::newRow("F6 Advanced") << int(Qt::Key_F6) << 1 << s("Advanced");
        QTest::newRow("F7 Extra Tags") << int(Qt::Key_F7) << 2 << s("Extra Tags");
        QTest::newRow("F8 DC Tags") << int(Qt::Key_F8) << 3 << s("DC Tags");
        QTest::newRow("F9 HTML Tags") << int(Qt::Key_F9) << 4 << s("HTML Code");
    }

    void pageSwitching()
    {
        QFETCH(int, key);
        QFETCH(int, page);
        QFETCH(QString, caption);

        // Start from another page, with the focus in one of its fields.
        const int from = (page + 2) % 5;
        QTabBar *tabs = form().PageControl1->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(from).center());
        QCOMPARE(form().PageControl1->currentIndex(), from);
        if (from != 4) {
            QLineEdit *field =
                form().PageControl1->widget(from)->findChildren<QLineEdit *>().constFirst();
            QTest::mouseClick(field, Qt::LeftButton);
        }
        const quill::TagDocument before = form().document();

        press(Qt::Key(key));
        QCOMPARE(form().PageControl1->currentIndex(), page);
        QCOMPARE(form().PageControl1->tabText(page), caption);
        verifyDocument(before);
        QCOMPARE(mark(), QString());
    }

    void shellTargets_data()
    {
        QTest::addColumn<QKeySequence>("key"); // pressed in Edit1; empty: the item is triggered
        QTest::addColumn<QString>("item");     // menu item, or Button19
        QTest::addColumn<QStringList>(
            "target"); // path pieces after the start folder; empty: the hint

        QTest::newRow("F1 Help") << QKeySequence(Qt::Key_F1) << s("Help2")
                                 << list({"help", "index.html"});
        QTest::newRow("Ctrl+D Readme")
            << QKeySequence(Qt::CTRL | Qt::Key_D) << s("Readme1") << list({"readme.txt"});
        QTest::newRow("Ctrl+I Site Promotion")
            << QKeySequence(Qt::CTRL | Qt::Key_I) << s("SitePromotion1") << list({"sitepromo.hlp"});
        QTest::newRow("Help menu, Help")
            << QKeySequence() << s("Help2") << list({"help", "index.html"});
        QTest::newRow("Website") << QKeySequence() << s("Website1") << QStringList();
        QTest::newRow("Check For Update")
            << QKeySequence() << s("CheckforUpdate1") << QStringList();
        QTest::newRow("Support") << QKeySequence() << s("Support1") << QStringList();
        QTest::newRow("Support Forum") << QKeySequence() << s("SupportForum1") << QStringList();
        QTest::newRow("Button19 Help")
            << QKeySequence() << s("Button19") << list({"help", "context1.html"});
    }

    void shellTargets()
    {
        QFETCH(QKeySequence, key);
        QFETCH(QString, item);
        QFETCH(QStringList, target);

        QTest::mouseClick(form().Edit1, Qt::LeftButton);
        QString expected;
        if (!target.isEmpty())
            expected = m_startFolder + QDir::separator() + target.join(QDir::separator());

        if (!key.isEmpty()) {
            press(key[0]);
        } else if (auto *button = form().findChild<QPushButton *>(item)) {
            showPageOf(button);
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            auto *action = form().findChild<QAction *>(item);
            QVERIFY(action);
            expected = target.isEmpty() ? action->property("hint").toString() : expected;
            action->trigger();
            QCOMPARE(action->property("hint").toString(),
                     target.isEmpty() ? expected : target.last());
        }
        QCOMPARE(m_shell.targets, QStringList{expected});
        QVERIFY(m_prompts.boxes().isEmpty());
        QCOMPARE(mark(), QString());

        // The web items: one home page three times, and a mail address for support.
        if (target.isEmpty()) {
            const QString home =
                form().findChild<QAction *>(s("Website1"))->property("hint").toString();
            QVERIFY2(home.startsWith(QLatin1StringView("http")), qPrintable(home));
            if (item == QLatin1StringView("Support1"))
                QVERIFY2(expected.startsWith(QLatin1StringView("mailto:")), qPrintable(expected));
            else
                QCOMPARE(expected, home);
        }
    }

    void startFolderSurvivesDirectoryChange()
    {
        QTemporaryDir elsewhere;
        QVERIFY(elsewhere.isValid());
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        QTest::mouseClick(form().Edit1, Qt::LeftButton);
        press(Qt::Key_F1);
        press(Qt::CTRL | Qt::Key_D);
        QDir::setCurrent(previous);

        QCOMPARE(form().Edit13->text(), m_startFolder);
        const QString sep = QDir::separator();
        QCOMPARE(m_shell.targets,
                 QStringList({m_startFolder + sep + s("help") + sep + s("index.html"),
                              m_startFolder + sep + s("readme.txt")}));
    }

    void contextMenuEverywhere_data()
    {
        QTest::addColumn<QString>("control");
        for (const char *name : {"Edit1", "Edit14", "ComboBox1", "Button11", "Panel2", "CheckBox2",
                                 "BitBtn7", "Memo1", "PageControl1"})
            QTest::newRow(name) << s(name);
    }

    // The window's context menu serves every control that has none of its own.
    void contextMenuEverywhere()
    {
        QFETCH(QString, control);
        QWidget *w = form().findChild<QWidget *>(control);
        QVERIFY(w);
        showPageOf(w);
        auto *memo = qobject_cast<QPlainTextEdit *>(w);
        QVERIFY(openContextMenu(memo ? memo->viewport() : w));
        form().PopupMenu1->close();
    }

    void editActionsEnabled_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("selectLeft"); // Shift+Left presses after typing
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("enabled");

        QTest::newRow("empty field, text on the clipboard")
            << s("Edit1") << QString() << 0 << s("clip") << list({"EditPaste1"});
        QTest::newRow("empty field, empty clipboard")
            << s("Edit1") << QString() << 0 << QString() << QStringList();
        QTest::newRow("typed text, no selection")
            << s("Edit1") << s("hello") << 0 << QString() << list({"EditUndo1", "EditSelectAll1"});
        QTest::newRow("selection") << s("Edit1") << s("hello") << 3 << s("clip")
                                   << list({"EditUndo1", "EditCut1", "EditCopy1", "EditPaste1",
                                            "EditDelete1", "EditSelectAll1"});
        QTest::newRow("selection in the code page")
            << s("Memo1") << s("<meta>") << 2 << QString()
            << list({"EditUndo1", "EditCut1", "EditCopy1", "EditDelete1", "EditSelectAll1"});
        QTest::newRow("list") << s("ComboBox1") << QString() << 0 << s("clip") << QStringList();
    }

    void editActionsEnabled()
    {
        QFETCH(QString, focus);
        QFETCH(QString, typed);
        QFETCH(int, selectLeft);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, enabled);

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
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), combo);
        } else if (auto *memo = qobject_cast<QPlainTextEdit *>(w)) {
            QTest::mouseClick(memo->viewport(), Qt::LeftButton);
        } else {
            QTest::mouseClick(w, Qt::LeftButton);
        }
        QTest::keyClicks(QApplication::focusWidget(), typed);
        for (int i = 0; i < selectLeft; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left, Qt::ShiftModifier);

        const bool opened = openContextMenu();
        QStringList actual;
        for (const char *name : EditActionNames) {
            if (form().findChild<QAction *>(s(name))->isEnabled())
                actual << s(name);
        }
        form().PopupMenu1->close();
        QCOMPARE(actual, enabled);
        // A list opening no menu is a fault of its own, checked above.
        if (!qobject_cast<QComboBox *>(w))
            QVERIFY(opened);
    }

    void editActionsAct_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("clipboard");

        // "hello world" is typed into Edit1 and "world" selected; the clipboard holds "clip".
        QTest::newRow("Undo") << s("EditUndo1") << QString() << QString() << s("clip");
        QTest::newRow("Cut") << s("EditCut1") << s("hello ") << QString() << s("world");
        QTest::newRow("Copy") << s("EditCopy1") << s("hello world") << s("world") << s("world");
        QTest::newRow("Paste") << s("EditPaste1") << s("hello clip") << QString() << s("clip");
        QTest::newRow("Delete") << s("EditDelete1") << s("hello ") << QString() << s("clip");
        QTest::newRow("Select All")
            << s("EditSelectAll1") << s("hello world") << s("hello world") << s("clip");
    }

    void editActionsAct()
    {
        QFETCH(QString, action);
        QFETCH(QString, text);
        QFETCH(QString, selected);
        QFETCH(QString, clipboard);

        QApplication::clipboard()->setText(s("clip"));
        QTest::mouseClick(form().Edit1, Qt::LeftButton);
        QTest::keyClicks(form().Edit1, s("hello world"));
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(form().Edit1, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(form().Edit1->selectedText(), s("world"));

        // Chosen with the mouse from the context menu.
        QVERIFY(openContextMenu());
        QMenu *menu = form().PopupMenu1;
        QAction *item = form().findChild<QAction *>(action);
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
        QCOMPARE(form().Edit14->text(), QString::number(250 - text.size()));
    }

private:
    // --- Helpers

    TForm1 &form() { return *m_form; }

    QWidget *control(const QString &window, const QString &name)
    {
        QWidget *owner = window == QLatin1StringView("Form2") ? static_cast<QWidget *>(m_prefs)
                                                              : static_cast<QWidget *>(m_form);
        return owner->findChild<QWidget *>(name);
    }

    void closeWindows()
    {
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        // Destroyed while shown and holding the focus, as the program does at exit.
        m_app.reset();
    }

    void activateForm()
    {
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
    }

    void showPreferences()
    {
        if (m_prefs->isVisible())
            return;
        m_prefs->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_prefs));
    }

    QList<QLabel *> statusPanels()
    {
        QList<QLabel *> panels = form().StatusBar1->findChildren<QLabel *>();
        std::sort(panels.begin(), panels.end(),
                  [](QLabel *a, QLabel *b) { return a->x() < b->x(); });
        return panels;
    }

    QString mark()
    {
        const QList<QLabel *> panels = statusPanels();
        return panels.isEmpty() ? QStringLiteral("<no panel>") : panels.constFirst()->text();
    }

    // Brings the page that holds `widget` to the front by clicking its tab.
    void showPageOf(QWidget *widget)
    {
        QTabWidget *pages = form().PageControl1;
        for (QWidget *w = widget; w; w = w->parentWidget()) {
            const int index = pages->indexOf(w);
            if (index < 0)
                continue;
            if (pages->currentIndex() != index) {
                QTabBar *tabs = pages->tabBar();
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
            }
            QCOMPARE(pages->currentIndex(), index);
            return;
        }
    }

    // Clicks into the field, selects what it holds and types `text` over it.
    void typeInto(QWidget *edit, const QString &text)
    {
        if (edit->window() == m_prefs)
            showPreferences();
        else
            showPageOf(edit);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
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
        if (button->window() == m_prefs)
            showPreferences();
        else
            showPageOf(button);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    // A key press where the user's focus is, as the keyboard delivers it.
    void press(QKeyCombination key)
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : m_form;
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

    // A right click where the focus is, as the platform delivers it; true when the
    // window's context menu opened.
    bool openContextMenu(QWidget *target = nullptr)
    {
        if (!target)
            target = QApplication::focusWidget() ? QApplication::focusWidget() : m_form;
        const QPoint pos(2, 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, target->mapToGlobal(pos));
        QApplication::sendEvent(target, &event);
        return form().PopupMenu1->isVisible();
    }

    void verifyDocument(const quill::TagDocument &expected)
    {
        const quill::TagDocument actual = form().document();
        for (const quill::FieldDef &field : quill::fieldCatalogue()) {
            const Field f = field.id;
            const QString where =
                QStringLiteral(
                    "%1%2: \"%3\" item %4 checked %5, expected \"%6\" item %7 checked %8")
                    .arg(QString::fromLatin1(field.control),
                         field.owner == quill::Owner::Preferences ? s(" of TForm2") : QString(),
                         actual.text(f))
                    .arg(actual.index(f))
                    .arg(actual.isChecked(f))
                    .arg(expected.text(f))
                    .arg(expected.index(f))
                    .arg(expected.isChecked(f));
            QVERIFY2(actual.text(f) == expected.text(f) && actual.index(f) == expected.index(f) &&
                         actual.isChecked(f) == expected.isChecked(f),
                     qPrintable(where));
        }
        QVERIFY(actual.mode() == expected.mode());
    }

    ScriptedPrompts m_prompts;
    RecordingShell m_shell;
    QString m_startFolder;
    std::unique_ptr<quill::Application> m_app;
    TForm2 *m_prefs = nullptr;
    TForm1 *m_form = nullptr;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
