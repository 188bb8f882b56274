#include "app/selection_tree_build.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/base_directory.h"
#include "app/main_window.h"
#include "app/run_start.h"
#include "foundation/file_helpers.h"
#include "foundation/language.h"
#include "foundation/log.h"
#include "foundation/messages.h"
#include "foundation/registry.h"
#include "foundation/sorting.h"
#include "foundation/text_codec.h"
#include "generation/output_paths.h"
#include "generation/run_port.h"
#include "generation/picture_scanner.h"
#include "generation/settings_access.h"
#include "image/picture_type.h"
#include "profile/profiles.h"
#include "profile/script_modules.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

constexpr int kSetPcdFormat = 32;

std::string count_text(const std::string& name, int32_t count) { return name + " (" + std::to_string(count) + ")"; }

AuswahlKnoten* add_leaf(AuswahlBaum& tree, AuswahlKnoten& parent, const std::string& key, const std::string& name,
                        int32_t count) {
    AuswahlKnoten* leaf = tree.add_child(parent, key, count_text(name, count));
    if (leaf == nullptr) return nullptr;
    leaf->tag_name = name;
    leaf->tag_count = count;
    return leaf;
}

AuswahlKnoten* add_top(AuswahlBaum& tree, const Startdialog& window) {
    AuswahlKnoten* top = tree.add_top("K" + window.basisverzeichnis, window.basisverzeichnis_tag);
    top->bold = true;
    top->colour = kTreeGroupColour;
    return top;
}

// The run's output folders inside the base folder: the clone folder when
// clones are made, else the base folder, with its thumbnail, page and
// decoration folders.
Ausgabeordner output_folders(const Startdialog& window) {
    const bool clones = !window.cloneverzeichnis.empty() && setting_is_one(kSetGenerateClones);
    return Ausgabeordner(window.basisverzeichnis, clones ? window.cloneverzeichnis : window.basisverzeichnis);
}

void deselection_apply(Startdialog& window) {
    if (!auswahl_merken()) return;
    log_line("Selection-Tree Deselection START");
    auto profile = aktuelles_profil();
    std::error_code ec;
    auto lines = read_text_lines(abwahldatei(window.basisverzeichnis, profile ? profile->Name() : ""), ec);
    if (lines) {
        for (const std::string& line : *lines) {
            if (AuswahlKnoten* node = window.baum.find("K" + line)) node->ticked = false;
        }
    }
    log_line("Selection-Tree Deselection END");
}

// The sub-folders of `folder` that can be picture directories: neither one of
// the run's output folders nor hidden.
std::vector<Verzeichnissatz> bildverzeichnisse_in(const Ausgabeordner& output, const std::string& folder) {
    std::vector<Verzeichnissatz> records = verzeichnis_einlesen(folder);
    std::erase_if(records, [&](const Verzeichnissatz& r) {
        return versteckter_name(r.name) || output.enthaelt(folder + "/" + r.name);
    });
    return records;
}

void build_level1(Startdialog& window, const std::string& base, bool oracle) {
    const Ausgabeordner output = output_folders(window);
    std::vector<Verzeichnissatz> records = bildverzeichnisse_in(output, base);
    for (Verzeichnissatz& record : records)
        record.bildanzahl = bilddateien_zaehlen(base + "/" + record.name, window.AcceptedExtensions, oracle);
    verzeichnisse_sortieren(records, DirSortKind, DirSortDirection);
    AuswahlBaum& tree = window.baum;
    for (const Verzeichnissatz& record : records) {
        if (record.bildanzahl > 0) {
            log_line("Selection-Tree BUILD SubPath " + record.name);
            AuswahlKnoten* top = add_top(tree, window);
            if (add_leaf(tree, *top, "K" + record.name, record.name, record.bildanzahl)) {
                tree.directory_count += 1;
                tree.picture_count += record.bildanzahl;
            }
        }
        window.gesamtfortschritt.Text(AuswahlTextSetzen(tree.directory_count, tree.picture_count));
    }
}

