// End-to-end runs of the built quillmark-cli.

#include "common/expected_values.h"
#include "common/file_helpers.h"
#include "common/script_texts.h"
#include "common/worked_example.h"

#include "site/check_rules.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdint>

namespace {

// The toy workshop project, written byte by byte at the record's offsets so that the
// test does not lean on the program's own record code.
QByteArray workedExampleRecord()
{
    QByteArray r(1640, '\0');
    const auto text = [&r](int offset, const char *value) {
        const QByteArray bytes(value);
        r[offset] = char(bytes.size());
        r.replace(offset + 1, bytes.size(), bytes);
    };
    const auto list = [&r](int offset, std::int32_t index) {
        for (int i = 0; i < 4; ++i)
            r[offset + i] = char(std::uint32_t(index) >> (8 * i));
    };
    text(0, "Hand-made wooden toys");
    text(251, "toys, wooden, handmade");
    text(452, "Toy Workshop");
    text(483, "Text editor");
    text(514, "14");
    text(517, "Wooden Toys");
    text(548, "2001, 2002");
    list(580, 0);  // Global
    list(584, 0);  // General
    list(588, 3);  // All
    list(592, 0);  // ISO-8859-1
    list(596, 13); // en-us
    text(600, "new.html");
    text(651, "5");
    list(656, 5);  // Fri
    list(660, 30); // 31
    list(664, 11); // Dec
    text(668, "2004");
    text(673, "23");
    text(676, "59");
    text(679, "Wooden Toys");
    text(730, "style.css");
    text(781, "favicon.ico");
    list(832, 1); // No-Cache
    list(836, 3); // _top
    text(840, "rated-general");
    list(1092, 0); // text/javascript
    r[1096] = 0;
    list(1128, 0);
    r[1132] = 1;
    text(1133, "text/xsl");
    list(1164, 44); // Hobbies
    text(1168, "Hand-made wooden toys");
    text(1219, "Wooden Toys");
    text(1250, "Toy Workshop");
    text(1281, "toys, wooden, handmade");
    text(1312, "Hand-made wooden toys");
    text(1343, "Toy Workshop");
    text(1374, "Photo Studio");
    text(1405, "2002-06-01");
    text(1416, "Text");
    text(1447, "text/html");
    text(1478, "toys.html");
    text(1509, "catalogue");
    text(1540, "en-us");
    text(1546, "index.html");
    text(1577, "World");
    text(1608, "All rights reserved");
    return r;
}

// The toy workshop project as `show` writes it: every key, in the record's order.
QByteArray workedExampleShown()
{
    return R"(description: "Hand-made wooden toys"
keywords: "toys, wooden, handmade"
author: "Toy Workshop"
generator: "Text editor"
revisit-after: "14"
title: "Wooden Toys"
copyright: "2001, 2002"
distribution: "Global"
rating: "General"
robots: "All"
charset: "ISO-8859-1"
language: "en-us"
refresh-url: "new.html"
refresh-seconds: "5"
expires-weekday: "Fri"
expires-day: "31"
expires-month: "Dec"
expires-year: "2004"
expires-hours: "23"
expires-minutes: "59"
page-title: "Wooden Toys"
external-css: "style.css"
favicon-url: "favicon.ico"
pragma: "No-Cache"
window-target: "_top"
pics-label: "rated-general"
script-type: "text/javascript"
script-type-other-checked: false
script-type-other: ""
style-type: "text/css"
style-type-other-checked: true
style-type-other: "text/xsl"
classification: "Hobbies"
comment: "Hand-made wooden toys"
dc-title: "Wooden Toys"
dc-creator: "Toy Workshop"
dc-subject: "toys, wooden, handmade"
dc-description: "Hand-made wooden toys"
dc-publisher: "Toy Workshop"
dc-contributor: "Photo Studio"
dc-date: "2002-06-01"
dc-type: "Text"
dc-format: "text/html"
dc-identifier: "toys.html"
dc-source: "catalogue"
dc-language: "en-us"
dc-relation: "index.html"
dc-coverage: "World"
dc-rights: "All rights reserved"
)";
}

QByteArray crlf(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n")).toLatin1();
}

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runCli(const QStringList &args, const QString &stdoutFile = QString(),
           const QByteArray &input = QByteArray())
{
    QProcess p;
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    p.start(QStringLiteral(QUILLMARK_CLI), args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// Runs a shell script in `folder` with $CLI naming the companion: the shell sets what a
// QProcess cannot (raw name bytes, closed or full standard output, a file size limit).
Run runShell(const QString &folder, const QString &script)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CLI"), QStringLiteral(QUILLMARK_CLI));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// The files every shell row starts from, in a folder of its own.
bool putSampleFiles(const QTemporaryDir &folder)
{
    const auto put = [&folder](const char *name, const QByteArray &bytes) {
        return writeFile(folder.filePath(QString::fromUtf8(name)), bytes);
    };
    return put("toys.qmk", workedExampleRecord()) && put("toys.keep", workedExampleRecord()) &&
           put("start-up.json", "{}") && put("menu.html", "<p>\n") &&
           put("page.html", "<html><head>\n<title>Old</title>\n</head></html>\n");
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void generate_data();
    void generate();
    void outputFile();
    void convert_data();
    void convert();
    void failure_data();
    void failure();
    void usageError_data();
    void usageError();
    void version();
    void show();
    void pack();
    void failedPackKeepsFile();
    void scripts_data();
    void scripts();
    void wholeTexts_data();
    void wholeTexts();
    void damagedTail();
    void extractIsShowOfItsProject();
    void applyToPages();
    void dryRunChangesNothing();
    void guardedWrites_data();
    void guardedWrites();
    void table_data();
    void table();
    void standardStreams_data();
    void standardStreams();
    void helpSpellings_data();
    void helpSpellings();
    void check_data();
    void check();
    void checkJson();
    void checkSarif();
    void checkHelpListsRules();

private:
    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }
};

void TestCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeFile(path("toys.qmk"), workedExampleRecord()));
    QVERIFY(writeFile(path("short.qmk"), workedExampleRecord().left(1639)));
    QVERIFY(writeFile(path("long.qmk"), workedExampleRecord() + QByteArray(300, 'x')));
    QVERIFY(writeFile(path("start-up.json"), "{}"));
    QByteArray odd = workedExampleRecord();
    odd[580] = 7; // a distribution beyond its three items
    QVERIFY(writeFile(path("odd.qmk"), odd));
    QByteArray highBytes = workedExampleRecord();
    highBytes.replace(1, 3, "\x80\xe9\x9f"); // the description starts with 8-bit characters
    QVERIFY(writeFile(path("high.qmk"), highBytes));
    QVERIFY(writeFile(path("menu.html"), "<ul>\r\n  <li class=\"a\">It's</li>\n</ul>"));
}

void TestCli::generate_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("out");

    const QString toys = path("toys.qmk");
    QTest::newRow("full page") << QStringList{QStringLiteral("generate"), toys}
                               << crlf(worked::fullPageLines());
    QTest::newRow("meta only") << QStringList{QStringLiteral("generate"),
                                              QStringLiteral("--meta-only"), toys}
                               << crlf(worked::metaLines());
    QTest::newRow("option after the file")
        << QStringList{QStringLiteral("generate"), toys, QStringLiteral("--meta-only")}
        << crlf(worked::metaLines());
    QTest::newRow("longer file") << QStringList{QStringLiteral("generate"),
                                                QStringLiteral("--meta-only"), path("long.qmk")}
                                 << crlf(worked::metaLines());

    QByteArray high = crlf(worked::metaLines());
    const qsizetype description = high.indexOf("Hand"); // the first line's value
    high.replace(description, 3, "\x80\xe9\x9f");
    QTest::newRow("8-bit characters pass unchanged")
        << QStringList{QStringLiteral("generate"), QStringLiteral("--meta-only"), path("high.qmk")}
        << high;
}

