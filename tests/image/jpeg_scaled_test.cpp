// The threaded scaled JPEG decoder against libjpeg-turbo's own decode at the
// same DCT scale: the same pixels on every file it takes, over samplings,
// scales, odd sizes and qualities. (Damaged files are in jpeg_eighth_test.cpp,
// which covers both threaded decoders.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/codecs/jpeg_codec.h"
#include "image_test_support.h"
#include "jpeg_test_support.h"

namespace galvora {
namespace {

using test::busy_picture;
using test::encode;
using test::EncodeSettings;
using test::ReadResult;

// The scaled decoder must take the file at scale n/8, with any number of
// threads, and give libjpeg's pixels.
void expect_same_as_library(const std::string& bytes, int32_t width, int n, const std::vector<unsigned>& threads) {
    SCOPED_TRACE("scale " + std::to_string(n) + "/8");
    const int32_t min_w = test::min_width_for_scale(width, n);
    ASSERT_GT(min_w, 0) << "no minimum selects this scale";
    const ReadResult reference = test::read_reduced(bytes, min_w, 1, JpegOwnDecoders::never);
    ASSERT_TRUE(reference.ok);
    ASSERT_EQ(reference.picture.width(), (static_cast<int64_t>(width) * n + 7) / 8);
    for (unsigned t : threads) {
        SCOPED_TRACE("threads " + std::to_string(t));
        const ReadResult r = test::read_reduced(bytes, min_w, 1, JpegOwnDecoders::only, t);
        ASSERT_TRUE(r.ok) << "the scaled decoder refused the file";
        EXPECT_TRUE(test::same_pixels(r.picture, reference.picture))
            << "largest difference " << test::max_difference(r.picture, reference.picture);
    }
}

constexpr int kScales[] = {3, 5, 6, 7};

TEST(JpegScaledDecoder, SamplingsScalesAndSizesMatchLibrary) {
    struct Case {
        const char* name;
        int32_t w, h;
        EncodeSettings s;
    };
    const Case cases[] = {
        {"4:2:2", 800, 600, {90, 2, 1}},
        {"4:4:4", 640, 480, {75, 1, 1}},
        {"4:2:0", 800, 600, {90, 2, 2}},
        {"4:4:0", 500, 700, {85, 1, 2}},
        {"4:1:1", 900, 300, {80, 4, 1}},
        {"4:1:0", 640, 480, {85, 4, 2}},
        {"grey", 700, 500, {90, 1, 1, true}},
        {"4:2:0 odd size", 333, 201, {75, 2, 2}},
        {"4:2:2 odd size", 333, 201, {95, 2, 1}},
        {"4:4:0 odd size", 211, 333, {95, 1, 2}},
        {"4:1:1 odd size", 203, 97, {70, 4, 1}},
        {"4:2:0 quality 100", 320, 240, {100, 2, 2}},
        {"4:2:2 quality 100", 320, 240, {100, 2, 1}},
        {"4:2:0 quality 3", 320, 240, {3, 2, 2}},
        {"4:4:4 quality 5", 300, 300, {5, 1, 1}},
        // Chroma only a few samples wide at the smaller scales: plain in
        // place of fancy upsampling there.
        {"narrow 4:2:2", 24, 40, {90, 2, 1}},
        {"narrow 4:2:0", 20, 36, {90, 2, 2}},
        {"partial MCUs", 37, 23, {90, 2, 1}},
        {"optimised 4:2:2", 640, 480, {90, 2, 1, false, false, 0, true}},
        {"optimised 4:2:0", 333, 201, {90, 2, 2, false, false, 0, true}},
        {"optimised grey", 300, 200, {90, 1, 1, true, false, 0, true}},
    };
    unsigned seed = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = encode(busy_picture(c.w, c.h, seed++), c.s);
        for (int n : kScales) expect_same_as_library(bytes, c.w, n, {0, 1, 3});
    }
}

TEST(JpegScaledDecoder, ThirdPartyPicturesMatchLibrary) {
    // 6000x4000, 4:2:2: an 800-pixel clone reads it at 3/8.
    const std::string camera = test::read_bytes(test::npm_exif("sony-alpha-6000.jpg"));
    for (int n : {3, 5}) expect_same_as_library(camera, 6000, n, {0, 8});
    // 4:4:4 and 4:2:0 with an odd size.
    const std::string go = test::read_bytes(test::go_image("go-turns-two-280x360.jpeg"));
    const std::string exif = test::read_bytes(test::goexif_sample("samples/geodegrees_as_string.jpg"));
    for (int n : kScales) {
        expect_same_as_library(go, 280, n, {0, 2});
        const ReadResult full = test::read_reduced(exif, 0, 0, JpegOwnDecoders::never);
        ASSERT_TRUE(full.ok);
        expect_same_as_library(exif, full.picture.width(), n, {0, 2});
    }
}

TEST(JpegScaledDecoder, LeavesOtherScalesAndCodingsToLibrary) {
    const std::string baseline = encode(busy_picture(400, 300, 9), EncodeSettings{});
    // 2/8 and 4/8 go through libjpeg's SIMD IDCTs, and 8/8 is a full read.
    for (int n : {2, 4, 8}) {
        SCOPED_TRACE(n);
        const int32_t min_w = n == 8 ? 0 : test::min_width_for_scale(400, n);
        EXPECT_FALSE(test::read_reduced(baseline, min_w, n == 8 ? 0 : 1, JpegOwnDecoders::only, 2).ok);
    }
    EncodeSettings progressive;
    progressive.progressive = true;
    EncodeSettings restarts;
    restarts.restart_rows = 2;
    for (const EncodeSettings& s : {progressive, restarts}) {
        const std::string bytes = encode(busy_picture(400, 300, 7), s);
        const int32_t min_w = test::min_width_for_scale(400, 3);
        EXPECT_FALSE(test::read_reduced(bytes, min_w, 1, JpegOwnDecoders::only, 2).ok);
        const ReadResult automatic = test::read_reduced(bytes, min_w, 1, JpegOwnDecoders::where_faster, 2);
        const ReadResult reference = test::read_reduced(bytes, min_w, 1, JpegOwnDecoders::never);
        ASSERT_TRUE(automatic.ok && reference.ok);
        EXPECT_TRUE(test::same_pixels(automatic.picture, reference.picture));
    }
}

}  // namespace
}  // namespace galvora
