#include "scripted_prompts.h"

#include <QPushButton>
#include <QTest>

namespace {

QString kindName(ScriptedPrompts::Kind kind)
{
    const char *const names[] = {"message box", "message box run",       "open dialog",
                                 "save dialog", "open dialog for files", "folder dialog"};
    return QString::fromLatin1(names[static_cast<int>(kind)]);
}

} // namespace

void ScriptedPrompts::answerBox(QMessageBox::StandardButton button)
{
    m_answers.append({Kind::Box, button, {}});
}

void ScriptedPrompts::answerRun(const QString &buttonCaption)
{
    m_answers.append({Kind::Run, QMessageBox::NoButton, buttonCaption});
}

void ScriptedPrompts::answerOpenFile(const QString &fileName)
{
    m_answers.append({Kind::OpenFile, QMessageBox::NoButton, fileName});
}

void ScriptedPrompts::answerSaveFile(const QString &fileName)
{
    m_answers.append({Kind::SaveFile, QMessageBox::NoButton, fileName});
}

void ScriptedPrompts::answerOpenFiles(const QStringList &fileNames)
{
    m_answers.append({Kind::OpenFiles, QMessageBox::NoButton, {}, fileNames});
}

void ScriptedPrompts::answerFolder(const QString &folder)
{
    m_answers.append({Kind::Folder, QMessageBox::NoButton, folder, {}});
}

void ScriptedPrompts::reset()
{
    m_answers.clear();
    m_boxes.clear();
    m_ranBoxes.clear();
    m_fileRequests.clear();
}

std::optional<ScriptedPrompts::Answer> ScriptedPrompts::take(Kind kind, const QString &what)
{
    QString failure;
    if (m_answers.isEmpty())
        failure = QStringLiteral("Unscripted %1: %2").arg(kindName(kind), what);
    else if (m_answers.constFirst().kind != kind)
        failure = QStringLiteral("A %1 came where a %2 was scripted: %3")
                      .arg(kindName(kind), kindName(m_answers.constFirst().kind), what);
    if (!failure.isEmpty()) {
        QTest::qFail(qPrintable(failure), __FILE__, __LINE__);
        return std::nullopt;
    }
    return m_answers.takeFirst();
}

QMessageBox::StandardButton ScriptedPrompts::show(QWidget *, const quill::Message &message)
{
    m_boxes.append(message);
    const auto answer = take(Kind::Box, message.caption + QStringLiteral(": ") + message.text);
    // Unscripted: whatever the box's escape would give, so nothing goes on.
    if (!answer)
        return message.buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                                             : QMessageBox::Ok;
    return answer->button;
}

QAbstractButton *ScriptedPrompts::run(QMessageBox &box)
{
    RanBox shown{box.windowTitle(),
                 box.text(),
                 box.icon(),
                 {},
                 {},
                 {},
                 box.windowFlags().testFlag(Qt::WindowStaysOnTopHint)};
    for (QAbstractButton *button : box.buttons())
        shown.buttons << button->text();
    if (box.defaultButton())
        shown.defaultButton = box.defaultButton()->text();
    if (box.escapeButton())
        shown.escapeButton = box.escapeButton()->text();
    m_ranBoxes.append(shown);
    const auto answer = take(Kind::Run, shown.caption + QStringLiteral(": ") + shown.text);
    if (!answer)
        return box.escapeButton();
    for (QAbstractButton *button : box.buttons()) {
        if (button->text() == answer->fileName)
            return button;
    }
    return nullptr;
}

QString ScriptedPrompts::openFileName(QWidget *, const quill::FileDialogRequest &request)
{
    m_fileRequests.append(request);
    const auto answer = take(Kind::OpenFile, request.title);
    return answer ? answer->fileName : QString();
}

QString ScriptedPrompts::saveFileName(QWidget *, const quill::FileDialogRequest &request)
{
    m_fileRequests.append(request);
    const auto answer = take(Kind::SaveFile, request.title);
    return answer ? answer->fileName : QString();
}

QStringList ScriptedPrompts::openFileNames(QWidget *, const quill::FileDialogRequest &request)
{
    m_fileRequests.append(request);
    const auto answer = take(Kind::OpenFiles, request.title);
    return answer ? answer->fileNames : QStringList();
}

QString ScriptedPrompts::folderName(QWidget *, const quill::FileDialogRequest &request)
{
    m_fileRequests.append(request);
    const auto answer = take(Kind::Folder, request.title);
    return answer ? answer->fileName : QString();
}