void TestCli::generate()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, out);

    const Run run = runCli(args);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, out);
}

void TestCli::outputFile()
{
    const QString target = path("out.html");
    QVERIFY(writeFile(target, QByteArray(10000, 'o')));
    for (const QString &option : {QStringLiteral("--output"), QStringLiteral("--output=")}) {
        const QStringList args =
            option.endsWith(QLatin1Char('='))
                ? QStringList{QStringLiteral("generate"), option + target, path("toys.qmk")}
                : QStringList{QStringLiteral("generate"), option, target, path("toys.qmk")};
        const Run run = runCli(args);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(readFile(target), crlf(worked::fullPageLines()));
    }
}

void TestCli::convert_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QByteArray>("kernels"); // QUILLMARK_CONVERTER, unset when empty
    QTest::addColumn<QByteArray>("err");     // how standard error starts

    const QString convert = QStringLiteral("convert");
    const QString menu = path("menu.html");
    QTest::newRow("script alone") << QStringList{convert, menu, path("one.js")}
                                  << QStringList{path("one.js")} << QByteArray() << QByteArray();
    QTest::newRow("page and log") << QStringList{convert, QStringLiteral("--html-page"),
                                                 QStringLiteral("--log"), menu, path("two.js")}
                                  << QStringList{path("two.js"), path("two.html"), path("two.log")}
                                  << QByteArray() << QByteArray();
    QTest::newRow("kernels named")
        << QStringList{convert, menu, path("three.js")} << QStringList{path("three.js")}
        << QByteArray("portable") << QByteArray();
    QTest::newRow("kernels unknown: said, and the best taken")
        << QStringList{convert, menu, path("four.js")} << QStringList{path("four.js")}
        << QByteArray("fastest")
        << QByteArray("quillmark-cli: QUILLMARK_CONVERTER=fastest is none of ");
}

void TestCli::convert()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, written);
    QFETCH(QByteArray, kernels);
    QFETCH(QByteArray, err);

    if (!kernels.isEmpty())
        qputenv("QUILLMARK_CONVERTER", kernels);
    const Run run = runCli(args);
    qunsetenv("QUILLMARK_CONVERTER");
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err.left(err.size()), err);
    QCOMPARE(run.err.isEmpty(), err.isEmpty());
    QCOMPARE(readFile(written.first()),
             QByteArray("document.write(\"<ul>\");\r\n"
                        "document.write(\"<li class=\\\"a\\\">It\\'s</li>\");\r\n"
                        "document.write(\"</ul>\");\r\n"));
    for (const QString &file : written)
        QVERIFY2(QFile::remove(file), qPrintable(file));
}

void TestCli::failure_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("stdoutFile");
    QTest::addColumn<QByteArray>("err");

    // A message about a file names it first, whichever of the command's files it is.
    const auto about = [](const QString &file, const char *why) {
        return "quillmark-cli: " + file.toUtf8() + ": " + why + ".\n";
    };
    const QString generate = QStringLiteral("generate");
    const QString toys = path("toys.qmk");
    const QString none = path("none.qmk");
    const QString intoNowhere = path("no/out.html");
    QTest::newRow("short file") << QStringList{generate, path("short.qmk")} << QString()
                                << about(path("short.qmk"), "Read beyond end of file");
    QTest::newRow("missing file") << QStringList{generate, none} << QString()
                                  << about(none, "File not found");
    QTest::newRow("output into a missing folder")
        << QStringList{generate, QStringLiteral("--output"), intoNowhere, toys} << QString()
        << about(intoNowhere, "File not found");
    QTest::newRow("show: short file")
        << QStringList{QStringLiteral("show"), path("short.qmk")} << QString()
        << about(path("short.qmk"), "Read beyond end of file");
    QTest::newRow("pack: missing source")
        << QStringList{QStringLiteral("pack"), path("none.json"), none} << QString()
        << about(path("none.json"), "File not found");
    QTest::newRow("pack: into a missing folder")
        << QStringList{QStringLiteral("pack"), path("start-up.json"), intoNowhere} << QString()
        << about(intoNowhere, "File not found");
    QTest::newRow("extract: into a missing folder")
        << QStringList{QStringLiteral("extract"), path("menu.html"), intoNowhere} << QString()
        << about(intoNowhere, "File not found");
    QTest::newRow("apply: missing project")
        << QStringList{QStringLiteral("apply"), none, path("menu.html")} << QString()
        << about(none, "File not found");
    QTest::newRow("standard output full")
        << QStringList{generate, toys} << QStringLiteral("/dev/full")
        << QByteArray("quillmark-cli: Disk full.\n");
    QTest::newRow("standard output named, full")
        << QStringList{generate, QStringLiteral("--output=-"), toys} << QStringLiteral("/dev/full")
        << QByteArray("quillmark-cli: Disk full.\n");

    const QString convert = QStringLiteral("convert");
    QTest::newRow("convert: names too short")
        << QStringList{convert, QStringLiteral("ab"), path("no")} << QString()
        << QByteArray("quillmark-cli: Please enter a valid source and destination filename!\n");
    QTest::newRow("convert: missing source")
        << QStringList{convert, path("none.html"), path("no")} << QString()
        << about(path("none.html"), "File not found");
    QTest::newRow("convert: into a missing folder")
        << QStringList{convert, path("menu.html"), intoNowhere} << QString()
        << about(intoNowhere, "File not found");
    const QString itself = m_dir.path() + QStringLiteral("/./menu.html");
    QTest::newRow("convert: destination is the source")
        << QStringList{convert, path("menu.html"), itself} << QString()
        << about(itself, "The source file would be overwritten; choose another destination");
}

void TestCli::failure()
{
    QFETCH(QStringList, args);
    QFETCH(QString, stdoutFile);
    QFETCH(QByteArray, err);

    const Run run = runCli(args, stdoutFile);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, QByteArray());
    QVERIFY(!QFile::exists(path("no")));
}

