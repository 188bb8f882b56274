// Hostile files for the readers that work through libraries (PNG, TIFF, GIF,
// camera RAW), each made here in its smallest form: they must come back as
// the read error, without a crash, an over-read, a hang or a block of the
// size the file merely declares.
#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/imaging_error.h"
#include "image/picture_io.h"
#include "image_test_support.h"

// Allocation hooks of the sanitizer runtime; absent in a build without it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, std::size_t),
                                                         void (*)(const volatile void*)) __attribute__((weak));

namespace galvora {
namespace {

using test::TempDir;

// The largest single allocation and the sum of all allocations made while a
// watch is on. The hooks stay installed for the rest of the run; they note
// sizes only while watching.
std::atomic<bool> watching{false};
std::atomic<std::size_t> largest{0};
std::atomic<std::size_t> total{0};

void note_allocation(const volatile void*, std::size_t size) {
    if (!watching.load(std::memory_order_relaxed)) return;
    total += size;
    std::size_t seen = largest.load(std::memory_order_relaxed);
    while (size > seen && !largest.compare_exchange_weak(seen, size)) {
    }
}
void note_release(const volatile void*) {}

bool can_watch_allocations() {
    static const bool installed = __sanitizer_install_malloc_and_free_hooks != nullptr &&
                                  __sanitizer_install_malloc_and_free_hooks(note_allocation, note_release) != 0;
    return installed;
}

struct Allocations {
    std::size_t largest = 0;
    std::size_t total = 0;
};

template <typename F>
Allocations allocations_in(F&& op) {
    largest = 0;
    total = 0;
    watching = true;
    op();
    watching = false;
    return {largest, total};
}

// No reader may take more than this for a file of a few hundred bytes
// whose pictures are all far below the pixel limit.
constexpr std::size_t kReasonableBlock = 64u << 20;

std::string be32(uint32_t n) {
    return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)};
}

// A chunk with a correct checksum; declared_length, when given, replaces the
// length field (the data then stops short of it).
std::string png_chunk(const std::string& type, const std::string& data, uint32_t declared_length = 0) {
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type.data()), 4);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
    return be32(declared_length ? declared_length : static_cast<uint32_t>(data.size())) + type + data +
           be32(static_cast<uint32_t>(crc));
}

// Reads and measures path with the generic reader and expects the read error
// for both; returns the error number of the read.
long expect_read_error(const std::string& path) {
    long number = 0;
    PictureBuffer b;
    int32_t w = 0, h = 0;
    CapturedMetadata meta;
    try {
        ReadImage(path, picture_type::undetermined, b, w, h, &meta);
        ADD_FAILURE() << "read without error";
    } catch (const GalvoraError& e) {
        EXPECT_EQ(e.source(), "ReadImage");
        EXPECT_EQ(e.description(), "IS_ReadXXX");
        number = e.number();
        EXPECT_TRUE(b.empty());
        EXPECT_TRUE(meta.empty());
    }
    try {
        GetImageDims(path, picture_type::undetermined, w, h, nullptr, &meta);
    } catch (const GalvoraError& e) {
        EXPECT_EQ(e.description(), "IS_GetXXXDims");
    }
    return number;
}

// A 16 x 12 palette picture whose header is followed by an ancillary chunk
// that declares about 1.2 GB and ends the file after a few bytes. libpng
// used to reserve the declared size for the chunk before reading a byte of
// it.
TEST(HostileLibraryFiles, PngChunkDeclaringGigabytesTakesNoSuchBlock) {
    if (!can_watch_allocations()) GTEST_SKIP() << "needs the sanitizer's allocation hooks";
    TempDir dir;
    const std::string header = "\x89PNG\r\n\x1A\n" +
                               png_chunk("IHDR", be32(16) + be32(12) + std::string("\x08\x03\x00\x00\x00", 5)) +
                               png_chunk("PLTE", std::string(6, '\x40'));
    for (const char* type : {"tEXt", "zTXt", "iTXt", "eXIf", "sPLT", "pCAL", "sCAL", "iCCP", "gAMA", "hIST"}) {
        SCOPED_TRACE(type);
        const std::string path = dir.file(std::string(type) + ".png");
        test::write_bytes(path, header + png_chunk(type, std::string("key\0\0\0data", 11), 0x48000025u));
        long number = 0;
        const Allocations taken = allocations_in([&] { number = expect_read_error(path); });
        EXPECT_EQ(number, imaging_error_number(ImagingFault::bad_data));
        EXPECT_LT(taken.largest, kReasonableBlock);
    }
}

