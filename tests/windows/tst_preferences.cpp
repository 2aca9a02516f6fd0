// The Preferences dialog: what it loads from prefs.cfg, what its mode buttons do to the
// page-head fields, what OK writes and when it refuses, Cancel, the keys and Help.

#include "gui_driver.h"

#include "common/file_helpers.h"

using namespace Qt::StringLiterals;
using quill::TPrefsRecord;

namespace {

// The flags and mode as given, random bytes elsewhere.
QByteArray prefsBytes(int tips, int mode, int updates, int wizard, quint32 seed = 1, int size = 38)
{
    QRandomGenerator rng(seed);
    QByteArray bytes(size, '\0');
    for (char &b : bytes)
        b = char(rng.bounded(256));
    bytes[TPrefsRecord::ShowTips] = char(tips);
    bytes[TPrefsRecord::CodeMode] = char(mode);
    bytes[TPrefsRecord::CheckUpdates] = char(updates);
    bytes[TPrefsRecord::ShowWizard] = char(wizard);
    return bytes;
}

} // namespace

class TestPreferences : public GuiTest
{
    Q_OBJECT

protected:
    void beforeStart() override
    {
        // Odd values unless a row says otherwise: tips off, updates on, no wizard, full page.
        QByteArray prefs = prefsBytes(7, 9, 1, 255);
        if (qstrcmp(QTest::currentTestFunction(), "load") == 0) {
            QFETCH(QByteArray, file);
            prefs = file;
        }
        writeStartFile(u"prefs.cfg"_s, prefs);
    }

private slots:
    void load_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<bool>>("checked"); // CheckBox1, CheckBox2, CheckBox3, RadioButton1
        QTest::newRow("all 1") << prefsBytes(1, 1, 1, 1) << QList<bool>{1, 1, 1, 1};
        QTest::newRow("all 0") << prefsBytes(0, 0, 0, 0) << QList<bool>{0, 0, 0, 0};
        QTest::newRow("odd values") << prefsBytes(7, 9, 1, 255) << QList<bool>{0, 1, 0, 0};
    }

    // Loaded at start-up; the mode 1 greys the page-head fields as a click would.
    void load()
    {
        QFETCH(QList<bool>, checked);
        TForm2 &p = preferences();
        QCOMPARE((QList<bool>{p.CheckBox1->isChecked(), p.CheckBox2->isChecked(),
                              p.CheckBox3->isChecked(), p.RadioButton1->isChecked()}),
                 checked);
        QCOMPARE(p.RadioButton2->isChecked(), !checked[3]);
        verifyPageHead(!checked[3]);
    }

    // Clicks and arrow keys alike; the texts stay through both modes. Tab enters the
    // group at its checked button.
    void modeButtons()
    {
        TForm2 &p = preferences();
        typeInto(p.Edit1, u"Title"_s);
        p.CheckBox3->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), p.RadioButton2);
        press(Qt::Key_Up);
        QVERIFY(p.RadioButton1->isChecked());
        verifyPageHead(false);
        clickIndicator(p.RadioButton2);
        verifyPageHead(true);
        clickIndicator(p.RadioButton1);
        verifyPageHead(false);
        QCOMPARE(p.Edit1->text(), u"Title"_s);
        QVERIFY(form().document().mode() == quill::GenerationMode::MetaOnly);
    }

    void close_data()
    {
        QTest::addColumn<QString>("focus"); // pressed with the key, or clicked without one
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("stays");
        QTest::addColumn<bool>("writes");
        QTest::newRow("OK") << u"Button1"_s << 0 << false << true;
        QTest::newRow("Enter on OK") << u"Button1"_s << int(Qt::Key_Return) << false << true;
        QTest::newRow("Cancel") << u"Button2"_s << 0 << false << false;
        QTest::newRow("Enter on Cancel") << u"Button2"_s << int(Qt::Key_Return) << false << false;
        QTest::newRow("close box") << QString() << 0 << false << false;
        // No default or cancel button: Enter presses the focused button alone.
        QTest::newRow("Esc") << u"Button1"_s << int(Qt::Key_Escape) << true << false;
        QTest::newRow("Enter on a check box")
            << u"CheckBox1"_s << int(Qt::Key_Return) << true << false;
        QTest::newRow("Enter in a field") << u"Edit2"_s << int(Qt::Key_Enter) << true << false;
    }

    // OK stores the four bytes into the file as it is then and closes; Cancel and the
    // close box close and write nothing. The controls keep what the user chose either way.
    void close()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, stays);
        QFETCH(bool, writes);
        showPreferences();
        for (QAbstractButton *b : {static_cast<QAbstractButton *>(preferences().CheckBox1),
                                   static_cast<QAbstractButton *>(preferences().CheckBox3),
                                   static_cast<QAbstractButton *>(preferences().RadioButton1)})
            clickIndicator(b);
        // Other starts have counted since, and something changed the reserved bytes.
        const QByteArray now = prefsBytes(0, 0, 0, 0, 3, 50);
        writeStartFile(u"prefs.cfg"_s, now);

        QWidget *target = preferences().findChild<QWidget *>(focus);
        if (focus.isEmpty()) {
            preferences().close();
        } else if (key == 0) {
            QTest::mouseClick(target, Qt::LeftButton);
        } else {
            activate(&preferences());
            target->setFocus(Qt::TabFocusReason);
            press(Qt::Key(key));
        }
        QCOMPARE(preferences().isVisible(), stays);
        QCOMPARE(readFile(u"prefs.cfg"_s), writes ? prefsBytes(1, 1, 1, 1, 3, 50) : now);
        QVERIFY(preferences().CheckBox1->isChecked() && preferences().CheckBox3->isChecked());
        QVERIFY(form().document().mode() == quill::GenerationMode::MetaOnly);
    }

    // The failure in the error box; the dialog stays open and nothing is written.
    void okRefused_data()
    {
        QTest::addColumn<bool>("gone");
        QTest::addColumn<QString>("message");
        QTest::newRow("file gone") << true << u"File not found."_s;
        QTest::newRow("read-only") << false << u"File access denied."_s;
    }

    void okRefused()
    {
        QFETCH(bool, gone);
        QFETCH(QString, message);
        showPreferences();
        const QByteArray before = readFile(u"prefs.cfg"_s);
        QVERIFY(gone ? QFile::remove(u"prefs.cfg"_s)
                     : QFile::setPermissions(u"prefs.cfg"_s, QFile::ReadOwner));
        m_prompts.answerBox(QMessageBox::Ok);

        QTest::mouseClick(preferences().Button1, Qt::LeftButton);
        QCOMPARE(m_prompts.boxes(), QList<quill::Message>{quill::errorMessage(message)});
        QVERIFY(preferences().isVisible());
        QCOMPARE(readFile(u"prefs.cfg"_s), gone ? "<unreadable>"_ba : before);
    }

    void help()
    {
        showPreferences();
        QTest::mouseClick(preferences().Button3, Qt::LeftButton);
        const QString sep = QDir::separator();
        QCOMPARE(m_shell.targets,
                 QStringList{startFolder() + sep + u"help"_s + sep + u"context2.html"_s});
        QVERIFY(preferences().isVisible());
    }

private:
    // The three fields and their labels, enabled or greyed with the button-face colour.
    void verifyPageHead(bool enabled)
    {
        TForm2 &p = preferences();
        for (QWidget *w : std::initializer_list<QWidget *>{p.Label1, p.Edit1, p.Label2, p.Edit2,
                                                           p.Label3, p.Edit3})
            QCOMPARE(w->isEnabled(), enabled);
        const QPalette::ColorRole face = enabled ? QPalette::Base : QPalette::Button;
        for (QLineEdit *edit : {p.Edit1, p.Edit2, p.Edit3})
            QCOMPARE(edit->palette().color(QPalette::Base), p.palette().color(face));
    }
};

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
