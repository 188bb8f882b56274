// Writing picture files: round trips per writable type, the JPEG size
// search, metadata written back, and what a failed or refused write leaves.
#include <gtest/gtest.h>

#include <vector>

#include "image/imaging_error.h"
#include "image/jpeg_quality_search.h"
#include "image/picture_io.h"
#include "image_test_support.h"

namespace galvora {
namespace {

using test::TempDir;

PictureBuffer read_back(const std::string& path, int32_t code) {
    PictureBuffer b;
    int32_t w = 0, h = 0;
    ReadImage(path, code, b, w, h);
    return b;
}

ErrorInfo write_error(const std::string& path, int32_t code, const PictureBuffer& b, int32_t& used,
                      int32_t quality = 75, int32_t limit = 0) {
    try {
        WriteImage(path, code, b, quality, limit, false, 1, used);
    } catch (const GalvoraError& e) {
        return e.info();
    }
    ADD_FAILURE() << "no error raised";
    return {};
}

TEST(PictureWrite, LosslessTypesRoundTripExactly) {
    TempDir dir;
    const PictureBuffer picture = test::pattern(37, 21);  // odd width: rows are not padded
    struct Case {
        const char* name;
        int32_t code;
        int32_t compression;
    };
    for (const Case& c : {Case{"a.png", picture_type::png, 1}, Case{"none.tif", picture_type::tiff, 1},
                          Case{"lzw.tif", picture_type::tiff, 5}, Case{"zip.tif", picture_type::tiff, 8},
                          Case{"a.bmp", picture_type::bmp, 1}, Case{"a.pcx", picture_type::pcx, 1},
                          Case{"a.tga", picture_type::tga, 1}, Case{"a.psd", picture_type::psd, 1},
                          Case{"a.emf", picture_type::metafile, 1}, Case{"a.wmf", picture_type::metafile, 1}}) {
        SCOPED_TRACE(c.name);
        int32_t used = -1;
        WriteImage(dir.file(c.name), c.code, picture, 50, 0, false, c.compression, used);
        EXPECT_EQ(used, 100);
        EXPECT_TRUE(test::same_pixels(read_back(dir.file(c.name), c.code), picture));
        EXPECT_TRUE(test::same_pixels(read_back(dir.file(c.name), 0), picture));
    }
}

TEST(PictureWrite, TiffCompressionReachesTheFile) {
    TempDir dir;
    const PictureBuffer flat = test::solid(200, 200, 10, 20, 30);
    int32_t used = 0;
    WriteImage(dir.file("none.tif"), picture_type::tiff, flat, 0, 0, false, 1, used);
    WriteImage(dir.file("lzw.tif"), picture_type::tiff, flat, 0, 0, false, 5, used);
    WriteImage(dir.file("zip.tif"), picture_type::tiff, flat, 0, 0, false, 8, used);
    const auto size = [&](const char* n) { return std::filesystem::file_size(dir.file(n)); };
    EXPECT_GT(size("none.tif"), 200u * 200 * 3);
    EXPECT_LT(size("lzw.tif"), size("none.tif") / 10);
    EXPECT_LT(size("zip.tif"), size("none.tif") / 10);
    // A compression code the encoder does not know is a write error, and nothing is left behind.
    const ErrorInfo e = [&] {
        try {
            WriteImage(dir.file("odd.tif"), picture_type::tiff, flat, 0, 0, false, 12345, used);
        } catch (const GalvoraError& err) {
            return err.info();
        }
        return ErrorInfo{};
    }();
    EXPECT_EQ(e.description, "IS_WriteTIFF");
    EXPECT_FALSE(std::filesystem::exists(dir.file("odd.tif")));
}

TEST(PictureWrite, GifKeepsUpTo256ColoursExactlyAndQuantisesMore) {
    TempDir dir;
    // 16 x 16 pixels, each a different colour: exactly 256 colours.
    PictureBuffer few = PictureBuffer::allocate(16, 16);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x) {
            uint8_t* p = few.pixel(x, y);
            p[0] = static_cast<uint8_t>(x * 16), p[1] = static_cast<uint8_t>(y * 16), p[2] = static_cast<uint8_t>(x ^ y);
        }
    int32_t used = 0;
    WriteImage(dir.file("few.gif"), picture_type::gif, few, 0, 0, false, 1, used);
    EXPECT_EQ(used, 100);
    EXPECT_TRUE(test::same_pixels(read_back(dir.file("few.gif"), picture_type::gif), few));

