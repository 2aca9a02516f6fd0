#pragma once

// Compares a drawing made for a screen of twice the pixel ratio with the same drawing made
// at 1: each pixel of the single one stands for a block of 2 x 2 in the double one.

#include <QImage>
#include <QString>

namespace doubled {

struct Blocks {
    int same = 0;  // one colour, the single pixel's: a whole-pixel fill, drawn twice as big
    int mixed = 0; // more than one colour: detail finer than a pixel of the single drawing
    int other = 0; // one colour, but another one
    QString firstOther;
};

inline Blocks compare(const QImage &single, const QImage &twice)
{
    Blocks blocks;
    const QImage a = single.convertToFormat(QImage::Format_ARGB32);
    const QImage b = twice.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb corner = b.pixel(2 * x, 2 * y);
            const bool uniform = b.pixel(2 * x + 1, 2 * y) == corner &&
                                 b.pixel(2 * x, 2 * y + 1) == corner &&
                                 b.pixel(2 * x + 1, 2 * y + 1) == corner;
            if (!uniform) {
                ++blocks.mixed;
            } else if (corner == a.pixel(x, y)) {
                ++blocks.same;
            } else if (blocks.other++ == 0) {
                blocks.firstOther = QStringLiteral("%1,%2").arg(x).arg(y);
            }
        }
    }
    return blocks;
}

// Pixels neither transparent nor opaque: the soft edges of a picture.
inline int softPixels(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int soft = 0;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const int alpha = qAlpha(argb.pixel(x, y));
            soft += alpha > 0 && alpha < 255;
        }
    }
    return soft;
}

} // namespace doubled
