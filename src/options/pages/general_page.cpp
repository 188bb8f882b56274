#include "options/pages/general_page.h"

#include "foundation/dialog_helpers.h"
#include "foundation/language.h"
#include "foundation/messages.h"
#include "foundation/path_helpers.h"
#include "foundation/program_info.h"
#include "foundation/registry.h"
#include "options/options_dialog.h"
#include "options/page_services.h"
#include "options/resource_file.h"
#include "options/sorted_items.h"
#include "app/common_dialogs.h"
#include "profile/profiles.h"

namespace galvora {

namespace {

constexpr const char* kSession = "LastSession";

// A registry choice of 0 or 1; other text counts as the default 0.
int32_t registry_switch(const char* name) {
    const std::optional<int32_t> value = entry_as_int32(registry_lesen(kSession, name, "0"));
    return value && *value == 1 ? 1 : 0;
}

}  // namespace

CAllgemeines::CAllgemeines() : OptionPage("CAllgemeines", 7800, 4560) {
    using K = PageControlKind;
    auto& language_frame = add(K::Frame, "FrameSprache", "Language", "Sprache", {120, 120, 7560, 900});
    auto& languages = add(K::ComboBox, "SprachenCombo", "", "", {180, 330, 3480, 330}, &language_frame);
    add(K::Label, "SprachenAuthor", "", "", {3840, 375, 3600, 255}, &language_frame);
    auto& last_base = add(K::CheckBox, "ProfileLastBasedir", "LastBasedir",
                          "Zu jedem Profil das letzte benutzte Verzeichnis merken", {120, 1200, 7560, 300});
    auto& last_selection = add(K::CheckBox, "ProfilVerzeichnisLetzteAuswahl", "LastSelection",
                               "Zu jedem Profil/Verzeichnis die letzte Auswahl merken", {120, 1560, 7560, 300});
    auto& folder_frame =
        add(K::Frame, "FrameProfilPfad", "UserProfileDirectory", "Benutzer-Profilverzeichnis", {120, 2040, 7560, 840});
    auto& folder = add(K::TextBox, "ProfilPfad", "", "", {180, 345, 5640, 315}, &folder_frame);
    auto& choose = add(K::Button, "ProfilPfadFestlegen", "ProfileDirectory", "Verzeichnis", {5940, 315, 1440, 375},
                       &folder_frame);
    auto& delete_frame = add(K::Frame, "FrameLöschOption", "DeleteOption", "Löschen der Dateien früherer Läufe",
                             {120, 3060, 7560, 1020});
    add(K::OptionButton, "LöschOption", "RecycleBin", "Papierkorb benutzen", {180, 300, 7200, 285}, &delete_frame, 0);
    add(K::OptionButton, "LöschOption", "DeletePermanently", "endgültig löschen", {180, 630, 7200, 285}, &delete_frame,
        1);

    declare_events({PageEvent::BaumAnpassen});

    // The registry, once: the page only writes it afterwards.
    last_base.state().value = registry_switch("profilelastbasedir");
    last_selection.state().value = registry_switch("profilelastselection");
    folder.state().text = registry_lesen(kSession, "userprofiledir", "");
    // A folder read from the registry is coloured as a typed one; no folder
    // leaves the box as it is.
    folder.state().back_colour = kSysWindowBackground;
    if (!folder.state().text.empty()) colour_profile_folder(folder);
    control("LöschOption", registry_switch("deleteoption")).state().value = 1;

    on(languages, ControlEvent::GotFocus, [this](ControlEventArgs& args) { request(args.control, ViewRequest::DropDown); });
    on(languages, ControlEvent::Click, [this](ControlEventArgs&) { language_chosen(); });
    on(last_base, ControlEvent::Click, [](ControlEventArgs& args) {
        registry_schreiben(kSession, "profilelastbasedir", checkbox_text(args.control.state().value));
    });
    on(last_selection, ControlEvent::Click, [](ControlEventArgs& args) {
        registry_schreiben(kSession, "profilelastselection", checkbox_text(args.control.state().value));
    });
    for (int i = 0; i < 2; ++i)
        on(control("LöschOption", i), ControlEvent::Click,
           [i](ControlEventArgs&) { registry_schreiben(kSession, "deleteoption", std::to_string(i)); });
    // Typing only colours the box; the folder is taken through the button.
    on(folder, ControlEvent::Change, [this](ControlEventArgs& args) { colour_profile_folder(args.control); });
    on(choose, ControlEvent::Click, [this](ControlEventArgs&) { choose_profile_folder(); });
}

void CAllgemeines::colour_profile_folder(PageControl& box) {
    const std::string& text = box.state().text;
    box.state().back_colour = !text.empty() && verzeichnis_existiert(text, 2) ? kLightGreen : kLightRed;
}

void CAllgemeines::fill() {
    PageControl& combo = control("SprachenCombo");
    if (!combo.state().items.empty()) return;
    std::vector<TaggedItem<ZNLanguage*>> items;
    for (const auto& owned : sprachen()) {
        ZNLanguage* language = owned.get();
        TaggedItem<ZNLanguage*> item{language->inq("Sprache", "LanguageName"), language->inq("Sprache", "LanguageID"),
                                     "Unknown", language};
        if (language == sprache_deutsch()) {
            item.image_key = "Dialog";
        } else {
            const std::string flag =
                resource_file(program_folder() / "languages", language->inq("Sprache", "LanguageImage"));
            if (!flag.empty()) item.image_key = "file:" + flag;
        }
        items.push_back(std::move(item));
    }
    item_languages_ = sorted_items(combo, std::move(items));
    select_current_language();
}

void CAllgemeines::language_texts() {
    if (!item_languages_.empty()) select_current_language();
}

void CAllgemeines::select_current_language() {
    PageControl& combo = control("SprachenCombo");
    combo.state().value = -1;
    for (size_t i = 0; i < item_languages_.size(); ++i)
        if (item_languages_[i] == aktuelle_sprache()) combo.state().value = static_cast<int32_t>(i);
    const int32_t chosen = combo.state().value;
    control("SprachenAuthor").state().caption =
        chosen >= 0 ? item_languages_[static_cast<size_t>(chosen)]->inq("Sprache", "LanguageAuthor") : std::string();
}

void CAllgemeines::language_chosen() {
    const int32_t chosen = control("SprachenCombo").state().value;
    if (chosen < 0 || chosen >= static_cast<int32_t>(item_languages_.size())) return;
    ZNLanguage* language = item_languages_[static_cast<size_t>(chosen)];
    if (language == aktuelle_sprache()) return;
    // A language that cannot be used gives way to German, with its own message.
    sprache_waehlen(language->SprachID());
    select_current_language();
    if (page_services().main_window_language) page_services().main_window_language();
    if (optionen_vorhanden()) optionen().InitLanguage();
    changed();
}

void CAllgemeines::choose_profile_folder() {
    PageControl& box = control("ProfilPfad");
    const std::string chosen =
        BrowseForFolder(kOrdnerArbeitsplatz, box.state().text, text_of("UserProfileDirectorySelect"),
                        text_of("UserProfileDirectory"), 0);
    // Folder names compare exactly: a name differing in case is another folder.
    if (chosen.empty() || chosen == box.state().text) return;
    profilaenderungen_uebernehmen();
    if (profilaenderungen_speichern_fragen() == ID_CANCEL) return;
    registry_schreiben(kSession, "userprofiledir", chosen);
    set_text(box, chosen);
    profile_auflisten();
    raise(PageEvent::BaumAnpassen);
}

}  // namespace galvora
