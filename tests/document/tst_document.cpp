// The document core: field catalogue, generator and the character sets of texts.

#include "common/expected_values.h"
#include "common/worked_example.h"
#include "document/ansi_codec.h"
#include "document/character_set.h"
#include "document/field_catalogue.h"
#include "document/line_breaks.h"
#include "document/meta_generator.h"
#include "document/tag_document.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace quill;
using namespace Qt::StringLiterals;

namespace {

// Sets fields from "Control=value" settings: an edit takes the text, a list the item
// index, a check box 1 or 0. "Pref.EditN" names an edit of the Preferences dialog;
// "mode=meta" chooses meta-only mode.
TagDocument documentWith(const QStringList &settings)
{
    TagDocument doc = TagDocument::startUp();
    for (const QString &setting : settings) {
        const qsizetype eq = setting.indexOf(QLatin1Char('='));
        const QString name = setting.left(eq);
        const QString value = setting.mid(eq + 1);
        if (name == QLatin1StringView("mode")) {
            doc.setMode(value == QLatin1StringView("meta") ? GenerationMode::MetaOnly
                                                           : GenerationMode::FullPage);
            continue;
        }
        const bool pref = name.startsWith(QLatin1StringView("Pref."));
        const FieldDef *def =
            findField(pref ? Owner::Preferences : Owner::Main, pref ? name.mid(5) : name);
        if (!def)
            qFatal("no field %s", qPrintable(name));
        switch (def->kind) {
        case FieldKind::Edit:
            doc.setText(def->id, value);
            break;
        case FieldKind::List:
            doc.setIndex(def->id, value.toInt());
            break;
        case FieldKind::Check:
            doc.setChecked(def->id, value == QLatin1StringView("1"));
            break;
        }
    }
    return doc;
}

// The worked example's inputs as settings: a list by the index of its item.
QStringList workedExampleSettings()
{
    QStringList settings;
    for (const worked::Input &input : worked::inputs) {
        QString value = QString::fromUtf8(input.value);
        const FieldDef *def = findField(Owner::Main, QString::fromLatin1(input.control));
        if (def && def->kind == FieldKind::List) {
            const auto item =
                std::find_if(def->items.begin(), def->items.end(),
                             [&value](const char *i) { return value == QLatin1StringView(i); });
            value = QString::number(item - def->items.begin());
        }
        settings << QLatin1StringView(input.control) + QLatin1Char('=') + value;
    }
    return settings;
}

QStringList startUpMetaLines()
{
    return {
        QStringLiteral(R"(<meta name="distribution" content="Global">)"),
        QStringLiteral(R"(<meta name="rating" content="General">)"),
        QStringLiteral(R"(<meta name="robots" content="All">)"),
        QStringLiteral(
            R"(<meta http-equiv="Content-Type" content="text/html; charset=ISO-8859-1">)"),
        QStringLiteral(R"(<meta http-equiv="content-language" content="en">)"),
        QStringLiteral(R"(<meta http-equiv="pragma" content="Cache">)"),
        QStringLiteral(R"(<meta http-equiv="window-target" content="_top">)"),
        QStringLiteral(R"(<meta http-equiv="Content-Script-Type" content="text/javascript">)"),
        QStringLiteral(R"(<meta http-equiv="Content-Style-Type" content="text/css">)"),
        QStringLiteral(R"(<meta http-equiv="classification" content="Adults">)"),
        QStringLiteral(R"(<meta name="dc.date" content="YYYY-MM-DD">)"),
    };
}

QStringList startUpFullPageLines()
{
    QStringList lines{QStringLiteral("<HTML>"), QStringLiteral("<HEAD>"),
                      QStringLiteral("<TITLE></TITLE>")};
    lines << startUpMetaLines() << QStringLiteral("</HEAD>") << QStringLiteral("<BODY>")
          << QString() << QStringLiteral("</BODY>") << QStringLiteral("</HTML>");
    return lines;
}

QString fromUcs4(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void wholeCodePage_data();
    void wholeCodePage();
    void conditionalLines_data();
    void conditionalLines();
    void secondRunGivesSameLines();
    void everyAttributeStaysWhole();
    void codePageText_data();
    void codePageText();

    void encode_data();
    void encode();
    void decode_data();
    void decode();
    void everyCharacterBothWays();
    void lacking_data();
    void lacking();
    void fitted_data();
    void fitted();
    void longestText_data();
    void longestText();

    void recordLayoutIsPacked();
    void capacities();
    void catalogueMatchesExpectedValues_data();
    void catalogueMatchesExpectedValues();
    void everyFieldHasExpectedValues();

    void withoutLineBreaks_data();
    void withoutLineBreaks();
};

void TestDocument::wholeCodePage_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("worked example, meta only")
        << (workedExampleSettings() << QStringLiteral("mode=meta")) << worked::metaLines();
    QTest::newRow("worked example, full page")
        << (workedExampleSettings() << QStringLiteral("mode=full")) << worked::fullPageLines();
    QTest::newRow("start-up, meta only")
        << QStringList{QStringLiteral("mode=meta")} << startUpMetaLines();
    QTest::newRow("start-up, full page") << QStringList{} << startUpFullPageLines();
}

