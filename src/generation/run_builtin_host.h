#pragma once
// The host through which the script built-ins reach the generation engine:
// the current picture's metadata (inherited), the run's directories and
// pictures, and drawing on the current picture.
#include "generation/metadata_builtin_host.h"

namespace galvora {

class RunBuiltinHost : public MetadataBuiltinHost {
public:
    bool verzeichnis_info(int32_t n, int32_t modus, ZNSVariable& result) override;
    bool bild_info(int32_t d, int32_t p, int32_t code, ZNSVariable& result) override;

    // 1, 2 or 3 quarter turns clockwise.
    void bild_drehen(int32_t vierteldrehungen) override;
    void bild_spiegeln(int32_t richtung) override;
    void linie_zeichnen(int32_t farbe, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    // The ellipse that fits the box (x1, y1)-(x2, y2).
    void ellipse_zeichnen(int32_t farbe, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t deckkraft,
                          int32_t modus) override;
    void rechteck_fuellen(int32_t farbe, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t deckkraft) override;
    int32_t durchschnittsfarbe() override;
    // Only into the folders the run writes its output into (see the code).
    bool schreiben_erlaubt(const std::string& pfad) override;
    // Only below the base and output folders, the profile folders and the
    // program's resources.
    bool lesen_erlaubt(const std::string& realer_pfad) override;
};

// The engine's one host; erzeugung_anmelden installs it.
RunBuiltinHost& run_builtin_host();

}  // namespace galvora
