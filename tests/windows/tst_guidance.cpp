// The secondary windows as windows (fixed, owned by the main window, centred over it),
// the startup tip with its draws and files, the installed tips, and the update reminder.

#include "gui_driver.h"

#include "common/file_helpers.h"
#include "windows/random_source.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace {

// The windows in the order they come up, forward or are raised, by object name.
class StackingRecorder : public QObject
{
public:
    QStringList order;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto type = event->type();
        // With a window manager, a window the user activates comes forward too.
        if ((type == QEvent::Show || type == QEvent::ZOrderChange ||
             type == QEvent::WindowActivate) &&
            watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
            order << watched->objectName();
        return false;
    }
};

} // namespace

class TestGuidance : public GuiTest
{
    Q_OBJECT

protected:
    // Tip and reminder at start: the tip's draw at creation, then the reminder's.
    void beforeStart() override
    {
        writeStartFile(u"prefs.cfg"_s, prefsFile(true, true));
        int tip = 0;
        if (qstrcmp(QTest::currentTestFunction(), "tipDraws") == 0) {
            QFETCH(int, first);
            tip = first;
        }
        m_random.answerDraw(tip);
        m_random.answerDraw(1);
    }

private slots:
    void windows_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Preferences") << u"Form2"_s;
        QTest::newRow("Startup Tip") << u"Form5"_s;
        QTest::newRow("Check For Updates") << u"Form6"_s;
    }

    void windows()
    {
        QFETCH(QString, name);
        if (name == "Form2"_L1)
            press(Qt::CTRL | Qt::Key_E);
        const QWidgetList tops = QApplication::topLevelWidgets();
        QWidget *w = *std::find_if(tops.begin(), tops.end(),
                                   [&name](QWidget *top) { return top->objectName() == name; });
        QVERIFY(w->isVisible());

        // Fixed size and a close box only; above the main window, not the whole desktop.
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                      Qt::WindowStaysOnTopHint)));
        QCOMPARE(w->windowHandle()->transientParent(), form().windowHandle());
        QVERIFY((w->frameGeometry().center() - form().frameGeometry().center()).manhattanLength() <=
                2);

        // Esc does nothing; moved, the window keeps its place the next time it shows.
        activate(w);
        press(Qt::Key_Escape);
        QVERIFY(w->isVisible());
        const QPoint moved = w->pos() + QPoint(30, 20);
        w->move(moved);
        w->hide();
        if (name == "Form2"_L1) {
            activate(&form());
            press(Qt::CTRL | Qt::Key_E);
            QCOMPARE(w->pos(), moved);
        }
    }

    // Whatever brings the main window or the wizard forward, the tip and the reminder are
    // raised over them again.
    void guidanceStaysAbove_data()
    {
        QTest::addColumn<int>("step"); // how far the user goes
        QTest::newRow("wizard opened after them") << 0;
        QTest::newRow("wizard brings the main window forward") << 1;
        QTest::newRow("main window activated") << 2;
    }

    void guidanceStaysAbove()
    {
        QFETCH(int, step);
        StackingRecorder stacking;
        qApp->installEventFilter(&stacking);
        action(u"BeginnerWizard1"_s)->trigger();
        if (step >= 1)
            QTest::mouseClick(wizard().Button2, Qt::LeftButton);
        if (step == 2) {
            activate(&wizard());
            activate(&form());
        }
        // Windows come forward as the events arrive; the raise follows each.
        const auto raisedLast = [&stacking] {
            const QStringList &order = stacking.order;
            const qsizetype lastOther =
                std::max(order.lastIndexOf(u"Form1"_s), order.lastIndexOf(u"Form7"_s));
            return lastOther >= 0 && order.lastIndexOf(u"Form5"_s) > lastOther &&
                   order.lastIndexOf(u"Form6"_s) > lastOther;
        };
        QTRY_VERIFY2(raisedLast(), qPrintable(stacking.order.join(u' ')));
        qApp->removeEventFilter(&stacking);
    }

    void tipDraws_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("next");
        QTest::newRow("1, then 17") << 0 << 16;
        QTest::newRow("17, then 17 again") << 16 << 16;
    }

    // A draw n loads tips/n.txt; Next draws again without seeding again.
    void tipDraws()
    {
        QFETCH(int, first);
        QFETCH(int, next);
        QCOMPARE(startupTip().Memo1->toPlainText(), u"Tip %1."_s.arg(first + 1));
        const int seeds = m_random.seeds;
        m_random.answerDraw(next);
        QTest::mouseClick(startupTip().Button2, Qt::LeftButton);
        QCOMPARE(startupTip().Memo1->toPlainText(), u"Tip %1."_s.arg(next + 1));
        QCOMPARE(m_random.ranges.constLast(), 17);
        QCOMPARE(m_random.seeds, seeds);
        QTest::mouseClick(startupTip().Button1, Qt::LeftButton);
        QVERIFY(!startupTip().isVisible());
    }

    // Reported with the full path; the memo keeps its tip and the window stays usable.
    void missingTipFile()
    {
        QVERIFY(QFile::remove(u"tips/5.txt"_s));
        m_random.answerDraw(4);
        m_prompts.answerBox(QMessageBox::Ok);
        QTest::mouseClick(startupTip().Button2, Qt::LeftButton);
        const QString path = QDir::toNativeSeparators(startFolder() + u"/tips/5.txt"_s);
        QCOMPARE(m_prompts.boxes(),
                 QList<quill::Message>{quill::errorMessage(u"Cannot open file "_s + path)});
        QCOMPARE(startupTip().Memo1->toPlainText(), u"Tip 1."_s);
        m_random.answerDraw(1);
        QTest::mouseClick(startupTip().Button2, Qt::LeftButton);
        QCOMPARE(startupTip().Memo1->toPlainText(), u"Tip 2."_s);
    }

    // The program's own generator behind the tip: every tip comes up, and no other file.
    void realGeneratorDrawsEveryTip()
    {
        quill::ClockRandom random;
        TForm5 tip({m_prompts, m_shell, m_printer, random});
        tip.FormActivate();
        QSet<QString> seen;
        for (int i = 0; i < 1000; ++i) {
            tip.Button2Click();
            seen << tip.Memo1->toPlainText();
        }
        QSet<QString> all;
        for (int n = 1; n <= 17; ++n)
            all << u"Tip %1."_s.arg(n);
        QCOMPARE(seen, all);
    }

    // Each installed tip: CR LF lines, shown whole in the memo without scrolling.
    void installedTips()
    {
        for (int n = 1; n <= 17; ++n) {
            const QByteArray bytes =
                readFile(QStringLiteral(QUILLMARK_DATA_DIR "/tips/%1.txt").arg(n));
            QVERIFY2(bytes.endsWith("\r\n") && bytes.count('\n') == bytes.count("\r\n"),
                     qPrintable(QString::number(n)));
            writeStartFile(u"tips/1.txt"_s, bytes);
            m_random.answerDraw(0);
            QTest::mouseClick(startupTip().Button2, Qt::LeftButton);
            QPlainTextEdit *memo = startupTip().Memo1;
            QCOMPARE(memo->toPlainText().toLatin1() + "\r\n", bytes);
            QTextCursor end(memo->document());
            end.movePosition(QTextCursor::End);
            QVERIFY2(memo->cursorRect(end).bottom() < memo->viewport()->height(),
                     qPrintable(QString::number(n)));
        }
    }

    void reminder_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Check Update") << u"Button1"_s;
        QTest::newRow("Do Not Check") << u"Button2"_s;
        QTest::newRow("close box") << QString();
    }

    // Check Update opens the product's page, the one the On The Web items open; each way
    // hides the window and leaves prefs.cfg as it is.
    void reminder()
    {
        QFETCH(QString, button);
        TForm6 &r = updateReminder();
        const QByteArray prefs = readFile(u"prefs.cfg"_s);
        if (button.isEmpty())
            r.close();
        else
            QTest::mouseClick(r.findChild<QPushButton *>(button), Qt::LeftButton);
        QVERIFY(!r.isVisible());
        const QString home = action(u"Website1"_s)->property("hint").toString();
        QCOMPARE(m_shell.targets, button == "Button1"_L1 ? QStringList{home} : QStringList());
        QCOMPARE(readFile(u"prefs.cfg"_s), prefs);
    }
};

QTEST_MAIN(TestGuidance)
#include "tst_guidance.moc"
