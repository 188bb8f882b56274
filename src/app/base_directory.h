#pragma once
// The base directory, the recent list and the deselection file.
#include <string>

namespace galvora {

struct Startdialog;
class AuswahlBaum;

// Sets the base-directory field, derives the clone directory and rebuilds the
// tree; true when the path is an existing folder.
bool BasisverzeichnisSetzen(Startdialog& window, const std::string& path);
// The folder browser chose a folder (empty: cancelled): a folder other than
// the current base directory (any case) becomes the base directory, the one
// left goes on top of the recent list. Nothing is reported.
void basisverzeichnis_gewaehlt(Startdialog& window, const std::string& folder);
// The base-directory button: the folder browser at the current base
// directory, then as above.
void basisverzeichnis_waehlen(Startdialog& window);
// An entry of the recent list was chosen: as above, and a folder that is not
// there is reported with "ErrBasedirNotAvailable". The entry keeps its place.
void zuletzt_gewaehlt(Startdialog& window, const std::string& entry);
// Puts a path on top of the recent list unless it is there already (any case).
void BasisverzeichnisMerken(Startdialog& window, const std::string& path);
// Fills the recent list from the registry, keeping the stored order.
void zuletzt_laden(Startdialog& window);
// Writes the recent list as BD1, BD2 ... and removes the values of longer lists.
void zuletzt_speichern(const Startdialog& window);
// True when the user keeps the unticked directories ("profilelastselection" 1).
bool auswahl_merken();
// The deselection file of a base directory and profile.
std::string abwahldatei(const std::string& base_path, const std::string& profile_name);
// Rewrites or removes the deselection file from the tree's ticks when the
// user keeps the selection ("profilelastselection" 1).
void AbwahlSpeichern(const AuswahlBaum& tree, const std::string& base_path, const std::string& profile_name);

}  // namespace galvora
