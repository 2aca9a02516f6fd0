// The styled menu renderer: its colour arithmetic, measuring and painting checked
// pixel by pixel against a fixed palette, then hooked onto real menus.

#include "common/doubled_drawing.h"
#include "components/xp_menu.h"
#include "components/xp_menu_painter.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QTest>

#include <functional>
#include <memory>

using namespace quill;
using namespace Qt::StringLiterals;

struct Probe {
    QPoint at;
    QRgb colour;
};
using Painting = std::function<QImage(const XPMenuPaint &)>;
using Steps = std::function<void(QMenu *file, TXPMenu &renderer)>;
Q_DECLARE_METATYPE(Probe)
Q_DECLARE_METATYPE(XPMenuColours)
Q_DECLARE_METATYPE(Painting)
Q_DECLARE_METATYPE(Steps)

namespace {

constexpr QRgb black = qRgb(0, 0, 0);
constexpr QRgb white = qRgb(255, 255, 255);
constexpr QRgb red = qRgb(255, 0, 0);
constexpr QRgb buttonFace = qRgb(212, 208, 200);
constexpr QRgb highlight = qRgb(10, 36, 106);
constexpr QRgb buttonShadow = qRgb(128, 128, 128);
constexpr QRgb menu = qRgb(236, 233, 216);

// The classic desktop's colours, each system colour distinct.
QPalette fixedPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Button, buttonFace);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::WindowText, black);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, qRgb(172, 168, 153));
    palette.setColor(QPalette::Dark, buttonShadow);
    palette.setColor(QPalette::Window, menu);
    return palette;
}

// Settings of the application's own, one plain colour each.
XPMenuSettings ownColours()
{
    XPMenuSettings s;
    s.useSystemColors = false;
    s.fontColor = 0x000001;
    s.color = 0x000002;
    s.iconBackColor = 0x000003;
    s.menuBarColor = 0x000004;
    s.selectColor = 0xC86400; // (0, 100, 200)
    s.selectBorderColor = 0x000006;
    s.selectFontColor = 0x000007;
    s.disabledColor = 0x000008;
    s.separatorColor = 0x000009;
    s.checkedColor = 0x00000A;
    return s;
}

QString describe(const XPMenuColours &c)
{
    const QRgb all[] = {c.text,          c.itemBackground,  c.iconColumn,
                        c.selectionFill, c.selectionBorder, c.selectedText,
                        c.menuBar,       c.disabledText,    c.separator,
                        c.checkFrame,    c.checkedArea,     c.checkedAreaSelected,
                        c.menuBorder,    c.menuShadow};
    QStringList out;
    for (QRgb colour : all)
        out << QString::number(colour & RGB_MASK, 16);
    return out.join(u' ');
}

XPMenuPaint fixedPaint(bool highColour = true)
{
    XPMenuPaint paint = paintContext(XPMenuSettings(), fixedPalette(), highColour);
    paint.font.setStyleStrategy(QFont::NoAntialias);
    return paint;
}

// A 16 x 16 picture, transparent but for a red top-left pixel, at the given pixel ratio.
QImage redDot(qreal ratio = 1.0)
{
    QImage icon(QSize(16, 16) * ratio, QImage::Format_ARGB32);
    icon.setDevicePixelRatio(ratio);
    icon.fill(Qt::transparent);
    QPainter(&icon).fillRect(0, 0, 1, 1, QColor(red));
    return icon;
}

// An item without caption, so no text covers the pixels a test looks at.
Painting item(std::function<void(XPMenuItem &, XPMenuPaint &)> change, QSize size = {100, 21})
{
    return [=](const XPMenuPaint &fixed) {
        XPMenuItem item;
        XPMenuPaint paint = fixed;
        change(item, paint);
        return paintItem(item, size, paint);
    };
}

} // namespace

class XPMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void colourFunctions_data();
    void colourFunctions();
    void effectiveColours_data();
    void effectiveColours();
    void captionColours_data();
    void captionColours();
    void measuring_data();
    void measuring();
    void painting_data();
    void painting();
    void doubleResolution_data();
    void doubleResolution();
    void disabledItemUnderTheMouse();
    void realMenu();
    void hooking_data();
    void hooking();
    void destroyingTheWindowWhileActive();
};

