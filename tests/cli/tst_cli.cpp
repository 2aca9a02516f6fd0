// End-to-end runs of the built quillmark-cli.

#include "common/file_helpers.h"
#include "common/worked_example.h"

#include <QFile>
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

QByteArray crlf(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n")).toLatin1();
}

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runCli(const QStringList &args, const QString &stdoutFile = QString())
{
    QProcess p;
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    p.start(QStringLiteral(QUILLMARK_CLI), args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
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
    void failure_data();
    void failure();
    void usageError_data();
    void usageError();
    void version();

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
    QByteArray highBytes = workedExampleRecord();
    highBytes.replace(1, 3, "\x80\xe9\x9f"); // the description starts with 8-bit characters
    QVERIFY(writeFile(path("high.qmk"), highBytes));
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

void TestCli::failure_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("stdoutFile");
    QTest::addColumn<QByteArray>("err");

    QTest::newRow("short file") << QStringList{QStringLiteral("generate"), path("short.qmk")}
                                << QString()
                                << QByteArray("quillmark-cli: Read beyond end of file.\n");
    QTest::newRow("missing file") << QStringList{QStringLiteral("generate"), path("none.qmk")}
                                  << QString() << QByteArray("quillmark-cli: File not found.\n");
    QTest::newRow("output into a missing folder")
        << QStringList{QStringLiteral("generate"), QStringLiteral("--output"), path("no/out.html"),
                       path("toys.qmk")}
        << QString() << QByteArray("quillmark-cli: File not found.\n");
    QTest::newRow("standard output full")
        << QStringList{QStringLiteral("generate"), path("toys.qmk")} << QStringLiteral("/dev/full")
        << QByteArray("quillmark-cli: Disk full.\n");
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
    QTest::newRow("unknown command") << QStringList{QStringLiteral("export"), toys};
    QTest::newRow("unknown option") << QStringList{generate, QStringLiteral("--meta"), toys};
    QTest::newRow("short option") << QStringList{generate, QStringLiteral("-m"), toys};
    QTest::newRow("output without name") << QStringList{generate, toys, QStringLiteral("--output")};
    QTest::newRow("empty output name") << QStringList{generate, QStringLiteral("--output="), toys};
    QTest::newRow("output twice") << QStringList{generate, QStringLiteral("--output=a"),
                                                 QStringLiteral("--output=b"), toys};
}

void TestCli::usageError()
{
    QFETCH(QStringList, args);

    const Run run = runCli(args);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.contains("Usage: quillmark-cli generate"), run.err.constData());
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
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
