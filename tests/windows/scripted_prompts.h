#pragma once

#include "components/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Prompts for tests: every box and dialog is answered from a queue that the test
// fills ahead of the action, and every one shown is recorded exactly as the
// program built it. A prompt nobody scripted fails the running test at once and is
// answered with Cancel or an empty name, so a test never hangs on a modal box.
class ScriptedPrompts : public quill::Prompts
{
public:
    enum class Kind { Box, Run, OpenFile, SaveFile, OpenFiles, Folder };

    // A box its caller built and ran, as it would have been shown.
    struct RanBox {
        QString caption;
        QString text;
        QMessageBox::Icon icon;
        QStringList buttons; // captions, in the box's order
        QString defaultButton;
        QString escapeButton;
        bool onTop;
    };

    // Answers for the next prompts, consumed in the order given.
    void answerBox(QMessageBox::StandardButton button);
    // The caption of the button that closes the next box run; empty closes it with none.
    void answerRun(const QString &buttonCaption);
    // An empty name answers as a cancelled dialog.
    void answerOpenFile(const QString &fileName);
    void answerSaveFile(const QString &fileName);
    // No names answer as a cancelled dialog.
    void answerOpenFiles(const QStringList &fileNames);
    void answerFolder(const QString &folder);

    // The boxes shown, as the program built them.
    const QList<quill::Message> &boxes() const { return m_boxes; }
    const QList<RanBox> &ranBoxes() const { return m_ranBoxes; }
    const QList<quill::FileDialogRequest> &fileRequests() const { return m_fileRequests; }
    // Answers scripted but not yet asked for.
    qsizetype pendingAnswers() const { return m_answers.size(); }
    // Forgets answers and records, for the next test.
    void reset();

    QMessageBox::StandardButton show(QWidget *parent, const quill::Message &message) override;
    QAbstractButton *run(QMessageBox &box) override;
    QString openFileName(QWidget *parent, const quill::FileDialogRequest &request) override;
    QString saveFileName(QWidget *parent, const quill::FileDialogRequest &request) override;
    QStringList openFileNames(QWidget *parent, const quill::FileDialogRequest &request) override;
    QString folderName(QWidget *parent, const quill::FileDialogRequest &request) override;

private:
    struct Answer {
        Kind kind;
        QMessageBox::StandardButton button = QMessageBox::NoButton;
        QString fileName; // or the caption of the button that closes a box run
        QStringList fileNames = {};
    };

    // Takes the next answer; nullopt and a test failure when it is missing or meant
    // for another kind of prompt.
    std::optional<Answer> take(Kind kind, const QString &what);

    QList<Answer> m_answers;
    QList<quill::Message> m_boxes;
    QList<RanBox> m_ranBoxes;
    QList<quill::FileDialogRequest> m_fileRequests;
};
