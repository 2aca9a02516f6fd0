// The real seams the program runs with: QtPrompts shows exactly the message it is
// given and reports the button that closed it; DesktopShell hands each kind of
// target to the desktop's opener as the right kind of address, and says so when it
// cannot be opened.

#include "windows/look.h"
#include "windows/printer.h"
#include "windows/prompts.h"
#include "windows/shell.h"

#include "common/file_helpers.h"
#include "scripted_prompts.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(quill::Message)

namespace {

enum class Close { ClickOk, ClickCancel, Escape, Enter };

// An opener of the test's own in `folder`: a shell script with `body`, which gets the
// address as $1 and which writes it into "opened" first.
QString makeOpener(const QTemporaryDir &folder, const QByteArray &body)
{
    const QString path = folder.filePath(u"opener"_s);
    const QByteArray script = "#!/bin/sh\nprintf %s \"$1\" > '" +
                              QFile::encodeName(folder.filePath(u"opened"_s)) + "'\n" + body;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(script + '\n') < 0)
        return {};
    file.setPermissions(file.permissions() | QFile::ExeOwner);
    return path;
}

} // namespace

Q_DECLARE_METATYPE(Close)

class TestSeams : public QObject
{
    Q_OBJECT

private slots:
    void promptShowsTheMessage_data();
    void promptShowsTheMessage();
    void openDialogLists_data();
    void openDialogLists();
    void dialogStartsIn_data();
    void dialogStartsIn();
    void shellOpens_data();
    void shellOpens();
    void shellReportsFailure_data();
    void shellReportsFailure();
    void printsToPdf();
    void noDefaultPrinter();
};

void TestSeams::promptShowsTheMessage_data()
{
    QTest::addColumn<quill::Message>("message");
    QTest::addColumn<Close>("close");
    QTest::addColumn<QMessageBox::StandardButton>("result");

    const quill::Message question =
        quill::warningQuestion(u"Are you sure you want to clear all fields?"_s);
    QTest::newRow("question, OK") << question << Close::ClickOk << QMessageBox::Ok;
    QTest::newRow("question, Cancel") << question << Close::ClickCancel << QMessageBox::Cancel;
    QTest::newRow("question, Escape") << question << Close::Escape << QMessageBox::Cancel;
    QTest::newRow("question, Enter is the default") << question << Close::Enter << QMessageBox::Ok;
    QTest::newRow("error, Escape")
        << quill::errorMessage(u"File not found"_s) << Close::Escape << QMessageBox::Ok;
}

void TestSeams::promptShowsTheMessage()
{
    QFETCH(quill::Message, message);
    QFETCH(Close, close);
    QFETCH(QMessageBox::StandardButton, result);

    // Read what the box shows, then close it as the user would; compared afterwards,
    // so a wrong box never stays open and hangs the test.
    std::optional<quill::Message> shown;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown = quill::Message{box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                               box->standardButton(box->defaultButton())};
        switch (close) {
        case Close::ClickOk:
            box->button(QMessageBox::Ok)->click();
            break;
        case Close::ClickCancel:
            box->button(QMessageBox::Cancel)->click();
            break;
        case Close::Escape:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        case Close::Enter:
            QTest::keyClick(box, Qt::Key_Return);
            break;
        }
    });
    quill::QtPrompts prompts;
    QCOMPARE(prompts.show(nullptr, message), result);
    QVERIFY(shown);
    QCOMPARE(*shown, message);
}

void TestSeams::openDialogLists_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("listed");
    // "*.*" takes names without a dot too, as on the desktop the users come from.
    QTest::newRow("every file") << u"All (*.*)"_s << QStringList{u"README"_s, u"menu.html"_s};
    QTest::newRow("one suffix") << u"HTML File (*.html)"_s << QStringList{u"menu.html"_s};
}

