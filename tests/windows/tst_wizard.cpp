// The Beginner Wizard as the user drives it: opened from the Help menu beside the main
// window, stepped forward and back with the main window's fields brought forward on
// steps 2 to 4, started over when opened again, and its step files missing.

#include "gui_driver.h"

#include "windows/wizard.h"

using namespace Qt::StringLiterals;

namespace {

QString installedText(int step)
{
    QFile file(QStringLiteral(QUILLMARK_DATA_DIR "/wizard/%1.txt").arg(step));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).replace("\r\n"_L1, "\n"_L1).chopped(1);
}

} // namespace

class TestWizard : public GuiTest
{
    Q_OBJECT

protected:
    // The start folder holds the installed step texts; the wizard is due at start in
    // one test.
    void beforeStart() override
    {
        for (int step = 1; step <= 5; ++step) {
            QFile installed(QStringLiteral(QUILLMARK_DATA_DIR "/wizard/%1.txt").arg(step));
            QVERIFY(installed.open(QIODevice::ReadOnly));
            writeStartFile(u"wizard/%1.txt"_s.arg(step), installed.readAll());
        }
        if (qstrcmp(QTest::currentTestFunction(), "atStart") == 0)
            writeStartFile(u"prefs.cfg"_s, prefsFile(false, false, false, true));
    }

    void openWizard()
    {
        press(Qt::CTRL | Qt::ALT | Qt::Key_B);
        QVERIFY(QTest::qWaitForWindowExposed(&wizard()));
    }

    void verifyStep(int step)
    {
        QCOMPARE(wizard().step(), step);
        QCOMPARE(wizard().Label1->text(), u"Step %1 / 5"_s.arg(step));
        QCOMPARE(wizard().Button1->isEnabled(), step > 1);
        QCOMPARE(wizard().Button2->isEnabled(), step < 5);
    }

    void removeStepFile(int step) { QVERIFY(QFile::remove(u"wizard/%1.txt"_s.arg(step))); }

    // The message for a step file that cannot be read.
    static quill::Message cannotOpen(int step)
    {
        return quill::errorMessage(u"Cannot open file %1"_s.arg(
            QDir::toNativeSeparators(QFileInfo(u"wizard/%1.txt"_s.arg(step)).absoluteFilePath())));
    }

private slots:
    // Due at start: the main window, centred until then, moves to the left edge, and
    // the wizard stands beside it at step 1.
    void atStart()
    {
        QVERIFY(wizard().isVisible());
        verifyStep(1);
        QCOMPARE(wizard().Memo1->toPlainText(), installedText(1));
        QCOMPARE(form().x(), 1);
        QCOMPARE(wizard().pos(), QPoint(494, form().y()));
        QVERIFY(qAbs(form().frameGeometry().center().y() -
                     form().screen()->availableGeometry().center().y()) <= 1);
    }

    // Next four times and Previous four times. Before each click the user has gone to
    // another page and field and come back to the wizard: steps 2 to 4 bring the Basic
    // page forward with the focus in their field, where typing goes at once; steps 1
    // and 5 leave the main window as it is. Every text fits the memo unscrolled.
    void stepping()
    {
        openWizard();
        verifyStep(1);
        QCOMPARE(wizard().Memo1->toPlainText(), installedText(1));

        const QList<QWidget *> fields{nullptr, form().Edit1, form().Edit2, form().Edit3, nullptr};
        for (int click = 1; click <= 8; ++click) {
            const bool forward = click <= 4;
            const int step = forward ? click + 1 : 9 - click;
            form().PageControl1->setCurrentIndex(3);
            form().Edit18->setFocus();
            activate(&wizard());

            QTest::mouseClick(forward ? wizard().Button2 : wizard().Button1, Qt::LeftButton);
            verifyStep(step);
            QCOMPARE(wizard().Memo1->toPlainText(), installedText(step));
            QCOMPARE(wizard().Memo1->verticalScrollBar()->maximum(), 0);
            QVERIFY(wizard().isVisible());

            QWidget *field = fields[step - 1];
            if (!field) {
                QCOMPARE(form().PageControl1->currentIndex(), 3);
                QCOMPARE(form().focusWidget(), form().Edit18);
                QCOMPARE(QApplication::activeWindow(), &wizard());
                continue;
            }
            QCOMPARE(form().PageControl1->currentIndex(), 0);
            QVERIFY(QTest::qWaitForWindowActive(&form()));
            QCOMPARE(QApplication::focusWidget(), field);
            const QString typed = u"step %1"_s.arg(click);
            QTest::keyClicks(QApplication::focusWidget(), typed);
            QCOMPARE(static_cast<QLineEdit *>(field)->text().right(typed.size()), typed);
        }
        QCOMPARE(m_prompts.boxes().size(), 0);
    }

    // Opening stands the windows side by side at the main window's top; opening an
    // open wizard moves them again and starts over at step 1.
    void openingStartsOver()
    {
        const int top = form().y();
        openWizard();
        QCOMPARE(form().pos(), QPoint(1, top));
        QCOMPARE(wizard().pos(), QPoint(494, top));
        // An ordinary window of its own.
        QVERIFY(!wizard().parentWidget());
        QVERIFY(!wizard().windowHandle()->transientParent());
        QVERIFY(!wizard().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(wizard().size(), QSize(193, 337));

        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(wizard().Button2, Qt::LeftButton);
        verifyStep(4);
        form().move(200, top + 40);
        wizard().move(600, 10);
        activate(&form());
        openWizard();
        verifyStep(1);
        QCOMPARE(wizard().Memo1->toPlainText(), installedText(1));
        QCOMPARE(form().pos(), QPoint(1, top + 40));
        QCOMPARE(wizard().pos(), QPoint(494, top + 40));
    }

    // A step file that cannot be read is reported; the step moves on and the memo keeps
    // the text it had.
    void missingStepFile()
    {
        removeStepFile(3);
        openWizard();
        QTest::mouseClick(wizard().Button2, Qt::LeftButton);
        m_prompts.answerBox(QMessageBox::Ok);
        QTest::mouseClick(wizard().Button2, Qt::LeftButton);
        QCOMPARE(m_prompts.boxes(), QList{cannotOpen(3)});
        verifyStep(3);
        QCOMPARE(wizard().Memo1->toPlainText(), installedText(2));
    }

    // Without the first text the wizard opens at step 1 with an empty memo.
    void missingFirstText()
    {
        openWizard();
        QTest::mouseClick(wizard().Button2, Qt::LeftButton);
        removeStepFile(1);
        m_prompts.answerBox(QMessageBox::Ok);
        activate(&form());
        openWizard();
        QCOMPARE(m_prompts.boxes(), QList{cannotOpen(1)});
        verifyStep(1);
        QCOMPARE(wizard().Memo1->toPlainText(), QString());
        QVERIFY(wizard().isVisible());
    }

    // The installed texts keep CR LF line ends.
    void installedTexts()
    {
        for (int step = 1; step <= 5; ++step) {
            QFile file(QStringLiteral(QUILLMARK_DATA_DIR "/wizard/%1.txt").arg(step));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            QVERIFY(bytes.endsWith("\r\n"));
            QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        }
    }
};

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
