#pragma once
// Reduces a 24-bit picture to at most 256 colours for the GIF writer: exact
// when the picture has no more colours than that, otherwise by median cut
// over a 5-bit-per-channel histogram.
#include <array>
#include <cstdint>
#include <vector>

#include "image/picture_buffer.h"

namespace galvora {

struct QuantisedPicture {
    std::array<uint8_t, 256 * 3> palette{};  // red, green, blue per entry
    int colours = 0;                         // entries in use
    std::vector<uint8_t> indexes;            // width * height palette indexes
};

QuantisedPicture quantise_to_palette(const PictureBuffer& buffer);

}  // namespace galvora
