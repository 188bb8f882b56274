#pragma once
// The texts a run shows in the status box: the line of one processed picture
// and the statistics at the end, with the locale's number forms.
#include <cstdint>
#include <string>

namespace galvora {

class ZNImageFile;

// A whole number with the locale's thousands separator ("#,##0").
std::string zahl_gruppiert(int64_t number);
// Milliseconds as seconds with one decimal ("0.0"), the locale's decimal sign.
std::string sekunden_text(int64_t milliseconds);

// InfImageLog filled from a picture-file record: name, date, size in pixels,
// size in bytes.
std::string bildprotokoll_text(const std::string& pattern, const ZNImageFile& record);

struct Laufstatistik {
    int64_t millisekunden = 0;
    int32_t verzeichnisse = 0;
    int32_t bilder = 0;
    int64_t bytes = 0;
    int32_t clones = 0;
    int32_t thumbnails = 0;
    int32_t seiten = 0;
};
// InfLog filled with the seven values of a run.
std::string statistik_text(const std::string& pattern, const Laufstatistik& values);

}  // namespace galvora