void TestCli::usageError_data()
{
    QTest::addColumn<QStringList>("args");

    const QString toys = path("toys.qmk");
    const QString generate = QStringLiteral("generate");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("no project") << QStringList{generate};
    QTest::newRow("two projects") << QStringList{generate, toys, toys};
    QTest::newRow("show: two projects") << QStringList{QStringLiteral("show"), toys, toys};
    QTest::newRow("pack: no project") << QStringList{QStringLiteral("pack"), toys};
    QTest::newRow("pack: unknown option")
        << QStringList{QStringLiteral("pack"), QStringLiteral("--json"), toys, QStringLiteral("a")};
    QTest::newRow("unknown command") << QStringList{QStringLiteral("export"), toys};
    QTest::newRow("unknown option") << QStringList{generate, QStringLiteral("--meta"), toys};
    QTest::newRow("short option") << QStringList{generate, QStringLiteral("-m"), toys};
    QTest::newRow("output without name") << QStringList{generate, toys, QStringLiteral("--output")};
    QTest::newRow("empty output name") << QStringList{generate, QStringLiteral("--output="), toys};
    QTest::newRow("output twice") << QStringList{generate, QStringLiteral("--output=a"),
                                                 QStringLiteral("--output=b"), toys};

    const QString convert = QStringLiteral("convert");
    const QString menu = path("menu.html");
    const QString a = QStringLiteral("a");
    QTest::newRow("convert: no destination") << QStringList{convert, menu};
    QTest::newRow("convert: a path too many") << QStringList{convert, menu, a, menu};
    QTest::newRow("convert: unknown option")
        << QStringList{convert, QStringLiteral("--page"), menu, a};

    const QString extract = QStringLiteral("extract");
    const QString json = QStringLiteral("--json");
    QTest::newRow("extract: no project, no --json") << QStringList{extract, menu};
    QTest::newRow("extract: project and --json") << QStringList{extract, json, menu, a};
    QTest::newRow("extract: no page") << QStringList{extract, json};
    QTest::newRow("apply: no page") << QStringList{QStringLiteral("apply"), toys};
    const QString table = QStringLiteral("table");
    const QString write = QStringLiteral("--write");
    QTest::newRow("table: no page") << QStringList{table};
    QTest::newRow("table: --dry-run without --write")
        << QStringList{table, QStringLiteral("--dry-run"), menu};
    QTest::newRow("table: --json with --write") << QStringList{table, write, json, a};
    QTest::newRow("table: two tables to write") << QStringList{table, write, a, a};
    const QString dash = QStringLiteral("-");
    QTest::newRow("convert: a page named after -")
        << QStringList{convert, QStringLiteral("--html-page"), menu, dash};
    QTest::newRow("convert: a log named after -")
        << QStringList{convert, QStringLiteral("--log"), menu, dash};
    QTest::newRow("convert: a log naming -")
        << QStringList{convert, QStringLiteral("--log"), dash, a};
    QTest::newRow("check: no page") << QStringList{QStringLiteral("check")};
    QTest::newRow("check: --json and --sarif")
        << QStringList{QStringLiteral("check"), json, QStringLiteral("--sarif"), menu};
    QTest::newRow("help: unknown command") << QStringList{QStringLiteral("help"), a};
    QTest::newRow("help: two commands")
        << QStringList{QStringLiteral("help"), QStringLiteral("show"), QStringLiteral("pack")};
}

void TestCli::usageError()
{
    QFETCH(QStringList, args);

    const Run run = runCli(args);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    const QString first = args.value(0);
    const bool own =
        QStringList{QStringLiteral("show"),    QStringLiteral("pack"),  QStringLiteral("convert"),
                    QStringLiteral("extract"), QStringLiteral("apply"), QStringLiteral("table"),
                    QStringLiteral("check"),   QStringLiteral("help")}
            .contains(first);
    const QString usage =
        QStringLiteral("Usage: quillmark-cli ") + (own ? first : QStringLiteral("generate"));
    QVERIFY2(run.err.contains(usage.toUtf8()), run.err.constData());
    QVERIFY(!QFile::exists(QStringLiteral("a")));
}

void TestCli::version()
{
    const Run version = runCli({QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QByteArray("Quillmark 2.0\n"));

    const Run help = runCli({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.startsWith("Usage: quillmark-cli generate"));
    QCOMPARE(help.err, QByteArray());

    const Run commandHelp = runCli({QStringLiteral("generate"), QStringLiteral("--help")});
    QCOMPARE(commandHelp.exitCode, 0);
    QVERIFY(commandHelp.out.startsWith("Usage: quillmark-cli generate"));
    QVERIFY(commandHelp.out.contains("\n  --output FILE "));

    const Run convertHelp = runCli({QStringLiteral("convert"), QStringLiteral("--help")});
    QCOMPARE(convertHelp.exitCode, 0);
    QVERIFY(convertHelp.out.startsWith(
        "Usage: quillmark-cli convert [--html-page] [--log] SOURCE DESTINATION\n"));
}

void TestCli::show()
{
    const Run lines = runCli({QStringLiteral("show"), path("toys.qmk")});
    QCOMPARE(lines.err, QByteArray());
    QCOMPARE(lines.exitCode, 0);
    QCOMPARE(lines.out, workedExampleShown());

    const Run json = runCli({QStringLiteral("show"), QStringLiteral("--json"), path("toys.qmk")});
    QCOMPARE(json.exitCode, 0);
    QVERIFY(json.out.startsWith("{\n    \"description\": \"Hand-made wooden toys\",\n"));
    QVERIFY(json.out.endsWith(",\n    \"dc-rights\": \"All rights reserved\"\n}\n"));

    // A value Open changes is shown changed, with a warning; the work still succeeds.
    const Run odd = runCli({QStringLiteral("show"), path("odd.qmk")});
    QCOMPARE(odd.exitCode, 0);
    QCOMPARE(odd.err, "quillmark-cli: " + path("odd.qmk").toUtf8() +
                          ": warning: distribution: stored position 7 is none of its items; "
                          "shown as null\n");
    QCOMPARE(odd.out,
             workedExampleShown().replace("distribution: \"Global\"", "distribution: null"));
}

// What show --json writes, pack turns back into the same file, from a file or through a
// pipe; a key left out keeps its start-up value.
void TestCli::pack()
{
    const QString json = path("toys.json");
    QCOMPARE(
        runCli({QStringLiteral("show"), QStringLiteral("--json"), path("toys.qmk")}, json).exitCode,
        0);
    const QString packed = path("packed.qmk");
    QVERIFY(writeFile(packed, QByteArray(3000, 'p')));
    const Run fromFile = runCli({QStringLiteral("pack"), json, packed});
    QCOMPARE(fromFile.err, QByteArray());
    QCOMPARE(fromFile.exitCode, 0);
    QCOMPARE(fromFile.out, QByteArray());
    QCOMPARE(readFile(packed), workedExampleRecord());

    const QString piped = path("piped.qmk");
    const Run fromStdin =
        runCli({QStringLiteral("pack"), QStringLiteral("-"), piped}, {}, readFile(json));
    QCOMPARE(fromStdin.exitCode, 0);
    QCOMPARE(readFile(piped), workedExampleRecord());

    const Run partial = runCli({QStringLiteral("pack"), QStringLiteral("-"), piped}, {},
                               "\xEF\xBB\xBF{\"title\": \"Wooden Toys\", \"robots\": null}");
    QCOMPARE(partial.exitCode, 0);
    const QByteArray shown = runCli({QStringLiteral("show"), piped}).out;
    QVERIFY(shown.contains("\ntitle: \"Wooden Toys\"\n"));
    QVERIFY(shown.contains("\nrobots: null\n"));
    QVERIFY(shown.contains("\nlanguage: \"en\"\n"));
    QVERIFY(shown.contains("\ndc-date: \"YYYY-MM-DD\"\n"));
}

void TestCli::failedPackKeepsFile()
{
    const QString target = path("kept.qmk");
    QVERIFY(writeFile(target, workedExampleRecord()));
    const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

    const Run run = runCli({QStringLiteral("pack"), QStringLiteral("-"), target}, {},
                           "{\"author\": \"Toy Workshop\",\n \"Author\": \"x\"}");
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err, QByteArray("quillmark-cli: -:2:2: unknown key \"Author\"\n"));
    QCOMPARE(readFile(target), workedExampleRecord());
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
}

namespace {

// The label of an item of the character-set list.
QString charsetLabel(int set)
{
    for (const expected::Field &field : expected::fields) {
        if (QLatin1StringView(field.control) == QLatin1StringView("ComboBox4"))
            return expected::items(field).at(set);
    }
    return {};
}

// The file pack writes to `again` from what show --json writes of `project`.
QByteArray repacked(const QString &project, const QString &again)
{
    const Run json = runCli({QStringLiteral("show"), QStringLiteral("--json"), project});
    const Run packed = runCli({QStringLiteral("pack"), QStringLiteral("-"), again}, {}, json.out);
    return json.exitCode == 0 && packed.exitCode == 0 ? readFile(again) : QByteArray();
}

QByteArray jsonOf(const QStringList &members)
{
    return "{" + members.join(QLatin1Char(',')).toUtf8() + "}";
}

} // namespace

// A text in each set's own script goes through pack, show and generate: its record bytes
// and its page bytes are in that set, and it comes back whole.
void TestCli::scripts_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(scripts::texts)); ++i)
        QTest::newRow(scripts::texts[i].language) << i;
}

