#include "foundation/dialog_helpers.h"

#include <algorithm>
#include <cstdint>
#include <set>

#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "platform/fonts.h"

namespace galvora {

namespace {

void enable_in(ControlWindow& window, const WindowControl& container, bool enabled,
               std::set<const WindowControl*>& walked) {
    // A container is walked once, so a faulty parent chain cannot loop.
    if (!walked.insert(&container).second) return;
    for (WindowControl* control : window.controls()) {
        if (control == nullptr || control->container() != &container) continue;
        if (control->has_enabled()) control->set_enabled(enabled);
        if (control->kind() == ControlKind::PictureBox || control->kind() == ControlKind::Frame) {
            enable_in(window, *control, enabled, walked);
        }
    }
}

}  // namespace

void steuerelemente_aktivieren(ControlWindow& window, const WindowControl& container, bool enabled) {
    std::set<const WindowControl*> walked;
    enable_in(window, container, enabled, walked);
}

void dialogschrift_setzen(ControlWindow& window) {
    for (WindowControl* control : window.controls()) {
        if (control != nullptr && control->has_font()) control->set_font_name(kDialogFontName);
    }
}

void neuzeichnen_aus(ControlWindow& window) { window.set_redraw(false); }

void neuzeichnen_ein(ControlWindow& window) { window.set_redraw(true); }

std::optional<int32_t> text_zu_long(std::string_view text) {
    size_t a = text.find_first_not_of(" \t");
    if (a == std::string_view::npos) return std::nullopt;
    size_t b = text.find_last_not_of(" \t");
    std::string_view t = text.substr(a, b - a + 1);

    bool negative = false;
    size_t i = 0;
    if (t[i] == '+' || t[i] == '-') {
        negative = t[i] == '-';
        ++i;
    }
    std::string digits;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') digits += t[i++];
    std::string fraction;
    if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') fraction += t[i++];
    }
    if (i != t.size() || (digits.empty() && fraction.empty())) return std::nullopt;
    if (digits.size() > 12) return std::nullopt;

    int64_t whole = 0;
    for (char d : digits) whole = whole * 10 + (d - '0');
    // Round the fraction half to even, as the numeric boxes always did.
    if (!fraction.empty()) {
        const bool rest_nonzero = fraction.find_first_not_of('0', 1) != std::string::npos;
        if (fraction[0] > '5' || (fraction[0] == '5' && (rest_nonzero || (whole % 2) == 1))) ++whole;
    }
    if (negative) whole = -whole;
    if (whole < INT32_MIN || whole > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(whole);
}

void textfeld_minimum_pruefen(TextField& box, int32_t minimum, int32_t replacement, int settings_index,
                              std::string_view message_key, const SettingsSetter& setter) {
    std::optional<int32_t> number = text_zu_long(box.text());
    // A text that is no number counts as one below the minimum.
    int64_t value = number ? static_cast<int64_t>(*number) : static_cast<int64_t>(minimum) - 1;
    if (value >= minimum) return;
    box.set_text(std::to_string(replacement));
    if (setter) setter(settings_index, box.text());
    meldung(program_title(), MB_ICON_EXCLAMATION | MB_OK_STYLE, message_key);
}

void prozentlabel_setzen(const SliderControl& slider, LabelControl& label) {
    const int value = slider.value();
    label.set_caption(std::to_string(value) + "%");
    const double range = static_cast<double>(slider.maximum()) - static_cast<double>(slider.minimum());
    // An empty range has no track to follow: the label stays over the start.
    const double along = range > 0 ? (slider.width() - 260.0) / range * (value - slider.minimum()) : 0.0;
    const double centred = slider.left() + 180.0 + along - label.width() / 2.0;
    // Near the ends the centred label would stand past the slider, over the
    // controls beside it: it stops at the slider's edges.
    const double last = std::max(slider.left(), slider.left() + slider.width() - label.width());
    label.set_left(std::clamp(centred, slider.left(), last));
}

std::string dekopool_pfad(std::string_view name) {
    if (!name.empty() && name.front() == '/') return std::string(name);
    std::string folder = program_folder().string();
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder + "/decopool/" + std::string(name);
}

int16_t bytes_zu_integer(std::string_view bytes) {
    if (bytes.size() != 2) return 0;
    const uint16_t v = static_cast<uint16_t>(static_cast<unsigned char>(bytes[0]) |
                                             (static_cast<unsigned char>(bytes[1]) << 8));
    return static_cast<int16_t>(v);
}

int32_t bytes_zu_long(std::string_view bytes) {
    if (bytes.size() != 4) return 0;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[static_cast<size_t>(i)]);
    return static_cast<int32_t>(v);
}

int schriftart_aufzaehlen(std::string_view face_name, int font_type, FontComboBox& combo) {
    std::string name(face_name.substr(0, face_name.find('\0')));
    if (!combo.add_item(name, name)) return 1;
    if (font_type & FONTTYPE_TRUETYPE) {
        combo.set_item_image(name, "TrueType1");
    } else if (font_type & (FONTTYPE_RASTER | FONTTYPE_DEVICE)) {
        combo.set_item_image(name, "Raster");
    }
    return 1;
}

void schriftarten_auflisten(FontComboBox& combo) {
    for (const FontFamilyInfo& family : list_font_families()) {
        int type = 0;
        if (family.scalable_outline) type |= FONTTYPE_TRUETYPE;
        else if (family.bitmap) type |= FONTTYPE_RASTER;
        if (schriftart_aufzaehlen(family.face_name, type, combo) != 1) break;
    }
}

}  // namespace galvora
