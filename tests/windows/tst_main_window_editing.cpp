// Editing the fields of the main window and the Preferences dialog: typing limits,
// the keys of a field, the counters, lists, the character-set note, QuickInsert and
// the "Other" boxes, each setting the modified mark as the user would see it.

#include "gui_driver.h"

#include "common/expected_values.h"

using namespace Qt::StringLiterals;

namespace {

int limitOf(const QString &control)
{
    return quill::findField(quill::Owner::Main, control)->limit;
}

QString note(int index)
{
    return QString::fromLatin1(expected::characterSetNotes[index]);
}

} // namespace

class TestMainWindowEditing : public GuiTest
{
    Q_OBJECT

private slots:
    void typingLimitAndMark_data()
    {
        QTest::addColumn<int>("field");
        for (const quill::FieldDef &def : quill::fieldCatalogue()) {
            if (def.kind != quill::FieldKind::Edit)
                continue;
            const QString window = def.owner == quill::Owner::Preferences ? u"Form2."_s : QString();
            QTest::newRow(qPrintable(window + QLatin1StringView(def.control))) << int(def.id);
        }
    }

    void typingLimitAndMark()
    {
        QFETCH(int, field);
        const quill::FieldDef &def = quill::fieldDef(quill::Field(field));

        auto *edit = qobject_cast<QLineEdit *>(fieldControl(def));
        QVERIFY(edit);
        QCOMPARE(mark(), QString());
        typeInto(edit, QString(def.limit + 3, u'x'));
        QCOMPARE(edit->text(), QString(def.limit, u'x'));
        QCOMPARE(mark(), u"Modified"_s);
    }

    void editingKeys_data()
    {
        // "hello" is typed, then the cursor goes two to the left: "hel|lo".
        QTest::addColumn<QString>("field");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("Del") << u"Edit1"_s << QKeySequence(Qt::Key_Delete) << u"helo"_s;
        QTest::newRow("Backspace") << u"Edit1"_s << QKeySequence(Qt::Key_Backspace) << u"helo"_s;
        QTest::newRow("Shift+Home, Del")
            << u"Edit1"_s << QKeySequence(Qt::SHIFT | Qt::Key_Home, QKeyCombination(Qt::Key_Delete))
            << u"lo"_s;
        QTest::newRow("Ctrl+A, Del")
            << u"Edit3"_s << QKeySequence(Qt::CTRL | Qt::Key_A, QKeyCombination(Qt::Key_Delete))
            << QString();
        QTest::newRow("Ctrl+Z") << u"Edit20"_s << QKeySequence(Qt::CTRL | Qt::Key_Z) << QString();
        QTest::newRow("code page, Del") << u"Memo1"_s << QKeySequence(Qt::Key_Delete) << u"helo"_s;
        QTest::newRow("code page, Ctrl+A, Del")
            << u"Memo1"_s << QKeySequence(Qt::CTRL | Qt::Key_A, QKeyCombination(Qt::Key_Delete))
            << QString();
    }

    // The window's shortcuts leave the ordinary editing keys to the fields.
    void editingKeys()
    {
        QFETCH(QString, field);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, text);

