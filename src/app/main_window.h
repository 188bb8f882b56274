#pragma once
// The main window's state without any window: the base-directory and
// clone-directory fields, the selection tree, the recent list, the run flag
// and the program-wide run state that the options dialog sets from the
// profile. The window program's views show this model; the batch run works
// on it alone.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/selection_tree.h"
#include "generation/picture_scanner.h"

namespace galvora {

class CommandArguments;

// Background of the base-directory field.
inline constexpr uint32_t kSystemButtonFace = 0x8000000F;
inline constexpr uint32_t kMissingFolderColour = 0x8080FF;
// The recent list holds at most this many base directories.
inline constexpr size_t kRecentListSize = 16;

struct Startdialog {
    // Field `Basisverzeichnis`: the path as given, its folder name (tag) and background.
    std::string basisverzeichnis;
    std::string basisverzeichnis_tag;
    uint32_t basisverzeichnis_farbe = kSystemButtonFace;
    // Field `Cloneverzeichnis`.
    std::string cloneverzeichnis;
    AuswahlBaum baum;
    // Text of the overall progress bar (the selection summary between runs).
    std::string gesamtfortschritt_text;
    // The drop-down list of recent base directories, entry 1 first.
    std::vector<std::string> zuletzt;
    bool RunInProgress = false;
    // The control-image target: on shows the picture being processed.
    bool kontrollbild = false;
    // The accepted picture-file masks, rebuilt for each run and each tree build.
    std::vector<ExtensionEntry> AcceptedExtensions;
};

Startdialog& startdialog();

// Program-wide run state.
extern int32_t DirectoryLevel;
// The order of the tree's directories: set from the profile whenever it is
// applied (DIR_SORT and DIR_SORTDIRECTION when HTML is made, name ascending otherwise).
extern int32_t DirSortKind;
extern int32_t DirSortDirection;

// Derives the run state that the options dialog sets on every profile
// apply: the directory sort and the include script file's modules. Batch and
// window runs thus work from the same state.
void laufzustand_aus_profil();
// Registers laufzustand_aus_profil with the profile operations.
void profilzustand_anmelden();

// The load of the main window as far as a run needs it: metadata
// definitions, the registry values of this start, the recent list, then the
// batch preparation (when switches are left) or the last session, and last
// the base directory with its tree. `arguments` is released by the batch step.
void startdialog_laden(CommandArguments* arguments);
// The storing of the last session at close: geometry-free values, the recent
// list and the deselection file.
void startdialog_schliessen();

}  // namespace galvora
