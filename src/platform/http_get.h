#pragma once
// One HTTP or HTTPS GET of a small text over libcurl, for the update query:
// a time limit for the whole exchange, a cap on the bytes taken from the
// body, no redirects followed, nothing taken from a cache, and the status
// code of the reply handed back so the caller can refuse error pages.
#include <cstddef>
#include <string>

namespace galvora {

struct HttpAnfrage {
    std::string adresse;             // http:// or https://; other schemes are refused
    std::string agent = "Galvora";   // User-Agent header
    long zeitlimit_ms = 10000;       // the whole exchange, connecting included
    std::size_t hoechstens_bytes = 0;  // the body is read up to this many bytes
};

struct HttpAntwort {
    bool erreicht = false;   // a reply with a status line came back
    long status = 0;         // its HTTP status code
    std::string inhalt;      // the body, at most `hoechstens_bytes` bytes of it
    bool abgeschnitten = false;  // the body went on beyond the cap
    std::string fehler;      // libcurl's description when no usable reply came
};

// Blocks until the reply is in, the cap is reached, the time limit has run
// out or the connection failed. Safe to call from a worker thread.
HttpAntwort http_holen(const HttpAnfrage& anfrage);

}  // namespace galvora
