#pragma once
// One instruction of the stack machine and the instruction list of a function.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "script/local_variables.h"
#include "script/value.h"

namespace galvora {

class ZNSFunktion;

// Operand kinds.
enum ZNSOperandArt : int32_t {
    OPD_KEINER = 1000,
    OPD_KONSTANTE = 1001,
    OPD_GLOBAL = 1002,
    OPD_LOKAL = 1003,
    OPD_STAPEL = 1004,
    OPD_DIREKT = 1005,
    OPD_FUNKTION = 1006,
    OPD_ELEMENT = 1007,
};

// Operation codes.
enum ZNSOp : int32_t {
    OP_NOP = 0,
    OP_ZUWEISEN = 1,
    OP_ADD = 2,
    OP_SUB = 3,
    OP_DIV = 4,
    OP_MUL = 5,
    OP_MOD = 6,
    OP_NEG = 7,
    OP_NICHT = 8,
    OP_GLEICH = 9,
    OP_UNGLEICH = 10,
    OP_KLEINER_GLEICH = 11,
    OP_KLEINER = 12,
    OP_GROESSER_GLEICH = 13,
    OP_GROESSER = 14,
    OP_BIT_ODER = 15,
    OP_BIT_XOR = 16,
    OP_BIT_UND = 17,
    OP_BIT_NICHT = 18,
    OP_PUSH_ZAHL = 19,
    OP_INDEX = 20,
    OP_SCHLUESSEL = 21,
    OP_CALL = 22,
    OP_RETURN = 23,
    OP_SPRUNG_WAHR = 24,
    OP_SPRUNG_FALSCH = 25,
    OP_ODER_SPRUNG = 26,
    OP_UND_SPRUNG = 27,
    OP_SPRUNG = 28,
    OP_ENDE = 29,
    OP_POP = 30,
    OP_ZUWEISEN_BEHALTEN = 31,
    OP_AUSGABE = 32,
};

// Address of an operand: an immediate number or a reference to a value, a
// local-variable entry or a function. Functions are held weakly (with their
// name) so that recursive functions do not keep each other alive.
struct ZNSAdresse {
    int32_t zahl = 0;
    ZNSWertRef wert;
    std::shared_ptr<ZNSLokaleVariable> lokal;
    std::weak_ptr<ZNSFunktion> funktion;
    std::string funktionsname;
};

struct ZNSInstruction {
    int32_t op = OP_NOP;
    int32_t typ1 = OPD_KEINER;
    ZNSAdresse adr1;
    int32_t typ2 = OPD_KEINER;
    ZNSAdresse adr2;
};

class ZNSInstruktionArray {
public:
    void reset() { liste_.clear(); }
    ZNSInstruction& store(int32_t op, int32_t typ1, ZNSAdresse adr1, int32_t typ2, ZNSAdresse adr2) {
        liste_.push_back(ZNSInstruction{op, typ1, std::move(adr1), typ2, std::move(adr2)});
        return liste_.back();
    }
    // 1-based.
    ZNSInstruction& inq(int32_t n) { return liste_[static_cast<size_t>(n - 1)]; }
    const ZNSInstruction& inq(int32_t n) const { return liste_[static_cast<size_t>(n - 1)]; }
    int32_t count() const { return static_cast<int32_t>(liste_.size()); }

private:
    std::vector<ZNSInstruction> liste_;
};

}  // namespace galvora
