// Speed of the imaging layer on a 24-megapixel camera JPEG: full decode,
// decode for a 120-pixel thumbnail, resizing, and encoding.
// Run after scripts/fetch-testdata.sh <build>/testdata.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "image/codecs/jpeg_codec.h"
#include "image/picture_io.h"
#include "image/resize_image.h"

namespace galvora {
namespace {

std::string camera_jpeg() {
    return (std::filesystem::path(GALVORA_TESTDATA_DIR) / "images/pkg/exif/package/test/sony-alpha-6000.jpg").string();
}

const PictureBuffer& decoded_camera_picture() {
    static PictureBuffer picture = [] {
        PictureBuffer b;
        int32_t w = 0, h = 0;
        ReadImage(camera_jpeg(), picture_type::jpeg, b, w, h);
        return b;
    }();
    return picture;
}

bool have_data(benchmark::State& state) {
    if (std::filesystem::exists(camera_jpeg())) return true;
    state.SkipWithError("test picture missing: run scripts/fetch-testdata.sh <build>/testdata");
    return false;
}

void BM_DecodeFull(benchmark::State& state) {
    if (!have_data(state)) return;
    for (auto _ : state) {
        PictureBuffer b;
        int32_t w = 0, h = 0;
        ReadImage(camera_jpeg(), picture_type::jpeg, b, w, h);
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_DecodeFull)->Unit(benchmark::kMillisecond);

void BM_DecodeForThumbnail(benchmark::State& state) {
    if (!have_data(state)) return;
    for (auto _ : state) {
        PictureBuffer b;
        int32_t w = 0, h = 0;
        ReadImageReduced(camera_jpeg(), picture_type::jpeg, b, w, h, 120, 120);
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_DecodeForThumbnail)->Unit(benchmark::kMillisecond);

// The same 1/8 decode taken apart: libjpeg alone, and the one-eighth decoder
// held to a given number of threads (0 = chosen from the machine).
void BM_DecodeEighth(benchmark::State& state, JpegOwnDecoders use) {
    if (!have_data(state)) return;
    const auto threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        FILE* f = std::fopen(camera_jpeg().c_str(), "rb");
        if (!f) {
            state.SkipWithError("cannot open the test picture");
            return;
        }
        PictureBuffer b = jpeg_read(f, nullptr, 120, 120, use, threads);
        std::fclose(f);
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK_CAPTURE(BM_DecodeEighth, library, JpegOwnDecoders::never)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeEighth, threads, JpegOwnDecoders::only)
    ->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// Resizing the full picture: to a 120-pixel thumbnail and to a 1600-pixel clone.
void BM_Resize(benchmark::State& state) {
    if (!have_data(state)) return;
    const PictureBuffer& full = decoded_camera_picture();
    const auto long_side = static_cast<int32_t>(state.range(0));
    const int32_t w = long_side, h = static_cast<int32_t>(long_side * 2 / 3);
    for (auto _ : state) {
        PictureBuffer out;
        ResizeImage(full, w, h, out, -2);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_Resize)->Arg(120)->Arg(1600)->Unit(benchmark::kMillisecond);

void BM_EncodeJpeg(benchmark::State& state) {
    if (!have_data(state)) return;
    const PictureBuffer& full = decoded_camera_picture();
    const std::string out =
        (std::filesystem::temp_directory_path() / ("galvora-bench-" + std::to_string(::getpid()) + ".jpg")).string();
    for (auto _ : state) {
        int32_t used = 0;
        WriteImage(out, picture_type::jpeg, full, 85, 0, false, 1, used);
    }
    std::filesystem::remove(out);
}
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace galvora

BENCHMARK_MAIN();
