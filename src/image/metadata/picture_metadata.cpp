#include "image/metadata/picture_metadata.h"

#include "foundation/error.h"
#include "image/metadata/metadata_text.h"
#include "image/metadata/read_image_metadata.h"

namespace galvora {

namespace {

template <typename T>
const T* at_position(const std::deque<T>& list, std::int64_t position) {
    if (position < 1 || position > static_cast<std::int64_t>(list.size())) return nullptr;
    return &list[static_cast<std::size_t>(position - 1)];
}

}  // namespace

void PictureMetadata::reset() {
    for (auto& list : exif_) list.clear();
    iptc_.clear();
    comments_.clear();
    source_.reset();
    picture_type_ = 0;
    read_done_ = false;
    camera_id = 0;
    camera_feq = 1.0;
}

void PictureMetadata::set_source(std::shared_ptr<const CapturedMetadata> captured, std::int32_t picture_type) {
    reset();
    source_ = std::move(captured);
    picture_type_ = picture_type;
}

void PictureMetadata::LiesMetadaten() {
    if (read_done_) return;
    read_done_ = true;
    if (source_) ReadImageMetadata(*this, *source_, picture_type_);
}

std::deque<ZNExif>* PictureMetadata::section_list(std::int32_t section) {
    if (section < kSectionMain || section > kSectionGps) return nullptr;
    return &exif_[section - 1];
}

ZNExif* PictureMetadata::ExifAdd(std::int32_t section, std::int32_t tag, std::int32_t typ,
                                 std::vector<ExifValue> values) {
    auto* list = section_list(section);
    if (!list) throw GalvoraError(9, "ExifAdd", "Subscript out of range");
    list->push_back(ZNExif{tag, typ, std::move(values)});
    return &list->back();
}

const ZNIPTC* PictureMetadata::IptcAdd(std::int32_t tag, const std::string& value) {
    for (auto& record : iptc_) {
        if (record.tag == tag) {
            record.inhalt += ",";
            record.inhalt += value;
            return &record;
        }
    }
    iptc_.push_back(ZNIPTC{tag, value});
    return &iptc_.back();
}

const ImageComment* PictureMetadata::ImageCommentAdd(const std::string& key, const std::string& text) {
    for (auto& comment : comments_) {
        if (metadata_text::iequals(comment.key, key)) {
            comment.inhalt = text;
            return &comment;
        }
    }
    comments_.emplace_back();
    comments_.back().setze(key, text);
    return &comments_.back();
}

const ZNExif* PictureMetadata::ExifPos(std::int32_t section, std::int64_t position) {
    LiesMetadaten();
    auto* list = section_list(section);
    return list ? at_position(*list, position) : nullptr;
}

const ZNExif* PictureMetadata::ExifTag(std::int32_t section, std::int32_t tag) {
    LiesMetadaten();
    auto* list = section_list(section);
    if (!list) throw GalvoraError(9, "ExifTag", "Subscript out of range");
    for (const auto& record : *list)
        if (record.tag == tag) return &record;
    return nullptr;
}

std::int64_t PictureMetadata::ExifCount(std::optional<std::int32_t> section) {
    LiesMetadaten();
    if (!section) {
        std::int64_t sum = 0;
        for (const auto& list : exif_) sum += static_cast<std::int64_t>(list.size());
        return sum;
    }
    auto* list = section_list(*section);
    return list ? static_cast<std::int64_t>(list->size()) : 0;
}

const ZNIPTC* PictureMetadata::IptcPos(std::int64_t position) {
    LiesMetadaten();
    return at_position(iptc_, position);
}

const ZNIPTC* PictureMetadata::IptcTag(std::int32_t tag) {
    LiesMetadaten();
    for (const auto& record : iptc_)
        if (record.tag == tag) return &record;
    return nullptr;
}

std::int64_t PictureMetadata::IptcCount() {
    LiesMetadaten();
    return static_cast<std::int64_t>(iptc_.size());
}

const ImageComment* PictureMetadata::ImageCommentPos(std::int64_t position) {
    LiesMetadaten();
    return at_position(comments_, position);
}

const ImageComment* PictureMetadata::ImageCommentItem(const std::string& key) {
    LiesMetadaten();
    for (const auto& comment : comments_)
        if (metadata_text::iequals(comment.key, key)) return &comment;
    return nullptr;
}

std::int64_t PictureMetadata::ImageCommentCount() {
    LiesMetadaten();
    return static_cast<std::int64_t>(comments_.size());
}

}  // namespace galvora
