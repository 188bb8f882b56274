#include "script/builtins/builtin_frame.h"

#include <cmath>
#include <exception>

#include "foundation/log.h"
#include "script/machine.h"
#include "script/operators.h"
#include "script/value_memory.h"

namespace galvora::builtins {

Aufruf::Aufruf(ZNS& engine, ZNSWertRef& result) : e_(engine), result_(result), anzahl_(arg_anzahl()) {
    if (!result_) result_ = neuer_wert();
}

const ZNSVariable& Aufruf::arg(int32_t i) const {
    static const ZNSVariable undefiniert;
    ZNSWertRef a = galvora::arg(i);
    return a ? *a : undefiniert;
}

void Aufruf::anzahl_pruefen(int32_t von, int32_t bis) const {
    if (anzahl_ < von || anzahl_ > bis) melden(QIM_ARGUMENTANZAHL);
}

int32_t Aufruf::integer_arg(int32_t i) const {
    const ZNSVariable& a = arg(i);
    if (a.typ != TYP_INTEGER) melden(QIM_ARGUMENTTYP);
    return a.als_integer();
}

int32_t Aufruf::zahl_als_integer(int32_t i) const {
    const ZNSVariable& a = arg(i);
    if (a.typ == TYP_INTEGER) return a.als_integer();
    if (a.typ != TYP_DOUBLE) melden(QIM_ARGUMENTTYP);
    return runden_oder_still(a.als_double());
}

double Aufruf::zahl_arg(int32_t i) const {
    const ZNSVariable& a = arg(i);
    if (!ist_zahl(a)) melden(QIM_ARGUMENTTYP);
    return a.als_double();
}

const std::string& Aufruf::string_arg(int32_t i) const {
    const ZNSVariable& a = arg(i);
    if (a.typ != TYP_STRING) melden(QIM_ARGUMENTTYP);
    return a.als_text();
}

int32_t Aufruf::symbol_arg(int32_t i) const {
    const ZNSVariable& a = arg(i);
    if (a.typ != TYP_SYMBOL) melden(QIM_ARGUMENTTYP);
    return a.als_integer();
}

bool Aufruf::ist_symbol(int32_t i, const ZNSWertRef& symbol) const {
    const ZNSVariable& a = arg(i);
    return a.typ == TYP_SYMBOL && a.als_integer() == symbol_nummer(symbol);
}

void Aufruf::symbol_kopieren(const ZNSWertRef& symbol) const { symbol->copy(*result_); }

void Aufruf::wahrheit(bool w) const { symbol_kopieren(w ? e_.sym_wahr : e_.sym_falsch); }

int32_t runden_oder_still(double v) {
    int32_t r = 0;
    if (!runden_bankers(v, r)) still();
    return r;
}

void eingebaut(std::string_view name, BuiltinKoerper koerper) {
    ZNSInterneFunktionen::registrieren(
        "qim_" + std::string(name),
        [koerper = std::move(koerper)](ZNSInterneFunktionen& self, ZNSWertRef& result) -> int32_t {
            ZNS* e = self.parent() ? self.parent() : zns();
            if (!e) return 0;
            if (!result) result = neuer_wert();
            try {
                Aufruf a(*e, result);
                koerper(a);
                return 0;
            } catch (const QimFehler& f) {
                e->fehler(f.code);
            } catch (const StillerFehler&) {
            } catch (const ZNSSpeichergrenze&) {
                // The script's values have used up their memory: the run stops.
                throw;
            } catch (const std::bad_alloc&) {
                log_line("ZantoScript: out of memory in " + e->funktion_aktuell);
            } catch (const std::exception&) {
            } catch (...) {
            }
            e->sym_fehler->copy(*result);
            return 0;
        });
}

}  // namespace galvora::builtins

namespace galvora {

void eingebaute_funktionen_registrieren() {
    using namespace builtins;
    typ_builtins_registrieren();
    datei_builtins_registrieren();
    mathe_builtins_registrieren();
    text_builtins_registrieren();
    datenbank_builtin_registrieren();
    exif_builtins_registrieren();
    iptc_kommentar_builtins_registrieren();
    lauf_builtins_registrieren();
    zeichnen_builtins_registrieren();
}

void eingebaute_funktionen_einmal_registrieren() {
    static const bool fertig = [] {
        eingebaute_funktionen_registrieren();
        return true;
    }();
    (void)fertig;
}

}  // namespace galvora
