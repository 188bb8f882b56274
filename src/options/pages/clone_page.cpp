#include "options/pages/clone_page.h"

#include <algorithm>

#include "foundation/dialog_helpers.h"
#include "generation/settings_access.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

using K = PageControlKind;

constexpr int kClonePath = 53;
constexpr int kCloneAppendBasename = 54;

struct Filter {
    const char* text;
    int32_t code;
    const char* image;
};
// The resampling filters in list order, with the value each writes.
constexpr Filter kFilters[] = {
    {"Linear 2x2", -2, "grün"}, {"Linear 4x4", -1, "grün"}, {"Triangle", 1, "gold"}, {"Hamming", 2, "gold"},
    {"Gaussian", 3, "gold"},    {"Hermite", 11, "gold"},    {"Hanning", 12, "gold"}, {"Cubic 1", 6, "gold"},
    {"Cubic 2", 7, "gold"},     {"Bell", 4, "gold"},        {"Mitchell", 9, "gold"}, {"B-Spline", 5, "gold"},
    {"Lanczos", 8, "rot"},
};

// The option button of a group that is chosen, or -1.
int chosen(const OptionPage& page, std::string_view name) {
    for (const auto& c : page.all_controls())
        if (c->name() == name && c->state().value == 1) return c->index();
    return -1;
}

}  // namespace

