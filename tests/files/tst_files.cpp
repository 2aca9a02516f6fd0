// The project record, its file and the file layer's messages.

#include "document/meta_generator.h"
#include "document/tag_document.h"
#include "files/file_io.h"
#include "files/project_record.h"
#include "files/shell_target.h"

#include "common/file_helpers.h"
#include "common/project_records.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quill;
using namespace Qt::StringLiterals;

class TestFiles : public QObject
{
    Q_OBJECT

private slots:
    void defaultRecord();
    void textCutAtCapacity_data();
    void textCutAtCapacity();
    void listPosition_data();
    void listPosition();
    void checkByte_data();
    void checkByte();
    void forgedLength_data();
    void forgedLength();
    void fullRecordRoundTrip();

    void loadLength_data();
    void loadLength();
    void loadFailure_data();
    void loadFailure();
    void saveWritesRecord();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();

    void projectFileName_data();
    void projectFileName();
    void errorBoxText_data();
    void errorBoxText();
    void nativeNames_data();
    void nativeNames();

    void pathInFolder_data();
    void pathInFolder();
    void shellUrl_data();
    void shellUrl();
    void searchWords_data();
    void searchWords();

    void randomRecords();
    void randomTruncations();
};

// With every text empty, the only non-zero bytes are the three lists whose default is
// not their first item.
void TestFiles::defaultRecord()
{
    TagDocument doc = TagDocument::startUp();
    doc.setText(Field::Edit24, QString());
    const TProjectRecord r = GatherProject(doc);

    QByteArray expected(TProjectRecord::Size, '\0');
    expected[588] = 3; // robots "All"
    expected[596] = 9; // language "en"
    expected[836] = 3; // window target "_top"
    QCOMPARE(bytesOf(r), expected);
}

void TestFiles::textCutAtCapacity_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("kept");

    QTest::newRow("author 75") << int(Field::Edit3) << 75 << 30;
    QTest::newRow("title 75") << int(Field::Edit6) << 75 << 30;
    QTest::newRow("refresh page 75") << int(Field::Edit8) << 75 << 50;
    QTest::newRow("description 250") << int(Field::Edit1) << 250 << 250;
    QTest::newRow("description 251") << int(Field::Edit1) << 251 << 250;
    QTest::newRow("refresh delay 3") << int(Field::Edit9) << 3 << 3;
    QTest::newRow("page title 60") << int(Field::PageTitle) << 60 << 50;
    QTest::newRow("DC language 9") << int(Field::Edit29) << 9 << 5;
    QTest::newRow("DC rights 31, last field") << int(Field::Edit32) << 31 << 30;
}

void TestFiles::textCutAtCapacity()
{
    QFETCH(int, field);
    QFETCH(int, typed);
    QFETCH(int, kept);

    QString text;
    for (int i = 0; i < typed; ++i)
        text += QChar(u'A' + i % 26);
    TagDocument doc = TagDocument::startUp();
    doc.setText(Field(field), text);
    const TProjectRecord r = GatherProject(doc);
    QCOMPARE(int(r.bytes[std::size_t(fieldDef(Field(field)).offset)]), kept);

    TagDocument back = TagDocument::startUp();
    ApplyProject(r, back);
    QCOMPARE(back.text(Field(field)), text.left(kept));
}

void TestFiles::listPosition_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("applied");

    QTest::newRow("distribution 7") << int(Field::ComboBox1) << 7 << -1;
    QTest::newRow("distribution 3") << int(Field::ComboBox1) << 3 << -1;
    QTest::newRow("distribution 2") << int(Field::ComboBox1) << 2 << 2;
    QTest::newRow("distribution -1") << int(Field::ComboBox1) << -1 << -1;
    QTest::newRow("distribution -7") << int(Field::ComboBox1) << -7 << -1;
    QTest::newRow("classification 77") << int(Field::ComboBox13) << 77 << 77;
    QTest::newRow("classification 78") << int(Field::ComboBox13) << 78 << -1;
    QTest::newRow("language max int") << int(Field::ComboBox5) << INT32_MAX << -1;
    QTest::newRow("language min int") << int(Field::ComboBox5) << INT32_MIN << -1;
    QTest::newRow("language 256 (high byte)") << int(Field::ComboBox5) << 256 << -1;
}

