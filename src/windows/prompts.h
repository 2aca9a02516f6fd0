#pragma once

#include <QString>

class QWidget;

namespace quill {

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

    // Caption "Warning", warning icon, OK (default) and Cancel; true only for OK.
    virtual bool confirmWarning(QWidget *parent, const QString &text) = 0;
    // An information box with one OK button.
    virtual void information(QWidget *parent, const QString &caption, const QString &text) = 0;
    // The generic error box: the message under the title "Quillmark", error icon, OK.
    virtual void error(QWidget *parent, const QString &message) = 0;

    // The chosen file name, or empty when the dialog was cancelled.
    virtual QString openFileName(QWidget *parent, const FileDialogRequest &request) = 0;
    virtual QString saveFileName(QWidget *parent, const FileDialogRequest &request) = 0;
};

// The real boxes and dialogs.
class QtPrompts : public Prompts
{
public:
    bool confirmWarning(QWidget *parent, const QString &text) override;
    void information(QWidget *parent, const QString &caption, const QString &text) override;
    void error(QWidget *parent, const QString &message) override;
    QString openFileName(QWidget *parent, const FileDialogRequest &request) override;
    QString saveFileName(QWidget *parent, const FileDialogRequest &request) override;
};

} // namespace quill