void TestDocument::wholeCodePage()
{
    QFETCH(QStringList, settings);
    QFETCH(QStringList, lines);

    const QStringList got = generateMetaCode(documentWith(settings));
    for (qsizetype i = 0; i < std::min(got.size(), lines.size()); ++i)
        QCOMPARE(got.at(i), lines.at(i));
    QCOMPARE(got.size(), lines.size());
}

// Each row sets a few fields and names the lines it expects that start with `prefix`
// (none: the line must be missing).
void TestDocument::conditionalLines_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QStringList>("lines");

    const QString refresh = QStringLiteral("<meta http-equiv=\"refresh\"");
    const QString expires = QStringLiteral("<meta http-equiv=\"expires\"");
    const QString script = QStringLiteral("<meta http-equiv=\"Content-Script-Type\"");
    const QString style = QStringLiteral("<meta http-equiv=\"Content-Style-Type\"");
    const QString link = QStringLiteral("<link");
    const auto s = [](const char *text) { return QString::fromUtf8(text); };
    using L = QStringList;

    QTest::newRow("UTF-8 declared")
        << L{s("ComboBox4=9")} << s("<meta http-equiv=\"Content-Type\"")
        << L{s(R"(<meta http-equiv="Content-Type" content="text/html; charset=UTF-8">)")};
    QTest::newRow("refresh: page only") << L{s("Edit8=a.html")} << refresh << L{};
    QTest::newRow("refresh: delay only") << L{s("Edit9=5")} << refresh << L{};
    QTest::newRow("refresh: both")
        << L{s("Edit8=a.html"), s("Edit9=10")} << refresh
        << L{s(R"(<meta http-equiv="refresh" CONTENT="10; url=a.html">)")};
    QTest::newRow("refresh: blanks fill")
        << L{s("Edit8= "), s("Edit9= ")} << refresh
        << L{s(R"(<meta http-equiv="refresh" CONTENT=" ; url= ">)")};

    QTest::newRow("expiry: no year")
        << L{s("Edit11=23"), s("Edit12=59"), s("ComboBox6=5")} << expires << L{};
    QTest::newRow("expiry: no hours") << L{s("Edit10=2004"), s("Edit12=59")} << expires << L{};
    QTest::newRow("expiry: no minutes") << L{s("Edit10=2004"), s("Edit11=23")} << expires << L{};
    QTest::newRow("expiry: start-up lists")
        << L{s("Edit10=2004"), s("Edit11=23"), s("Edit12=59")} << expires
        << L{s(R"(<meta http-equiv="expires" content="Sun, 01 Jan 2004 23:59:00 GMT">)")};
    QTest::newRow("expiry: impossible date as typed")
        << L{s("ComboBox7=30"), s("ComboBox8=1"), s("Edit10=2004"), s("Edit11=9"), s("Edit12=77")}
        << expires << L{s(R"(<meta http-equiv="expires" content="Sun, 31 Feb 2004 9:77:00 GMT">)")};
    QTest::newRow("expiry: lists without item")
        << L{s("ComboBox6=-1"), s("ComboBox7=31"), s("ComboBox8=-1"),
             s("Edit10=1"),     s("Edit11=2"),     s("Edit12=3")}
        << expires << L{s(R"(<meta http-equiv="expires" content=",   1 2:3:00 GMT">)")};

    QTest::newRow("script: list")
        << L{s("ComboBox11=2"), s("Edit33=text/x")} << script
        << L{s(R"(<meta http-equiv="Content-Script-Type" content="text/vbscript">)")};
    QTest::newRow("script: other")
        << L{s("ComboBox11=2"), s("CheckBox2=1"), s("Edit33=text/x")} << script
        << L{s(R"(<meta http-equiv="Content-Script-Type" content="text/x">)")};
    QTest::newRow("script: other, empty")
        << L{s("CheckBox2=1")} << script
        << L{s(R"(<meta http-equiv="Content-Script-Type" content="">)")};
    QTest::newRow("style: list")
        << L{s("Edit34=text/xsl")} << style
        << L{s(R"(<meta http-equiv="Content-Style-Type" content="text/css">)")};
    QTest::newRow("style: other")
        << L{s("CheckBox3=1"), s("Edit34=text/xsl")} << style
        << L{s(R"(<meta http-equiv="Content-Style-Type" content="text/xsl">)")};
    QTest::newRow("style: other, empty")
        << L{s("CheckBox3=1")} << style
        << L{s(R"(<meta http-equiv="Content-Style-Type" content="">)")};

    QTest::newRow("links: favicon only")
        << L{s("Pref.Edit3=f.ico")} << link << L{s(R"(<link rel="shortcut icon" href="f.ico">)")};
    QTest::newRow("links: style sheet only")
        << L{s("Pref.Edit2=s.css")} << link
        << L{s(R"(<link rel=stylesheet href="s.css" type="text/css">)")};
    QTest::newRow("links: none in meta-only mode")
        << L{s("Pref.Edit2=s.css"), s("Pref.Edit3=f.ico"), s("mode=meta")} << link << L{};
    QTest::newRow("title: only in full page")
        << L{s("Pref.Edit1=T"), s("mode=meta")} << s("<TITLE>") << L{};

    QTest::newRow("blank author") << L{s("Edit3= ")} << s("<meta name=\"author\"")
                                  << L{s(R"(<meta name="author" content=" ">)")};
    QTest::newRow("quotes in a value, the rest as typed")
        << L{s(R"(Edit1=Say "hi" &amp; <c> & d)")} << s("<meta name=\"description\"")
        << L{s(R"(<meta name="description" content="Say &quot;hi&quot; &amp; <c> & d">)")};
    QTest::newRow("refresh: quotes in both values")
        << L{s(R"(Edit8=a"b.html)"), s(R"(Edit9=5")")} << refresh
        << L{s(R"(<meta http-equiv="refresh" CONTENT="5&quot;; url=a&quot;b.html">)")};
    QTest::newRow("links: quotes in the addresses")
        << L{s(R"(Pref.Edit2=s".css)"), s(R"(Pref.Edit3=f".ico)")} << link
        << L{s(R"(<link rel="shortcut icon" href="f&quot;.ico">)"),
             s(R"(<link rel=stylesheet href="s&quot;.css" type="text/css">)")};
    QTest::newRow("title: quotes as typed")
        << L{s(R"(Pref.Edit1="T")")} << s("<TITLE>") << L{s(R"(<TITLE>"T"</TITLE>)")};
    QTest::newRow("comment: quotes as typed")
        << L{s(R"(Edit17="c")")} << s("<!--") << L{s(R"(<!--"c"-->)")};
    QTest::newRow("comment without blanks")
        << L{s("Edit17= x ")} << s("<!--") << L{s("<!-- x -->")};
    QTest::newRow("revisit days") << L{s("Edit5=7")} << s("<meta name=\"revisit")
                                  << L{s(R"(<meta name="revisit-after" content="7 days">)")};
    QTest::newRow("title is http-equiv") << L{s("Edit6=T")} << s("<meta http-equiv=\"title\"")
                                         << L{s(R"(<meta http-equiv="title" content="T">)")};
    QTest::newRow("list without item") << L{s("ComboBox1=-1")} << s("<meta name=\"distribution\"")
                                       << L{s(R"(<meta name="distribution" content="">)")};
    QTest::newRow("list past its items")
        << L{s("ComboBox13=78")} << s("<meta http-equiv=\"classification\"")
        << L{s(R"(<meta http-equiv="classification" content="">)")};
    QTest::newRow("last classification")
        << L{s("ComboBox13=77")} << s("<meta http-equiv=\"classification\"")
        << L{s(R"(<meta http-equiv="classification" content="Web Site Promotion">)")};
    QTest::newRow("empty DC date") << L{s("Edit24=")} << s("<meta name=\"dc.") << L{};
    QTest::newRow("DC subject before description")
        << L{s("Edit20=D"), s("Edit21=S"), s("Edit24=")} << s("<meta name=\"dc.")
        << L{s(R"(<meta name="dc.subject" content="S">)"),
             s(R"(<meta name="dc.description" content="D">)")};
}

