#include "image/owncodecs/wmf_renderer.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "image/codecs/png_codec.h"
#include "image/imaging_error.h"

namespace galvora {

namespace {

// One libwmf session over a file held in memory; torn down in every case.
class WmfSession {
public:
    explicit WmfSession(const std::vector<uint8_t>& file) {
        wmfAPI_Options options;
        std::memset(&options, 0, sizeof options);
        options.function = wmf_gd_function;
        // Messages about damaged records would only clutter stderr; the
        // outcome is reported through our own error.
        const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (wmf_api_create(&api_, flags, &options) != wmf_E_None || !api_) fail();
        // libwmf reads but does not change the bytes.
        if (wmf_mem_open(api_, const_cast<unsigned char*>(file.data()), static_cast<long>(file.size())) != wmf_E_None)
            fail();
        opened_ = true;
        if (wmf_scan(api_, 0, &bbox_) != wmf_E_None) fail();
        unsigned int w = 0, h = 0;
        if (wmf_display_size(api_, &w, &h, 96, 96) != wmf_E_None) fail();
        if (w == 0 || h == 0 || w > INT32_MAX || h > INT32_MAX) fail();
        width_ = static_cast<int32_t>(w);
        height_ = static_cast<int32_t>(h);
    }
    ~WmfSession() { close(); }
    WmfSession(const WmfSession&) = delete;
    WmfSession& operator=(const WmfSession&) = delete;

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

    // Plays the records into a PNG in memory, then decodes that.
    PictureBuffer draw() {
        if (!dimensions_allowed(width_, height_)) throw ImagingFailure(ImagingFault::too_large);
        char* bytes = nullptr;
        size_t length = 0;
        FILE* sink = open_memstream(&bytes, &length);
        if (!sink) throw ImagingFailure(ImagingFault::out_of_memory);
        wmf_gd_t* device = WMF_GD_GetData(api_);
        device->type = wmf_gd_png;
        device->flags |= WMF_GD_OUTPUT_FILE;
        device->file = sink;
        device->width = static_cast<unsigned int>(width_);
        device->height = static_cast<unsigned int>(height_);
        device->bbox = bbox_;
        const wmf_error_t played = wmf_play(api_, 0, &bbox_);
        close();  // libwmf finishes its output here
        std::fclose(sink);
        std::unique_ptr<char, decltype(&std::free)> owned(bytes, &std::free);
        if (played != wmf_E_None || length == 0) throw ImagingFailure(ImagingFault::bad_data);
        FILE* png = fmemopen(owned.get(), length, "rb");
        if (!png) throw ImagingFailure(ImagingFault::out_of_memory);
        try {
            PictureBuffer out = png_read(png, nullptr);
            std::fclose(png);
            return out;
        } catch (...) {
            std::fclose(png);
            throw;
        }
    }

private:
    [[noreturn]] void fail() {
        close();
        throw ImagingFailure(ImagingFault::bad_data);
    }
    void close() {
        if (!api_) return;
        if (opened_) wmf_mem_close(api_);
        wmf_api_destroy(api_);
        api_ = nullptr;
        opened_ = false;
    }

    wmfAPI* api_ = nullptr;
    bool opened_ = false;
    wmfD_Rect bbox_{};
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace

void wmf_render_size(const std::vector<uint8_t>& file, int32_t& width, int32_t& height) {
    WmfSession session(file);
    width = session.width();
    height = session.height();
}

PictureBuffer wmf_render(const std::vector<uint8_t>& file) {
    WmfSession session(file);
    return session.draw();
}

}  // namespace galvora
