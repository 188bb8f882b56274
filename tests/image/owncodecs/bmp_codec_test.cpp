// BMP reading and writing: the bmp-js variants against their 24-bit
// re-encodings, hand-made variants (row order, RLE escapes, bit fields, the
// old OS/2 header) and hostile headers.
#include <gtest/gtest.h>

#include <cstring>

#include "image/owncodecs/bmp_codec.h"
#include "image/picture_type.h"
#include "image/owncodecs/owncodec_test_support.h"

namespace galvora::test {
namespace {

const Reader kBmp = [](FILE* f) { return bmp_read(f); };

// A BMP file with a 40-byte header; palette entries as 0xRRGGBB.
std::string make_bmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                     const std::vector<uint32_t>& palette, const std::string& pixels,
                     const std::vector<uint32_t>& masks = {}, uint32_t header_size = 40) {
    std::string info;
    append_le32(info, header_size);
    append_le32(info, static_cast<uint32_t>(width));
    append_le32(info, static_cast<uint32_t>(height));
    append_le16(info, 1);
    append_le16(info, bits);
    append_le32(info, compression);
    append_le32(info, static_cast<uint32_t>(pixels.size()));
    append_le32(info, 0);
    append_le32(info, 0);
    append_le32(info, static_cast<uint32_t>(palette.size()));
    append_le32(info, 0);
    info.resize(header_size, '\0');
    for (uint32_t m : masks) append_le32(info, m);
    for (uint32_t c : palette) append_le32(info, c);
    std::string file = "BM";
    append_le32(file, static_cast<uint32_t>(14 + info.size() + pixels.size()));
    append_le32(file, 0);
    append_le32(file, static_cast<uint32_t>(14 + info.size()));
    return file + info + pixels;
}

void expect_pixel(const PictureBuffer& b, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t bl) {
    const uint8_t* p = b.pixel(x, y);
    EXPECT_EQ(p[0], r) << "red at " << x << "," << y;
    EXPECT_EQ(p[1], g) << "green at " << x << "," << y;
    EXPECT_EQ(p[2], bl) << "blue at " << x << "," << y;
}

TEST(BmpCodec, BmpJsVariantsDecodeToTheirReferences) {
    // The reference of each variant is bmp-js's own 24-bit re-encoding. Its
    // 16-bit decoder shifts the channel bits up without repeating them, so
    // those variants may differ by the bits it leaves empty.
    struct Case {
        const char* name;
        int tolerance;
    };
    const Case cases[] = {{"bit1", 0},       {"bit4", 0},        {"bit8", 0},        {"bit24", 0},
                          {"bit32", 0},      {"bit32_alpha", 0}, {"bit16_565", 7},   {"bit16_x555", 7},
                          {"bit16_a555", 7}, {"bit16_x444", 15}, {"bit16_a444", 15}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string dir = std::string("bmp-js/package/test/") + c.name;
        const PictureBuffer got = decode_file(kBmp, owncodec_data(dir + ".bmp"));
        const PictureBuffer want = decode_file(kBmp, owncodec_data(dir + "_out.bmp"));
        ASSERT_FALSE(got.empty());
        EXPECT_GE(max_difference(got, want), 0) << "sizes differ";
        EXPECT_LE(max_difference(got, want), c.tolerance);
    }
}

TEST(BmpCodec, BmpJsRunLengthVariantsMatchImageMagick) {
    // bmp-js moves a delta escape to the wrong row, so its re-encodings of
    // the RLE variants are no reference; ImageMagick's reading is (it
    // complains that the 8-bit file lacks its end escape, but decodes it).
    TempDir dir;
    for (const char* name : {"bit4_RLE", "bit8_RLE"}) {
        SCOPED_TRACE(name);
        const std::string file = owncodec_data(std::string("bmp-js/package/test/") + name + ".bmp");
        const std::string png = dir.file(std::string(name) + ".png");
        magick(file + " " + png);
        ASSERT_TRUE(std::filesystem::exists(png));
        EXPECT_TRUE(same_pixels(decode_file(kBmp, file), read_png(png)));
    }
}

TEST(BmpCodec, DimensionsComeFromTheHeaderAlone) {
    std::string file = make_bmp(7, -3, 24, 0, {}, "");
    int32_t w = 0, h = 0;
    with_stream(file, [&](FILE* f) {
        bmp_read_dims(f, w, h);
        return 0;
    });
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 3);
    // The rows themselves are missing: reading the pixels fails.
    EXPECT_EQ(fault_of(kBmp, file), ImagingFault::bad_data);
}

