// The site window's preview: texts cut where the checks' width function cuts them, the
// card's picture found as og:image names it, and the card's fallbacks, through the widget.

#include "site/check_rules.h"
#include "site/site_checks.h"
#include "site/text_width.h"
#include "site_window/site_preview.h"

#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace quill;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(quill::PreviewPlace)
Q_DECLARE_METATYPE(quill::PreviewImage::Kind)

namespace {

QString repeated(const QString &piece, int times)
{
    QString text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

} // namespace

class TestSitePreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cutText_data();
    void cutText();
    void image_data();
    void image();
    void fallbacks_data();
    void fallbacks();

private:
    QLabel *label(const QString &name) const { return m_preview->findChild<QLabel *>(name); }

    std::unique_ptr<TextWidth> m_width;
    std::unique_ptr<SitePreview> m_preview;
    QTemporaryDir m_dir;
};

void TestSitePreview::initTestCase()
{
    QString error;
    m_width = TextWidth::liberationSans(&error);
    QVERIFY2(m_width, qPrintable(error));
    QVERIFY(m_dir.isValid());
    m_preview = std::make_unique<SitePreview>();
    m_preview->resize(700, 900);
    m_preview->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_preview.get()));
}

void TestSitePreview::cutText_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString narrow = repeated(u"little jelly fillets, fill it all: this is still ill. "_s, 8);
    const QString wide = repeated(u"WHOLE MOMS WHO MOW HOMEMADE MUSHROOM MEMOS. "_s, 8);
    const QString cjk = repeated(u"手作りの木のおもちゃ、丘の上の小さな工房から。"_s, 8);
    const QString solid = repeated(u"jelly-fillets,"_s, 60); // no blank to collapse at its end
    const QString marks = repeated(u"Cafe\u0301 cre\u0300me bru\u0302le\u0301e, "_s, 30);

    // Desktop: where the checks cut, by their own function and limits. Phone and card:
    // where the preview's own lines say.
    const SiteChecks checks(RuleLimits(), m_width.get());
    struct Place {
        const char *name;
        PreviewPlace place;
    };
    for (const Place &place :
         {Place{"desktop", PreviewPlace::Desktop}, Place{"mobile", PreviewPlace::Mobile},
          Place{"card", PreviewPlace::Card}}) {
        const PreviewLines lines = previewLines(place.place, RuleLimits());
        struct Part {
            const char *name;
            CheckRule rule;
            double pixels, limit;
        };
        for (const Part &part :
             {Part{"Title", CheckRule::TitleTooLong, lines.titlePixels, lines.titleLimit},
              Part{"Description", CheckRule::DescriptionTooLong, lines.descriptionPixels,
                   lines.descriptionLimit}}) {
            const QString name = QLatin1StringView(place.name) + QLatin1StringView(part.name);
            const auto cutPoint = [&](const QString &text) {
                return place.place == PreviewPlace::Desktop
                           ? checks.cutPoint(part.rule, text)
                           : m_width->cutPoint(text, part.pixels, part.limit);
            };
            const auto expected = [&](const QString &text) {
                const qsizetype cut = cutPoint(text);
                // No blank before the ellipsis.
                return cut == text.size() ? text : text.left(cut).trimmed() + u'…';
            };
            // The longest start of `solid` that fits whole; one character more is cut.
            qsizetype fits = cutPoint(solid);
            while (cutPoint(solid.left(fits + 1)) == fits + 1)
                ++fits;
            const QString fitting = solid.left(fits);
            const QString over = solid.left(fits + 1);
            QVERIFY(expected(over).endsWith(u'…'));
            const std::initializer_list<std::pair<const char *, QString>> texts = {
                {"short", u"Wooden toys"_s},  {"fitting exactly", fitting},
                {"one character over", over}, {"long narrow", narrow},
                {"long wide", wide},          {"CJK", cjk},
                {"combining marks", marks},
            };
            for (const auto &[row, text] : texts)
                QTest::addRow("%s %s: %s", place.name, part.name, row)
                    << name << text << expected(text);
            // Words cut just after a blank: the text started a letter later each time
            // until its cut falls there.
            QString atBlank;
            for (qsizetype from = 0; from < 40 && atBlank.isEmpty(); ++from) {
                const QString text = narrow.mid(from);
                const qsizetype cut = cutPoint(text);
                if (!text.at(0).isSpace() && cut > 0 && cut < text.size() &&
                    text.at(cut - 1).isSpace())
                    atBlank = text;
            }
            QVERIFY(!atBlank.isEmpty());
            QTest::addRow("%s %s: cut after a blank", place.name, part.name)
                << name << atBlank << expected(atBlank);
            // Blanks collapsed as a browser shows them, as the checks measure.
            const QString spaced = u"  "_s + wide.left(200).replace(u' ', u"\n\t "_s) + u' ';
            QTest::addRow("%s %s: blanks", place.name, part.name)
                << name << spaced << expected(wide.left(200).trimmed());
        }
    }
}

