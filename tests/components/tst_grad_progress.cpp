// The gradient progress bar, checked pixel by pixel, and the integer scaling it draws with.

#include "common/doubled_drawing.h"
#include "components/colour_value.h"
#include "components/grad_progress.h"
#include "document/mul_div.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

#include <functional>
#include <limits>

using quill::MulDiv;

using BarAction = std::function<void(TGradProgress &)>;
using Column = std::pair<int, QRgb>;
Q_DECLARE_METATYPE(BarAction)

namespace {

constexpr qint32 intMax = std::numeric_limits<qint32>::max();
const QRgb grey = qRgb(0x80, 0x80, 0x80);
const QRgb white = qRgb(0xFF, 0xFF, 0xFF);
const QRgb green = qRgb(0, 0xFF, 0); // 0x00FF00 reads the same in either byte order

QImage picture(TGradProgress &bar)
{
    return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class GradProgressTest : public QObject
{
    Q_OBJECT

private slots:
    void mulDiv_data();
    void mulDiv();
    void frame_data();
    void frame();
    void inside_data();
    void inside();
    void setters_data();
    void setters();
    void smallerThanItsFrame();
    void doubleResolution_data();
    void doubleResolution();
};

void GradProgressTest::mulDiv_data()
{
    QTest::addColumn<qint32>("a");
    QTest::addColumn<qint32>("b");
    QTest::addColumn<qint32>("c");
    QTest::addColumn<qint32>("result");
    QTest::newRow("half up") << 50 << 329 << 100 << 165;
    QTest::newRow("half down") << -1 << 1 << 2 << -1;
    QTest::newRow("half, both negative") << -3 << 1 << -2 << 2;
    QTest::newRow("below half") << 1 << 1 << 3 << 0;
    QTest::newRow("zero divisor") << 7 << 1 << 0 << -1;
    QTest::newRow("product past 32 bits") << intMax << intMax << intMax << intMax;
    QTest::newRow("result past 32 bits") << intMax << 2 << 1 << -1;
}

void GradProgressTest::mulDiv()
{
    QFETCH(qint32, a);
    QFETCH(qint32, b);
    QFETCH(qint32, c);
    QFETCH(qint32, result);
    QCOMPARE(MulDiv(a, b, c), result);
}

void GradProgressTest::frame_data()
{
    QTest::addColumn<TGradProgress::TBevelStyle>("style");
    QTest::addColumn<int>("bw");
    QTest::newRow("lowered 1") << TGradProgress::bsLowered << 1;
    QTest::newRow("lowered 3") << TGradProgress::bsLowered << 3;
    QTest::newRow("raised 1") << TGradProgress::bsRaised << 1;
    QTest::newRow("raised 3") << TGradProgress::bsRaised << 3;
}

void GradProgressTest::frame()
{
    QFETCH(TGradProgress::TBevelStyle, style);
    QFETCH(int, bw);
    const QRgb topLeft = style == TGradProgress::bsLowered ? grey : white;
    const QRgb bottomRight = style == TGradProgress::bsLowered ? white : grey;
    TGradProgress bar;
    bar.resize(40, 20);
    bar.setBevelStyle(style);
    bar.setBevelWidth(bw);
    bar.setBackColor(0x00FF00);
    bar.setShowPercent(false);

    // Top and left bands bw + 1 thick, bottom and right bw; where they meet, the
    // top-right and bottom-left corner pixels belong to the top and left bands.
    const int w = 40, h = 20;
    QImage expected(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            QRgb colour = green;
            if ((x >= w - bw && x + y >= w) || (y >= h - bw && x + y >= h))
                colour = bottomRight;
            else if (x <= bw || y <= bw || x >= w - bw || y >= h - bw)
                colour = topLeft;
            expected.setPixel(x, y, colour);
        }
    }
    QCOMPARE(picture(bar), expected);
}

void GradProgressTest::inside_data()
{
    QTest::addColumn<bool>("converter"); // the converter's bar, or one at its defaults
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("maxValue"); // set after the position
    QTest::addColumn<QList<Column>>("gradient");
    QTest::addColumn<int>("backFrom"); // the first column of BackColor, up to the right edge
    QTest::addColumn<QString>("percent");

    const QList<Column> full = {{2, qRgb(0, 0, 254)}, {327, qRgb(0, 0, 128)}};
    QTest::newRow("half") << true << 50 << 100
                          << QList<Column>{{2, qRgb(0, 0, 254)}, {165, qRgb(0, 0, 128)}} << 166
                          << "50%";
    QTest::newRow("empty") << true << 0 << 100 << QList<Column>{} << 2 << "0%";
    QTest::newRow("full") << true << 100 << 100 << full << 328 << "100%";
    QTest::newRow("MaxValue below Position") << true << 70 << 40 << full << 328 << "100%";
    QTest::newRow("no maximum") << true << 0 << 0 << QList<Column>{} << 2 << "0%";
    // Blue to red: the last column would pass red by one unit.
    QTest::newRow("clamped last column")
        << false << 50 << 100 << QList<Column>{{2, qRgb(7, 0, 248)}, {75, qRgb(255, 0, 0)}} << 76
        << "50%";
}

void GradProgressTest::inside()
{
    QFETCH(bool, converter);
    QFETCH(int, position);
    QFETCH(int, maxValue);
    QFETCH(QList<Column>, gradient);
    QFETCH(int, backFrom);
    QFETCH(QString, percent);

    TGradProgress bar;
    QRgb back = bar.palette().color(QPalette::Button).rgb();
    if (converter) {
        bar.resize(329, 24);
        bar.setStartColor(0xFF0000);
        bar.setEndColor(0x800000);
        bar.setBackColor(0x00FF00);
        back = green;
    }
    bar.setPosition(position);
    bar.setMaxValue(maxValue);
    bar.setShowPercent(false);
    const QImage plain = picture(bar);
    const QRect inner(2, 2, bar.width() - 3, bar.height() - 3); // inside a 1-pixel bevel

    const auto columnIs = [&](int x, QRgb colour) {
        for (int y = inner.top(); y <= inner.bottom(); ++y) {
            if (plain.pixel(x, y) != colour)
                return false;
        }
        return true;
    };
    for (const auto &[x, colour] : gradient)
        QVERIFY2(columnIs(x, colour), qPrintable(QString::number(x)));
    for (int x = backFrom; x <= inner.right(); ++x)
        QVERIFY2(columnIs(x, back), qPrintable(QString::number(x)));

    // The percentage is what writing the expected text over the plain bar gives.
    bar.setShowPercent(true);
    QImage expected = plain;
    QPainter painter(&expected);
    painter.setClipRect(inner);
    QFont font = bar.font();
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(inner, Qt::AlignCenter, percent);
    painter.end();
    QVERIFY(expected != plain);
    QCOMPARE(picture(bar), expected);
}

void GradProgressTest::setters_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("paints");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("bevelWidth");
    QTest::addColumn<BarAction>("action");

