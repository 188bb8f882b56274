#pragma once
// Drawing a vector WMF into pixels through libwmf, at 96 dots per inch.
#include <cstdint>
#include <vector>

#include "image/picture_buffer.h"

namespace galvora {

// The size in pixels the metafile asks for.
void wmf_render_size(const std::vector<uint8_t>& file, int32_t& width, int32_t& height);
// The drawn picture; throws ImagingFailure when libwmf cannot read or draw it.
PictureBuffer wmf_render(const std::vector<uint8_t>& file);

}  // namespace galvora
