#pragma once
// How the options dialog is wired to the profile operations, and what it
// leaves for the main window.
//
// The main window's Options menu (MenueOptionenClick, app/options_handoff.h)
// clears TreeRebuildRequested and ProfileSwitched, shows the dialog modally
// (optionen_zeigen in gui/options/options_dialog_view.h), and afterwards
// takes DirectoryLevel from DIR_LEVEL, takes over a switched profile with
// its last base directory, rebuilds its directory tree on request in the
// order DirSortKind / DirSortDirection (app/main_window.h) that the pages
// set, and sets the clone directory again. At program end it stores the
// dialog's size with optionen_groesse_speichern().

namespace galvora {

// Makes every apply of a profile (load, reject of changes) reload the options
// dialog's pages through Optionen::InitDialog, creating the dialog model on
// first use. The pages derive the run state from the profile as they fill
// (directory sort kind and direction, the include script file's modules), so
// a batch run and a window run work from the same state. The program
// registers it at start-up, before the first profile is applied.
void optionen_anmelden();

// Stores the dialog's last size in the registry ("owidth", "oheigth" of
// section "Administration"), as the main window does when it unloads.
void optionen_groesse_speichern();

}  // namespace galvora
