#pragma once
// Camera RAW reading through LibRaw: demosaiced with the camera's white
// balance into 8-bit sRGB, turned as the camera recorded.
#include <cstdint>
#include <string>

#include "image/picture_buffer.h"

namespace galvora {

void raw_read_dims(const std::string& path, int32_t& width, int32_t& height);
PictureBuffer raw_read(const std::string& path);

}  // namespace galvora
