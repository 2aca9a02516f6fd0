#include "windows/pictures.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStyle>
#include <QStyleOption>
#include <QtMath>

#include <span>
#include <string_view>

namespace quill {
namespace {

// A flat palette in the classic desktop manner: dark outlines, light fills, a few accents.
constexpr QRgb outline = qRgb(0x3c, 0x40, 0x48);
constexpr QRgb paper = qRgb(0xff, 0xff, 0xff);
constexpr QRgb paperFold = qRgb(0xd4, 0xd8, 0xe0);
constexpr QRgb lightGrey = qRgb(0xc8, 0xcc, 0xd0);
constexpr QRgb midGrey = qRgb(0x90, 0x94, 0x9c);
constexpr QRgb blue = qRgb(0x22, 0x5a, 0xc8);
constexpr QRgb darkBlue = qRgb(0x18, 0x38, 0x80);
constexpr QRgb lightBlue = qRgb(0x9c, 0xc4, 0xf4);
constexpr QRgb green = qRgb(0x2a, 0x9a, 0x3a);
constexpr QRgb red = qRgb(0xd4, 0x2a, 0x2a);
constexpr QRgb yellow = qRgb(0xf6, 0xca, 0x36);
constexpr QRgb darkYellow = qRgb(0xd6, 0x9e, 0x22);
constexpr QRgb orange = qRgb(0xe8, 0x7c, 0x1e);
constexpr QRgb purple = qRgb(0x8a, 0x4c, 0xc0);
constexpr QRgb brown = qRgb(0xa8, 0x6c, 0x34);

// The line-return arrow of the QuickInsert buttons and its grey drop shadow.
constexpr QRgb arrowBlue = qRgb(0x00, 0x40, 0xd0);
constexpr QRgb shadowGrey = qRgb(0x80, 0x80, 0x80);

using PixelArt = std::span<const std::string_view>;

// Glyphs are set pixel by pixel: at icon size a font would smear them.
constexpr std::string_view codeGlyph[] = {
    "..##.##..", //
    ".##...##.", //
    "##.....##", //
    ".##...##.", //
    "..##.##..", //
};
constexpr std::string_view scriptGlyph[] = {
    "..#.###", //
    "..#.#..", //
    "..#.###", //
    "#.#...#", //
    ".#..###", //
};
constexpr std::string_view infoGlyph[] = {
    "##", //
    "..", //
    "##", //
    "##", //
    "##", //
    "##", //
};
constexpr std::string_view questionGlyph[] = {
    ".####.", //
    "##..##", //
    "....##", //
    "...##.", //
    "..##..", //
    "......", //
    "..##..", //
};
constexpr std::string_view plusGlyph[] = {
    "..#..", //
    "..#..", //
    "#####", //
    "..#..", //
    "..#..", //
};
constexpr std::string_view downGlyph[] = {
    "..#..", //
    "..#..", //
    "#.#.#", //
    ".###.", //
    "..#..", //
};
constexpr std::string_view returnArrow[] = {
    ".......#.", //
    ".......#.", //
    ".......#.", //
    "...#...#.", //
    "..##...#.", //
    ".#######.", //
    "..##.....", //
    "...#.....", //
    ".........", //
};

void plot(QPainter &p, QPoint origin, PixelArt rows, QRgb colour)
{
    for (int y = 0; y < int(rows.size()); ++y) {
        for (int x = 0; x < int(rows[y].size()); ++x) {
            if (rows[y][x] == '#')
                p.fillRect(origin.x() + x, origin.y() + y, 1, 1, QColor(colour));
        }
    }
}

// Pixel art centred on a point, for glyphs on badges.
void plotCentred(QPainter &p, QPointF centre, PixelArt rows, QRgb colour)
{
    const int width = int(rows.front().size());
    const int height = int(rows.size());
    plot(p, QPoint(qRound(centre.x() - width / 2.0), qRound(centre.y() - height / 2.0)), rows,
         colour);
}

// The rectangle through the middle of the border pixels of a block of cells, so that a
// one-pixel outline lands on whole pixels.
QRectF strokeRect(const QRect &cells)
{
    return QRectF(cells).adjusted(0.5, 0.5, -0.5, -0.5);
}

void style(QPainter &p, QRgb fill, QRgb line = outline)
{
    p.setPen(QPen(QColor(line), 1.0));
    p.setBrush(QColor(fill));
}

void line(QPainter &p, QPointF from, QPointF to, QRgb colour, qreal width = 1.0)
{
    p.setPen(QPen(QColor(colour), width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(from, to);
}

// A sheet of paper with a dog-eared top right corner, the base of the document pictures.
void page(QPainter &p, const QRect &cells = {2, 0, 12, 16})
{
    const QRectF r = strokeRect(cells);
    const qreal ear = qMin(4.0, r.width() / 3.0);
    style(p, paper);
    p.drawPolygon(QPolygonF{{r.left(), r.top()},
                            {r.right() - ear, r.top()},
                            {r.right(), r.top() + ear},
                            {r.right(), r.bottom()},
                            {r.left(), r.bottom()}});
    style(p, paperFold);
    p.drawPolygon(QPolygonF{
        {r.right() - ear, r.top()}, {r.right() - ear, r.top() + ear}, {r.right(), r.top() + ear}});
}

// Grey text lines across a block of cells, one every other row.
void textLines(QPainter &p, const QRect &cells)
{
    for (int y = cells.top(); y <= cells.bottom(); y += 2)
        line(p, {qreal(cells.left()), y + 0.5}, {cells.right() + 1.0, y + 0.5}, midGrey);
}

void globe(QPainter &p, const QRect &cells)
{
    const QRectF r = strokeRect(cells);
    style(p, blue, darkBlue);
    p.drawEllipse(r);
    const QPointF c = r.center();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(lightBlue), 1.0));
    p.drawEllipse(QRectF(c.x() - r.width() / 4, r.top(), r.width() / 2, r.height()));
    p.drawLine(QPointF(r.left(), c.y()), QPointF(r.right(), c.y()));
    p.setPen(QPen(QColor(darkBlue), 1.0));
    p.drawEllipse(r);
}

void arrowHead(QPainter &p, QPointF tip, qreal angle, QRgb colour, qreal size = 4.0)
{
    const QPointF back(-qCos(angle) * size, -qSin(angle) * size);
    const QPointF side(-qSin(angle) * size * 0.8, qCos(angle) * size * 0.8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(colour));
    p.drawPolygon(QPolygonF{tip, tip + back + side, tip + back - side});
}

void arrow(QPainter &p, QPointF from, QPointF to, QRgb colour)
{
    const QPointF d = to - from;
    const qreal angle = qAtan2(d.y(), d.x());
    const qreal length = qSqrt(QPointF::dotProduct(d, d));
    const qreal head = 4.0;
    line(p, from, from + d * ((length - head + 0.5) / length), colour, 2.0);
    arrowHead(p, to, angle, colour, head);
}

// A filled circle with a white glyph, for the help pictures and the small corner marks.
void badge(QPainter &p, const QRect &cells, QRgb fill, PixelArt glyph)
{
    style(p, fill, outline);
    p.drawEllipse(strokeRect(cells));
    plotCentred(p, QRectF(cells).center(), glyph, paper);
}

void redCross(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(red), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
}

// A diskette with a blank label, the base of the saving pictures.
void disk(QPainter &p)
{
    style(p, blue, darkBlue);
    p.drawPolygon(QPolygonF{{1.5, 1.5}, {13.5, 1.5}, {14.5, 2.5}, {14.5, 14.5}, {1.5, 14.5}});
    style(p, lightGrey, darkBlue);
    p.drawRect(strokeRect({4, 1, 8, 5}));
    p.fillRect(QRect(9, 2, 2, 3), QColor(darkBlue));
    style(p, paper, darkBlue);
    p.drawRect(strokeRect({3, 8, 10, 7}));
}

void clipboard(QPainter &p)
{
    style(p, brown);
    p.drawRoundedRect(strokeRect({2, 1, 12, 15}), 1.5, 1.5);
    style(p, paper);
    p.drawRect(strokeRect({4, 3, 8, 11}));
    style(p, lightGrey);
    p.drawRect(strokeRect({5, 0, 6, 3}));
}

// A window page with its tab raised at a place that tells the pages apart, like the tabs
// of the main window themselves.
void tabbedPage(QPainter &p, int index, QRgb tabColour)
{
    const QRectF body = strokeRect({0, 5, 16, 11});
    const QRectF tab = strokeRect({1 + 2 * index, 1, 6, 5});
    QPainterPath shape;
    shape.addRect(body);
    shape.addRect(tab);
    style(p, paper);
    p.drawPath(shape.simplified());
    p.fillRect(QRect(2 + 2 * index, 2, 4, 4), QColor(tabColour));
}

void tabWithLines(QPainter &p, int index, QRgb tabColour)
{
    tabbedPage(p, index, tabColour);
    textLines(p, {3, 8, 10, 5});
}

void star(QPainter &p, QPointF centre, qreal outer, QRgb fill)
{
    QPolygonF points;
    for (int i = 0; i < 10; ++i) {
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        const qreal radius = i % 2 == 0 ? outer : outer * 0.45;
        points << centre + QPointF(qCos(angle) * radius, qSin(angle) * radius);
    }
    style(p, fill, darkYellow);
    p.drawPolygon(points);
}

void speechBubble(QPainter &p, const QRect &cells, QRgb fill, bool tailLeft)
{
    const QRectF r = strokeRect(cells);
    QPainterPath shape;
    shape.addRoundedRect(r.adjusted(0, 0, 0, -3), 2, 2);
    const qreal x = tailLeft ? r.left() + 2 : r.right() - 2;
    const qreal dir = tailLeft ? 1 : -1;
    QPainterPath tail;
    tail.moveTo(x, r.bottom() - 4);
    tail.lineTo(x, r.bottom());
    tail.lineTo(x + 3 * dir, r.bottom() - 4);
    tail.closeSubpath();
    style(p, fill);
    p.drawPath(shape.united(tail));
}

// --- The pictures, one per command.

void drawNew(QPainter &p)
{
    page(p);
}

void drawOpen(QPainter &p)
{
    style(p, darkYellow);
    p.drawPolygon(
        QPolygonF{{0.5, 2.5}, {5.5, 2.5}, {7.5, 4.5}, {13.5, 4.5}, {13.5, 14.5}, {0.5, 14.5}});
    style(p, yellow);
    p.drawPolygon(QPolygonF{{3.5, 7.5}, {15.5, 7.5}, {13.5, 14.5}, {0.5, 14.5}});
}

void drawSave(QPainter &p)
{
    disk(p);
    textLines(p, {5, 10, 6, 3});
}

void drawImport(QPainter &p)
{
    page(p, {5, 0, 11, 16});
    arrow(p, {0, 9}, {11, 9}, green);
}

void drawAsHtml(QPainter &p)
{
    page(p);
    plot(p, {4, 6}, codeGlyph, blue);
}

void drawAsText(QPainter &p)
{
    page(p);
    line(p, {4, 3.5}, {9, 3.5}, midGrey);
    textLines(p, {4, 5, 8, 9});
}

void drawPreferences(QPainter &p)
{
    const QPointF c(8, 8);
    const int teeth = 8;
    QPolygonF wheel;
    for (int i = 0; i < teeth * 4; ++i) {
        const qreal angle = (i + 0.5) * 2 * M_PI / (teeth * 4);
        const qreal radius = i % 4 < 2 ? 7.5 : 5.5;
        wheel << c + QPointF(qCos(angle) * radius, qSin(angle) * radius);
    }
    style(p, lightGrey);
    p.drawPolygon(wheel);
    style(p, paper);
    p.drawEllipse(c, 2.5, 2.5);
}

void drawPrint(QPainter &p)
{
    style(p, paper);
    p.drawRect(strokeRect({4, 1, 8, 6}));
    style(p, lightGrey);
    p.drawRoundedRect(strokeRect({1, 6, 14, 7}), 1.5, 1.5);
    p.fillRect(QRect(12, 8, 1, 1), QColor(green));
    style(p, paper);
    p.drawRect(strokeRect({4, 11, 8, 5}));
    textLines(p, {5, 13, 6, 1});
}

void drawExit(QPainter &p)
{
    style(p, brown);
    p.drawRect(strokeRect({1, 1, 8, 14}));
    p.fillRect(QRect(6, 8, 1, 1), QColor(yellow));
    arrow(p, {7, 8}, {16, 8}, red);
}

void drawGenerate(QPainter &p)
{
    page(p);
    style(p, yellow, darkYellow);
    p.drawPolygon(QPolygonF{
        {9.5, 2.5}, {4.5, 9.5}, {7.5, 9.5}, {5.5, 14.5}, {11.5, 7.5}, {8.5, 7.5}, {11, 2.5}});
}

void drawClearAllFields(QPainter &p)
{
    style(p, paper);
    p.drawRect(strokeRect({0, 1, 14, 13}));
    style(p, lightBlue, midGrey);
    p.drawRect(strokeRect({2, 3, 10, 3}));
    p.drawRect(strokeRect({2, 8, 10, 3}));
    redCross(p, {9.5, 9.5, 5, 5});
}

void drawCopyToClipboard(QPainter &p)
{
    clipboard(p);
    textLines(p, {6, 6, 4, 7});
}

void drawBasicPage(QPainter &p)
{
    tabWithLines(p, 0, green);
}

void drawAdvancedPage(QPainter &p)
{
    tabWithLines(p, 1, blue);
}

void drawExtraTagsPage(QPainter &p)
{
    tabWithLines(p, 2, orange);
}

void drawDcTagsPage(QPainter &p)
{
    tabWithLines(p, 3, purple);
}

void drawHtmlCodePage(QPainter &p)
{
    tabbedPage(p, 4, red);
    plot(p, {3, 8}, codeGlyph, blue);
}

void drawAddSite(QPainter &p)
{
    globe(p, {0, 0, 14, 14});
    badge(p, {7, 7, 9, 9}, green, plusGlyph);
}

void drawRankings(QPainter &p)
{
    style(p, green);
    p.drawRect(strokeRect({2, 9, 4, 6}));
    style(p, blue);
    p.drawRect(strokeRect({6, 5, 4, 10}));
    style(p, orange);
    p.drawRect(strokeRect({10, 1, 4, 14}));
    line(p, {0.5, 0}, {0.5, 16}, outline);
    line(p, {0, 15.5}, {16, 15.5}, outline);
}

void drawHtmlToScript(QPainter &p)
{
    plot(p, {0, 0}, codeGlyph, blue);
    plot(p, {9, 11}, scriptGlyph, orange);
    QPainterPath bend;
    bend.moveTo(4, 7);
    bend.lineTo(4, 13);
    bend.lineTo(6, 13);
    p.setPen(QPen(QColor(green), 2.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bend);
    arrowHead(p, {9, 13}, 0, green, 3.5);
}

void drawHelp(QPainter &p)
{
    badge(p, {0, 0, 16, 16}, blue, questionGlyph);
}

void drawReadme(QPainter &p)
{
    page(p);
    plot(p, {7, 5}, infoGlyph, blue);
}

void drawWizard(QPainter &p)
{
    line(p, {2, 14}, {9.5, 6.5}, outline, 2.5);
    line(p, {9.5, 6.5}, {11.5, 4.5}, paper, 1.5);
    star(p, {11.5, 4.5}, 4.5, yellow);
    p.fillRect(QRect(3, 3, 1, 1), QColor(darkYellow));
    p.fillRect(QRect(14, 11, 1, 1), QColor(darkYellow));
}

void drawPromotion(QPainter &p)
{
    style(p, midGrey);
    p.drawRect(strokeRect({1, 6, 3, 4}));
    style(p, red);
    p.drawPolygon(QPolygonF{{3.5, 6.5}, {12.5, 1.5}, {12.5, 14.5}, {3.5, 9.5}});
    style(p, paperFold);
    p.drawEllipse(QPointF(12.5, 8), 2, 6.5);
    style(p, midGrey);
    p.drawRect(strokeRect({5, 10, 2, 5}));
}

void drawWebsite(QPainter &p)
{
    globe(p, {1, 1, 14, 14});
}

void drawCheckForUpdate(QPainter &p)
{
    globe(p, {0, 0, 14, 14});
    badge(p, {7, 7, 9, 9}, green, downGlyph);
}

void drawSupport(QPainter &p)
{
    style(p, paper);
    p.drawRect(strokeRect({0, 3, 16, 10}));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{{0.5, 3.5}, {8, 9}, {15.5, 3.5}});
}

void drawSupportForum(QPainter &p)
{
    speechBubble(p, {5, 0, 11, 10}, lightBlue, false);
    speechBubble(p, {0, 5, 11, 11}, paper, true);
}

void drawAbout(QPainter &p)
{
    badge(p, {0, 0, 16, 16}, blue, infoGlyph);
}

void drawUndo(QPainter &p)
{
    QPainterPath curve;
    curve.moveTo(12, 14);
    curve.cubicTo(15.5, 10, 14, 5, 8.5, 5);
    curve.lineTo(5, 5);
    p.setPen(QPen(QColor(blue), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    arrowHead(p, {1, 5}, M_PI, blue, 4.5);
}

void drawCut(QPainter &p)
{
    line(p, {5.5, 10}, {11, 0}, outline, 2.0);
    line(p, {10.5, 10}, {5, 0}, outline, 2.0);
    p.setPen(QPen(QColor(red), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4, 12), 2.5, 2.5);
    p.drawEllipse(QPointF(12, 12), 2.5, 2.5);
}

void drawCopy(QPainter &p)
{
    page(p, {1, 0, 10, 12});
    page(p, {5, 4, 10, 12});
}

void drawPaste(QPainter &p)
{
    clipboard(p);
    page(p, {7, 6, 9, 10});
}

void drawDelete(QPainter &p)
{
    redCross(p, {3, 3, 10, 10});
}

// --- The Tools window's pictures.

void drawToolbox(QPainter &p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(outline), 1.5));
    p.drawRoundedRect(QRectF(5.25, 1.75, 5.5, 4.5), 1.0, 1.0);
    style(p, red);
    p.drawRect(strokeRect({0, 5, 16, 10}));
    line(p, {0.5, 8.5}, {15.5, 8.5}, outline);
    style(p, yellow, darkYellow);
    p.drawRect(strokeRect({6, 7, 4, 4}));
}

void drawBrowseSource(QPainter &p)
{
    style(p, darkYellow);
    p.drawPolygon(
        QPolygonF{{0.5, 4.5}, {5.5, 4.5}, {7.5, 6.5}, {13.5, 6.5}, {13.5, 15.5}, {0.5, 15.5}});
    page(p, {4, 0, 9, 11});
    textLines(p, {6, 3, 4, 5});
    style(p, yellow);
    p.drawPolygon(QPolygonF{{3.5, 9.5}, {15.5, 9.5}, {13.5, 15.5}, {0.5, 15.5}});
}

void drawBrowseDestination(QPainter &p)
{
    disk(p);
    plot(p, {5, 9}, scriptGlyph, orange);
}

using Drawing = void (*)(QPainter &);

struct Picture {
    QStringView itemName;
    Drawing draw;
};

// Items of the main menu and the context menu; separators, submenu headers and
// "Select All" carry no picture and are absent.
constexpr Picture pictures[] = {
    {u"New1", drawNew},
    {u"Open1", drawOpen},
    {u"save2", drawSave},
    {u"Import1", drawImport},
    {u"AsHTML1", drawAsHtml},
    {u"AsText1", drawAsText},
    {u"Preferences1", drawPreferences},
    {u"Print1", drawPrint},
    {u"Exit1", drawExit},
    {u"cool1", drawGenerate},
    {u"ClearAllFields1", drawClearAllFields},
    {u"CopyToClipboard1", drawCopyToClipboard},
    {u"Beginner1", drawBasicPage},
    {u"Advanced1", drawAdvancedPage},
    {u"ExtraTags1", drawExtraTagsPage},
    {u"DCTags1", drawDcTagsPage},
    {u"HTMLTags1", drawHtmlCodePage},
    {u"AddSitetoGoogle1", drawAddSite},
    {u"CheckSiteRankings1", drawRankings},
    {u"HTMLJS1", drawHtmlToScript},
    {u"Help2", drawHelp},
    {u"Readme1", drawReadme},
    {u"BeginnerWizard1", drawWizard},
    {u"SitePromotion1", drawPromotion},
    {u"Website1", drawWebsite},
    {u"CheckforUpdate1", drawCheckForUpdate},
    {u"Support1", drawSupport},
    {u"SupportForum1", drawSupportForum},
    {u"About1", drawAbout},
    // The context menu's own Copy command repeats the main menu's picture; its Generate
    // and Save are the main menu's commands themselves.
    {u"CopyCodetoClipboard1", drawCopyToClipboard},
    {u"Undo1", drawUndo},
    {u"Cut1", drawCut},
    {u"Copy1", drawCopy},
    {u"Paste1", drawPaste},
    {u"Delete1", drawDelete},
};

// A picture drawn on a 16 x 16 grid (9 x 9 for the QuickInsert arrow), scaled to `size`.
QImage render(int size, Drawing draw, bool smooth, int grid = 16)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, smooth);
    p.scale(qreal(size) / grid, qreal(size) / grid);
    draw(p);
    return image;
}

