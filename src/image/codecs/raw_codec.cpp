#include "image/codecs/raw_codec.h"

#include <libraw/libraw.h>

#include <cstring>
#include <memory>
#include <new>

#include "image/imaging_error.h"

namespace galvora {

namespace {

// LibRaw reports damaged or truncated data through a callback (by default a
// line on stderr) and goes on with zeros; we note it and fail the read.
void note_data_error(void* data, const char*, const int) { *static_cast<bool*>(data) = true; }

std::unique_ptr<LibRaw> open_raw(const std::string& path, bool* data_error) {
    std::unique_ptr<LibRaw> raw(new (std::nothrow) LibRaw(LIBRAW_OPTIONS_NONE));
    if (!raw) throw ImagingFailure(ImagingFault::out_of_memory);
    raw->set_dataerror_handler(note_data_error, data_error);
    const int rc = raw->open_file(path.c_str());
    if (rc != LIBRAW_SUCCESS) {
        throw ImagingFailure(rc == LIBRAW_IO_ERROR ? ImagingFault::cannot_open
                             : rc == LIBRAW_FILE_UNSUPPORTED ? ImagingFault::unsupported_type
                                                             : ImagingFault::bad_data);
    }
    return raw;
}

void oriented_dims(const LibRaw& raw, int32_t& width, int32_t& height) {
    const libraw_image_sizes_t& s = raw.imgdata.sizes;
    int32_t w = s.width, h = s.height;
    if (w <= 0 || h <= 0) throw ImagingFailure(ImagingFault::bad_data);
    if (s.flip & 4) std::swap(w, h);
    width = w;
    height = h;
}

}  // namespace

void raw_read_dims(const std::string& path, int32_t& width, int32_t& height) {
    bool data_error = false;
    auto raw = open_raw(path, &data_error);
    oriented_dims(*raw, width, height);
}

PictureBuffer raw_read(const std::string& path) {
    bool data_error = false;
    auto raw = open_raw(path, &data_error);
    int32_t w = 0, h = 0;
    oriented_dims(*raw, w, h);
    const libraw_image_sizes_t& s = raw->imgdata.sizes;
    if (!dimensions_allowed(w, h) || !dimensions_allowed(s.raw_width, s.raw_height))
        throw ImagingFailure(ImagingFault::too_large);
    raw->imgdata.params.output_bps = 8;
    raw->imgdata.params.use_camera_wb = 1;
    if (raw->unpack() != LIBRAW_SUCCESS || data_error || raw->dcraw_process() != LIBRAW_SUCCESS || data_error)
        throw ImagingFailure(ImagingFault::bad_data);
    int err = 0;
    libraw_processed_image_t* img = raw->dcraw_make_mem_image(&err);
    if (!img) throw ImagingFailure(ImagingFault::bad_data);
    std::unique_ptr<libraw_processed_image_t, void (*)(libraw_processed_image_t*)> guard(img, LibRaw::dcraw_clear_mem);
    if (img->type != LIBRAW_IMAGE_BITMAP || img->bits != 8 || (img->colors != 3 && img->colors != 1) ||
        img->width == 0 || img->height == 0)
        throw ImagingFailure(ImagingFault::bad_data);
    const size_t needed = static_cast<size_t>(img->width) * img->height * img->colors;
    if (img->data_size < needed) throw ImagingFailure(ImagingFault::bad_data);
    PictureBuffer buffer = PictureBuffer::allocate(img->width, img->height);
    if (img->colors == 3) {
        std::memcpy(buffer.data(), img->data, needed);
    } else {
        uint8_t* out = buffer.data();
        for (size_t i = 0; i < needed; ++i, out += 3) out[0] = out[1] = out[2] = img->data[i];
    }
    return buffer;
}

}  // namespace galvora
