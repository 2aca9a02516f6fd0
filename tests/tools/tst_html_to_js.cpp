// The HTML-to-JavaScript engine: lines, escaping, progress, side files and failures.

#include "files/file_io.h"
#include "tools/html_to_js.h"
#include "tools/html_to_js_blocks.h"

#include "common/converter_reference.h"
#include "common/file_helpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <csignal>
#include <numeric>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quill;

namespace {

const QDateTime clockReading(QDate(2024, 3, 9), QTime(14, 5, 6), QTimeZone::utc());

// Blanks of every kind, CRs among them, `size` bytes in all.
QByteArray blanks(qsizetype size)
{
    static const char kinds[] = {' ', '\t', '\r', '\0', '\x1f', ' ', '\x0b'};
    QByteArray run(size, ' ');
    for (qsizetype i = 0; i < size; ++i)
        run[i] = kinds[i % qsizetype(sizeof kinds)];
    return run;
}

QByteArray withoutCr(QByteArray bytes)
{
    return bytes.replace("\r", "");
}

// A source as the kernels see it: the text, the Ctrl-Z after it and a block of room.
QByteArray padded(const QByteArray &text)
{
    return text + blocks::CtrlZ + QByteArray(blocks::BlockSize, '\0');
}

using Kernels = const blocks::Implementation *;

bool supportedAlways()
{
    return true;
}

bool supportedNever()
{
    return false;
}

} // namespace

class TestHtmlToJs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void lines_data();
    void lines();
    void longLines_data();
    void longLines();
    void blockRuns_data();
    void blockRuns();
    void randomSources();
    void progress_data();
    void progress();
    void sideFiles_data();
    void sideFiles();
    void failures_data();
    void failures();
    void fullDisk();
    void sourceCutShort();
    void sameFile_data();
    void sameFile();
    void lineConversion_data();
    void lineConversion();
    void feedCount_data();
    void feedCount();
    void implementationOrder();
    void choice_data();
    void choice();

private:
    // Converts `source` from src.html into out.js with neither side file.
    ConversionResult run(const QByteArray &source);
    QStringList files() const;

    QTemporaryDir m_dir;
};

void TestHtmlToJs::initTestCase()
{
    // The kernel tests below run every implementation this processor can run.
    QStringList skipped;
    for (const Kernels kernels : blocks::implementations()) {
        if (!kernels->supported())
            skipped << QLatin1String(kernels->name);
    }
    if (!skipped.isEmpty())
        qInfo("Implementations this processor cannot run, left untested: %s",
              qPrintable(skipped.join(QStringLiteral(", "))));
    QVERIFY(m_dir.isValid());
    // Relative names, as a user types them, resolve against the current directory.
    QVERIFY(QDir::setCurrent(m_dir.path()));
}

void TestHtmlToJs::init()
{
    QDir dir(m_dir.path());
    for (const QString &name :
         dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        QVERIFY(QFileInfo(dir.filePath(name)).isDir() ? QDir(dir.filePath(name)).removeRecursively()
                                                      : dir.remove(name));
}

ConversionResult TestHtmlToJs::run(const QByteArray &source)
{
    if (!writeFile(QStringLiteral("src.html"), source))
        return {0, QStringLiteral("test set-up failed"), QString()};
    const ConversionResult result = convertHtmlToJs(
        QStringLiteral("src.html"), QStringLiteral("out.js"), false, false, clockReading, {});
    const QByteArray bytes = readFile(QStringLiteral("out.js"));
    // With progress reported the lines are counted first, without they are not; and every
    // implementation this processor can run converts (the line counts of each are checked
    // apart): the same bytes and the same result.
    QList<std::pair<Kernels, bool>> runs{{blocks::chosenImplementation().implementation, true}};
    for (const Kernels kernels : blocks::supportedImplementations())
        runs.append({kernels, false});
    for (const auto &[kernels, counted] : runs) {
        const ConversionResult again = convertHtmlToJs(
            QStringLiteral("src.html"), QStringLiteral("again.js"), false, false, clockReading,
            counted ? std::function<void(int)>([](int) {}) : nullptr, *kernels);
        if (again.lines != result.lines || again.error != result.error ||
            readFile(QStringLiteral("again.js")) != bytes)
            return {0,
                    QStringLiteral("%1%2 changed the result")
                        .arg(QLatin1String(kernels->name),
                             counted ? QStringLiteral(", counting first") : QString()),
                    QString()};
    }
    QFile::remove(QStringLiteral("again.js"));
    return result;
}

QStringList TestHtmlToJs::files() const
{
    return QDir(m_dir.path())
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                   QDir::Name);
}

