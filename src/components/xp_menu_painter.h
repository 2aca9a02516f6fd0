#pragma once

#include "components/xp_menu_look.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class QPainter;
class QRect;

namespace quill {

// One menu or menu-bar item as the measurer and the painter see it.
struct XPMenuItem {
    QString caption;  // "&" marks the accelerator
    QString shortcut; // as the toolkit spells it; empty for none
    QImage icon;      // the item's picture (16 x 16, alpha for transparency); null for none
    bool separator = false;
    bool barItem = false; // a top-level item of a menu bar
    bool enabled = true;
    bool selected = false;
    bool checked = false;
    bool radio = false;
    bool isDefault = false;
    bool rightToLeft = false;
};

// How texts are measured: the width of a text and the height of a line.
struct XPMenuTextMetrics {
    std::function<int(const QString &)> width;
    int height = 0;
};
XPMenuTextMetrics textMetrics(const QFont &font);

// The size the item asks for. Separators are 4 pixels high whatever the font.
QSize measureItem(const XPMenuItem &item, const XPMenuTextMetrics &metrics, int iconWidth);

// What a paint needs besides the item, derived from the settings for each paint.
struct XPMenuPaint {
    XPMenuColours colours;
    QFont font;
    int iconWidth = 24;
    bool drawSelect = true;
    bool gradient = false;
    bool flatMenu = false;
    bool highColour = true;
    // The pixel ratio of the device painted on: the images are made at its resolution.
    qreal devicePixelRatio = 1.0;
};
XPMenuPaint paintContext(const XPMenuSettings &settings, const QPalette &palette, bool highColour);

// The colour of the item's caption, which its submenu arrow shares.
QRgb captionColour(const XPMenuItem &item, const XPMenuColours &colours);

// The item painted whole into an image of `size` (at the paint's pixel ratio; sizes and
// places count in device-independent pixels, a picture's too). The item is laid out one pixel
// higher than the image (the row an item shares with the next), which counts for
// centring but is not painted.
QImage paintItem(const XPMenuItem &item, QSize size, const XPMenuPaint &paint);

// The flat frame of a pop-up menu filling `rect`: a 3-pixel border with an outline
// and a shadow at the right and bottom.
void paintFlatFrame(QPainter &painter, const QRect &rect, const XPMenuPaint &paint,
                    bool rightToLeft);

// One toolbar button as the painter sees it.
struct XPToolButton {
    QString caption; // empty for a picture-only button
    QImage icon;
    bool enabled = true;
    bool hot = false; // under the mouse
    bool pressed = false;
    bool checked = false;
    int dropDownWidth = 0; // the width of a drop-down part at the right; 0 for none
};
QImage paintToolButton(const XPToolButton &button, QSize size, const XPMenuPaint &paint);

// A toolbar separator's area; `line` draws a divider across its middle, along the
// toolbar when `horizontal` is off.
QImage paintToolSeparator(QSize size, bool line, bool horizontal, const XPMenuPaint &paint);

} // namespace quill
