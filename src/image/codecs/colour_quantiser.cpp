#include "image/codecs/colour_quantiser.h"

#include <algorithm>
#include <unordered_map>

namespace galvora {

namespace {

constexpr int kBins = 32 * 32 * 32;

int bin_of(const uint8_t* p) { return ((p[0] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[2] >> 3); }

// A box of histogram bins, bounds inclusive, in 5-bit units per channel.
struct Box {
    int lo[3];
    int hi[3];
    uint64_t count = 0;
};

void shrink(Box& b, const std::vector<uint32_t>& hist) {
    int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
    uint64_t count = 0;
    for (int r = b.lo[0]; r <= b.hi[0]; ++r)
        for (int g = b.lo[1]; g <= b.hi[1]; ++g)
            for (int bl = b.lo[2]; bl <= b.hi[2]; ++bl) {
                const uint32_t n = hist[(r << 10) | (g << 5) | bl];
                if (!n) continue;
                count += n;
                lo[0] = std::min(lo[0], r), hi[0] = std::max(hi[0], r);
                lo[1] = std::min(lo[1], g), hi[1] = std::max(hi[1], g);
                lo[2] = std::min(lo[2], bl), hi[2] = std::max(hi[2], bl);
            }
    b.count = count;
    if (count) {
        std::copy(lo, lo + 3, b.lo);
        std::copy(hi, hi + 3, b.hi);
    }
}

QuantisedPicture exact_palette(const PictureBuffer& buffer, const std::unordered_map<uint32_t, uint8_t>& map,
                               QuantisedPicture q) {
    const size_t pixels = static_cast<size_t>(buffer.width()) * buffer.height();
    const uint8_t* p = buffer.data();
    for (size_t i = 0; i < pixels; ++i, p += 3) q.indexes[i] = map.at(make_colour(p[0], p[1], p[2]));
    return q;
}

}  // namespace

QuantisedPicture quantise_to_palette(const PictureBuffer& buffer) {
    QuantisedPicture q;
    const size_t pixels = static_cast<size_t>(buffer.width()) * buffer.height();
    q.indexes.assign(pixels, 0);
    if (pixels == 0) return q;

    // Few colours: keep every one of them exactly.
    {
        std::unordered_map<uint32_t, uint8_t> map;
        const uint8_t* p = buffer.data();
        bool fits = true;
        for (size_t i = 0; i < pixels && fits; ++i, p += 3) {
            const uint32_t c = make_colour(p[0], p[1], p[2]);
            if (map.count(c)) continue;
            if (map.size() == 256) {
                fits = false;
                break;
            }
            const uint8_t index = static_cast<uint8_t>(map.size());
            map.emplace(c, index);
            q.palette[index * 3] = p[0];
            q.palette[index * 3 + 1] = p[1];
            q.palette[index * 3 + 2] = p[2];
        }
        if (fits) {
            q.colours = static_cast<int>(map.size());
            return exact_palette(buffer, map, std::move(q));
        }
    }

    std::vector<uint32_t> hist(kBins, 0);
    {
        const uint8_t* p = buffer.data();
        for (size_t i = 0; i < pixels; ++i, p += 3) ++hist[bin_of(p)];
    }
    std::vector<Box> boxes;
    boxes.push_back(Box{{0, 0, 0}, {31, 31, 31}});
    shrink(boxes[0], hist);
    while (boxes.size() < 256) {
        // Split the box with the most pixels that still has room, along its longest side.
        int best = -1;
        uint64_t best_count = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            const Box& b = boxes[i];
            const bool splittable = b.hi[0] > b.lo[0] || b.hi[1] > b.lo[1] || b.hi[2] > b.lo[2];
            if (splittable && b.count > best_count) {
                best = static_cast<int>(i);
                best_count = b.count;
            }
        }
        if (best < 0) break;
        Box& b = boxes[best];
        int axis = 0;
        for (int a = 1; a < 3; ++a)
            if (b.hi[a] - b.lo[a] > b.hi[axis] - b.lo[axis]) axis = a;
        // Median along the axis.
        std::vector<uint64_t> slice(32, 0);
        for (int r = b.lo[0]; r <= b.hi[0]; ++r)
            for (int g = b.lo[1]; g <= b.hi[1]; ++g)
                for (int bl = b.lo[2]; bl <= b.hi[2]; ++bl) {
                    const int v[3] = {r, g, bl};
                    slice[v[axis]] += hist[(r << 10) | (g << 5) | bl];
                }
        uint64_t acc = 0;
        int cut = b.lo[axis];
        for (int v = b.lo[axis]; v < b.hi[axis]; ++v) {
            acc += slice[v];
            cut = v;
            if (acc * 2 >= b.count) break;
        }
        Box other = b;
        b.hi[axis] = cut;
        other.lo[axis] = cut + 1;
        shrink(b, hist);
        shrink(other, hist);
        boxes.push_back(other);
    }

    // Palette entries: the pixel-weighted mean of each box, from the real colours.
    std::vector<int16_t> bin_box(kBins, -1);
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& b = boxes[i];
        if (!b.count) continue;
        for (int r = b.lo[0]; r <= b.hi[0]; ++r)
            for (int g = b.lo[1]; g <= b.hi[1]; ++g)
                for (int bl = b.lo[2]; bl <= b.hi[2]; ++bl) bin_box[(r << 10) | (g << 5) | bl] = static_cast<int16_t>(i);
    }
    std::vector<uint64_t> sums(boxes.size() * 4, 0);
    const uint8_t* p = buffer.data();
    for (size_t i = 0; i < pixels; ++i, p += 3) {
        const int box = bin_box[bin_of(p)];
        sums[box * 4] += p[0];
        sums[box * 4 + 1] += p[1];
        sums[box * 4 + 2] += p[2];
        sums[box * 4 + 3] += 1;
        q.indexes[i] = static_cast<uint8_t>(box);
    }
    for (size_t i = 0; i < boxes.size(); ++i) {
        const uint64_t n = sums[i * 4 + 3];
        for (int c = 0; c < 3; ++c) q.palette[i * 3 + c] = n ? static_cast<uint8_t>((sums[i * 4 + c] + n / 2) / n) : 0;
    }
    q.colours = static_cast<int>(boxes.size());
    return q;
}

}  // namespace galvora
