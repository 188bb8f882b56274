#include "options/pages/clone_effects_page.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>
#include <vector>

#include "foundation/dialog_helpers.h"
#include "foundation/log.h"
#include "foundation/ole_date.h"
#include "foundation/registry.h"
#include "foundation/string_helpers.h"
#include "generation/script_glue.h"
#include "image/image_file_record.h"
#include "image/imaging_error.h"
#include "image/picture/scale_factor.h"
#include "image/picture/script_hooks.h"
#include "image/picture/zn_image.h"
#include "image/resize_image.h"
#include "options/pages/effect_editor_support.h"
#include "options/sample_pictures.h"
#include "profile/border.h"
#include "profile/image_stamp.h"
#include "profile/picture_effect.h"
#include "profile/profile_lists.h"
#include "profile/profile_script.h"
#include "profile/text_stamp.h"
#include "script/compiler.h"
#include "script/engine.h"
#include "script/side_run.h"

namespace galvora {

namespace {

using K = PageControlKind;

constexpr double kWidth = 8910;
constexpr double kEditorTop = 600;
constexpr double kEditorWidth = 6480;
constexpr double kEditorHeight = 6300;
constexpr double kPreviewSize = 2190;

// The four kinds in the order of the New menu.
struct KindInfo {
    CCloneEffekt::Art art;
    const char* editor;  // control name of the nested editor
    const char* image;   // image key in the chooser and the list
    const char* menu;    // menu entry
    const char* key;     // language key of the menu caption and a new effect's description
    const char* german;
};
constexpr KindInfo kKinds[] = {
    {CCloneEffekt::Art::TextStamp, "CTextStempel1", "Text", "pEffektMenüTextstempel", "Textstamp", "Textstempel"},
    {CCloneEffekt::Art::ImageStamp, "CBildStempel1", "Image", "pEffektMenüBildstempel", "Imagestamp", "Bildstempel"},
    {CCloneEffekt::Art::Border, "CRahmen1", "Border", "pEffektMenüRahmen", "Border", "Rahmen"},
    {CCloneEffekt::Art::BildEffekt, "CBildEffekte1", "Effekt", "pEffektMenüBildeffekt", "Imageeffect", "Bildeffekt"},
};

const KindInfo& info_of(CCloneEffekt::Art art) {
    for (const KindInfo& info : kKinds)
        if (info.art == art) return info;
    return kKinds[0];
}

// The options dialog's sample picture, as the preview captures it.
class SampleBox : public PictureBoxPort {
public:
    float scale_width() const override { return static_cast<float>(sample().width()); }
    float scale_height() const override { return static_cast<float>(sample().height()); }
    void clear() override {}
    bool draw_rgb(const PictureBuffer&, int32_t, int32_t, int32_t, int32_t) override { return false; }
    void copy_content(PictureBuffer& target) const override {
        const PictureBuffer& source = sample();
        const int32_t width = std::min(source.width(), target.width());
        const int32_t height = std::min(source.height(), target.height());
        for (int32_t y = 0; y < height; ++y)
            std::memcpy(target.row(y), source.row(y), static_cast<size_t>(width) * 3);
    }

private:
    static const PictureBuffer& sample() {
        static const PictureBuffer picture = beispielbild();
        return picture;
    }
};

}  // namespace

CClonenEffekte::CClonenEffekte()
    : OptionPage("CClonenEffekte", kWidth, kEditorTop + kEditorHeight),
      text_(std::make_unique<CTextStempel>()),
      image_(std::make_unique<CBildStempel>()),
      border_(std::make_unique<CRahmen>()),
      effect_(std::make_unique<CBildEffekte>()) {
    initialising_ = true;
    PageControl& all = add(K::PictureBox, "FrameGesamt", "", "", {0, 0, kWidth, kEditorTop + kEditorHeight});
    PageControl& chooser = add(K::ComboBox, "ComboCloneEffekte", "", "", {120, 120, 5640, 315}, &all);
    PageControl& edit = add(K::Button, "Edit", "", "...", {5880, 105, 480, 345}, &all);

    PageControl& list_frame =
        add(K::PictureBox, "FrameEffektEdit", "", "", {0, kEditorTop, kEditorWidth, kEditorHeight}, &all);
    PageControl& list = add(K::ListBox, "ListViewCloneEffekte", "", "", {120, 0, 4560, 5160}, &list_frame);
    list.state().caption = "Beschreibung";
    PageControl& add_button = add(K::Button, "Neu", "New", "Hinzufügen ...", {4800, 0, 1560, 375}, &list_frame);
    PageControl& delete_button = add(K::Button, "Löschen", "Delete", "Löschen", {4800, 465, 1560, 375}, &list_frame);
    PageControl& up = add(K::Button, "nachOben", "Up", "nach oben", {4800, 1200, 1560, 375}, &list_frame);
    PageControl& down = add(K::Button, "nachUnten", "Down", "nach unten", {4800, 1665, 1560, 375}, &list_frame);
    PageControl& choose = add(K::Button, "Auswählen", "OK", "Ok", {120 + (4560 - 1200) / 2.0, 5340, 1200, 375}, &list_frame);

    PageControl& sample = add(K::PictureBox, "BeispielImage", "", "", {6600, 120, kPreviewSize, kPreviewSize}, &all);
    sample.state().back_colour = kSysButtonFace;
    PageControl& show_all =
        add(K::CheckBox, "AlleZeigen", "ShowAll", "Alle Effekte zeigen", {6600, 2400, kPreviewSize, 300}, &all);

    for (const KindInfo& info : kKinds)
        add(K::Custom, info.editor, "", "", {0, kEditorTop, kEditorWidth, kEditorHeight}, &all);
    PageControl& menu = add(K::Custom, "pEffektMenü", "", "Effektliste", {0, 0, 0, 0}, &all);
    menu.state().visible = false;
    for (const KindInfo& info : kKinds) menu.state().items.push_back({info.german, info.menu, info.image});

    // The editors lie over the list editor's area; all hidden at first.
    list_frame.state().visible = false;
    for (const KindInfo& info : kKinds) control(info.editor).state().visible = false;

    for (OptionPage* page : {static_cast<OptionPage*>(text_.get()), static_cast<OptionPage*>(image_.get()),
                             static_cast<OptionPage*>(border_.get()), static_cast<OptionPage*>(effect_.get())}) {
        page->set_listener([this] { changed(); });
    }
    text_->connect(PageEvent::TextStampChanged, [this] { ZeichneVorschau(); });
    image_->connect(PageEvent::ImageStampChanged, [this] { ZeichneVorschau(); });
    border_->connect(PageEvent::BorderChanged, [this] { ZeichneVorschau(); });
    effect_->connect(PageEvent::BildEffekteChanged, [this] { ZeichneVorschau(); });

    on(chooser, ControlEvent::GotFocus, [this](ControlEventArgs& args) { request(args.control, ViewRequest::DropDown); });
    on(chooser, ControlEvent::Click, [this](ControlEventArgs& args) {
        if (args.control.state().value < 0) return;
        position_ = args.control.state().value + 1;
        ZeigeEffekt();
    });
    on(edit, ControlEvent::Click, [this](ControlEventArgs&) {
        control("ComboCloneEffekte").state().enabled = false;
        control("Edit").state().visible = false;
        FuelleEffektListe();
        SetzeListenStatus();
        for (const KindInfo& info : kKinds) control(info.editor).state().visible = false;
        control("FrameEffektEdit").state().visible = true;
        if (WorkingCloneEffects().count() > 0) request(control("ListViewCloneEffekte"), ViewRequest::Focus);
    });
    on(list, ControlEvent::Click, [this](ControlEventArgs& args) {
        const int32_t row = args.control.state().value;
        if (row >= 0 && row < WorkingCloneEffects().count()) position_ = row + 1;
    });
    on(list, ControlEvent::DblClick, [this](ControlEventArgs& args) {
        const int32_t row = args.control.state().value;
        if (row >= 0 && row < WorkingCloneEffects().count()) position_ = row + 1;
        FuelleEffektCombo();
        if (position_ > 0) control("ComboCloneEffekte").state().value = static_cast<int32_t>(position_ - 1);
        ZeigeEffekt();
    });
    on(list, ControlEvent::KeyUp, [this](ControlEventArgs& args) {
        if (args.key == kKeyF2 && args.control.state().value >= 0) request(args.control, ViewRequest::EditLabel);
    });
    on(add_button, ControlEvent::Click, [this](ControlEventArgs&) {
        request(control("pEffektMenü"), ViewRequest::PopupMenu);
    });
    on(menu, ControlEvent::Click, [this](ControlEventArgs& args) { new_effect(args.control.state().value); });
    on(delete_button, ControlEvent::Click, [this](ControlEventArgs&) { delete_effect(); });
    on(up, ControlEvent::Click, [this](ControlEventArgs&) { move(-1); });
    on(down, ControlEvent::Click, [this](ControlEventArgs&) { move(1); });
    on(choose, ControlEvent::Click, [this](ControlEventArgs&) {
        FuelleEffektCombo();
        if (position_ > 0) control("ComboCloneEffekte").state().value = static_cast<int32_t>(position_ - 1);
        ZeigeEffekt();
    });
    on(show_all, ControlEvent::Click, [this](ControlEventArgs& args) {
        registry_schreiben("LastSession", "showallcloneeffects", std::to_string(args.control.state().value));
        ZeichneVorschau();
    });

    // The box's state from the last session; a value it cannot take shows ticked.
    const std::optional<int16_t> stored = entry_as_int16(registry_lesen("LastSession", "showallcloneeffects", "1"));
    show_all.state().value = stored && *stored >= 0 && *stored <= 2 ? *stored : 1;
    initialising_ = false;
}

CClonenEffekte::~CClonenEffekte() = default;

OptionPage* CClonenEffekte::editor(std::string_view name) const {
    if (name == "CTextStempel1") return text_.get();
    if (name == "CBildStempel1") return image_.get();
    if (name == "CRahmen1") return border_.get();
    if (name == "CBildEffekte1") return effect_.get();
    return nullptr;
}

int32_t CClonenEffekte::vorschau_breite() const { return pixels_of(control("BeispielImage").state().place.width); }
int32_t CClonenEffekte::vorschau_hoehe() const { return pixels_of(control("BeispielImage").state().place.height); }

PictureBoxPort& CClonenEffekte::beispielbild_box() {
    static SampleBox box;
    return box;
}

PictureBuffer CClonenEffekte::beispiel_aufnehmen(int32_t width, int32_t height) {
    ZNImage image;
    image.ImageFile(std::make_shared<ZNImageFile>());
    image.usePicturebox(beispielbild_box(), width, height);
    return image.CloneRGB().copy();
}

void CClonenEffekte::language_texts() {
    text_->InitLanguage();
    image_->InitLanguage();
    border_->InitLanguage();
    effect_->InitLanguage();
    auto& entries = control("pEffektMenü").state().items;
    for (size_t i = 0; i < entries.size(); ++i) entries[i].text = text_of(kKinds[i].key);
    control("ListViewCloneEffekte").state().caption = text_of("Description");
}

void CClonenEffekte::InitDialog() {
    log_line(Name() + " InitDialog START");
    control("BeispielImage").state().back_colour = kSysButtonFace;
    position_ = 0;
    FuelleEffektCombo();
    if (WorkingCloneEffects().count() > 0) {
        position_ = 1;
        control("ComboCloneEffekte").state().value = 0;
    }
    ZeigeEffekt();
    log_line(Name() + " InitDialog END");
    changed();
}

namespace {

// One item per effect in list order: its description and its kind's picture.
std::vector<ListItem> effect_items() {
    std::vector<ListItem> items;
    for (const auto& effect : WorkingCloneEffects())
        items.push_back({effect->Description(), "", info_of(effect->art()).image});
    return items;
}

}  // namespace

void CClonenEffekte::FuelleEffektCombo() {
    ControlState& combo = control("ComboCloneEffekte").state();
    combo.items = effect_items();
    combo.text.clear();
    combo.value = -1;
}

void CClonenEffekte::FuelleEffektListe() {
    ControlState& list = control("ListViewCloneEffekte").state();
    list.items = effect_items();
    list.value = -1;
}

void CClonenEffekte::ZeigeEffekt() {
    initialising_ = true;
    control("FrameEffektEdit").state().visible = false;
    for (const KindInfo& info : kKinds) control(info.editor).state().visible = false;
    current_ = position_ >= 1 ? WorkingCloneEffects().item(position_) : nullptr;
    if (current_) {
        switch (current_->art()) {
            case CCloneEffekt::Art::TextStamp:
                text_->InitDialog(static_cast<CTextStamp&>(*current_));
                break;
            case CCloneEffekt::Art::ImageStamp:
                image_->InitDialog(static_cast<CImageStamp&>(*current_));
                break;
            case CCloneEffekt::Art::Border:
                border_->InitDialog(static_cast<CBorder&>(*current_));
                break;
            case CCloneEffekt::Art::BildEffekt:
                effect_->InitDialog(static_cast<CBildEffekt&>(*current_));
                break;
        }
        control(info_of(current_->art()).editor).state().visible = true;
    }
    ResetDialog();
    initialising_ = false;
    ZeichneVorschau();
}

void CClonenEffekte::ResetDialog() {
    if (!current_) {
        steuerelemente_aktivieren(*this, root(), false);
        control("FrameGesamt").state().enabled = true;
        control("Edit").state().enabled = true;
    } else {
        steuerelemente_aktivieren(*this, root(), true);
    }
    control("Edit").state().visible = true;
}

void CClonenEffekte::SetzeListenStatus() {
    PageControl& frame = control("FrameEffektEdit");
    // The menu pops up from the add button and goes with it: the page
    // disabled it with everything else while no effect was shown, and an
    // empty list must still be added to.
    control("pEffektMenü").state().enabled = true;
    if (WorkingCloneEffects().count() < 1) {
        steuerelemente_aktivieren(*this, frame, false);
        frame.state().enabled = true;
        control("Neu").state().enabled = true;
        control("Auswählen").state().enabled = true;
    } else {
        steuerelemente_aktivieren(*this, frame, true);
        select_row();
    }
}

void CClonenEffekte::select_row() {
    control("ListViewCloneEffekte").state().value = position_ > 0 ? static_cast<int32_t>(position_ - 1) : -1;
}

void CClonenEffekte::user_label_edit(int32_t row, const std::string& text) {
    ControlState& list = control("ListViewCloneEffekte").state();
    if (row < 0 || row >= static_cast<int32_t>(list.items.size())) return;
    if (auto effect = WorkingCloneEffects().item(row + 1)) {
        effect->Description(text);
        list.items[static_cast<size_t>(row)].text = text;
    }
    changed();
}

void CClonenEffekte::new_effect(int kind) {
    if (kind < 0 || kind >= static_cast<int>(std::size(kKinds))) return;
    std::shared_ptr<CCloneEffekt> effect;
    switch (kKinds[kind].art) {
        case CCloneEffekt::Art::TextStamp:
            effect = std::make_shared<CTextStamp>();
            break;
        case CCloneEffekt::Art::ImageStamp:
            effect = std::make_shared<CImageStamp>();
            break;
        case CCloneEffekt::Art::Border:
            effect = std::make_shared<CBorder>();
            break;
        case CCloneEffekt::Art::BildEffekt:
            effect = std::make_shared<CBildEffekt>();
            break;
    }
    effect->Description(text_of(kKinds[kind].key));
    WorkingCloneEffects().add(effect);
    control("ListViewCloneEffekte").state().items.push_back({effect->Description(), "", kKinds[kind].image});
    position_ = WorkingCloneEffects().count();
    select_row();
    SetzeListenStatus();
}

void CClonenEffekte::delete_effect() {
    if (position_ <= 0) return;
    CCloneEffekte& effects = WorkingCloneEffects();
    const std::shared_ptr<CCloneEffekt> removed = effects.item(position_);
    effects.remove(position_);
    auto& rows = control("ListViewCloneEffekte").state().items;
    if (position_ - 1 < static_cast<long>(rows.size())) rows.erase(rows.begin() + (position_ - 1));
    if (position_ > effects.count()) position_ = effects.count();
    select_row();
    SetzeListenStatus();
    // What is gone from the list is gone from the preview too.
    if (removed && removed == current_) current_ = nullptr;
    ZeichneVorschau();
}

void CClonenEffekte::move(int direction) {
    CCloneEffekte& effects = WorkingCloneEffects();
    if (direction < 0) {
        if (position_ <= 1) return;
        effects.moveup(position_);
        --position_;
    } else {
        if (position_ >= effects.count() || position_ < 1) return;
        effects.movedown(position_);
        ++position_;
    }
    FuelleEffektListe();
    select_row();
    ZeichneVorschau();
}

namespace {

// Instructions a stamp's script may run for the preview: far more than a
// stamp text needs, few enough that an endless loop typed into the text
// box stops at once.
constexpr uint64_t kPreviewInstructions = 1'000'000;

// The stamp texts of a preview as the run makes them: every text stamp of
// the list compiled as a template under the run's name for its position,
// beside the profile's script modules its text may call, and run with the
// sample's picture variables. All of it runs on the side, so the engine is
// as before once the preview is drawn.
class StampTexts {
public:
    // Scripts run only when the preview shows a text stamp.
    StampTexts(const CCloneEffekte& list, const std::vector<std::shared_ptr<CCloneEffekt>>& shown,
               const ZNImageFile& sample)
        : list_(list) {
        for (const auto& effect : shown)
            if (effect->art() == CCloneEffekt::Art::TextStamp) any_ = true;
        if (!any_) return;
        // The engine as a profile load makes it, with its predefined variables.
        if (zns() == nullptr) script_engine_frisch();
        side_.emplace(kPreviewInstructions);
        // Each module compiled afresh, as the run compiles it. One that does
        // not compile leaves its functions out; the run would not start, the
        // preview shows what the others can do.
        ZNSFunktionArray& functions = zns()->fkt_oba;
        for (ZNModule* modules : {&ProfileModules(), &ScriptFileModules()}) {
            for (const auto& module : *modules) {
                functions.lösche_modul(module->Name());
                if (uebersetze(0, 1, module->Name(), module->inhalt()) != 0) functions.lösche_modul(module->Name());
            }
        }
        // A text that does not compile leaves no function, as in the run,
        // where it would not have started: not what it compiled up to its error.
        for (long i = 1; i <= list_.count(); ++i) {
            const auto* stamp = dynamic_cast<const CTextStamp*>(list_.item(i).get());
            if (stamp == nullptr) continue;
            const std::string name = stempeltext_funktion(i);
            if (vorlage_uebersetzen(name, stamp->Text()) != 0) functions.lösche_modul(name);
        }
        set_picture_variables(sample);
    }

