// Reading and measuring picture files: third-party files of every readable
// type against reference pixels, type guessing, metadata capture, and the
// error records of missing, unsupported, hostile and oversized files.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <tiffio.h>
#include <zlib.h>

#include <vector>

#include "image/imaging_error.h"
#include "image/picture_io.h"
#include "image_test_support.h"

namespace galvora {
namespace {

using test::TempDir;

PictureBuffer read_ok(const std::string& path, int32_t code = 0, CapturedMetadata* meta = nullptr) {
    PictureBuffer b;
    int32_t w = -1, h = -1;
    EXPECT_NO_THROW(ReadImage(path, code, b, w, h, meta)) << path;
    EXPECT_EQ(w, b.width());
    EXPECT_EQ(h, b.height());
    return b;
}

// Runs op and returns the raised error record.
template <typename F>
ErrorInfo raised(F&& op) {
    try {
        op();
    } catch (const GalvoraError& e) {
        return e.info();
    }
    ADD_FAILURE() << "no error raised";
    return {};
}

TEST(PictureRead, ManyFormatSetMatchesTheLosslessReference) {
    const PictureBuffer reference = read_ok(test::sdl_sample("sample.png"), picture_type::png);
    ASSERT_EQ(reference.width(), 23);
    ASSERT_EQ(reference.height(), 42);
    // Lossless copies of the same picture give the same pixels.
    EXPECT_TRUE(test::same_pixels(read_ok(test::sdl_sample("sample.tif"), picture_type::tiff), reference));
    EXPECT_TRUE(test::same_pixels(read_ok(test::sdl_sample("sample.tif"), 0), reference));
    // The JPEG copy is close, not equal.
    const PictureBuffer jpeg = read_ok(test::sdl_sample("sample.jpg"), picture_type::jpeg);
    EXPECT_LT(test::mean_difference(jpeg, reference), 12.0);
}

TEST(PictureRead, GifIsExpandedThroughItsColourTable) {
    const PictureBuffer gif = read_ok(test::sdl_sample("palette.gif"), picture_type::gif);
    ASSERT_EQ(gif.width(), 23);
    ASSERT_EQ(gif.height(), 42);
    // The palette copy (a coarse 8-bit version) stays close to the truecolour picture.
    const PictureBuffer reference = read_ok(test::sdl_sample("sample.png"), picture_type::png);
    EXPECT_LT(test::mean_difference(gif, reference), 24.0);
}

TEST(PictureRead, TiffVariantsAllGiveTheReferencePixels) {
    const PictureBuffer reference = read_ok(test::go_image("video-001.png"), picture_type::png);
    ASSERT_EQ(reference.width(), 150);
    ASSERT_EQ(reference.height(), 103);
    for (const char* name : {"video-001.tiff", "video-001-uncompressed.tiff", "video-001-strip-64.tiff",
                             "video-001-tile-64x64.tiff"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(test::same_pixels(read_ok(test::go_image(name), picture_type::tiff), reference));
    }
    // 16 bits per channel are reduced to 8: within one step of the reference.
    EXPECT_LE(test::max_difference(read_ok(test::go_image("video-001-16bit.tiff"), picture_type::tiff), reference), 1);
    const PictureBuffer lzw = read_ok(test::go_image("blue-purple-pink.lzwcompressed.tiff"), picture_type::tiff);
    EXPECT_TRUE(test::same_pixels(lzw, read_ok(test::go_image("blue-purple-pink.png"), picture_type::png)));
    // Grey and bilevel pictures come out as grey RGB.
    const PictureBuffer bw = read_ok(test::go_image("bw-packbits.tiff"), picture_type::tiff);
    const PictureBuffer bw_png = read_ok(test::go_image("bw-gopher.png"), picture_type::png);
    EXPECT_TRUE(test::same_pixels(bw, bw_png));
    EXPECT_TRUE(test::same_pixels(read_ok(test::go_image("bw-deflate.tiff"), picture_type::tiff), bw_png));
}

TEST(PictureRead, PalettedAndLowDepthPngsExpandToRgb) {
    const PictureBuffer eight = read_ok(test::go_image("gopher-doc.8bpp.png"), picture_type::png);
    for (const char* name : {"gopher-doc.4bpp.png", "gopher-doc.2bpp.png", "gopher-doc.1bpp.png"}) {
        SCOPED_TRACE(name);
        const PictureBuffer low = read_ok(test::go_image(name), picture_type::png);
        EXPECT_EQ(low.width(), eight.width());
        EXPECT_EQ(low.height(), eight.height());
    }
}

TEST(PictureRead, CameraJpegMeasuredByGuessWithItsMarkers) {
    const std::string path = test::npm_exif("sony-alpha-6000.jpg");
    int32_t w = 0, h = 0;
    CapturedMetadata meta;
    PictureBuffer decoded;
    GetImageDims(path, 0, w, h, &decoded, &meta);
    EXPECT_EQ(w, 6000);
    EXPECT_EQ(h, 4000);
    EXPECT_TRUE(decoded.empty());
    ASSERT_FALSE(meta.jpeg_markers.empty());
    bool exif = false;
    for (const auto& [code, payload] : meta.jpeg_markers)
        if (code == 0xE1 && payload.compare(0, 6, std::string("Exif\0\0", 6)) == 0) exif = true;
    EXPECT_TRUE(exif);
}

TEST(PictureRead, ReducedJpegReadUsesTheSmallestScaleAtLeastTwiceTheTarget) {
    const std::string path = test::npm_exif("sony-alpha-6000.jpg");
    PictureBuffer b;
    int32_t w = 0, h = 0;
    // 120 wide: 1/8 gives 750 x 500, already above 240 x 240.
    ReadImageReduced(path, picture_type::jpeg, b, w, h, 120, 120);
    EXPECT_EQ(w, 750);
    EXPECT_EQ(h, 500);
    // 1000 x 1000 needs 2000 high: 4/8 gives 3000 x 2000.
    ReadImageReduced(path, picture_type::jpeg, b, w, h, 1000, 1000);
    EXPECT_EQ(w, 3000);
    EXPECT_EQ(h, 2000);
    // Larger than the source: full size, never above it.
    ReadImageReduced(path, picture_type::jpeg, b, w, h, 5000, 5000);
    EXPECT_EQ(w, 6000);
    EXPECT_EQ(h, 4000);
}

TEST(PictureRead, OrientationSamplesKeepTheirStoredSize) {
    // The reader does not turn pictures: every f1..f8 sample reads at the size stored in the file.
    for (int i = 1; i <= 8; ++i) {
        const std::string path = test::goexif_sample("samples/f" + std::to_string(i) + "-exif.jpg");
        int32_t w = 0, h = 0;
        GetImageDims(path, picture_type::jpeg, w, h);
        const PictureBuffer b = read_ok(path, picture_type::jpeg);
        EXPECT_EQ(b.width(), w);
        EXPECT_EQ(b.height(), h);
    }
}

TEST(PictureRead, GuessTableForEveryFormatOfTheSet) {
    struct Case {
        std::string path;
        int32_t guess;
    };
    const Case cases[] = {
        {test::sdl_sample("sample.png"), guess_code::png},   {test::sdl_sample("sample.jpg"), guess_code::jpeg},
        {test::sdl_sample("sample.tif"), guess_code::tiff},  {test::sdl_sample("palette.gif"), guess_code::gif},
        {test::sdl_sample("sample.bmp"), guess_code::bmp},   {test::sdl_sample("sample.pcx"), guess_code::pcx},
        {test::sdl_sample("sample.tga"), guess_code::tga},   {test::sdl_sample("sample.webp"), guess_code::unknown},
        {test::sdl_sample("sample.xcf"), guess_code::unknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(guess_file_type(test::read_bytes(c.path).substr(0, kGuessPrefixBytes)), c.guess);
    }
}

TEST(PictureRead, PngTextChunksAreCaptured) {
    TempDir dir;
    // A PNG made by our writer with three texts, one of them non-ASCII.
    CapturedMetadata texts;
    texts.png_texts = {{"Title", "Hafen"}, {"Comment", "Grüße aus Kiel"}, {"Author", ""}};
    int32_t used = 0;
    WriteImage(dir.file("t.png"), picture_type::png, test::pattern(5, 4), 0, 0, false, 1, used, &texts);
    CapturedMetadata dims_meta, read_meta;
    int32_t w = 0, h = 0;
    GetImageDims(dir.file("t.png"), 0, w, h, nullptr, &dims_meta);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(dims_meta.png_texts, texts.png_texts);
    read_ok(dir.file("t.png"), picture_type::png, &read_meta);
    EXPECT_EQ(read_meta.png_texts, texts.png_texts);
}

TEST(PictureRead, TiffStructureIsKeptForTheMetadataReaders) {
    CapturedMetadata meta;
    const std::string path = test::go_image("video-001.tiff");
    read_ok(path, picture_type::tiff, &meta);
    EXPECT_EQ(meta.tiff_exif, test::read_bytes(path));
    EXPECT_TRUE(meta.jpeg_markers.empty());
}

TEST(PictureRead, ErrorRecords) {
    TempDir dir;
    // Missing file.
    ErrorInfo e = raised([&] {
        int32_t w, h;
        GetImageDims(dir.file("none.jpg"), 6, w, h);
    });
    EXPECT_EQ(e.number, 1000 + static_cast<long>(ImagingFault::cannot_open));
    EXPECT_EQ(e.source, "GetImageDims");
    EXPECT_EQ(e.description, "IS_OpenFileSource");
    e = raised([&] {
        PictureBuffer b;
        int32_t w, h;
        ReadImage(dir.file("none.jpg"), 6, b, w, h);
    });
    EXPECT_EQ(e.source, "ReadImage");
    EXPECT_EQ(e.description, "IS_OpenFileSource");
    // A folder is not a picture.
    e = raised([&] {
        PictureBuffer b;
        int32_t w, h;
        ReadImage(dir.path().string(), 0, b, w, h);
    });
    EXPECT_EQ(e.description, "IS_OpenFileSource");

    // JPEG 2000 and unused codes: opened, then neither measured nor read.
    test::write_bytes(dir.file("a.jp2"), std::string("\0\0\0\x0CjP  \r\n\x87\n", 12) + std::string(64, 'x'));
    for (int32_t code : {7, 1, 2, 15, -3}) {
        SCOPED_TRACE(code);
        e = raised([&] {
            int32_t w, h;
            GetImageDims(dir.file("a.jp2"), code, w, h);
        });
        EXPECT_EQ(e.description, "IS_GetXXXDims");
        EXPECT_NE(e.number, 0);
        e = raised([&] {
            PictureBuffer b;
            int32_t w, h;
            ReadImage(dir.file("a.jp2"), code, b, w, h);
            EXPECT_TRUE(b.empty());
        });
        EXPECT_EQ(e.description, "IS_ReadXXX");
    }
    // A file whose guess has no type code stays undetermined and fails the measurement.
    e = raised([&] {
        int32_t w, h;
        GetImageDims(dir.file("a.jp2"), 0, w, h);
    });
    EXPECT_EQ(e.description, "IS_GetXXXDims");
}

TEST(PictureRead, OwnCodecFormatsOfTheSetMatchTheReference) {
    const PictureBuffer reference = read_ok(test::sdl_sample("sample.png"), picture_type::png);
    for (const auto& [name, code] : std::vector<std::pair<std::string, int32_t>>{
             {"sample.bmp", picture_type::bmp}, {"sample.pcx", picture_type::pcx}, {"sample.tga", picture_type::tga}}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(test::same_pixels(read_ok(test::sdl_sample(name), code), reference));
        EXPECT_TRUE(test::same_pixels(read_ok(test::sdl_sample(name), 0), reference));
        int32_t w = 0, h = 0;
        GetImageDims(test::sdl_sample(name), 0, w, h);
        EXPECT_EQ(w, 23);
        EXPECT_EQ(h, 42);
    }
}

TEST(PictureRead, EmptyTruncatedAndHostileFilesGiveTheReadError) {
    TempDir dir;
    struct Source {
        std::string path;
        int32_t code;
    };
    const Source sources[] = {
        {test::sdl_sample("sample.jpg"), picture_type::jpeg},
        {test::npm_exif("test1.jpg"), picture_type::jpeg},
        {test::sdl_sample("sample.png"), picture_type::png},
        {test::go_image("video-001.tiff"), picture_type::tiff},
        {test::go_image("video-001-tile-64x64.tiff"), picture_type::tiff},
        {test::sdl_sample("palette.gif"), picture_type::gif},
        {test::sdl_sample("sample.bmp"), picture_type::bmp},
        {test::sdl_sample("sample.pcx"), picture_type::pcx},
        {test::sdl_sample("sample.tga"), picture_type::tga},
    };
    std::mt19937 rng(1234);
    for (const auto& s : sources) {
        SCOPED_TRACE(s.path);
        const std::string bytes = test::read_bytes(s.path);
        ASSERT_GT(bytes.size(), 64u);
        std::vector<std::string> variants = {"", bytes.substr(0, 1), bytes.substr(0, bytes.size() / 2),
                                             bytes.substr(0, bytes.size() - 40)};
        // Bytes overwritten at random in the header and the body.
        for (int k = 0; k < 6; ++k) {
            std::string damaged = bytes;
            const size_t span = k < 3 ? std::min<size_t>(damaged.size(), 200) : damaged.size();
            for (int i = 0; i < 12; ++i) damaged[rng() % span] = static_cast<char>(rng());
            variants.push_back(damaged);
        }
        for (size_t i = 0; i < variants.size(); ++i) {
            SCOPED_TRACE(i);
            const std::string path = dir.file("bad" + std::to_string(i));
            test::write_bytes(path, variants[i]);
            PictureBuffer b;
            int32_t w = 0, h = 0;
            CapturedMetadata meta;
            bool read = false;
            try {
                ReadImage(path, s.code, b, w, h, &meta);
                read = true;
            } catch (const GalvoraError& e) {
                EXPECT_EQ(e.description(), "IS_ReadXXX");
                EXPECT_EQ(e.source(), "ReadImage");
                EXPECT_GT(e.number(), 1000);
                EXPECT_TRUE(b.empty());
                EXPECT_TRUE(meta.empty());
            }
            // Damage the decoder can live with must still give a whole picture.
            if (read) {
                EXPECT_EQ(b.size_bytes(), static_cast<size_t>(w) * h * 3);
            }
            // The first four variants (empty, one byte, halves) can never be read.
            if (i < 3) {
                EXPECT_FALSE(read);
            }
            try {
                GetImageDims(path, s.code, w, h);
            } catch (const GalvoraError& e) {
                EXPECT_EQ(e.description(), "IS_GetXXXDims");
            }
        }
    }
}

TEST(PictureRead, PicturesAboveThePixelLimitAreRefused) {
    struct Limit {
        ~Limit() { set_pixel_limit(0); }
    } restore;
    set_pixel_limit(500);
    for (const auto& [path, code] : std::vector<std::pair<std::string, int32_t>>{
             {test::go_image("video-001.png"), picture_type::png},
             {test::go_image("video-001.tiff"), picture_type::tiff},
             {test::sdl_sample("sample.jpg"), 0},
             {test::sdl_sample("palette.gif"), picture_type::gif}}) {
        SCOPED_TRACE(path);
        PictureBuffer b;
        int32_t w = 0, h = 0;
        const ErrorInfo e = raised([&] { ReadImage(path, code, b, w, h); });
        EXPECT_EQ(e.number, 1000 + static_cast<long>(ImagingFault::too_large));
        EXPECT_EQ(e.description, "IS_ReadXXX");
        // Measuring is still possible.
        EXPECT_NO_THROW(GetImageDims(path, code, w, h));
    }
}

TEST(PictureRead, HugeDeclaredSizeIsRefusedBeforeAllocation) {
    TempDir dir;
    // A GIF header announcing 65535 x 65535 with a tiny body.
    std::string gif = "GIF89a";
    gif += std::string("\xFF\xFF\xFF\xFF\x00\x00\x00", 7);
    gif += std::string("\x2C\x00\x00\x00\x00\xFF\xFF\xFF\xFF\x00\x08\x02\x4C\x01\x00\x3B", 16);
    test::write_bytes(dir.file("huge.gif"), gif);
    PictureBuffer b;
    int32_t w = 0, h = 0;
    const ErrorInfo e = raised([&] { ReadImage(dir.file("huge.gif"), picture_type::gif, b, w, h); });
    EXPECT_EQ(e.number, 1000 + static_cast<long>(ImagingFault::too_large));
    // Measuring it fails too: a few bytes cannot describe such a picture, so
    // a run leaves the file out rather than plan a page around it.
    const ErrorInfo m = raised([&] { GetImageDims(dir.file("huge.gif"), 0, w, h); });
    EXPECT_EQ(m.number, 1000 + static_cast<long>(ImagingFault::bad_data));
}

}  // namespace
}  // namespace galvora

namespace galvora {
namespace {

// A small linear DNG (TIFF with the DNG tags) made here: left half bright, right half dark.
void write_linear_dng(const std::string& path, int w, int h) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(t, nullptr);
    TIFFSetField(t, TIFFTAG_SUBFILETYPE, 0);
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 16);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, 34892);  // linear raw
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(t, TIFFTAG_MAKE, "Galvora");
    TIFFSetField(t, TIFFTAG_MODEL, "Test");
    static const uint8_t version[4] = {1, 4, 0, 0};
    TIFFSetField(t, TIFFTAG_DNGVERSION, version);
    TIFFSetField(t, TIFFTAG_UNIQUECAMERAMODEL, "Galvora Test");
    float matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    TIFFSetField(t, TIFFTAG_COLORMATRIX1, 9, matrix);
    TIFFSetField(t, TIFFTAG_CALIBRATIONILLUMINANT1, 21);
    float neutral[3] = {1, 1, 1};
    TIFFSetField(t, TIFFTAG_ASSHOTNEUTRAL, 3, neutral);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, h);
    std::vector<uint16_t> row(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) std::fill_n(&row[static_cast<size_t>(x) * 3], 3, x < w / 2 ? 60000 : 2000);
        TIFFWriteScanline(t, row.data(), static_cast<uint32_t>(y), 0);
    }
    TIFFClose(t);
}

