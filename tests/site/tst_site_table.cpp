// The site table's columns and its two text forms.

#include "files/project_text.h"
#include "site/site_table.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quill;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString name = u"t"_s;

struct Row {
    int line;
    QList<SiteCell> cells;
};

SiteTable table(const QList<const char *> &keys, const QList<Row> &rows)
{
    SiteTable out;
    for (const char *key : keys)
        out.columns << findSiteColumn(key)->column;
    for (const Row &row : rows)
        out.rows << SiteRow{row.cells, row.line};
    return out;
}

// A table as one text, so that a difference shows where it is: the columns, then a row a
// line with its line number and its cells as JSON values.
QString shown(const SiteTable &table)
{
    QStringList lines;
    QStringList keys;
    for (const SiteColumn column : table.columns)
        keys << QLatin1StringView(siteColumn(column).key);
    lines << keys.join(u',');
    for (const SiteRow &row : table.rows) {
        QStringList cells;
        for (const SiteCell &cell : row.cells)
            cells << (cell ? jsonString(*cell) : u"null"_s);
        lines << QString::number(row.line) + u": "_s + cells.join(u',');
    }
    return lines.join(u'\n');
}

// The same cells, whatever lines they came from.
QString cellsOf(SiteTable table)
{
    for (SiteRow &row : table.rows)
        row.line = 0;
    return shown(table);
}

} // namespace

Q_DECLARE_METATYPE(SiteTable)

class TestSiteTable : public QObject
{
    Q_OBJECT

private slots:
    void columnsByKey();
    void format_data();
    void format();
    void read_data();
    void read();
    void readFaults_data();
    void readFaults();
    void write_data();
    void write();
    void roundTrip_data();
    void roundTrip();
    void damagedInput();
};

void TestSiteTable::columnsByKey()
{
    for (const ColumnDef &def : siteColumns())
        QCOMPARE(findSiteColumn(def.key), &def);
    QCOMPARE(findSiteColumn("Title"), nullptr);
}

void TestSiteTable::format_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<TableFormat>("format");

    QTest::newRow("object") << "{\"page\":\"a\"}"_ba << TableFormat::JsonLines;
    QTest::newRow("blank lines and a mark first")
        << "\xEF\xBB\xBF \r\n\t{"_ba << TableFormat::JsonLines;
    QTest::newRow("header") << "page,title\r\n"_ba << TableFormat::Csv;
    QTest::newRow("quoted header") << "\"{page\""_ba << TableFormat::Csv;
    QTest::newRow("nothing") << QByteArray() << TableFormat::Csv;
}

void TestSiteTable::format()
{
    QFETCH(QByteArray, text);
    QFETCH(TableFormat, format);
    QCOMPARE(tableFormatOf(text), format);
}

void TestSiteTable::read_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<SiteTable>("expected");

    QTest::newRow("CSV, CR LF")
        << "page,title,description\r\na.html,Home,Our shop\r\nb.html,About,\r\n"_ba
        << table({"page", "title", "description"}, {{2, {u"a.html"_s, u"Home"_s, u"Our shop"_s}},
                                                    {3, {u"b.html"_s, u"About"_s, u""_s}}});
    QTest::newRow("CSV, LF, no break last, columns in an order of its own")
        << "title,page\nHome,a.html\n,b.html"_ba
        << table({"title", "page"}, {{2, {u"Home"_s, u"a.html"_s}}, {3, {u""_s, u"b.html"_s}}});
    QTest::newRow("CSV, quoted fields")
        << "page,title\r\n\"a,b.html\",\"Say \"\"hi\"\"\"\r\n\"\",\"two\r\nlines\nand\rmore\"\r\n"
           "c.html,\"\"\r\n"_ba
        << table({"page", "title"}, {{2, {u"a,b.html"_s, u"Say \"hi\""_s}},
                                     {3, {u""_s, u"two\r\nlines\nand\rmore"_s}},
                                     {6, {u"c.html"_s, u""_s}}});
    QTest::newRow("CSV, a comma last")
        << "page,title\r\na.html,"_ba << table({"page", "title"}, {{2, {u"a.html"_s, u""_s}}});
    QTest::newRow("CSV, blank lines passed over")
        << "\r\npage\r\n\r\na.html\n\n\"\"\r\n\r\n\r\n"_ba
        << table({"page"}, {{4, {u"a.html"_s}}, {6, {u""_s}}});
    QTest::newRow("CSV, header only") << "page,lang"_ba << table({"page", "lang"}, {});
    QTest::newRow("CSV, a mark first, characters of any language, U+FEFF in a cell")
        << "\xEF\xBB\xBFpage,title\r\nd\xC3\xA9j\xC3\xA0.html,\xEF\xBB\xBF\xE6\x97\xA5\r\n"_ba
        << table({"page", "title"}, {{2, {u"d\u00e9j\u00e0.html"_s, u"\ufeff\u65e5"_s}}});
    QTest::newRow("JSON Lines, null and empty")
        << "{\"page\": \"a.html\", \"title\": \"Home\", \"robots\": null, \"lang\": \"\"}\n"
           "{\"lang\": \"de\", \"robots\": \"noindex\", \"page\": \"b.html\", \"title\": null}\n"_ba
        << table({"page", "title", "robots", "lang"},
                 {{1, {u"a.html"_s, u"Home"_s, std::nullopt, u""_s}},
                  {2, {u"b.html"_s, std::nullopt, u"noindex"_s, u"de"_s}}});
    QTest::newRow("JSON Lines, escapes, CR LF, blank lines, a mark first")
        << "\xEF\xBB\xBF\r\n{\"page\":\"a\\u00e9\\ud83d\\ude00\\n\\\"\\u0000\"}\r\n  \n"
           "{\"page\":\"\\ufeffb\"}"_ba
        << table({"page"}, {{2, {u"a\u00e9\U0001F600\n\"\u0000"_s}}, {4, {u"\ufeffb"_s}}});
}

