#include "script/output.h"

#include <map>

#include "script/operators.h"

namespace galvora {

std::string ausgabe_puffer;

namespace {

std::map<int32_t, std::ostream*>& kanaele() {
    static std::map<int32_t, std::ostream*> k;
    return k;
}

int32_t aktueller_kanal = 0;

}  // namespace

void ausgabe_kanal_registrieren(int32_t nummer, std::ostream* strom) {
    if (nummer < 1) return;
    if (strom) kanaele()[nummer] = strom; else kanaele().erase(nummer);
}

void ausgabe_kanal_entfernen(int32_t nummer) { kanaele().erase(nummer); }

std::ostream* ausgabe_kanal(int32_t nummer) {
    auto it = kanaele().find(nummer);
    return it == kanaele().end() ? nullptr : it->second;
}

int32_t ausgabe_kanal_aktuell() { return aktueller_kanal; }
void ausgabe_kanal_setzen(int32_t kanal) { aktueller_kanal = kanal; }

void ausgabe_schreiben(const std::string& text) {
    if (text.empty()) return;
    if (aktueller_kanal == -1) {
        // The buffer is a text like any other: it grows no further than one
        // may be long, and never past the script memory.
        const size_t n = ausgabe_puffer.size() + text.size();
        if (n > max_textlaenge) throw ZNSSpeichergrenze();
        wertspeicher_pruefen(n);
        ausgabe_puffer += text;
    } else if (aktueller_kanal >= 1) {
        // A number without an open page writes nothing.
        if (std::ostream* s = ausgabe_kanal(aktueller_kanal)) s->write(text.data(), static_cast<std::streamsize>(text.size()));
    }
}

void ausgabe(const ZNSVariable& v) {
    if (v.typ == TYP_STRING) return ausgabe_schreiben(v.als_text());
    ausgabe_schreiben(ausgabe_text(v));
}

}  // namespace galvora
