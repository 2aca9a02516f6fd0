// A project given on the command line: opened once the program is up, as Open opens
// a chosen file, without a question.

#include "gui_driver.h"

#include "common/file_helpers.h"
#include "files/project_record.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class TestOpenArgument : public GuiTest
{
    Q_OBJECT

private slots:
    void opens()
    {
        QTemporaryDir dir;
        quill::TagDocument doc = quill::TagDocument::startUp();
        doc.setText(quill::Field::Edit1, u"Given on the command line"_s);
        doc.setIndex(quill::Field::ComboBox5, 13);
        const QString path = dir.filePath(u"site.qmk"_s);
        QString error;
        QVERIFY(quill::SaveProjectFile(path, quill::GatherProject(doc), &error));

        const QByteArray prefsAtStart = readFile(u"prefs.cfg"_s);
        QCOMPARE(prefsAtStart.size(), 38);
        app().openProject(path);

        verifyDocument(doc);
        // The start-up's write-back stands as it was; the start folder stays.
        QCOMPARE(readFile(u"prefs.cfg"_s), prefsAtStart);
        QVERIFY(m_prompts.boxes().isEmpty());
        QCOMPARE(mark(), u"Saved"_s);
        QCOMPARE(statusPanels()[1]->text(), path);
        // The open dialog starts from it, as after a normal Open.
        m_prompts.answerOpenFile({});
        press(Qt::CTRL | Qt::Key_O);
        QCOMPARE(m_prompts.fileRequests().constFirst().lastName, path);
        QCOMPARE(form().Edit13->text(), startFolder());
    }

    void failures_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << u"File not found."_s;
        QTest::newRow("1639 bytes") << QByteArray(1639, 'x') << u"Read beyond end of file."_s;
    }

    void failures()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"site.qmk"_s);
        if (!content.isEmpty())
            QVERIFY(writeFile(path, content));
        m_prompts.answerBox(QMessageBox::Ok);

        app().openProject(path);

        QCOMPARE(m_prompts.boxes().size(), 1);
        QCOMPARE(m_prompts.boxes().constFirst().text, message);
        verifyDocument(quill::TagDocument::startUp());
        QCOMPARE(mark(), QString());
        QCOMPARE(statusPanels()[1]->text(), QString());
        QVERIFY(form().isVisible());
    }
};

QTEST_MAIN(TestOpenArgument)
#include "tst_open_argument.moc"
