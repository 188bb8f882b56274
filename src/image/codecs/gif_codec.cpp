#include "image/codecs/gif_codec.h"

#include <gif_lib.h>
#include <sys/stat.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "image/codecs/colour_quantiser.h"
#include "image/imaging_error.h"

namespace galvora {

namespace {

constexpr uint64_t kLzwPixelsPerByte = 8 * 4096 / 3 + 1;

int read_from_file(GifFileType* gif, GifByteType* bytes, int length) {
    if (length <= 0) return 0;
    return static_cast<int>(std::fread(bytes, 1, static_cast<size_t>(length), static_cast<FILE*>(gif->UserData)));
}

int write_to_file(GifFileType* gif, const GifByteType* bytes, int length) {
    if (length <= 0) return 0;
    return static_cast<int>(std::fwrite(bytes, 1, static_cast<size_t>(length), static_cast<FILE*>(gif->UserData)));
}

struct GifReader {
    void operator()(GifFileType* g) const {
        int err = 0;
        if (g) DGifCloseFile(g, &err);
    }
};
using GifReadHandle = std::unique_ptr<GifFileType, GifReader>;

GifReadHandle open_for_reading(FILE* in) {
    if (std::fseek(in, 0, SEEK_SET) != 0) throw ImagingFailure(ImagingFault::bad_data);
    int err = 0;
    GifFileType* g = DGifOpen(in, read_from_file, &err);
    if (!g) throw ImagingFailure(ImagingFault::bad_data);
    return GifReadHandle(g);
}

// Advances to the first image descriptor, skipping extensions.
void seek_first_image(GifFileType* g) {
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(g, &type) != GIF_OK) throw ImagingFailure(ImagingFault::bad_data);
        if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(g) != GIF_OK) throw ImagingFailure(ImagingFault::bad_data);
            return;
        }
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(g, &code, &ext) != GIF_OK) throw ImagingFailure(ImagingFault::bad_data);
            while (ext) {
                if (DGifGetExtensionNext(g, &ext) != GIF_OK) throw ImagingFailure(ImagingFault::bad_data);
            }
            continue;
        }
        throw ImagingFailure(ImagingFault::bad_data);  // end of file without an image
    }
}

// The canvas is the logical screen when the first image lies inside it,
// otherwise the image itself (some writers leave the screen size 0).
struct Canvas {
    int32_t width = 0, height = 0, left = 0, top = 0;
};

// GIF's codes have at least three bits and stand for at most 4096 pixels
// each, so a file cannot hold more image pixels than 8 / 3 * 4096 a byte.
uint64_t most_pixels(FILE* in) {
    struct stat file_info {};
    if (fstat(fileno(in), &file_info) != 0 || file_info.st_size <= 0) return UINT64_MAX;
    return static_cast<uint64_t>(file_info.st_size) * kLzwPixelsPerByte;
}

// A few bytes declaring an image of millions of pixels are refused before its
// picture is allocated.
void refuse_more_than_data_holds(const GifFileType* g, FILE* in) {
    if (static_cast<uint64_t>(g->Image.Width) * static_cast<uint64_t>(g->Image.Height) > most_pixels(in))
        throw ImagingFailure(ImagingFault::bad_data);
}

// The screen around the first image is background and needs no data.
Canvas canvas_of(const GifFileType* g) {
    const GifImageDesc& d = g->Image;
    if (d.Width <= 0 || d.Height <= 0) throw ImagingFailure(ImagingFault::bad_data);
    Canvas c;
    const bool inside = g->SWidth > 0 && g->SHeight > 0 && d.Left >= 0 && d.Top >= 0 &&
                        static_cast<int64_t>(d.Left) + d.Width <= g->SWidth &&
                        static_cast<int64_t>(d.Top) + d.Height <= g->SHeight;
    if (inside) {
        c = {g->SWidth, g->SHeight, d.Left, d.Top};
    } else {
        c = {d.Width, d.Height, 0, 0};
    }
    return c;
}

}  // namespace

void gif_read_dims(FILE* in, int32_t& width, int32_t& height) {
    GifReadHandle g = open_for_reading(in);
    seek_first_image(g.get());
    refuse_more_than_data_holds(g.get(), in);
    const Canvas c = canvas_of(g.get());
    width = c.width;
    height = c.height;
}

