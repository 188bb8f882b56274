#pragma once
// The directory and picture loop (phase 14 of a run): for each chosen
// directory its output folders, variables and the `_initpath` hook; for each
// picture its clone and thumbnail, its picture page and its cell on the
// current thumbnail page. Between pictures the window system gets its turn so
// that the stop button can cancel the run.
#include <cstdint>
#include <string>

#include "foundation/error.h"
#include "generation/thumbnail_pages.h"

namespace galvora {

struct Laufzustand;

// The loop's state, read by the page writers and the script built-ins.
struct Schleifenzustand {
    int32_t VerzeichnisAktuell = 0;
    int32_t VerzeichnisVorher = 0;
    int32_t VerzeichnisNachher = 0;
    std::string Webpfad;
    int32_t BilderImPfad = 0;
    int32_t BildNummerImPfad = 0;
    std::string Cloneordner;
    std::string Thumbordner;
    std::string Bildseitenordner;
    bool PfadbalkenAktiv = false;
    Thumbseiten thumbseiten;
    // True when a folder or page file could not be made: the run skips its
    // pages and goes to the statistics.
    bool abgebrochen = false;
};

Schleifenzustand& schleifenzustand();

// Names a picture that failed in the run's log (the port shows the line too).
void bildfehler_melden(const ErrorInfo& error, const std::string& err_image);
// One picture's failure: named in the log and asked about in the window
// program ("Image-Error", OK goes on, Cancel stops); in batch mode the run
// cannot wait for an answer, so the error goes to the log and the run goes on
// with the next picture. True when the run is to stop.
bool bildfehler_fragen(const ErrorInfo& error, const std::string& err_image);

// Runs the loop over every directory record of the run.
void verzeichnisschleife(Laufzustand& run);

}  // namespace galvora
