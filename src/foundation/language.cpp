#include "foundation/language.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "foundation/log.h"
#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "foundation/registry.h"
#include "foundation/string_helpers.h"
#include "platform/locale_language.h"

namespace galvora {

// The German patterns until a language is selected, so that a date is never
// written with an empty pattern.
std::string format_datum = "d.m.yyyy";
std::string format_zeit = "hh:mm:ss";
std::string format_datum_zeit = "dd.mm.yyyy hh:mm:ss";

namespace {

struct LanguageState {
    std::unique_ptr<ZNLanguages> languages = std::make_unique<ZNLanguages>();
    ZNLanguage* german = nullptr;
    ZNLanguage* current = nullptr;
    std::function<void()> changed_hook;
};

LanguageState& state() {
    static LanguageState s;
    return s;
}

std::string missing_text(std::string_view key) {
    std::string out = "?";
    out += key;
    out += '?';
    return out;
}

bool is_missing_form(const std::string& text) {
    return !text.empty() && text.front() == '?' && text.back() == '?';
}

// The text a collection gives when a key is added twice.
constexpr long kDuplicateKeyNumber = 457;
constexpr const char* kDuplicateKeyText = "This key is already associated with an element of this collection";

}  // namespace

// ---------------------------------------------------------------- ZNLanguage

void ZNLanguage::store(std::string_view section, std::string_view key, std::string_view text) {
    texts_.add(section).add(text, key);
}

std::string ZNLanguage::inq(std::string_view section, std::string_view key) const {
    const CResourceSection* s = texts_.item(section);
    if (s == nullptr) return missing_text(key);
    const CResource* r = s->item(key);
    if (r == nullptr) return missing_text(key);
    return r->value;
}

void ZNLanguage::AddForm(ControlWindow& window) {
    CResourceSection& section = texts_.add(window.name());
    if (section.init()) return;
    const std::string own_tag = window.tag();
    if (!own_tag.empty()) section.add(window.caption(), own_tag);
    for (WindowControl* control : window.controls()) {
        if (control == nullptr || control->kind() == ControlKind::PictureBox) continue;
        std::optional<std::string> caption = control->caption();
        std::string tag = control->tag();
        if (!caption || caption->empty() || tag.empty()) continue;
        section.add(*caption, tag);
    }
    section.init(true);
}

void ZNLanguage::InitForm(ControlWindow& window) const {
    const std::string name = window.name();
    if (texts_.item(name) == nullptr) return;
    for (WindowControl* control : window.controls()) {
        if (control == nullptr || control->kind() == ControlKind::PictureBox) continue;
        std::string tag = control->tag();
        if (tag.empty() || !control->caption()) continue;
        control->set_caption(inq(name, tag));
    }
}

void ZNLanguage::AddFile(const std::string& filename) {
    error_.clear();
    try {
        texts_.ReadFile(filename);
    } catch (const GalvoraError& e) {
        error_ = e.info();
    }
}

// --------------------------------------------------------------- ZNLanguages

ZNLanguage* ZNLanguages::add(std::string_view id) {
    if (ZNLanguage* existing = item(id)) return existing;
    auto language = std::make_unique<ZNLanguage>();
    language->SprachID(std::string(id));
    list_.push_back(std::move(language));
    return list_.back().get();
}

ZNLanguage* ZNLanguages::AddFile(const std::string& filename) {
    error_.clear();
    auto language = std::make_unique<ZNLanguage>();
    language->AddFile(filename);
    if (!language->pending_error().empty()) {
        error_ = language->pending_error();
        return nullptr;
    }
    std::string id = language->inq("Sprache", "LanguageID");
    if (is_missing_form(id)) {
        error_ = ErrorInfo{1000, "ZNLanguages AddFile", "Missing LanguageID"};
        return nullptr;
    }
    if (item(id) != nullptr) {
        error_ = ErrorInfo{kDuplicateKeyNumber, "ZNLanguages AddFile", kDuplicateKeyText};
        return nullptr;
    }
    language->SprachID(std::move(id));
    list_.push_back(std::move(language));
    return list_.back().get();
}

ZNLanguage* ZNLanguages::item(std::string_view id) const {
    const std::string folded = utf8_to_lower(id);
    for (const auto& language : list_) {
        if (utf8_to_lower(language->SprachID()) == folded) return language.get();
    }
    return nullptr;
}

ZNLanguage* ZNLanguages::item(long position) const {
    if (position < 1 || position > count()) return nullptr;
    return list_[static_cast<size_t>(position - 1)].get();
}

namespace {

// A removed language must not stay behind as the German or current one.
void forget_language(const ZNLanguage* language) {
    LanguageState& s = state();
    if (s.german == language) s.german = nullptr;
    if (s.current == language) s.current = s.german;
}

}  // namespace

bool ZNLanguages::remove(std::string_view id) {
    ZNLanguage* language = item(id);
    if (language == nullptr) return false;
    auto it = std::find_if(list_.begin(), list_.end(), [language](const auto& l) { return l.get() == language; });
    if (this == state().languages.get()) forget_language(language);
    list_.erase(it);
    return true;
}

bool ZNLanguages::remove(long position) {
    ZNLanguage* language = item(position);
    if (language == nullptr) return false;
    if (this == state().languages.get()) forget_language(language);
    list_.erase(list_.begin() + (position - 1));
    return true;
}

// ------------------------------------------------------- program-wide state

ZNLanguages& sprachen() { return *state().languages; }
ZNLanguage* sprache_deutsch() { return state().german; }
ZNLanguage* aktuelle_sprache() { return state().current; }

void sprachen_neu_anlegen() {
    LanguageState& s = state();
    s.current = nullptr;
    s.german = nullptr;
    s.languages = std::make_unique<ZNLanguages>();
}

std::string inq(std::string_view section, std::string_view key) {
    const ZNLanguage* current = state().current;
    if (current == nullptr) return missing_text(key);
    return current->inq(section, key);
}

void set_language_changed_hook(std::function<void()> hook) { state().changed_hook = std::move(hook); }

void deutsche_texte_anlegen() {
    LanguageState& s = state();
    s.german = s.languages->add("de");
    for (const GermanText& row : german_text_table()) s.german->store(row.section, row.key, row.text);
}

void sprachdateien_laden() {
    namespace fs = std::filesystem;
    deutsche_texte_anlegen();
    log_line("Load Languagefiles START");

    const fs::path folder = program_folder() / "languages";
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code type_ec;
        if (!it->is_regular_file(type_ec)) continue;
        std::string name = it->path().filename().string();
        std::string folded = utf8_to_lower(name);
        if (folded.size() >= 4 && folded.compare(folded.size() - 4, 4, ".lng") == 0) names.push_back(std::move(name));
    }
    // The listing order of the file system is arbitrary; a sorted order makes
    // "the first of two files with one identifier wins" reproducible.
    std::sort(names.begin(), names.end());