void XPMenuTest::colourFunctions_data()
{
    QTest::addColumn<QRgb>("result");
    QTest::addColumn<QRgb>("expected");
    QTest::newRow("lighten, half to even up") << lighten(black, 50) << qRgb(128, 128, 128);
    QTest::newRow("lighten, half to even down")
        << lighten(qRgb(2, 2, 2), 50) << qRgb(128, 128, 128);
    QTest::newRow("lighten, rounded") << lighten(red, 30) << qRgb(255, 76, 76);
    QTest::newRow("lighten, capped at 100 %") << lighten(red, 150) << white;
    QTest::newRow("lighten keeps alpha")
        << lighten(qRgba(0, 0, 0, 100), 50) << qRgba(128, 128, 128, 100);
    QTest::newRow("darken, green by 2 less") << darken(qRgb(100, 100, 100), 10) << qRgb(90, 92, 90);
    QTest::newRow("darken, clamped at 0") << darken(qRgb(5, 0, 250), 10) << qRgb(0, 0, 240);
    QTest::newRow("darken, negative brightens")
        << darken(qRgb(10, 20, 250), -40) << qRgb(50, 62, 255);
    QTest::newRow("grey") << grey(qRgb(30, 60, 91), 90) << qRgb(150, 150, 150);
    QTest::newRow("grey, level at most 100") << grey(qRgb(30, 60, 91), 150) << qRgb(160, 160, 160);
    QTest::newRow("grey, capped at 240") << grey(white, 90) << qRgb(240, 240, 240);
    QTest::newRow("grey keeps alpha") << grey(qRgba(0, 0, 0, 7), 10) << qRgba(10, 10, 10, 7);
    QTest::newRow("contrast on light") << contrastColour(qRgb(200, 0, 200), red) << red;
    QTest::newRow("contrast on green") << contrastColour(qRgb(0, 210, 0), red) << red;
    QTest::newRow("contrast on dark")
        << contrastColour(qRgb(100, 200, 200), red) << lighten(qRgb(100, 200, 200), 90);
}

void XPMenuTest::colourFunctions()
{
    QFETCH(QRgb, result);
    QFETCH(QRgb, expected);
    QCOMPARE(QString::number(result, 16), QString::number(expected, 16));
}

void XPMenuTest::effectiveColours_data()
{
    QTest::addColumn<bool>("system");
    QTest::addColumn<bool>("highColour");
    QTest::addColumn<XPMenuColours>("expected");

    // The properties' colours stand as they are; only the check areas and the frame
    // depend on the display.
    XPMenuColours own{.text = qRgb(1, 0, 0),
                      .itemBackground = qRgb(2, 0, 0),
                      .iconColumn = qRgb(3, 0, 0),
                      .selectionFill = qRgb(0, 100, 200),
                      .selectionBorder = qRgb(6, 0, 0),
                      .selectedText = qRgb(7, 0, 0),
                      .menuBar = qRgb(4, 0, 0),
                      .disabledText = qRgb(8, 0, 0),
                      .separator = qRgb(9, 0, 0),
                      .checkFrame = qRgb(10, 0, 0),
                      .checkedArea = qRgb(191, 216, 241),
                      .checkedAreaSelected = qRgb(128, 178, 228),
                      .menuBorder = qRgb(122, 120, 110),
                      .menuShadow = qRgb(136, 134, 124)};
    QTest::newRow("own colours, high colour") << false << true << own;
    own.checkedArea = white;
    own.checkedAreaSelected = qRgb(0xC0, 0xC0, 0xC0);
    own.menuBorder = own.menuShadow = buttonShadow;
    QTest::newRow("own colours, 256 colours") << false << false << own;
    QTest::newRow("system colours, high colour")
        << true << true
        << XPMenuColours{.text = black,
                         .itemBackground = qRgb(249, 248, 247),
                         .iconColumn = qRgb(219, 216, 209),
                         .selectionFill = qRgb(177, 185, 207),
                         .selectionBorder = highlight,
                         .selectedText = black,
                         .menuBar = menu,
                         .disabledText = qRgb(141, 141, 141),
                         .separator = qRgb(160, 160, 160),
                         .checkFrame = highlight,
                         .checkedArea = qRgb(194, 200, 218),
                         .checkedAreaSelected = qRgb(132, 146, 180),
                         .menuBorder = qRgb(122, 120, 110),
                         .menuShadow = qRgb(136, 134, 124)};
    QTest::newRow("system colours, 256 colours") << true << false
                                                 << XPMenuColours{.text = black,
                                                                  .itemBackground = white,
                                                                  .iconColumn = buttonFace,
                                                                  .selectionFill = white,
                                                                  .selectionBorder = highlight,
                                                                  .selectedText = black,
                                                                  .menuBar = buttonFace,
                                                                  .disabledText = buttonShadow,
                                                                  .separator = buttonShadow,
                                                                  .checkFrame = highlight,
                                                                  .checkedArea = white,
                                                                  .checkedAreaSelected = white,
                                                                  .menuBorder = buttonShadow,
                                                                  .menuShadow = buttonShadow};
}

