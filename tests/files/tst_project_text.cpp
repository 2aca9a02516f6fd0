// The text form of project files: show and pack.

#include "document/ansi_codec.h"
#include "document/tag_document.h"
#include "files/project_record.h"
#include "files/project_text.h"

#include "common/project_records.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

using namespace quill;

namespace {

const QString source = QStringLiteral("in.json");

TProjectRecord pack(const QByteArray &json)
{
    TProjectRecord record;
    QStringList errors;
    if (!projectFromJson(json, source, &record, &errors))
        qWarning("%s", qPrintable(errors.join(QLatin1Char('\n'))));
    return record;
}

TProjectRecord openThenSave(const TProjectRecord &record)
{
    TagDocument doc = TagDocument::startUp();
    ApplyProject(record, doc);
    return GatherProject(doc);
}

QStringList linesOf(const QByteArray &text)
{
    return QString::fromUtf8(text).split(QLatin1Char('\n'));
}

// Texts of any bytes up to a little beyond their capacity, lists also outside their
// items: what the windows may hold before a save.
TagDocument randomDocument(QRandomGenerator &rng)
{
    TagDocument doc = TagDocument::startUp();
    for (const FieldDef &def : fieldCatalogue()) {
        switch (def.kind) {
        case FieldKind::Edit: {
            QByteArray bytes(rng.bounded(def.capacity + 3), '\0');
            for (char &b : bytes)
                b = char(rng.bounded(256));
            doc.setText(def.id, decodeAnsi(bytes));
            break;
        }
        case FieldKind::List:
            doc.setIndex(def.id, rng.bounded(-2, int(def.items.size()) + 2));
            break;
        case FieldKind::Check:
            doc.setChecked(def.id, rng.bounded(2));
            break;
        }
    }
    return doc;
}

} // namespace

class TestProjectText : public QObject
{
    Q_OBJECT

private slots:
    void writtenRecordsComeBack();
    void anyRecordComesBackAsOpenLeavesIt();
    void everyByteThroughTexts();
    void escapes_data();
    void escapes();
    void jsonLayout();
    void accepted_data();
    void accepted();
    void rejected_data();
    void rejected();
    void normalisations_data();
    void normalisations();
    void randomSources();
};

// A record the program writes comes back byte for byte, with nothing to warn about.
void TestProjectText::writtenRecordsComeBack()
{
    QRandomGenerator rng(14);
    for (int i = 0; i < 1000; ++i) {
        const TProjectRecord written = GatherProject(randomDocument(rng));
        if (!projectNormalisations(written).isEmpty() || pack(projectToJson(written)) != written)
            QFAIL(qPrintable(QStringLiteral("record %1").arg(i)));
    }
}

// Any 1640 bytes come back as Open then Save would write them, and showing that shows
// the same again.
void TestProjectText::anyRecordComesBackAsOpenLeavesIt()
{
    QRandomGenerator rng(1640);
    for (int i = 0; i < 1000; ++i) {
        const TProjectRecord record = randomRecord(rng);
        const TProjectRecord packed = pack(projectToJson(record));
        if (packed != openThenSave(record))
            QFAIL(qPrintable(QStringLiteral("record %1: pack(show) differs").arg(i)));
        if (projectToLines(packed) != projectToLines(record) ||
            projectToJson(packed) != projectToJson(record))
            QFAIL(qPrintable(QStringLiteral("record %1: show(pack(show)) differs").arg(i)));
    }
}

