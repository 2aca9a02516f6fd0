// Pages read into rows of the site table, and rows written back into pages.

#include "common/file_helpers.h"

#include "site/site_page.h"

#include <QDir>
#include <QTest>

using namespace quill;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(quill::SiteCell)

namespace {

QByteArray corpus(const char *name)
{
    return readFile(QStringLiteral(PAGES_CORPUS "/") + QLatin1StringView(name));
}

SiteColumn column(const QString &key)
{
    const ColumnDef *def = findSiteColumn(key.toUtf8());
    if (!def)
        qFatal("no column %s", qPrintable(key));
    return def->column;
}

// The page with the one cell written back; "error: ..." when the row is refused.
QByteArray written(const QByteArray &bytes, const QString &key, const SiteCell &cell)
{
    SitePage page;
    QString error;
    if (!page.read(bytes, &error))
        return "error: " + error.toUtf8();
    QList<PageEdit> edits;
    if (!page.plan({SiteColumn::Page, column(key)}, SiteRow{{u"p.html"_s, cell}, 0}, &edits,
                   &error))
        return "error: " + error.toUtf8();
    return spliced(bytes, edits);
}

const SiteCell none = std::nullopt;

} // namespace

class TestSitePage : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void repeats();
    void edits_data();
    void edits();
    void roundTrip_data();
    void roundTrip();
};

void TestSitePage::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("key");
    QTest::addColumn<SiteCell>("value");
    QTest::addColumn<int>("line");

    const QByteArray quoting = corpus("site_quoting_crlf.html");
    const QByteArray hidden = corpus("site_hidden.html");
    const QByteArray western = corpus("site_windows1252.html");
    const auto row = [](const char *name, const QByteArray &bytes, const char *key,
                        const SiteCell &value, int line) {
        QTest::newRow(name) << bytes << QString::fromLatin1(key) << value << line;
    };
    row("<HTML LANG=fr-CA>", quoting, "lang", u"fr-CA"_s, 2);
    row("named references", quoting, "title", u"Caf\u00e9 & Cr\u00e8me"_s, 5);
    row("uppercase, single quotes, content first", quoting, "description",
        u"Fresh \"daily\" bread"_s, 6);
    row("unquoted", quoting, "keywords", u"bread,cake"_s, 7);
    row("og: by property, />", quoting, "og:title", u"Caf\u00e9 du Coin"_s, 8);
    row("og: by name", quoting, "og:description", u"Breakfast & lunch"_s, 9);
    row("twitter: by property", quoting, "twitter:card", u"summary"_s, 10);
    row("a hexadecimal reference", quoting, "twitter:title", u"Le Caf\u00e9"_s, 11);
    row("rel in capitals", quoting, "canonical", u"https://cafe.example/"_s, 12);
    row("a tag without content", quoting, "author", u""_s, 13);
    row("a tag the page lacks", quoting, "robots", none, 0);
    row("<meta charset>", quoting, "charset", u"UTF-8"_s, 4);
    row("a Content-Type's charset", western, "charset", u"windows-1252"_s, 3);
    row("windows-1252", western, "title", u"M\u00fcnchen \u2013 Stadtf\u00fchrung"_s, 4);
    row("windows-1252 and a reference", western, "description",
        u"Gr\u00fc\u00dfe aus M\u00fcnchen & Umgebung"_s, 5);
    row("a byte-order mark, no declaration", corpus("site_bom_crlf.html"), "charset", none, 0);
    row("Greek after a byte-order mark", corpus("site_bom_crlf.html"), "title",
        u"\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1"_s, 3);
    row("declared ISO-8859-1", corpus("latin1.html"), "description", u"Caf\u00e9 cr\u00e8me"_s, 3);
    row("in a script", hidden, "keywords", none, 0);
    row("in a <noscript>", hidden, "robots", none, 0);
    row("in a <template>", hidden, "author", none, 0);
    row("a long title, whole", hidden, "title",
        u"A title of well over sixty characters, which search results cut where it no longer "
        "fits"_s,
        9);
    row("the first of two", hidden, "og:title", u"First"_s, 11);
    row("no <head>, no <html>", corpus("site_no_head.html"), "title", u"No head, no html"_s, 2);
    row("a title's blanks as a browser shows them", "<title>\n  Two\r\n  lines&nbsp; </title>"_ba,
        "title", u"Two lines\u00a0"_s, 1);
}

