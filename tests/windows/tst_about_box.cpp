// The About box: what it tells about the machine and in which order it asks, a
// machine that gives no version data, and the box as the user meets it from the
// Help menu: modal, centred, closed only by Close or its close box, with a picture
// that opens the maker's site.

#include "gui_driver.h"

#include "common/fake_sys_info.h"
#include "windows/about_box.h"

using namespace Qt::StringLiterals;

class TestAboutBox : public GuiTest
{
    Q_OBJECT

protected:
    // A machine with fixed answers, which gives no version data in one test.
    void beforeStart() override
    {
        m_machine = FakeSysInfo();
        m_machine.name = u"DESK-7"_s;
        m_machine.windows = u"C:\\WINDOWS\\"_s;
        m_machine.system = u"/usr/lib/x86_64-linux-gnu/"_s;
        if (qstrcmp(QTest::currentTestFunction(), "failingVersionQuery") == 0) {
            m_prompts.answerBox(QMessageBox::Ok);
        } else {
            m_machine.extended.emplace();
            m_machine.extended->platformId = quill::PlatformLinux;
            m_machine.extended->productName = u"Example Linux 1.0"_s;
            m_machine.extended->servicePack = u"6.1.0-9-amd64"_s;
        }
        m_sysInfo = &m_machine;
    }

    // Opens the box from the Help menu's shortcut and runs `whileShown` inside it; the
    // box is closed afterwards if it is still open. Returns the box's result.
    int showAbout(const std::function<void()> &whileShown)
    {
        bool shown = false;
        QTimer::singleShot(0, this, [&] {
            shown = QApplication::activeModalWidget() == &aboutBox();
            if (shown)
                whileShown();
            if (aboutBox().isVisible())
                aboutBox().done(-1);
        });
        press(Qt::CTRL | Qt::ALT | Qt::Key_A);
        [&] { QVERIFY2(shown, "The About box did not show as a modal box"); }();
        return aboutBox().result();
    }

private:
    FakeSysInfo m_machine;

private slots:
    // Filled once when the program starts: the description first, then the computer
    // name and the two folders, each in its row under its caption.
    void systemInformation()
    {
        QCOMPARE(m_machine.calls,
                 (QStringList{u"version 156"_s, u"name"_s, u"windows"_s, u"system"_s}));
        const QList<std::tuple<QLabel *, QString, QLabel *, QString>> rows{
            {aboutBox().Label4, u"Computer Name:"_s, aboutBox().Label2, u"DESK-7"_s},
            {aboutBox().Label1, u"Operating System: "_s, aboutBox().Label5,
             u"Example Linux 1.0 (Kernel 6.1.0-9-amd64)"_s},
            {aboutBox().Label3, u"Windows Folder:"_s, aboutBox().Label6, u"C:\\WINDOWS"_s},
            {aboutBox().Label9, u"System Folder: "_s, aboutBox().Label10,
             u"/usr/lib/x86_64-linux-gnu"_s},
        };
        int lastTop = -1;
        for (const auto &[caption, captionText, value, valueText] : rows) {
            QCOMPARE(caption->text(), captionText);
            QCOMPARE(value->text(), valueText);
            QVERIFY(value->y() == caption->y() && value->x() > caption->x() &&
                    value->y() > lastTop);
            lastTop = value->y();
        }

        showAbout([] {});
        QCOMPARE(m_machine.calls.size(), 4);
        QCOMPARE(m_prompts.boxes().size(), 0);
    }

    // Both version queries fail: one box at start-up, and nothing filled in.
    void failingVersionQuery()
    {
        QCOMPARE(m_prompts.boxes(), QList{quill::errorMessage(u"Can't get OS version info"_s)});
        QCOMPARE(m_prompts.boxes().constFirst().text, u"Can't get OS version info."_s);
        QCOMPARE(m_machine.calls, (QStringList{u"version 156"_s, u"version 148"_s}));
        for (QLabel *value :
             {aboutBox().Label2, aboutBox().Label5, aboutBox().Label6, aboutBox().Label10})
            QCOMPARE(value->text(), QString());
        QVERIFY(form().isVisible());
    }

    // Modal and centred; Escape does nothing, Close closes with OK, the close box
    // without; the keyboard goes back to the main window.
    void closing()
    {
        const int closed = showAbout([this] {
            QCOMPARE(aboutBox().windowTitle(), u"About Quillmark v2.0"_s);
            QCOMPARE(aboutBox().size(), QSize(415, 352));
            QCOMPARE(aboutBox().frameGeometry().center(), aboutBox().screen()->geometry().center());
            QTest::keyClick(&aboutBox(), Qt::Key_Escape);
            QVERIFY(aboutBox().isVisible());
            QTest::mouseClick(aboutBox().OKButton, Qt::LeftButton);
        });
        QCOMPARE(closed, int(QDialog::Accepted));
        QVERIFY(QTest::qWaitForWindowActive(&form()));

        QCOMPARE(showAbout([this] { aboutBox().close(); }), int(QDialog::Rejected));
    }

    // The picture opens the maker's site, the home page of the Help menu, which it
    // also shows as its tooltip.
    void picture()
    {
        QAction *website = action(u"Website1"_s);
        QVERIFY(website);
        const QString site = website->property("hint").toString();
        showAbout([this, site] {
            QLabel *image = aboutBox().Image1;
            QCOMPARE(image->pixmap().size(), QSize(397, 203));
            // Inside the panel's two bevels.
            QCOMPARE(image->geometry(), aboutBox().Panel1->rect().adjusted(2, 2, -2, -2));
            QCOMPARE(image->toolTip(), site);
            QCOMPARE(image->cursor().shape(), Qt::PointingHandCursor);
            QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(100, 100));
            QVERIFY(aboutBox().isVisible());
        });
        QCOMPARE(m_shell.targets, QStringList{site});
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_about_box.moc"
