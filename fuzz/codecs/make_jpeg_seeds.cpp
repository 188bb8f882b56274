// Writes small baseline JPEG seeds for the JPEG fuzz target: every chroma
// sampling the threaded decoders take, standard and optimised Huffman
// tables, odd sizes and a few qualities, so that the fuzzer starts from
// files both decoders read at every scale.
//   make_jpeg_seeds <folder>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_jpeg_seeds <folder>\n");
        return 2;
    }
    struct Sampling {
        const char* name;
        int h, v;
        bool grey;
    };
    const Sampling samplings[] = {{"444", 1, 1, false}, {"422", 2, 1, false}, {"420", 2, 2, false},
                                  {"440", 1, 2, false}, {"411", 4, 1, false}, {"410", 4, 2, false},
                                  {"grey", 1, 1, true}};
    const int sizes[][2] = {{40, 24}, {67, 45}, {128, 96}};
    unsigned seed = 1;
    for (const Sampling& s : samplings)
        for (const auto& size : sizes)
            for (int optimise = 0; optimise < 2; ++optimise) {
                const int w = size[0], h = size[1], quality = optimise ? 60 : 90;
                std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        seed = seed * 1103515245u + 12345u;
                        unsigned char* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
                        p[0] = static_cast<unsigned char>(x * 255 / w + (seed >> 27));
                        p[1] = static_cast<unsigned char>(y * 255 / h + (seed >> 28));
                        p[2] = static_cast<unsigned char>((x ^ y) * 5);
                    }
                jpeg_compress_struct cinfo;
                jpeg_error_mgr err;
                cinfo.err = jpeg_std_error(&err);
                jpeg_create_compress(&cinfo);
                const std::string path = std::string(argv[1]) + "/" + s.name + "_" + std::to_string(w) + "x" +
                                         std::to_string(h) + (optimise ? "_opt" : "") + ".jpg";
                FILE* out = std::fopen(path.c_str(), "wb");
                if (!out) return 1;
                jpeg_stdio_dest(&cinfo, out);
                cinfo.image_width = static_cast<JDIMENSION>(w);
                cinfo.image_height = static_cast<JDIMENSION>(h);
                cinfo.input_components = 3;
                cinfo.in_color_space = JCS_RGB;
                jpeg_set_defaults(&cinfo);
                if (s.grey) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
                jpeg_set_quality(&cinfo, quality, TRUE);
                if (!s.grey) {
                    cinfo.comp_info[0].h_samp_factor = s.h;
                    cinfo.comp_info[0].v_samp_factor = s.v;
                }
                cinfo.optimize_coding = optimise ? TRUE : FALSE;
                jpeg_start_compress(&cinfo, TRUE);
                while (cinfo.next_scanline < cinfo.image_height) {
                    JSAMPROW row = &rgb[static_cast<size_t>(cinfo.next_scanline) * w * 3];
                    jpeg_write_scanlines(&cinfo, &row, 1);
                }
                jpeg_finish_compress(&cinfo);
                jpeg_destroy_compress(&cinfo);
                std::fclose(out);
            }
    return 0;
}
