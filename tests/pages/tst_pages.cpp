// Reading the heads of existing pages and writing a project's lines into them.

#include "common/file_helpers.h"

#include "document/ansi_codec.h"
#include "document/meta_generator.h"
#include "files/project_record.h"
#include "files/project_text.h"
#include "pages/page_apply.h"
#include "pages/page_charset.h"
#include "pages/page_extract.h"
#include "pages/page_head.h"
#include "pages/unified_diff.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTest>

using namespace quill;

namespace {

QByteArray page(const QString &name)
{
    return readFile(QStringLiteral(PAGES_DIR "/corpus/") + name);
}

// A document from the text form of a project file: keys left out keep their start-up
// values.
TagDocument documentFrom(const char *json)
{
    TProjectRecord record;
    QStringList faults;
    if (!projectFromJson(QByteArray(json), QStringLiteral("test"), &record, &faults))
        qFatal("bad test project: %s", qPrintable(faults.join(QLatin1Char('\n'))));
    TagDocument doc = TagDocument::startUp();
    ApplyProject(record, doc);
    return doc;
}

// The project the apply table writes into every page of the corpus.
TagDocument bakery()
{
    return documentFrom(R"({"description": "Fresh bread, café", "page-title": "Bakery",
                            "dc-date": ""})");
}

QString shown(const TagDocument &doc, const QString &key)
{
    const FieldDef *def = findFieldByKey(key);
    if (!def)
        qFatal("no field %s", qPrintable(key));
    if (def->kind == FieldKind::Check)
        return doc.isChecked(def->id) ? QStringLiteral("true") : QStringLiteral("false");
    return doc.value(def->id);
}

QByteArray applied(const QByteArray &bytes, const TagDocument &doc, bool keepCharset = false,
                   QStringList *notes = nullptr)
{
    QList<PageEdit> edits;
    QStringList own;
    QString error;
    if (!planApply(bytes, doc, ApplyOptions{keepCharset}, &edits, notes ? notes : &own, &error))
        return "error: " + error.toUtf8();
    return spliced(bytes, edits);
}

} // namespace

class TestPages : public QObject
{
    Q_OBJECT

private slots:
    void extract_data();
    void extract();
    void extractFrom_data();
    void extractFrom();
    void extractNotes_data();
    void extractNotes();
    void unreadable_data();
    void unreadable();
    void apply_data();
    void apply();
    void applyAgainChangesNothing_data();
    void applyAgainChangesNothing();
    void applyRefuses_data();
    void applyRefuses();
    void applyKeeps_data();
    void applyKeeps();
    void applyCharset_data();
    void applyCharset();
    void applyChangesOnlyWhatDiffers_data();
    void applyChangesOnlyWhatDiffers();
    void extractThenApply_data();
    void extractThenApply();
    void labels_data();
    void labels();
    void everySetOfTheTable();
    void contentTypeCharset_data();
    void contentTypeCharset();
    void pageEncoding_data();
    void pageEncoding();
    void encodeFault_data();
    void encodeFault();
    void nesting_data();
    void nesting();
    void roundTrip_data();
    void roundTrip();
    void diff_data();
    void diff();
};

void TestPages::extract_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const auto row = [](const char *page, const char *key, const QString &value) {
        QTest::addRow("%s %s", page, key)
            << QString::fromLatin1(page) << QString::fromLatin1(key) << value;
    };
    row("implied_head.html", "page-title", QStringLiteral("Shop"));
    row("implied_head.html", "description", QStringLiteral("Fresh bread daily"));
    row("implied_head.html", "robots", QStringLiteral("NoIndex")); // the item in any case
    row("uppercase_crlf.html", "keywords", QStringLiteral("roses, tulips"));
    row("uppercase_crlf.html", "refresh-seconds", QStringLiteral("10"));
    row("uppercase_crlf.html", "refresh-url", QStringLiteral("new.html"));
    row("attributes.html", "author", QStringLiteral("Ann \"the baker\" Smith"));
    row("attributes.html", "distribution", QStringLiteral("Regional"));
    row("attributes.html", "favicon-url", QStringLiteral("/favicon.ico"));
    row("attributes.html", "external-css", QStringLiteral("main.css")); // the first sheet
    row("attributes.html", "expires-weekday", QStringLiteral("Mon"));
    row("attributes.html", "expires-day", QStringLiteral("05"));
    row("attributes.html", "expires-month", QStringLiteral("Jan"));
    row("attributes.html", "expires-year", QStringLiteral("2026"));
    row("attributes.html", "expires-hours", QStringLiteral("08"));
    row("attributes.html", "expires-minutes", QStringLiteral("30"));
    row("comments_scripts.html", "comment", QStringLiteral("Site note"));
    row("comments_scripts.html", "author", QString());   // a tag inside a script
    row("comments_scripts.html", "keywords", QString()); // a tag inside a comment
    row("comments_scripts.html", "rating", QStringLiteral("Children"));
    row("duplicates.html", "description", QStringLiteral("First"));
    row("bom_utf8.html", "page-title", QStringLiteral("Café"));
    row("latin1.html", "description", QStringLiteral("Café crème"));
    row("latin1.html", "charset", QStringLiteral("ISO-8859-1"));
    row("utf8_undeclared.html", "keywords", QStringLiteral("niño"));
    row("faults.html", "script-type-other-checked", QStringLiteral("true"));
    row("faults.html", "script-type-other", QStringLiteral("application/ecmascript"));
    row("faults.html", "script-type", QStringLiteral("text/javascript"));
    row("no_head.html", "dc-date", QString());
    row("no_head.html", "window-target", QStringLiteral("_top"));
    row("long_head.html", "description", QStringLiteral("Across the cut")); // its first 2 KB
    // The project takes the page's set, UTF-8 declared or not, and <html lang>.
    row("attributes.html", "charset", QStringLiteral("UTF-8"));
    row("bom_utf8.html", "charset", QStringLiteral("UTF-8"));
    row("utf8_undeclared.html", "charset", QStringLiteral("UTF-8"));
    row("site_windows1252.html", "charset", QStringLiteral("ISO-8859-1"));
    row("attributes.html", "language", QStringLiteral("en"));
    row("site_windows1252.html", "language", QStringLiteral("de"));
    row("site_hidden.html", "page-title",
        QStringLiteral("A title of well over sixty characters, which searc"));
}

