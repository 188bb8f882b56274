#include "generation/generation_run.h"

#include <algorithm>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "foundation/error.h"
#include "foundation/messages.h"
#include "foundation/ole_date.h"
#include "foundation/path_helpers.h"
#include "generation/output_folders.h"
#include "generation/output_guard.h"
#include "generation/output_lock.h"
#include "generation/page_file.h"
#include "generation/picture_collection.h"
#include "generation/picture_scanner.h"
#include "generation/run_port.h"
#include "generation/run_state.h"
#include "generation/run_variables.h"
#include "generation/script_glue.h"
#include "generation/script_variables.h"
#include "generation/settings_access.h"
#include "profile/clone_effect_list.h"
#include "profile/profile_lists.h"
#include "profile/settings_table.h"
#include "profile/text_stamp.h"
#include "script/compiler.h"
#include "script/engine.h"

namespace galvora {

Laufabschnitte& laufabschnitte() {
    static Laufabschnitte abschnitte;
    return abschnitte;
}

namespace {

constexpr const char* kCompilerTitle = "ZantoScript Compiler";
// Longest page number mask; more digits than this make no sense for a page count.
constexpr int32_t kMaxSplitDigits = 255;

const CCloneEffekte& run_effects() {
    const CCloneEffekte* effects = lauf_auftrag().effekte;
    return effects != nullptr ? *effects : WorkingCloneEffects();
}

void seitenflags_setzen(Laufzustand& run) {
    run.HtmlErzeugen = setting_is_one(kSetGenerateHtml);
    if (!run.HtmlErzeugen) return;
    run.FrameErzeugen = setting_is_one(kSetGenerateFrame);
    run.IndexErzeugen = setting_is_one(kSetGenerateIndex);
    run.ThumbseitenErzeugen = setting_is_one(kSetGenerateThumbpages);
    run.BildseitenErzeugen = setting_is_one(kSetGeneratePicpage);
}

bool textstempel_kompilieren() {
    const CCloneEffekte& effects = run_effects();
    for (long i = 1; i <= effects.count(); ++i) {
        auto item = effects.item(i);
        auto* stamp = dynamic_cast<CTextStamp*>(item.get());
        if (stamp == nullptr) continue;
        if (vorlage_uebersetzen(stempeltext_funktion(i), stamp->Text()) != 0) {
            meldung(kCompilerTitle, MB_ICON_EXCLAMATION, "ErrStampLastErr", {stamp->Description(), fehlermeldung()});
            return false;
        }
    }
    return true;
}

bool vorlagen_bereitstellen(const Laufzustand& run) {
    struct Range {
        int head;
        int disable;
        int last;
        const std::string& kind;
    };
    const Range ranges[] = {
        {kSetHtmlFrameHead, kSetHtmlFrameHeadDisable, kSetHtmlFrameContent, run.texte.InfHTMLFrame},
        {kSetHtmlIndexHead, kSetHtmlIndexHeadDisable, kSetHtmlIndexFooter, run.texte.InfHTMLIndex},
        {kSetHtmlHead, kSetHtmlHeadDisable, kSetHtmlThumbFooter, run.texte.InfHTMLThumb},
        {kSetHtmlPicHead, kSetHtmlBildHeadDisable, kSetHtmlPicFooter, run.texte.InfHTMLImage},
    };
    for (const Range& r : ranges) {
        // A head written literally stays out of the compile.
        const int first = setting_not_zero(r.disable) ? r.head + 1 : r.head;
        if (vorlagen_kompilieren(first, r.last, r.kind) != 0) return false;
    }
    return true;
}

bool funktionen_vollstaendig() {
    ZNSFunktionRef missing = zns()->fkt_oba.funktion_fehlt();
    if (!missing) return true;
    meldung(kCompilerTitle, MB_ICON_EXCLAMATION, "ErrMissingFunction", {missing->bezeichner, missing->modulname});
    return false;
}

// Pictures per line and lines per page below 1 would leave the page count
// undefined; the run refuses them before it touches anything.
bool seitenmasse_pruefen(const Laufzustand& run) {
    if (!run.HtmlErzeugen) return true;
    for (int index : {kSetThumbsPerLine, kSetLinesPerPage}) {
        if (setting_int(index) >= 1) continue;
        const Profileintrag& entry = Profileinstellungen()[static_cast<size_t>(index)];
        meldung_text(program_title(), MB_ICON_EXCLAMATION, "Ungültiger Wert%n%1 = %2%n%nErlaubt sind Zahlen ab 1",
                     {entry.key, entry.value});
        return false;
    }
    return true;
}

// The names the pages are written under end up as file names in the page
// folders: a "/" in one of them would lead the page out of its folder, even out
// of the output. The run refuses such a value before it touches anything.
bool seitennamen_pruefen(const Laufzustand& run) {
    if (!run.HtmlErzeugen) return true;
    std::vector<int> names{kSetHtmlExtension};
    // The standard name names the thumbnail pages at level 0 only.
    if (lauf_auftrag().auswertelevel == 0) names.push_back(kSetHtmlDefault);
    if (run.IndexErzeugen) names.push_back(kSetHtmlIndexFilename);
    if (run.FrameErzeugen) names.push_back(kSetHtmlFrameFilename);
    for (int index : names) {
        if (setting_text(index).find('/') == std::string::npos) continue;
        const Profileintrag& entry = Profileinstellungen()[static_cast<size_t>(index)];
        meldung_text(program_title(), MB_ICON_EXCLAMATION,
                     "Ungültiger Wert%n%1 = %2%n%nErlaubt ist ein Dateiname ohne Pfad", {entry.key, entry.value});
        return false;
    }
    return true;
}

// A base folder that is gone holds no picture to work on; the run stops
// before it touches the output.
bool basisverzeichnis_pruefen() {
    if (verzeichnis_existiert(lauf_auftrag().basisverzeichnis, 2)) return true;
    meldung(program_title(), MB_ICON_INFORMATION, "ErrNothingToDo");
    return false;
}

void lauf_einrichten(Laufzustand& run) {
    run_port().overall_progress_begin();
    run.stoppuhr.emplace();
    CancelRequested = false;
    run.ThumbsProZeile = setting_int(kSetThumbsPerLine);
    run.ZeilenProSeite = setting_int(kSetLinesPerPage);
    run.SeitennummernMaske =
        std::string(static_cast<size_t>(std::clamp(setting_int(kSetSplitDigits), 0, kMaxSplitDigits)), '0');
    run.HtmlEndung = "." + setting_text(kSetHtmlExtension);
    run.Browserseite.clear();
    run.ErstelltAmText =
        "<span style=\"font-size:8pt; font-family:verdana,arial; text-decoration:none\">" + run.texte.InfDateCreated +
        " " + datum_text(ole_now()) + "</span>";
    run.AktuellesBild = neues_bildobjekt();
}

void abschliessen(Laufzustand& run, bool pages) {
    if (laufabschnitte().abschluss) {
        laufabschnitte().abschluss(run, pages);
    } else {
        run_port().overall_progress_end();
    }
}

void fehler_melden(long number, const std::string& source, const std::string& description) {
    galvora::fehler_melden(ErrorInfo{number, source, description});
}

}  // namespace

void erzeugung_durchfuehren() {
    Laufzustand& run = laufzustand();
    run = Laufzustand{};
    run.Skriptfehler = lauf_auftrag().skriptfehler_vorab;
    run.aktiv = true;
    struct EndOfRun {
        Laufzustand& run;
        ~EndOfRun() { run.aktiv = false; }
    } end_of_run{run};
    bool opened = false;  // past the opening phases: completion follows whatever happens
    bool broken_off = false;
    bool completing = false;  // the completion runs once, also when it fails itself
    // Held until the run, its completion included, is over.
    Ausgabesperre sperre;
    std::optional<AusgabeschutzAktiv> schutz;
    // Inside the guard's time: the held pages take their places under it.
    std::optional<SeitenZurueckhalten> seiten_zurueckhalten;
    try {
        erzeugung_anmelden();
        if (zns() == nullptr) {
            script_objekt_anlegen();
            skriptvariablen_anlegen();
        }
        run.texte = infotexte_laden();
        seitenflags_setzen(run);
        if (!textstempel_kompilieren()) return;
        if (run.HtmlErzeugen && !vorlagen_bereitstellen(run)) return;
        if (!funktionen_vollstaendig() || !seitenmasse_pruefen(run) || !seitennamen_pruefen(run) ||
            !basisverzeichnis_pruefen())
            return;
        // Another run writing into the same output goes first; a cancel
        // while waiting ends this run before it has touched anything.
        CancelRequested = false;
        if (!sperre.nehmen(lauf_auftrag().cloneverzeichnis)) return;
        schutz.emplace();
        seiten_zurueckhalten.emplace();
        ausgabeschutz().einrichten(lauf_auftrag(), musterliste_bilden());

        opened = true;
        lauf_einrichten(run);
        run.bildkonfiguration = bildobjekt_konfigurieren(*run.AktuellesBild, run_effects());
        run.BilderGesamt = 0;
        run.BildNummerGesamt = 0;
        laufpfade_setzen();

        if (!ausgabeverzeichnisse_vorbereiten(run)) {
            completing = true;
            abschliessen(run, false);
            return;
        }
        run_port().status_text(run.texte.InfCollectingData);
        bilder_zusammenstellen(run);
        run_port().overall_progress_max(run.BilderGesamt);
        laufvariablen_setzen(run);
        run_port().path_progress_attach();
        // A run stopped while its pictures were collected (a picture that
        // cannot be read, answered with Cancel) makes nothing.
        if (laufabschnitte().verzeichnisschleife && !CancelRequested) laufabschnitte().verzeichnisschleife(run);
        completing = true;
        abschliessen(run, true);
    } catch (const GalvoraError& e) {
        fehler_melden(e.number(), e.source(), e.description());
        broken_off = opened && !completing;
    } catch (const std::bad_alloc&) {
        fehler_melden(7, "erzeugung_durchfuehren", "Out of memory");
        broken_off = opened && !completing;
    } catch (const std::exception& e) {
        fehler_melden(5, "erzeugung_durchfuehren", e.what());
        broken_off = opened && !completing;
    }
    // A run broken off by an error still ends with its statistics and end state.
    if (broken_off) {
        try {
            abschliessen(run, false);
        } catch (const std::exception& e) {
            fehler_melden(5, "erzeugung_durchfuehren", e.what());
        }
    }
}

}  // namespace galvora
