#pragma once
// Anti-aliased text on picture buffers with FreeType outlines: measuring a
// block of lines and drawing it into a rectangle. Lines end at CR LF, LF or
// CR. The height is the font's cell height in pixels (ascent plus descent,
// as a positive Windows font height means), and every line takes one cell.
// Glyphs are placed unhinted at fractional positions, so a text measured at
// four times the height is four times as wide.
#include <cstdint>
#include <string>

#include "image/picture_buffer.h"

namespace galvora {

struct TextFont {
    std::string face_name;
    int64_t height = 0;  // cell height in pixels
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
};

enum class TextAlign { left, centre, right };

// Width of the widest line (rounded up) and height of all lines, in pixels.
// False when no font can be had or the size cannot be set.
bool measure_text(const std::string& text, const TextFont& font, int64_t& width, int64_t& height);

// Draws the lines from the top of the rectangle (left, top, right, bottom;
// right and bottom exclusive) downwards, each line aligned inside it; the
// text is cut at the rectangle and the picture. Each pixel takes the colour
// weighted by the glyph's coverage times opacity (0 to 1). False when no
// font can be had.
bool draw_text(PictureBuffer& target, const std::string& text, const TextFont& font, int32_t left, int32_t top,
               int32_t right, int32_t bottom, TextAlign align, int64_t colour, double opacity);

}  // namespace galvora