void TestPages::extract()
{
    QFETCH(QString, page);
    QFETCH(QString, key);
    QFETCH(QString, value);

    TagDocument doc;
    QStringList notes;
    QString error;
    QVERIFY2(extractPage(::page(page), &doc, &notes, &error), qPrintable(error));
    QCOMPARE(shown(doc, key), value);
}

void TestPages::extractNotes_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("notes");

    QTest::newRow("nothing to say") << QStringLiteral("implied_head.html") << QStringList{};
    // UTF-8 is one of the list's items.
    QTest::newRow("UTF-8 declared") << QStringLiteral("attributes.html") << QStringList{};
    QTest::newRow("a letter beyond Windows-1252, in UTF-8")
        << QStringLiteral("bom_utf8.html") << QStringList{};
    QTest::newRow("repeated with another value")
        << QStringLiteral("duplicates.html")
        << QStringList{QStringLiteral(R"(3: a second <meta name="description"> with another )"
                                      R"(value; kept the one of line 2)")};
    QTest::newRow("cut at the window's limit, a second value")
        << QStringLiteral("site_hidden.html")
        << QStringList{QStringLiteral("9: page-title: 87 characters, more than the 50 the field "
                                      "takes; kept the first 50"),
                       QStringLiteral(R"(13: a second <meta name="description"> with another )"
                                      R"(value; kept the one of line 10)")};
    QTest::newRow("a language the list lacks")
        << QStringLiteral("site_quoting_crlf.html")
        << QStringList{QStringLiteral(R"(2: <html lang> "fr-CA" is not one of the language list's )"
                                      R"(items; kept "en")")};
    QTest::newRow("too long, wrong form, no item")
        << QStringLiteral("faults.html")
        << QStringList{
               QStringLiteral("2: description: 300 characters, more than the 250 the field "
                              "takes; kept the first 250"),
               QStringLiteral(R"(3: <meta name="revisit-after"> "soon" is not of the form )"
                              R"("{revisit-after} days"; kept revisit-after "")"),
               QStringLiteral(R"(4: robots: "noodp" is not one of the list's items; kept "All")")};
}

void TestPages::extractNotes()
{
    QFETCH(QString, page);
    QFETCH(QStringList, notes);

    TagDocument doc;
    QStringList got;
    QString error;
    QVERIFY(extractPage(::page(page), &doc, &got, &error));
    QCOMPARE(got, notes);
}

void TestPages::unreadable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");

    const QString notHtml = QStringLiteral("Not an HTML page");
    QTest::newRow("empty") << QByteArray() << notHtml;
    QTest::newRow("plain text") << QByteArray("Just words, no markup.\n") << notHtml;
    QTest::newRow("a NUL byte") << QByteArray("<p>a\0b</p>", 10) << notHtml;
    QTest::newRow("UTF-16") << QByteArray("\xFF\xFE<\0p\0>\0", 8)
                            << QStringLiteral("UTF-16 pages cannot be read");
}

void TestPages::unreadable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);

    TagDocument doc;
    QStringList notes;
    QString got;
    QVERIFY(!extractPage(bytes, &doc, &notes, &got));
    QCOMPARE(got, error);
}

void TestPages::apply_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("keepCharset");
    QTest::addColumn<QStringList>("notes");

    // The pages in UTF-8 keep their set; the others take the project's ISO-8859-1.
    for (const char *name : {"implied_head.html", "uppercase_crlf.html", "comments_scripts.html",
                             "no_head.html", "latin1.html", "faults.html"})
        QTest::newRow(name) << QString::fromLatin1(name) << false << QStringList{};
    for (const char *name : {"attributes.html", "bom_utf8.html", "utf8_undeclared.html"})
        QTest::newRow(name) << QString::fromLatin1(name) << true << QStringList{};
    QTest::newRow("duplicates.html")
        << QStringLiteral("duplicates.html") << false
        << QStringList{QStringLiteral(
               R"(3: removed a second <meta name="description"> (the first is on line 2))")};
}