void TestFiles::listPosition()
{
    QFETCH(int, field);
    QFETCH(int, stored);
    QFETCH(int, applied);

    const int offset = fieldDef(Field(field)).offset;
    TProjectRecord r;
    putInt32(r, offset, stored);
    TagDocument doc = TagDocument::startUp();
    ApplyProject(r, doc);
    QCOMPARE(doc.index(Field(field)), applied);
    QCOMPARE(int32At(GatherProject(doc), offset), applied);
}

void TestFiles::checkByte_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("checked");

    QTest::newRow("script 0") << int(Field::CheckBox2) << 0 << false;
    QTest::newRow("script 1") << int(Field::CheckBox2) << 1 << true;
    QTest::newRow("script 2") << int(Field::CheckBox2) << 2 << false;
    QTest::newRow("script 255") << int(Field::CheckBox2) << 255 << false;
    QTest::newRow("style 1") << int(Field::CheckBox3) << 1 << true;
    QTest::newRow("style 2") << int(Field::CheckBox3) << 2 << false;
}

void TestFiles::checkByte()
{
    QFETCH(int, field);
    QFETCH(int, stored);
    QFETCH(bool, checked);

    const auto offset = std::size_t(fieldDef(Field(field)).offset);
    TProjectRecord r;
    r.bytes[offset] = std::uint8_t(stored);
    TagDocument doc = TagDocument::startUp();
    doc.setChecked(Field(field), !checked);
    ApplyProject(r, doc);
    QCOMPARE(doc.isChecked(Field(field)), checked);
    QCOMPARE(int(GatherProject(doc).bytes[offset]), checked ? 1 : 0);
}

// A length byte of 255 must give the field's own bytes and nothing of what follows.
void TestFiles::forgedLength_data()
{
    QTest::addColumn<int>("field");
    for (const FieldDef &def : fieldCatalogue()) {
        if (def.kind == FieldKind::Edit)
            QTest::newRow(def.owner == Owner::Main ? def.control : def.label) << int(def.id);
    }
}

void TestFiles::forgedLength()
{
    QFETCH(int, field);
    const FieldDef &def = fieldDef(Field(field));

    TProjectRecord r;
    r.bytes.fill('Z');
    r.bytes[std::size_t(def.offset)] = 255;
    for (int i = 1; i <= def.capacity; ++i)
        r.bytes[std::size_t(def.offset + i)] = 'a';
    TagDocument doc = TagDocument::startUp();
    ApplyProject(r, doc);
    QCOMPARE(doc.text(def.id), QString(def.capacity, QLatin1Char('a')));
}

// Every stored value comes back, the Preferences texts and 8-bit characters included.
void TestFiles::fullRecordRoundTrip()
{
    TagDocument doc = TagDocument::startUp();
    for (const FieldDef &def : fieldCatalogue()) {
        switch (def.kind) {
        case FieldKind::Edit:
            doc.setText(def.id, QString::fromUtf8("\xc3\xa9\xe2\x82\xac ")
                                    .repeated(def.capacity)
                                    .left(def.capacity));
            break;
        case FieldKind::List:
            doc.setIndex(def.id, int(def.items.size()) - 1);
            break;
        case FieldKind::Check:
            doc.setChecked(def.id, true);
            break;
        }
    }
    TagDocument back = TagDocument::startUp();
    ApplyProject(GatherProject(doc), back);
    QCOMPARE(back, doc);
}

void TestFiles::loadLength_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("ok");

    QTest::newRow("empty") << 0 << false;
    QTest::newRow("one byte") << 1 << false;
    QTest::newRow("1639") << 1639 << false;
    QTest::newRow("1640") << 1640 << true;
    QTest::newRow("1641") << 1641 << true;
    QTest::newRow("100000") << 100000 << true;
}