// A PNG of a hundred bytes declaring 15000 x 15000 pixels: its data could
// never fill them (deflate packs at most 1032 bytes into one), so the reader
// refuses it before allocating the picture. A file of the same kind whose
// size would allow its rows is still read up to its truncated data.
TEST(HostileLibraryFiles, PngDeclaringMoreRowsThanItsDataCanHoldTakesNoPictureBlock) {
    if (!can_watch_allocations()) GTEST_SKIP() << "needs the sanitizer's allocation hooks";
    TempDir dir;
    auto png = [](uint32_t w, uint32_t h) {
        const std::string row(1 + 3 * 2, '\0');  // filter byte and two grey pixels
        uLongf packed_size = compressBound(static_cast<uLong>(row.size() * 2));
        std::string packed(packed_size, '\0');
        const std::string raw = row + row;
        compress(reinterpret_cast<Bytef*>(packed.data()), &packed_size, reinterpret_cast<const Bytef*>(raw.data()),
                 static_cast<uLong>(raw.size()));
        packed.resize(packed_size);
        return "\x89PNG\r\n\x1A\n" + png_chunk("IHDR", be32(w) + be32(h) + std::string("\x08\x02\x00\x00\x00", 5)) +
               png_chunk("IDAT", packed) + png_chunk("IEND", "");
    };
    const std::string huge = dir.file("huge.png");
    test::write_bytes(huge, png(15000, 15000));
    ASSERT_LT(test::read_bytes(huge).size(), 200u);
    long number = 0;
    const Allocations taken = allocations_in([&] { number = expect_read_error(huge); });
    EXPECT_EQ(number, imaging_error_number(ImagingFault::bad_data));
    EXPECT_LT(taken.largest, kReasonableBlock);

    // Two rows declared and present: read as usual.
    const std::string small = dir.file("small.png");
    test::write_bytes(small, png(2, 2));
    PictureBuffer b;
    int32_t w = 0, h = 0;
    ReadImage(small, picture_type::undetermined, b, w, h);
    EXPECT_EQ(b.width(), 2);
    EXPECT_EQ(b.height(), 2);
}

std::string le16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }

// A GIF picture made here: a logical screen with a global table of 256
// colours and a background index, and one image placed on it.
struct GifImage {
    int left, top, width, height;
    bool interlaced = false;
    bool local_table = false;  // a table of its own, colours unlike the global ones
};

uint8_t global_colour(int index, int channel) { return static_cast<uint8_t>(index * (channel + 3) + 17 * channel); }
uint8_t local_colour(int index, int channel) { return static_cast<uint8_t>(255 - index * (channel + 2)); }
uint8_t image_index(int x, int y) { return static_cast<uint8_t>((x * 5 + y * 11) % 256); }

std::string colour_table(uint8_t (*colour)(int, int)) {
    std::string table;
    for (int i = 0; i < 256; ++i)
        for (int ch = 0; ch < 3; ++ch) table += static_cast<char>(colour(i, ch));
    return table;
}

// LZW data that never grows past 9-bit codes: a clear code before every
// run of 250 literals.
std::string lzw_literals(const std::string& indexes) {
    std::string bytes;
    uint32_t acc = 0;
    int bits = 0;
    auto put = [&](uint32_t code) {
        acc |= code << bits;
        bits += 9;
        while (bits >= 8) {
            bytes += static_cast<char>(acc & 0xFF);
            acc >>= 8;
            bits -= 8;
        }
    };
    for (size_t i = 0; i < indexes.size(); ++i) {
        if (i % 250 == 0) put(256);
        put(static_cast<uint8_t>(indexes[i]));
    }
    put(257);
    if (bits > 0) bytes += static_cast<char>(acc & 0xFF);
    std::string blocks(1, '\x08');
    for (size_t p = 0; p < bytes.size(); p += 255) {
        const std::string part = bytes.substr(p, 255);
        blocks += static_cast<char>(part.size()) + part;
    }
    return blocks + std::string(1, '\0');
}

std::string make_gif(int screen_w, int screen_h, int background, const GifImage& im) {
    std::string gif = "GIF89a" + le16(screen_w) + le16(screen_h) + "\xF7" + static_cast<char>(background) + '\0';
    gif += colour_table(global_colour);
    gif += "\x2C" + le16(im.left) + le16(im.top) + le16(im.width) + le16(im.height);
    gif += static_cast<char>((im.local_table ? 0x87 : 0) | (im.interlaced ? 0x40 : 0));
    if (im.local_table) gif += colour_table(local_colour);
    // Rows in file order: an interlaced image keeps every eighth row first.
    std::vector<int> rows;
    if (im.interlaced) {
        const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < im.height; y += step[pass]) rows.push_back(y);
    } else {
        for (int y = 0; y < im.height; ++y) rows.push_back(y);
    }
    std::string indexes;
    for (int y : rows)
        for (int x = 0; x < im.width; ++x) indexes += static_cast<char>(image_index(x, y));
    return gif + lzw_literals(indexes) + "\x3B";
}