void TestPages::apply()
{
    QFETCH(QString, page);
    QFETCH(bool, keepCharset);
    QFETCH(QStringList, notes);

    QStringList got;
    QCOMPARE(applied(::page(page), bakery(), keepCharset, &got),
             readFile(QStringLiteral(PAGES_DIR "/applied/") + page));
    QCOMPARE(got, notes);
}

void TestPages::applyAgainChangesNothing_data()
{
    apply_data();
}

void TestPages::applyAgainChangesNothing()
{
    QFETCH(QString, page);
    QFETCH(bool, keepCharset);

    const QByteArray once = readFile(QStringLiteral(PAGES_DIR "/applied/") + page);
    QCOMPARE(applied(once, bakery(), keepCharset), once);
}

void TestPages::applyRefuses_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("keepCharset");
    QTest::addColumn<QString>("error");

    QTest::newRow("another declared set")
        << page(QStringLiteral("attributes.html")) << false
        << QStringLiteral("The page declares utf-8 on line 4, the project has ISO-8859-1; "
                          "--keep-charset keeps the page's");
    QTest::newRow("UTF-8 undeclared")
        << page(QStringLiteral("utf8_undeclared.html")) << false
        << QStringLiteral("The page is written in UTF-8 without declaring it, the project has "
                          "ISO-8859-1; --keep-charset keeps the page's");
    QTest::newRow("an unknown set")
        << QByteArray("<meta charset=\"klingon\">\n<p>x") << true
        << QStringLiteral("Line 1 declares the unknown character set \"klingon\"");
    QTest::newRow("a character the kept set lacks")
        << QByteArray("<meta charset=\"iso-8859-5\">\n<p>x") << true
        << QStringLiteral("The line of <meta name=\"description\">: \"é\" (U+00E9) cannot be "
                          "written in ISO-8859-5");
    QTest::newRow("no HTML") << QByteArray("plain") << true << QStringLiteral("Not an HTML page");
    const QString unclosed =
        QStringLiteral("The page ends inside a comment or element that is "
                       "never closed; the lines it lacks would become its text");
    QTest::newRow("a title never closed")
        << QByteArray("<head><title>Shop\n<p>x") << false << unclosed;
    QTest::newRow("a title whose end tag is unfinished")
        << QByteArray("<head><title>Shop\n<meta name=\"\n<title>Shop</title\r\n") << false
        << unclosed;
}

void TestPages::applyRefuses()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, keepCharset);
    QFETCH(QString, error);

    QCOMPARE(applied(bytes, bakery(), keepCharset), "error: " + error.toUtf8());
}

void TestPages::roundTrip_data()
{
    QTest::addColumn<QByteArray>("json");

    QTest::newRow("start-up") << QByteArray("{}");
    QTest::newRow("every line") << QByteArray(R"({
        "description": "Hand-made wooden toys", "keywords": "toys, wooden", "author": "Toy Shop",
        "generator": "Text editor", "revisit-after": "14", "title": "Wooden Toys",
        "copyright": "2001, 2002", "robots": "NoIndex", "language": "en-us",
        "refresh-url": "new.html", "refresh-seconds": "5", "expires-weekday": "Fri",
        "expires-day": "31", "expires-month": "Dec", "expires-year": "2004",
        "expires-hours": "23", "expires-minutes": "59", "page-title": "Wooden Toys",
        "external-css": "style.css", "favicon-url": "favicon.ico", "pragma": "No-Cache",
        "pics-label": "rated", "script-type": "text/vbscript",
        "style-type-other-checked": true, "style-type-other": "text/xsl",
        "classification": "Hobbies", "comment": "Hand-made toys", "dc-title": "Toys",
        "dc-creator": "Ann", "dc-subject": "toys", "dc-description": "Toys",
        "dc-publisher": "Ann", "dc-contributor": "Bob", "dc-date": "2002-06-01",
        "dc-type": "Text", "dc-format": "text/html", "dc-identifier": "toys.html",
        "dc-source": "shop", "dc-language": "en", "dc-relation": "index.html",
        "dc-coverage": "World", "dc-rights": "All rights"})");
    QTest::newRow("quotes, blanks, markup and 8-bit text") << QByteArray(
        R"({"description": " a \"b\" ", "author": "Tom & Jerry &amp; co", "revisit-after": " 7",
            "favicon-url": "\"i\".ico", "comment": "say \"hi\"",
            "refresh-url": "a; url=b", "refresh-seconds": "0", "page-title": "<b>Caf\u00e9</b>",
            "keywords": "caf\u00e9, cr\u00e8me"})");
    QTest::newRow("other script type")
        << QByteArray(R"({"script-type-other-checked": true, "script-type-other": "text/perl"})");
}

void TestPages::roundTrip()
{
    QFETCH(QByteArray, json);

    const QByteArray bytes = encodeAnsi(generateCodeText(documentFrom(json)));
    TagDocument doc;
    QStringList notes;
    QString error;
    QVERIFY(extractPage(bytes, &doc, &notes, &error));
    QCOMPARE(notes, QStringList{});
    QCOMPARE(applied(bytes, doc, false), bytes);
}

