#include "image/picture/zn_image.h"

#include <cmath>

#include "image/picture/scale_factor.h"
#include "image/picture/zn_image_run.h"
#include "image/pixel/resample.h"
#include "image/picture_io.h"
#include "image/picture_type.h"

namespace galvora {

std::string picture_file_path(const std::string& folder, const std::string& name, const std::string& extension) {
    std::string file = name + "." + extension;
    if (folder.empty()) return file;
    if (folder.back() == '/') return folder + file;
    return folder + "/" + file;
}

ZNImage::ZNImage() : surface_(std::make_shared<Surface>(*this)) { reset(); }

ZNImage::~ZNImage() {
    // Never leave the current-image slot pointing at a dead object.
    if (current_image() == surface_) SetImage(nullptr);
    FreeImageBuffers();
}

void ZNImage::FreeImageBuffers() {
    original_.release();
    clone_.release();
    thumbnail_.release();
    metadata_.reset();
}

void ZNImage::reset() {
    FreeImageBuffers();
    original_meta_.reset();
    err_image_.clear();
    metadata_.reset();
}

void ZNImage::take_results(ZNImage& other) {
    if (&other == this) return;
    original_ = std::move(other.original_);
    clone_ = std::move(other.clone_);
    thumbnail_ = std::move(other.thumbnail_);
    original_meta_ = std::move(other.original_meta_);
    metadata_ = std::move(other.metadata_);
    clone_rotated_ = other.clone_rotated_;
    clone_made_ = other.clone_made_;
    thumb_made_ = other.thumb_made_;
    thumb_quality_used_ = other.thumb_quality_used_;
    thumb_from_clone_ = other.thumb_from_clone_;
    err_image_ = std::move(other.err_image_);
    error_ = std::move(other.error_);
    other.reset();
}

void ZNImage::CloneDimX(int32_t value) {
    if (record_) record_->CDimX = value;
}
int32_t ZNImage::CloneDimX() const { return record_ ? record_->CDimX : 0; }
void ZNImage::CloneDimY(int32_t value) {
    if (record_) record_->CDimY = value;
}
int32_t ZNImage::CloneDimY() const { return record_ ? record_->CDimY : 0; }

void ZNImage::make_current(bool on) { SetImage(on ? std::static_pointer_cast<DrawingSurface>(surface_) : nullptr); }

void ZNImage::usePicturebox(PictureBoxPort& box, int32_t width, int32_t height) {
    // Failures leave a zero-filled clone of the requested size (or none when
    // even that cannot be had); nothing is reported.
    PictureBuffer grabbed;
    ErrorInfo ignored;
    run_guarded(
        [&] {
            grabbed = PictureBuffer::allocate(round_half_even(box.scale_width()), round_half_even(box.scale_height()));
            box.copy_content(grabbed);
        },
        ignored, "usePicturebox");
    run_guarded(
        [&] {
            clone_ = PictureBuffer::allocate(width, height);
            // Block resampling: a box smaller than the clone shows its pixels
            // as blocks, as the box showed them, rather than blurred.
            resample(grabbed, clone_, resample_mode::block);
        },
        ignored, "usePicturebox");
    CloneDimX(width);
    CloneDimY(height);
}

void ZNImage::LiesMetadaten() {
    if (!record_ || metadata_.metadata_read()) return;
    const int32_t type = record_->OBildtyp;
    if (type != picture_type::jpeg && type != picture_type::png) return;
    if (!original_meta_) {
        // Not measured by a DoIt yet: take the markers from the file header.
        auto meta = std::make_shared<CapturedMetadata>();
        int32_t w = 0, h = 0;
        ErrorInfo ignored;
        const std::string path = picture_file_path(original_dir_, record_->ODateiname, record_->ODateiart);
        run_guarded([&] { GetImageDims(path, type, w, h, nullptr, meta.get()); }, ignored, "LiesMetadaten");
        original_meta_ = meta;
        metadata_.set_source(original_meta_, type);
    }
    metadata_.LiesMetadaten();
}

}  // namespace galvora