    // What the stamp writes; empty, as in the run, when its text did not
    // compile (there is no function to run), when its script fails, or when
    // it is not in the list.
    std::string of(const CCloneEffekt& effect) const {
        if (!any_ || effect.art() != CCloneEffekt::Art::TextStamp) return {};
        for (long i = 1; i <= list_.count(); ++i) {
            if (list_.item(i).get() != &effect) continue;
            try {
                return script_function_output(stempeltext_funktion(i));
            } catch (const std::exception&) {
                return {};
            }
        }
        return {};
    }

private:
    const CCloneEffekte& list_;
    bool any_ = false;
    std::optional<ZNSNebenlauf> side_;
};

}  // namespace

void CClonenEffekte::ZeichneVorschau() {
    if (initialising_) return;
    ++draws_;
    ZNImage image;
    const int32_t width = vorschau_breite();
    const int32_t height = vorschau_hoehe();
    auto sample = std::make_shared<ZNImageFile>();
    // The run sets the picture variables from the clone's size, as it stands
    // before the first effect, and from the time it starts on the effects.
    sample->ODimX = sample->CDimX = width;
    sample->ODimY = sample->CDimY = height;
    sample->CDatum = ole_now();
    image.ImageFile(sample);
    image.usePicturebox(beispielbild_box(), width, height);
    std::vector<std::shared_ptr<CCloneEffekt>> shown;
    if (control("AlleZeigen").state().value == 1) {
        for (const auto& effect : WorkingCloneEffects()) shown.push_back(effect);
    } else if (current_) {
        shown.push_back(current_);
    }
    const StampTexts texts(WorkingCloneEffects(), shown, *sample);
    for (const auto& effect : shown) {
        ErrorInfo ignored;
        // A step that fails (an image stamp without its picture) is left out.
        image.CloneEffektAnwenden(*effect, texts.of(*effect), ignored);
    }
    picture_ = image.CloneRGB().copy();
    shown_.release();
    if (picture_.empty()) {
        changed();
        return;
    }
    const int32_t cx = picture_.width();
    const int32_t cy = picture_.height();
    if (cx == width && cy == height) {
        shown_ = picture_.copy();
    } else {
        const double f = minimum_double({static_cast<double>(width) / cx, static_cast<double>(height) / cy});
        const int32_t w = std::max(1, round_half_even(cx * f));
        const int32_t h = std::max(1, round_half_even(cy * f));
        try {
            ResizeImage(picture_, w, h, shown_, -2);
        } catch (const GalvoraError&) {
            shown_.release();
        } catch (const ImagingFailure&) {
            shown_.release();
        }
    }
    changed();
}

}  // namespace galvora