void TestPages::diff_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<PageEdit>>("edits");
    QTest::addColumn<QByteArray>("diff");

    const QByteArray nine = "1\n2\n3\n4\n5\n6\n7\n8\n9\n";
    QTest::newRow("a line inserted")
        << nine << QList<PageEdit>{{8, 8, "new\n"}}
        << QByteArray(
               "--- a/p.html\n+++ b/p.html\n@@ -2,6 +2,7 @@\n 2\n 3\n 4\n+new\n 5\n 6\n 7\n");
    QTest::newRow("within a line, two hunks")
        << nine + "a\nb\nc\nd\ne\n"
        << QList<PageEdit>{{0, 1, "one"}, {26, 27, "E"}}
        << QByteArray("--- a/p.html\n+++ b/p.html\n@@ -1,4 +1,4 @@\n-1\n+one\n 2\n 3\n 4\n"
                      "@@ -11,4 +11,4 @@\n b\n c\n d\n-e\n+E\n");
    QTest::newRow("changes on lines next to each other, one block")
        << nine << QList<PageEdit>{{2, 3, "two"}, {4, 5, "three"}}
        << QByteArray("--- a/p.html\n+++ b/p.html\n@@ -1,6 +1,6 @@\n 1\n-2\n-3\n+two\n+three\n"
                      " 4\n 5\n 6\n");
    QTest::newRow("a line removed at the end, no final line break")
        << QByteArray("a\nb") << QList<PageEdit>{{1, 3, {}}}
        << QByteArray("--- a/p.html\n+++ b/p.html\n@@ -1,2 +1,1 @@\n-a\n-b\n\\ No newline at end "
                      "of file\n+a\n\\ No newline at end of file\n");
    QTest::newRow("nothing changes") << nine << QList<PageEdit>{{0, 1, "1"}} << QByteArray();
}

void TestPages::diff()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<PageEdit>, edits);
    QFETCH(QByteArray, diff);

    QCOMPARE(unifiedDiff(bytes, edits, QStringLiteral("p.html")), diff);
}

void TestPages::extractFrom_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    // The parser reads a part of the page first: a tag whose "<" is the part's last byte
    // must make it read on.
    const QByteArray filler = "<html><head>\n<meta name=\"viewport\" content=\"";
    QByteArray margin = filler + QByteArray(2047 - filler.size() - 3, 'x') + "\">\n";
    Q_ASSERT(margin.size() == 2047);
    margin += "<meta name=\"description\" content=\"At the margin\">\n</head><body>" +
              QByteArray(4000, 'y') + "</body></html>\n";
    QTest::newRow("a tag at the end of the part read first")
        << margin << QStringLiteral("description") << QStringLiteral("At the margin");

    // With scripts on, as browsers run, the content of a <noscript> is text and the
    // head goes on after it.
    const QByteArray pixel =
        "<html><head>\n<title>Shop</title>\n<noscript><img height=\"1\" width=\"1\" "
        "src=\"https://px.example/tr?id=1&ev=PageView\"></noscript>\n"
        "<meta name=\"description\" content=\"Fresh\">\n</head><body></body></html>\n";
    QTest::newRow("after a tracking pixel")
        << pixel << QStringLiteral("description") << QStringLiteral("Fresh");
    QTest::newRow("after a notice in capitals")
        << QByteArray("<head><NOSCRIPT>Please turn scripts on.</NOSCRIPT>"
                      "<meta name=\"keywords\" content=\"k\"></head>")
        << QStringLiteral("keywords") << QStringLiteral("k");
    QTest::newRow("after a frame, an end tag with a blank")
        << QByteArray("<head><noscript><iframe src=\"x.html\"></iframe></noscript >"
                      "<meta name=\"author\" content=\"a\"></head>")
        << QStringLiteral("author") << QStringLiteral("a");
    QTest::newRow("a tag inside is text")
        << QByteArray("<head><noscript><meta name=\"author\" content=\"inside\"></noscript>")
        << QStringLiteral("author") << QString();
    QTest::newRow("a title that holds its end tag")
        << QByteArray("<head><title>A&lt;/title><b>&lt;/titles</title></head>")
        << QStringLiteral("page-title") << QStringLiteral("A</title><b>&lt;/titles");
    const QString whole(75, QLatin1Char('t'));
    QTest::newRow("a text whole beyond its place in the record")
        << "<meta http-equiv=title content=" + whole.toLatin1() + ">" << QStringLiteral("title")
        << whole;
}

void TestPages::extractFrom()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, key);
    QFETCH(QString, value);

    TagDocument doc;
    QStringList notes;
    QString error;
    QVERIFY2(extractPage(bytes, &doc, &notes, &error), qPrintable(error));
    QCOMPARE(shown(doc, key), value);
}

