#include "profile/effect_picture.h"

#include <exception>
#include <utility>

#include "image/picture_io.h"

namespace galvora {

namespace {

// Type code 0: the reader recognises the format by the file's content.
PictureBuffer read_with_imaging_layer(const std::string& file) {
    PictureBuffer buffer;
    int32_t width = 0;
    int32_t height = 0;
    ReadImage(file, 0, buffer, width, height);
    return buffer;
}

EffectPictureReader& reader_slot() {
    static EffectPictureReader reader;
    return reader;
}

}  // namespace

void set_effect_picture_reader(EffectPictureReader reader) { reader_slot() = std::move(reader); }

EffectPicture::EffectPicture() { set_missing_name_error(); }

void EffectPicture::set_missing_name_error() {
    // Frames use the stamp's texts as well.
    error_ = ErrorInfo{1000, "CImageStamp:Name", "Missing Imagestamp-Name"};
}

bool EffectPicture::set_name(std::string_view name) {
    if (name == name_) return false;
    name_ = name;
    error_.clear();
    picture_.release();
    if (name_.empty()) {
        set_missing_name_error();
        return true;
    }
    try {
        const auto& reader = reader_slot();
        picture_ = reader ? reader(name_) : read_with_imaging_layer(name_);
    } catch (const GalvoraError& e) {
        picture_.release();
        error_ = e.info();
    } catch (const std::exception& e) {
        picture_.release();
        error_ = ErrorInfo{7, "ReadImage", e.what()};
    }
    return true;
}

}  // namespace galvora
