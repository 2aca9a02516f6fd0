// The checks of a page's tags and of the tags a site's pages share.

#include "site/site_checks.h"
#include "site/text_width.h"

#include <QRegularExpression>
#include <QTest>

#include <cmath>

#include <memory>

using namespace quill;
using namespace Qt::Literals::StringLiterals;

namespace {

const char soundTitle[] = "Garden Tools for Small Yards and Balconies";
const char soundDescription[] =
    "Spades, rakes and shears sized for a small yard or a balcony, and how to keep them sharp.";

// A page no rule finds fault with, a line an entry. A case replaces lines of it: the
// text may hold several lines, or none.
const QList<QByteArray> soundPage = {
    "<!DOCTYPE html>",                                                     // 1
    "<html lang=\"en\">",                                                  // 2
    "<head>",                                                              // 3
    "<meta charset=\"utf-8\">",                                            // 4
    "<title>"_ba + soundTitle + "</title>",                                // 5
    "<meta name=\"description\" content=\""_ba + soundDescription + "\">", // 6
    "<link rel=\"canonical\" href=\"https://example.com/tools.html\">",    // 7
    "</head>",                                                             // 8
    "<body><p>Tools.</p></body></html>",                                   // 9
};

using Lines = QList<std::pair<int, QByteArray>>;

QByteArray pageWith(const Lines &changes)
{
    QList<QByteArray> lines = soundPage;
    for (const auto &[line, text] : changes)
        lines[line - 1] = text;
    QByteArray page;
    for (const QByteArray &line : lines) {
        if (!line.isEmpty())
            page += line + '\n';
    }
    return page;
}

// A line after the head's last one.
QByteArray added(const QByteArray &line)
{
    return soundPage[6] + '\n' + line;
}

// Line 4 as a comment and the declaration after it, the declaration's last byte the
// page's byte `end`.
QByteArray declarationEndingAt(qsizetype end)
{
    qsizetype before = 0;
    for (qsizetype i = 0; i < 3; ++i)
        before += soundPage[i].size() + 1;
    const QByteArray comment = "<!--" + QByteArray(end - before - soundPage[3].size() - 8, '-');
    return comment + "-->\n" + soundPage[3];
}

QByteArray descriptionOf(const QByteArray &text)
{
    return "<meta name=\"description\" content=\"" + text + "\">";
}

struct PageCase {
    const char *name;
    Lines changes;
    const char *expected; // "rule-id:LINE ...", line 0 for the page as a whole
};

const QList<PageCase> &pageCases()
{
    static const QList<PageCase> cases = {
        {"sound", {}, ""},
        {"no title", {{5, ""}}, "title-missing:0"},
        {"blank title", {{5, "<title> \t </title>"}}, "title-empty:5"},
        {"two titles", {{5, soundPage[4] + "\n<title>Tools</title>"}}, "title-multiple:6"},
        // Of one length, on either side of the limit: the width decides, not the count.
        {"narrow title", {{5, "<title>" + QByteArray(60, 'i') + "</title>"}}, ""},
        {"wide title", {{5, "<title>" + QByteArray(60, 'W') + "</title>"}}, "title-too-long:5"},
        {"short title", {{5, "<title>Tools</title>"}}, "title-too-short:5"},
        {"no description", {{6, ""}}, "description-missing:0"},
        {"empty description",
         {{6, "<meta name=\"description\" content=\" \">"}},
         "description-missing:6"},
        {"two descriptions",
         {{7, added("<meta name=\"description\" content=\"Again.\">")}},
         "description-multiple:8"},
        {"long description",
         {{6, "<meta name=\"description\" content=\"" + QByteArray(30, 'x').replace("x", "Wide ") +
                  "\">"}},
         "description-too-long:6"},
        // Characters, not bytes.
        {"description just long enough",
         {{6, descriptionOf(QByteArray(70, 'x').replace("x", "\xc3\xa9"))}},
         ""},
        {"short description",
         {{6, descriptionOf(QByteArray(69, 'x').replace("x", "\xc3\xa9"))}},
         "description-too-short:6"},
        {"no declaration", {{4, ""}}, "charset-missing:0"},
        {"declaration just in time", {{4, declarationEndingAt(1024)}}, ""},
        {"late declaration", {{4, declarationEndingAt(1025)}}, "charset-late:5"},
        {"western",
         {{4, "<meta charset=\"windows-1252\">"}, {9, "<body>caf\xe9</body>"}},
         "charset-not-utf8:4"},
        {"not UTF-8 as declared", {{9, "<body>caf\xe9</body>"}}, "charset-mismatch:9"},
        {"broken Shift_JIS",
         {{4, "<meta charset=\"shift_jis\">"}, {9, "<body>\x82\xa0\x82\x20</body>"}},
         "charset-not-utf8:4 charset-mismatch:9"},
        {"no lang", {{2, "<html>"}}, "lang-missing:0"},
        {"relative canonical",
         {{7, "<link rel=\"canonical\" href=\"tools.html\">"}},
         "canonical-relative:7"},
        {"canonical with a blank",
         {{7, "<link rel=\"canonical\" href=\"https://ex ample.com/\">"}},
         "canonical-invalid:7"},
        {"canonical of a script",
         {{7, "<link rel=\"canonical\" href=\"javascript:go()\">"}},
         "canonical-invalid:7"},
        {"two canonicals",
         {{7, added("<link rel=\"canonical\" href=\"https://example.com/\">")}},
         "canonical-multiple:8"},
        {"og:url elsewhere",
         {{7, added("<meta property=\"og:url\" content=\"https://example.com/other.html\">")}},
         "og-url-differs:8"},
        {"og:url the canonical",
         {{7, added("<meta property=\"og:url\" content=\" https://example.com/tools.html\">")}},
         ""},
        {"noindex",
         {{7, added("<meta name=\"robots\" content=\"follow, NoIndex\">")}},
         "noindex:8"},
        {"refresh to elsewhere",
         {{7, added("<meta http-equiv=\"refresh\" content=\"0; URL='https://example.com/'\">")}},
         "refresh-redirect:8"},
        {"refresh in place", {{7, added("<meta http-equiv=\"refresh\" content=\"30\">")}}, ""},
        {"keywords",
         {{7, added("<meta name=\"keywords\" content=\"spade, rake\">")}},
         "obsolete-tag:8"},
        {"revisit-after",
         {{7, added("<meta name=\"revisit-after\" content=\"7 days\">")}},
         "obsolete-tag:8"},
    };
    return cases;
}

// Pages of a site by name, each the sound page with its title, description and
// canonical given ("" keeps the sound page's line, "-" removes it).
struct SitePageCase {
    QString path;
    QByteArray title;
    QByteArray description;
    QByteArray canonical;
};

struct SiteCase {
    const char *name;
    QList<SitePageCase> pages;
    const char *expected; // "page:rule-id:LINE ..."
};

const char *const distinct =
    "Every page here has a description of its own, long enough to be read whole.";

const QList<SiteCase> &siteCases()
{
    static const QList<SiteCase> cases = {
        {"all distinct",
         {{u"a.html"_s, "Garden Tools for Small Yards", "A: "_ba + distinct, "-"},
          {u"b.html"_s, "Pruning Shears for Roses", "B: "_ba + distinct, "-"}},
         ""},
        {"a title twice",
         {{u"a.html"_s, "Garden Tools for Small Yards", "A: "_ba + distinct, "-"},
          {u"b.html"_s, "Garden  Tools for Small Yards", "B: "_ba + distinct, "-"},
          {u"c.html"_s, "Pruning Shears for Roses", "C: "_ba + distinct, "-"}},
         "a.html:title-duplicate:5 b.html:title-duplicate:5"},
        {"a description three times",
         {{u"a.html"_s, "Garden Tools for Small Yards", distinct, "-"},
          {u"b.html"_s, "Pruning Shears for Roses", distinct, "-"},
          {u"c.html"_s, "Watering Cans That Last", distinct, "-"}},
         "a.html:description-duplicate:6 b.html:description-duplicate:6 "
         "c.html:description-duplicate:6"},
        {"a canonical elsewhere",
         {{u"a.html"_s, "Garden Tools for Small Yards", "A: "_ba + distinct,
           "https://example.com/all.html"},
          {u"b.html"_s, "Pruning Shears for Roses", "B: "_ba + distinct,
           "https://example.com/all.html"}},
         "a.html:canonical-shared:7 b.html:canonical-shared:7"},
        {"a canonical that is one of the pages",
         {{u"a.html"_s, "Garden Tools for Small Yards", "A: "_ba + distinct,
           "https://example.com/a.html"},
          {u"b.html"_s, "Pruning Shears for Roses", "B: "_ba + distinct,
           "https://example.com/a.html"}},
         ""},
        {"relative canonicals of one page elsewhere",
         {{u"a.html"_s, "Garden Tools for Small Yards", "A: "_ba + distinct, "gone.html"},
          {u"sub/b.html"_s, "Pruning Shears for Roses", "B: "_ba + distinct, "../gone.html"}},
         "a.html:canonical-relative:7 a.html:canonical-shared:7 "
         "sub/b.html:canonical-relative:7 sub/b.html:canonical-shared:7"},
        {"relative canonicals of a page among them",
         {{u"a.html"_s, "Garden Tools for Small Yards", "A: "_ba + distinct, "sub/b.html"},
          {u"sub/b.html"_s, "Pruning Shears for Roses", "B: "_ba + distinct, "b.html"}},
         "a.html:canonical-relative:7 sub/b.html:canonical-relative:7"},
    };
    return cases;
}

QByteArray sitePage(const SitePageCase &page)
{
    Lines changes{{5, "<title>" + page.title + "</title>"},
                  {6, "<meta name=\"description\" content=\"" + page.description + "\">"}};
    if (page.canonical == "-")
        changes.append({7, ""});
    else if (!page.canonical.isEmpty())
        changes.append({7, "<link rel=\"canonical\" href=\"" + page.canonical + "\">"});
    return pageWith(changes);
}

QStringList described(const QList<SiteFinding> &findings, bool withPage)
{
    QStringList out;
    for (const SiteFinding &finding : findings)
        out << (withPage ? finding.page + u':' : QString()) +
                   QLatin1StringView(checkRule(finding.rule).id) + u':' +
                   QString::number(finding.line);
    return out;
}

QStringList expectedList(const char *expected)
{
    return QString::fromLatin1(expected).split(u' ', Qt::SkipEmptyParts);
}

} // namespace