void TestPages::applyKeeps_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QByteArray>("kept");
    QTest::addColumn<QByteArray>("gone");

    const QByteArray bakery = R"({"description": "Fresh bread, café", "page-title": "Bakery",
                                  "dc-date": ""})";
    const QByteArray pixel = "<noscript><img height=\"1\" src=\"px.gif\"></noscript>";
    QTest::newRow("a tracking pixel")
        << "<html><head>\n<title>Old</title>\n" + pixel +
               "\n<meta name=\"description\" content=\"Old\">\n</head><body></body></html>\n"
        << bakery << pixel << QByteArray("Old");
    QTest::newRow("a style sheet for pages without scripts")
        << QByteArray("<head>\n<noscript><link rel=\"stylesheet\" href=\"nojs.css\"></noscript>\n"
                      "</head>\n")
        << QByteArray(R"({"external-css": "site.css", "dc-date": ""})")
        << QByteArray("<noscript><link rel=\"stylesheet\" href=\"nojs.css\"></noscript>\n")
        << QByteArray();
    QTest::newRow("a charset beside an http-equiv declares nothing")
        << QByteArray("<head>\n<meta http-equiv=\"refresh\" content=\"5; url=a.html\" "
                      "charset=\"iso-8859-1\">\n</head>\n")
        << QByteArray(R"({"charset": "UTF-8", "dc-date": ""})") << QByteArray("charset=UTF-8\">")
        << QByteArray("refresh");
    QTest::newRow("the first one-line comment only")
        << QByteArray("<head>\n<!-- first -->\n<!-- second -->\n</head>\n")
        << QByteArray(R"({"comment": "Made here", "dc-date": ""})") << QByteArray("<!-- second -->")
        << QByteArray("first");
    QTest::newRow("the page's title when the project has none")
        << QByteArray("<head><title>Own</title></head>")
        << QByteArray(R"({"page-title": "", "dc-date": ""})") << QByteArray("<title>Own</title>")
        << QByteArray("<TITLE>");
    QTest::newRow("a title that holds its end tag")
        << QByteArray("<head><title>Old</title></head>")
        << QByteArray(R"({"page-title": "A</title><script>x()</script>", "dc-date": ""})")
        << QByteArray("<title>A&lt;/title><script>x()</script></title>") << QByteArray("Old");
    QTest::newRow("a <noscript> never closed, after the title")
        << QByteArray("<head><title>Shop</title>\n<noscript><img src=\"px.gif\">\n") << bakery
        << QByteArray("<title>Bakery</title>\n<meta name=\"description\"") << QByteArray("Shop");
    QByteArray oneLine = "<html><head>";
    for (int i = 0; i < 300; ++i)
        oneLine +=
            "<meta name=\"description\" content=\"d\"><meta name=\"viewport\" content=\"v\">";
    QTest::newRow("a head on one line")
        << oneLine + "</head></html>" << bakery << QByteArray("<meta name=\"viewport\"")
        << QByteArray("content=\"d\"");
}

void TestPages::applyKeeps()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, json);
    QFETCH(QByteArray, kept);
    QFETCH(QByteArray, gone);

    const TagDocument doc = documentFrom(json);
    const QByteArray once = applied(bytes, doc);
    QVERIFY2(!once.startsWith("error: "), once.constData());
    QVERIFY(once.contains(kept));
    QVERIFY(gone.isEmpty() || !once.contains(gone));
    QCOMPARE(applied(once, doc), once);
}

void TestPages::applyCharset_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("keepCharset");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QByteArray>("written");

    const QByteArray bakery = R"({"description": "Fresh bread, café", "dc-date": ""})";
    const QByteArray noSet = R"({"description": "Fresh bread, café", "dc-date": "",
                                 "charset": null})";
    const QByteArray inUtf8 = "Fresh bread, caf\xC3\xA9";
    const QByteArray inWestern = "Fresh bread, caf\xE9";
    const QString keep = QStringLiteral("; --keep-charset keeps the page's");
    const auto row = [](const char *name, const QByteArray &bytes, const QByteArray &json,
                        bool keepCharset, const QString &error, const QByteArray &written) {
        QTest::newRow(name) << bytes << json << keepCharset << error << written;
    };

    row("no set on either side", "<head><title>x</title></head>", noSet, false, {}, inUtf8);
    row("undeclared UTF-8, the project names none", "<head><title>\xC3\xA9</title></head>", noSet,
        false, {}, inUtf8);
    row("the project names none, the page declares one", "<meta charset=\"koi8-r\">", noSet, false,
        QStringLiteral("The page declares koi8-r on line 1, the project names no character set") +
            keep,
        {});
    row("declared UTF-16 is kept as UTF-8", "<meta charset=\"utf-16\"><title>x</title>", bakery,
        true, {}, inUtf8);
    row("declared UTF-32 is kept as UTF-8", "<meta charset=\"UTF-32\">", bakery, true, {}, inUtf8);
    row("declared UTF-16 against the project's set", "<meta charset=\"utf-16\">", bakery, false,
        QStringLiteral("The page declares utf-16 on line 1 (browsers read it as UTF-8), the "
                       "project has ISO-8859-1") +
            keep,
        {});
    row("a set browsers do not know", "<meta charset=\"IBM037\">", bakery, true,
        QStringLiteral("Line 1 declares the unknown character set \"IBM037\""), {});
    row("a set that does not keep ASCII", "<meta charset=\"iso-2022-jp\">", bakery, true,
        QStringLiteral("Line 1 declares iso-2022-jp (ISO-2022-JP), a character set that does "
                       "not keep ASCII as it is; the page is left alone"),
        {});
    row("a set browsers show nothing of", "<meta charset=\"hz-gb-2312\">", bakery, true,
        QStringLiteral("Line 1 declares hz-gb-2312, in which browsers show none of the page's "
                       "text; the page is left alone"),
        {});
    row("US-ASCII is the Western set", "<meta charset=\"us-ascii\">", bakery, false, {}, inWestern);
    row("a quoted charset",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; "
        "charset='ISO-8859-1'\">",
        bakery, false, {}, inWestern);
    row("blanks around the equals sign",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; "
        "charset = utf-8\">",
        bakery, false,
        QStringLiteral("The page declares utf-8 on line 1, the project has ISO-8859-1") + keep, {});
    row("the first set browsers know counts", "<meta charset=\"klingon\"><meta charset=\"latin1\">",
        bakery, false, {}, inWestern);
    row("a byte-order mark outranks any declaration", "\xEF\xBB\xBF<meta charset=\"klingon\">",
        bakery, true, {}, inUtf8);
    row("a page left plain ASCII takes the project's set",
        "<meta name=description content=a><meta name=description content=\"\xC3\xB1\">",
        R"({"description": "a", "charset": "UTF-8", "dc-date": ""})", false, {},
        "charset=UTF-8\">");
}

