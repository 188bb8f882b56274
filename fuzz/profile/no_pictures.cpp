// Stands in for the picture readers in the fuzzing builds: a picture named in
// a profile is never read from disk, it is reported missing.
#include <string>

#include "foundation/error.h"
#include "image/picture_io.h"

namespace galvora {

void ReadImage(const std::string& path, int32_t, PictureBuffer&, int32_t&, int32_t&, CapturedMetadata*) {
    throw GalvoraError(53, "ReadImage", "File not found: " + path);
}

}  // namespace galvora