void TestCli::scripts()
{
    QFETCH(int, row);
    const scripts::Text &script = scripts::texts[row];
    const QString label = charsetLabel(script.set);
    const QString project = path("script.qmk");
    const Run packed =
        runCli({QStringLiteral("pack"), QStringLiteral("-"), project}, {},
               jsonOf({QStringLiteral("\"charset\": \"%1\"").arg(label),
                       QStringLiteral("\"description\": \"%1\"").arg(script.string())}));
    QCOMPARE(packed.err, QByteArray());
    QCOMPARE(packed.exitCode, 0);

    // The record alone, the description's bytes in the set and the set's position.
    const QByteArray file = readFile(project);
    const QByteArray bytes = script.encoded();
    QCOMPARE(file.size(), 1640);
    QCOMPARE(int(quint8(file[0])), bytes.size());
    QCOMPARE(file.mid(1, bytes.size()), bytes);
    QCOMPARE(int(file[592]), script.set);

    const Run shown = runCli({QStringLiteral("show"), project});
    QCOMPARE(shown.err, QByteArray());
    QVERIFY(shown.out.startsWith("description: \"" + script.string().toUtf8() + "\"\n"));
    QVERIFY(shown.out.contains("\ncharset: \"" + label.toUtf8() + "\"\n"));
    QCOMPARE(repacked(project, path("again.qmk")), file);

    const Run generated =
        runCli({QStringLiteral("generate"), QStringLiteral("--meta-only"), project});
    QCOMPARE(generated.exitCode, 0);
    QVERIFY(generated.out.startsWith("<meta name=\"description\" content=\"" + bytes + "\">\r\n"));
    QVERIFY(generated.out.contains("charset=" + label.toLatin1() + "\">\r\n"));
}

// Texts longer than their places in the record, or with characters the set lacks, come
// back whole after the record; the record keeps what fits, cut where a character ends.
void TestCli::wholeTexts_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QString>("title");       // as long as the window lets it be: 75
    QTest::addColumn<QString>("description"); // 250
    QTest::addColumn<QByteArray>("titleBytes");
    QTest::addColumn<QByteArray>("descriptionBytes");
    QTest::addColumn<QByteArray>("page"); // the description's line of the page

    const QString greek = QString(75, QChar(0x03A9));
    const QString cyrillic = u'a' + QString(249, QChar(0x0416));
    QTest::newRow("UTF-8") << 9 << greek << cyrillic << QByteArray("\xce\xa9").repeated(15)
                           << "a" + QByteArray("\xd0\x96").repeated(124)
                           << "a" + QByteArray("\xd0\x96").repeated(249);
    QTest::newRow("ISO-8859-7") << 6 << greek << cyrillic << QByteArray(30, '\xd9')
                                << "a" + QByteArray(249, '?')
                                << "a" + QByteArray("&#1046;").repeated(249);
}

void TestCli::wholeTexts()
{
    QFETCH(int, set);
    QFETCH(QString, title);
    QFETCH(QString, description);
    QFETCH(QByteArray, titleBytes);
    QFETCH(QByteArray, descriptionBytes);
    QFETCH(QByteArray, page);

    const QString project = path("long.texts.qmk");
    const Run packed = runCli({QStringLiteral("pack"), QStringLiteral("-"), project}, {},
                              jsonOf({QStringLiteral("\"charset\": \"%1\"").arg(charsetLabel(set)),
                                      QStringLiteral("\"title\": \"%1\"").arg(title),
                                      QStringLiteral("\"description\": \"%1\"").arg(description)}));
    QCOMPARE(packed.err, QByteArray());
    QCOMPARE(packed.exitCode, 0);
    const QByteArray file = readFile(project);
    QCOMPARE(file.mid(0, 1 + descriptionBytes.size()),
             char(descriptionBytes.size()) + descriptionBytes);
    QCOMPARE(file.mid(517, 1 + titleBytes.size()), char(titleBytes.size()) + titleBytes);
    QCOMPARE(file.mid(1640), "Quillmark-Texts 1\n{\n    \"description\": \"" +
                                 description.toUtf8() + "\",\n    \"title\": \"" + title.toUtf8() +
                                 "\"\n}\n");

    const QByteArray shown = runCli({QStringLiteral("show"), project}).out;
    QVERIFY(shown.contains("\ntitle: \"" + title.toUtf8() + "\"\n"));
    QVERIFY(shown.startsWith("description: \"" + description.toUtf8() + "\"\n"));
    QCOMPARE(repacked(project, path("again.qmk")), file);
    const QByteArray generated =
        runCli({QStringLiteral("generate"), QStringLiteral("--meta-only"), project}).out;
    QVERIFY(generated.startsWith("<meta name=\"description\" content=\"" + page + "\">\r\n"));
}

// A damaged tail costs the whole texts, never the file: show and generate go on with the
// record's texts and say so.
void TestCli::damagedTail()
{
    const QString project = path("torn.qmk");
    QCOMPARE(runCli({QStringLiteral("pack"), QStringLiteral("-"), project}, {},
                    R"({"title": "Wooden Toys of the Black Forest, since 1890"})")
                 .exitCode,
             0);
    QVERIFY(writeFile(project, readFile(project).chopped(3)));
    const Run shown = runCli({QStringLiteral("show"), project});
    QCOMPARE(shown.exitCode, 0);
    const QByteArray named = "quillmark-cli: " + project.toUtf8() + ": warning: ";
    QCOMPARE(shown.err, named + "the whole texts after the record are not well formed; texts "
                                "shown as the record holds them\n");
    QVERIFY(shown.out.contains("\ntitle: \"Wooden Toys of the Black Fores\"\n"));
    const Run generated = runCli({QStringLiteral("generate"), project});
    QCOMPARE(generated.exitCode, 0);
    QVERIFY(generated.err.startsWith(named + "the whole texts after the record"));
    QVERIFY(generated.out.contains("content=\"Wooden Toys of the Black Fores\">"));
}