// Every byte value is a character of its own: a JSON reader gets the codec's text,
// and pack stores the bytes again.
void TestProjectText::everyByteThroughTexts()
{
    TProjectRecord record = GatherProject(TagDocument::startUp());
    const FieldDef &description = fieldDef(Field::Edit1);
    const FieldDef &keywords = fieldDef(Field::Edit2);
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    const auto put = [&record](const FieldDef &def, const QByteArray &bytes) {
        record.bytes[std::size_t(def.offset)] = std::uint8_t(bytes.size());
        std::memcpy(record.bytes.data() + def.offset + 1, bytes.constData(), bytes.size());
    };
    put(description, all.left(description.capacity));
    put(keywords, all.mid(description.capacity));

    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(projectToJson(record), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(object.value(QLatin1StringView(description.key)).toString() +
                 object.value(QLatin1StringView(keywords.key)).toString(),
             decodeAnsi(all));
    QCOMPARE(pack(projectToJson(record)), record);
}

// How a one-character title is written: the line form keeps every control character,
// C1 included, visible.
void TestProjectText::escapes_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("written");

    QTest::newRow("nul") << 0x00 << QStringLiteral(R"("\u0000")");
    QTest::newRow("tab") << 0x09 << QStringLiteral(R"("\t")");
    QTest::newRow("line feed") << 0x0A << QStringLiteral(R"("\n")");
    QTest::newRow("quote") << 0x22 << QStringLiteral(R"("\"")");
    QTest::newRow("backslash") << 0x5C << QStringLiteral(R"("\\")");
    QTest::newRow("delete") << 0x7F << QStringLiteral(R"("\u007f")");
    QTest::newRow("euro") << 0x80 << QStringLiteral("\"\u20AC\"");
    QTest::newRow("undefined 0x81") << 0x81 << QStringLiteral(R"("\u0081")");
    QTest::newRow("no-break space") << 0xA0 << QStringLiteral("\"\u00A0\"");
}

void TestProjectText::escapes()
{
    QFETCH(int, byte);
    QFETCH(QString, written);

    TProjectRecord record = GatherProject(TagDocument::startUp());
    const FieldDef &title = fieldDef(Field::Edit6);
    record.bytes[std::size_t(title.offset)] = 1;
    record.bytes[std::size_t(title.offset) + 1] = std::uint8_t(byte);
    QVERIFY(linesOf(projectToLines(record)).contains(QStringLiteral("title: ") + written));
    QCOMPARE(pack(projectToJson(record)), record);
}

// One member per line in record order, four blanks in, LF, a final newline; the line
// form has the same values in the same order.
void TestProjectText::jsonLayout()
{
    const TProjectRecord record = GatherProject(TagDocument::startUp());
    const QStringList json = linesOf(projectToJson(record));
    const QStringList lines = linesOf(projectToLines(record));
    const auto catalogue = fieldCatalogue();
    QCOMPARE(json.size(), qsizetype(catalogue.size()) + 3);
    QCOMPARE(json.first(), QStringLiteral("{"));
    QCOMPARE(json.at(json.size() - 2), QStringLiteral("}"));
    QCOMPARE(json.last(), QString());
    QCOMPARE(lines.size(), qsizetype(catalogue.size()) + 1);
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const QString key = QLatin1StringView(catalogue[i].key);
        const QString value = lines.at(qsizetype(i)).section(QStringLiteral(": "), 1);
        QCOMPARE(lines.at(qsizetype(i)), key + QStringLiteral(": ") + value);
        const QString comma = i + 1 < catalogue.size() ? QStringLiteral(",") : QString();
        QCOMPARE(json.at(qsizetype(i) + 1),
                 QStringLiteral("    \"") + key + QStringLiteral("\": ") + value + comma);
        QCOMPARE(findFieldByKey(key), &catalogue[i]);
    }
    QVERIFY(!projectToJson(record).contains('\r'));
}

