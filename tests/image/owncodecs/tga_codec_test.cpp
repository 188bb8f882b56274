// TGA reading and writing: the Truevision suite of the npm "tga" package
// against its PNG references, the four origins, packets across rows, and
// hostile headers.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/owncodecs/tga_codec.h"
#include "image/owncodecs/owncodec_test_support.h"
#include "image/picture_type.h"

namespace galvora::test {
namespace {

const Reader kTga = [](FILE* f) { return tga_read(f); };

// An 18-byte header followed by body.
std::string make_tga(uint8_t type, int32_t w, int32_t h, uint8_t depth, uint8_t descriptor, const std::string& body,
                     uint8_t map_type = 0, uint16_t map_length = 0, uint8_t map_bits = 0) {
    std::string s(18, '\0');
    s[1] = static_cast<char>(map_type);
    s[2] = static_cast<char>(type);
    s[5] = static_cast<char>(map_length & 0xFF);
    s[6] = static_cast<char>(map_length >> 8);
    s[7] = static_cast<char>(map_bits);
    s[12] = static_cast<char>(w & 0xFF);
    s[13] = static_cast<char>(w >> 8);
    s[14] = static_cast<char>(h & 0xFF);
    s[15] = static_cast<char>(h >> 8);
    s[16] = static_cast<char>(depth);
    s[17] = static_cast<char>(descriptor);
    return s + body;
}

TEST(TgaCodec, TruevisionSuiteDecodesToItsReferences) {
    const std::filesystem::path dir = owncodec_data("tga/package/testFiles");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".tga") continue;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ++files;
        const std::string bytes = read_bytes(entry.path().string());
        ASSERT_GE(bytes.size(), 18u);
        const PictureBuffer got = decode_bytes(kTga, bytes);
        const PictureBuffer want = read_png(entry.path().string() + ".png");
        ASSERT_EQ(got.width(), want.width());
        ASSERT_EQ(got.height(), want.height());
        const uint8_t type = static_cast<uint8_t>(bytes[2]), map_bits = static_cast<uint8_t>(bytes[7]),
                      depth = static_cast<uint8_t>(bytes[16]);
        if ((type == 3 || type == 11) && depth == 16) {
            // The reference decoder stores the alpha byte of grey-and-alpha
            // pixels in green; red and blue carry the grey level.
            for (size_t i = 0; i < got.size_bytes(); i += 3) {
                ASSERT_EQ(got.data()[i], want.data()[i]) << "pixel " << i / 3;
                ASSERT_EQ(got.data()[i + 2], want.data()[i + 2]) << "pixel " << i / 3;
            }
            continue;
        }
        // Five-bit channels: the reference shifts them up with empty low
        // bits, we repeat the high bits so that full intensity stays 255.
        const bool five_bit = depth == 15 || depth == 16 || ((type == 1 || type == 9) && map_bits <= 16);
        EXPECT_LE(max_difference(got, want), five_bit ? 7 : 0);
    }
    EXPECT_GE(files, 30);
}

TEST(TgaCodec, EveryOriginGivesTheSameUprightPicture) {
    // 2 x 2 grey: top row 10 20, bottom row 30 40, stored from each corner.
    struct Case {
        uint8_t descriptor;
        std::string body;
    };
    const Case cases[] = {
        {0x00, std::string("\x1E\x28\x0A\x14", 4)},  // bottom left
        {0x10, std::string("\x28\x1E\x14\x0A", 4)},  // bottom right
        {0x20, std::string("\x0A\x14\x1E\x28", 4)},  // top left
        {0x30, std::string("\x14\x0A\x28\x1E", 4)},  // top right
    };
    for (const Case& c : cases) {
        const PictureBuffer b = decode_bytes(kTga, make_tga(3, 2, 2, 8, c.descriptor, c.body));
        EXPECT_EQ(b.pixel(0, 0)[0], 10) << int(c.descriptor);
        EXPECT_EQ(b.pixel(1, 0)[0], 20) << int(c.descriptor);
        EXPECT_EQ(b.pixel(0, 1)[0], 30) << int(c.descriptor);
        EXPECT_EQ(b.pixel(1, 1)[1], 40) << int(c.descriptor);
    }
}

