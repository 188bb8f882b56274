#include "image/codecs/tiff_codec.h"

#include <sys/stat.h>
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include <cstring>
#include <memory>
#include <mutex>
#include <new>

#include "image/imaging_error.h"

namespace galvora {

namespace {

constexpr tmsize_t kMaxLibraryAllocation = tmsize_t{512} << 20;

// libtiff prints its complaints to stderr by default; the readers report
// failures through their own records instead.
void silence_libtiff() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    });
}

struct TiffCloser {
    void operator()(TIFF* t) const {
        if (t) TIFFClose(t);
    }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

// libtiff closes the descriptor it is given, so it gets a duplicate and the
// caller's stream stays valid.
TiffHandle open_tiff(FILE* f, const char* mode) {
    silence_libtiff();
    std::fflush(f);
    if (std::strchr(mode, 'r') && std::fseek(f, 0, SEEK_SET) != 0) return nullptr;
    const int fd = dup(fileno(f));
    if (fd < 0) return nullptr;
    if (lseek(fd, 0, SEEK_SET) < 0) {
        close(fd);
        return nullptr;
    }
    // A hostile file may declare strips or tiles of any size; no single
    // allocation inside libtiff may exceed this (our own pixel block is
    // checked against the pixel limit separately).
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) {
        close(fd);
        return nullptr;
    }
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxLibraryAllocation);
    TIFF* t = TIFFFdOpenExt(fd, "picture", mode, options);
    TIFFOpenOptionsFree(options);
    if (!t) close(fd);
    return TiffHandle(t);
}

void first_page_dims(TIFF* t, uint32_t& w, uint32_t& h) {
    if (!TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &w) || !TIFFGetField(t, TIFFTAG_IMAGELENGTH, &h) || w == 0 || h == 0 ||
        w > 0x7FFFFFFFu || h > 0x7FFFFFFFu)
        throw ImagingFailure(ImagingFault::bad_data);
}

// True when the file is large enough for the picture it declares: its
// samples, packed by its compression at the best ratio that compression
// reaches, must fit the file. A few bytes declaring millions of pixels are
// refused before the picture and libtiff's raster are allocated.
bool data_can_hold(TIFF* t, FILE* in, uint32_t w, uint32_t h) {
    struct stat file_info {};
    if (fstat(fileno(in), &file_info) != 0 || file_info.st_size <= 0) return true;
    uint16_t samples = 1, bits = 1, compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(t, TIFFTAG_COMPRESSION, &compression);
    uint64_t ratio;
    switch (compression) {
        case COMPRESSION_NONE: ratio = 1; break;
        case COMPRESSION_PACKBITS: ratio = 64; break;         // 128 bytes from 2
        case COMPRESSION_LZW: ratio = 4096; break;            // 4096 bytes from a code of 9 bits or more
        case COMPRESSION_ADOBE_DEFLATE:
        case COMPRESSION_DEFLATE: ratio = 1032; break;        // deflate's own bound
        default: ratio = 65536; break;                        // fax and JPEG: a row or block from a few bits
    }
    const uint64_t row_bits = static_cast<uint64_t>(w) * std::max<uint16_t>(samples, 1) * std::max<uint16_t>(bits, 1);
    const uint64_t raw_bytes = (row_bits + 7) / 8 * h;
    return raw_bytes / ratio <= static_cast<uint64_t>(file_info.st_size);
}

}  // namespace

void tiff_read_dims(FILE* in, int32_t& width, int32_t& height) {
    TiffHandle t = open_tiff(in, "r");
    if (!t) throw ImagingFailure(ImagingFault::bad_data);
    uint32_t w = 0, h = 0;
    first_page_dims(t.get(), w, h);
    if (!data_can_hold(t.get(), in, w, h)) throw ImagingFailure(ImagingFault::bad_data);
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
}

