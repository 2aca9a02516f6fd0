// The project record, its file and the file layer's messages.

#include "document/meta_generator.h"
#include "document/tag_document.h"
#include "files/file_io.h"
#include "files/project_file.h"
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
    void tails_data();
    void tails();
    void changedRecordWins_data();
    void changedRecordWins();
    void cutTails();

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

// Every stored value comes back, the Preferences texts and 8-bit characters included,
// in every set: where the record cannot hold a text, the tail holds it whole.
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
    for (int set = -1; set <= int(characterSetCatalogue().size()); ++set) {
        doc.setIndex(Field::ComboBox4, set < int(characterSetCatalogue().size()) ? set : -1);
        const ProjectFile file = GatherProjectFile(doc);
        // A set that holds the characters keeps them in the record alone; UTF-8 takes
        // more bytes than the capacities.
        const CharacterSet charset = CharacterSet::of(doc);
        QCOMPARE(file.tail.isEmpty(),
                 !charset.isUtf8() && charset.lacking(doc.text(Field::Edit1)).isEmpty());
        TagDocument back = TagDocument::startUp();
        QString note;
        ApplyProjectFile(file, back, &note);
        QCOMPARE(note, QString());
        QCOMPARE(back, doc);
    }
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
    // U+FEFF is a character anywhere in a name, not a byte-order mark to drop.
    QTest::newRow("zero-width no-break space")
        << QByteArray("\xEF\xBB\xBF.\xEF\xBB\xBF") << QStringLiteral("\uFEFF.\uFEFF");
}

void TestFiles::nativeNames()
{
    QFETCH(QByteArray, native);
    QFETCH(QString, shown);
    const QString name = nameFromNative(native);
    QCOMPARE(nativeName(name), native);
    QCOMPARE(displayName(name), shown);
}

// Whatever the bytes, apply and gather never fault, and one round brings the file to a
// fixed point that holds the same document.
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

        const ProjectFile once = GatherProjectFile(doc);
        TagDocument again = TagDocument::startUp();
        again.setMode(doc.mode());
        QString note;
        ApplyProjectFile(once, again, &note);
        // The same document gathers to the same file, so `once` is the fixed point.
        if (!(again == doc) || !note.isEmpty())
            QFAIL(qPrintable(QStringLiteral("record %1 is no fixed point").arg(i)));
    }
}

// What follows the record never makes Open fail: a tail is used where it agrees with
// the record, passed over where it is another program's, and ignored with a note where
// it is damaged.
void TestFiles::tails_data()
{
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<QString>("description"); // as Open leaves it
    QTest::addColumn<bool>("noted");

    // The record, in ISO-8859-5, holds "Ж??" for the description (a lacking character
    // as '?'); the whole text is "ЖΩΩ".
    const QByteArray whole =
        "Quillmark-Texts 1\n{\n    \"description\": \"\u0416\u03a9\u03a9\"\n}\n";
    const QString kept = u"\u0416??"_s;
    const QString full = u"\u0416\u03A9\u03A9"_s;
    QTest::newRow("none") << QByteArray() << kept << false;
    QTest::newRow("whole texts") << whole << full << false;
    QTest::newRow("one line, blanks between")
        << "Quillmark-Texts 1\n { \"description\" : \"\u0416\u03a9\u03a9\" }\n"_ba << full << false;
    QTest::newRow("unknown keys and other kinds pass")
        << "Quillmark-Texts 1\n{\"x\": [1], \"robots\": \"None\", \"title\": 5, "
           "\"description\": \"\u0416\u03a9\u03a9\"}\n"_ba
        << full << false;
    QTest::newRow("a text the record does not agree with")
        << "Quillmark-Texts 1\n{\"description\": \"\u0416\u03a9\u03a9!\"}\n"_ba << kept << false;
    QTest::newRow("another program's bytes") << QByteArray(300, 'x') << kept << false;
    QTest::newRow("not JSON") << "Quillmark-Texts 1\n<texts/>\n"_ba << kept << true;
    QTest::newRow("not UTF-8") << "Quillmark-Texts 1\n{\"description\": \"\xff\"}\n"_ba << kept
                               << true;
    QTest::newRow("more after the object") << whole + "{}\n" << kept << true;
    QTest::newRow("a later form") << QByteArray(whole).replace("Texts 1", "Texts 2") << kept
                                  << true;
}

