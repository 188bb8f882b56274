#pragma once
// File and folder work shared by the run and the main window: listing the
// sub-folders of a folder, replacing a generated file only when it changed,
// setting a file's time, emptying a folder, and file versions.
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "foundation/directory_record.h"

namespace galvora {

// Lists the sub-folders of `folder` (links to folders included), one record
// each with name and time stamp (last-write time as a local date value).
// "." and ".." are skipped; the records come sorted by name without regard to
// case, so the listing does not depend on the file system's order. A folder
// that cannot be read gives no record.
std::vector<Verzeichnissatz> verzeichnis_einlesen(std::string_view folder);

// Replaces `target` by `new_file` when the two differ byte for byte (a missing
// target counts as different): the new file is renamed over the target in one
// step, so the target is never missing. Otherwise the new file is deleted.
// True when the target was replaced. A failed rename, or a replacement the
// replace guard refuses (output_file.h), deletes the new file and
// throws GalvoraError with the system's error (source
// "datei_uebernehmen_wenn_geaendert"); the target stays as it was.
bool datei_uebernehmen_wenn_geaendert(std::string_view target, std::string_view new_file);

// Sets the file's last-write time to the local date value (whole seconds); the
// access time stays. False when the file cannot be changed.
bool dateizeit_setzen(std::string_view file, double when);

// Deletes the contents of `folder` (not the folder itself). Option 64 moves
// every entry to the user's trash instead of deleting it. True when every entry
// went; an empty folder is success, a missing folder is not.
bool verzeichnis_loeschen(std::string_view folder, int flags);
inline constexpr int kDeleteToTrash = 64;

// Four numbers joined by "." for files that carry a version (this program
// itself), "NV" for every other file, missing or not.
std::string dateiversion(std::string_view file);

// The old numbering of file errors that the callers show and test:
// 53 file not found, 58 file exists, 61 disk full, 70 permission denied,
// 75 path/file access error, 76 path not found.
long error_number_from_system(const std::error_code& ec);

}  // namespace galvora
