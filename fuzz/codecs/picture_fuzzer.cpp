// libFuzzer target: the generic picture reader (type code 0, recognised by
// content) on the library-backed formats PNG, TIFF, GIF and camera RAW, with
// the header query first and the full read after, as the gallery does; the
// PNG texts either captures go through the metadata reader. The own readers
// and JPEG have targets of their own and are skipped here.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foundation/error.h"
#include "image/captured_metadata.h"
#include "image/imaging_error.h"
#include "image/metadata/picture_metadata.h"
#include "image/metadata/read_image_metadata.h"
#include "image/picture_buffer.h"
#include "image/picture_io.h"
#include "image/picture_type.h"
#include "owncodecs/fuzz_stream.h"
#include "profile/fuzz_files.h"

namespace {

// Whether the generic reader sends this input to one of the library-backed
// readers (whatever it does not recognise goes to the camera RAW reader).
bool reaches_library_reader(const std::uint8_t* data, std::size_t size) {
    using namespace galvora;
    const std::string_view prefix(reinterpret_cast<const char*>(data), std::min(size, kGuessPrefixBytes));
    switch (type_code_for_guess(guess_file_type(prefix))) {
        case picture_type::png:
        case picture_type::tiff:
        case picture_type::gif:
        case picture_type::camera_raw: return true;
        case picture_type::undetermined: return prefix.substr(0, 4) != "8BPS";
        default: return false;
    }
}

// Bad input must come back as the operation's read error, nothing else.
void expect_read_error(const galvora::GalvoraError& e, const char* source, const char* step) {
    using namespace galvora;
    if (e.number() <= kImagingErrorBase || e.number() > imaging_error_number(ImagingFault::bad_argument) ||
        e.source() != source || e.description() != step)
        __builtin_trap();
}

void read_texts(const galvora::CapturedMetadata& meta) {
    if (meta.png_texts.empty()) return;
    galvora::PictureMetadata picture;
    galvora::ReadImageMetadata(picture, meta, galvora::picture_type::png);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace galvora;
    if (size == 0 || !reaches_library_reader(data, size)) return 0;
    set_pixel_limit(fuzz::kFuzzPixelLimit);
    const std::string path = fuzz::input_file(data, size, "picture").string();
    CapturedMetadata meta;
    try {
        int32_t w = 0, h = 0;
        GetImageDims(path, picture_type::undetermined, w, h, nullptr, &meta);
        read_texts(meta);
    } catch (const GalvoraError& e) {
        expect_read_error(e, "GetImageDims", "IS_GetXXXDims");
    }
    try {
        PictureBuffer buffer;
        int32_t w = 0, h = 0;
        ReadImage(path, picture_type::undetermined, buffer, w, h, &meta);
        // A successful read hands back a block of the size it reports.
        if (buffer.width() != w || buffer.height() != h) __builtin_trap();
        if (w > 0 && h > 0) (void)buffer.row(h - 1)[static_cast<std::size_t>(w) * 3 - 1];
        read_texts(meta);
    } catch (const GalvoraError& e) {
        expect_read_error(e, "ReadImage", "IS_ReadXXX");
    }
    return 0;
}
