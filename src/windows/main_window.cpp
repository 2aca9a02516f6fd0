#include "windows/main_window.h"

#include "document/meta_generator.h"
#include "windows/field_controls.h"
#include "windows/field_edit.h"
#include "windows/page_control_style.h"
#include "windows/pictures.h"
#include "windows/preferences_dialog.h"
#include "windows/prompts.h"
#include "windows/shell.h"
#include "windows/tag_descriptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

using quill::Field;
using quill::FieldKind;
using quill::FieldSpec;
using quill::Owner;

namespace {

constexpr int ClientWidth = 484;
constexpr int ClientHeight = 325;
constexpr int StatusBarHeight = 19;
constexpr int CounterLeft = 408;

constexpr int row(int n)
{
    return 8 + 24 * n;
}

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

QPushButton *createQuickInsertButton(const char *name, QWidget *parent, int left, int top)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(quill::quickInsertPicture());
    button->setIconSize(QSize(9, 9));
    button->setGeometry(left, top, 17, 20);
    return button;
}

// A counter of the characters left: read-only, in the 3-D face colour, never focused.
QLineEdit *createCounter(const char *name, const char *text, QWidget *parent, int top)
{
    auto *counter = new QLineEdit(QString::fromLatin1(text), parent);
    counter->setObjectName(QString::fromLatin1(name));
    counter->setReadOnly(true);
    counter->setFocusPolicy(Qt::NoFocus);
    counter->setContextMenuPolicy(Qt::NoContextMenu);
    QPalette palette = counter->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    counter->setPalette(palette);
    counter->setGeometry(CounterLeft, top, 25, 21);
    return counter;
}

// Tab order follows the reading order of a page: top to bottom, then left to right.
void arrangeTabOrder(QWidget *page)
{
    QList<QWidget *> order;
    for (QWidget *w : page->findChildren<QWidget *>()) {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->isHidden() && !w->focusProxy())
            order << w;
    }
    std::stable_sort(order.begin(), order.end(), [page](QWidget *a, QWidget *b) {
        const QPoint pa = a->mapTo(page, QPoint(0, 0));
        const QPoint pb = b->mapTo(page, QPoint(0, 0));
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace

TForm1::TForm1(TForm2 &preferences, quill::Prompts &prompts, quill::Shell &shell, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint)
    , m_preferences(preferences)
    , m_prompts(prompts)
    , m_shell(shell)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quillmark v2.0"));

    buildPages();
    buildStatusBar();
    buildMenus();
    buildPopupMenu();
    connectFieldReactions();
    keepCommandShortcuts();

    // The window keeps its designed client size: the menu bar stands above it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // FormCreate: record the start folder.
    Edit13->setText(QDir::toNativeSeparators(QDir::currentPath()));

    // Typing starts with the first field of the first page.
    Edit1->setFocus();
}

TForm1::~TForm1()
{
    // Closing the window moves the focus; the edit actions must not follow it into a
    // window that is half taken apart.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QApplication::clipboard(), nullptr, this, nullptr);
}

// ---------------------------------------------------------------------------
// Building the window

void TForm1::buildPages()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    client->setFixedSize(ClientWidth, ClientHeight - StatusBarHeight);
    setCentralWidget(client);

    PageControl1 = new QTabWidget(client);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 8, 483, 297);
    auto *pageStyle = new quill::PageControlStyle;
    pageStyle->setParent(PageControl1);
    PageControl1->setStyle(pageStyle);
    PageControl1->tabBar()->setStyle(pageStyle);
    PageControl1->tabBar()->setAttribute(Qt::WA_Hover);

    const auto addPage = [this](const char *name, const char *caption) {
        auto *page = new QWidget;
        page->setObjectName(QString::fromLatin1(name));
        PageControl1->addTab(page, QString::fromLatin1(caption));
        return page;
    };
    TabSheet1 = addPage("TabSheet1", "Basic");
    TabSheet2 = addPage("TabSheet2", "Advanced");
    TabSheet4 = addPage("TabSheet4", "Extra Tags");
    TabSheet5 = addPage("TabSheet5", "DC Tags");
    TabSheet3 = addPage("TabSheet3", "HTML Code");

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
    for (const FieldSpec &spec : quill::fieldCatalogue()) {
        if (spec.owner != Owner::Main)
            continue;
        auto *container = findChild<QWidget *>(QString::fromLatin1(spec.geometry.parent));
        Q_ASSERT(container);
        m_fields[quill::fieldIndex(spec.id)] = quill::createFieldControl(spec, container);
    }
    for (const FieldSpec &spec : quill::fieldCatalogue()) {
        if (spec.owner == Owner::Preferences)
            m_fields[quill::fieldIndex(spec.id)] = m_preferences.pageHeadEdit(spec.id);
    }

    buildBasicPage();
    buildAdvancedPage();
    buildExtraTagsPage();
    buildDcTagsPage();
    buildDescriptionButtons();

    Memo1 = new QPlainTextEdit(TabSheet3);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setContextMenuPolicy(Qt::NoContextMenu);
    auto *codeLayout = new QVBoxLayout(TabSheet3);
    codeLayout->setContentsMargins(0, 0, 0, 0);
    codeLayout->addWidget(Memo1);

    for (QWidget *page : {TabSheet1, TabSheet2, TabSheet4, TabSheet5})
        arrangeTabOrder(page);
    PageControl1->setCurrentIndex(0);
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

    Edit14 = createCounter("Edit14", "250", Panel2, row(0));
    Edit15 = createCounter("Edit15", "200", Panel2, row(1));
    quill::createLabel("Days", 128, row(4) + 2, Panel2);
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

    BitBtn7 = createQuickInsertButton("BitBtn7", GroupBox2, 8, 54);
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

    BitBtn2 = createQuickInsertButton("BitBtn2", Panel4, 208, row(0));
    BitBtn3 = createQuickInsertButton("BitBtn3", Panel4, 208, row(1));
    BitBtn4 = createQuickInsertButton("BitBtn4", Panel4, 208, row(2));
    BitBtn5 = createQuickInsertButton("BitBtn5", Panel4, 208, row(3));
    BitBtn6 = createQuickInsertButton("BitBtn6", Panel5, 208, row(1));

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
    Button19->setProperty("hint", QStringLiteral("context1.html"));
    connect(Button19, &QPushButton::clicked, this, &TForm1::Button19Click);
}

