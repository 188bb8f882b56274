#pragma once
// What every built-in shares: reading and testing its arguments, reporting a
// failed check through the engine, and turning any failure into @ERROR.
//
// A built-in body throws `QimFehler` for a failed check (the code is recorded
// with ZNS::fehler) and anything else for a failure inside (a silent @ERROR:
// the error variables keep their values). `eingebaut` wraps a body so that
// both end in the @ERROR result and nothing escapes into the machine.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "script/engine.h"
#include "script/internal_functions.h"
#include "script/operators.h"
#include "script/value.h"

namespace galvora::builtins {

// A failed argument check with its run-time error code.
struct QimFehler {
    int32_t code;
};

// A failure inside a built-in that records nothing.
struct StillerFehler {};

[[noreturn]] inline void melden(int32_t code) { throw QimFehler{code}; }
[[noreturn]] inline void still() { throw StillerFehler{}; }

// Before a built-in builds a text of n bytes: a text longer than any text may
// be, or one the script memory could not take, stops the script run
// (ZNSSpeichergrenze) before the memory is taken.
inline void textlaenge_pruefen(size_t n) {
    if (n > max_textlaenge) throw ZNSSpeichergrenze();
    wertspeicher_pruefen(n);
}

// The context of one call: the engine, the result value and the arguments.
class Aufruf {
public:
    Aufruf(ZNS& engine, ZNSWertRef& result);

    ZNS& engine() const { return e_; }
    ZNSVariable& result() const { return *result_; }

    int32_t anzahl() const { return anzahl_; }
    // The argument (1-based); an undefined stand-in outside the count.
    const ZNSVariable& arg(int32_t i) const;

    // Count check: error 2 unless von <= count <= bis.
    void anzahl_pruefen(int32_t von, int32_t bis) const;

    // Type checks (error 3 on mismatch) that return the value converted.
    int32_t integer_arg(int32_t i) const;           // type 1 only
    int32_t zahl_als_integer(int32_t i) const;      // integer or double, rounded
    double zahl_arg(int32_t i) const;               // integer or double
    const std::string& string_arg(int32_t i) const; // type 4 only
    int32_t symbol_arg(int32_t i) const;            // type 3: the symbol number

    bool ist_symbol(int32_t i, const ZNSWertRef& symbol) const;

    // Result setters.
    void symbol_kopieren(const ZNSWertRef& symbol) const;
    void wahrheit(bool w) const;
    void leer() const { result_->set_string(""); }

private:
    ZNS& e_;
    ZNSWertRef& result_;
    int32_t anzahl_;
};

// A double rounded to 32 bits, halves to even; a silent failure when it does not fit.
int32_t runden_oder_still(double v);

// Number of the symbol value.
inline int32_t symbol_nummer(const ZNSWertRef& s) { return s->als_integer(); }

using BuiltinKoerper = std::function<void(Aufruf&)>;

// Registers the built-in "qim_<name>" with its body inside the shared frame.
void eingebaut(std::string_view name, BuiltinKoerper koerper);

// Registration of the families; each lives beside its built-ins.
void typ_builtins_registrieren();
void datei_builtins_registrieren();
void mathe_builtins_registrieren();
void text_builtins_registrieren();
void datenbank_builtin_registrieren();
void exif_builtins_registrieren();
void iptc_kommentar_builtins_registrieren();
void lauf_builtins_registrieren();
void zeichnen_builtins_registrieren();

}  // namespace galvora::builtins

namespace galvora {

// Fills the built-in table with all 65 operations (again on every call).
void eingebaute_funktionen_registrieren();
// The same, only the first time in a program run: the engine calls it when it
// is created, so tests that replace a built-in keep their replacement.
void eingebaute_funktionen_einmal_registrieren();

}  // namespace galvora
