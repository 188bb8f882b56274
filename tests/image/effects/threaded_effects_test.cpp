// Effects split between threads give the picture the single-threaded code
// gives: every kind (with the parameters that take other paths through its
// code) on real photos and on odd sizes, split into pieces of awkward sizes
// and run on the worker threads, against the same effect run in one piece.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "foundation/worker_threads.h"
#include "image/effects/effect_dispatch.h"
#include "image/image_test_support.h"
#include "image/picture_io.h"
#include "image/resize_image.h"

namespace galvora {
namespace {

struct Variant {
    int32_t kind;
    std::vector<std::pair<int, int32_t>> longs;
    std::vector<std::pair<int, double>> doubles;
};

std::string name_of(const Variant& v) {
    std::string s = "kind " + std::to_string(v.kind);
    for (const auto& [i, x] : v.longs) s += " L" + std::to_string(i) + "=" + std::to_string(x);
    for (const auto& [i, x] : v.doubles) s += " D" + std::to_string(i) + "=" + std::to_string(x);
    return s;
}

// Every kind with its defaults, and the parameters that change its way
// through the code (other radii, flags, monochrome noise, thresholds given).
std::vector<Variant> variants() {
    std::vector<Variant> list;
    for (int32_t kind = 0; kind <= 25; ++kind) list.push_back({kind, {}, {}});
    list.push_back({1, {}, {{1, 1.8}}});
    list.push_back({2, {}, {{1, 0.1}, {2, 0.3}}});
    list.push_back({4, {}, {{1, 2.0}}});
    list.push_back({3, {{1, 3}}, {{1, 1.0}}});
    list.push_back({3, {{1, 200}}, {{1, 0.3}}});
    list.push_back({5, {{1, 0}}, {{1, 1.0}}});
    list.push_back({13, {{1, 1}}, {}});
    list.push_back({13, {{1, 2}}, {}});
    list.push_back({14, {{1, 2}}, {}});
    list.push_back({15, {{1, 25}, {4, 1}, {6, 50}}, {}});
    list.push_back({16, {{1, 4000}, {2, 1}}, {}});
    list.push_back({20, {{1, 12}, {2, 5}}, {}});
    list.push_back({21, {{1, 1}, {2, 1}}, {{1, 1.0}}});
    list.push_back({22, {}, {{1, 2.0}, {2, 0.1}, {3, 0.3}}});
    list.push_back({22, {}, {{1, 0.0}}});
    list.push_back({24, {{1, 7}}, {}});
    list.push_back({25, {{1, 4}, {2, 100}}, {}});
    return list;
}

PictureBuffer applied(const PictureBuffer& picture, const Variant& v) {
    CBildEffekt effect;
    effect.Bildeffektart(v.kind);
    for (const auto& [i, x] : v.longs) effect.LongArray(i, x);
    for (const auto& [i, x] : v.doubles) effect.DoubleArray(i, x);
    PictureBuffer p = picture.copy();
    ApplyEffect(p, effect);
    return p;
}

PictureBuffer photo(const std::string& path) {
    PictureBuffer b;
    int32_t w = 0, h = 0;
    ReadImage(path, 0, b, w, h);
    return b;
}

// A part of the 24-megapixel camera photo, read at one eighth of its size:
// real texture, but few pixels, so that the sanitizer build stays quick.
PictureBuffer camera_photo_part() {
    PictureBuffer b;
    int32_t w = 0, h = 0;
    ReadImageReduced(test::npm_exif("sony-alpha-6000.jpg"), 0, b, w, h, 300, 200);
    if (b.empty()) return b;
    PictureBuffer part = PictureBuffer::allocate(std::min(w, 320), std::min(h, 240));
    for (int32_t y = 0; y < part.height(); ++y)
        std::memcpy(part.row(y), b.pixel(w - part.width(), y), part.row_bytes());
    return part;
}

class ThreadedEffects : public ::testing::Test {
protected:
    void TearDown() override { set_parallel_split_for_tests(0, false); }
};

TEST_F(ThreadedEffects, SplitWorkGivesTheSinglePiecePicture) {
    struct Case {
        std::string name;
        PictureBuffer picture;
        size_t piece;  // items per piece: rows, or bytes where the work goes by bytes
    };
    std::vector<Case> cases;
    // Real photos (read reduced, which keeps their texture), in pieces of a
    // prime number of rows so that no piece boundary falls on a tidy place.
    cases.push_back({"camera photo", camera_photo_part(), 37});
    cases.push_back({"PNG sample", photo(test::sdl_sample("sample.png")), 1});
    // Odd sizes: single rows and columns, pictures smaller than one piece
    // or than a blur's reach, and one row fewer than a round number.
    for (const auto& [w, h] : std::vector<std::pair<int32_t, int32_t>>{
             {1, 1}, {1, 23}, {23, 1}, {2, 3}, {7, 5}, {64, 3}, {3, 64}, {101, 67}, {333, 2}, {255, 127}})
        cases.push_back({std::to_string(w) + " x " + std::to_string(h), test::pattern(w, h), 3});

    for (const Case& c : cases) {
        ASSERT_FALSE(c.picture.empty()) << c.name;
        for (const Variant& v : variants()) {
            set_parallel_split_for_tests(0, true);
            const PictureBuffer whole = applied(c.picture, v);
            set_parallel_split_for_tests(c.piece, false);
            const PictureBuffer split = applied(c.picture, v);
            ASSERT_EQ(whole.width(), split.width()) << c.name << ", " << name_of(v);
            ASSERT_EQ(whole.height(), split.height()) << c.name << ", " << name_of(v);
            EXPECT_TRUE(test::same_pixels(whole, split)) << c.name << ", " << name_of(v);
        }
    }
}

// The normal split (as many pieces as threads can take) on the worker
// threads, on a photo large enough to be split.
TEST_F(ThreadedEffects, NormalSplitOnTheWorkersGivesTheSinglePiecePicture) {
    const PictureBuffer picture = photo(test::goexif_sample("sample1.jpg"));
    ASSERT_FALSE(picture.empty());
    for (const Variant& v : variants()) {
        set_parallel_split_for_tests(0, true);
        const PictureBuffer whole = applied(picture, v);
        set_parallel_split_for_tests(0, false);
        const PictureBuffer split = applied(picture, v);
        EXPECT_TRUE(whole.width() == split.width() && whole.height() == split.height() &&
                    test::same_pixels(whole, split))
            << name_of(v);
    }
}

// Resizing with every filter, shrinking and enlarging, odd sizes included.
TEST_F(ThreadedEffects, ResizingSplitGivesTheSinglePiecePicture) {
    const PictureBuffer photo_part = camera_photo_part();
    ASSERT_FALSE(photo_part.empty());
    const std::pair<int32_t, int32_t> sizes[] = {{97, 61}, {1, 1}, {320, 1}, {401, 303}, {33, 400}};
    for (int32_t filter = -2; filter <= 13; ++filter) {
        for (const auto& [w, h] : sizes) {
            set_parallel_split_for_tests(0, true);
            PictureBuffer whole;
            ResizeImage(photo_part, w, h, whole, filter);
            set_parallel_split_for_tests(5, false);
            PictureBuffer split;
            ResizeImage(photo_part, w, h, split, filter);
            EXPECT_TRUE(test::same_pixels(whole, split)) << "filter " << filter << ", " << w << " x " << h;
        }
    }
}

TEST(WorkerThreads, EveryItemOnceAndExceptionsReachTheCaller) {
    for (size_t piece : {size_t{0}, size_t{1}, size_t{7}}) {
        set_parallel_split_for_tests(piece, false);
        std::vector<int> seen(1000, 0);
        parallel_for(seen.size(), 1, [&](size_t first, size_t end) {
            for (size_t i = first; i < end; ++i) ++seen[i];
        });
        EXPECT_EQ(std::vector<int>(1000, 1), seen) << "piece " << piece;
        EXPECT_THROW(parallel_for(100, 1,
                                  [](size_t first, size_t) {
                                      if (first == 0) throw std::runtime_error("piece failed");
                                  }),
                     std::runtime_error);
    }
    set_parallel_split_for_tests(0, false);
}

}  // namespace
}  // namespace galvora