void TestHtmlToJs::lines_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArrayList>("texts");

    QTest::newRow("empty") << QByteArray() << QByteArrayList{""};
    QTest::newRow("LF alone") << QByteArray("\n") << QByteArrayList{""};
    QTest::newRow("two LFs") << QByteArray("\n\n") << QByteArrayList{"", ""};
    QTest::newRow("last line without LF") << QByteArray("a\r\nb") << QByteArrayList{"a", "b"};
    QTest::newRow("last line with CR LF") << QByteArray("a\r\nb\r\n") << QByteArrayList{"a", "b"};
    QTest::newRow("lone CR at the end") << QByteArray("a\r") << QByteArrayList{"a"};
    QTest::newRow("lone CRs inside") << QByteArray("x\ry\rz") << QByteArrayList{"xyz"};
    QTest::newRow("CR after the last LF") << QByteArray("a\n\r") << QByteArrayList{"a", ""};
    QTest::newRow("Ctrl-Z first") << QByteArray("\x1a"
                                                "a\nb")
                                  << QByteArrayList{""};
    QTest::newRow("Ctrl-Z after LF") << QByteArray("one\n\x1atwo") << QByteArrayList{"one"};
    QTest::newRow("Ctrl-Z after lone CR") << QByteArray("a\r\x1a\nb") << QByteArrayList{"a"};
    QTest::newRow("Ctrl-Z inside") << QByteArray("ab\x1a"
                                                 "cd\n")
                                   << QByteArrayList{"ab"};

    QTest::newRow("quotes") << QByteArray("\t  a\"b'c ") << QByteArrayList{"a\\\"b\\'c"};
    QTest::newRow("backslash before quotes")
        << QByteArray("\\\" \\' \\u \\n end\\")
        << QByteArrayList{"\\\\\\\" \\\\\\' \\\\u \\\\n end\\\\"};
    QTest::newRow("markup unchanged")
        << QByteArray("<a href=x>&amp;</a>") << QByteArrayList{"<a href=x>&amp;</a>"};
    QTest::newRow("blanks only") << QByteArray(" \t \r\n") << QByteArrayList{""};
    QTest::newRow("NUL and 0x1F at the ends") << QByteArray("\0\x1f"
                                                            "a\x1f\0",
                                                            5)
                                              << QByteArrayList{"a"};
    QTest::newRow("0x7F, 0xA0, 0xFF stay at the ends")
        << QByteArray("\x7f a\xa0 \xff") << QByteArrayList{"\x7f a\xa0 \xff"};
    QTest::newRow("inside untouched")
        << QByteArray("a\0\x01\t b", 6) << QByteArrayList{QByteArray("a\0\x01\t b", 6)};
    QTest::newRow("CR among inner blanks") << QByteArray("a \r b \r\n") << QByteArrayList{"a  b"};
    // Many bytes share their low bits with a quote, a CR or an LF; none of them is one,
    // at any place of a block (the run of them is of an odd length, written 32 times).
    QByteArray others;
    for (int c = 1; c < 256; ++c) {
        if (!QByteArray("\n\r\x1a\"'\\").contains(char(c)))
            others += char(c);
    }
    others = others.repeated(32);
    QTest::newRow("every other byte kept, 33 at the ends")
        << "!" + others + "!" << QByteArrayList{"!" + others + "!"};
}