void TestSiteTable::read()
{
    QFETCH(QByteArray, text);
    QFETCH(SiteTable, expected);
    SiteTable read;
    QString error;
    QVERIFY2(readSiteTable(text, name, &read, &error), qPrintable(error));
    QCOMPARE(shown(read), shown(expected));
}

void TestSiteTable::readFaults_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error"); // the message, or its start where it lists columns

    QTest::newRow("empty") << QByteArray() << u"t:1: empty: no header row"_s;
    QTest::newRow("unknown columns")
        << "page,Title,\"x\ny\"\r\n"_ba
        << u"t:1: unknown columns \"Title\", \"x\\ny\" (the columns are page, charset, "_s;
    QTest::newRow("a column twice")
        << "page,title,title\r\n"_ba << u"t:1: column \"title\" given twice"_s;
    QTest::newRow("no page") << "title\r\nHome\r\n"_ba
                             << u"t:1: no column \"page\" to name each row's page"_s;
    QTest::newRow("too few fields")
        << "page,title\r\na,b\r\n\"x\ny\"\r\n"_ba << u"t:3: 1 fields where the header has 2"_s;
    QTest::newRow("too many fields")
        << "page\r\na,b\r\n"_ba << u"t:2: 2 fields where the header has 1"_s;
    QTest::newRow("quote inside a field")
        << "page\r\n\xC3\xA9\"a\"\r\n"_ba
        << u"t:2:2: a quote in a field that does not begin with one; quote the field and "
           "double the quote"_s;
    QTest::newRow("text after a closing quote")
        << "page,title\r\na,\"b\"c\r\n"_ba
        << u"t:2:6: a comma or the end of the line expected after the closing quote"_s;
    QTest::newRow("no closing quote")
        << "page,title\r\na,\"b\r\nc\r\n"_ba << u"t:2:3: the quoted field has no closing quote"_s;
    QTest::newRow("CR alone") << "page\ra\r\n"_ba
                              << u"t:1:5: a CR without LF outside a quoted field"_s;
    QTest::newRow("not UTF-8, quoted")
        << "page\r\n\"\xC3\xA9\n\xC3\xA9\xC3\"\r\n"_ba << u"t:3:2: not UTF-8"_s;
    QTest::newRow("a surrogate's bytes") << "page\r\n\xED\xA0\x80\r\n"_ba << u"t:2:1: not UTF-8"_s;
    QTest::newRow("JSON grammar") << "{\"page\": \"a\"}\n{\"page\": \"b\",}\n"_ba << u"t:2:14: "_s;
    QTest::newRow("JSON, a raw tab")
        << "{\"page\": \"a\tb\"}"_ba
        << u"t:1:12: control character U+0009 inside a string; write it as an escape"_s;
    QTest::newRow("JSON, not UTF-8") << "{\"page\": \"\xC3\xA9\xFF\"}"_ba << u"t:1:12: not UTF-8"_s;
    QTest::newRow("JSON, not an object")
        << "{\"page\": \"a\"}\n[\"b\"]\n"_ba << u"t:2: a row is one JSON object"_s;
    QTest::newRow("JSON, a number") << "{\"page\": \"a\", \"title\": 1}"_ba
                                    << u"t:1: title takes a string or null, not a number"_s;
    QTest::newRow("JSON, an object")
        << "{\"page\": {}}"_ba << u"t:1: page takes a string or null, not an object"_s;
    QTest::newRow("JSON, half a surrogate pair")
        << "{\"page\": \"\\udc00\"}"_ba
        << u"t:1: page holds half a surrogate pair, which is no character"_s;
    QTest::newRow("JSON, unknown key")
        << "{\"page\": \"a\", \"x\": \"\"}"_ba << u"t:1: unknown column \"x\" (the columns are "_s;
    QTest::newRow("JSON, a key twice")
        << "{\"page\": \"a\", \"page\": \"b\"}"_ba << u"t:1: column \"page\" given twice"_s;
    QTest::newRow("JSON, no page")
        << "{\"title\": \"a\"}"_ba << u"t:1: no column \"page\" to name each row's page"_s;
    QTest::newRow("JSON, a column less")
        << "{\"page\": \"a\", \"title\": \"\", \"lang\": null}\n{\"page\": \"b\"}"_ba
        << u"t:2: lacks title, lang, which the first row has"_s;
    QTest::newRow("JSON, a column more")
        << "{\"page\": \"a\"}\n\n{\"page\": \"b\", \"og:url\": null}"_ba
        << u"t:3: og:url is no column of the first row"_s;
}

