#include "script/ini_reader.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "foundation/text_codec.h"
#include "script/engine.h"

namespace galvora {

namespace {

std::string_view trimmen(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

void auf_fehler(ZNSVariable& ergebnis) {
    auto f = fehler_kopie();
    f->copy(ergebnis);
}

std::optional<std::vector<std::string>> zeilen_lesen(const std::string& pfad) {
    if (pfad.empty()) return std::nullopt;
    std::error_code ec;
    std::filesystem::path p(pfad);
    if (std::filesystem::is_directory(p, ec)) return std::nullopt;
    // Held three times while it is read: a file the script memory could not
    // take stops the run before any of it is read.
    if (const auto groesse = std::filesystem::file_size(p, ec); !ec) {
        if (groesse > SIZE_MAX / 3) throw ZNSSpeichergrenze();
        wertspeicher_pruefen(static_cast<size_t>(groesse) * 3);
    }
    ec.clear();
    return read_text_lines(p, ec);
}

ZNSWertRef text_wert(std::string_view name, std::string_view text) {
    auto v = neuer_wert();
    v->bezeichner = std::string(name);
    v->set_string(std::string(text));
    return v;
}

}  // namespace

void ini_datei_lesen(const std::string& pfad, ZNSVariable& ergebnis) {
    auto wurzel = ergebnis.set_array();
    auto zeilen = zeilen_lesen(pfad);
    if (!zeilen) return auf_fehler(ergebnis);
    std::shared_ptr<ZNSArray> sektion;
    auto sektion_anlegen = [&](std::string_view name) {
        auto element = wurzel->item(ZNSIndex::key(std::string(name)));
        sektion = element->set_array();
    };
    for (const auto& roh : *zeilen) {
        std::string_view zeile = trimmen(roh);
        if (zeile.empty() || zeile.front() == ';') continue;
        if (zeile.size() >= 2 && zeile.front() == '[' && zeile.back() == ']') {
            sektion_anlegen(trimmen(zeile.substr(1, zeile.size() - 2)));
            continue;
        }
        if (!sektion) sektion_anlegen("GLOBAL");
        size_t gleich = zeile.find('=');
        if (gleich == std::string_view::npos) continue;
        std::string_view schluessel = trimmen(zeile.substr(0, gleich));
        if (schluessel.empty()) continue;
        sektion->add(text_wert(schluessel, trimmen(zeile.substr(gleich + 1))));
    }
}

void ion_datei_lesen(const std::string& pfad, ZNSVariable& ergebnis) {
    auto wurzel = ergebnis.set_array();
    auto zeilen = zeilen_lesen(pfad);
    if (!zeilen) return auf_fehler(ergebnis);
    for (const auto& roh : *zeilen) {
        std::string_view zeile = trimmen(roh);
        if (zeile.empty()) continue;
        std::string_view name, text;
        if (zeile.front() == '"') {
            size_t zu = zeile.find('"', 1);
            if (zu == std::string_view::npos) continue;
            name = zeile.substr(1, zu - 1);
            text = zeile.substr(zu + 1);
        } else {
            size_t blank = zeile.find(' ');
            if (blank == std::string_view::npos) continue;
            name = zeile.substr(0, blank);
            text = zeile.substr(blank + 1);
        }
        name = trimmen(name);
        if (name.empty()) continue;
        wurzel->add(text_wert(name, trimmen(text)));
    }
}

}  // namespace galvora