Q_DECLARE_METATYPE(SitePageCase)
Q_DECLARE_METATYPE(SiteRow)

class TestSiteChecks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyRuleCovered();
    void pageFindings_data();
    void pageFindings();
    void siteFindings_data();
    void siteFindings();
    void pendingEdits_data();
    void pendingEdits();
    void limitsApply();

private:
    QList<SiteFinding> checkOne(const QByteArray &bytes, const QString &path,
                                const RuleLimits &limits = {});

    std::unique_ptr<TextWidth> m_width;
};

void TestSiteChecks::initTestCase()
{
    QString error;
    m_width = TextWidth::liberationSans(&error);
    QVERIFY2(m_width, qPrintable(error));
}

QList<SiteFinding> TestSiteChecks::checkOne(const QByteArray &bytes, const QString &path,
                                            const RuleLimits &limits)
{
    SitePage page;
    QString error;
    if (!page.read(bytes, &error))
        qFatal("%s", qPrintable(error));
    return SiteChecks(limits, m_width.get()).checkPage(path, page);
}

// The tables below hold a case for every rule, each by its scope.
void TestSiteChecks::everyRuleCovered()
{
    QStringList pageRules;
    for (const PageCase &row : pageCases())
        pageRules << expectedList(row.expected);
    QStringList siteRules;
    for (const SiteCase &row : siteCases())
        siteRules << expectedList(row.expected);
    for (const RuleDef &def : checkRules()) {
        const QStringList &covered = def.scope == RuleScope::Page ? pageRules : siteRules;
        const QString id = QLatin1StringView(def.id);
        QVERIFY2(covered.indexOf(QRegularExpression(u"(.*:)?"_s + id + u":\\d+"_s)) >= 0, def.id);
    }
}

