// The file layer: how a file is replaced (through links, keeping its names, owner and
// permissions, private while written, nothing left after a failure or a kill), which
// files a read takes, and which runs write over their own files.

#include "files/file_io.h"

#include "common/file_helpers.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quill;
using namespace Qt::StringLiterals;

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

struct stat statusOf(const QString &path)
{
    struct stat info {
    };
    ::lstat(native(path).constData(), &info);
    return info;
}

// Every name in the folder, hidden ones too.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The permissions of the file this process has open in `folder`, other than `except`:
// the new file while it is being written.
int descriptorMode(const QString &folder, const QString &except)
{
    for (int fd = 3; fd < 1024; ++fd) {
        char target[4096];
        const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
        const ssize_t n = ::readlink(link.constData(), target, sizeof target);
        struct stat info {
        };
        const QString name = QFile::decodeName(QByteArray(target, n > 0 ? n : 0));
        if (n > 0 && name.startsWith(folder + u'/') && name != except && ::fstat(fd, &info) == 0 &&
            S_ISREG(info.st_mode))
            return int(info.st_mode & 07777);
    }
    return -1;
}

// A signal that interrupts a waiting call instead of ending the process.
void interruptIn(int milliseconds)
{
    struct sigaction action {
    };
    action.sa_handler = [](int) {};
    ::sigaction(SIGALRM, &action, nullptr); // no SA_RESTART
    itimerval timer{{0, 0}, {milliseconds / 1000, (milliseconds % 1000) * 1000}};
    ::setitimer(ITIMER_REAL, &timer, nullptr);
}

} // namespace

class TestFileIo : public QObject
{
    Q_OBJECT

private slots:
    void replace_data();
    void replace();
    void failedReplaceKeepsOldFile_data();
    void failedReplaceKeepsOldFile();
    void privateWhileWritten_data();
    void privateWhileWritten();
    void killedWriterLeavesNothing_data();
    void killedWriterLeavesNothing();
    void read_data();
    void read();
    void distinct_data();
    void distinct();
};

enum Layout { Plain, Link, RelativeChain, Dangling, Loop, HardLink, LongName };

void TestFileIo::replace_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("mode");     // of the old file; 0: none
    QTest::addColumn<bool>("another"); // owned by another user (the superuser only)
    QTest::addColumn<int>("modeAfter");
    QTest::addColumn<QString>("error"); // %1: the name written

    const auto row = [](const char *name, Layout layout, int mode, bool another, int after,
                        const QString &error = {}) {
        QTest::newRow(name) << int(layout) << mode << another << after << error;
    };
    row("a new file", Plain, 0, false, 0644);
    row("permissions kept", Plain, 0640, false, 0640);
    row("set-user-ID dropped", Plain, 04755, false, 0755);
    row("set-group-ID dropped", Plain, 02775, false, 0775);
    // Judged by the bits, so the superuser leaves it alone too.
    row("read-only, whoever writes", Plain, 0444, false, 0444, ioErrorMessage(EACCES));
    row("owner and group kept", Plain, 0644, true, 0644);
    row("a name as long as the system allows", LongName, 0644, false, 0644);
    row("a link: its target written, the link kept", Link, 0600, false, 0600);
    row("a relative chain of links into another folder", RelativeChain, 0644, false, 0644);
    row("a link to a missing file", Dangling, 0, false, 0, danglingLinkMessage(u"%1"_s));
    row("a loop of links", Loop, 0, false, 0, linkLoopMessage(u"%1"_s));
    row("hard links: every name sees it", HardLink, 0644, false, 0644);
    row("hard links, set-user-ID dropped", HardLink, 04755, false, 0755);
}