void TestFiles::loadLength()
{
    QFETCH(int, size);
    QFETCH(bool, ok);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.qmk"));
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = char(i * 7 + 1);
    QVERIFY(writeFile(path, data));

    TProjectRecord before;
    before.bytes.fill(0xEE);
    TProjectRecord r = before;
    QString error;
    QCOMPARE(LoadProjectFile(path, &r, &error), ok);
    if (ok) {
        QCOMPARE(bytesOf(r), data.left(TProjectRecord::Size));
    } else {
        QCOMPARE(error, QStringLiteral("Read beyond end of file"));
        QCOMPARE(r, before);
    }
}

void TestFiles::loadFailure_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing file") << QStringLiteral("nothing.qmk")
                                  << QStringLiteral("File not found");
    QTest::newRow("missing folder")
        << QStringLiteral("no/p.qmk") << QStringLiteral("File not found");
    QTest::newRow("folder") << QStringLiteral("sub") << QStringLiteral("File access denied");
    QTest::newRow("empty name") << QString() << QStringLiteral("Invalid filename");
}

void TestFiles::loadFailure()
{
    QFETCH(QString, name);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    TProjectRecord r;
    QString error;
    QVERIFY(!LoadProjectFile(name.isEmpty() ? name : dir.filePath(name), &r, &error));
    QCOMPARE(error, message);
    QCOMPARE(r, TProjectRecord{});
}

void TestFiles::saveWritesRecord()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.qmk"));
    QVERIFY(writeFile(path, QByteArray(5000, 'x')));

    QRandomGenerator rng(7);
    const TProjectRecord r = randomRecord(rng);
    QString error;
    QVERIFY2(SaveProjectFile(path, r, &error), qPrintable(error));
    QCOMPARE(readFile(path), bytesOf(r));
}

void TestFiles::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing folder")
        << QStringLiteral("none/p.qmk") << QString() << QStringLiteral("File not found");
    QTest::newRow("target is a folder")
        << QStringLiteral("sub") << QString() << QStringLiteral("File access denied");
    // A device or pipe is not replaced by a plain file, even where the folder allows it.
    QTest::newRow("target is a named pipe")
        << QStringLiteral("fifo") << QStringLiteral("fifo") << QStringLiteral("File access denied");
    QTest::newRow("disk fills part-way")
        << QStringLiteral("p.qmk") << QStringLiteral("size limit") << QStringLiteral("Disk full");
    // The superuser may write any file, so only others can see this one fail.
    if (::geteuid() != 0) {
        QTest::newRow("read-only file") << QStringLiteral("p.qmk") << QStringLiteral("read-only")
                                        << QStringLiteral("File access denied");
    }
}