// A picture drawn anew at whatever size it is asked for, in device pixels, so it stays
// sharp on a screen of any scale instead of a small bitmap blown up.
class DrawnPicture : public QIconEngine
{
public:
    DrawnPicture(Drawing draw, bool smooth, int grid)
        : m_draw(draw)
        , m_smooth(smooth)
        , m_grid(grid)
    {}

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = qMax(1, qMin(size.width(), size.height()));
        QPixmap pixmap = QPixmap::fromImage(render(side, m_draw, m_smooth, m_grid));
        if (mode == QIcon::Normal)
            return pixmap;
        // The disabled and selected looks as the style makes them for any icon.
        QStyleOption option;
        option.palette = QGuiApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        drawn.setDevicePixelRatio(ratio);
        const QSizeF shown = drawn.deviceIndependentSize();
        painter->drawPixmap(QPointF(rect.x() + (rect.width() - shown.width()) / 2,
                                    rect.y() + (rect.height() - shown.height()) / 2),
                            drawn);
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return QSize(side, side);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(m_grid, m_grid)};
    }

    QIconEngine *clone() const override { return new DrawnPicture(*this); }

private:
    Drawing m_draw;
    bool m_smooth;
    int m_grid;
};

QIcon drawnIcon(Drawing draw, bool smooth = true, int grid = 16)
{
    return QIcon(new DrawnPicture(draw, smooth, grid));
}

