// Widths of texts in Liberation Sans and where a line cuts them.
//
// The expected widths were worked out from the font file itself
// (/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf, version 1.07.4, 2048
// units to the em) with fontTools (Debian python3-fonttools): the advances of the
// characters' glyphs in its hmtx table plus the pairs of its kern table, times the size
// over 2048; and confirmed with hb-shape (Debian libharfbuzz-bin) at --font-size=2048.

#include "site/check_rules.h"
#include "site/text_width.h"

#include <QTest>

using namespace quill;

namespace {

// Of the same length, on either side of a search result's line.
const QString narrowTitle = QStringLiteral("little jelly fillets, fill it all: this is still ill");
const QString wideTitle = QStringLiteral("WHOLE MOMS WHO MOW HOMEMADE MUSHROOM MEMOS FROM HOME");

// Width at `size` pixels of a text of so many font units.
double fromUnits(int units, double size)
{
    return units * size / 2048;
}

} // namespace

class TestTextWidth : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void width_data();
    void width();
    void titleLimitTellsSameLengthsApart();
    void cutPoint_data();
    void cutPoint();
    void unreadableFont_data();
    void unreadableFont();

private:
    std::unique_ptr<TextWidth> m_width;
};

void TestTextWidth::initTestCase()
{
    QString error;
    m_width = TextWidth::liberationSans(&error);
    QVERIFY2(m_width, qPrintable(error));
}

void TestTextWidth::width_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("size");
    QTest::addColumn<double>("expected");

    QTest::newRow("empty") << QString() << 20.0 << 0.0;
    QTest::newRow("plain word") << QStringLiteral("Quillmark") << 20.0 << fromUnits(8648, 20);
    // T 1251 + o 1139, kerned by -227
    QTest::newRow("kerned pair") << QStringLiteral("To") << 20.0 << fromUnits(2163, 20);
    // four pairs of -152: A-V, V-A, A-T, T-A
    QTest::newRow("kerned word") << QStringLiteral("AVATAR") << 20.0 << fromUnits(7586, 20);
    QTest::newRow("accents, smaller size")
        << QStringLiteral("Caf\u00e9, cr\u00e8me br\u00fbl\u00e9e") << 14.0 << fromUnits(17416, 14);
    QTest::newRow("ellipsis") << QStringLiteral("\u2026") << 14.0 << 14.0;
    QTest::newRow("narrow title") << narrowTitle << 20.0 << fromUnits(32091, 20);
    QTest::newRow("wide title") << wideTitle << 20.0 << fromUnits(73042, 20);
    // No glyph in the font: an em each, as a CJK font would draw them.
    QTest::newRow("characters the font lacks") << QStringLiteral("\u65e5\u672c") << 20.0 << 40.0;
    // a 1139 and a Devanagari stress sign, which another font would draw over it
    QTest::newRow("a mark the font lacks")
        << QStringLiteral("a\u0951") << 20.0 << fromUnits(1139, 20);
}

void TestTextWidth::width()
{
    QFETCH(QString, text);
    QFETCH(double, size);
    QFETCH(double, expected);
    QCOMPARE(m_width->width(text, size), expected);
}

void TestTextWidth::titleLimitTellsSameLengthsApart()
{
    const RuleDef &rule = checkRule(CheckRule::TitleTooLong);
    QCOMPARE(narrowTitle.size(), wideTitle.size());
    QCOMPARE_LT(m_width->width(narrowTitle, rule.pixelSize), rule.limit);
    QCOMPARE_GT(m_width->width(wideTitle, rule.pixelSize), rule.limit);
}

void TestTextWidth::cutPoint_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("size");
    QTest::addColumn<double>("limit");
    QTest::addColumn<qsizetype>("expected");

    QTest::newRow("fits whole") << narrowTitle << 20.0 << 600.0 << narrowTitle.size();
    QTest::newRow("fits exactly") << QStringLiteral("Quillmark") << 20.0 << fromUnits(8648, 20)
                                  << qsizetype(9);
    // "...MEMO" and the ellipsis: 589.97 px; one letter more: 603.31 px.
    QTest::newRow("title at 600 px") << wideTitle << 20.0 << 600.0 << qsizetype(41);
    // "...tarts, bake" and the ellipsis: 919.03 px; one letter more: 926.82 px.
    QTest::newRow("description at 920 px")
        << QStringLiteral("Fresh bread from our own ovens every morning: sourdough, rye and spelt "
                          "loaves, buttery croissants, cinnamon buns and seasonal fruit tarts, "
                          "baked by hand in the old mill since 1921, with coffee roasted nearby")
        << 14.0 << 920.0 << qsizetype(143);
    QTest::newRow("nothing fits") << QStringLiteral("WWW") << 20.0 << 10.0 << qsizetype(0);
    // Each face an em (20 px): two and the ellipsis make 60 px, three 80.
    QTest::newRow("surrogate pairs stay whole")
        << QStringLiteral("\U0001F600\U0001F600\U0001F600\U0001F600") << 20.0 << 70.0
        << qsizetype(4);
    // "ab" 22.25 px, a face 20 px (the joiners none), the ellipsis 20 px: "ab" and one face
    // would fit in 70 px, but the three joined faces are one grapheme.
    QTest::newRow("joined emoji stay whole")
        << QStringLiteral("ab\U0001F469\u200D\U0001F469\u200D\U0001F467") << 20.0 << 70.0
        << qsizetype(2);
}

void TestTextWidth::cutPoint()
{
    QFETCH(QString, text);
    QFETCH(double, size);
    QFETCH(double, limit);
    QFETCH(qsizetype, expected);
    QCOMPARE(m_width->cutPoint(text, size, limit), expected);
}

void TestTextWidth::unreadableFont_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");

    QTest::newRow("no file") << QStringLiteral("/nonexistent/font.ttf")
                             << QStringLiteral("cannot be opened");
    QTest::newRow("not a font") << QStringLiteral(QT_TESTCASE_SOURCEDIR "/tst_text_width.cpp")
                                << QStringLiteral("not a font file");
}

void TestTextWidth::unreadableFont()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    QString error;
    QVERIFY(!TextWidth::fromFile(path, &error));
    QCOMPARE(error, QStringLiteral("Cannot read the font %1: %2").arg(path, reason));
}

QTEST_GUILESS_MAIN(TestTextWidth)
#include "tst_text_width.moc"
