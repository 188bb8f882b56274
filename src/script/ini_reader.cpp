#include "script/ini_reader.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "foundation/bounded_read.h"
#include "foundation/text_codec.h"
#include "script/builtins/builtin_host.h"
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
    std::error_code ec;
    return skripttextdatei_lesen(pfad, ec);
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

std::optional<std::vector<std::string>> skripttextdatei_lesen(const std::string& pfad, std::error_code& ec) {
    ec.clear();
    if (pfad.empty()) {
        ec = std::make_error_code(std::errc::no_such_file_or_directory);
        return std::nullopt;
    }
    const size_t grenze = wertspeicher_grenze();
    const size_t frei = wertspeicher_belegt() < grenze ? grenze - wertspeicher_belegt() : 0;
    BuiltinHost* host = builtin_host();
    auto bytes = read_file_bounded(std::filesystem::path(pfad), frei / 3, ec, [host](const std::string& real) {
        return host == nullptr || (!real.empty() && host->lesen_erlaubt(real));
    });
    if (!bytes) {
        if (ec.value() == EFBIG) throw ZNSSpeichergrenze();
        return std::nullopt;
    }
    return split_lines(decode_text(*bytes));
}

}  // namespace galvora