void TestFileIo::replace()
{
    QFETCH(int, layout);
    QFETCH(int, mode);
    QFETCH(bool, another);
    QFETCH(int, modeAfter);
    QFETCH(QString, error);
    if (another && ::geteuid() != 0)
        QSKIP("only the superuser can give a file to another user");

    QTemporaryDir dir;
    const QDir folder(dir.path());
    QVERIFY(folder.mkdir(u"real"_s));
    const QString name = dir.filePath(layout == LongName ? QString(255, u'n') : u"page.html"_s);
    QString file = name; // the file that holds the bytes
    const QByteArray old = "the old text";
    const QByteArray fresh = "the new text, longer than the old one";
    switch (Layout(layout)) {
    case Link:
        file = dir.filePath(u"real/target.html"_s);
        QVERIFY(QFile::link(file, name));
        break;
    case RelativeChain:
        file = dir.filePath(u"real/target.html"_s);
        QVERIFY(QFile::link(u"real/middle.html"_s, name));
        QVERIFY(QFile::link(u"target.html"_s, dir.filePath(u"real/middle.html"_s)));
        break;
    case Dangling:
        QVERIFY(QFile::link(u"real/gone.html"_s, name));
        break;
    case Loop:
        QVERIFY(QFile::link(u"other.html"_s, name));
        QVERIFY(QFile::link(u"page.html"_s, dir.filePath(u"other.html"_s)));
        break;
    default:
        break;
    }
    if (mode != 0) {
        QVERIFY(writeFile(file, old));
        QCOMPARE(::chmod(native(file).constData(), mode_t(mode)), 0);
    }
    const QString second = dir.filePath(u"real/second name.html"_s);
    if (layout == HardLink)
        QCOMPARE(::link(native(file).constData(), native(second).constData()), 0);
    if (another)
        QCOMPARE(::chown(native(file).constData(), 65534, 65534), 0);
    const struct stat before = statusOf(file);
    const QStringList namesBefore = entries(dir.path()) + entries(dir.filePath(u"real"_s));
    const mode_t mask = ::umask(022);

    QString message;
    const bool written = replaceFile(name, fresh, &message);
    ::umask(mask);
    QCOMPARE(message, QString(error).replace(u"%1"_s, name));
    QCOMPARE(written, error.isEmpty());
    // Nothing beside it, a new file only where there was none.
    QStringList namesAfter = entries(dir.path()) + entries(dir.filePath(u"real"_s));
    if (mode == 0 && written)
        namesAfter.removeOne(QFileInfo(name).fileName());
    QCOMPARE(namesAfter, namesBefore);
    if (!written) {
        if (mode != 0)
            QCOMPARE(readFile(file), old);
        return;
    }
    QCOMPARE(readFile(name), fresh);
    QCOMPARE(readFile(file), fresh);
    const struct stat after = statusOf(file);
    QCOMPARE(int(after.st_mode & 07777), modeAfter);
    QCOMPARE(S_ISLNK(statusOf(name).st_mode), name != file);
    if (another)
        QVERIFY(after.st_uid == 65534 && after.st_gid == 65534);
    if (layout == HardLink) {
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(readFile(second), fresh);
    }
}

void TestFileIo::failedReplaceKeepsOldFile_data()
{
    QTest::addColumn<bool>("hardLink");
    QTest::addColumn<bool>("atCommit"); // the disk fills once the new text is whole
    QTest::newRow("the disk fills while written") << false << false;
    QTest::newRow("hard links, the disk fills while written") << true << false;
    QTest::newRow("hard links, the disk fills as the new text goes in") << true << true;
}

// The file stays whole, under every name, with nothing left beside it.
void TestFileIo::failedReplaceKeepsOldFile()
{
    QFETCH(bool, hardLink);
    QFETCH(bool, atCommit);
    QTemporaryDir dir;
    const QString name = dir.filePath(u"page.html"_s);
    const QString second = dir.filePath(u"second.html"_s);
    const QByteArray old(100, 'o');
    QVERIFY(writeFile(name, old));
    QCOMPARE(::chmod(native(name).constData(), 04755), 0);
    if (hardLink)
        QCOMPARE(::link(native(name).constData(), native(second).constData()), 0);
    const QStringList namesBefore = entries(dir.path());

    const QByteArray fresh(5000, 'n');
    ReplacementFile file(name);
    QString error;
    QVERIFY(file.open(&error));
    const auto write = [&] { return file.write(fresh.constData(), fresh.size(), &error); };
    QCOMPARE(atCommit ? write() : withFileSizeLimit(1000, write), atCommit);
    if (atCommit)
        QVERIFY(!withFileSizeLimit(1000, [&] { return file.commit(&error); }));
    QCOMPARE(error, ioErrorMessage(EFBIG));
    QCOMPARE(readFile(name), old);
    if (hardLink)
        QCOMPARE(readFile(second), old);
    QCOMPARE(int(statusOf(name).st_mode & 07777), 04755);
    QCOMPARE(entries(dir.path()), namesBefore);
}

