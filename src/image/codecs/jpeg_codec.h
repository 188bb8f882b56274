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
// Reads at scale 1/8 of baseline files go through the threaded one-eighth
// decoder (image/codecs/jpeg_eighth_decoder.h), which gives the same pixels;
// `eighth` and `eighth_threads` (0 = from the machine) let tests hold the
// two apart: `only` fails where that decoder does not take the file.
enum class JpegEighthUse { when_possible, never, only };
PictureBuffer jpeg_read(FILE* in, CapturedMetadata* meta, int32_t min_width = 0, int32_t min_height = 0,
                        JpegEighthUse eighth = JpegEighthUse::when_possible, unsigned eighth_threads = 0);

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