void TestHtmlToJs::lines()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArrayList, texts);

    const ConversionResult result = run(source);
    QCOMPARE(result.error, QString());
    QCOMPARE(result.lines, texts.size());
    QCOMPARE(readFile(QStringLiteral("out.js")), statements(texts));
}

void TestHtmlToJs::longLines_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArrayList>("texts");

    const QByteArray before(ConverterReadSize - 1, 'a');
    QTest::newRow("CR LF across two reads") << before + "\r\nb" << QByteArrayList{before, "b"};
    QTest::newRow("escape at the end of a read") << before + "\"\n"
                                                 << QByteArrayList{before + "\\\""};

    const QByteArray mebi = blanks(1 << 20);
    QTest::newRow("MiB of blanks inside") << "a" + mebi + "b\n"
                                          << QByteArrayList{"a" + withoutCr(mebi) + "b"};
    QTest::newRow("MiB of blanks at the end") << "a" + mebi + "\r\nc" << QByteArrayList{"a", "c"};
    QTest::newRow("MiB of blanks first") << mebi + "a" << QByteArrayList{"a"};
    QTest::newRow("MiB of blanks before Ctrl-Z") << "a" + mebi +
                                                        "\x1a"
                                                        "b"
                                                 << QByteArrayList{"a"};

    const QByteArray held = blanks(2 * ConverterReadSize);
    QTest::newRow("blanks across reads, kept")
        << "a" + held + "b" << QByteArrayList{"a" + withoutCr(held) + "b"};
    const QByteArray crs(3 * ConverterReadSize, '\r');
    QTest::newRow("CRs across reads") << "a" + crs + "b" << QByteArrayList{"ab"};
    // Enough output for the buffer to be written out before the next read: the prefix
    // opened after the last LF must still go.
    const QByteArray lines = QByteArray("x\n").repeated(ConverterReadSize / 2);
    QTest::newRow("Ctrl-Z opening a read after an LF")
        << lines + "\x1a" + QByteArray(ConverterReadSize - 1, 'y')
        << QByteArrayList(ConverterReadSize / 2, "x");
}

void TestHtmlToJs::longLines()
{
    lines();
}

// Lines taken a block at a time: each source as the plain whole-text conversion gives it,
// and the run of whole blocks from its start, from a line's start and from inside a line
// with text, with every line due and with only some.
void TestHtmlToJs::blockRuns_data()
{
    QTest::addColumn<QByteArray>("source");

    QTest::newRow("lines sharing a block") << QByteArray("a\nb c\n  d \r\n\n\"e\"\n \t\r\n'f\\'\n");
    for (const int size : {31, 32, 33, 62, 63, 64, 65, 70, 127, 128, 129}) {
        const QByteArray quoted = '"' + QByteArray(size - 2, 'a') + '\'';
        QTest::addRow("quoted line of %d bytes between short ones", size)
            << "q\n" + quoted + "\n" + quoted + "\r\n r\n" + quoted;
        QTest::addRow("%d blanks before a short line", size)
            << "q\n" + QByteArray(size, ' ') + "\\\nr" + QByteArray(size, ' ') + "\n";
        QTest::addRow("%d quotes in a line", size)
            << QByteArray(size, '\'') + "\n" + QByteArray(size, '"');
    }
    // A line's end at every place of two blocks, after text, blanks or a CR.
    for (int at = 0; at < 130; ++at)
        QTest::addRow("line end at %d", at) << QByteArray("x 'y'\t").repeated(20).left(at) +
                                                   (at % 3 ? "\n" : " \r\n") +
                                                   QByteArray(" z").repeated(70);
    QTest::newRow("blank lines only") << QByteArray(" \n\t\r\n").repeated(40);
    QTest::newRow("CRs inside short lines") << QByteArray("a\rb\n c \r d\r\n\r\"\r\n").repeated(8);
    QTest::newRow("a lone CR after a line's text, then blanks and its end")
        << "a\r" + QByteArray(10, ' ') + "\n" + QByteArray(100, 'b') + "\n";
    QTest::newRow("Ctrl-Z after short lines") << QByteArray("a\nb\nc\x1a d\ne\n");
    QTest::newRow("Ctrl-Z in the second block") << QByteArray(70, 'a') + "\x1a\n";
    QTest::newRow("inner blanks and bytes above 127")
        << QByteArray("\xff \x01 \xa0\n\x7f\t\x7f\n").repeated(10);
}

