#pragma once
// The picture that a frame or an image stamp loads as soon as its file name is
// set, with the error of the last load.
#include <functional>
#include <string>
#include <string_view>

#include "foundation/error.h"
#include "image/picture_buffer.h"

namespace galvora {

// Reads a picture file of any supported format into a buffer; raises
// GalvoraError on failure. The imaging layer's reader is the default; tests
// may put another in place (an empty function restores the default).
using EffectPictureReader = std::function<PictureBuffer(const std::string& file)>;
void set_effect_picture_reader(EffectPictureReader reader);

class EffectPicture {
public:
    EffectPicture();

    // Stores a name that differs from the stored one, drops the old picture
    // and loads the new one. Returns false (and does nothing) for the same name.
    bool set_name(std::string_view name);

    const std::string& name() const { return name_; }
    const PictureBuffer& picture() const { return picture_; }
    const ErrorInfo& error() const { return error_; }

private:
    void set_missing_name_error();

    std::string name_;
    PictureBuffer picture_;
    ErrorInfo error_;
};

}  // namespace galvora
