// The built program's starts, counted in prefs.cfg: starts at the same moment each count,
// and what follows the record in the file stays.

#include "files/prefs_record.h"

#include "common/file_helpers.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

using namespace quill;
using namespace Qt::StringLiterals;

class TestStartCount : public QObject
{
    Q_OBJECT

private slots:
    void starts_data();
    void starts();
};

void TestStartCount::starts_data()
{
    QTest::addColumn<int>("starts");
    QTest::addColumn<int>("tail"); // bytes after the record
    QTest::newRow("one start, a file of 1 MiB") << 1 << (1 << 20);
    QTest::newRow("eight at once") << 8 << 10;
}

void TestStartCount::starts()
{
    QFETCH(int, starts);
    QFETCH(int, tail);
    // The installation's files, where the program starts.
    QTemporaryDir folder;
    QVERIFY(QProcess::execute(u"cp"_s,
                              {u"-R"_s, QStringLiteral(QUILLMARK_DATA "/."), folder.path()}) == 0);
    const QString prefs = folder.filePath(u"prefs.cfg"_s);
    const QByteArray file = QByteArray(TPrefsRecord::Size, '\0') + QByteArray(tail, 't');
    QVERIFY(writeFile(prefs, file));

    std::vector<std::unique_ptr<QProcess>> programs;
    for (int i = 0; i < starts; ++i) {
        auto &program = programs.emplace_back(std::make_unique<QProcess>());
        program->setWorkingDirectory(folder.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        program->setProcessEnvironment(env);
        program->start(QStringLiteral(QUILLMARK_PROGRAM), QStringList());
    }
    QElapsedTimer waited;
    waited.start();
    const auto allCounted = [&] {
        const QByteArray now = readFile(prefs);
        return now.size() == file.size() &&
               quint8(now[qsizetype(TPrefsRecord::StartCount2)]) >= starts;
    };
    while (!allCounted() && waited.elapsed() < 30'000)
        QTest::qWait(50);
    for (auto &program : programs) {
        QCOMPARE(program->state(), QProcess::Running);
        program->kill();
        program->waitForFinished();
    }
    QByteArray counted = file;
    counted[TPrefsRecord::StartCount1] = counted[TPrefsRecord::StartCount2] = char(starts);
    QCOMPARE(readFile(prefs), counted);
}

QTEST_GUILESS_MAIN(TestStartCount)
#include "tst_start_count.moc"
