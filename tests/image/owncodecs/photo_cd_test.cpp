// Photo CD reading: which stored picture each resolution code gives, the
// colour conversion, the recorded orientation, a pack ImageMagick writes,
// and short or foreign files.
#include <gtest/gtest.h>

#include "image/owncodecs/owncodec_test_support.h"
#include "image/owncodecs/photo_cd_codec.h"
#include "image/picture_type.h"

namespace galvora::test {
namespace {

Reader pcd(int32_t code) {
    return [code](FILE* f) { return pcd_read(f, code); };
}

constexpr size_t kBase = 0x30000 + 768 * 512 * 3 / 2;

// A pack with each base picture in one flat colour (luma and chroma as
// given per level) and the orientation byte.
std::string make_pack(uint8_t orientation, const uint8_t ycc[3][3]) {
    std::string s(kBase, '\0');
    s.replace(0x800, 7, "PCD_IPI");
    s[0xE02] = static_cast<char>(orientation);
    const size_t offsets[3] = {0x2000, 0xB800, 0x30000};
    const int widths[3] = {192, 384, 768}, heights[3] = {128, 256, 512};
    for (int level = 0; level < 3; ++level) {
        size_t p = offsets[level];
        const int w = widths[level];
        for (int y = 0; y < heights[level]; y += 2) {
            s.replace(p, static_cast<size_t>(w) * 2, static_cast<size_t>(w) * 2, static_cast<char>(ycc[level][0]));
            p += static_cast<size_t>(w) * 2;
            s.replace(p, w / 2, w / 2, static_cast<char>(ycc[level][1]));
            p += w / 2;
            s.replace(p, w / 2, w / 2, static_cast<char>(ycc[level][2]));
            p += w / 2;
        }
    }
    return s;
}

TEST(PhotoCd, ResolutionCodesPickTheStoredPictures) {
    const uint8_t ycc[3][3] = {{100, 156, 137}, {50, 156, 137}, {100, 200, 137}};
    const std::string pack = make_pack(0, ycc);
    EXPECT_EQ(type_code_for_guess(guess_file_type(pack.substr(0, kGuessPrefixBytes))), picture_type::photo_cd);
    struct Case {
        int32_t code;
        int32_t width, height;
        uint8_t r, g, b;
    };
    // Neutral chroma gives grey at 1.3584 x luma; chroma 200 on the first
    // difference channel pushes blue up and green down.
    const Case cases[] = {
        {1, 192, 128, 136, 136, 136}, {2, 384, 256, 68, 68, 68},     {3, 768, 512, 136, 117, 233},
        {4, 768, 512, 136, 117, 233}, {5, 768, 512, 136, 117, 233}, {6, 768, 512, 136, 117, 233},
        {0, 768, 512, 136, 117, 233},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const PictureBuffer b = decode_bytes(pcd(c.code), pack);
        ASSERT_EQ(b.width(), c.width);
        ASSERT_EQ(b.height(), c.height);
        const uint8_t* p = b.pixel(c.width - 1, c.height - 1);
        EXPECT_EQ(p[0], c.r);
        EXPECT_EQ(p[1], c.g);
        EXPECT_EQ(p[2], c.b);
        int32_t w = 0, h = 0;
        with_stream(pack, [&](FILE* f) {
            pcd_read_dims(f, c.code, w, h);
            return 0;
        });
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, c.height);
    }
}

TEST(PhotoCd, RecordedOrientationTurnsThePictureUpright) {
    const uint8_t ycc[3][3] = {{0, 156, 137}, {0, 156, 137}, {0, 156, 137}};
    struct Case {
        uint8_t orientation;
        int32_t width;
        int32_t x, y;  // where the stored top-left pixel ends up
    };
    const Case cases[] = {{0, 192, 0, 0}, {1, 128, 0, 191}, {2, 192, 191, 127}, {3, 128, 127, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.orientation));
        std::string pack = make_pack(c.orientation, ycc);
        pack[0x2000] = '\xB0';  // the stored top-left pixel is bright
        const PictureBuffer b = decode_bytes(pcd(1), pack);
        ASSERT_EQ(b.width(), c.width);
        EXPECT_EQ(b.pixel(c.x, c.y)[0], 239);
        EXPECT_EQ(b.pixel(1, 1)[0], 0);
    }
}

TEST(PhotoCd, PackWrittenByImageMagickKeepsItsHalves) {
    TempDir dir;
    ASSERT_TRUE(magick("-size 384x512 xc:red -size 384x512 xc:blue +append " + dir.file("x.pcd")));
    const PictureBuffer b = decode_file(pcd(3), dir.file("x.pcd"));
    ASSERT_EQ(b.width(), 768);
    ASSERT_EQ(b.height(), 512);
    const uint8_t* left = b.pixel(100, 256);
    const uint8_t* right = b.pixel(660, 256);
    EXPECT_GT(left[0], left[2] + 100);
    EXPECT_GT(right[2], right[0] + 100);
    const PictureBuffer small = decode_file(pcd(1), dir.file("x.pcd"));
    EXPECT_EQ(small.width(), 192);
    EXPECT_GT(small.pixel(20, 64)[0], small.pixel(20, 64)[2] + 100);
}

TEST(PhotoCd, ShortOrForeignFilesGiveTheReadError) {
    const uint8_t ycc[3][3] = {};
    const std::string pack = make_pack(0, ycc);
    std::string unsigned_pack = pack;
    unsigned_pack[0x800] = 'X';
    EXPECT_EQ(fault_of(pcd(3), ""), ImagingFault::bad_data);
    EXPECT_EQ(fault_of(pcd(3), unsigned_pack), ImagingFault::bad_data);
    EXPECT_EQ(fault_of(pcd(3), pack.substr(0, pack.size() - 1)), ImagingFault::bad_data);
    // The small pictures come before the large one: a pack cut after them
    // still yields those.
    EXPECT_EQ(fault_of(pcd(1), pack.substr(0, 0x2000 + 192 * 128 * 3 / 2)), ImagingFault::general);
    EXPECT_EQ(fault_of(pcd(2), pack.substr(0, 0x2000 + 192 * 128 * 3 / 2)), ImagingFault::bad_data);
}

}  // namespace
}  // namespace galvora::test
