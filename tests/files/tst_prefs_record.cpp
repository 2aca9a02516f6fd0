// The preferences record and its file: what its bytes mean, what a start and the
// dialog's OK change, how the file is read and how it is replaced.

#include "files/prefs_record.h"

#include "common/file_helpers.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

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

} // namespace

class TestPrefsRecord : public QObject
{
    Q_OBJECT

private slots:
    void bytes_data();
    void bytes();
    void save_data();
    void save();
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
    QTest::addColumn<QString>("error");
    QTest::newRow("a longer file") << u"longer"_s << QString();
    // QSaveFile's new file would need a name longer than the folder takes.
    QTest::newRow("no new name beside it: in place") << u"long name"_s << QString();
    QTest::newRow("missing: never created") << u"missing"_s << u"File not found"_s;
    QTest::newRow("read-only, whoever runs it") << u"read-only"_s << u"File access denied"_s;
    QTest::newRow("disk full") << u"size limit"_s << u"Disk full"_s;
}

void TestPrefsRecord::save()
{
    QFETCH(QString, cause);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path =
        dir.filePath(cause == "long name"_L1 ? QString(250, u'p') : u"prefs.cfg"_s);
    QRandomGenerator rng(11);
    const QByteArray old = randomBytes(rng, 50);
    if (cause != "missing"_L1)
        QVERIFY(writeFile(path, old));
    if (cause == "read-only"_L1)
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    const TPrefsRecord record = randomRecord(rng);

    QString message;
    const auto save = [&] { return savePrefsFile(path, record, &message); };
    const bool saved = cause == "size limit"_L1 ? withFileSizeLimit(20, save) : save();
    QCOMPARE(saved, error.isEmpty());
    QCOMPARE(message, error);
    if (cause != "missing"_L1)
        QCOMPARE(readFile(path), saved ? bytesOf(record) : old);
    // Nothing else is left in the folder, and no file is made.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
             cause == "missing"_L1 ? 0 : 1);
}

// Any file: read from its first 38 bytes or refused, and written back as exactly those.
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
        QCOMPARE(readFile(path), file.left(TPrefsRecord::Size));
    }
}

QTEST_GUILESS_MAIN(TestPrefsRecord)
#include "tst_prefs_record.moc"
