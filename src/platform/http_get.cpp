#include "platform/http_get.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace galvora {

namespace {

void curl_einmal_starten() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Empfang {
    std::string* inhalt;
    std::size_t grenze;
    bool abgeschnitten = false;
};

// Takes what fits under the cap; returning less than offered makes libcurl
// stop the transfer, so a long error page is never read to its end.
size_t aufnehmen(char* daten, size_t groesse, size_t anzahl, void* ziel) {
    auto& e = *static_cast<Empfang*>(ziel);
    const size_t angeboten = groesse * anzahl;
    const size_t platz = e.grenze - e.inhalt->size();
    if (angeboten <= platz) {
        e.inhalt->append(daten, angeboten);
        return angeboten;
    }
    e.inhalt->append(daten, platz);
    e.abgeschnitten = true;
    return platz;
}

}  // namespace

HttpAntwort http_holen(const HttpAnfrage& anfrage) {
    HttpAntwort antwort;
    curl_einmal_starten();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        antwort.fehler = "curl_easy_init failed";
        return antwort;
    }
    CURL* c = curl.get();
    Empfang empfang{&antwort.inhalt, anfrage.hoechstens_bytes};

    // The version file must come from the server itself, not from a proxy's cache.
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> kopf(nullptr, &curl_slist_free_all);
    curl_slist* liste = curl_slist_append(nullptr, "Cache-Control: no-cache");
    if (liste != nullptr) liste = curl_slist_append(liste, "Pragma: no-cache");
    kopf.reset(liste);

    curl_easy_setopt(c, CURLOPT_URL, anfrage.adresse.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    // Direct access: no proxy from the environment stands between us and the server.
    curl_easy_setopt(c, CURLOPT_PROXY, "");
    curl_easy_setopt(c, CURLOPT_USERAGENT, anfrage.agent.c_str());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, kopf.get());
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, anfrage.zeitlimit_ms);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, anfrage.zeitlimit_ms);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &aufnehmen);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &empfang);

    const CURLcode ergebnis = curl_easy_perform(c);
    antwort.abgeschnitten = empfang.abgeschnitten;
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    antwort.status = status;
    // Stopping at the cap is our own doing, not a failure of the exchange.
    const bool am_limit = ergebnis == CURLE_WRITE_ERROR && empfang.abgeschnitten;
    antwort.erreicht = status != 0 && (ergebnis == CURLE_OK || am_limit);
    if (!antwort.erreicht) antwort.fehler = curl_easy_strerror(ergebnis);
    return antwort;
}

}  // namespace galvora