        QWidget *w = form().findChild<QWidget *>(field);
        showPageOf(w);
        auto *memo = qobject_cast<QPlainTextEdit *>(w);
        QTest::mouseClick(memo ? memo->viewport() : w, Qt::LeftButton);
        QTest::keyClicks(QApplication::focusWidget(), u"hello"_s);
        press(Qt::Key_Left);
        press(Qt::Key_Left);
        for (int i = 0; i < keys.count(); ++i)
            press(keys[i]);
        QCOMPARE(memo ? memo->toPlainText() : qobject_cast<QLineEdit *>(w)->text(), text);
    }

    void counters_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("counter");
        QTest::newRow("description") << u"Edit1"_s << u"Edit14"_s;
        QTest::newRow("keywords") << u"Edit2"_s << u"Edit15"_s;
    }

    // A counter shows how many characters the field's limit leaves.
    void counters()
    {
        QFETCH(QString, edit);
        QFETCH(QString, counter);

        auto *field = form().findChild<QLineEdit *>(edit);
        auto *count = form().findChild<QLineEdit *>(counter);
        const int start = limitOf(edit);
        QCOMPARE(count->text(), QString::number(start));
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClicks(field, u"a"_s);
        QCOMPARE(count->text(), QString::number(start - 1));
        QCOMPARE(mark(), u"Modified"_s);
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->text(), QString());
        QCOMPARE(count->text(), QString::number(start));
        QCOMPARE(mark(), u"Modified"_s);

        // Pasting counts as well.
        QApplication::clipboard()->setText(u"four"_s);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(count->text(), QString::number(start - 4));
    }

    void choosingSetsMark_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("index");
        // Another item than the start-up one; a list of one item is chosen again, which
        // is a choice all the same.
        for (const quill::FieldDef &def : quill::fieldCatalogue()) {
            if (def.kind == quill::FieldKind::List)
                QTest::newRow(def.control)
                    << int(def.id) << (def.items.size() > 1 && def.startIndex == 0 ? 1 : 0);
        }
    }

    void choosingSetsMark()
    {
        QFETCH(int, field);
        QFETCH(int, index);

        auto *combo = qobject_cast<QComboBox *>(fieldControl(quill::fieldDef(quill::Field(field))));
        QVERIFY(combo);
        QCOMPARE(mark(), QString());
        chooseItem(combo, index);
        QCOMPARE(combo->currentIndex(), index);
        QCOMPARE(mark(), u"Modified"_s);
    }

    void characterSetNote_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("mouse");
        for (int i = 0; i < int(std::size(expected::characterSetNotes)); ++i)
            QTest::addRow("item %d", i) << i << false;
        QTest::newRow("ISO-8859-5 by mouse") << 4 << true;
    }

    void characterSetNote()
    {
        QFETCH(int, index);
        QFETCH(bool, mouse);

        if (mouse)
            chooseItemByMouse(form().ComboBox4, index);
        else
            chooseItem(form().ComboBox4, index);
        QCOMPARE(form().ComboBox4->currentIndex(), index);
        QCOMPARE(lines(form().Memo2), QStringList{note(index)});
        QCOMPARE(mark(), u"Modified"_s);

        // Back to the first set: its note as one line, not the three of start-up.
        chooseItem(form().ComboBox4, 0);
        QCOMPARE(lines(form().Memo2), QStringList{note(0)});
    }

    // A set that lacks characters already typed is told once, field by field, when it
    // is chosen; the texts stay as they are.
    void lackingCharacters()
    {
        typeInto(form().Edit6, u"caf\u00e9 \u00ae"_s);
        typeInto(form().Edit18, u"\u0416"_s);
        typeInto(form().Edit32, u"\u03a9"_s);
        // Of many, the first twenty are named.
        QString many;
        QStringList first;
        for (char16_t c = 0x4E00; c < 0x4E00 + 22; ++c) {
            many += QChar(c);
            if (first.size() < 20)
                first << QString(QChar(c));
        }
        typeInto(form().Edit16, many);
        const QString pics = u"PICS Label (Extra Tags): "_s + first.join(u' ') + u" and 2 more\n"_s;
        const quill::TagDocument typed = form().document();
        const QString kept = u"They are kept: the project file holds them whole, and exported "
                             u"pages carry them as character references such as &#%1;."_s;

        m_prompts.answerBox(QMessageBox::Ok);
        chooseItem(form().ComboBox4, 6);
        m_prompts.answerBox(QMessageBox::Ok);
        chooseItem(form().ComboBox4, 4);
        // The same set again, and UTF-8, which lacks nothing, say nothing.
        chooseItem(form().ComboBox4, 4);
        chooseItem(form().ComboBox4, 9);

        const auto box = [](const QString &text) {
            return quill::informationMessage(u"Quillmark"_s, text);
        };
        QCOMPARE(m_prompts.boxes(),
                 (QList<quill::Message>{
                     box(u"ISO-8859-7 lacks characters already typed:\n"
                         u"Title (Basic): \u00e9 \u00ae\n"_s +
                         pics + u"Title (DC Tags): \u0416\n"_s + kept.arg(0xE9)),
                     box(u"ISO-8859-5 lacks characters already typed:\n"
                         u"Title (Basic): \u00e9 \u00ae\n"_s +
                         pics + u"Rights (DC Tags): \u03a9\n"_s + kept.arg(0xE9)),
                 }));
        quill::TagDocument expected = typed;
        expected.setIndex(quill::Field::ComboBox4, 9);
        verifyDocument(expected);
        QCOMPARE(mark(), u"Modified"_s);
    }

    void quickInsert_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("sourceText"); // typed into the source edit
        QTest::addColumn<QString>("target");

        const QString description = QString(249, u'd') + u'!';
        QTest::newRow("BitBtn5 description")
            << u"BitBtn5"_s << u"Edit1"_s << description << u"Edit20"_s;
        QTest::newRow("BitBtn7 comment")
            << u"BitBtn7"_s << u"Edit1"_s << description << u"Edit17"_s;
        QTest::newRow("BitBtn2 title")
            << u"BitBtn2"_s << u"Edit6"_s << QString(75, u't') << u"Edit18"_s;
        QTest::newRow("BitBtn3 creator")
            << u"BitBtn3"_s << u"Edit3"_s << QString(75, u'c') << u"Edit19"_s;
        QTest::newRow("BitBtn4 subject")
            << u"BitBtn4"_s << u"Edit2"_s << QString(200, u'k') << u"Edit21"_s;
        QTest::newRow("BitBtn6 language")
            << u"BitBtn6"_s << u"ComboBox5"_s << u"en-au"_s << u"Edit29"_s;
        // An empty source empties the target.
        QTest::newRow("BitBtn5 empty") << u"BitBtn5"_s << u"Edit1"_s << QString() << u"Edit20"_s;
        QTest::newRow("BitBtn7 empty") << u"BitBtn7"_s << u"Edit1"_s << QString() << u"Edit17"_s;
        QTest::newRow("BitBtn2 empty") << u"BitBtn2"_s << u"Edit6"_s << QString() << u"Edit18"_s;
        QTest::newRow("BitBtn3 empty") << u"BitBtn3"_s << u"Edit3"_s << QString() << u"Edit19"_s;
        QTest::newRow("BitBtn4 empty") << u"BitBtn4"_s << u"Edit2"_s << QString() << u"Edit21"_s;
    }

    void quickInsert()
    {
        QFETCH(QString, button);
        QFETCH(QString, source);
        QFETCH(QString, sourceText);
        QFETCH(QString, target);

        auto *targetEdit = form().findChild<QLineEdit *>(target);
        QVERIFY(targetEdit);
        typeInto(targetEdit, u"old"_s);
        if (auto *combo = form().findChild<QComboBox *>(source))
            chooseItem(combo, combo->findText(sourceText));
        else
            typeInto(form().findChild<QWidget *>(source), sourceText);

        auto *btn = form().findChild<QPushButton *>(button);
        showPageOf(btn);
        QTest::mouseClick(btn, Qt::LeftButton);
        QCOMPARE(targetEdit->text(), sourceText);
        QCOMPARE(mark(), u"Modified"_s);

        // The typing limit still governs the user: typing cannot lengthen the text.
        const int limit = limitOf(target);
        QTest::mouseClick(targetEdit, Qt::LeftButton);
        QTest::keyClick(targetEdit, Qt::Key_End);
        QTest::keyClicks(targetEdit, QString(limit + 1, u'z'));
        QCOMPARE(targetEdit->text().size(), qMax(sourceText.size(), qsizetype(limit)));
        QVERIFY(targetEdit->text().startsWith(sourceText));
    }

    void quickInsertIntoEmptyTargetFromStartUp()
    {
        // The language list has its item from start-up: the copy alone sets the mark.
        QCOMPARE(mark(), QString());
        showPageOf(form().BitBtn6);
        QTest::mouseClick(form().BitBtn6, Qt::LeftButton);
        QCOMPARE(form().Edit29->text(), u"en"_s);
        QCOMPARE(mark(), u"Modified"_s);
    }

    void programTextKeepsTypingLimit()
    {
        // A copied text longer than the limit can be shortened, but the user cannot type
        // into the box again until the text is shorter than the limit.
        typeInto(form().Edit1, QString(250, u'd'));
        showPageOf(form().BitBtn5);
        QTest::mouseClick(form().BitBtn5, Qt::LeftButton);
        FieldEdit *edit = form().Edit20;
        QCOMPARE(edit->text().size(), 250);

        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_End);
        for (int i = 0; i < 200; ++i)
            QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text().size(), 50);
        QTest::keyClicks(edit, u"q"_s);
        QCOMPARE(edit->text().size(), 50);
        // Undo brings the deleted text back, but typing still cannot lengthen it.
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString(250, u'd'));
        QTest::keyClicks(edit, u"qq"_s);
        QCOMPARE(edit->text(), QString(250, u'd'));

        // Replaced by typing, the text is held to the limit again.
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QString(40, u'n'));
        QCOMPARE(edit->text(), QString(30, u'n'));
    }

    void otherBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("other");
        QTest::addColumn<int>("choice"); // chosen first, with a text in the edit; -1: start-up

        QTest::newRow("script type") << u"CheckBox2"_s << u"ComboBox11"_s << u"Edit33"_s << -1;
        QTest::newRow("script type, text/php")
            << u"CheckBox2"_s << u"ComboBox11"_s << u"Edit33"_s << 3;
        QTest::newRow("style type") << u"CheckBox3"_s << u"ComboBox12"_s << u"Edit34"_s << -1;
        QTest::newRow("style type, text/css")
            << u"CheckBox3"_s << u"ComboBox12"_s << u"Edit34"_s << 0;
    }

    void otherBoxes()
    {
        QFETCH(QString, box);
        QFETCH(QString, list);
        QFETCH(QString, other);
        QFETCH(int, choice);

        auto *check = form().findChild<QCheckBox *>(box);
        auto *combo = form().findChild<QComboBox *>(list);
        auto *edit = form().findChild<QLineEdit *>(other);
        const QString text = choice >= 0 ? u"text/x"_s : QString();
        if (choice >= 0) {
            chooseItem(combo, choice);
            typeInto(edit, text);
        }
        const int index = combo->currentIndex();
        const QString markBefore = mark();

        for (bool checked : {true, false}) {
            clickIndicator(check);
            QCOMPARE(check->isChecked(), checked);
            QCOMPARE(combo->isEnabled(), !checked);
            QCOMPARE(combo->currentIndex(), index);
            QVERIFY(edit->isEnabled());
            QCOMPARE(edit->text(), text);
            QCOMPARE(mark(), markBefore);
        }
        // The keyboard toggles it the same way.
        QTest::keyClick(check, Qt::Key_Space);
        QVERIFY(check->isChecked() && !combo->isEnabled());
        QCOMPARE(mark(), markBefore);
    }

    // A one-line field never takes a line break: each CR LF, CR and LF pasted or dropped
    // into it becomes one blank, before its limit cuts the text.
    void pastedBreaksBecomeBlanks_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");

        const QString lines = u"line1\r\nline2\nline3\rend"_s;
        const QString joined = u"line1 line2 line3 end"_s;
        for (const QString &how : {u"Ctrl+V"_s, u"Shift+Insert"_s, u"menu"_s, u"drop"_s})
            QTest::addRow("%s", qPrintable(how)) << how << u"Edit3"_s << lines << joined;
        // DC Description holds 30: the break is one blank when the limit cuts.
        QTest::newRow("limit after the blanks")
            << u"Ctrl+V"_s << u"Edit20"_s << QString(20, u'a') + u"\r\n"_s + QString(20, u'b')
            << QString(20, u'a') + u' ' + QString(9, u'b');
        QTest::newRow("page title") << u"Ctrl+V"_s << u"Pref.Edit1"_s << lines << joined;
    }

    void pastedBreaksBecomeBlanks()
    {
        QFETCH(QString, how);
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(QString, result);

        const bool pref = control.startsWith(u"Pref."_s);
        QWidget *window = pref ? static_cast<QWidget *>(&preferences()) : &form();
        auto *edit = window->findChild<QLineEdit *>(pref ? control.mid(5) : control);
        QVERIFY(edit);
        typeInto(edit, QString());
        QApplication::clipboard()->setText(text);
        if (how == u"Ctrl+V"_s) {
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        } else if (how == u"Shift+Insert"_s) {
            QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        } else if (how == u"menu"_s) {
            QMenu *menu = openContextMenu(edit);
            QVERIFY(menu);
            action(u"EditPaste1"_s)->trigger();
            menu->close();
        } else {
            QMimeData data;
            data.setText(text);
            const QPoint at(edit->width() / 2, edit->height() / 2);
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(edit, &enter);
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(edit, &drop);
        }
        QCOMPARE(edit->text(), result);
        QCOMPARE(mark(), u"Modified"_s);
        // The generated tag stays on one line.
        if (control == u"Edit3"_s) {
            press(Qt::Key_F2);
            QVERIFY(lines(form().Memo1)
                        .contains(u"<meta name=\"author\" content=\"line1 line2 line3 end\">"_s));
        }
    }

    // What is pasted goes in where the cursor stands, and the cursor stays right after it.
    void pasteLeavesCursorAfterIt_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("byMenu"); // the popup menu's Paste, or Ctrl+V
        QTest::addColumn<QString>("result");
        QTest::newRow("field, Ctrl+V") << u"Edit3"_s << false << u"<a b>"_s;
        QTest::newRow("field, menu") << u"Edit3"_s << true << u"<a b>"_s;
        QTest::newRow("code page, Ctrl+V") << u"Memo1"_s << false << u"<a\nb>"_s;
        QTest::newRow("code page, menu") << u"Memo1"_s << true << u"<a\nb>"_s;
    }

    void pasteLeavesCursorAfterIt()
    {
        QFETCH(QString, control);
        QFETCH(bool, byMenu);
        QFETCH(QString, result);
        QWidget *edit = form().findChild<QWidget *>(control);
        QVERIFY(edit);
        typeInto(edit, u"<>"_s);
        press(Qt::Key_Home);
        press(Qt::Key_Right);
        QApplication::clipboard()->setText(u"a\r\nb"_s);
        if (byMenu) {
            QMenu *menu = openContextMenu(edit);
            QVERIFY(menu);
            action(u"EditPaste1"_s)->trigger();
            menu->close();
        } else {
            press(Qt::CTRL | Qt::Key_V);
        }
        if (auto *field = qobject_cast<QLineEdit *>(edit)) {
            QCOMPARE(field->text(), result);
            QCOMPARE(field->cursorPosition(), 4);
        } else {
            auto *page = static_cast<QPlainTextEdit *>(edit);
            QCOMPARE(page->toPlainText(), result);
            QCOMPARE(page->textCursor().position(), 4);
        }
    }

    // Alt with a letter that is no accelerator ("Code", "View" and "Tools" have none)
    // types nothing, in a field, the code page and the Preferences dialog alike.
    void altNeverTypes_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("field") << u"Edit1"_s;
        QTest::newRow("code page") << u"Memo1"_s;
        QTest::newRow("page title") << u"Pref.Edit1"_s;
    }

    void altNeverTypes()
    {
        QFETCH(QString, control);
        const bool pref = control.startsWith(u"Pref."_s);
        QWidget *window = pref ? static_cast<QWidget *>(&preferences()) : &form();
        QWidget *target = window->findChild<QWidget *>(pref ? control.mid(5) : control);
        QVERIFY(target);
        showPageOf(target);
        QTest::mouseClick(target, Qt::LeftButton);
        form().setSaved();
        for (Qt::Key key : {Qt::Key_C, Qt::Key_V, Qt::Key_T})
            QTest::keyClick(target, key, Qt::AltModifier);
        if (auto *edit = qobject_cast<QLineEdit *>(target))
            QCOMPARE(edit->text(), QString());
        else
            QCOMPARE(form().Memo1->toPlainText(), QString());
        QCOMPARE(mark(), u"Saved"_s);
    }

    // In a field holding more than its limit, Undo brings back what was deleted, from
    // the keyboard and from the context menu alike.
    void undoInLongText_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("Ctrl+Z") << false;
        QTest::newRow("context menu") << true;
    }

    void undoInLongText()
    {
        QFETCH(bool, fromMenu);
        const QString description = QString(46, u'd');
        typeInto(form().Edit1, description);
        showPageOf(form().BitBtn5);
        QTest::mouseClick(form().BitBtn5, Qt::LeftButton);
        FieldEdit *edit = form().Edit20;
        QCOMPARE(edit->text(), description);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text().size(), 44);

        if (fromMenu) {
            QMenu *menu = openContextMenu(edit);
            QVERIFY(menu);
            QAction *undo = action(u"EditUndo1"_s);
            QVERIFY(undo->isEnabled());
            undo->trigger();
            menu->close();
        } else {
            QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        }
        QCOMPARE(edit->text(), description);
    }
};

QTEST_MAIN(TestMainWindowEditing)
#include "tst_main_window_editing.moc"
