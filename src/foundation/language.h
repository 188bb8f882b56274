#pragma once
// User-interface languages: the built-in German table, language files and the
// text lookup every part of the program goes through.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/error.h"
#include "foundation/resources.h"
#include "foundation/window_controls.h"

namespace galvora {

class ZNLanguage {
public:
    // Stores a text unless the key exists already in that section (first wins).
    void store(std::string_view section, std::string_view key, std::string_view text);
    // The text of the key; "?key?" when the section or the key is missing.
    std::string inq(std::string_view section, std::string_view key) const;

    const std::string& SprachID() const { return id_; }
    void SprachID(std::string id) { id_ = std::move(id); }

    // Records a window's design captions under its name (used on German only),
    // once per run.
    void AddForm(ControlWindow& window);
    // Sets the captions of a window's controls from this language.
    void InitForm(ControlWindow& window) const;

    // Reads a language file into this language; a failure is kept, not thrown.
    void AddFile(const std::string& filename);
    const ErrorInfo& pending_error() const { return error_; }

    CResources& texts() { return texts_; }
    const CResources& texts() const { return texts_; }

private:
    std::string id_;
    CResources texts_;
    ErrorInfo error_;
};

class ZNLanguages {
public:
    // The language of that identifier; a new empty one when there is none.
    ZNLanguage* add(std::string_view id);
    // Creates a language from a file; nullptr with the error in last_error().
    ZNLanguage* AddFile(const std::string& filename);
    ZNLanguage* item(std::string_view id) const;
    ZNLanguage* item(const char* id) const { return item(std::string_view(id)); }
    ZNLanguage* item(long position) const;  // 1-based
    ZNLanguage* item(int position) const { return item(static_cast<long>(position)); }
    bool remove(std::string_view id);
    bool remove(long position);
    bool remove(int position) { return remove(static_cast<long>(position)); }
    bool remove(const char* id) { return remove(std::string_view(id)); }
    long count() const { return static_cast<long>(list_.size()); }
    const ErrorInfo& last_error() const { return error_; }
    void clear_error() { error_.clear(); }
    auto begin() const { return list_.begin(); }
    auto end() const { return list_.end(); }

private:
    std::vector<std::unique_ptr<ZNLanguage>> list_;
    ErrorInfo error_;
};

// Program-wide language state.
ZNLanguages& sprachen();
ZNLanguage* sprache_deutsch();
ZNLanguage* aktuelle_sprache();
// Start-up: an empty collection, no German language and no current language.
void sprachen_neu_anlegen();

// Date and time patterns of the current language ("d.m.yyyy", "hh:mm:ss",
// "dd.mm.yyyy hh:mm:ss" in German).
extern std::string format_datum;
extern std::string format_zeit;
extern std::string format_datum_zeit;

// Looks a text up in the current language; "?key?" when there is none yet.
std::string inq(std::string_view section, std::string_view key);

void deutsche_texte_anlegen();
void sprachdateien_laden();
// Makes a language current; false when German had to take its place.
bool sprache_waehlen(std::string_view id);
// The identifier start-up selects: the stored choice when more than one
// language is loaded (before the first choice, the locale's language), else
// the only language's.
std::string sprache_beim_start();
// The language the locale asks for: German for "de" and for the untranslated
// "C" and "POSIX" locales, a loaded language of the locale's language, else
// English where it is loaded, else German.
std::string sprache_aus_locale();

// Called by sprache_waehlen after every switch, so the settings model can
// reload its template captions from the new language.
void set_language_changed_hook(std::function<void()> hook);

// The built-in German table, in the order it is stored.
struct GermanText {
    const char* section;
    const char* key;
    const char* text;
};
const std::vector<GermanText>& german_text_table();

}  // namespace galvora