void TestPages::applyCharset()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, json);
    QFETCH(bool, keepCharset);
    QFETCH(QString, error);
    QFETCH(QByteArray, written);

    const TagDocument doc = documentFrom(json);
    const QByteArray once = applied(bytes, doc, keepCharset);
    if (!error.isEmpty()) {
        QCOMPARE(once, "error: " + error.toUtf8());
        return;
    }
    QVERIFY2(once.contains(written), once.constData());
    QCOMPARE(applied(once, doc, keepCharset), once);
}

void TestPages::applyChangesOnlyWhatDiffers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QStringList>("notes");

    const QByteArray shop = "<head>\n<META CONTENT='Fresh' NAME=description>\n<title>Shop</title>\n"
                            "<meta name=\"robots\" content=\"noindex\">\n</head>\n";
    // The shop's project with one value of its own.
    const auto project = [](const char *description, const char *robots) {
        return QByteArray(R"({"page-title": "Shop", "dc-date": "", "description": )") +
               description + R"(, "robots": )" + robots + "}";
    };
    const auto row = [](const char *name, const QByteArray &bytes, const QByteArray &json,
                        const QByteArray &expected, const QStringList &notes = {}) {
        QTest::newRow(name) << bytes << json << expected << notes;
    };
    row("equal values stay, whatever their case and quoting", shop,
        project(R"("Fresh")", R"("NoIndex")"), shop);
    row("only the value that differs changes", shop, project(R"("Stale")", R"("NoIndex")"),
        QByteArray(shop).replace("'Fresh'", "'Stale'"));
    row("a tag the page has takes the start-up value", shop, project(R"("Fresh")", R"("All")"),
        QByteArray(shop).replace("noindex", "All"));
    row("a list with no item removes its tag", shop, project(R"("Fresh")", "null"),
        QByteArray(shop).replace("<meta name=\"robots\" content=\"noindex\">\n", ""));
    row("start-up values add no tag, YYYY-MM-DD neither", "<head>\n<title>Shop</title>\n</head>\n",
        R"({"page-title": "Shop"})", "<head>\n<title>Shop</title>\n</head>\n");
    row("a chosen value goes beside the program's tags",
        "<head>\n<title>Shop</title>\n<style>p{}</style>\n</head>\n",
        R"({"page-title": "Shop", "rating": "Children", "dc-date": ""})",
        "<head>\n<title>Shop</title>\n<meta name=\"rating\" content=\"Children\">\n"
        "<style>p{}</style>\n</head>\n");
    const QByteArray long57 = "Fifty-seven letters of a title that the field cuts at 50";
    row("a longer page text that begins with the project's stays",
        "<head><title>" + long57 + "</title></head>",
        R"({"dc-date": "", "page-title": ")" + long57.first(50) + "\"}",
        "<head><title>" + long57 + "</title></head>",
        {u"1: kept the page's <title> of 56 characters, which begins with the project's 50; "
         "the field takes 50"_qs});
    row("a declaration of the project's set stays, in any form",
        "<meta http-equiv=content-type content='text/html;charset=utf-8'><title>\xce\xa9</title>",
        R"({"charset": "UTF-8", "page-title": "\u03a9", "dc-date": ""})",
        "<meta http-equiv=content-type content='text/html;charset=utf-8'><title>\xce\xa9</title>");
    row("a Content-Type that names no set is the project's to write",
        "<meta http-equiv=\"Content-Type\" content=\"text/html\"><title>caf\xe9</title>",
        R"({"page-title": "caf\u00e9", "dc-date": ""})",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">"
        "<title>caf\xe9</title>");
    row("a change that would have the rest of an undeclared page read in another set",
        "<title>caf\xe9</title><p>\xc3\xa9", R"({"page-title": "cafe", "dc-date": ""})",
        "error: The page declares no character set, and once changed its other bytes would "
        "read as UTF-8, not windows-1252; declare its set first");
    row("a tag removed from the start leaves no UTF-16 byte-order mark there",
        "<meta name=keywords content=k>\n\xFE\xFF<p>x", "{}",
        "error: Once changed, the page would start with bytes that read as a UTF-16 "
        "byte-order mark; left alone");
    row("a tag removed from the start of an implied head keeps what follows in the head",
        "<!><meta name=keywords content=k><!-- c --><title>T</title>",
        R"({"page-title": "T", "dc-date": ""})",
        "error: Without the elements that would go, the head would end before the others; "
        "left alone");
    row("<html lang> names the language", "<html lang=\"de\"><head><title>T</title></head>",
        R"({"language": "de", "page-title": "T", "dc-date": ""})",
        "<html lang=\"de\"><head><title>T</title></head>");
}