CClonen::CClonen() : OptionPage("CClonen", 9000, 6540) {
    PageControl& master = add(K::CheckBox, "CloneErzeugen", "Cloning", "Clonen durchführen", {120, 120, 6000, 300});
    PageControl& folder_button =
        add(K::Button, "ClonePfadFestlegen", "Directory", "Verzeichnis", {120, 540, 1500, 345});
    PageControl& folder = add(K::TextBox, "ClonePfad", "", "", {1740, 555, 7140, 315});
    PageControl& append = add(K::CheckBox, "CloneBasisverzeichnisAnhängen", "Append", "Basisverzeichnisnamen anhängen",
                              {1740, 960, 7140, 300});
    PageControl& convert = add(K::CheckBox, "CloneKopieJPG", "Convert", "Als JPG clonen", {120, 1380, 4200, 300});

    PageControl& dimensions =
        add(K::Frame, "CloneFrameAusdehnung", "Dimensions", "Ausdehnung", {120, 1800, 4200, 1740});
    const char* side_tags[] = {"Unchanged", "LongerSide", "Width", "Height", "Frame"};
    const char* side_captions[] = {"Unverändert", "längste Seite", "Breite", "Höhe", "Rahmen"};
    for (int i = 0; i < 5; ++i)
        add(K::OptionButton, "CloneSeitenwahl", side_tags[i], side_captions[i], {180, 270.0 + i * 270, 1560, 270},
            &dimensions, i);
    PageControl& sizes = add(K::PictureBox, "FrameAusdehnung", "", "", {1800, 540, 2280, 1140}, &dimensions);
    PageControl& longest = add(K::TextBox, "CloneLängsteSeite", "", "", {0, 0, 720, 270}, &sizes);
    add(K::Label, "Label", "", "Pixel", {780, 15, 600, 255}, &sizes, 0);
    PageControl& width = add(K::TextBox, "CloneBreite", "", "", {0, 270, 720, 270}, &sizes);
    add(K::Label, "Label", "", "Pixel", {780, 285, 600, 255}, &sizes, 9);
    PageControl& height = add(K::TextBox, "CloneHöhe", "", "", {0, 540, 720, 270}, &sizes);
    add(K::Label, "Label", "", "Pixel", {780, 555, 600, 255}, &sizes, 10);
    add(K::Label, "Label", "", "x", {780, 825, 150, 255}, &sizes, 43);
    add(K::Label, "Label", "", "Pixel", {1740, 825, 540, 255}, &sizes, 26);

    PageControl& filter_frame = add(K::Frame, "CloneFilterFrame", "", "Resample-Filter", {4440, 1800, 4440, 780});
    PageControl& filter = add(K::ComboBox, "CloneFilter", "", "", {180, 300, 3000, 315}, &filter_frame);

    PageControl& newer = add(K::CheckBox, "CloneWennNeuOderVerändert", "NewClone",
                             "Clone nur dann erzeugen, wenn Bild neu oder verändert", {120, 3660, 8760, 300});
    PageControl& clean = add(K::CheckBox, "CloneVerzeichnisLöschen", "Delete",
                             "Inhalt des Cloneverzeichnisses löschen", {120, 3990, 8760, 300});
    PageControl& exif = add(K::CheckBox, "CloneExif", "PreserveData",
                            "Exif/IPTC-Informationen und Kommentare erhalten", {120, 4320, 8760, 300});
    PageControl& date = add(K::CheckBox, "CloneDatumZeitErhalten", "PreserveDateTime",
                            "Datum/Zeit des Originalbildes übernehmen", {120, 4650, 8760, 300});

    PageControl& formats = add(K::Frame, "FrameBildtypOptionen", "ImagetypeSelection", "Bildformat-Datei-Optionen",
                               {120, 5040, 8760, 1380});
    PageControl& types = add(K::ComboBox, "BildtypOptionen", "", "", {180, 300, 1080, 315}, &formats);
    PageControl& jpeg = add(K::PictureBox, "FrameJPGOptionen", "", "", {1380, 210, 7260, 1110}, &formats);
    PageControl& quality_frame = add(K::Frame, "FrameQuality", "", "Qualität", {0, 0, 3720, 1080}, &jpeg);
    add(K::Label, "CloneQualitätProzent", "", "", {120, 240, 600, 240}, &quality_frame).state().alignment = 2;
    PageControl& quality = add(K::Slider, "CloneQualität", "", "", {120, 450, 3480, 390}, &quality_frame);
    quality.state().minimum = 20;
    quality.state().maximum = 100;
    add(K::Label, "Label", "Bad", "schlecht", {120, 840, 1200, 210}, &quality_frame, 50);
    PageControl& good = add(K::Label, "Label", "Good", "gut", {2400, 840, 1200, 210}, &quality_frame, 51);
    good.state().alignment = 1;
    PageControl& max_size = add(K::CheckBox, "CloneMaxSize", "", "", {3840, 90, 255, 255}, &jpeg);
    PageControl& max_size_text = add(K::Label, "CloneMaxSizeText", "", "", {4140, 90, 1800, 255}, &jpeg);
    PageControl& bytes = add(K::TextBox, "CloneMaxSizeBytes", "", "", {6000, 75, 780, 285}, &jpeg);
    add(K::Label, "Label", "", "Bytes", {6840, 90, 420, 255}, &jpeg, 49);
    PageControl& progressive =
        add(K::CheckBox, "JPGProgressive", "JPGProgressive", "Progressive Speicherung", {3840, 540, 3300, 300}, &jpeg);
    // The TIFF options take the place of the JPEG options.
    PageControl& tiff = add(K::PictureBox, "FrameTIFOptionen", "", "", {1380, 210, 7260, 1110}, &formats);
    add(K::OptionButton, "TIFKomprimierung", "NoCompression", "Unkomprimiert", {120, 120, 2400, 300}, &tiff, 0);
    add(K::OptionButton, "TIFKomprimierung", "", "LZW", {120, 420, 2400, 300}, &tiff, 1);
    add(K::OptionButton, "TIFKomprimierung", "", "ZIP", {120, 720, 2400, 300}, &tiff, 2);

    declare_events({PageEvent::BaumAnpassen, PageEvent::ClonenVerändert});

    auto refill = [this] { InitDialog(); };
    // Bound in the order the page fills its controls; the slider follows in fill().
    bind_master_switch(master, ValueTarget::entry(kSetGenerateClones),
                       {PageEvent::BaumAnpassen, PageEvent::ClonenVerändert});
    bind_text(folder, ValueTarget::entry(kClonePath));
    bind_check_box(append, ValueTarget::entry(kCloneAppendBasename));
    bind_check_box(convert, ValueTarget::entry(kSetCloneConvert), refill);
    bind_option_group("CloneSeitenwahl", ValueTarget::entry(kSetCloneSelectedSide), refill);
    bind_number_box(longest, ValueTarget::entry(kSetCloneSize), {100, 640, "ErrClonesDimension"});
    bind_number_box(width, ValueTarget::entry(kSetCloneWidth), {100, 640, "ErrClonesDimension"});
    bind_number_box(height, ValueTarget::entry(kSetCloneHeight), {100, 640, "ErrClonesDimension"});
    bind_check_box(max_size, ValueTarget::entry(kSetCloneMaxsize), [this] { max_size_clicked(); });
    bind_number_box(bytes, ValueTarget::entry(kSetCloneMaxsizeBytes), {1000, 1000, "ErrClonesMaxSize"});
    bind_option_group("TIFKomprimierung", ValueTarget::entry(kSetCloneTifCompmode));
    bind_check_box(exif, ValueTarget::entry(kSetCloneMetadata));
    bind_check_box(newer, ValueTarget::entry(kSetCloneOnlyIfNewer));
    bind_check_box(clean, ValueTarget::entry(kSetCloneDirclean));
    bind_check_box(progressive, ValueTarget::entry(kSetCloneJpgProgressive));
    // Filled in narrower_rules only: while cloning is off it keeps what it showed.
    on(date, ControlEvent::Click, [](ControlEventArgs& args) {
        profilwert_setzen(kSetClonePreserveDate, checkbox_text(args.control.state().value));
    });
    bind_folder_button(folder_button, folder, {0, 0, "CloneDirectorySelect", "CloneDirectory"});

    on(quality, ControlEvent::Change, [this](ControlEventArgs& args) {
        prozentlabel_setzen(args.control, control("CloneQualitätProzent"));
        const int index = control("CloneMaxSize").state().value == 1 ? kSetCloneMinQuality : kSetCloneQuality;
        profilwert_setzen(index, std::to_string(args.control.state().value));
    });
    on(max_size_text, ControlEvent::Click, [this](ControlEventArgs&) {
        PageControl& box = control("CloneMaxSize");
        set_value(box, box.state().value == 1 ? 0 : 1);
    });
    on(filter, ControlEvent::Click, [](ControlEventArgs& args) {
        const ControlState& s = args.control.state();
        if (s.value < 0 || s.value >= static_cast<int32_t>(s.items.size())) return;
        profilwert_setzen(kSetCloneFilter, s.items[static_cast<size_t>(s.value)].key);
    });
    on(types, ControlEvent::Click, [refill](ControlEventArgs&) { refill(); });
    for (PageControl* combo : {&filter, &types})
        on(*combo, ControlEvent::GotFocus, [this](ControlEventArgs& args) { request(args.control, ViewRequest::DropDown); });
}

