// Metafiles: EMF and WMF holding one bitmap (written by us, read by our
// record walker and, for WMF, drawn by libwmf as a cross-check), vector WMF
// drawn through libwmf, and hostile records.
#include <gtest/gtest.h>

#include <cstring>

#include "image/owncodecs/metafile_codec.h"
#include "image/owncodecs/owncodec_test_support.h"
#include "image/owncodecs/wmf_renderer.h"
#include "image/picture_type.h"

namespace galvora::test {
namespace {

const Reader kMetafile = [](FILE* f) { return metafile_read(f); };

Writer writer_for(MetafileFormat format) {
    return [format](const PictureBuffer& b, FILE* f) { metafile_write(b, f, format); };
}

// A placeable WMF of 100 x 50 units at 96 per inch: a red rectangle filling
// the window.
std::string vector_wmf() {
    std::string records;
    auto record = [&](uint16_t function, std::initializer_list<uint16_t> params) {
        append_le32(records, static_cast<uint32_t>(3 + params.size()));
        append_le16(records, function);
        for (uint16_t p : params) append_le16(records, p);
    };
    record(0x020B, {0, 0});               // window origin
    record(0x020C, {50, 100});            // window extent
    record(0x02FC, {0, 0x00FF, 0, 0});    // solid red brush
    record(0x012D, {0});                  // select it
    record(0x041B, {50, 100, 0, 0});      // rectangle
    record(0x0000, {});
    std::string s;
    const uint16_t placeable[10] = {0xCDD7, 0x9AC6, 0, 0, 0, 100, 50, 96, 0, 0};
    uint16_t checksum = 0;
    for (uint16_t v : placeable) append_le16(s, v), checksum ^= v;
    append_le16(s, checksum);
    append_le16(s, 1);
    append_le16(s, 9);
    append_le16(s, 0x0300);
    append_le32(s, static_cast<uint32_t>(9 + records.size() / 2));
    append_le16(s, 1);
    append_le32(s, 7);
    append_le16(s, 0);
    return s + records;
}

TEST(Metafile, OneBitmapMetafilesReadBackUnchanged) {
    for (MetafileFormat format : {MetafileFormat::emf, MetafileFormat::wmf}) {
        for (const auto& [w, h] : {std::pair{1, 1}, std::pair{7, 5}, std::pair{33, 2}}) {
            SCOPED_TRACE(std::to_string(w) + (format == MetafileFormat::emf ? " EMF" : " WMF"));
            const PictureBuffer original = pattern(w, h);
            const std::string bytes = encode_bytes(writer_for(format), original);
            EXPECT_EQ(type_code_for_guess(guess_file_type(bytes)), picture_type::metafile);
            EXPECT_TRUE(same_pixels(decode_bytes(kMetafile, bytes), original));
            int32_t dw = 0, dh = 0;
            with_stream(bytes, [&](FILE* f) {
                metafile_read_dims(f, dw, dh);
                return 0;
            });
            EXPECT_EQ(dw, w);
            EXPECT_EQ(dh, h);
        }
    }
}

TEST(Metafile, LibwmfDrawsOurWmfTheRightWayRound) {
    // Four blocks of distinct colours; libwmf smooths the bitmap as it draws
    // it, so the blocks' centres are compared, which shows any flip or
    // swapped channel.
    PictureBuffer original = PictureBuffer::allocate(32, 32);
    const uint8_t colours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
    for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 0; x < 32; ++x) std::memcpy(original.pixel(x, y), colours[(y / 16) * 2 + x / 16], 3);
    const std::string bytes = encode_bytes(writer_for(MetafileFormat::wmf), original);
    const PictureBuffer drawn = wmf_render(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    ASSERT_EQ(drawn.width(), 32);
    ASSERT_EQ(drawn.height(), 32);
    for (int block = 0; block < 4; ++block) {
        const int32_t x = (block % 2) * 16 + 8, y = (block / 2) * 16 + 8;
        EXPECT_EQ(std::memcmp(drawn.pixel(x, y), colours[block], 3), 0) << "block " << block;
    }
}

TEST(Metafile, VectorWmfIsDrawnThroughLibwmf) {
    const std::string bytes = vector_wmf();
    EXPECT_EQ(type_code_for_guess(guess_file_type(bytes)), picture_type::metafile);
    const PictureBuffer b = decode_bytes(kMetafile, bytes);
    ASSERT_EQ(b.width(), 100);
    ASSERT_EQ(b.height(), 50);
    const uint8_t* centre = b.pixel(50, 25);
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(centre[1], 0);
    EXPECT_EQ(centre[2], 0);
}

TEST(Metafile, EmfDrawingsAndHostileRecordsGiveTheReadError) {
    const std::string emf = encode_bytes(writer_for(MetafileFormat::emf), pattern(4, 4));
    const std::string wmf = encode_bytes(writer_for(MetafileFormat::wmf), pattern(4, 4));
    auto patched32 = [](std::string s, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        return s;
    };
    // The EMF header is 88 bytes; the bitmap record follows.
    std::string emf_without_bitmap = emf.substr(0, 88);
    append_le32(emf_without_bitmap, 43);  // a rectangle: drawing that only a full renderer shows
    append_le32(emf_without_bitmap, 24);
    emf_without_bitmap += std::string(16, '\0');
    emf_without_bitmap += emf.substr(emf.size() - 20);
    std::string two_bitmaps = emf.substr(0, emf.size() - 20) + emf.substr(88, emf.size() - 108) + emf.substr(emf.size() - 20);
    expect_faults(kMetafile, {
        {"empty", "", ImagingFault::bad_data},
        {"EMF drawing without a bitmap", emf_without_bitmap, ImagingFault::bad_data},
        {"EMF with two bitmaps", two_bitmaps, ImagingFault::bad_data},
        {"EMF record beyond the file", patched32(emf, 92, 0x7FFFFFF0), ImagingFault::bad_data},
        {"EMF record size not in words", patched32(emf, 92, 0x83), ImagingFault::bad_data},
        {"EMF bitmap header beyond its record", patched32(emf, 88 + 48, 0x7FFFFF00), ImagingFault::bad_data},
        {"EMF bitmap rows beyond their record", patched32(emf, 88 + 60, 0x7FFFFF00), ImagingFault::bad_data},
        {"EMF bitmap beyond the pixel limit", patched32(patched32(emf, 88 + 80 + 4, 60000), 88 + 80 + 8, 60000),
         ImagingFault::too_large},
        {"EMF bitmap larger than its rows", patched32(emf, 88 + 80 + 4, 4000), ImagingFault::bad_data},
        {"WMF record beyond the file", patched32(wmf, 22 + 18, 0x7FFFFFF0), ImagingFault::bad_data},
        {"WMF record of no size", patched32(wmf, 22 + 18, 0), ImagingFault::bad_data},
        {"WMF with a wrong header size", patched32(wmf, 22, 0x00070001), ImagingFault::bad_data},
    });
}

TEST(Metafile, DrawingsLibwmfCannotFinishGiveTheReadError) {
    // Found by fuzzing the whole metafile reader: a header that promises a
    // record larger than the file (libwmf would allocate it), and a drawing
    // on which libwmf never returns (its worker is stopped after its CPU
    // time).
    const std::string dir = std::string(GALVORA_SOURCE_DIR) + "/tests/image/owncodecs/regressions/libwmf/";
    for (const char* name : {"huge-record-buffer.wmf", "endless-bitmap.wmf"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(fault_of(kMetafile, read_bytes(dir + name)), ImagingFault::bad_data);
    }
    // The size query goes through the same worker.
    int32_t w = 0, h = 0;
    EXPECT_THROW(with_stream(read_bytes(dir + "huge-record-buffer.wmf"),
                             [&](FILE* f) {
                                 metafile_read_dims(f, w, h);
                                 return 0;
                             }),
                 ImagingFailure);
}

TEST(Metafile, PicturesTooLargeForWmfAreRefused) {
    EXPECT_THROW(encode_bytes(writer_for(MetafileFormat::wmf), PictureBuffer::allocate(40000, 1)), ImagingFailure);
    const PictureBuffer wide = pattern(40000, 1);
    EXPECT_TRUE(same_pixels(decode_bytes(kMetafile, encode_bytes(writer_for(MetafileFormat::emf), wide)), wide));
}

}  // namespace
}  // namespace galvora::test
