#include "app/startup.h"

#include <unistd.h>

#include <iostream>
#include <memory>

#include "app/batch_mode.h"
#include "app/component_test.h"
#include "app/environment_report.h"
#include "app/headless_runner.h"
#include "app/main_window.h"
#include "app/main_window_view.h"
#include "app/run_start.h"
#include "app/syntax_colors.h"
#include "app/terminal_help.h"
#include "foundation/command_arguments.h"
#include "foundation/language.h"
#include "foundation/log.h"
#include "foundation/messages.h"
#include "generation/output_guard.h"
#include "generation/run_completion.h"
#include "generation/run_port.h"
#include "generation/run_state.h"
#include "generation/script_variables.h"
#include "platform/ui_port.h"
#include "script/machine.h"

namespace galvora {

int lauf_exit_status(const Laufzustand& run) {
    if (run.Schreibfehler > 0) return kExitRunFailed;
    if (run.FehlerhafteBilder > 0 && run.Skriptfehler > 0) return kExitPicturesAndScriptsFailed;
    if (run.Skriptfehler > 0) return kExitScriptsFailed;
    if (run.FehlerhafteBilder > 0) return kExitPicturesFailed;
    return kExitDone;
}

namespace {

// The last step of the start-up with a window: the window loads; a batch
// run follows at once and closes the program, unless a message or the user
// ended batch mode; then the window stays open with its Options locked.
int im_fenster(Fensterprogramm& fenster, std::unique_ptr<CommandArguments> arguments) {
    // A failure inside the window's load leaves the window as far as it got;
    // the start-up goes on with it.
    try {
        fenster.startdialog_zeigen(arguments.release());
    } catch (const std::exception& e) {
        log_line(std::string("Startdialog LOAD ") + e.what());
    }
    log_line("Initialization END");
    if (batchmodus) {
        aufbereitung_starten(startdialog());
        if (batchmodus) {
            const int status = lauf_exit_status(laufzustand());
            if (fenster.startdialog_schliessen()) return status;
            fenster.ereignisse_verarbeiten();
            return status;
        }
        batch_unterbrochen = true;
    }
    if (batch_unterbrochen) {
        Startdialog& window = startdialog();
        window.optionen_gesperrt = true;
        if (window.ansicht != nullptr) window.ansicht->aktualisieren();
    }
    const int status = fenster.ereignisse_verarbeiten();
    // A batch run that a message ended has not made its gallery.
    return batch_unterbrochen ? kExitRunFailed : status;
}

}  // namespace

int Main(int argc, const char* const* argv, Fensterprogramm* fenster) {
    // Without windows every message goes to stderr and, once it exists, into the log.
    headless_ui_port().set_line_sink([](std::string_view line) { log_line(line); });

    auto arguments = std::make_unique<CommandArguments>();
    arguments->CommandLine(join_command_line(argc, argv));
    if (arguments->Error()) {
        // No language is loaded yet, so the text is fixed and bilingual.
        meldung_text(program_title(), MB_ICON_STOP, "Kommandozeile fehlerhaft%nError in Commandline%n%n%n%1",
                     {arguments->CommandLine()});
        return kExitFaultyCommandLine;
    }

    if (auto logfile = arguments->Argument("Logfile")) {
        arguments->remove("Logfile");
        auto log = std::make_unique<LogClass>();
        if (!log->CreateLogfile(*logfile, anfang_ist_binaer)) {
            if (log->RefusedBinary()) {
                // A log switch naming a photo would overwrite it with text.
                meldung_text(program_title(), MB_ICON_STOP,
                             "LOG-Datei würde ein Bild oder eine andere Binärdatei ersetzen%n"
                             "The log file would replace a picture or another binary file%n%n%1",
                             {*logfile});
                return kExitFaultyCommandLine;
            }
            meldung_text(program_title(), MB_ICON_STOP,
                         "LOG-Datei kann nicht erzeugt werden%nUnable to create Logfile%n%n%1", {*logfile});
            return kExitFaultyCommandLine;
        }
        set_global_log(std::move(log));
        log_line("Initialization START");
    }
    if (fenster == nullptr && arguments->count() == 0) {
        // Without a display there is no window to open, and without batch
        // switches there is no run: say how the program is used.
        log_line("Initialization END");
        std::cerr << "galvora: no display for the window and no batch switches for a run\n\n" << usage_text();
        return kExitFaultyCommandLine;
    }
    umgebung_protokollieren();

    sprachdateien_laden();
    sprache_waehlen(sprache_beim_start());

    batchmodus = false;
    batch_unterbrochen = false;
    erzeugung_anmelden();
    seitenerzeugung_anmelden();
    profilzustand_anmelden();

    if (!startbedingungen_pruefen()) return kExitComponentMissing;
    syntaxfarben_lesen();

    if (fenster != nullptr) return im_fenster(*fenster, std::move(arguments));

    unterbrechung_abfangen();
    // An interrupt also stops a script that is running (an endless template):
    // the run then ends at its next test instead of finishing the script.
    maschine().grenzen().abbruch_pruefen = [] {
        if (!unterbrechung_empfangen()) return false;
        CancelRequested = true;
        return true;
    };
    HeadlessRunPort port(std::cerr, ::isatty(STDERR_FILENO) == 1);
    set_run_port(&port);
    struct PortReset {
        ~PortReset() { set_run_port(nullptr); }
    } port_reset;

    startdialog_laden(arguments.release());
    log_line("Initialization END");
    if (batchmodus) {
        aufbereitung_starten(startdialog());
        // An interrupt ends the run as failed, also one that came after the
        // last picture (during the index or frame page).
        if (unterbrechung_empfangen()) {
            std::cerr << "galvora: Lauf unterbrochen\n";
            return kExitRunFailed;
        }
        // No browser opens without a display; the page it would show goes to stdout.
        if (!laufzustand().Browserseite.empty()) std::cout << laufzustand().Browserseite << std::endl;
        if (batchmodus) {
            startdialog_schliessen();
            return lauf_exit_status(laufzustand());
        }
        batch_unterbrochen = true;
    }
    // A message ended batch mode: on a machine without windows there is no
    // one to leave the window open for, so the run counts as failed.
    return batch_kommandozeile_fehlerhaft ? kExitFaultyCommandLine : kExitRunFailed;
}

}  // namespace galvora