void CClonen::fill() {
    OptionPage::fill();
    show_quality(switch_is_on(profilwert(kSetCloneMaxsize)) ? kSetCloneMinQuality : kSetCloneQuality);

    for (const char* name : {"CloneLängsteSeite", "CloneBreite", "CloneHöhe", "CloneMaxSizeBytes"})
        control(name).state().visible = false;
    for (int label : {0, 9, 10, 43, 26, 49}) control("Label", label).state().visible = false;

    PageControl& filter = control("CloneFilter");
    if (filter.state().items.empty()) {
        control("CloneFilterFrame").state().visible = false;
        for (const Filter& f : kFilters) filter.state().items.push_back({f.text, std::to_string(f.code), f.image});
    }
    if (const std::optional<int32_t> code = entry_as_int32(profilwert(kSetCloneFilter))) {
        const auto& items = filter.state().items;
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].key == std::to_string(*code)) {
                filter.state().value = static_cast<int32_t>(i);
                break;
            }
        }
    }
    PageControl& types = control("BildtypOptionen");
    if (types.state().items.empty()) {
        types.state().items = {{"JPG", "6", ""}, {"TIF", "14", ""}};
        types.state().value = 0;
    }
    // The JPEG and TIFF options share one place: only the chosen format's
    // stand there, also while cloning is off (both at once lay the quality
    // slider over the compression buttons).
    show_format_options();
}