void TestDocument::conditionalLines()
{
    QFETCH(QStringList, settings);
    QFETCH(QString, prefix);
    QFETCH(QStringList, lines);

    const QStringList got = generateMetaCode(documentWith(settings));
    QCOMPARE(got.filter(QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(prefix))),
             lines);
}

void TestDocument::secondRunGivesSameLines()
{
    const TagDocument doc = documentWith(workedExampleSettings());
    QCOMPARE(generateMetaCode(doc), generateMetaCode(doc));
}

// Whatever quotes the texts hold, every attribute ends where the generator ends it.
void TestDocument::everyAttributeStaysWhole()
{
    TagDocument doc = documentWith({QStringLiteral("CheckBox2=1"), QStringLiteral("CheckBox3=1")});
    for (const FieldDef &def : fieldCatalogue()) {
        if (def.kind == FieldKind::Edit)
            doc.setText(def.id, QLatin1Char('"') + QLatin1StringView(def.key) + QLatin1Char('"'));
    }
    const QRegularExpression tag(QStringLiteral(R"(^<(meta|link)( [\w-]+=("[^"]*"|\w+))+>$)"));
    const QStringList attributeLines =
        generateMetaCode(doc).filter(QRegularExpression(QStringLiteral("^<(meta|link)")));
    QCOMPARE(attributeLines.size(), 37);
    for (const QString &line : attributeLines)
        QVERIFY2(tag.match(line).hasMatch(), qPrintable(line));
}