void TestSitePreview::cutText()
{
    QFETCH(QString, label);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    SitePreviewPage page;
    if (label.endsWith("Title"_L1))
        page.title = text;
    else
        page.description = text;
    m_preview->showPage(page);
    const QLabel *shown = this->label(label);
    QVERIFY(shown);
    QCOMPARE(shown->text(), expected);
    // What a screen reader reads is what is shown.
    QCOMPARE(shown->accessibleDescription(), expected);
}

void TestSitePreview::image_data()
{
    QTest::addColumn<QString>("ogImage");
    QTest::addColumn<QString>("pagePath"); // the page's place in the site folder
    QTest::addColumn<PreviewImage::Kind>("kind");
    QTest::addColumn<QString>("found"); // the file in the site folder, or the host
    QTest::addColumn<bool>("drawn");

    using Kind = PreviewImage::Kind;
    const QString site = m_dir.path() + u"/site"_s;
    QTest::newRow("none") << u"  "_s << u"blog/post.html"_s << Kind::None << QString() << false;
    QTest::newRow("beside the page")
        << u"red.png"_s << u"blog/post.html"_s << Kind::File << u"blog/red.png"_s << true;
    QTest::newRow("up a folder, escaped, with a query")
        << u"../img/red%20one.png?v=2#x"_s << u"blog/post.html"_s << Kind::File
        << u"img/red one.png"_s << true;
    QTest::newRow("from the site's root")
        << u"/img/red.png"_s << u"blog/deep/post.html"_s << Kind::File << u"img/red.png"_s << true;
    QTest::newRow("absolute path on disk")
        << site + u"/img/red.png"_s << u"post.html"_s << Kind::File << u"img/red.png"_s << true;
    QTest::newRow("file URL") << QUrl::fromLocalFile(site + u"/img/red one.png"_s).toString()
                              << u"post.html"_s << Kind::File << u"img/red one.png"_s << true;
    QTest::newRow("https") << u"https://cdn.example.com/a.png"_s << u"post.html"_s << Kind::Remote
                           << u"cdn.example.com"_s << false;
    QTest::newRow("network path") << u"//img.example.org/a.png"_s << u"post.html"_s << Kind::Remote
                                  << u"img.example.org"_s << false;
    QTest::newRow("data") << u"data:image/png;base64,iVBORw0KGgo="_s << u"post.html"_s
                          << Kind::Unsupported << u"data"_s << false;
    // Read as a picture, a pipe would never end.
    QTest::newRow("a pipe") << u"pipe.png"_s << u"post.html"_s << Kind::File << u"pipe.png"_s
                            << false;
}

