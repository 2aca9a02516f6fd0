#include "common/doubled_drawing.h"
#include "common/expected_values.h"
#include "windows/pictures.h"

#include <functional>

#include <QImage>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

// A picture drawn for a screen of the given pixel ratio.
using Drawn = std::function<QImage(qreal)>;
Q_DECLARE_METATYPE(Drawn)

namespace {

// Every item of the menu bar and the context menu, and whether it carries a picture.
// A context item that is the menu bar's own command shows that command's picture.
QList<std::pair<QString, bool>> menuItems()
{
    QList<std::pair<QString, bool>> items;
    QSet<QString> commands;
    for (const expected::MenuItem &item : expected::menuItems) {
        items.append({QString::fromLatin1(item.name), item.caption && !expected::isSubmenu(item)});
        commands << QString::fromLatin1(item.name);
    }
    for (const expected::ContextItem &item : expected::contextItems) {
        if (!commands.contains(QString::fromLatin1(item.action)))
            items.append({QString::fromLatin1(item.name), item.picture});
    }
    return items;
}

QStringList picturedItems()
{
    QStringList names;
    for (const auto &[name, pictured] : menuItems()) {
        if (pictured)
            names << name;
    }
    return names;
}

// Context-menu items that repeat a main-menu command, and so its picture.
const QSet<QPair<QString, QString>> repeats = {
    {u"CopyToClipboard1"_s, u"CopyCodetoClipboard1"_s},
};

QImage pictureImage(const QString &name, QIcon::Mode mode = QIcon::Normal)
{
    return quill::menuItemPicture(name).pixmap(16, mode).toImage().convertToFormat(
        QImage::Format_ARGB32);
}

bool isBlue(QRgb c)
{
    return qAlpha(c) == 255 && qBlue(c) >= 0xa0 && qRed(c) < 0x60 && qGreen(c) < 0x80;
}

bool isGrey(QRgb c)
{
    return qAlpha(c) == 255 && qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) > 0x40 &&
           qRed(c) < 0xe0;
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void menuPicture_data();
    void menuPicture();
    void picturesTellItemsApart();
    void quickInsertArrow();
    void sharpAtTwiceTheScale_data();
    void sharpAtTwiceTheScale();
};

void TestPictures::menuPicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("pictured");
    for (const auto &[name, pictured] : menuItems())
        QTest::newRow(qPrintable(name)) << name << pictured;
    for (const QString &name : {u"Unknown1"_s, QString()})
        QTest::newRow(qPrintable(u"no picture: "_s + name)) << name << false;
}

void TestPictures::menuPicture()
{
    QFETCH(QString, name);
    QFETCH(bool, pictured);

    const QIcon icon = quill::menuItemPicture(name);
    QCOMPARE(icon.isNull(), !pictured);
    if (!pictured)
        return;
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));

    const QImage image = pictureImage(name);
    QCOMPARE(image.size(), QSize(16, 16));
    int opaque = 0; // or mostly so: thin strokes are antialiased
    int transparent = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            opaque += alpha >= 128;
            transparent += alpha == 0;
        }
    }
    QVERIFY2(opaque >= 16, "the picture is (nearly) empty");
    QVERIFY2(transparent >= 16, "the picture has no transparent background");

    // A disabled item must not keep its colours.
    const QImage disabled = pictureImage(name, QIcon::Disabled);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb c = disabled.pixel(x, y);
            QVERIFY2(qAbs(qRed(c) - qGreen(c)) <= 8 && qAbs(qGreen(c) - qBlue(c)) <= 8,
                     qPrintable(u"coloured pixel at %1,%2"_s.arg(x).arg(y)));
        }
    }
}

void TestPictures::picturesTellItemsApart()
{
    const QStringList pictured = picturedItems();
    for (qsizetype i = 0; i < pictured.size(); ++i) {
        for (qsizetype j = i + 1; j < pictured.size(); ++j) {
            const QString &a = pictured[i];
            const QString &b = pictured[j];
            const bool same = pictureImage(a) == pictureImage(b);
            QVERIFY2(same == repeats.contains({a, b}),
                     qPrintable(a + (same ? u" looks like "_s : u" differs from "_s) + b));
        }
    }
}

