#include "components/prompts.h"

#include "files/file_io.h"

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

} // namespace quill
