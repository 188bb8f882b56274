#pragma once
// The metadata lists of one picture: four EXIF sections, the IPTC datasets
// and the image comments, with the maker-note code and focal-length factor
// that the EXIF reader finds. The picture object holds one of these and hands
// it the markers captured from its own original, so no picture can ever see
// another picture's metadata. The lists are filled lazily: the first reading
// member parses the captured markers, once per picture.
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "image/captured_metadata.h"

namespace galvora {

// One value of an EXIF entry: an integer (BYTE, SHORT, LONG and their signed
// forms; unsigned 32-bit values are kept whole, hence 64 bits), a number
// (FLOAT and DOUBLE) or a text (ASCII, and the rationals as "num/den").
using ExifValue = std::variant<std::int64_t, double, std::string>;

// Script type codes of an entry's values.
enum : std::int32_t { kExifTypInteger = 1, kExifTypDouble = 2, kExifTypText = 4 };

// EXIF sections of a picture.
enum : std::int32_t { kSectionMain = 1, kSectionThumbnail = 2, kSectionMakernote = 3, kSectionGps = 4 };

// One stored directory entry. `inhalt` holds the components in order; the
// script's component index n is inhalt[n - 1].
struct ZNExif {
    std::int32_t tag = 0;
    std::int32_t typ = 0;
    std::vector<ExifValue> inhalt;
    // Byte order of the segment the entry came from: two-byte texts inside
    // byte values (a Unicode user comment) are read in it.
    bool big_endian = false;
};

// One IPTC dataset of record 2; repeated datasets are joined with ",".
struct ZNIPTC {
    std::int32_t tag = 0;
    std::string inhalt;
};

struct ImageComment {
    std::string key;
    std::string inhalt;
    void setze(std::string k, std::string text) {
        key = std::move(k);
        inhalt = std::move(text);
    }
};

class PictureMetadata {
public:
    PictureMetadata() = default;

    // Empties every list, forgets the source, clears the once-only flag and
    // sets camera_id 0 and camera_feq 1.0.
    void reset();

    // The markers of the picture's original and its type code; only JPEG (6)
    // and PNG (10) originals carry metadata that is read. Clears the lists.
    void set_source(std::shared_ptr<const CapturedMetadata> captured, std::int32_t picture_type);

    // The once-only read: parses the source the first time it is called after
    // reset or set_source; later calls do nothing.
    void LiesMetadaten();
    bool metadata_read() const { return read_done_; }

    // Adders, used by the readers during the read (they do not trigger it).
    ZNExif* ExifAdd(std::int32_t section, std::int32_t tag, std::int32_t typ, std::vector<ExifValue> values);
    const ZNIPTC* IptcAdd(std::int32_t tag, const std::string& value);
    const ImageComment* ImageCommentAdd(const std::string& key, const std::string& text);

    // Reading members; each starts the once-only read. Positions are 1-based.
    const ZNExif* ExifPos(std::int32_t section, std::int64_t position);
    // Throws GalvoraError (9) for a section outside 1..4.
    const ZNExif* ExifTag(std::int32_t section, std::int32_t tag);
    std::int64_t ExifCount(std::optional<std::int32_t> section = std::nullopt);
    const ZNIPTC* IptcPos(std::int64_t position);
    const ZNIPTC* IptcTag(std::int32_t tag);
    std::int64_t IptcCount();
    const ImageComment* ImageCommentPos(std::int64_t position);
    const ImageComment* ImageCommentItem(const std::string& key);
    std::int64_t ImageCommentCount();

    // Maker-note code of the definition file (0: none recognised) and the
    // focal-length factor of the camera model (1.0 when none is known).
    std::int32_t camera_id = 0;
    double camera_feq = 1.0;

private:
    std::deque<ZNExif>* section_list(std::int32_t section);

    std::deque<ZNExif> exif_[4];  // deques: records keep their addresses as lists grow
    std::deque<ZNIPTC> iptc_;
    std::deque<ImageComment> comments_;
    std::shared_ptr<const CapturedMetadata> source_;
    std::int32_t picture_type_ = 0;
    bool read_done_ = false;
};

}  // namespace galvora
