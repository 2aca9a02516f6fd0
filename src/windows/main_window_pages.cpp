// Building the main window's pages: the field controls come from the catalogue,
// the rest of each page (counters, notes, QuickInsert and "?" buttons) from here.

#include "windows/main_window.h"

#include "windows/accessible_names.h"
#include "windows/code_page.h"
#include "windows/field_controls.h"
#include "windows/field_edit.h"
#include "windows/page_control_style.h"
#include "windows/pictures.h"
#include "windows/preferences_dialog.h"
#include "windows/tag_descriptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

using quill::Field;
using quill::FieldDef;
using quill::Owner;
using quill::Page;
using quill::rowTop;

namespace {

constexpr int CounterLeft = 408;

QFrame *createPanel(const char *name, QWidget *page, const QRect &geometry, QFrame::Shadow shadow)
{
    auto *panel = new QFrame(page);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | shadow);
    panel->setGeometry(geometry);
    return panel;
}

QGroupBox *createGroup(const char *name, const char *caption, QWidget *parent,
                       const QRect &geometry)
{
    auto *group = new QGroupBox(QString::fromLatin1(caption), parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    return group;
}

// A QuickInsert button, named after the field it fills in (none for the tip's picture).
QPushButton *createQuickInsertButton(const char *name, QWidget *parent, int left, int top,
                                     std::optional<Field> fills = std::nullopt)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(fills ? QStringLiteral("QuickInsert: ") +
                                          quill::accessibleFieldName(quill::fieldDef(*fills))
                                    : QStringLiteral("QuickInsert"));
    button->setIcon(quill::quickInsertPicture());
    button->setIconSize(QSize(9, 9));
    button->setGeometry(left, top, 17, 20);
    return button;
}

// A counter of the characters left: read-only, in the 3-D face colour, never focused.
QLineEdit *createCounter(const char *name, Field field, QWidget *parent, int top)
{
    auto *counter = new QLineEdit(QString::number(quill::fieldDef(field).limit), parent);
    counter->setObjectName(QString::fromLatin1(name));
    counter->setAccessibleName(QStringLiteral("Characters left"));
    counter->setReadOnly(true);
    counter->setFocusPolicy(Qt::NoFocus);
    counter->setContextMenuPolicy(Qt::NoContextMenu);
    QPalette palette = counter->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    counter->setPalette(palette);
    counter->setGeometry(CounterLeft, top, 25, 21);
    return counter;
}

// Tab order follows the reading order of a page: panel by panel (a page with two
// panels side by side is read as two columns), and within a panel top to bottom, then
// left to right.
void arrangeTabOrder(QWidget *page)
{
    const auto panelOf = [page](QWidget *w) {
        while (w->parentWidget() != page)
            w = w->parentWidget();
        return w;
    };
    const auto readingKey = [page](QWidget *w) {
        const QPoint p = w->mapTo(page, QPoint(0, 0));
        return std::pair(p.y(), p.x());
    };
    QList<QWidget *> order;
    for (QWidget *w : page->findChildren<QWidget *>()) {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->isHidden() && !w->focusProxy())
            order << w;
    }
    std::stable_sort(order.begin(), order.end(), [&](QWidget *a, QWidget *b) {
        return std::pair(readingKey(panelOf(a)), readingKey(a)) <
               std::pair(readingKey(panelOf(b)), readingKey(b));
    });
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace

