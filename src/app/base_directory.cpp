#include "app/base_directory.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/common_dialogs.h"
#include "app/main_window.h"
#include "app/main_window_view.h"
#include "app/run_start.h"
#include "app/selection_tree_build.h"
#include "foundation/language.h"
#include "foundation/messages.h"
#include "foundation/path_helpers.h"
#include "foundation/registry.h"
#include "foundation/string_helpers.h"
#include "foundation/text_codec.h"
#include "profile/number_text.h"

namespace galvora {

bool auswahl_merken() {
    double value = 0;
    return text_to_number(registry_lesen("LastSession", "profilelastselection", "0"), value) && value == 1.0;
}

bool BasisverzeichnisSetzen(Startdialog& window, const std::string& path) {
    window.basisverzeichnis = path;
    window.basisverzeichnis_tag.clear();
    window.cloneverzeichnis.clear();
    window.gesamtfortschritt.Text(inq("Startdialog", "DirRead"));
    window.mauszeiger = kZeigerSanduhr;
    if (window.ansicht != nullptr) window.ansicht->aktualisieren();
    const bool exists = !path.empty() && verzeichnis_existiert(path, 2);
    window.basisverzeichnis_farbe = exists ? kSystemButtonFace : kMissingFolderColour;
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos) window.basisverzeichnis_tag = path.substr(slash + 1);
    CloneverzeichnisEinstellen(window);
    if (exists) {
        AuswahlBaumAufbauen(window, DirectoryLevel);
    } else {
        // A folder that is not there holds no directory; an empty path must
        // not be read as the current folder or the root.
        window.baum.clear();
        window.gesamtfortschritt.Text(AuswahlTextSetzen(0, 0));
    }
    window.mauszeiger = kZeigerNormal;
    if (window.ansicht != nullptr) window.ansicht->aktualisieren();
    return exists;
}

namespace {

// True when the base directory changed. Paths compare exactly: "/data/Pics"
// and "/data/pics" are two folders.
bool change_base(Startdialog& window, const std::string& folder, bool& exists) {
    if (window.baum_im_aufbau || folder.empty() || folder == window.basisverzeichnis) return false;
    BasisverzeichnisMerken(window, window.basisverzeichnis);
    exists = BasisverzeichnisSetzen(window, folder);
    return true;
}

}  // namespace

void basisverzeichnis_gewaehlt(Startdialog& window, const std::string& folder) {
    bool exists = false;
    change_base(window, folder, exists);
}

void basisverzeichnis_waehlen(Startdialog& window) {
    if (window.baum_im_aufbau || window.RunInProgress) return;
    const std::string folder = BrowseForFolder(kOrdnerArbeitsplatz, window.basisverzeichnis,
                                               inq("Startdialog", "SelectBaseDirectory"),
                                               inq("Startdialog", "BaseDirectory"), kOrdnerKeinNeuerOrdner);
    basisverzeichnis_gewaehlt(window, folder);
}

void zuletzt_gewaehlt(Startdialog& window, const std::string& entry) {
    bool exists = false;
    if (change_base(window, entry, exists) && !exists)
        meldung(program_title(), MB_ICON_INFORMATION, "ErrBasedirNotAvailable", {entry});
}

void BasisverzeichnisMerken(Startdialog& window, const std::string& path) {
    for (const std::string& entry : window.zuletzt)
        if (entry == path) return;
    window.zuletzt.insert(window.zuletzt.begin(), path);
    if (window.zuletzt.size() > kRecentListSize) window.zuletzt.resize(kRecentListSize);
}

void zuletzt_laden(Startdialog& window) {
    auto values = registry_alle_lesen("LastSession\\basedirs");
    if (!values) return;
    // The list is stored top entry first; inserting from the last value up
    // keeps that order from one start to the next.
    for (auto it = values->rbegin(); it != values->rend(); ++it) BasisverzeichnisMerken(window, it->second);
}

void zuletzt_speichern(const Startdialog& window) {
    // Values of a longer list stored earlier would come back at the next
    // start; the section is written anew.
    registry_schluessel_loeschen("LastSession\\basedirs");
    for (size_t i = 0; i < window.zuletzt.size(); ++i)
        registry_schreiben("LastSession\\basedirs", "BD" + std::to_string(i + 1), window.zuletzt[i]);
}

std::string abwahldatei(const std::string& base_path, const std::string& profile_name) {
    return base_path + "/" + profile_name + ".qvs";
}

void AbwahlSpeichern(const AuswahlBaum& tree, const std::string& base_path, const std::string& profile_name) {
    if (!auswahl_merken()) return;
    // A profile name that is no plain file name would put the file outside
    // the base directory.
    if (!dateiname_gueltig(profile_name + ".qvs") || !verzeichnis_existiert(base_path, 2)) return;
    const std::vector<std::string> lines = tree.unticked_leaves();
    const std::string file = abwahldatei(base_path, profile_name);
    std::error_code ec;
    std::filesystem::remove(file, ec);
    if (lines.empty()) return;
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    // The file is a convenience; a base directory that cannot take it keeps none.
    write_file_atomic(file, text, ec);
}

}  // namespace galvora