// What pack accepts: each row changes one value from its start-up value, and show
// gives back exactly that value.
void TestProjectText::accepted_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("changedLine"); // empty when nothing changes

    QTest::newRow("empty object") << QByteArray("{}") << QString();
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF{}") << QString();
    QTest::newRow("no date") << QByteArray(R"({"dc-date": ""})")
                             << QStringLiteral(R"(dc-date: "")");
    QTest::newRow("no selection") << QByteArray(R"({"distribution": null})")
                                  << QStringLiteral("distribution: null");
    QTest::newRow("box") << QByteArray(R"({"style-type-other-checked": true})")
                         << QStringLiteral("style-type-other-checked: true");
    QTest::newRow("escaped key") << QByteArray(R"({"t\u0069tle": "x"})")
                                 << QStringLiteral(R"(title: "x")");
    QTest::newRow("full capacity") << QByteArray(R"({"author": "123456789012345678901234567890"})")
                                   << QStringLiteral(R"(author: "123456789012345678901234567890")");
    QTest::newRow("8-bit characters, raw and escaped")
        << QByteArray("{\"title\": \"\xE2\x82\xAC\\u00e9\\u0081 ?\"}")
        << QStringLiteral("title: \"\u20AC\u00E9\\u0081 ?\"");
    QTest::newRow("separators inside the value")
        << QByteArray("{\n  \"title\" :\n  \"a\\\", b}: [{\"\n}")
        << QStringLiteral(R"(title: "a\", b}: [{")");
}

void TestProjectText::accepted()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, changedLine);

    TProjectRecord record;
    QStringList errors;
    QVERIFY2(projectFromJson(json, source, &record, &errors),
             qPrintable(errors.join(QLatin1Char('\n'))));
    QVERIFY(errors.isEmpty());

    QStringList expected = linesOf(projectToLines(GatherProject(TagDocument::startUp())));
    if (!changedLine.isEmpty()) {
        const QString key = changedLine.section(QStringLiteral(": "), 0, 0);
        const auto at = std::find_if(expected.begin(), expected.end(), [&key](const QString &l) {
            return l.startsWith(key + QStringLiteral(": "));
        });
        QVERIFY(at != expected.end());
        *at = changedLine;
    }
    QCOMPARE(linesOf(projectToLines(record)), expected);
}

