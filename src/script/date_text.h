#pragma once
// Dates of the script language are OLE serial day numbers (days since
// 1899-12-30, the time of day as the fraction). This formats them with the
// pattern letters of the language's date patterns: d dd ddd dddd, m mm mmm
// mmmm, yy yyyy, h hh, n nn (and mm right after an hour), s ss. Month and
// weekday names follow the user's regional settings (LC_TIME).
#include <string>
#include <string_view>

namespace galvora {

std::string ole_datum_formatieren(double serial, std::string_view muster);

}  // namespace galvora
