// The program's command line, run on the built program with no display at all: what
// must not show a window ends before it would need one.

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void withoutWindow_data();
    void withoutWindow();
};

void TestCommandLine::withoutWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // the start of standard output
    QTest::addColumn<QString>("err"); // the first line of standard error

    QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"Usage: quillmark [PROJECT.qmk]"_s
                          << QString();
    QTest::newRow("version") << QStringList{u"--version"_s} << 0 << u"quillmark 2.0\n"_s
                             << QString();
    QTest::newRow("two files") << QStringList{u"a.qmk"_s, u"b.qmk"_s} << 2 << QString()
                               << u"quillmark: Only one project file can be opened."_s;
    QTest::newRow("unknown option") << QStringList{u"--meta-only"_s, u"a.qmk"_s} << 2 << QString()
                                    << u"quillmark: Unknown option 'meta-only'."_s;
}

void TestCommandLine::withoutWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    QProcess program;
    // No display: a window would end the program with another code.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUILLMARK_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QString stdoutText = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString stderrText = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(stdoutText.startsWith(out) && (out.isEmpty() || !stdoutText.isEmpty()),
             qPrintable(stdoutText));
    QCOMPARE(stderrText.section(u'\n', 0, 0), err);
    if (exitCode == 2)
        QVERIFY(stdoutText.isEmpty());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
