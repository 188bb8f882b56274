// Damaged files: every reader, fed cut-off and corrupted copies of good
// files, either decodes or reports the read error for bad data (or a
// picture above the pixel limit). Under the sanitizers any read outside a
// buffer fails the test as well.
#include <gtest/gtest.h>

#include <random>

#include "image/owncodecs/own_codecs.h"
#include "image/owncodecs/owncodec_test_support.h"

namespace galvora::test {
namespace {

struct Format {
    const char* name;
    Reader read;
    Writer write;  // null: seeds come from elsewhere
};

const Format kFormats[] = {
    {"bmp", [](FILE* f) { return bmp_read(f); }, bmp_write},
    {"pcx", [](FILE* f) { return pcx_read(f); }, pcx_write},
    {"tga", [](FILE* f) { return tga_read(f); }, tga_write},
    {"psd", [](FILE* f) { return psd_read(f); }, psd_write},
    {"pcd", [](FILE* f) { return pcd_read(f, 1); }, nullptr},
    {"metafile", [](FILE* f) { return metafile_read(f); },
     [](const PictureBuffer& b, FILE* f) { metafile_write(b, f, MetafileFormat::wmf); }},
};

// Decodes; a failure must be one of the two a damaged file may cause.
void survive(const Reader& read, const std::string& bytes) {
    try {
        decode_bytes(read, bytes);
    } catch (const ImagingFailure& e) {
        EXPECT_TRUE(e.fault() == ImagingFault::bad_data || e.fault() == ImagingFault::too_large)
            << "fault " << static_cast<long>(e.fault()) << " for " << bytes.size() << " bytes";
    }
}

std::vector<std::string> seeds_for(const Format& f) {
    std::vector<std::string> seeds;
    if (f.write) {
        seeds.push_back(encode_bytes(f.write, pattern(5, 3)));
        seeds.push_back(encode_bytes(f.write, solid(40, 7, 200, 200, 200)));
    }
    const std::string name = f.name;
    if (name == "bmp") {
        for (const char* v : {"bit1", "bit4_RLE", "bit8_RLE", "bit16_565", "bit32_alpha"})
            seeds.push_back(read_bytes(owncodec_data(std::string("bmp-js/package/test/") + v + ".bmp")));
    } else if (name == "tga") {
        for (const char* v : {"ccm8", "ctc16", "rgb32_top_left_rle_colormap", "monochrome16_top_left_rle"})
            seeds.push_back(read_bytes(owncodec_data(std::string("tga/package/testFiles/") + v + ".tga")));
    } else if (name == "pcx") {
        seeds.push_back(read_bytes(owncodec_data("allegro-examples/planet.pcx")));
    } else if (name == "pcd") {
        std::string pack(0x2000 + 192 * 128 * 3 / 2, '\x55');
        pack.replace(0x800, 7, "PCD_IPI");
        seeds.push_back(pack);
    } else if (name == "metafile") {
        seeds.push_back(encode_bytes([](const PictureBuffer& b, FILE* out) { metafile_write(b, out); }, pattern(6, 6)));
    }
    return seeds;
}

TEST(HostileFiles, CutOffCopiesNeverCrash) {
    for (const Format& f : kFormats) {
        SCOPED_TRACE(f.name);
        for (const std::string& seed : seeds_for(f)) {
            // Every length for small files, some 300 spread over larger ones.
            const size_t step = std::max<size_t>(1, seed.size() / 300);
            for (size_t n = 0; n < seed.size(); n += step) survive(f.read, seed.substr(0, n));
        }
    }
}

TEST(HostileFiles, CorruptedCopiesNeverCrash) {
    std::mt19937 random(20261209);  // fixed: the same copies every run
    // Corrupted sizes may ask for pictures up to the pixel limit; a lower
    // limit keeps those cases quick without changing what is checked.
    set_pixel_limit(1'000'000);
    for (const Format& f : kFormats) {
        SCOPED_TRACE(f.name);
        for (const std::string& seed : seeds_for(f)) {
            if (seed.empty()) continue;
            for (int round = 0; round < 150; ++round) {
                std::string copy = seed;
                // Mostly the headers, where lengths and offsets live.
                const size_t reach = std::min<size_t>(copy.size(), round % 2 ? 160 : copy.size());
                for (int k = 0; k < 1 + round % 4; ++k) {
                    const size_t at = random() % reach;
                    copy[at] = static_cast<char>(round % 3 == 0 ? 0xFF : random() & 0xFF);
                }
                survive(f.read, copy);
            }
        }
    }
    set_pixel_limit(0);
}

}  // namespace
}  // namespace galvora::test