void XPMenuTest::effectiveColours()
{
    QFETCH(bool, system);
    QFETCH(bool, highColour);
    QFETCH(XPMenuColours, expected);
    XPMenuSettings settings = system ? XPMenuSettings() : ownColours();
    QCOMPARE(describe(quill::effectiveColours(settings, fixedPalette(), highColour)),
             describe(expected));
}

void XPMenuTest::captionColours_data()
{
    QTest::addColumn<bool>("barItem");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QRgb>("expected");
    const XPMenuColours c = quill::effectiveColours(ownColours(), fixedPalette(), true);
    QTest::newRow("resting") << false << true << false << c.text;
    QTest::newRow("selected") << false << true << true << c.selectedText;
    QTest::newRow("disabled") << false << false << false << c.disabledText;
    QTest::newRow("disabled, selected") << false << false << true << c.disabledText;
    QTest::newRow("bar item, selected")
        << true << true << true << contrastColour(c.iconColumn, c.text);
}

void XPMenuTest::captionColours()
{
    QFETCH(bool, barItem);
    QFETCH(bool, enabled);
    QFETCH(bool, selected);
    QFETCH(QRgb, expected);
    XPMenuItem item;
    item.barItem = barItem;
    item.enabled = enabled;
    item.selected = selected;
    QCOMPARE(captionColour(item, quill::effectiveColours(ownColours(), fixedPalette(), true)),
             expected);
}

void XPMenuTest::measuring_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QSize>("icon");
    QTest::addColumn<bool>("barItem");
    QTest::addColumn<bool>("separator");
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<QSize>("expected");

    // Characters are 6 pixels wide, "&" 4; the icon column is 24.
    const QSize none;
    QTest::newRow("text 12 high") << u"Open"_s << QString() << none << false << false << 12
                                  << QSize(24 + 24 + 10, 21);
    QTest::newRow("text 13 high") << u"Open"_s << QString() << none << false << false << 13
                                  << QSize(58, 23);
    QTest::newRow("text 14 high, 10.5 to even")
        << u"Open"_s << QString() << none << false << false << 14 << QSize(58, 24);
    QTest::newRow("separator, small font")
        << u"-"_s << QString() << none << false << true << 8 << QSize(34, 4);
    QTest::newRow("separator, large font")
        << QString() << QString() << none << false << true << 30 << QSize(34, 4);
    QTest::newRow("shortcut and spacer") << u"Open"_s << u"Ctrl+O"_s << none << false << false << 12
                                         << QSize(6 * (4 + 6 + 3) + 24 + 10, 21);
    QTest::newRow("ampersand not counted")
        << u"&New"_s << QString() << none << false << false << 12 << QSize(18 + 24 + 10, 21);
    QTest::newRow("icon within the column")
        << u"Open"_s << QString() << QSize(16, 16) << false << false << 12 << QSize(58, 21);
    QTest::newRow("icon taller than the text")
        << u"Open"_s << QString() << QSize(16, 16) << false << false << 8 << QSize(58, 20);
    QTest::newRow("icon wider than the column")
        << u"Open"_s << QString() << QSize(30, 16) << false << false << 12 << QSize(64, 21);
    QTest::newRow("bar item, no icon column")
        << u"&File"_s << QString() << none << true << false << 12 << QSize(24 + 10, 21);
    QTest::newRow("bar item with icon")
        << u"&File"_s << QString() << QSize(16, 16) << true << false << 12 << QSize(50, 21);
}