void TestCli::extractIsShowOfItsProject()
{
    const QString page = path("page.html");
    QVERIFY(writeFile(page, "<title>Shop</title><meta name=robots content=noindex>"));
    const Run json = runCli({QStringLiteral("extract"), QStringLiteral("--json"), page});
    QCOMPARE(json.exitCode, 0);
    QCOMPARE(runCli({QStringLiteral("extract"), page, path("page.qmk")}).exitCode, 0);
    QCOMPARE(runCli({QStringLiteral("show"), QStringLiteral("--json"), path("page.qmk")}).out,
             json.out);
}

void TestCli::applyToPages()
{
    // The site's pages: one that takes the lines, one in another character set, a
    // folder, one that is missing.
    const QByteArray plain = "<html><head>\n<title>Old</title>\n</head></html>\n";
    const QByteArray utf8 = "<meta charset=utf-8><title>Old</title>";
    QVERIFY(writeFile(path("plain.html"), plain));
    QVERIFY(writeFile(path("utf8.html"), utf8));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.html")));
    QFile::setPermissions(path("plain.html"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);

    const Run run = runCli({QStringLiteral("apply"), path("toys.qmk"), path("plain.html"),
                            path("utf8.html"), path("folder.html"), path("none.html")});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QByteArray());
    const QByteArray err = "quillmark-cli: " + path("utf8.html").toUtf8() +
                           ": The page declares utf-8 on line 1, the project has ISO-8859-1; "
                           "--keep-charset keeps the page's.\n"
                           "quillmark-cli: " +
                           path("folder.html").toUtf8() +
                           ": File access denied.\n"
                           "quillmark-cli: " +
                           path("none.html").toUtf8() + ": File not found.\n";
    QCOMPARE(run.err, err);

    const QByteArray written = readFile(path("plain.html"));
    QVERIFY(written.startsWith("<html><head>\n<title>Wooden Toys</title>\n"));
    QVERIFY(written.endsWith("<meta name=\"dc.rights\" content=\"All rights reserved\">\n"
                             "</head></html>\n"));
    QCOMPARE(QFile::permissions(path("plain.html")) & 0x0777, QFileDevice::Permissions(0x0640));
    QCOMPARE(readFile(path("utf8.html")), utf8);
}

void TestCli::dryRunChangesNothing()
{
    const QByteArray page = "<head>\n</head>\n";
    QVERIFY(writeFile(path("dry.html"), page));
    const Run run = runCli(
        {QStringLiteral("apply"), QStringLiteral("--dry-run"), path("toys.qmk"), path("dry.html")});
    QCOMPARE(run.exitCode, 0);
    const QByteArray name = path("dry.html").toUtf8();
    QVERIFY(run.out.startsWith("--- a/" + name + "\n+++ b/" + name +
                               "\n@@ -1,2 +1,35 @@\n "
                               "<head>\n+<TITLE>Wooden Toys</TITLE>\n"));
    QCOMPARE(readFile(path("dry.html")), page);
}

// Writes that must not happen, or must fail with words, and the names kept as bytes. Each
// row runs in a folder of its own holding toys.qmk, a copy of it, start-up.json and
// menu.html; `check` is a shell test of what is on disk afterwards.
void TestCli::guardedWrites_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<QString>("check");

    // Each message names the file it is about.
    const auto about = [](const char *file, const char *why) {
        return "quillmark-cli: " + QByteArray(file) + ": " + why + ".\n";
    };
    const auto source = [&about](const char *output) {
        return about(output, "The source file would be overwritten; choose another destination");
    };
    const auto twice = [&about](const char *output) {
        return about(output, "Two files this run writes are one file; choose another destination");
    };
    const QString toysKept = QStringLiteral("cmp toys.qmk toys.keep");
    const auto row = [](const char *name, const char *script, int code, const QByteArray &err,
                        const QString &check) {
        QTest::newRow(name) << QString::fromUtf8(script) << code << err << check;
    };

    row("generate: output is the project", "$CLI generate --output toys.qmk toys.qmk", 1,
        source("toys.qmk"), toysKept);
    row("generate: through ..", "mkdir sub && $CLI generate --output sub/../toys.qmk toys.qmk", 1,
        source("sub/../toys.qmk"), toysKept);
    row("generate: through a link", "ln -s toys.qmk l.qmk && $CLI generate --output l.qmk toys.qmk",
        1, source("l.qmk"), toysKept);
    row("generate: standard input from the output", "$CLI generate --output toys.qmk - < toys.qmk",
        1, source("toys.qmk"), toysKept);
    row("pack: destination is the source", "$CLI pack start-up.json ./start-up.json", 1,
        source("./start-up.json"), QStringLiteral("test \"$(cat start-up.json)\" = {}"));
    row("pack: standard input from the destination", "$CLI pack - toys.qmk < toys.qmk", 1,
        source("toys.qmk"), toysKept);
    row("convert: the page is the source", "$CLI convert --html-page menu.html menuxyz", 1,
        source("menu.html"), QStringLiteral("test ! -e menuxyz"));
    row("convert: standard input from the page", "$CLI convert --html-page - menuxyz < menu.html",
        1, source("menu.html"), QStringLiteral("test ! -e menuxyz"));
    row("convert: the page links to the script",
        "ln -s two.js two.html && $CLI convert --html-page menu.html two.js", 1, twice("two.html"),
        QStringLiteral("test ! -e two.js && test -L two.html"));
    row("convert: the log is the script", "ln -s t.js t.log && $CLI convert --log menu.html t.js",
        1, twice("t.log"), QStringLiteral("test ! -e t.js"));
    row("extract: the project is the page", "$CLI extract menu.html ./menu.html", 1,
        source("./menu.html"), QStringLiteral("grep -q '<' menu.html"));
    row("apply: a page is the project", "$CLI apply toys.qmk ./toys.qmk", 1, source("./toys.qmk"),
        toysKept);

    const QByteArray loop = "quillmark-cli: la.js leads round a loop of symbolic links.\n";
    const char *makeLoop = "ln -s lb.js la.js && ln -s la.js lb.js && ";
    const QString loopKept = QStringLiteral("test -L la.js && test -L lb.js && test ! -e la.js");
    row("generate: a loop of links",
        (std::string(makeLoop) + "$CLI generate --output la.js toys.qmk").c_str(), 1, loop,
        loopKept);
    row("pack: a loop of links", (std::string(makeLoop) + "$CLI pack start-up.json la.js").c_str(),
        1, loop, loopKept);
    row("convert: a loop of links",
        (std::string(makeLoop) + "$CLI convert menu.html la.js").c_str(), 1, loop, loopKept);

    // A link is written through to its file and stays; one to nothing is refused.
    row("generate: a link to a missing file",
        "ln -s gone/out.html d.html && $CLI generate --output d.html toys.qmk", 1,
        "quillmark-cli: d.html is a symbolic link to a missing file.\n",
        QStringLiteral("test -L d.html && test ! -e gone"));
    row("pack: through a link to another folder",
        "mkdir real && cp toys.qmk real/p.qmk && ln -s real/p.qmk l.qmk && "
        "$CLI pack start-up.json l.qmk",
        0, "", QStringLiteral("test -L l.qmk && ! cmp -s real/p.qmk toys.qmk"));

    // No writer is killed by the file size limit: the write fails and the old file stays.
    const QByteArray full = "quillmark-cli: Disk full.\n"; // standard output
    row("generate: beyond the file size limit",
        "cp toys.qmk out.html && (ulimit -f 0 && exec $CLI generate --output out.html toys.qmk)", 1,
        about("out.html", "Disk full"), QStringLiteral("cmp toys.qmk out.html"));
    row("pack: beyond the file size limit",
        "(ulimit -f 0 && exec $CLI pack start-up.json toys.qmk)", 1, about("toys.qmk", "Disk full"),
        toysKept);
    row("convert: beyond the file size limit",
        "cp toys.qmk m.js && (ulimit -f 0 && exec $CLI convert menu.html m.js)", 1,
        about("m.js", "Disk full"), QStringLiteral("cmp toys.qmk m.js"));
    row("convert: the log a folder", "mkdir m.log && $CLI convert --log menu.html m.js", 1,
        about("m.log", "File access denied"), QStringLiteral("test -d m.log"));

    const QByteArray bound = "quillmark-cli: %1: more than 16 MiB, far beyond any project's JSON "
                             "text; nothing written.\n";
    row("pack: an endless source", "$CLI pack /dev/zero x.qmk", 1,
        QByteArray(bound).replace("%1", "/dev/zero"), QStringLiteral("test ! -e x.qmk"));
    row("pack: endless standard input", "yes | $CLI pack - x.qmk", 1,
        QByteArray(bound).replace("%1", "-"), QStringLiteral("test ! -e x.qmk"));
    row("extract: a page beyond the bound",
        "truncate -s 65M big.html && $CLI extract big.html x.qmk", 1,
        "quillmark-cli: big.html: more than 64 MiB, far beyond any web page; left alone.\n",
        QStringLiteral("test ! -e x.qmk"));
    // Only a regular file is a page: a pipe would never end the batch, a device never end.
    const QByteArray denied = "quillmark-cli: %1: File access denied.\n";
    row("extract: a device", "$CLI extract /dev/zero x.qmk", 1,
        QByteArray(denied).replace("%1", "/dev/zero"), QStringLiteral("test ! -e x.qmk"));
    row("extract: a pipe", "mkfifo p.html && $CLI extract p.html x.qmk", 1,
        QByteArray(denied).replace("%1", "p.html"), QStringLiteral("test ! -e x.qmk"));
    row("apply: a pipe among the pages",
        "mkfifo p.html && cp menu.html a.html && $CLI apply toys.qmk p.html a.html", 1,
        QByteArray(denied).replace("%1", "p.html"),
        QStringLiteral("test -p p.html && grep -q '<TITLE>' a.html"));

    row("output under a file", "$CLI generate --output toys.qmk/ toys.qmk", 1,
        about("toys.qmk/", "Path not found"), toysKept);
    row("standard output closed", "$CLI show toys.qmk >&-", 1,
        "quillmark-cli: Invalid file handle.\n", toysKept);
    row("help into a full disk", "$CLI --help > /dev/full", 1, full, toysKept);
    row("command help into a full disk", "$CLI show --help > /dev/full", 1, full, toysKept);

    row("names that are not UTF-8",
        "i=$(printf 'in\\376.qmk') o=$(printf 'out\\377.html') && cp toys.qmk \"$i\" && "
        "$CLI generate --output \"$o\" \"$i\" && $CLI show --json \"$i\" > \"$i.json\" && "
        "$CLI pack \"$i.json\" \"$i.2\"",
        0, "",
        QStringLiteral("test -s \"$(printf 'out\\377.html')\" && "
                       "cmp toys.qmk \"$(printf 'in\\376.qmk.2')\""));
    row("a name that is not UTF-8, shown",
        "printf '{' > \"$(printf 'bad\\376.json')\" && "
        "$CLI pack \"$(printf 'bad\\376.json')\" x.qmk",
        1, "quillmark-cli: bad\\xfe.json:1:2: the text ends inside the object\n",
        QStringLiteral("test ! -e x.qmk"));
}