    // A smooth gradient with thousands of colours stays close after quantisation.
    PictureBuffer many = PictureBuffer::allocate(128, 64);
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 128; ++x) {
            uint8_t* p = many.pixel(x, y);
            p[0] = static_cast<uint8_t>(x * 2), p[1] = static_cast<uint8_t>(y * 4), p[2] = 128;
        }
    WriteImage(dir.file("many.gif"), picture_type::gif, many, 0, 0, false, 1, used);
    const PictureBuffer back = read_back(dir.file("many.gif"), 0);
    EXPECT_LT(test::mean_difference(back, many), 4.0);
    EXPECT_LE(test::max_difference(back, many), 16);
}

TEST(PictureWrite, JpegRoundTripAndProgressive) {
    TempDir dir;
    const PictureBuffer picture = test::solid(64, 48, 200, 100, 50);
    int32_t used = 0;
    WriteImage(dir.file("a.jpg"), picture_type::jpeg, picture, 90, 0, false, 1, used);
    EXPECT_EQ(used, 90);
    EXPECT_LE(test::max_difference(read_back(dir.file("a.jpg"), picture_type::jpeg), picture), 3);
    WriteImage(dir.file("p.jpg"), picture_type::jpeg, picture, 90, 0, true, 1, used);
    const std::string bytes = test::read_bytes(dir.file("p.jpg"));
    EXPECT_NE(bytes.find("\xFF\xC2"), std::string::npos);  // progressive frame header
    EXPECT_LE(test::max_difference(read_back(dir.file("p.jpg"), 0), picture), 3);
}

TEST(PictureWrite, JpegMarkersAreWrittenAndCountTowardsTheSize) {
    TempDir dir;
    CapturedMetadata source;
    int32_t w = 0, h = 0;
    GetImageDims(test::npm_exif("test1.jpg"), picture_type::jpeg, w, h, nullptr, &source);
    ASSERT_FALSE(source.jpeg_markers.empty());
    const PictureBuffer picture = test::pattern(40, 30);
    int32_t used = 0;
    WriteImage(dir.file("with.jpg"), picture_type::jpeg, picture, 80, 0, false, 1, used, &source);
    WriteImage(dir.file("without.jpg"), picture_type::jpeg, picture, 80, 0, false, 1, used);
    CapturedMetadata back;
    GetImageDims(dir.file("with.jpg"), 0, w, h, nullptr, &back);
    // Every copied APPn and comment marker comes back in order (an Adobe marker would be left out).
    std::vector<std::pair<uint8_t, std::string>> expected;
    for (const auto& m : source.jpeg_markers)
        if (!(m.first == 0xEE && m.second.compare(0, 5, "Adobe") == 0)) expected.push_back(m);
    EXPECT_EQ(back.jpeg_markers, expected);
    EXPECT_GT(std::filesystem::file_size(dir.file("with.jpg")), std::filesystem::file_size(dir.file("without.jpg")));
}

TEST(JpegQualitySearch, QualitySequenceForATableOfLimits) {
    struct Case {
        int32_t lowest;
        int32_t fits_at_or_below;  // candidates up to this quality fit
        std::vector<int32_t> measured;
        int32_t written;
    };
    const Case cases[] = {
        {25, 45, {100, 80, 60, 40, 55, 50, 45}, 45},
        {25, 10, {100, 80, 60, 40, 25}, 25},
        {25, 100, {100}, 100},
        {25, 25, {100, 80, 60, 40, 25, 40, 35, 30, 25}, 25},
        {25, 80, {100, 80, 95, 90, 85, 80}, 80},
        {25, 92, {100, 80, 95, 90}, 90},
        {70, 65, {100, 80, 70}, 70},
        {70, 75, {100, 80, 70, 85, 80, 75}, 75},
        {0, 3, {100, 80, 60, 40, 20, 0, 15, 10, 5, 0}, 0},
        {100, 50, {100}, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "lowest " << c.lowest << ", fits at " << c.fits_at_or_below);
        std::vector<int32_t> measured;
        const int64_t limit = 1000;
        const int32_t q = search_jpeg_quality(c.lowest, limit, [&](int32_t candidate) -> uint64_t {
            measured.push_back(candidate);
            // A count equal to the limit counts as too large.
            return candidate <= c.fits_at_or_below ? 999 : 1000;
        });
        EXPECT_EQ(measured, c.measured);
        EXPECT_EQ(q, c.written);
        EXPECT_LE(measured.size(), 10u);
    }
}

