#pragma once
// Helpers for the imaging tests: a temporary folder per test, the fetched
// third-party pictures (a missing file fails the test), and small pictures
// made in the test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "foundation/temp_folder.h"
#include "image/picture_buffer.h"

namespace galvora::test {

// The shared temporary folder, with a helper for file names inside it.
class TempDir : public galvora::testing::TempFolder {
public:
    std::string file(const std::string& name) const { return (path() / name).string(); }
};

// Path of a fetched test picture below <testdata>/images/pkg; records a
// failure (not a skip) when the fetch has not been run.
inline std::string fetched(const std::string& relative) {
    const std::filesystem::path p = std::filesystem::path(GALVORA_TESTDATA_DIR) / "images" / "pkg" / relative;
    if (!std::filesystem::exists(p))
        ADD_FAILURE() << "test picture missing: " << p << " (run scripts/fetch-testdata.sh <build>/testdata)";
    return p.string();
}

inline std::string sdl_sample(const std::string& name) {
    return fetched("libsdl2-image-tests/root/usr/libexec/installed-tests/SDL2_image/" + name);
}
inline std::string go_image(const std::string& name) {
    return fetched("golang-golang-x-image-dev/root/usr/share/gocode/src/golang.org/x/image/testdata/" + name);
}
inline std::string goexif_sample(const std::string& name) {
    return fetched("golang-github-rwcarlsen-goexif-dev/root/usr/share/gocode/src/github.com/rwcarlsen/goexif/exif/" +
                   name);
}
inline std::string npm_exif(const std::string& name) { return fetched("exif/package/test/" + name); }

inline std::string read_bytes(const std::string& path) { return galvora::testing::read_file(path); }
inline void write_bytes(const std::string& path, const std::string& bytes) { galvora::testing::write_file(path, bytes); }

// A picture with a different colour in every pixel, so that any misplaced,
// mirrored or shifted pixel shows.
inline PictureBuffer pattern(int32_t w, int32_t h) {
    PictureBuffer b = PictureBuffer::allocate(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = b.pixel(x, y);
            p[0] = static_cast<uint8_t>(x * 7 + y);
            p[1] = static_cast<uint8_t>(y * 5 + 3);
            p[2] = static_cast<uint8_t>((x * y) ^ 0x5A);
        }
    return b;
}

inline PictureBuffer solid(int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b) {
    PictureBuffer buf = PictureBuffer::allocate(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = buf.pixel(x, y);
            p[0] = r, p[1] = g, p[2] = b;
        }
    return buf;
}

inline bool same_pixels(const PictureBuffer& a, const PictureBuffer& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::equal(a.data(), a.data() + a.size_bytes(), b.data());
}

// Largest channel difference between two pictures of equal size (-1 when the sizes differ).
inline int max_difference(const PictureBuffer& a, const PictureBuffer& b) {
    if (a.width() != b.width() || a.height() != b.height()) return -1;
    int worst = 0;
    for (size_t i = 0; i < a.size_bytes(); ++i) worst = std::max(worst, std::abs(a.data()[i] - b.data()[i]));
    return worst;
}

inline double mean_difference(const PictureBuffer& a, const PictureBuffer& b) {
    if (a.width() != b.width() || a.height() != b.height() || a.empty()) return 1e9;
    double sum = 0;
    for (size_t i = 0; i < a.size_bytes(); ++i) sum += std::abs(a.data()[i] - b.data()[i]);
    return sum / static_cast<double>(a.size_bytes());
}

}  // namespace galvora::test
