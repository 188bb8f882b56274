#include "options/pages/profile_page.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>

#include "foundation/log.h"
#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "foundation/registry.h"
#include "image/picture_io.h"
#include "image/pixel/draw.h"
#include "image/resize_image.h"
#include "options/editor_text.h"
#include "app/options_handoff.h"
#include "options/hand_off.h"
#include "options/page_services.h"
#include "options/resource_file.h"
#include "options/sorted_items.h"
#include "profile/profile_file.h"
#include "profile/profiles.h"
#include "profile/settings_table.h"
#include "script/engine.h"

namespace galvora {

namespace {

constexpr int kKommentar = 2;
constexpr int kVersion = 1;
constexpr int64_t kGrey = 0x808080;
// The box's own colour (button face) behind the placeholder's lines.
constexpr int64_t kBoxFace = 0xF0F0F0;
// The filter the clone settings call "Linear 2x2".
constexpr int32_t kSampleFilter = -2;

const char* kind_image(int32_t art) {
    switch (art) {
        case kProfileDefault: return "default";
        case kProfileSystem: return "system";
        default: return "user";
    }
}

// A grey box over the whole area, and inside it a hatched one.
PictureBuffer placeholder(int32_t width, int32_t height) {
    PictureBuffer box = PictureBuffer::allocate(width, height);
    fill_solid_rect(box, 0, 0, width, height, kBoxFace);
    auto outline = [&box](int32_t left, int32_t top, int32_t right, int32_t bottom) {
        draw_line(box, kGrey, left, top, right, top, false);
        draw_line(box, kGrey, right, top, right, bottom, false);
        draw_line(box, kGrey, left, bottom, right, bottom, false);
        draw_line(box, kGrey, left, top, left, bottom, false);
    };
    outline(0, 0, width - 1, height - 1);
    const int32_t right = width - 5;
    const int32_t bottom = height - 5;
    for (int32_t y = 5; y <= bottom; ++y)
        for (int32_t x = 5; x <= right; ++x)
            if ((x + y) % 8 == 0 || (x - y + 8 * height) % 8 == 0) {
                uint8_t* p = box.pixel(x, y);
                p[0] = p[1] = p[2] = 0x80;
            }
    outline(5, 5, right, bottom);
    return box;
}

}  // namespace

CProfil::CProfil() : OptionPage("CProfil", 7800, 5040) {
    using K = PageControlKind;
    auto& frame = add(K::Frame, "FrameAktuellesProfil", "Profile", "Aktuelles Profil", {120, 120, 7560, 1980});
    auto& list = add(K::ComboBox, "ProfilListe", "", "", {180, 330, 4200, 330}, &frame);
    auto& back = add(K::Button, "ProfilVorher", "", "<", {4440, 315, 375, 375}, &frame);
    back.state().bold = true;
    auto& save = add(K::Button, "profil_speichern", "Save", "Speichern", {180, 840, 1680, 375}, &frame);
    auto& save_as = add(K::Button, "Profil_Neu_Button", "SaveAs", "Speichern unter …", {1980, 840, 2100, 375}, &frame);
    auto& remove = add(K::Button, "profil_löschen", "Delete", "Löschen", {4200, 840, 1680, 375}, &frame);
    add(K::Label, "Erstellversion", "", "", {180, 1440, 7200, 255}, &frame);
    add(K::Label, "Label", "Description", "Beschreibung", {120, 2280, 3960, 255}, nullptr, 0);
    auto& description = add(K::MultiLineTextBox, "Profil_Beschreibung", "", "", {120, 2550, 3960, 2250});
    add(K::Label, "Label", "Sample", "Beispiel", {4320, 2280, 3000, 255}, nullptr, 1);
    auto& picture = add(K::PictureBox, "ProfilBild", "", "", {4320, 2550, kSampleWidth * 15.0, kSampleHeight * 15.0});
    picture.state().back_colour = kSysButtonFace;

    declare_events({PageEvent::BaumAnpassen});

    on(list, ControlEvent::GotFocus, [this](ControlEventArgs& args) { request(args.control, ViewRequest::DropDown); });
    on(list, ControlEvent::Click, [this](ControlEventArgs&) { choose(); });
    on(back, ControlEvent::Click, [this](ControlEventArgs&) { previous(); });
    on(save, ControlEvent::Click, [this](ControlEventArgs&) { this->save(); });
    on(save_as, ControlEvent::Click, [this](ControlEventArgs&) { this->save_as(); });
    on(remove, ControlEvent::Click, [this](ControlEventArgs&) { this->remove(); });
    // Writing back the text a fill put there changes nothing.
    on(description, ControlEvent::Change,
       [](ControlEventArgs& args) { profilwert_setzen(kKommentar, stored_text(args.control.state().text)); });
}

// ---------------------------------------------------------------- static parts

std::string CProfil::version_text(const std::string& version) {
    std::string shown;
    size_t start = 0;
    while (true) {
        const size_t dot = version.find('.', start);
        std::string part = version.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (!part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            part.erase(0, std::min(part.find_first_not_of('0'), part.size() - 1));
        }
        shown += part;
        if (dot == std::string::npos) break;
        shown += '.';
        start = dot + 1;
    }
    return shown;
}

std::string CProfil::sample_file(const ZNProfil& profile) {
    // The default profile's sample lies beside the program, whatever the
    // language calls that profile.
    if (profile.art() == kProfileDefault)
        return resource_file(program_folder() / "profiles" / "samples", "Default.png");
    return resource_file(std::filesystem::path(profile.path()) / "samples", profile.Name() + ".png");
}

std::shared_ptr<const PictureBuffer> CProfil::sample_picture(const std::string& file, int32_t box_width,
                                                             int32_t box_height) {
    PictureBuffer picture;
    int32_t width = 0;
    int32_t height = 0;
    if (!file.empty()) {
        try {
            ReadImage(file, 10, picture, width, height);
        } catch (const std::exception&) {
            picture.release();
        }
    }
    if (picture.empty() || width <= 0 || height <= 0)
        return std::make_shared<const PictureBuffer>(placeholder(box_width, box_height));

    // Never enlarged; reduced uniformly until both sides fit.
    if (width > box_width || height > box_height) {
        const double f = std::min(static_cast<double>(box_width) / width, static_cast<double>(box_height) / height);
        const int32_t new_width = std::max(1, static_cast<int32_t>(std::nearbyint(width * f)));
        const int32_t new_height = std::max(1, static_cast<int32_t>(std::nearbyint(height * f)));
        PictureBuffer reduced;
        try {
            ResizeImage(picture, new_width, new_height, reduced, kSampleFilter);
        } catch (const std::exception&) {
            return nullptr;
        }
        picture = std::move(reduced);
        width = new_width;
        height = new_height;
    }
    draw_line(picture, kGrey, 0, 0, width - 1, 0, false);
    draw_line(picture, kGrey, width - 1, 0, width - 1, height - 1, false);
    draw_line(picture, kGrey, 0, height - 1, width - 1, height - 1, false);
    draw_line(picture, kGrey, 0, height - 1, 0, 0, false);
    return std::make_shared<const PictureBuffer>(std::move(picture));
}

// ---------------------------------------------------------------- the page

void CProfil::setzeErstellversion() {
    control("Erstellversion").state().caption = text_of("ProfileCreated") + " " + version_text(profilwert(kVersion));
    changed();
}

void CProfil::language_texts() { setzeErstellversion(); }

void CProfil::fill() {
    PageControl& list = control("ProfilListe");
    list.state().items.clear();
    list.state().text.clear();
    list.state().value = -1;
    std::vector<TaggedItem<std::shared_ptr<ZNProfil>>> items;
    for (const auto& profile : profilliste()) {
        const char* image = kind_image(profile->art());
        log_line(Name() + " InitDialog Add " + image + " Profile " + profile->Name());
        items.push_back({profile->Name(), "P" + profile->Name(), image, profile});
    }
    log_line(Name() + " InitDialog Sort Profiles");
    item_profiles_ = sorted_items(list, std::move(items));
    draw_sample();
    const auto current = aktuelles_profil();
    log_line(Name() + " InitDialog Select Profile " + (current ? current->Name() : std::string()));
    if (current) select(current->Name());

    raise(PageEvent::BaumAnpassen);
    set_text(control("Profil_Beschreibung"), editor_text(profilwert(kKommentar)));
    const std::string previous = registry_lesen("LastSession", "profileprevious", "");
    control("ProfilVorher").state().tooltip = previous.empty() ? standardprofil()->Name() : previous;
}

std::shared_ptr<ZNProfil> CProfil::selected_profile() const {
    const int32_t chosen = control("ProfilListe").state().value;
    if (chosen < 0 || chosen >= static_cast<int32_t>(item_profiles_.size())) return nullptr;
    return item_profiles_[static_cast<size_t>(chosen)];
}

void CProfil::select(const std::string& name) {
    PageControl& list = control("ProfilListe");
    for (size_t i = 0; i < list.state().items.size(); ++i)
        if (list.state().items[i].key == "P" + name) list.state().value = static_cast<int32_t>(i);
}

void CProfil::draw_sample() {
    const auto current = aktuelles_profil();
    control("ProfilBild").state().image =
        sample_picture(current ? sample_file(*current) : std::string(), kSampleWidth, kSampleHeight);
}

void CProfil::load_selected() {
    // The profile is held here: loading rebuilds the list under our feet.
    const std::shared_ptr<ZNProfil> profile = selected_profile();
    profil_laden(profile);
    ProfileSwitched = true;
    setzeErstellversion();
    draw_sample();
    changed();
}

void CProfil::choose() {
    const std::shared_ptr<ZNProfil> chosen = selected_profile();
    const std::shared_ptr<ZNProfil> current = aktuelles_profil();
    // The same profile object: nothing to do, nothing asked.
    if (!chosen || chosen == current) return;
    profilaenderungen_uebernehmen();
    if (profilaenderungen_speichern_fragen() == ID_CANCEL) {
        select(current->Name());
        changed();
        return;
    }
    registry_schreiben("LastSession", "profileprevious",
                       current->art() == kProfileDefault ? std::string() : current->Name());
    load_selected();
}

void CProfil::previous() {
    const std::string name = registry_lesen("LastSession", "profileprevious", "");
    const std::shared_ptr<ZNProfil> profile = name.empty() ? standardprofil() : profil_per_name(name);
    if (!profile || profile == selected_profile()) return;
    select(profile->Name());
    choose();
}

void CProfil::save() {
    profilaenderungen_uebernehmen();
    if (profil_speichern() != 1) return;
    setzeErstellversion();
    // Saving makes a profile of the program's folder a profile of the user's.
    PageControl& list = control("ProfilListe");
    const int32_t chosen = list.state().value;
    if (const auto profile = selected_profile())
        list.state().items[static_cast<size_t>(chosen)].image_key = kind_image(profile->art());
    changed();
}

void CProfil::save_as() {
    profilaenderungen_uebernehmen();
    if (aktuelles_profil()->art() != kProfileDefault) profilaenderungen_speichern_fragen();
    const std::string name = page_services().profil_neu ? page_services().profil_neu() : std::string();
    if (!name.empty()) load_selected();
}

void CProfil::remove() {
    const std::shared_ptr<ZNProfil> current = aktuelles_profil();
    if (current->art() == kProfileDefault) {
        message("ErrProfileDefaultDelete", MB_ICON_EXCLAMATION, {current->Name()});
        return;
    }
    if (message("MsgProfileDeleteYesNo", MB_YESNO_STYLE | MB_ICON_QUESTION, {current->Name()}) != ID_YES) return;
    if (profil_loeschen() != 1) return;
    script_objekt_anlegen();
    load_selected();
}

}  // namespace galvora
