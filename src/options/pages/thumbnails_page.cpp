#include "options/pages/thumbnails_page.h"

#include "foundation/dialog_helpers.h"
#include "generation/settings_access.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

// The rows of the size frame: each measure's boxes stand beside its button.
constexpr double kRowTop[] = {570, 870, 1170, 1470};
constexpr double kBoxLeft = 1800;
constexpr double kBoxHeight = 315;

}  // namespace

CThumbnails::CThumbnails() : OptionPage("CThumbnails", 7800, 5760) {
    using K = PageControlKind;
    auto& master = add(K::CheckBox, "ThumbnailsErstellen", "Create", "Thumbnails erstellen", {120, 120, 7500, 300});
    add(K::Label, "Label", "Directory", "Thumbnail-Verzeichnis", {360, 600, 2400, 255}, nullptr, 1);
    auto& folder = add(K::TextBox, "thumbverzeichnis", "", "", {2880, 555, 2400, 315});
    auto& from_clone =
        add(K::CheckBox, "ThumbnailsClone", "Clone", "Thumbnails vom Clone erzeugen", {360, 1020, 7260, 300});
    auto& clean = add(K::CheckBox, "Thumbdir_löschen", "Delete", "Inhalt des Thumbnailverzeichnisses löschen",
                      {360, 1380, 7260, 300});

    auto& size = add(K::Frame, "FrameAusdehnung", "Dimensions", "Ausdehnungsfestlegungen", {360, 1800, 7320, 2040});
    add(K::Label, "Label", "SpecifyTo", "Festlegen auf", {180, 300, 1500, 255}, &size, 6);
    const char* const measures[][2] = {
        {"WidthHeight", "längste Seite"}, {"Width", "Breite"}, {"Height", "Höhe"}, {"Frame", "Rahmen"}};
    for (int i = 0; i < 4; ++i)
        add(K::OptionButton, "Seitenwahl", measures[i][0], measures[i][1], {180, kRowTop[i], 1500, 285}, &size, i);
    auto& longest = add(K::TextBox, "ThumbLängsteSeite", "", "", {kBoxLeft, kRowTop[0] - 15, 720, kBoxHeight}, &size);
    add(K::Label, "Label", "", "Pixel", {2580, kRowTop[0] + 15, 600, 255}, &size, 7);
    auto& width = add(K::TextBox, "ThumbBreite", "", "", {kBoxLeft, kRowTop[1] - 15, 720, kBoxHeight}, &size);
    add(K::Label, "Label", "", "Pixel", {2580, kRowTop[1] + 15, 600, 255}, &size, 45);
    auto& height = add(K::TextBox, "ThumbHöhe", "", "", {kBoxLeft, kRowTop[2] - 15, 720, kBoxHeight}, &size);
    add(K::Label, "Label", "", "Pixel", {2580, kRowTop[2] + 15, 600, 255}, &size, 46);
    add(K::Label, "Label", "", "x", {2580, kRowTop[3] + 15, 180, 255}, &size, 47).state().alignment = 2;
    add(K::Label, "Label", "", "Pixel", {3540, kRowTop[3] + 15, 600, 255}, &size, 48);

    auto& fill_frame = add(K::PictureBox, "RahmenFüllFrame", "", "", {4260, 300, 2940, 1200}, &size);
    auto& fill = add(K::CheckBox, "RahmenFüllen", "FillFrame", "Rahmen mit Farbe auffüllen", {0, 0, 2940, 285},
                     &fill_frame);
    auto& fits = add(K::CheckBox, "RahmenFüllfarbePassend", "FitColor", "Farbe zum Bild passend",
                     {240, 360, 2700, 285}, &fill_frame);
    auto& colour_frame = add(K::PictureBox, "RahmenFüllfarbeFrame", "", "", {240, 720, 2700, 420}, &fill_frame);
    add(K::Label, "Label", "Color", "Farbe", {0, 75, 900, 255}, &colour_frame, 49);
    auto& colour = add(K::PictureBox, "RahmenFüllfarbe", "", "", {960, 45, 480, 300}, &colour_frame);
    auto& colour_button = add(K::Button, "RahmenFüllfarbeButton", "", "...", {1500, 15, 420, 360}, &colour_frame);

    auto& quality_frame = add(K::Frame, "FrameQualität", "Quality", "JPG-Qualität", {360, 3960, 7320, 1080});
    add(K::Label, "Label", "Bad", "schlecht", {180, 660, 780, 255}, &quality_frame, 50);
    auto& quality = add(K::Slider, "Qualität", "", "", {960, 600, 5400, 360}, &quality_frame);
    quality.state().minimum = 20;
    quality.state().maximum = 90;
    quality.state().value = 60;
    add(K::Label, "Label", "Good", "gut", {6420, 660, 720, 255}, &quality_frame, 51);
    auto& percent = add(K::Label, "Qualität_Prozent", "", "60%", {3420, 300, 600, 255}, &quality_frame);
    percent.state().alignment = 2;
    auto& enlarge = add(K::CheckBox, "Thumbs_vergrößern", "Enlarge",
                        "Thumbnail vergrößern wenn Bildgröße < Thumbnailgröße", {360, 5220, 7260, 300});

    // Bound in the order the page fills its controls.
    auto refill = [this] { InitDialog(); };
    bind_master_switch(master, ValueTarget::entry(kSetThumbnails));
    bind_name_box(folder, ValueTarget::entry(kSetThumbDirname),
                  {.default_name = "thumbs",
                   .invalid_key = "ErrThumbDirInvalidCharacter",
                   .missing_key = "ErrThumbDirMissingName",
                   .missing_key_only_when_empty = true,
                   .message_first = true});
    bind_check_box(from_clone, ValueTarget::entry(kSetThumbClone));
    bind_check_box(clean, ValueTarget::entry(kSetThumbdirClean));
    const MinimumRule dimension{.minimum = 20, .fallback = 100, .key = "ErrThumbDimension"};
    bind_number_box(longest, ValueTarget::entry(kSetThumbSize), dimension);
    bind_number_box(width, ValueTarget::entry(kSetThumbWidth), dimension);
    bind_number_box(height, ValueTarget::entry(kSetThumbHeight), dimension);
    // The stored measure is the button's index + 1: thumbnails always have a size.
    bind_option_group("Seitenwahl", ValueTarget::entry(kSetThumbSelectedSide), {{0, 1}, {1, 2}, {2, 3}, {3, 4}},
                      refill);
    bind_check_box(fill, ValueTarget::entry(kSetThumbFramefill), refill);
    bind_check_box(fits, ValueTarget::entry(kSetThumbFramefillColorFits), refill);
    bind_colour_button(colour_button, colour, ValueTarget::entry(kSetThumbFramefillColor), "ThumbFrameFillColor");
    auto show_percent = [&quality, &percent] { prozentlabel_setzen(quality, percent); };
    bind_slider(quality, ValueTarget::entry(kSetThumbQuality), show_percent);
    fill_step(show_percent);
    bind_check_box(enlarge, ValueTarget::entry(kSetThumbEnlarge));
}

