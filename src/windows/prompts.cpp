#include "windows/prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QPointer>
#include <QStandardPaths>

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

// The patterns of a filter text: "JS File (*.js)" gives "*.js".
QStringList filterPatterns(const QString &filter)
{
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        return {};
    return filter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// "*.*" lists every file, names without a dot too, as on the desktop the program's
// users come from; Qt's wildcard would want the dot, so the dialog is told to list
// them all while a filter with "*.*" is chosen.
void listEveryFileForStarDotStar(QFileDialog &dialog)
{
    auto *model = dialog.findChild<QFileSystemModel *>();
    if (!model)
        return;
    const auto apply = [model](const QString &filter) {
        if (filterPatterns(filter).contains(QStringLiteral("*.*")))
            model->setNameFilters({QStringLiteral("*")});
    };
    // Chosen in the dialog: after the dialog has set the filter's own patterns.
    QObject::connect(&dialog, &QFileDialog::filterSelected, model, apply);
    apply(dialog.selectedNameFilter());
}

// The user's documents folder, or their home when they have none.
QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QStringList runFileDialog(QWidget *parent, const FileDialogRequest &request,
                          QFileDialog::AcceptMode mode,
                          QFileDialog::FileMode files = QFileDialog::AnyFile)
{
    const ReturnFocus focus(parent);
    QFileDialog dialog(parent, request.title);
    // Qt's own dialog on every desktop, the same for every user and every test run.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    // An open dialog for one file takes a name that does not exist too: the command tells
    // the user.
    dialog.setFileMode(files);
    if (files == QFileDialog::Directory)
        dialog.setOption(QFileDialog::ShowDirsOnly);
    else
        dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    listEveryFileForStarDotStar(dialog);
    // A name chosen before brings its folder along; otherwise the dialog starts in the
    // user's documents, not in the folder the program runs in.
    if (!QFileInfo(request.lastName).isAbsolute())
        dialog.setDirectory(documentsFolder());
    if (!request.lastName.isEmpty())
        dialog.selectFile(request.lastName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString firstOf(const QStringList &names)
{
    return names.isEmpty() ? QString() : names.constFirst();
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
    return firstOf(runFileDialog(parent, request, QFileDialog::AcceptOpen));
}

QString QtPrompts::saveFileName(QWidget *parent, const FileDialogRequest &request)
{
    return firstOf(runFileDialog(parent, request, QFileDialog::AcceptSave));
}

QStringList QtPrompts::openFileNames(QWidget *parent, const FileDialogRequest &request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptOpen, QFileDialog::ExistingFiles);
}

QString QtPrompts::folderName(QWidget *parent, const FileDialogRequest &request)
{
    return firstOf(runFileDialog(parent, request, QFileDialog::AcceptOpen, QFileDialog::Directory));
}

} // namespace quill