void TestPages::applyChangesOnlyWhatDiffers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, json);
    QFETCH(QByteArray, expected);
    QFETCH(QStringList, notes);

    QStringList got;
    QCOMPARE(applied(bytes, documentFrom(json), false, &got), expected);
    QCOMPARE(got, notes);
}

// A page's own project, extracted and applied unchanged, changes only where a note
// says why: a value the fields could not hold, or a second copy removed.
void TestPages::extractThenApply_data()
{
    QTest::addColumn<QString>("name");
    const QDir dir(QStringLiteral(PAGES_DIR "/corpus"));
    for (const QString &name : dir.entryList(QDir::Files))
        QTest::newRow(qPrintable(name)) << name;
}

void TestPages::extractThenApply()
{
    QFETCH(QString, name);

    const QByteArray bytes = page(name);
    TagDocument doc;
    QStringList notes;
    QString error;
    QVERIFY2(extractPage(bytes, &doc, &notes, &error), qPrintable(error));
    QList<PageEdit> edits;
    QStringList applyNotes;
    QVERIFY2(planApply(bytes, doc, ApplyOptions{}, &edits, &applyNotes, &error), qPrintable(error));
    QSet<int> told;
    for (const QString &note : notes + applyNotes)
        told << note.section(QLatin1Char(':'), 0, 0).toInt();
    for (const PageEdit &edit : std::as_const(edits)) {
        const int line = int(QByteArrayView(bytes).first(edit.begin).count('\n')) + 1;
        QVERIFY2(told.contains(line),
                 qPrintable(u"line %1 changed: "_qs.arg(line) + QString::fromUtf8(edit.bytes)));
    }
}

void TestPages::labels_data()
{
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QString>("name");

    QTest::newRow("any case, blanks around") << QByteArray(" \tLatin1\n") << u"windows-1252"_qs;
    QTest::newRow("EBCDIC") << QByteArray("IBM037") << QString();
    QTest::newRow("UTF-32") << QByteArray("utf-32") << QString();
    QTest::newRow("a blank inside") << QByteArray("utf 8") << QString();
}

void TestPages::labels()
{
    QFETCH(QByteArray, label);
    QFETCH(QString, name);

    QCOMPARE(PageCharset::forLabel(label).name(), name);
}

// Each label of the standard's table names its set, and a page that declares it is read
// and written in a set that has a codec here.
void TestPages::everySetOfTheTable()
{
    QFile file(QStringLiteral(ENCODINGS_JSON));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonArray groups = QJsonDocument::fromJson(file.readAll()).array();
    int labels = 0;
    for (const QJsonValue &group : groups) {
        for (const QJsonValue &encoding : group[u"encodings"_qs].toArray()) {
            for (const QJsonValue &value : encoding[u"labels"_qs].toArray()) {
                const QByteArray label = value.toString().toLatin1();
                QCOMPARE(PageCharset::forLabel(label).name(), encoding[u"name"_qs].toString());
                const QByteArray page = "<meta charset=\"" + label + "\"><p>";
                PageEncoding read;
                QString error;
                if (!quill::pageEncoding(page, readPageHead(page), &read, &error))
                    continue;
                QVERIFY2(read.charset.keepsAscii(), label.constData());
                QByteArray bytes;
                QVERIFY2(read.charset.encode(u"<a href=\"x\">", &bytes, &error), label.constData());
                QCOMPARE(bytes, QByteArray("<a href=\"x\">"));
                QCOMPARE(read.charset.decode(bytes), u"<a href=\"x\">"_qs);
                ++labels;
            }
        }
    }
    QVERIFY(labels > 200);
}

