#include "components/xp_menu_painter.h"

#include "document/mul_div.h"

#include <QFontMetrics>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <utility>

using namespace Qt::StringLiterals;

namespace quill {

namespace {

// Paints with the rules of the drawing layer the look was designed on: rectangles and
// spans are half-open (left to right - 1, top to bottom - 1), a line stops one pixel
// before its end, nothing is antialiased. Coordinates are given left to right in
// device-independent pixels; a mirrored canvas turns them round for right-to-left menus.
class Canvas
{
public:
    Canvas(QImage &image, bool mirrored)
        : m_image(image)
        , m_painter(&image)
        , m_mirrored(mirrored)
        , m_width(qRound(image.deviceIndependentSize().width()))
    {}

    QRect area(int left, int top, int right, int bottom) const
    {
        if (m_mirrored) {
            const int width = m_width;
            std::tie(left, right) = std::pair(width - right, width - left);
        }
        return QRect(left, top, right - left, bottom - top);
    }

    void fill(int left, int top, int right, int bottom, QRgb colour)
    {
        if (right > left && bottom > top)
            m_painter.fillRect(area(left, top, right, bottom), QColor::fromRgba(colour));
    }

    void outline(int left, int top, int right, int bottom, QRgb colour)
    {
        fill(left, top, right, top + 1, colour);
        fill(left, bottom - 1, right, bottom, colour);
        fill(left, top, left + 1, bottom, colour);
        fill(right - 1, top, right, bottom, colour);
    }

    // An outlined rectangle with its inside filled.
    void rectangle(int left, int top, int right, int bottom, QRgb pen, QRgb brush)
    {
        fill(left, top, right, bottom, brush);
        outline(left, top, right, bottom, pen);
    }

    // Any direction; the end point itself stays unpainted.
    void line(int x0, int y0, int x1, int y1, QRgb colour)
    {
        const int dx = x1 - x0;
        const int dy = y1 - y0;
        const int steps = std::max(std::abs(dx), std::abs(dy));
        for (int i = 0; i < steps; ++i) {
            const int x = x0 + MulDiv(i, dx, steps);
            const int y = y0 + MulDiv(i, dy, steps);
            fill(x, y, x + 1, y + 1, colour);
        }
    }

    // An ellipse or a rounded rectangle inside the half-open box, outlined and filled.
    void shape(int left, int top, int right, int bottom, int cornerDiameter, QRgb pen, QRgb brush)
    {
        const QRect box = area(left, top, right, bottom).adjusted(0, 0, -1, -1);
        m_painter.setPen(QColor::fromRgba(pen));
        m_painter.setBrush(QColor::fromRgba(brush));
        if (cornerDiameter > 0)
            m_painter.drawRoundedRect(box, cornerDiameter / 2.0, cornerDiameter / 2.0);
        else
            m_painter.drawEllipse(box);
        m_painter.setBrush(Qt::NoBrush);
    }

    QRgb pixel(int x, int y) const
    {
        if (m_mirrored)
            x = m_width - 1 - x;
        const qreal ratio = m_image.devicePixelRatio();
        const QPoint at(qFloor(x * ratio), qFloor(y * ratio));
        return m_image.valid(at) ? m_image.pixel(at) : 0;
    }

    void image(int x, int y, const QImage &picture)
    {
        if (m_mirrored)
            x = m_width - x - qRound(picture.deviceIndependentSize().width());
        m_painter.drawImage(QPoint(x, y), picture);
    }

