#pragma once
// The metadata half of the host that the script built-ins call: EXIF, IPTC
// and comments of the engine's current picture (through the metadata
// accessors) and the definition look-ups. The engine's host derives from this
// and adds the directory, picture-information and drawing operations.
#include "script/builtins/builtin_host.h"

namespace galvora {

class MetadataBuiltinHost : public BuiltinHost {
public:
    bool bild_hat_exif() override;
    int32_t bild_exifkennung() override;
    int64_t bild_exif_anzahl(int32_t section) override;
    bool bild_exif_wert(int32_t section, int32_t tag, ExifEintrag& eintrag) override;
    bool bild_exif_nummer(int32_t section, int64_t position, int64_t& tag) override;
    double bild_brennweitenfaktor(double brennweite) override;

    int32_t exif_tag_suchen(int32_t makernote_code, int32_t section, const std::string& name) override;
    std::optional<ExifDefinition> exif_definition(int32_t makernote_code, int32_t section, int32_t tag,
                                                  int32_t index) override;

    bool bild_iptc_wert(int32_t nummer, std::string& text) override;
    int64_t bild_iptc_anzahl() override;
    bool bild_iptc_nummer(int64_t position, int64_t& nummer) override;
    int32_t iptc_tag_suchen(const std::string& name) override;
    bool iptc_tagname(int32_t nummer, std::string& name) override;
    int64_t bild_kommentar_anzahl() override;
    bool bild_kommentar_text(const std::string& schluessel, std::string& text) override;
    bool bild_kommentar_pos_text(int64_t position, std::string& text) override;
    bool bild_kommentar_schluessel(int64_t position, std::string& schluessel) override;
};

}  // namespace galvora