TEST(BmpCodec, TopDownAndBottomUpRowsGiveTheSamePicture) {
    // 3 x 2 pixels, 24 bits: rows of 9 bytes padded to 12.
    const std::string top = std::string("\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00\0\0\0", 12);     // red green blue
    const std::string bottom = std::string("\xFF\xFF\xFF\x00\x00\x00\x80\x80\x80\0\0\0", 12);  // white black grey
    const PictureBuffer down = decode_bytes(kBmp, make_bmp(3, -2, 24, 0, {}, top + bottom));
    const PictureBuffer up = decode_bytes(kBmp, make_bmp(3, 2, 24, 0, {}, bottom + top));
    EXPECT_TRUE(same_pixels(down, up));
    expect_pixel(down, 0, 0, 255, 0, 0);
    expect_pixel(down, 2, 0, 0, 0, 255);
    expect_pixel(down, 1, 1, 0, 0, 0);
}

TEST(BmpCodec, Rle8EscapesPlacePixelsWhereTheyBelong) {
    // 4 x 3, bottom-up. Row 0 (bottom): a run of two 1s, then a literal of
    // three pixels (2, 3, 1) with its padding byte, cut by the row's end.
    // Then end of line; a delta of (1, 1) skips row 1 partly; a run of one
    // 2 lands in the top row at x = 1; end of picture.
    const std::string rle = std::string("\x02\x01" "\x00\x03\x02\x03\x01\x00" "\x00\x00"
                                        "\x00\x02\x01\x01" "\x01\x02" "\x00\x01", 18);
    const PictureBuffer b = decode_bytes(kBmp, make_bmp(4, 3, 8, 1, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}, rle));
    ASSERT_EQ(b.width(), 4);
    expect_pixel(b, 0, 2, 255, 0, 0);
    expect_pixel(b, 1, 2, 255, 0, 0);
    expect_pixel(b, 2, 2, 0, 255, 0);
    expect_pixel(b, 3, 2, 0, 0, 255);
    expect_pixel(b, 1, 0, 0, 255, 0);
    // Skipped pixels show the first colour of the table.
    expect_pixel(b, 0, 1, 0, 0, 0);
    expect_pixel(b, 1, 1, 0, 0, 0);
    expect_pixel(b, 2, 0, 0, 0, 0);
}

TEST(BmpCodec, Rle4RunsAlternateTheirTwoColours) {
    const std::string rle = std::string("\x05\x12" "\x00\x01", 4);
    const PictureBuffer b = decode_bytes(kBmp, make_bmp(5, 1, 4, 2, {0x000000, 0xFF0000, 0x00FF00}, rle));
    expect_pixel(b, 0, 0, 255, 0, 0);
    expect_pixel(b, 1, 0, 0, 255, 0);
    expect_pixel(b, 4, 0, 255, 0, 0);
}

TEST(BmpCodec, BitFieldsPickTheirChannelsFromTheMasks) {
    // 32 bits with red in the low byte and blue in the third.
    const std::string px = std::string("\x11\x22\x33\x00", 4);
    const PictureBuffer b32 =
        decode_bytes(kBmp, make_bmp(1, 1, 32, 3, {}, px, {0x000000FF, 0x0000FF00, 0x00FF0000}));
    expect_pixel(b32, 0, 0, 0x11, 0x22, 0x33);
    // 16 bits 5-6-5: full intensity stays 255 in every channel.
    const std::string white = std::string("\xFF\xFF\0\0", 4);
    const PictureBuffer b16 = decode_bytes(kBmp, make_bmp(1, 1, 16, 3, {}, white, {0xF800, 0x07E0, 0x001F}));
    expect_pixel(b16, 0, 0, 255, 255, 255);
}

TEST(BmpCodec, OldOs2HeaderWithThreeByteColourTable) {
    std::string info;
    append_le32(info, 12);
    append_le16(info, 2);
    append_le16(info, 1);
    append_le16(info, 1);
    append_le16(info, 1);
    info += std::string("\x00\x00\xFF" "\xFF\x00\x00", 6);  // red, blue (stored blue-green-red)
    std::string file = "BM";
    append_le32(file, 0);
    append_le32(file, 0);
    append_le32(file, static_cast<uint32_t>(14 + info.size()));
    file += info + std::string("\x40\0\0\0", 4);  // pixels 0, 1
    const PictureBuffer b = decode_bytes(kBmp, file);
    expect_pixel(b, 0, 0, 255, 0, 0);
    expect_pixel(b, 1, 0, 0, 0, 255);
}

