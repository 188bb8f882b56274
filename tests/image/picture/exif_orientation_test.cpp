// The orientation tag read from captured JPEG markers (real files and hostile
// segments), the turns and mirrors that stand a picture upright, the reset of
// the tag, and the test for JPEG files cut short.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "foundation/temp_folder.h"
#include "image/picture/exif_orientation.h"
#include "image/picture/jpeg_completeness.h"
#include "image/picture_io.h"
#include "image/picture_type.h"

namespace galvora::test {
namespace {

namespace fs = std::filesystem;

// An APP1 payload: "Exif", two zero bytes and a TIFF structure whose first
// directory holds the orientation entry (type, count and value as given).
std::string exif_payload(bool big_endian, uint16_t value, uint16_t type = 3, uint32_t count = 1,
                         uint32_t directory = 8, uint16_t entries = 1) {
    std::string t = big_endian ? std::string("MM\0\x2A", 4) : std::string("II\x2A\0", 4);
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = big_endian ? 8 * (bytes - 1 - i) : 8 * i;
            t.push_back(static_cast<char>((v >> shift) & 0xFF));
        }
    };
    put(directory, 4);
    put(entries, 2);
    put(274, 2);
    put(type, 2);
    put(count, 4);
    put(value, 2);
    put(0, 2);
    put(0, 4);  // no next directory
    return std::string("Exif\0\0", 6) + t;
}

CapturedMetadata markers(std::string payload) {
    CapturedMetadata m;
    m.jpeg_markers.emplace_back(0xE0, "JFIF");
    m.jpeg_markers.emplace_back(0xE1, std::move(payload));
    return m;
}

TEST(ExifOrientation, ReadFromTheCapturedMarkers) {
    for (uint16_t v = 1; v <= 8; ++v) {
        EXPECT_EQ(exif_orientation(markers(exif_payload(true, v))), v);
        EXPECT_EQ(exif_orientation(markers(exif_payload(false, v))), v);
    }
    // The goexif letters carry 1 to 8 in a big-endian segment of a real file.
    const fs::path samples = fs::path(GALVORA_TESTDATA_DIR) / "goexif" / "samples";
    for (int v = 1; v <= 8; ++v) {
        const fs::path file = samples / ("f" + std::to_string(v) + "-exif.jpg");
        ASSERT_TRUE(fs::exists(file)) << file << " (scripts/fetch-testdata.sh)";
        CapturedMetadata meta;
        int32_t w = 0, h = 0;
        GetImageDims(file.string(), picture_type::jpeg, w, h, nullptr, &meta);
        EXPECT_EQ(exif_orientation(meta), v) << file;
    }
}

TEST(ExifOrientation, AnythingOddCountsAsUpright) {
    struct Case {
        const char* what;
        std::string payload;
        bool tag_found;  // a value outside 1 to 8 is still a tag to reset
    };
    const std::string good = exif_payload(false, 6);
    const Case cases[] = {
        {"no EXIF segment", "", false},
        {"value 0", exif_payload(false, 0), true},
        {"value 9", exif_payload(false, 9), true},
        {"not a SHORT", exif_payload(false, 6, 4), false},
        {"two values", exif_payload(false, 6, 3, 2), false},
        {"directory beyond the segment", exif_payload(false, 6, 3, 1, 4000), false},
        {"directory in the last byte", exif_payload(false, 6, 3, 1, static_cast<uint32_t>(good.size() - 7)), false},
        {"cut inside the entry", good.substr(0, good.size() - 9), false},
        {"cut inside the header", good.substr(0, 9), false},
        {"no byte order", std::string("Exif\0\0XX\x2A\0", 10) + good.substr(10), false},
    };
    for (const Case& c : cases) {
        CapturedMetadata m = c.payload.empty() ? CapturedMetadata{} : markers(c.payload);
        EXPECT_EQ(exif_orientation(m), 1) << c.what;
        const CapturedMetadata before = m;
        reset_orientation(m);
        EXPECT_EQ(exif_orientation(m), 1) << c.what;
        EXPECT_EQ(m.jpeg_markers != before.jpeg_markers, c.tag_found) << c.what;
    }
}

