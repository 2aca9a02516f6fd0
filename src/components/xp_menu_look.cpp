#include "components/xp_menu_look.h"

#include "document/mul_div.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>

namespace quill {

namespace {

QRgb withComponents(QRgb colour, int red, int green, int blue)
{
    const auto clamp = [](int value) { return std::clamp(value, 0, 255); };
    return qRgba(clamp(red), clamp(green), clamp(blue), qAlpha(colour));
}

QRgb real(quint32 value, const QPalette &palette)
{
    return toQColor(value, palette).rgb();
}

} // namespace

int mulDivHalfEven(int a, int b, int c)
{
    // MulDiv takes a half away from zero; an exact half with an odd result goes back.
    int result = MulDiv(a, b, c);
    const qint64 product = qint64(a) * b;
    if (product % c != 0 && (2 * product) % c == 0 && result % 2 != 0)
        result += result > 0 ? -1 : 1;
    return result;
}

QFont systemMenuFont()
{
    QFont font = QApplication::font("QMenu");
    font.setPixelSize(11);
    return font;
}

QRgb lighten(QRgb colour, int percent)
{
    percent = std::min(percent, 100);
    const auto up = [percent](int c) { return c + mulDivHalfEven(255 - c, percent, 100); };
    return withComponents(colour, up(qRed(colour)), up(qGreen(colour)), up(qBlue(colour)));
}

QRgb darken(QRgb colour, int amount)
{
    return withComponents(colour, qRed(colour) - amount, qGreen(colour) - amount + 2,
                          qBlue(colour) - amount);
}

QRgb grey(QRgb colour, int level)
{
    const int mean = (qRed(colour) + qGreen(colour) + qBlue(colour)) / 3;
    const int value = std::min(std::min(level, 100) + mean, 240);
    return withComponents(colour, value, value, value);
}

QRgb contrastColour(QRgb background, QRgb fontColour)
{
    if ((qRed(background) + qBlue(background)) / 2 > 150 || qGreen(background) > 200)
        return fontColour;
    return lighten(background, 90);
}

XPMenuColours effectiveColours(const XPMenuSettings &settings, const QPalette &palette,
                               bool highColour)
{
    const QRgb white = qRgb(0xFF, 0xFF, 0xFF);
    const QRgb buttonFace = real(ButtonFaceColour, palette);
    const QRgb highlight = real(HighlightColour, palette);
    const QRgb buttonShadow = real(ButtonShadowColour, palette);
    const QRgb menuText = real(MenuTextColour, palette);

    XPMenuColours c;
    c.menuBorder = highColour ? darken(buttonFace, 90) : buttonShadow;
    c.menuShadow = highColour ? darken(buttonFace, 76) : buttonShadow;
    if (settings.useSystemColors) {
        c.text = menuText;
        c.itemBackground = highColour ? lighten(buttonFace, 86) : white;
        c.iconColumn = highColour ? lighten(buttonFace, 16) : buttonFace;
        c.selectionFill = highColour ? lighten(highlight, 68) : white;
        c.selectionBorder = highlight;
        c.selectedText = menuText;
        c.menuBar = highColour ? real(MenuColour, palette) : buttonFace;
        c.disabledText = highColour ? lighten(buttonShadow, 10) : buttonShadow;
        c.separator = highColour ? lighten(buttonShadow, 25) : buttonShadow;
        c.checkFrame = highlight;
        c.checkedArea = highColour ? lighten(highlight, 75) : white;
        c.checkedAreaSelected = highColour ? lighten(highlight, 50) : white;
        return c;
    }
    const QRgb select = real(settings.selectColor, palette);
    c.text = real(settings.fontColor, palette);
    c.itemBackground = real(settings.color, palette);
    c.iconColumn = real(settings.iconBackColor, palette);
    c.selectionFill = select;
    c.selectionBorder = real(settings.selectBorderColor, palette);
    c.selectedText = real(settings.selectFontColor, palette);
    c.menuBar = real(settings.menuBarColor, palette);
    c.disabledText = real(settings.disabledColor, palette);
    c.separator = real(settings.separatorColor, palette);
    c.checkFrame = real(settings.checkedColor, palette);
    c.checkedArea = highColour ? lighten(select, 75) : white;
    c.checkedAreaSelected = highColour ? lighten(select, 50) : qRgb(0xC0, 0xC0, 0xC0);
    return c;
}

QFont paintFont(const XPMenuSettings &settings)
{
    return settings.useSystemColors ? systemMenuFont() : settings.font;
}

} // namespace quill
