#include "options/pages/frame_page.h"

#include <algorithm>

#include "foundation/dialog_helpers.h"
#include "foundation/log.h"
#include "options/pages/effect_editor_support.h"
#include "platform/dialog_port.h"

namespace galvora {

namespace {

using K = PageControlKind;

constexpr double kWidth = 6480;
constexpr double kHeight = 5700;
constexpr double kPreviewSize = 1950;
constexpr int32_t kFileMustExist = 4096;

// The side boxes around the empty centre: box, left, top (twips in
// FramePosition) and the glyph key.
struct SideBox {
    int box;
    double left;
    double top;
    const char* glyph;
};
constexpr SideBox kSideBoxes[] = {
    {7, 180, 300, "LO"}, {0, 480, 300, "MO"}, {4, 780, 300, "RO"}, {3, 180, 600, "LM"},
    {1, 780, 600, "RM"}, {6, 180, 900, "LU"}, {2, 480, 900, "MU"}, {5, 780, 900, "RU"},
};

// The two sides of each corner box 4 to 7.
constexpr int kCornerSides[4][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}};

constexpr uint32_t kSystemWindow = kSysWindowBackground;

}  // namespace

CRahmen::CRahmen() : OptionPage("CRahmen", kWidth, kHeight) {
    PageControl& options = add(K::PictureBox, "FrameOptionen", "", "", {0, 0, kWidth, kHeight});

    PageControl& kind = add(K::Frame, "FrameRahmenart", "", "", {0, 0, 3120, 1200}, &options);
    add(K::OptionButton, "InnenAussen", "BorderInside", "Innenrahmen", {180, 240, 2800, 300}, &kind, 0);
    add(K::OptionButton, "InnenAussen", "BorderOutside", "Außenrahmen", {180, 540, 2800, 300}, &kind, 1);
    add(K::OptionButton, "InnenAussen", "BorderImage", "Bildrahmen", {180, 840, 2800, 300}, &kind, 2);

    PageControl& shape = add(K::Frame, "FrameInnenrahmentyp", "", "", {3240, 0, 3120, 900}, &options);
    add(K::OptionButton, "RechteckigEllipse", "InsideRectangle", "Rechteckig", {180, 240, 2800, 300}, &shape, 0);
    add(K::OptionButton, "RechteckigEllipse", "InsideEllipse", "Ellipse", {180, 540, 2800, 300}, &shape, 1);

    PageControl& width = add(K::PictureBox, "FrameBreite", "", "", {0, 1260, kWidth, 480}, &options);
    add(K::Label, "Label", "Width", "Breite", {180, 120, 1380, 255}, &width, 0);
    PageControl& width_box = add(K::TextBox, "Breite", "", "", {1620, 90, 720, 285}, &width);

    PageControl& fit_frame = add(K::PictureBox, "FrameFarbePassend", "", "", {0, 0, kWidth, 420}, &options);
    PageControl& fit =
        add(K::CheckBox, "FarbePassend", "FitColor", "Farbe zum Bild passend", {180, 60, 5000, 300}, &fit_frame);

    PageControl& colour_opacity = add(K::PictureBox, "FrameFarbeDeckkraft", "", "", {0, 0, kWidth, 1320}, &options);
    PageControl& colour_frame = add(K::PictureBox, "FrameFarbe", "", "", {0, 0, kWidth, 420}, &colour_opacity);
    add(K::Label, "Label", "Color", "Farbe", {180, 90, 1380, 255}, &colour_frame, 1);
    PageControl& swatch = add(K::PictureBox, "Farbe", "", "", {1620, 60, 690, 285}, &colour_frame);
    PageControl& colour_button = add(K::Button, "FarbeButton", "", "...", {2385, 60, 375, 285}, &colour_frame);
    PageControl& opacity_frame = add(K::PictureBox, "FrameDeckkraft", "", "", {0, 420, kWidth, 900}, &colour_opacity);
    add(K::Label, "Label", "Opacity", "Deckkraft", {180, 420, 1380, 255}, &opacity_frame, 2);
    PageControl& opacity = add(K::Slider, "Farbedeckkraft", "", "", {1620, 330, 4320, 420}, &opacity_frame);
    opacity.state().minimum = 10;
    opacity.state().maximum = 100;
    PageControl& percent = add(K::Label, "Farbedeckkraftprozent", "", "0%", {1620, 90, 600, 240}, &opacity_frame);
    percent.state().alignment = 2;

    PageControl& sides_offsets = add(K::PictureBox, "FramePositionAbstand", "", "", {0, 0, kWidth, 1380}, &options);
    PageControl& sides = add(K::Frame, "FramePosition", "Position", "Position", {120, 0, 1260, 1320}, &sides_offsets);
    for (const SideBox& b : kSideBoxes) {
        PageControl& box = add(K::PictureBox, "Position", "", "", {b.left, b.top, 240, 240}, &sides, b.box);
        box.state().picture = std::string("glyph:side:") + b.glyph;
        box.state().back_colour = kCellOff;
        const int index = b.box;
        on(box, ControlEvent::Click, [this, index](ControlEventArgs&) { position_clicked(index); });
    }
    PageControl& offsets =
        add(K::Frame, "FrameAbstand", "Offset", "Randabstand", {1500, 0, 4260, 1320}, &sides_offsets);
    PageControl& top = add(K::TextBox, "AbstandOben", "", "", {1770, 270, 720, 285}, &offsets);
    PageControl& left = add(K::TextBox, "AbstandLinks", "", "", {870, 600, 720, 285}, &offsets);
    PageControl& right = add(K::TextBox, "AbstandRechts", "", "", {2670, 600, 720, 285}, &offsets);
    PageControl& bottom = add(K::TextBox, "AbstandUnten", "", "", {1770, 930, 720, 285}, &offsets);

    PageControl& picture_frame = add(K::PictureBox, "FrameRahmenbild", "", "", {0, 0, kWidth, 2520}, &options);
    PageControl& choose =
        add(K::Button, "RahmenBildWahl", "SelectImage", "Bild wählen", {180, 60, 1500, 345}, &picture_frame);
    add(K::TextBox, "RahmenBildname", "", "", {1800, 75, 4560, 315}, &picture_frame);
    add(K::PictureBox, "RahmenBild", "", "", {180, 480, kPreviewSize, kPreviewSize}, &picture_frame);
    PageControl& arrangement = add(K::Frame, "FrameVerteilung", "ImageArrangement", "Ausrichtung",
                                   {2280, 480, 2700, 1020}, &picture_frame);
    PageControl& group = add(K::PictureBox, "Picture", "", "", {120, 240, 2460, 700}, &arrangement);
    add(K::OptionButton, "RahmenBildverteilung", "ImageTile", "nebeneinander", {60, 0, 2300, 300}, &group, 0);
    add(K::OptionButton, "RahmenBildverteilung", "ImageStretch", "strecken", {60, 330, 2300, 300}, &group, 1);

    declare_events({PageEvent::BorderChanged});

    auto relayout = [this] {
        ResetDialog();
        changed_event();
    };
    bind_option_group("InnenAussen", property(&CBorder::RahmenArt, &CBorder::RahmenArt), relayout);
    bind_option_group("RechteckigEllipse", property(&CBorder::InnenrahmenArt, &CBorder::InnenrahmenArt), relayout);
    bind_option_group("RahmenBildverteilung", property(&CBorder::Bildverteilung, &CBorder::Bildverteilung),
                      [this] { changed_event(); });
    bind_check_box(fit, property(&CBorder::FarbePassend, &CBorder::FarbePassend), relayout);
    bind_range_box(width_box, property(&CBorder::Breite, &CBorder::Breite), {1, 9999, "ErrBorderWidth"},
                   [this] { changed_event(); });
    bind_range_box(left, property(&CBorder::OffsetLinks, &CBorder::OffsetLinks), {0, 9999, "ErrBorderOffset"},
                   [this] { changed_event(); });
    bind_range_box(top, property(&CBorder::OffsetOben, &CBorder::OffsetOben), {0, 9999, "ErrBorderOffset"},
                   [this] { changed_event(); });
    bind_range_box(right, property(&CBorder::OffsetRechts, &CBorder::OffsetRechts), {0, 9999, "ErrBorderOffset"},
                   [this] { changed_event(); });
    bind_range_box(bottom, property(&CBorder::OffsetUnten, &CBorder::OffsetUnten), {0, 9999, "ErrBorderOffset"},
                   [this] { changed_event(); });
    bind_colour_button(colour_button, swatch, property(&CBorder::Farbe, &CBorder::Farbe), "BorderBorderColor",
                       [this] { changed_event(); });
    on(opacity, ControlEvent::Change, [this](ControlEventArgs& args) {
        prozentlabel_setzen(args.control, control("Farbedeckkraftprozent"));
        if (border_ != nullptr) border_->deckkraft(args.control.state().value);
        changed_event();
    });
    on(choose, ControlEvent::Click, [this](ControlEventArgs&) { choose_picture(); });

    backdrop_ = schachbrett(vorschau_breite(), vorschau_hoehe());
}

