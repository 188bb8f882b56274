#include "generation/original_facts_picture.h"

#include <filesystem>
#include <system_error>

#include "foundation/file_helpers.h"
#include "foundation/ole_date.h"
#include "image/image_file_record.h"
#include "image/picture_io.h"

namespace galvora {

bool OriginalFactsPicture::DoIt(ErrorInfo& error) {
    error.clear();
    err_image_.clear();
    metadata_.reset();
    if (!record) {
        error = {91, "DoIt", "Object variable not set"};
        return false;
    }
    ZNImageFile& r = *record;
    if (r.CDateiname.empty()) r.CDateiname = r.ODateiname;
    const std::string path = original_pfad + "/" + r.ODateiname + "." + r.ODateiart;

    std::error_code ec;
    const auto when = std::filesystem::last_write_time(path, ec);
    if (ec) {
        error = {error_number_from_system(ec), "DoIt", ec.message()};
        err_image_ = path;
        return false;
    }
    const auto bytes = std::filesystem::file_size(path, ec);
    r.ODatum = ole_from_file_time(when);
    r.OBytes = ec ? 0 : static_cast<int32_t>(bytes);
    try {
        auto captured = std::make_shared<CapturedMetadata>();
        GetImageDims(path, r.OBildtyp, r.ODimX, r.ODimY, nullptr, captured.get());
        metadata_.set_source(captured, r.OBildtyp);
    } catch (const GalvoraError& e) {
        error = e.info();
        err_image_ = path;
        return false;
    }
    if (clonen || thumbs) {
        error = {1000, "DoIt", "No picture processing for clones and thumbnails"};
        err_image_ = path;
        return false;
    }
    r.CBytes = r.OBytes;
    r.CDatum = r.ODatum;
    r.CDimX = r.ODimX;
    r.CDimY = r.ODimY;
    return true;
}

}  // namespace galvora
