// The scanner in its three modes, and the colouring spans of editor lines.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "script/lexer.h"
#include "script/line_colouring.h"

namespace galvora {
namespace {

using Tokens = std::vector<std::pair<int32_t, std::string>>;

Tokens scannen(const std::string& text, int32_t modus = MODUS_SKRIPT) {
    ZNSScanner s;
    s.quelle_setzen(text);
    s.modus_setzen(modus);
    Tokens t;
    std::string wort;
    for (int i = 0; i < 100; ++i) {
        int32_t code = s.token_holen(wort);
        if (code == TOK_ENDE) break;
        t.emplace_back(code, wort);
    }
    return t;
}

struct LexFall {
    const char* text;
    Tokens erwartet;
};

TEST(Lexer, ScriptTokens) {
    const LexFall faelle[] = {
        {"12ab", {{TOK_INTEGER, "12"}, {TOK_BEZEICHNER, "ab"}}},
        {"0x1F 0X1f", {{TOK_HEX, "0x1F"}, {TOK_HEX, "0X1f"}}},
        {"10x", {{TOK_INTEGER, "10"}, {TOK_BEZEICHNER, "x"}}},
        {".", {{TOK_DEZIMAL, "."}}},
        {".5", {{TOK_DEZIMAL, ".5"}}},
        {"1.2.3", {{TOK_DEZIMAL, "1.2"}, {TOK_DEZIMAL, ".3"}}},
        {"\"a\"\"b\"", {{TOK_STRING, "a\"b"}}},
        {"\"\"", {{TOK_STRING, ""}}},
        {"\"offen\nx", {{TOK_STRING_OFFEN, "offen"}, {TOK_BEZEICHNER, "x"}}},
        {"\"bis zum Ende", {{TOK_STRING_OFFEN, "bis zum Ende"}}},
        {"@TRUE", {{TOK_SYMBOL, "@TRUE"}}},
        {"@ x", {{TOK_AT_ALLEIN, "@"}, {TOK_BEZEICHNER, "x"}}},
        {"@1", {{TOK_AT_ALLEIN, "@"}, {TOK_INTEGER, "1"}}},
        {"If IF iffy While", {{TOK_IF, "If"}, {TOK_IF, "IF"}, {TOK_BEZEICHNER, "iffy"}, {TOK_WHILE, "While"}}},
        {"<= =<", {{TOK_KLEINER_GLEICH, "<="}, {TOK_ZUWEISUNG, "="}, {TOK_KLEINER, "<"}}},
        {"!!", {{TOK_NICHT, "!"}, {TOK_NICHT, "!"}}},
        {"== != >= > ! ~ || && | & ^ /", {{TOK_GLEICH, "=="}, {TOK_UNGLEICH, "!="}, {TOK_GROESSER_GLEICH, ">="},
                                          {TOK_GROESSER, ">"}, {TOK_NICHT, "!"}, {TOK_TILDE, "~"},
                                          {TOK_ODER, "||"}, {TOK_UND, "&&"}, {TOK_BIT_ODER, "|"},
                                          {TOK_BIT_UND, "&"}, {TOK_BIT_XOR, "^"}, {TOK_SLASH, "/"}}},
        {"a // weg\nb", {{TOK_BEZEICHNER, "a"}, {TOK_BEZEICHNER, "b"}}},
        {"(a[#1]);", {{'(', "("}, {TOK_BEZEICHNER, "a"}, {'[', "["}, {'#', "#"}, {TOK_INTEGER, "1"},
                      {']', "]"}, {')', ")"}, {';', ";"}}},
        {"größe_2", {{TOK_BEZEICHNER, "größe_2"}}},
        {"function global switch case default for break continue return else",
         {{TOK_FUNCTION, "function"}, {TOK_GLOBAL, "global"}, {TOK_SWITCH, "switch"}, {TOK_CASE, "case"},
          {TOK_DEFAULT, "default"}, {TOK_FOR, "for"}, {TOK_BREAK, "break"}, {TOK_CONTINUE, "continue"},
          {TOK_RETURN, "return"}, {TOK_ELSE, "else"}}},
    };
    for (const auto& f : faelle) EXPECT_EQ(scannen(f.text), f.erwartet) << f.text;
}

TEST(Lexer, CommentsAreTokensInColourModeOnly) {
    EXPECT_EQ(scannen("x // rest\n", MODUS_FARBE), (Tokens{{TOK_BEZEICHNER, "x"}, {TOK_KOMMENTAR, "// rest"}}));
    EXPECT_EQ(scannen("x // rest\n", MODUS_SKRIPT), (Tokens{{TOK_BEZEICHNER, "x"}}));
}

TEST(Lexer, TemplateModeStopsBeforeBrace) {
    ZNSScanner s;
    s.quelle_setzen("<b>}x{y");
    s.modus_setzen(MODUS_TEMPLATE);
    std::string t;
    EXPECT_EQ(s.naechstes_token(t), TOK_TEMPLATE);
    EXPECT_EQ(t, "<b>}x");
    s.modus_setzen(MODUS_SKRIPT);
    EXPECT_EQ(s.naechstes_token(t), TOK_GKLAMMER_AUF);

    s.quelle_setzen("{a}");
    s.modus_setzen(MODUS_TEMPLATE);
    EXPECT_EQ(s.naechstes_token(t), TOK_LEER);
    EXPECT_EQ(t, "");

    s.quelle_setzen("");
    EXPECT_EQ(s.naechstes_token(t), TOK_ENDE);
}

// Every line break counts, also a line feed as the very first character
// and a lone carriage return: counting only the line feeds the scanner steps
// onto would put errors after a leading empty line, or after old Mac line
// ends, on a line above the one the editor shows.
TEST(Lexer, LinesAndPositions) {
    ZNSScanner s;
    s.quelle_setzen("a\nbb\n\n  c");
    s.modus_setzen(MODUS_SKRIPT);
    std::string t;
    // The line feed that ends a token is already counted.
    EXPECT_EQ(s.naechstes_token(t), TOK_BEZEICHNER);
    EXPECT_EQ(s.zeile(), 2);
    EXPECT_EQ(s.token_start(), 1);
    s.naechstes_token(t);
    EXPECT_EQ(t, "bb");
    EXPECT_EQ(s.token_start(), 3);
    EXPECT_EQ(s.zeile(), 3);
    s.naechstes_token(t);
    EXPECT_EQ(t, "c");
    EXPECT_EQ(s.token_start(), 9);
    EXPECT_EQ(s.zeile(), 4);
    EXPECT_EQ(s.naechstes_token(t), TOK_ENDE);

    // Positions count characters, not bytes.
    s.quelle_setzen("\"äöü\" x");
    s.naechstes_token(t);
    s.naechstes_token(t);
    EXPECT_EQ(s.token_start(), 7);

    // A text that starts with a line feed starts on line 2.
    s.quelle_setzen("\nx");
    s.naechstes_token(t);
    EXPECT_EQ(s.zeile(), 2);

    // CR LF counts once (at its line feed), a lone CR counts as a line end too.
    s.quelle_setzen("a\r\nb\rc\r\n\r\nd");
    for (int zeile : {1, 3, 3}) {
        s.naechstes_token(t);
        EXPECT_EQ(s.zeile(), zeile) << t;
    }
    s.naechstes_token(t);
    EXPECT_EQ(t, "d");
    EXPECT_EQ(s.zeile(), 5);

    // A byte-order mark in front is skipped.
    s.quelle_setzen("\xEF\xBB\xBFif");
    EXPECT_EQ(s.naechstes_token(t), TOK_IF);
    EXPECT_EQ(s.token_start(), 1);
}

TEST(Lexer, LookaheadKeepsTokenUntilConsumed) {
    ZNSScanner s;
    s.quelle_setzen("a b");
    s.modus_setzen(MODUS_SKRIPT);
    std::string t;
    EXPECT_EQ(s.token_vorschau(), TOK_BEZEICHNER);
    EXPECT_EQ(s.token_vorschau_text(t), TOK_BEZEICHNER);
    EXPECT_EQ(t, "a");
    EXPECT_EQ(s.token_holen(t), TOK_BEZEICHNER);
    EXPECT_EQ(s.token_holen(t), TOK_BEZEICHNER);
    EXPECT_EQ(t, "b");
}

using F = ZNSFarbe;

TEST(LineColouring, SpansByRole) {
    struct Fall {
        const char* zeile;
        std::vector<ZNSFarbspanne> erwartet;
    };
    const Fall faelle[] = {
        {"if (x) f(@true);",
         {{0, 2, F::keyword}, {3, 1, F::operator_}, {4, 1, F::variable}, {5, 1, F::operator_},
          {7, 1, F::function}, {8, 1, F::operator_}, {9, 5, F::enum_}, {14, 1, F::operator_}, {15, 1, F::else_}}},
        // A doubled quote stands twice in the line: the string span covers both.
        {"s = \"a\"\"b\";",
         {{0, 1, F::variable}, {2, 1, F::operator_}, {4, 1, F::stringdelimiter}, {5, 4, F::string},
          {9, 1, F::stringdelimiter}, {10, 1, F::else_}}},
        // A comment runs to the end of the line and no further.
        {"x = 1.5; // note", {{0, 1, F::variable}, {2, 1, F::operator_}, {4, 3, F::number}, {7, 1, F::else_},
                              {9, 7, F::comment}}},
        // An unterminated string: opening quote and contents, no closing quote.
        {"\"offen", {{0, 1, F::stringdelimiter}, {1, 5, F::string}}},
        {"a[#0x1F] % @", {{0, 1, F::variable}, {1, 1, F::operator_}, {2, 1, F::operator_}, {3, 4, F::number},
                          {7, 1, F::operator_}, {9, 1, F::operator_}, {11, 1, F::else_}}},
        {"\"ä\" function", {{0, 1, F::stringdelimiter}, {1, 1, F::string}, {2, 1, F::stringdelimiter},
                            {4, 8, F::keyword}}},
    };
    for (const auto& f : faelle) EXPECT_EQ(zeile_einfaerben(f.zeile), f.erwartet) << f.zeile;
}

TEST(LineColouring, RoleNamesAreTheRegistryValueNames) {
    EXPECT_EQ(farbname(F::operator_), "operator");
    EXPECT_EQ(farbname(F::stringdelimiter), "stringdelimiter");
    EXPECT_EQ(farbname(F::else_), "else");
}

}  // namespace
}  // namespace galvora