void XPMenuTest::measuring()
{
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(QSize, icon);
    QFETCH(bool, barItem);
    QFETCH(bool, separator);
    QFETCH(int, textHeight);
    QFETCH(QSize, expected);

    XPMenuItem item;
    item.caption = caption;
    item.shortcut = shortcut;
    if (icon.isValid())
        item.icon = QImage(icon, QImage::Format_ARGB32);
    item.barItem = barItem;
    item.separator = separator;
    const XPMenuTextMetrics metrics{[](const QString &text) {
                                        int width = 0;
                                        for (QChar c : text)
                                            width += c == u'&' ? 4 : 6;
                                        return width;
                                    },
                                    textHeight};
    QCOMPARE(measureItem(item, metrics, 24), expected);
}

void XPMenuTest::painting_data()
{
    QTest::addColumn<bool>("highColour");
    QTest::addColumn<Painting>("painting");
    QTest::addColumn<QList<Probe>>("probes"); // colours by name, filled in below

    // Items are 100 x 21, laid out 22 high; the icon column is 24 wide.
    const XPMenuColours c = fixedPaint().colours;
    const auto row = [](const char *name, Painting painting, QList<Probe> probes,
                        bool highColour = true) {
        QTest::newRow(name) << highColour << painting << probes;
    };
    const auto nothing = [](XPMenuItem &, XPMenuPaint &) {};
    const auto selected = [](XPMenuItem &i, XPMenuPaint &) { i.selected = true; };

    row("background", item(nothing),
        {{{0, 0}, c.iconColumn},
         {{23, 20}, c.iconColumn},
         {{24, 0}, c.itemBackground},
         {{99, 20}, c.itemBackground}});
    row("right to left", item([](XPMenuItem &i, XPMenuPaint &) { i.rightToLeft = true; }),
        {{{76, 10}, c.iconColumn}, {{75, 10}, c.itemBackground}});
    row("selection", item(selected),
        {{{50, 0}, c.itemBackground},
         {{50, 1}, c.selectionBorder},
         {{0, 10}, c.selectionBorder},
         {{99, 10}, c.selectionBorder},
         {{50, 20}, c.selectionBorder},
         {{3, 10}, c.selectionFill},
         {{98, 19}, c.selectionFill}});
    row("selection, flat menu",
        item([](XPMenuItem &i, XPMenuPaint &p) { i.selected = p.flatMenu = true; }),
        {{{98, 10}, c.selectionBorder}, {{99, 10}, c.itemBackground}});
    row("separator, line in the middle of 5 rows",
        item([](XPMenuItem &i, XPMenuPaint &) { i.separator = true; }, {100, 4}),
        {{{30, 2}, c.itemBackground},
         {{31, 2}, c.separator},
         {{99, 2}, c.separator},
         {{31, 1}, c.itemBackground},
         {{31, 3}, c.itemBackground}});
    row("check box", item([](XPMenuItem &i, XPMenuPaint &) { i.checked = true; }),
        {{{7, 6}, c.checkFrame},
         {{16, 15}, c.checkFrame},
         {{6, 6}, c.iconColumn},
         {{8, 7}, c.checkedArea},
         {{8, 11}, black},
         {{10, 13}, black},
         {{12, 13}, black},
         {{18, 6}, black},
         {{19, 5}, c.iconColumn}});
    row("checked, selected",
        item([](XPMenuItem &i, XPMenuPaint &) { i.checked = i.selected = true; }),
        {{{8, 7}, c.checkedAreaSelected}});
    const auto gradient = item([](XPMenuItem &, XPMenuPaint &p) { p.gradient = true; });
    row("gradient", gradient,
        {{{0, 5}, lighten(c.iconColumn, 1)},
         {{1, 5}, lighten(c.iconColumn, 4)},
         {{28, 5}, lighten(c.iconColumn, 85)},
         {{29, 5}, lighten(c.iconColumn, 86)},
         {{40, 5}, lighten(c.iconColumn, 96)}});
    row("gradient, 256 colours", gradient, {{{0, 5}, buttonFace}, {{40, 5}, white}}, false);

    const auto barItem = [](QSize size) {
        return item([](XPMenuItem &i, XPMenuPaint &) { i.barItem = i.selected = true; }, size);
    };
    row("bar highlight", barItem({60, 21}),
        {{{0, 10}, c.menuBorder},
         {{20, 0}, c.menuBorder},
         {{52, 10}, c.menuBorder},
         {{20, 10}, c.iconColumn},
         {{20, 20}, c.iconColumn},
         {{53, 2}, darken(c.menuBar, 10)},
         {{57, 4}, darken(c.menuBar, 30)},
         {{58, 4}, darken(c.menuBar, 10)},
         {{56, 5}, darken(c.menuBar, 60)},
         {{55, 10}, darken(c.menuBar, 60)},
         {{54, 10}, darken(c.menuBar, 100)},
         {{54, 5}, darken(c.menuBar, 60)}});
    const XPMenuColours low = fixedPaint(false).colours;
    row("bar highlight, 256 colours", barItem({60, 21}),
        {{{57, 10}, low.menuBorder},
         {{58, 1}, low.menuBar},
         {{58, 2}, low.menuShadow},
         {{59, 20}, low.menuShadow}},
        false);

    // The picture stands at (3, 4): centred in the column, one pixel to the left.
    const auto withIcon = [](std::function<void(XPMenuItem &)> change) {
        return item([change](XPMenuItem &i, XPMenuPaint &) {
            i.icon = redDot();
            change(i);
        });
    };
    row("icon faded", withIcon([](XPMenuItem &) {}),
        {{{3, 4}, lighten(red, 30)}, {{4, 5}, c.iconColumn}});
    row("icon on 256 colours", withIcon([](XPMenuItem &) {}), {{{3, 4}, red}}, false);
    row("icon raised, with a shadow", withIcon([](XPMenuItem &i) { i.selected = true; }),
        {{{2, 3}, red}, {{3, 4}, c.selectionFill}, {{4, 5}, darken(c.selectionFill, 50)}});
    row("icon grey", withIcon([](XPMenuItem &i) { i.enabled = false; }), {{{3, 4}, grey(red, 90)}});
    row("icon checked, framed", withIcon([](XPMenuItem &i) { i.checked = true; }),
        {{{3, 4}, red},
         {{1, 2}, c.selectionBorder},
         {{20, 19}, c.selectionBorder},
         {{4, 5}, c.checkedArea}});

    row("flat frame",
        [](const XPMenuPaint &p) {
            QImage image(100, 50, QImage::Format_RGB32);
            image.fill(red);
            QPainter painter(&image);
            paintFlatFrame(painter, image.rect(), p, false);
            return image;
        },
        {{{0, 0}, c.menuBorder},
         {{97, 10}, c.menuBorder},
         {{50, 47}, c.menuBorder},
         {{98, 10}, c.menuShadow},
         {{50, 49}, c.menuShadow},
         {{98, 2}, c.menuShadow},
         {{99, 1}, c.iconColumn},
         {{1, 49}, c.iconColumn},
         {{1, 10}, c.iconColumn},
         {{10, 1}, c.iconColumn},
         {{50, 2}, c.itemBackground},
         {{50, 3}, red}});

    const auto button = [](std::function<void(XPToolButton &)> change) {
        return [change](const XPMenuPaint &p) {
            XPToolButton b;
            change(b);
            return paintToolButton(b, {23, 22}, p);
        };
    };
    row("tool button resting", button([](XPToolButton &) {}),
        {{{0, 0}, c.iconColumn}, {{11, 11}, c.iconColumn}});
    row("tool button hot", button([](XPToolButton &b) { b.hot = true; }),
        {{{0, 0}, c.selectionBorder}, {{22, 21}, c.selectionBorder}, {{11, 11}, c.selectionFill}});
    row("tool button checked", button([](XPToolButton &b) { b.checked = true; }),
        {{{11, 11}, c.checkedArea}});
    row("tool button pressed", button([](XPToolButton &b) { b.pressed = b.hot = true; }),
        {{{11, 11}, c.checkedAreaSelected}});
    row("tool separator with a line",
        [](const XPMenuPaint &p) {
            return paintToolSeparator({6, 22}, true, true, p);
        },
        {{{3, 1}, c.iconColumn},
         {{3, 2}, c.disabledText},
         {{3, 20}, c.disabledText},
         {{3, 21}, c.iconColumn},
         {{2, 10}, c.iconColumn}});
}

