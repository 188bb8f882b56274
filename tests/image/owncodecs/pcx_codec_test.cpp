// PCX reading and writing: the Allegro and SDL sample pictures against
// ImageMagick's reading, hand-made planar and packed variants, runs across
// lines, and hostile headers.
#include <gtest/gtest.h>

#include "image/owncodecs/owncodec_test_support.h"
#include "image/owncodecs/pcx_codec.h"
#include "image/picture_type.h"

namespace galvora::test {
namespace {

const Reader kPcx = [](FILE* f) { return pcx_read(f); };

// A 128-byte header; the 16-entry palette as 0xRRGGBB values.
std::string make_pcx(int32_t w, int32_t h, uint8_t bits, uint8_t planes, uint16_t line_bytes, uint8_t encoding,
                     const std::string& body, const std::vector<uint32_t>& ega = {}) {
    std::string s(128, '\0');
    s[0] = 0x0A;
    s[1] = 5;
    s[2] = static_cast<char>(encoding);
    s[3] = static_cast<char>(bits);
    s[8] = static_cast<char>((w - 1) & 0xFF);
    s[9] = static_cast<char>((w - 1) >> 8);
    s[10] = static_cast<char>((h - 1) & 0xFF);
    s[11] = static_cast<char>((h - 1) >> 8);
    for (size_t i = 0; i < ega.size() && i < 16; ++i) {
        s[16 + i * 3] = static_cast<char>(ega[i] >> 16);
        s[17 + i * 3] = static_cast<char>(ega[i] >> 8);
        s[18 + i * 3] = static_cast<char>(ega[i]);
    }
    s[65] = static_cast<char>(planes);
    s[66] = static_cast<char>(line_bytes & 0xFF);
    s[67] = static_cast<char>(line_bytes >> 8);
    return s + body;
}

uint32_t rgb_at(const PictureBuffer& b, int32_t x, int32_t y) {
    const uint8_t* p = b.pixel(x, y);
    return (static_cast<uint32_t>(p[0]) << 16) | (p[1] << 8) | p[2];
}

TEST(PcxCodec, SamplePicturesDecodeAsImageMagickReadsThem) {
    TempDir dir;
    const std::string files[] = {"allegro-examples/allegro.pcx", "allegro-examples/mysha.pcx",
                                 "allegro-examples/planet.pcx",
                                 "libsdl2-image-tests/root/usr/libexec/installed-tests/SDL2_image/sample.pcx"};
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        const std::string path = owncodec_data(name);
        const PictureBuffer got = decode_file(kPcx, path);
        ASSERT_TRUE(magick(path + " " + dir.file("ref.png")));
        EXPECT_TRUE(same_pixels(got, read_png(dir.file("ref.png"))));
    }
    // 256 colours from the table at the end of the file.
    const PictureBuffer mysha = decode_file(kPcx, owncodec_data("allegro-examples/mysha.pcx"));
    EXPECT_EQ(mysha.width(), 320);
    EXPECT_EQ(mysha.height(), 200);
}

TEST(PcxCodec, PlanarAndPackedVariants) {
    const std::vector<uint32_t> ega = {0x000000, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF,
                                       0xFFFFFF, 0x808080, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                       0x008080, 0xC0C0C0};
    // One bit, one plane: black and white whatever the header's palette says.
    const PictureBuffer mono = decode_bytes(kPcx, make_pcx(3, 1, 1, 1, 2, 0, std::string("\xA0\x00", 2), ega));
    EXPECT_EQ(rgb_at(mono, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(rgb_at(mono, 1, 0), 0u);
    EXPECT_EQ(rgb_at(mono, 2, 0), 0xFFFFFFu);
    // Four planes of one bit: the first plane is the lowest bit of the
    // index. Pixel 0 has bits in planes 0 and 2 (index 5), pixel 1 in plane 3 (index 8).
    const std::string planes = std::string("\x80\x00" "\x00\x00" "\x80\x00" "\x40\x00", 8);
    const PictureBuffer ega16 = decode_bytes(kPcx, make_pcx(2, 1, 1, 4, 2, 0, planes, ega));
    EXPECT_EQ(rgb_at(ega16, 0, 0), 0xFF00FFu);
    EXPECT_EQ(rgb_at(ega16, 1, 0), 0x808080u);
    // Two bits packed in one plane, four pixels per byte: indexes 3, 2, 1, 0.
    const PictureBuffer cga = decode_bytes(kPcx, make_pcx(4, 1, 2, 1, 2, 0, std::string("\xE4\x00", 2), ega));
    EXPECT_EQ(rgb_at(cga, 0, 0), 0xFFFF00u);
    EXPECT_EQ(rgb_at(cga, 3, 0), 0u);
    // Four bits packed: indexes 15 and 1.
    const PictureBuffer nibble = decode_bytes(kPcx, make_pcx(2, 1, 4, 1, 2, 0, std::string("\xF1\x00", 2), ega));
    EXPECT_EQ(rgb_at(nibble, 0, 0), 0xC0C0C0u);
    EXPECT_EQ(rgb_at(nibble, 1, 0), 0xFF0000u);
    // Eight bits without a table at the end: grey levels.
    const PictureBuffer grey = decode_bytes(kPcx, make_pcx(2, 1, 8, 1, 2, 0, std::string("\x10\x80", 2)));
    EXPECT_EQ(rgb_at(grey, 0, 0), 0x101010u);
    EXPECT_EQ(rgb_at(grey, 1, 0), 0x808080u);
}

TEST(PcxCodec, RunsMayCarryOverIntoTheNextLine) {
    // 2 x 2 grey, two bytes per line: one run of three 0x40, then 0x50.
    const PictureBuffer b = decode_bytes(kPcx, make_pcx(2, 2, 8, 1, 2, 1, std::string("\xC3\x40\x50", 3)));
    EXPECT_EQ(rgb_at(b, 1, 0), 0x404040u);
    EXPECT_EQ(rgb_at(b, 0, 1), 0x404040u);
    EXPECT_EQ(rgb_at(b, 1, 1), 0x505050u);
}

TEST(PcxCodec, HostileFilesGiveTheReadError) {
    std::string bad_manufacturer = make_pcx(1, 1, 8, 1, 2, 1, "\1\1");
    bad_manufacturer[0] = 0x0B;
    std::string inverted = make_pcx(1, 1, 8, 1, 2, 1, "\1\1");
    inverted[4] = 5;  // xmin beyond xmax
    std::string one_byte_runs;  // long enough to pass for compressed lines, too short to fill them
    for (int i = 0; i < 5000; ++i) one_byte_runs += std::string("\xC1\x00", 2);
    expect_faults(kPcx, {
        {"empty", "", ImagingFault::bad_data},
        {"short header", std::string(100, '\x0A'), ImagingFault::bad_data},
        {"not a PCX", bad_manufacturer, ImagingFault::bad_data},
        {"inverted window", inverted, ImagingFault::bad_data},
        {"lines narrower than the picture", make_pcx(40, 1, 8, 1, 2, 0, std::string(80, '\0')), ImagingFault::bad_data},
        {"unknown plane layout", make_pcx(1, 1, 8, 2, 2, 0, std::string(4, '\0')), ImagingFault::bad_data},
        {"unknown encoding", make_pcx(1, 1, 8, 1, 2, 7, std::string(4, '\0')), ImagingFault::bad_data},
        {"lines missing", make_pcx(100, 100, 8, 3, 100, 0, std::string(1000, '\0')), ImagingFault::bad_data},
        {"runs missing", make_pcx(300, 300, 8, 3, 300, 1, one_byte_runs), ImagingFault::bad_data},
        {"beyond the pixel limit", make_pcx(65535, 65535, 1, 1, 8192, 1, "\1"), ImagingFault::too_large},
    });
}

TEST(PcxCodec, WrittenFilesReadBackAndImageMagickAgrees) {
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{7, 5}, std::pair{130, 3}}) {
        SCOPED_TRACE(w);
        PictureBuffer original = pattern(w, h);
        // Long equal stretches and bytes with both high bits set test the runs.
        for (int32_t x = 0; x < w / 2; ++x) original.pixel(x, 0)[0] = 0xC5;
        const std::string bytes = expect_written_file_reads_back(pcx_write, kPcx, original, "pcx");
        EXPECT_EQ(type_code_for_guess(guess_file_type(bytes)), picture_type::pcx);
    }
}

}  // namespace
}  // namespace galvora::test
