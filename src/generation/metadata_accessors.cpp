#include "generation/metadata_accessors.h"

#include <cmath>

#include "foundation/error.h"
#include "image/metadata/metadata_definition.h"

namespace galvora {

namespace {

PictureMetadata* g_current = nullptr;

PictureMetadata& current(const char* accessor) {
    if (!g_current) throw GalvoraError(91, accessor, "Object variable not set");
    return *g_current;
}

}  // namespace

void set_current_picture_metadata(PictureMetadata* picture) { g_current = picture; }
PictureMetadata* current_picture_metadata() { return g_current; }

CurrentPictureScope::CurrentPictureScope(PictureMetadata* picture) : previous_(g_current) { g_current = picture; }
CurrentPictureScope::~CurrentPictureScope() { g_current = previous_; }

bool bild_hat_exif() { return current("bild_hat_exif").ExifCount() >= 1; }

std::int32_t bild_exifkennung() {
    PictureMetadata& picture = current("bild_exifkennung");
    picture.LiesMetadaten();  // the code is known once the EXIF data is read
    return picture.camera_id;
}

std::int64_t bild_exif_anzahl(std::int32_t section) { return current("bild_exif_anzahl").ExifCount(section); }

bool bild_exif_wert(std::int32_t section, std::int32_t tag, ZNExif& value) {
    const ZNExif* record = current("bild_exif_wert").ExifTag(section, tag);
    if (!record) return false;
    value = *record;
    return true;
}

bool bild_exif_nummer(std::int32_t section, std::int64_t position, std::int64_t& tag) {
    const ZNExif* record = current("bild_exif_nummer").ExifPos(section, position);
    if (!record) return false;
    tag = record->tag;
    return true;
}

bool bild_exif_tagname(std::int32_t section, std::int32_t tag, std::int32_t position, std::string& name) {
    const std::int32_t camera = bild_exifkennung();
    std::string found = ExifTagName(camera, section, tag, position);
    if (found.empty()) return false;
    name = std::move(found);
    return true;
}

double bild_brennweitenfaktor(double x) {
    PictureMetadata& picture = current("bild_brennweitenfaktor");
    picture.LiesMetadaten();
    const double result = picture.camera_feq * x;
    if (!std::isfinite(result) && std::isfinite(x)) throw GalvoraError(6, "bild_brennweitenfaktor", "Overflow");
    return result;
}

bool bild_iptc_wert(std::int32_t number, std::string& text) {
    const ZNIPTC* record = current("bild_iptc_wert").IptcTag(number);
    if (!record) return false;
    text = record->inhalt;
    return true;
}

std::int64_t bild_iptc_anzahl() { return current("bild_iptc_anzahl").IptcCount(); }

bool bild_iptc_nummer(std::int64_t position, std::int64_t& number) {
    const ZNIPTC* record = current("bild_iptc_nummer").IptcPos(position);
    if (!record) return false;
    number = record->tag;
    return true;
}

bool iptc_tagname(std::int32_t number, std::string& name) {
    std::string found = IptcTagName(number);
    if (found.empty()) return false;
    name = std::move(found);
    return true;
}

std::int64_t bild_kommentar_anzahl() { return current("bild_kommentar_anzahl").ImageCommentCount(); }

bool bild_kommentar_text(const std::string& key, std::string& text) {
    const ImageComment* comment = current("bild_kommentar_text").ImageCommentItem(key);
    if (!comment) return false;
    text = comment->inhalt;
    return true;
}

bool bild_kommentar_pos_text(std::int64_t position, std::string& text) {
    const ImageComment* comment = current("bild_kommentar_pos_text").ImageCommentPos(position);
    if (!comment) return false;
    text = comment->inhalt;
    return true;
}

bool bild_kommentar_schluessel(std::int64_t position, std::string& key) {
    const ImageComment* comment = current("bild_kommentar_schluessel").ImageCommentPos(position);
    if (!comment) return false;
    key = comment->key;
    return true;
}

}  // namespace galvora
