// Reading the heads of existing pages and writing a project's lines into them.

#include "common/file_helpers.h"

#include "pages/page_extract.h"

#include <QTest>

using namespace quill;

namespace {

QByteArray page(const QString &name)
{
    return readFile(QStringLiteral(PAGES_DIR "/corpus/") + name);
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
    QTest::newRow("a set the list lacks")
        << QStringLiteral("attributes.html")
        << QStringList{QStringLiteral(
               R"(4: charset: "utf-8" is not one of the list's items; kept "ISO-8859-1")")};
    QTest::newRow("outside Windows-1252")
        << QStringLiteral("bom_utf8.html")
        << QStringList{
               QStringLiteral(R"(1: author: "Ł" (U+0141) not in Windows-1252; kept as "?")"),
               QStringLiteral(
                   R"(1: charset: "UTF-8" is not one of the list's items; kept "ISO-8859-1")")};
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

QTEST_GUILESS_MAIN(TestPages)
#include "tst_pages.moc"
