// The program's command line, run on the built program: what must not show a window ends
// before it would need a display, and the toolkit's own options start the program.

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void run_data();
    void run();
};

void TestCommandLine::run_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("display"); // false: none at all, true: an off-screen one
    QTest::addColumn<int>("exitCode"); // -1: still running after a while
    QTest::addColumn<QString>("out");  // the start of standard output
    QTest::addColumn<QString>("err");  // the program's own line on standard error

    QTest::newRow("help") << QStringList{u"--help"_s} << false << 0
                          << u"Usage: quillmark [PROJECT.qmk]"_s << QString();
    QTest::newRow("version") << QStringList{u"--version"_s} << false << 0 << u"Quillmark 2.0\n"_s
                             << QString();
    QTest::newRow("version among the toolkit's options")
        << QStringList{u"-style"_s, u"Fusion"_s, u"-version"_s} << false << 0
        << u"Quillmark 2.0\n"_s << QString();
    QTest::newRow("two files") << QStringList{u"a.qmk"_s, u"b.qmk"_s} << true << 2 << QString()
                               << u"quillmark: Only one project file can be opened."_s;
    QTest::newRow("unknown option") << QStringList{u"--meta-only"_s, u"a.qmk"_s} << true << 2
                                    << QString() << u"quillmark: Unknown option 'meta-only'."_s;
    // As the session manager restarts it, and as a user picks a look.
    QTest::newRow("toolkit's options") << QStringList{u"-session"_s, u"1234abcd"_s,  u"-style"_s,
                                                      u"Fusion"_s,   u"-platform"_s, u"offscreen"_s}
                                       << true << -1 << QString() << QString();
}

void TestCommandLine::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, display);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    QTemporaryDir folder; // the program's start folder, without its files
    QProcess program;
    program.setWorkingDirectory(folder.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    // Without a display, a window would end the program with another code.
    env.insert(u"QT_QPA_PLATFORM"_s, display ? u"offscreen"_s : u"xcb"_s);
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUILLMARK_PROGRAM), arguments);
    if (exitCode < 0) {
        QVERIFY(!program.waitForFinished(1500));
        program.kill();
        QVERIFY(program.waitForFinished(10000));
        return;
    }
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QString stdoutText = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString stderrText = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(stdoutText.startsWith(out) && (out.isEmpty() || !stdoutText.isEmpty()),
             qPrintable(stdoutText));
    // The toolkit may warn about the environment on lines of its own.
    const QStringList own = stderrText.split(u'\n').filter(QRegularExpression(u"^quillmark: "_s));
    QCOMPARE(own, err.isEmpty() ? QStringList() : QStringList{err});
    if (exitCode == 2)
        QVERIFY(stdoutText.isEmpty());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