void TestSiteTable::readFaults()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    const SiteTable untouched = table({"title"}, {{7, {u"kept"_s}}});
    SiteTable read = untouched;
    QString message;
    QVERIFY(!readSiteTable(text, name, &read, &message));
    QVERIFY2(message.startsWith(error), qPrintable(message));
    QCOMPARE(shown(read), shown(untouched));
}

void TestSiteTable::write_data()
{
    QTest::addColumn<SiteTable>("table");
    QTest::addColumn<TableFormat>("format");
    QTest::addColumn<QByteArray>("expected");

    const SiteTable quoting = table({"page", "title", "description"},
                                    {{0, {u"a.html"_s, u"Say \"hi\", now"_s, u"two\r\nlines"_s}},
                                     {0, {u"b c.html"_s, std::nullopt, u"caf\u00e9 \n"_s}}});
    QTest::newRow("CSV, quoted only where needed")
        << quoting << TableFormat::Csv
        << "page,title,description\r\na.html,\"Say \"\"hi\"\", now\",\"two\r\nlines\"\r\n"
           "b c.html,,\"caf\xC3\xA9 \n\"\r\n"_ba;
    QTest::newRow("CSV, the one empty field of a record")
        << table({"page"}, {{0, {u""_s}}, {0, {std::nullopt}}}) << TableFormat::Csv
        << "page\r\n\"\"\r\n\"\"\r\n"_ba;
    QTest::newRow("JSON Lines")
        << quoting << TableFormat::JsonLines
        << "{\"page\":\"a.html\",\"title\":\"Say \\\"hi\\\", "
           "now\",\"description\":\"two\\r\\nlines\"}\n"
           "{\"page\":\"b c.html\",\"title\":null,\"description\":\"caf\xC3\xA9 \\n\"}\n"_ba;
    QTest::newRow("JSON Lines, control characters")
        << table({"page"}, {{0, {u"\u0000\u001f\t"_s}}}) << TableFormat::JsonLines
        << "{\"page\":\"\\u0000\\u001F\\t\"}\n"_ba;
    QTest::newRow("no rows") << table({"page", "lang"}, {}) << TableFormat::JsonLines
                             << QByteArray();
}

void TestSiteTable::write()
{
    QFETCH(SiteTable, table);
    QFETCH(TableFormat, format);
    QFETCH(QByteArray, expected);
    QCOMPARE(writeSiteTable(table, format), expected);
}

void TestSiteTable::roundTrip_data()
{
    QTest::addColumn<SiteTable>("table");

    // Every column, in its order, with what each form must carry through.
    SiteTable all;
    SiteRow row;
    for (const ColumnDef &def : siteColumns()) {
        all.columns << def.column;
        row.cells << QString::fromUtf8(def.key) + u" \"q\", \r\n\u00e9\U0001F600"_s;
    }
    all.rows << row << row;
    QTest::newRow("every column") << all;
    QTest::newRow("U+FEFF first, empty cells")
        << table({"page", "lang"}, {{0, {u"\ufeffa"_s, u""_s}}, {0, {u""_s, u""_s}}});
}

void TestSiteTable::roundTrip()
{
    QFETCH(SiteTable, table);
    for (const TableFormat format : {TableFormat::Csv, TableFormat::JsonLines}) {
        const QByteArray text = writeSiteTable(table, format);
        QCOMPARE(tableFormatOf(text), format);
        SiteTable read;
        QString error;
        QVERIFY2(readSiteTable(text, name, &read, &error), qPrintable(error));
        QCOMPARE(cellsOf(read), cellsOf(table));
    }
}

// Cut short anywhere, or with bytes changed at random, a table is read or refused with a
// message that names its source.
void TestSiteTable::damagedInput()
{
    const SiteTable sample = table(
        {"page", "title"}, {{0, {u"a \"b\".html"_s, u"\u00e9,\n"_s}}, {0, {u"c"_s, std::nullopt}}});
    QRandomGenerator random(28);
    for (const TableFormat format : {TableFormat::Csv, TableFormat::JsonLines}) {
        const QByteArray text = writeSiteTable(sample, format);
        QList<QByteArray> inputs;
        for (qsizetype n = 0; n <= text.size(); ++n)
            inputs << text.first(n);
        for (int i = 0; i < 500; ++i) {
            QByteArray changed = text;
            changed[random.bounded(int(changed.size()))] = char(random.bounded(256));
            inputs << changed;
        }
        for (const QByteArray &input : std::as_const(inputs)) {
            SiteTable read;
            QString error;
            if (!readSiteTable(input, name, &read, &error))
                QVERIFY2(error.startsWith(name + u':'), qPrintable(error));
        }
    }
}

QTEST_GUILESS_MAIN(TestSiteTable)
#include "tst_site_table.moc"
