#pragma once
// Helpers for the tests of our own codecs: fetched third-party pictures
// (a missing file fails the test), reading through a codec function from a
// file or from bytes, pixel comparison, and fixtures made by ImageMagick.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "image/codecs/png_codec.h"
#include "image/imaging_error.h"
#include "image/picture_buffer.h"
#include "image/image_test_support.h"

namespace galvora::test {

inline std::string owncodec_data(const std::string& relative) {
    const std::filesystem::path p = std::filesystem::path(GALVORA_TESTDATA_DIR) / "owncodecs" / relative;
    if (!std::filesystem::exists(p))
        ADD_FAILURE() << "test picture missing: " << p << " (run scripts/fetch-testdata.sh <build>/testdata)";
    return p.string();
}

using Reader = std::function<PictureBuffer(FILE*)>;
using Writer = std::function<void(const PictureBuffer&, FILE*)>;

// Runs fn on an opened stream of bytes held in memory.
template <typename Fn>
auto with_stream(const std::string& bytes, Fn&& fn) {
    // fmemopen refuses an empty buffer; an empty temporary file stands in.
    std::string copy = bytes;
    FILE* f = copy.empty() ? std::tmpfile() : fmemopen(copy.data(), copy.size(), "rb");
    if (!f) throw std::runtime_error("cannot open a stream over the test bytes");
    struct Closer {
        FILE* f;
        ~Closer() { std::fclose(f); }
    } closer{f};
    return fn(f);
}

inline PictureBuffer decode_bytes(const Reader& read, const std::string& bytes) {
    return with_stream(bytes, [&](FILE* f) { return read(f); });
}

inline PictureBuffer decode_file(const Reader& read, const std::string& path) {
    return decode_bytes(read, read_bytes(path));
}

inline std::string encode_bytes(const Writer& write, const PictureBuffer& buffer) {
    char* data = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&data, &size);
    if (!f) throw std::runtime_error("cannot open a stream for the written bytes");
    struct Closer {
        FILE* f;
        char*& data;
        ~Closer() {
            if (f) std::fclose(f);
            std::free(data);
        }
    } closer{f, data};
    write(buffer, f);
    std::fclose(f);
    closer.f = nullptr;
    return std::string(data, size);
}

// The fault a reader reports for these bytes; general when it succeeds.
inline ImagingFault fault_of(const Reader& read, const std::string& bytes) {
    try {
        decode_bytes(read, bytes);
    } catch (const ImagingFailure& e) {
        return e.fault();
    }
    return ImagingFault::general;
}

// A hostile input and the fault its reader must report.
struct FaultCase {
    const char* what;
    std::string bytes;
    ImagingFault fault;
};

inline void expect_faults(const Reader& read, const std::vector<FaultCase>& cases) {
    for (const FaultCase& c : cases) EXPECT_EQ(fault_of(read, c.bytes), c.fault) << c.what;
}

// Little- and big-endian integers appended to hand-made files.
inline void append_le16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
inline void append_le32(std::string& s, uint32_t v) {
    append_le16(s, v & 0xFFFF);
    append_le16(s, v >> 16);
}
inline void append_be16(std::string& s, uint32_t v) {
    s += static_cast<char>((v >> 8) & 0xFF);
    s += static_cast<char>(v & 0xFF);
}
inline void append_be32(std::string& s, uint32_t v) {
    append_be16(s, v >> 16);
    append_be16(s, v & 0xFFFF);
}

inline PictureBuffer read_png(const std::string& path) {
    return decode_file([](FILE* f) { return png_read(f, nullptr); }, path);
}

// Runs ImageMagick (the real one, for fixtures and cross-checks); true when
// it succeeded.
inline bool magick(const std::string& arguments) {
    const std::string command = "/usr/bin/convert " + arguments + " 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

// Writes original, reads it back with our reader and has ImageMagick read
// the same file ("<file><input_suffix>", then options): both must give the
// original pixels. Returns the written bytes.
inline std::string expect_written_file_reads_back(const Writer& write, const Reader& read,
                                                  const PictureBuffer& original, const std::string& extension,
                                                  const std::string& input_suffix = "",
                                                  const std::string& options = "") {
    const std::string bytes = encode_bytes(write, original);
    EXPECT_TRUE(same_pixels(decode_bytes(read, bytes), original)) << "read back by us";
    TempDir dir;
    const std::string file = dir.file("ours." + extension);
    write_bytes(file, bytes);
    EXPECT_TRUE(magick(file + input_suffix + " " + options + " " + dir.file("back.png")));
    EXPECT_TRUE(same_pixels(read_png(dir.file("back.png")), original)) << "read back by ImageMagick";
    return bytes;
}

// A binary PPM of the buffer, as an input ImageMagick reads exactly.
inline void write_ppm(const std::string& path, const PictureBuffer& b) {
    std::string bytes = "P6\n" + std::to_string(b.width()) + " " + std::to_string(b.height()) + "\n255\n";
    bytes.append(reinterpret_cast<const char*>(b.data()), b.size_bytes());
    write_bytes(path, bytes);
}

}  // namespace galvora::test