PictureBuffer gif_read(FILE* in) {
    GifReadHandle handle = open_for_reading(in);
    GifFileType* g = handle.get();
    seek_first_image(g);
    const Canvas c = canvas_of(g);
    if (!dimensions_allowed(c.width, c.height)) throw ImagingFailure(ImagingFault::too_large);
    refuse_more_than_data_holds(g, in);
    const ColorMapObject* map = g->Image.ColorMap ? g->Image.ColorMap : g->SColorMap;
    // 256 entries, black beyond the file's own table, so every index a
    // hostile file uses maps to something.
    std::array<uint8_t, 256 * 3> palette{};
    if (map && map->Colors) {
        const int n = std::min(map->ColorCount, 256);
        for (int i = 0; i < n; ++i) {
            palette[i * 3] = map->Colors[i].Red;
            palette[i * 3 + 1] = map->Colors[i].Green;
            palette[i * 3 + 2] = map->Colors[i].Blue;
        }
    }
    const int32_t w = g->Image.Width, h = g->Image.Height;
    // The image's lines go straight into the picture; the rest of the canvas
    // shows the background colour. A few bytes of GIF may declare a huge
    // screen around a tiny image, so the canvas is filled row by row and
    // never walked pixel by pixel or kept as a second map of indexes.
    PictureBuffer buffer = PictureBuffer::allocate(c.width, c.height);
    const bool covered = c.left == 0 && c.top == 0 && w == c.width && h == c.height;
    const uint8_t* background = &palette[static_cast<uint8_t>(g->SColorMap ? g->SBackGroundColor : 0) * 3];
    if (!covered && (background[0] || background[1] || background[2])) {
        uint8_t* first = buffer.row(0);
        for (int32_t x = 0; x < c.width; ++x) std::memcpy(first + static_cast<size_t>(x) * 3, background, 3);
        for (int32_t y = 1; y < c.height; ++y) std::memcpy(buffer.row(y), first, buffer.row_bytes());
    }
    std::vector<GifPixelType> line(static_cast<size_t>(w));
    auto put_row = [&](int32_t y) {
        if (DGifGetLine(g, line.data(), w) != GIF_OK) throw ImagingFailure(ImagingFault::bad_data);
        uint8_t* out = buffer.pixel(c.left, c.top + y);
        for (GifPixelType index : line) {
            std::memcpy(out, &palette[index * 3], 3);
            out += 3;
        }
    };
    if (g->Image.Interlace) {
        static const int32_t start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int32_t y = start[pass]; y < h; y += step[pass]) put_row(y);
    } else {
        for (int32_t y = 0; y < h; ++y) put_row(y);
    }
    return buffer;
}

void gif_write(const PictureBuffer& buffer, FILE* out) {
    if (buffer.empty()) throw ImagingFailure(ImagingFault::bad_argument);
    if (buffer.width() > 0xFFFF || buffer.height() > 0xFFFF) throw ImagingFailure(ImagingFault::write_failed);
    const QuantisedPicture q = quantise_to_palette(buffer);
    // The colour table holds a power of two entries, at least two.
    int bits = 1;
    while ((1 << bits) < q.colours) ++bits;
    const int table = 1 << bits;
    std::vector<GifColorType> colours(static_cast<size_t>(table));
    for (int i = 0; i < q.colours; ++i)
        colours[i] = GifColorType{q.palette[i * 3], q.palette[i * 3 + 1], q.palette[i * 3 + 2]};
    ColorMapObject* map = GifMakeMapObject(table, colours.data());
    if (!map) throw ImagingFailure(ImagingFault::out_of_memory);
    int err = 0;
    GifFileType* g = EGifOpen(out, write_to_file, &err);
    if (!g) {
        GifFreeMapObject(map);
        throw ImagingFailure(ImagingFault::write_failed);
    }
    bool ok = EGifPutScreenDesc(g, buffer.width(), buffer.height(), bits, 0, map) == GIF_OK &&
              EGifPutImageDesc(g, 0, 0, buffer.width(), buffer.height(), false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<size_t>(buffer.width()));
    for (int32_t y = 0; ok && y < buffer.height(); ++y) {
        std::memcpy(line.data(), &q.indexes[static_cast<size_t>(y) * buffer.width()], line.size());
        ok = EGifPutLine(g, line.data(), buffer.width()) == GIF_OK;
    }
    ok = (EGifCloseFile(g, &err) == GIF_OK) && ok;
    GifFreeMapObject(map);
    if (!ok || std::fflush(out) != 0 || std::ferror(out)) throw ImagingFailure(ImagingFault::write_failed);
}

}  // namespace galvora