// Every fault is found and named, and nothing is stored.
void TestProjectText::rejected_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QStringList>("errors");

    const auto one = [](const char *line) { return QStringList{QString::fromUtf8(line)}; };

    QTest::newRow("empty") << QByteArray() << one("in.json:1:1: empty");
    QTest::newRow("blanks only") << QByteArray(" \n ") << one("in.json:1:1: empty");
    QTest::newRow("byte-order mark only")
        << QByteArray("\xEF\xBB\xBF") << one("in.json:1:1: empty");
    QTest::newRow("not UTF-8") << QByteArray("{\"title\": \"\xC3\xA9\xFF\"}")
                               << one("in.json:1:13: not UTF-8");
    QTest::newRow("overlong UTF-8")
        << QByteArray("{\"title\": \"\xC0\xA2\"}") << one("in.json:1:12: not UTF-8");
    QTest::newRow("not JSON") << QByteArray("{\n  \"title\" \"x\"\n}")
                              << one("in.json:2:11: ':' expected after the key");
    QTest::newRow("text after the object")
        << QByteArray("{}\n{}") << one("in.json:2:1: text after the object");
    QTest::newRow("NUL after the object")
        << QByteArray("{}\0", 3) << one("in.json:1:3: text after the object");
    QTest::newRow("cut short") << QByteArray(R"({"title": "x")")
                               << one("in.json:1:14: the text ends inside the object");
    QTest::newRow("comma before the end")
        << QByteArray(R"({"title": "x",})") << one("in.json:1:15: a key in double quotes expected");
    QTest::newRow("deep nesting") << "{\"title\": " + QByteArray(100000, '[')
                                  << one("in.json:1:100011: the text ends inside the object");
    const QString escapes = QStringLiteral(
        " (a backslash in a string begins one of \\\" \\\\ \\/ \\b \\f \\n \\r \\t \\uXXXX)");
    QTest::newRow("invalid escape in a value")
        << QByteArray(R"({"title": "C:\windows\path"})")
        << QStringList{QStringLiteral(R"(in.json:1:14: invalid escape \w)") + escapes};
    QTest::newRow("invalid escape in a key")
        << QByteArray(R"({"clas\sification": null})")
        << QStringList{QStringLiteral(R"(in.json:1:7: invalid escape \s)") + escapes};
    QTest::newRow("short \\u escape")
        << QByteArray(R"({"title": "\u00e"})")
        << one(R"(in.json:1:12: \u must be followed by four hexadecimal digits)");
    QTest::newRow("raw tab in a string")
        << QByteArray("{\"title\": \"a\tb\"}")
        << one("in.json:1:13: control character U+0009 inside a string; write it as an escape");
    QTest::newRow("raw line feed in a string")
        << QByteArray("{\"title\": \"a\nb\"}")
        << one("in.json:1:13: control character U+000A inside a string; write it as an escape");
    QTest::newRow("raw NUL in a string")
        << QByteArray("{\"title\": \"a\0b\"}", 17)
        << one("in.json:1:13: control character U+0000 inside a string; write it as an escape");
    QTest::newRow("array") << QByteArray(" [{}]")
                           << one("in.json:1:2: the top level is not an object");

    QTest::newRow("unknown key") << QByteArray(R"({"Title": "x"})")
                                 << one(R"(in.json:1:2: unknown key "Title")");
    QTest::newRow("key given twice") << QByteArray("{\"title\": \"a\",\n \"title\": \"a\"}")
                                     << one("in.json:2:2: title: given more than once");

    QTest::newRow("text as number")
        << QByteArray(R"({"title": 1})") << one("in.json:1:2: title: takes a string, not a number");
    QTest::newRow("list as number")
        << QByteArray(R"({"robots": 3})")
        << one("in.json:1:2: robots: takes one of its items or null, not a number");
    for (const char *box : {"0", "1", "\"true\"", "null"}) {
        const QByteArray value(box);
        const QString type = value == "null"   ? QStringLiteral("null")
                             : value[0] == '"' ? QStringLiteral("a string")
                                               : QStringLiteral("a number");
        QTest::addRow("box as %s", box)
            << R"({"script-type-other-checked": )" + value + '}'
            << QStringList{QStringLiteral("in.json:1:2: script-type-other-checked: takes true or "
                                          "false, not ") +
                           type};
    }
    QTest::newRow("array for a text, keys inside it not members")
        << QByteArray(R"({"title": [1, {"x": 2}]})")
        << one("in.json:1:2: title: takes a string, not an array");
    QTest::newRow("item in another case")
        << QByteArray(R"({"pragma": "cache"})")
        << one(R"(in.json:1:2: pragma: "cache" is none of its items: "Cache", "No-Cache")");
    QTest::newRow("beyond the capacity, within the typing limit")
        << QByteArray(R"({"author": "1234567890123456789012345678901"})")
        << one("in.json:1:2: author: 31 characters, more than the 30 the field holds");
    QTest::newRow("8-bit characters count one each")
        << QByteArray("{\"dc-language\": \"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\"}")
        << one("in.json:1:2: dc-language: 6 characters, more than the 5 the field holds");
    QTest::newRow("outside the 8-bit set")
        << QByteArray("{\"title\": \"\xE4\xB8\xAD\xE4\xB8\xAD\\u0100\"}")
        << one("in.json:1:2: title: characters outside the 8-bit character set: U+4E2D, U+0100");
    QTest::newRow("lone high surrogate")
        << QByteArray(R"({"title": "a\ud800"})")
        << one(R"(in.json:1:13: a \u escape of half a surrogate pair without its other half)");
    QTest::newRow("lone low surrogate")
        << QByteArray(R"({"title": "a\udc00"})")
        << one("in.json:1:2: title: a character outside the 8-bit character set: U+DC00");
    QTest::newRow("beyond 16 bits")
        << QByteArray("{\"title\": \"\xF0\x9F\x98\x80\"}")
        << one("in.json:1:2: title: a character outside the 8-bit character set: U+1F600");

    QTest::newRow("every fault, in order")
        << QByteArray("{\"title\": 1,\n \"x\": 2,\n \"comment\": \"\\u0100\",\n \"title\": \"\"}")
        << QStringList{
               QStringLiteral("in.json:1:2: title: takes a string, not a number"),
               QStringLiteral(R"(in.json:2:2: unknown key "x")"),
               QStringLiteral(
                   "in.json:3:2: comment: a character outside the 8-bit character set: U+0100"),
               QStringLiteral("in.json:4:2: title: given more than once"),
           };
}

