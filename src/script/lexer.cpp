#include "script/lexer.h"

#include <array>

#include "foundation/string_helpers.h"

namespace galvora {

int32_t ZNSScanner::ansi_code(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int32_t>(c);
    // The characters that Windows-1252 places at 0x80 to 0x9F.
    static constexpr std::array<char32_t, 32> hoch = {
        0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    for (size_t i = 0; i < hoch.size(); ++i)
        if (hoch[i] != 0 && hoch[i] == c) return static_cast<int32_t>(0x80 + i);
    return 1;
}

std::span<const ZNSSchluesselwort> zns_schluesselwoerter() {
    static constexpr ZNSSchluesselwort liste[] = {
        {"function", TOK_FUNCTION}, {"global", TOK_GLOBAL},     {"if", TOK_IF},
        {"else", TOK_ELSE},         {"switch", TOK_SWITCH},     {"case", TOK_CASE},
        {"default", TOK_DEFAULT},   {"while", TOK_WHILE},       {"for", TOK_FOR},
        {"return", TOK_RETURN},     {"continue", TOK_CONTINUE}, {"break", TOK_BREAK},
    };
    return liste;
}

namespace {

bool ist_buchstabe(int32_t a) {
    return (a >= 'A' && a <= 'Z') || (a >= 'a' && a <= 'z') || a == '_' || (a >= 128 && a <= 155) ||
           (a >= 160 && a <= 165) || (a >= 192 && a <= 255);
}
bool ist_ziffer(int32_t a) { return a >= '0' && a <= '9'; }
bool ist_hexziffer(int32_t a) { return ist_ziffer(a) || (a >= 'a' && a <= 'f') || (a >= 'A' && a <= 'F'); }
bool ist_blank(int32_t a) { return a == ' ' || a == '\r' || a == '\n' || a == '\t'; }

int32_t schluesselwort(const std::u32string& t) {
    if (t.size() > 8) return 0;
    std::string k;
    for (char32_t c : t) {
        if (c >= 'A' && c <= 'Z') c += 32;
        if (c > 0x7F) return 0;
        k += static_cast<char>(c);
    }
    for (const ZNSSchluesselwort& e : zns_schluesselwoerter())
        if (k == e.wort) return e.code;
    return 0;
}

enum Zustand {
    START, TEMPLATE, FERTIG, BEZEICHNER, INTEGER, HEX, DEZIMAL, AT, SYMBOL, STRING, STRING_QUOTE,
    OP_KLEINER, OP_GROESSER, OP_NICHT, OP_GLEICH, OP_UND, OP_ODER, OP_SLASH, KOMMENTAR,
};

}  // namespace

void ZNSScanner::quelle_setzen(std::string_view text) {
    quelle_ = utf8_decode(text);
    // A byte-order mark left at the start is not part of the script.
    if (!quelle_.empty() && quelle_[0] == U'\uFEFF') quelle_.erase(0, 1);
    position_ = 1;
    // The counter goes up whenever the scanner moves onto a line end; a text
    // that begins with one is counted here, since the scanner starts on it.
    zeile_ = zeilenende(1) ? 2 : 1;
    token_start_ = 0;
    token_verbrauchen();
}

// A line feed ends a line, and so does a carriage return that no line feed
// follows (text from old Macintosh files).
bool ZNSScanner::zeilenende(int32_t pos) const {
    char32_t c = zeichen(pos);
    return c == U'\n' || (c == U'\r' && zeichen(pos + 1) != U'\n');
}

char32_t ZNSScanner::zeichen(int32_t pos) const {
    if (pos < 1 || static_cast<size_t>(pos) > quelle_.size()) return 4;
    return quelle_[static_cast<size_t>(pos - 1)];
}

int32_t ZNSScanner::naechstes_token(std::string& text) {
    int32_t code = TOK_LEER;
    std::u32string t;
    token_start_ = 0;
    Zustand z = START;
    bool erster = true;
    bool nochmal = false;
    for (;;) {
        if (!erster && !nochmal) {
            if (static_cast<size_t>(position_) <= quelle_.size()) ++position_;
            if (zeilenende(position_)) ++zeile_;
        }
        erster = false;
        nochmal = false;
        const char32_t c = zeichen(position_);
        const int32_t a = ansi_code(c);
        const bool ende = a == 4;

        if (modus_ == MODUS_TEMPLATE) {
            if (z == START) {
                if (ende) { code = TOK_ENDE; token_start_ = position_; break; }
                if (c == U'{') { code = TOK_LEER; break; }
                token_start_ = position_;
                z = TEMPLATE;
                code = TOK_TEMPLATE;
                t.push_back(c);
                continue;
            }
            if (ende || c == U'{') break;
            t.push_back(c);
            continue;
        }

        bool weiter = true;  // false: the token ends before c
        switch (z) {
        case START:
            if (ist_blank(a)) { token_start_ = 0; break; }
            if (ende) { code = TOK_ENDE; token_start_ = position_; weiter = false; break; }
            if (token_start_ == 0) token_start_ = position_;
            if (c == U'"') { z = STRING; code = TOK_STRING_OFFEN; break; }
            t.push_back(c);
            if (ist_ziffer(a)) { z = INTEGER; code = TOK_INTEGER; }
            else if (c == U'.') { z = DEZIMAL; code = TOK_DEZIMAL; }
            else if (c == U'@') { z = AT; code = TOK_AT_ALLEIN; }
            else if (c == U'<') { z = OP_KLEINER; code = TOK_KLEINER; }
            else if (c == U'>') { z = OP_GROESSER; code = TOK_GROESSER; }
            else if (c == U'!') { z = OP_NICHT; code = TOK_NICHT; }
            else if (c == U'=') { z = OP_GLEICH; code = TOK_ZUWEISUNG; }
            else if (c == U'&') { z = OP_UND; code = TOK_BIT_UND; }
            else if (c == U'|') { z = OP_ODER; code = TOK_BIT_ODER; }
            else if (c == U'/') { z = OP_SLASH; code = TOK_SLASH; }
            else if (c == U'~') { z = FERTIG; code = TOK_TILDE; }
            else if (c == U'^') { z = FERTIG; code = TOK_BIT_XOR; }
            else if (c == U'{') { z = FERTIG; code = TOK_GKLAMMER_AUF; }
            else if (c == U'}') { z = FERTIG; code = TOK_GKLAMMER_ZU; }
            else if (ist_buchstabe(a)) { z = BEZEICHNER; code = TOK_BEZEICHNER; }
            else { z = FERTIG; code = a; }
            break;
        case FERTIG:
            weiter = false;
            break;
        case OP_KLEINER:
        case OP_GROESSER:
        case OP_NICHT:
        case OP_GLEICH:
            if (c == U'=') {
                t.push_back(c);
                code = z == OP_KLEINER ? TOK_KLEINER_GLEICH : z == OP_GROESSER ? TOK_GROESSER_GLEICH
                     : z == OP_NICHT   ? TOK_UNGLEICH        : TOK_GLEICH;
                z = FERTIG;
            } else {
                weiter = false;
            }
            break;
        case OP_UND:
            if (c == U'&') { t.push_back(c); code = TOK_UND; z = FERTIG; } else weiter = false;
            break;
        case OP_ODER:
            if (c == U'|') { t.push_back(c); code = TOK_ODER; z = FERTIG; } else weiter = false;
            break;
        case OP_SLASH:
            if (c == U'/') { t.push_back(c); code = TOK_KOMMENTAR; z = KOMMENTAR; } else weiter = false;
            break;
        case KOMMENTAR:
            if (ende || c == U'\r' || c == U'\n') {
                if (modus_ == MODUS_FARBE) { weiter = false; break; }
                // Script mode drops the comment and goes on with the next token.
                z = START;
                t.clear();
                token_start_ = 0;
                code = TOK_LEER;
                nochmal = true;
                break;
            }
            t.push_back(c);
            break;
        case BEZEICHNER:
            if (ist_buchstabe(a) || ist_ziffer(a)) t.push_back(c); else weiter = false;
            break;
        case INTEGER:
            if (ist_ziffer(a)) {
                t.push_back(c);
            } else if (c == U'.') {
                t.push_back(c);
                z = DEZIMAL;
                code = TOK_DEZIMAL;
            } else if (t == U"0" && (c == U'x' || c == U'X')) {
                t.push_back(c);
                z = HEX;
                code = TOK_HEX;
            } else {
                weiter = false;
            }
            break;
        case HEX:
            if (ist_hexziffer(a)) t.push_back(c); else weiter = false;
            break;
        case DEZIMAL:
            if (ist_ziffer(a)) t.push_back(c); else weiter = false;
            break;
        case AT:
            if (ist_buchstabe(a)) { t.push_back(c); z = SYMBOL; code = TOK_SYMBOL; } else weiter = false;
            break;
        case SYMBOL:
            if (ist_buchstabe(a) || ist_ziffer(a)) t.push_back(c); else weiter = false;
            break;
        case STRING:
            if (ende || c == U'\r' || c == U'\n') { code = TOK_STRING_OFFEN; weiter = false; break; }
            if (c == U'"') { z = STRING_QUOTE; break; }
            t.push_back(c);
            break;
        case STRING_QUOTE:
            if (c == U'"') { t.push_back(c); z = STRING; } else { code = TOK_STRING; weiter = false; }
            break;
        case TEMPLATE:
            weiter = false;
            break;
        }
        if (!weiter) break;
    }
    if (code == TOK_BEZEICHNER)
        if (int32_t k = schluesselwort(t)) code = k;
    text = utf8_encode(t);
    return code;
}

int32_t ZNSScanner::token_vorschau_text(std::string& text) {
    if (!vorschau_gueltig_) {
        vorschau_code_ = naechstes_token(vorschau_text_);
        vorschau_gueltig_ = true;
    }
    text = vorschau_text_;
    return vorschau_code_;
}

int32_t ZNSScanner::token_vorschau() {
    if (!vorschau_gueltig_) {
        vorschau_code_ = naechstes_token(vorschau_text_);
        vorschau_gueltig_ = true;
    }
    return vorschau_code_;
}

const std::string& ZNSScanner::vorschau_text() {
    token_vorschau();
    return vorschau_text_;
}

int32_t ZNSScanner::token_holen(std::string& text) {
    int32_t code = token_vorschau_text(text);
    token_verbrauchen();
    return code;
}

void ZNSScanner::token_verbrauchen() {
    vorschau_gueltig_ = false;
    vorschau_code_ = TOK_LEER;
    vorschau_text_.clear();
}

}  // namespace galvora