TEST(PictureRead, CameraRawThroughTheRawReader) {
    test::TempDir dir;
    const std::string path = dir.file("shot.dng");
    write_linear_dng(path, 64, 48);
    int32_t w = 0, h = 0;
    CapturedMetadata meta;
    GetImageDims(path, picture_type::camera_raw, w, h, nullptr, &meta);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 48);
    EXPECT_EQ(meta.tiff_exif, test::read_bytes(path));  // RAW files keep their TIFF structure too
    for (int32_t code : {picture_type::camera_raw, 0}) {
        SCOPED_TRACE(code);
        const PictureBuffer b = read_ok(path, code, &meta);
        ASSERT_EQ(b.width(), 64);
        ASSERT_EQ(b.height(), 48);
        EXPECT_GT(b.pixel(5, 10)[0], 200);
        EXPECT_LT(b.pixel(60, 10)[0], 100);
        EXPECT_FALSE(meta.tiff_exif.empty());
    }
    // Truncated and damaged copies give the read error or a whole picture, never a crash.
    const std::string bytes = test::read_bytes(path);
    std::mt19937 rng(77);
    for (int k = 0; k < 12; ++k) {
        std::string damaged = k < 4 ? bytes.substr(0, bytes.size() * k / 4) : bytes;
        for (int i = 0; k >= 4 && i < 8; ++i) damaged[rng() % std::min<size_t>(damaged.size(), 400)] = static_cast<char>(rng());
        test::write_bytes(dir.file("bad.dng"), damaged);
        PictureBuffer out;
        int32_t bw = 0, bh = 0;
        try {
            ReadImage(dir.file("bad.dng"), picture_type::camera_raw, out, bw, bh);
            EXPECT_EQ(out.size_bytes(), static_cast<size_t>(bw) * bh * 3);
            EXPECT_GE(k, 4) << "a truncated RAW file was read";
        } catch (const GalvoraError& e) {
            EXPECT_EQ(e.description(), "IS_ReadXXX");
            EXPECT_TRUE(out.empty());
        }
    }
    // Not a RAW file at all: the read error.
    PictureBuffer b;
    const ErrorInfo e = raised([&] { ReadImage(test::sdl_sample("sample.png"), picture_type::camera_raw, b, w, h); });
    EXPECT_EQ(e.description, "IS_ReadXXX");
}