void TForm1::buildPages(QWidget *client)
{
    PageControl1 = new QTabWidget(client);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 8, 483, 297);
    auto *pageStyle = new quill::PageControlStyle;
    pageStyle->setParent(PageControl1);
    PageControl1->setStyle(pageStyle);
    PageControl1->tabBar()->setStyle(pageStyle);
    PageControl1->tabBar()->setAttribute(Qt::WA_Hover);

    QWidget **sheets[] = {&TabSheet1, &TabSheet2, &TabSheet4, &TabSheet5, &TabSheet3};
    for (const quill::PageDef &def : quill::pageCatalogue()) {
        auto *page = new QWidget;
        page->setObjectName(QString::fromLatin1(def.sheet));
        PageControl1->addTab(page, QString::fromLatin1(def.caption));
        *sheets[static_cast<int>(def.page)] = page;
    }

    const QRect pageArea(0, 0, 475, 269);
    Panel2 = createPanel("Panel2", TabSheet1, pageArea, QFrame::Sunken);
    Panel1 = createPanel("Panel1", TabSheet2, pageArea, QFrame::Sunken);
    Panel3 = createPanel("Panel3", TabSheet4, pageArea, QFrame::Sunken);
    Panel4 = createPanel("Panel4", TabSheet5, QRect(0, 0, 235, 269), QFrame::Raised);
    Panel5 = createPanel("Panel5", TabSheet5, QRect(240, 0, 235, 269), QFrame::Sunken);
    GroupBox1 = createGroup("GroupBox1", " Char Set ", Panel1, QRect(8, 8, 441, 121));
    GroupBox2 = createGroup("GroupBox2", " Comments ", Panel3, QRect(8, 160, 457, 89));
    GroupBox3 = createGroup("GroupBox3", " Tips ", Panel5, QRect(8, 136, 217, 97));

    // Every field of the catalogue in its container, in the order of the table.
    for (const FieldDef &def : quill::fieldCatalogue()) {
        if (def.owner != Owner::Main)
            continue;
        auto *container = findChild<QWidget *>(QString::fromLatin1(def.geometry.parent));
        Q_ASSERT(container);
        m_fields[quill::fieldIndex(def.id)] = quill::createFieldControl(def, container);
    }
    for (const FieldDef &def : quill::fieldCatalogue()) {
        if (def.owner == Owner::Preferences)
            m_fields[quill::fieldIndex(def.id)] = m_preferences.pageHeadEdit(def.id);
    }

    buildBasicPage();
    buildAdvancedPage();
    buildExtraTagsPage();
    buildDcTagsPage();
    buildDescriptionButtons();

    Memo1 = new CodePage(TabSheet3);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("HTML Code"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setContextMenuPolicy(Qt::NoContextMenu);
    auto *codeLayout = new QVBoxLayout(TabSheet3);
    codeLayout->setContentsMargins(0, 0, 0, 0);
    codeLayout->addWidget(Memo1);

    for (const quill::PageDef &def : quill::pageCatalogue()) {
        if (def.page != Page::HtmlCode)
            arrangeTabOrder(PageControl1->widget(static_cast<int>(def.page)));
    }
    showPage(Page::Basic);
}

QWidget *TForm1::fieldControl(Field field) const
{
    return m_fields[quill::fieldIndex(field)];
}

void TForm1::buildBasicPage()
{
    Edit1 = control<FieldEdit>(Field::Edit1);
    Edit2 = control<FieldEdit>(Field::Edit2);
    Edit3 = control<FieldEdit>(Field::Edit3);
    Edit4 = control<FieldEdit>(Field::Edit4);
    Edit5 = control<FieldEdit>(Field::Edit5);
    Edit6 = control<FieldEdit>(Field::Edit6);
    Edit7 = control<FieldEdit>(Field::Edit7);
    ComboBox1 = control<QComboBox>(Field::ComboBox1);
    ComboBox2 = control<QComboBox>(Field::ComboBox2);
    ComboBox3 = control<QComboBox>(Field::ComboBox3);

    Edit14 = createCounter("Edit14", Field::Edit1, Panel2, rowTop(0));
    Edit15 = createCounter("Edit15", Field::Edit2, Panel2, rowTop(1));
    quill::createLabel("Days", 128, rowTop(4) + 2, Panel2);
}

void TForm1::buildAdvancedPage()
{
    ComboBox4 = control<QComboBox>(Field::ComboBox4);
    ComboBox5 = control<QComboBox>(Field::ComboBox5);
    Edit8 = control<FieldEdit>(Field::Edit8);
    Edit9 = control<FieldEdit>(Field::Edit9);
    ComboBox6 = control<QComboBox>(Field::ComboBox6);
    ComboBox7 = control<QComboBox>(Field::ComboBox7);
    ComboBox8 = control<QComboBox>(Field::ComboBox8);
    Edit10 = control<FieldEdit>(Field::Edit10);
    Edit11 = control<FieldEdit>(Field::Edit11);
    Edit12 = control<FieldEdit>(Field::Edit12);

    quill::createLabel("The selected character", 8, 53, GroupBox1);
    quill::createLabel("set supports the following", 8, 66, GroupBox1);
    quill::createLabel("language(s):", 8, 79, GroupBox1);
    Memo2 = new QPlainTextEdit(GroupBox1);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setAccessibleName(QStringLiteral("Languages of the character set"));
    Memo2->setGeometry(144, 51, 289, 62);
    Memo2->setReadOnly(true);
    Memo2->setEnabled(false);
    Memo2->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo2->document()->setDocumentMargin(2);
    Memo2->setContextMenuPolicy(Qt::NoContextMenu);
    QStringList note;
    for (const char *line : quill::startUpCharacterSetNote())
        note << QString::fromLatin1(line);
    Memo2->setPlainText(note.join(QLatin1Char('\n')));

    quill::createLabel("Go to URL ", 96, 170, Panel1);
    quill::createLabel("seconds", 360, 170, Panel1);

    Edit13 = new QLineEdit(Panel1);
    Edit13->setObjectName(QStringLiteral("Edit13"));
    Edit13->setAccessibleName(QStringLiteral("Start folder"));
    Edit13->hide();
}