void TestDocument::codePageText_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("text");

    QTest::newRow("no line") << QStringList{} << QString();
    QTest::newRow("one line") << QStringList{QStringLiteral("a")} << QStringLiteral("a");
    QTest::newRow("two lines") << QStringList{QStringLiteral("a"), QStringLiteral("b")}
                               << QStringLiteral("a\r\nb");
    QTest::newRow("empty line inside")
        << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}
        << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("empty last line")
        << QStringList{QStringLiteral("a"), QString()} << QStringLiteral("a\r\n");
    // A text can hold a break; inside a line it is written as every other break is.
    QTest::newRow("LF inside") << QStringList{QStringLiteral("a\nb")} << QStringLiteral("a\r\nb");
    QTest::newRow("lone CR inside")
        << QStringList{QStringLiteral("a\rb")} << QStringLiteral("a\r\nb");
    QTest::newRow("CR LF inside is one")
        << QStringList{QStringLiteral("a\r\nb")} << QStringLiteral("a\r\nb");
    QTest::newRow("LF CR inside is two")
        << QStringList{QStringLiteral("a\n\rb")} << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("CR at a line's end is its own")
        << QStringList{QStringLiteral("a\r"), QStringLiteral("b")} << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("separators") << QStringList{QStringLiteral("a\u2028b\u2029c")}
                                << QStringLiteral("a\r\nb\r\nc");
}

void TestDocument::codePageText()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, text);
    QCOMPARE(quill::codePageText(lines), text);
}

