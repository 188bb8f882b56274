// Speed of the imaging layer on a 24-megapixel camera JPEG: full decode,
// decode for a 120-pixel thumbnail and for an 800-pixel clone, resizing, and
// encoding; and the threaded JPEG decoders against libjpeg alone by file
// size class. Run after scripts/fetch-testdata.sh <build>/testdata.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

// A reduced read of the camera JPEG taken apart: libjpeg alone, and the
// threaded decoder held to a given number of threads (0 = chosen from the
// machine). The minimum size asked for is min x (min * 2 / 3), as for a
// picture of that shape: 120 selects scale 1/8 (the one-eighth decoder), 800
// scale 3/8 (the scaled decoder, an 800-pixel clone).
void BM_DecodeReduced(benchmark::State& state, int32_t min, JpegOwnDecoders use) {
    if (!have_data(state)) return;
    const auto threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        FILE* f = std::fopen(camera_jpeg().c_str(), "rb");
        if (!f) {
            state.SkipWithError("cannot open the test picture");
            return;
        }
        PictureBuffer b = jpeg_read(f, nullptr, min, min * 2 / 3, use, threads);
        std::fclose(f);
        benchmark::DoNotOptimize(b.data());
    }
}
void BM_DecodeEighth(benchmark::State& state, JpegOwnDecoders use) { BM_DecodeReduced(state, 120, use); }
void BM_DecodeClone(benchmark::State& state, JpegOwnDecoders use) { BM_DecodeReduced(state, 800, use); }
BENCHMARK_CAPTURE(BM_DecodeEighth, library, JpegOwnDecoders::never)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeEighth, threads, JpegOwnDecoders::only)
    ->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeClone, library, JpegOwnDecoders::never)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeClone, threads, JpegOwnDecoders::only)
    ->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- by size

// JPEG files of every size: the fetched test pictures, and the camera
// picture scaled to long sides from 96 to 4000 pixels and saved at three
// qualities, plus the camera file itself. Only baseline files the threaded
// decoders take are kept, so that the comparison is of decoders alone.
struct SizeClass {
    const char* name;
    size_t below;  // bytes
    std::vector<std::string> files;
};

std::string file_bytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool read_from_memory(const std::string& bytes, int32_t min, JpegOwnDecoders use, PictureBuffer* out = nullptr) {
    FILE* f = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    if (!f) return false;
    bool ok = true;
    try {
        PictureBuffer b = jpeg_read(f, nullptr, min, min * 2 / 3, use, 0);
        benchmark::DoNotOptimize(b.data());
        if (out) *out = std::move(b);
    } catch (...) {
        ok = false;
    }
    std::fclose(f);
    return ok;
}

std::vector<SizeClass>& size_classes() {
    static std::vector<SizeClass> classes = [] {
        std::vector<SizeClass> c = {{"below 30 KB", 30u << 10, {}},    {"30-100 KB", 100u << 10, {}},
                                    {"100-300 KB", 300u << 10, {}},    {"300 KB-1 MB", 1u << 20, {}},
                                    {"1-3 MB", 3u << 20, {}},          {"3 MB and more", SIZE_MAX, {}}};
        std::vector<std::string> all;
        const std::filesystem::path root = std::filesystem::path(GALVORA_TESTDATA_DIR) / "images";
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            std::string ext = it->path().extension().string();
            std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char ch) { return std::tolower(ch); });
            if (it->is_regular_file() && (ext == ".jpg" || ext == ".jpeg")) all.push_back(file_bytes(it->path()));
        }
        if (std::filesystem::exists(camera_jpeg())) {
            const PictureBuffer& full = decoded_camera_picture();
            const std::string temp = (std::filesystem::temp_directory_path() /
                                      ("galvora-bench-size-" + std::to_string(::getpid()) + ".jpg"))
                                         .string();
            for (int32_t side : {96, 160, 240, 320, 480, 640, 800, 1024, 1280, 1600, 2048, 2560, 3200, 4000}) {
                PictureBuffer small;
                ResizeImage(full, side, side * 2 / 3, small, -2);
                for (int32_t quality : {60, 85, 97}) {
                    int32_t used = 0;
                    WriteImage(temp, picture_type::jpeg, small, quality, 0, false, 1, used);
                    all.push_back(file_bytes(temp));
                }
            }
            std::filesystem::remove(temp);
        }
        for (const std::string& bytes : all) {
            // Baseline files the one-eighth decoder takes.
            if (!read_from_memory(bytes, 1, JpegOwnDecoders::only)) continue;
            for (SizeClass& k : c)
                if (bytes.size() < k.below) {
                    k.files.push_back(bytes);
                    break;
                }
        }
        return c;
    }();
    return classes;
}

// How a read is made: by libjpeg alone, by the program's choice (the
// threaded decoders where they are faster), or by the threaded decoders
// wherever they can take the file, small files included.
enum class Road { library, chosen, threaded };

bool read_by_road(const std::string& bytes, int32_t min, Road road) {
    switch (road) {
        case Road::library: return read_from_memory(bytes, min, JpegOwnDecoders::never);
        case Road::chosen: return read_from_memory(bytes, min, JpegOwnDecoders::where_faster);
        case Road::threaded:
            return read_from_memory(bytes, min, JpegOwnDecoders::only) ||
                   read_from_memory(bytes, min, JpegOwnDecoders::never);
    }
    return false;
}

// Every file of a size class read for a 120-pixel thumbnail (min 120) or an
// 800-pixel clone (min 800), once per iteration.
void BM_DecodeBySize(benchmark::State& state, int32_t min, Road road) {
    if (!have_data(state)) return;
    const SizeClass& k = size_classes()[static_cast<size_t>(state.range(0))];
    if (k.files.empty()) {
        state.SkipWithError("no files of this size");
        return;
    }
    for (auto _ : state)
        for (const std::string& bytes : k.files)
            if (!read_by_road(bytes, min, road)) state.SkipWithError("a read failed");
    size_t bytes = 0;
    for (const std::string& f : k.files) bytes += f.size();
    state.SetLabel(std::string(k.name) + ", " + std::to_string(k.files.size()) + " files");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}
#define GALVORA_SIZE_CLASSES DenseRange(0, 5)->Unit(benchmark::kMillisecond)
BENCHMARK_CAPTURE(BM_DecodeBySize, thumbnail_library, 120, Road::library)->GALVORA_SIZE_CLASSES;
BENCHMARK_CAPTURE(BM_DecodeBySize, thumbnail_chosen, 120, Road::chosen)->GALVORA_SIZE_CLASSES;
BENCHMARK_CAPTURE(BM_DecodeBySize, thumbnail_threaded, 120, Road::threaded)->GALVORA_SIZE_CLASSES;
BENCHMARK_CAPTURE(BM_DecodeBySize, clone_library, 800, Road::library)->GALVORA_SIZE_CLASSES;
BENCHMARK_CAPTURE(BM_DecodeBySize, clone_chosen, 800, Road::chosen)->GALVORA_SIZE_CLASSES;
BENCHMARK_CAPTURE(BM_DecodeBySize, clone_threaded, 800, Road::threaded)->GALVORA_SIZE_CLASSES;
#undef GALVORA_SIZE_CLASSES
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