void TForm1::buildDescriptionButtons()
{
    for (const quill::TagDescription &d : quill::tagDescriptions()) {
        auto *container = findChild<QWidget *>(QString::fromLatin1(d.parent));
        Q_ASSERT(container);
        auto *button = new QPushButton(QStringLiteral("?"), container);
        button->setObjectName(QString::fromLatin1(d.button));
        button->setGeometry(d.left, d.top, 25, 20);
        connect(button, &QPushButton::clicked, this, &TForm1::DescriptionClick);
    }
}

void TForm1::buildStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(StatusBarHeight);
    const int widths[2] = {100, 50};
    for (int i = 0; i < 2; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setFixedWidth(widths[i]);
        panel->setIndent(2);
        StatusBar1->addWidget(panel);
        m_statusPanels[i] = panel;
    }
    setStatusBar(StatusBar1);
}

// ---------------------------------------------------------------------------
// The document in the controls

quill::TagDocument TForm1::document() const
{
    quill::TagDocument doc;
    for (const FieldSpec &spec : quill::fieldCatalogue()) {
        QWidget *control = fieldControl(spec.id);
        switch (spec.kind) {
        case FieldKind::Edit:
            doc.setText(spec.id, static_cast<QLineEdit *>(control)->text());
            break;
        case FieldKind::List:
            doc.setIndex(spec.id, static_cast<QComboBox *>(control)->currentIndex());
            break;
        case FieldKind::Check:
            doc.setChecked(spec.id, static_cast<QCheckBox *>(control)->isChecked());
            break;
        }
    }
    doc.setMode(m_preferences.mode());
    return doc;
}

void TForm1::applyDocument(const quill::TagDocument &doc)
{
    for (const FieldSpec &spec : quill::fieldCatalogue()) {
        QWidget *control = fieldControl(spec.id);
        switch (spec.kind) {
        case FieldKind::Edit:
            static_cast<FieldEdit *>(control)->setProgramText(doc.text(spec.id));
            break;
        case FieldKind::List:
            static_cast<QComboBox *>(control)->setCurrentIndex(doc.index(spec.id));
            break;
        case FieldKind::Check:
            static_cast<QCheckBox *>(control)->setChecked(doc.isChecked(spec.id));
            break;
        }
    }
    // The note always describes the set now chosen.
    showCharacterSetNote();
}

