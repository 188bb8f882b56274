#include "generation/output_folders.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "foundation/file_helpers.h"
#include "foundation/messages.h"
#include "foundation/output_file.h"
#include "foundation/path_helpers.h"
#include "foundation/string_helpers.h"
#include "generation/decoration_copy.h"
#include "generation/output_record.h"
#include "generation/output_paths.h"
#include "generation/run_port.h"
#include "generation/run_state.h"
#include "generation/run_variables.h"
#include "generation/script_variables.h"
#include "generation/settings_access.h"

namespace galvora {

namespace fs = std::filesystem;

bool haelt_originale(const std::string& folder) {
    const LaufAuftrag& auftrag = lauf_auftrag();
    if (auftrag.basisverzeichnis.empty()) return false;
    if (ordner_enthaelt(folder, auftrag.basisverzeichnis)) return true;
    for (const Verzeichnissatz& d : auftrag.verzeichnisse) {
        if (ordner_enthaelt(folder, auftrag.basisverzeichnis + "/" + d.relativer_pfad)) return true;
    }
    return haelt_bildordner(folder, auftrag.basisverzeichnis, auftrag.cloneverzeichnis, auftrag.auswertelevel);
}

std::vector<std::string> ausgabebereiche() {
    std::vector<std::string> areas;
    const LaufAuftrag& job = lauf_auftrag();
    const std::string& root = job.cloneverzeichnis;
    if (root.empty() || root.front() != '/') return areas;
    auto below = [&](int setting) {
        const std::string& name = setting_text(setting);
        if (unterordner_gueltig(root, name)) areas.push_back(root + "/" + name);
    };
    if (setting_is_one(kSetThumbnails)) below(kSetThumbDirname);
    if (setting_is_one(kSetGenerateHtml)) {
        below(kSetHtmlBase);
        if (setting_is_one(kSetDecoCopy)) below(kSetDecoPath);
    }
    if (setting_is_one(kSetGenerateClones)) {
        for (const Verzeichnissatz& d : job.verzeichnisse) areas.push_back(root + "/" + d.relativer_pfad);
    }
    return areas;
}

void ausgabeaufzeichnung_beginnen() {
    const std::string& root = lauf_auftrag().cloneverzeichnis;
    // A gallery made before folders kept records shows itself by the
    // thumbnail or page folder the profile names, there before this run.
    auto da = [&](int setting) {
        struct stat st {};
        const std::string& name = setting_text(setting);
        return unterordner_gueltig(root, name) && ::lstat((root + "/" + name).c_str(), &st) == 0 &&
               S_ISDIR(st.st_mode);
    };
    ausgabeaufzeichnung().beginnen(root, ausgabebereiche(), da(kSetThumbDirname) || da(kSetHtmlBase));
}

namespace {

// True when `folder` is the user's home folder or one of its parents: a
// profile's output folder there would empty the user's own files.
bool haelt_heimatordner(const std::string& folder) {
    const char* home = std::getenv("HOME");
    return home != nullptr && home[0] == '/' && ordner_enthaelt(folder, home);
}

// Empties a folder of the output, but never one that holds the originals or
// the user's home folder; such a folder is refused with a message.
bool inhalt_loeschen(const std::string& folder, const std::string& progress_text) {
    const LaufAuftrag& auftrag = lauf_auftrag();
    if (haelt_originale(folder)) {
        meldung(program_title(), MB_ICON_EXCLAMATION, "ErrClonesDirIsBase", {folder});
        return false;
    }
    if (haelt_heimatordner(folder)) {
        meldung_text(program_title(), MB_ICON_EXCLAMATION,
                     "Der Ordner%n%1%nenthält das Benutzerverzeichnis%n%nEr wird nicht geleert", {folder});
        return false;
    }
    run_port().status_text(progress_text);
    // Only what the program wrote there goes, and a failed deletion does not
    // stop the run.
    ausgabeaufzeichnung().leeren(folder, auftrag.loeschoption);
    return true;
}

// Makes root/name (one level: root must exist) or empties it when asked.
// False after the message of `error_key`.
bool unterordner_bereitstellen(const std::string& root, const std::string& name, bool clean,
                               const std::string& progress_text, const char* error_key) {
    const std::string folder = root + "/" + name;
    std::error_code ec;
    if (!unterordner_gueltig(root, name)) {
        ec = std::make_error_code(std::errc::no_such_file_or_directory);
    } else if (!ausgabeordner_pruefen(root, folder)) {
        return false;
    } else if (verzeichnis_existiert(folder, 2)) {
        remove_stale_temporaries(folder);
        ausgabeaufzeichnung().ordner_einrichten(folder);
        if (!clean) return true;
        return inhalt_loeschen(folder, progress_text);
    } else {
        fs::create_directory(folder, ec);
        if (!ec && !fs::is_directory(folder)) ec = std::make_error_code(std::errc::not_a_directory);
        if (!ec) ausgabeaufzeichnung().ordner_einrichten(folder);
    }
    if (ec) {
        meldung(program_title(), MB_ICON_EXCLAMATION, error_key,
                {std::to_string(error_number_from_system(ec)), folder});
        return false;
    }
    return true;
}

}  // namespace

bool ausgabeordner_pruefen(const std::string& root, const std::string& folder) {
    if (ordner_enthaelt(root, folder)) return true;
    std::error_code ec;
    const std::string resolved = fs::weakly_canonical(folder, ec).string();
    meldung_text(program_title(), MB_ICON_EXCLAMATION,
                 "Der Ausgabeordner%n%1%nführt über einen symbolischen Link nach%n%2%n"
                 "und damit aus dem Ausgabeverzeichnis%n%3%nhinaus.%n%nDort wird nichts geschrieben.",
                 {folder, ec ? std::string("?") : resolved, root});
    return false;
}

bool ausgabeverzeichnisse_vorbereiten(Laufzustand& run) {
    const std::string& root = lauf_auftrag().cloneverzeichnis;
    RunPicture& picture = *run.AktuellesBild;
    // Temporary files a killed run left behind; the lock keeps any other
    // run's from being taken for them.
    remove_stale_temporaries(root);

    if (picture.ClonenDurchführen() && setting_is_one(kSetCloneDirclean)) {
        if (!inhalt_loeschen(root, run.texte.InfClonesDelete)) return false;
    }

    if (picture.ThumbDurchführen()) {
        if (!unterordner_bereitstellen(root, setting_text(kSetThumbDirname), setting_is_one(kSetThumbdirClean),
                                       run.texte.InfThumbsDelete, "ErrThumbMkDir")) {
            return false;
        }
        thumb_dim_setzen();
    }

    if (!run.HtmlErzeugen) return true;
    if (!unterordner_bereitstellen(root, setting_text(kSetHtmlBase), setting_is_one(kSetHtmlDirclean),
                                   run.texte.InfHTMLDelete, "ErrHTMLBaseMkDir")) {
        return false;
    }
    if (setting_is_one(kSetDecoCopy)) {
        run_port().status_text(run.texte.InfDecoCopy);
        if (!deko_kopieren(root)) return false;
    }
    run.NavErweitert = setting_is_one(kSetNavExtended);
    run.BildNavErweitert = setting_is_one(kSetHtmlBildNavExtended);
    const LinkPraefixe prefixes = link_praefixe(lauf_auftrag().auswertelevel);
    run.ThumbseitenPraefix = prefixes.thumbseiten;
    run.BildseitenPraefix = prefixes.bildseiten;
    run.BildZuThumbPraefix = prefixes.bild_zu_thumb;
    variable_setzen(skriptvariablen().deco_ref, url_kodieren(run.ThumbseitenPraefix + setting_text(kSetDecoPath)));
    return true;
}

}  // namespace galvora
