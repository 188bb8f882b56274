#pragma once
// TIFF reading (first page, any photometric interpretation libtiff can turn
// into RGB) and writing (8-bit RGB with a given compression tag value).
#include <cstdint>
#include <cstdio>

#include "image/picture_buffer.h"

namespace galvora {

void tiff_read_dims(FILE* in, int32_t& width, int32_t& height);
// True when a TIFF-structured file is a camera RAW file rather than a
// picture: it carries the DNG version tag, its first page is only a reduced
// preview, or it has the CR2 signature.
bool tiff_is_camera_raw(FILE* in);
PictureBuffer tiff_read(FILE* in);
// compression: the TIFF compression tag value (1 none, 5 LZW, 8 deflate, ...).
void tiff_write(const PictureBuffer& buffer, FILE* out, int32_t compression);

}  // namespace galvora
