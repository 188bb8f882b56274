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

#include "image/imaging_error.h"
#include "image/picture_io.h"
#include "image_test_support.h"

// Allocation hooks of the sanitizer runtime; absent in a build without it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, std::size_t),
                                                         void (*)(const volatile void*)) __attribute__((weak));

namespace galvora {
namespace {

using test::TempDir;

// The largest single allocation made while a watch is on. The hooks stay
// installed for the rest of the run; they note sizes only while watching.
std::atomic<bool> watching{false};
std::atomic<std::size_t> largest{0};

void note_allocation(const volatile void*, std::size_t size) {
    if (!watching.load(std::memory_order_relaxed)) return;
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

template <typename F>
std::size_t largest_allocation_in(F&& op) {
    largest = 0;
    watching = true;
    op();
    watching = false;
    return largest;
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
        std::size_t block = 0;
        long number = 0;
        block = largest_allocation_in([&] { number = expect_read_error(path); });
        EXPECT_EQ(number, imaging_error_number(ImagingFault::bad_data));
        EXPECT_LT(block, kReasonableBlock);
    }
}

}  // namespace
}  // namespace galvora
