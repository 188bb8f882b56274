#include "image/effects/text_renderer.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include "foundation/string_helpers.h"
#include "foundation/text_codec.h"
#include "image/effects/font_face.h"
#include "image/pixel/draw.h"

namespace galvora {

namespace {

// Faces keep their size in themselves, so measuring and drawing one text
// must not interleave with another.
std::mutex& render_lock() {
    static std::mutex m;
    return m;
}

// FreeType's spans carry 16-bit coordinates; glyphs are rendered around
// their own origin and must stay well inside that range.
constexpr double kMaxGlyphExtent = 30000.0;

struct SizedFont {
    std::shared_ptr<const FontFace> font;
    double scale = 0;          // pixels per font unit
    double ascent = 0;         // pixels from the cell's top to the baseline
    double bold_strength = 0;  // pixels a synthetic bold adds to each glyph
};

bool prepare(const TextFont& request, SizedFont& sized) {
    if (request.height <= 0) return false;
    sized.font = find_font(request.face_name, request.weight, request.italic);
    if (!sized.font) return false;
    FT_Face face = sized.font->face;
    const double height = static_cast<double>(request.height);
    sized.scale = height / (sized.font->cell_ascent + sized.font->cell_descent);
    const double ppem = sized.scale * face->units_per_EM;
    // FreeType takes sizes in 26.6 up to 16 bits of whole pixels.
    if (!(ppem > 0) || ppem * 64.0 >= 65535.0 * 64.0) return false;
    if (FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(ppem * 64.0)), 72, 72) != 0) return false;
    sized.ascent = sized.font->cell_ascent * sized.scale;
    sized.bold_strength = sized.font->synthetic_bold ? ppem / 24.0 : 0.0;
    return true;
}

// A character as the font sees it; bytes that were not UTF-8 are read as
// Windows-1252.
char32_t font_character(char32_t c) {
    if (c >= 0xDC80 && c <= 0xDCFF) {
        const std::u32string decoded = utf8_decode(cp1252_to_utf8(std::string(1, static_cast<char>(c - 0xDC00))));
        return decoded.empty() ? U'?' : decoded[0];
    }
    return c;
}

struct PlacedGlyph {
    FT_UInt index;
    double x;  // pixels from the start of the line
};

// Places the glyphs of one line; returns its advance width in pixels.
double layout_line(const SizedFont& sized, const std::string& line, std::vector<PlacedGlyph>* glyphs) {
    FT_Face face = sized.font->face;
    double pen = 0;
    FT_UInt previous = 0;
    for (char32_t raw : utf8_decode(line)) {
        const char32_t c = font_character(raw);
        if (c < 0x20) continue;  // control characters take no room
        const FT_UInt index = FT_Get_Char_Index(face, c);
        if (previous != 0 && index != 0 && FT_HAS_KERNING(face)) {
            FT_Vector delta{0, 0};
            if (FT_Get_Kerning(face, previous, index, FT_KERNING_UNFITTED, &delta) == 0) pen += delta.x / 64.0;
        }
        FT_Fixed advance = 0;
        if (FT_Get_Advance(face, index, FT_LOAD_NO_HINTING, &advance) != 0) continue;
        if (glyphs) glyphs->push_back({index, pen});
        pen += advance / 65536.0 + sized.bold_strength;
        previous = index;
    }
    return pen;
}

struct SpanTarget {
    PictureBuffer* picture;
    int32_t origin_x;    // picture column of raster x = 0
    int32_t baseline;    // picture row just below raster y = 0
    uint8_t colour[3];
    uint32_t opacity;    // 0 to 256
};

void blend_spans(int y, int count, const FT_Span* spans, void* user) {
    auto* t = static_cast<SpanTarget*>(user);
    const int64_t row = static_cast<int64_t>(t->baseline) - y - 1;
    if (row < 0 || row >= t->picture->height()) return;
    for (int i = 0; i < count; ++i) {
        const uint32_t a = (spans[i].coverage * t->opacity + 127) / 255;  // 0 to 256
        if (a == 0) continue;
        const int64_t x0 = std::max<int64_t>(0, static_cast<int64_t>(t->origin_x) + spans[i].x);
        const int64_t x1 = std::min<int64_t>(t->picture->width(), static_cast<int64_t>(t->origin_x) + spans[i].x + spans[i].len);
        for (int64_t x = x0; x < x1; ++x) {
            uint8_t* p = t->picture->pixel(static_cast<int32_t>(x), static_cast<int32_t>(row));
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<uint8_t>((p[c] * (256 - a) + t->colour[c] * a + 128) >> 8);
        }
    }
}

struct ClipRect {
    int32_t left, top, right, bottom;
};