int32_t CRahmen::vorschau_breite() const { return pixels_of(control("RahmenBild").state().place.width); }
int32_t CRahmen::vorschau_hoehe() const { return pixels_of(control("RahmenBild").state().place.height); }

ValueTarget CRahmen::property(int32_t (CBorder::*get)() const, void (CBorder::*set)(int32_t)) {
    return ganzzahl_eigenschaft(&border_, get, set);
}

void CRahmen::InitDialog(CBorder& border) {
    log_line(Name() + " InitDialog START");
    border_ = &border;
    for (int i = 0; i < 4; ++i) flags_[static_cast<size_t>(i)] = (border.Position() & (1 << i)) != 0;
    for (int corner = 0; corner < 4; ++corner)
        flags_[static_cast<size_t>(4 + corner)] = flags_[static_cast<size_t>(kCornerSides[corner][0])] &&
                                                   flags_[static_cast<size_t>(kCornerSides[corner][1])];
    show_flags();
    control("AbstandLinks").state().text = ganzzahl_text(border.OffsetLinks());
    control("AbstandOben").state().text = ganzzahl_text(border.OffsetOben());
    control("AbstandRechts").state().text = ganzzahl_text(border.OffsetRechts());
    control("AbstandUnten").state().text = ganzzahl_text(border.OffsetUnten());
    control("Breite").state().text = ganzzahl_text(border.Breite());
    control("Farbe").state().back_colour = static_cast<uint32_t>(border.Farbe());
    PageControl& opacity = control("Farbedeckkraft");
    opacity.state().value = std::clamp(border.deckkraft(), opacity.state().minimum, opacity.state().maximum);
    prozentlabel_setzen(opacity, control("Farbedeckkraftprozent"));
    control("FarbePassend").state().value = border.FarbePassend() == 1 ? 1 : 0;
    control("RahmenBildname").state().text = border.Bildname();
    for (int i = 0; i < 2; ++i)
        control("RahmenBildverteilung", i).state().value = border.Bildverteilung() == i ? 1 : 0;
    ResetDialog();
    RahmenBildAnzeigen();
    changed_event();
    log_line(Name() + " InitDialog END");
    changed();
}

