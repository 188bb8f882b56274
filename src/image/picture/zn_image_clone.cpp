// ZNImage::DoIt up to the written clone: the checks of the existing clone and
// thumbnail, the original's facts, the remake decision, and making the clone
// (resize, metadata, "_clone" hook, clone-effect list, write, file date) or
// copying the original unchanged.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <utility>

#include "foundation/file_helpers.h"
#include "foundation/ole_date.h"
#include "image/effects/effect_dispatch.h"
#include "image/effects/frame_draw.h"
#include "image/picture/exif_orientation.h"
#include "image/picture/file_facts.h"
#include "image/picture/scale_factor.h"
#include "image/picture/script_hooks.h"
#include "image/picture/zn_image.h"
#include "image/picture/zn_image_run.h"
#include "image/picture_io.h"
#include "image/picture_type.h"
#include "image/resize_image.h"
#include "profile/clone_effect_list.h"
#include "profile/profile_lists.h"

namespace galvora {
namespace {

int32_t clamp_bytes(int64_t bytes) {
    return static_cast<int32_t>(std::min<int64_t>(bytes, std::numeric_limits<int32_t>::max()));
}

// Size of a picture of width x height scaled by factor; a side never
// shrinks to nothing, and a side choice that gives no factor keeps the size.
PixelSize target_size(int32_t width, int32_t height, double factor) {
    if (!(factor > 0) || !std::isfinite(factor)) return {width, height};
    PixelSize size = scaled_size(width, height, factor);
    size.width = std::max(size.width, 1);
    size.height = std::max(size.height, 1);
    return size;
}

// The size a clone of size has after the clone-effect list: outer and
// picture frames, drop shadows and quarter turns change it; stamps and the
// other effects do not.
PixelSize size_after_effects(const CCloneEffekte& list, PixelSize size) {
    int64_t width = size.width, height = size.height;
    for (long i = 1; i <= list.count(); ++i) {
        const std::shared_ptr<CCloneEffekt> item = list.item(i);
        if (!item) continue;
        if (item->art() == CCloneEffekt::Art::Border) {
            border_output_size(static_cast<const CBorder&>(*item), width, height);
        } else if (item->art() == CCloneEffekt::Art::BildEffekt) {
            effect_output_size(static_cast<const CBildEffekt&>(*item), width, height);
        }
    }
    return {static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

}  // namespace

bool ZNImage::fail(Run&, const std::string& path, ErrorInfo error) {
    err_image_ = path;
    error_ = std::move(error);
    if (error_.number == 0) error_.number = 1000;  // a failure always carries a number
    return false;
}

bool ZNImage::fail(Run& run, const std::string& path, const GalvoraError& error) { return fail(run, path, error.info()); }

bool ZNImage::DoIt() {
    reset();
    error_.clear();
    clone_rotated_ = false;
    clone_made_ = false;
    thumb_made_ = false;
    Run run;
    if (!record_) return fail(run, "", ErrorInfo{91, "ZNImage.DoIt", "ImageFile"});
    if (record_->CDateiname.empty()) record_->CDateiname = record_->ODateiname;

    if (!check_existing(run) || !read_original_facts(run)) return false;

    ZNImageFile& r = *record_;
    if (clone_on_) {
        decide_clone(run);
        if (run.remake_clone && !make_clone(run)) return false;
    } else {
        // The original serves as the clone.
        r.CBytes = r.OBytes;
        r.CDatum = r.ODatum;
        r.CDimX = r.ODimX;
        r.CDimY = r.ODimY;
    }
    if (thumb_on_ && !make_thumbnail(run)) return false;
    if (!draw_preview(run)) return false;
    error_.clear();
    return true;
}

namespace {

// The facts of an existing clone or thumbnail: date and length from the file
// system, dimensions through measure. False when the file is missing or
// cannot be read; a damaged file then counts as missing, so it is made again
// rather than kept for ever. Its dimensions read 0 then.
template <class Measure>
bool existing_output(const std::string& path, double& date, int32_t& bytes, int32_t& width, int32_t& height,
                     Measure&& measure) {
    FileFacts facts;
    ErrorInfo ignored;
    if (query_file_facts(path, facts, ignored)) {
        date = facts.date;
        bytes = clamp_bytes(facts.bytes);
        if (run_guarded(measure, ignored, "GetImageDims")) return true;
    }
    width = 0;
    height = 0;
    return false;
}

}  // namespace

bool ZNImage::check_existing(Run& run) {
    ZNImageFile& r = *record_;
    if (clone_on_) {
        run.clone_path = picture_file_path(clone_dir_, r.CDateiname, r.CDateiart);
        const auto measure = [&] {
            // A clone copied unchanged keeps the original's orientation tag.
            CapturedMetadata meta;
            const bool jpeg = r.CBildtyp == picture_type::jpeg;
            GetImageDims(run.clone_path, r.CBildtyp, r.CDimX, r.CDimY, nullptr, jpeg ? &meta : nullptr);
            run.clone_orientation = jpeg ? exif_orientation(meta) : 1;
            if (orientation_swaps_sides(run.clone_orientation)) std::swap(r.CDimX, r.CDimY);
        };
        if (!existing_output(run.clone_path, r.CDatum, r.CBytes, r.CDimX, r.CDimY, measure)) run.remake_clone = true;
    }
    if (thumb_on_) {
        run.thumb_path = picture_file_path(thumb_dir_, r.TDateiname, r.TDateiart);
        if (!clone_on_) thumb_from_clone_ = false;
        const auto measure = [&] {
            if (picture_box_ != nullptr) {
                // The pixels serve the preview.
                ReadImage(run.thumb_path, r.TBildtyp, thumbnail_, r.TDimX, r.TDimY);
            } else {
                GetImageDims(run.thumb_path, r.TBildtyp, r.TDimX, r.TDimY);
            }
        };
        if (!existing_output(run.thumb_path, r.TDatum, r.TBytes, r.TDimX, r.TDimY, measure)) {
            thumbnail_.release();
            run.remake_thumb = true;
        }
    }
    return true;
}

bool ZNImage::read_original_facts(Run& run) {
    ZNImageFile& r = *record_;
    run.original_path = picture_file_path(original_dir_, r.ODateiname, r.ODateiart);
    FileFacts facts;
    ErrorInfo error;
    if (!query_file_facts(run.original_path, facts, error)) return fail(run, run.original_path, error);
    r.ODatum = facts.date;
    r.OBytes = clamp_bytes(facts.bytes);
    // The header read also captures this picture's own metadata markers, for
    // the metadata lists and for copying into the clone.
    const bool has_metadata = r.OBildtyp == picture_type::jpeg || r.OBildtyp == picture_type::png;
    auto meta = std::make_shared<CapturedMetadata>();
    if (!run_guarded(
            [&] { GetImageDims(run.original_path, r.OBildtyp, r.ODimX, r.ODimY, &original_, has_metadata ? meta.get() : nullptr); },
            error, "GetImageDims")) {
        return fail(run, run.original_path, error);
    }
    if (has_metadata) {
        original_meta_ = meta;
        metadata_.set_source(original_meta_, r.OBildtyp);
    }
    // A photo taken upright is stored on its side: the picture is what it
    // shows, so its sizes are those of the upright picture.
    run.orientation = r.OBildtyp == picture_type::jpeg ? exif_orientation(*meta) : 1;
    if (orientation_swaps_sides(run.orientation)) std::swap(r.ODimX, r.ODimY);
    return true;
}

void ZNImage::decide_clone(Run& run) {
    ZNImageFile& r = *record_;
    run.clone_hook = script_function_defined("_clone");
    PixelSize target{r.ODimX, r.ODimY};
    if (r.OBildtyp == r.CBildtyp && !clone_effects_on_ && clone_side_ == 0 && !run.clone_hook) {
        run.copy_only = true;
    } else {
        if (!clone_only_when_newer_ && (run.clone_hook || clone_effects_on_)) run.remake_clone = true;
        if (clone_side_ != 0) {
            const double factor =
                BerechneSkalierung(r.ODimX, r.ODimY, clone_length_, clone_width_, clone_height_, clone_side_);
            target = target_size(r.ODimX, r.ODimY, factor);
        }
    }
    run.resize_target = target;
    // An existing clone is judged by the size the whole processing gives it,
    // frames and effects included, not by the size before them.
    if (clone_effects_on_ && !run.copy_only)
        target = size_after_effects(effects_ != nullptr ? *effects_ : WorkingCloneEffects(), target);
    if (r.CDatum < r.ODatum || r.CDimX != target.width || r.CDimY != target.height) run.remake_clone = true;
    r.CDimX = target.width;
    r.CDimY = target.height;
}

namespace {

// Reads a picture file no larger than needed for min_width x min_height of
// the upright picture, and stands it upright.
void read_upright(const std::string& path, int32_t type, int32_t orientation, PictureBuffer& buffer,
                  int32_t min_width, int32_t min_height) {
    if (orientation_swaps_sides(orientation)) std::swap(min_width, min_height);
    int32_t w = 0, h = 0;
    ReadImageReduced(path, type, buffer, w, h, min_width, min_height);
    orient_upright(buffer, orientation);
}

}  // namespace

bool ZNImage::read_original(Run& run, int32_t min_width, int32_t min_height) {
    ZNImageFile& r = *record_;
    ErrorInfo error;
    if (!run_guarded([&] { read_upright(run.original_path, r.OBildtyp, run.orientation, original_, min_width, min_height); },
                     error, "ReadImage")) {
        original_.release();
        return fail(run, run.original_path, error);
    }
    return true;
}

bool ZNImage::read_clone(Run& run, int32_t min_width, int32_t min_height) {
    ZNImageFile& r = *record_;
    ErrorInfo error;
    if (!run_guarded(
            [&] { read_upright(run.clone_path, r.CBildtyp, run.clone_orientation, clone_, min_width, min_height); },
            error, "ReadImage")) {
        clone_.release();
        return fail(run, run.clone_path, error);
    }
    return true;
}

bool ZNImage::make_clone(Run& run) {
    ZNImageFile& r = *record_;
    ErrorInfo error;
    bool is_original = false;
    if (run.copy_only) {
        // A clone folder that is the original's own folder: the file already
        // is its clone, and copying it onto itself could only lose it.
        is_original = same_file(run.original_path, run.clone_path);
        if (!is_original && !copy_file_whole(run.original_path, run.clone_path, error)) {
            return fail(run, run.clone_path, error);
        }
        r.CDimX = r.ODimX;
        r.CDimY = r.ODimY;
        run.clone_orientation = run.orientation;
    } else {
        if (same_file(run.original_path, run.clone_path)) {
            return fail(run, run.clone_path, ErrorInfo{75, "DoIt", "The clone would replace its original"});
        }
        if (original_.empty()) {
            // Decode no larger than the clone and (when it comes from the
            // original too) the thumbnail need.
            int32_t need_w = run.resize_target.width, need_h = run.resize_target.height;
            if (thumb_on_ && !thumb_from_clone_) {
                int32_t tw = 0, th = 0;
                thumbnail_size(r.ODimX, r.ODimY, tw, th);
                need_w = std::max(need_w, tw);
                need_h = std::max(need_h, th);
            }
            if (!read_original(run, need_w, need_h)) return false;
        }
        PictureBuffer resized;
        const bool ok = run_guarded(
            [&] { ResizeImage(original_, run.resize_target.width, run.resize_target.height, resized, clone_filter_); },
            error, "ResizeImage");
        clone_ = std::move(resized);
        if (!ok) return fail(run, run.clone_path, error);
        r.CDimX = clone_.width();
        r.CDimY = clone_.height();

        if (run.clone_hook) {
            r.CDatum = ole_now();
            r.CBytes = 0;
            set_picture_variables(r);
            make_current(true);
            ErrorInfo ignored;  // the hook's errors are its own
            run_guarded([] { run_script_function(0, "_clone"); }, ignored, "_clone");
            make_current(false);
            if (!clone_.empty()) {
                r.CDimX = clone_.width();
                r.CDimY = clone_.height();
            }
        }
        if (clone_effects_on_ && !apply_effect_list(run)) return false;

        int32_t used_quality = 0;
        // Only this picture's own markers are ever copied, never another's;
        // the clone is written upright, so its orientation tag says so.
        CapturedMetadata upright;
        if (copy_metadata_ && original_meta_) {
            upright = *original_meta_;
            reset_orientation(upright);
        }
        const CapturedMetadata* markers = copy_metadata_ && original_meta_ ? &upright : nullptr;
        if (!run_guarded(
                [&] {
                    WriteImage(run.clone_path, r.CBildtyp, clone_, clone_quality_, clone_max_size_, clone_progressive_,
                               clone_tiff_compression_, used_quality, markers);
                },
                error, "WriteImage")) {
            r.CDimX = 0;
            r.CDimY = 0;
            return fail(run, run.clone_path, error);
        }
        r.CQualität = used_quality;
    }
    // The original keeps its own date.
    if (!is_original) dateizeit_setzen(run.clone_path, keep_date_ ? r.ODatum : ole_now());
    FileFacts facts;
    ErrorInfo ignored;
    if (query_file_facts(run.clone_path, facts, ignored)) {
        r.CBytes = clamp_bytes(facts.bytes);
        r.CDatum = facts.date;
    }
    clone_made_ = true;
    return true;
}

bool ZNImage::apply_effect_list(Run& run) {
    ZNImageFile& r = *record_;
    r.CDatum = ole_now();
    r.CBytes = 0;
    set_picture_variables(r);
    const CCloneEffekte& list = effects_ != nullptr ? *effects_ : WorkingCloneEffects();
    for (long i = 1; i <= list.count(); ++i) {
        const std::shared_ptr<CCloneEffekt> item = list.item(i);
        if (!item) continue;
        ErrorInfo error;
        std::string text;
        if (item->art() == CCloneEffekt::Art::TextStamp) {
            // The stamp's script is named after its list position, whatever
            // the items before it are.
            run_guarded([&] { text = script_function_output(stempeltext_funktion(i)); }, error,
                        "_stamptext_");
            error.clear();
        }
        if (!CloneEffektAnwenden(*item, text, error)) return fail(run, run.clone_path, error);
    }
    return true;
}

bool ZNImage::CloneEffektAnwenden(const CCloneEffekt& item, const std::string& text, ErrorInfo& error) {
    bool ok = true;
    make_current(true);
    const bool ran = run_guarded(
        [&] {
            switch (item.art()) {
                case CCloneEffekt::Art::Border:
                    ok = steps_.border(clone_, static_cast<const CBorder&>(item), error);
                    break;
                case CCloneEffekt::Art::TextStamp:
                    ok = steps_.text_stamp(clone_, static_cast<const CTextStamp&>(item), text, error);
                    break;
                case CCloneEffekt::Art::ImageStamp:
                    ok = steps_.image_stamp(clone_, static_cast<const CImageStamp&>(item), error);
                    break;
                case CCloneEffekt::Art::BildEffekt:
                    ok = steps_.picture_effect(clone_, static_cast<const CBildEffekt&>(item), error);
                    break;
            }
        },
        error, "DoIt");
    make_current(false);
    // Frames and some effects change the picture's size.
    if (!clone_.empty() && record_) {
        record_->CDimX = clone_.width();
        record_->CDimY = clone_.height();
    }
    return ran && ok;
}

}  // namespace galvora