void TestFileIo::privateWhileWritten_data()
{
    QTest::addColumn<int>("mode"); // of the old file
    QTest::newRow("private") << 0600;
    QTest::newRow("readable by the group") << 0640;
    QTest::newRow("readable by all") << 0644;
    QTest::newRow("hard links, private") << -0600;
}

// Until the new text takes the name only its writer may read it, whatever the umask;
// then it has the old file's permissions.
void TestFileIo::privateWhileWritten()
{
    QFETCH(int, mode);
    const bool hardLink = mode < 0;
    mode = std::abs(mode);
    QTemporaryDir dir;
    const QString name = dir.filePath(u"secret.txt"_s);
    QVERIFY(writeFile(name, "old"));
    QCOMPARE(::chmod(native(name).constData(), mode_t(mode)), 0);
    if (hardLink)
        QCOMPARE(::link(native(name).constData(), native(dir.filePath(u"b"_s)).constData()), 0);

    const mode_t mask = ::umask(0);
    ReplacementFile file(name);
    QString error;
    const bool opened = file.open(&error);
    ::umask(mask);
    QVERIFY2(opened, qPrintable(error));
    QVERIFY(file.write("secret", 6, &error));
    QCOMPARE(descriptorMode(dir.path(), name), 0600);
    QVERIFY(file.commit(&error));
    QCOMPARE(int(statusOf(name).st_mode & 07777), mode);
    QCOMPARE(readFile(name), "secret"_ba);
}

void TestFileIo::killedWriterLeavesNothing_data()
{
    QTest::addColumn<bool>("oldFile");
    QTest::newRow("a new file") << false;
    QTest::newRow("an old file") << true;
}

// kill -9 while a large file is being written: the folder holds only what it held.
void TestFileIo::killedWriterLeavesNothing()
{
    QFETCH(bool, oldFile);
    QTemporaryDir dir;
    const QString name = dir.filePath(u"large.js"_s);
    if (oldFile)
        QVERIFY(writeFile(name, "the old file"));
    const QStringList namesBefore = entries(dir.path());
    int ready[2];
    QCOMPARE(::pipe(ready), 0);
    const pid_t writer = ::fork();
    QVERIFY(writer >= 0);
    if (writer == 0) {
        ReplacementFile file(name);
        const QByteArray block(1 << 20, 'x');
        if (!file.open(nullptr))
            ::_exit(1);
        for (int i = 0;; ++i) {
            if (!file.write(block.constData(), block.size(), nullptr))
                ::_exit(1);
            if (i == 16)
                (void)!::write(ready[1], "w", 1);
            if (i > 200)
                ::pause();
        }
    }
    ::close(ready[1]);
    char byte = 0;
    QCOMPARE(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    QCOMPARE(::kill(writer, SIGKILL), 0);
    int status = 0;
    QCOMPARE(::waitpid(writer, &status, 0), writer);
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(entries(dir.path()), namesBefore);
    if (oldFile)
        QCOMPARE(readFile(name), "the old file"_ba);
}

enum Source { Regular, Fifo, Folder, Device, Missing, SignalledPipe, ZeroInName };

void TestFileIo::read_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<bool>("regularOnly");
    QTest::addColumn<QString>("error");
    QTest::newRow("a regular file") << int(Regular) << true << QString();
    // At once, without waiting for a writer or reading a device to its endless end.
    QTest::newRow("a pipe with no writer") << int(Fifo) << true << ioErrorMessage(EACCES);
    QTest::newRow("a folder") << int(Folder) << true << ioErrorMessage(EACCES);
    QTest::newRow("a device") << int(Device) << true << ioErrorMessage(EACCES);
    QTest::newRow("missing") << int(Missing) << true << ioErrorMessage(ENOENT);
    // Refused, not cut short at the zero byte, where another file's name ends.
    QTest::newRow("a zero byte in the name") << int(ZeroInName) << false << ioErrorMessage(EINVAL);
    // A signal while the read waits does not end it.
    QTest::newRow("a pipe, a signal while waiting") << int(SignalledPipe) << false << QString();
}

