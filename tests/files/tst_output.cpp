// What the output commands compute: the text an import reads, and the printed layout
// of the code page with fixed font metrics. And the lines the windows read from the
// installation's text files.

#include "files/export_text.h"
#include "files/import_text.h"
#include "files/print_layout.h"
#include "files/text_lines.h"

#include "common/file_helpers.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace quill;
using namespace Qt::StringLiterals;

namespace {

// Every character 10 pixels wide, 12 high; tab stops every 8 x 6 = 48 pixels.
PrintMetrics fixedMetrics(int width, int height)
{
    return {width, height, 12, 6, [](QStringView text) { return int(text.size()) * 10; }};
}

// A layout written as "page:x,y:text" runs, one per item.
QStringList describe(const PrintLayout &layout)
{
    QStringList runs;
    for (const PrintRun &run : layout.runs)
        runs << u"%1:%2,%3:%4"_s.arg(run.page).arg(run.x).arg(run.y).arg(run.text);
    return runs;
}

} // namespace

class TestOutput : public QObject
{
    Q_OBJECT

private slots:
    void importText_data();
    void importText();
    void importCapacity();
    void importFailures();
    void textLines_data();
    void textLines();
    void exportWritesBytes();
    void failedExportKeepsOldFile_data();
    void failedExportKeepsOldFile();
    void printLayout_data();
    void printLayout();
};

void TestOutput::importText_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("set"); // the project's item of the character-set list
    QTest::addColumn<QString>("text");

    QTest::newRow("LF") << "a\nb\n"_ba << 0 << u"a\r\nb\r\n"_s;
    QTest::newRow("CR") << "a\rb"_ba << 0 << u"a\r\nb"_s;
    QTest::newRow("CR LF") << "a\r\nb"_ba << 0 << u"a\r\nb"_s;
    QTest::newRow("mixed") << "1\r\n2\n3\r4\n\r5"_ba << 0 << u"1\r\n2\r\n3\r\n4\r\n\r\n5"_s;
    QTest::newRow("empty") << QByteArray() << 0 << QString();
    QTest::newRow("zero byte ends it") << "abc\0def\n"_ba << 0 << u"abc"_s;
    // Every other byte stays, Ctrl-Z and the high bytes included.
    QTest::newRow("high bytes") << "\x1a\xa0\x81\xff"_ba << 0 << u"\x1a\u00a0\u0081\u00ff"_s;
    QTest::newRow("UTF-8 whatever the project declares")
        << "caf\xc3\xa9 \xce\xa9"_ba << 6 << u"caf\u00e9 \u03a9"_s;
    QTest::newRow("a byte-order mark is no text") << "\xef\xbb\xbf"
                                                     "a"_ba
                                                  << 9 << u"a"_s;
    QTest::newRow("not UTF-8: the project's set") << "\xd9\xe1\r"_ba << 6 << u"\u03a9\u03b1\r\n"_s;
    QTest::newRow("UTF-8 cut off at the end is not UTF-8") << "a\xc3"_ba << 0 << u"a\u00c3"_s;
}

void TestOutput::importText()
{
    QFETCH(QByteArray, file);
    QFETCH(int, set);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"page.html"_s);
    QVERIFY(writeFile(path, file));
    QString read;
    QString error;
    QVERIFY2(readImportText(path, CharacterSet::ofItem(set), &read, &error), qPrintable(error));
    QCOMPARE(read, text);
}

void TestOutput::importCapacity()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"big.txt"_s);
    QString text;
    QString error;
    // Exactly full, then one over; a lone LF grows into two characters and counts so.
    QVERIFY(writeFile(path, QByteArray(CodePageCapacity, 'x')));
    QVERIFY(readImportText(path, CharacterSet::western(), &text, &error));
    QCOMPARE(text.size(), CodePageCapacity);
    QVERIFY(writeFile(path, QByteArray(CodePageCapacity - 1, 'x') + '\n'));
    QVERIFY(!readImportText(path, CharacterSet::western(), &text, &error));
    QCOMPARE(error, u"Text exceeds memo capacity"_s);
    QVERIFY(writeFile(path, QByteArray(CodePageCapacity + 1, 'x')));
    QVERIFY(!readImportText(path, CharacterSet::western(), &text, &error));
    QCOMPARE(error, u"Text exceeds memo capacity"_s);
}

void TestOutput::importFailures()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"pipe"_s);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Neither waits for a writer nor reads without end: each is refused at once.
    for (const QString &path : {dir.filePath(u"missing.txt"_s), fifo, dir.path(), u"/dev/zero"_s}) {
        QString text = u"kept"_s;
        QString error;
        QVERIFY2(!readImportText(path, CharacterSet::western(), &text, &error), qPrintable(path));
        QCOMPARE(error, u"Cannot open file "_s + path);
        QCOMPARE(text, u"kept"_s);
    }
}

void TestOutput::textLines_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF") << "one\r\ntwo\r\n"_ba << QStringList{u"one"_s, u"two"_s};
    QTest::newRow("LF, no last break") << "one\ntwo"_ba << QStringList{u"one"_s, u"two"_s};
    QTest::newRow("empty line kept") << "one\r\n\r\ntwo"_ba << QStringList{u"one"_s, {}, u"two"_s};
    QTest::newRow("one break") << "\r\n"_ba << QStringList{QString()};
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("Ctrl-Z ends the text")
        << "one\r\ntw\x1ao\r\nthree"_ba << QStringList{u"one"_s, u"tw"_s};
    QTest::newRow("8-bit through the codec")
        << "caf\xe9 \x80"_ba << QStringList{u"caf\u00e9 \u20ac"_s};
}

