// The threaded one-eighth JPEG decoder against libjpeg's own 1/8 decode:
// same pixels on every file it takes, and on damaged files the reader must
// behave exactly as libjpeg alone does.
#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>
#include <vector>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "image/codecs/jpeg_codec.h"
#include "image/imaging_error.h"
#include "image_test_support.h"
#include "jpeg_test_support.h"

namespace galvora {
namespace {

using test::npm_exif;

using test::busy_picture;
using test::encode;
using test::EncodeSettings;
using test::ReadResult;

ReadResult read_eighth(const std::string& bytes, JpegOwnDecoders use, unsigned threads = 0) {
    return test::read_reduced(bytes, 1, 1, use, threads);
}

// The decoder must take the file, with any number of threads, and give
// libjpeg's pixels.
void expect_same_as_library(const std::string& bytes, const std::vector<unsigned>& thread_counts) {
    const ReadResult reference = read_eighth(bytes, JpegOwnDecoders::never);
    ASSERT_TRUE(reference.ok);
    for (unsigned threads : thread_counts) {
        SCOPED_TRACE("threads " + std::to_string(threads));
        const ReadResult r = read_eighth(bytes, JpegOwnDecoders::only, threads);
        ASSERT_TRUE(r.ok) << "the one-eighth decoder refused the file";
        EXPECT_TRUE(test::same_pixels(r.picture, reference.picture))
            << "largest difference " << test::max_difference(r.picture, reference.picture);
    }
}

TEST(JpegEighthDecoder, ThirdPartyPicturesMatchLibrary) {
    // 6000x4000, 4:2:2, 6.5 MB of entropy-coded data.
    expect_same_as_library(test::read_bytes(npm_exif("sony-alpha-6000.jpg")), {0, 1, 3, 8});
    // 4:4:4, and 4:2:0 with an odd size.
    expect_same_as_library(test::read_bytes(test::go_image("go-turns-two-280x360.jpeg")), {0, 2});
    expect_same_as_library(test::read_bytes(test::goexif_sample("samples/geodegrees_as_string.jpg")), {0, 2});
}

TEST(JpegEighthDecoder, SamplingsAndSizesMatchLibrary) {
    struct Case {
        const char* name;
        int32_t w, h;
        EncodeSettings s;
    };
    const Case cases[] = {
        {"4:2:2", 800, 600, {90, 2, 1}},
        {"4:4:4", 640, 480, {75, 1, 1}},
        {"4:4:0", 500, 700, {85, 1, 2}},
        {"4:1:1", 900, 300, {80, 4, 1}},
        {"4:2:0", 800, 600, {90, 2, 2}},
        {"4:2:0 odd size", 333, 201, {75, 2, 2}},
        {"4:2:0 quality 100", 320, 240, {100, 2, 2}},
        {"4:2:0 quality 3", 320, 240, {3, 2, 2}},
        {"4:1:0", 640, 480, {85, 4, 2}},
        {"grey", 700, 500, {90, 1, 1, true}},
        {"odd size 4:2:2", 333, 201, {95, 2, 1}},
        // The smallest pictures read at 1/8 (the result must be at least 2x2).
        {"two by two blocks", 16, 16, {90, 1, 1}},
        {"partial MCUs", 17, 23, {90, 2, 1}},
        {"narrow 4:1:1", 9, 300, {90, 4, 1}},
        {"quality 100", 300, 300, {100, 2, 1}},
        {"quality 5", 300, 300, {5, 1, 1}},
        // Optimised tables: the padding bits after the last MCU are no valid
        // code, so the decoder has to stop at the last MCU.
        {"optimised 4:2:2", 800, 600, {90, 2, 1, false, false, 0, true}},
        {"optimised 4:4:4", 640, 480, {75, 1, 1, false, false, 0, true}},
        {"optimised 4:4:0", 500, 700, {85, 1, 2, false, false, 0, true}},
        {"optimised 4:1:1", 900, 300, {80, 4, 1, false, false, 0, true}},
        {"optimised 4:2:0", 333, 201, {90, 2, 2, false, false, 0, true}},
        {"optimised 4:1:0", 640, 480, {85, 4, 2, false, false, 0, true}},
        {"optimised grey", 700, 500, {90, 1, 1, true, false, 0, true}},
        {"optimised, small", 40, 24, {50, 2, 2, false, false, 0, true}},
    };
    unsigned seed = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expect_same_as_library(encode(busy_picture(c.w, c.h, seed++), c.s), {0, 1, 2, 5});
    }
}

// Flat pictures with optimised tables: few, short codes, and ones in the
// padding that decode as nothing valid. The first is the smallest file that
// showed the decoder refusing valid data (a 24x16 grey picture, 160 bytes).
TEST(JpegEighthDecoder, FlatOptimisedPicturesMatchLibrary) {
    struct Case {
        const char* name;
        int32_t w, h;
        EncodeSettings s;
    };
    const Case cases[] = {
        {"grey 24x16", 24, 16, {75, 1, 1, true, false, 0, true}},
        {"grey 64x64", 64, 64, {75, 1, 1, true, false, 0, true}},
        {"4:2:0 48x32", 48, 32, {75, 2, 2, false, false, 0, true}},
        {"4:2:2 40x16", 40, 16, {75, 2, 1, false, false, 0, true}},
        {"4:4:4 24x24", 24, 24, {75, 1, 1, false, false, 0, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PictureBuffer flat = PictureBuffer::allocate(c.w, c.h);
        std::fill_n(flat.data(), flat.size_bytes(), uint8_t{0x80});
        const std::string bytes = encode(flat, c.s);
        expect_same_as_library(bytes, {0, 1, 3});
    }
}

TEST(JpegEighthDecoder, LeavesOtherCodingsToLibrary) {
    EncodeSettings progressive;
    progressive.progressive = true;
    EncodeSettings restarts;
    restarts.restart_rows = 2;
    for (const EncodeSettings& s : {progressive, restarts}) {
        const std::string bytes = encode(busy_picture(400, 300, 7), s);
        EXPECT_FALSE(read_eighth(bytes, JpegOwnDecoders::only, 2).ok);
        const ReadResult automatic = read_eighth(bytes, JpegOwnDecoders::where_faster, 2);
        const ReadResult reference = read_eighth(bytes, JpegOwnDecoders::never);
        ASSERT_TRUE(automatic.ok && reference.ok);
        EXPECT_TRUE(test::same_pixels(automatic.picture, reference.picture));
    }
}

// Damaged files: whatever the damage, reading with the threaded decoders in
// use ends as reading with libjpeg alone does (same failure or same pixels),
// at 1/8 (the one-eighth decoder) and at the scales of the scaled decoder.
class DamagedJpeg : public ::testing::TestWithParam<std::tuple<EncodeSettings, int>> {};

TEST_P(DamagedJpeg, EndsAsWithLibraryAlone) {
    const auto& [settings, scale] = GetParam();
    const std::string good = encode(busy_picture(960, 720, 3), settings);
    const int32_t min_w = test::min_width_for_scale(960, scale);
    ASSERT_GT(min_w, 0);
    const size_t header = good.find("\xFF\xDA");
    ASSERT_NE(header, std::string::npos);
    const size_t data = header + 14;  // three-component scan header
    std::mt19937 rng(42);
    std::vector<std::string> damaged;
    for (int i = 0; i < 24; ++i) {  // a few bytes changed inside the data
        std::string b = good;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f) b[data + rng() % (b.size() - data - 2)] = static_cast<char>(rng() & 0xFF);
        damaged.push_back(b);
    }
    for (size_t cut : {data + 1, data + 1000, good.size() / 2, good.size() - 3, good.size() - 2}) {
        damaged.push_back(good.substr(0, cut));                          // truncated
        damaged.push_back(good.substr(0, cut) + std::string("\xFF\xD9"));  // cut short, but properly ended
    }
    {
        std::string b = good;  // a restart marker where none belongs
        b.insert(good.size() / 2, std::string("\xFF\xD3", 2));
        damaged.push_back(b);
        std::string c = good;  // a comment marker inside the data
        c.insert(good.size() / 3, std::string("\xFF\xFE\x00\x04xy", 6));
        damaged.push_back(c);
        // Fill bytes before a stuffed zero, at many places: libjpeg's result
        // then depends on its buffering, which only some places show.
        for (size_t k = 1; k <= 24; ++k) {
            std::string f = good;
            f.insert(data + k * (good.size() - data) / 26, std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x00", 7));
            damaged.push_back(f);
        }
        // The chroma quantisation scaled up to absurd coefficients: libjpeg's
        // SIMD and plain IDCTs part ways there.
        damaged.push_back(test::with_chroma_quantisation(good, 0xFF));
        std::string d = good;  // trailing garbage after the data, then the end marker
        d.insert(good.size() - 2, std::string(300, '\x55'));
        damaged.push_back(d);
    }
    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE("damaged file " + std::to_string(i));
        const ReadResult reference = test::read_reduced(damaged[i], min_w, 1, JpegOwnDecoders::never);
        for (unsigned threads : {1u, 4u}) {
            const ReadResult r = test::read_reduced(damaged[i], min_w, 1, JpegOwnDecoders::where_faster, threads);
            ASSERT_EQ(r.ok, reference.ok);
            if (r.ok) {
                EXPECT_TRUE(test::same_pixels(r.picture, reference.picture));
            }
        }
    }
}

std::string damaged_case_name(const ::testing::TestParamInfo<DamagedJpeg::ParamType>& info) {
    const EncodeSettings& s = std::get<0>(info.param);
    return "luma" + std::to_string(s.y_h) + "x" + std::to_string(s.y_v) + (s.optimize ? "_optimised" : "") +
           "_scale" + std::to_string(std::get<1>(info.param)) + "of8";
}

INSTANTIATE_TEST_SUITE_P(JpegThreadedDecoders, DamagedJpeg,
                         ::testing::Combine(::testing::Values(EncodeSettings{90, 2, 1}, EncodeSettings{90, 2, 2},
                                                              EncodeSettings{90, 2, 2, false, false, 0, true}),
                                            ::testing::Values(1, 3, 6)),
                         damaged_case_name);

}  // namespace
}  // namespace galvora
