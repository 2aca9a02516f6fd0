#include "windows/prompts.h"

#include <QFileDialog>

namespace quill {
namespace {

QString runFileDialog(QWidget *parent, const FileDialogRequest &request,
                      QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title);
    // Qt's own dialog on every desktop, the same for every user and every test run.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    // An open dialog takes a name that does not exist too: the command tells the user.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.filter);
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

QAbstractButton *QtPrompts::run(QMessageBox &box)
{
    box.exec();
    return box.clickedButton();
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
