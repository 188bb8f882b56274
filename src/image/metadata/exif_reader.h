#pragma once
// The EXIF reader: walks the TIFF structure of an APP1 segment, stores one
// entry per directory entry in the picture's four EXIF sections, and finds
// the maker-note layout of the camera make.
//
// The segment is held as the decoder delivers a marker: the marker bytes
// 0xFF 0xE1, two length bytes, "Exif" and two zero bytes, then the TIFF
// structure. Positions below count bytes of that buffer from 1, so the TIFF
// header starts at position 11; maker-note "Offset:" texts use the same count.
#include <cstdint>
#include <string>
#include <string_view>

namespace galvora {

class PictureMetadata;

// Number readers over 2 or 4 bytes in the given byte order; 0 when fewer
// bytes are given than needed.
std::uint16_t ExifGetWord(std::string_view bytes, bool big_endian);
std::int16_t ExifGetShort(std::string_view bytes, bool big_endian);
// Unsigned 32-bit; values of 2^31 and more are kept whole.
std::uint32_t ExifGetLong(std::string_view bytes, bool big_endian);
std::int32_t ExifGetSLong(std::string_view bytes, bool big_endian);

enum class ExifParseResult {
    read,      // the structure was walked without finding anything wrong
    not_exif,  // no TIFF header (magic 42) at position 11: nothing stored
    damaged,   // a loop, a count or an offset outside the segment, a bad
               // type or a truncated directory ended part of the walk; what
               // was read before stays stored
};

// Parses one APP1 segment (marker bytes and length included) into the
// picture's EXIF lists and sets camera_id and camera_feq. Never throws for
// bad data and never reads outside the segment.
ExifParseResult ParseExifApp1(PictureMetadata& picture, std::string_view segment);

// Builds the segment buffer of a captured marker: marker bytes, length bytes
// (the payload size plus 2, capped at 0xFFFF), payload.
std::string marker_segment(std::uint8_t marker_code, std::string_view payload);

}  // namespace galvora
