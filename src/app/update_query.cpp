#include "app/update_query.h"

#include <vector>

#include "foundation/language.h"
#include "foundation/messages.h"
#include "foundation/text_codec.h"

#ifndef GALVORA_UPDATE_URL
#error "GALVORA_UPDATE_URL, the address of the version file, is a build setting"
#endif

namespace galvora {

namespace {

constexpr long kStandardZeitlimitMs = 10000;

std::string& adresse_gesetzt() {
    static std::string adresse;
    return adresse;
}

long& zeitlimit_gesetzt() {
    static long ms = 0;
    return ms;
}

std::string blanks_entfernen(const std::string& text) {
    const size_t anfang = text.find_first_not_of(' ');
    if (anfang == std::string::npos) return {};
    const size_t ende = text.find_last_not_of(' ');
    return text.substr(anfang, ende - anfang + 1);
}

std::vector<std::string> felder(const std::string& text) {
    std::vector<std::string> teile;
    size_t start = 0;
    for (;;) {
        const size_t trenner = text.find(';', start);
        teile.push_back(text.substr(start, trenner == std::string::npos ? std::string::npos : trenner - start));
        if (trenner == std::string::npos) return teile;
        start = trenner + 1;
    }
}

}  // namespace

std::string update_adresse() { return adresse_gesetzt().empty() ? GALVORA_UPDATE_URL : adresse_gesetzt(); }

void set_update_adresse(std::string adresse) { adresse_gesetzt() = std::move(adresse); }

long update_zeitlimit_ms() { return zeitlimit_gesetzt() > 0 ? zeitlimit_gesetzt() : kStandardZeitlimitMs; }

void set_update_zeitlimit_ms(long ms) { zeitlimit_gesetzt() = ms; }

UpdateAuskunft update_antwort_auswerten(const HttpAntwort& antwort) {
    UpdateAuskunft auskunft;
    // A server's "Not Found" page or a redirect is no version file, however short.
    if (!antwort.erreicht || antwort.status < 200 || antwort.status > 299) return auskunft;
    if (antwort.abgeschnitten || antwort.inhalt.empty() || antwort.inhalt.size() > kUpdateAntwortHoechstens)
        return auskunft;
    // A short reply is shown as it is, also with an empty release part.
    const std::vector<std::string> teile = felder(blanks_entfernen(decode_text(antwort.inhalt)));
    auskunft.verfuegbar = true;
    auskunft.release = teile.front();
    auskunft.beta = teile.size() > 1 ? teile[1] : std::string();
    if (auskunft.beta.empty()) auskunft.beta = inq("Msg", "MsgInfoNoBeta");
    return auskunft;
}

UpdateAuskunft update_abfragen() {
    HttpAnfrage anfrage;
    anfrage.adresse = update_adresse();
    anfrage.agent = kUpdateAgent;
    anfrage.zeitlimit_ms = update_zeitlimit_ms();
    anfrage.hoechstens_bytes = kUpdateLesegrenze;
    return update_antwort_auswerten(http_holen(anfrage));
}

void update_melden(const UpdateAuskunft& auskunft) {
    if (auskunft.verfuegbar)
        meldung(program_title(), MB_ICON_INFORMATION, "MsgInfoUpdate", {auskunft.release, auskunft.beta});
    else
        meldung(program_title(), MB_ICON_INFORMATION, "MsgInfoNotAvailable");
}

}  // namespace galvora
