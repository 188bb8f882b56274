#pragma once
// What the built-ins need of the picture pipeline and the generation run: the
// current picture's metadata, the metadata definitions, the run's directories
// and pictures, and drawing on the current picture. The script library must
// not depend on those subsystems, so they plug an implementation in here.
//
// An operation that cannot answer because there is no current picture or no
// run throws (any exception); the calling built-in turns that into a silent
// @ERROR. With no host set every operation fails that way, except that a
// line drawn without a picture draws nothing.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "script/value.h"

namespace galvora {

// One component of an EXIF entry: integer, double or text (rationals are texts
// "numerator/denominator").
using ExifKomponente = std::variant<int32_t, double, std::string>;

// One EXIF entry of a picture: its script type code (1 integer, 2 double,
// 4 string) and its components (component i at index i - 1).
struct ExifEintrag {
    int32_t tag = 0;
    int32_t typ = 0;
    std::vector<ExifKomponente> komponenten;
    // Byte order of the file the entry came from; texts of two-byte
    // characters (a Unicode user comment) are read in it.
    bool big_endian = false;
};

// One definition of the metadata definition file: name, default display mode
// and the texts of coded values.
struct ExifDefinition {
    std::string name;
    int32_t anzeige_modus = 0;
    std::map<int32_t, std::string> nice_texte;
};

class BuiltinHost {
public:
    virtual ~BuiltinHost() = default;

    // --- EXIF of the current picture (sections 1 main, 2 thumbnail, 3 maker note, 4 GPS)
    virtual bool bild_hat_exif() = 0;
    virtual int32_t bild_exifkennung() = 0;
    virtual int64_t bild_exif_anzahl(int32_t section) = 0;
    virtual bool bild_exif_wert(int32_t section, int32_t tag, ExifEintrag& eintrag) = 0;
    virtual bool bild_exif_nummer(int32_t section, int64_t position, int64_t& tag) = 0;
    virtual double bild_brennweitenfaktor(double brennweite) = 0;

    // --- EXIF definitions (no picture needed)
    // Tag number of the first definition of that name (any letter case); -1 when none.
    virtual int32_t exif_tag_suchen(int32_t makernote_code, int32_t section, const std::string& name) = 0;
    // The definition of a tag and component index (0: the tag itself).
    virtual std::optional<ExifDefinition> exif_definition(int32_t makernote_code, int32_t section, int32_t tag,
                                                          int32_t index) = 0;

    // --- IPTC and comments of the current picture
    virtual bool bild_iptc_wert(int32_t nummer, std::string& text) = 0;
    virtual int64_t bild_iptc_anzahl() = 0;
    virtual bool bild_iptc_nummer(int64_t position, int64_t& nummer) = 0;
    // Dataset number of the first IPTC definition of that name (any letter case); -1 when none.
    virtual int32_t iptc_tag_suchen(const std::string& name) = 0;
    virtual bool iptc_tagname(int32_t nummer, std::string& name) = 0;
    virtual int64_t bild_kommentar_anzahl() = 0;
    virtual bool bild_kommentar_text(const std::string& schluessel, std::string& text) = 0;
    virtual bool bild_kommentar_pos_text(int64_t position, std::string& text) = 0;
    virtual bool bild_kommentar_schluessel(int64_t position, std::string& schluessel) = 0;

    // --- the run's directories and pictures; set the result only on success
    virtual bool verzeichnis_info(int32_t n, int32_t modus, ZNSVariable& result) = 0;
    virtual bool bild_info(int32_t d, int32_t p, int32_t code, ZNSVariable& result) = 0;

    // --- drawing on the current picture (colours 0x00BBGGRR)
    virtual void bild_drehen(int32_t vierteldrehungen) = 0;
    virtual void bild_spiegeln(int32_t richtung) = 0;  // 1 horizontal, 2 vertical
    virtual void linie_zeichnen(int32_t farbe, int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    // Mode 0 outline, 1 filled, -1 the area outside the ellipse filled.
    virtual void ellipse_zeichnen(int32_t farbe, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t deckkraft,
                                  int32_t modus) = 0;
    virtual void rechteck_fuellen(int32_t farbe, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                  int32_t deckkraft) = 0;
    virtual int32_t durchschnittsfarbe() = 0;

    // --- files written by scripts
    // False when a script may not write the file at this path (during a
    // gallery run only files below the output are written).
    virtual bool schreiben_erlaubt(const std::string& pfad) {
        (void)pfad;
        return true;
    }

    // --- files read by scripts
    // False when a script may not read the file the kernel opened, named by
    // its real path (during a gallery run only the run's own folders).
    virtual bool lesen_erlaubt(const std::string& realer_pfad) {
        (void)realer_pfad;
        return true;
    }
};

// Installs the host the caller keeps alive; nullptr removes it.
void set_builtin_host(BuiltinHost* host);
BuiltinHost* builtin_host();

}  // namespace galvora
