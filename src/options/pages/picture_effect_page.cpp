#include "options/pages/picture_effect_page.h"

#include <array>
#include <cmath>
#include <numbers>

#include "foundation/dialog_helpers.h"
#include "foundation/log.h"
#include "image/picture/scale_factor.h"
#include "options/pages/effect_editor_support.h"

namespace galvora {

namespace {

using K = PageControlKind;

constexpr double kWidth = 6480;
constexpr double kChooserHeight = 720;
constexpr double kFrameHeight = 4800;
constexpr double kRow = 780;

// The value label over a slider follows its thumb.
void wertlabel_positionieren(const PageControl& slider, PageControl& label) {
    const ControlState& s = slider.state();
    const double range = static_cast<double>(s.maximum) - s.minimum;
    const double along = range > 0 ? (s.place.width - 240.0) / range * (s.value - s.minimum) : 0.0;
    label.state().place.left = s.place.left + 140.0 + along - label.state().place.width / 2.0;
}

}  // namespace

CBildEffekte::CBildEffekte() : OptionPage("CBildEffekte", kWidth, kChooserHeight + kFrameHeight) {
    PageControl& chooser_frame = add(K::Frame, "FrameEffektart", "", "", {0, 0, kWidth, kChooserHeight - 60});
    PageControl& chooser = add(K::ComboBox, "BildeffektartCombo", "", "", {180, 270, 3600, 315}, &chooser_frame);

    add_kind(0, "EffectSharpen", "Schärfen");
    add_kind(1, "EffectGamma", "Gammakorrektur");
    add_kind(2, "EffectBrightnessContrast", "Helligkeit / Kontrast");
    add_kind(3, "EffectBlur", "Verwischen");
    add_kind(4, "EffectSaturation", "Farbsättigung");
    add_kind(5, "EffectUnsharpMask", "Unscharf maskieren");
    add_kind(11, "EffectGrayscale", "Graustufen");
    add_kind(12, "EffectMosaic", "Mosaik");
    add_kind(13, "EffectRotate", "Drehen");
    add_kind(14, "EffectFlip", "Spiegeln");
    add_kind(15, "EffectShadow", "Schatten");
    add_kind(16, "EffectNoise", "Rauschen");
    add_kind(17, "EffectInvert", "Negativ");
    add_kind(18, "EffectSolarize", "Solarisieren");
    add_kind(19, "EffectPosterize", "Poster");
    add_kind(20, "EffectOilpainting", "Ölfarbe");
    add_kind(21, "EffectWatercolor", "Wasserfarbe");
    add_kind(22, "EffectEdgeDetect", "Kontur");
    add_kind(23, "EffectDuotone", "Zweiton");
    add_kind(24, "EffectHalftone", "Schwarz-Weiß");
    add_kind(25, "EffectCrackle", "Zerspringen");

    // Kind 0, 1 and 4: one slider each, without captions.
    slider_row(0, 120, nullptr, nullptr, "SchärfelevelSlider", "Schärfelevel", 1, 100, 1, false, 1, 0);
    slider_row(1, 120, nullptr, nullptr, "GammawertSlider", "Gammawert", 1, 200, 1, true, 100, 2);
    slider_row(2, 120, "Brightness", "Helligkeit", "HelligkeitSlider", "Helligkeit", -100, 100, 1, true, 100, 2);
    slider_row(2, 120 + kRow, "Contrast", "Kontrast", "KontrastSlider", "Kontrast", -100, 100, 2, true, 100, 2);
    slider_row(3, 120, "BlurSize", "Filtergröße", "VerwischenFiltergrößeSlider", "VerwischenFiltergrößeWert", 1, 200,
               1, false, 1, 0);
    slider_row(3, 120 + kRow, "BlurIntensity", "Filterintensität", "VerwischenFilterintensitätSlider",
               "VerwischenFilterintensitätWert", 0, 100, 1, true, 100, 2);
    slider_row(4, 120, nullptr, nullptr, "SättigungSlider", "Sättigung", 1, 100, 1, true, 10, 1);
    slider_row(5, 120, "UnsharpMaskAmount", "Stärke", "UnschärfemaskeMengeSlider", "UnschärfemaskeMengeWert", 0, 100,
               1, true, 100, 2);
    slider_row(5, 120 + kRow, "UnsharpMaskThreshold", "Schwellenwert", "UnschärfemaskeSchwellenwertSlider",
               "UnschärfemaskeSchwellenwertWert", 0, 255, 1, false, 1, 0);

    // Kind 12: the cell size of the mosaic.
    range_row(12, 240, "Width", "Breite", "Mosaikbreite", 1, 1, 99, "ErrImageeffectMosaicWidth");
    range_row(12, 660, "Height", "Höhe", "Mosaikhöhe", 2, 1, 99, "ErrImageeffectMosaicHeight");

    // Kind 13: a quarter turn either way or a half turn, each with its picture.
    {
        PageControl& frame = frame_of(13);
        for (int i = 0; i < 3; ++i) {
            const double left = 180 + i * 1500;
            add(K::OptionButton, "Drehwinkel", "", "", {left, 510, 255, 255}, &frame, i);
            PageControl& image = add(K::PictureBox, "DrehwinkelImage", "", "", {left + 300, 180, 900, 900}, &frame, i);
            image.state().picture = "glyph:rotate" + std::to_string(i);
            on(image, ControlEvent::Click, [this, i](ControlEventArgs&) { set_value(control("Drehwinkel", i), 1); });
        }
        bind_option_group("Drehwinkel", long_slot(1), [this] { raise(PageEvent::BildEffekteChanged); });
    }

    // Kind 14: horizontally or vertically.
    {
        PageControl& frame = frame_of(14);
        add(K::OptionButton, "Flipart", "horizontally", "horizontal", {180, 240, 3000, 300}, &frame, 1);
        add(K::OptionButton, "Flipart", "vertically", "vertikal", {180, 600, 3000, 300}, &frame, 2);
        bind_option_group("Flipart", long_slot(1), [this] { raise(PageEvent::BildEffekteChanged); });
    }

    // Kind 15: the drop shadow.
    {
        PageControl& frame = frame_of(15);
        range_row(15, 120, "Offset", "Offset", "SchattenOffset", 1, 0, 9999, "ErrImageeffectShadowOffset");
        add(K::Label, "Label", "Angle", "Schattenrichtung", {4020, 120, 2340, 255}, &frame, labels_++);
        // Eight buttons on a circle, the index being the compass angle.
        const double cx = 4920;
        const double cy = 1140;
        const double r = 600;
        for (int angle = 0; angle < 360; angle += 45) {
            const double a = angle * std::numbers::pi / 180.0;
            add(K::OptionButton, "Schattenrichtung", "", "",
                {std::round(cx + r * std::sin(a) - 120), std::round(cy - r * std::cos(a) - 120), 255, 255}, &frame,
                angle);
        }
        bind_option_group("Schattenrichtung", long_slot(2), [this] { raise(PageEvent::BildEffekteChanged); });
        colour_row(15, 600, "BackgroundColor", "Hintergrundfarbe", "Hintergrundfarbe", "HintergrundfarbeButton", 3,
                   "EffectBackgroundColor");
        colour_row(15, 1020, "ShadowColor", "Schattenfarbe", "Schattenfarbe", "SchattenfarbeButton", 5,
                   "EffectShadowColor");
        PageControl& fit = add(K::CheckBox, "SchattenfarbePassend", "ShadowcolorFit", "zum Bild passend",
                               {1620, 1380, 2300, 300}, &frame);
        on(fit, ControlEvent::Click, [this](ControlEventArgs& args) {
            const bool on = args.control.state().value == 1;
            control("Schattenfarbe").state().visible = !on;
            control("SchattenfarbeButton").state().visible = !on;
            long_slot(4).write(checkbox_text(args.control.state().value));
            raise(PageEvent::BildEffekteChanged);
        });
        slider_row(15, 1860, "Diffusion", "Diffusion", "SchattenDiffusionSlider", "SchattenDiffusionWert", 1, 100, 6,
                   false, 1, 0);
    }

    // Kind 16: noise.
    {
        PageControl& frame = frame_of(16);
        range_row(16, 240, "Value", "Wert", "Rauschwert", 1, 1, 4000000, "ErrImageeffectNoiseValue");
        control("Rauschwert").state().place.width = 1200;
        PageControl& mono =
            add(K::CheckBox, "RauschMonochromatisch", "Monochromatic", "Monochromatisch", {180, 720, 3000, 300}, &frame);
        bind_check_box(mono, long_slot(2), [this] { raise(PageEvent::BildEffekteChanged); });
    }

    slider_row(20, 120, "BrushSize", "Pinselbreite", "ÖlbildPinselbreiteSlider", "ÖlbildPinselbreiteWert", 1, 12, 1,
               false, 1, 0);

    // Kind 21: watercolour.
    {
        PageControl& frame = frame_of(21);
        slider_row(21, 120, "blur", "Verwischen", "WasserfarbeBlurSlider", "WasserfarbeBlurWert", 1, 100, 1, true, 100,
                   2);
        PageControl& contrast = add(K::CheckBox, "WasserfarbeKontrast", "IncreaseContrast", "Kontrast verstärken",
                                    {180, 1020, 4000, 300}, &frame);
        PageControl& lighten =
            add(K::CheckBox, "WasserfarbeAufhellen", "lighten", "Aufhellen", {180, 1380, 4000, 300}, &frame);
        bind_check_box(contrast, long_slot(1), [this] { raise(PageEvent::BildEffekteChanged); });
        bind_check_box(lighten, long_slot(2), [this] { raise(PageEvent::BildEffekteChanged); });
    }

    slider_row(22, 120, "Sigma", "Sigma", "KonturSigmaSlider", "KonturSigmaWert", 0, 200, 1, true, 100, 2);
    slider_row(22, 120 + kRow, "LowValue", "unten", "KonturUntenSlider", "KonturUntenWert", 0, 100, 2, true, 100, 2);
    slider_row(22, 120 + 2 * kRow, "HighValue", "oben", "KonturObenSlider", "KonturObenWert", 0, 100, 3, true, 100, 2);

    colour_row(23, 240, "DuotoneColor", "Farbe", "DuotoneFarbe", "DuotoneFarbeButton", 1, "EffectDuotoneColor");

    range_row(24, 240, "Width", "Breite", "HalftonePixelbreite", 1, 1, 99, "ErrImageeffectHalftoneWidth");

    slider_row(25, 120, "Mode", "Modus", "CrackleModeSlider", "CrackleModeWert", 0, 4, 1, false, 1, 0);
    slider_row(25, 120 + kRow, "Depth", "Kantenschärfe", "CrackleDepthSlider", "CrackleDepthWert", 0, 100, 2, false, 1,
               0);

    declare_events({PageEvent::BildEffekteChanged});

    on(chooser, ControlEvent::Click, [this](ControlEventArgs&) { kind_chosen(); });
    on(chooser, ControlEvent::GotFocus, [this](ControlEventArgs& args) { request(args.control, ViewRequest::DropDown); });
    for (const SliderSlot& slot : sliders_) {
        const SliderSlot copy = slot;
        on(*slot.slider, ControlEvent::Change, [this, copy](ControlEventArgs&) { slider_moved(copy); });
    }
    // Every parameter frame lies on the same spot below the chooser, hidden
    // until its kind is shown.
    for (const Kind& kind : kinds_)
        if (kind.frame != nullptr) kind.frame->state().visible = false;
}

void CBildEffekte::add_kind(int32_t kind, const char* key, const char* german) {
    PageControl* frame = nullptr;
    if (kind != 11 && (kind < 17 || kind > 19)) {
        frame = &add(K::PictureBox, "FrameEffekt", "", "", {0, kChooserHeight, kWidth, kFrameHeight}, nullptr, kind);
    }
    kinds_.push_back({kind, key, german, frame});
    control("BildeffektartCombo").state().items.push_back({"", key, ""});
}

PageControl& CBildEffekte::frame_of(int32_t kind) { return control("FrameEffekt", kind); }

ValueTarget CBildEffekte::long_slot(int slot) {
    return ValueTarget::property(
        [this, slot] { return effect_ != nullptr ? ganzzahl_text(effect_->LongArray(slot)) : std::string(); },
        [this, slot](const std::string& value) {
            if (effect_ != nullptr) effect_->LongArray(slot, ganzzahl_aus_text(value));
        });
}

PageControl& CBildEffekte::slider_row(int32_t kind, double top, const char* caption_tag, const char* caption,
                                      const char* slider, const char* label, int32_t minimum, int32_t maximum, int slot,
                                      bool is_double, double divisor, int decimals) {
    PageControl& frame = frame_of(kind);
    if (caption_tag != nullptr)
        add(K::Label, "Label", caption_tag, caption, {180, top + 330, 1560, 255}, &frame, labels_++);
    PageControl& s = add(K::Slider, slider, "", "", {1800, top + 240, 4200, 420}, &frame);
    s.state().minimum = minimum;
    s.state().maximum = maximum;
    PageControl& l = add(K::Label, label, "", "", {1800, top, 690, 240}, &frame);
    l.state().alignment = 2;
    // The diffusion is shown as a percentage (prozentlabel_setzen), the others
    // by the value label rule.
    const bool percent = std::string_view(slider) == "SchattenDiffusionSlider";
    sliders_.push_back({&s, percent ? nullptr : &l, kind, slot, is_double, divisor, decimals});
    return s;
}

PageControl& CBildEffekte::range_row(int32_t kind, double top, const char* caption_tag, const char* caption,
                                     const char* box, int slot, int32_t minimum, int32_t maximum, const char* key) {
    PageControl& frame = frame_of(kind);
    add(K::Label, "Label", caption_tag, caption, {180, top + 30, 1560, 255}, &frame, labels_++);
    PageControl& b = add(K::TextBox, box, "", "", {1800, top, 720, 285}, &frame);
    // The noise value is a count, every other box a size in pixels.
    if (kind != 16) add(K::Label, "Label", "Pixel", "Pixel", {2580, top + 30, 900, 255}, &frame, labels_++);
    bind_range_box(b, long_slot(slot), {minimum, maximum, key}, [this] { raise(PageEvent::BildEffekteChanged); });
    return b;
}

void CBildEffekte::colour_row(int32_t kind, double top, const char* caption_tag, const char* caption,
                              const char* field, const char* button, int slot, const char* title_key) {
    PageControl& frame = frame_of(kind);
    add(K::Label, "Label", caption_tag, caption, {180, top + 30, 1560, 255}, &frame, labels_++);
    PageControl& f = add(K::PictureBox, field, "", "", {1800, top, 690, 285}, &frame);
    PageControl& b = add(K::Button, button, "", "...", {2565, top, 375, 285}, &frame);
    bind_colour_button(b, f, long_slot(slot), title_key, [this] { raise(PageEvent::BildEffekteChanged); });
}

void CBildEffekte::language_texts() {
    auto& items = control("BildeffektartCombo").state().items;
    for (size_t i = 0; i < kinds_.size(); ++i) items[i].text = text_of(kinds_[i].key);
}

void CBildEffekte::InitDialog(CBildEffekt& effect) {
    log_line(Name() + " InitDialog START");
    effect_ = &effect;
    initialising_ = true;
    PageControl& chooser = control("BildeffektartCombo");
    bool found = false;
    for (size_t i = 0; i < kinds_.size(); ++i) {
        if (kinds_[i].kind != effect.Bildeffektart()) continue;
        chooser.state().value = static_cast<int32_t>(i);
        kind_chosen();
        found = true;
        break;
    }
    if (!found) {
        // A kind the chooser does not offer: no kind chosen and no
        // parameters, but bound to this effect, not showing the last one.
        chooser.state().value = -1;
        ResetDialog();
        raise(PageEvent::BildEffekteChanged);
    }
    initialising_ = false;
    log_line(Name() + " InitDialog END");
    changed();
}

void CBildEffekte::InitDialog() {
    if (effect_ != nullptr) InitDialog(*effect_);
}

void CBildEffekte::kind_chosen() {
    const int32_t position = control("BildeffektartCombo").state().value;
    if (!initialising_ && effect_ != nullptr && position >= 0 && position < static_cast<int32_t>(kinds_.size())) {
        const int32_t kind = kinds_[static_cast<size_t>(position)].kind;
        std::array<int32_t, 11> longs{};
        std::array<double, 11> doubles{};
        for (int i = 0; i <= 10; ++i) {
            longs[static_cast<size_t>(i)] = effect_->LongArray(i);
            doubles[static_cast<size_t>(i)] = effect_->DoubleArray(i);
        }
        effect_->Bildeffektart(kind);
        effect_->ResetToBildeffekt(effect_->Bildeffektart());
        // Restoring the defaults of the kind already set is an edit as well.
        for (int i = 0; i <= 10; ++i)
            if (longs[static_cast<size_t>(i)] != effect_->LongArray(i) ||
                doubles[static_cast<size_t>(i)] != effect_->DoubleArray(i))
                effect_->verändert(true);
    }
    ResetDialog();
    raise(PageEvent::BildEffekteChanged);
}

void CBildEffekte::ResetDialog() {
    steuerelemente_aktivieren(*this, root(), true);
    for (const Kind& kind : kinds_)
        if (kind.frame != nullptr) kind.frame->state().visible = false;
    if (effect_ == nullptr) return;
    const int32_t kind = effect_->Bildeffektart();
    const CBildEffekt& e = *effect_;
    for (const SliderSlot& slot : sliders_) {
        if (slot.kind != kind) continue;
        ControlState& s = slot.slider->state();
        const int32_t position = slot.is_double ? round_half_even(e.DoubleArray(slot.slot) * slot.divisor)
                                                : e.LongArray(slot.slot);
        s.value = std::clamp(position, s.minimum, s.maximum);
        show_value_label(slot);
    }
    auto text = [&](const char* box, int slot) { control(box).state().text = ganzzahl_text(e.LongArray(slot)); };
    auto colour = [&](const char* field, int slot) {
        control(field).state().back_colour = static_cast<uint32_t>(e.LongArray(slot));
    };
    auto check = [&](const char* box, int slot) { control(box).state().value = e.LongArray(slot) == 1 ? 1 : 0; };
    auto option = [&](const char* name, int slot) {
        for (const auto& c : all_controls())
            if (c->name() == name) c->state().value = c->index() == e.LongArray(slot) ? 1 : 0;
    };
    switch (kind) {
        case 12:
            text("Mosaikbreite", 1);
            text("Mosaikhöhe", 2);
            break;
        case 13:
            option("Drehwinkel", 1);
            break;
        case 14:
            option("Flipart", 1);
            break;
        case 15: {
            text("SchattenOffset", 1);
            option("Schattenrichtung", 2);
            colour("Hintergrundfarbe", 3);
            check("SchattenfarbePassend", 4);
            colour("Schattenfarbe", 5);
            const bool fitted = e.LongArray(4) == 1;
            control("Schattenfarbe").state().visible = !fitted;
            control("SchattenfarbeButton").state().visible = !fitted;
            break;
        }
        case 16:
            text("Rauschwert", 1);
            check("RauschMonochromatisch", 2);
            break;
        case 21:
            check("WasserfarbeKontrast", 1);
            check("WasserfarbeAufhellen", 2);
            break;
        case 23:
            colour("DuotoneFarbe", 1);
            break;
        case 24:
            text("HalftonePixelbreite", 1);
            break;
        default:
            break;
    }
    if (kind >= 0 && kind <= 25) {
        if (PageControl* frame = find("FrameEffekt", kind)) frame->state().visible = true;
    }
}

void CBildEffekte::slider_moved(const SliderSlot& slot) {
    if (effect_ == nullptr) return;
    const int32_t position = slot.slider->state().value;
    if (slot.is_double) {
        effect_->DoubleArray(slot.slot, position / slot.divisor);
    } else {
        effect_->LongArray(slot.slot, position);
    }
    show_value_label(slot);
    raise(PageEvent::BildEffekteChanged);
}

void CBildEffekte::show_value_label(const SliderSlot& slot) {
    if (slot.label == nullptr) {
        prozentlabel_setzen(*slot.slider, control("SchattenDiffusionWert"));
        return;
    }
    const double stored =
        slot.is_double ? effect_->DoubleArray(slot.slot) : static_cast<double>(effect_->LongArray(slot.slot));
    slot.label->state().caption = zahl_text(stored, slot.decimals);
    wertlabel_positionieren(*slot.slider, *slot.label);
}

}  // namespace galvora