void TestSiteChecks::pageFindings_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QStringList>("expected");
    for (const PageCase &row : pageCases())
        QTest::newRow(row.name) << pageWith(row.changes) << expectedList(row.expected);
    // A byte-order mark names UTF-8 as a declaration does.
    QTest::newRow("byte-order mark, bytes not UTF-8")
        << "\xEF\xBB\xBF" + pageWith({{9, "<body>\xff</body>"}})
        << QStringList{u"charset-mismatch:9"_s};
}

void TestSiteChecks::pageFindings()
{
    QFETCH(QByteArray, page);
    QFETCH(QStringList, expected);
    const QList<SiteFinding> findings = checkOne(page, u"site/tools.html"_s);
    QCOMPARE(described(findings, false).join(u' '), expected.join(u' '));
    for (const SiteFinding &finding : findings) {
        QCOMPARE(finding.page, u"site/tools.html"_s);
        QVERIFY(!finding.message.isEmpty() && !finding.message.contains(u'\n'));
        QCOMPARE(finding.measured.has_value(), checkRule(finding.rule).unit != LimitUnit::None);
    }
}

void TestSiteChecks::siteFindings_data()
{
    QTest::addColumn<QList<SitePageCase>>("pages");
    QTest::addColumn<QStringList>("expected");
    for (const SiteCase &row : siteCases())
        QTest::newRow(row.name) << row.pages << expectedList(row.expected);
}

