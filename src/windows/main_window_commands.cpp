// The main window's own commands: generating and resetting the code, page
// switching, the windows it asks the application to show, and the targets it
// hands to the platform shell.

#include "windows/main_window.h"

#include "document/meta_generator.h"
#include "files/shell_target.h"
#include "windows/prompts.h"
#include "windows/shell.h"

#include <QAbstractButton>
#include <QAction>
#include <QPlainTextEdit>
#include <QTabWidget>

using quill::Page;

void TForm1::showPage(Page page)
{
    PageControl1->setCurrentIndex(static_cast<int>(page));
}

void TForm1::focusField(quill::Field field)
{
    // The page first: a field on a hidden page cannot take the focus.
    showPage(quill::fieldDef(field).page);
    raise();
    activateWindow();
    fieldControl(field)->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------
// Code

void TForm1::cool1Click()
{
    showPage(Page::HtmlCode);
    setCodePageText(quill::generateCodeText(document()));
}

void TForm1::ClearAllFields1Click()
{
    applyDocument(quill::TagDocument::startUp());
    setSaved();
}

void TForm1::New1Click()
{
    if (isModified() &&
        m_prompts.show(this, quill::warningQuestion(QStringLiteral(
                                 "Are you sure you want to clear all fields?"))) != QMessageBox::Ok)
        return;
    applyDocument(quill::TagDocument::startUp());
    Memo1->clear();
    showPage(Page::Basic);
    setSaved();
}

// ---------------------------------------------------------------------------
// View

void TForm1::Beginner1Click()
{
    showPage(Page::Basic);
}

void TForm1::Advanced1Click()
{
    showPage(Page::Advanced);
}

void TForm1::ExtraTags1Click()
{
    showPage(Page::ExtraTags);
}

void TForm1::DCTags1Click()
{
    showPage(Page::DcTags);
}

void TForm1::HTMLTags1Click()
{
    showPage(Page::HtmlCode);
}

// ---------------------------------------------------------------------------
// Other windows: the application object shows them.

void TForm1::Preferences1Click()
{
    emit preferencesRequested();
}

void TForm1::AddSitetoGoogle1Click()
{
    emit toolsRequested(0);
}

void TForm1::CheckSiteRankings1Click()
{
    emit toolsRequested(0);
}

void TForm1::HTMLJS1Click()
{
    emit toolsRequested(1);
}

void TForm1::BeginnerWizard1Click()
{
    emit wizardRequested();
}

void TForm1::About1Click()
{
    emit aboutRequested();
}

// ---------------------------------------------------------------------------
// Targets opened through the shell; the target stands in the sender's hint, and a
// command run by anything but its menu item (or button) opens nothing.

namespace {

QString hintOf(const QObject *sender)
{
    return sender ? sender->property("hint").toString() : QString();
}

} // namespace

void TForm1::openHelp(const QString &page)
{
    m_shell.open(quill::helpPagePath(startFolder(), page));
}

void TForm1::openHelpPage(QObject *sender)
{
    const QString hint = hintOf(sender);
    if (!hint.isEmpty())
        openHelp(hint);
}

void TForm1::openStartFolderFile(QObject *sender)
{
    const QString hint = hintOf(sender);
    if (!hint.isEmpty())
        m_shell.open(quill::pathInFolder(startFolder(), hint));
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