void XPMenuTest::painting()
{
    QFETCH(bool, highColour);
    QFETCH(Painting, painting);
    QFETCH(QList<Probe>, probes);

    const QImage image = painting(fixedPaint(highColour));
    for (const Probe &probe : probes) {
        const QRgb pixel = image.pixel(probe.at) & RGB_MASK;
        if (pixel != (probe.colour & RGB_MASK)) {
            QFAIL(qPrintable(u"(%1, %2) is %3, expected %4"_s.arg(probe.at.x())
                                 .arg(probe.at.y())
                                 .arg(pixel, 6, 16, QChar(u'0'))
                                 .arg(probe.colour & RGB_MASK, 6, 16, QChar(u'0'))));
        }
    }
}

// Under the mouse a disabled item keeps its look but for the fill of its check mark.
void XPMenuTest::disabledItemUnderTheMouse()
{
    XPMenuItem item;
    item.caption = u"Cu&t"_s;
    item.shortcut = u"Ctrl+X"_s;
    item.enabled = false;
    item.checked = true;
    const XPMenuPaint paint = fixedPaint();
    const QImage resting = paintItem(item, {100, 21}, paint);
    item.selected = true;
    const QImage pointed = paintItem(item, {100, 21}, paint);

    int changed = 0;
    for (int y = 0; y < resting.height(); ++y) {
        for (int x = 0; x < resting.width(); ++x) {
            if (resting.pixel(x, y) == pointed.pixel(x, y))
                continue;
            QCOMPARE(resting.pixel(x, y), paint.colours.checkedArea);
            QCOMPARE(pointed.pixel(x, y), paint.colours.checkedAreaSelected);
            ++changed;
        }
    }
    QVERIFY(changed > 0);
}

