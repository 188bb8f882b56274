#include "generation/script_glue.h"

#include "foundation/messages.h"
#include "foundation/string_helpers.h"
#include "profile/settings_table.h"
#include "script/compiler.h"
#include "script/engine.h"
#include "script/machine.h"

namespace galvora {

namespace {

ZNSFunktionRef script_function(std::string_view name) {
    ZNS* engine = zns();
    if (engine == nullptr) return nullptr;
    ZNSFunktionRef f = engine->fkt_oba.funktion_per_bezeichner(name);
    // An entry that is only called somewhere has no code to run.
    if (!f || f->typ != FKT_SKRIPT) return nullptr;
    return f;
}

}  // namespace

int32_t vorlage_uebersetzen(const std::string& name, const std::string& source) {
    if (ZNS* engine = zns()) {
        if (auto f = engine->fkt_oba.funktion_per_bezeichner(name); f && f->typ == FKT_SKRIPT) {
            engine->fkt_oba.lösche_funktion(name);
        }
    }
    return uebersetze(0, 0, name, source);
}

int32_t vorlagen_kompilieren(int first, int last, const std::string& page_kind_text) {
    for (int i = first; i <= last; ++i) {
        check_profile_index(i, "vorlagen_kompilieren");
        const Profileintrag& entry = Profileinstellungen()[static_cast<size_t>(i)];
        if (entry.key.empty() || trim_blanks(entry.value).empty()) continue;
        int32_t code = vorlage_uebersetzen(entry.key, entry.value);
        if (code != 0) {
            meldung("ZantoScript Compiler", MB_ICON_EXCLAMATION, "ErrTagLastErr",
                    {page_kind_text, profileintrag_beschreibung()[static_cast<size_t>(i)], fehlermeldung()});
            return code;
        }
    }
    return 0;
}

void vorlage_ausgeben(int32_t channel, int entry) {
    check_profile_index(entry, "vorlage_ausgeben");
    const Profileintrag& e = Profileinstellungen()[static_cast<size_t>(entry)];
    if (e.value.empty() || e.key.empty()) return;
    skriptfunktion_ausfuehren(channel, e.key);
}

bool skriptfunktion_vorhanden(std::string_view name) { return script_function(name) != nullptr; }

void skriptfunktion_ausfuehren(int32_t channel, std::string_view name) {
    if (ZNSFunktionRef f = script_function(name)) ausfuehren(channel, f);
}

}  // namespace galvora