// The rules of writing a text in a set, beyond what each set's own table holds: the
// Western set for a list position outside the list, '?' or a reference for what a set
// lacks, and every character counted, the invisible ones too.
void TestDocument::encode_data()
{
    QTest::addColumn<int>("set"); // the item of the character-set list
    QTest::addColumn<bool>("references");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    const auto row = [](const char *tag, int set, bool references, const QString &text,
                        const QByteArray &bytes) {
        QTest::newRow(tag) << set << references << text << bytes;
    };
    row("empty", 0, false, QString(), QByteArray());
    row("ASCII", 0, false, QStringLiteral("<meta a=\"b\">\t~\x7f"), "<meta a=\"b\">\t~\x7f");
    row("ASCII in UTF-8", 9, false, QStringLiteral("<meta a=\"b\">\t~\x7f"),
        "<meta a=\"b\">\t~\x7f");
    row("NUL", 0, false, QString(QChar(0)), QByteArray(1, '\0'));
    row("euro", 0, false, fromUcs4(0x20AC), "\x80");
    row("Y diaeresis", 0, false, fromUcs4(0x0178), "\x9f");
    row("Latin-1 e acute", 0, false, fromUcs4(0xE9), "\xe9");
    row("C1 control 0x80 is not in the set", 0, false, fromUcs4(0x80), "?");
    row("no item: the Western set", -1, false, fromUcs4(0x20AC), "\x80");
    row("beyond the list: the Western set", 10, false, fromUcs4(0x20AC), "\x80");
    row("ISO-8859-9 read as windows-1254, which has the euro", 8, false,
        fromUcs4(0x011F) + fromUcs4(0x20AC), "\xf0\x80");
    row("CJK between ASCII", 0, false, u"a\u4E2Db"_s, "a?b");
    row("non-BMP is one character", 0, false, fromUcs4(0x1F600), "?");
    row("lone high surrogate", 0, false, QString(QChar(0xD800)) + u'x', "?x");
    row("lone low surrogate in UTF-8", 9, false, QString(QChar(0xDC00)), "?");
    row("a joiner is not dropped", 0, false, u"a\u200Db"_s, "a?b");
    row("reference", 6, true, u"\u03A9 caf\u00E9"_s, "\xd9 caf&#233;");
    row("reference to a joiner", 0, true, u"a\u200Db"_s, "a&#8205;b");
    row("reference beyond 16 bits", 0, true, fromUcs4(0x1F600), "&#128512;");
    row("no reference to half a pair", 0, true, QString(QChar(0xD800)) + u'x', "?x");
    row("UTF-8 lacks nothing", 9, true, fromUcs4(0x1F600), "\xf0\x9f\x98\x80");
}

void TestDocument::encode()
{
    QFETCH(int, set);
    QFETCH(bool, references);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const CharacterSet charset = CharacterSet::ofItem(set);
    QCOMPARE(charset.encode(text, references ? Lacking::CharacterReference : Lacking::QuestionMark),
             bytes);
    if (set == 0 && !references)
        QCOMPARE(encodeAnsi(text), bytes);
}

void TestDocument::decode_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("ASCII") << 0 << QByteArray("Hello, \"world\"") << u"Hello, \"world\""_s;
    QTest::newRow("euro") << 0 << QByteArray("\x80") << fromUcs4(0x20AC);
    QTest::newRow("S caron") << 0 << QByteArray("\x8a") << fromUcs4(0x0160);
    QTest::newRow("left single quote") << 0 << QByteArray("\x91") << fromUcs4(0x2018);
    QTest::newRow("trade mark") << 0 << QByteArray("\x99") << fromUcs4(0x2122);
    QTest::newRow("undefined 0x81") << 0 << QByteArray("\x81") << fromUcs4(0x81);
    QTest::newRow("undefined 0x9D") << 0 << QByteArray("\x9d") << fromUcs4(0x9D);
    QTest::newRow("no-break space") << 0 << QByteArray("\xa0") << fromUcs4(0xA0);
    QTest::newRow("windows-1254 undefined 0x8E") << 8 << QByteArray("\x8e") << fromUcs4(0x8E);
    // What a set leaves undefined reads as browsers read it.
    QTest::newRow("ISO-8859-3 undefined 0xA5") << 2 << QByteArray("a\xa5") << u"a\uFFFD"_s;
    QTest::newRow("ISO-8859-8 undefined 0xC0") << 7 << QByteArray("\xc0") << u"\uFFFD"_s;
    QTest::newRow("UTF-8 cut off") << 9 << QByteArray("a\xce") << u"a\uFFFD"_s;
    QTest::newRow("UTF-8 overlong") << 9 << QByteArray("\xc0\xaf") << u"\uFFFD\uFFFD"_s;
}

void TestDocument::decode()
{
    QFETCH(int, set);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(CharacterSet::ofItem(set).decode(bytes), text);
    if (set == 0)
        QCOMPARE(decodeAnsi(bytes), text);
}

