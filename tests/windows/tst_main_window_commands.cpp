// The main window's commands as the user runs them: generating the code (the
// worked example in both modes), reset, new, the "?" buttons and the start folder.

#include "gui_driver.h"

#include "common/expected_values.h"
#include "common/worked_example.h"
#include "document/meta_generator.h"

using namespace Qt::StringLiterals;

namespace {

QString firstNote()
{
    return QString::fromLatin1(expected::characterSetNotes[0]);
}

} // namespace

class TestMainWindowCommands : public GuiTest
{
    Q_OBJECT

private slots:
    void generate()
    {
        typeInto(form().Edit1, u"Toys \"for\" <kids>"_s);
        typeInto(form().Edit3, u" "_s);
        chooseItem(form().ComboBox3, 5);
        press(Qt::Key_F2);

        QCOMPARE(form().PageControl1->currentIndex(), 4);
        const QStringList expected = quill::generateMetaCode(form().document());
        QCOMPARE(lines(form().Memo1), expected);
        QCOMPARE(mark(), u"Modified"_s);

        // A second run rebuilds the page rather than adding to it; text typed there is lost.
        QTest::mouseClick(form().Memo1->viewport(), Qt::LeftButton);
        QTest::keyClicks(form().Memo1, u"typed by hand"_s);
        press(Qt::Key_F2);
        QCOMPARE(lines(form().Memo1), expected);
        press(Qt::Key_F2);
        QCOMPARE(lines(form().Memo1), expected);
    }

    void workedExample_data()
    {
        QTest::addColumn<bool>("metaOnly");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("meta only") << true << worked::metaLines();
        QTest::newRow("full page") << false << worked::fullPageLines();
    }

    void workedExample()
    {
        QFETCH(bool, metaOnly);
        QFETCH(QStringList, expected);

        for (const worked::Input &input : worked::inputs) {
            const QString name = QString::fromLatin1(input.control);
            const QString value = QString::fromUtf8(input.value);
            QWidget *w = name.startsWith("Pref."_L1)
                             ? preferences().findChild<QWidget *>(name.mid(5))
                             : form().findChild<QWidget *>(name);
            QVERIFY2(w, input.control);
            if (auto *combo = qobject_cast<QComboBox *>(w))
                chooseItem(combo, combo->findText(value));
            else if (auto *check = qobject_cast<QCheckBox *>(w))
                clickIndicator(check);
            else
                typeInto(w, value);
            if (QTest::currentTestFailed())
                return;
        }
        QVERIFY(form().CheckBox3->isChecked());

        if (metaOnly)
            clickIndicator(preferences().RadioButton1);
        QCOMPARE(preferences().RadioButton1->isChecked(), metaOnly);
        leavePreferences();

        press(Qt::Key_F2);
        QCOMPARE(lines(form().Memo1), expected);
        QCOMPARE(lines(form().Memo1), quill::generateMetaCode(form().document()));
    }

    void resetAllFields()
    {
        // A document with every kind of change, a generated page and meta-only mode.
        typeInto(form().Edit1, u"A description"_s);
        typeInto(form().Edit2, u"some, keywords"_s);
        typeInto(form().Edit24, u"2020-01-01"_s);
        typeInto(form().Edit33, u"text/lua"_s);
        typeInto(form().Edit34, u"text/xsl"_s);
        chooseItem(form().ComboBox3, 0);
        chooseItem(form().ComboBox4, 4);
        chooseItem(form().ComboBox10, 0);
        chooseItem(form().ComboBox13, 10);
        clickIndicator(form().CheckBox2);
        clickIndicator(form().CheckBox3);
        typeInto(preferences().Edit1, u"Title"_s);
        typeInto(preferences().Edit2, u"style.css"_s);
        typeInto(preferences().Edit3, u"favicon.ico"_s);
        clickIndicator(preferences().RadioButton1);
        leavePreferences();
        press(Qt::Key_F2);
        const QString code = form().Memo1->toPlainText();
        QVERIFY(!code.isEmpty());
        press(Qt::Key_F7);
        QTest::mouseClick(form().Edit16, Qt::LeftButton);
        form().setStatusPanelText(1, u"toys.qmk"_s); // as Save would leave it

        press(Qt::CTRL | Qt::Key_R);

        quill::TagDocument expected = quill::TagDocument::startUp();
        expected.setMode(quill::GenerationMode::MetaOnly);
        verifyDocument(expected);
        QCOMPARE(form().Memo1->toPlainText(), code);
        QCOMPARE(form().PageControl1->currentIndex(), 2);
        QVERIFY(form().ComboBox11->isEnabled());
        QVERIFY(form().ComboBox12->isEnabled());
        verifyCountersFull();
        QVERIFY(preferences().RadioButton1->isChecked());
        QCOMPARE(lines(form().Memo2), QStringList{firstNote()});
        QCOMPARE(mark(), u"Saved"_s);
        QCOMPARE(statusPanels()[1]->text(), u"toys.qmk"_s);
        QCOMPARE(form().Edit13->text(), startFolder());
        QVERIFY(m_prompts.boxes().isEmpty());

        // The kept code page is the user's to edit, and editing it is a change.
        QTest::keyClick(form().Edit16, Qt::Key_F9);
        QTest::mouseClick(form().Memo1->viewport(), Qt::LeftButton);
        QTest::keyClicks(form().Memo1, u"<!-- by hand -->"_s);
        QCOMPARE(mark(), u"Modified"_s);
    }