void TestHtmlToJs::blockRuns()
{
    QFETCH(QByteArray, source);

    const ConversionResult result = run(source);
    QCOMPARE(result.error, QString());
    const QByteArray expected = reference(source);
    QCOMPARE(readFile(QStringLiteral("out.js")), expected);
    QCOMPARE(result.lines, expected.count("\r\n"));

    for (const Kernels kernels : blocks::supportedImplementations()) {
        for (const bool inText : {false, true}) {
            for (const qsizetype most : {qsizetype(1) << 40, source.count('\n') / 2}) {
                const QByteArray fault = blockRunFault(*kernels, source, inText, most);
                QVERIFY2(fault.isEmpty(), kernels->name + (": " + fault));
            }
        }
    }
}

void TestHtmlToJs::randomSources()
{
    // Bytes weighted towards those with a meaning, so that every case meets every other;
    // some sources span several reads, some hold runs of blanks too long to keep.
    static const char meaningful[] = {'\r', '\n', ' ', '\t', '\0',   '\x1f', '\\',
                                      '"',  '\'', 'a', '<',  '\x7f', '\xa0', '\xff'};
    QRandomGenerator rng(20240309);
    for (int round = 0; round < 300; ++round) {
        const qsizetype size = round % 50 == 0 ? 3 * ConverterReadSize : rng.bounded(200);
        QByteArray source;
        for (qsizetype piece = 0; piece < size; ++piece) {
            const quint32 pick = rng.bounded(100);
            if (pick < 2 && round % 10 == 5)
                source += blanks(rng.bounded(3 * ConverterHeldBlanks));
            else if (pick < 3)
                source += char(rng.bounded(256));
            else if (pick < 4 && round % 4 == 0)
                source += '\x1a';
            else
                source += meaningful[rng.bounded(qsizetype(sizeof meaningful))];
        }
        const ConversionResult result = run(source);
        QVERIFY2(result.succeeded(), qPrintable(result.error));
        const QByteArray expected = reference(source);
        QVERIFY2(readFile(QStringLiteral("out.js")) == expected,
                 qPrintable(QStringLiteral("round %1, source %2")
                                .arg(round)
                                .arg(QString::fromLatin1(source.left(200).toHex()))));
        QCOMPARE(result.lines, expected.count("\r\n"));
    }
}

void TestHtmlToJs::progress_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<QList<int>>("reported");

    QTest::newRow("3 lines") << 3 << QList<int>{33, 67, 100};
    QTest::newRow("8 lines: halves to even") << 8 << QList<int>{12, 25, 38, 50, 62, 75, 88, 100};
    // Line 23 of 40 is 57.5 exactly, which floating point puts just below.
    QTest::newRow("40 lines") << 40
                              << QList<int>{2,  5,  8,  10, 12, 15, 18, 20, 22, 25, 28, 30, 32, 35,
                                            38, 40, 42, 45, 48, 50, 52, 55, 58, 60, 62, 65, 68, 70,
                                            72, 75, 78, 80, 82, 85, 88, 90, 92, 95, 98, 100};
    // Reported after the first line, then only on a change.
    QList<int> eachOnce(101);
    std::iota(eachOnce.begin(), eachOnce.end(), 0);
    QTest::newRow("1000 lines") << 1000 << eachOnce;
}

void TestHtmlToJs::progress()
{
    QFETCH(int, lines);
    QFETCH(QList<int>, reported);

    QVERIFY(writeFile(QStringLiteral("src.html"), QByteArray("x\n").repeated(lines)));
    QList<int> seen;
    const ConversionResult result =
        convertHtmlToJs(QStringLiteral("src.html"), QStringLiteral("out.js"), false, false,
                        clockReading, [&seen](int percent) { seen << percent; });
    QCOMPARE(result.lines, lines);
    QCOMPARE(seen, reported);
}