void TestSitePreview::image()
{
    QFETCH(QString, ogImage);
    QFETCH(QString, pagePath);
    QFETCH(PreviewImage::Kind, kind);
    QFETCH(QString, found);
    QFETCH(bool, drawn);

    const QString site = m_dir.path() + u"/site/"_s;
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    for (const QString &file : {u"blog/red.png"_s, u"img/red.png"_s, u"img/red one.png"_s}) {
        QVERIFY(QDir().mkpath(QFileInfo(site + file).absolutePath()));
        QVERIFY(red.save(site + file));
    }
    if (!QFileInfo::exists(site + u"pipe.png"_s))
        QCOMPARE(mkfifo(QFile::encodeName(site + u"pipe.png"_s).constData(), 0600), 0);
    const QString pageFile = site + pagePath;

    const PreviewImage image = previewImage(ogImage, pageFile, pagePath);
    QCOMPARE(image.kind, kind);
    const bool local = kind == PreviewImage::Kind::File;
    QCOMPARE(local ? image.file : image.host, local ? site + found : found);

    // The card draws a local picture, and names the host of one it does not fetch.
    SitePreviewPage page;
    page.title = u"Toys"_s;
    page.pagePath = pagePath;
    page.pageFile = pageFile;
    page.ogImage = ogImage;
    m_preview->showPage(page);
    QWidget *card = m_preview->findChild<QWidget *>(u"cardImage"_s);
    QVERIFY(card);
    QCOMPARE(card->isVisible(), kind != PreviewImage::Kind::None);
    if (!card->isVisible())
        return;
    const QImage shot = card->grab().toImage();
    QCOMPARE(shot.pixelColor(shot.rect().center()) == QColor(Qt::red), drawn);
    // Else a note names what is not shown.
    if (!drawn)
        QVERIFY2(card->accessibleDescription().contains(local ? image.file : found),
                 qPrintable(card->accessibleDescription()));
}

void TestSitePreview::fallbacks_data()
{
    QTest::addColumn<QStringList>("values");    // title, og:title, description, og:description
    QTest::addColumn<QStringList>("addresses"); // canonical, og:url, the page's path
    QTest::addColumn<QStringList>("expected");  // card title, card description, host, address

    const QStringList own = {u"Toys"_s, QString(), u"Wooden toys"_s, QString()};
    const QStringList og = {u"Toys"_s, u"OG toys"_s, u"Wooden toys"_s, u"OG wooden toys"_s};
    QTest::newRow("card from the page's own texts, no addresses")
        << own << QStringList{QString(), QString(), u"toys/car.html"_s}
        << QStringList{u"Toys"_s, u"Wooden toys"_s, QString(), u"toys/car.html"_s};
    QTest::newRow("card from og:, host from og:url")
        << og
        << QStringList{u"https://example.com/toys/car"_s, u"https://share.example.net/car"_s,
                       u"toys/car.html"_s}
        << QStringList{u"OG toys"_s, u"OG wooden toys"_s, u"share.example.net"_s,
                       u"example.com/toys/car"_s};
    QTest::newRow("blank og: falls back, host from the canonical")
        << QStringList{u"Toys"_s, u"  "_s, u"Wooden toys"_s, u"\n"_s}
        << QStringList{u"https://example.com/"_s, QString(), u"index.html"_s}
        << QStringList{u"Toys"_s, u"Wooden toys"_s, u"example.com"_s, u"example.com/"_s};
    QTest::newRow("relative canonical: the page's path")
        << own << QStringList{u"toys/car.html"_s, QString(), u"toys/car.html"_s}
        << QStringList{u"Toys"_s, u"Wooden toys"_s, QString(), u"toys/car.html"_s};
}

void TestSitePreview::fallbacks()
{
    QFETCH(QStringList, values);
    QFETCH(QStringList, addresses);
    QFETCH(QStringList, expected);

    SitePreviewPage page;
    page.title = values[0];
    page.ogTitle = values[1];
    page.description = values[2];
    page.ogDescription = values[3];
    page.canonical = addresses[0];
    page.ogUrl = addresses[1];
    page.pagePath = addresses[2];
    page.pageFile = m_dir.path() + u'/' + page.pagePath;
    m_preview->showPage(page);

    QCOMPARE(label(u"cardTitle"_s)->text(), expected[0]);
    QCOMPARE(label(u"cardDescription"_s)->text(), expected[1]);
    QCOMPARE(label(u"cardHost"_s)->isVisible() ? label(u"cardHost"_s)->text() : QString(),
             expected[2]);
    for (const QString &place : {u"desktop"_s, u"mobile"_s})
        QCOMPARE(label(place + u"Address"_s)->accessibleDescription(), expected[3]);
}

QTEST_MAIN(TestSitePreview)
#include "tst_site_preview.moc"
