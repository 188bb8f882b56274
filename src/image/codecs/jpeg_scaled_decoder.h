#pragma once
// Decoding a baseline JPEG at a reduced DCT scale (n/8 of its size), for
// clones and other pictures that are about to be made smaller.
//
// The entropy-coded data is decoded in pieces on several threads, the way
// the one-eighth decoder does it (image/codecs/jpeg_slices.h), but every
// coefficient is kept: each block goes through the scaled inverse DCT of
// libjpeg-turbo as far as it can before its DC value is known; once the
// pieces are stitched, the DC values finish the samples. Chroma is then
// enlarged the way libjpeg-turbo enlarges it at that scale (through a larger
// IDCT where the sampling allows, else by its fancy or plain upsampling) and
// converted with its YCbCr tables. The pixels are the ones libjpeg-turbo
// gives at that scale with its default settings.
//
// The scales whose IDCTs libjpeg-turbo computes in plain C on every
// processor are the ones taken (3/8, 5/8, 6/8, 7/8); at the others its SIMD
// code makes the result depend on the machine for absurd coefficients.
// Files this decoder does not cover, or that turn out to be damaged, are left
// to libjpeg.
#include <cstddef>
#include <cstdint>

#include "image/codecs/jpeg_eighth_decoder.h"
#include "image/picture_buffer.h"

namespace galvora {

// True when the frame can be decoded at scale scale_num/8 by this decoder.
bool jpeg_scaled_supported(const JpegEighthFrame& frame, int scale_num);

// Decodes the entropy-coded data starting at data[0] (the byte after the
// scan header; size reaches to the end of the file) into an RGB picture of
// ceil(width * scale_num / 8) x ceil(height * scale_num / 8) pixels. Returns
// false, with out left alone, whenever the file needs the general decoder
// (as jpeg_decode_eighth does). threads = 0 chooses from the machine.
bool jpeg_decode_scaled(const JpegEighthFrame& frame, int scale_num, const uint8_t* data, size_t size,
                        PictureBuffer& out, unsigned threads = 0);

}  // namespace galvora
