// The file commands as the user runs them, with real shortcuts and scripted
// dialogs: Save, Open, Exit and the close guard, Import, Export, Print and Copy.

#include "gui_driver.h"

#include "common/file_helpers.h"
#include "common/script_texts.h"
#include "files/project_record.h"

#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString LoseAll = u"Are you sure you want to clear all fields and open a file?"_s;
const QString ExitUnsaved = u"Are you sure you want to exit without saving?"_s;

QKeyCombination ctrl(Qt::Key key)
{
    return Qt::CTRL | key;
}

// Runs the event loop until the program leaves it (-1 when it has not after 0.3 s); the
// code it left with.
int exitCodeAfter(const std::function<void()> &action)
{
    QTimer::singleShot(0, action);
    QTimer::singleShot(300, [] { QCoreApplication::exit(-1); });
    return QCoreApplication::exec();
}

} // namespace

class TestFileCommands : public GuiTest
{
    Q_OBJECT

    // Gives every stored field a value other than its start-up one: its key as text, as
    // much as the record holds; its last item; checked.
    void fillEveryField()
    {
        quill::TagDocument doc = quill::TagDocument::startUp();
        for (const quill::FieldDef &def : quill::fieldCatalogue()) {
            if (def.kind == quill::FieldKind::Edit)
                doc.setText(def.id, QString::fromLatin1(def.key).left(def.capacity));
            else if (def.kind == quill::FieldKind::List)
                doc.setIndex(def.id, int(def.items.size()) - 1);
            else
                doc.setChecked(def.id, true);
        }
        form().applyDocument(doc);
    }

    void putCode(const QString &text)
    {
        showPageOf(form().Memo1);
        form().Memo1->setPlainText(text);
    }

private slots:
    // --- Save and Open

