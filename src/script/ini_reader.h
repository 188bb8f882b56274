#pragma once
// Readers that turn an INI file or a description file into a script array
// (for the built-in `read` with @INIFILE and @IONFILE). Both fill the given
// value and report nothing; a path that is empty or cannot be read makes the
// whole result @ERROR.
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "script/value.h"

namespace galvora {

// The lines of a text file a script asked for. Only a regular file that the
// built-in host lets scripts read (checked on the opened file's real path) is
// read; other paths fail like a file one may not read (EACCES). The file is
// held three times while it is read (bytes, decoded text, lines), and that is
// booked against the script memory before any of it is read: a larger file
// stops the run with ZNSSpeichergrenze. An interrupt ends the read (EINTR).
std::optional<std::vector<std::string>> skripttextdatei_lesen(const std::string& pfad, std::error_code& ec);

// Sections (type 6) keyed by name, each holding its entries as texts; entries
// before the first section header go into "GLOBAL".
void ini_datei_lesen(const std::string& pfad, ZNSVariable& ergebnis);
// One name and its text per line, the name quoted when it holds blanks.
void ion_datei_lesen(const std::string& pfad, ZNSVariable& ergebnis);

}  // namespace galvora