void TestFiles::failedSaveKeepsOldFile()
{
    QFETCH(QString, name);
    QFETCH(QString, cause);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString path = dir.filePath(name);
    const QByteArray old("the old project, byte for byte\r\n");
    const bool oldFile = name == QLatin1StringView("p.qmk");
    if (oldFile)
        QVERIFY(writeFile(path, old));
    if (cause == QLatin1StringView("read-only"))
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    if (cause == QLatin1StringView("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);

    TProjectRecord r;
    r.bytes.fill('n');
    QString error;
    bool saved = true;
    if (cause == QLatin1StringView("size limit")) {
        // Files may not grow past 100 bytes: the write of 1640 fails part-way.
        saved = withFileSizeLimit(100, [&] { return SaveProjectFile(path, r, &error); });
    } else {
        saved = SaveProjectFile(path, r, &error);
    }
    QVERIFY(!saved);
    QCOMPARE(error, message);
    if (oldFile)
        QCOMPARE(readFile(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             oldFile ? QStringList{QStringLiteral("p.qmk")} : QStringList{});
    struct stat status = {};
    if (cause == QLatin1StringView("fifo"))
        QVERIFY(::stat(QFile::encodeName(path).constData(), &status) == 0 &&
                S_ISFIFO(status.st_mode));
}

void TestFiles::projectFileName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");

    const auto row = [](const char *chosen, const char *written) {
        QTest::newRow(chosen) << QString::fromUtf8(chosen) << QString::fromUtf8(written);
    };
    row("/w/home.qmk", "/w/home.qmk");
    row("/w/home", "/w/home.qmk");
    row("/w/home.txt", "/w/home.qmk");
    row("/w/home.html", "/w/home.html.qmk");
    row("/w/home.qm", "/w/home.qm.qmk");
    row("/w/home.", "/w/home..qmk");
    row("/w/home.QMK", "/w/home.qmk");
    row(".abc", ".qmk");
    row("abc", "abc.qmk");
    row("", ".qmk");
    row("/my.site/home", "/my.site/home.qmk");
    row("/a.b/c.d", "/a.b/c.d.qmk");
    // A dot in a folder's name standing fourth from the end is no extension: the file
    // stays in the chosen folder. A backslash is part of a file name here.
    row("/site.d/x", "/site.d/x.qmk");
    row("/w/a./bc", "/w/a./bc.qmk");
    row("/w/a.b/", "/w/a.b/.qmk");
    row("C:\\web.d\\x", "C:\\web.qmk");
}

void TestFiles::projectFileName()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(ProjectFileName(chosen), written);
}

void TestFiles::errorBoxText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    const auto row = [](const char *message, const char *shown) {
        QTest::newRow(message) << QString::fromUtf8(message) << QString::fromUtf8(shown);
    };
    row("File not found", "File not found.");
    row("I/O error 5", "I/O error 5.");
    row("Done.", "Done.");
    row("Disk full (drive C)", "Disk full (drive C)");
    row("Path ends in a /", "Path ends in a /.");
    row("Ends in a blank ", "Ends in a blank ");
    row("Ends in a dash -", "Ends in a dash -");
    row("", "");
}

void TestFiles::errorBoxText()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(quill::errorBoxText(message), shown);
}

// A file name's bytes come back from its QString as given, and messages show the bytes
// that are not UTF-8 as \xHH.
void TestFiles::nativeNames_data()
{
    QTest::addColumn<QByteArray>("native");
    QTest::addColumn<QString>("shown");

    QTest::newRow("ASCII") << QByteArray("/w/site.qmk") << QStringLiteral("/w/site.qmk");
    QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9 \xF0\x9F\x98\x80")
                           << QStringLiteral("caf\u00E9 \U0001F600");
    QTest::newRow("Latin-1 byte") << QByteArray("out\xFF.html") << QStringLiteral("out\\xff.html");
    QTest::newRow("cut-off character") << QByteArray("a\xC3") << QStringLiteral("a\\xc3");
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << QStringLiteral("\\xc0\\xaf");
    QTest::newRow("encoded surrogate")
        << QByteArray("\xED\xA0\x80") << QStringLiteral("\\xed\\xa0\\x80");
}

void TestFiles::nativeNames()
{
    QFETCH(QByteArray, native);
    QFETCH(QString, shown);
    const QString name = nameFromNative(native);
    QCOMPARE(nativeName(name), native);
    QCOMPARE(displayName(name), shown);
}

// Whatever the bytes, apply and gather never fault, and one round brings the record
// to a fixed point that holds the same document.
void TestFiles::randomRecords()
{
    QRandomGenerator rng(20240611);
    for (int i = 0; i < 100000; ++i) {
        const TProjectRecord r = randomRecord(rng);
        TagDocument doc = TagDocument::startUp();
        doc.setMode(i % 2 ? GenerationMode::MetaOnly : GenerationMode::FullPage);
        ApplyProject(r, doc);
        const qsizetype lines = generateMetaCode(doc).size();
        if (lines < 11 || lines > 46)
            QFAIL(qPrintable(QStringLiteral("record %1 gave %2 lines").arg(i).arg(lines)));

        const TProjectRecord once = GatherProject(doc);
        TagDocument again = TagDocument::startUp();
        again.setMode(doc.mode());
        ApplyProject(once, again);
        // The same document gathers to the same record, so `once` is the fixed point.
        if (!(again == doc))
            QFAIL(qPrintable(QStringLiteral("record %1 is no fixed point").arg(i)));
    }
}

