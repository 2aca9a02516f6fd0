#pragma once

#include "windows/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

// Prompts for tests: every box and dialog is answered from a queue that the test
// fills ahead of the action, and every one shown is recorded. A prompt nobody
// scripted fails the running test at once and is answered with Cancel or an empty
// name, so a test never hangs on a modal box.
class ScriptedPrompts : public quill::Prompts
{
public:
    enum class Kind { Warning, Information, Error, OpenFile, SaveFile };

    // One box or dialog as the user would have seen it. For a file dialog the
    // caption is its title and the text the name it starts from.
    struct Shown {
        Kind kind;
        QString caption;
        QString text;
    };

    // Answers for the next prompts, consumed in the order given.
    void answerWarning(bool ok);
    void acknowledgeInformation();
    void acknowledgeError();
    // An empty name answers as a cancelled dialog.
    void answerOpenFile(const QString &fileName);
    void answerSaveFile(const QString &fileName);

    const QList<Shown> &shown() const { return m_shown; }
    const QList<quill::FileDialogRequest> &fileRequests() const { return m_fileRequests; }
    // Answers scripted but not yet asked for.
    qsizetype pendingAnswers() const { return m_answers.size(); }
    // Prompts that came unscripted or of another kind than scripted.
    const QStringList &failures() const { return m_failures; }
    // Forgets answers, records and failures, for the next test.
    void reset();

    bool confirmWarning(QWidget *parent, const QString &text) override;
    void information(QWidget *parent, const QString &caption, const QString &text) override;
    void error(QWidget *parent, const QString &message) override;
    QString openFileName(QWidget *parent, const quill::FileDialogRequest &request) override;
    QString saveFileName(QWidget *parent, const quill::FileDialogRequest &request) override;

    static QString kindName(Kind kind);

private:
    struct Answer {
        Kind kind;
        bool ok = true;
        QString fileName;
    };

    // Records the prompt and takes its answer; nullptr and a test failure when
    // the next answer is missing or meant for another kind of prompt.
    const Answer *take(Kind kind, const QString &caption, const QString &text);

    QList<Answer> m_answers;
    Answer m_current;
    QList<Shown> m_shown;
    QList<quill::FileDialogRequest> m_fileRequests;
    QStringList m_failures;
};
