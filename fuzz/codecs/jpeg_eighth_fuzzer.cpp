// libFuzzer target: JPEG reads for a thumbnail, once through libjpeg alone
// and once with the threaded one-eighth decoder. Whatever the input, the
// two must end alike: both fail, or both give the same pixels.
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

Outcome read(const std::uint8_t* data, std::size_t size, galvora::JpegOwnDecoders use, unsigned threads) {
    Outcome o;
    FILE* f = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!f) return o;
    try {
        o.picture = galvora::jpeg_read(f, nullptr, 1, 1, use, threads);
        o.ok = true;
    } catch (const galvora::ImagingFailure&) {
    }
    std::fclose(f);
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace galvora;
    if (size < 4) return 0;
    set_pixel_limit(4'000'000);
    const Outcome library = read(data, size, JpegOwnDecoders::never, 0);
    // Several threads even on small inputs, so that the stitching runs.
    const Outcome eighth = read(data, size, JpegOwnDecoders::where_faster, 3);
    if (library.ok != eighth.ok) __builtin_trap();
    if (library.ok) {
        const PictureBuffer& a = library.picture;
        const PictureBuffer& b = eighth.picture;
        if (a.width() != b.width() || a.height() != b.height() ||
            std::memcmp(a.data(), b.data(), a.size_bytes()) != 0)
            __builtin_trap();
    }
    return 0;
}