    void saveNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension") << u"home"_s << u"home.qmk"_s;
        QTest::newRow(".qmk") << u"home.qmk"_s << u"home.qmk"_s;
        QTest::newRow(".html") << u"home.html"_s << u"home.html.qmk"_s;
    }

    void saveNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QTemporaryDir dir;
        // Save never looks at the mark: with none set, it still asks for a name.
        QCOMPARE(mark(), QString());
        m_prompts.answerSaveFile(dir.filePath(typed));
        press(ctrl(Qt::Key_S));

        QCOMPARE(m_prompts.fileRequests().size(), 1);
        const quill::FileDialogRequest &asked = m_prompts.fileRequests().constFirst();
        QCOMPARE(asked.title, u"Save"_s);
        QCOMPARE(asked.lastName, u"mytags"_s);
        QCOMPARE(asked.defaultSuffix, QString());
        QCOMPARE(mark(), u"Saved"_s);
        QCOMPARE(statusPanels()[1]->text(), dir.filePath(written));
        QCOMPARE(readFile(dir.filePath(written)).size(), quill::TProjectRecord::Size);
        // The next save starts from the name as typed.
        QCOMPARE(form().SaveDialog1.lastName, dir.filePath(typed));
    }

    // Save writes another name than the dialog asked about only after a question of
    // its own; No goes back to the dialog.
    void saveOverExisting_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QMessageBox::StandardButton>("answer"); // NoButton: no question
        QTest::addColumn<bool>("replaced");
        const QStringList home{u"home.qmk"_s};
        QTest::newRow("typed name exists")
            << u"home.qmk"_s << home << QMessageBox::NoButton << true;
        QTest::newRow("derived name exists, Yes") << u"home"_s << home << QMessageBox::Yes << true;
        QTest::newRow("derived name exists, No") << u"home"_s << home << QMessageBox::No << false;
        QTest::newRow("derived from another extension")
            << u"home.txt"_s << QStringList{u"home.txt"_s, u"home.qmk"_s} << QMessageBox::Yes
            << true;
        QTest::newRow("only the typed name exists")
            << u"home"_s << QStringList{u"home"_s} << QMessageBox::NoButton << true;
        QTest::newRow("neither exists")
            << u"home"_s << QStringList{} << QMessageBox::NoButton << true;
    }

    void saveOverExisting()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, existing);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, replaced);
        QTemporaryDir dir;
        const QByteArray old = "the old file"_ba;
        for (const QString &name : existing)
            QVERIFY(writeFile(dir.filePath(name), old));
        m_prompts.answerSaveFile(dir.filePath(typed));
        if (answer != QMessageBox::NoButton)
            m_prompts.answerBox(answer);
        if (answer == QMessageBox::No)
            m_prompts.answerSaveFile({});
        press(ctrl(Qt::Key_S));

        const QString written = dir.filePath(u"home.qmk"_s);
        if (answer == QMessageBox::NoButton) {
            QCOMPARE(m_prompts.boxes(), QList<quill::Message>{});
        } else {
            const quill::Message question{
                u"Save"_s, u"home.qmk already exists.\nDo you want to replace it?"_s,
                QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
            QCOMPARE(m_prompts.boxes(), QList<quill::Message>{question});
        }
        QCOMPARE(readFile(written).size(), replaced ? quill::TProjectRecord::Size : old.size());
        QCOMPARE(mark(), replaced ? u"Saved"_s : QString());
        for (const QString &name : existing) {
            if (dir.filePath(name) != written)
                QCOMPARE(readFile(dir.filePath(name)), old);
        }
        // No shows the dialog again, at the name typed.
        if (answer == QMessageBox::No)
            QCOMPARE(m_prompts.fileRequests().constLast().lastName, dir.filePath(typed));
    }

    void roundTrip()
    {
        QTemporaryDir dir;
        fillEveryField();
        form().PageControl1->setCurrentIndex(0);
        const quill::TagDocument saved = form().document();
        m_prompts.answerSaveFile(dir.filePath(u"toys"_s));
        press(ctrl(Qt::Key_S));

        // Change everything, keep a code page, then open the file again.
        press(ctrl(Qt::Key_R));
        putCode(u"<!-- kept -->"_s);
        QCOMPARE(mark(), u"Modified"_s);
        m_prompts.answerBox(QMessageBox::Ok);
        m_prompts.answerOpenFile(dir.filePath(u"toys.qmk"_s));
        press(ctrl(Qt::Key_O));

        QCOMPARE(m_prompts.boxes(), QList<quill::Message>{quill::warningQuestion(LoseAll)});
        verifyDocument(saved);
        QCOMPARE(form().Memo1->toPlainText(), u"<!-- kept -->"_s);
        QCOMPARE(mark(), u"Saved"_s);
        QCOMPARE(statusPanels()[1]->text(), dir.filePath(u"toys.qmk"_s));
        // The two dialogs keep their own names.
        QCOMPARE(form().OpenDialog1.lastName, dir.filePath(u"toys.qmk"_s));
        QCOMPARE(form().SaveDialog1.lastName, dir.filePath(u"toys"_s));
        // An edit afterwards is a change again.
        typeInto(form().Edit1, u"x"_s);
        QCOMPARE(mark(), u"Modified"_s);
    }

    // A text typed in each set's own script: Save writes its bytes in that set, Open
    // gives it back whole, Export writes the page in that set.
    void scripts_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(scripts::texts)); ++i)
            QTest::newRow(scripts::texts[i].language) << i;
    }

    void scripts()
    {
        QFETCH(int, row);
        const scripts::Text &script = scripts::texts[row];
        QTemporaryDir dir;
        chooseItem(form().ComboBox4, script.set);
        typeInto(form().Edit1, script.string());
        m_prompts.answerSaveFile(dir.filePath(u"script"_s));
        press(ctrl(Qt::Key_S));
        const QByteArray saved = readFile(dir.filePath(u"script.qmk"_s));
        QCOMPARE(saved.size(), quill::TProjectRecord::Size);
        QCOMPARE(saved.mid(1, int(quint8(saved[0]))), script.encoded());

        press(ctrl(Qt::Key_R));
        m_prompts.answerOpenFile(dir.filePath(u"script.qmk"_s));
        press(ctrl(Qt::Key_O));
        QCOMPARE(form().Edit1->text(), script.string());
        QCOMPARE(form().ComboBox4->currentIndex(), script.set);

        press(Qt::Key_F2);
        m_prompts.answerSaveFile(dir.filePath(u"page.html"_s));
        press(ctrl(Qt::Key_H));
        const QByteArray page = readFile(dir.filePath(u"page.html"_s));
        QVERIFY(
            page.contains("<meta name=\"description\" content=\"" + script.encoded() + "\">\r\n"));
        QVERIFY(page.contains("charset=" + form().ComboBox4->currentText().toLatin1() + '"'));
    }

    // Texts as long as the window takes them, in a set that lacks some of their
    // characters, come back whole from the file Save wrote; the record alone still holds
    // what fits.
    void wholeTexts()
    {
        QTemporaryDir dir;
        const QString title = QString(75, QChar(0x03A9));
        const QString description = QString(125, QChar(0x03B1)) + QString(125, QChar(0x0416));
        chooseItem(form().ComboBox4, 6);
        typeInto(form().Edit6, title);
        typeInto(form().Edit1, description);
        const quill::TagDocument typed = form().document();
        m_prompts.answerSaveFile(dir.filePath(u"long.qmk"_s));
        press(ctrl(Qt::Key_S));
        const QByteArray saved = readFile(dir.filePath(u"long.qmk"_s));
        QVERIFY(saved.mid(quill::TProjectRecord::Size).startsWith("Quillmark-Texts 1\n"));

        press(ctrl(Qt::Key_R));
        m_prompts.answerOpenFile(dir.filePath(u"long.qmk"_s));
        press(ctrl(Qt::Key_O));
        verifyDocument(typed);
        QCOMPARE(statusPanels()[1]->text(), dir.filePath(u"long.qmk"_s));

        // Torn after the record: the file still opens, with the record's texts, and the
        // status bar says what was not read.
        QVERIFY(writeFile(dir.filePath(u"torn.qmk"_s), saved.chopped(10)));
        press(ctrl(Qt::Key_R));
        m_prompts.answerOpenFile(dir.filePath(u"torn.qmk"_s));
        press(ctrl(Qt::Key_O));
        QCOMPARE(m_prompts.boxes(), QList<quill::Message>{});
        QCOMPARE(form().Edit6->text(), title.left(30));
        QCOMPARE(form().Edit1->text(), description.left(125) + QString(125, u'?'));
        QCOMPARE(statusPanels()[1]->text(),
                 dir.filePath(u"torn.qmk"_s) + u" (whole texts not read)"_s);
        QVERIFY(statusPanels()[1]->toolTip().contains(u"not well formed"_s));
        QCOMPARE(mark(), u"Saved"_s);
    }

    void openFailures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << u"missing.qmk"_s << u"File not found."_s;
        QTest::newRow("short") << u"short.qmk"_s << u"Read beyond end of file."_s;
        QTest::newRow("pipe") << u"pipe.qmk"_s << u"File access denied."_s;
        QTest::newRow("folder") << u"folder.qmk"_s << u"File access denied."_s;
    }

    void openFailures()
    {
        QFETCH(QString, file);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(u"short.qmk"_s), QByteArray(1639, 'x')));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(u"pipe.qmk"_s)).constData(), 0600), 0);
        QVERIFY(QDir(dir.path()).mkdir(u"folder.qmk"_s));
        typeInto(form().Edit1, u"unsaved"_s);
        const quill::TagDocument before = form().document();

        m_prompts.answerBox(QMessageBox::Ok);
        m_prompts.answerOpenFile(dir.filePath(file));
        m_prompts.answerBox(QMessageBox::Ok);
        press(ctrl(Qt::Key_O));

        QCOMPARE(m_prompts.boxes().size(), 2);
        QCOMPARE(m_prompts.boxes()[1], quill::errorMessage(message.chopped(1)));
        QCOMPARE(m_prompts.boxes()[1].caption, u"Quillmark"_s);
        QCOMPARE(m_prompts.boxes()[1].text, message);
        verifyDocument(before);
        QCOMPARE(mark(), u"Modified"_s);
        QCOMPARE(statusPanels()[1]->text(), QString());
    }

    // Each question's Cancel, and each dialog's: nothing changes, the mark stays.
    void cancelled_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("question"); // empty: no question, the dialog cancelled
        QTest::newRow("Open, question") << ctrl(Qt::Key_O) << LoseAll;
        QTest::newRow("Open, dialog") << ctrl(Qt::Key_O) << QString();
        QTest::newRow("Save, dialog") << ctrl(Qt::Key_S) << QString();
        QTest::newRow("Exit, question") << (Qt::CTRL | Qt::ALT | Qt::Key_X) << ExitUnsaved;
        QTest::newRow("Import, dialog") << (Qt::CTRL | Qt::ALT | Qt::Key_I) << QString();
    }

    void cancelled()
    {
        QFETCH(QKeyCombination, key);
        QFETCH(QString, question);
        typeInto(form().Edit1, u"unsaved"_s);
        const quill::TagDocument before = form().document();
        const int page = form().PageControl1->currentIndex();
        if (!question.isEmpty()) {
            m_prompts.answerBox(QMessageBox::Cancel);
        } else {
            if (key == ctrl(Qt::Key_O))
                m_prompts.answerBox(QMessageBox::Ok);
            if (key == ctrl(Qt::Key_S))
                m_prompts.answerSaveFile({});
            else
                m_prompts.answerOpenFile({});
        }
        QCOMPARE(exitCodeAfter([&] { press(key); }), -1);
        if (!question.isEmpty())
            QCOMPARE(m_prompts.boxes(), QList<quill::Message>{quill::warningQuestion(question)});
        verifyDocument(before);
        QCOMPARE(mark(), u"Modified"_s);
        QCOMPARE(form().PageControl1->currentIndex(), page);
        QVERIFY(form().isVisible());
    }

    // --- Leaving the program

    void leaving_data()
    {
        QTest::addColumn<bool>("byClosing"); // the close box, or File > Exit
        QTest::addColumn<bool>("modified");
        QTest::addColumn<bool>("ok");
        QTest::newRow("Exit, saved") << false << false << true;
        QTest::newRow("Exit, modified, OK") << false << true << true;
        QTest::newRow("Exit, modified, Cancel") << false << true << false;
        QTest::newRow("close, saved") << true << false << true;
        QTest::newRow("close, modified, OK") << true << true << true;
        QTest::newRow("close, modified, Cancel") << true << true << false;
    }

    void leaving()
    {
        QFETCH(bool, byClosing);
        QFETCH(bool, modified);
        QFETCH(bool, ok);
        if (modified)
            typeInto(form().Edit1, u"unsaved"_s);
        if (modified)
            m_prompts.answerBox(ok ? QMessageBox::Ok : QMessageBox::Cancel);
        // Another window open does not keep the program running.
        showPreferences();
        activate(&form());

        const int code = exitCodeAfter([&] {
            if (byClosing)
                form().close();
            else
                press(Qt::CTRL | Qt::ALT | Qt::Key_X);
        });
        // Asked once at most, and only with something to lose.
        QCOMPARE(m_prompts.boxes().size(), modified ? 1 : 0);
        if (modified)
            QCOMPARE(m_prompts.boxes()[0], quill::warningQuestion(ExitUnsaved));
        QCOMPARE(code, ok ? 0 : -1);
        if (!ok) {
            QVERIFY(form().isVisible());
            QCOMPARE(mark(), u"Modified"_s);
        }
    }

    // --- Import

    void import_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("before"); // the code page's text before
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("markAfter");
        QTest::newRow("LF lines") << "<p>\n</p>\n"_ba << QString() << u"<p>\r\n</p>\r\n"_s
                                  << u"Modified"_s;
        QTest::newRow("equal text keeps the mark")
            << "a\r\nb"_ba << u"a\nb"_s << u"a\r\nb"_s << u"Saved"_s;
        QTest::newRow("empty file") << QByteArray() << u"old"_s << QString() << u"Modified"_s;
    }

    void import()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, markAfter);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(u"in.html"_s), file));
        putCode(before);
        form().setSaved();
        showPageOf(form().Edit1);

        m_prompts.answerOpenFile(dir.filePath(u"in.html"_s));
        press(Qt::CTRL | Qt::ALT | Qt::Key_I);

        QCOMPARE(m_prompts.fileRequests().constFirst().title, u"Import"_s);
        QCOMPARE(form().codePageText(), after);
        QCOMPARE(mark(), markAfter);
        QCOMPARE(form().PageControl1->currentIndex(), 4);
        QCOMPARE(statusPanels()[1]->text(), QString());
    }

    void importFailure()
    {
        QTemporaryDir dir;
        putCode(u"kept"_s);
        form().setSaved();
        showPageOf(form().Edit1);
        const QString missing = dir.filePath(u"gone.txt"_s);
        m_prompts.answerOpenFile(missing);
        m_prompts.answerBox(QMessageBox::Ok);
        press(Qt::CTRL | Qt::ALT | Qt::Key_I);

        QCOMPARE(m_prompts.boxes(),
                 QList<quill::Message>{quill::errorMessage(u"Cannot open file "_s + missing)});
        QCOMPARE(form().codePageText(), u"kept"_s);
        QCOMPARE(form().PageControl1->currentIndex(), 0);
        QCOMPARE(mark(), u"Saved"_s);
    }

    // Bytes other than the breaks go through import and export unchanged.
    void importThenExport()
    {
        QTemporaryDir dir;
        const QByteArray bytes = "x\xa0\x81\x1a\xff\tz\ny"_ba;
        QVERIFY(writeFile(dir.filePath(u"in.txt"_s), bytes));
        m_prompts.answerOpenFile(dir.filePath(u"in.txt"_s));
        press(Qt::CTRL | Qt::ALT | Qt::Key_I);
        m_prompts.answerSaveFile(dir.filePath(u"out.txt"_s));
        press(ctrl(Qt::Key_T));
        QCOMPARE(readFile(dir.filePath(u"out.txt"_s)), "x\xa0\x81\x1a\xff\tz\r\ny"_ba);
    }

    // A line longer than the page lays out at once stays one line of the text, whatever
    // keys meet it: the last "a" and the first "b" stand at the edge the page keeps there.
    void longLine_data()
    {
        const int edge = CodePage::PieceLength;
        const QString line = QString(edge - 1, u'a') + u"zy"_s + QString(edge - 1, u'b') + u"cc"_s;
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("position"); // in the page; its edge counts one
        QTest::addColumn<int>("anchor");   // -1: no selection
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("clipboard"); // before the key
        QTest::addColumn<QString>("text");      // the page's text after it
        QTest::addColumn<QString>("copied");    // the clipboard after it
        const QKeyCombination none = Qt::Key_unknown;
        QTest::newRow("imported whole")
            << line << 0 << -1 << none << QString() << line << QString();
        QTest::newRow("Backspace after the edge")
            << line << edge + 1 << -1 << QKeyCombination(Qt::Key_Backspace) << QString()
            << QString(line).remove(edge - 1, 1) << QString();
        QTest::newRow("Delete before the edge")
            << line << edge << -1 << QKeyCombination(Qt::Key_Delete) << QString()
            << QString(line).remove(edge, 1) << QString();
        QTest::newRow("Enter after the edge")
            << line << edge + 1 << -1 << QKeyCombination(Qt::Key_Return) << QString()
            << QString(line).insert(edge, u"\r\n"_s) << QString();
        QTest::newRow("copy over the edge")
            << line << edge + 3 << edge - 2 << (Qt::CTRL | Qt::Key_C) << QString() << line
            << line.mid(edge - 2, 4);
        const QString pasted = QString(2 * edge, u'x') + u"\n\u00a0"_s;
        QTest::newRow("paste a long line")
            << line << 1 << -1 << (Qt::CTRL | Qt::Key_V) << pasted
            << QString(line).insert(1, QString(2 * edge, u'x') + u"\r\n\u00a0"_s) << pasted;
    }

    void longLine()
    {
        QFETCH(QString, line);
        QFETCH(int, position);
        QFETCH(int, anchor);
        QFETCH(QKeyCombination, key);
        QFETCH(QString, clipboard);
        QFETCH(QString, text);
        QFETCH(QString, copied);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(u"long.txt"_s), line.toLatin1()));
        m_prompts.answerOpenFile(dir.filePath(u"long.txt"_s));
        press(Qt::CTRL | Qt::ALT | Qt::Key_I);
        QApplication::clipboard()->setText(clipboard);
        CodePage *page = form().Memo1;
        page->setFocus();
        QTextCursor cursor = page->textCursor();
        cursor.setPosition(anchor < 0 ? position : anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        page->setTextCursor(cursor);
        if (key.key() != Qt::Key_unknown)
            press(key);

        QCOMPARE(form().codePageText(), text);
        QCOMPARE(QApplication::clipboard()->text(), copied.isEmpty() ? clipboard : copied);
        // One undo takes the key back.
        if (text != line) {
            press(Qt::CTRL | Qt::Key_Z);
            QCOMPARE(form().codePageText(), line);
        }
    }

    // --- Export

    void exportLength_data()
    {
        QTest::addColumn<QString>("code"); // as typed into the page
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("two characters") << u"ab"_s << QByteArray();
        QTest::newRow("Enter alone") << u"\n"_s << QByteArray();
        QTest::newRow("three characters") << u"abc"_s << "abc"_ba;
        QTest::newRow("a and Enter") << u"a\n"_s << "a\r\n"_ba;
    }

    void exportLength()
    {
        QFETCH(QString, code);
        QFETCH(QByteArray, written);
        QTemporaryDir dir;
        putCode(code);
        const QString path = dir.filePath(u"page.html"_s);
        if (written.isEmpty())
            m_prompts.answerRun(u"OK"_s);
        else
            m_prompts.answerSaveFile(path);
        press(ctrl(Qt::Key_H));

        if (written.isEmpty()) {
            QCOMPARE(m_prompts.ranBoxes().size(), 1);
            const ScriptedPrompts::RanBox &box = m_prompts.ranBoxes().constFirst();
            QCOMPARE(box.caption, u"Quillmark"_s);
            QCOMPARE(box.text, u"Please generate your code before exporting."_s);
            QCOMPARE(box.icon, QMessageBox::Information);
            QCOMPARE(box.buttons, QStringList{u"OK"_s});
            QVERIFY(box.onTop);
            QVERIFY(!QFile::exists(path));
        } else {
            QCOMPARE(readFile(path), written);
        }
    }

    void exportDialogs_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("As HTML") << ctrl(Qt::Key_H) << u"HTML File (*.html)"_s << u"html"_s;
        QTest::newRow("As Text") << ctrl(Qt::Key_T) << u"Text Files (*.txt)"_s << u"txt"_s;
    }

    void exportDialogs()
    {
        QFETCH(QKeyCombination, key);
        QFETCH(QString, filter);
        QFETCH(QString, suffix);
        QTemporaryDir dir;
        putCode(u"<html>"_s);
        const QString path = dir.filePath(u"page."_s + suffix);
        QVERIFY(writeFile(path, "the old page"_ba));
        m_prompts.answerSaveFile(path);
        m_prompts.answerSaveFile({});
        press(key);
        press(key);

        QCOMPARE(m_prompts.fileRequests().size(), 2);
        const quill::FileDialogRequest first = m_prompts.fileRequests()[0];
        QCOMPARE(first.title, u"Export"_s);
        QCOMPARE(first.filter, filter);
        QCOMPARE(first.defaultSuffix, suffix);
        QCOMPARE(first.lastName, QString());
        // The second starts from the name chosen first; cancelled, it writes nothing.
        QCOMPARE(m_prompts.fileRequests()[1].lastName, path);
        QCOMPARE(readFile(path), "<html>"_ba);
    }

    void exportFailure()
    {
        QTemporaryDir dir;
        putCode(u"<html>"_s);
        const QString path = dir.filePath(u"no folder/page.html"_s);
        m_prompts.answerSaveFile(path);
        m_prompts.answerBox(QMessageBox::Ok);
        press(ctrl(Qt::Key_H));
        QCOMPARE(m_prompts.boxes(),
                 QList<quill::Message>{quill::errorMessage(u"Cannot create file "_s + path)});
    }

    // The code page as Export writes it is what the companion generates from the saved
    // project, byte for byte, whatever the texts hold.
    void exportEqualsCompanion_data()
    {
        QTest::addColumn<QStringList>("texts"); // key=value, set as Open sets them
        QTest::addColumn<bool>("metaOnly");
        QTest::newRow("LF in a text") << QStringList{u"description=one\ntwo"_s} << false;
        QTest::newRow("lone CR in the comment") << QStringList{u"comment=a\rb"_s} << true;
        QTest::newRow("CR LF and LF CR") << QStringList{u"dc-rights=a\r\nb\n\rc"_s} << true;
        QTest::newRow("breaks in the page head")
            << QStringList{u"page-title=T\nU"_s, u"favicon-url=f\r.ico"_s} << false;
        QTest::newRow("quotes") << QStringList{u"author=\"A\""_s, u"page-title=\"T\""_s} << false;
        QTest::newRow("outside Windows-1252")
            << QStringList{u"keywords=\u03a9 \u20ac \U0001F600"_s} << true;
        QStringList empty;
        for (const quill::FieldDef &def : quill::fieldCatalogue()) {
            if (def.kind == quill::FieldKind::Edit)
                empty << QString::fromLatin1(def.key) + u'=';
        }
        QTest::newRow("every text empty") << empty << false;
    }

    void exportEqualsCompanion()
    {
        QFETCH(QStringList, texts);
        QFETCH(bool, metaOnly);
        QTemporaryDir dir;
        quill::TagDocument doc = form().document();
        for (const QString &setting : texts) {
            const qsizetype eq = setting.indexOf(u'=');
            const quill::FieldDef *def = quill::findFieldByKey(QStringView(setting).left(eq));
            QVERIFY2(def, qPrintable(setting));
            doc.setText(def->id, setting.mid(eq + 1));
        }
        form().applyDocument(doc);
        // The fields hold the texts whole, breaks too.
        for (const quill::FieldDef &def : quill::fieldCatalogue())
            QCOMPARE(form().document().text(def.id), doc.text(def.id));
        (metaOnly ? preferences().RadioButton1 : preferences().RadioButton2)->setChecked(true);
        const QString project = dir.filePath(u"p.qmk"_s);
        const QString exported = dir.filePath(u"p.html"_s);
        m_prompts.answerSaveFile(project);
        press(ctrl(Qt::Key_S));
        press(Qt::Key_F2);
        m_prompts.answerSaveFile(exported);
        press(ctrl(Qt::Key_H));

        QProcess cli;
        QStringList args{u"generate"_s, project};
        if (metaOnly)
            args << u"--meta-only"_s;
        cli.start(QStringLiteral(QUILLMARK_CLI), args);
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(readFile(exported), cli.readAllStandardOutput());
    }

    // --- Print and Copy

    void print()
    {
        putCode(u"a\tb\nc"_s);
        showPageOf(form().Edit1);
        press(ctrl(Qt::Key_P));
        QCOMPARE(m_printer.texts, QStringList{u"a\tb\r\nc\r\n"_s});

        // A failure to start is shown as it comes.
        m_printer.failure = u"There is no default printer currently selected"_s;
        m_prompts.answerBox(QMessageBox::Ok);
        press(ctrl(Qt::Key_P));
        QCOMPARE(m_prompts.boxes(), QList<quill::Message>{quill::errorMessage(m_printer.failure)});
        QCOMPARE(m_prompts.boxes()[0].text, m_printer.failure + u'.');
    }

    void copy()
    {
        putCode(u"<p>\n\u00a0</p>"_s);
        showPageOf(form().Edit1);
        press(Qt::Key_F3);
        QCOMPARE(QApplication::clipboard()->text(), u"<p>\r\n\u00a0</p>"_s);
        QCOMPARE(form().PageControl1->currentIndex(), 0);
        QCOMPARE(form().Memo1->textCursor().selectedText().size(), 9);
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_file_commands.moc"