// The image's pixels where it lies, the background colour elsewhere; both
// through the image's own table when it has one.
TEST(HostileLibraryFiles, GifImageIsPlacedOnItsScreen) {
    TempDir dir;
    struct Case {
        const char* name;
        int screen_w, screen_h;
        GifImage image;
        int canvas_w, canvas_h;  // the picture's size: the screen, or the image when it does not fit
    };
    const Case cases[] = {
        {"inside", 40, 30, {5, 4, 13, 9}, 40, 30},
        {"interlaced", 40, 30, {7, 3, 11, 19, true}, 40, 30},
        {"own table", 40, 30, {2, 6, 9, 7, false, true}, 40, 30},
        {"whole screen", 17, 12, {0, 0, 17, 12}, 17, 12},
        {"beyond the screen", 10, 10, {6, 6, 9, 8}, 9, 8},
    };
    const int background = 200;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("placed.gif");
        test::write_bytes(path, make_gif(c.screen_w, c.screen_h, background, c.image));
        PictureBuffer b;
        int32_t w = 0, h = 0;
        ReadImage(path, picture_type::undetermined, b, w, h);
        ASSERT_EQ(w, c.canvas_w);
        ASSERT_EQ(h, c.canvas_h);
        const bool fits = c.canvas_w == c.screen_w;
        const int left = fits ? c.image.left : 0, top = fits ? c.image.top : 0;
        auto colour = c.image.local_table ? local_colour : global_colour;
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool in = x >= left && x < left + c.image.width && y >= top && y < top + c.image.height;
                const int index = in ? image_index(x - left, y - top) : background;
                for (int ch = 0; ch < 3; ++ch) wrong += b.pixel(x, y)[ch] != colour(index, ch);
            }
        EXPECT_EQ(wrong, 0);
    }
}

// A 40-byte GIF may declare a screen of tens of millions of pixels around a
// one-pixel image. The reader used to keep a second map of the whole screen
// and walk it pixel by pixel (a minute under the sanitizers at the default
// limit); the picture's own block is all it may take now.
TEST(HostileLibraryFiles, GifScreenAroundATinyImageTakesOnlyThePicture) {
    if (!can_watch_allocations()) GTEST_SKIP() << "needs the sanitizer's allocation hooks";
    TempDir dir;
    const int screen_w = 16000, screen_h = 1500;
    const std::string path = dir.file("screen.gif");
    const std::string gif = make_gif(screen_w, screen_h, 3, {0, 0, 1, 1});
    test::write_bytes(path, gif);
    ASSERT_LT(gif.size(), 1000u);
    PictureBuffer b;
    int32_t w = 0, h = 0;
    const Allocations taken = allocations_in([&] { ReadImage(path, picture_type::undetermined, b, w, h); });
    ASSERT_EQ(w, screen_w);
    ASSERT_EQ(h, screen_h);
    const std::size_t picture_bytes = static_cast<std::size_t>(screen_w) * screen_h * 3;
    EXPECT_LT(taken.total, picture_bytes + picture_bytes / 8);
    EXPECT_EQ(b.pixel(0, 0)[1], global_colour(image_index(0, 0), 1));
    EXPECT_EQ(b.pixel(screen_w - 1, screen_h - 1)[1], global_colour(3, 1));
}

}  // namespace
}  // namespace galvora

