// The menus of the main window: every command one action, created once, shared
// by the menu bar and the context menu where both offer it.

#include "windows/main_window.h"

#include "windows/field_edit.h"
#include "windows/pictures.h"
#include "windows/web_addresses.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

#include <type_traits>

namespace {

constexpr auto Ctrl = Qt::CTRL;
constexpr auto CtrlAlt = Qt::CTRL | Qt::ALT;

enum EditAction { Undo, Cut, Copy, Paste, Delete, SelectAll };

// Both kinds of text control offer the same edit operations, but for erasing.
template <class TextControl> void applyEditAction(TextControl *control, EditAction action)
{
    switch (action) {
    case Undo:
        control->undo();
        break;
    case Cut:
        control->cut();
        break;
    case Copy:
        control->copy();
        break;
    case Paste:
        control->paste();
        break;
    case Delete:
        if constexpr (std::is_base_of_v<QLineEdit, TextControl>)
            control->del();
        else
            control->textCursor().removeSelectedText();
        break;
    case SelectAll:
        control->selectAll();
        break;
    }
}

} // namespace

QAction *TForm1::createCommand(const char *name, const char *caption, const QKeySequence &shortcut,
                               Handler handler)
{
    auto *action = new QAction(QString::fromLatin1(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setIcon(quill::menuItemPicture(action->objectName()));
    connect(action, &QAction::triggered, this, handler);
    addAction(action);
    if (!shortcut.isEmpty())
        m_commandShortcuts << shortcut;
    return action;
}

QAction *TForm1::addCommand(QMenu *menu, const char *name, const char *caption,
                            const QKeySequence &shortcut, Handler handler)
{
    QAction *action = createCommand(name, caption, shortcut, handler);
    menu->addAction(action);
    return action;
}

void TForm1::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto separator = [](QMenu *menu, const char *name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    const auto submenu = [](QMenu *menu, const char *name, const char *caption) {
        QMenu *sub = menu->addMenu(QString::fromLatin1(caption));
        sub->setObjectName(QString::fromLatin1(name) + QStringLiteral("Menu"));
        sub->menuAction()->setObjectName(QString::fromLatin1(name));
        return sub;
    };

    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    addCommand(file, "New1", "&New", Ctrl | Qt::Key_N, &TForm1::New1Click);
    addCommand(file, "Open1", "Open", Ctrl | Qt::Key_O, &TForm1::Open1Click);
    addCommand(file, "save2", "Save", Ctrl | Qt::Key_S, &TForm1::SaveAs1Click);
    separator(file, "N1");
    addCommand(file, "Import1", "Import...", CtrlAlt | Qt::Key_I, &TForm1::Import1Click);
    QMenu *exportMenu = submenu(file, "Export1", "Export");
    addCommand(exportMenu, "AsHTML1", "As HTML", Ctrl | Qt::Key_H, &TForm1::AsHTML1Click);
    addCommand(exportMenu, "AsText1", "As Text", Ctrl | Qt::Key_T, &TForm1::AsText1Click);
    separator(file, "N2");
    addCommand(file, "Preferences1", "Preferences", Ctrl | Qt::Key_E, &TForm1::Preferences1Click);
    separator(file, "N4");
    addCommand(file, "Print1", "Print Code", Ctrl | Qt::Key_P, &TForm1::Print1Click);
    separator(file, "N3");
    addCommand(file, "Exit1", "E&xit", CtrlAlt | Qt::Key_X, &TForm1::Exit1Click);

    QMenu *code = bar->addMenu(QStringLiteral("Code"));
    code->setObjectName(QStringLiteral("Code1"));
    addCommand(code, "cool1", "Generate Meta Code", Qt::Key_F2, &TForm1::cool1Click);
    addCommand(code, "ClearAllFields1", "Reset All Fields", Ctrl | Qt::Key_R,
               &TForm1::ClearAllFields1Click);
    addCommand(code, "CopyToClipboard1", "Copy To Clipboard", Qt::Key_F3,
               &TForm1::CopyToClipboard1Click);

    QMenu *view = bar->addMenu(QStringLiteral("View"));
    view->setObjectName(QStringLiteral("View1"));
    addCommand(view, "Beginner1", "Basic", Qt::Key_F5, &TForm1::Beginner1Click);
    addCommand(view, "Advanced1", "Advanced", Qt::Key_F6, &TForm1::Advanced1Click);
    addCommand(view, "ExtraTags1", "Extra Tags", Qt::Key_F7, &TForm1::ExtraTags1Click);
    addCommand(view, "DCTags1", "DC Tags", Qt::Key_F8, &TForm1::DCTags1Click);
    addCommand(view, "HTMLTags1", "HTML Tags", Qt::Key_F9, &TForm1::HTMLTags1Click);

    QMenu *tools = bar->addMenu(QStringLiteral("Tools"));
    tools->setObjectName(QStringLiteral("Tools1"));
    addCommand(tools, "AddSitetoGoogle1", "Add Site To Google", Qt::Key_F10,
               &TForm1::AddSitetoGoogle1Click);
    addCommand(tools, "CheckSiteRankings1", "Check Site Rankings", Qt::Key_F11,
               &TForm1::CheckSiteRankings1Click);
    separator(tools, "N7");
    addCommand(tools, "HTMLJS1", "HTML > JS Converter", Qt::Key_F12, &TForm1::HTMLJS1Click);

    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    addCommand(help, "Help2", "Help", Qt::Key_F1, &TForm1::Help2Click)
        ->setProperty("hint", QStringLiteral("index.html"));
    addCommand(help, "Readme1", "Readme", Ctrl | Qt::Key_D, &TForm1::Readme1Click)
        ->setProperty("hint", QStringLiteral("readme.txt"));
    addCommand(help, "BeginnerWizard1", "Beginner Wizard", CtrlAlt | Qt::Key_B,
               &TForm1::BeginnerWizard1Click);
    separator(help, "N11");
    addCommand(help, "SitePromotion1", "Site Promotion", Ctrl | Qt::Key_I,
               &TForm1::SitePromotion1Click)
        ->setProperty("hint", QStringLiteral("sitepromo.hlp"));
    separator(help, "N5");
    QMenu *web = submenu(help, "OnTheWeb1", "On The Web");
    addCommand(web, "Website1", "Website", {}, &TForm1::Website1Click)
        ->setProperty("hint", QString::fromLatin1(quill::HomePage));
    addCommand(web, "CheckforUpdate1", "Check For Update", {}, &TForm1::CheckforUpdate1Click)
        ->setProperty("hint", QString::fromLatin1(quill::HomePage));
    addCommand(web, "Support1", "Support (E-mail)", {}, &TForm1::Support1Click)
        ->setProperty("hint", QString::fromLatin1(quill::SupportMail));
    addCommand(web, "SupportForum1", "Support Forum", {}, &TForm1::SupportForum1Click)
        ->setProperty("hint", QString::fromLatin1(quill::HomePage));
    separator(help, "N6");
    addCommand(help, "About1", "&About...", CtrlAlt | Qt::Key_A, &TForm1::About1Click);
}

QAction *TForm1::createEditAction(const char *name, const char *caption,
                                  const QKeySequence &shortcut, const char *hint)
{
    auto *action = new QAction(QString::fromLatin1(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    // A hint is a short and a long text, separated by a bar.
    const QString both = QString::fromLatin1(hint);
    action->setToolTip(both.section(QLatin1Char('|'), 0, 0));
    action->setStatusTip(both.section(QLatin1Char('|'), 1));
    action->setEnabled(false);
    connect(action, &QAction::triggered, this, [this, action] { runEditAction(action); });
    addAction(action);
    return action;
}

void TForm1::buildPopupMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));

    // The same commands as in the menu bar, reached through the same actions.
    PopupMenu1->addAction(findChild<QAction *>(QStringLiteral("cool1")));
    // Its caption differs from the menu bar's item; its F3 is shown, not bound twice.
    QAction *copyCode = new QAction(QStringLiteral("Copy Code to Clipboard"), PopupMenu1);
    copyCode->setObjectName(QStringLiteral("CopyCodetoClipboard1"));
    copyCode->setShortcut(Qt::Key_F3);
    copyCode->setShortcutContext(Qt::WidgetShortcut);
    copyCode->setIcon(quill::menuItemPicture(copyCode->objectName()));
    connect(copyCode, &QAction::triggered, this, &TForm1::CopyToClipboard1Click);
    PopupMenu1->addAction(copyCode);
    PopupMenu1->addAction(findChild<QAction *>(QStringLiteral("save2")));
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N8"));

    m_editActions[Undo] =
        createEditAction("EditUndo1", "&Undo", QKeySequence::Undo, "Undo|Reverts the last action");
    m_editActions[Cut] = createEditAction("EditCut1", "Cu&t", QKeySequence::Cut,
                                          "Cut|Cuts the selection and puts it on the Clipboard");
    m_editActions[Copy] =
        createEditAction("EditCopy1", "&Copy", QKeySequence::Copy,
                         "Copy|Copies the selection and puts it on the Clipboard");
    m_editActions[Paste] = createEditAction("EditPaste1", "&Paste", QKeySequence::Paste,
                                            "Paste|Inserts Clipboard contents");
    m_editActions[Delete] =
        createEditAction("EditDelete1", "&Delete", Qt::Key_Delete, "Delete|Erases the selection");
    m_editActions[SelectAll] =
        createEditAction("EditSelectAll1", "Select &All", QKeySequence::SelectAll,
                         "Select All|Selects the entire document");
    const char *pictures[] = {"Undo1", "Cut1", "Copy1", "Paste1", "Delete1"};
    for (int i = Undo; i <= Delete; ++i)
        m_editActions[i]->setIcon(quill::menuItemPicture(QString::fromLatin1(pictures[i])));

    PopupMenu1->addAction(m_editActions[Undo]);
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N9"));
    PopupMenu1->addAction(m_editActions[Cut]);
    PopupMenu1->addAction(m_editActions[Copy]);
    PopupMenu1->addAction(m_editActions[Paste]);
    PopupMenu1->addAction(m_editActions[Delete]);
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N10"));
    PopupMenu1->addAction(m_editActions[SelectAll]);

    connect(PopupMenu1, &QMenu::aboutToShow, this, &TForm1::updateEditActions);
    connect(qApp, &QApplication::focusChanged, this, &TForm1::updateEditActions);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TForm1::updateEditActions);
    for (QLineEdit *edit : findChildren<QLineEdit *>()) {
        connect(edit, &QLineEdit::selectionChanged, this, &TForm1::updateEditActions);
        connect(edit, &QLineEdit::textChanged, this, &TForm1::updateEditActions);
    }
    connect(Memo1, &QPlainTextEdit::selectionChanged, this, &TForm1::updateEditActions);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TForm1::updateEditActions);
    connect(Memo1, &QPlainTextEdit::undoAvailable, this, &TForm1::updateEditActions);
}