TEST(ExifOrientation, ResetWritesUprightAndNothingElse) {
    for (bool big_endian : {true, false}) {
        CapturedMetadata m = markers(exif_payload(big_endian, 8));
        const std::string before = m.jpeg_markers[1].second;
        reset_orientation(m);
        EXPECT_EQ(exif_orientation(m), 1);
        size_t changed = 0;
        for (size_t i = 0; i < before.size(); ++i) changed += before[i] != m.jpeg_markers[1].second[i];
        EXPECT_EQ(changed, 1u) << "only the value's low byte differs";
    }
}

// Stored pixels of a 3 x 2 picture numbered 1..6 row by row, and the picture
// shown for each orientation, as the EXIF standard defines it. The design
// takes the stored pixels as they are: a photo taken with the camera turned
// would lie on its side in the gallery, while every browser and viewer shows
// the original upright.
TEST(ExifOrientation, TurnsAndMirrorsStandThePictureUpright) {
    PictureBuffer stored = PictureBuffer::allocate(3, 2);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x) stored.pixel(x, y)[0] = static_cast<uint8_t>(1 + x + 3 * y);
    struct Case {
        int32_t orientation;
        int32_t width;
        std::string shown;  // row by row
    };
    const Case cases[] = {
        {1, 3, "123456"}, {2, 3, "321654"}, {3, 3, "654321"}, {4, 3, "456123"},
        {5, 2, "142536"}, {6, 2, "415263"}, {7, 2, "635241"}, {8, 2, "362514"},
    };
    for (const Case& c : cases) {
        PictureBuffer p = PictureBuffer::allocate(3, 2);
        std::memcpy(p.data(), stored.data(), stored.size_bytes());
        orient_upright(p, c.orientation);
        ASSERT_EQ(p.width(), c.width) << c.orientation;
        EXPECT_EQ(orientation_swaps_sides(c.orientation), c.width == 2) << c.orientation;
        std::string shown;
        for (int32_t y = 0; y < p.height(); ++y)
            for (int32_t x = 0; x < p.width(); ++x) shown += static_cast<char>('0' + p.pixel(x, y)[0]);
        EXPECT_EQ(shown, c.shown) << c.orientation;
    }
}

TEST(JpegCompleteness, AFileCutShortIsFound) {
    galvora::testing::TempFolder tmp;
    const fs::path real = fs::path(GALVORA_TESTDATA_DIR) / "exif-npm" / "test1.jpg";
    ASSERT_TRUE(fs::exists(real)) << real << " (scripts/fetch-testdata.sh)";
    std::ifstream in(real, std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto file = [&](const std::string& name, const std::string& bytes) {
        const fs::path p = tmp.path() / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    };
    EXPECT_TRUE(jpeg_vollstaendig(real.string()));
    EXPECT_TRUE(jpeg_vollstaendig(file("padded.jpg", whole + std::string(100, '\0'))));
    EXPECT_TRUE(jpeg_vollstaendig(file("trailer.jpg", whole + "trailing data \xFF\xD8 of a video")));
    EXPECT_FALSE(jpeg_vollstaendig(file("cut.jpg", whole.substr(0, whole.size() / 2))));
    EXPECT_FALSE(jpeg_vollstaendig(file("no-end.jpg", whole.substr(0, whole.size() - 2))));
    EXPECT_FALSE(jpeg_vollstaendig(file("cut-padded.jpg", whole.substr(0, whole.size() / 2) + std::string(50, '\0'))));
    EXPECT_FALSE(jpeg_vollstaendig(file("empty.jpg", "")));
    EXPECT_FALSE(jpeg_vollstaendig(file("text.jpg", "no picture")));
    EXPECT_FALSE(jpeg_vollstaendig((tmp.path() / "missing.jpg").string()));

    // A camera file of megabytes, with zeros after its end marker: read in
    // many blocks, segments skipped across their borders.
    const fs::path camera = fs::path(GALVORA_TESTDATA_DIR) / "exif-npm" / "sony-alpha-6000.jpg";
    ASSERT_TRUE(fs::exists(camera)) << camera << " (scripts/fetch-testdata.sh)";
    std::ifstream camera_in(camera, std::ios::binary);
    const std::string photo((std::istreambuf_iterator<char>(camera_in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(jpeg_vollstaendig(camera.string()));
    EXPECT_FALSE(jpeg_vollstaendig(file("camera-cut.jpg", photo.substr(0, photo.size() * 3 / 4) + std::string(4096, '\0'))));
}

}  // namespace
}  // namespace galvora::test