namespace {

// A window with a File menu like the program's: pictures, shortcuts, a separator
// and a submenu.
struct Window {
    Window()
    {
        file = window.menuBar()->addMenu(u"&File"_s);
        QPixmap picture(16, 16);
        picture.fill(Qt::blue);
        const std::pair<QString, QString> commands[] = {{u"&New"_s, u"Ctrl+N"_s},
                                                        {u"Import..."_s, u"Ctrl+Alt+I"_s}};
        for (const auto &[caption, shortcut] : commands) {
            QAction *action = file->addAction(QIcon(picture), caption);
            action->setShortcut(QKeySequence(shortcut));
        }
        exportMenu = file->addMenu(u"Export"_s);
        exportMenu->addAction(u"As HTML"_s);
        separator = file->addSeparator();
        file->addAction(u"E&xit"_s);
        popup = new QMenu(&window);
        popup->addAction(u"Generate Meta Code"_s);
        renderer = new TXPMenu(&window);
    }

    QMainWindow window;
    QMenu *file;
    QMenu *exportMenu;
    QMenu *popup;
    QAction *separator;
    TXPMenu *renderer;
};

} // namespace

void XPMenuTest::realMenu()
{
    Window w;
    w.renderer->setActive(true);
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    w.file->popup(w.window.mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(w.file));
    const QImage shot = w.file->grab().toImage();
    const XPMenuColours c =
        paintContext(w.renderer->settings(), QApplication::palette(), true).colours;

    // Every item at least as wide as it asked, though Qt adds the widest shortcut
    // afterwards; the separator exactly 4 high.
    const XPMenuTextMetrics metrics = textMetrics(paintFont(w.renderer->settings()));
    for (QAction *action : w.file->actions()) {
        XPMenuItem item;
        item.caption = action->text();
        item.shortcut = action->shortcut().toString(QKeySequence::NativeText);
        item.icon = action->icon().isNull() ? QImage() : QImage(16, 16, QImage::Format_ARGB32);
        item.separator = action->isSeparator();
        QVERIFY2(w.file->actionGeometry(action).width() >= measureItem(item, metrics, 24).width(),
                 qPrintable(action->text()));
    }
    const QRect separator = w.file->actionGeometry(w.separator);
    QCOMPARE(separator.height(), 4);
    QCOMPARE(shot.pixel(separator.left() + 24 + 7, separator.top() + 2), c.separator);
    QCOMPARE(shot.pixel(separator.left() + 24 + 6, separator.top() + 2), c.itemBackground);
    const QRect exitItem = w.file->actionGeometry(w.file->actions().last());
    QCOMPARE(shot.pixel(exitItem.right() - 1, exitItem.center().y()), c.itemBackground);
    QCOMPARE(shot.pixel(exitItem.left() + 1, exitItem.center().y()), c.iconColumn);
    w.file->close();
}