void TestHtmlToJs::sideFiles_data()
{
    QTest::addColumn<QString>("destination");
    QTest::addColumn<bool>("htmlPage");
    QTest::addColumn<bool>("logFile");
    QTest::addColumn<QStringList>("written");

    const QString aJs = QStringLiteral("a.js");
    QTest::newRow("a.js, both") << aJs << true << true
                                << QStringList{aJs, QStringLiteral("a.html"),
                                               QStringLiteral("a.log")};
    QTest::newRow("a.js, log") << aJs << false << true << QStringList{aJs, QStringLiteral("a.log")};
    QTest::newRow("a.js, none") << aJs << false << false << QStringList{aJs};
    QTest::newRow("menu.txt: last three characters, dot or not")
        << QStringLiteral("menu.txt") << true << true
        << QStringList{QStringLiteral("menu.txt"), QStringLiteral("menu..html"),
                       QStringLiteral("menu..log")};
    QTest::newRow("x.j: in the current directory")
        << QStringLiteral("x.j") << true << true
        << QStringList{QStringLiteral("x.j"), QStringLiteral(".html"), QStringLiteral(".log")};
}

void TestHtmlToJs::sideFiles()
{
    QFETCH(QString, destination);
    QFETCH(bool, htmlPage);
    QFETCH(bool, logFile);
    QFETCH(QStringList, written);

    QVERIFY(writeFile(QStringLiteral("src.html"), QByteArray("a\nb\nc")));
    const ConversionResult result = convertHtmlToJs(QStringLiteral("src.html"), destination,
                                                    htmlPage, logFile, clockReading, {});
    QCOMPARE(result.error, QString());
    QCOMPARE(result.lines, 3);

    QStringList expected = written;
    expected << QStringLiteral("src.html");
    expected.sort();
    QCOMPARE(files(), expected);
    const QByteArray name = destination.toLatin1();
    if (htmlPage) {
        QCOMPARE(readFile(written.at(1)),
                 "<html>\r\n"
                 "<head><title></title>\r\n"
                 "</head>\r\n"
                 "<body>\r\n"
                 "<!--Change path to relative path according to your directory structure on "
                 "your server-->\r\n"
                 "<script src=\"" +
                     name +
                     "\" type=\"text/javascript\"></script>\r\n"
                     "</body>\r\n"
                     "</html>\r\n");
    }
    if (logFile) {
        // The test runs in the C locale (main below).
        QCOMPARE(readFile(written.last()), "Log created by Quillmark v2.0\r\n"
                                           "-----------------------------------\r\n"
                                           "Date: 9 Mar 2024\r\n"
                                           "Time: 14:05:06 UTC\r\n"
                                           "Source file: src.html\r\n"
                                           "Destination: " +
                                               name +
                                               "\r\n"
                                               "HTML File made? " +
                                               (htmlPage ? "Yes" : "No") +
                                               "\r\n"
                                               "Lines converted: 3\r\n");
    }
}

