#pragma once
// The settings of a run: 197 text values at fixed indices, each with a key
// (its name in a profile file and on the command line) and a default. The
// table exists twice: the working copy that the rest of the program reads and
// edits, and the loaded copy that mirrors the profile file.
#include <array>
#include <concepts>
#include <span>
#include <string>
#include <string_view>

namespace galvora {

inline constexpr int kProfileEntryCount = 197;

struct Profileintrag {
    std::string key;    // empty for the spare indices
    std::string value;  // always text: flags "1"/"0", numbers and colours in decimal
};

using Profiltabelle = std::array<Profileintrag, kProfileEntryCount>;

// One built-in entry: index, key, default, fixed caption (picture types) and
// the key of its caption in section "Profile" (templates).
struct SettingDefinition {
    int index;
    const char* key;
    const char* default_value;
    const char* caption;
    const char* caption_key;
};

// The 187 keyed entries in index order; the ten spare indices are absent.
std::span<const SettingDefinition> setting_definitions();

// True for the settings that hold a whole number (switches, sizes, colours,
// codes): those whose default is one. The run reads them as numbers.
bool setting_takes_number(int index);

// Working copy: everything outside this subsystem reads it and writes only
// through profilwert_setzen.
Profiltabelle& Profileinstellungen();
// Loaded copy: defined with defaults, filled by the profile reader, written by
// the profile writer.
Profiltabelle& geladene_Profileinstellungen();
// Display captions parallel to the table (never saved).
std::array<std::string, kProfileEntryCount>& profileintrag_beschreibung();

// Titles of the message boxes shown while saving, reading and deleting a profile.
const std::string& profil_titel_speichern();
const std::string& profil_titel_laden();
const std::string& profil_titel_loeschen();

// The working copy differs from the loaded copy.
extern bool profil_geaendert;
// The loaded copy differs from the file.
extern bool profil_ungespeichert;

// The working value at an index; throws GalvoraError 9 outside 0..196.
const std::string& profilwert(int index);

void profileintrag_definieren(int index, std::string_view caption, std::string_view key,
                              std::string_view default_value);
// Defines keys, defaults and captions of the loaded table and resets what
// belongs to a freshly defined profile (loaded lists, script engine).
void profil_schluessel_definieren();
// Reads the template captions and the dialog titles from the current language.
void profilvorlagen_vorbelegen();

// The one setter of the working table. Marks the settings changed only when the
// text really differs. Throws GalvoraError 9 for an index outside 0..196.
void profilwert_setzen(int index, std::string_view value);
inline void profilwert_setzen(int index, const char* value) { profilwert_setzen(index, std::string_view(value)); }
inline void profilwert_setzen(int index, const std::string& value) { profilwert_setzen(index, std::string_view(value)); }
void profilwert_setzen(int index, double value);
template <std::integral T>
    requires(!std::same_as<T, bool>)
void profilwert_setzen(int index, T value) {
    profilwert_setzen(index, std::string_view(std::to_string(value)));
}

// Throws GalvoraError 9 ("Subscript out of range") for an index outside the table.
void check_profile_index(int index, const char* source);

}  // namespace galvora
