// ZNImage::DoIt after the clone: the thumbnail (from the clone or the
// original, no enlarging unless allowed, filled out to its box on request)
// and the preview drawn centred into the picture box.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "image/picture/file_facts.h"
#include "image/picture/scale_factor.h"
#include "image/picture/zn_image.h"
#include "image/picture/zn_image_run.h"
#include "image/picture_io.h"
#include "image/resize_image.h"

namespace galvora {
namespace {

// The filter of thumbnails and previews ("Linear 2x2").
constexpr int32_t kThumbFilter = -2;

// thumb laid in the middle of a box_width x box_height block of colour; a
// spare pixel goes to the right and bottom margin.
PictureBuffer fill_box(const PictureBuffer& thumb, int32_t box_width, int32_t box_height, int32_t colour) {
    PictureBuffer box = PictureBuffer::allocate(box_width, box_height);
    const uint8_t rgb[3] = {colour_red(colour), colour_green(colour), colour_blue(colour)};
    for (int32_t y = 0; y < box_height; ++y) {
        uint8_t* row = box.row(y);
        for (int32_t x = 0; x < box_width; ++x) std::memcpy(row + static_cast<size_t>(x) * 3, rgb, 3);
    }
    const int32_t left = (box_width - thumb.width()) / 2;
    const int32_t top = (box_height - thumb.height()) / 2;
    // Clip, so a thumbnail larger than its box (enlarging allowed) still fits.
    const int32_t x0 = std::max(left, 0), y0 = std::max(top, 0);
    const int32_t x1 = std::min(left + thumb.width(), box_width), y1 = std::min(top + thumb.height(), box_height);
    for (int32_t y = y0; y < y1; ++y) {
        if (x1 > x0) {
            std::memcpy(box.pixel(x0, y), thumb.pixel(x0 - left, y - top), static_cast<size_t>(x1 - x0) * 3);
        }
    }
    return box;
}

}  // namespace

void ZNImage::thumbnail_size(int32_t width, int32_t height, int32_t& thumb_width, int32_t& thumb_height) const {
    const double factor = width > 0 && height > 0
                              ? BerechneSkalierung(width, height, thumb_length_, thumb_width_, thumb_height_, thumb_side_)
                              : 0;
    if (factor > 0 && std::isfinite(factor)) {
        const PixelSize size = scaled_size(width, height, factor);
        thumb_width = std::max(size.width, 1);
        thumb_height = std::max(size.height, 1);
    } else {
        // A side choice outside 1 to 4 gives no factor: keep the source size.
        thumb_width = width;
        thumb_height = height;
    }
    if (!thumb_enlarge_ && (thumb_width > width || thumb_height > height)) {
        thumb_width = width;
        thumb_height = height;
    }
}

bool ZNImage::make_thumbnail(Run& run) {
    ZNImageFile& r = *record_;
    int32_t source_width = r.ODimX, source_height = r.ODimY;
    if (thumb_from_clone_) {
        if (run.remake_clone) run.remake_thumb = true;
        source_width = r.CDimX;
        source_height = r.CDimY;
    }
    int32_t thumb_width = 0, thumb_height = 0;
    thumbnail_size(source_width, source_height, thumb_width, thumb_height);
    const bool fill = thumb_side_ == 4 && thumb_fill_box_;
    const int32_t box_width = fill ? thumb_width_ : thumb_width;
    const int32_t box_height = fill ? thumb_height_ : thumb_height;

    // The original's date counts also for a thumbnail made from the clone.
    if (r.TDatum < r.ODatum || r.TDimX != box_width || r.TDimY != box_height) run.remake_thumb = true;
    r.TDimX = box_width;
    r.TDimY = box_height;
    if (!run.remake_thumb) return true;

    thumbnail_.release();
    ErrorInfo error;
    const PictureBuffer* source = &original_;
    if (thumb_from_clone_) {
        // The clone was kept or copied: read it back, no larger than needed.
        if (clone_.empty() && !read_clone(run, thumb_width, thumb_height)) return false;
        source = &clone_;
    } else if (original_.empty() && !read_original(run, thumb_width, thumb_height)) {
        return false;
    }

    PictureBuffer resized;
    const bool ok =
        run_guarded([&] { ResizeImage(*source, thumb_width, thumb_height, resized, kThumbFilter); }, error, "ResizeImage");
    thumbnail_ = std::move(resized);
    if (!ok) return fail(run, run.thumb_path, error);

    if (fill && (thumb_width != thumb_width_ || thumb_height != thumb_height_)) {
        const int32_t colour = thumb_fill_average_ ? GetAverageColour(thumbnail_) : thumb_fill_colour_;
        if (!run_guarded([&] { thumbnail_ = fill_box(thumbnail_, thumb_width_, thumb_height_, colour); }, error,
                         "FillSolidRect")) {
            return fail(run, run.thumb_path, error);
        }
    }

    // A thumbnail folder that leads back to the pictures (through a link) must
    // not let the thumbnail take the original's place.
    if (same_file(run.original_path, run.thumb_path)) {
        return fail(run, run.thumb_path, ErrorInfo{75, "DoIt", "The thumbnail would replace its original"});
    }
    // Thumbnails are never progressive and never size-limited, and carry no metadata.
    if (!run_guarded(
            [&] { WriteImage(run.thumb_path, r.TBildtyp, thumbnail_, thumb_quality_, 0, false, 1, thumb_quality_used_); },
            error, "WriteImage")) {
        return fail(run, run.thumb_path, error);
    }
    thumb_made_ = true;
    return true;
}

bool ZNImage::draw_preview(Run& run) {
    if (picture_box_ == nullptr || !thumb_on_ || thumbnail_.empty()) return true;
    ZNImageFile& r = *record_;
    const float box_width = picture_box_->scale_width();
    const float box_height = picture_box_->scale_height();
    int32_t width = thumbnail_.width(), height = thumbnail_.height();
    if (!(box_width >= r.TDimX && box_height >= r.TDimY)) {
        const double factor = BerechneSkalierung(r.TDimX, r.TDimY, 0, round_half_even(box_width),
                                                 round_half_even(box_height), 4);
        const PixelSize size = scaled_size(r.TDimX, r.TDimY, factor);
        width = std::max(size.width, 1);
        height = std::max(size.height, 1);
        PictureBuffer resized;
        ErrorInfo error;
        if (!run_guarded([&] { ResizeImage(thumbnail_, width, height, resized, kThumbFilter); }, error,
                         "ResizeImage")) {
            return fail(run, run.thumb_path, error);
        }
        thumbnail_ = std::move(resized);
    }
    picture_box_->clear();
    const int32_t x = round_half_even((box_width - width) / 2.0);
    const int32_t y = round_half_even((box_height - height) / 2.0);
    if (!picture_box_->draw_rgb(thumbnail_, x, y, width, height)) {
        return fail(run, run.thumb_path,
                    imaging_error(ImagingFault::general, "ZNImage.DoIt", "IS_StretchDrawRGB").info());
    }
    return true;
}

}  // namespace galvora
