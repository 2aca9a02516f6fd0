#include "scripted_prompts.h"

#include "files/file_io.h"

#include <QTest>

void ScriptedPrompts::answerWarning(bool ok)
{
    m_answers.append({Kind::Warning, ok, {}});
}

void ScriptedPrompts::acknowledgeInformation()
{
    m_answers.append({Kind::Information, true, {}});
}

void ScriptedPrompts::acknowledgeError()
{
    m_answers.append({Kind::Error, true, {}});
}

void ScriptedPrompts::answerOpenFile(const QString &fileName)
{
    m_answers.append({Kind::OpenFile, !fileName.isEmpty(), fileName});
}

void ScriptedPrompts::answerSaveFile(const QString &fileName)
{
    m_answers.append({Kind::SaveFile, !fileName.isEmpty(), fileName});
}

void ScriptedPrompts::reset()
{
    m_answers.clear();
    m_shown.clear();
    m_fileRequests.clear();
    m_failures.clear();
}

QString ScriptedPrompts::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Warning:
        return QStringLiteral("warning box");
    case Kind::Information:
        return QStringLiteral("information box");
    case Kind::Error:
        return QStringLiteral("error box");
    case Kind::OpenFile:
        return QStringLiteral("open dialog");
    case Kind::SaveFile:
        return QStringLiteral("save dialog");
    }
    return {};
}

const ScriptedPrompts::Answer *ScriptedPrompts::take(Kind kind, const QString &caption,
                                                     const QString &text)
{
    m_shown.append({kind, caption, text});
    QString failure;
    if (m_answers.isEmpty()) {
        failure = QStringLiteral("Unscripted %1 \"%2\": %3").arg(kindName(kind), caption, text);
    } else if (m_answers.constFirst().kind != kind) {
        failure = QStringLiteral("A %1 \"%2\" came where a %3 was scripted: %4")
                      .arg(kindName(kind), caption, kindName(m_answers.constFirst().kind), text);
    }
    if (!failure.isEmpty()) {
        m_failures << failure;
        QTest::qFail(qPrintable(failure), __FILE__, __LINE__);
        return nullptr;
    }
    m_current = m_answers.takeFirst();
    return &m_current;
}

bool ScriptedPrompts::confirmWarning(QWidget *, const QString &text)
{
    const Answer *answer = take(Kind::Warning, QStringLiteral("Warning"), text);
    return answer && answer->ok;
}

void ScriptedPrompts::information(QWidget *, const QString &caption, const QString &text)
{
    take(Kind::Information, caption, text);
}

void ScriptedPrompts::error(QWidget *, const QString &message)
{
    // Recorded as the box shows it, under the program's title.
    take(Kind::Error, QStringLiteral("Quillmark"), quill::errorBoxText(message));
}

QString ScriptedPrompts::openFileName(QWidget *, const quill::FileDialogRequest &request)
{
    m_fileRequests.append(request);
    const Answer *answer = take(Kind::OpenFile, request.title, request.lastName);
    return answer ? answer->fileName : QString();
}

QString ScriptedPrompts::saveFileName(QWidget *, const quill::FileDialogRequest &request)
{
    m_fileRequests.append(request);
    const Answer *answer = take(Kind::SaveFile, request.title, request.lastName);
    return answer ? answer->fileName : QString();
}