QString TForm1::modifiedMark() const
{
    return statusPanelText(0);
}

bool TForm1::isModified() const
{
    return modifiedMark() == QLatin1StringView("Modified");
}

void TForm1::setModified()
{
    setStatusPanelText(0, QStringLiteral("Modified"));
}

void TForm1::setSaved()
{
    setStatusPanelText(0, QStringLiteral("Saved"));
}

QString TForm1::statusPanelText(int panel) const
{
    return m_statusPanels[panel]->text();
}

void TForm1::setStatusPanelText(int panel, const QString &text)
{
    m_statusPanels[panel]->setText(text);
}

QString TForm1::startFolder() const
{
    return Edit13->text();
}

// ---------------------------------------------------------------------------
// Field reactions

void TForm1::connectFieldReactions()
{
    for (const FieldSpec &spec : quill::fieldCatalogue()) {
        if (spec.owner != Owner::Main)
            continue;
        QWidget *control = fieldControl(spec.id);
        if (spec.kind == FieldKind::Edit && spec.id != Field::Edit1 && spec.id != Field::Edit2) {
            connect(static_cast<QLineEdit *>(control), &QLineEdit::textChanged, this,
                    &TForm1::setModified);
        } else if (spec.kind == FieldKind::List && spec.id != Field::ComboBox4) {
            // A choice by the user changes the document; a command setting an index does not.
            connect(static_cast<QComboBox *>(control), &QComboBox::activated, this,
                    &TForm1::setModified);
        }
    }
    connect(Edit1, &QLineEdit::textChanged, this, &TForm1::Edit1Change);
    connect(Edit2, &QLineEdit::textChanged, this, &TForm1::Edit2Change);
    connect(ComboBox4, &QComboBox::activated, this, &TForm1::ComboBox4Change);
    connect(CheckBox2, &QCheckBox::toggled, this, &TForm1::CheckBox2Click);
    connect(CheckBox3, &QCheckBox::toggled, this, &TForm1::CheckBox3Click);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TForm1::Memo1Change);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm1::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm1::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TForm1::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TForm1::BitBtn6Click);
    connect(BitBtn7, &QPushButton::clicked, this, &TForm1::BitBtn7Click);
    connect(&m_preferences, &TForm2::documentChanged, this, &TForm1::setModified);
}

void TForm1::Edit1Change()
{
    Edit14->setText(QString::number(250 - Edit1->text().size()));
    setModified();
}

void TForm1::Edit2Change()
{
    Edit15->setText(QString::number(200 - Edit2->text().size()));
    setModified();
}

void TForm1::ComboBox4Change()
{
    showCharacterSetNote();
    setModified();
}

void TForm1::showCharacterSetNote()
{
    const auto notes = quill::characterSetNotes();
    const int index = ComboBox4->currentIndex();
    if (index >= 0 && static_cast<std::size_t>(index) < notes.size())
        Memo2->setPlainText(QString::fromLatin1(notes[static_cast<std::size_t>(index)]));
}

void TForm1::CheckBox2Click()
{
    ComboBox11->setEnabled(!CheckBox2->isChecked());
}

void TForm1::CheckBox3Click()
{
    ComboBox12->setEnabled(!CheckBox3->isChecked());
}

void TForm1::Memo1Change()
{
    setModified();
}

void TForm1::BitBtn2Click()
{
    Edit18->setProgramText(Edit6->text());
}

void TForm1::BitBtn3Click()
{
    Edit19->setProgramText(Edit3->text());
}

void TForm1::BitBtn4Click()
{
    Edit21->setProgramText(Edit2->text());
}

void TForm1::BitBtn5Click()
{
    Edit20->setProgramText(Edit1->text());
}

void TForm1::BitBtn6Click()
{
    Edit29->setProgramText(ComboBox5->currentText());
}

void TForm1::BitBtn7Click()
{
    Edit17->setProgramText(Edit1->text());
}

