#include "generation/settings_access.h"

#include "foundation/error.h"
#include "profile/number_text.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

[[noreturn]] void not_a_number(int index) {
    const Profileintrag& entry = Profileinstellungen()[static_cast<size_t>(index)];
    throw setting_not_a_number(entry.key, entry.value);
}

double setting_number(int index) {
    double value = 0;
    if (!text_to_number(profilwert(index), value)) not_a_number(index);
    return value;
}

}  // namespace

GalvoraError setting_not_a_number(const std::string& key, const std::string& value, const std::string& source) {
    return GalvoraError(13, source,
                        "Type mismatch: setting " + key + " = \"" + value + "\" is not a number");
}

const std::string& setting_text(int index) { return profilwert(index); }

bool setting_is_one(int index) { return setting_number(index) == 1.0; }

bool setting_not_zero(int index) { return setting_number(index) != 0.0; }

int32_t setting_int(int index) {
    int32_t value = 0;
    if (!text_to_int32(profilwert(index), value)) not_a_number(index);
    return value;
}

}  // namespace galvora
