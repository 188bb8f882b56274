// libFuzzer target: reduced JPEG reads, once through libjpeg alone and once
// with the threaded decoders in use (the one-eighth decoder at scale 1/8,
// the scaled decoder at 3/8, 5/8, 6/8 and 7/8). Whatever the input, the two
// must end alike: both fail, or both give the same pixels.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "image/codecs/jpeg_codec.h"
#include "image/imaging_error.h"
#include "image/picture_buffer.h"

namespace {

struct Outcome {
    bool ok = false;
    galvora::PictureBuffer picture;
};

Outcome read(const std::uint8_t* data, std::size_t size, std::int32_t min_w, galvora::JpegOwnDecoders use,
             unsigned threads) {
    Outcome o;
    FILE* f = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!f) return o;
    try {
        o.picture = galvora::jpeg_read(f, nullptr, min_w, 1, use, threads);
        o.ok = true;
    } catch (const galvora::ImagingFailure&) {
    }
    std::fclose(f);
    return o;
}

std::int32_t picture_width(const std::uint8_t* data, std::size_t size) {
    std::int32_t w = 0, h = 0;
    FILE* f = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!f) return 0;
    try {
        galvora::jpeg_read_dims(f, w, h, nullptr);
    } catch (const galvora::ImagingFailure&) {
        w = 0;
    }
    std::fclose(f);
    return w;
}

// A minimum width that makes the reader choose scale n/8 for a picture this
// wide (1 when none does: the read is then at 1/8 or whatever the height asks).
std::int32_t min_width_for_scale(std::int32_t width, int n) {
    auto scaled = [&](int k) { return (static_cast<std::int64_t>(width) * k + 7) / 8; };
    for (std::int64_t m = scaled(n) / 2; m >= 1 && m >= scaled(n) / 2 - 2; --m)
        if (scaled(n - 1) < 2 * m) return static_cast<std::int32_t>(m);
    return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace galvora;
    if (size < 4) return 0;
    set_pixel_limit(4'000'000);
    // The scale is taken from the input's size, so every input is read at
    // one scale and the corpus covers them all.
    constexpr int kScales[] = {1, 3, 5, 6, 7};
    const int n = kScales[size % 5];
    std::int32_t min_w = 1;
    if (n > 1) {
        const std::int32_t width = picture_width(data, size);
        if (width <= 0) return 0;
        min_w = min_width_for_scale(width, n);
    }
    const Outcome library = read(data, size, min_w, JpegOwnDecoders::never, 0);
    // Several threads even on small inputs, so that the stitching runs.
    const Outcome threaded = read(data, size, min_w, JpegOwnDecoders::where_faster, 3);
    if (library.ok != threaded.ok) __builtin_trap();
    if (library.ok) {
        const PictureBuffer& a = library.picture;
        const PictureBuffer& b = threaded.picture;
        if (a.width() != b.width() || a.height() != b.height() ||
            std::memcmp(a.data(), b.data(), a.size_bytes()) != 0)
            __builtin_trap();
    }
    return 0;
}
