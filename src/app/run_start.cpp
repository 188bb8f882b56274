#include "app/run_start.h"

#include <filesystem>
#include <system_error>

#include "app/main_window.h"
#include "app/main_window_view.h"
#include "foundation/language.h"
#include "foundation/error.h"
#include "foundation/file_helpers.h"
#include "foundation/dialog_helpers.h"
#include "foundation/messages.h"
#include "foundation/path_helpers.h"
#include "foundation/registry.h"
#include "foundation/string_helpers.h"
#include "generation/generation_run.h"
#include "generation/output_folders.h"
#include "generation/output_record.h"
#include "generation/picture_scanner.h"
#include "generation/run_port.h"
#include "generation/run_state.h"
#include "generation/script_variables.h"
#include "generation/settings_access.h"
#include "profile/border.h"
#include "profile/image_stamp.h"
#include "profile/number_text.h"
#include "profile/profile_lists.h"
#include "profile/script_modules.h"
#include "script/compiler.h"
#include "script/engine.h"

namespace galvora {

namespace {

constexpr const char* kCompilerTitle = "ZantoScript Compiler";
constexpr int kSetClonePath = 53;
constexpr int kSetCloneAppendBasename = 54;
// Frame kind that draws a picture around the clone.
constexpr int32_t kPictureFrame = 2;

// Splits at "," as the rename settings store their lists; "" is no entry.
size_t list_length(const std::string& text) {
    if (text.empty()) return 0;
    size_t count = 1;
    for (char c : text)
        if (c == ',') ++count;
    return count;
}

// The same folder, whatever the spelling: "/pics", "/pics/", "/x/../pics" or a link to it.
bool same_folder(const std::string& a, const std::string& b) {
    std::error_code ec1;
    std::error_code ec2;
    const auto ca = std::filesystem::weakly_canonical(a, ec1);
    const auto cb = std::filesystem::weakly_canonical(b, ec2);
    if (ec1 || ec2) return a == b;
    auto strip = [](std::filesystem::path p) {
        std::string s = p.string();
        while (s.size() > 1 && s.back() == '/') s.pop_back();
        return s;
    };
    return strip(ca) == strip(cb);
}

struct Stop {};

void stop(int style, const char* key, const std::vector<std::string>& arguments = {}) {
    meldung(program_title(), style, key, arguments);
    throw Stop{};
}

void clone_checks(Startdialog& window, LaufAuftrag& job) {
    job.cloneverzeichnis = window.cloneverzeichnis;
    if (job.cloneverzeichnis.empty()) stop(MB_ICON_INFORMATION, "ErrClonesMissingDir");
    if (setting_is_one(kSetCloneRename)) {
        const std::string& mask = setting_text(kSetCloneRenameMask);
        const int digits = setting_int(kSetCloneRenameDigits);
        const std::string& find = setting_text(kSetCloneRenameFind);
        const std::string& replace = setting_text(kSetCloneRenameReplace);
        const int case_mode = setting_int(kSetCloneRenameCase);
        if (mask.empty()) stop(MB_ICON_EXCLAMATION, "ErrRenameClonesMaskMissing");
        if (umbenennungsmaske_anwenden(mask, digits, find, replace, 1, "VZ", "DATEI1", 1) ==
            umbenennungsmaske_anwenden(mask, digits, find, replace, 1, "VZ", "DATEI2", 2))
            stop(MB_ICON_EXCLAMATION, "ErrRenameClonesNotUnique");
        if (!dateiname_gueltig(umbenennungsmaske_anwenden(mask, digits, find, replace, case_mode, "VZ", "DATEI1", 1)))
            stop(MB_ICON_EXCLAMATION, "ErrRenameClonesNameInvalid");
        if (list_length(find) != list_length(replace)) stop(MB_ICON_EXCLAMATION, "ErrRenameClonesFindReplaceCount");
    }
    std::string reached;
    try {
        MakeFullDir(job.cloneverzeichnis, &reached);
    } catch (const GalvoraError& e) {
        // The message names the folder that could not be made.
        stop(MB_ICON_INFORMATION, "ErrClonesErrMkdir", {std::to_string(e.number()), reached});
    }
    // Compared as the folders they name, so that no spelling of the base
    // folder (a trailing slash, "..", a link) lets clones be written over the
    // originals.
    if (same_folder(job.cloneverzeichnis, job.basisverzeichnis))
        stop(MB_ICON_INFORMATION, "ErrClonesDirIsBase", {job.cloneverzeichnis});
    const CCloneEffekte& effects = WorkingCloneEffects();
    for (long i = 1; i <= effects.count(); ++i) {
        auto effect = effects.item(i);
        if (auto* stamp = dynamic_cast<CImageStamp*>(effect.get())) {
            if (stamp->pRGB().empty())
                stop(MB_ICON_INFORMATION, "ErrImagestamp",
                     {stamp->Name(), std::to_string(stamp->ErrNumber()), stamp->ErrSource(), stamp->ErrDescription()});
        } else if (auto* border = dynamic_cast<CBorder*>(effect.get())) {
            if (border->RahmenArt() == kPictureFrame && border->pRGB().empty())
                stop(MB_ICON_INFORMATION, "ErrBorderImage",
                     {border->Bildname(), std::to_string(border->ErrNumber()), border->ErrSource(),
                      border->ErrDescription()});
        }
    }
}

void html_checks() {
    if (setting_is_one(kSetDecoCopy)) {
        const std::string& source = setting_text(kSetDecoSource);
        if (source.empty()) stop(MB_ICON_INFORMATION, "ErrDecoMissingSource");
        const std::string resolved = dekopool_pfad(source);
        if (!verzeichnis_existiert(resolved, 2)) stop(MB_ICON_INFORMATION, "ErrDecoSourceNotExist", {resolved});
    }
    if (!setting_is_one(kSetGenerateFrame) && !setting_is_one(kSetGenerateIndex) &&
        !setting_is_one(kSetGenerateThumbpages) && !setting_is_one(kSetGeneratePicpage))
        stop(MB_ICON_INFORMATION, "ErrHTMLNothingToDo");
}

// The run's selection: one record per ticked directory that holds pictures;
// unticked directories are counted with their pictures.
int32_t directory_walk(const Startdialog& window, LaufAuftrag& job, bool oracle) {
    int32_t selected = 0;
    const std::vector<ExtensionEntry>& masks = window.AcceptedExtensions;
    auto scan = [&](Verzeichnissatz record) {
        bilddateien_einlesen(job.basisverzeichnis + "/" + record.relativer_pfad, masks, oracle, record.bildanzahl,
                             record.bilddateien, record.bildbytes);
        if (record.bildanzahl == 0) return;
        selected += record.bildanzahl;
        job.basis_bildanzahl += record.bildanzahl;
        job.basis_verzeichnisanzahl += 1;
        job.bildbytes_gesamt += record.bildbytes;
        job.verzeichnisse.push_back(std::move(record));
    };
    auto skipped = [&](const std::string& path) {
        job.basis_verzeichnisanzahl += 1;
        job.basis_bildanzahl += bilddateien_zaehlen(path, masks, oracle);
    };
    AuswahlKnoten* top = window.baum.top();
    if (top == nullptr) return 0;
    if (job.auswertelevel == 0) {
        Verzeichnissatz record;
        record.name = ".";
        record.relativer_pfad = ".";
        record.baumknoten = top->id;
        scan(std::move(record));
    } else if (job.auswertelevel == 1) {
        for (auto& child : top->children) {
            if (child->ticked) {
                Verzeichnissatz record;
                record.name = child->tag_name;
                record.relativer_pfad = child->tag_name;
                record.baumknoten = child->id;
                scan(std::move(record));
            } else {
                skipped(job.basisverzeichnis + "/" + child->tag_name);
            }
        }
    } else if (job.auswertelevel == 2) {
        for (auto& group : top->children) {
            for (auto& child : group->children) {
                if (child->ticked) {
                    Verzeichnissatz record;
                    record.name = child->tag_name;
                    record.relativer_pfad = group->tag_name + "/" + child->tag_name;
                    record.gruppe = group->tag_name;
                    record.baumknoten = child->id;
                    scan(std::move(record));
                } else {
                    skipped(job.basisverzeichnis + "/" + group->tag_name + "/" + child->tag_name);
                }
            }
        }
    }
    return selected;
}

}  // namespace

// The run start and the selection tree accept the same extensions as the
// picture scanners.
std::vector<ExtensionEntry> DateiendungenErmitteln() { return musterliste_bilden(); }

int32_t ModuleUebersetzen() {
    script_objekt_anlegen();
    skriptvariablen_anlegen();
    struct Pass {
        ZNModule& modules;
        const char* key;
    };
    for (const Pass& pass : {Pass{ProfileModules(), "ErrProfileModuleLastErr"}, Pass{ScriptFileModules(), "ErrModuleLastErr"}}) {
        for (const auto& module : pass.modules) {
            if (uebersetze(0, 1, module->Name(), module->inhalt()) == 0) {
                module->status(kModuleCompiled);
                continue;
            }
            module->status(kModuleCompileError);
            meldung(kCompilerTitle, MB_ICON_EXCLAMATION, pass.key, {module->Name(), fehlermeldung()});
            return kModuleCompileError;
        }
    }
    return kModuleCompiled;
}

bool orakel_gesetzt() {
    std::string text(trim_blanks(setting_text(kSetImageOracle)));
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 2);
    return !trim_blanks(text).empty();
}

