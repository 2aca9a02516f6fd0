// Reading the heads of existing pages and writing a project's lines into them.

#include "common/file_helpers.h"

#include "document/ansi_codec.h"
#include "document/meta_generator.h"
#include "files/project_record.h"
#include "files/project_text.h"
#include "pages/page_apply.h"
#include "pages/page_extract.h"
#include "pages/unified_diff.h"

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

QByteArray applied(const QByteArray &bytes, const TagDocument &doc, bool keepCharset,
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
    QTest::newRow("outside Windows-1252")
        << QStringLiteral("bom_utf8.html")
        << QStringList{
               QStringLiteral(R"(1: author: "Ł" (U+0141) not in Windows-1252; kept as "?")")};
    QTest::newRow("repeated with another value")
        << QStringLiteral("duplicates.html")
        << QStringList{QStringLiteral(R"(3: a second <meta name="description"> with another )"
                                      R"(value; kept the one of line 2)")};
    QTest::newRow("too long, wrong form, no item")
        << QStringLiteral("faults.html")
        << QStringList{
               QStringLiteral("2: description: 300 characters, more than the 250 the field "
                              "holds; kept the first 250"),
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
    QTest::newRow("other script type, no items")
        << QByteArray(R"({"script-type-other-checked": true, "script-type-other": "text/perl",
                          "distribution": null, "robots": null, "classification": null})");
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

QTEST_GUILESS_MAIN(TestPages)
#include "tst_pages.moc"
