#include "options/pages/image_stamp_page.h"

#include <algorithm>

#include "foundation/dialog_helpers.h"
#include "foundation/log.h"
#include "platform/dialog_port.h"

namespace galvora {

namespace {

using K = PageControlKind;

constexpr double kWidth = 6480;
constexpr double kHeight = 5700;
constexpr double kPreviewSize = 1950;
constexpr int32_t kFileMustExist = 0x1000;

constexpr const char* kCellGlyphs[] = {"LO", "MO", "RO", "LM", "MM", "RM", "LU", "MU", "RU"};

}  // namespace

CBildStempel::CBildStempel() : OptionPage("CBildStempel", kWidth, kHeight) {
    PageControl& name_frame = add(K::Frame, "FrameImagename", "", "", {0, 0, kWidth, 540});
    PageControl& choose = add(K::Button, "Bildwahl", "Imagename", "Bild wählen", {120, 120, 1500, 345}, &name_frame);
    add(K::TextBox, "StempelBild", "", "", {1740, 135, 4620, 315}, &name_frame);

    PageControl& options = add(K::Frame, "FrameOptionen", "", "", {0, 600, kWidth, 5040});
    PageControl& preview = add(K::PictureBox, "StempelBildWahl", "", "", {120, 90, kPreviewSize, kPreviewSize}, &options);
    PageControl& stretch = add(K::CheckBox, "StempelBildStrecken", "ImageStretch", "Bildstempel strecken",
                               {2160, 90, 4200, 300}, &options);
    PageControl& position = add(K::Frame, "FramePosition", "Position", "Position", {2160, 420, 2295, 1170}, &options);
    for (int i = 1; i <= 9; ++i) {
        PageControl& cell = add(K::PictureBox, "StempelBildPosition", "", "",
                                {135 + ((i - 1) % 3) * 270.0, 270 + ((i - 1) / 3) * 270.0, 240, 240}, &position, i);
        cell.state().picture = std::string("glyph:cell:") + kCellGlyphs[i - 1];
        cell.state().back_colour = kCellOff;
        on(cell, ControlEvent::Click, [this, i](ControlEventArgs&) {
            if (stamp_ == nullptr) return;
            stamp_->Position(positionszelle_geklickt(stamp_->Position(), i));
            positionszellen_zeigen(*this, "StempelBildPosition", stamp_->Position());
            VorschauZeichnen();
        });
    }
    add(K::Label, "Label", "Offset", "Offset", {1380, 210, 900, 240}, &position, 0);
    add(K::Label, "Label", "", "X", {1380, 480, 180, 255}, &position, 1);
    add(K::Label, "Label", "", "Y", {1380, 795, 180, 255}, &position, 2);
    PageControl& offset_x = add(K::TextBox, "StempelBildOffsetX", "", "", {1575, 450, 615, 285}, &position);
    PageControl& offset_y = add(K::TextBox, "StempelBildOffsetY", "", "", {1575, 765, 615, 285}, &position);

    PageControl& opacity_frame = add(K::Frame, "Frame1", "Opacity", "Deckkraft", {120, 2160, 4335, 960}, &options);
    PageControl& opacity = add(K::Slider, "StempelBildDeckkraft", "", "", {120, 480, 4095, 420}, &opacity_frame);
    opacity.state().minimum = 10;
    opacity.state().maximum = 100;
    add(K::Label, "StempelBildDeckkraftProzent", "", "", {120, 240, 600, 240}, &opacity_frame).state().alignment = 2;

    PageControl& transparent = add(K::CheckBox, "StempelBildMitTransparentfarbe", "TransparentColor",
                                   "Transparente Farbe nutzen", {120, 3240, 4335, 300}, &options);
    PageControl& swatch = add(K::PictureBox, "StempelBildTransparentfarbe", "", "", {375, 3570, 690, 285}, &options);
    PageControl& colour_button =
        add(K::Button, "StempelBildTransparentfarbeButton", "", "...", {1140, 3570, 375, 285}, &options);
    PageControl& tolerance_frame =
        add(K::Frame, "FarbtoleranzFrame", "Tolerance", "Farbtoleranz", {120, 3960, 4335, 960}, &options);
    PageControl& tolerance = add(K::Slider, "StempelBildFarbtoleranz", "", "", {120, 480, 4095, 420}, &tolerance_frame);
    tolerance.state().minimum = 0;
    tolerance.state().maximum = 100;
    add(K::Label, "StempelBildFarbtoleranzProzent", "", "", {120, 240, 600, 240}, &tolerance_frame).state().alignment =
        2;

    declare_events({PageEvent::ImageStampChanged});

    auto raise_changed = [this] { raise(PageEvent::ImageStampChanged); };
    on(choose, ControlEvent::Click, [this](ControlEventArgs&) { choose_picture(); });
    bind_range_box(offset_x, property(&CImageStamp::OffsetX, &CImageStamp::OffsetX), {-9999, 9999, "ErrStampOffset"},
                   raise_changed);
    bind_range_box(offset_y, property(&CImageStamp::OffsetY, &CImageStamp::OffsetY), {-9999, 9999, "ErrStampOffset"},
                   raise_changed);
    on(stretch, ControlEvent::Click, [this](ControlEventArgs& args) {
        control("FramePosition").state().visible = args.control.state().value != 1;
        if (stamp_ != nullptr) stamp_->Strecken(args.control.state().value == 1 ? 1 : 0);
        VorschauZeichnen();
    });
    on(transparent, ControlEvent::Click, [this](ControlEventArgs& args) {
        show_transparency(args.control.state().value == 1);
        if (stamp_ != nullptr) stamp_->TransparenteFarbeNutzen(args.control.state().value == 1 ? 1 : 0);
        VorschauZeichnen();
    });
    bind_colour_button(colour_button, swatch,
                       property(&CImageStamp::TransparenteFarbe, &CImageStamp::TransparenteFarbe),
                       "ImageStampSelectTranscolor", [this] { VorschauZeichnen(); });
    on(opacity, ControlEvent::Change, [this](ControlEventArgs& args) {
        prozentlabel_setzen(args.control, control("StempelBildDeckkraftProzent"));
        if (stamp_ != nullptr) stamp_->deckkraft(args.control.state().value);
        VorschauZeichnen();
    });
    on(tolerance, ControlEvent::Change, [this](ControlEventArgs& args) {
        prozentlabel_setzen(args.control, control("StempelBildFarbtoleranzProzent"));
        if (stamp_ != nullptr) stamp_->TransparenzFarbtoleranz(toleranz_aus_prozent(args.control.state().value));
        VorschauZeichnen();
    });
    on(preview, ControlEvent::LostFocus, [this](ControlEventArgs&) { mouse_down_ = false; });

    backdrop_ = schachbrett(vorschau_breite(), vorschau_hoehe());
}

int32_t CBildStempel::vorschau_breite() const { return pixels_of(control("StempelBildWahl").state().place.width); }
int32_t CBildStempel::vorschau_hoehe() const { return pixels_of(control("StempelBildWahl").state().place.height); }

ValueTarget CBildStempel::property(int32_t (CImageStamp::*get)() const, void (CImageStamp::*set)(int32_t)) {
    return ganzzahl_eigenschaft(&stamp_, get, set);
}

void CBildStempel::show_transparency(bool on) {
    for (const char* name : {"StempelBildTransparentfarbe", "StempelBildTransparentfarbeButton", "FarbtoleranzFrame"})
        control(name).state().visible = on;
}

void CBildStempel::InitDialog(CImageStamp& stamp) {
    log_line(Name() + " InitDialog START");
    stamp_ = &stamp;
    control("StempelBild").state().text = stamp.Name();
    const bool transparent = stamp.TransparenteFarbeNutzen() == 1;
    control("StempelBildMitTransparentfarbe").state().value = transparent ? 1 : 0;
    show_transparency(transparent);
    control("StempelBildTransparentfarbe").state().back_colour = static_cast<uint32_t>(stamp.TransparenteFarbe());
    const bool stretched = stamp.Strecken() == 1;
    control("StempelBildStrecken").state().value = stretched ? 1 : 0;
    control("FramePosition").state().visible = !stretched;
    control("StempelBildOffsetX").state().text = ganzzahl_text(stamp.OffsetX());
    control("StempelBildOffsetY").state().text = ganzzahl_text(stamp.OffsetY());
    PageControl& tolerance = control("StempelBildFarbtoleranz");
    tolerance.state().value = std::clamp(prozent_aus_toleranz(stamp.TransparenzFarbtoleranz()), 0, 100);
    prozentlabel_setzen(tolerance, control("StempelBildFarbtoleranzProzent"));
    PageControl& opacity = control("StempelBildDeckkraft");
    opacity.state().value = std::clamp(stamp.deckkraft(), opacity.state().minimum, opacity.state().maximum);
    prozentlabel_setzen(opacity, control("StempelBildDeckkraftProzent"));
    positionszellen_zeigen(*this, "StempelBildPosition", stamp.Position());
    ResetDialog();
    VorschauZeichnen();
    log_line(Name() + " InitDialog END");
    changed();
}

void CBildStempel::InitDialog() {
    if (stamp_ != nullptr) InitDialog(*stamp_);
}

void CBildStempel::ResetDialog() {
    steuerelemente_aktivieren(*this, root(), true);
    control("FrameImagename").state().visible = true;
    PageControl& path = control("StempelBild");
    PageControl& options = control("FrameOptionen");
    if (stamp_ == nullptr || stamp_->Name().empty()) {
        path.state().back_colour = kSysWindowBackground;
        options.state().visible = false;
    } else if (stamp_->ErrNumber() != 0) {
        path.state().back_colour = kLightRed;
        options.state().visible = false;
    } else {
        path.state().back_colour = kLightGreen;
        options.state().visible = true;
    }
}

void CBildStempel::choose_picture() {
    if (stamp_ == nullptr) return;
    PageControl& path = control("StempelBild");
    const std::string chosen =
        dialog_port().ShowFileDialog(false, bilddatei_filter(text_of("ImageStampSupportedImageTypes")),
                                     path.state().text, "", text_of("ImageStampSelectImage"), kFileMustExist);
    if (chosen.empty()) return;
    stamp_->Name(chosen);
    path.state().text = stamp_->Name();
    ResetDialog();
    VorschauZeichnen();
}

void CBildStempel::VorschauZeichnen() {
    if (stamp_ == nullptr) {
        raise(PageEvent::ImageStampChanged);
        return;
    }
    preview_.release();
    const PictureBuffer& picture = stamp_->pRGB();
    if (picture.empty()) {
        raise(PageEvent::ImageStampChanged);
        return;
    }
    const Einpassung place = einpassen(vorschau_breite(), vorschau_hoehe(), picture.width(), picture.height());
    drawn_ = place;
    const ErrorInfo error =
        bildvorschau(backdrop_, picture, place, stamp_->deckkraft(), stamp_->TransparenteFarbeNutzen(),
                     stamp_->TransparenteFarbe(), stamp_->TransparenzFarbtoleranz(), preview_);
    if (!error.empty()) return;
    control("StempelBildTransparentfarbe").state().back_colour = static_cast<uint32_t>(stamp_->TransparenteFarbe());
    raise(PageEvent::ImageStampChanged);
}

void CBildStempel::FarbeAufnehmen(float x, float y) {
    if (!mouse_down_ || stamp_ == nullptr) return;
    if (control("StempelBildMitTransparentfarbe").state().value != 1) return;
    const PictureBuffer& picture = stamp_->pRGB();
    if (picture.empty()) return;
    int32_t sx = 0;
    int32_t sy = 0;
    if (!bildpunkt_unter_maus(drawn_, picture.width(), picture.height(), x, y, sx, sy)) return;
    const uint8_t* p = picture.pixel(sx, sy);
    stamp_->TransparenteFarbe(static_cast<int32_t>(make_colour(p[0], p[1], p[2])));
    VorschauZeichnen();
}

void CBildStempel::user_mouse_down(float x, float y) {
    mouse_down_ = true;
    FarbeAufnehmen(x, y);
    changed();
}

void CBildStempel::user_mouse_move(float x, float y) {
    FarbeAufnehmen(x, y);
    changed();
}

void CBildStempel::user_mouse_release() {
    mouse_down_ = false;
    changed();
}

}  // namespace galvora
