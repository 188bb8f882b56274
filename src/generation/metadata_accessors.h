#pragma once
// The engine's metadata accessors for the script built-ins. They read the
// metadata of the engine's current picture (the one the run is processing or
// the picture oracle made), so its lists are read lazily on first use. Each
// accessor returns a number, or fills its out-value and returns true, or
// returns false (out-value untouched) when there is nothing to return.
//
// With no current picture every picture accessor raises GalvoraError 91;
// the built-ins turn that into a silent @ERROR.
#include <cstdint>
#include <string>

#include "image/metadata/picture_metadata.h"

namespace galvora {

// The engine-wide current picture; nullptr clears it. The engine owns the picture.
void set_current_picture_metadata(PictureMetadata* picture);
PictureMetadata* current_picture_metadata();

// Sets the current picture for a scope and restores the previous one after it.
class CurrentPictureScope {
public:
    explicit CurrentPictureScope(PictureMetadata* picture);
    ~CurrentPictureScope();
    CurrentPictureScope(const CurrentPictureScope&) = delete;
    CurrentPictureScope& operator=(const CurrentPictureScope&) = delete;

private:
    PictureMetadata* previous_;
};

// True when the picture has at least one EXIF entry in any section.
bool bild_hat_exif();
// The picture's maker-note code (0: none recognised).
std::int32_t bild_exifkennung();
// Entries of a section; 0 for a section outside 1..4.
std::int64_t bild_exif_anzahl(std::int32_t section);
// The first entry of the section with that tag: value gets its typ and its
// whole component list. Raises GalvoraError 9 for a section outside 1..4.
bool bild_exif_wert(std::int32_t section, std::int32_t tag, ZNExif& value);
// The tag number of the entry at a 1-based position.
bool bild_exif_nummer(std::int32_t section, std::int64_t position, std::int64_t& tag);
// The defined name of a tag and component, with the picture's maker-note code.
bool bild_exif_tagname(std::int32_t section, std::int32_t tag, std::int32_t position, std::string& name);
// x times the picture's focal-length factor; GalvoraError 6 when that overflows.
double bild_brennweitenfaktor(double x);
// The IPTC text of a dataset (repeats joined with ",").
bool bild_iptc_wert(std::int32_t number, std::string& text);
std::int64_t bild_iptc_anzahl();
// The dataset number at a 1-based position.
bool bild_iptc_nummer(std::int64_t position, std::int64_t& number);
// The defined name of a dataset; needs the definitions only, no picture.
bool iptc_tagname(std::int32_t number, std::string& name);
std::int64_t bild_kommentar_anzahl();
// A comment by key (without regard to case), or by 1-based position.
bool bild_kommentar_text(const std::string& key, std::string& text);
bool bild_kommentar_pos_text(std::int64_t position, std::string& text);
bool bild_kommentar_schluessel(std::int64_t position, std::string& key);

}  // namespace galvora
