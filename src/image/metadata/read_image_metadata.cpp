#include "image/metadata/read_image_metadata.h"

#include <string>

#include "foundation/text_codec.h"
#include "image/metadata/exif_reader.h"
#include "image/metadata/iptc_reader.h"
#include "image/metadata/metadata_text.h"
#include "image/metadata/picture_metadata.h"
#include "image/picture_type.h"

namespace galvora {

namespace {
constexpr std::uint8_t kApp1 = 0xE1;
constexpr std::uint8_t kApp13 = 0xED;
constexpr std::uint8_t kComment = 0xFE;
}  // namespace

MetadataReadReport ReadImageMetadata(PictureMetadata& picture, const CapturedMetadata& captured,
                                     std::int32_t picture_type) {
    MetadataReadReport report;
    if (picture_type == picture_type::jpeg) {
        for (const auto& [code, payload] : captured.jpeg_markers) {
            if (code == kApp1) {
                ++report.exif_segments;
                if (ParseExifApp1(picture, marker_segment(code, payload)) == ExifParseResult::damaged)
                    report.damaged = true;
            } else if (code == kApp13) {
                ++report.iptc_segments;
                if (ParseIptcApp13(picture, marker_segment(code, payload)) == IptcParseResult::damaged)
                    report.damaged = true;
            }
        }
        int index = 0;
        for (const auto& [code, payload] : captured.jpeg_markers) {
            if (code != kComment) continue;
            ++index;
            std::string_view text = metadata_text::until_nul(payload);
            if (payload.empty()) continue;  // a segment without text block
            picture.ImageCommentAdd("P" + std::to_string(index), decode_text(text));
        }
    } else if (picture_type == picture_type::png) {
        for (const auto& [key, text] : captured.png_texts) {
            if (text.empty()) continue;  // a keyword without text adds nothing
            picture.ImageCommentAdd(decode_text(metadata_text::until_nul(key)),
                                    decode_text(metadata_text::until_nul(text)));
        }
    }
    return report;
}

}  // namespace galvora