bool tiff_is_camera_raw(FILE* in) {
    unsigned char head[10] = {};
    if (std::fseek(in, 0, SEEK_SET) != 0) return false;
    const size_t got = std::fread(head, 1, sizeof(head), in);
    if (got == sizeof(head) && head[8] == 'C' && head[9] == 'R') return true;
    TiffHandle t = open_tiff(in, "r");
    if (!t) return false;
    // The version tag has a fixed count of four bytes: libtiff hands out
    // just the pointer, no count.
    const uint8_t* version = nullptr;
    if (TIFFGetField(t.get(), TIFFTAG_DNGVERSION, &version) && version) return true;
    uint32_t subfile = 0;
    return TIFFGetField(t.get(), TIFFTAG_SUBFILETYPE, &subfile) && (subfile & FILETYPE_REDUCEDIMAGE);
}

PictureBuffer tiff_read(FILE* in) {
    TiffHandle t = open_tiff(in, "r");
    if (!t) throw ImagingFailure(ImagingFault::bad_data);
    uint32_t w = 0, h = 0;
    first_page_dims(t.get(), w, h);
    if (!dimensions_allowed(w, h)) throw ImagingFailure(ImagingFault::too_large);
    if (!data_can_hold(t.get(), in, w, h)) throw ImagingFailure(ImagingFault::bad_data);
    char message[1024] = {};
    if (!TIFFRGBAImageOK(t.get(), message)) throw ImagingFailure(ImagingFault::unsupported_type);
    const size_t pixels = static_cast<size_t>(w) * h;
    std::unique_ptr<uint32_t[]> raster(new (std::nothrow) uint32_t[pixels]);
    if (!raster) throw ImagingFailure(ImagingFault::out_of_memory);
    // stop_on_error = 1: a damaged or truncated strip fails the read instead
    // of leaving part of the picture blank.
    if (!TIFFReadRGBAImageOriented(t.get(), w, h, raster.get(), ORIENTATION_TOPLEFT, 1))
        throw ImagingFailure(ImagingFault::bad_data);
    PictureBuffer buffer = PictureBuffer::allocate(static_cast<int32_t>(w), static_cast<int32_t>(h));
    uint8_t* out = buffer.data();
    for (size_t i = 0; i < pixels; ++i, out += 3) {
        const uint32_t p = raster[i];
        out[0] = static_cast<uint8_t>(TIFFGetR(p));
        out[1] = static_cast<uint8_t>(TIFFGetG(p));
        out[2] = static_cast<uint8_t>(TIFFGetB(p));
    }
    return buffer;
}

void tiff_write(const PictureBuffer& buffer, FILE* out, int32_t compression) {
    if (buffer.empty()) throw ImagingFailure(ImagingFault::bad_argument);
    if (compression <= 0 || compression > 0xFFFF || !TIFFIsCODECConfigured(static_cast<uint16_t>(compression)))
        throw ImagingFailure(ImagingFault::write_failed);
    TiffHandle t = open_tiff(out, "w");
    if (!t) throw ImagingFailure(ImagingFault::write_failed);
    TIFF* tif = t.get();
    const uint32_t w = static_cast<uint32_t>(buffer.width()), h = static_cast<uint32_t>(buffer.height());
    bool ok = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w) && TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h) &&
              TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3) && TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8) &&
              TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
              TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
              TIFFSetField(tif, TIFFTAG_COMPRESSION, static_cast<uint16_t>(compression)) &&
              TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    if (ok) ok = TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    std::unique_ptr<uint8_t[]> row(new (std::nothrow) uint8_t[buffer.row_bytes()]);
    if (!row) throw ImagingFailure(ImagingFault::out_of_memory);
    for (uint32_t y = 0; ok && y < h; ++y) {
        // The encoder may scribble on the row it is given; hand it a copy.
        std::memcpy(row.get(), buffer.row(static_cast<int32_t>(y)), buffer.row_bytes());
        ok = TIFFWriteScanline(tif, row.get(), y, 0) == 1;
    }
    ok = ok && TIFFWriteDirectory(tif);
    t.reset();
    if (!ok) throw ImagingFailure(ImagingFault::write_failed);
}

}  // namespace galvora
