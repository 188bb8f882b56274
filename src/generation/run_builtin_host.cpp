#include "generation/run_builtin_host.h"

#include <cstdlib>

#include "generation/output_paths.h"
#include "generation/run_accessors.h"
#include "generation/run_state.h"
#include "image/current_image.h"

namespace galvora {

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
    // A profile may come from anyone: its templates and hooks must not reach
    // files outside the gallery they make. Links are followed, so a link in the
    // output that leads elsewhere does not open the way either.
    if (!laufzustand().aktiv) return true;
    const std::string& root = lauf_auftrag().cloneverzeichnis;
    return !root.empty() && !pfad.empty() && pfad.front() == '/' && ordner_enthaelt(root, pfad);
}

}  // namespace galvora
