#include "options/value_encodings.h"

#include <limits>

#include "profile/number_text.h"

namespace galvora {

std::string checkbox_text(int32_t value) {
    if (value == 1) return "1";
    if (value == 2) return "2";
    return "0";
}

std::optional<int32_t> entry_as_int32(std::string_view text) {
    int32_t value = 0;
    if (!text_to_int32(text, value)) return std::nullopt;
    return value;
}

std::optional<int16_t> entry_as_int16(std::string_view text) {
    std::optional<int32_t> value = entry_as_int32(text);
    if (!value || *value < std::numeric_limits<int16_t>::min() || *value > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(*value);
}

bool switch_is_on(std::string_view text) {
    double value = 0;
    return text_to_number(text, value) && value == 1.0;
}

std::string colour_text(uint32_t colour) {
    // Stored as the signed 32-bit value, so system colours keep their old form.
    return std::to_string(static_cast<int32_t>(colour));
}

std::optional<uint32_t> colour_from_text(std::string_view text) {
    double value = 0;
    if (!text_to_number(text, value)) return std::nullopt;
    if (value < static_cast<double>(std::numeric_limits<int32_t>::min()) || value > 4294967295.0)
        return std::nullopt;
    if (value < 0) return static_cast<uint32_t>(static_cast<int32_t>(value));
    return static_cast<uint32_t>(value);
}

}  // namespace galvora
