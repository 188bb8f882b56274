#pragma once
// Readers that turn an INI file or a description file into a script array
// (for the built-in `read` with @INIFILE and @IONFILE). Both fill the given
// value and report nothing; a path that is empty or cannot be read makes the
// whole result @ERROR.
#include <string>

#include "script/value.h"

namespace galvora {

// Sections (type 6) keyed by name, each holding its entries as texts; entries
// before the first section header go into "GLOBAL".
void ini_datei_lesen(const std::string& pfad, ZNSVariable& ergebnis);
// One name and its text per line, the name quoted when it holds blanks.
void ion_datei_lesen(const std::string& pfad, ZNSVariable& ergebnis);

}  // namespace galvora
