// The preferences record and its file: what its bytes mean, what a start and the
// dialog's OK change, how the file is read and how it is replaced.

#include "files/prefs_record.h"

#include "common/file_helpers.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quill;
using namespace Qt::StringLiterals;

namespace {

QByteArray bytesOf(const TPrefsRecord &record)
{
    return QByteArray(reinterpret_cast<const char *>(record.bytes.data()), TPrefsRecord::Size);
}

QByteArray randomBytes(QRandomGenerator &rng, qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (char &b : bytes)
        b = char(rng.bounded(256));
    return bytes;
}

TPrefsRecord randomRecord(QRandomGenerator &rng)
{
    TPrefsRecord record;
    for (std::uint8_t &b : record.bytes)
        b = std::uint8_t(rng.bounded(256));
    return record;
}

// A folder that takes no new file while this lives, whoever runs the test: immutable for
// the superuser, without write permission for others.
class ClosedFolder
{
public:
    ClosedFolder(const QString &path, bool closed)
        : m_fd(closed ? ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY) : -1)
    {
        if (m_fd >= 0)
            setClosed(true);
    }
    ~ClosedFolder()
    {
        if (m_fd >= 0) {
            setClosed(false);
            ::close(m_fd);
        }
    }
    ClosedFolder(const ClosedFolder &) = delete;
    ClosedFolder &operator=(const ClosedFolder &) = delete;

private:
    void setClosed(bool closed)
    {
        if (::geteuid() == 0) {
            int flags = 0;
            ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags);
            flags = closed ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            QCOMPARE(::ioctl(m_fd, FS_IOC_SETFLAGS, &flags), 0);
        } else {
            QCOMPARE(::fchmod(m_fd, closed ? 0555 : 0755), 0);
        }
    }
    int m_fd;
};

} // namespace

class TestPrefsRecord : public QObject
{
    Q_OBJECT

private slots:
    void bytes_data();
    void bytes();
    void save_data();
    void save();
    void turns_data();
    void turns();
    void randomAndTruncatedFiles();
};

void TestPrefsRecord::bytes_data()
{
    QTest::addColumn<int>("value"); // of each flag, the mode and both counters
    QTest::addColumn<bool>("on");
    QTest::addColumn<int>("counted");
    for (int value : {0, 1, 2, 7, 9, 254, 255})
        QTest::addRow("%d", value) << value << (value == 1) << (value + 1) % 256;
}

// Only 1 means on; a start counts both counters; OK sets four bytes and keeps the rest.
void TestPrefsRecord::bytes()
{
    QFETCH(int, value);
    QFETCH(bool, on);
    QFETCH(int, counted);
    QRandomGenerator rng{quint32(value)};
    TPrefsRecord record;
    record.bytes.fill(std::uint8_t(value));
    std::copy_n(randomBytes(rng, 32).constData(), 32,
                record.bytes.begin() + TPrefsRecord::Reserved);
    QCOMPARE(preferencesOf(record), (Preferences{on, on, on, on}));

    QByteArray expected = bytesOf(record);
    expected[TPrefsRecord::StartCount1] = expected[TPrefsRecord::StartCount2] = char(counted);
    countStart(record);
    QCOMPARE(bytesOf(record), expected);

    const Preferences chosen{!on, on, !on, on};
    storePreferences(record, chosen);
    expected[TPrefsRecord::ShowTips] = on ? 0 : 1;
    expected[TPrefsRecord::CheckUpdates] = on ? 1 : 0;
    expected[TPrefsRecord::CodeMode] = on ? 2 : 1;
    expected[TPrefsRecord::ShowWizard] = on ? 1 : 0;
    QCOMPARE(bytesOf(record), expected);
    QCOMPARE(preferencesOf(record), chosen);
}

void TestPrefsRecord::save_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<int>("size"); // of the old file
    QTest::addColumn<QString>("error");
    QTest::newRow("a longer file: the rest stays") << u"longer"_s << 50 << QString();
    QTest::newRow("a file of 1 MiB") << u"longer"_s << (1 << 20) << QString();
    QTest::newRow("no new file beside it: in place") << u"closed folder"_s << 50 << QString();
    QTest::newRow("in place, the disk fills")
        << u"closed folder, size limit"_s << 50 << u"Disk full"_s;
    QTest::newRow("missing: never created") << u"missing"_s << 0 << u"File not found"_s;
    QTest::newRow("read-only, whoever runs it") << u"read-only"_s << 50 << u"File access denied"_s;
    QTest::newRow("disk full") << u"size limit"_s << 50 << u"Disk full"_s;
}

