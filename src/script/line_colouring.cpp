#include "script/line_colouring.h"

#include <algorithm>
#include <string>

#include "foundation/string_helpers.h"
#include "script/lexer.h"

namespace galvora {

std::string_view farbname(ZNSFarbe rolle) {
    switch (rolle) {
    case ZNSFarbe::keyword: return "keyword";
    case ZNSFarbe::variable: return "variable";
    case ZNSFarbe::operator_: return "operator";
    case ZNSFarbe::number: return "number";
    case ZNSFarbe::enum_: return "enum";
    case ZNSFarbe::string: return "string";
    case ZNSFarbe::stringdelimiter: return "stringdelimiter";
    case ZNSFarbe::function: return "function";
    case ZNSFarbe::comment: return "comment";
    case ZNSFarbe::else_: return "else";
    }
    return "else";
}

namespace {

bool ist_operator(int32_t code) {
    if ((code >= TOK_GLEICH && code <= TOK_BIT_XOR) || code == TOK_SLASH || code == TOK_ZUWEISUNG ||
        code == TOK_GKLAMMER_AUF || code == TOK_GKLAMMER_ZU)
        return true;
    switch (code) {
    case '#': case '%': case '(': case ')': case '*': case '+': case '-': case ':': case '?': case '[': case ']':
        return true;
    default:
        return false;
    }
}

bool ist_schluesselwort(int32_t code) {
    return code == TOK_FUNCTION || (code >= TOK_IF && code <= TOK_GLOBAL) || (code >= TOK_SWITCH && code <= TOK_DEFAULT);
}

}  // namespace

std::vector<ZNSFarbspanne> zeile_einfaerben(std::string_view zeile) {
    std::vector<ZNSFarbspanne> spannen;
    ZNSScanner scanner;
    scanner.quelle_setzen(zeile);
    scanner.modus_setzen(MODUS_FARBE);
    const int32_t zeilenlaenge = static_cast<int32_t>(utf8_decode(zeile).size());

    // Spans never reach past the line: the editor would otherwise colour the
    // line break or the start of the next line.
    auto setzen = [&](int32_t offset, int32_t laenge, ZNSFarbe rolle) {
        laenge = std::min(laenge, zeilenlaenge - offset);
        if (offset >= 0 && laenge > 0) spannen.push_back({offset, laenge, rolle});
    };

    std::string text;
    for (;;) {
        int32_t code = scanner.token_holen(text);
        if (code == TOK_ENDE) break;
        const int32_t start = scanner.token_start() - 1;
        const int32_t laenge = static_cast<int32_t>(utf8_decode(text).size());
        if (ist_schluesselwort(code)) {
            setzen(start, laenge, ZNSFarbe::keyword);
        } else if (ist_operator(code)) {
            setzen(start, laenge, ZNSFarbe::operator_);
        } else if (code == TOK_INTEGER || code == TOK_HEX || code == TOK_DEZIMAL) {
            setzen(start, laenge, ZNSFarbe::number);
        } else if (code == TOK_SYMBOL) {
            setzen(start, laenge, ZNSFarbe::enum_);
        } else if (code == TOK_BEZEICHNER) {
            std::string naechster;
            bool aufruf = scanner.token_vorschau_text(naechster) == '(';
            setzen(start, laenge, aufruf ? ZNSFarbe::function : ZNSFarbe::variable);
        } else if (code == TOK_STRING || code == TOK_STRING_OFFEN) {
            // A doubled quote stands in the text once but in the line twice.
            int32_t inhalt = laenge + static_cast<int32_t>(std::count(text.begin(), text.end(), '"'));
            setzen(start, 1, ZNSFarbe::stringdelimiter);
            setzen(start + 1, inhalt, ZNSFarbe::string);
            setzen(start + 1 + inhalt, 1, ZNSFarbe::stringdelimiter);
        } else if (code == TOK_KOMMENTAR) {
            setzen(start, laenge, ZNSFarbe::comment);
        } else {
            setzen(start, laenge, ZNSFarbe::else_);
        }
    }
    return spannen;
}

}  // namespace galvora