void TForm1::buildExtraTagsPage()
{
    ComboBox9 = control<QComboBox>(Field::ComboBox9);
    ComboBox10 = control<QComboBox>(Field::ComboBox10);
    Edit16 = control<FieldEdit>(Field::Edit16);
    ComboBox11 = control<QComboBox>(Field::ComboBox11);
    CheckBox2 = control<QCheckBox>(Field::CheckBox2);
    Edit33 = control<FieldEdit>(Field::Edit33);
    ComboBox12 = control<QComboBox>(Field::ComboBox12);
    CheckBox3 = control<QCheckBox>(Field::CheckBox3);
    Edit34 = control<FieldEdit>(Field::Edit34);
    ComboBox13 = control<QComboBox>(Field::ComboBox13);
    Edit17 = control<FieldEdit>(Field::Edit17);

    BitBtn7 = createQuickInsertButton("BitBtn7", GroupBox2, 8, 54, Field::Edit17);
    quill::createLabel("Use Description", 32, 56, GroupBox2);
}

void TForm1::buildDcTagsPage()
{
    Edit18 = control<FieldEdit>(Field::Edit18);
    Edit19 = control<FieldEdit>(Field::Edit19);
    Edit21 = control<FieldEdit>(Field::Edit21);
    Edit20 = control<FieldEdit>(Field::Edit20);
    Edit22 = control<FieldEdit>(Field::Edit22);
    Edit23 = control<FieldEdit>(Field::Edit23);
    Edit24 = control<FieldEdit>(Field::Edit24);
    Edit25 = control<FieldEdit>(Field::Edit25);
    Edit26 = control<FieldEdit>(Field::Edit26);
    Edit27 = control<FieldEdit>(Field::Edit27);
    Edit28 = control<FieldEdit>(Field::Edit28);
    Edit29 = control<FieldEdit>(Field::Edit29);
    Edit30 = control<FieldEdit>(Field::Edit30);
    Edit31 = control<FieldEdit>(Field::Edit31);
    Edit32 = control<FieldEdit>(Field::Edit32);

    BitBtn2 = createQuickInsertButton("BitBtn2", Panel4, 208, rowTop(0), Field::Edit18);
    BitBtn3 = createQuickInsertButton("BitBtn3", Panel4, 208, rowTop(1), Field::Edit19);
    BitBtn4 = createQuickInsertButton("BitBtn4", Panel4, 208, rowTop(2), Field::Edit21);
    BitBtn5 = createQuickInsertButton("BitBtn5", Panel4, 208, rowTop(3), Field::Edit20);
    BitBtn6 = createQuickInsertButton("BitBtn6", Panel5, 208, rowTop(1), Field::Edit29);

    QLabel *firstTip =
        quill::createLabel("Clicking on the QuickInsert button (       )", 8, 25, GroupBox3);
    quill::createLabel("will automatically fill in the information", 8, 41, GroupBox3);
    quill::createLabel("based on the data you entered into the", 8, 57, GroupBox3);
    quill::createLabel("previous Meta boxes, saving you time!", 8, 73, GroupBox3);
    // Only shows the picture the tip talks about.
    // It sits in the blank between the parentheses, wherever the font puts them.
    const QFontMetrics metrics(firstTip->font());
    const int blankLeft =
        firstTip->x() +
        metrics.horizontalAdvance(QStringLiteral("Clicking on the QuickInsert button ("));
    const int blankWidth = metrics.horizontalAdvance(QStringLiteral("       "));
    BitBtn1 = createQuickInsertButton("BitBtn1", GroupBox3, blankLeft + (blankWidth - 17) / 2, 22);
    BitBtn1->setFocusPolicy(Qt::NoFocus);

    Button19 = new QPushButton(QStringLiteral("Help"), Panel5);
    Button19->setObjectName(QStringLiteral("Button19"));
    Button19->setGeometry(152, 240, 75, 25);
    // The help page it opens stands in its hint, as for the menu items.
    Button19->setProperty("hint", QStringLiteral("context1.html"));
}

void TForm1::buildDescriptionButtons()
{
    for (const quill::TagDescription &d : quill::tagDescriptions()) {
        auto *container = findChild<QWidget *>(QString::fromLatin1(d.parent));
        Q_ASSERT(container);
        auto *button = new QPushButton(QStringLiteral("?"), container);
        button->setObjectName(QString::fromLatin1(d.button));
        button->setAccessibleName(quill::descriptionButtonName(quill::fieldDef(d.field)));
        button->setAccessibleDescription(QString::fromLatin1(d.text));
        button->setGeometry(d.left, d.top, 25, 20);
        connect(button, &QPushButton::clicked, this, &TForm1::DescriptionClick);
    }
}