bool orakel_uebersetzen() {
    if (uebersetze(0, 0, "_oracle", "{\r\n" + setting_text(kSetImageOracle) + "\r\n}") != 0) {
        meldung(kCompilerTitle, MB_ICON_EXCLAMATION, "ErrOracleLastErr", {fehlermeldung()});
        return false;
    }
    if (ZNSFunktionRef missing = zns()->fkt_oba.funktion_fehlt()) {
        meldung(kCompilerTitle, MB_ICON_EXCLAMATION, "ErrMissingFunction", {missing->bezeichner, missing->modulname});
        return false;
    }
    return true;
}

namespace {

void clone_folder_from_settings(Startdialog& window) {
    if (!setting_is_one(kSetGenerateClones)) {
        window.cloneverzeichnis.clear();
        return;
    }
    std::string path = setting_text(kSetClonePath);
    // Without a path there is no clone directory; the run start says so.
    if (path.empty()) {
        window.cloneverzeichnis.clear();
        return;
    }
    // A bare name or a relative path lies below the base directory; only an
    // absolute path stands on its own.
    if (path.front() != '/') {
        std::string base = window.basisverzeichnis;
        while (base.size() > 1 && base.back() == '/') base.pop_back();
        path = base + "/" + path;
    }
    if (setting_is_one(kSetCloneAppendBasename) && !window.basisverzeichnis_tag.empty())
        path += "/" + window.basisverzeichnis_tag;
    window.cloneverzeichnis = path;
}

}  // namespace

