#pragma once
// Text stamps: a text placed on the picture on the 3 x 3 grid of anchors,
// optionally turned by quarter turns, with a translucent box behind it, an
// outline of rectangular rings around it, and a colour that can be chosen
// black or white from the picture under it.
#include <cstdint>
#include <string>

#include "image/picture_buffer.h"
#include "profile/text_stamp.h"

namespace galvora {

struct TextStampArguments {
    std::string text;         // "%\" breaks a line
    std::string font;         // face name
    int32_t height = 0;       // font cell height in pixels
    int32_t color = 0;        // 0x00BBGGRR
    int32_t color_readable = 0;  // 1: black or white from the picture
    int32_t opacity = 100;    // text opacity in percent
    int32_t alignment = 0;    // 0 from the position, 1 left, 2 centred, 3 right
    int32_t position = 1;     // 1 to 9 row by row from the top left; other: (0, 0)
    int32_t offset_x = 0;
    int32_t offset_y = 0;
    int32_t direction = 0;    // 0 as written, 1 a quarter turn clockwise, 2 a half turn, 3 counter-clockwise
    int32_t weight = 400;
    int32_t italic = 0;
    int32_t underline = 0;
    int32_t strikeout = 0;
    int32_t background_color = -1;  // negative: no box
    int32_t background_opacity = 0;
    int32_t border_color = -1;      // negative: no outline
    int32_t border_width = 0;       // number of rings
};

// The arguments for a stamp and the text to draw: without Background the
// box colour is -1 and its opacity 0, without Border the outline colour is
// -1 and its width 0.
TextStampArguments text_stamp_arguments(const CTextStamp& stamp, const std::string& text);

// Where the stamp goes: the text box of width x height pixels (after
// turning) with its top-left corner at (x, y), and the line alignment
// (1 left, 2 centred, 3 right).
struct TextStampLayout {
    int32_t width = 0;
    int32_t height = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t alignment = 1;
    std::string text;  // with the line-break markers replaced
};

// The box of the stamp on a picture of picture_width x picture_height. False
// (nothing to draw) for an empty text, a height of 0 or less, or a text that
// cannot be measured.
bool layout_text_stamp(int32_t picture_width, int32_t picture_height, const TextStampArguments& args,
                       TextStampLayout& layout);

// Draws the stamp onto the picture, which keeps its size. Never fails: a step
// that cannot be done is left out.
void DrawTextStamp(PictureBuffer& picture, const TextStampArguments& args);

}  // namespace galvora
