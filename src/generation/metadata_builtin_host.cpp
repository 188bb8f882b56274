#include "generation/metadata_builtin_host.h"

#include <limits>

#include "generation/metadata_accessors.h"
#include "image/metadata/metadata_definition.h"

namespace galvora {

namespace {

bool fits_script_integer(const ExifValue& value) {
    const auto* n = std::get_if<std::int64_t>(&value);
    return !n || (*n >= std::numeric_limits<int32_t>::min() && *n <= std::numeric_limits<int32_t>::max());
}

ExifKomponente komponente(const ExifValue& value, bool as_double) {
    if (const auto* n = std::get_if<std::int64_t>(&value)) {
        if (as_double) return static_cast<double>(*n);
        return static_cast<int32_t>(*n);
    }
    if (const auto* d = std::get_if<double>(&value)) return *d;
    return std::get<std::string>(value);
}

}  // namespace

bool MetadataBuiltinHost::bild_hat_exif() { return galvora::bild_hat_exif(); }
int32_t MetadataBuiltinHost::bild_exifkennung() { return galvora::bild_exifkennung(); }
int64_t MetadataBuiltinHost::bild_exif_anzahl(int32_t section) { return galvora::bild_exif_anzahl(section); }

bool MetadataBuiltinHost::bild_exif_wert(int32_t section, int32_t tag, ExifEintrag& eintrag) {
    ZNExif record;
    if (!galvora::bild_exif_wert(section, tag, record)) return false;
    // Script integers have 32 bits: an unsigned LONG of 2^31 or more makes the
    // whole entry a list of numbers, so that no value is cut to another.
    bool as_double = false;
    for (const auto& value : record.inhalt) as_double = as_double || !fits_script_integer(value);
    eintrag.tag = record.tag;
    eintrag.typ = as_double ? kExifTypDouble : record.typ;
    eintrag.big_endian = record.big_endian;
    eintrag.komponenten.clear();
    eintrag.komponenten.reserve(record.inhalt.size());
    for (const auto& value : record.inhalt) eintrag.komponenten.push_back(komponente(value, as_double));
    return true;
}

bool MetadataBuiltinHost::bild_exif_nummer(int32_t section, int64_t position, int64_t& tag) {
    return galvora::bild_exif_nummer(section, position, tag);
}

double MetadataBuiltinHost::bild_brennweitenfaktor(double brennweite) {
    return galvora::bild_brennweitenfaktor(brennweite);
}

int32_t MetadataBuiltinHost::exif_tag_suchen(int32_t makernote_code, int32_t section, const std::string& name) {
    return FindExifTag(makernote_code, section, name);
}

std::optional<ExifDefinition> MetadataBuiltinHost::exif_definition(int32_t makernote_code, int32_t section,
                                                                   int32_t tag, int32_t index) {
    const ExifTag* def = ExifNiceValue(makernote_code, section, tag, index);
    if (!def) return std::nullopt;
    ExifDefinition out;
    out.name = def->bezeichnung;
    out.anzeige_modus = def->fmt;
    for (const auto& [value, nice] : def->nice_texts()) out.nice_texte[value] = nice.bezeichnung;
    return out;
}

bool MetadataBuiltinHost::bild_iptc_wert(int32_t nummer, std::string& text) {
    return galvora::bild_iptc_wert(nummer, text);
}
int64_t MetadataBuiltinHost::bild_iptc_anzahl() { return galvora::bild_iptc_anzahl(); }
bool MetadataBuiltinHost::bild_iptc_nummer(int64_t position, int64_t& nummer) {
    return galvora::bild_iptc_nummer(position, nummer);
}
int32_t MetadataBuiltinHost::iptc_tag_suchen(const std::string& name) { return FindIptcTagByName(name); }
bool MetadataBuiltinHost::iptc_tagname(int32_t nummer, std::string& name) { return galvora::iptc_tagname(nummer, name); }
int64_t MetadataBuiltinHost::bild_kommentar_anzahl() { return galvora::bild_kommentar_anzahl(); }
bool MetadataBuiltinHost::bild_kommentar_text(const std::string& schluessel, std::string& text) {
    return galvora::bild_kommentar_text(schluessel, text);
}
bool MetadataBuiltinHost::bild_kommentar_pos_text(int64_t position, std::string& text) {
    return galvora::bild_kommentar_pos_text(position, text);
}
bool MetadataBuiltinHost::bild_kommentar_schluessel(int64_t position, std::string& schluessel) {
    return galvora::bild_kommentar_schluessel(position, schluessel);
}

}  // namespace galvora