// In every set, a character either comes back from its byte or is named as lacking, and
// a byte either reads as one character that writes it again or as U+FFFD: no fallback
// writes one character as another's byte.
void TestDocument::everyCharacterBothWays()
{
    QString all;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c < 0xD800 || c > 0xDFFF)
            all += QChar(char16_t(c));
    }
    QByteArray everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.append(char(b));
    const auto sets = characterSetCatalogue();
    for (int item = 0; item < int(sets.size()); ++item) {
        const CharacterSet set = CharacterSet::ofItem(item);
        if (set.isUtf8()) {
            QCOMPARE(set.decode(set.encode(all, Lacking::QuestionMark)), all);
            QVERIFY(set.lacking(all).isEmpty());
            continue;
        }
        const QByteArray bytes = set.encode(all, Lacking::QuestionMark);
        QCOMPARE(bytes.size(), all.size());
        const QString back = set.decode(bytes);
        const QList<char32_t> lacking = set.lacking(all);
        const QSet<char32_t> named(lacking.begin(), lacking.end());
        QCOMPARE(back.size(), all.size());
        qsizetype lost = 0;
        for (qsizetype i = 0; i < all.size(); ++i) {
            if (back[i] != all[i]) {
                QVERIFY2(back[i] == u'?' && named.contains(all[i].unicode()),
                         qPrintable(u"%1: U+%2"_s.arg(set.name()).arg(all[i].unicode(), 0, 16)));
                ++lost;
            }
        }
        QCOMPARE(lost, lacking.size());
        const QString read = set.decode(everyByte);
        QCOMPARE(read.size(), 256);
        for (int b = 0; b < 256; ++b) {
            if (read[b] != QChar(0xFFFD))
                QCOMPARE(set.encode(read.sliced(b, 1), Lacking::QuestionMark),
                         everyByte.sliced(b, 1));
        }
        // ASCII is ASCII in every set.
        QCOMPARE(read.left(128), QString::fromLatin1(everyByte.left(128)));
    }
}

void TestDocument::lacking_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lacking"); // the characters, each once in order

    QTest::newRow("none") << 0 << u"caf\u00E9 \u20AC"_s << QString();
    QTest::newRow("each once, in order") << 0 << u"\u03A9a\u03B1\u03A9"_s << u"\u03A9\u03B1"_s;
    QTest::newRow("beyond 16 bits") << 4 << u"\U0001F600"_s << u"\U0001F600"_s;
    QTest::newRow("half a pair is no character") << 0 << QString(QChar(0xDC00)) << QString();
    QTest::newRow("UTF-8 lacks nothing") << 9 << u"\u03A9\u4E2D"_s << QString();
}

void TestDocument::lacking()
{
    QFETCH(int, set);
    QFETCH(QString, text);
    QFETCH(QString, lacking);
    QList<char32_t> expected;
    for (const char32_t c : lacking.toUcs4())
        expected << c;
    QCOMPARE(CharacterSet::ofItem(set).lacking(text), expected);
}

// A record's place is cut where a character ends, never inside one.
void TestDocument::fitted_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("fits") << 0 << u"abc"_s << 3 << QByteArray("abc");
    QTest::newRow("8-bit: a byte a character")
        << 6 << u"\u03A9\u03A9\u03A9"_s << 2 << QByteArray("\xd9\xd9");
    QTest::newRow("lacking as one byte") << 0 << u"\u03A9\U0001F600b"_s << 2 << QByteArray("??");
    QTest::newRow("UTF-8 at a boundary")
        << 9 << u"a\u0416\u0416"_s << 5 << QByteArray("a\xd0\x96\xd0\x96");
    QTest::newRow("UTF-8 inside a character")
        << 9 << u"a\u0416\u0416"_s << 4 << QByteArray("a\xd0\x96");
    QTest::newRow("UTF-8 inside four bytes") << 9 << u"ab\U0001F600"_s << 5 << QByteArray("ab");
    QTest::newRow("UTF-8 nothing fits") << 9 << u"\u4E2D"_s << 2 << QByteArray();
}

void TestDocument::fitted()
{
    QFETCH(int, set);
    QFETCH(QString, text);
    QFETCH(int, capacity);
    QFETCH(QByteArray, bytes);
    QCOMPARE(CharacterSet::ofItem(set).fitted(text, capacity), bytes);
}

// QuickInsert copies a field whole, so the longest text of the field it fills is the
// longer of the two.
void TestDocument::longestText_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("longest");
    QTest::newRow("typing limit") << int(Field::Edit3) << 75;
    QTest::newRow("DC title from the title") << int(Field::Edit18) << 75;
    QTest::newRow("DC description from the description") << int(Field::Edit20) << 250;
    QTest::newRow("DC language from the language list") << int(Field::Edit29) << 5;
    QTest::newRow("comment from the description") << int(Field::Edit17) << 250;
    QTest::newRow("DC publisher") << int(Field::Edit22) << 30;
}