TEST(BmpCodec, Os2VersionTwoHeaderKeepsItsOwnCompressionCodes) {
    // The 64-byte header shares the first 40 bytes with the Windows one, but
    // its compression 3 is Huffman coding, not bit fields.
    const std::string px = std::string("\x01\x02\x03\x00", 4);
    const PictureBuffer plain = decode_bytes(kBmp, make_bmp(1, 1, 24, 0, {}, px, {}, 64));
    EXPECT_EQ(plain.pixel(0, 0)[0], 3);
    EXPECT_EQ(fault_of(kBmp, make_bmp(1, 1, 32, 3, {}, px, {}, 64)), ImagingFault::bad_data);
}

TEST(BmpCodec, HostileHeadersGiveTheReadError) {
    std::string bad_offset = make_bmp(1, 1, 24, 0, {}, std::string(4, '\0'));
    bad_offset[10] = '\xFF', bad_offset[11] = '\xFF', bad_offset[12] = '\xFF';
    std::string bad_header = make_bmp(1, 1, 24, 0, {}, std::string(4, '\0'));
    bad_header[14] = 7;
    expect_faults(kBmp, {
        {"empty", "", ImagingFault::bad_data},
        {"not a bitmap", "GIF89a and more bytes than a header", ImagingFault::bad_data},
        {"rows beyond the pixel limit", make_bmp(60000, 60000, 24, 0, {}, "x"), ImagingFault::too_large},
        {"rows missing", make_bmp(100, 100, 24, 0, {}, std::string(100, '\0')), ImagingFault::bad_data},
        {"pixel offset beyond the file", bad_offset, ImagingFault::bad_data},
        {"unknown header size", bad_header, ImagingFault::bad_data},
        {"zero width", make_bmp(0, 1, 24, 0, {}, std::string(4, '\0')), ImagingFault::bad_data},
        {"RLE with 24 bits", make_bmp(1, 1, 24, 1, {}, std::string(4, '\0')), ImagingFault::bad_data},
        {"top-down RLE", make_bmp(1, -1, 8, 1, {0}, std::string("\0\1", 2)), ImagingFault::bad_data},
        {"2 bits per pixel", make_bmp(1, 1, 2, 0, {}, std::string(4, '\0')), ImagingFault::bad_data},
    });
}

TEST(BmpCodec, HostileContentsStayInsideThePicture) {
    // Indexes beyond a two-entry table, runs and deltas past the edges, a
    // literal longer than the row: all decode without touching memory
    // outside the picture; unknown colours are black.
    const std::string plain = make_bmp(2, 1, 8, 0, {0xFFFFFF, 0xFF0000}, std::string("\xFE\x01\0\0", 4));
    const PictureBuffer a = decode_bytes(kBmp, plain);
    expect_pixel(a, 0, 0, 0, 0, 0);
    expect_pixel(a, 1, 0, 255, 0, 0);
    std::string rle = std::string("\xFF\x01", 2);          // a run far longer than the row
    rle += std::string("\x00\x02\xFF\xFF", 4);             // a delta far beyond the picture
    rle += std::string("\x00\xFE", 2) + std::string(254, '\x01');  // a literal longer than the row
    rle += std::string("\x00\x00\x05\x01", 4);
    const PictureBuffer b = decode_bytes(kBmp, make_bmp(3, 2, 8, 1, {0, 0x00FF00}, rle));
    expect_pixel(b, 2, 1, 0, 255, 0);
    expect_pixel(b, 0, 0, 0, 0, 0);
}

TEST(BmpCodec, WrittenFilesReadBackAndImageMagickAgrees) {
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{5, 3}, std::pair{64, 17}}) {
        SCOPED_TRACE(w);
        const std::string bytes = expect_written_file_reads_back(bmp_write, kBmp, pattern(w, h), "bmp");
        EXPECT_EQ(type_code_for_guess(guess_file_type(bytes)), picture_type::bmp);
    }
}

}  // namespace
}  // namespace galvora::test
