#include "options/pages/text_stamp_page.h"

#include <algorithm>

#include "foundation/dialog_helpers.h"
#include "foundation/language.h"
#include "foundation/log.h"
#include "foundation/messages.h"
#include "foundation/sorting.h"
#include "generation/script_glue.h"
#include "options/editor_text.h"
#include "options/pages/effect_editor_support.h"
#include "script/compiler.h"
#include "script/engine.h"

namespace galvora {

namespace {

using K = PageControlKind;

constexpr double kWidth = 6480;
constexpr double kHeight = 6300;
constexpr const char* kCompilerTitle = "ZantoScript Compiler";
constexpr const char* kCellGlyphs[] = {"LO", "MO", "RO", "LM", "MM", "RM", "LU", "MU", "RU"};

// The font list as the font enumeration fills it.
class FontItems : public FontComboBox {
public:
    explicit FontItems(std::vector<ListItem>& items) : items_(items) {}
    bool add_item(const std::string& key, const std::string& text) override {
        for (const ListItem& item : items_)
            if (item.key == key) return false;
        items_.push_back({text, key, ""});
        return true;
    }
    void set_item_image(const std::string& key, const std::string& image_key) override {
        for (ListItem& item : items_)
            if (item.key == key) item.image_key = image_key;
    }

private:
    std::vector<ListItem>& items_;
};

// Where a 0-based line starts in a text whose lines end with LF, in
// characters; the end of the text for a line it does not have.
int32_t line_start(std::string_view text, int32_t line) {
    int32_t characters = 0;
    int32_t current = 0;
    for (const char c : text) {
        if (current >= line) break;
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
        if (c == '\n') ++current;
    }
    return characters;
}

}  // namespace

CTextStempel::CTextStempel() : OptionPage("CTextStempel", kWidth, kHeight) {
    PageControl& options = add(K::PictureBox, "FrameOptionen", "", "", {0, 0, kWidth, kHeight});
    int label = 0;
    auto caption = [&](const char* tag, const char* text, TwipRect place, const WindowControl* container) {
        return &add(K::Label, "Label", tag, text, place, container != nullptr ? container : &options, label++);
    };

    caption("Text", "Text", {0, 0, 4200, 240}, nullptr);
    PageControl& text = add(K::MultiLineTextBox, "StempelText", "", "", {0, 240, 4200, 1140}, &options);
    add(K::Label, "editpos", "", "", {0, 1440, 2760, 240}, &options);
    PageControl& test = add(K::Button, "SyntaxTest", "SyntaxTest", "Syntaxtest", {2880, 1410, 1320, 345}, &options);

    caption("Font", "Schriftart", {4320, 0, 2160, 240}, nullptr);
    PageControl& font = add(K::ComboBox, "StempelTextSchrift", "", "", {4320, 240, 2160, 315}, &options);
    caption("Height", "Höhe", {4320, 660, 2160, 240}, nullptr);
    PageControl& height = add(K::TextBox, "StempelTextHöhe", "", "", {4320, 900, 600, 285}, &options);
    caption("Pixel", "Pixel", {4980, 930, 1500, 240}, nullptr);

    PageControl& weight = add(K::Frame, "FrameWeight", "Weight", "Stärke", {4320, 1320, 2160, 1080}, &options);
    add(K::OptionButton, "StempelTextWeight", "Bold", "fett", {120, 240, 1980, 270}, &weight, 700);
    add(K::OptionButton, "StempelTextWeight", "Normal", "normal", {120, 510, 1980, 270}, &weight, 400);
    add(K::OptionButton, "StempelTextWeight", "Thin", "dünn", {120, 780, 1980, 270}, &weight, 300);

    caption("TextColor", "Textfarbe", {0, 1890, 1200, 240}, nullptr);
    PageControl& colour = add(K::PictureBox, "StempelTextFarbe", "", "", {1260, 1860, 690, 285}, &options);
    PageControl& colour_button = add(K::Button, "StempelTextFarbeButton", "", "...", {2010, 1860, 375, 285}, &options);
    PageControl& readable = add(K::CheckBox, "StempelTextFarbeLesbar", "ColorLegible", "lesbare Farbe",
                                {2520, 1860, 1680, 300}, &options);
    caption("TextOpacity", "Deckkraft", {0, 2490, 1200, 240}, nullptr);
    add(K::Label, "StempelTextDeckkraftProzent", "", "", {1260, 2250, 600, 240}, &options).state().alignment = 2;
    PageControl& opacity = add(K::Slider, "StempelTextDeckkraft", "", "", {1260, 2430, 2940, 420}, &options);
    opacity.state().minimum = 10;
    opacity.state().maximum = 100;

    PageControl& attributes =
        add(K::Frame, "FrameAttributes", "Attributes", "Attribute", {4320, 2460, 2160, 1080}, &options);
    PageControl& italic =
        add(K::CheckBox, "StempelTextItalic", "Italic", "kursiv", {120, 240, 1980, 270}, &attributes);
    PageControl& underline =
        add(K::CheckBox, "StempelTextUnderline", "Underline", "unterstrichen", {120, 510, 1980, 270}, &attributes);
    PageControl& strikeout =
        add(K::CheckBox, "StempelTextStrikeout", "StrikeOut", "durchgestrichen", {120, 780, 1980, 270}, &attributes);

    PageControl& position = add(K::Frame, "FramePosition", "Position", "Position", {0, 2940, 2520, 1200}, &options);
    for (int i = 1; i <= 9; ++i) {
        PageControl& cell = add(K::PictureBox, "StempelTextPosition", "", "",
                                {135 + ((i - 1) % 3) * 270.0, 270 + ((i - 1) / 3) * 270.0, 240, 240}, &position, i);
        cell.state().picture = std::string("glyph:cell:") + kCellGlyphs[i - 1];
        cell.state().back_colour = kCellOff;
        on(cell, ControlEvent::Click, [this, i](ControlEventArgs&) {
            if (stamp_ == nullptr) return;
            stamp_->Position(positionszelle_geklickt(stamp_->Position(), i));
            positionszellen_zeigen(*this, "StempelTextPosition", stamp_->Position());
            changed_event();
        });
    }
    caption("Offset", "Offset", {1020, 240, 1440, 240}, &position);
    caption("", "X", {1020, 570, 180, 240}, &position);
    caption("", "Y", {1020, 900, 180, 240}, &position);
    PageControl& offset_x = add(K::TextBox, "StempelTextOffsetX", "", "", {1230, 540, 660, 285}, &position);
    PageControl& offset_y = add(K::TextBox, "StempelTextOffsetY", "", "", {1230, 870, 660, 285}, &position);

    PageControl& direction =
        add(K::Frame, "FrameDirection", "Direction", "Richtung", {2640, 2940, 1560, 1200}, &options);
    add(K::PictureBox, "Image1", "", "", {600, 480, 360, 360}, &direction).state().picture = "glyph:direction";
    add(K::OptionButton, "StempelTextDirection", "", "", {300, 540, 255, 255}, &direction, 0);
    add(K::OptionButton, "StempelTextDirection", "", "", {660, 210, 255, 255}, &direction, 1);
    add(K::OptionButton, "StempelTextDirection", "", "", {1020, 540, 255, 255}, &direction, 2);
    add(K::OptionButton, "StempelTextDirection", "", "", {660, 870, 255, 255}, &direction, 3);

    PageControl& alignment =
        add(K::Frame, "FrameAlignment", "Alignment", "Ausrichtung", {4320, 3600, 2160, 1320}, &options);
    add(K::OptionButton, "StempelTextAlignment", "Auto", "automatisch", {120, 240, 1980, 270}, &alignment, 0);
    add(K::OptionButton, "StempelTextAlignment", "Left", "links", {120, 510, 1980, 270}, &alignment, 1);
    add(K::OptionButton, "StempelTextAlignment", "Centered", "zentriert", {120, 780, 1980, 270}, &alignment, 2);
    add(K::OptionButton, "StempelTextAlignment", "Right", "rechts", {120, 1050, 1980, 270}, &alignment, 3);

    PageControl& background =
        add(K::Frame, "FrameTexthintergrund", "Background", "Hintergrund", {0, 4260, 4200, 1500}, &options);
    PageControl& fill = add(K::CheckBox, "StempelTextHGFüllen", "Fill", "Hintergrund füllen", {120, 240, 3960, 300},
                            &background);
    caption("BackgroundColor", "Hintergrundfarbe", {120, 600, 1740, 240}, &background);
    PageControl& background_colour =
        add(K::PictureBox, "StempelTextHGFarbe", "", "", {1920, 570, 690, 285}, &background);
    PageControl& background_button =
        add(K::Button, "TextStempelHGFarbeButton", "", "...", {2670, 570, 375, 285}, &background);
    caption("BackgroundOpacity", "Deckkraft", {120, 1140, 1740, 240}, &background);
    add(K::Label, "StempelTextHGDeckkraftProzent", "", "", {1920, 900, 600, 240}, &background).state().alignment = 2;
    PageControl& background_opacity =
        add(K::Slider, "StempelTextHGDeckkraft", "", "", {1920, 1080, 2160, 360}, &background);
    background_opacity.state().minimum = 10;
    background_opacity.state().maximum = 100;

    PageControl& border = add(K::Frame, "FrameTextRahmen", "Border", "Rand", {4320, 4980, 2160, 1320}, &options);
    PageControl& create_border =
        add(K::CheckBox, "StempelTextRahmenErzeugen", "BorderCreate", "Rand erzeugen", {120, 240, 1980, 300}, &border);
    caption("BorderWidth", "Stärke", {120, 600, 900, 240}, &border);
    PageControl& border_width = add(K::TextBox, "StempelTextRahmenStärke", "", "", {1080, 570, 540, 285}, &border);
    caption("Pixel", "Pixel", {1680, 600, 450, 240}, &border);
    caption("BorderColor", "Farbe", {120, 960, 900, 240}, &border);
    PageControl& border_colour = add(K::PictureBox, "StempelTextRahmenFarbe", "", "", {1080, 930, 540, 285}, &border);
    PageControl& border_button =
        add(K::Button, "StempelTextRahmenFarbeButton", "", "...", {1680, 930, 375, 285}, &border);

    declare_events({PageEvent::TextStampChanged});

    auto raise_changed = [this] { changed_event(); };
    on(text, ControlEvent::Change, [this](ControlEventArgs& args) {
        if (stamp_ != nullptr) stamp_->Text(stored_text(args.control.state().text));
        changed_event();
    });
    on(text, ControlEvent::Click, [this](ControlEventArgs&) { CursorpositionAnzeigen(); });
    on(text, ControlEvent::KeyUp, [this](ControlEventArgs& args) {
        if (args.key == kKeyBack && args.shift == kAltMask) request(args.control, ViewRequest::Undo);
        CursorpositionAnzeigen();
    });
    on(test, ControlEvent::Click, [this](ControlEventArgs&) { syntax_test(); });
    on(font, ControlEvent::GotFocus, [this](ControlEventArgs& args) { request(args.control, ViewRequest::DropDown); });
    on(font, ControlEvent::Click, [this](ControlEventArgs& args) {
        const ControlState& s = args.control.state();
        if (stamp_ == nullptr || s.value < 0 || s.value >= static_cast<int32_t>(s.items.size())) return;
        stamp_->Font(s.items[static_cast<size_t>(s.value)].text);
        changed_event();
    });
    bind_range_box(height, property(&CTextStamp::Height, &CTextStamp::Height), {1, 999, "ErrStampHeight"},
                   raise_changed);
    bind_range_box(offset_x, property(&CTextStamp::OffsetX, &CTextStamp::OffsetX), {-9999, 9999, "ErrStampOffset"},
                   raise_changed);
    bind_range_box(offset_y, property(&CTextStamp::OffsetY, &CTextStamp::OffsetY), {-9999, 9999, "ErrStampOffset"},
                   raise_changed);
    bind_range_box(border_width, property(&CTextStamp::BorderWidth, &CTextStamp::BorderWidth),
                   {1, 9999, "ErrBorderWidth"}, raise_changed);
    bind_colour_button(colour_button, colour, property(&CTextStamp::Color, &CTextStamp::Color), "TextStampColor",
                       raise_changed);
    bind_colour_button(background_button, background_colour,
                       property(&CTextStamp::BackgroundColor, &CTextStamp::BackgroundColor),
                       "TextStampBackgroundColor", raise_changed);
    bind_colour_button(border_button, border_colour, property(&CTextStamp::BorderColor, &CTextStamp::BorderColor),
                       "TextStampBordercolor", raise_changed);
    on(readable, ControlEvent::Click, [this](ControlEventArgs& args) {
        control("StempelTextFarbeButton").state().enabled = args.control.state().value != 1;
        if (stamp_ != nullptr) stamp_->ColorReadable(args.control.state().value == 1 ? 1 : 0);
        changed_event();
    });
    on(opacity, ControlEvent::Change, [this](ControlEventArgs& args) {
        prozentlabel_setzen(args.control, control("StempelTextDeckkraftProzent"));
        if (stamp_ != nullptr) stamp_->Opacity(args.control.state().value);
        changed_event();
    });
    on(background_opacity, ControlEvent::Change, [this](ControlEventArgs& args) {
        prozentlabel_setzen(args.control, control("StempelTextHGDeckkraftProzent"));
        if (stamp_ != nullptr) stamp_->BackgroundOpacity(args.control.state().value);
        changed_event();
    });
    bind_option_group("StempelTextWeight", property(&CTextStamp::Weight, &CTextStamp::Weight), raise_changed);
    bind_option_group("StempelTextDirection", property(&CTextStamp::Direction, &CTextStamp::Direction),
                      raise_changed);
    bind_option_group("StempelTextAlignment", property(&CTextStamp::Alignment, &CTextStamp::Alignment),
                      raise_changed);
    bind_check_box(italic, property(&CTextStamp::Italic, &CTextStamp::Italic), raise_changed);
    bind_check_box(underline, property(&CTextStamp::Underline, &CTextStamp::Underline), raise_changed);
    bind_check_box(strikeout, property(&CTextStamp::Strikeout, &CTextStamp::Strikeout), raise_changed);
    auto relayout = [this] {
        ResetDialog();
        changed_event();
    };
    bind_check_box(fill, property(&CTextStamp::Background, &CTextStamp::Background), relayout);
    bind_check_box(create_border, property(&CTextStamp::Border, &CTextStamp::Border), relayout);
}

ValueTarget CTextStempel::property(int32_t (CTextStamp::*get)() const, void (CTextStamp::*set)(int32_t)) {
    return ganzzahl_eigenschaft(&stamp_, get, set);
}

void CTextStempel::fill_fonts() {
    if (fonts_listed_) return;
    fonts_listed_ = true;
    ControlState& list = control("StempelTextSchrift").state();
    list.items.clear();
    FontItems items(list.items);
    schriftarten_auflisten(items);
    imagecombo_sortieren(list.items);
    list.value = list.items.empty() ? -1 : 0;
}

void CTextStempel::language_texts() {
    row_word_ = text_of("TextStampTextRow");
    column_word_ = text_of("TextStampTextColumn");
    CursorpositionAnzeigen();
}

void CTextStempel::InitDialog(CTextStamp& stamp) {
    log_line(Name() + " InitDialog START");
    stamp_ = &stamp;
    fill_fonts();
    PageControl& text = control("StempelText");
    text.state().text = editor_text(stamp.Text());
    text.state().selection_start = 0;
    text.state().selection_length = 0;
    ControlState& fonts = control("StempelTextSchrift").state();
    for (size_t i = 0; i < fonts.items.size(); ++i)
        if (fonts.items[i].key == stamp.Font()) fonts.value = static_cast<int32_t>(i);
    control("StempelTextHöhe").state().text = ganzzahl_text(stamp.Height());
    control("StempelTextOffsetX").state().text = ganzzahl_text(stamp.OffsetX());
    control("StempelTextOffsetY").state().text = ganzzahl_text(stamp.OffsetY());
    control("StempelTextFarbe").state().back_colour = static_cast<uint32_t>(stamp.Color());
    control("StempelTextFarbeLesbar").state().value = stamp.ColorReadable() == 1 ? 1 : 0;
    auto choose = [this](const char* name, int32_t value) {
        for (const auto& c : all_controls())
            if (c->name() == name) c->state().value = c->index() == value ? 1 : 0;
    };
    choose("StempelTextDirection", stamp.Direction());
    choose("StempelTextAlignment", stamp.Alignment());
    choose("StempelTextWeight", stamp.Weight());
    control("StempelTextItalic").state().value = stamp.Italic() == 1 ? 1 : 0;
    control("StempelTextUnderline").state().value = stamp.Underline() == 1 ? 1 : 0;
    control("StempelTextStrikeout").state().value = stamp.Strikeout() == 1 ? 1 : 0;
    auto slider = [this](const char* name, const char* label, int32_t value) {
        PageControl& s = control(name);
        s.state().value = std::clamp(value, s.state().minimum, s.state().maximum);
        prozentlabel_setzen(s, control(label));
    };
    slider("StempelTextDeckkraft", "StempelTextDeckkraftProzent", stamp.Opacity());
    positionszellen_zeigen(*this, "StempelTextPosition", stamp.Position());
    control("StempelTextRahmenErzeugen").state().value = stamp.Border() == 1 ? 1 : 0;
    control("StempelTextRahmenFarbe").state().back_colour = static_cast<uint32_t>(stamp.BorderColor());
    control("StempelTextRahmenStärke").state().text = ganzzahl_text(stamp.BorderWidth());
    control("StempelTextHGFüllen").state().value = stamp.Background() == 1 ? 1 : 0;
    slider("StempelTextHGDeckkraft", "StempelTextHGDeckkraftProzent", stamp.BackgroundOpacity());
    control("StempelTextHGFarbe").state().back_colour = static_cast<uint32_t>(stamp.BackgroundColor());
    ResetDialog();
    CursorpositionAnzeigen();
    changed_event();
    log_line(Name() + " InitDialog END");
    changed();
}

void CTextStempel::InitDialog() {
    if (stamp_ != nullptr) InitDialog(*stamp_);
}

void CTextStempel::ResetDialog() {
    steuerelemente_aktivieren(*this, root(), true);
    control("FrameOptionen").state().visible = true;
    if (stamp_ == nullptr) return;
    if (stamp_->ColorReadable() == 1) control("StempelTextFarbeButton").state().enabled = false;
    auto frame_rule = [this](const char* frame, const char* master, bool on) {
        steuerelemente_aktivieren(*this, control(frame), on);
        control(master).state().enabled = true;
    };
    frame_rule("FrameTextRahmen", "StempelTextRahmenErzeugen", stamp_->Border() == 1);
    frame_rule("FrameTexthintergrund", "StempelTextHGFüllen", stamp_->Background() == 1);
}

void CTextStempel::CursorpositionAnzeigen() {
    const ControlState& box = control("StempelText").state();
    const CaretPlace place = caret_place(box.text, box.selection_start + box.selection_length);
    control("editpos").state().caption = caret_label(row_word_, column_word_, place);
}

void CTextStempel::syntax_test() {
    if (stamp_ == nullptr) return;
    PageControl& box = control("StempelText");
    if (stamp_->Text().empty()) {
        meldung(kCompilerTitle, MB_ICON_INFORMATION, "ErrStampLastErr",
                {stamp_->Description(), inq("Msg", "MsgSyntaxcheckNotNecessary")});
    } else {
        if (zns() == nullptr) script_objekt_anlegen();
        const int32_t result = vorlage_uebersetzen("_stamptext", stamp_->Text());
        int style = MB_ICON_INFORMATION;
        if (result != 0) {
            box.state().selection_start = line_start(box.state().text, fehler_zeile() - 1);
            box.state().selection_length = 0;
            CursorpositionAnzeigen();
            style = MB_ICON_EXCLAMATION;
        }
        const std::string text = fehlermeldung();
        zns()->fkt_oba.lösche_ausser_intern();
        meldung(kCompilerTitle, style, "ErrStampLastErr", {stamp_->Description(), text});
    }
    request(box, ViewRequest::Focus);
}

}  // namespace galvora
