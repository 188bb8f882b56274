#include "generation/run_completion.h"

#include "foundation/messages.h"
#include "foundation/output_file.h"
#include "foundation/string_helpers.h"
#include "generation/browser_launch.h"
#include "generation/directory_loop.h"
#include "generation/frame_page.h"
#include "generation/generation_run.h"
#include "generation/index_page.h"
#include "generation/page_file.h"
#include "generation/run_port.h"
#include "generation/run_state.h"
#include "generation/run_statistics.h"
#include "generation/script_variables.h"
#include "generation/settings_access.h"
#include "image/image_file_record.h"

namespace galvora {

namespace {

void clear_navigation_variables() {
    Skriptvariablen& v = skriptvariablen();
    for (const ZNSWertRef* ref :
         {&v.prev_doc, &v.up_doc, &v.next_doc, &v.prev_ref, &v.up_ref, &v.next_ref, &v.first_doc, &v.last_doc,
          &v.first_path_doc, &v.last_path_doc, &v.first_page_doc, &v.last_page_doc, &v.first_ref, &v.last_ref,
          &v.first_path_ref, &v.last_path_ref, &v.first_page_ref, &v.last_page_ref, &v.parent_path})
        variable_setzen(*ref, "");
}

// The output byte totals of every directory and of the run, from the clone
// sizes the pictures left in their records.
void recount_bytes() {
    LaufAuftrag& job = lauf_auftrag();
    Skriptvariablen& v = skriptvariablen();
    variable_setzen_bytes(v.size_byte_all_original, job.bildbytes_gesamt);
    int64_t total = 0;
    for (Verzeichnissatz& d : job.verzeichnisse) {
        d.clonebytes = 0;
        for (const auto& record : d.bilddateien)
            if (record) d.clonebytes += record->CBytes;
        total += d.clonebytes;
    }
    job.bildbytes_gesamt = total;
    variable_setzen_bytes(v.size_byte_all, total);
}

std::string deco_reference(bool in_root) {
    const std::string& deco = setting_text(kSetDecoPath);
    return url_kodieren(in_root ? deco : "../" + deco);
}

}  // namespace

void lauf_abschliessen(Laufzustand& run, bool pages) {
    const bool broken_off = schleifenzustand().abgebrochen;
    if (pages && !broken_off && !CancelRequested && run.HtmlErzeugen) {
        clear_navigation_variables();
        if (run.IndexErzeugen || run.FrameErzeugen) recount_bytes();
        if (run.IndexErzeugen) {
            run_port().status_text(run.texte.InfHTMLIndexCreate);
            variable_setzen(skriptvariablen().deco_ref, deco_reference(setting_is_one(kSetHtmlIndexInBasedir)));
            run.Seitenart = "Index";
            indexseite_schreiben();
        }
        if (run.FrameErzeugen && !CancelRequested) {
            run_port().status_text(run.texte.InfHTMLFrameCreate);
            variable_setzen(skriptvariablen().deco_ref, deco_reference(setting_is_one(kSetHtmlFrameInBasedir)));
            run.Seitenart = "Frame";
            startseite_schreiben();
        }
    }
    // The pages take their places only now that every file they link to is
    // written; after a failed write the pages of the run before stay.
    zurueckgehaltene_seiten_abschliessen(run.Schreibfehler == 0);
    if (pages && !broken_off && !CancelRequested && run.HtmlErzeugen && setting_is_one(kSetLaunchBrowser))
        browser_oeffnen(run.Browserseite);

    // Pictures and pages are written without a disk sync each; the run's
    // files reach the disk here, once, before the run reports its end.
    // A file system that cannot write back what it took reports it here.
    bool flushed = flush_file_system(lauf_auftrag().cloneverzeichnis);
    if (lauf_auftrag().basisverzeichnis != lauf_auftrag().cloneverzeichnis)
        flushed = flush_file_system(lauf_auftrag().basisverzeichnis) && flushed;
    if (!flushed) {
        ++run.Schreibfehler;
        run_port().log_line("Die geschriebenen Dateien konnten nicht vollständig auf die Platte gebracht werden: " +
                            lauf_auftrag().cloneverzeichnis);
    }

    Laufstatistik values;
    values.millisekunden = run.stoppuhr ? run.stoppuhr->Elapsed() : 0;
    values.verzeichnisse = static_cast<int32_t>(lauf_auftrag().verzeichnisse.size());
    values.bilder = run.BilderGesamt - run.BilderNichtUmgesetzt;
    values.bytes = lauf_auftrag().bildbytes_gesamt;
    values.clones = run.Clonezaehler;
    values.thumbnails = run.Thumbzaehler;
    values.seiten = run.Seitenzaehler;
    // A run that stopped early (the stop button, a closed window, an
    // interrupt, a folder or page that could not be made) counts what it
    // made, not what was chosen, and says that it stopped.
    const bool stopped = !pages || broken_off || CancelRequested;
    if (stopped) {
        values.verzeichnisse = run.VerzeichnisseUmgesetzt;
        values.bilder = run.BilderUmgesetzt;
        values.bytes = run.BytesUmgesetzt;
    }
    const std::string statistics = statistik_text(run.texte.InfLog, values);
    run_port().status_text(stopped ? platzhalter_ersetzen(run.texte.InfLogStopped + "%n%n", {}) + statistics
                                   : statistics);

    run_port().path_progress_visible(false);
    run_port().overall_progress_end();
    for (const Verzeichnissatz& d : lauf_auftrag().verzeichnisse) run_port().tree_node_image(d.baumknoten, "checked_alle");
}

void seitenerzeugung_anmelden() {
    Laufabschnitte& phases = laufabschnitte();
    phases.verzeichnisschleife = verzeichnisschleife;
    phases.abschluss = lauf_abschliessen;
}

}  // namespace galvora