    // Single-line text in a rectangle given by its half-open edges; `alignment` is
    // left to right and is turned round with the canvas, as is the reading order.
    void text(int left, int top, int right, int bottom, Qt::Alignment alignment,
              const QString &text, const QFont &font, QRgb colour)
    {
        if (m_mirrored && alignment != Qt::AlignHCenter)
            alignment = alignment == Qt::AlignLeft ? Qt::AlignRight : Qt::AlignLeft;
        m_painter.setLayoutDirection(m_mirrored ? Qt::RightToLeft : Qt::LeftToRight);
        m_painter.setFont(font);
        m_painter.setPen(QColor::fromRgba(colour));
        m_painter.drawText(area(left, top, right, bottom),
                           int(alignment | Qt::AlignAbsolute | Qt::AlignTop) | Qt::TextSingleLine |
                               Qt::TextShowMnemonic,
                           text);
    }

private:
    QImage &m_image;
    QPainter m_painter;
    bool m_mirrored;
    int m_width;
};

// An image of `size` device-independent pixels at the paint's pixel ratio.
QImage canvasImage(QSize size, const XPMenuPaint &paint)
{
    QImage image(size * paint.devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(paint.devicePixelRatio);
    return image;
}

// The size a picture takes up, in device-independent pixels.
QSize shownSize(const QImage &picture)
{
    return picture.deviceIndependentSize().toSize();
}

// Every pixel of the picture changed by `change`, its alpha kept.
template <class Change> QImage recoloured(const QImage &picture, Change change)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            row[x] = (change(row[x]) & RGB_MASK) | (row[x] & ~RGB_MASK);
    }
    return out;
}

struct IconPlacement {
    int x;
    int y;
};

// The picture at its place, raised with a shadow when selected, faded when resting on
// a high-colour display, grey when disabled; a checked item's picture stays as it is.
void paintIcon(Canvas &canvas, const QImage &icon, IconPlacement at, bool enabled, bool selected,
               bool checked, bool raise, const XPMenuPaint &paint)
{
    QImage picture = icon;
    if (!enabled) {
        picture = recoloured(icon, [](QRgb c) { return grey(c, 90); });
    } else if (!checked && selected && raise) {
        --at.x;
        --at.y;
        const QRgb shadow = darken(paint.colours.selectionFill, 50);
        canvas.image(at.x + 2, at.y + 2, recoloured(icon, [shadow](QRgb) { return shadow; }));
    } else if (!checked && !selected && paint.highColour) {
        picture = recoloured(icon, [](QRgb c) { return lighten(c, 30); });
    }
    canvas.image(at.x, at.y, picture);
}

// A selected menu-bar item: filled in the icon-column colour and framed but at the
// bottom, with a shadow at the right; soft bands on a high-colour display.
void paintBarHighlight(Canvas &canvas, int width, int height, const XPMenuPaint &paint,
                       bool leftToRight)
{
    const XPMenuColours &c = paint.colours;
    const bool soft = paint.highColour && leftToRight;
    const int frameEnd = width - (soft ? 7 : 2);
    canvas.fill(0, 0, frameEnd, height, c.iconColumn);
    canvas.fill(0, 0, 1, height, c.menuBorder);
    canvas.fill(0, 0, frameEnd, 1, c.menuBorder);
    canvas.fill(frameEnd - 1, 0, frameEnd, height, c.menuBorder);
    if (!soft) {
        canvas.fill(frameEnd, 2, width, height, c.menuShadow);
        return;
    }
    struct Band {
        int start;
        int end;
        int amount;
    };
    constexpr Band bands[] = {{0, 0, 10}, {3, 2, 30}, {5, 3, 60}, {6, 5, 100}};
    for (const Band &band : bands)
        canvas.fill(frameEnd, band.start, width - band.end, height, darken(c.menuBar, band.amount));
    // The shadow's outer top corner, rounded off into the bar.
    const std::pair<int, int> corner[] = {{width - 1, 0}, {width - 2, 0}, {width - 1, 1}};
    for (const auto &[x, y] : corner)
        canvas.fill(x, y, x + 1, y + 1, c.menuBar);
}

// The mark of a checked item in its check box.
void paintCheck(Canvas &canvas, const QRect &box, bool radio, bool hasIcon, bool selected,
                const XPMenuColours &c)
{
    const int l = box.left();
    const int t = box.top();
    const int r = box.left() + box.width();
    const int b = box.top() + box.height();
    const QRgb inside = selected ? c.checkedAreaSelected : c.checkedArea;
    if (radio) {
        canvas.shape(l, t, r, b, hasIcon ? 6 : 0, c.selectionBorder, inside);
        return;
    }
    if (hasIcon) {
        canvas.rectangle(l, t, r, b, c.selectionBorder, inside);
        return;
    }
    canvas.rectangle(l, t, r, b, c.checkFrame, inside);
    const QRgb black = qRgb(0, 0, 0);
    canvas.line(l + 1, t + 5, l + 4, b - 2, black);
    canvas.line(l + 2, t + 5, l + 4, b - 3, black);
    canvas.line(l + 2, t + 4, l + 5, b - 3, black);
    canvas.line(l + 4, b - 3, r + 2, t - 1, black);
    canvas.line(l + 4, b - 2, r - 2, t + 3, black);
}

} // namespace

XPMenuTextMetrics textMetrics(const QFont &font)
{
    const QFontMetrics metrics(font);
    return {[metrics](const QString &text) { return metrics.horizontalAdvance(text); },
            metrics.height()};
}

QSize measureItem(const XPMenuItem &item, const XPMenuTextMetrics &metrics, int iconWidth)
{
    QString text = item.separator ? QString() : item.caption;
    if (!item.shortcut.isEmpty())
        text += item.shortcut + u"WWW"_s;
    int width = metrics.width(text);
    if (text.contains(u'&'))
        width -= metrics.width(u"&"_s);
    const QSize icon = item.icon.isNull() ? QSize(0, 0) : shownSize(item.icon);
    width += (item.barItem ? icon.width() : std::max(icon.width(), iconWidth)) + 10;
    if (item.separator)
        return QSize(width, 4);
    const int h = metrics.height;
    return QSize(width, std::max(h + mulDivHalfEven(h, 3, 4), icon.height() + 4));
}

