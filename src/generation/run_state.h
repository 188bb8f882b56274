#pragma once
// The state of a generation run: what the main window's start routine hands
// over before it calls the run, and the values the run keeps while it works
// (module-level; every run sets them afresh). The page writers and the script
// built-ins read them.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/directory_record.h"
#include "foundation/log.h"
#include "generation/run_picture.h"
#include "generation/run_texts.h"

namespace galvora {

class CCloneEffekte;

// Set by the start routine before it calls erzeugung_durchfuehren.
struct LaufAuftrag {
    std::string basisverzeichnis;   // the base directory, without a trailing "/"
    std::string cloneverzeichnis;   // the output root, without a trailing "/"
    int32_t auswertelevel = 0;      // 0, 1 or 2
    int32_t loeschoption = 0;       // 64: emptied folders go to the trash
    // The chosen directories, each with its scanned picture list.
    std::vector<Verzeichnissatz> verzeichnisse;
    // Counted below the base directory by the start routine.
    int32_t basis_verzeichnisanzahl = 0;
    int32_t basis_bildanzahl = 0;
    int64_t bildbytes_gesamt = 0;   // the chosen originals' byte total
    // The clone-effect list of the run; the profile's working list when null.
    const CCloneEffekte* effekte = nullptr;
    // Script runs stopped while the start routine read the folders (the
    // oracle); the run counts them with its own.
    int32_t skriptfehler_vorab = 0;
};

LaufAuftrag& lauf_auftrag();

struct Laufzustand {
    Infotexte texte;

    // Page flags.
    bool HtmlErzeugen = false;
    bool FrameErzeugen = false;
    bool IndexErzeugen = false;
    bool ThumbseitenErzeugen = false;
    bool BildseitenErzeugen = false;

    // Run set-up.
    int32_t ThumbsProZeile = 0;
    int32_t ZeilenProSeite = 0;
    std::string SeitennummernMaske;
    std::string HtmlEndung;
    std::string Browserseite;
    std::string ErstelltAmText;
    std::optional<CStopWatch> stoppuhr;

    // The run's picture object and what its configuration leaves for naming.
    std::shared_ptr<RunPicture> AktuellesBild;
    Bildkonfiguration bildkonfiguration;

    int32_t BilderGesamt = 0;
    int32_t BildNummerGesamt = 0;
    // Running picture totals of the collected directories (bildsummen).
    std::vector<int64_t> bildsummen;

    // Output folders and link prefixes.
    bool NavErweitert = false;
    bool BildNavErweitert = false;
    std::string ThumbseitenPraefix;
    std::string BildseitenPraefix;
    std::string BildZuThumbPraefix;

    // Run references.
    std::string Indexseitenname;
    std::string Indexverweis;
    int32_t up_slot = 0;  // HTML_UP when the index page is made, else 0

    // The page being produced ("Thumb", "Image", "Index", "Frame") and the
    // prefix from it to the output root.
    std::string Seitenart;
    std::string Wurzelpraefix;

    // Results counted by the directory loop and the page writers.
    int32_t Clonezaehler = 0;
    int32_t Thumbzaehler = 0;
    int32_t Seitenzaehler = 0;

    // Faults that do not stop the run but leave the gallery short of
    // something; the batch run's exit status reports them.
    int32_t FehlerhafteBilder = 0;  // pictures left out: unreadable or not writable
    int32_t Skriptfehler = 0;       // scripts stopped by a run-time error or a limit
    int32_t Schreibfehler = 0;      // pages or files that could not be written
    // Pictures of the run (counted in BilderGesamt) whose processing failed:
    // the statistics do not count them as made.
    int32_t BilderNichtUmgesetzt = 0;
    // What the run made, for the statistics of a run that stopped early:
    // the pictures processed, their originals' bytes and the directories
    // they lie in.
    int32_t BilderUmgesetzt = 0;
    int64_t BytesUmgesetzt = 0;
    int32_t VerzeichnisseUmgesetzt = 0;

    // True while a run is between its start and its end.
    bool aktiv = false;
};

Laufzustand& laufzustand();

// A page number written with the run's mask: at least as many digits as the
// mask has zeros (SPLIT_DIGITS 2: page 1 is "01").
std::string seitennummer_text(int32_t number, const std::string& mask);

}  // namespace galvora