void TestFileIo::read()
{
    QFETCH(int, source);
    QFETCH(bool, regularOnly);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QString path = dir.filePath(u"source"_s);
    pid_t writer = -1;
    switch (Source(source)) {
    case Regular:
        QVERIFY(writeFile(path, "abc"));
        break;
    case Fifo:
    case SignalledPipe:
        QCOMPARE(::mkfifo(native(path).constData(), 0600), 0);
        break;
    case Folder:
        path = dir.path();
        break;
    case Device:
        path = u"/dev/zero"_s;
        break;
    case Missing:
        break;
    case ZeroInName:
        QVERIFY(writeFile(path, "abc"));
        path += QChar(0) + u"x"_s;
        break;
    }
    if (source == SignalledPipe) {
        writer = ::fork();
        QVERIFY(writer >= 0);
        if (writer == 0) {
            const int fd = ::open(native(path).constData(), O_WRONLY);
            ::usleep(500'000);
            ::_exit(::write(fd, "abc", 3) == 3 ? 0 : 1);
        }
    }
    // Should the read wait, the signal ends the wait and the row fails.
    interruptIn(source == SignalledPipe ? 150 : 2000);
    QByteArray bytes;
    QString message;
    const bool ok = readFileUpTo(path, 10, &bytes, &message,
                                 regularOnly ? FileKind::RegularOnly : FileKind::Any);
    interruptIn(0);
    if (writer > 0)
        ::waitpid(writer, nullptr, 0);
    QCOMPARE(message, error);
    QCOMPARE(ok, error.isEmpty());
    if (ok)
        QCOMPARE(bytes, "abc"_ba);
}

void TestFileIo::distinct_data()
{
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QStringList>("outputs");
    QTest::addColumn<QString>("error");

    const QString source = u"The source file would be overwritten; choose another destination."_s;
    const QString twice = u"Two files this run writes are one file; choose another destination."_s;
    QTest::newRow("apart") << QStringList{u"a.html"_s} << QStringList{u"b.js"_s} << QString();
    QTest::newRow("the source written")
        << QStringList{u"a.html"_s} << QStringList{u"sub/../a.html"_s} << source;
    QTest::newRow("through a link") << QStringList{u"a.html"_s} << QStringList{u"link"_s} << source;
    // Its read fails on its own; there is nothing to overwrite.
    QTest::newRow("a missing source named as the output")
        << QStringList{u"gone.html"_s} << QStringList{u"gone.html"_s} << QString();
    QTest::newRow("two outputs, one yet to be made")
        << QStringList{u"a.html"_s} << QStringList{u"new.js"_s, u"./new.js"_s} << twice;
}

void TestFileIo::distinct()
{
    QFETCH(QStringList, sources);
    QFETCH(QStringList, outputs);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(QDir().mkdir(u"sub"_s) && writeFile(u"a.html"_s, "<p>") &&
            QFile::link(u"a.html"_s, u"link"_s));
    QString message;
    const bool apart = distinctFiles(sources, outputs, &message);
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
    QCOMPARE(apart, error.isEmpty());
    QCOMPARE(message, error);
}

QTEST_GUILESS_MAIN(TestFileIo)
#include "tst_file_io.moc"
