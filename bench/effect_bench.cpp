// Speed of every picture effect, the stamps and the frames on a picture of
// 1600 x 1200 pixels. The blur is also timed at sizes 3, 50 and 200: its
// running sums make the time independent of the size.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <string>

#include "image/effects/effect_dispatch.h"
#include "image/effects/frame_draw.h"
#include "image/effects/image_stamp_draw.h"
#include "image/effects/text_stamp_draw.h"
#include "profile/effect_picture.h"

namespace galvora {
namespace {

// Smooth areas, hard edges and fine texture, like a photograph has.
const PictureBuffer& test_picture() {
    static const PictureBuffer picture = [] {
        PictureBuffer p = PictureBuffer::allocate(1600, 1200);
        for (int32_t y = 0; y < 1200; ++y)
            for (int32_t x = 0; x < 1600; ++x) {
                uint8_t* px = p.pixel(x, y);
                const double hill = 600 + 120 * std::sin(x / 200.0) + 40 * std::sin(x / 37.0);
                const int grain = ((x * 7919 + y * 104729) >> 3) % 23;
                if (y < hill) {
                    px[0] = static_cast<uint8_t>(80 + y / 8 + grain), px[1] = static_cast<uint8_t>(130 + y / 12), px[2] = 230;
                } else {
                    px[0] = static_cast<uint8_t>(40 + grain), px[1] = static_cast<uint8_t>(110 + (x + y) % 60), px[2] = 45;
                }
            }
        return p;
    }();
    return picture;
}

// Runs step on a fresh copy of the picture each time; only step is timed.
template <typename Step>
void time_on_copies(benchmark::State& state, Step step) {
    for (auto _ : state) {
        state.PauseTiming();
        PictureBuffer p = test_picture().copy();
        state.ResumeTiming();
        step(p);
        benchmark::DoNotOptimize(p.data());
    }
    state.SetItemsProcessed(state.iterations() * 1600 * 1200);
}

const char* const kKindNames[] = {"sharpen", "gamma", "brightness_contrast", "blur", "saturation", "unsharp_mask",
                                  "", "", "", "", "", "grayscale", "mosaic", "rotate", "flip", "drop_shadow",
                                  "noise", "invert", "solarize", "posterize", "oil_paint", "watercolor",
                                  "edge_detect", "duotone", "halftone", "crackle"};

void BM_Effect(benchmark::State& state) {
    const int32_t kind = static_cast<int32_t>(state.range(0));
    state.SetLabel(kKindNames[kind]);
    CBildEffekt effect;
    effect.Bildeffektart(kind);
    // The defaults of these three change nothing.
    if (kind == 1) effect.DoubleArray(1, 1.8);
    if (kind == 2) effect.DoubleArray(1, 0.1), effect.DoubleArray(2, 0.3);
    if (kind == 4) effect.DoubleArray(1, 2.0);
    time_on_copies(state, [&](PictureBuffer& p) { ApplyEffect(p, effect); });
}
BENCHMARK(BM_Effect)->DenseRange(0, 5)->DenseRange(11, 25)->Unit(benchmark::kMillisecond);

void BM_BlurSize(benchmark::State& state) {
    CBildEffekt effect;
    effect.Bildeffektart(3);
    effect.LongArray(1, static_cast<int32_t>(state.range(0)));
    effect.DoubleArray(1, 1.0);
    time_on_copies(state, [&](PictureBuffer& p) { ApplyEffect(p, effect); });
}
BENCHMARK(BM_BlurSize)->Arg(3)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_TextStamp(benchmark::State& state) {
    TextStampArguments a;
    a.text = "Galvora%\\Sommer 2026";
    a.font = "Arial";
    a.height = 48;
    a.color = 0xFFFFFF;
    a.position = 9;
    a.direction = static_cast<int32_t>(state.range(0));
    a.background_color = 0x000000;
    a.background_opacity = 50;
    a.border_color = 0x00FF00;
    a.border_width = 2;
    time_on_copies(state, [&](PictureBuffer& p) { DrawTextStamp(p, a); });
}
BENCHMARK(BM_TextStamp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ImageStamp(benchmark::State& state) {
    set_effect_picture_reader([](const std::string&) {
        PictureBuffer logo = PictureBuffer::allocate(300, 120);
        std::memset(logo.data(), 200, logo.size_bytes());
        return logo;
    });
    CImageStamp stamp;
    stamp.Name("logo");
    stamp.Strecken(static_cast<int32_t>(state.range(0)));
    stamp.TransparenteFarbeNutzen(1);
    time_on_copies(state, [&](PictureBuffer& p) { DrawImageStamp(p, &stamp); });
    set_effect_picture_reader({});
}
BENCHMARK(BM_ImageStamp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Frame(benchmark::State& state) {
    set_effect_picture_reader([](const std::string&) {
        PictureBuffer tile = PictureBuffer::allocate(64, 64);
        std::memset(tile.data(), 90, tile.size_bytes());
        return tile;
    });
    CBorder frame;
    const int64_t variant = state.range(0);
    const char* labels[] = {"inner bands", "inner ellipse", "outer", "picture tiled", "picture stretched"};
    state.SetLabel(labels[variant]);
    frame.Breite(40);
    if (variant == 1) frame.InnenrahmenArt(1);
    if (variant == 2) frame.RahmenArt(1);
    if (variant >= 3) frame.RahmenArt(2), frame.Bildname("tile");
    if (variant == 4) frame.Bildverteilung(1);
    time_on_copies(state, [&](PictureBuffer& p) { ApplyBorder(p, frame); });
    set_effect_picture_reader({});
}
BENCHMARK(BM_Frame)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace galvora

BENCHMARK_MAIN();