void CRahmen::InitDialog() {
    if (border_ != nullptr) InitDialog(*border_);
}

void CRahmen::ResetDialog() {
    steuerelemente_aktivieren(*this, root(), true);
    control("FrameOptionen").state().visible = true;
    if (border_ == nullptr) return;
    const int32_t kind = border_->RahmenArt();
    const bool ellipse = border_->InnenrahmenArt() != 0;

    PageControl& shape = control("FrameInnenrahmentyp");
    PageControl& fit = control("FrameFarbePassend");
    PageControl& colour_opacity = control("FrameFarbeDeckkraft");
    PageControl& opacity = control("FrameDeckkraft");
    PageControl& sides_offsets = control("FramePositionAbstand");
    PageControl& offsets = control("FrameAbstand");
    PageControl& picture = control("FrameRahmenbild");
    for (PageControl* frame : {&shape, &fit, &colour_opacity, &sides_offsets, &picture}) frame->state().visible = false;
    control("FramePosition").state().visible = true;
    opacity.state().visible = true;
    offsets.state().visible = true;

    std::vector<PageControl*> stacked;
    switch (kind) {
        case 0:
            shape.state().visible = true;
            stacked.push_back(&colour_opacity);
            if (!ellipse) stacked.push_back(&sides_offsets);
            for (int i = 0; i < 2; ++i)
                control("RechteckigEllipse", i).state().value = border_->InnenrahmenArt() == i ? 1 : 0;
            break;
        case 1:
            stacked.push_back(&fit);
            if (border_->FarbePassend() != 1) {
                stacked.push_back(&colour_opacity);
                opacity.state().visible = false;
            }
            stacked.push_back(&sides_offsets);
            offsets.state().visible = false;
            break;
        case 2: {
            stacked.push_back(&picture);
            stacked.push_back(&sides_offsets);
            offsets.state().visible = false;
            PageControl& name = control("RahmenBildname");
            name.state().back_colour = border_->Bildname().empty() ? kSystemWindow
                                       : border_->ErrNumber() == 0 ? kLightGreen
                                                                   : kLightRed;
            break;
        }
        default:
            break;
    }
    // Each placed frame goes below the one before it, the first below the width.
    const TwipRect& width = control("FrameBreite").state().place;
    double top = width.top + width.height;
    for (PageControl* frame : stacked) {
        frame->state().visible = true;
        frame->state().place.left = width.left;
        frame->state().place.top = top;
        top += frame->state().place.height;
    }
    for (int i = 0; i < 3; ++i) control("InnenAussen", i).state().value = kind == i ? 1 : 0;
}