void TestCli::guardedWrites()
{
    QFETCH(QString, script);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, err);
    QFETCH(QString, check);

    QTemporaryDir folder;
    QVERIFY(putSampleFiles(folder));

    const Run run = runShell(folder.path(), script);
    QCOMPARE(run.err, err);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, QByteArray());
    const Run checked = runShell(folder.path(), check);
    QVERIFY2(checked.exitCode == 0, qPrintable(check));
    // No new file of a refused or failed write is left behind.
    QCOMPARE(QDir(folder.path())
                 .entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden | QDir::System),
             QStringList());
    // Qt cannot name every file a row made.
    runShell(folder.path(), QStringLiteral("rm -f -- *"));
}

// The site's pages as a table and back. Each row runs in a folder of its own holding
// a.html, b.html (with a second description) and u.html (UTF-8, texts longer than their
// places in a project's record), and a copy of each as NAME.keep.
void TestCli::table_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<QString>("check");

    const QString unchanged = QStringLiteral("cmp a.html a.keep && cmp b.html b.keep");
    const auto row = [](const char *name, const char *script, int code, const QByteArray &out,
                        const QByteArray &err, const QString &check) {
        QTest::newRow(name) << QString::fromUtf8(script) << code << out << err << check;
    };
    const QByteArray header = "page,charset,lang,title,description,keywords,author,robots,"
                              "canonical,og:title,og:description,og:image,og:url,og:type,"
                              "twitter:card,twitter:title,twitter:description,twitter:image\r\n";
    row("pages read, one missing", "$CLI table a.html b.html none.html", 1,
        header + "a.html,,en,Shop,,,,,,,,,,,,,,\r\nb.html,,,,First,,,,,,,,,,,,,\r\n",
        "quillmark-cli: b.html:2: a second <meta name=\"description\"> (the first is on line "
        "1)\nquillmark-cli: none.html: File not found.\n",
        unchanged);
    row("JSON Lines", "$CLI table --json a.html", 0,
        R"({"page":"a.html","charset":null,"lang":"en","title":"Shop","description":null,)"
        R"("keywords":null,"author":null,"robots":null,"canonical":null,"og:title":null,)"
        R"("og:description":null,"og:image":null,"og:url":null,"og:type":null,)"
        R"("twitter:card":null,"twitter:title":null,"twitter:description":null,)"
        R"("twitter:image":null})"
        "\n",
        "", unchanged);
    row("written back unchanged, in either form",
        "$CLI table *.html > t.csv 2> /dev/null && $CLI table --json *.html > t.jsonl "
        "2> /dev/null && $CLI table --write t.csv && $CLI table --write t.jsonl",
        0, "", "", unchanged + QStringLiteral(" && cmp u.html u.keep"));
    row("changes from standard input, a row refused",
        "chmod 640 a.html && printf '{\"page\":\"a.html\",\"title\":\"New\",\"charset\":null}"
        "\\n{\"page\":\"b.html\",\"title\":null,\"charset\":\"latin1\"}\\n' | "
        "$CLI table --write -",
        1, "",
        "quillmark-cli: b.html: charset cannot be changed in the table: the page declares "
        "none, the table has \"latin1\"\n",
        QStringLiteral("grep -q '<title>New</title>' a.html && test $(stat -c %a a.html) = 640 "
                       "&& cmp b.html b.keep"));
    row("a dry run",
        "printf 'page,description\\r\\na.html,Fresh\\r\\n' > t.csv && "
        "$CLI table --write --dry-run t.csv",
        0,
        "--- a/a.html\n+++ b/a.html\n@@ -1,4 +1,5 @@\n <html lang=\"en\">\n <head>\n"
        " <title>Shop</title>\n+<meta name=\"description\" content=\"Fresh\">\n </head>\n",
        "", unchanged);
    row("a page named twice", "printf 'page\\na.html\\n./a.html\\n' | $CLI table --write -", 1, "",
        "quillmark-cli: ./a.html: named again on line 3 of the table, after line 2; a page "
        "takes one row.\n",
        unchanged);
    row("a table that is not well formed", "printf 'page\\n\"a.html\\n' | $CLI table --write -", 1,
        "", "quillmark-cli: -:2:1: the quoted field has no closing quote\n", unchanged);
    row("the table among its pages", "printf 'page\\nt.csv\\n' > t.csv && $CLI table --write t.csv",
        1, "",
        "quillmark-cli: t.csv: The source file would be overwritten; choose another "
        "destination.\n",
        QStringLiteral("test \"$(cat t.csv)\" = \"$(printf 'page\\nt.csv')\""));
    row("extract, then apply the project unchanged",
        "$CLI extract u.html u.qmk && $CLI apply --dry-run u.qmk u.html", 0, "", "",
        QStringLiteral("grep -q Quillmark-Texts u.qmk && cmp u.html u.keep"));
}

