// The text form of project files: show and pack.

#include "document/ansi_codec.h"
#include "document/tag_document.h"
#include "files/project_file.h"
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

// What pack takes from the JSON text; the start-up document when it refuses it.
TagDocument packed(const QByteArray &json)
{
    TagDocument doc = TagDocument::startUp();
    QStringList errors;
    if (!projectFromJson(json, source, &doc, &errors))
        qWarning("%s", qPrintable(errors.join(QLatin1Char('\n'))));
    return doc;
}

TagDocument opened(const ProjectFile &file)
{
    TagDocument doc = TagDocument::startUp();
    QString note;
    ApplyProjectFile(file, doc, &note);
    return doc;
}

QStringList linesOf(const QByteArray &text)
{
    return QString::fromUtf8(text).split(QLatin1Char('\n'));
}

// What the windows may hold before a save: texts of any characters up to the longest
// the window gives the field, lists also outside their items.
TagDocument randomDocument(QRandomGenerator &rng)
{
    static const QString others = QStringLiteral("\u03A9\u0416\u05D0\u0627\u65E5\u00E9\u20AC");
    TagDocument doc = TagDocument::startUp();
    for (const FieldDef &def : fieldCatalogue()) {
        switch (def.kind) {
        case FieldKind::Edit: {
            QByteArray bytes(rng.bounded(longestText(def) + 1), '\0');
            for (char &b : bytes)
                b = char(rng.bounded(256));
            QString text = decodeAnsi(bytes);
            for (QChar &c : text) {
                if (rng.bounded(4) == 0)
                    c = others.at(rng.bounded(others.size()));
            }
            doc.setText(def.id, text);
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
    void writtenFilesComeBack();
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

// A file the program writes comes back byte for byte, with nothing to warn about.
void TestProjectText::writtenFilesComeBack()
{
    QRandomGenerator rng(14);
    for (int i = 0; i < 1000; ++i) {
        const ProjectFile written = GatherProjectFile(randomDocument(rng));
        if (!projectNormalisations(written.record).isEmpty() ||
            GatherProjectFile(packed(projectToJson(opened(written)))) != written)
            QFAIL(qPrintable(QStringLiteral("document %1").arg(i)));
    }
}

// Any 1640 bytes come back as Open then Save would write them, and showing that shows
// the same again.
void TestProjectText::anyRecordComesBackAsOpenLeavesIt()
{
    QRandomGenerator rng(1640);
    for (int i = 0; i < 1000; ++i) {
        const TagDocument doc = opened({randomRecord(rng), {}});
        const TagDocument back = packed(projectToJson(doc));
        if (GatherProjectFile(back) != GatherProjectFile(doc))
            QFAIL(qPrintable(QStringLiteral("record %1: pack(show) differs").arg(i)));
        if (projectToLines(back) != projectToLines(doc) ||
            projectToJson(back) != projectToJson(doc))
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
    QCOMPARE(GatherProjectFile(packed(projectToJson(record))), (ProjectFile{record, {}}));
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
    QCOMPARE(GatherProject(packed(projectToJson(record))), record);
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
    QTest::newRow("beyond the capacity, within the typing limit")
        << "{\"author\": \"" + QByteArray(75, 'a') + "\"}"
        << QStringLiteral("author: \"%1\"").arg(QString(75, u'a'));
    QTest::newRow("as long as QuickInsert makes it")
        << "{\"dc-description\": \"" + QByteArray(250, 'd') + "\"}"
        << QStringLiteral("dc-description: \"%1\"").arg(QString(250, u'd'));
    QTest::newRow("any character, raw and escaped")
        << QByteArray("{\"title\": \"\xE2\x82\xAC\\u00e9\\u0081 ?\xE4\xB8\xAD\\u0100"
                      "\xF0\x9F\x98\x80\"}")
        << QStringLiteral("title: \"\u20AC\u00E9\\u0081 ?\u4E2D\u0100\U0001F600\"");
    QTest::newRow("U+FEFF starting a text is a character")
        << QByteArray("{\"title\": \"\\ufeffx\"}") << QStringLiteral("title: \"\uFEFFx\"");
    QTest::newRow("separators inside the value")
        << QByteArray("{\n  \"title\" :\n  \"a\\\", b}: [{\"\n}")
        << QStringLiteral(R"(title: "a\", b}: [{")");
}

void TestProjectText::accepted()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, changedLine);

    TagDocument doc;
    QStringList errors;
    QVERIFY2(projectFromJson(json, source, &doc, &errors),
             qPrintable(errors.join(QLatin1Char('\n'))));
    QVERIFY(errors.isEmpty());

    QStringList expected = linesOf(projectToLines(TagDocument::startUp()));
    if (!changedLine.isEmpty()) {
        const QString key = changedLine.section(QStringLiteral(": "), 0, 0);
        const auto at = std::find_if(expected.begin(), expected.end(), [&key](const QString &l) {
            return l.startsWith(key + QStringLiteral(": "));
        });
        QVERIFY(at != expected.end());
        *at = changedLine;
    }
    QCOMPARE(linesOf(projectToLines(doc)), expected);
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
    QTest::newRow("beyond the typing limit")
        << "{\"author\": \"" + QByteArray(76, 'a') + "\"}"
        << one("in.json:1:2: author: 76 characters, more than the 75 the field takes");
    QTest::newRow("beyond what QuickInsert gives")
        << "{\"dc-description\": \"" + QByteArray(251, 'd') + "\"}"
        << one("in.json:1:2: dc-description: 251 characters, more than the 250 the field takes");
    QTest::newRow("characters count one each")
        << QByteArray("{\"dc-language\": \"\xC3\xA9\xCE\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\"}")
        << one("in.json:1:2: dc-language: 6 characters, more than the 5 the field takes");
    QTest::newRow("lone high surrogate")
        << QByteArray(R"({"title": "a\ud800"})")
        << one(R"(in.json:1:13: a \u escape of half a surrogate pair without its other half)");
    QTest::newRow("lone low surrogate")
        << QByteArray(R"({"title": "a\udc00"})")
        << one("in.json:1:2: title: half a surrogate pair is no character: U+DC00");

    QTest::newRow("every fault, in order")
        << QByteArray("{\"title\": 1,\n \"x\": 2,\n \"comment\": \"\\udc00\",\n \"title\": \"\"}")
        << QStringList{
               QStringLiteral("in.json:1:2: title: takes a string, not a number"),
               QStringLiteral(R"(in.json:2:2: unknown key "x")"),
               QStringLiteral(
                   "in.json:3:2: comment: half a surrogate pair is no character: U+DC00"),
               QStringLiteral("in.json:4:2: title: given more than once"),
           };
}

void TestProjectText::rejected()
{
    QFETCH(QByteArray, json);
    QFETCH(QStringList, errors);

    TagDocument doc = TagDocument::startUp();
    doc.setText(Field::Edit1, QStringLiteral("untouched"));
    const TagDocument untouched = doc;
    QStringList got;
    QVERIFY(!projectFromJson(json, source, &doc, &got));
    QCOMPARE(got, errors);
    QCOMPARE(doc, untouched);
}

// Stored values Open changes are named with what was stored; the bytes Open ignores
// are not.
void TestProjectText::normalisations_data()
{
    QTest::addColumn<int>("set"); // the record's item of the character-set list
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("warning"); // empty for none
    QTest::addColumn<QString>("shown");   // the field's line; empty for no field

    const auto at = [](Field f) { return fieldDef(f).offset; };
    QTest::newRow("list beyond its items")
        << 0 << at(Field::ComboBox1) << QByteArray("\x07\0\0\0", 4)
        << QStringLiteral("distribution: stored position 7 is none of its items; shown as null")
        << QStringLiteral("distribution: null");
    QTest::newRow("list below -1")
        << 0 << at(Field::ComboBox13) << QByteArray("\xFE\xFF\xFF\xFF")
        << QStringLiteral("classification: stored position -2 is none of its items; shown as null")
        << QStringLiteral("classification: null");
    QTest::newRow("list at -1") << 0 << at(Field::ComboBox1) << QByteArray("\xFF\xFF\xFF\xFF")
                                << QString() << QStringLiteral("distribution: null");
    QTest::newRow("box byte 2")
        << 0 << at(Field::CheckBox2) << QByteArray("\x02")
        << QStringLiteral("script-type-other-checked: stored byte 2 is neither 0 nor 1; shown as "
                          "false")
        << QStringLiteral("script-type-other-checked: false");
    QTest::newRow("length beyond the capacity")
        << 0 << at(Field::Edit24)
        << QByteArray("\x0B"
                      "2002-06-01")
        << QStringLiteral("dc-date: stored length 11 is beyond its capacity; cut to 10 bytes")
        << QStringLiteral(R"(dc-date: "2002-06-01")");
    QTest::newRow("length at the capacity")
        << 0 << at(Field::Edit24)
        << QByteArray("\x0A"
                      "2002-06-01")
        << QString() << QStringLiteral(R"(dc-date: "2002-06-01")");
    QTest::newRow("padding") << 0 << 579 << QByteArray("\xFF") << QString() << QString();
    QTest::newRow("a byte the set leaves undefined")
        << 2 << at(Field::Edit6)
        << QByteArray("\x02"
                      "a\xA5")
        << QStringLiteral("title: stored bytes that are no characters of ISO-8859-3; shown as "
                          "U+FFFD")
        << QStringLiteral("title: \"a\uFFFD\"");
    QTest::newRow("UTF-8 cut inside a character")
        << 9 << at(Field::Edit6)
        << QByteArray("\x02"
                      "a\xCE")
        << QStringLiteral("title: stored bytes that are no characters of UTF-8; shown as U+FFFD")
        << QStringLiteral("title: \"a\uFFFD\"");
}

void TestProjectText::normalisations()
{
    QFETCH(int, set);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, warning);
    QFETCH(QString, shown);

    TagDocument doc = TagDocument::startUp();
    doc.setIndex(Field::ComboBox4, set);
    TProjectRecord record = GatherProject(doc);
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
    const TagDocument unset = {};
    for (int i = 0; i < 2000; ++i) {
        QByteArray json = projectToJson(randomRecord(rng));
        if (i % 2)
            json.truncate(rng.bounded(json.size() + 1));
        for (int flips = rng.bounded(4); flips > 0 && !json.isEmpty(); --flips)
            json[rng.bounded(json.size())] = char(rng.bounded(256));
        TagDocument doc;
        QStringList errors;
        const bool ok = projectFromJson(json, source, &doc, &errors);
        if (ok != errors.isEmpty() || (!ok && doc != unset))
            QFAIL(qPrintable(QStringLiteral("source %1").arg(i)));
    }
}

QTEST_GUILESS_MAIN(TestProjectText)
#include "tst_project_text.moc"
