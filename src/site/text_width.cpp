#include "site/text_width.h"

#include "files/file_io.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ft.h>
#include <hb.h>

#include <QChar>
#include <QTextBoundaryFinder>

#include <vector>

namespace quill {
namespace {

constexpr char family[] = "Liberation Sans";
constexpr char16_t ellipsis = u'\u2026';

// The file fontconfig gives for the regular face of `family`, which must be that family:
// fontconfig answers any request with its nearest font, and another face would give
// other widths.
QString fontFile(QString *error)
{
    FcPattern *pattern =
        FcPatternBuild(nullptr, FC_FAMILY, FcTypeString, family, FC_WEIGHT, FcTypeInteger,
                       FC_WEIGHT_REGULAR, FC_SLANT, FcTypeInteger, FC_SLANT_ROMAN, nullptr);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    QString path;
    FcChar8 *found = nullptr;
    FcChar8 *file = nullptr;
    int weight = 0;
    int slant = 0;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch &&
        FcStrCmpIgnoreCase(found, reinterpret_cast<const FcChar8 *>(family)) == 0 &&
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) == FcResultMatch &&
        weight == FC_WEIGHT_REGULAR &&
        FcPatternGetInteger(match, FC_SLANT, 0, &slant) == FcResultMatch &&
        slant == FC_SLANT_ROMAN && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        path = nameFromNative(reinterpret_cast<const char *>(file));
    if (match)
        FcPatternDestroy(match);
    if (path.isEmpty())
        *error = QStringLiteral("The font Liberation Sans is not installed (Debian package "
                                "fonts-liberation); text widths are measured in it");
    return path;
}

// The character a glyph stands for: the one its cluster begins with.
char32_t characterAt(QStringView text, unsigned at)
{
    if (at >= unsigned(text.size()))
        return 0;
    const QChar c = text[at];
    if (c.isHighSurrogate() && at + 1 < unsigned(text.size()) && text[at + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[at + 1]);
    return c.unicode();
}

} // namespace

struct TextWidth::Font {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    hb_font_t *font = nullptr;
    hb_buffer_t *buffer = nullptr;
    int em = 0; // the font's scale: an em in the units HarfBuzz gives advances in
    QString scratch;

    ~Font()
    {
        hb_buffer_destroy(buffer);
        hb_font_destroy(font); // releases its reference to the face
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }

    // The advance width of the text in ems.
    double ems(QStringView text)
    {
        hb_buffer_clear_contents(buffer);
        // A glyph's cluster its own character, not the base a mark joins.
        hb_buffer_set_cluster_level(buffer, HB_BUFFER_CLUSTER_LEVEL_CHARACTERS);
        hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t *>(text.utf16()),
                            int(text.size()), 0, int(text.size()));
        hb_buffer_guess_segment_properties(buffer);
        hb_shape(font, buffer, nullptr, 0);
        unsigned count = 0;
        const hb_glyph_info_t *infos = hb_buffer_get_glyph_infos(buffer, &count);
        const hb_glyph_position_t *positions = hb_buffer_get_glyph_positions(buffer, &count);
        double total = 0;
        for (unsigned i = 0; i < count; ++i) {
            if (infos[i].codepoint != 0) {
                total += positions[i].x_advance;
                continue;
            }
            // A character the font has no glyph for: another font would draw it.
            const auto category = QChar::category(characterAt(text, infos[i].cluster));
            if (category != QChar::Mark_NonSpacing && category != QChar::Mark_Enclosing)
                total += em;
        }
        return total / em;
    }
};

std::unique_ptr<TextWidth> TextWidth::liberationSans(QString *error)
{
    const QString path = fontFile(error);
    return path.isEmpty() ? nullptr : fromFile(path, error);
}

std::unique_ptr<TextWidth> TextWidth::fromFile(const QString &path, QString *error)
{
    auto font = std::make_unique<Font>();
    const auto fail = [&](const QString &reason) {
        *error = QStringLiteral("Cannot read the font %1: %2").arg(displayName(path), reason);
        return nullptr;
    };
    if (FT_Init_FreeType(&font->library) != 0)
        return fail(QStringLiteral("FreeType cannot start"));
    if (const FT_Error failure =
            FT_New_Face(font->library, nativeName(path).constData(), 0, &font->face))
        return fail(failure == FT_Err_Unknown_File_Format ? QStringLiteral("not a font file")
                                                          : QStringLiteral("cannot be opened"));
    if (!FT_IS_SCALABLE(font->face))
        return fail(QStringLiteral("not an outline font"));
    // One em as many pixels as the font has units: advances come whole, as the font
    // holds them, and scale to any size exactly.
    const FT_UShort units = font->face->units_per_EM;
    if (FT_Set_Pixel_Sizes(font->face, units, units) != 0)
        return fail(QStringLiteral("cannot be scaled"));
    font->font = hb_ft_font_create_referenced(font->face);
    hb_ft_font_set_load_flags(font->font, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
    int xScale = 0;
    int yScale = 0;
    hb_font_get_scale(font->font, &xScale, &yScale);
    font->em = xScale;
    font->buffer = hb_buffer_create();
    if (font->em <= 0 || !hb_buffer_allocation_successful(font->buffer))
        return fail(QStringLiteral("HarfBuzz cannot shape with it"));
    return std::unique_ptr<TextWidth>(new TextWidth(std::move(font)));
}

TextWidth::TextWidth(std::unique_ptr<Font> font)
    : m_font(std::move(font))
{}

TextWidth::~TextWidth() = default;

double TextWidth::width(QStringView text, double pixelSize)
{
    return m_font->ems(text) * pixelSize;
}

qsizetype TextWidth::cutPoint(QStringView text, double pixelSize, double limit)
{
    if (width(text, pixelSize) <= limit)
        return text.size();
    std::vector<qsizetype> boundaries; // after the first grapheme, in order
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        boundaries.push_back(at);
    // Wider with every grapheme, so the longest prefix that fits is found by halving.
    const auto fits = [&](qsizetype length) {
        m_font->scratch.truncate(0);
        m_font->scratch.append(text.first(length));
        m_font->scratch.append(QChar(ellipsis));
        return width(m_font->scratch, pixelSize) <= limit;
    };
    qsizetype low = 0; // boundaries[0, low) fit
    qsizetype high = qsizetype(boundaries.size());
    while (low < high) {
        const qsizetype middle = low + (high - low) / 2;
        if (fits(boundaries[std::size_t(middle)]))
            low = middle + 1;
        else
            high = middle;
    }
    return low == 0 ? 0 : boundaries[std::size_t(low - 1)];
}

} // namespace quill