namespace galvora {
namespace {

// A GIF of a few dozen bytes declaring an image just below the pixel limit,
// and TIFFs of a few hundred bytes declaring 15000 x 15000 pixels, plain and
// LZW-packed: their data could never fill them, so the readers refuse them
// before allocating the picture. Files whose size allows their pictures are
// read as usual, and a BigTIFF is taken for a TIFF by the generic reader.
TEST(HostileLibraryFiles, GifAndTiffDeclaringMorePixelsThanTheirDataCanHoldTakeNoPictureBlock) {
    if (!can_watch_allocations()) GTEST_SKIP() << "needs the sanitizer's allocation hooks";
    TempDir dir;
    // Screen and image of 15800 x 15800, no colour table, an LZW stream
    // that ends at once.
    const std::string tiny_gif = "GIF89a" + le16(15800) + le16(15800) + std::string("\x00\x00\x00", 3) + "\x2C" +
                                 le16(0) + le16(0) + le16(15800) + le16(15800) + std::string("\x00\x02\x02\x44\x01\x00\x3B", 7);
    ASSERT_LT(tiny_gif.size(), 40u);
    auto le32 = [](uint32_t v) { return le16(static_cast<int>(v & 0xFFFF)) + le16(static_cast<int>(v >> 16)); };
    // One strip of an RGB TIFF, the strip's bytes given; compression 1 or 5.
    auto tiff = [&](uint32_t w, uint32_t h, int compression, const std::string& strip) {
        std::string t = "II*" + std::string(1, '\0') + le32(8);
        const int entries = 9;
        std::string ifd = le16(entries);
        const uint32_t data_at = 8 + 2 + entries * 12 + 4 + 6;
        auto entry = [&](int tag, int type, uint32_t count, uint32_t value) {
            ifd += le16(tag) + le16(type) + le32(count) + le32(value);
        };
        entry(256, 4, 1, w);
        entry(257, 4, 1, h);
        entry(258, 3, 3, data_at - 6);  // bits per sample, three shorts below
        entry(259, 3, 1, static_cast<uint32_t>(compression));
        entry(262, 3, 1, 2);
        entry(273, 4, 1, data_at);
        entry(277, 3, 1, 3);
        entry(278, 4, 1, h);
        entry(279, 4, 1, static_cast<uint32_t>(strip.size()));
        return t + ifd + le32(0) + le16(8) + le16(8) + le16(8) + strip;
    };
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case huge[] = {
        {"gif", tiny_gif},
        {"tiff plain", tiff(15000, 15000, 1, std::string(64, '\x7F'))},
        {"tiff lzw", tiff(15000, 15000, 5, std::string(64, '\x7F'))},
    };
    for (const Case& c : huge) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(std::string(c.name) + ".bin");
        test::write_bytes(path, c.bytes);
        long number = 0;
        const Allocations taken = allocations_in([&] { number = expect_read_error(path); });
        EXPECT_EQ(number, imaging_error_number(ImagingFault::bad_data));
        EXPECT_LT(taken.largest, kReasonableBlock);
        // Measuring refuses them as well, so a run leaves them out before it
        // plans pages and thumbnails around them.
        int32_t w = 0, h = 0;
        EXPECT_THROW(GetImageDims(path, picture_type::undetermined, w, h), GalvoraError);
    }

    // Small pictures whose data is all there.
    std::string pixels;
    for (int i = 0; i < 4 * 3 * 3; ++i) pixels += static_cast<char>(i * 7);
    std::string big_tiff = tiff(4, 3, 1, pixels);
    const std::string small_tiff = dir.file("small.tif");
    test::write_bytes(small_tiff, big_tiff);
    PictureBuffer b;
    int32_t w = 0, h = 0;
    ReadImage(small_tiff, picture_type::undetermined, b, w, h);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(b.pixel(1, 0)[0], static_cast<uint8_t>(3 * 7));
    const std::string small_gif = dir.file("small.gif");
    test::write_bytes(small_gif, make_gif(6, 5, 0, {0, 0, 6, 5}));
    ReadImage(small_gif, picture_type::undetermined, b, w, h);
    EXPECT_EQ(w, 6);

    // The same picture as a BigTIFF: an eight-byte header with version 43.
    auto le64 = [&](uint64_t v) { return le32(static_cast<uint32_t>(v)) + le32(static_cast<uint32_t>(v >> 32)); };
    const int entries = 9;
    std::string bt = "II+" + std::string(1, '\0') + le16(8) + le16(0) + le64(16);
    const uint64_t data_at = 16 + 8 + entries * 20 + 8 + 6;
    std::string ifd = le64(entries);
    auto entry = [&](int tag, int type, uint64_t count, uint64_t value) {
        ifd += le16(tag) + le16(type) + le64(count) + le64(value);
    };
    entry(256, 16, 1, 4);
    entry(257, 16, 1, 3);
    entry(258, 3, 3, 0x0000000800080008ull);  // the three shorts 8, 8, 8 fit the entry itself
    entry(259, 3, 1, 1);
    entry(262, 3, 1, 2);
    entry(273, 16, 1, data_at);
    entry(277, 3, 1, 3);
    entry(278, 16, 1, 3);
    entry(279, 16, 1, pixels.size());
    bt += ifd + le64(0) + std::string(6, '\0') + pixels;
    const std::string bigtiff = dir.file("big.tif");
    test::write_bytes(bigtiff, bt);
    ReadImage(bigtiff, picture_type::undetermined, b, w, h);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(b.pixel(1, 0)[0], static_cast<uint8_t>(3 * 7));
}

}  // namespace
}  // namespace galvora