void TestFiles::randomTruncations()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cut.qmk"));
    QRandomGenerator rng(99);
    const QByteArray whole = bytesOf(randomRecord(rng)) + QByteArray(100, 'x');
    for (int i = 0; i < 200; ++i) {
        const int size = int(rng.bounded(whole.size() + 1));
        QVERIFY(writeFile(path, whole.left(size)));
        TProjectRecord r;
        QString error;
        const bool ok = LoadProjectFile(path, &r, &error);
        QCOMPARE(ok, size >= TProjectRecord::Size);
        QCOMPARE(r, ok ? recordOf(whole) : TProjectRecord{});
        if (!ok)
            QCOMPARE(error, QStringLiteral("Read beyond end of file"));
    }
}

void TestFiles::pathInFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");

    QTest::newRow("plain") << u"/opt/q"_s << u"readme.txt"_s << u"/opt/q/readme.txt"_s;
    QTest::newRow("root") << u"/"_s << u"help"_s << u"/help"_s;
    QTest::newRow("trailing separator") << u"/opt/q/"_s << u"help"_s << u"/opt/q/help"_s;
    QTest::newRow("blank in folder") << u"/my site"_s << u"help"_s << u"/my site/help"_s;
}

void TestFiles::pathInFolder()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, path);
    QCOMPARE(quill::pathInFolder(folder, name), path);
}

void TestFiles::shellUrl_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QUrl>("url");

    QTest::newRow("web") << u"https://www.quillmark.example/"_s
                         << QUrl(u"https://www.quillmark.example/"_s);
    QTest::newRow("mail") << u"mailto:support@quillmark.example"_s
                          << QUrl(u"mailto:support@quillmark.example"_s);
    QTest::newRow("absolute path")
        << u"/opt/q/help/index.html"_s << QUrl(u"file:///opt/q/help/index.html"_s);
    // Characters that mean something in an address are part of a file's name.
    QTest::newRow("hash and blank")
        << u"/my #1 site/readme.txt"_s << QUrl::fromLocalFile(u"/my #1 site/readme.txt"_s);
    // Joined with one separator, the root's help folder stays local, with no host.
    QTest::newRow("root help page")
        << quill::pathInFolder(u"/"_s, u"help/index.html"_s) << QUrl(u"file:///help/index.html"_s);
}

void TestFiles::shellUrl()
{
    QFETCH(QString, target);
    QFETCH(QUrl, url);
    const QUrl actual = quill::shellUrl(target);
    QCOMPARE(actual, url);
    if (actual.isLocalFile()) {
        QCOMPARE(actual.host(), QString());
        QCOMPARE(actual.toLocalFile(), target);
    }
}

void TestFiles::searchWords_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("value");

    QTest::newRow("none") << QString() << QString();
    QTest::newRow("hash and blank") << u"C# tutorial"_s << u"C%23%20tutorial"_s;
    QTest::newRow("ampersand") << u"salt & pepper"_s << u"salt%20%26%20pepper"_s;
    QTest::newRow("plus and equals") << u"a+b=c"_s << u"a%2Bb%3Dc"_s;
    QTest::newRow("percent and question mark") << u"100% ?"_s << u"100%25%20%3F"_s;
    QTest::newRow("unreserved stay") << u"Meta-tags_1.0~"_s << u"Meta-tags_1.0~"_s;
    QTest::newRow("Latin-1 byte") << u"caf\u00e9 \u00ff"_s << u"caf%E9%20%FF"_s;
    // The euro sign has a Windows-1252 byte, but the address declares ISO-8859-1.
    QTest::newRow("outside the set") << u"\u20ac\u03a9"_s << u"%3F%3F"_s;
    QTest::newRow("one character, two units") << u"\U0001F600"_s << u"%3F"_s;
}

// The value, and the address it completes, reach the shell as they are.
void TestFiles::searchWords()
{
    QFETCH(QString, words);
    QFETCH(QString, value);
    QCOMPARE(quill::latin1QueryValue(words), value);
    const QString address = u"http://www.google.com/search?hl=en&lr=&ie=ISO-8859-1&q="_s + value;
    QCOMPARE(quill::shellUrl(address).toString(QUrl::FullyEncoded), address);
}

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
