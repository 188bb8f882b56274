#pragma once
// Per-user choices that are not part of a profile (window sizes, the last
// session, the language, each profile's last use, the editor colours), kept as
// text values by section and name in $XDG_CONFIG_HOME/galvora/registry.ini.
//
// Every call reads the file afresh and every write replaces it in one step, so
// two running copies of the program never leave a half-written file. A file
// that cannot be read or is not a valid settings file is left untouched: reads
// give their defaults and writes fail with a status, so the user's file is
// never replaced by an empty store.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace galvora {

// The value's text, cut at its first NUL; the default when the section, the
// value or the file cannot be read.
std::string registry_lesen(std::string_view section, std::string_view name, std::string_view default_text);

// Writes the value, creating the section. 0 on success, else an error code
// (a system error number, or kRegistryCorrupt when the file is not valid).
int registry_schreiben(std::string_view section, std::string_view name, std::string_view value);

// All values of the section in their order as (name, text) pairs, texts cut at
// NUL; nullopt when the section is missing or has no values.
std::optional<std::vector<std::pair<std::string, std::string>>> registry_alle_lesen(std::string_view section);

// Deletes the section with its values. 0 when the store could be opened, else
// its error code; a section that does not exist is no error.
int registry_schluessel_loeschen(std::string_view section);

// The store's file; tests and the environment report use it.
std::filesystem::path registry_datei();

// The status of a write into a file that is not a valid settings file (the
// number the settings store used for a corrupt database).
inline constexpr int kRegistryCorrupt = 1009;

}  // namespace galvora