void TestCli::table()
{
    QFETCH(QString, script);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(QString, check);

    QTemporaryDir folder;
    const QString greek = QString(40, QChar(0x03A9));
    const QByteArray utf8 =
        "<!DOCTYPE html>\n<html lang=\"el\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>" +
        greek.toUtf8() +
        "</title>\n<meta name=\"description\" "
        "content=\"" +
        QString(200, QChar(0x0416)).toUtf8() + "\">\n</head>\n<body></body>\n</html>\n";
    const QList<std::pair<const char *, QByteArray>> pages = {
        {"a", "<html lang=\"en\">\n<head>\n<title>Shop</title>\n</head>\n"},
        {"b", "<meta name=\"description\" content=\"First\">\n"
              "<meta name=\"description\" content=\"Second\">\n"},
        {"u", utf8}};
    for (const auto &[name, bytes] : pages) {
        const QString stem = folder.filePath(QString::fromLatin1(name));
        QVERIFY(writeFile(stem + u".html"_qs, bytes) && writeFile(stem + u".keep"_qs, bytes));
    }
    const Run run = runShell(folder.path(), script);
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, out);
    QCOMPARE(run.exitCode, exitCode);
    const Run checked = runShell(folder.path(), check);
    QVERIFY2(checked.exitCode == 0, qPrintable(check));
}

// `-` in place of each file a command reads or writes: standard input and output carry
// the bytes the files would. Each row is a script with `-` and one with files that must
// print the same; both run in folders of their own.
void TestCli::standardStreams_data()
{
    QTest::addColumn<QString>("streams");
    QTest::addColumn<QString>("files");

    const auto row = [](const char *name, const char *streams, const char *files) {
        QTest::newRow(name) << QString::fromUtf8(streams) << QString::fromUtf8(files);
    };
    row("show", "$CLI show - < toys.qmk", "$CLI show toys.qmk");
    row("show --json, piped", "cat toys.qmk | $CLI show --json -", "$CLI show --json toys.qmk");
    row("generate, piped", "cat toys.qmk | $CLI generate --meta-only -",
        "$CLI generate --meta-only toys.qmk");
    row("generate --output -", "$CLI generate --output - toys.qmk", "$CLI generate toys.qmk");
    row("pack into -", "$CLI pack start-up.json -", "$CLI pack start-up.json p.qmk && cat p.qmk");
    row("pack from - into -", "$CLI show --json toys.qmk | $CLI pack - -", "cat toys.qmk");
    row("extract --json, piped", "cat page.html | $CLI extract --json -",
        "$CLI extract --json page.html");
    row("extract into -", "$CLI extract page.html -", "$CLI extract page.html p.qmk && cat p.qmk");
    row("convert, piped", "cat menu.html | $CLI convert - m.js && cat m.js",
        "$CLI convert menu.html m.js && cat m.js");
    row("convert, redirected", "$CLI convert --html-page - m.js < menu.html && cat m.js m.html",
        "$CLI convert --html-page menu.html m.js && cat m.js m.html");
    row("convert into -", "$CLI convert menu.html -", "$CLI convert menu.html m.js && cat m.js");
    row("convert from - into -", "cat menu.html | $CLI convert - -",
        "$CLI convert menu.html m.js && cat m.js");
    row("apply to a page piped", "cat page.html | $CLI apply toys.qmk -",
        "$CLI apply toys.qmk page.html && cat page.html");
    row("apply: a page that needs no change",
        "$CLI apply toys.qmk page.html && $CLI apply toys.qmk - < page.html",
        "$CLI apply toys.qmk page.html && cat page.html");
    row("apply --dry-run to a page piped",
        "cat page.html | $CLI apply --dry-run toys.qmk - | tail -n +3",
        "$CLI apply --dry-run toys.qmk page.html | tail -n +3");
    row("apply a project piped", "cat toys.qmk | $CLI apply - page.html && cat page.html",
        "$CLI apply toys.qmk page.html && cat page.html");
}

void TestCli::standardStreams()
{
    QFETCH(QString, streams);
    QFETCH(QString, files);

    QList<Run> runs;
    for (const QString &script : {streams, files}) {
        QTemporaryDir folder;
        QVERIFY(putSampleFiles(folder) && QDir(folder.path()).mkdir(QStringLiteral("tmp")));
        // What the run keeps of standard input goes when it ends.
        runs << runShell(folder.path(), QStringLiteral("TMPDIR=$PWD/tmp && export TMPDIR && ") +
                                            script + QStringLiteral(" && rmdir tmp"));
        QCOMPARE(runs.last().err, QByteArray());
        QCOMPARE(runs.last().exitCode, 0);
    }
    QVERIFY(!runs.constFirst().out.isEmpty());
    QCOMPARE(runs.constFirst().out, runs.constLast().out);
}

// Every way of asking for help gives the text that --help gives.
void TestCli::helpSpellings_data()
{
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QStringList>("same");

    const QString help = QStringLiteral("--help");
    const QString show = QStringLiteral("show");
    QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << QStringList{help};
    QTest::newRow("help") << QStringList{QStringLiteral("help")} << QStringList{help};
    QTest::newRow("help COMMAND") << QStringList{QStringLiteral("help"), show}
                                  << QStringList{show, help};
    QTest::newRow("COMMAND -h") << QStringList{show, QStringLiteral("-h")}
                                << QStringList{show, help};
}

void TestCli::helpSpellings()
{
    QFETCH(QStringList, asked);
    QFETCH(QStringList, same);

    const Run run = runCli(asked);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    QVERIFY(!run.out.isEmpty());
    QCOMPARE(run.out, runCli(same).out);
}

// The pages `check` runs on, in a folder of their own: sound.html has nothing to find,
// "a b.html" a canonical that is no web address (an error) and copy.html the title of
// sound.html (a warning).
bool putCheckedPages(const QTemporaryDir &folder)
{
    const auto page = [](const QByteArray &head) {
        return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n" + head +
               "<meta name=\"description\" content=\"Spades, rakes and shears sized for a "
               "small yard or a balcony, and how to keep them sharp: " +
               QByteArray::number(head.size()) + ".\">\n</head>\n</html>\n";
    };
    const QByteArray title = "<title>Garden Tools for Small Yards and Balconies</title>\n";
    const auto put = [&folder](const char *name, const QByteArray &bytes) {
        return writeFile(folder.filePath(QString::fromUtf8(name)), bytes);
    };
    return put("sound.html", page(title)) &&
           put("a b.html", page("<title>Pruning Shears for Roses and Hedges</title>\n"
                                "<link rel=\"canonical\" href=\"javascript:go()\">\n")) &&
           put("copy.html", page(title + "<!-- a copy -->\n"));
}