void CloneverzeichnisEinstellen(Startdialog& window) {
    try {
        clone_folder_from_settings(window);
    } catch (const GalvoraError& e) {
        // A switch of the profile that is no number: no clone folder.
        window.cloneverzeichnis.clear();
        fehler_melden(e.info());
    }
}

namespace {

void show_window(Startdialog& window) {
    if (window.ansicht != nullptr) window.ansicht->aktualisieren();
}

// The window during a run: the start button stops it, the options and the
// about box are hidden, the tree and the base directory cannot change.
void lock_window(Startdialog& window) {
    window.mauszeiger = kZeigerSanduhr;
    window.ok_text = inq("Startdialog", "Stop");
    if (window.ansicht != nullptr) window.ansicht->logging_leeren();
    window.menues_sichtbar = false;
    window.auswahl_aktiv = false;
    show_window(window);
}

void unlock_window(Startdialog& window) {
    window.menues_sichtbar = true;
    window.auswahl_aktiv = true;
    window.mauszeiger = kZeigerNormal;
    window.ok_text = inq("Startdialog", "Start");
    window.RunInProgress = false;
    window.titel = window.basistitel;
    show_window(window);
}

}  // namespace

void aufbereitung_starten(Startdialog& window) {
    if (window.RunInProgress) {
        CancelRequested = true;
        batchmodus = false;
        return;
    }
    window.RunInProgress = true;
    // Whatever ends the run, the window goes back to idle.
    struct Unlock {
        Startdialog& window;
        ~Unlock() { unlock_window(window); }
    } unlock{window};
    LaufAuftrag& job = lauf_auftrag();
    job = LaufAuftrag{};
    job.basisverzeichnis = window.basisverzeichnis;
    while (job.basisverzeichnis.size() > 1 && job.basisverzeichnis.back() == '/') job.basisverzeichnis.pop_back();
    job.auswertelevel = DirectoryLevel;
    lock_window(window);
    run_port().process_events();
    try {
        if (setting_is_one(kSetGenerateClones)) {
            clone_checks(window, job);
        } else {
            job.cloneverzeichnis = job.basisverzeichnis;
        }
        if (setting_is_one(kSetGenerateHtml)) html_checks();
        window.AcceptedExtensions = DateiendungenErmitteln();
        if (ModuleUebersetzen() != kModuleCompiled) throw Stop{};
        const bool oracle = orakel_gesetzt();
        if (oracle && !orakel_uebersetzen()) throw Stop{};
        // The oracle's scripts already write only what the record of the
        // output lets them.
        struct OracleRecord {
            explicit OracleRecord(bool on) : on(on) {
                if (on) ausgabeaufzeichnung_beginnen();
            }
            ~OracleRecord() {
                if (on) ausgabeaufzeichnung().beenden();
            }
            bool on;
        };
        int32_t selected = 0;
        {
            const OracleRecord oracle_record(oracle);
            selected = directory_walk(window, job, oracle);
        }
        if (selected < 1) stop(MB_ICON_INFORMATION, "ErrNothingToDo");
        window.mauszeiger = kZeigerPfeilSanduhr;
        double delete_option = 0;
        // Only an explicit other number turns the trash off.
        if (!text_to_number(registry_lesen("LastSession", "deleteoption", "0"), delete_option)) delete_option = 0;
        job.loeschoption = delete_option == 0 ? kDeleteToTrash : 0;
        const std::string summary = window.gesamtfortschritt.Text();
        const auto records = static_cast<int32_t>(job.verzeichnisse.size());
        window.gesamtfortschritt.Text(AuswahlTextSetzen(records, selected, true));
        show_window(window);
        erzeugung_durchfuehren();
        if (zns() != nullptr) zns()->fkt_oba.lösche_ausser_intern();
        window.gesamtfortschritt.Text(summary);
        if (window.ansicht != nullptr) window.ansicht->kontrollbild_leeren();
    } catch (const Stop&) {
        // The message has been shown; the window goes back to idle.
    } catch (const GalvoraError& e) {
        fehler_melden(e.info());
    } catch (const std::exception& e) {
        fehler_melden(ErrorInfo{5, "aufbereitung_starten", e.what()});
    }
}

}  // namespace galvora
