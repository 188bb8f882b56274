#include "options/pages/effect_editor_support.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>

#include "image/draw_image.h"
#include "image/picture/scale_factor.h"
#include "image/pixel/draw.h"
#include "image/resize_image.h"
#include "options/option_page.h"
#include "options/value_encodings.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

constexpr int kFirstExtension = 15;  // BMP_EXT
constexpr int kLastExtension = 26;   // TIF_EXT
constexpr int kJpeg2000Extension = 19;

constexpr uint32_t kLightBlue = 0xFFDDBB;  // RGB(187, 221, 255)
constexpr uint32_t kWhite = 0xFFFFFF;

}  // namespace

int32_t pixels_of(double twips) { return round_half_even(twips / kTwipsPerPixel); }

PictureBuffer schachbrett(int32_t width, int32_t height) {
    PictureBuffer board = PictureBuffer::allocate(width, height);
    for (int32_t y = 0; y <= height; y += 5) {
        for (int32_t x = 0; x <= width; x += 5) {
            const bool blue = (x / 5 + y / 5) % 2 == 0;
            fill_solid_rect(board, x, y, x + 5, y + 5, blue ? kLightBlue : kWhite);
        }
    }
    return board;
}

Einpassung einpassen(int32_t box_width, int32_t box_height, int32_t picture_width, int32_t picture_height) {
    Einpassung place;
    if (box_width >= picture_width && box_height >= picture_height) {
        place.width = picture_width;
        place.height = picture_height;
    } else {
        const double factor = std::min(static_cast<double>(box_width) / picture_width,
                                       static_cast<double>(box_height) / picture_height);
        // A very thin picture keeps one pixel of its short side.
        place.width = std::max(1, round_half_even(picture_width * factor));
        place.height = std::max(1, round_half_even(picture_height * factor));
    }
    place.left = round_half_even((box_width - place.width) / 2.0);
    place.top = round_half_even((box_height - place.height) / 2.0);
    return place;
}

bool bildpunkt_unter_maus(const Einpassung& place, int32_t picture_width, int32_t picture_height, float x, float y,
                          int32_t& picture_x, int32_t& picture_y) {
    if (place.width <= 0 || place.height <= 0 || picture_width <= 0 || picture_height <= 0) return false;
    const int32_t px = round_half_even(x - place.left);
    const int32_t py = round_half_even(y - place.top);
    if (px < 0 || px >= place.width || py < 0 || py >= place.height) return false;
    // The picture is never drawn larger than it is, so these stay inside it.
    picture_x = std::min(picture_width - 1, round_half_even(static_cast<double>(picture_width) * px / place.width));
    picture_y = std::min(picture_height - 1, round_half_even(static_cast<double>(picture_height) * py / place.height));
    return true;
}

ErrorInfo bildvorschau(const PictureBuffer& backdrop, const PictureBuffer& picture, const Einpassung& place,
                       int32_t opacity, int32_t use_transparent_colour, int64_t transparent_colour, int32_t tolerance,
                       PictureBuffer& out) {
    out.release();
    PictureBuffer scaled;
    try {
        ResizeImage(picture, place.width, place.height, scaled, -2);
    } catch (const GalvoraError& error) {
        return error.info();
    }
    PictureBuffer composed = backdrop.copy();
    DrawImage(composed, scaled, place.left, place.top, opacity, use_transparent_colour, transparent_colour, tolerance);
    out = std::move(composed);
    return {};
}

std::string bilddatei_filter(std::string_view all_description) {
    std::string all;
    std::string pairs;
    for (int i = kFirstExtension; i <= kLastExtension; ++i) {
        if (i == kJpeg2000Extension) continue;
        std::string pattern = "*.";
        for (char c : profilwert(i)) pattern += c == ',' ? std::string(";*.") : std::string(1, c);
        if (!all.empty()) all += ';';
        all += pattern;
        pairs += profileintrag_beschreibung()[static_cast<size_t>(i)];
        pairs += '\0';
        pairs += pattern;
        pairs += '\0';
    }
    std::string filter(all_description);
    filter += '\0';
    filter += all;
    filter += '\0';
    return filter + pairs;
}

int32_t positionszelle_geklickt(int32_t position, int32_t cell) { return position == cell ? 0 : cell; }

void positionszellen_zeigen(OptionPage& page, std::string_view name, int32_t position) {
    for (int i = 1; i <= 9; ++i) page.control(name, i).state().back_colour = i == position ? kCellOn : kCellOff;
}

int32_t toleranz_aus_prozent(int32_t percent) {
    return static_cast<int32_t>(static_cast<int64_t>(percent) * kMaxTolerance / 100);
}

int32_t prozent_aus_toleranz(int32_t tolerance) {
    return round_half_even(static_cast<double>(tolerance) * 100.0 / kMaxTolerance);
}

std::string zahl_text(double value, int decimals) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    if (text.starts_with("-") && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    // Shown with the user's decimal separator (the window program takes the
    // locale from the environment at its start); stored numbers keep ".".
    const char* separator = std::localeconv()->decimal_point;
    if (const size_t point = text.find('.'); point != std::string::npos && separator != nullptr && *separator != '\0')
        text.replace(point, 1, separator);
    return text;
}

std::string ganzzahl_text(int32_t value) { return std::to_string(value); }

int32_t ganzzahl_aus_text(const std::string& text) { return entry_as_int32(text).value_or(0); }

}  // namespace galvora