// CMYK JPEGs (as Photoshop writes them: inverted, with the Adobe marker) become RGB.
TEST(PictureRead, CmykJpegIsConvertedToRgb) {
    test::TempDir dir;
    const std::string path = dir.file("cmyk.jpg");
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = 16;
    cinfo.image_height = 8;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    // Left half full cyan ink, right half no ink; stored inverted.
    std::vector<JSAMPLE> row(16 * 4);
    for (int x = 0; x < 16; ++x) {
        JSAMPLE* p = &row[static_cast<size_t>(x) * 4];
        p[0] = x < 8 ? 0 : 255, p[1] = 255, p[2] = 255, p[3] = 255;
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(f);
    const PictureBuffer b = read_ok(path, picture_type::jpeg);
    ASSERT_EQ(b.width(), 16);
    EXPECT_LT(b.pixel(2, 4)[0], 20);   // cyan: no red
    EXPECT_GT(b.pixel(2, 4)[1], 235);
    EXPECT_GT(b.pixel(2, 4)[2], 235);
    EXPECT_GT(b.pixel(13, 4)[0], 235);  // white
}

std::string png_chunk(const std::string& type, const std::string& data) {
    std::string out;
    const uint32_t n = static_cast<uint32_t>(data.size());
    out += {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)};
    out += type + data;
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type.data()), 4);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
    out += {static_cast<char>(crc >> 24), static_cast<char>(crc >> 16), static_cast<char>(crc >> 8), static_cast<char>(crc)};
    return out;
}