TEST(TgaCodec, RunLengthPacketsMayCrossRows) {
    // 3 x 2 true colour, top first: one run of four red pixels, then a raw
    // packet of two (green, blue).
    const std::string body = std::string("\x83\x00\x00\xFF" "\x01\x00\xFF\x00\xFF\x00\x00", 11);
    const PictureBuffer b = decode_bytes(kTga, make_tga(10, 3, 2, 24, 0x20, body));
    EXPECT_EQ(b.pixel(2, 0)[0], 255);
    EXPECT_EQ(b.pixel(0, 1)[0], 255);
    EXPECT_EQ(b.pixel(1, 1)[1], 255);
    EXPECT_EQ(b.pixel(2, 1)[2], 255);
}

TEST(TgaCodec, HostileFilesGiveTheReadError) {
    expect_faults(kTga, {
        {"empty", "", ImagingFault::bad_data},
        {"short header", std::string(10, '\0'), ImagingFault::bad_data},
        {"unknown image type", make_tga(4, 1, 1, 24, 0, "abc"), ImagingFault::bad_data},
        {"zero width", make_tga(2, 0, 1, 24, 0, "abc"), ImagingFault::bad_data},
        {"odd depth", make_tga(2, 1, 1, 12, 0, "abc"), ImagingFault::bad_data},
        {"colour map of 8-bit entries", make_tga(1, 1, 1, 8, 0, "\1\2", 1, 1, 8), ImagingFault::bad_data},
        {"mapped picture without a map", make_tga(1, 1, 1, 8, 0, "\1"), ImagingFault::bad_data},
        {"rows missing", make_tga(2, 100, 100, 24, 0, std::string(299, 'x')), ImagingFault::bad_data},
        {"runs missing", make_tga(10, 100, 100, 24, 0, std::string("\xFF\1\2\3", 4) + std::string(80, '\0')),
         ImagingFault::bad_data},
        {"a large picture in a tiny file", make_tga(10, 10000, 10000, 24, 0, "\xFF\1\2\3"), ImagingFault::bad_data},
        {"beyond the pixel limit", make_tga(10, 65535, 65535, 24, 0, "\xFF\1\2\3"), ImagingFault::too_large},
    });

    // Above the pixel limit the picture is refused before its block exists.
    set_pixel_limit(100);
    EXPECT_EQ(fault_of(kTga, make_tga(2, 11, 10, 8, 0, std::string(110, '\0'))), ImagingFault::bad_data);
    EXPECT_EQ(fault_of(kTga, make_tga(3, 11, 10, 8, 0, std::string(110, '\0'))), ImagingFault::too_large);
    set_pixel_limit(0);
}

TEST(TgaCodec, MapIndexesOutsideTheMapShowBlack) {
    // A map of two entries numbered from 5; indexes 5, 6 and 200.
    std::string s = make_tga(1, 3, 1, 8, 0x20, "", 1, 2, 24);
    s[3] = 5;  // first entry's index
    s += std::string("\x00\x00\xFF" "\x00\xFF\x00", 6);
    s += std::string("\x05\x06\xC8", 3);
    const PictureBuffer b = decode_bytes(kTga, s);
    EXPECT_EQ(b.pixel(0, 0)[0], 255);
    EXPECT_EQ(b.pixel(1, 0)[1], 255);
    EXPECT_EQ(b.pixel(2, 0)[0] + b.pixel(2, 0)[1] + b.pixel(2, 0)[2], 0);
}

TEST(TgaCodec, WrittenFilesReadBackAndImageMagickAgrees) {
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{7, 5}}) {
        SCOPED_TRACE(w);
        // ImageMagick keeps the bottom-left origin as a mere orientation tag
        // unless asked to apply it.
        const std::string bytes = expect_written_file_reads_back(tga_write, kTga, pattern(w, h), "tga", "", "-auto-orient");
        EXPECT_EQ(type_code_for_guess(guess_file_type(bytes)), picture_type::tga);
    }
    EXPECT_THROW(encode_bytes(tga_write, PictureBuffer::allocate(70000, 1)), ImagingFailure);
}

}  // namespace
}  // namespace galvora::test
