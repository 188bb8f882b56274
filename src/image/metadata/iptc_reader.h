#pragma once
// The IPTC reader: finds the IPTC resource (8BIM 0x0404) in a Photoshop APP13
// segment and adds every dataset of record 2 to the picture's IPTC list.
// Repeated datasets are joined there with ",".
#include <string_view>

namespace galvora {

class PictureMetadata;

enum class IptcParseResult {
    read,      // read to the end of every IPTC resource found (maybe none)
    no_iptc,   // not a Photoshop segment: nothing read
    damaged,   // a resource or dataset ran past the segment's end; what was read stays
};

// The segment as the decoder delivers a marker (marker bytes, length bytes,
// payload). Never throws for bad data and never reads outside the segment.
IptcParseResult ParseIptcApp13(PictureMetadata& picture, std::string_view segment);

}  // namespace galvora