void TestOutput::textLines()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"1.txt"_s);
    QVERIFY(writeFile(path, file));
    QStringList read{u"old"_s};
    QString error;
    QVERIFY2(readTextLines(path, &read, &error), qPrintable(error));
    QCOMPARE(read, lines);
}

void TestOutput::exportWritesBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"page.html"_s);
    QVERIFY(writeFile(path, "an older and longer page"_ba));
    QString error;
    // In the set given; what it lacks as a reference.
    QVERIFY2(exportText(path, u"<p>\u03a9 \u00e9</p>\r\n"_s, CharacterSet::ofItem(6), &error),
             qPrintable(error));
    QCOMPARE(readFile(path), "<p>\xd9 &#233;</p>\r\n"_ba);
}

void TestOutput::failedExportKeepsOldFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("diskFills");
    QTest::addColumn<QString>("message"); // %1: the full name

    QTest::newRow("missing folder") << u"none/page.html"_s << false << u"Cannot create file %1"_s;
    QTest::newRow("a folder there") << u"sub"_s << false << u"Cannot create file %1"_s;
    QTest::newRow("disk fills part-way") << u"page.html"_s << true << u"Disk full"_s;
}

void TestOutput::failedExportKeepsOldFile()
{
    QFETCH(QString, name);
    QFETCH(bool, diskFills);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
    const QString path = dir.filePath(name);
    const QByteArray old = "the old page"_ba;
    if (diskFills)
        QVERIFY(writeFile(path, old));
    const QString text(200, u'x');
    const CharacterSet western = CharacterSet::western();
    QString error;
    const bool written =
        diskFills ? withFileSizeLimit(100, [&] { return exportText(path, text, western, &error); })
                  : exportText(path, text, western, &error);
    QVERIFY(!written);
    QCOMPARE(error, message.arg(path));
    if (diskFills)
        QCOMPARE(readFile(path), old);
    // No temporary file is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), diskFills ? 1 : 0);
}

void TestOutput::printLayout_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QStringList>("runs");
    QTest::addColumn<int>("pages");

    const auto row = [](const char *tag, const QString &text, int width, int height,
                        const QStringList &runs, int pages) {
        QTest::newRow(tag) << text << width << height << runs << pages;
    };
    // Lines advance by 12 + 2 with text and by 12 when empty.
    row("lines", u"ab\r\ncd\r\n"_s, 200, 1000, {u"0:0,0:ab"_s, u"0:0,14:cd"_s}, 1);
    row("LF alone breaks too", u"ab\ncd\r\n"_s, 200, 1000, {u"0:0,0:ab"_s, u"0:0,14:cd"_s}, 1);
    row("empty line", u"a\r\n\r\nb\r\n"_s, 200, 1000, {u"0:0,0:a"_s, u"0:0,26:b"_s}, 1);
    row("lone CR prints", u"a\rb\r\n"_s, 200, 1000, {u"0:0,0:a\rb"_s}, 1);
    // Broken at the last character that fits, no word wrapping.
    row("wrap", u"abcdefg\r\n"_s, 30, 1000, {u"0:0,0:abc"_s, u"0:0,14:def"_s, u"0:0,28:g"_s}, 1);
    row("tab to next stop", u"a\tb\r\n"_s, 200, 1000, {u"0:0,0:a"_s, u"0:48,0:b"_s}, 1);
    row("tab from a stop", u"abcdef\tb\r\n"_s, 200, 1000, {u"0:0,0:abcdef"_s, u"0:96,0:b"_s}, 1);
    row("tab past the edge", u"abcde\tb\r\n"_s, 60, 1000, {u"0:0,0:abcde"_s, u"0:0,14:b"_s}, 1);
    row("form feed", u"a\fb\r\n"_s, 200, 1000, {u"0:0,0:a"_s, u"1:0,0:b"_s}, 2);
    // A page of 60 takes lines at 0, 14 and 28 (60 - 28 = 32 >= 28), not at 42.
    row("page break", u"1\r\n2\r\n3\r\n4\r\n"_s, 200, 60,
        {u"0:0,0:1"_s, u"0:0,14:2"_s, u"0:0,28:3"_s, u"1:0,0:4"_s}, 2);
    row("no blank page after the last text", u"1\r\n2\r\n3\r\n"_s, 200, 60,
        {u"0:0,0:1"_s, u"0:0,14:2"_s, u"0:0,28:3"_s}, 1);
    row("blank page between form feeds", u"a\f\fb"_s, 200, 1000, {u"0:0,0:a"_s, u"2:0,0:b"_s}, 3);
    row("empty page", u"\r\n"_s, 200, 1000, {}, 1);
    // Too small for a character or two lines: one character a line, one line a page.
    row("narrower than a character", u"ab"_s, 5, 1000, {u"0:0,0:a"_s, u"0:0,14:b"_s}, 1);
    row("lower than two lines", u"a\r\nb"_s, 200, 10, {u"0:0,0:a"_s, u"1:0,0:b"_s}, 2);
}

void TestOutput::printLayout()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QStringList, runs);
    QFETCH(int, pages);
    const PrintLayout layout = layOutPrint(text, fixedMetrics(width, height));
    QCOMPARE(describe(layout), runs);
    QCOMPARE(layout.pageCount, pages);
}

QTEST_GUILESS_MAIN(TestOutput)
#include "tst_output.moc"