void TestCli::check_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");

    const auto row = [](const char *name, const char *script, int code, const QByteArray &out,
                        const QByteArray &err) {
        QTest::newRow(name) << QString::fromUtf8(script) << code << out << err;
    };
    const QByteArray duplicate =
        "copy.html:5: warning title-duplicate: the same title as sound.html\n";
    row("nothing found", "$CLI check sound.html", 0, "", "");
    row("warnings only", "$CLI check sound.html copy.html", 0,
        "sound.html:5: warning title-duplicate: the same title as copy.html\n" + duplicate, "");
    row("an error", "$CLI check 'a b.html'", 1,
        "a b.html:6: error canonical-invalid: the canonical address \"javascript:go()\" is a "
        "javascript: address, not a web page's\n",
        "");
    row("a page named twice, a page missing", "$CLI check copy.html ./copy.html gone.html", 1, "",
        "quillmark-cli: ./copy.html: warning: named again; checked once\n"
        "quillmark-cli: gone.html: File not found.\n");
    row("a site's limits",
        "printf '{\"title-too-long\": 100}' > l.json && $CLI check --limits l.json copy.html", 0,
        "copy.html:5: warning title-too-long: the title is 390 px wide at 20 px, over the limit "
        "of 100 px; a search result cuts it after \"Garden …\"\n",
        "");
    row("limits that are no limits",
        "printf '{\"title-missing\": 1}' > l.json && $CLI check --limits l.json copy.html", 1, "",
        "quillmark-cli: l.json: \"title-missing\" has no limit (the rules with a limit are "
        "title-too-long, title-too-short, description-too-long, description-too-short)\n");
}

void TestCli::check()
{
    QFETCH(QString, script);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);

    QTemporaryDir folder;
    QVERIFY(putCheckedPages(folder));
    const Run run = runShell(folder.path(), script);
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, out);
    QCOMPARE(run.exitCode, exitCode);
}

// An object a finding, with what was measured where a limit was held against it.
void TestCli::checkJson()
{
    QTemporaryDir folder;
    QVERIFY(putCheckedPages(folder));
    const Run run = runShell(
        folder.path(), QStringLiteral("printf '{\"title-too-long\": 100}' > l.json && "
                                      "$CLI check --json --limits l.json sound.html 'a b.html'"));
    QCOMPARE(run.exitCode, 1);
    const QList<QByteArray> lines = run.out.split('\n');
    QCOMPARE(lines.size(), 4); // three findings and the end of the last line
    QCOMPARE(lines.back(), QByteArray());
    const auto object = [&lines](int i) { return QJsonDocument::fromJson(lines[i]).object(); };
    const QJsonObject wide = object(0);
    QCOMPARE(wide.keys(), (QStringList{u"line"_qs, u"measured"_qs, u"message"_qs, u"page"_qs,
                                       u"rule"_qs, u"severity"_qs}));
    QCOMPARE(wide[u"page"_qs].toString(), u"sound.html"_qs);
    QCOMPARE(wide[u"line"_qs].toInt(), 5);
    QCOMPARE(wide[u"severity"_qs].toString(), u"warning"_qs);
    QCOMPARE(wide[u"rule"_qs].toString(), u"title-too-long"_qs);
    QVERIFY(wide[u"measured"_qs].toDouble() > 100);
    const QJsonObject invalid = object(2);
    QCOMPARE(invalid[u"rule"_qs].toString(), u"canonical-invalid"_qs);
    QCOMPARE(invalid[u"severity"_qs].toString(), u"error"_qs);
    QVERIFY(invalid[u"measured"_qs].isNull());
}

// A SARIF 2.1.0 log with what the schema requires and code-scanning services read.
void TestCli::checkSarif()
{
    QTemporaryDir folder;
    QVERIFY(putCheckedPages(folder));
    const Run run = runShell(folder.path(),
                             QStringLiteral("$CLI check --sarif sound.html copy.html 'a b.html'"));
    QCOMPARE(run.exitCode, 1);
    QJsonParseError parsed;
    const QJsonObject log = QJsonDocument::fromJson(run.out, &parsed).object();
    QCOMPARE(parsed.error, QJsonParseError::NoError);
    QCOMPARE(log[u"version"_qs].toString(), u"2.1.0"_qs);
    const QJsonArray runs = log[u"runs"_qs].toArray();
    QCOMPARE(runs.size(), 1);
    const QJsonObject driver = runs[0][u"tool"_qs][u"driver"_qs].toObject();
    QCOMPARE(driver[u"name"_qs].toString(), u"quillmark-cli"_qs);
    QCOMPARE(driver[u"version"_qs].toString(), u"2.0"_qs);
    QVERIFY(QUrl(driver[u"informationUri"_qs].toString()).isValid());
    const QJsonArray rules = driver[u"rules"_qs].toArray();
    QCOMPARE(rules.size(), qsizetype(quill::CheckRuleCount));
    for (const quill::RuleDef &def : quill::checkRules()) {
        const QJsonObject rule = rules[static_cast<int>(def.rule)].toObject();
        QCOMPARE(rule[u"id"_qs].toString(), QString::fromLatin1(def.id));
        QCOMPARE(rule[u"shortDescription"_qs][u"text"_qs].toString(),
                 QString::fromLatin1(def.reason));
    }
    const QJsonArray results = runs[0][u"results"_qs].toArray();
    QStringList seen;
    for (const QJsonValue &value : results) {
        const QJsonObject result = value.toObject();
        const QString id = result[u"ruleId"_qs].toString();
        QCOMPARE(rules[result[u"ruleIndex"_qs].toInt()][u"id"_qs].toString(), id);
        QVERIFY(!result[u"message"_qs][u"text"_qs].toString().isEmpty());
        const QJsonObject location = result[u"locations"_qs][0][u"physicalLocation"_qs].toObject();
        seen << id + u' ' + result[u"level"_qs].toString() + u' ' +
                    location[u"artifactLocation"_qs][u"uri"_qs].toString() + u':' +
                    QString::number(location[u"region"_qs][u"startLine"_qs].toInt());
    }
    QCOMPARE(seen, (QStringList{u"title-duplicate warning sound.html:5"_qs,
                                u"title-duplicate warning copy.html:5"_qs,
                                u"canonical-invalid error a%20b.html:6"_qs}));
}

// Every rule with its id, severity and reason, from the rules' one table.
void TestCli::checkHelpListsRules()
{
    const Run run = runCli({QStringLiteral("check"), QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    const QString help = QString::fromUtf8(run.out).simplified();
    for (const quill::RuleDef &def : quill::checkRules()) {
        const QString entry = QStringLiteral("%1 (%2) %3")
                                  .arg(QLatin1StringView(def.id), quill::severityName(def.severity),
                                       QLatin1StringView(def.reason));
        QVERIFY2(help.contains(entry), def.id);
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