    void newWhenModified_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("Cancel") << false;
        QTest::newRow("OK") << true;
    }

    void newWhenModified()
    {
        QFETCH(bool, ok);

        typeInto(form().Edit6, u"A title"_s);
        chooseItem(form().ComboBox5, 13);
        chooseItem(form().ComboBox4, 7);
        typeInto(preferences().Edit1, u"Page"_s);
        leavePreferences();
        press(Qt::Key_F2);
        press(Qt::Key_F8);
        QTest::mouseClick(form().Edit22, Qt::LeftButton);
        const quill::TagDocument before = form().document();
        const QString code = form().Memo1->toPlainText();
        const QStringList note = lines(form().Memo2);
        QCOMPARE(mark(), u"Modified"_s);

        m_prompts.answerBox(ok ? QMessageBox::Ok : QMessageBox::Cancel);
        press(Qt::CTRL | Qt::Key_N);

        const quill::Message question{u"Warning"_s, u"Are you sure you want to clear all fields?"_s,
                                      QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel,
                                      QMessageBox::Ok};
        QCOMPARE(m_prompts.boxes(), QList<quill::Message>{question});
        if (!ok) {
            verifyDocument(before);
            QCOMPARE(form().Memo1->toPlainText(), code);
            QCOMPARE(form().PageControl1->currentIndex(), 3);
            QCOMPARE(lines(form().Memo2), note);
            QCOMPARE(mark(), u"Modified"_s);
            return;
        }
        verifyDocument(quill::TagDocument::startUp());
        QCOMPARE(lines(form().Memo2), QStringList{firstNote()});
        QVERIFY(form().Memo1->toPlainText().isEmpty());
        QCOMPARE(form().PageControl1->currentIndex(), 0);
        verifyCountersFull();
        QCOMPARE(mark(), u"Saved"_s);
    }

    void newWhenNotModified_data()
    {
        QTest::addColumn<bool>("afterReset");
        QTest::newRow("start-up, Other checked") << false;
        QTest::newRow("after a reset, code on the page") << true;
    }

    void newWhenNotModified()
    {
        QFETCH(bool, afterReset);

        // Unscripted: any question here fails the test.
        if (afterReset) {
            typeInto(form().Edit1, u"Gone soon"_s);
            press(Qt::Key_F2);
            press(Qt::CTRL | Qt::Key_R);
            QCOMPARE(mark(), u"Saved"_s);
            QVERIFY(!form().Memo1->toPlainText().isEmpty());
        } else {
            clickIndicator(form().CheckBox2);
            QCOMPARE(mark(), QString());
        }
        QVERIFY(form().PageControl1->currentIndex() != 0);

        press(Qt::CTRL | Qt::Key_N);

        QVERIFY(m_prompts.boxes().isEmpty());
        verifyDocument(quill::TagDocument::startUp());
        QVERIFY(form().ComboBox11->isEnabled());
        QVERIFY(form().Memo1->toPlainText().isEmpty());
        QCOMPARE(form().PageControl1->currentIndex(), 0);
        QCOMPARE(mark(), u"Saved"_s);
    }

    void descriptionButtons_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(expected::descriptions)); ++i)
            QTest::newRow(expected::descriptions[i].button) << i;
    }

    void descriptionButtons()
    {
        QFETCH(int, row);
        const expected::Description &d = expected::descriptions[row];
        const QString text = QString::fromLatin1(d.text);
        const QString tail = QString::fromLatin1(d.tail);

        auto *button = form().findChild<QPushButton *>(QLatin1StringView(d.button));
        QVERIFY(button);
        auto *container = form().findChild<QWidget *>(QLatin1StringView(d.container));
        QVERIFY(container && container->isAncestorOf(button));
        QCOMPARE(button->mapTo(container, QPoint(0, 0)), QPoint(d.left, d.top));
        QCOMPARE(button->size(), QSize(25, 20));
        QCOMPARE(button->text(), u"?"_s);

        showPageOf(button);
        const quill::TagDocument before = form().document();
        m_prompts.answerBox(QMessageBox::Ok);
        QTest::mouseClick(button, Qt::LeftButton);

        QCOMPARE(m_prompts.boxes().size(), 1);
        const quill::Message box = m_prompts.boxes().constFirst();
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.buttons, QMessageBox::Ok);
        QCOMPARE(box.caption, u"Description"_s);
        if (tail.isEmpty()) {
            QCOMPARE(box.text, text);
        } else {
            QVERIFY2(box.text.startsWith(text) && box.text.endsWith(tail), qPrintable(box.text));
            const QString address =
                box.text.mid(text.size(), box.text.size() - text.size() - tail.size());
            QVERIFY2(address.contains(u'.') && !address.contains(u' '), qPrintable(address));
        }
        // Nothing else changes: no field, no mark.
        verifyDocument(before);
        QCOMPARE(mark(), QString());
    }

    void startFolderSurvivesDirectoryChange()
    {
        QTemporaryDir elsewhere;
        QVERIFY(elsewhere.isValid());
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        QTest::mouseClick(form().Edit1, Qt::LeftButton);
        press(Qt::Key_F1);
        press(Qt::CTRL | Qt::Key_D);
        QDir::setCurrent(previous);

        QCOMPARE(form().Edit13->text(), startFolder());
        const QString sep = QDir::separator();
        QCOMPARE(m_shell.targets,
                 QStringList({startFolder() + sep + u"help"_s + sep + u"index.html"_s,
                              startFolder() + sep + u"readme.txt"_s}));
    }

private:
    void verifyCountersFull()
    {
        QCOMPARE(form().Edit14->text(),
                 QString::number(quill::fieldDef(quill::Field::Edit1).limit));
        QCOMPARE(form().Edit15->text(),
                 QString::number(quill::fieldDef(quill::Field::Edit2).limit));
    }
};

QTEST_MAIN(TestMainWindowCommands)
#include "tst_main_window_commands.moc"
