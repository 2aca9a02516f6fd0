#include "windows/main_window.h"

#include "components/xp_menu.h"
#include "document/character_set.h"
#include "document/code_point_name.h"
#include "windows/accessible_names.h"
#include "windows/field_edit.h"
#include "windows/preferences_dialog.h"
#include "windows/prompts.h"
#include "windows/tag_descriptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

using quill::Field;
using quill::FieldDef;
using quill::FieldKind;
using quill::Owner;

namespace {

constexpr int ClientWidth = 484;
constexpr int ClientHeight = 325;
constexpr int StatusBarHeight = 19;

// What a QuickInsert button copies into its field: the value of the field the catalogue
// names for it, whole.
QString quickInsertText(const quill::TagDocument &doc, Field target)
{
    return doc.value(*quill::fieldDef(target).quickInsertFrom);
}

// A character as the user can read it in a box: itself, or its code when it shows nothing.
QString shownCharacter(char32_t c)
{
    const QString text = QString::fromUcs4(&c, 1);
    if (QChar::isPrint(c) && !QChar::isSpace(c))
        return text;
    return quill::codePointName(c);
}

// Where a field stands, as the user finds it: "Title (Basic)", "Page Title (Preferences)".
QString fieldPlace(const FieldDef &def)
{
    const QString page =
        def.page == quill::Page::None
            ? QStringLiteral("Preferences")
            : QString::fromLatin1(quill::pageCatalogue()[std::size_t(def.page)].caption);
    return QStringLiteral("%1 (%2)").arg(quill::accessibleFieldName(def), page);
}

// The box that tells, once for a new choice, which typed characters the set lacks and
// that nothing of them is lost.
quill::Message lackingCharactersMessage(const QString &set,
                                        const QList<quill::LackingText> &lacking)
{
    QStringList lines{QStringLiteral("%1 lacks characters already typed:").arg(set)};
    for (const quill::LackingText &text : lacking) {
        // A text in another script may lack hundreds; the first ones tell enough.
        constexpr qsizetype Shown = 20;
        QStringList characters;
        for (const char32_t c : text.characters.first(std::min(Shown, text.characters.size())))
            characters << shownCharacter(c);
        if (text.characters.size() > Shown)
            characters << QStringLiteral("and %1 more").arg(text.characters.size() - Shown);
        lines << QStringLiteral("%1: %2").arg(fieldPlace(quill::fieldDef(text.field)),
                                              characters.join(QLatin1Char(' ')));
    }
    lines << QStringLiteral("They are kept: the project file holds them whole, and exported "
                            "pages carry them as character references such as &#%1;.")
                 .arg(unsigned(lacking.constFirst().characters.constFirst()));
    return quill::informationMessage(QStringLiteral("Quillmark"), lines.join(QLatin1Char('\n')));
}

} // namespace

TForm1::TForm1(TForm2 &preferences, const quill::Seams &seams, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint)
    , m_preferences(preferences)
    , m_prompts(seams.prompts)
    , m_shell(seams.shell)
    , m_printer(seams.printer)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quillmark v2.0"));

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    client->setFixedSize(ClientWidth, ClientHeight - StatusBarHeight);
    setCentralWidget(client);

    buildPages(client);
    buildStatusBar();
    buildMenus();
    buildPopupMenu();
    buildFileCommands();
    // The flat look of both menus; the other values are the renderer's defaults.
    XPMenu1 = new TXPMenu(this);
    XPMenu1->setObjectName(QStringLiteral("XPMenu1"));
    XPMenu1->setAutoDetect(true);
    XPMenu1->setActive(true);
    connectFieldReactions();
    keepCommandShortcuts();

    // The window keeps its designed client size: the menu bar stands above it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

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
// The status bar

void TForm1::buildStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(StatusBarHeight);
    for (int i = 0; i < 2; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setIndent(2);
        m_statusPanels[i] = panel;
    }
    // The mark's panel is 100 wide; the file name's, the last, takes the rest of the
    // bar (at least 50) so a long name can be read, and never widens the window.
    m_statusPanels[0]->setFixedWidth(100);
    m_statusPanels[1]->setMinimumWidth(50);
    m_statusPanels[1]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    StatusBar1->addWidget(m_statusPanels[0]);
    StatusBar1->addWidget(m_statusPanels[1], 1);
    setStatusBar(StatusBar1);
}

// ---------------------------------------------------------------------------
// The document in the controls

