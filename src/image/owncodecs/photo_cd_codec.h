#pragma once
// Photo CD image packs: reading the three base resolutions that the file
// stores uncompressed (192 x 128, 384 x 256, 768 x 512), turned upright by
// the orientation the disc recorded.
//
// Resolution codes: 1 gives 192 x 128, 2 gives 384 x 256, 3 gives 768 x 512.
// The higher codes (4 to 6, 1536 x 1024 and up, which the format keeps as
// Huffman-coded differences in extension files) and any other code give
// 768 x 512, the largest picture held in the pack itself.
#include <cstdint>
#include <cstdio>

#include "image/picture_buffer.h"

namespace galvora {

// Size of the picture that pcd_read would return for this code.
void pcd_read_dims(FILE* in, int32_t resolution, int32_t& width, int32_t& height);
PictureBuffer pcd_read(FILE* in, int32_t resolution);

}  // namespace galvora
