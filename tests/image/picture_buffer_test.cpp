// Picture buffers, type codes and the picture-file record.
#include <gtest/gtest.h>

#include "image/image_file_record.h"
#include "image/imaging_error.h"
#include "image/picture_type.h"
#include "image_test_support.h"

namespace galvora {
namespace {

TEST(PictureBuffer, RowsAreExactlyThreeBytesPerPixel) {
    PictureBuffer b = PictureBuffer::allocate(3, 2);
    EXPECT_EQ(b.row_bytes(), 9u);
    EXPECT_EQ(b.size_bytes(), 18u);
    EXPECT_EQ(b.row(1) - b.row(0), 9);
    EXPECT_EQ(b.pixel(2, 1) - b.data(), 15);
    EXPECT_TRUE(std::all_of(b.data(), b.data() + 18, [](uint8_t v) { return v == 0; }));  // zero-filled
}

TEST(PictureBuffer, OwnershipMovesAndCopiesAreDeep) {
    PictureBuffer a = test::pattern(4, 4);
    PictureBuffer copy = a.copy();
    PictureBuffer moved = std::move(a);
    EXPECT_TRUE(a.empty());  // NOLINT(bugprone-use-after-move): the moved-from buffer is "no buffer"
    EXPECT_EQ(a.width(), 0);
    EXPECT_TRUE(test::same_pixels(moved, copy));
    moved.pixel(0, 0)[0] ^= 0xFF;
    EXPECT_FALSE(test::same_pixels(moved, copy));
    moved.release();
    EXPECT_TRUE(moved.empty());
    EXPECT_TRUE(PictureBuffer{}.copy().empty());
}

TEST(PictureBuffer, SizesOutsideTheLimitAreRefusedBeforeAllocation) {
    struct Restore {
        ~Restore() { set_pixel_limit(0); }
    } restore;
    EXPECT_EQ(pixel_limit(), kDefaultPixelLimit);
    const auto fault_of = [](int32_t w, int32_t h) {
        try {
            PictureBuffer::allocate(w, h);
        } catch (const ImagingFailure& e) {
            return e.fault();
        }
        return ImagingFault{};
    };
    EXPECT_EQ(fault_of(0, 5), ImagingFault::bad_argument);
    EXPECT_EQ(fault_of(5, -1), ImagingFault::bad_argument);
    // 2^31-1 squared would overflow a 32-bit product and wrap to a small size.
    EXPECT_EQ(fault_of(INT32_MAX, INT32_MAX), ImagingFault::too_large);
    EXPECT_EQ(fault_of(20000, 12501), ImagingFault::too_large);  // just above 250 megapixels
    set_pixel_limit(100);
    EXPECT_EQ(fault_of(10, 11), ImagingFault::too_large);
    EXPECT_NO_THROW(PictureBuffer::allocate(10, 10));
}

TEST(PictureType, GuessCodesMapToTypeCodes) {
    const std::pair<int32_t, int32_t> table[] = {{1, 3},  {2, 5},  {3, 6},  {4, 10}, {5, 9},  {6, 14}, {7, 4},
                                                 {8, 4},  {14, 13}, {16, 8}, {0, 0},  {9, 0},  {10, 0}, {11, 0},
                                                 {12, 0}, {13, 0}, {15, 0}, {17, 0}, {-1, 0}};
    for (const auto& [guess, code] : table) EXPECT_EQ(type_code_for_guess(guess), code) << guess;
}

TEST(PictureType, GuessByContent) {
    EXPECT_EQ(guess_file_type(""), guess_code::unknown);
    EXPECT_EQ(guess_file_type("\xFF\xD8\xFF\xE0"), guess_code::jpeg);
    EXPECT_EQ(guess_file_type("\x89PNG\r\n\x1A\n"), guess_code::png);
    EXPECT_EQ(guess_file_type("GIF89a...."), guess_code::gif);
    EXPECT_EQ(guess_file_type(std::string("MM\0*\0\0\0\x08", 8)), guess_code::tiff);
    EXPECT_EQ(guess_file_type("\xD7\xCD\xC6\x9A\0\0"), guess_code::wmf);
    std::string emf(64, '\0');
    emf[0] = 1;
    emf.replace(40, 4, " EMF");
    EXPECT_EQ(guess_file_type(emf), guess_code::emf);
    std::string pcd(2100, '\xFF');
    pcd.replace(2048, 7, "PCD_IPI");
    EXPECT_EQ(guess_file_type(pcd), guess_code::photo_cd);
    // JPEG 2000 is not among the guesses.
    EXPECT_EQ(guess_file_type(std::string("\0\0\0\x0CjP  \r\n\x87\n", 12)), guess_code::unknown);
    EXPECT_EQ(guess_file_type("plain text, nothing else"), guess_code::unknown);
}

TEST(ImageFileRecord, CopySetsEveryField) {
    ZNImageFile source;
    source.ODateiname = "hafen";
    source.ODateiart = "JPG";
    source.OBildtyp = 6;
    source.ODatum = 45000.5;
    source.OBytes = 123456;
    source.ODimX = 4000;
    source.ODimY = 3000;
    source.CDateiname = "hafen_c";
    source.CDateiart = "jpg";
    source.CBildtyp = 6;
    source.CBytes = 5000;
    source.CDatum = 45001.25;
    source.CDimX = 800;
    source.CDimY = 600;
    source.CQualität = 85;
    source.TDateiname = "b";
    source.TDateiart = "png";
    source.TBildtyp = 10;
    source.TBytes = 999;
    source.TDatum = 45002.0;
    source.TDimX = 120;
    source.TDimY = 90;
    ZNImageFile target;
    target.TDateiname = "a";
    target.CDateiname = "other";
    source.copy(target);
    EXPECT_EQ(target.TDateiname, "b");
    EXPECT_EQ(target.CDateiname, "hafen_c");
    EXPECT_EQ(target.CQualität, 85);
    EXPECT_EQ(target.TDimY, 90);
    EXPECT_EQ(target.ODatum, 45000.5);
    EXPECT_EQ(target.TDatum, 45002.0);
    EXPECT_EQ(target.ODimX, 4000);
    // Copying onto itself changes nothing.
    source.copy(source);
    EXPECT_EQ(source.ODateiname, "hafen");
    EXPECT_EQ(source.TBytes, 999);
    // A new record is all empty.
    const ZNImageFile fresh;
    EXPECT_TRUE(fresh.ODateiname.empty());
    EXPECT_EQ(fresh.CQualität, 0);
    EXPECT_EQ(fresh.TDatum, 0);
}

}  // namespace
}  // namespace galvora