void build_level2(Startdialog& window, const std::string& base, bool oracle) {
    const Ausgabeordner output = output_folders(window);
    std::vector<Verzeichnissatz> groups = bildverzeichnisse_in(output, base);
    auto sub_folders = [&](const Verzeichnissatz& group) { return bildverzeichnisse_in(output, base + "/" + group.name); };
    if (DirSortKind == kSortPictureCount) {
        for (Verzeichnissatz& group : groups) {
            group.bildanzahl = 0;
            for (const Verzeichnissatz& sub : sub_folders(group))
                group.bildanzahl +=
                    bilddateien_zaehlen(base + "/" + group.name + "/" + sub.name, window.AcceptedExtensions, oracle);
        }
    }
    verzeichnisse_sortieren(groups, DirSortKind, DirSortDirection);
    AuswahlBaum& tree = window.baum;
    for (const Verzeichnissatz& group : groups) {
        std::vector<Verzeichnissatz> subs = sub_folders(group);
        for (Verzeichnissatz& sub : subs)
            sub.bildanzahl =
                bilddateien_zaehlen(base + "/" + group.name + "/" + sub.name, window.AcceptedExtensions, oracle);
        verzeichnisse_sortieren(subs, DirSortKind, DirSortDirection);
        AuswahlKnoten* group_node = nullptr;
        for (const Verzeichnissatz& sub : subs) {
            if (sub.bildanzahl <= 0) continue;
            AuswahlKnoten* top = add_top(tree, window);
            if (group_node == nullptr) {
                group_node = tree.add_child(*top, "K" + group.name, group.name);
                if (group_node == nullptr) break;
                group_node->tag_name = group.name;
                group_node->bold = true;
                group_node->colour = kTreeGroupColour;
                log_line("Selection-Tree BUILD SubPath " + group.name);
            }
            log_line("Selection-Tree BUILD SubSubPath " + sub.name);
            if (add_leaf(tree, *group_node, "K" + group.name + "/" + sub.name, sub.name, sub.bildanzahl)) {
                tree.directory_count += 1;
                tree.picture_count += sub.bildanzahl;
            }
        }
        window.gesamtfortschritt.Text(AuswahlTextSetzen(tree.directory_count, tree.picture_count));
    }
}

// Reads the tree of `base` (the base directory when the build began).
void build_tree(Startdialog& window, const std::string& base, int32_t level) {
    log_line("Selection-Tree BUILD START");
    log_line("Selection-Tree BUILD BasePath " + base);
    window.mauszeiger = kZeigerSanduhr;
    window.gesamtfortschritt.Text(inq("Startdialog", "DirRead"));
    run_port().process_events();
    try {
        set_photo_cd_resolution(setting_int(kSetPcdFormat));
    } catch (const std::exception&) {
        // A faulty number leaves the resolution as it was.
    }

    auto remember_base = [&] {
        if (auto profile = aktuelles_profil()) registry_schreiben("ProfilesLastData", profile->Name(), base);
        log_line("Selection-Tree BUILD END");
    };
    bool oracle = false;
    if (orakel_gesetzt()) {
        if (ModuleUebersetzen() != kModuleCompiled || !orakel_uebersetzen()) {
            // The previous tree stays; the base directory is still remembered.
            remember_base();
            return;
        }
        oracle = true;
    }

    window.baum.clear();
    run_port().process_events();
    window.AcceptedExtensions = DateiendungenErmitteln();
    AuswahlBaum& tree = window.baum;
    if (level == 0) {
        const int32_t count = bilddateien_zaehlen(base, window.AcceptedExtensions, oracle);
        if (count > 0) {
            AuswahlKnoten* node = tree.add_top("K" + base, count_text(window.basisverzeichnis_tag, count));
            node->tag_name = window.basisverzeichnis_tag;
            node->tag_count = count;
            tree.directory_count = 1;
            tree.picture_count = count;
        }
    } else if (level == 1) {
        build_level1(window, base, oracle);
    } else if (level == 2) {
        build_level2(window, base, oracle);
    }

    if (AuswahlKnoten* top = tree.top()) {
        deselection_apply(window);
        tree.AuswahlSymboleSetzen(*top);
    }
    tree.AuswahlZaehlen();
    window.gesamtfortschritt.Text(AuswahlTextSetzen(tree.directory_count, tree.picture_count));
    remember_base();
}

}  // namespace

void AuswahlBaumAufbauen(Startdialog& window, int32_t level) {
    // The build lets the window process its messages; a second build asked
    // for meanwhile (F5, another base directory) would pull the tree from
    // under this one. The field shows the base directory this build reads.
    if (window.baum_im_aufbau) return;
    struct Building {
        Startdialog& window;
        explicit Building(Startdialog& w) : window(w) { window.baum_im_aufbau = true; }
        ~Building() {
            window.baum_im_aufbau = false;
            window.mauszeiger = kZeigerNormal;
            vorgemerktes_schliessen(window);
        }
    } building(window);
    const std::string base = window.basisverzeichnis;
    try {
        build_tree(window, base, level);
    } catch (const GalvoraError& e) {
        // A profile whose picture-type switches or filter values are no
        // numbers gives no directories.
        window.baum.clear();
        window.gesamtfortschritt.Text(AuswahlTextSetzen(0, 0));
        fehler_melden(e.info());
        log_line("Selection-Tree BUILD END");
    }
}

}  // namespace galvora