void render_glyph(FT_Face face, const SizedFont& sized, FT_UInt index, double x, int32_t baseline, const ClipRect& clip,
                  SpanTarget& target) {
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return;
    FT_Outline* outline = &slot->outline;
    if (sized.bold_strength > 0)
        FT_Outline_EmboldenXY(outline, static_cast<FT_Pos>(std::lround(sized.bold_strength * 64.0)), 0);
    if (sized.font->synthetic_italic) {
        FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
        FT_Outline_Transform(outline, &shear);
    }
    const double whole = std::floor(x);
    if (std::fabs(whole) > 2147483647.0) return;
    FT_Outline_Translate(outline, static_cast<FT_Pos>(std::lround((x - whole) * 64.0)), 0);
    FT_BBox box;
    FT_Outline_Get_CBox(outline, &box);
    const double limit = kMaxGlyphExtent * 64.0;
    if (box.xMin < -limit || box.xMax > limit || box.yMin < -limit || box.yMax > limit) return;
    target.origin_x = static_cast<int32_t>(whole);
    target.baseline = baseline;
    // The clip rectangle in raster coordinates (y up from the baseline).
    const int64_t cx0 = static_cast<int64_t>(clip.left) - target.origin_x, cx1 = static_cast<int64_t>(clip.right) - target.origin_x;
    const int64_t cy0 = static_cast<int64_t>(baseline) - clip.bottom, cy1 = static_cast<int64_t>(baseline) - clip.top;
    const int64_t gx0 = box.xMin / 64 - 1, gx1 = box.xMax / 64 + 2, gy0 = box.yMin / 64 - 1, gy1 = box.yMax / 64 + 2;
    const int64_t x0 = std::max(cx0, gx0), x1 = std::min(cx1, gx1), y0 = std::max(cy0, gy0), y1 = std::min(cy1, gy1);
    if (x0 >= x1 || y0 >= y1) return;
    FT_Raster_Params params{};
    params.source = outline;
    params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
    params.gray_spans = blend_spans;
    params.user = &target;
    params.clip_box = {static_cast<FT_Pos>(x0), static_cast<FT_Pos>(y0), static_cast<FT_Pos>(x1), static_cast<FT_Pos>(y1)};
    FT_Outline_Render(slot->library, outline, &params);
}

// A bar across the line (underline, strike-out), centred on centre_y pixels
// above the baseline.
void draw_bar(PictureBuffer& target, const ClipRect& clip, double x0, double x1, int32_t baseline, double centre_y,
              double thickness, int64_t colour, double opacity) {
    const int64_t t = std::max<int64_t>(1, std::lround(thickness));
    const int64_t top = std::llround(baseline - centre_y - t / 2.0);
    const int64_t l = std::max<int64_t>(clip.left, std::llround(x0)), r = std::min<int64_t>(clip.right, std::llround(x1));
    const int64_t tp = std::max<int64_t>(clip.top, top), bt = std::min<int64_t>(clip.bottom, top + t);
    if (l >= r || tp >= bt) return;
    fill_transparent_rect(target, static_cast<int32_t>(l), static_cast<int32_t>(tp), static_cast<int32_t>(r),
                          static_cast<int32_t>(bt), colour, opacity);
}

}  // namespace

bool measure_text(const std::string& text, const TextFont& font, int64_t& width, int64_t& height) {
    std::lock_guard<std::mutex> guard(render_lock());
    SizedFont sized;
    if (!prepare(font, sized)) return false;
    const std::vector<std::string> lines = split_lines(text);
    double widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, layout_line(sized, line, nullptr));
    width = static_cast<int64_t>(std::ceil(widest));
    height = static_cast<int64_t>(std::max<size_t>(lines.size(), 1)) * font.height;
    return true;
}

bool draw_text(PictureBuffer& target, const std::string& text, const TextFont& font, int32_t left, int32_t top,
               int32_t right, int32_t bottom, TextAlign align, int64_t colour, double opacity) {
    if (target.empty()) return false;
    std::lock_guard<std::mutex> guard(render_lock());
    SizedFont sized;
    if (!prepare(font, sized)) return false;
    opacity = std::isnan(opacity) ? 0.0 : std::clamp(opacity, 0.0, 1.0);
    const ClipRect clip{std::max(left, 0), std::max(top, 0), std::min(right, target.width()),
                        std::min(bottom, target.height())};
    if (clip.left >= clip.right || clip.top >= clip.bottom || opacity <= 0) return true;
    FT_Face face = sized.font->face;
    SpanTarget span{&target, 0, 0, {colour_red(colour), colour_green(colour), colour_blue(colour)},
                    static_cast<uint32_t>(std::lround(opacity * 256.0))};
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const double line_thickness = face->underline_thickness * sized.scale;
    const double strike_size = os2 && os2->yStrikeoutSize > 0 ? os2->yStrikeoutSize * sized.scale : line_thickness;
    const double strike_centre = os2 && os2->yStrikeoutPosition > 0 ? os2->yStrikeoutPosition * sized.scale - strike_size / 2
                                                                    : sized.ascent * 0.3;
    const std::vector<std::string> lines = split_lines(text);
    std::vector<PlacedGlyph> glyphs;
    for (size_t i = 0; i < lines.size(); ++i) {
        const double line_top = static_cast<double>(top) + static_cast<double>(i) * static_cast<double>(font.height);
        if (line_top >= clip.bottom) break;
        const double baseline_d = std::round(line_top + sized.ascent);
        if (baseline_d > 2147483647.0 - 1 || baseline_d < -2147483647.0) continue;
        const int32_t baseline = static_cast<int32_t>(baseline_d);
        glyphs.clear();
        const double line_width = layout_line(sized, lines[i], &glyphs);
        double x0 = left;
        if (align == TextAlign::centre) x0 += (static_cast<double>(right) - left - line_width) / 2.0;
        if (align == TextAlign::right) x0 = right - line_width;
        for (const PlacedGlyph& g : glyphs) render_glyph(face, sized, g.index, x0 + g.x, baseline, clip, span);
        if (font.underline)
            draw_bar(target, clip, x0, x0 + line_width, baseline, face->underline_position * sized.scale, line_thickness,
                     colour, opacity);
        if (font.strikeout)
            draw_bar(target, clip, x0, x0 + line_width, baseline, strike_centre, strike_size, colour, opacity);
    }
    return true;
}

}  // namespace galvora
