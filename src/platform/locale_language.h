#pragma once
// The language the user's locale asks messages to be in.
#include <string>

namespace galvora {

// The language part of the locale for messages, in lower case: "de" for
// "de_DE.UTF-8", "en" for "en_GB@euro". The locale is the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty, as the C library takes it.
// Empty for the untranslated locales "C" and "POSIX" (also "C.UTF-8") and
// when none of the three is set.
std::string locale_language();

}  // namespace galvora
