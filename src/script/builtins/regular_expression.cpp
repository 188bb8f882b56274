#define PCRE2_CODE_UNIT_WIDTH 8
#include "script/builtins/regular_expression.h"

#include <pcre2.h>

#include <stdexcept>

namespace galvora::builtins {

namespace {
// Enough for any sensible template pattern; a pattern that backtracks beyond
// this is stopped and the built-in yields @ERROR.
constexpr uint32_t treffer_grenze = 1'000'000;
constexpr uint32_t tiefen_grenze = 10'000;
constexpr uint32_t speicher_grenze_kib = 64 * 1024;
}  // namespace

struct RegulaererAusdruck::Daten {
    pcre2_code* code = nullptr;
    pcre2_match_context* kontext = nullptr;
    pcre2_match_data* treffer = nullptr;

    ~Daten() {
        if (treffer) pcre2_match_data_free(treffer);
        if (kontext) pcre2_match_context_free(kontext);
        if (code) pcre2_code_free(code);
    }

    // Runs one match from start; false when nothing matches; throws on a limit or an error.
    bool suchen(std::string_view text, size_t start, uint32_t optionen = 0) const {
        int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), start, optionen,
                             treffer, kontext);
        if (rc == PCRE2_ERROR_NOMATCH) return false;
        if (rc < 0) {
            PCRE2_UCHAR puffer[256];
            pcre2_get_error_message(rc, puffer, sizeof puffer);
            throw std::runtime_error(reinterpret_cast<const char*>(puffer));
        }
        return true;
    }
};

RegulaererAusdruck::RegulaererAusdruck(std::string_view muster, bool gross_klein_egal) : d_(std::make_unique<Daten>()) {
    int fehler = 0;
    PCRE2_SIZE stelle = 0;
    uint32_t optionen = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF;
    if (gross_klein_egal) optionen |= PCRE2_CASELESS;
    d_->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(muster.data()), muster.size(), optionen, &fehler, &stelle,
                             nullptr);
    if (!d_->code) {
        PCRE2_UCHAR puffer[256];
        pcre2_get_error_message(fehler, puffer, sizeof puffer);
        throw std::runtime_error(reinterpret_cast<const char*>(puffer));
    }
    d_->kontext = pcre2_match_context_create(nullptr);
    d_->treffer = pcre2_match_data_create_from_pattern(d_->code, nullptr);
    if (!d_->kontext || !d_->treffer) throw std::bad_alloc();
    pcre2_set_match_limit(d_->kontext, treffer_grenze);
    pcre2_set_depth_limit(d_->kontext, tiefen_grenze);
    pcre2_set_heap_limit(d_->kontext, speicher_grenze_kib);
}

RegulaererAusdruck::~RegulaererAusdruck() = default;

std::optional<size_t> RegulaererAusdruck::erster_treffer(std::string_view text) const {
    if (!d_->suchen(text, 0)) return std::nullopt;
    return pcre2_get_ovector_pointer(d_->treffer)[0];
}

std::string RegulaererAusdruck::ersetzen(std::string_view text, std::string_view ersatz, bool alle,
                                        const std::function<void(size_t)>& laenge_pruefen) const {
    std::string out;
    size_t pos = 0;       // where the unsearched text begins
    size_t kopiert = 0;   // text up to here is in out
    const uint32_t gruppen = pcre2_get_ovector_count(d_->treffer);
    while (pos <= text.size() && d_->suchen(text, pos)) {
        const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(d_->treffer);
        const size_t anfang = ov[0], ende = ov[1];
        // Every piece is measured before it is added: the literal characters
        // of the replacement at once, each copied part of the text on its own.
        auto anfuegen = [&](std::string_view teil) {
            if (laenge_pruefen) laenge_pruefen(out.size() + teil.size() + ersatz.size());
            out.append(teil);
        };
        anfuegen(text.substr(kopiert, anfang - kopiert));
        for (size_t i = 0; i < ersatz.size(); ++i) {
            char c = ersatz[i];
            if (c != '$' || i + 1 >= ersatz.size()) {
                out += c;
                continue;
            }
            char n = ersatz[i + 1];
            if (n == '$') {
                out += '$';
                ++i;
            } else if (n == '&') {
                anfuegen(text.substr(anfang, ende - anfang));
                ++i;
            } else if (n == '`') {
                anfuegen(text.substr(0, anfang));
                ++i;
            } else if (n == '\'') {
                anfuegen(text.substr(ende));
                ++i;
            } else if (n >= '0' && n <= '9') {
                // Two digits when that group exists, else one; a missing group stays literal.
                uint32_t g = static_cast<uint32_t>(n - '0');
                size_t laenge = 1;
                if (i + 2 < ersatz.size() && ersatz[i + 2] >= '0' && ersatz[i + 2] <= '9') {
                    uint32_t g2 = g * 10 + static_cast<uint32_t>(ersatz[i + 2] - '0');
                    if (g2 >= 1 && g2 < gruppen) g = g2, laenge = 2;
                }
                if (g >= 1 && g < gruppen) {
                    if (ov[2 * g] != PCRE2_UNSET) anfuegen(text.substr(ov[2 * g], ov[2 * g + 1] - ov[2 * g]));
                    i += laenge;
                } else {
                    out += c;
                }
            } else {
                out += c;
            }
        }
        kopiert = ende;
        if (!alle) break;
        if (ende == anfang) {
            // An empty match moves on by one character.
            if (ende >= text.size()) break;
            size_t naechster = ende + 1;
            while (naechster < text.size() && (static_cast<unsigned char>(text[naechster]) & 0xC0) == 0x80) ++naechster;
            pos = naechster;
        } else {
            pos = ende;
        }
    }
    if (laenge_pruefen) laenge_pruefen(out.size() + text.size() - kopiert);
    out.append(text.substr(kopiert));
    return out;
}

}  // namespace galvora::builtins
