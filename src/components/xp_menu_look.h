#pragma once

#include "components/colour_value.h"

#include <QFont>
#include <QRgb>

class QPalette;

namespace quill {

// The font the platform gives menus: the program's sans face at 11 pixels.
QFont systemMenuFont();

// The values of TXPMenu's properties, which decide how the menus look, at their
// defaults. Colours are 32-bit values as colour_value.h describes; QFont has no
// colour, so the font's colour stands beside it.
struct XPMenuSettings {
    QFont font = systemMenuFont();
    quint32 fontColor = MenuTextColour;
    quint32 color = ButtonFaceColour;
    quint32 iconBackColor = ButtonFaceColour;
    quint32 menuBarColor = ButtonFaceColour;
    quint32 selectColor = HighlightColour;
    quint32 selectBorderColor = HighlightColour;
    quint32 selectFontColor = MenuTextColour;
    quint32 disabledColor = InactiveCaptionColour;
    quint32 separatorColor = ButtonFaceColour;
    quint32 checkedColor = HighlightColour;
    int iconWidth = 24;
    bool drawSelect = true;
    bool useSystemColors = true;
    bool overrideOwnerDraw = false;
    bool gradient = false;
    bool flatMenu = false;
    bool autoDetect = false;
    bool active = false;
};

// a * b / c (c not 0) rounded to the nearest integer, halves going to even.
int mulDivHalfEven(int a, int b, int c);

// Each of red, green and blue moved towards 255 by `percent` (at most 100) per cent of
// the way, rounded to the nearest integer with halves going to even. Alpha is kept.
QRgb lighten(QRgb colour, int percent);
// Red and blue less `amount`, green less `amount` - 2, each kept within 0 to 255; a
// negative amount brightens. Alpha is kept.
QRgb darken(QRgb colour, int amount);
// The grey of level min(level, 100) + the mean of red, green and blue, at most 240.
// Alpha is kept.
QRgb grey(QRgb colour, int level);
// A colour that reads on `background`: the font colour on a light one, else a light
// tint of the background.
QRgb contrastColour(QRgb background, QRgb fontColour);

// The colours an item is painted with, derived afresh for every paint.
struct XPMenuColours {
    QRgb text; // caption in no special state
    QRgb itemBackground;
    QRgb iconColumn;
    QRgb selectionFill;
    QRgb selectionBorder;
    QRgb selectedText;
    QRgb menuBar;
    QRgb disabledText;
    QRgb separator;
    QRgb checkFrame;
    QRgb checkedArea;
    QRgb checkedAreaSelected;
    QRgb menuBorder;
    QRgb menuShadow;

    friend bool operator==(const XPMenuColours &, const XPMenuColours &) = default;
};

// The colours from the settings, or from the system colours of `palette` while the
// settings use those; a display of more than 15 bits per pixel is high colour.
XPMenuColours effectiveColours(const XPMenuSettings &settings, const QPalette &palette,
                               bool highColour);

// The font an item is measured and painted in: the system menu font while the
// settings use the system's colours (they take its font too), else their own.
QFont paintFont(const XPMenuSettings &settings);

} // namespace quill