void TestDocument::longestText()
{
    QFETCH(int, field);
    QFETCH(int, longest);
    QCOMPARE(quill::longestText(fieldDef(Field(field))), longest);
}

// Fields follow each other without gaps, except one byte before a list that would
// otherwise start off a multiple of four, and the record ends on a multiple of four.
void TestDocument::recordLayoutIsPacked()
{
    int next = 0;
    for (const FieldDef &def : fieldCatalogue()) {
        int size = 1;
        if (def.kind == FieldKind::List) {
            if (next % 4 != 0)
                next += 4 - next % 4;
            size = 4;
        } else if (def.kind == FieldKind::Edit) {
            size = def.capacity + 1;
        }
        QVERIFY2(def.offset == next, def.control);
        next += size;
    }
    QCOMPARE(next, 1639);
    QCOMPARE(fieldDef(Field::PageTitle).offset, 679);
    QCOMPARE(fieldDef(Field::ComboBox11).offset, 1092);
    QCOMPARE(fieldDef(Field::Edit32).offset, 1608);
}

// A text's capacity is its typing limit, except four Basic edits and the refresh page,
// which accept more than the record keeps.
void TestDocument::capacities()
{
    const QList<std::pair<Field, int>> shorter = {
        {Field::Edit3, 30}, {Field::Edit4, 30}, {Field::Edit6, 30},
        {Field::Edit7, 30}, {Field::Edit8, 50},
    };
    for (const FieldDef &def : fieldCatalogue()) {
        if (def.kind != FieldKind::Edit) {
            QCOMPARE(def.capacity, 0);
            continue;
        }
        int capacity = def.limit;
        for (const auto &[field, cap] : shorter) {
            if (field == def.id) {
                QCOMPARE(def.limit, 75);
                capacity = cap;
            }
        }
        QVERIFY2(def.capacity == capacity, def.control);
    }
}

void TestDocument::catalogueMatchesExpectedValues_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(expected::fields)); ++i) {
        const expected::Field &e = expected::fields[i];
        QTest::newRow(qPrintable(QLatin1StringView(e.window) + QLatin1Char('.') +
                                 QLatin1StringView(e.control)))
            << i;
    }
}

// The catalogue against the values written out independently; the windows are
// checked against the catalogue.
void TestDocument::catalogueMatchesExpectedValues()
{
    QFETCH(int, row);
    const expected::Field &e = expected::fields[row];
    const auto text = [](const char *s) { return s ? QString::fromUtf8(s) : QString(); };

    const bool main = QLatin1StringView(e.window) == QLatin1StringView("Form1");
    const FieldDef *def =
        findField(main ? Owner::Main : Owner::Preferences, QString::fromLatin1(e.control));
    QVERIFY(def);
    QCOMPARE(int(def->kind), int(e.kind));
    QCOMPARE(text(def->label), text(e.label));
    QCOMPARE(def->limit, e.limit);
    QCOMPARE(text(def->hint), text(e.hint));
    QCOMPARE(text(def->startText), text(e.text));
    QCOMPARE(def->startIndex, e.index);
    QStringList items;
    for (const char *item : def->items)
        items << text(item);
    QCOMPARE(items, expected::items(e));
    if (e.parent) {
        QCOMPARE(text(def->geometry.parent), text(e.parent));
        QCOMPARE(def->geometry.left, e.left);
        QCOMPARE(def->geometry.top, e.top);
        QCOMPARE(def->geometry.width, e.width);
        QCOMPARE(def->geometry.labelLeft, e.labelLeft);
    }
}

void TestDocument::everyFieldHasExpectedValues()
{
    QCOMPARE(std::size(expected::fields), fieldCatalogue().size());
}

void TestDocument::withoutLineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");

    const auto row = [](const char *tag, const char *text, const char *line) {
        QTest::newRow(tag) << QString::fromLatin1(text) << QString::fromLatin1(line);
    };
    row("none", "one line", "one line");
    row("CR LF", "line1\r\nline2\r\nline3", "line1 line2 line3");
    row("lone LF", "a\nb", "a b");
    row("lone CR", "a\rb", "a b");
    row("LF CR is two", "a\n\rb", "a  b");
    row("CR CR LF", "a\r\r\nb", "a  b");
    row("at the ends", "\r\nmiddle\n", " middle ");
    row("blanks stay", "a \t b", "a \t b");
}

void TestDocument::withoutLineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(quill::withoutLineBreaks(text), line);
}

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