void XPMenuTest::hooking_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<bool>("fileStyled");
    QTest::addColumn<bool>("ownStyleKept");
    QTest::addColumn<bool>("runTimeMenuStyled");

    const auto addSubmenu = [](QMenu *file) { file->addMenu(u"Later"_s)->addAction(u"x"_s); };
    QTest::newRow("active") << Steps([](QMenu *, TXPMenu &r) { r.setActive(true); }) << true << true
                            << false;
    QTest::newRow("override owner draw") << Steps([](QMenu *, TXPMenu &r) {
        r.setActive(true);
        r.setOverrideOwnerDraw(true);
    }) << true << false << false;
    QTest::newRow("active off restores the application's style") << Steps([](QMenu *, TXPMenu &r) {
        r.setActive(true);
        r.setActive(false);
    }) << false << true << false;
    QTest::newRow("submenu added, not yet opened") << Steps([=](QMenu *file, TXPMenu &r) {
        r.setActive(true);
        addSubmenu(file);
    }) << true << true << false;
    QTest::newRow("submenu added, styled as its menu opens") << Steps([=](QMenu *file, TXPMenu &r) {
        r.setActive(true);
        addSubmenu(file);
        emit file->aboutToShow();
    }) << true << true << true;
    QTest::newRow("auto-detect, item added while off") << Steps([=](QMenu *file, TXPMenu &r) {
        r.setAutoDetect(true);
        addSubmenu(file);
        QCoreApplication::processEvents();
    }) << true << true << true;
    QTest::newRow("auto-detect, menu made under the window") << Steps([](QMenu *file, TXPMenu &r) {
        r.setAutoDetect(true);
        auto *later = new QMenu(file->parentWidget()->window());
        later->setObjectName(u"Later"_s);
        later->addAction(u"x"_s);
        QCoreApplication::processEvents();
    }) << true << true << true;
}

