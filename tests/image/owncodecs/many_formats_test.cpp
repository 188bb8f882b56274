// One picture in many formats: the SDL sample set read by our codecs gives
// the same pixels as its PNG (and GIF), and the picture written by each of
// our writers reads back identical.
#include <gtest/gtest.h>

#include "image/codecs/gif_codec.h"
#include "image/owncodecs/own_codecs.h"
#include "image/owncodecs/owncodec_test_support.h"

namespace galvora::test {
namespace {

std::string sdl(const std::string& name) {
    return owncodec_data("libsdl2-image-tests/root/usr/libexec/installed-tests/SDL2_image/" + name);
}

TEST(ManyFormats, SdlSamplesGiveTheSamePixelsAsTheirPng) {
    const PictureBuffer reference = read_png(sdl("sample.png"));
    ASSERT_EQ(reference.width(), 23);
    struct Case {
        const char* file;
        Reader read;
    };
    const Case cases[] = {
        {"sample.bmp", [](FILE* f) { return bmp_read(f); }},
        {"sample.tga", [](FILE* f) { return tga_read(f); }},
        {"sample.pcx", [](FILE* f) { return pcx_read(f); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_TRUE(same_pixels(decode_file(c.read, sdl(c.file)), reference));
    }
    // The palette variant: an 8-bit BMP beside the same picture as a GIF.
    const PictureBuffer palette_bmp = decode_file([](FILE* f) { return bmp_read(f); }, sdl("palette.bmp"));
    const PictureBuffer palette_gif = decode_file([](FILE* f) { return gif_read(f); }, sdl("palette.gif"));
    EXPECT_TRUE(same_pixels(palette_bmp, palette_gif));
}

TEST(ManyFormats, EveryWriterKeepsThePicture) {
    const PictureBuffer reference = read_png(sdl("sample.png"));
    struct Case {
        const char* what;
        Writer write;
        Reader read;
    };
    const Case cases[] = {
        {"BMP", bmp_write, [](FILE* f) { return bmp_read(f); }},
        {"PCX", pcx_write, [](FILE* f) { return pcx_read(f); }},
        {"TGA", tga_write, [](FILE* f) { return tga_read(f); }},
        {"PSD", psd_write, [](FILE* f) { return psd_read(f); }},
        {"EMF", [](const PictureBuffer& b, FILE* f) { metafile_write(b, f, MetafileFormat::emf); },
         [](FILE* f) { return metafile_read(f); }},
        {"WMF", [](const PictureBuffer& b, FILE* f) { metafile_write(b, f, MetafileFormat::wmf); },
         [](FILE* f) { return metafile_read(f); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(same_pixels(decode_bytes(c.read, encode_bytes(c.write, reference)), reference));
    }
}

}  // namespace
}  // namespace galvora::test