void TestHtmlToJs::failures_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("folder"); // made before the run
    QTest::addColumn<QString>("pipe");   // a named pipe made before the run
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("after"); // besides src.html, old.js, the folder and the pipe

    const QString src = QStringLiteral("src.html");
    const QString old = QStringLiteral("old.js");
    const QString invalid = converterNamesMessage();
    const QString noFolder;
    const QString noPipe;
    QTest::newRow("short source") << QStringLiteral("ab") << old << noFolder << noPipe << invalid
                                  << QStringList{};
    QTest::newRow("short destination, missing source")
        << QStringLiteral("missing-source.html") << QStringLiteral("ab") << noFolder << noPipe
        << invalid << QStringList{};
    QTest::newRow("missing source") << QStringLiteral("missing.html") << old << noFolder << noPipe
                                    << QStringLiteral("File not found") << QStringList{};
    QTest::newRow("source is a named pipe: not read, not waited on")
        << QStringLiteral("pipe") << QStringLiteral("new.js") << noFolder << QStringLiteral("pipe")
        << QStringLiteral("File access denied") << QStringList{};
    QTest::newRow("source is a folder")
        << QStringLiteral("dir") << QStringLiteral("new.js") << QStringLiteral("dir") << noPipe
        << QStringLiteral("File access denied") << QStringList{};
    QTest::newRow("destination in a missing folder")
        << src << QStringLiteral("none/out.js") << noFolder << noPipe
        << QStringLiteral("File not found") << QStringList{};
    QTest::newRow("destination is a folder")
        << src << QStringLiteral("dir") << QStringLiteral("dir") << noPipe
        << QStringLiteral("File access denied") << QStringList{};
    QTest::newRow("page cannot be written: destination stays, no log")
        << src << QStringLiteral("new.js") << QStringLiteral("new.html") << noPipe
        << QStringLiteral("File access denied") << QStringList{QStringLiteral("new.js")};
}

void TestHtmlToJs::failures()
{
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(QString, folder);
    QFETCH(QString, pipe);
    QFETCH(QString, message);
    QFETCH(QStringList, after);

    const QByteArray oldBytes = "the old destination";
    QVERIFY(writeFile(QStringLiteral("src.html"), QByteArray("a\nb\n")));
    QVERIFY(writeFile(QStringLiteral("old.js"), oldBytes));
    if (!folder.isEmpty())
        QVERIFY(QDir().mkdir(folder));
    if (!pipe.isEmpty())
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    const ConversionResult result =
        convertHtmlToJs(source, destination, true, true, clockReading, {});
    QCOMPARE(result.error, message);
    QVERIFY(!result.succeeded());

    QStringList expected = after;
    expected << QStringLiteral("old.js") << QStringLiteral("src.html");
    if (!folder.isEmpty())
        expected << folder;
    if (!pipe.isEmpty())
        expected << pipe;
    expected.sort();
    QCOMPARE(files(), expected);
    QCOMPARE(readFile(QStringLiteral("old.js")), oldBytes);
    if (after.contains(QStringLiteral("new.js")))
        QCOMPARE(readFile(QStringLiteral("new.js")), statements({"a", "b"}));
}

void TestHtmlToJs::fullDisk()
{
    // A file size limit makes writes fail as a full disk does.
    const QByteArray oldBytes = "the old destination";
    QVERIFY(writeFile(QStringLiteral("src.html"), QByteArray("line\n").repeated(100000)));
    QVERIFY(writeFile(QStringLiteral("old.js"), oldBytes));
    rlimit previous{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 1000000;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const ConversionResult result = convertHtmlToJs(
        QStringLiteral("src.html"), QStringLiteral("old.js"), false, false, clockReading, {});
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(result.error, QStringLiteral("Disk full"));
    QCOMPARE(readFile(QStringLiteral("old.js")), oldBytes);
    QCOMPARE(files(), (QStringList{QStringLiteral("old.js"), QStringLiteral("src.html")}));
}

void TestHtmlToJs::sourceCutShort()
{
    const QByteArray oldBytes = "the old destination";
    QVERIFY(writeFile(QStringLiteral("old.js"), oldBytes));

    // The first report comes after the first line is read again.
    QVERIFY(writeFile(QStringLiteral("src.html"), QByteArray("line\n").repeated(100000)));
    const ConversionResult cut =
        convertHtmlToJs(QStringLiteral("src.html"), QStringLiteral("old.js"), false, false,
                        clockReading, [](int) { QFile::resize(QStringLiteral("src.html"), 12); });
    QCOMPARE(cut.error, readBeyondEndOfFileMessage());
    QCOMPARE(readFile(QStringLiteral("old.js")), oldBytes);
}

void TestHtmlToJs::sameFile_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<bool>("htmlPage");
    QTest::addColumn<bool>("logFile");
    QTest::addColumn<bool>("refused");

    const QString menu = QStringLiteral("menu.html");
    const QString folder = QFileInfo(m_dir.path()).fileName();
    QTest::newRow("same text") << menu << menu << false << false << true;
    QTest::newRow("./") << menu << QStringLiteral("./menu.html") << false << false << true;
    QTest::newRow("..") << menu << QStringLiteral("../%1/menu.html").arg(folder) << false << false
                        << true;
    QTest::newRow("absolute") << menu << QDir(m_dir.path()).filePath(menu) << false << false
                              << true;
    QTest::newRow("symbolic link")
        << menu << QStringLiteral("symlink.js") << false << false << true;
    QTest::newRow("hard link") << menu << QStringLiteral("hardlink.js") << false << false << true;
    QTest::newRow("the page") << menu << QStringLiteral("menu.js") << true << false << true;
    QTest::newRow("the log") << QStringLiteral("menu.log") << QStringLiteral("menu.js") << false
                             << true << true;
    QTest::newRow("page not asked") << menu << QStringLiteral("menu.js") << false << true << false;
    QTest::newRow("log not asked")
        << QStringLiteral("menu.log") << QStringLiteral("menu.js") << true << false << false;
}

