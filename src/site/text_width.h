#pragma once

#include <QString>
#include <QStringView>

#include <memory>

namespace quill {

// The width of a text as search results draw it: in Liberation Sans Regular, which has
// Arial's advance widths, shaped by HarfBuzz over FreeType with the font's kerning,
// unhinted as browsers place text. The font is loaded and the shaper set up once, so a
// measure costs one shaping. A character the font lacks counts one em (the width of the
// CJK ideographs that make up most such text; a combining mark none). The text is
// measured as given: collapse white space first where a browser would. One object a
// thread: FreeType's faces are not shared between threads.
class TextWidth
{
public:
    // Liberation Sans as fontconfig finds it; nullptr with the reason in `error` when it
    // is not installed or cannot be read.
    static std::unique_ptr<TextWidth> liberationSans(QString *error);
    // The font of a TrueType or OpenType file.
    static std::unique_ptr<TextWidth> fromFile(const QString &path, QString *error);

    ~TextWidth();
    TextWidth(const TextWidth &) = delete;
    TextWidth &operator=(const TextWidth &) = delete;

    // The advance width of the text in pixels, drawn at `pixelSize` pixels to the em.
    double width(QStringView text, double pixelSize);

    // Where a line `limit` pixels wide cuts the text: the length, in UTF-16 units, of the
    // longest prefix ending at a grapheme boundary that fits followed by "…" (0 when not
    // even the first grapheme does); the text's whole length when it fits without.
    qsizetype cutPoint(QStringView text, double pixelSize, double limit);

private:
    struct Font;
    explicit TextWidth(std::unique_ptr<Font> font);
    std::unique_ptr<Font> m_font;
};

} // namespace quill
