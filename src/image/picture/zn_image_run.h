#pragma once
// Inner pieces shared by the files that make up ZNImage's processing step.
#include <exception>
#include <new>
#include <string>

#include "foundation/error.h"
#include "image/imaging_error.h"
#include "image/picture/scale_factor.h"
#include "image/picture/zn_image.h"

namespace galvora {

// Working values of one DoIt call.
struct ZNImage::Run {
    std::string clone_path;
    std::string thumb_path;
    std::string original_path;
    bool remake_clone = false;
    bool remake_thumb = false;
    bool copy_only = false;
    bool clone_hook = false;
    // The clone's size after resizing, before the hook and the effect list.
    PixelSize resize_target;
    // The orientation tags of the original and of the clone file (1 upright).
    int32_t orientation = 1;
    int32_t clone_orientation = 1;
};

// The DrawingSurface through which the drawing operations and the effect
// calls reach the clone while this object is the current image.
class ZNImage::Surface : public DrawingSurface {
public:
    explicit Surface(ZNImage& owner) : owner_(owner) {}
    PictureBuffer& clone_buffer() override { return owner_.clone_; }
    void clone_turned(int32_t new_width, int32_t new_height) override {
        owner_.clone_rotated_ = true;
        owner_.CloneDimX(new_width);
        owner_.CloneDimY(new_height);
    }

private:
    ZNImage& owner_;
};

// "dir/name": the folder and a file name joined with one separator.
std::string picture_file_path(const std::string& folder, const std::string& name, const std::string& extension);

// Runs step and turns whatever it raises into an error record; true when it
// raised nothing.
template <class Step>
bool run_guarded(Step&& step, ErrorInfo& error, const char* source) {
    try {
        step();
        return true;
    } catch (const GalvoraError& e) {
        error = e.info();
    } catch (const ImagingFailure& e) {
        error = imaging_error(e.fault(), source, "IS_" + std::string(source)).info();
    } catch (const std::bad_alloc&) {
        error = ErrorInfo{7, source, "Out of memory"};
    } catch (const std::exception& e) {
        error = ErrorInfo{51, source, e.what()};
    }
    return false;
}

}  // namespace galvora
