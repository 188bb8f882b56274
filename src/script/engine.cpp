#include "script/engine.h"

#include <clocale>

#include "foundation/language.h"
#include "foundation/log.h"
#include "foundation/messages.h"
#include "script/builtins/builtin_frame.h"
#include "script/machine.h"
#include "script/operators.h"
#include "script/value_memory.h"

namespace galvora {

namespace {

std::unique_ptr<ZNS>& engine_objekt() {
    static std::unique_ptr<ZNS> e;
    return e;
}

struct FehlerText {
    int32_t code;
    const char* schluessel;
};

constexpr FehlerText laufzeit_schluessel[] = {
    {1, "ErrQIMFunctionUnknown"},      {2, "ErrQIMParameterCount"},       {3, "ErrQIMParametertype"},
    {4, "ErrQIMParameter"},            {5, "ErrQIMDatabaseType"},         {6, "ErrQIMDatabaseField"},
    {7, "ErrQIMEXIFDataUnknown"},      {8, "ErrQIMEXIFMissing"},          {9, "ErrQIMEXIFSectionUnknown"},
    {10, "ErrQIMEXIFMakernoteUnknown"}, {11, "ErrQIMEXIFTagUnknown"},      {12, "ErrQIMEXIFTagposition"},
    {13, "ErrQIMEXIFFormat"},          {14, "ErrQIMEXIFDatatypeUnknown"}, {15, "ErrQIMIPTCDataUnknown"},
    {16, "ErrQIMIPTCTagposition"},     {17, "ErrQIMIPTCTagUnknown"},      {18, "ErrQIMIPTCTagMissing"},
    {19, "ErrQIMCommentMissing"},      {20, "ErrQIMDirNotExist"},         {21, "ErrQIMImageNotExist"},
    {22, "ErrQIMWSHMissing"},
};

// Why the machine stopped a run.
constexpr FehlerText abbruch_schluessel[] = {
    {QIM_BEFEHLSGRENZE, "ErrQIMInstructionLimit"}, {QIM_AUFRUFTIEFE, "ErrQIMCallDepth"},
    {QIM_ABGEBROCHEN, "ErrQIMCancelled"}, {QIM_SPEICHER, "ErrQIMOutOfMemory"},
};

// The German texts of the stop messages; a language file without them (one
// made for an older version) shows them too.
const char* eigener_text(std::string_view schluessel) {
    if (schluessel == "ErrQIMInstructionLimit") return "Skript angehalten: zu viele Anweisungen";
    if (schluessel == "ErrQIMCallDepth") return "Skript angehalten: Aufruftiefe zu groß";
    if (schluessel == "ErrQIMCancelled") return "Skript abgebrochen";
    if (schluessel == "ErrQIMOutOfMemory") return "Skript angehalten: zu wenig Speicher";
    return nullptr;
}

}  // namespace

std::string meldungstext(const char* schluessel, const char* fallback) {
    std::string text = inq("Msg", schluessel);
    const std::string_view k(schluessel);
    const bool fehlt = text.size() == k.size() + 2 && text.front() == '?' && text.back() == '?' &&
                       std::string_view(text).substr(1, k.size()) == k;
    if (fehlt && fallback) return fallback;
    return text;
}

ZNS* zns() { return engine_objekt().get(); }

void script_objekt_anlegen() {
    if (!engine_objekt()) engine_objekt() = std::make_unique<ZNS>();
    else engine_objekt()->reset();
}

void script_objekt_freigeben() { engine_objekt().reset(); }

ZNS::ZNS() {
    eingebaute_funktionen_einmal_registrieren();
    reset();
}

void ZNS::reset() {
    const_oba = ZNSKonstanteArray();
    gvar_oba = ZNSGlobaleVariableArray();

#define GALVORA_ZNS_SYMBOL_ANLEGEN(name, feld) feld = const_oba.e_alloc(#name);
    GALVORA_ZNS_SYMBOLE(GALVORA_ZNS_SYMBOL_ANLEGEN)
#undef GALVORA_ZNS_SYMBOL_ANLEGEN

    errn_last = gvar_oba.alloc("ERRN_LAST", true);
    errs_last = gvar_oba.alloc("ERRS_LAST", true);
    errf_last = gvar_oba.alloc("ERRF_LAST", true);
    errn_last->set_integer(0);
    errs_last->set_string("");
    errf_last->set_string("");

    const std::lconv* lc = std::localeconv();
    dezimal_trenner = (lc && lc->decimal_point && *lc->decimal_point) ? lc->decimal_point : ".";

    fkt_oba = ZNSFunktionArray();
    zns_funktionen = std::make_unique<ZNSInterneFunktionen>();
    zns_funktionen->SetParent(this);
    interne_registrieren();
    typtabelle_fuellen();
}

void ZNS::interne_registrieren() {
    for (const auto& name : ZNSInterneFunktionen::members())
        fkt_oba.reserviere(std::string_view(name).substr(4), FKT_INTERN, "");
}

void ZNS::typtabelle_fuellen() {
    typtabelle.typtabelle_dimensionieren(0, 5);
    const int32_t eintraege[][3] = {
        {1, 1, 1}, {1, 2, 2}, {1, 3, 3}, {1, 4, 4}, {1, 5, 5}, {2, 2, 2}, {2, 3, 3}, {2, 4, 4},
        {2, 5, 5}, {3, 3, 3}, {3, 4, 4}, {3, 5, 3}, {4, 4, 4}, {4, 5, 4}, {5, 5, 5},
    };
    for (const auto& e : eintraege) typtabelle.typtabelle_setzen(e[0], e[1], e[2]);
}

int32_t ZNS::funktioncall(ZNSWertRef& result, const ZNSFunktion& funktion) {
    funktion_aktuell = funktion.bezeichner;
    const std::string member = "qim_" + funktion.bezeichner;
    const ZNSInterneFunktion* f = ZNSInterneFunktionen::suchen(member);
    if (f && zns_funktionen) {
        try {
            return (*f)(*zns_funktionen, result);
        } catch (const ZNSSpeichergrenze&) {
            throw;
        } catch (const std::exception& ex) {
            log_line("ZantoScript: " + member + ": " + ex.what());
        } catch (...) {
        }
    }
    // No operation for the name, or one that failed unexpectedly.
    meldung_text(program_title(), MB_ICON_STOP, "Internal Error\n\nCALL of Function\n" + funktion.bezeichner);
    return 0;
}

const char* ZNS::fehler_schluessel(int32_t code) {
    for (const auto& f : laufzeit_schluessel)
        if (f.code == code) return f.schluessel;
    return "ErrQIMErrorMissing";
}

void ZNS::fehler(int32_t code) { fehler_eintragen(code, fehler_schluessel(code)); }

void ZNS::laufabbruch(int32_t code) {
    const char* schluessel = "ErrQIMErrorMissing";
    for (const auto& f : abbruch_schluessel)
        if (f.code == code) schluessel = f.schluessel;
    fehler_eintragen(code, schluessel);
}

void ZNS::fehler_eintragen(int32_t code, const char* schluessel) {
    // Also when the script that failed used up the memory.
    WertspeicherReserve reserve;
    const std::string text = meldungstext(schluessel, eigener_text(schluessel));
    errn_last->set_integer(code);
    std::string zeile = funktion_aktuell;
    zeile.append(": (").append(zahl_zu_text(code)).append(") ").append(text);
    errs_last->set_string(std::move(zeile));
    errf_last->set_string(aufrufstapel(0));
}

}  // namespace galvora
