#pragma once
// Profile files (*.qvp): keyed setting lines with "+" continuation lines, the
// clone-effect groups and the script modules ("!*" header, "!+" lines).
// Written in UTF-8 with CR LF; read as UTF-8, or Windows-1252 when not valid.
#include <string>
#include <string_view>
#include <vector>

#include "profile/clone_effect_list.h"
#include "profile/script_modules.h"
#include "profile/settings_table.h"

namespace galvora {

// The file of a profile: <folder>/<name>.qvp
std::string profildatei(std::string_view folder, std::string_view name);

// Writes the current profile into the user's profile folder; 1 written, 2
// refused or failed (the message has been shown; an existing file is left as
// it was).
int profil_speichern();
// Reads the current profile into the loaded state; on failure reports and
// loads the default profile instead.
void profil_lesen();

// The file's text (lines ended by CR LF) for a table, an effect list and a module list.
std::string profile_text(const Profiltabelle& table, const CCloneEffekte& effects, const ZNModule& modules);

// A line that could not be read or converted.
struct ProfileLineFailure {
    long error_number;  // 6 overflow, 9 subscript out of range, 13 type mismatch
    long line_number;   // 1-based
    std::string line;
};

// Reads the lines into a freshly defined table and empty lists. Throws
// ProfileLineFailure for a line that cannot be converted.
void profile_lines_einlesen(const std::vector<std::string>& lines, Profiltabelle& table,
                            CCloneEffekte& effects, ZNModule& modules);

// Brings a table read from a file of `version` up to date and maps the old
// text codes of the sort settings. Throws ProfileLineFailure (line_number
// `line_count`) when a value it must compute with is not numeric.
void profil_aktualisieren(Profiltabelle& table, const std::string& version, long line_count);

}  // namespace galvora