void TestProjectText::rejected()
{
    QFETCH(QByteArray, json);
    QFETCH(QStringList, errors);

    TProjectRecord record;
    record.bytes.fill(0xAA);
    const TProjectRecord untouched = record;
    QStringList got;
    QVERIFY(!projectFromJson(json, source, &record, &got));
    QCOMPARE(got, errors);
    QCOMPARE(record, untouched);
}

// Stored values Open changes are named with what was stored; the bytes Open ignores
// are not.
void TestProjectText::normalisations_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("warning"); // empty for none
    QTest::addColumn<QString>("shown");   // the field's line; empty for no field

    const auto at = [](Field f) { return fieldDef(f).offset; };
    QTest::newRow("list beyond its items")
        << at(Field::ComboBox1) << QByteArray("\x07\0\0\0", 4)
        << QStringLiteral("distribution: stored position 7 is none of its items; shown as null")
        << QStringLiteral("distribution: null");
    QTest::newRow("list below -1")
        << at(Field::ComboBox13) << QByteArray("\xFE\xFF\xFF\xFF")
        << QStringLiteral("classification: stored position -2 is none of its items; shown as null")
        << QStringLiteral("classification: null");
    QTest::newRow("list at -1") << at(Field::ComboBox1) << QByteArray("\xFF\xFF\xFF\xFF")
                                << QString() << QStringLiteral("distribution: null");
    QTest::newRow("box byte 2")
        << at(Field::CheckBox2) << QByteArray("\x02")
        << QStringLiteral("script-type-other-checked: stored byte 2 is neither 0 nor 1; shown as "
                          "false")
        << QStringLiteral("script-type-other-checked: false");
    QTest::newRow("length beyond the capacity")
        << at(Field::Edit24)
        << QByteArray("\x0B"
                      "2002-06-01")
        << QStringLiteral("dc-date: stored length 11 is beyond its capacity; cut to 10 characters")
        << QStringLiteral(R"(dc-date: "2002-06-01")");
    QTest::newRow("length at the capacity")
        << at(Field::Edit24)
        << QByteArray("\x0A"
                      "2002-06-01")
        << QString() << QStringLiteral(R"(dc-date: "2002-06-01")");
    QTest::newRow("padding") << 579 << QByteArray("\xFF") << QString() << QString();
}

void TestProjectText::normalisations()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, warning);
    QFETCH(QString, shown);

    TProjectRecord record = GatherProject(TagDocument::startUp());
    std::memcpy(record.bytes.data() + offset, bytes.constData(), std::size_t(bytes.size()));
    QCOMPARE(projectNormalisations(record),
             warning.isEmpty() ? QStringList() : QStringList{warning});
    if (!shown.isEmpty())
        QVERIFY(linesOf(projectToLines(record)).contains(shown));
}

// Cut and damaged sources never fault: either the object is accepted or at least one
// fault is named, and nothing is stored then.
void TestProjectText::randomSources()
{
    QRandomGenerator rng(2024);
    const TProjectRecord unset = {};
    for (int i = 0; i < 2000; ++i) {
        QByteArray json = projectToJson(randomRecord(rng));
        if (i % 2)
            json.truncate(rng.bounded(json.size() + 1));
        for (int flips = rng.bounded(4); flips > 0 && !json.isEmpty(); --flips)
            json[rng.bounded(json.size())] = char(rng.bounded(256));
        TProjectRecord record;
        QStringList errors;
        const bool ok = projectFromJson(json, source, &record, &errors);
        if (ok != errors.isEmpty() || (!ok && record != unset))
            QFAIL(qPrintable(QStringLiteral("source %1").arg(i)));
    }
}

QTEST_GUILESS_MAIN(TestProjectText)
#include "tst_project_text.moc"