void TestSeams::openDialogLists()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, listed);
    QTemporaryDir dir;
    for (const QString &name : {u"README"_s, u"menu.html"_s}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QStringList shown;
    QTimer::singleShot(0, this, [&] {
        // Closed whatever the checks find, so a failure never leaves it waiting.
        const auto close = qScopeGuard([] {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto *model = dialog->findChild<QFileSystemModel *>();
        QVERIFY(model);
        const QModelIndex folder = model->index(dir.path());
        QTRY_COMPARE(model->rowCount(folder), int(listed.size()));
        for (int row = 0; row < model->rowCount(folder); ++row)
            shown << model->index(row, 0, folder).data().toString();
    });
    quill::QtPrompts prompts;
    const quill::FileDialogRequest request{u"Open"_s, filter, QString(),
                                           dir.filePath(u"menu.html"_s)};
    QCOMPARE(prompts.openFileName(nullptr, request), QString());
    shown.sort();
    QCOMPARE(shown, listed);
}

void TestSeams::dialogStartsIn_data()
{
    // Names under a home folder of the test's own: "~" stands for it.
    QTest::addColumn<bool>("hasDocuments");
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::newRow("nothing chosen yet") << true << QString() << u"~/Documents"_s << QString();
    QTest::newRow("the proposed name") << true << u"mytags"_s << u"~/Documents"_s << u"mytags"_s;
    QTest::newRow("no documents folder") << false << u"mytags"_s << u"~"_s << u"mytags"_s;
    QTest::newRow("chosen before") << true << u"~/site/toys.qmk"_s << u"~/site"_s << u"toys.qmk"_s;
}

void TestSeams::dialogStartsIn()
{
    QFETCH(bool, hasDocuments);
    QFETCH(QString, lastName);
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QTemporaryDir home;
    QVERIFY(QDir(home.path()).mkdir(u"site"_s));
    if (hasDocuments)
        QVERIFY(QDir(home.path()).mkdir(u"Documents"_s));
    const auto inHome = [&](QString path) { return path.replace(u'~', home.path()); };
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        qputenv("XDG_CONFIG_HOME", oldConfig);
    });
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");

    QString shownFolder;
    QString shownName;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        shownFolder = dialog->directory().absolutePath();
        const QStringList selected = dialog->selectedFiles();
        shownName = selected.isEmpty() ? QString() : QFileInfo(selected.constFirst()).fileName();
        dialog->reject();
    });
    quill::QtPrompts prompts;
    const quill::FileDialogRequest request{u"Save"_s, u"Quillmark Data Files (*.qmk)"_s, QString(),
                                           inHome(lastName)};
    QCOMPARE(prompts.saveFileName(nullptr, request), QString());
    QCOMPARE(shownFolder, inHome(folder));
    if (!name.isEmpty())
        QCOMPARE(shownName, name);
}

void TestSeams::shellOpens_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QUrl>("url");

    QTest::newRow("web address") << u"https://www.quillmark.example/"_s
                                 << QUrl(u"https://www.quillmark.example/"_s);
    QTest::newRow("mail address") << u"mailto:support@quillmark.example"_s
                                  << QUrl(u"mailto:support@quillmark.example"_s);
    QTest::newRow("search with a blank")
        << u"http://www.google.com/search?hl=en&lr=&ie=ISO-8859-1&q=meta tags"_s
        << QUrl(u"http://www.google.com/search?hl=en&lr=&ie=ISO-8859-1&q=meta%20tags"_s);
    QTest::newRow("help page") << u"/opt/quillmark/help/index.html"_s
                               << QUrl(u"file:///opt/quillmark/help/index.html"_s);
}

void TestSeams::shellOpens()
{
    QFETCH(QString, target);
    QFETCH(QUrl, url);

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    quill::DesktopShell shell(prompts, makeOpener(folder, "exit 0"));
    shell.open(target);
    const QString opened = folder.filePath(u"opened"_s);
    QTRY_VERIFY(QFile::exists(opened));
    QTRY_COMPARE(QUrl::fromEncoded(readFile(opened)), url);
}