    for (const std::string& name : names) {
        const std::string path = (folder / name).string();
        log_line("Load Languagefile " + path + " START");
        if (sprachen().AddFile(path) == nullptr) {
            log_line("Load Languagefile " + path + " " + sprachen().last_error().description);
            sprachen().clear_error();
        }
        log_line("Load Languagefile " + path + " END");
    }
    log_line("Load Languagefiles END");
}

std::string sprache_aus_locale() {
    const std::string german_id = sprache_deutsch() ? sprache_deutsch()->SprachID() : std::string("de");
    const std::string wanted = locale_language();
    // "C" and "POSIX" show the program's own texts, as untranslated programs do.
    if (wanted.empty()) return german_id;
    if (const ZNLanguage* language = sprachen().item(wanted)) return language->SprachID();
    if (const ZNLanguage* english = sprachen().item("en")) return english->SprachID();
    return german_id;
}

std::string sprache_beim_start() {
    const ZNLanguages& all = sprachen();
    if (all.count() > 1) {
        // The stored choice; before there is one, the user's locale decides.
        std::string stored = registry_lesen("Administration", "language", "");
        return stored.empty() ? sprache_aus_locale() : stored;
    }
    if (all.count() == 1) return all.item(1L)->SprachID();
    return "de";
}

bool sprache_waehlen(std::string_view id) {
    LanguageState& s = state();
    log_line("Select Languagefile " + std::string(id) + " START");

    bool found = true;
    s.current = s.languages->item(id);
    if (s.current == nullptr) {
        if (s.german == nullptr) deutsche_texte_anlegen();
        s.current = s.german;
        // Fixed text: no language may be usable at this point.
        meldung_text(program_title(), MB_ICON_EXCLAMATION | MB_OK_STYLE,
                     "Sprachdatei für SprachID \"%1\" fehlt%n%n%2 wird mit Meldungstexten in Deutsch gestartet"
                     "%n%n----------%n%nLanguagefile for LanguageID \"%1\" missing%n%nStarting %2 with messages in German",
                     {std::string(id), program_title()});
        log_line("Select Language Missing Language-File for LanguageID " + std::string(id));
        found = false;
    }

    registry_schreiben("Administration", "language", s.current->SprachID());
    if (s.changed_hook) s.changed_hook();

    format_datum = s.current->inq("Global", "FormatDate");
    format_zeit = s.current->inq("Global", "FormatTime");
    format_datum_zeit = s.current->inq("Global", "FormatDateTime");

    log_line("Select Languagefile END");
    return found;
}

}  // namespace galvora