void TForm1::keepCommandShortcuts()
{
    for (QWidget *w : findChildren<QWidget *>()) {
        if (qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w))
            w->installEventFilter(this);
    }
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // Some desktops give text boxes their own meaning for keys such as Ctrl+E or
    // Ctrl+D; the window's commands keep their shortcuts in every field.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (m_commandShortcuts.contains(QKeySequence(key->keyCombination()))) {
            event->ignore();
            return true;
        }
    }
    // The code page follows the fields' rule: a key with Alt never types.
    if (event->type() == QEvent::KeyPress && qobject_cast<QPlainTextEdit *>(watched) &&
        isAltKey(*static_cast<QKeyEvent *>(event))) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::updateEditActions()
{
    bool undo = false;
    bool selection = false;
    bool writable = false;
    bool hasText = false;
    QWidget *focus = QApplication::focusWidget();
    if (auto *edit = qobject_cast<QLineEdit *>(focus); edit && edit->window() == this) {
        writable = !edit->isReadOnly();
        undo = writable && edit->isUndoAvailable();
        selection = edit->hasSelectedText();
        hasText = !edit->text().isEmpty();
    } else if (auto *memo = qobject_cast<QPlainTextEdit *>(focus); memo && memo->window() == this) {
        writable = !memo->isReadOnly();
        undo = writable && memo->document()->isUndoAvailable();
        selection = memo->textCursor().hasSelection();
        hasText = !memo->document()->isEmpty();
    }
    const bool clipboardText = !QApplication::clipboard()->text().isEmpty();
    m_editActions[Undo]->setEnabled(undo);
    m_editActions[Cut]->setEnabled(selection && writable);
    m_editActions[Copy]->setEnabled(selection);
    m_editActions[Paste]->setEnabled(writable && clipboardText);
    m_editActions[Delete]->setEnabled(selection && writable);
    m_editActions[SelectAll]->setEnabled(hasText);
}

void TForm1::runEditAction(QAction *action)
{
    const auto which =
        EditAction(std::find(std::begin(m_editActions), std::end(m_editActions), action) -
                   std::begin(m_editActions));
    QWidget *focus = QApplication::focusWidget();
    // A field pastes as one line: its own paste, not the plain edit's.
    if (auto *field = qobject_cast<FieldEdit *>(focus))
        applyEditAction(field, which);
    else if (auto *edit = qobject_cast<QLineEdit *>(focus))
        applyEditAction(edit, which);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(focus))
        applyEditAction(memo, which);
    updateEditActions();
}