void TestPictures::quickInsertArrow()
{
    const QImage image =
        quill::quickInsertPicture().pixmap(9, 9).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(9, 9));

    for (const QPoint corner : {QPoint(0, 0), QPoint(8, 0), QPoint(0, 8), QPoint(8, 8)})
        QCOMPARE(qAlpha(image.pixel(corner)), 0);

    bool rightStroke = false;
    bool arrowHead = false;
    int shadow = 0;
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            const QRgb c = image.pixel(x, y);
            // Drawn crisp: no half-covered edge pixels.
            QVERIFY2(qAlpha(c) == 0 || qAlpha(c) == 255,
                     qPrintable(u"blurred pixel at %1,%2"_s.arg(x).arg(y)));
            if (isBlue(c)) {
                rightStroke |= x >= 6 && y <= 2;
                arrowHead |= x <= 1 && y >= 4;
            }
            if (isGrey(c)) {
                ++shadow;
                // The shadow falls down and to the right of the arrow.
                QVERIFY2(x > 0 && y > 0 && isBlue(image.pixel(x - 1, y - 1)),
                         qPrintable(u"stray shadow at %1,%2"_s.arg(x).arg(y)));
            }
        }
    }
    QVERIFY2(rightStroke, "no stroke coming down at the right");
    QVERIFY2(arrowHead, "no arrowhead pointing left at the bottom");
    QVERIFY(shadow >= 1);
}

void TestPictures::sharpAtTwiceTheScale_data()
{
    QTest::addColumn<Drawn>("drawn");
    const auto icon = [](std::function<QIcon()> picture, int size) {
        return Drawn(
            [=](qreal ratio) { return picture().pixmap(QSize(size, size), ratio).toImage(); });
    };
    for (const QString &name : picturedItems())
        QTest::newRow(qPrintable(name))
            << icon([name] { return quill::menuItemPicture(name); }, 16);
    QTest::newRow("QuickInsert") << icon(quill::quickInsertPicture, 9);
    QTest::newRow("Tools window") << icon(quill::toolsWindowPicture, 16);
    QTest::newRow("browse source") << icon(quill::browseSourcePicture, 16);
    QTest::newRow("browse destination") << icon(quill::browseDestinationPicture, 16);
    QTest::newRow("startup tip") << Drawn(
        [](qreal ratio) { return quill::tipPicture(ratio).toImage(); });
}

void TestPictures::sharpAtTwiceTheScale()
{
    QFETCH(Drawn, drawn);
    const QImage single = drawn(1.0).convertToFormat(QImage::Format_ARGB32);
    const QImage twice = drawn(2.0).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(twice.devicePixelRatio(), 2.0);
    QCOMPARE(twice.size(), single.size() * 2);

    // The same picture: brought down to the single size, it covers the same pixels.
    const QImage halved =
        twice.scaled(single.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    qint64 difference = 0;
    for (int y = 0; y < single.height(); ++y) {
        for (int x = 0; x < single.width(); ++x)
            difference += qAbs(qAlpha(halved.pixel(x, y)) - qAlpha(single.pixel(x, y)));
    }
    const qint64 pixels = qint64(single.width()) * single.height();
    QVERIFY2(difference <= pixels * 24,
             qPrintable(u"differs by %1 a pixel"_s.arg(difference / pixels)));

    // Drawn anew, not blown up: its edges are no softer than one pixel of the screen,
    // fewer soft pixels than the single picture scaled up smoothly has.
    const QImage blownUp =
        single.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const int soft = doubled::softPixels(twice);
    const int blurred = doubled::softPixels(blownUp);
    QVERIFY2(soft < blurred,
             qPrintable(u"%1 soft pixels, %2 when blown up"_s.arg(soft).arg(blurred)));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
