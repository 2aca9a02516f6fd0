#pragma once

#include <QColor>
#include <QtGlobal>

class QPalette;

namespace quill {

// The components keep colours as 32-bit values: a plain colour is 0x00BBGGRR (red in
// the low byte); a value with the top bit set, 0x80000000 + index, names a system colour
// (15 = button face, 13 = highlight, ...), which stays a name until it is painted.
constexpr quint32 SystemColourFlag = 0x80000000u;
constexpr quint32 InactiveCaptionColour = SystemColourFlag | 3;
constexpr quint32 MenuColour = SystemColourFlag | 4;
constexpr quint32 MenuTextColour = SystemColourFlag | 7;
constexpr quint32 HighlightColour = SystemColourFlag | 13;
constexpr quint32 ButtonFaceColour = SystemColourFlag | 15;
constexpr quint32 ButtonShadowColour = SystemColourFlag | 16;

// The real colour of a value: a plain one as it stands, a system colour from the
// palette's nearest role (black for an index the palette has no role for).
QColor toQColor(quint32 value, const QPalette &palette);

} // namespace quill