XPMenuPaint paintContext(const XPMenuSettings &settings, const QPalette &palette, bool highColour)
{
    XPMenuPaint paint;
    paint.colours = effectiveColours(settings, palette, highColour);
    paint.font = paintFont(settings);
    paint.iconWidth = settings.iconWidth;
    paint.drawSelect = settings.drawSelect;
    paint.gradient = settings.gradient;
    paint.flatMenu = settings.flatMenu;
    paint.highColour = highColour;
    return paint;
}

QRgb captionColour(const XPMenuItem &item, const XPMenuColours &colours)
{
    const bool selected = item.selected && item.enabled;
    if (selected && item.barItem)
        return contrastColour(colours.iconColumn, colours.text);
    if (!item.enabled)
        return colours.disabledText;
    return selected ? colours.selectedText : colours.text;
}

QImage paintItem(const XPMenuItem &item, QSize size, const XPMenuPaint &paint)
{
    QImage image = canvasImage(size, paint);
    image.fill(paint.colours.itemBackground);
    Canvas canvas(image, item.rightToLeft);
    const XPMenuColours &c = paint.colours;
    const int width = size.width();
    const int height = size.height() + 1;
    const int iconWidth = paint.iconWidth;
    const bool hasIcon = !item.icon.isNull();
    // A disabled item looks the same under the mouse; only its check mark tells.
    const bool selected = item.selected && item.enabled;

    const QRect box = hasIcon ? QRect(QPoint(1, 2), QPoint(iconWidth - 4, height - 3))
                              : QRect((iconWidth - 10) / 2, (height - 10) / 2, 10, 10);
    int textStart = iconWidth;
    if (item.barItem)
        textStart = hasIcon ? iconWidth - 5 : 0;

    // Background
    if (item.barItem) {
        canvas.fill(0, 0, width, height, c.menuBar);
    } else if (paint.gradient && paint.highColour) {
        int percent = 0;
        for (int x = 0; x < width + 2; ++x) {
            percent = std::min(percent + (x > 0 && x < iconWidth + 5 ? 3 : 1), 96);
            canvas.fill(x, 0, x + 1, height, lighten(c.iconColumn, percent));
        }
    } else {
        canvas.fill(0, 0, width, height, c.itemBackground);
        canvas.fill(0, 0, iconWidth, height, c.iconColumn);
    }

    // Selection
    if (selected && paint.drawSelect) {
        if (item.barItem)
            paintBarHighlight(canvas, width, height, paint, !item.rightToLeft);
        else
            canvas.rectangle(0, 1, paint.flatMenu ? width - 1 : width, height - 1,
                             c.selectionBorder, c.selectionFill);
    }

    if (item.checked)
        paintCheck(canvas, box, item.radio, hasIcon, item.selected, c);

    if (hasIcon) {
        const QSize icon = shownSize(item.icon);
        const int x = icon.width() > iconWidth ? 2 : (iconWidth - icon.width()) / 2 - 1;
        const int y = item.barItem ? (height - icon.height()) / 2 : 4;
        paintIcon(canvas, item.icon, {x, y}, item.enabled, selected, item.checked, !item.barItem,
                  paint);
    }

    if (item.separator) {
        const int y = mulDivHalfEven(height, 1, 2);
        canvas.line(textStart + 7, y, width, y, c.separator);
        return image;
    }

    // Text: centred on the height of a line, 5 pixels in from the start side.
    const int top = (height - QFontMetrics(paint.font).height()) / 2;
    const int left = textStart + 5;
    const QString caption = u' ' + item.caption;
    const QRgb colour = captionColour(item, c);
    if (item.isDefault && item.enabled) {
        // Embossed: four shadows, each darker than what it falls on.
        struct Pass {
            int dx;
            int dy;
            int amount;
        };
        constexpr Pass passes[] = {{1, 0, 30}, {1, 2, 30}, {0, 1, 40}, {1, 1, 60}};
        for (const Pass &pass : passes) {
            const QRgb under = canvas.pixel(left + pass.dx, top + pass.dy);
            canvas.text(left + pass.dx, top + pass.dy, width + pass.dx, height + pass.dy,
                        Qt::AlignLeft, caption, paint.font, darken(under, pass.amount));
        }
    }
    canvas.text(left, top, width, height, Qt::AlignLeft, caption, paint.font, colour);
    if (!item.shortcut.isEmpty())
        canvas.text(left, top, width - 10, height, Qt::AlignRight, item.shortcut + u' ', paint.font,
                    paint.highColour ? darken(colour, -40) : colour);
    return image;
}