void TestPages::contentTypeCharset_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("label");

    QTest::newRow("plain") << QByteArray("text/html; charset=utf-8") << QByteArray("utf-8");
    QTest::newRow("blanks around =")
        << QByteArray("text/html; charset = utf-8") << QByteArray("utf-8");
    QTest::newRow("single quotes")
        << QByteArray("text/html;charset='koi8-r' x") << QByteArray("koi8-r");
    QTest::newRow("double quotes")
        << QByteArray("text/html; CharSet=\"a b\"; x") << QByteArray("a b");
    QTest::newRow("up to a blank or ;")
        << QByteArray("text/html; charset=latin1 ;x") << QByteArray("latin1");
    QTest::newRow("a quote never closed")
        << QByteArray("text/html; charset=\"utf-8") << QByteArray();
    QTest::newRow("a charset without =, then one")
        << QByteArray("charset; charset=utf-8") << QByteArray("utf-8");
    // Browsers look for the letters, not for a word.
    QTest::newRow("within a longer word")
        << QByteArray("text/html; xcharset=utf-8") << QByteArray("utf-8");
    QTest::newRow("nothing after =") << QByteArray("text/html; charset=") << QByteArray();
    QTest::newRow("none") << QByteArray("text/html") << QByteArray();
}

void TestPages::contentTypeCharset()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, label);

    QCOMPARE(charsetOfContentType(content), label);
}

void TestPages::pageEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");

    QTest::newRow("a <meta charset>") << QByteArray("<html>\n<meta charset=\"koi8-r\">")
                                      << u"KOI8-R"_qs << u"declares koi8-r on line 2"_qs;
    QTest::newRow("x-user-defined")
        << QByteArray("<meta charset=\"x-user-defined\">") << u"windows-1252"_qs
        << u"declares x-user-defined on line 1 (browsers read it "
           "as windows-1252)"_qs;
    QTest::newRow("a charset beside a name")
        << QByteArray("<meta name=\"rating\" content=\"General\" charset=\"koi8-r\">")
        << u"UTF-8"_qs << u"declares no character set and is plain ASCII"_qs;
    QTest::newRow("undeclared UTF-8") << QByteArray("<p>caf\xC3\xA9") << u"UTF-8"_qs
                                      << u"is written in UTF-8 without declaring it"_qs;
    QTest::newRow("undeclared 8-bit") << QByteArray("<p>caf\xE9") << u"windows-1252"_qs
                                      << u"is written in windows-1252 without declaring it"_qs;
}

void TestPages::pageEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, reason);

    PageEncoding read;
    QString error;
    QVERIFY2(quill::pageEncoding(bytes, readPageHead(bytes), &read, &error), qPrintable(error));
    QCOMPARE(read.charset.name(), name);
    QCOMPARE(read.reason, reason);
}

// The first character a set cannot hold is the one named.
void TestPages::encodeFault_data()
{
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fault");

    QTest::newRow("UTF-8 holds U+FEFF, not half a pair")
        << QByteArray("utf-8") << u"\uFEFF\xD800"_qs << u"U+D800 cannot be written in UTF-8"_qs;
    QTest::newRow("windows-1252 lacks omega")
        << QByteArray("latin1") << u"a\u03A9"_qs
        << u"\"\u03A9\" (U+03A9) cannot be written in windows-1252"_qs;
    QTest::newRow("windows-1252 holds no half a pair")
        << QByteArray("latin1") << u"a\xDC00"_qs << u"U+DC00 cannot be written in windows-1252"_qs;
}

void TestPages::encodeFault()
{
    QFETCH(QByteArray, label);
    QFETCH(QString, text);
    QFETCH(QString, fault);

    QByteArray bytes;
    QString got;
    QVERIFY(!PageCharset::forLabel(label).encode(text, &bytes, &got));
    QCOMPARE(got, fault);
}

void TestPages::nesting_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("refused");

    const auto times = [](const char *text, int count) { return QByteArray(text).repeated(count); };
    const QByteArray author = "<meta name=\"author\" content=\"a\">";
    QTest::newRow("400,000 templates in the head")
        << "<head>" + times("<template>", 400000) << true;
    QTest::newRow("10,001 elements in a template")
        << "<head><template>" + times("<div>", 10001) << true;
    QTest::newRow("9,990 elements closed again")
        << "<head><template>" + times("<div>", 9990) + times("</div>", 9990) + "</template>" +
               author
        << false;
    QTest::newRow("20,000 paragraphs without end tags")
        << "<head><template>" + times("<p>x", 20000) + "</template>" + author << false;
    QTest::newRow("20,000 table rows without end tags")
        << "<head><template><table>" + times("<tr><td>a<td>b", 20000) + "</table></template>" +
               author
        << false;
    QTest::newRow("20,000 list items without end tags")
        << "<head><template><ul>" + times("<li>x", 20000) + "</ul></template>" + author << false;
    QTest::newRow("a script and a comment full of tags")
        << "<head><script>" + times("'<div a=\">\">'+", 20000) + "</script><!--" +
               times("<div>", 20000) + "-->" + author
        << false;
}

void TestPages::nesting()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, refused);

    TagDocument doc;
    QStringList notes;
    QString error;
    QCOMPARE(extractPage(bytes, &doc, &notes, &error), !refused);
    if (refused)
        QCOMPARE(error, u"The page nests elements more than 10,000 deep"_qs);
    else
        QCOMPARE(shown(doc, QStringLiteral("author")), u"a"_qs);
}

QTEST_GUILESS_MAIN(TestPages)
#include "tst_pages.moc"
