#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QAbstractButton;
class QWidget;

namespace quill {

// One message box as the user will see it. Callers build the whole value, so what
// a box says is decided in one place and the seam only shows it.
struct Message {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;

    friend bool operator==(const Message &, const Message &) = default;
};

// The question before a command that could lose unsaved work: only OK goes on.
Message warningQuestion(const QString &text);
// The generic error box for a failure the command does not handle itself.
Message errorMessage(const QString &failure);
// A box that tells something and offers OK.
Message informationMessage(const QString &caption, const QString &text);

// What a file dialog asks for. Each command keeps its own request, so the dialog
// starts from the name chosen last time.
struct FileDialogRequest {
    QString title;
    QString filter; // Qt filter text, e.g. "Quillmark Data Files (*.qmk)"
    QString defaultSuffix;
    QString lastName; // the name chosen last; the dialog starts from it
};

// Every modal question, message box and file dialog of the program goes through
// this seam, so tests can answer them ahead of the action.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // Shows the box modally and returns the button that closed it; Escape and the
    // close box count as the box's escape button (Cancel where it has one).
    virtual QMessageBox::StandardButton show(QWidget *parent, const Message &message) = 0;

    // Runs a box its caller built, modally, and returns the button that closed it, or
    // nullptr when none did.
    virtual QAbstractButton *run(QMessageBox &box) = 0;

    // The chosen file name, or empty when the dialog was cancelled.
    virtual QString openFileName(QWidget *parent, const FileDialogRequest &request) = 0;
    virtual QString saveFileName(QWidget *parent, const FileDialogRequest &request) = 0;
    // The chosen files, several at once; none when the dialog was cancelled.
    virtual QStringList openFileNames(QWidget *parent, const FileDialogRequest &request) = 0;
    // The chosen folder (the request's filter unused), or empty when cancelled.
    virtual QString folderName(QWidget *parent, const FileDialogRequest &request) = 0;
};

} // namespace quill