void CThumbnails::apply_rules() {
    // Every size box and the frame fill options are hidden first; the chosen
    // measure shows its own.
    for (PageControl* hidden : {&control("ThumbLängsteSeite"), &control("ThumbBreite"), &control("ThumbHöhe"),
                                &control("Label", 7), &control("Label", 45), &control("Label", 46),
                                &control("Label", 47), &control("Label", 48), &control("RahmenFüllFrame"),
                                &control("RahmenFüllfarbePassend"), &control("RahmenFüllfarbeFrame")})
        hidden->state().visible = false;
    OptionPage::apply_rules();
}

void CThumbnails::narrower_rules() {
    control("ThumbnailsClone").set_enabled(switch_is_on(profilwert(kSetGenerateClones)));
    auto show = [this](const char* name, int index = -1) { control(name, index).state().visible = true; };
    auto place = [this](const char* name, double left, double top) {
        TwipRect& where = control(name).state().place;
        where.left = left;
        where.top = top;
    };
    int chosen = -1;
    for (int i = 0; i < 4; ++i)
        if (control("Seitenwahl", i).state().value == 1) chosen = i;
    switch (chosen) {
        case 0:
            show("ThumbLängsteSeite");
            show("Label", 7);
            break;
        case 1:
            place("ThumbBreite", kBoxLeft, kRowTop[1] - 15);
            show("ThumbBreite");
            show("Label", 45);
            break;
        case 2:
            place("ThumbHöhe", kBoxLeft, kRowTop[2] - 15);
            show("ThumbHöhe");
            show("Label", 46);
            break;
        case 3: {
            const TwipRect& times = control("Label", 47).state().place;
            place("ThumbBreite", kBoxLeft, kRowTop[3] - 15);
            place("ThumbHöhe", times.left + times.width, kRowTop[3] - 15);
            show("ThumbBreite");
            show("ThumbHöhe");
            show("Label", 47);
            show("Label", 48);
            show("RahmenFüllFrame");
            if (control("RahmenFüllen").state().value == 1) {
                show("RahmenFüllfarbePassend");
                if (control("RahmenFüllfarbePassend").state().value == 0) show("RahmenFüllfarbeFrame");
            }
            break;
        }
        default:
            break;
    }
}

}  // namespace galvora
