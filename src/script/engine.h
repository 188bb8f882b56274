#pragma once
// The script engine object: function table, constant pool with the predefined
// symbols, global variables with the read-only error variables, the built-in
// function object and the run-time error record.
#include <cstdint>
#include <memory>
#include <string>

#include "script/constant_pool.h"
#include "script/function_table.h"
#include "script/internal_functions.h"
#include "script/operators.h"
#include "script/value.h"

namespace galvora {

// The predefined symbols in the order that gives them the numbers 1 to 60.
#define GALVORA_ZNS_SYMBOLE(X)                                                                            \
    X(UNDEFINED, sym_undefiniert) X(TRUE, sym_wahr) X(FALSE, sym_falsch) X(EOD, sym_eod)                  \
    X(EMPTY, sym_empty) X(INTEGER, sym_int) X(DOUBLE, sym_double) X(STRING, sym_string)                   \
    X(SYMBOL, sym_enum) X(DATE, sym_date) X(ARRAY, sym_array) X(KEY, sym_key) X(ERROR, sym_fehler)        \
    X(UNKNOWN, sym_unbekannt) X(LEADING, sym_leading) X(TRAILING, sym_trailing) X(BOTH, sym_both)         \
    X(MAIN, sym_main) X(THUMBNAIL, sym_thumbnail) X(GPS, sym_gps) X(MAKERNOTE, sym_makernote)             \
    X(DRIVENAME, sym_drivename) X(DIRNAME, sym_dirname) X(FILENAME, sym_filename)                         \
    X(FILETYPE, sym_filetype) X(BIN, sym_bin) X(OCT, sym_oct) X(HEX, sym_hex) X(REGEXP, sym_regexp)       \
    X(FIRST, sym_first) X(INDEX, sym_index) X(COUNT, sym_count) X(REF, sym_ref) X(DOCREF, sym_docref)     \
    X(SIZE, sym_size) X(DIMX, sym_dimx) X(DIMY, sym_dimy) X(THUMBREF, sym_thumbref)                       \
    X(THUMBNAME, sym_thumbname) X(THUMBTYPE, sym_thumbtype) X(THUMBDIMX, sym_thumbdimx)                   \
    X(THUMBDIMY, sym_thumbdimy) X(HORIZONTAL, sym_horizontal) X(VERTICAL, sym_vertical)                   \
    X(NORMAL, sym_normal) X(THIN, sym_thin) X(BOLD, sym_bold) X(ITALIC, sym_italic)                       \
    X(UNDERLINE, sym_underline) X(STRIKEOUT, sym_strikeout) X(RED, sym_red) X(GREEN, sym_green)           \
    X(BLUE, sym_blue) X(OUTSIDE, sym_outside) X(BORDER, sym_border) X(FILL, sym_fill) X(DSN, sym_dsn)     \
    X(APPEND, sym_append) X(IONFILE, sym_ionfile) X(INIFILE, sym_inifile)

// Numbers of the predefined symbols (@UNDEFINED = 1 ... @INIFILE = 60).
enum ZNSSymbolNummer : int32_t {
#define GALVORA_ZNS_SYMBOL_NUMMER(name, feld) SYM_##name,
    SYM_KEINES = 0,
    GALVORA_ZNS_SYMBOLE(GALVORA_ZNS_SYMBOL_NUMMER)
#undef GALVORA_ZNS_SYMBOL_NUMMER
    SYM_ANZAHL_VORDEFINIERT = SYM_INIFILE
};

// Run-time error codes reported through ZNS::fehler (1 to 22 have texts of
// their own). The machine stops a run that does not end by itself with one of
// 101 to 104; those are recorded through ZNS::laufabbruch, so a built-in that
// passes on a foreign number in that range still gets the generic text.
enum ZNSLaufzeitfehler : int32_t {
    QIM_FUNKTION_UNBEKANNT = 1,
    QIM_ARGUMENTANZAHL = 2,
    QIM_ARGUMENTTYP = 3,
    QIM_ARGUMENT = 4,
    QIM_BEFEHLSGRENZE = 101,
    QIM_AUFRUFTIEFE = 102,
    QIM_ABGEBROCHEN = 103,
    QIM_SPEICHER = 104,
};

class ZNS {
public:
    ZNS();
    ZNS(const ZNS&) = delete;
    ZNS& operator=(const ZNS&) = delete;

    ZNSFunktionArray fkt_oba;
    ZNSKonstanteArray const_oba;
    ZNSGlobaleVariableArray gvar_oba;
    std::unique_ptr<ZNSInterneFunktionen> zns_funktionen;

#define GALVORA_ZNS_SYMBOL_FELD(name, feld) ZNSWertRef feld;
    GALVORA_ZNS_SYMBOLE(GALVORA_ZNS_SYMBOL_FELD)
#undef GALVORA_ZNS_SYMBOL_FELD

    ZNSWertRef errn_last;
    ZNSWertRef errs_last;
    ZNSWertRef errf_last;
    std::string dezimal_trenner = ".";
    std::string funktion_aktuell;

    // Result types of the two-operand operators.
    ZNSTypTabelle typtabelle;

    void reset();
    // Calls the built-in named by the function; result may be replaced.
    int32_t funktioncall(ZNSWertRef& result, const ZNSFunktion& funktion);
    // Records run-time error `code` in ERRN_LAST, ERRS_LAST and ERRF_LAST.
    void fehler(int32_t code);
    // Records why the machine stopped a run (QIM_BEFEHLSGRENZE ... QIM_SPEICHER).
    void laufabbruch(int32_t code);

    // Message key of a run-time error code.
    static const char* fehler_schluessel(int32_t code);

private:
    void fehler_eintragen(int32_t code, const char* schluessel);
    void interne_registrieren();
    void typtabelle_fuellen();
};

// Text of a "Msg" key in the current language; the built-in fallback when
// the language does not know the key (keys this program added later).
std::string meldungstext(const char* schluessel, const char* fallback);

// The program-wide engine object (nothing until script_objekt_anlegen).
ZNS* zns();
// Creates the engine, or resets it when it exists.
void script_objekt_anlegen();
void script_objekt_freigeben();

}  // namespace galvora
