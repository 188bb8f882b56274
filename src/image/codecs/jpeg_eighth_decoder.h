#pragma once
// Decoding a baseline JPEG at one eighth of its size, for thumbnails.
//
// At that scale every 8x8 block becomes one pixel, the block's mean, which
// is its DC coefficient alone. The entropy-coded data must still be read
// whole (a block's AC codes have to be passed over to find the next block),
// and that reading is nearly all the work. It is split between threads:
// each thread starts at a guessed position in the middle of the data and
// decodes from there; Huffman codes fall back into step after a few blocks,
// so the thread before it, running on past the end of its own share, soon
// reaches a block start that the guessing thread also decoded, and from
// there on the two agree. The true sequence is stitched from the pieces.
//
// The pixels are the ones libjpeg-turbo gives at scale 1/8 with its default
// settings (block mean, replicated chroma, its YCbCr conversion tables), so
// a thumbnail does not depend on which decoder made it. Files this decoder
// does not cover, or that turn out to be damaged, are left to libjpeg.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/picture_buffer.h"

namespace galvora {

struct JpegHuffmanSpec {
    std::array<uint8_t, 17> counts{};   // counts[n]: number of codes n bits long (n = 1..16)
    std::array<uint8_t, 256> symbols{};
    bool present = false;
};

struct JpegScanComponent {
    int frame_index = 0;  // 0 = Y (or grey), 1 = Cb, 2 = Cr
    int h = 1;            // sampling factors
    int v = 1;
    int dc_table = 0;  // 0..3
    int ac_table = 0;  // 0..3
    uint16_t dc_quant = 0;
    // The whole quantisation table in natural order, for components that
    // come out as 2x2 samples per block.
    std::array<uint16_t, 64> quant{};
};

struct JpegEighthFrame {
    int32_t width = 0;
    int32_t height = 0;
    // The scan's components in scan order: one (grey) or three (YCbCr), the
    // scan holding all components of the frame.
    std::vector<JpegScanComponent> components;
    std::array<JpegHuffmanSpec, 4> dc_tables;
    std::array<JpegHuffmanSpec, 4> ac_tables;
};

// True when the frame's layout is one the decoder takes: every component
// comes out of a 1/8 decode as one sample per block, or (chroma subsampled
// both ways, as in 4:2:0) as 2x2 samples from a reduced IDCT.
bool jpeg_eighth_supported(const JpegEighthFrame& frame);

// Decodes the entropy-coded data starting at data[0] (the byte after the
// scan header; size reaches to the end of the file) into an RGB picture of
// ceil(width / 8) x ceil(height / 8) pixels. Returns false, with out left
// alone, whenever the file needs the general decoder: tables libjpeg would
// refuse, an invalid code, data ending early, a marker other than the end
// of the picture after the data, or any resource failure. threads = 0
// chooses from the machine.
bool jpeg_decode_eighth(const JpegEighthFrame& frame, const uint8_t* data, size_t size, PictureBuffer& out,
                        unsigned threads = 0);

}  // namespace galvora
