#pragma once
// Argument conventions shared by the EXIF built-ins: section symbols, tags
// given by number or name, and reading one component of an entry.
#include <cstdint>
#include <string>

#include "script/builtins/builtin_frame.h"
#include "script/builtins/builtin_host.h"

namespace galvora::builtins {

constexpr int32_t EXIF_DATEN_UNBEKANNT = 7;
constexpr int32_t EXIF_FEHLT = 8;
constexpr int32_t EXIF_SEKTION_UNBEKANNT = 9;
constexpr int32_t EXIF_MAKERNOTE_UNBEKANNT = 10;
constexpr int32_t EXIF_TAG_UNBEKANNT = 11;
constexpr int32_t EXIF_POSITION = 12;
constexpr int32_t EXIF_FORMAT = 13;
constexpr int32_t EXIF_DATENTYP_UNBEKANNT = 14;

struct ExifSektion {
    int32_t nummer = 1;          // 1 main, 2 thumbnail, 3 maker note, 4 GPS
    int32_t makernote_code = 0;  // the picture's code in section 3, else 0
};

// The section named by the symbol argument i: error 3 for another type, 9 for
// a symbol that names no section.
ExifSektion exif_sektion(Aufruf& a, int32_t i);
// The tag number of argument i: an integer as it stands, a name looked up in
// the section's definitions (error 7 when none); error 3 for another type.
int32_t exif_tag(Aufruf& a, int32_t i, const ExifSektion& s);

// Components read as the built-ins need them.
int32_t komponente_integer(const ExifKomponente& k);
double komponente_double(const ExifKomponente& k);
std::string komponente_text(const ExifKomponente& k);

}  // namespace galvora::builtins