void TForm1::DescriptionClick()
{
    const QObject *button = sender();
    for (const quill::TagDescription &d : quill::tagDescriptions()) {
        if (button && button->objectName() == QLatin1StringView(d.button)) {
            m_prompts.information(this, QStringLiteral("Description"), QString::fromLatin1(d.text));
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Commands

void TForm1::cool1Click()
{
    PageControl1->setCurrentIndex(4);
    const QStringList lines = quill::generateMetaCode(document());
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

void TForm1::ClearAllFields1Click()
{
    quill::TagDocument reset = quill::TagDocument::startUp();
    applyDocument(reset);
    setSaved();
}

void TForm1::New1Click()
{
    if (isModified() && !m_prompts.confirmWarning(
                            this, QStringLiteral("Are you sure you want to clear all fields?")))
        return;
    applyDocument(quill::TagDocument::startUp());
    Memo1->clear();
    PageControl1->setCurrentIndex(0);
    setSaved();
}

void TForm1::Beginner1Click()
{
    PageControl1->setCurrentIndex(0);
}

void TForm1::Advanced1Click()
{
    PageControl1->setCurrentIndex(1);
}

void TForm1::ExtraTags1Click()
{
    PageControl1->setCurrentIndex(2);
}

void TForm1::DCTags1Click()
{
    PageControl1->setCurrentIndex(3);
}

void TForm1::HTMLTags1Click()
{
    PageControl1->setCurrentIndex(4);
}

// Commands that later parts of the program fill in.
void TForm1::Open1Click()
{}
void TForm1::SaveAs1Click()
{}
void TForm1::Import1Click()
{}
void TForm1::AsHTML1Click()
{}
void TForm1::AsText1Click()
{}
void TForm1::Preferences1Click()
{}
void TForm1::Print1Click()
{}
void TForm1::Exit1Click()
{}
void TForm1::CopyToClipboard1Click()
{}
void TForm1::AddSitetoGoogle1Click()
{}
void TForm1::CheckSiteRankings1Click()
{}
void TForm1::HTMLJS1Click()
{}
void TForm1::BeginnerWizard1Click()
{}
void TForm1::About1Click()
{}

// ---------------------------------------------------------------------------
// Targets opened through the shell; the target stands in the sender's hint.

namespace {

QString hintOf(QObject *sender)
{
    return sender ? sender->property("hint").toString() : QString();
}

} // namespace

void TForm1::openHelpPage(QObject *sender)
{
    const QString hint = hintOf(sender);
    if (!hint.isEmpty())
        m_shell.open(startFolder() + QDir::separator() + QStringLiteral("help") +
                     QDir::separator() + hint);
}

void TForm1::openStartFolderFile(QObject *sender)
{
    const QString hint = hintOf(sender);
    if (!hint.isEmpty())
        m_shell.open(startFolder() + QDir::separator() + hint);
}

void TForm1::openWebAddress(QObject *sender)
{
    const QString hint = hintOf(sender);
    if (!hint.isEmpty())
        m_shell.open(hint);
}

void TForm1::Help2Click()
{
    openHelpPage(qobject_cast<QAction *>(sender()));
}

void TForm1::Readme1Click()
{
    openStartFolderFile(qobject_cast<QAction *>(sender()));
}

void TForm1::SitePromotion1Click()
{
    openStartFolderFile(qobject_cast<QAction *>(sender()));
}

void TForm1::Website1Click()
{
    openWebAddress(qobject_cast<QAction *>(sender()));
}

void TForm1::CheckforUpdate1Click()
{
    openWebAddress(qobject_cast<QAction *>(sender()));
}

void TForm1::Support1Click()
{
    openWebAddress(qobject_cast<QAction *>(sender()));
}

void TForm1::SupportForum1Click()
{
    openWebAddress(qobject_cast<QAction *>(sender()));
}

void TForm1::Button19Click()
{
    openHelpPage(qobject_cast<QAbstractButton *>(sender()));
}

// ---------------------------------------------------------------------------
// Window events

void TForm1::contextMenuEvent(QContextMenuEvent *event)
{
    updateEditActions();
    PopupMenu1->popup(event->globalPos());
    event->accept();
}

bool TForm1::event(QEvent *event)
{
    // The status panels hold the mark and the file name; hints never replace them.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen *s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}