quill::TagDocument TForm1::document() const
{
    quill::TagDocument doc;
    for (const FieldDef &def : quill::fieldCatalogue()) {
        QWidget *control = fieldControl(def.id);
        switch (def.kind) {
        case FieldKind::Edit:
            doc.setText(def.id, static_cast<QLineEdit *>(control)->text());
            break;
        case FieldKind::List:
            doc.setIndex(def.id, static_cast<QComboBox *>(control)->currentIndex());
            break;
        case FieldKind::Check:
            doc.setChecked(def.id, static_cast<QCheckBox *>(control)->isChecked());
            break;
        }
    }
    doc.setMode(m_preferences.mode());
    return doc;
}

void TForm1::applyDocument(const quill::TagDocument &doc)
{
    for (const FieldDef &def : quill::fieldCatalogue()) {
        QWidget *control = fieldControl(def.id);
        switch (def.kind) {
        case FieldKind::Edit:
            static_cast<FieldEdit *>(control)->setProgramText(doc.text(def.id));
            break;
        case FieldKind::List:
            static_cast<QComboBox *>(control)->setCurrentIndex(doc.index(def.id));
            break;
        case FieldKind::Check:
            static_cast<QCheckBox *>(control)->setChecked(doc.isChecked(def.id));
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

void TForm1::FormCreate()
{
    Edit13->setText(QDir::toNativeSeparators(QDir::currentPath()));
}

void TForm1::moveToDesktopCentre()
{
    // The size the layout fixes, and the frame as far as the platform tells it before
    // the window is first shown.
    ensurePolished();
    layout()->activate();
    winId();
    if (const QScreen *s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}

// ---------------------------------------------------------------------------
// Field reactions

void TForm1::connectFieldReactions()
{
    for (const FieldDef &def : quill::fieldCatalogue()) {
        if (def.owner != Owner::Main)
            continue;
        QWidget *control = fieldControl(def.id);
        if (def.kind == FieldKind::Edit && def.id != Field::Edit1 && def.id != Field::Edit2) {
            connect(static_cast<QLineEdit *>(control), &QLineEdit::textChanged, this,
                    &TForm1::setModified);
        } else if (def.kind == FieldKind::List && def.id != Field::ComboBox4) {
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
    connect(Button19, &QPushButton::clicked, this, &TForm1::Button19Click);
    connect(&m_preferences, &TForm2::documentChanged, this, &TForm1::setModified);
}

void TForm1::Edit1Change()
{
    Edit14->setText(QString::number(quill::fieldDef(Field::Edit1).limit - Edit1->text().size()));
    setModified();
}

void TForm1::Edit2Change()
{
    Edit15->setText(QString::number(quill::fieldDef(Field::Edit2).limit - Edit2->text().size()));
    setModified();
}

void TForm1::ComboBox4Change()
{
    // A choice of the set already chosen changes nothing, and tells nothing again.
    const bool newSet = ComboBox4->currentIndex() != m_noteSet;
    showCharacterSetNote();
    setModified();
    if (!newSet)
        return;
    const quill::CharacterSet set = quill::CharacterSet::ofItem(ComboBox4->currentIndex());
    const QList<quill::LackingText> lacking = quill::lackingTexts(document(), set);
    if (!lacking.isEmpty())
        m_prompts.show(this, lackingCharactersMessage(ComboBox4->currentText(), lacking));
}

void TForm1::showCharacterSetNote()
{
    const auto sets = quill::characterSetCatalogue();
    const int index = ComboBox4->currentIndex();
    m_noteSet = index;
    if (index >= 0 && static_cast<std::size_t>(index) < sets.size())
        Memo2->setPlainText(QString::fromLatin1(sets[static_cast<std::size_t>(index)].note));
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
    Edit18->setProgramText(quickInsertText(document(), Field::Edit18));
}

void TForm1::BitBtn3Click()
{
    Edit19->setProgramText(quickInsertText(document(), Field::Edit19));
}

void TForm1::BitBtn4Click()
{
    Edit21->setProgramText(quickInsertText(document(), Field::Edit21));
}

void TForm1::BitBtn5Click()
{
    Edit20->setProgramText(quickInsertText(document(), Field::Edit20));
}

void TForm1::BitBtn6Click()
{
    Edit29->setProgramText(quickInsertText(document(), Field::Edit29));
}

void TForm1::BitBtn7Click()
{
    Edit17->setProgramText(quickInsertText(document(), Field::Edit17));
}

void TForm1::DescriptionClick()
{
    const QObject *button = sender();
    for (const quill::TagDescription &d : quill::tagDescriptions()) {
        if (button && button->objectName() == QLatin1StringView(d.button)) {
            m_prompts.show(this, quill::informationMessage(QStringLiteral("Description"),
                                                           QString::fromLatin1(d.text)));
            return;
        }
    }
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
