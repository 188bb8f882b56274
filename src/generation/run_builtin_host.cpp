#include "generation/run_builtin_host.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "foundation/program_info.h"
#include "generation/output_folders.h"
#include "generation/output_guard.h"
#include "generation/output_record.h"
#include "generation/output_paths.h"
#include "generation/run_accessors.h"
#include "generation/run_state.h"
#include "generation/settings_access.h"
#include "image/current_image.h"
#include "profile/profiles.h"

namespace galvora {

namespace fs = std::filesystem;

RunBuiltinHost& run_builtin_host() {
    static RunBuiltinHost host;
    return host;
}

bool RunBuiltinHost::verzeichnis_info(int32_t n, int32_t modus, ZNSVariable& result) {
    return galvora::verzeichnis_info(n, modus, result);
}

bool RunBuiltinHost::bild_info(int32_t d, int32_t p, int32_t code, ZNSVariable& result) {
    return galvora::bild_info(d, p, code, result);
}

void RunBuiltinHost::bild_drehen(int32_t vierteldrehungen) {
    // The imaging layer counts 0 a quarter clockwise, 1 a half, 2 a quarter back.
    if (vierteldrehungen >= 1 && vierteldrehungen <= 3) RotateImage(vierteldrehungen - 1);
}

void RunBuiltinHost::bild_spiegeln(int32_t richtung) { FlipImage(richtung); }

void RunBuiltinHost::linie_zeichnen(int32_t farbe, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    DrawLine(farbe, x1, y1, x2, y2);
}

void RunBuiltinHost::ellipse_zeichnen(int32_t farbe, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                      int32_t deckkraft, int32_t modus) {
    const int64_t cx = (static_cast<int64_t>(x1) + x2) / 2;
    const int64_t cy = (static_cast<int64_t>(y1) + y2) / 2;
    const int64_t rx = std::llabs(static_cast<int64_t>(x2) - x1) / 2;
    const int64_t ry = std::llabs(static_cast<int64_t>(y2) - y1) / 2;
    DrawEllipse(farbe, static_cast<int32_t>(cx), static_cast<int32_t>(cy), static_cast<int32_t>(rx),
                static_cast<int32_t>(ry), deckkraft, modus);
}

void RunBuiltinHost::rechteck_fuellen(int32_t farbe, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                      int32_t deckkraft) {
    FillTransparentRect(farbe, x1, y1, x2, y2, deckkraft);
}

int32_t RunBuiltinHost::durchschnittsfarbe() { return GetImageAverageColour(); }

bool RunBuiltinHost::schreiben_erlaubt(const std::string& pfad) {
    // A profile may come from anyone: its templates, hooks and oracle may
    // write only into the folders the run makes its own files in, never a
    // hidden file (a shell's start file, a folder's settings), never an
    // original picture and never over a picture or another binary file.
    // Links are followed, so a link that leads elsewhere opens no way out.
    // Which folders below those it may make files in and which files there
    // it may replace, the record of the run's output decides as the file is
    // opened (output_record.h).
    if (pfad.empty() || pfad.front() != '/') return false;
    std::error_code ec;
    const fs::path target = fs::weakly_canonical(fs::path(pfad), ec);
    if (ec) return false;
    bool inside = false;
    for (const std::string& area : ausgabebereiche()) {
        const fs::path folder = fs::weakly_canonical(fs::path(area), ec);
        if (ec) continue;
        const fs::path rel = target.lexically_relative(folder);
        if (rel.empty() || rel == "." || *rel.begin() == "..") continue;
        bool hidden = false;
        for (const fs::path& part : rel) hidden = hidden || (!part.empty() && part.string().front() == '.');
        if (hidden) return false;
        inside = true;
        break;
    }
    const std::string name = fs::path(pfad).filename().string();
    if (!inside || name.empty() || name.front() == '.') return false;
    if (ausgabeaufzeichnung().skript_zulassen(pfad) != 0) return false;
    if (!fs::exists(target, ec)) return true;
    return fs::is_regular_file(target, ec) && !ausgabeschutz().ist_original(target.string()) &&
           !inhalt_ist_binaer(target.string());
}

bool RunBuiltinHost::lesen_erlaubt(const std::string& realer_pfad) {
    // The path is the one the kernel opened, links resolved: a link in the
    // base folder that leads to a private file elsewhere reads nothing.
    // Scripts read the pictures' tree, the gallery, their own profile and
    // module folders and the program's resources, nothing else of the user's.
    if (realer_pfad.empty() || realer_pfad.front() != '/') return false;
    const fs::path datei(realer_pfad);
    const LaufAuftrag& job = lauf_auftrag();
    for (const std::string& ordner : {job.basisverzeichnis, job.cloneverzeichnis, benutzerprofilordner(),
                                      program_folder().string()}) {
        if (liegt_unter(datei, ordner)) return true;
    }
    return false;
}

}  // namespace galvora
