#pragma once
// Picture type codes: one small integer per file type, equal to the index of
// the type's switch in the settings table. Also the content-based guess that
// classifies a file whose type is not known.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace galvora {

namespace picture_type {
inline constexpr int32_t undetermined = 0;
inline constexpr int32_t bmp = 3;
inline constexpr int32_t metafile = 4;
inline constexpr int32_t gif = 5;
inline constexpr int32_t jpeg = 6;
inline constexpr int32_t jpeg2000 = 7;
inline constexpr int32_t photo_cd = 8;
inline constexpr int32_t pcx = 9;
inline constexpr int32_t png = 10;
inline constexpr int32_t psd = 11;
inline constexpr int32_t camera_raw = 12;
inline constexpr int32_t tga = 13;
inline constexpr int32_t tiff = 14;
}  // namespace picture_type

// Guess codes of the content classifier; the numbering is the one that the
// type-code mapping below translates.
namespace guess_code {
inline constexpr int32_t unknown = 0;
inline constexpr int32_t bmp = 1;
inline constexpr int32_t gif = 2;
inline constexpr int32_t jpeg = 3;
inline constexpr int32_t png = 4;
inline constexpr int32_t pcx = 5;
inline constexpr int32_t tiff = 6;
inline constexpr int32_t wmf = 7;
inline constexpr int32_t emf = 8;
inline constexpr int32_t tga = 14;
inline constexpr int32_t photo_cd = 16;
}  // namespace guess_code

// Number of leading bytes the classifier looks at (Photo CD keeps its
// signature at offset 2048).
inline constexpr size_t kGuessPrefixBytes = 2056;

// Classifies a file by its first bytes (up to kGuessPrefixBytes; fewer when
// the file is shorter).
int32_t guess_file_type(std::string_view prefix);

// Maps a guess code to a picture type code; unmapped guesses give 0.
int32_t type_code_for_guess(int32_t guess);

// Types that the readers handle now (others give the read error).
bool type_is_readable(int32_t type_code);

// The program-wide Photo CD resolution code handed to the Photo CD reader
// (taken from the settings when the selection tree is built; default 5).
int32_t photo_cd_resolution();
void set_photo_cd_resolution(int32_t code);

}  // namespace galvora