void TestSitePage::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, key);
    QFETCH(SiteCell, value);
    QFETCH(int, line);

    SitePage page;
    QString error;
    QVERIFY2(page.read(bytes, &error), qPrintable(error));
    QCOMPARE(page.tag(column(key)).value, value);
    QCOMPARE(page.tag(column(key)).line, line);
}

void TestSitePage::repeats()
{
    SitePage page;
    QString error;
    QVERIFY(page.read(corpus("site_hidden.html"), &error));
    QCOMPARE(page.repeatNotes(),
             QStringList({u"12: a second <meta name=\"og:title\"> (the first is on line 11)"_s,
                          u"13: a second <meta name=\"description\"> (the first is on line 10)"_s,
                          u"15: a second <link rel=\"canonical\"> (the first is on line 14)"_s}));
}

// One cell at a time: changed, set where the page lacks the tag, emptied, and equal.
void TestSitePage::edits_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<SiteCell>("cell");
    QTest::addColumn<QByteArray>("after");

    const QByteArray page = "<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                            "<title>Home</title>\n<meta name=\"description\" content=\"Old\">\n"
                            "</head>\n";
    const auto with = [&page](const char *from, const char *to) {
        return QByteArray(page).replace(from, to);
    };
    const auto row = [](const char *name, const QByteArray &before, const char *key,
                        const SiteCell &cell, const QByteArray &after) {
        QTest::newRow(name) << before << QString::fromLatin1(key) << cell << after;
    };
    const QByteArray titled = "<title>Home</title>\n";
    const QByteArray described = "<meta name=\"description\" content=\"Old\">\n";

    row("title changed", page, "title", u"New & <b>"_s, with("Home", "New & <b>"));
    row("title equal", page, "title", u"Home"_s, page);
    row("title equal as shown", page, "title", u" Home "_s, page);
    row("title emptied", page, "title", u""_s, with(titled, ""));
    row("title set", with(titled, ""), "title", u"Home"_s,
        with(titled, "").replace(described, described + titled));
    row("title holding its end tag", page, "title", u"a</title>b"_s, with("Home", "a&lt;/title>b"));
    row("description changed", page, "description", u"Say \"hi\""_s,
        with("\"Old\"", "\"Say &quot;hi&quot;\""));
    row("description equal", page, "description", u"Old"_s, page);
    row("description in two lines, as a spreadsheet writes them", page, "description", u"a\r\nb"_s,
        with("\"Old\"", "\"a\r\nb\""));
    row("description emptied", page, "description", u""_s, with(described, ""));
    row("description null", page, "description", none, with(described, ""));
    row("description set", with(described, ""), "description", u"Fresh"_s,
        with(described, "<meta name=\"description\" content=\"Fresh\">\n"));
    row("keywords set", page, "keywords", u"a, b"_s,
        with(described, described + "<meta name=\"keywords\" content=\"a, b\">\n"));
    row("keywords empty where none", page, "keywords", u""_s, page);
    row("author set", page, "author", u"Ann"_s,
        with(described, described + "<meta name=\"author\" content=\"Ann\">\n"));
    row("robots set", page, "robots", u"noindex"_s,
        with(described, described + "<meta name=\"robots\" content=\"noindex\">\n"));
    row("canonical set, & as it is", page, "canonical", u"/?a=1&b=2"_s,
        with(described, described + "<link rel=\"canonical\" href=\"/?a=1&b=2\">\n"));
    row("og:title set, by property", page, "og:title", u"Home"_s,
        with(described, described + "<meta property=\"og:title\" content=\"Home\">\n"));
    row("og:description set", page, "og:description", u"D"_s,
        with(described, described + "<meta property=\"og:description\" content=\"D\">\n"));
    row("og:image set", page, "og:image", u"/i.png"_s,
        with(described, described + "<meta property=\"og:image\" content=\"/i.png\">\n"));
    row("og:url set", page, "og:url", u"https://x/"_s,
        with(described, described + "<meta property=\"og:url\" content=\"https://x/\">\n"));
    row("og:type set", page, "og:type", u"website"_s,
        with(described, described + "<meta property=\"og:type\" content=\"website\">\n"));
    row("twitter:card set, by name", page, "twitter:card", u"summary"_s,
        with(described, described + "<meta name=\"twitter:card\" content=\"summary\">\n"));
    row("twitter:title set", page, "twitter:title", u"T"_s,
        with(described, described + "<meta name=\"twitter:title\" content=\"T\">\n"));
    row("twitter:description set", page, "twitter:description", u"D"_s,
        with(described, described + "<meta name=\"twitter:description\" content=\"D\">\n"));
    row("twitter:image set", page, "twitter:image", u"/i.png"_s,
        with(described, described + "<meta name=\"twitter:image\" content=\"/i.png\">\n"));
    row("lang changed", page, "lang", u"de"_s, with("\"en\"", "\"de\""));
    row("lang emptied", page, "lang", u""_s, with(" lang=\"en\"", ""));
    row("lang set on <html>", with(" lang=\"en\"", " class=x"), "lang", u"de"_s,
        with(" lang=\"en\"", " class=x lang=\"de\""));
    row("lang set without <html>", "<!DOCTYPE html>\n<title>T</title>\n"_ba, "lang", u"de"_s,
        "<!DOCTYPE html>\n<html lang=\"de\">\n<title>T</title>\n"_ba);
    row("charset read only", page, "charset", u"latin1"_s,
        "error: charset cannot be changed in the table: the page declares \"utf-8\", the table "
        "has \"latin1\""_ba);
    row("charset equal", page, "charset", u"utf-8"_s, page);

    // How the page's bytes hold a value.
    row("single quotes kept, a quote written as a reference",
        "<meta content='a' name=description>"_ba, "description", u"it's \"so\""_s,
        "<meta content='it&#39;s \"so\"' name=description>"_ba);
    row("unquoted stays unquoted", "<meta name=robots content=noindex>"_ba, "robots", u"index"_s,
        "<meta name=robots content=index>"_ba);
    row("unquoted, quoted where needed", "<meta name=robots content=noindex>"_ba, "robots",
        u"index, follow"_s, "<meta name=robots content=\"index, follow\">"_ba);
    row("no content attribute", "<meta name=\"author\">"_ba, "author", u"Ann"_s,
        "<meta name=\"author\" content=\"Ann\">"_ba);
    row("og: read by name, changed in place", "<meta name=\"og:title\" content=\"a\">"_ba,
        "og:title", u"b"_s, "<meta name=\"og:title\" content=\"b\">"_ba);
    row("an & that would read as a reference", page, "description", u"&amp; &copy"_s,
        with("\"Old\"", "\"&amp;amp; &amp;copy\""));
    row("repeats emptied with the first",
        "<meta name=description content=a>\n"
        "<meta name=description content=b>\n<p>"_ba,
        "description", u""_s, "<p>"_ba);
    row("windows-1252, a lacking character as a reference",
        "<meta charset=windows-1252><meta name=description content=x>"_ba, "description",
        u"Gr\u00fc\u00df \u03a9"_s,
        "<meta charset=windows-1252><meta name=description content=\"Gr\xfc\xdf &#937;\">"_ba);
    row("no declaration: ASCII and references", "<title>x</title>"_ba, "title", u"caf\u00e9"_s,
        "<title>caf&#233;</title>"_ba);

    // Where a new tag goes.
    row("after the title, not after the style", corpus("site_style_block.html"), "description",
        u"Roses"_s,
        QByteArray(corpus("site_style_block.html"))
            .replace("<title>Garden</title>\n",
                     "<title>Garden</title>\n    <meta name=\"description\" content=\"Roses\">\n"));
    row("after the declaration", "<head>\n  <meta charset=utf-8 />\n</head>"_ba, "description",
        u"D"_s,
        "<head>\n  <meta charset=utf-8 />\n  <meta name=\"description\" content=\"D\" />\n</head>"_ba);
    row("before the head ends", "<head>\r\n</head>\r\n"_ba, "keywords", u"k"_s,
        "<head>\r\n<meta name=\"keywords\" content=\"k\">\r\n</head>\r\n"_ba);
    row("a head on one line", corpus("site_one_line.html"), "robots", u"none"_s,
        QByteArray(corpus("site_one_line.html"))
            .replace("</title>", "</title><meta name=\"robots\" content=\"none\">"));
    row("CR LF kept", corpus("uppercase_crlf.html"), "description", u"Roses"_s,
        QByteArray(corpus("uppercase_crlf.html"))
            .replace("<META HTTP-EQUIV",
                     "<meta name=\"description\" content=\"Roses\">\r\n<META HTTP-EQUIV"));
    row("the rest of an undeclared page read alike", "<title>caf\xe9</title><p>\xc3\xa9"_ba,
        "title", u"cafe"_s,
        "error: The page declares no character set, and once changed its other bytes would "
        "read as UTF-8, not windows-1252; declare its set first"_ba);
    row("the only tag emptied", "<title>Home</title>"_ba, "title", none, ""_ba);
    row("a UTF-16 byte-order mark left at the start", "<title>Home</title>\n\xfe\xff<p>"_ba,
        "title", none,
        "error: Once changed, the page would start with bytes that read as a UTF-16 byte-order "
        "mark; left alone"_ba);
    row("never inside a comment never closed", "<head>\n<!--\n</head>"_ba, "description", u"D"_s,
        "error: the page would not read back as the table has it (it may end inside an "
        "element that is never closed); left alone"_ba);
}

