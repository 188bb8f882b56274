#include "image/picture_type.h"

#include <cstring>

namespace galvora {

namespace {

int32_t g_photo_cd_resolution = 5;

uint8_t byte_at(std::string_view s, size_t i) { return i < s.size() ? static_cast<uint8_t>(s[i]) : 0; }

bool starts_with(std::string_view s, size_t offset, std::string_view magic) {
    return s.size() >= offset + magic.size() && s.substr(offset, magic.size()) == magic;
}

uint16_t le16(std::string_view s, size_t i) { return static_cast<uint16_t>(byte_at(s, i) | (byte_at(s, i + 1) << 8)); }

bool looks_like_pcx(std::string_view s) {
    if (s.size() < 128 || byte_at(s, 0) != 0x0A) return false;
    const uint8_t version = byte_at(s, 1), encoding = byte_at(s, 2), bpp = byte_at(s, 3);
    if (version != 0 && version != 2 && version != 3 && version != 4 && version != 5) return false;
    if (encoding > 1) return false;
    if (bpp != 1 && bpp != 2 && bpp != 4 && bpp != 8) return false;
    return le16(s, 8) >= le16(s, 4) && le16(s, 10) >= le16(s, 6);
}

// TGA has no magic number; accept only headers whose fields are all plausible.
bool looks_like_tga(std::string_view s) {
    if (s.size() < 18) return false;
    const uint8_t colour_map_type = byte_at(s, 1), image_type = byte_at(s, 2), depth = byte_at(s, 16);
    if (colour_map_type > 1) return false;
    switch (image_type) {
        case 1: case 2: case 3: case 9: case 10: case 11: break;
        default: return false;
    }
    if ((image_type == 1 || image_type == 9) && colour_map_type != 1) return false;
    if (colour_map_type == 1) {
        const uint8_t entry = byte_at(s, 7);
        if (entry != 15 && entry != 16 && entry != 24 && entry != 32) return false;
    }
    if (depth != 8 && depth != 15 && depth != 16 && depth != 24 && depth != 32) return false;
    return le16(s, 12) != 0 && le16(s, 14) != 0;
}

}  // namespace

int32_t guess_file_type(std::string_view s) {
    if (starts_with(s, 0, "\xFF\xD8\xFF")) return guess_code::jpeg;
    if (starts_with(s, 0, "\x89PNG\r\n\x1A\n")) return guess_code::png;
    if (starts_with(s, 0, "GIF87a") || starts_with(s, 0, "GIF89a")) return guess_code::gif;
    // Classic TIFF and BigTIFF (version 43 in place of 42).
    if (starts_with(s, 0, std::string_view("II*\0", 4)) || starts_with(s, 0, std::string_view("MM\0*", 4)) ||
        starts_with(s, 0, std::string_view("II+\0", 4)) || starts_with(s, 0, std::string_view("MM\0+", 4)))
        return guess_code::tiff;
    if (starts_with(s, 0, "BM") && s.size() >= 26) return guess_code::bmp;
    if (starts_with(s, 0, "\xD7\xCD\xC6\x9A")) return guess_code::wmf;
    if (byte_at(s, 0) == 1 && byte_at(s, 1) == 0 && byte_at(s, 2) == 0 && byte_at(s, 3) == 0 &&
        starts_with(s, 40, " EMF"))
        return guess_code::emf;
    if (starts_with(s, 2048, "PCD_IPI")) return guess_code::photo_cd;
    if (looks_like_pcx(s)) return guess_code::pcx;
    if (looks_like_tga(s)) return guess_code::tga;
    return guess_code::unknown;
}

int32_t type_code_for_guess(int32_t guess) {
    switch (guess) {
        case guess_code::bmp: return picture_type::bmp;
        case guess_code::gif: return picture_type::gif;
        case guess_code::jpeg: return picture_type::jpeg;
        case guess_code::png: return picture_type::png;
        case guess_code::pcx: return picture_type::pcx;
        case guess_code::tiff: return picture_type::tiff;
        case guess_code::wmf:
        case guess_code::emf: return picture_type::metafile;
        case guess_code::tga: return picture_type::tga;
        case guess_code::photo_cd: return picture_type::photo_cd;
        default: return picture_type::undetermined;
    }
}

bool type_is_readable(int32_t type_code) {
    switch (type_code) {
        case picture_type::bmp:
        case picture_type::metafile:
        case picture_type::gif:
        case picture_type::jpeg:
        case picture_type::photo_cd:
        case picture_type::pcx:
        case picture_type::png:
        case picture_type::psd:
        case picture_type::camera_raw:
        case picture_type::tga:
        case picture_type::tiff: return true;
        default: return false;
    }
}

int32_t photo_cd_resolution() { return g_photo_cd_resolution; }
void set_photo_cd_resolution(int32_t code) { g_photo_cd_resolution = code; }

}  // namespace galvora