void TestPrefsRecord::save()
{
    QFETCH(QString, cause);
    QFETCH(int, size);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"prefs.cfg"_s);
    QRandomGenerator rng(11);
    const QByteArray old = randomBytes(rng, size);
    if (cause != "missing"_L1)
        QVERIFY(writeFile(path, old));
    if (cause == "read-only"_L1)
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    const TPrefsRecord record = randomRecord(rng);

    QString message;
    const auto save = [&] { return savePrefsFile(path, record, &message); };
    bool saved = false;
    {
        const ClosedFolder closed(dir.path(), cause.startsWith("closed folder"_L1));
        saved = cause.endsWith("size limit"_L1) ? withFileSizeLimit(20, save) : save();
    }
    QCOMPARE(saved, error.isEmpty());
    QCOMPARE(message, error);
    if (cause != "missing"_L1)
        QCOMPARE(readFile(path), saved ? bytesOf(record) + old.mid(TPrefsRecord::Size) : old);
    // Nothing else is left in the folder, and no file is made.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
             cause == "missing"_L1 ? 0 : 1);
}

void TestPrefsRecord::turns_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("replaced") << false;
    QTest::newRow("written in place") << true;
}

// Starts at the same moment each count, and what follows the record stays.
void TestPrefsRecord::turns()
{
    QFETCH(bool, inPlace);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"prefs.cfg"_s);
    QRandomGenerator rng(8);
    const QByteArray tail = randomBytes(rng, 4096);
    QVERIFY(writeFile(path, QByteArray(TPrefsRecord::Size, '\0') + tail));
    constexpr int Starts = 8;
    constexpr int Each = 25;
    QList<pid_t> starts;
    {
        const ClosedFolder closed(dir.path(), inPlace);
        for (int i = 0; i < Starts; ++i) {
            const pid_t start = ::fork();
            QVERIFY(start >= 0);
            if (start == 0) {
                bool counted = true;
                for (int k = 0; k < Each; ++k)
                    counted = updatePrefsFile(path, countStart, nullptr) && counted;
                ::_exit(counted ? 0 : 1);
            }
            starts << start;
        }
        int failed = 0;
        for (const pid_t start : std::as_const(starts)) {
            int status = -1;
            failed += ::waitpid(start, &status, 0) != start || status != 0;
        }
        QCOMPARE(failed, 0);
    }
    const QByteArray file = readFile(path);
    QCOMPARE(int(quint8(file[TPrefsRecord::StartCount1])), Starts * Each % 256);
    QCOMPARE(int(quint8(file[TPrefsRecord::StartCount2])), Starts * Each % 256);
    QCOMPARE(file.mid(TPrefsRecord::Size), tail);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"prefs.cfg"_s});
}

// Any file: read from its first 38 bytes or refused, and written back as it was.
void TestPrefsRecord::randomAndTruncatedFiles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"prefs.cfg"_s);
    QRandomGenerator rng(38);
    for (int i = 0; i < 300; ++i) {
        // Every length up to 37 once, then random lengths.
        const int size = i < TPrefsRecord::Size ? i : int(rng.bounded(80));
        const QByteArray file = randomBytes(rng, size);
        QVERIFY(writeFile(path, file));
        TPrefsRecord record;
        QString error;
        const bool ok = loadPrefsFile(path, &record, &error);
        QCOMPARE(ok, size >= TPrefsRecord::Size);
        if (!ok) {
            QCOMPARE(error, u"Read beyond end of file"_s);
            continue;
        }
        QCOMPARE(bytesOf(record), file.left(TPrefsRecord::Size));
        QVERIFY(savePrefsFile(path, record, &error));
        QCOMPARE(readFile(path), file);
    }
}

QTEST_GUILESS_MAIN(TestPrefsRecord)
#include "tst_prefs_record.moc"
