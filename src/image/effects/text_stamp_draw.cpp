#include "image/effects/text_stamp_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <optional>
#include <vector>

#include "foundation/string_helpers.h"
#include "image/draw_image.h"
#include "image/effects/text_renderer.h"
#include "image/effects/tone_effects.h"
#include "image/imaging_error.h"
#include "image/pixel/draw.h"
#include "image/pixel/transform.h"
#include "image/resize_image.h"

namespace galvora {

namespace {

// Text is measured at four times its height, so that the box follows the
// glyphs' fractional widths rather than whole pixels at the small size.
constexpr int64_t kMeasureScale = 4;

std::optional<int32_t> fit32(int64_t v) {
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(v);
}

// Halves to the even neighbour: the default rounding mode, which the program
// never changes.
int64_t round_half_even(double v) { return static_cast<int64_t>(std::nearbyint(v)); }

std::string replace_line_marks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '\\') {
            out += "\r\n";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

TextFont font_of(const TextStampArguments& args, int64_t height) {
    TextFont f;
    // The face name lives in a field of 32 characters.
    std::u32string name = utf8_decode(args.font);
    if (name.size() > 32) name.resize(32);
    f.face_name = utf8_encode(name);
    f.height = height;
    f.weight = args.weight;
    f.italic = args.italic != 0;
    f.underline = args.underline != 0;
    f.strikeout = args.strikeout != 0;
    return f;
}

TextAlign align_of(int32_t alignment) {
    switch (alignment) {
        case 2: return TextAlign::centre;
        case 3: return TextAlign::right;
        default: return TextAlign::left;
    }
}

bool turned(int32_t direction) { return direction == 1 || direction == 3; }

// Black on light ground, white on dark. The packed colour values are
// compared, as stored profiles have always had it: blue decides, green only
// breaks a tie in blue, red only a tie in both.
int64_t readable_colour(const PictureBuffer& picture, const TextStampLayout& box, int64_t fallback) {
    try {
        PictureBuffer under = PictureBuffer::allocate(box.width, box.height);
        crop_into(picture, under, box.x, box.y, static_cast<int32_t>(std::min<int64_t>(int64_t{box.x} + box.width, INT32_MAX)),
                  static_cast<int32_t>(std::min<int64_t>(int64_t{box.y} + box.height, INT32_MAX)));
        const int32_t average = GetAverageColour(under);
        return average > static_cast<int32_t>(make_colour(127, 127, 127)) ? 0x000000 : 0xFFFFFF;
    } catch (const ImagingFailure&) {
        return fallback;
    }
}

// The rings at distance 1 to rings around the box, each of four lines.
// Only rings that cross the picture are drawn: a ring reaches the picture
// once it has grown to meet it and leaves it for good once it encloses it.
void draw_outline(PictureBuffer& picture, const TextStampLayout& box, int64_t colour, int32_t rings) {
    const int64_t x = box.x, y = box.y, w = box.width, h = box.height;
    const int64_t pw = picture.width(), ph = picture.height();
    const int64_t first = std::max({int64_t{1}, x - (pw - 1), -(x + w), y - (ph - 1), -(y + h)});
    const int64_t last = std::min<int64_t>(rings, std::max({x, pw - 1 - x - w, y, ph - 1 - y - h}));
    for (int64_t i = first; i <= last; ++i) {
        const auto l = fit32(x - i), t = fit32(y - i), r = fit32(x + w + i), b = fit32(y + h + i);
        if (!l || !t || !r || !b) continue;
        draw_line(picture, colour, *l, *t, *r, *t, true);
        draw_line(picture, colour, *r, *t, *r, *b, true);
        draw_line(picture, colour, *r, *b, *l, *b, true);
        draw_line(picture, colour, *l, *b, *l, *t, true);
    }
}

}  // namespace

TextStampArguments text_stamp_arguments(const CTextStamp& stamp, const std::string& text) {
    TextStampArguments a;
    a.text = text;
    a.font = stamp.Font();
    a.height = stamp.Height();
    a.color = stamp.Color();
    a.color_readable = stamp.ColorReadable();
    a.opacity = stamp.Opacity();
    a.alignment = stamp.Alignment();
    a.position = stamp.Position();
    a.offset_x = stamp.OffsetX();
    a.offset_y = stamp.OffsetY();
    a.direction = stamp.Direction();
    a.weight = stamp.Weight();
    a.italic = stamp.Italic();
    a.underline = stamp.Underline();
    a.strikeout = stamp.Strikeout();
    const bool box = stamp.Background() == 1, ring = stamp.Border() == 1;
    a.background_color = box ? stamp.BackgroundColor() : -1;
    a.background_opacity = box ? stamp.BackgroundOpacity() : 0;
    a.border_color = ring ? stamp.BorderColor() : -1;
    a.border_width = ring ? stamp.BorderWidth() : 0;
    return a;
}

bool layout_text_stamp(int32_t picture_width, int32_t picture_height, const TextStampArguments& args,
                       TextStampLayout& layout) {
    if (args.text.empty() || args.height <= 0) return false;
    layout.text = replace_line_marks(args.text);
    int64_t measured_w = 0, measured_h = 0;
    if (!measure_text(layout.text, font_of(args, int64_t{args.height} * kMeasureScale), measured_w, measured_h))
        return false;
    const auto w = fit32(round_half_even(static_cast<double>(measured_w) / kMeasureScale + 1));
    const auto h = fit32(round_half_even(static_cast<double>(measured_h) / kMeasureScale + 1));
    if (!w || !h) return false;
    layout.width = *w;
    layout.height = *h;
    // Automatic alignment follows the anchor's column; the remainder keeps
    // the sign of the dividend, so position 0 gives 0, which draws left.
    int32_t alignment = args.alignment;
    if (alignment == 0) alignment = static_cast<int32_t>((int64_t{args.position} - 1) % 3 + 1);
    layout.alignment = (alignment == 2 || alignment == 3) ? alignment : 1;
    if (turned(args.direction)) std::swap(layout.width, layout.height);
    stamp_position(args.position, args.offset_x, args.offset_y, picture_width, picture_height, layout.width,
                   layout.height, layout.x, layout.y);
    return true;
}

void DrawTextStamp(PictureBuffer& picture, const TextStampArguments& args) {
    if (picture.empty()) return;
    TextStampLayout box;
    if (!layout_text_stamp(picture.width(), picture.height(), args, box)) return;
    const TextFont font = font_of(args, args.height);
    const double opacity = std::clamp(args.opacity, 0, 100) / 100.0;
    int64_t colour = args.color;

    // Turned text is drawn upright, white on black, into a picture of its
    // own, which is then turned; its grey levels become the mask with which
    // the text colour is laid on.
    PictureBuffer text_picture;
    if (args.direction > 0) {
        try {
            const bool swap = turned(args.direction);
            text_picture = PictureBuffer::allocate(swap ? box.height : box.width, swap ? box.width : box.height);
            draw_text(text_picture, box.text, font, 0, 0, text_picture.width(), text_picture.height(),
                      align_of(box.alignment), 0xFFFFFF, opacity);
            // Only quarter and half turns exist; other directions stay upright
            // and keep their size, so the box always matches the text picture.
            rotate_quarter(text_picture, args.direction - 1);
            box.width = text_picture.width();
            box.height = text_picture.height();
        } catch (const ImagingFailure&) {
            text_picture.release();
        }
    }

    if (args.background_color >= 0) {
        const auto l = fit32(int64_t{box.x} - 1), t = fit32(int64_t{box.y} - 1);
        const auto r = fit32(int64_t{box.x} + box.width + 1), b = fit32(int64_t{box.y} + box.height + 1);
        if (l && t && r && b)
            fill_transparent_rect(picture, *l, *t, *r, *b, args.background_color,
                                  std::clamp(args.background_opacity, 0, 100) / 100.0);
    }
    if (args.color_readable == 1) colour = readable_colour(picture, box, colour);
    if (args.border_width >= 1 && args.border_color >= 0) draw_outline(picture, box, args.border_color, args.border_width);

    if (args.direction <= 0) {
        const auto r = fit32(int64_t{box.x} + box.width), b = fit32(int64_t{box.y} + box.height);
        if (r && b) draw_text(picture, box.text, font, box.x, box.y, *r, *b, align_of(box.alignment), colour, opacity);
        return;
    }
    if (text_picture.empty()) return;
    try {
        std::vector<uint8_t> mask(static_cast<size_t>(text_picture.width()) * text_picture.height());
        for (int32_t y = 0; y < text_picture.height(); ++y) {
            const uint8_t* p = text_picture.row(y);
            for (int32_t x = 0; x < text_picture.width(); ++x, p += 3)
                mask[static_cast<size_t>(y) * text_picture.width() + x] = grey_level(p);
        }
        fill_solid_rect(text_picture, 0, 0, text_picture.width(), text_picture.height(), colour);
        alpha_blend(picture, text_picture, mask.data(), box.x, box.y);
    } catch (const std::bad_alloc&) {
        // No room for the mask: the turned text is left out.
    }
}

}  // namespace galvora
