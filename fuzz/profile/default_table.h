#pragma once
// A settings table holding the built-in keys and defaults, as the profile
// reader expects to find it before it reads a file.
#include <cstddef>

#include "profile/settings_table.h"

namespace galvora::fuzz {

inline void default_table(Profiltabelle& table) {
    for (auto& entry : table) entry = Profileintrag{};
    for (const auto& d : setting_definitions()) {
        table[static_cast<std::size_t>(d.index)] = Profileintrag{d.key, d.default_value};
    }
}

}  // namespace galvora::fuzz