QHash<QString, QIcon> renderAll()
{
    QHash<QString, QIcon> icons;
    for (const Picture &picture : pictures)
        icons.insert(picture.itemName.toString(), drawnIcon(picture.draw));
    return icons;
}

// A lit light bulb: the glass with its glow and filament over a threaded metal base.
void drawLightBulb(QPainter &p)
{
    QPainterPath glass;
    glass.moveTo(11.5, 31.5);
    glass.cubicTo(11.5, 25.5, 2.5, 22.5, 2.5, 14.5);
    glass.cubicTo(2.5, 6.5, 9.0, 1.5, 16.5, 1.5);
    glass.cubicTo(24.0, 1.5, 30.5, 6.5, 30.5, 14.5);
    glass.cubicTo(30.5, 22.5, 21.5, 25.5, 21.5, 31.5);
    glass.closeSubpath();
    QRadialGradient glow(QPointF(13.0, 11.0), 16.0);
    glow.setColorAt(0.0, QColor(paper));
    glow.setColorAt(0.45, QColor(yellow));
    glow.setColorAt(1.0, QColor(darkYellow));
    p.setPen(QPen(QColor(outline), 1.0));
    p.setBrush(glow);
    p.drawPath(glass);

    // The filament on its two wires.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(orange), 1.2));
    QPainterPath filament;
    filament.moveTo(13.5, 16.5);
    for (int i = 0; i < 3; ++i)
        filament.quadTo(14.5 + 2 * i, 12.5, 15.5 + 2 * i, 16.5);
    p.drawPath(filament);
    line(p, {13.5, 16.5}, {14.0, 31.0}, midGrey);
    line(p, {19.5, 16.5}, {19.0, 31.0}, midGrey);

    // The base: threaded rings, then the contact.
    for (int ring = 0; ring < 4; ++ring) {
        style(p, ring % 2 ? midGrey : lightGrey);
        p.drawRoundedRect(QRectF(10.5, 32.5 + 3 * ring, 12, 3), 1.5, 1.5);
    }
    style(p, outline);
    p.drawRoundedRect(QRectF(13.5, 44.5, 6, 3), 1.0, 1.0);
}

void drawReturnArrow(QPainter &p)
{
    plot(p, {1, 1}, returnArrow, shadowGrey);
    plot(p, {0, 0}, returnArrow, arrowBlue);
}

} // namespace

QIcon menuItemPicture(QStringView itemName)
{
    static const QHash<QString, QIcon> icons = renderAll();
    return icons.value(itemName.toString());
}

QIcon quickInsertPicture()
{
    return drawnIcon(drawReturnArrow, false, 9);
}

QIcon toolsWindowPicture()
{
    return drawnIcon(drawToolbox);
}

QIcon browseSourcePicture()
{
    return drawnIcon(drawBrowseSource);
}

QIcon browseDestinationPicture()
{
    return drawnIcon(drawBrowseDestination);
}

QPixmap tipPicture(qreal devicePixelRatio)
{
    QImage image(QSize(33, 49) * devicePixelRatio, QImage::Format_ARGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawLightBulb(p);
    p.end();
    return QPixmap::fromImage(image);
}

} // namespace quill