void CClonen::show_format_options() {
    const ControlState& types = control("BildtypOptionen").state();
    const std::string type = types.value >= 0 && types.value < static_cast<int32_t>(types.items.size())
                                 ? types.items[static_cast<size_t>(types.value)].key
                                 : std::string();
    control("FrameJPGOptionen").state().visible = type == "6";
    control("FrameTIFOptionen").state().visible = type == "14";
}

void CClonen::narrower_rules() {
    PageControl& sizes = control("FrameAusdehnung");
    PageControl& filter_frame = control("CloneFilterFrame");
    const double left = control("CloneLängsteSeite").state().place.left;
    auto show = [this](const char* name) { control(name).state().visible = true; };
    auto label = [this](int index) { control("Label", index).state().visible = true; };
    auto move = [this](const char* name, double x, double y) {
        control(name).state().place.left = x;
        control(name).state().place.top = y;
    };
    const int side = chosen(*this, "CloneSeitenwahl");
    switch (side) {
        case 0:
            sizes.state().visible = false;
            filter_frame.state().visible = false;
            break;
        case 1:
            show("CloneLängsteSeite");
            label(0);
            break;
        case 2:
            move("CloneBreite", left, 270);
            show("CloneBreite");
            label(9);
            break;
        case 3:
            move("CloneHöhe", left, 540);
            show("CloneHöhe");
            label(10);
            break;
        case 4: {
            const TwipRect& x = control("Label", 43).state().place;
            move("CloneBreite", left, 810);
            move("CloneHöhe", x.left + x.width, 810);
            show("CloneBreite");
            show("CloneHöhe");
            label(43);
            label(26);
            break;
        }
        default:
            break;
    }
    if (side != 0) {
        sizes.state().visible = true;
        filter_frame.state().visible = true;
    }

    show_format_options();

    if (switch_is_on(profilwert(kSetCloneMaxsize))) {
        show("CloneMaxSizeBytes");
        label(49);
    }
    const std::optional<int16_t> date = entry_as_int16(profilwert(kSetClonePreserveDate));
    if (date && *date >= 0 && *date <= 2) set_value(control("CloneDatumZeitErhalten"), *date);
}

void CClonen::max_size_captions(bool on) {
    PageControl& text = control("CloneMaxSizeText");
    text.state().caption = text_of(on ? "CloneMaxSizeSet" : "CloneMaxSize");
    control("FrameQuality").state().caption = text_of(on ? "CloneMinQuality" : "CloneQuality");
    if (!on) return;
    PageControl& bytes = control("CloneMaxSizeBytes");
    const TwipRect& t = text.state().place;
    bytes.state().place.left = t.left + t.width + 60;
    const TwipRect& b = bytes.state().place;
    control("Label", 49).state().place.left = b.left + b.width + 60;
}

void CClonen::max_size_clicked() {
    const bool on = control("CloneMaxSize").state().value == 1;
    max_size_captions(on);
    control("CloneMaxSizeBytes").state().visible = on;
    control("Label", 49).state().visible = on;
    show_quality(on ? kSetCloneMinQuality : kSetCloneQuality);
}

void CClonen::show_quality(int index) {
    // Setting the slider runs its handler, which writes the value back to the
    // entry it now shows; a value it cannot show is shown at its nearest end
    // and written nowhere.
    PageControl& quality = control("CloneQualität");
    const std::optional<int32_t> value = entry_as_int32(profilwert(index));
    if (value && *value >= quality.state().minimum && *value <= quality.state().maximum) {
        set_value(quality, *value);
    } else {
        quality.state().value =
            std::clamp(value.value_or(quality.state().minimum), quality.state().minimum, quality.state().maximum);
    }
    prozentlabel_setzen(quality, control("CloneQualitätProzent"));
}

void CClonen::language_texts() { max_size_captions(switch_is_on(profilwert(kSetCloneMaxsize))); }

}  // namespace galvora
