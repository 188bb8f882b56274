#pragma once
// What the options dialog and its pages hand to the main window, and how the
// dialog is wired to the profile operations.
//
// The main window, around showing the dialog (the Options menu):
//   1. clears both flags of options_hand_off() (optionen_zeigen in
//      gui/options/options_dialog_view.h does this for it);
//   2. shows the dialog modally; it returns when OK or Cancel hid it;
//   3. takes DirectoryLevel from DIR_LEVEL, and when ProfileSwitched is set
//      takes over the new profile (and its last base directory);
//   4. rebuilds its directory tree when TreeRebuildRequested is set, in the
//      order DirSortKind / DirSortDirection (app/main_window.h) that the
//      dialog's pages set;
//   5. sets the clone directory again.
// At program end it stores the dialog's size with optionen_groesse_speichern().
#include <string>

namespace galvora {

struct OptionsHandOff {
    // A page changed what the main window's directory tree shows.
    bool TreeRebuildRequested = false;
    // The profile page made another profile current.
    bool ProfileSwitched = false;
};

OptionsHandOff& options_hand_off();

// Makes every apply of a profile (load, reject of changes) reload the options
// dialog's pages through Optionen::InitDialog, creating the dialog model on
// first use. The pages derive the run state from the profile as they fill
// (directory sort kind and direction, the include script file's modules), so
// a batch run and a window run work from the same state. Call it at start-up
// in place of profilzustand_anmelden().
void optionen_anmelden();

// Stores the dialog's last size in the registry ("owidth", "oheigth" of
// section "Administration"), as the main window does when it unloads.
void optionen_groesse_speichern();

}  // namespace galvora