void XPMenuTest::hooking()
{
    QFETCH(Steps, steps);
    QFETCH(bool, fileStyled);
    QFETCH(bool, ownStyleKept);
    QFETCH(bool, runTimeMenuStyled);

    QProxyStyle ownStyle;
    Window w;
    w.popup->setStyle(&ownStyle);
    QMenu empty(&w.window);
    steps(w.file, *w.renderer);

    QStyle *const renderer = w.renderer->style();
    QCOMPARE(w.file->style() == renderer, fileStyled);
    QCOMPARE(w.exportMenu->style() == renderer, fileStyled);
    QCOMPARE(w.window.menuBar()->style() == renderer, fileStyled);
    if (!fileStyled)
        QCOMPARE(w.file->style(), QApplication::style());
    QCOMPARE(w.popup->style() == &ownStyle, ownStyleKept);
    QCOMPARE(w.popup->style() == renderer, !ownStyleKept);
    QCOMPARE(empty.style(), QApplication::style());
    QMenu *later = w.window.findChild<QMenu *>(u"Later"_s);
    if (!later) {
        for (QAction *action : w.file->actions()) {
            if (action->text() == u"Later"_s)
                later = action->menu();
        }
    }
    QCOMPARE(later && later->style() == renderer, runTimeMenuStyled);
}

// Qt deletes a window's children in the order they were made: menus made before the
// renderer go first, one made after it goes last.
void XPMenuTest::destroyingTheWindowWhileActive()
{
    auto w = std::make_unique<Window>();
    w->renderer->setAutoDetect(true);
    auto *later = new QMenu(&w->window);
    later->addAction(u"x"_s);
    w->renderer->setActive(true);
    QCOMPARE(later->style(), w->renderer->style());
    w->window.show();
    w->file->popup(QPoint(0, 0));
    QVERIFY(QTest::qWaitForWindowExposed(w->file));
    w.reset();

    // A menu outside the window, hooked below one of its items, outlives the renderer.
    QMenu outside;
    outside.addAction(u"y"_s);
    {
        Window w2;
        w2.file->addMenu(&outside);
        w2.renderer->setActive(true);
        QCOMPARE(outside.style(), w2.renderer->style());
    }
    QCOMPARE(outside.style(), QApplication::style());
}

void XPMenuTest::doubleResolution_data()
{
    QTest::addColumn<Painting>("painting");
    QTest::addColumn<bool>("text"); // set anew: detail finer than a pixel at 1

    QTest::newRow("item") << item([](XPMenuItem &, XPMenuPaint &) {}) << false;
    QTest::newRow("check mark") << item([](XPMenuItem &i, XPMenuPaint &) { i.checked = true; })
                                << false;
    QTest::newRow("bar highlight")
        << item([](XPMenuItem &i, XPMenuPaint &) { i.barItem = i.selected = true; }, {60, 21})
        << false;
    QTest::newRow("picture raised") << item([](XPMenuItem &i, XPMenuPaint &p) {
        i.icon = redDot(p.devicePixelRatio);
        i.selected = true;
    }) << false;
    QTest::newRow("tool button") << Painting([](const XPMenuPaint &p) {
        XPToolButton b;
        b.hot = true;
        b.dropDownWidth = 11;
        return paintToolButton(b, {34, 22}, p);
    }) << false;
    QTest::newRow("caption") << item([](XPMenuItem &i, XPMenuPaint &) {
        i.caption = u"&Open..."_s;
        i.shortcut = u"Ctrl+O"_s;
    }) << true;
}

void XPMenuTest::doubleResolution()
{
    QFETCH(Painting, painting);
    QFETCH(bool, text);
    XPMenuPaint paint = fixedPaint();
    const QImage single = painting(paint);
    paint.devicePixelRatio = 2.0;
    const QImage twice = painting(paint);
    QCOMPARE(twice.devicePixelRatio(), 2.0);
    QCOMPARE(twice.size(), single.size() * 2);
    // Fills, lines and pictures land on the same places, twice as big; text is set anew
    // at the finer resolution.
    const doubled::Blocks blocks = doubled::compare(single, twice);
    QCOMPARE(blocks.mixed > 0, text);
    if (!text)
        QVERIFY2(blocks.other == 0, qPrintable(u"another colour at "_s + blocks.firstOther));
}

QTEST_MAIN(XPMenuTest)
#include "tst_xp_menu.moc"
