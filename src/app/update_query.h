#pragma once
// The about box's update query: one read of the maker's small version file,
// which holds the current release and the current beta version separated by
// ";". The versions are only shown, never compared with the running one.
#include <cstddef>
#include <string>

#include "platform/http_get.h"

namespace galvora {

// A reply is taken when it holds 1 to 50 bytes; the read stops after 51, which
// is enough to know that a reply is too long.
inline constexpr std::size_t kUpdateAntwortHoechstens = 50;
inline constexpr std::size_t kUpdateLesegrenze = kUpdateAntwortHoechstens + 1;
// The agent name given to the server.
inline constexpr const char* kUpdateAgent = "Galvora";

// The address of the version file: the build's setting unless a caller (a
// test pointing at its own server) has set another.
std::string update_adresse();
void set_update_adresse(std::string adresse);  // "" goes back to the build's address
// Time limit of the whole query.
long update_zeitlimit_ms();
void set_update_zeitlimit_ms(long ms);  // 0 goes back to the default

struct UpdateAuskunft {
    bool verfuegbar = false;  // false: "MsgInfoNotAvailable"
    std::string release;
    std::string beta;         // the "MsgInfoNoBeta" text when the reply names none
};

// The reply rules: a status other than 2xx, an empty or over-long body, or a
// body without a release version gives no information. Otherwise the body,
// with the blanks at both ends of the whole removed, is split at ";": the
// first field is the release, the second the beta. Line breaks are not
// blanks: they stay in the texts (and count towards the 50 bytes).
UpdateAuskunft update_antwort_auswerten(const HttpAntwort& antwort);

// Fetches the version file (blocking; the window calls it from a worker thread).
UpdateAuskunft update_abfragen();

// Shows the answer: "MsgInfoUpdate" with release and beta, or
// "MsgInfoNotAvailable"; information icon, the program's title.
void update_melden(const UpdateAuskunft& auskunft);

}  // namespace galvora
