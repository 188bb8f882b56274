#include "app/window_texts.h"

#include "foundation/language.h"

namespace galvora {

void designtexte_aufnehmen(const char* fenster, const std::vector<Designtext>& texte) {
    ZNLanguage* deutsch = sprache_deutsch();
    if (deutsch == nullptr) return;
    for (const Designtext& t : texte) deutsch->store(fenster, t.tag, t.text);
}

std::string fenstertext(const char* fenster, const char* tag) { return inq(fenster, tag); }

}  // namespace galvora
