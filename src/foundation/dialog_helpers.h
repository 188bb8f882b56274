#pragma once
// Small helpers the windows and option pages share: enabling a group of
// controls, the dialog font, the redraw switch, numeric boxes with a minimum,
// the percentage label over a slider, decoration-pool names, the byte-string
// converters of the EXIF reader and the font list of the text-stamp page.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/window_controls.h"

namespace galvora {

// Sets Enabled on every control that sits in the container, and walks the
// frames and picture boxes among them the same way. The container itself is
// left alone.
void steuerelemente_aktivieren(ControlWindow& window, const WindowControl& container, bool enabled);

// The font every window uses for its controls.
inline constexpr const char* kDialogFontName = "MS Shell Dlg";
void dialogschrift_setzen(ControlWindow& window);

void neuzeichnen_aus(ControlWindow& window);
void neuzeichnen_ein(ControlWindow& window);

class TextField {
public:
    virtual ~TextField() = default;
    virtual std::string text() const = 0;
    virtual void set_text(const std::string& text) = 0;
};

// Writes a settings value by index (the settings table's setter).
using SettingsSetter = std::function<void(int index, const std::string& value)>;

// Called when a numeric box loses the focus: a value below the minimum (or a
// text that is no whole number) becomes the replacement, which is written to
// the settings through the setter, and the message of the key is shown.
void textfeld_minimum_pruefen(TextField& box, int32_t minimum, int32_t replacement, int settings_index,
                              std::string_view message_key, const SettingsSetter& setter);

// The text-to-number rule of the numeric boxes: blanks around, a sign, digits
// and an optional fraction rounded half to even; nullopt when the text is no
// 32-bit whole number.
std::optional<int32_t> text_zu_long(std::string_view text);

class SliderControl {
public:
    virtual ~SliderControl() = default;
    virtual int value() const = 0;
    virtual int minimum() const = 0;
    virtual int maximum() const = 0;
    virtual double left() const = 0;   // twips
    virtual double width() const = 0;  // twips
};

class LabelControl {
public:
    virtual ~LabelControl() = default;
    virtual void set_caption(const std::string& text) = 0;
    virtual double width() const = 0;  // twips
    virtual void set_left(double left) = 0;
};

// The label shows the slider's value and a percent sign, centred over the
// thumb as far as it stays within the slider's width.
void prozentlabel_setzen(const SliderControl& slider, LabelControl& label);

// A decoration source: a name that is not an absolute path lies in the
// program's "decopool" folder.
std::string dekopool_pfad(std::string_view name);

// Two bytes (four for the long) in memory order, first byte least
// significant, as a signed number; any other length gives 0.
int16_t bytes_zu_integer(std::string_view bytes);
int32_t bytes_zu_long(std::string_view bytes);

// The font-name combo box of the text-stamp page.
class FontComboBox {
public:
    virtual ~FontComboBox() = default;
    // Adds an item; false when the key is in the list already.
    virtual bool add_item(const std::string& key, const std::string& text) = 0;
    virtual void set_item_image(const std::string& key, const std::string& image_key) = 0;
};

// Font type bits of an enumerated family.
enum : int { FONTTYPE_RASTER = 1, FONTTYPE_DEVICE = 2, FONTTYPE_TRUETYPE = 4 };

// Called once per font family: adds the face name to the combo box with the
// image "TrueType1" or "Raster"; a name listed already is passed over.
// Returns 1 so that the enumeration goes on.
int schriftart_aufzaehlen(std::string_view face_name, int font_type, FontComboBox& combo);

// Runs the enumeration of all installed font families into the combo box.
void schriftarten_auflisten(FontComboBox& combo);

}  // namespace galvora
