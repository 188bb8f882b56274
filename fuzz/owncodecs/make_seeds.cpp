// Writes the seed corpus of the codec fuzzers: small pictures in every
// format our writers produce, into <folder>/<format>/.
#include <cstdio>
#include <filesystem>
#include <string>

#include "image/owncodecs/own_codecs.h"

namespace {

galvora::PictureBuffer picture(int32_t w, int32_t h) {
    galvora::PictureBuffer b = galvora::PictureBuffer::allocate(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = b.pixel(x, y);
            p[0] = static_cast<uint8_t>(x * 40);
            p[1] = static_cast<uint8_t>(y * 60);
            p[2] = static_cast<uint8_t>(x < w / 2 ? 0xC3 : 0x10);
        }
    return b;
}

template <typename Write>
void seed(const std::filesystem::path& dir, const std::string& name, Write&& write) {
    std::filesystem::create_directories(dir);
    FILE* f = std::fopen((dir / name).c_str(), "wb");
    if (!f) return;
    write(f);
    std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace galvora;
    if (argc < 2) return 2;
    const std::filesystem::path out = argv[1];
    for (const auto& [w, h] : {std::pair{3, 2}, std::pair{9, 4}}) {
        const PictureBuffer b = picture(w, h);
        const std::string n = std::to_string(w) + "x" + std::to_string(h);
        seed(out / "bmp", n + ".bmp", [&](FILE* f) { bmp_write(b, f); });
        seed(out / "pcx", n + ".pcx", [&](FILE* f) { pcx_write(b, f); });
        seed(out / "tga", n + ".tga", [&](FILE* f) { tga_write(b, f); });
        seed(out / "psd", n + ".psd", [&](FILE* f) { psd_write(b, f); });
        seed(out / "metafile", n + ".emf", [&](FILE* f) { metafile_write(b, f, MetafileFormat::emf); });
        seed(out / "metafile", n + ".wmf", [&](FILE* f) { metafile_write(b, f, MetafileFormat::wmf); });
    }
    return 0;
}