    using Bar = TGradProgress;
    const auto row = [](const char *name, int width, int start, int paints, int position,
                        int bevelWidth, BarAction action) {
        QTest::newRow(name) << width << start << paints << position << bevelWidth << action;
    };
    row("each setter, same value", 150, 70, 0, 70, 1, [](Bar &bar) {
        bar.setBevelStyle(Bar::bsLowered);
        bar.setBevelWidth(1);
        bar.setStartColor(0xFF0000);
        bar.setEndColor(0x0000FF);
        bar.setBackColor(quill::ButtonFaceColour);
        bar.setPosition(70);
        bar.setMaxValue(100);
        bar.setShowPercent(true);
    });
    row("Step", 150, 70, 0, 70, 1, [](Bar &bar) { bar.setStep(5); });
    row("Position below 0", 150, 70, 0, 70, 1, [](Bar &bar) { bar.setPosition(-1); });
    row("Position past MaxValue", 150, 70, 0, 70, 1, [](Bar &bar) { bar.setPosition(101); });
    row("Stepit at the end", 150, 100, 0, 100, 1, [](Bar &bar) { bar.Stepit(); });
    row("Stepit past 32 bits", 150, 100, 0, 100, 1, [](Bar &bar) {
        bar.setStep(intMax);
        bar.Stepit();
    });
    row("Stepit", 150, 70, 1, 71, 1, [](Bar &bar) { bar.Stepit(); });
    row("MaxValue below Position", 150, 70, 1, 40, 1, [](Bar &bar) { bar.setMaxValue(40); });
    // BevelWidth repaints even when it refuses the value.
    row("BevelWidth too wide", 23, 70, 1, 70, 1, [](Bar &bar) { bar.setBevelWidth(10); });
    row("BevelWidth", 24, 70, 1, 70, 10, [](Bar &bar) { bar.setBevelWidth(10); });
    row("BevelWidth past 10", 150, 70, 1, 70, 1, [](Bar &bar) { bar.setBevelWidth(11); });
}

void GradProgressTest::setters()
{
    QFETCH(int, width);
    QFETCH(int, start);
    QFETCH(int, paints);
    QFETCH(int, position);
    QFETCH(int, bevelWidth);
    QFETCH(BarAction, action);

    QWidget window;
    window.resize(200, 40);
    auto *bar = new TGradProgress(&window);
    bar->resize(width, 16);
    bar->setPosition(start);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    const QImage before = picture(*bar);

    PaintCounter counter;
    bar->installEventFilter(&counter);
    action(*bar);
    // Counted before any event runs: the setter itself paints.
    QCOMPARE(counter.paints, paints);
    QCOMPARE(bar->position(), position);
    QCOMPARE(bar->bevelWidth(), bevelWidth);
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, paints);
    if (paints == 0)
        QCOMPARE(picture(*bar), before);
}

void GradProgressTest::smallerThanItsFrame()
{
    for (const QSize size : {QSize(1, 1), QSize(5, 30), QSize(30, 5), QSize(21, 21)}) {
        TGradProgress bar;
        bar.setBevelWidth(10);
        bar.setPosition(50);
        bar.resize(size);
        const QImage image = picture(bar);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.pixel(0, 0), grey); // all frame
    }
}

void GradProgressTest::doubleResolution_data()
{
    QTest::addColumn<bool>("showPercent");
    QTest::newRow("bar alone") << false;
    QTest::newRow("with its percentage") << true;
}

void GradProgressTest::doubleResolution()
{
    QFETCH(bool, showPercent);
    TGradProgress bar;
    bar.resize(329, 24);
    bar.setPosition(40);
    bar.setShowPercent(showPercent);
    const auto rendered = [&bar](qreal ratio) {
        QImage image(bar.size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        bar.render(&image);
        return image;
    };
    // The gradient and the frame twice as big; the percentage set anew, finer.
    const doubled::Blocks blocks = doubled::compare(rendered(1.0), rendered(2.0));
    QCOMPARE(blocks.mixed > 0, showPercent);
    if (!showPercent)
        QVERIFY2(blocks.other == 0,
                 qPrintable(QStringLiteral("another colour at ") + blocks.firstOther));
}

QTEST_MAIN(GradProgressTest)
#include "tst_grad_progress.moc"
