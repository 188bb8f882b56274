#pragma once
// Runs a reader over fuzzer input held in memory: the input becomes a
// read-only stream, the reader's imaging failures are the expected outcome
// of bad input, anything else (a crash, a sanitizer report, a foreign
// exception) is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "image/imaging_error.h"
#include "image/picture_buffer.h"

namespace galvora::fuzz {

// Pictures above this are refused as too large; keeps each run quick and
// within the fuzzer's memory limit without changing any decoding path.
inline constexpr int64_t kFuzzPixelLimit = 4'000'000;

template <typename Fn>
void with_input(const std::uint8_t* data, std::size_t size, Fn&& fn) {
    if (size == 0) return;
    set_pixel_limit(kFuzzPixelLimit);
    FILE* f = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!f) return;
    try {
        fn(f);
    } catch (const ImagingFailure&) {
    }
    std::fclose(f);
}

// The usual target: the header query, then the full decode.
template <typename Dims, typename Read>
int run_reader(const std::uint8_t* data, std::size_t size, Dims&& dims, Read&& read) {
    with_input(data, size, [&](FILE* f) {
        int32_t w = 0, h = 0;
        dims(f, w, h);
    });
    with_input(data, size, [&](FILE* f) { read(f); });
    return 0;
}

}  // namespace galvora::fuzz