void TestFiles::tails()
{
    QFETCH(QByteArray, tail);
    QFETCH(QString, description);
    QFETCH(bool, noted);

    TagDocument doc = TagDocument::startUp();
    doc.setIndex(Field::ComboBox4, 4);
    doc.setText(Field::Edit1, u"\u0416\u03A9\u03A9"_s);
    const QByteArray record = bytesOf(GatherProject(doc));
    QTemporaryDir dir;
    const QString path = dir.filePath(u"p.qmk"_s);
    QVERIFY(writeFile(path, record + tail));

    ProjectFile file;
    QString error;
    QVERIFY2(LoadProjectFile(path, &file, &error), qPrintable(error));
    TagDocument opened = TagDocument::startUp();
    QString note;
    ApplyProjectFile(file, opened, &note);
    QCOMPARE(opened.text(Field::Edit1), description);
    QCOMPARE(!note.isEmpty(), noted);
    QCOMPARE(opened.index(Field::ComboBox4), 4);
}

// A record another program changed wins over the tail Save wrote with it; so does a
// change of the set.
void TestFiles::changedRecordWins_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("title");

    const QString whole = QString(40, QChar(0x03A9));
    const int title = fieldDef(Field::Edit6).offset;
    QTest::newRow("as saved") << title << QByteArray() << whole;
    QTest::newRow("text changed") << title + 1 << QByteArray("\xc1")
                                  << u"\u0391"_s + whole.left(29);
    QTest::newRow("shortened") << title << QByteArray("\x1d") << whole.left(29);
    QTest::newRow("set changed") << fieldDef(Field::ComboBox4).offset << QByteArray("\x04")
                                 << u"\u0439"_s.repeated(30);
}

void TestFiles::changedRecordWins()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, title);

    TagDocument doc = TagDocument::startUp();
    doc.setIndex(Field::ComboBox4, 6);
    doc.setText(Field::Edit6, QString(40, QChar(0x03A9)));
    ProjectFile file = GatherProjectFile(doc);
    QVERIFY(!file.tail.isEmpty());
    std::memcpy(file.record.bytes.data() + offset, bytes.constData(), std::size_t(bytes.size()));
    TagDocument opened = TagDocument::startUp();
    QString note;
    ApplyProjectFile(file, opened, &note);
    QCOMPARE(opened.text(Field::Edit6), title);
    QCOMPARE(note, QString());
}

// Cut anywhere, a file with a tail opens: whole, or with the record's texts and a note.
void TestFiles::cutTails()
{
    TagDocument doc = TagDocument::startUp();
    doc.setIndex(Field::ComboBox4, 9);
    doc.setText(Field::Edit6, QString(75, QChar(0x65E5)));
    doc.setText(Field::Edit1, u"caf\u00E9 \"quoted\"\n\t\\"_s.repeated(30));
    const ProjectFile saved = GatherProjectFile(doc);
    const QByteArray bytes = projectFileBytes(saved);
    TagDocument recordOnly = TagDocument::startUp();
    ApplyProject(saved.record, recordOnly);
    for (qsizetype size = TProjectRecord::Size; size <= bytes.size(); ++size) {
        ProjectFile file{saved.record,
                         bytes.sliced(TProjectRecord::Size, size - TProjectRecord::Size)};
        TagDocument opened = TagDocument::startUp();
        QString note;
        ApplyProjectFile(file, opened, &note);
        const bool whole = size == bytes.size();
        const bool none = file.tail.size() < qsizetype(sizeof "Quillmark-Texts ") - 1;
        if (!(opened == (whole ? doc : recordOnly)) || note.isEmpty() == !(whole || none))
            QFAIL(qPrintable(QStringLiteral("cut at %1").arg(size)));
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
