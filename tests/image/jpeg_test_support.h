#pragma once
// Helpers for the tests of the threaded JPEG decoders: encoding with libjpeg
// directly (to choose sampling and coding), busy pictures, and reads with the
// decoders in use or not.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "image/codecs/jpeg_codec.h"
#include "image/imaging_error.h"
#include "image/picture_buffer.h"

namespace galvora::test {

struct EncodeSettings {
    int quality = 90;
    int y_h = 2, y_v = 1;  // luma sampling; chroma is 1x1
    bool grey = false;
    bool progressive = false;
    int restart_rows = 0;
    bool optimize = false;  // Huffman tables made for the picture
};

// Encodes with libjpeg directly, so that the sampling and coding can be chosen.
inline std::string encode(const PictureBuffer& picture, const EncodeSettings& s) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long out_size = 0;
    jpeg_mem_dest(&cinfo, &out, &out_size);
    cinfo.image_width = static_cast<JDIMENSION>(picture.width());
    cinfo.image_height = static_cast<JDIMENSION>(picture.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (s.grey) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    jpeg_set_quality(&cinfo, s.quality, TRUE);
    if (!s.grey) {
        cinfo.comp_info[0].h_samp_factor = s.y_h;
        cinfo.comp_info[0].v_samp_factor = s.y_v;
    }
    if (s.progressive) jpeg_simple_progression(&cinfo);
    cinfo.restart_in_rows = s.restart_rows;
    cinfo.optimize_coding = s.optimize ? TRUE : FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.row(static_cast<int32_t>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(out), out_size);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return bytes;
}

// Gradients with noise: plenty of AC data, and every block differs.
inline PictureBuffer busy_picture(int32_t w, int32_t h, unsigned seed) {
    std::mt19937 rng(seed);
    PictureBuffer b = PictureBuffer::allocate(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = b.pixel(x, y);
            const int n = static_cast<int>(rng() % 64);
            p[0] = static_cast<uint8_t>((x * 255 / std::max(1, w - 1) + n) & 0xFF);
            p[1] = static_cast<uint8_t>((y * 255 / std::max(1, h - 1) + n / 2) & 0xFF);
            p[2] = static_cast<uint8_t>(((x ^ y) * 3 + n) & 0xFF);
        }
    return b;
}

struct ReadResult {
    bool ok = false;
    PictureBuffer picture;
};

// A read for a picture of at least min_w x min_h (1 x 1 always selects the
// 1/8 scale).
inline ReadResult read_reduced(const std::string& bytes, int32_t min_w, int32_t min_h, JpegOwnDecoders use,
                               unsigned threads = 0) {
    ReadResult r;
    FILE* f = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    if (!f) return r;
    try {
        r.picture = jpeg_read(f, nullptr, min_w, min_h, use, threads);
        r.ok = true;
    } catch (const ImagingFailure&) {
    }
    std::fclose(f);
    return r;
}

// The file with every entry of quantisation table 1 (chroma) set to value.
inline std::string with_chroma_quantisation(std::string file, uint8_t value) {
    size_t i = 2;
    while (i + 4 <= file.size() && static_cast<uint8_t>(file[i]) == 0xFF) {
        const auto marker = static_cast<uint8_t>(file[i + 1]);
        const size_t length = static_cast<uint8_t>(file[i + 2]) * 256u + static_cast<uint8_t>(file[i + 3]);
        if (marker == 0xDA) break;
        if (marker == 0xDB) {
            for (size_t t = i + 4; t + 65 <= i + 2 + length; t += 65) {
                if (static_cast<uint8_t>(file[t]) == 0x01) std::fill_n(file.begin() + static_cast<long>(t + 1), 64, value);
            }
        }
        i += 2 + length;
    }
    return file;
}

// A minimum width that makes a reduced read of a picture `width` pixels wide
// choose the DCT scale n/8 (the smallest scale giving at least twice the
// minimum), or 0 where no minimum does.
inline int32_t min_width_for_scale(int32_t width, int n) {
    auto scaled = [&](int k) { return (static_cast<int64_t>(width) * k + 7) / 8; };
    for (int32_t m = 1; m <= width; ++m) {
        int chosen = 8;
        for (int k = 1; k <= 8; ++k)
            if (scaled(k) >= 2 * static_cast<int64_t>(m)) {
                chosen = k;
                break;
            }
        if (chosen == n) return m;
    }
    return 0;
}

}  // namespace galvora::test