TEST(PictureWrite, JpegSizeLimitWritesTheFoundQuality) {
    TempDir dir;
    const PictureBuffer picture = test::pattern(160, 120);
    int32_t used = 0;
    WriteImage(dir.file("big.jpg"), picture_type::jpeg, picture, 100, 0, false, 1, used);
    const auto full = static_cast<int32_t>(std::filesystem::file_size(dir.file("big.jpg")));
    const int32_t limit = full / 3;
    WriteImage(dir.file("limited.jpg"), picture_type::jpeg, picture, 10, limit, false, 1, used);
    EXPECT_LT(used, 100);
    EXPECT_GE(used, 10);
    EXPECT_LT(std::filesystem::file_size(dir.file("limited.jpg")), static_cast<uintmax_t>(limit));
    // The file holds exactly what a plain write at that quality gives.
    int32_t plain_used = 0;
    WriteImage(dir.file("plain.jpg"), picture_type::jpeg, picture, used, 0, false, 1, plain_used);
    EXPECT_EQ(test::read_bytes(dir.file("plain.jpg")), test::read_bytes(dir.file("limited.jpg")));
    // A limit nothing meets gives the lowest quality, above the limit.
    WriteImage(dir.file("tiny.jpg"), picture_type::jpeg, picture, 30, 10, false, 1, used);
    EXPECT_EQ(used, 30);
}

TEST(PictureWrite, UnsupportedTypesAreRefusedWithoutTouchingTheTarget) {
    TempDir dir;
    const PictureBuffer picture = test::pattern(8, 8);
    test::write_bytes(dir.file("keep.jpg"), "previous content");
    for (int32_t code : {7, 8, 12, 0, 1, 2, 15, -1}) {
        SCOPED_TRACE(code);
        int32_t used = 42;
        const ErrorInfo e = write_error(dir.file("keep.jpg"), code, picture, used);
        EXPECT_EQ(e.number, 1001);
        EXPECT_EQ(e.source, "WriteImage");
        EXPECT_EQ(e.description, "IS_WriteUnsupportedImageType");
        EXPECT_EQ(used, 42);
        EXPECT_EQ(test::read_bytes(dir.file("keep.jpg")), "previous content");
    }
    // Nothing but the kept file is in the folder: no temporary files stay behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST(PictureWrite, FailedWritesLeaveTheOldFile) {
    TempDir dir;
    test::write_bytes(dir.file("old.png"), "old picture");
    int32_t used = 0;
    // An empty buffer cannot be written.
    const ErrorInfo e = write_error(dir.file("old.png"), picture_type::png, PictureBuffer{}, used);
    EXPECT_EQ(e.description, "IS_WritePNG");
    EXPECT_EQ(used, 100);
    EXPECT_EQ(test::read_bytes(dir.file("old.png")), "old picture");
    // A folder that does not exist cannot take the file.
    const ErrorInfo open = write_error(dir.file("missing/x.jpg"), picture_type::jpeg, test::pattern(4, 4), used);
    EXPECT_EQ(open.description, "IS_OpenFileDest");
    EXPECT_EQ(open.number, 1000 + static_cast<long>(ImagingFault::cannot_open));
    // A successful write replaces the old file.
    WriteImage(dir.file("old.png"), picture_type::png, test::pattern(4, 4), 0, 0, false, 1, used);
    EXPECT_TRUE(test::same_pixels(read_back(dir.file("old.png"), picture_type::png), test::pattern(4, 4)));
}

}  // namespace
}  // namespace galvora