// Text chunks that inflate beyond reason, are broken or fail their checksum
// are passed over; the sound ones around them are kept, and the picture reads.
TEST(PictureRead, OversizedAndBrokenPngTextsAreSkipped) {
    test::TempDir dir;
    int32_t used = 0;
    WriteImage(dir.file("base.png"), picture_type::png, test::pattern(6, 5), 0, 0, false, 1, used);
    std::string png = test::read_bytes(dir.file("base.png"));
    const size_t iend = png.size() - 12;
    // 20 MB of zeros compress to a few kilobytes.
    std::string zeros(20u << 20, '\0');
    uLongf packed_size = compressBound(static_cast<uLong>(zeros.size()));
    std::string packed(packed_size, '\0');
    ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size,
                        reinterpret_cast<const Bytef*>(zeros.data()), static_cast<uLong>(zeros.size()), 9),
              Z_OK);
    packed.resize(packed_size);
    std::string extra = png_chunk("zTXt", std::string("Bomb\0\0", 6) + packed);
    extra += png_chunk("zTXt", std::string("Broken\0\0", 8) + "not zlib at all");
    std::string bad_crc = png_chunk("tEXt", std::string("Bad\0crc", 7));
    bad_crc[bad_crc.size() - 1] ^= 0x55;
    extra += bad_crc;
    extra += png_chunk("tEXt", std::string("Kept\0yes", 8));
    png.insert(iend, extra);
    test::write_bytes(dir.file("texts.png"), png);
    CapturedMetadata meta;
    const PictureBuffer b = read_ok(dir.file("texts.png"), picture_type::png, &meta);
    EXPECT_TRUE(test::same_pixels(b, test::pattern(6, 5)));
    ASSERT_EQ(meta.png_texts.size(), 1u);
    EXPECT_EQ(meta.png_texts[0], (std::pair<std::string, std::string>{"Kept", "yes"}));
}

// Metafiles are measured by decoding them: the picture goes back to a caller
// that asks for it, and no block is kept for one that does not.
TEST(PictureRead, MetafileMeasurementHandsBackTheDecodedPicture) {
    test::TempDir dir;
    int32_t used = 0;
    const PictureBuffer picture = test::pattern(30, 20);
    WriteImage(dir.file("a.emf"), picture_type::metafile, picture, 0, 0, false, 1, used);
    int32_t w = 0, h = 0;
    PictureBuffer decoded = test::solid(2, 2, 1, 1, 1);  // replaced, not leaked
    GetImageDims(dir.file("a.emf"), picture_type::metafile, w, h, &decoded);
    EXPECT_EQ(w, 30);
    EXPECT_EQ(h, 20);
    EXPECT_TRUE(test::same_pixels(decoded, picture));
    GetImageDims(dir.file("a.emf"), 0, w, h);  // guessed, nothing kept
    EXPECT_EQ(w, 30);
    // Other types never hand a block back.
    WriteImage(dir.file("a.png"), picture_type::png, picture, 0, 0, false, 1, used);
    GetImageDims(dir.file("a.png"), 0, w, h, &decoded);
    EXPECT_TRUE(decoded.empty());
}

}  // namespace
}  // namespace galvora