void paintFlatFrame(QPainter &painter, const QRect &rect, const XPMenuPaint &paint,
                    bool rightToLeft)
{
    const XPMenuColours &c = paint.colours;
    const int w = rect.width();
    const int h = rect.height();
    const auto fill = [&](int left, int top, int right, int bottom, QRgb colour) {
        if (right > left && bottom > top)
            painter.fillRect(QRect(rect.x() + left, rect.y() + top, right - left, bottom - top),
                             QColor::fromRgba(colour));
    };
    // Inside the outline, the panel takes the colours of the items it borders.
    fill(1, 1, w - 3, 3, c.itemBackground);
    fill(1, 1, 3, h - 3, rightToLeft ? c.itemBackground : c.iconColumn);
    if (rightToLeft)
        fill(w - 3 - paint.iconWidth, 1, w - 3, 3, c.iconColumn);
    else
        fill(1, 1, 3 + paint.iconWidth, 3, c.iconColumn);
    // The outline, its right and bottom sides 2 pixels in.
    fill(0, 0, w - 2, 1, c.menuBorder);
    fill(0, h - 3, w - 2, h - 2, c.menuBorder);
    fill(0, 0, 1, h - 2, c.menuBorder);
    fill(w - 3, 0, w - 2, h - 2, c.menuBorder);
    // The shadow, and the corners it leaves free.
    fill(w - 2, 2, w, h, c.menuShadow);
    fill(2, h - 2, w, h, c.menuShadow);
    fill(w - 2, 0, w, 2, c.iconColumn);
    fill(0, h - 2, 2, h, c.iconColumn);
}

QImage paintToolButton(const XPToolButton &button, QSize size, const XPMenuPaint &paint)
{
    QImage image = canvasImage(size, paint);
    Canvas canvas(image, false);
    const XPMenuColours &c = paint.colours;
    const int width = size.width();
    const int height = size.height();
    canvas.fill(0, 0, width, height, c.iconColumn);

    const bool hot = button.hot && button.enabled;
    QRgb fill = 0;
    bool framed = true;
    if (button.pressed || (button.checked && hot))
        fill = c.checkedAreaSelected;
    else if (button.checked)
        fill = c.checkedArea;
    else if (hot)
        fill = c.selectionFill;
    else
        framed = false;
    const int bodyEnd = width - button.dropDownWidth;
    if (framed) {
        canvas.rectangle(0, 0, width, height, c.selectionBorder, fill);
        if (button.dropDownWidth > 0)
            canvas.fill(bodyEnd, 0, bodyEnd + 1, height, c.selectionBorder);
    }
    if (button.dropDownWidth > 0) {
        // A small black arrow pointing down, centred in the drop-down part.
        const int x = bodyEnd + (button.dropDownWidth - 5) / 2;
        const int y = (height - 3) / 2;
        for (int row = 0; row < 3; ++row)
            canvas.fill(x + row, y + row, x + 5 - row, y + row + 1, qRgb(0, 0, 0));
    }

    int textStart = 0;
    if (!button.icon.isNull()) {
        const QSize icon = shownSize(button.icon);
        const int x = button.caption.isEmpty() ? (bodyEnd - icon.width()) / 2 : 3;
        paintIcon(canvas, button.icon, {x, (height - icon.height()) / 2}, button.enabled, hot,
                  button.checked, true, paint);
        textStart = x + icon.width();
    }
    if (!button.caption.isEmpty()) {
        XPMenuItem item;
        item.enabled = button.enabled;
        item.selected = hot;
        const int top = (height - QFontMetrics(paint.font).height()) / 2;
        const Qt::Alignment alignment = button.icon.isNull() ? Qt::AlignHCenter : Qt::AlignLeft;
        canvas.text(textStart + 2, top, bodyEnd - 2, height, alignment, button.caption, paint.font,
                    captionColour(item, c));
    }
    return image;
}

QImage paintToolSeparator(QSize size, bool line, bool horizontal, const XPMenuPaint &paint)
{
    QImage image = canvasImage(size, paint);
    Canvas canvas(image, false);
    const int width = size.width();
    const int height = size.height();
    canvas.fill(0, 0, width, height, paint.colours.iconColumn);
    if (line && horizontal)
        canvas.line(width / 2, 2, width / 2, height - 1, paint.colours.disabledText);
    else if (line)
        canvas.line(2, height / 2, width - 1, height / 2, paint.colours.disabledText);
    return image;
}

} // namespace quill