void TestHtmlToJs::sameFile()
{
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(bool, htmlPage);
    QFETCH(bool, logFile);
    QFETCH(bool, refused);

    const QByteArray bytes = "<b>menu</b>\r\n";
    QVERIFY(writeFile(source, bytes));
    QVERIFY(QFile::link(source, QStringLiteral("symlink.js")));
    QCOMPARE(::link(QFile::encodeName(source).constData(), "hardlink.js"), 0);
    const QStringList before = files();

    const ConversionResult result =
        convertHtmlToJs(source, destination, htmlPage, logFile, clockReading, {});
    QCOMPARE(readFile(source), bytes);
    if (refused) {
        QCOMPARE(
            result.error,
            QStringLiteral("The source file would be overwritten; choose another destination."));
        QCOMPARE(files(), before);
    } else {
        QCOMPARE(result.error, QString());
        QCOMPARE(readFile(destination), statement("<b>menu</b>"));
    }
}

// A line converted by every implementation, from its start and with its blanks skipped
// first: the plain conversion's stop and output. Rows put the quotes, the line's end and
// its first text byte at every place of a block and across two, for blocks of 16, 32 and
// 64.
void TestHtmlToJs::lineConversion_data()
{
    QTest::addColumn<QByteArray>("line");

    const QByteArray text =
        QByteArray("<p class=x>  Text\tand blanks\x01 across blocks</p>").repeated(3);
    for (int at = 0; at <= 70; ++at) {
        QByteArray quoted = text;
        quoted[at] = "\"'\\"[at % 3];
        quoted[at + 9] = '"';
        QTest::addRow("quotes at %d and %d", at, at + 9) << quoted + '\n';
        for (const char stop : {'\r', '\n', blocks::CtrlZ})
            QTest::addRow("line end 0x%02x at %d", stop, at) << text.left(at) + stop + text;

        const QByteArray lead =
            QByteArray(at, ' ').replace(at / 2, at % 3 ? 1 : 0, at % 2 ? "\r" : "\t");
        QTest::addRow("%d blanks, then text", at) << lead + "It's \"x\"\r\n";
        QTest::addRow("%d blanks, then the end", at) << lead + (at % 2 ? "\n" : "\x1a");
        QTest::addRow("%d blanks, then a long line", at) << lead + QByteArray(90, '\'') + '\n';
    }
    QTest::newRow("no text") << QByteArray("\n");
    QTest::newRow("only quotes") << QByteArray(40, '\'') + '\x1a';
    QTest::newRow("quotes across three blocks") << QByteArray(150, '\\') + '\n';
    QTest::newRow("bytes above 127 and NUL") << QByteArray("\0\xff\x80\"\xa0\0\x7f\n", 8);
}

