#pragma once
// The main window's state without any window: the base-directory and
// clone-directory fields, the selection tree, the recent list, the two
// progress bars, the caption, the state of the controls that a run locks, the
// layout, and the program-wide run state that the options dialog sets from
// the profile. The window program's views show this model and forward the
// user's actions to the procedures below; the batch run works on it alone.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/main_window_layout.h"
#include "app/progress_bar.h"
#include "app/selection_tree.h"
#include "generation/picture_scanner.h"

namespace galvora {

class CommandArguments;
class StartdialogAnsicht;

// Background of the base-directory field.
inline constexpr uint32_t kSystemButtonFace = 0x8000000F;
inline constexpr uint32_t kMissingFolderColour = 0x8080FF;
// The recent list holds at most this many base directories.
inline constexpr size_t kRecentListSize = 16;
// Colours of the two bars while a run goes.
inline constexpr uint32_t kGesamtfortschrittFarbe = 16376007;
inline constexpr uint32_t kPfadfortschrittFarbe = 14531481;

// Mouse pointers the window shows.
enum : int32_t { kZeigerNormal = 0, kZeigerSanduhr = 11, kZeigerPfeilSanduhr = 13 };

struct Startdialog {
    // Field `Basisverzeichnis`: the path as given, its folder name (tag) and background.
    std::string basisverzeichnis;
    std::string basisverzeichnis_tag;
    uint32_t basisverzeichnis_farbe = kSystemButtonFace;
    // Field `Cloneverzeichnis`.
    std::string cloneverzeichnis;
    AuswahlBaum baum;
    // The overall bar (the selection summary between runs) and the bar of
    // the current directory, which the run puts on the tree's row.
    Fortschrittanzeige gesamtfortschritt;
    Fortschrittanzeige pfadfortschritt;
    bool pfadfortschritt_sichtbar = false;
    // The drop-down list of recent base directories, entry 1 first.
    std::vector<std::string> zuletzt;
    bool RunInProgress = false;
    // The control-image target: on shows the picture being processed.
    bool kontrollbild = false;
    // The accepted picture-file masks, rebuilt for each run and each tree build.
    std::vector<ExtensionEntry> AcceptedExtensions;

    // The caption to return to (product and profile), the caption shown, and
    // whether the window is minimised (then the bars write their percentage
    // into the caption).
    std::string basistitel;
    std::string titel;
    bool minimiert = false;
    // Caption of the start/stop button: the "Start" or "Stop" word.
    std::string ok_text;
    // The Options and Info menu items are hidden during a run.
    bool menues_sichtbar = true;
    // The tree and the base-directory button: disabled during a run.
    bool auswahl_aktiv = false;
    // The start button, the tree, the base-directory button and the menu
    // items are enabled only at the end of the load.
    bool bedienbar = false;
    // The Options menu item is disabled after a batch run that a message ended.
    bool optionen_gesperrt = false;
    int32_t mauszeiger = kZeigerNormal;
    // Set while the tree is built: user actions that would build it again wait.
    bool baum_im_aufbau = false;
    // Set while the window loads. The load and the tree build let the window
    // process its events; a close asked for meanwhile is kept until they end.
    bool laedt = false;
    bool schliessen_vorgemerkt = false;
    // The version label.
    std::string version_text;
    Hauptfensterlayout layout;
    // The window showing this model, or none.
    StartdialogAnsicht* ansicht = nullptr;
};

Startdialog& startdialog();

// Program-wide run state.
extern int32_t DirectoryLevel;
// The order of the tree's directories: the options dialog's pages set it from
// the profile whenever it is applied (DIR_SORT and DIR_SORTDIRECTION when
// HTML is made, name ascending otherwise; options/hand_off.h).
extern int32_t DirSortKind;
extern int32_t DirSortDirection;

// Registers the profile display with the profile operations: reading a
// profile shows it in the main window's caption. The run state the profile
// sets comes from the options dialog's pages (optionen_anmelden), which the
// program registers itself.
void profilzustand_anmelden();

// The program's version as the window shows it ("2.11.02" becomes "2.11.2").
std::string versionstext();

// Applies the current language to the main window: its words, the summary
// line, the help file, the start button's caption and the bars' own word.
// Called by the load and after the user switched the language.
void startdialog_sprache(Startdialog& window);

// The load of the main window: texts, metadata definitions, the registry
// values of this start, the geometry, the recent list, then the batch
// preparation (when switches are left) or the last session, and last the
// base directory with its tree. `arguments` is released by the batch step.
void startdialog_laden(CommandArguments* arguments);

// The close check: refused (false) while a run goes, which then only asks the
// run to stop and ends batch mode; put off while the window loads or builds
// its tree (the close follows when that ends: stored now, the start path or
// the unticked directories would be those of a half-made state); refused
// when the user cancels the question whether to save changed modules and
// settings.
bool startdialog_schliessen_pruefen();
// The close put off by the check above, once the load and the tree build are over.
void vorgemerktes_schliessen(Startdialog& window);
// The storing of the last session at close: geometry, profile, base
// directory, the recent list, the control image and the deselection file.
// The options dialog stores its own size when the window unloads it.
void startdialog_schliessen();
// The unload: releases the script engine.
void startdialog_entladen();

// The layout on a change of the window's size: the caption goes back to the
// base title and the controls move (see `anordnen`). A layout that goes wrong
// is logged and the stored geometry dropped at close; the program goes on.
Anordnung startdialog_anordnen(Startdialog& window, int32_t fensterbreite, int32_t fensterhoehe,
                               int32_t client_breite, int32_t client_hoehe);
// True when every control of the layout got a size of its own (no negative width or height).
bool anordnung_gueltig(const Anordnung& layout);

// A click on the control-image box switches the control image.
void kontrollbild_umschalten(Startdialog& window);
// A click on a node of the tree (by id): ticks, pictures, counts and summary.
void baum_klick(Startdialog& window, int64_t node);
// A key pressed in the tree: F5 (key code 116) builds it anew.
inline constexpr int kTasteF5 = 116;
void baum_taste(Startdialog& window, int key_code);

// Called by a bar whose percentage changed: while the main window is
// minimised its caption shows the percentage before the base title.
void hauptfenster_prozent_zeigen(int32_t percent);

}  // namespace galvora
