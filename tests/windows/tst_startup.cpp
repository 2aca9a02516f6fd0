// The program's start-up with scripted draws and boxes: which guidance windows show and
// in what order against the main window, what becomes of prefs.cfg, and what a prefs.cfg
// that cannot be read or written does to the start.

#include "gui_driver.h"

#include "common/file_helpers.h"

using namespace Qt::StringLiterals;
using quill::TPrefsRecord;

namespace {

// The windows as they are shown, by object name.
class ShowRecorder : public QObject
{
public:
    QStringList shown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow())
            shown << watched->objectName();
        return false;
    }
};

QByteArray with(QByteArray prefs, TPrefsRecord::Offset offset, int value)
{
    prefs[offset] = char(value);
    return prefs;
}

} // namespace

class TestStartup : public GuiTest
{
    Q_OBJECT

protected:
    // Every row names the file (or "missing", "folder"), the reminder's draw and the
    // boxes that start-up shows.
    void beforeStart() override
    {
        QFETCH(QByteArray, prefs);
        QFETCH(int, remind);
        QFETCH(QStringList, boxes);
        qApp->installEventFilter(&m_recorder);
        m_recorder.shown.clear();
        m_random.answerDraw(0); // the tip at creation
        m_random.answerDraw(remind);
        QFile::remove(u"prefs.cfg"_s);
        if (prefs == "folder")
            QVERIFY(QDir().mkdir(u"prefs.cfg"_s));
        else if (prefs != "missing")
            writeStartFile(u"prefs.cfg"_s, prefs);
        const QByteArray tag = QTest::currentDataTag();
        if (tag.startsWith("read-only"))
            QVERIFY(QFile::setPermissions(u"prefs.cfg"_s, QFile::ReadOwner));
        if (tag.startsWith("no tip file"))
            QVERIFY(QFile::remove(u"tips/1.txt"_s));
        if (tag.startsWith("no wizard text"))
            QVERIFY(QFile::remove(u"wizard/1.txt"_s));
        for (qsizetype i = 0; i < boxes.size(); ++i)
            m_prompts.answerBox(QMessageBox::Ok);
        m_before = readFile(u"prefs.cfg"_s);
    }

private slots:
    void start_data()
    {
        QTest::addColumn<QByteArray>("prefs");
        QTest::addColumn<int>("remind");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QByteArray>("after"); // prefs.cfg after the start; empty: as before

        const QStringList none;
        const QStringList main{u"Form1"_s};
        const QStringList tip{u"Form5"_s, u"Form1"_s};
        const QStringList reminder{u"Form6"_s, u"Form1"_s};
        const QByteArray quiet = prefsFile(false, false);
        const QByteArray counted =
            with(with(quiet, TPrefsRecord::StartCount1, 1), TPrefsRecord::StartCount2, 1);
        QTest::newRow("no guidance") << quiet << 1 << none << main << counted;
        QTest::newRow("tip") << prefsFile(true, false) << 0 << none << tip << QByteArray();
        QTest::newRow("ShowTips 2")
            << with(quiet, TPrefsRecord::ShowTips, 2) << 0 << none << main << QByteArray();
        QTest::newRow("updates, drawn 0")
            << prefsFile(false, true) << 0 << none << main << QByteArray();
        QTest::newRow("updates, drawn 1")
            << prefsFile(false, true) << 1 << none << reminder << QByteArray();
        QTest::newRow("CheckUpdates 255, drawn 1")
            << with(quiet, TPrefsRecord::CheckUpdates, 255) << 1 << none << main << QByteArray();
        QTest::newRow("wizard") << prefsFile(false, false, false, true) << 1 << none
                                << QStringList{u"Form7"_s, u"Form1"_s} << QByteArray();
        QTest::newRow("ShowWizard 2")
            << with(quiet, TPrefsRecord::ShowWizard, 2) << 1 << none << main << QByteArray();
        QTest::newRow("all, drawn 1")
            << prefsFile(true, true, true, true) << 1 << none
            << QStringList{u"Form5"_s, u"Form6"_s, u"Form7"_s, u"Form1"_s} << QByteArray();

        // Written back as read, the counters one up; what follows the record stays.
        QRandomGenerator rng(5);
        QByteArray odd = with(with(quiet, TPrefsRecord::ShowTips, 7), TPrefsRecord::CodeMode, 9);
        for (int i = TPrefsRecord::Reserved; i < odd.size(); ++i)
            odd[i] = char(rng.bounded(256));
        const auto counts = [&odd](int first, int second) {
            return with(with(odd, TPrefsRecord::StartCount1, first), TPrefsRecord::StartCount2,
                        second);
        };
        QTest::newRow("counters 254 and 255, odd bytes kept")
            << counts(254, 255) << 0 << none << main << counts(255, 0);
        QTest::newRow("a longer file")
            << odd + "more" << 0 << none << main << counts(1, 1) + "more";

        // A file that cannot be read whole: the dialog's load reports it, start-up adds no
        // box, the dialog's initial states stand (a tip, no reminder), no file is made.
        QTest::newRow("missing") << "missing"_ba << 1 << QStringList{u"File not found."_s} << tip
                                 << QByteArray();
        QTest::newRow("37 bytes") << prefsFile(false, true).left(37) << 1
                                  << QStringList{u"Read beyond end of file."_s} << tip
                                  << QByteArray();
        QTest::newRow("a folder") << "folder"_ba << 1 << QStringList{u"File access denied."_s}
                                  << tip << QByteArray();
        // One that cannot be written: no box, the file as it was, the start as it asks.
        QTest::newRow("read-only")
            << prefsFile(false, true) << 1 << none << reminder << QByteArray();
        // Each window's failure in its window's turn.
        QTest::newRow("no tip file, prefs.cfg missing")
            << "missing"_ba << 0
            << QStringList{u"File not found."_s, u"Cannot open file <start>/tips/1.txt."_s} << tip
            << QByteArray();
        // The wizard opens at step 1 without its text, and the start goes on.
        const QByteArray wizard = prefsFile(false, false, false, true);
        QTest::newRow("no wizard text")
            << wizard << 0 << QStringList{u"Cannot open file <start>/wizard/1.txt."_s}
            << QStringList{u"Form7"_s, u"Form1"_s}
            << with(with(wizard, TPrefsRecord::StartCount1, 1), TPrefsRecord::StartCount2, 1);
    }

    void start()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, shown);
        QFETCH(QByteArray, after);

        QStringList shownBoxes;
        for (const quill::Message &box : m_prompts.boxes())
            shownBoxes << box.text;
        QCOMPARE(shownBoxes, boxes.replaceInStrings(u"<start>"_s, startFolder()));
        // The guidance windows show first and stay open over the main window.
        QCOMPARE(m_recorder.shown, shown);
        QCOMPARE(startupTip().isVisible(), shown.contains(u"Form5"_s));
        QCOMPARE(updateReminder().isVisible(), shown.contains(u"Form6"_s));
        QCOMPARE(wizard().isVisible(), shown.contains(u"Form7"_s));
        QCOMPARE(m_random.ranges, (QList<int>{17, 2}));

        const QByteArray file = readFile(u"prefs.cfg"_s);
        if (!after.isEmpty())
            QCOMPARE(file, after);
        else if (!boxes.isEmpty() || qstrcmp(QTest::currentDataTag(), "read-only") == 0)
            QCOMPARE(file, m_before);
        // Nothing is written at exit.
        QVERIFY(form().close());
        QCOMPARE(readFile(u"prefs.cfg"_s), file);
    }

private:
    ShowRecorder m_recorder;
    QByteArray m_before;
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
