// PSD reading and writing: composite pictures ImageMagick writes in each
// colour mode and depth, hand-made indexed and bitmap files, PackBits rows
// that lie, and hostile headers.
#include <gtest/gtest.h>

#include "image/owncodecs/owncodec_test_support.h"
#include "image/owncodecs/psd_codec.h"

namespace galvora::test {
namespace {

const Reader kPsd = [](FILE* f) { return psd_read(f); };

// Header, colour mode data, empty resources and layers, compression code;
// the image data follows in body.
std::string make_psd(uint16_t channels, uint32_t w, uint32_t h, uint16_t depth, uint16_t mode,
                     const std::string& mode_data, uint16_t compression, const std::string& body) {
    std::string s = "8BPS";
    append_be16(s, 1);
    s += std::string(6, '\0');
    append_be16(s, channels);
    append_be32(s, h);
    append_be32(s, w);
    append_be16(s, depth);
    append_be16(s, mode);
    append_be32(s, static_cast<uint32_t>(mode_data.size()));
    s += mode_data;
    append_be32(s, 0);
    append_be32(s, 0);
    append_be16(s, compression);
    return s + body;
}

TEST(PsdCodec, ImageMagickFilesInEveryModeAndDepth) {
    TempDir dir;
    const PictureBuffer source = pattern(37, 23);
    write_ppm(dir.file("source.ppm"), source);
    struct Case {
        const char* what;
        const char* arguments;
        int tolerance;  // 16-bit channels and CMYK: ImageMagick rounds, we take the high byte
        bool against_source = false;
    };
    const Case cases[] = {
        {"RGB, PackBits", "-depth 8", 0},
        {"RGB, raw", "-depth 8 -compress None", 0},
        {"RGB, 16 bits", "-depth 16", 1},
        {"RGB, 16 bits, raw", "-depth 16 -compress None", 1},
        {"grey", "-depth 8 -colorspace Gray", 0},
        {"grey, 16 bits", "-depth 16 -colorspace Gray", 1},
        {"CMYK", "-depth 8 -colorspace CMYK", 1},
        {"CMYK, 16 bits", "-depth 16 -colorspace CMYK", 1},
        // ImageMagick blends the composite with its alpha when reading it;
        // the colour channels themselves are the source's.
        {"RGB with alpha", "-depth 8 -alpha set -channel A -fx 0.5", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(magick(dir.file("source.ppm") + " " + c.arguments + " " + dir.file("x.psd")));
        ASSERT_TRUE(magick(dir.file("x.psd") + "[0] -alpha off -depth 8 " + dir.file("ref.png")));
        const PictureBuffer got = decode_file(kPsd, dir.file("x.psd"));
        const PictureBuffer want = c.against_source ? source.copy() : read_png(dir.file("ref.png"));
        EXPECT_GE(max_difference(got, want), 0) << "sizes differ";
        EXPECT_LE(max_difference(got, want), c.tolerance);
    }
}

TEST(PsdCodec, IndexedAndBitmapModes) {
    std::string table(768, '\0');
    table[1] = '\xFF';          // entry 1: red
    table[256 + 2] = '\xFF';    // entry 2: green
    const PictureBuffer indexed = decode_bytes(kPsd, make_psd(1, 3, 1, 8, 2, table, 0, std::string("\x01\x02\x00", 3)));
    EXPECT_EQ(indexed.pixel(0, 0)[0], 255);
    EXPECT_EQ(indexed.pixel(1, 0)[1], 255);
    EXPECT_EQ(indexed.pixel(2, 0)[0] + indexed.pixel(2, 0)[1], 0);
    // Bitmap: a set bit is black.
    const PictureBuffer bits = decode_bytes(kPsd, make_psd(1, 3, 1, 1, 0, "", 0, std::string("\x40", 1)));
    EXPECT_EQ(bits.pixel(0, 0)[0], 255);
    EXPECT_EQ(bits.pixel(1, 0)[0], 0);
    EXPECT_EQ(bits.pixel(2, 0)[2], 255);
}

TEST(PsdCodec, PackBitsRowsThatLieStayInsideTheirRow) {
    // Grey 4 x 2. Row 0 holds 2 bytes: a repeat of 100 x 0x11 (only 4
    // used). Row 1 holds 2 bytes: a literal of 5 whose data is cut off
    // after one byte; the rest of the row stays 0.
    std::string body;
    append_be16(body, 2);
    append_be16(body, 2);
    body += std::string("\x9D\x11", 2);  // -99: repeat 100 times
    body += std::string("\x04\x22", 2);
    const PictureBuffer b = decode_bytes(kPsd, make_psd(1, 4, 2, 8, 1, "", 1, body));
    EXPECT_EQ(b.pixel(3, 0)[0], 0x11);
    EXPECT_EQ(b.pixel(0, 1)[0], 0x22);
    EXPECT_EQ(b.pixel(1, 1)[0], 0);
}

TEST(PsdCodec, HostileFilesGiveTheReadError) {
    std::string psb = make_psd(3, 1, 1, 8, 3, "", 0, "abc");
    psb[5] = 2;
    std::string counts_beyond;
    append_be16(counts_beyond, 60000);
    expect_faults(kPsd, {
        {"empty", "", ImagingFault::bad_data},
        {"not a PSD", "8BPX" + std::string(40, '\0'), ImagingFault::bad_data},
        {"large document format", psb, ImagingFault::bad_data},
        {"no channels", make_psd(0, 1, 1, 8, 3, "", 0, "abc"), ImagingFault::bad_data},
        {"too few channels for RGB", make_psd(2, 1, 1, 8, 3, "", 0, "ab"), ImagingFault::bad_data},
        {"zero width", make_psd(3, 0, 1, 8, 3, "", 0, "abc"), ImagingFault::bad_data},
        {"wider than the format allows", make_psd(3, 30001, 1, 8, 3, "", 0, "abc"), ImagingFault::bad_data},
        {"32-bit channels", make_psd(3, 1, 1, 32, 3, "", 0, std::string(12, '\0')), ImagingFault::bad_data},
        {"Lab colour", make_psd(3, 1, 1, 8, 9, "", 0, "abc"), ImagingFault::bad_data},
        {"indexed without its table", make_psd(1, 1, 1, 8, 2, "", 0, "a"), ImagingFault::bad_data},
        {"unknown compression", make_psd(3, 1, 1, 8, 3, "", 2, "abc"), ImagingFault::bad_data},
        {"raw rows missing", make_psd(3, 100, 100, 8, 3, "", 0, std::string(100, '\0')), ImagingFault::bad_data},
        {"row table missing", make_psd(3, 10000, 10000, 8, 3, "", 1, std::string(100, '\0')), ImagingFault::bad_data},
        {"packed rows beyond the file", make_psd(1, 1, 1, 8, 1, "", 1, counts_beyond + "ab"), ImagingFault::bad_data},
        {"section length beyond the file", "8BPS" + std::string("\0\1", 2) + std::string(6, '\0') +
                                               std::string("\0\3\0\0\0\1\0\0\0\1\0\x08\0\3\xFF\xFF\xFF\xFF", 18),
         ImagingFault::bad_data},
    });
    set_pixel_limit(100);
    EXPECT_EQ(fault_of(kPsd, make_psd(1, 11, 10, 8, 1, "", 0, std::string(110, '\0'))), ImagingFault::too_large);
    set_pixel_limit(0);
}

TEST(PsdCodec, WrittenFilesReadBackAndImageMagickAgrees) {
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{300, 4}, std::pair{9, 6}}) {
        SCOPED_TRACE(w);
        PictureBuffer original = pattern(w, h);
        for (int32_t x = 0; x < w / 2; ++x) original.pixel(x, 0)[1] = 7;  // a long run in one row
        expect_written_file_reads_back(psd_write, kPsd, original, "psd", "[0]");
    }
    EXPECT_THROW(encode_bytes(psd_write, PictureBuffer::allocate(30001, 1)), ImagingFailure);
}

}  // namespace
}  // namespace galvora::test