void TestSiteChecks::siteFindings()
{
    QFETCH(QList<SitePageCase>, pages);
    QFETCH(QStringList, expected);
    SiteChecks checks(RuleLimits(), m_width.get());
    QList<SiteFinding> findings;
    QList<PageFacts> facts;
    QStringList order;
    for (const SitePageCase &row : pages) {
        SitePage page;
        QString error;
        QVERIFY2(page.read(sitePage(row), &error), qPrintable(error));
        facts.append(PageFacts());
        findings << checks.checkPage(row.path, page, &facts.back());
        order << row.path;
    }
    const QList<SiteFinding> across = checkAcrossPages(facts);
    findings << across;
    sortFindings(&findings, order);
    QCOMPARE(described(findings, true).join(u' '), expected.join(u' '));
    // Each page that shares a value names the others that share it, and not itself.
    for (const SiteFinding &finding : across) {
        for (const SiteFinding &other : across) {
            if (other.rule == finding.rule)
                QCOMPARE(finding.message.contains(other.page), other.page != finding.page);
        }
    }
}

// A row's cells as the window holds them before writing, over the sound page.
void TestSiteChecks::pendingEdits_data()
{
    QTest::addColumn<SiteRow>("row");
    QTest::addColumn<QStringList>("expected");
    const QString title = QString::fromLatin1(soundTitle);
    const QString description = QString::fromLatin1(soundDescription);
    QTest::newRow("description removed")
        << SiteRow{{title, std::nullopt}} << QStringList{u"description-missing:0"_s};
    QTest::newRow("title emptied")
        << SiteRow{{u""_s, description}} << QStringList{u"title-missing:0"_s};
    QTest::newRow("title widened")
        << SiteRow{{QString(60, u'W'), description}} << QStringList{u"title-too-long:5"_s};
    QTest::newRow("new keywords") << SiteRow{{title, description, u"spade"_s}}
                                  << QStringList{u"obsolete-tag:0"_s};
}

void TestSiteChecks::pendingEdits()
{
    QFETCH(SiteRow, row);
    QFETCH(QStringList, expected);
    SitePage page;
    QString error;
    QVERIFY(page.read(pageWith({}), &error));
    const QList<SiteColumn> columns{SiteColumn::Title, SiteColumn::Description,
                                    SiteColumn::Keywords};
    const CheckedValues values(page, columns.first(row.cells.size()), row);
    PageFacts facts;
    const QList<SiteFinding> findings =
        SiteChecks(RuleLimits(), m_width.get()).checkPage(u"tools.html"_s, page, values, &facts);
    QCOMPARE(described(findings, false).join(u' '), expected.join(u' '));
    QCOMPARE(facts.title.value, values.tag(SiteColumn::Title).value);
}

// A site's limits take the place of the defaults; the message gives what was measured.
void TestSiteChecks::limitsApply()
{
    RuleLimits limits;
    QString error;
    QVERIFY2(limits.read(R"({"title-too-long": 100})", u"limits.json"_s, &error),
             qPrintable(error));
    const QString title = QString::fromLatin1(soundTitle);
    const QList<SiteFinding> findings = checkOne(pageWith({}), u"tools.html"_s, limits);
    QCOMPARE(described(findings, false), QStringList{u"title-too-long:5"_s});
    const SiteFinding &finding = findings.constFirst();
    const double width = SiteChecks(limits, m_width.get()).width(CheckRule::TitleTooLong, title);
    QCOMPARE(*finding.measured, std::round(width * 10) / 10);
    QVERIFY2(finding.message.contains(u"over the limit of 100 px"_s), qPrintable(finding.message));
    QVERIFY2(finding.message.contains(u"after \"Garden"_s), qPrintable(finding.message));
}

QTEST_GUILESS_MAIN(TestSiteChecks)
#include "tst_site_checks.moc"