void TestSitePage::edits()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(SiteCell, cell);
    QFETCH(QByteArray, after);

    QCOMPARE(written(before, key, cell), after);
}

// The table of any page, written back, changes no byte, in either form.
void TestSitePage::roundTrip_data()
{
    QTest::addColumn<QString>("path");
    for (const char *folder : {PAGES_CORPUS, FUZZ_CORPUS}) {
        const QDir dir(QString::fromLatin1(folder));
        for (const QString &name : dir.entryList(QDir::Files))
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }
}

void TestSitePage::roundTrip()
{
    QFETCH(QString, path);

    const QByteArray bytes = readFile(path);
    SitePage page;
    QString error;
    if (!page.read(bytes, &error))
        QSKIP(qPrintable(u"not read as a page: "_s + error));
    SiteTable table;
    for (const ColumnDef &def : siteColumns())
        table.columns << def.column;
    table.rows << page.row(path, table.columns);
    for (const TableFormat format : {TableFormat::Csv, TableFormat::JsonLines}) {
        SiteTable read;
        QVERIFY2(readSiteTable(writeSiteTable(table, format), u"t"_s, &read, &error),
                 qPrintable(error));
        QList<PageEdit> edits;
        QVERIFY2(page.plan(read.columns, read.rows.constFirst(), &edits, &error),
                 qPrintable(error));
        QCOMPARE(edits, QList<PageEdit>());
    }
}

QTEST_GUILESS_MAIN(TestSitePage)
#include "tst_site_page.moc"
