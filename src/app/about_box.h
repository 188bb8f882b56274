#pragma once
// The about box "Inform": the version line, the copyright, one row per
// component the program works with and the version it reports, the links to
// the maker's home page and mail address, and the update query
// (app/update_query.h). The window itself is a thin view in gui/.
#include <string>
#include <vector>

#include "app/library_versions.h"
#include "app/window_texts.h"

namespace galvora {

class OperatingSystem;

// The window's name, the language section of its texts.
inline constexpr const char* kInformFenster = "Inform";

// The window's design captions by tag.
const std::vector<Designtext>& inform_designtexte();

// "Version 2.11.2", with a blank and the file description when there is one.
std::string versionszeile();

struct Komponentenzeile {
    std::string komponente;
    std::string version;
};

// The rows of the version list, in this order: the system (its name and the
// kernel version), the C library, the window toolkit (when one is named), the
// other system components, an empty separator row, the picture codecs.
std::vector<Komponentenzeile> komponentenzeilen(const OperatingSystem& system, const Bibliotheksversion& toolkit);

// The system row alone: "Debian GNU/Linux 12 (bookworm) (6.1.0)".
Komponentenzeile systemzeile(const OperatingSystem& system);

// The maker's addresses, the captions of the two link labels.
std::string homepage_adresse();
std::string mail_adresse();
// Open the home page in the browser, or a new mail in the mail program.
bool homepage_oeffnen();
bool mail_oeffnen();

}  // namespace galvora
