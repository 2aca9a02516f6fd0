#include "windows/prompts.h"

#include <QFileDialog>
#include <QPointer>

namespace quill {
namespace {

// Gives the keyboard back to the window a modal box or dialog came from. The desktop
// usually does that; without a window manager nobody would, and the next shortcut
// typed would be lost.
class ReturnFocus
{
public:
    explicit ReturnFocus(QWidget *parent)
        : m_window(parent ? parent->window() : nullptr)
    {}
    ~ReturnFocus()
    {
        if (m_window && m_window->isVisible())
            m_window->activateWindow();
    }
    ReturnFocus(const ReturnFocus &) = delete;
    ReturnFocus &operator=(const ReturnFocus &) = delete;

private:
    QPointer<QWidget> m_window;
};

QString runFileDialog(QWidget *parent, const FileDialogRequest &request,
                      QFileDialog::AcceptMode mode)
{
    const ReturnFocus focus(parent);
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
    const ReturnFocus focus(parent);
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
    const ReturnFocus focus(box.parentWidget());
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
