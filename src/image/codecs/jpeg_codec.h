#pragma once
// JPEG reading and writing through libjpeg-turbo. Failures are reported as
// ImagingFailure; the facade turns them into the program's error records.
#include <cstdint>
#include <cstdio>

#include "image/captured_metadata.h"
#include "image/picture_buffer.h"

namespace galvora {

// Width and height from the frame header; markers go to *meta when given.
void jpeg_read_dims(FILE* in, int32_t& width, int32_t& height, CapturedMetadata* meta);

// Decodes the file into a new buffer. With min_width/min_height above 0 the
// decoder works at the smallest DCT scale (1/8 .. 8/8) whose result is still
// at least twice that size in both directions, never above the full size, so
// a picture that is about to be reduced costs a fraction of a full decode.
//
// Reduced reads of baseline files held in memory go through the threaded
// decoders, which give the same pixels: the one-eighth decoder
// (image/codecs/jpeg_eighth_decoder.h) at scale 1/8, the scaled decoder
// (image/codecs/jpeg_scaled_decoder.h) at the scales it covers. By default
// they are used where they are faster than libjpeg alone: on files large
// enough to share out, while the machine has idle cores to share them
// between. `own` and `own_threads` (0 = from the machine) let tests hold the
// decoders apart: with a thread count given they are used on any file, and
// `only` fails where no threaded decoder takes the file.
enum class JpegOwnDecoders { where_faster, never, only };
PictureBuffer jpeg_read(FILE* in, CapturedMetadata* meta, int32_t min_width = 0, int32_t min_height = 0,
                        JpegOwnDecoders own = JpegOwnDecoders::where_faster, unsigned own_threads = 0);

struct JpegWriteOptions {
    int quality = 75;          // clamped to 1..100 for the encoder
    bool progressive = false;
    // APPn / COM markers written after the frame start (copied metadata).
    const CapturedMetadata* markers = nullptr;
};

// Encodes buffer into out; with out == nullptr the bytes are only counted.
// Returns the number of bytes produced.
uint64_t jpeg_write(const PictureBuffer& buffer, FILE* out, const JpegWriteOptions& options);

}  // namespace galvora