void TestHtmlToJs::lineConversion()
{
    QFETCH(QByteArray, line);

    for (const Kernels kernels : blocks::supportedImplementations()) {
        for (const bool skip : {false, true}) {
            const QByteArray fault = lineFault(*kernels, padded(line), skip);
            QVERIFY2(fault.isEmpty(), kernels->name + ((skip ? ", skipping: " : ": ") + fault));
        }
    }
}

// The LFs before the first Ctrl-Z, counted by every implementation; rows put the Ctrl-Z
// on either side of the edges of blocks of 32, 64 and four of them.
void TestHtmlToJs::feedCount_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("LFs only") << QByteArray(300, '\n');
    const QByteArray lines = QByteArray("ab\ncd\r\n\n").repeated(60);
    for (const int at : {0, 1, 31, 32, 63, 64, 127, 128, 255, 256, 257, 511, 600}) {
        QByteArray stopped = lines;
        stopped.insert(at, blocks::CtrlZ);
        QTest::addRow("Ctrl-Z at %d", at) << stopped;
        QTest::addRow("%d bytes, no Ctrl-Z", at) << lines.left(at);
    }
}

void TestHtmlToJs::feedCount()
{
    QFETCH(QByteArray, bytes);

    const qsizetype stop = bytes.indexOf(blocks::CtrlZ);
    const qint64 feeds = (stop < 0 ? bytes : bytes.left(stop)).count('\n');
    for (const Kernels kernels : blocks::supportedImplementations()) {
        const blocks::FeedCount count =
            kernels->countFeeds(bytes.constData(), bytes.constData() + bytes.size());
        QCOMPARE(count.feeds, feeds);
        QCOMPARE(count.stop ? count.stop - bytes.constData() : -1, stop);
    }
}

// Best first: the run without a name takes the first this processor can run, and the
// portable way, which every processor can run, comes last.
void TestHtmlToJs::implementationOrder()
{
    const QList<Kernels> supported = blocks::supportedImplementations();
    QCOMPARE(blocks::chooseImplementation(QByteArray()).implementation, supported.constFirst());
    QCOMPARE(blocks::implementations().constLast()->name, "portable");
    QCOMPARE(supported.constLast(), blocks::implementations().constLast());
}

// The implementation a name gives among two made up: "fast", which this processor cannot
// run, and "plain", which it can.
void TestHtmlToJs::choice_data()
{
    QTest::addColumn<QByteArray>("requested");
    QTest::addColumn<QByteArray>("chosen");
    QTest::addColumn<QString>("warning");

    QTest::newRow("none: the best it runs") << QByteArray() << QByteArray("plain") << QString();
    QTest::newRow("one it runs") << QByteArray("plain") << QByteArray("plain") << QString();
    QTest::newRow("one it cannot run")
        << QByteArray("fast") << QByteArray("plain")
        << QStringLiteral("QUILLMARK_CONVERTER=fast: this processor cannot run it; converting "
                          "with plain instead.");
    QTest::newRow("unknown") << QByteArray("Plain") << QByteArray("plain")
                             << QStringLiteral("QUILLMARK_CONVERTER=Plain is none of fast, plain; "
                                               "converting with plain instead.");
}

void TestHtmlToJs::choice()
{
    QFETCH(QByteArray, requested);
    QFETCH(QByteArray, chosen);
    QFETCH(QString, warning);

    blocks::Implementation fast = *blocks::implementations().constLast();
    fast.name = "fast";
    fast.supported = &supportedNever;
    blocks::Implementation plain = fast;
    plain.name = "plain";
    plain.supported = &supportedAlways;
    const blocks::Choice choice = blocks::chooseImplementation(requested, {&fast, &plain});
    QCOMPARE(choice.implementation->name, chosen.constData());
    QCOMPARE(choice.warning, warning);
}

int main(int argc, char *argv[])
{
    // The log's date and time follow the system's formats: the C locale makes them known.
    qputenv("LC_ALL", "C");
    QCoreApplication app(argc, argv);
    TestHtmlToJs test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_html_to_js.moc"
