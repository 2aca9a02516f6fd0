#include "windows/prompts.h"

#include "files/file_io.h"

#include <QFileDialog>

namespace quill {

Message warningQuestion(const QString &text)
{
    return {QStringLiteral("Warning"), text, QMessageBox::Warning,
            QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok};
}

Message errorMessage(const QString &failure)
{
    return {QStringLiteral("Quillmark"), errorBoxText(failure), QMessageBox::Critical,
            QMessageBox::Ok, QMessageBox::Ok};
}

Message informationMessage(const QString &caption, const QString &text)
{
    return {caption, text, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok};
}

namespace {

QString runFileDialog(QWidget *parent, const FileDialogRequest &request,
                      QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilters({request.filter, QFileDialog::tr("All Files (*)")});
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.lastName.isEmpty())
        dialog.selectFile(request.lastName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QMessageBox::StandardButton QtPrompts::show(QWidget *parent, const Message &message)
{
    QMessageBox box(message.icon, message.caption, message.text, message.buttons, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setWindowModality(Qt::ApplicationModal);
    if (message.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(message.defaultButton);
    // A box with Cancel counts Escape and its close box as Cancel; one with only OK as OK.
    box.setEscapeButton(message.buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                                                      : QMessageBox::Ok);
    const int result = box.exec();
    return static_cast<QMessageBox::StandardButton>(result);
}

QString QtPrompts::openFileName(QWidget *parent, const FileDialogRequest &request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtPrompts::saveFileName(QWidget *parent, const FileDialogRequest &request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

} // namespace quill
