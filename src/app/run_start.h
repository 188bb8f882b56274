#pragma once
// The run start: the checks before a run, the mask table, the module and
// oracle compile, the walk of the ticked directories into directory records
// and the call of the generation run.
#include <cstdint>
#include <vector>

#include "generation/picture_scanner.h"

namespace galvora {

struct Startdialog;

// Starts a run on the main window's selection; while a run is going, only
// asks it to stop. Returns when the run has ended.
void aufbereitung_starten(Startdialog& window);
// The accepted picture-file masks of the working settings: for each enabled
// picture type (codes 3 to 14), each FILTER term and each of the type's
// extensions, the mask term.extension. Terms and extensions are trimmed of
// blanks and empty ones left out, so "JPG, JPEG" means two extensions.
std::vector<ExtensionEntry> DateiendungenErmitteln();
// Recreates the script engine with the run's variables and compiles the
// profile's modules, then the script file's; 3 when all compiled, 1 after the
// failing module was reported.
int32_t ModuleUebersetzen();
// True when the profile sets a picture oracle (IMAGE_ORACLE not blank).
bool orakel_gesetzt();
// Compiles the oracle as the script function "_oracle" and checks that every
// called script function exists; false after the message.
bool orakel_uebersetzen();
// The clone directory from the settings and the base directory: CLONE_PATH,
// below the base directory when it is a relative path, with the base folder's
// name appended when CLONE_APPEND_BASENAME asks for it; empty without clones.
void CloneverzeichnisEinstellen(Startdialog& window);

}  // namespace galvora
