#pragma once
// How the option pages store what their controls show. Every settings value
// is text:
//   - a check box is "0" (unticked) or "1" (ticked);
//   - an option group is the decimal code of its chosen button;
//   - a slider or scroll bar is its position in decimal;
//   - a colour is the decimal 32-bit value 0x00BBGGRR (red in the low byte);
//   - a bit set of check boxes is the decimal sum of the ticked boxes' bits;
//   - a number is written with "." as decimal point whatever the locale, and
//     read with "." or, for old profiles, ",".
// A master switch (or any switch a rule reads) is on when its text read as a
// number equals 1: "1" and "1.0" are on; "0", "2", "-1" and text that is no
// number are off.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace galvora {

// "0" or "1" for a check box's value (any value other than 1 writes "0",
// except 2, the greyed state, which writes "2").
std::string checkbox_text(int32_t value);

// The entry as a whole number, rounded half to even ("1.0" gives 1); nullopt
// for text that is no number or does not fit. The 16-bit form is what a check
// box or an option group reads.
std::optional<int32_t> entry_as_int32(std::string_view text);
std::optional<int16_t> entry_as_int16(std::string_view text);

// True when the text read as a number equals 1.
bool switch_is_on(std::string_view text);

// Colours (see make_colour and colour_red/green/blue of image/picture_buffer.h).
// A value with the top bit set names a system colour.
inline constexpr bool is_system_colour(uint32_t colour) { return (colour & 0x80000000u) != 0; }
inline constexpr uint32_t kSysWindowBackground = 0x80000005;  // text box background
inline constexpr uint32_t kSysButtonFace = 0x8000000F;        // dialog background
inline constexpr uint32_t kSysWindowText = 0x80000008;
inline constexpr uint32_t kSysGreyText = 0x80000011;
// Backgrounds of path boxes: the path names what it should, or it does not.
inline constexpr uint32_t kLightGreen = 0xC0FFC0;
inline constexpr uint32_t kLightRed = 0x8080FF;

// The decimal text a colour is stored as ("16777215" for white).
std::string colour_text(uint32_t colour);
// The stored colour; nullopt for text that is no number.
std::optional<uint32_t> colour_from_text(std::string_view text);

}  // namespace galvora
