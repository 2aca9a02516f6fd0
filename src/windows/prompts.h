#pragma once

#include "components/prompts.h"

namespace quill {

// The real boxes and dialogs.
class QtPrompts : public Prompts
{
public:
    QMessageBox::StandardButton show(QWidget *parent, const Message &message) override;
    QAbstractButton *run(QMessageBox &box) override;
    QString openFileName(QWidget *parent, const FileDialogRequest &request) override;
    QString saveFileName(QWidget *parent, const FileDialogRequest &request) override;
    QStringList openFileNames(QWidget *parent, const FileDialogRequest &request) override;
    QString folderName(QWidget *parent, const FileDialogRequest &request) override;
};

} // namespace quill
