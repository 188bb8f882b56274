#pragma once
// The ZantoScript compiler: one pass, recursive descent with one token of
// lookahead, emitting stack-machine instructions straight into the function
// being compiled. `uebersetze` is the only entry; compiles do not overlap.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/function_table.h"
#include "script/instruction.h"
#include "script/lexer.h"

namespace galvora {

// Compile error codes (message keys in ZNSCompiler::fehler_schluessel).
enum ZNSCompileFehler : int32_t {
    ZNS_OK = 0,
    ZNS_GLOBAL_DEKLARATION = 2,
    ZNS_FUNKTION_KLAMMER_ZU = 3,
    ZNS_KOERPER_FEHLT = 4,
    ZNS_ARGUMENTE_KLAMMER_ZU = 5,
    ZNS_SEMIKOLON = 6,
    ZNS_ECKIGE_KLAMMER_AUF = 7,
    ZNS_ECKIGE_KLAMMER_ZU = 8,
    ZNS_RUNDE_KLAMMER_AUF = 9,
    ZNS_RUNDE_KLAMMER_ZU = 10,
    ZNS_GESCHWEIFTE_KLAMMER_AUF = 11,
    ZNS_GESCHWEIFTE_KLAMMER_ZU = 12,
    ZNS_OPERAND_FEHLT = 13,
    ZNS_ARGUMENT_FEHLT = 14,
    ZNS_DOPPELPUNKT = 15,
    ZNS_ARGUMENTLISTE = 16,
    ZNS_CONTINUE = 17,
    ZNS_BREAK = 18,
    ZNS_FUNKTION_DOPPELT = 19,
    ZNS_FUNCTION_FEHLT = 20,
    ZNS_FUNKTIONSNAME = 21,
    ZNS_ZUWEISUNG_UNGUELTIG = 22,
    ZNS_ZUWEISUNG_SCHREIBGESCHUETZT = 23,
    ZNS_CASE_KONSTANTE = 24,
    ZNS_STRINGENDE = 25,
    ZNS_ENUM_NAME = 26,
    // Our own: nesting beyond what the compiler follows, and number literals
    // that do not fit their type.
    ZNS_ZU_TIEF = 27,
    ZNS_ZAHL_UNGUELTIG = 28,
};

class ZNSCompiler {
public:
    // 0 on success, 1 after a compile error. Mode 0: a template compiled into
    // one function called name; any other mode: a module called name.
    int32_t uebersetze(int32_t kanal, int32_t modus, std::string_view name, std::string_view text);

    std::string fehlermeldung() const;
    int32_t fehler_code() const { return fehler_code_; }
    const std::string& fehler_token() const { return fehler_token_; }
    int32_t fehler_zeile() const { return fehler_zeile_; }
    int32_t fehler_position() const { return fehler_position_; }

    static const char* fehler_schluessel(int32_t code);

private:
    struct Operand {
        int32_t art = OPD_KEINER;
        ZNSAdresse adr;
    };

    int fehler_setzen(int32_t code);
    int fehler_setzen(int32_t code, const std::string& token);

    int32_t naechste() const;
    int32_t emit(int32_t op);
    int32_t emit(int32_t op, const Operand& a);
    int32_t emit(int32_t op, const Operand& a, const Operand& b);
    void patchen(int32_t instruktion, int32_t ziel);
    static Operand direkt(int32_t zahl);
    static Operand stapel();
    Operand konstante(const ZNSWertRef& w) const;
    Operand variable(const std::string& name);

    int template_uebersetzen(std::string_view name);
    int modul_uebersetzen();

    int parse_funktion();
    int parse_global_dekl();
    int parse_anweisungsliste();
    int parse_anweisung();
    int parse_block();
    int parse_klammerausdruck(Operand& o);
    int parse_if();
    int parse_switch();
    int parse_while();
    int parse_for();
    int parse_break();
    int parse_continue();
    int parse_return();
    int parse_ausdrucksliste(Operand& o, bool& zuweisung);
    int parse_zuweisung(Operand& o, bool& zuweisung);
    int parse_bedingung(Operand& o);
    int parse_kurzschluss(Operand& o, int32_t token, int32_t op, int (ZNSCompiler::*stufe)(Operand&),
                          const ZNSWertRef& endwert);
    int parse_oder(Operand& o);
    int parse_und(Operand& o);
    int parse_bit_oder(Operand& o);
    int parse_bit_xor(Operand& o);
    int parse_bit_und(Operand& o);
    int parse_gleichheit(Operand& o);
    int parse_vergleich(Operand& o);
    int parse_summe(Operand& o);
    int parse_produkt(Operand& o);
    int parse_unaer(Operand& o);
    int parse_operand(Operand& o);
    int parse_primaer(Operand& o);
    int parse_argumentliste();
    int parse_literal(Operand& o);

    struct Schleife {
        size_t breaks;
        size_t continues;
    };
    Schleife schleife_beginnen();
    void schleife_beenden(const Schleife& schleife, int32_t ende, int32_t weiter);

    // Pops a value that an expression left on the stack and nobody uses.
    void verwerfen(const Operand& o);
    void sprungliste_patchen(std::vector<int32_t>& liste, size_t ab, int32_t ziel);

    ZNSScanner scanner_;
    ZNSFunktionRef funktion_;
    std::string modulname_;
    int32_t schleifen_tiefe_ = 0;  // while, for and switch
    int32_t echte_schleifen_ = 0;  // while and for only
    int32_t verschachtelung_ = 0;
    std::vector<int32_t> break_liste_;
    std::vector<int32_t> continue_liste_;

    int32_t fehler_code_ = 0;
    std::string fehler_token_;
    int32_t fehler_zeile_ = 0;
    int32_t fehler_position_ = 0;
};

// The program-wide compiler and its entry points.
ZNSCompiler& compiler();
int32_t uebersetze(int32_t kanal, int32_t modus, std::string_view name, std::string_view text);
std::string fehlermeldung();
int32_t fehler_zeile();
int32_t fehler_position();

}  // namespace galvora
