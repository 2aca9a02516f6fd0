// The message box component shown through the real prompts: what the box offers,
// in which order, and what each button gives back.

#include "components/mbox.h"
#include "windows/prompts.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TMBox::TMsgDlgType)
Q_DECLARE_METATYPE(TMBox::TMsgDlgButtons)

namespace {

// What the box showed, read before it was closed.
struct Seen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons; // left to right
    bool onTop = false;
};

// Closes the next modal box with the button captioned `press` (Escape when empty),
// after reading it into `seen`.
void closeNextBox(QObject *context, const QString &press, Seen &seen)
{
    QTimer::singleShot(0, context, [press, &seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        QList<QAbstractButton *> buttons = box->buttons();
        std::sort(buttons.begin(), buttons.end(),
                  [](QAbstractButton *a, QAbstractButton *b) { return a->x() < b->x(); });
        seen = {box->windowTitle(),
                box->text(),
                box->icon(),
                {},
                box->windowFlags().testFlag(Qt::WindowStaysOnTopHint)};
        for (QAbstractButton *b : buttons)
            seen.buttons << b->text();
        if (press.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton *b : buttons) {
            if (b->text() == press)
                b->click();
        }
    });
}

} // namespace

class TestMBox : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void execute_data();
    void execute();
};

void TestMBox::defaults()
{
    quill::QtPrompts prompts;
    QObject owner;
    auto *box = new TMBox(prompts, &owner);
    QCOMPARE(box->parent(), &owner);
    QCOMPARE(box->boxType(), TMBox::mtInformation);
    QVERIFY(box->buttons() == TMBox::TMsgDlgButtons{TMBox::mbOK});
    QCOMPARE(box->caption(), QString());
    QCOMPARE(box->text(), QString());
    QCOMPARE(box->lastResult(), 0);
    // The author line is the component's own.
    const QString author = box->copyright();
    QVERIFY(!author.isEmpty());
    box->setCopyright(u"someone else"_s);
    QVERIFY(box->setProperty("Copyright", u"stored in a window"_s));
    QCOMPARE(box->copyright(), author);
}

void TestMBox::execute_data()
{
    QTest::addColumn<TMBox::TMsgDlgType>("type");
    QTest::addColumn<TMBox::TMsgDlgButtons>("buttons");
    QTest::addColumn<QString>("press"); // empty: Escape
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("result");

    using B = TMBox;
    QTest::newRow("defaults") << B::mtInformation << B::TMsgDlgButtons{B::mbOK} << u"OK"_s
                              << QMessageBox::Information << QStringList{u"OK"_s} << 1;
    QTest::newRow("Escape on OK alone") << B::mtWarning << B::TMsgDlgButtons{B::mbOK} << QString()
                                        << QMessageBox::Warning << QStringList{u"OK"_s} << 1;
    // Offered in the set's order, whatever order the set was written in.
    const QStringList all{u"&Yes"_s,       u"&No"_s,         u"OK"_s,      u"Cancel"_s,
                          u"&Abort"_s,     u"&Retry"_s,      u"&Ignore"_s, u"&All"_s,
                          u"N&o to All"_s, u"Yes to &All"_s, u"&Help"_s};
    const B::TMsgDlgButtons every{B::mbHelp,   B::mbYesToAll, B::mbNoToAll, B::mbAll,
                                  B::mbIgnore, B::mbRetry,    B::mbAbort,   B::mbCancel,
                                  B::mbOK,     B::mbNo,       B::mbYes};
    const int results[] = {6, 7, 1, 2, 3, 4, 5, 8, 9, 10, 0};
    for (int i = 0; i < all.size(); ++i) {
        QTest::addRow("every button, %s", qPrintable(all[i]))
            << B::mtCustom << every << all[i] << QMessageBox::NoIcon << all << results[i];
    }
    QTest::newRow("Escape is Cancel")
        << B::mtConfirmation << B::TMsgDlgButtons{B::mbYes, B::mbNo, B::mbCancel} << QString()
        << QMessageBox::Question << QStringList{u"&Yes"_s, u"&No"_s, u"Cancel"_s} << 2;
    QTest::newRow("Escape is No without Cancel")
        << B::mtError << B::TMsgDlgButtons{B::mbYes, B::mbNo} << QString() << QMessageBox::Critical
        << QStringList{u"&Yes"_s, u"&No"_s} << 7;
}

void TestMBox::execute()
{
    QFETCH(TMBox::TMsgDlgType, type);
    QFETCH(TMBox::TMsgDlgButtons, buttons);
    QFETCH(QString, press);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QStringList, shown);
    QFETCH(int, result);

    quill::QtPrompts prompts;
    TMBox box(prompts, nullptr);
    box.setBoxType(type);
    box.setButtons(buttons);
    // The default rows keep the empty title and text: an empty caption is no default title.
    if (buttons.contains(TMBox::mbCancel) || type == TMBox::mtCustom) {
        box.setCaption(u"Quillmark"_s);
        box.setText(u"Please enter a valid source and destination filename!"_s);
    }
    Seen seen;
    closeNextBox(this, press, seen);
    QCOMPARE(box.Execute(), result);
    QCOMPARE(box.lastResult(), result);
    QCOMPARE(seen.title, box.caption());
    QCOMPARE(seen.text, box.text());
    QCOMPARE(seen.icon, icon);
    QCOMPARE(seen.buttons, shown);
    QVERIFY(seen.onTop);
}

QTEST_MAIN(TestMBox)
#include "tst_mbox.moc"