void TestSeams::shellReportsFailure_data()
{
    // How the opener ends ("" for one that is not there); the reason the box gives,
    // after the address, or none when nothing went wrong.
    QTest::addColumn<QByteArray>("ending");
    QTest::addColumn<QString>("why");

    QTest::newRow("opened") << QByteArray("exit 0") << QString();
    QTest::newRow("no program for the address")
        << QByteArray("exit 3")
        << u"OPENER found no program to open it, or the program failed (exit status 3)."_s;
    QTest::newRow("ended by a signal")
        << QByteArray("kill -9 $$") << u"OPENER was ended by signal 9."_s;
    QTest::newRow("no opener, no browser")
        << QByteArray()
        << u"No program was found to open it. Install xdg-utils and a web browser."_s;
}

void TestSeams::shellReportsFailure()
{
    QFETCH(QByteArray, ending);
    QFETCH(QString, why);

    QTemporaryDir folder;
    const QString opener =
        ending.isEmpty() ? folder.filePath(u"none"_s) : makeOpener(folder, ending);
    // Qt's own search for a browser finds none on an empty search path.
    const QByteArray path = qgetenv("PATH");
    const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
    qputenv("PATH", QFile::encodeName(folder.path()));
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");

    ScriptedPrompts prompts;
    if (!why.isEmpty())
        prompts.answerBox(QMessageBox::Ok);
    quill::DesktopShell shell(prompts, opener);
    const QString target = u"https://www.quillmark.example/help/"_s;
    shell.open(target);
    if (why.isEmpty()) {
        // The opener has ended, and has had time to be heard of: no box.
        QTRY_VERIFY(QFile::exists(folder.filePath(u"opened"_s)));
        QTest::qWait(300);
        QCOMPARE(prompts.boxes().size(), 0);
        return;
    }
    QTRY_COMPARE(prompts.boxes().size(), 1);
    const quill::Message box = prompts.boxes().constFirst();
    QCOMPARE(box.text,
             u"Could not open "_s + target + u"\n\n"_s + QString(why).replace(u"OPENER"_s, opener));
    QCOMPARE(box.icon, QMessageBox::Warning);
}

void TestSeams::printsToPdf()
{
    quill::applyProgramLook(*qApp);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"code.pdf"_s);
    quill::QtPrinter printer(pdf);
    QString error;
    // A form feed starts the second page; no blank page follows the last text.
    QVERIFY2(printer.printText(u"<html>\r\n\tindented\f</html>\r\n"_s, &error), qPrintable(error));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 2);

    // In the program's face at 8 points: the page's scale times the size the text is set in.
    const QString face = QApplication::font().family().remove(u' ');
    QVERIFY2(bytes.contains("/BaseFont /" + face.toLatin1()), qPrintable(face));
    const QRegularExpression stream(u"stream\r?\n(.*?)endstream"_s,
                                    QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression size(uR"((\S+) 0 0 \S+ \S+ \S+ cm.*?/F\d+ (\S+) Tf)"_s,
                                  QRegularExpression::DotMatchesEverythingOption);
    const QString latin = QString::fromLatin1(bytes);
    QList<double> points;
    for (auto it = stream.globalMatch(latin); it.hasNext();) {
        const QByteArray packed = it.next().captured(1).toLatin1();
        // A zlib stream, with the size hint qUncompress wants in front.
        const QString content =
            QString::fromLatin1(qUncompress(QByteArray("\0\x10\0\0", 4) + packed));
        if (const QRegularExpressionMatch m = size.match(content); m.hasMatch())
            points << m.captured(1).toDouble() * m.captured(2).toDouble();
    }
    QVERIFY(!points.isEmpty());
    for (const double pt : points)
        QVERIFY2(qAbs(pt - 8) < 0.1, qPrintable(QString::number(pt)));
}

void TestSeams::noDefaultPrinter()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("This machine has a default printer.");
    quill::QtPrinter printer;
    QString error;
    QVERIFY(!printer.printText(u"x\r\n"_s, &error));
    QCOMPARE(error, u"There is no default printer currently selected"_s);
}

QTEST_MAIN(TestSeams)
#include "tst_seams.moc"