void CRahmen::show_flags() {
    for (int i = 0; i < 8; ++i) control("Position", i).state().back_colour = flags_[static_cast<size_t>(i)] ? kCellOn : kCellOff;
}

void CRahmen::position_clicked(int box) {
    if (border_ == nullptr) return;
    auto& f = flags_;
    f[static_cast<size_t>(box)] = !f[static_cast<size_t>(box)];
    if (box >= 4) {
        for (int side : kCornerSides[box - 4]) f[static_cast<size_t>(side)] = f[static_cast<size_t>(box)];
    }
    for (int corner = 0; corner < 4; ++corner) {
        const bool a = f[static_cast<size_t>(kCornerSides[corner][0])];
        const bool b = f[static_cast<size_t>(kCornerSides[corner][1])];
        f[static_cast<size_t>(4 + corner)] = a == b && a;
    }
    int32_t mask = 0;
    for (int side = 0; side < 4; ++side)
        if (f[static_cast<size_t>(side)]) mask += 1 << side;
    border_->Position(mask);
    show_flags();
    ResetDialog();
    changed_event();
}

void CRahmen::choose_picture() {
    if (border_ == nullptr) return;
    PageControl& name = control("RahmenBildname");
    const std::string path =
        dialog_port().ShowFileDialog(false, bilddatei_filter(text_of("BorderImageSupportedImageTypes")),
                                     name.state().text, "", text_of("BorderImageSelectImage"), kFileMustExist);
    if (!path.empty()) {
        border_->Bildname(path);
        name.state().text = path;
    }
    ResetDialog();
    RahmenBildAnzeigen();
    changed_event();
}

void CRahmen::RahmenBildAnzeigen() {
    if (border_ == nullptr) return;
    preview_.release();
    const PictureBuffer& picture = border_->pRGB();
    if (picture.empty()) return;
    const int32_t w = vorschau_breite();
    const int32_t h = vorschau_hoehe();
    bildvorschau(backdrop_, picture, einpassen(w, h, picture.width(), picture.height()), 100, 0, 0, 0, preview_);
}

}  // namespace galvora
