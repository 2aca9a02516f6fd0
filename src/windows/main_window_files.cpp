// The main window's file commands: project files (Save, Open, Exit and the close
// guard), Import, Export, Print and Copy. What they compute lives in the core; here
// they read the controls, ask, and show what came of it.

#include "windows/main_window.h"

#include "components/mbox.h"
#include "document/line_breaks.h"
#include "files/export_text.h"
#include "files/import_text.h"
#include "files/project_file.h"
#include "windows/code_page.h"
#include "windows/printer.h"
#include "windows/prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace {

const QString Break = QStringLiteral("\r\n");

// The question the save dialog asks about an existing file, for the name Save writes
// when that is not the name the dialog asked about.
quill::Message replaceQuestion(const QString &dialogTitle, const QString &path)
{
    return {dialogTitle,
            QStringLiteral("%1 already exists.\nDo you want to replace it?")
                .arg(QFileInfo(path).fileName()),
            QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
}

bool takenName(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

void TForm1::buildFileCommands()
{
    SaveDialog1 = {QStringLiteral("Save"),
                   QStringLiteral("Quillmark Data Files (*.qmk)"),
                   {},
                   QStringLiteral("mytags")};
    OpenDialog1 = {{}, QStringLiteral("Quillmark Data Files (*.qmk)"), {}, {}};
    // Every file, names without a dot too.
    OpenDialog2 = {QStringLiteral("Import"), QStringLiteral("Text Based Files (*)"), {}, {}};
    SaveDialog2 = {
        QStringLiteral("Export"), QStringLiteral("HTML File (*.html)"), QStringLiteral("html"), {}};
    SaveDialog3 = {
        QStringLiteral("Export"), QStringLiteral("Text Files (*.txt)"), QStringLiteral("txt"), {}};

    MBox1 = new TMBox(m_prompts, this);
    MBox1->setObjectName(QStringLiteral("MBox1"));
    MBox1->setCaption(QStringLiteral("Quillmark"));
    MBox1->setText(QStringLiteral("Please generate your code before exporting."));
}

QString TForm1::codePageText() const
{
    return Memo1->codeText();
}

void TForm1::setCodePageText(const QString &text)
{
    Memo1->setCodeText(text);
}

bool TForm1::askBeforeLosingWork(const QString &question)
{
    return !isModified() ||
           m_prompts.show(this, quill::warningQuestion(question)) == QMessageBox::Ok;
}

void TForm1::showFailure(const QString &message)
{
    m_prompts.show(this, quill::errorMessage(message));
}

// ---------------------------------------------------------------------------
// Project files

void TForm1::SaveAs1Click()
{
    QString name;
    for (;;) {
        const QString chosen = m_prompts.saveFileName(this, SaveDialog1);
        if (chosen.isEmpty())
            return;
        SaveDialog1.lastName = chosen;
        name = quill::ProjectFileName(chosen);
        // The dialog asked about the name as typed; a different name that is taken is
        // asked about here, and No goes back to the dialog.
        if (name == chosen || !takenName(name) ||
            m_prompts.show(this, replaceQuestion(SaveDialog1.title, name)) == QMessageBox::Yes)
            break;
    }
    QString error;
    if (!quill::SaveProjectFile(name, quill::GatherProjectFile(document()), &error)) {
        showFailure(error);
        return;
    }
    setSaved();
    setStatusPanelText(1, name);
    m_statusPanels[1]->setToolTip(QString());
}

void TForm1::Open1Click()
{
    if (!askBeforeLosingWork(
            QStringLiteral("Are you sure you want to clear all fields and open a file?")))
        return;
    const QString chosen = m_prompts.openFileName(this, OpenDialog1);
    if (!chosen.isEmpty())
        openProject(chosen);
}

void TForm1::openProject(const QString &path)
{
    OpenDialog1.lastName = path;
    quill::ProjectFile file;
    QString error;
    if (!quill::LoadProjectFile(path, &file, &error, quill::FileKind::RegularOnly)) {
        showFailure(error);
        return;
    }
    quill::TagDocument doc = document();
    QString note;
    quill::ApplyProjectFile(file, doc, &note);
    applyDocument(doc);
    // After the fields, whose change reactions have set the mark while loading.
    setSaved();
    // A damaged tail costs only the whole texts, not the file: the name says so, and its
    // hint says why.
    setStatusPanelText(1, note.isEmpty() ? path : path + QStringLiteral(" (whole texts not read)"));
    m_statusPanels[1]->setToolTip(
        note.isEmpty() ? QString()
                       : QStringLiteral("%1: %2; the fields hold the texts as the record keeps "
                                        "them.")
                             .arg(path, note));
}

void TForm1::Exit1Click()
{
    if (!askBeforeLosingWork(QStringLiteral("Are you sure you want to exit without saving?")))
        return;
    // Straight out of the event loop: quit() would send close events and ask again.
    QCoreApplication::exit(0);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (!askBeforeLosingWork(QStringLiteral("Are you sure you want to exit without saving?"))) {
        event->ignore();
        return;
    }
    event->accept();
    // The program ends with its main window, whatever other window is still shown.
    QCoreApplication::exit(0);
}

// ---------------------------------------------------------------------------
// Import and export

void TForm1::Import1Click()
{
    const QString chosen = m_prompts.openFileName(this, OpenDialog2);
    if (chosen.isEmpty())
        return;
    OpenDialog2.lastName = chosen;
    if (chosen.size() < 2)
        return;
    QString text;
    QString error;
    if (!quill::readImportText(chosen, quill::CharacterSet::of(document()), &text, &error)) {
        showFailure(error);
        return;
    }
    if (text != codePageText())
        setCodePageText(text);
    showPage(quill::Page::HtmlCode);
}

void TForm1::exportCodePage(quill::FileDialogRequest &dialog)
{
    const QString text = codePageText();
    if (text.size() < 3) {
        MBox1->Execute();
        return;
    }
    const QString chosen = m_prompts.saveFileName(this, dialog);
    if (chosen.isEmpty())
        return;
    dialog.lastName = chosen;
    QString error;
    if (!quill::exportText(chosen, text, quill::CharacterSet::of(document()), &error))
        showFailure(error);
}

void TForm1::AsHTML1Click()
{
    exportCodePage(SaveDialog2);
}

void TForm1::AsText1Click()
{
    exportCodePage(SaveDialog3);
}

// ---------------------------------------------------------------------------
// Printer and clipboard

void TForm1::Print1Click()
{
    QString error;
    if (!m_printer.printText(codePageText() + Break, &error))
        showFailure(error);
}

void TForm1::CopyToClipboard1Click()
{
    Memo1->selectAll();
    const QString text = codePageText();
    // An empty page leaves the clipboard as it was.
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}
