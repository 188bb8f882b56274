#pragma once
// The ZantoScript scanner: template text, script tokens and (for the editor's
// colouring) script tokens with comments, one token of lookahead.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace galvora {

// Token codes.
enum ZNSToken : int32_t {
    TOK_LEER = 2000,
    TOK_BEZEICHNER = 2001,
    TOK_STRING = 2002,
    TOK_INTEGER = 2003,
    TOK_HEX = 2004,
    TOK_DEZIMAL = 2005,
    TOK_SYMBOL = 2006,
    TOK_GLEICH = 3001,
    TOK_UNGLEICH = 3002,
    TOK_KLEINER_GLEICH = 3003,
    TOK_GROESSER_GLEICH = 3004,
    TOK_KLEINER = 3005,
    TOK_GROESSER = 3006,
    TOK_NICHT = 3007,
    TOK_TILDE = 3008,
    TOK_ODER = 3009,
    TOK_UND = 3010,
    TOK_BIT_ODER = 3011,
    TOK_BIT_UND = 3012,
    TOK_BIT_XOR = 3013,
    TOK_SLASH = 3020,
    TOK_FUNCTION = 4000,
    TOK_GKLAMMER_AUF = 4001,
    TOK_GKLAMMER_ZU = 4002,
    TOK_IF = 4003,
    TOK_ELSE = 4004,
    TOK_WHILE = 4005,
    TOK_FOR = 4006,
    TOK_BREAK = 4007,
    TOK_CONTINUE = 4008,
    TOK_RETURN = 4009,
    TOK_GLOBAL = 4010,
    TOK_TEMPLATE = 4011,
    TOK_SWITCH = 4012,
    TOK_CASE = 4013,
    TOK_DEFAULT = 4014,
    TOK_ZUWEISUNG = 5001,
    TOK_KOMMENTAR = 6001,
    TOK_AT_ALLEIN = 7001,
    TOK_STRING_OFFEN = 7002,
    TOK_ENDE = 9999,
};

// The reserved words of the language, in lower case, with their tokens;
// scripts may write them in any case.
struct ZNSSchluesselwort {
    const char* wort;
    int32_t code;
};
std::span<const ZNSSchluesselwort> zns_schluesselwoerter();

// Lexer modes.
enum ZNSLexerModus : int32_t { MODUS_TEMPLATE = 0, MODUS_SKRIPT = 1, MODUS_FARBE = 2 };

class ZNSScanner {
public:
    // Makes text the source at position 1, line 1, and empties the lookahead.
    void quelle_setzen(std::string_view text);
    void modus_setzen(int32_t modus) { modus_ = modus; }
    int32_t modus() const { return modus_; }

    int32_t naechstes_token(std::string& text);
    int32_t token_vorschau_text(std::string& text);
    int32_t token_vorschau();
    int32_t token_holen(std::string& text);
    void token_verbrauchen();

    int32_t zeile() const { return zeile_; }
    int32_t position() const { return position_; }
    int32_t token_start() const { return token_start_; }
    // Text of the lookahead token (scanning one when the lookahead is empty).
    const std::string& vorschau_text();

    // Code of a character in the Windows-1252 code page (1 for characters that
    // have no code there, 4 past the end of the source).
    static int32_t ansi_code(char32_t c);

private:
    char32_t zeichen(int32_t pos) const;
    bool zeilenende(int32_t pos) const;

    std::u32string quelle_;
    int32_t position_ = 1;
    int32_t zeile_ = 1;
    int32_t modus_ = MODUS_SKRIPT;
    int32_t token_start_ = 0;
    bool vorschau_gueltig_ = false;
    int32_t vorschau_code_ = TOK_LEER;
    std::string vorschau_text_;
};

}  // namespace galvora
