#include "script/compiler.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "foundation/language.h"
#include "foundation/string_helpers.h"
#include "script/engine.h"
#include "script/output.h"

namespace galvora {

namespace {

// Deeper nesting than this is refused rather than followed into a stack overflow.
constexpr int32_t max_verschachtelung = 200;

struct Tiefe {
    int32_t& zaehler;
    explicit Tiefe(int32_t& z) : zaehler(z) { ++zaehler; }
    ~Tiefe() { --zaehler; }
    bool zu_tief() const { return zaehler > max_verschachtelung; }
};

std::string erste_zeichen(const std::string& text, size_t anzahl) {
    std::u32string t = utf8_decode(text);
    if (t.size() > anzahl) t.resize(anzahl);
    return utf8_encode(t);
}

// Template text with "~<" and "~>" standing for the braces.
std::string klammern_einsetzen(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '~' && i + 1 < s.size() && (s[i + 1] == '<' || s[i + 1] == '>')) {
            out.push_back(s[i + 1] == '<' ? '{' : '}');
            ++i;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

const char* eigener_text(int32_t code) {
    if (code == ZNS_ZU_TIEF) return "Verschachtelung zu tief";
    if (code == ZNS_ZAHL_UNGUELTIG) return "Ungültige Zahl";
    return nullptr;
}

}  // namespace

ZNSCompiler& compiler() {
    static ZNSCompiler c;
    return c;
}

int32_t uebersetze(int32_t kanal, int32_t modus, std::string_view name, std::string_view text) {
    return compiler().uebersetze(kanal, modus, name, text);
}
std::string fehlermeldung() { return compiler().fehlermeldung(); }
int32_t fehler_zeile() { return compiler().fehler_zeile(); }
int32_t fehler_position() { return compiler().fehler_position(); }

const char* ZNSCompiler::fehler_schluessel(int32_t code) {
    switch (code) {
    case 0: return "ErrZNSOk";
    case 3: return "ErrZNSFunctionMissingTailingBracket";
    case 4: return "ErrZNSBodyMissing";
    case 5: return "ErrZNSFunctionargumentsMissingTailingBracket";
    case 6: return "ErrZNSSemikolon";
    case 7: return "ErrZNSMissingLeftSquareBracket";
    case 8: return "ErrZNSMissingRightSquareBracket";
    case 9: return "ErrZNSMissingLeftBracket";
    case 10: return "ErrZNSMissingRightBracket";
    case 11: return "ErrZNSMissingLeftBraceBracket";
    case 12: return "ErrZNSMissingRightBraceBracket";
    case 13: return "ErrZNSMissingOperator";
    case 14: return "ErrZNSMissingArgument";
    case 15: return "ErrZNSMissingColon";
    case 16: return "ErrZNSArgumentlist";
    case 17: return "ErrZNSContinue";
    case 18: return "ErrZNSBreak";
    case 19: return "ErrZNSFunctionAlreadyExist";
    case 20: return "ErrZNSMissingFunction";
    case 21: return "ErrZNSInvalidFunctionname";
    case 22: return "ErrZNSAssignmentInvalid";
    case 23: return "ErrZNSAssignmentReadonly";
    case 24: return "ErrZNSMssingConstant";
    case 25: return "ErrZNSMissingStringDelimiter";
    case 26: return "ErrZNSMissingEnumName";
    case ZNS_ZU_TIEF: return "ErrZNSNestingTooDeep";
    case ZNS_ZAHL_UNGUELTIG: return "ErrZNSInvalidNumber";
    default: return "ErrZNSErrorUnknown";
    }
}

std::string ZNSCompiler::fehlermeldung() const {
    std::string text = meldungstext(fehler_schluessel(fehler_code_), eigener_text(fehler_code_));
    if (fehler_code_ == 0) return text;
    return text + "\n" + inq("Msg", "ErrZNSFound") + " " + erste_zeichen(fehler_token_, 25) + "\n" +
           inq("Msg", "ErrZNSLine") + " " + std::to_string(fehler_zeile_);
}

int ZNSCompiler::fehler_setzen(int32_t code) {
    std::string token = scanner_.vorschau_text();
    return fehler_setzen(code, token);
}

int ZNSCompiler::fehler_setzen(int32_t code, const std::string& token) {
    std::string vorschau;
    int32_t tok = scanner_.token_vorschau_text(vorschau);
    fehler_code_ = code;
    fehler_token_ = token;
    fehler_zeile_ = scanner_.zeile();
    fehler_position_ = scanner_.token_start();
    if (code == ZNS_STRINGENDE && tok == TOK_STRING_OFFEN) {
        // Right after the string contents, where the closing quote belongs.
        int32_t laenge = static_cast<int32_t>(utf8_decode(vorschau).size() +
                                              static_cast<size_t>(std::count(vorschau.begin(), vorschau.end(), '"')));
        fehler_position_ = scanner_.token_start() + 1 + laenge;
    } else if (code == ZNS_ENUM_NAME && tok == TOK_AT_ALLEIN) {
        fehler_position_ = scanner_.token_start() + 1;
    }
    return 1;
}

// ------------------------------------------------------------ code emission

int32_t ZNSCompiler::naechste() const { return funktion_->ioa.count() + 1; }

int32_t ZNSCompiler::emit(int32_t op) { return emit(op, Operand{}, Operand{}); }
int32_t ZNSCompiler::emit(int32_t op, const Operand& a) { return emit(op, a, Operand{}); }

int32_t ZNSCompiler::emit(int32_t op, const Operand& a, const Operand& b) {
    funktion_->ioa.store(op, a.art, a.adr, b.art, b.adr);
    return funktion_->ioa.count();
}

void ZNSCompiler::patchen(int32_t instruktion, int32_t ziel) {
    auto& ins = funktion_->ioa.inq(instruktion);
    // Conditional jumps carry their target in operand 2, plain jumps in operand 1.
    if (ins.op == OP_SPRUNG) ins.adr1.zahl = ziel;
    else ins.adr2.zahl = ziel;
}

void ZNSCompiler::sprungliste_patchen(std::vector<int32_t>& liste, size_t ab, int32_t ziel) {
    for (size_t i = ab; i < liste.size(); ++i) patchen(liste[i], ziel);
    liste.resize(ab);
}

ZNSCompiler::Operand ZNSCompiler::direkt(int32_t zahl) {
    Operand o;
    o.art = OPD_DIREKT;
    o.adr.zahl = zahl;
    return o;
}

ZNSCompiler::Operand ZNSCompiler::stapel() {
    Operand o;
    o.art = OPD_STAPEL;
    return o;
}

ZNSCompiler::Operand ZNSCompiler::konstante(const ZNSWertRef& w) const {
    Operand o;
    o.art = OPD_KONSTANTE;
    o.adr.wert = w;
    return o;
}

ZNSCompiler::Operand ZNSCompiler::variable(const std::string& name) {
    Operand o;
    ZNS& e = *zns();
    if (funktion_->ist_global) {
        o.art = OPD_GLOBAL;
        o.adr.wert = e.gvar_oba.alloc(name, false);
    } else if (auto g = funktion_->inq_gvar(name)) {
        o.art = OPD_GLOBAL;
        o.adr.wert = g;
    } else {
        o.art = OPD_LOKAL;
        o.adr.lokal = funktion_->lvar.alloc(name, 0);
    }
    return o;
}

void ZNSCompiler::verwerfen(const Operand& o) {
    // Elements are left on the stack as well as computed values; both are
    // popped, or every loop pass would leave one more slot behind.
    if (o.art == OPD_STAPEL || o.art == OPD_ELEMENT) emit(OP_POP);
}

// ------------------------------------------------------------ compile entry

int32_t ZNSCompiler::uebersetze(int32_t kanal, int32_t modus, std::string_view name, std::string_view text) {
    fehler_code_ = 0;
    fehler_token_.clear();
    fehler_zeile_ = 0;
    fehler_position_ = 0;
    ausgabe_kanal_setzen(kanal);
    modulname_ = std::string(name);
    schleifen_tiefe_ = 0;
    echte_schleifen_ = 0;
    verschachtelung_ = 0;
    break_liste_.clear();
    continue_liste_.clear();
    scanner_.quelle_setzen(text);
    scanner_.modus_setzen(modus == 0 ? MODUS_TEMPLATE : MODUS_SKRIPT);
    funktion_.reset();
    if (!zns()) script_objekt_anlegen();

    int r = modus == 0 ? template_uebersetzen(name) : modul_uebersetzen();
    funktion_.reset();
    return r;
}

int ZNSCompiler::template_uebersetzen(std::string_view name) {
    ZNS& e = *zns();
    if (auto f = e.fkt_oba.funktion_per_bezeichner(name); f && f->typ != FKT_RESERVIERT)
        return fehler_setzen(ZNS_FUNKTION_DOPPELT, std::string(name));
    funktion_ = e.fkt_oba.eintrag(name, FKT_SKRIPT, true, name);

    std::string text;
    for (;;) {
        int32_t t = scanner_.token_vorschau_text(text);
        if (t == TOK_TEMPLATE) {
            scanner_.token_verbrauchen();
            emit(OP_AUSGABE, konstante(e.const_oba.s_alloc(klammern_einsetzen(text))));
            scanner_.modus_setzen(MODUS_SKRIPT);
        } else if (t == TOK_GKLAMMER_AUF) {
            scanner_.token_verbrauchen();
            if (parse_anweisungsliste()) return 1;
            // A block must end at its brace (or at the end of the text); a
            // stray case or default is not taken for the brace.
            int32_t ende = scanner_.token_vorschau();
            if (ende == TOK_CASE || ende == TOK_DEFAULT) return fehler_setzen(ZNS_GESCHWEIFTE_KLAMMER_ZU);
            scanner_.modus_setzen(MODUS_TEMPLATE);
            scanner_.token_verbrauchen();
        } else if (t == TOK_ENDE) {
            break;
        } else {
            scanner_.token_verbrauchen();
            scanner_.modus_setzen(MODUS_SKRIPT);
        }
    }
    scanner_.token_verbrauchen();
    emit(OP_ENDE);
    return 0;
}

int ZNSCompiler::modul_uebersetzen() {
    ZNS& e = *zns();
    std::string text;
    for (;;) {
        int32_t t = scanner_.token_vorschau();
        if (t == TOK_ENDE) return 0;
        if (t != TOK_FUNCTION) return fehler_setzen(ZNS_FUNCTION_FEHLT);
        scanner_.token_verbrauchen();
        if (scanner_.token_vorschau_text(text) != TOK_BEZEICHNER) return fehler_setzen(ZNS_FUNKTIONSNAME);
        if (auto f = e.fkt_oba.funktion_per_bezeichner(text); f && f->typ != FKT_RESERVIERT)
            return fehler_setzen(ZNS_FUNKTION_DOPPELT, text);
        scanner_.token_verbrauchen();
        funktion_ = e.fkt_oba.eintrag(text, FKT_SKRIPT, false, modulname_);
        if (parse_funktion()) return 1;
        emit(OP_RETURN, konstante(e.const_oba.s_alloc("")));
    }
}

// ------------------------------------------------------------ functions

int ZNSCompiler::parse_funktion() {
    ZNS& e = *zns();
    std::string text;
    if (scanner_.token_vorschau() != '(') return fehler_setzen(ZNS_ARGUMENTLISTE);
    scanner_.token_verbrauchen();
    int32_t n = 0;
    for (;;) {
        int32_t t = scanner_.token_vorschau_text(text);
        if (t == ',') {
            scanner_.token_verbrauchen();
        } else if (t == TOK_BEZEICHNER) {
            funktion_->lvar.alloc(text, 1);
            ++n;
            scanner_.token_verbrauchen();
        } else {
            break;
        }
    }
    if (scanner_.token_vorschau() != ')') return fehler_setzen(ZNS_ARGUMENTE_KLAMMER_ZU);
    scanner_.token_verbrauchen();
    funktion_->lvar.arg_anz(n);
    if (scanner_.token_vorschau() != TOK_GKLAMMER_AUF) return fehler_setzen(ZNS_KOERPER_FEHLT);
    scanner_.token_verbrauchen();
    if (parse_global_dekl()) return 1;
    if (parse_anweisungsliste()) return 1;
    if (scanner_.token_vorschau() != TOK_GKLAMMER_ZU) return fehler_setzen(ZNS_FUNKTION_KLAMMER_ZU);
    scanner_.token_verbrauchen();
    const auto& ioa = funktion_->ioa;
    if (ioa.count() == 0 || ioa.inq(ioa.count()).op != OP_RETURN)
        emit(OP_RETURN, konstante(e.const_oba.s_alloc("")));
    return 0;
}

int ZNSCompiler::parse_global_dekl() {
    ZNS& e = *zns();
    std::string text;
    while (scanner_.token_vorschau() == TOK_GLOBAL) {
        scanner_.token_verbrauchen();
        for (;;) {
            int32_t t = scanner_.token_vorschau_text(text);
            if (t == TOK_BEZEICHNER) {
                funktion_->set_gvar(e.gvar_oba.alloc(text, false));
                scanner_.token_verbrauchen();
            } else if (t == ',') {
                scanner_.token_verbrauchen();
            } else if (t == ';') {
                scanner_.token_verbrauchen();
                break;
            } else {
                return fehler_setzen(ZNS_GLOBAL_DEKLARATION);
            }
        }
    }
    return 0;
}

// ------------------------------------------------------------ statements

int ZNSCompiler::parse_anweisungsliste() {
    for (;;) {
        int32_t t = scanner_.token_vorschau();
        if (t == TOK_GKLAMMER_ZU || t == TOK_CASE || t == TOK_DEFAULT || t == TOK_ENDE || t == TOK_LEER) return 0;
        if (parse_anweisung()) return 1;
    }
}

int ZNSCompiler::parse_anweisung() {
    Tiefe tiefe(verschachtelung_);
    if (tiefe.zu_tief()) return fehler_setzen(ZNS_ZU_TIEF);
    switch (scanner_.token_vorschau()) {
    case ';': scanner_.token_verbrauchen(); return 0;
    case TOK_GKLAMMER_AUF: return parse_block();
    case TOK_IF: return parse_if();
    case TOK_WHILE: return parse_while();
    case TOK_FOR: return parse_for();
    case TOK_SWITCH: return parse_switch();
    case TOK_BREAK: return parse_break();
    case TOK_CONTINUE: return parse_continue();
    case TOK_RETURN: return parse_return();
    default: break;
    }
    Operand o;
    bool zuweisung = false;
    if (parse_ausdrucksliste(o, zuweisung)) return 1;
    if (!zuweisung) emit(OP_AUSGABE, o);
    else if (o.art == OPD_ELEMENT) emit(OP_POP);
    int32_t t = scanner_.token_vorschau();
    if (t == ';') scanner_.token_verbrauchen();
    else if (t != TOK_GKLAMMER_ZU) return fehler_setzen(ZNS_SEMIKOLON);
    return 0;
}

int ZNSCompiler::parse_block() {
    scanner_.token_verbrauchen();
    if (parse_anweisungsliste()) return 1;
    if (scanner_.token_vorschau() != TOK_GKLAMMER_ZU) return fehler_setzen(ZNS_GESCHWEIFTE_KLAMMER_ZU);
    scanner_.token_verbrauchen();
    return 0;
}

// "(" expression list ")" after if, while and switch.
int ZNSCompiler::parse_klammerausdruck(Operand& o) {
    if (scanner_.token_vorschau() != '(') return fehler_setzen(ZNS_RUNDE_KLAMMER_AUF);
    scanner_.token_verbrauchen();
    bool z = false;
    if (parse_ausdrucksliste(o, z)) return 1;
    if (scanner_.token_vorschau() != ')') return fehler_setzen(ZNS_RUNDE_KLAMMER_ZU);
    scanner_.token_verbrauchen();
    return 0;
}

int ZNSCompiler::parse_if() {
    scanner_.token_verbrauchen();
    Operand c;
    if (parse_klammerausdruck(c)) return 1;
    int32_t jf = emit(OP_SPRUNG_FALSCH, c, direkt(0));
    if (parse_anweisung()) return 1;
    int32_t j = emit(OP_SPRUNG, direkt(0));
    patchen(jf, naechste());
    if (scanner_.token_vorschau() == TOK_ELSE) {
        scanner_.token_verbrauchen();
        if (parse_anweisung()) return 1;
    }
    patchen(j, naechste());
    return 0;
}

// A while or for loop: breaks and continues added inside it are patched when
// it ends, and the lists are cut back to where they stood before it.
ZNSCompiler::Schleife ZNSCompiler::schleife_beginnen() {
    ++schleifen_tiefe_;
    ++echte_schleifen_;
    return Schleife{break_liste_.size(), continue_liste_.size()};
}

void ZNSCompiler::schleife_beenden(const Schleife& schleife, int32_t ende, int32_t weiter) {
    sprungliste_patchen(break_liste_, schleife.breaks, ende);
    sprungliste_patchen(continue_liste_, schleife.continues, weiter);
    --echte_schleifen_;
    --schleifen_tiefe_;
}

int ZNSCompiler::parse_while() {
    scanner_.token_verbrauchen();
    const Schleife schleife = schleife_beginnen();
    const int32_t start = naechste();
    Operand c;
    if (parse_klammerausdruck(c)) return 1;
    int32_t jf = emit(OP_SPRUNG_FALSCH, c, direkt(0));
    if (parse_anweisung()) return 1;
    emit(OP_SPRUNG, direkt(start));
    patchen(jf, naechste());
    schleife_beenden(schleife, naechste(), start);
    return 0;
}

int ZNSCompiler::parse_for() {
    ZNS& e = *zns();
    scanner_.token_verbrauchen();
    const Schleife schleife = schleife_beginnen();
    if (scanner_.token_vorschau() != '(') return fehler_setzen(ZNS_RUNDE_KLAMMER_AUF);
    scanner_.token_verbrauchen();
    bool z = false;
    if (scanner_.token_vorschau() != ';') {
        Operand init;
        if (parse_ausdrucksliste(init, z)) return 1;
        verwerfen(init);
    }
    if (scanner_.token_vorschau() != ';') return fehler_setzen(ZNS_SEMIKOLON);
    scanner_.token_verbrauchen();
    const int32_t bedingung = naechste();
    Operand c;
    if (scanner_.token_vorschau() != ';') {
        if (parse_ausdrucksliste(c, z)) return 1;
    } else {
        emit(OP_ZUWEISEN, stapel(), konstante(e.sym_wahr));
        c = stapel();
    }
    if (scanner_.token_vorschau() != ';') return fehler_setzen(ZNS_SEMIKOLON);
    scanner_.token_verbrauchen();
    int32_t jf = emit(OP_SPRUNG_FALSCH, c, direkt(0));
    int32_t jkoerper = emit(OP_SPRUNG, direkt(0));
    const int32_t schritt = naechste();
    if (scanner_.token_vorschau() != ')') {
        Operand inc;
        if (parse_ausdrucksliste(inc, z)) return 1;
        verwerfen(inc);
    }
    if (scanner_.token_vorschau() != ')') return fehler_setzen(ZNS_RUNDE_KLAMMER_ZU);
    scanner_.token_verbrauchen();
    emit(OP_SPRUNG, direkt(bedingung));
    patchen(jkoerper, naechste());
    if (parse_anweisung()) return 1;
    emit(OP_SPRUNG, direkt(schritt));
    patchen(jf, naechste());
    schleife_beenden(schleife, naechste(), schritt);
    return 0;
}

int ZNSCompiler::parse_switch() {
    scanner_.token_verbrauchen();
    Operand v;
    if (parse_klammerausdruck(v)) return 1;
    if (scanner_.token_vorschau() != TOK_GKLAMMER_AUF) return fehler_setzen(ZNS_GESCHWEIFTE_KLAMMER_AUF);
    scanner_.token_verbrauchen();
    ++schleifen_tiefe_;
    const size_t breaks = break_liste_.size();
    // A switch value on the stack (computed, or an element) is compared
    // through copies and popped at the end.
    const bool auf_stapel = v.art == OPD_STAPEL || v.art == OPD_ELEMENT;
    int32_t offen = 0;
    int32_t default_start = 0;
    std::vector<int32_t> ende_liste;
    for (;;) {
        int32_t t = scanner_.token_vorschau();
        if (t == TOK_CASE) {
            scanner_.token_verbrauchen();
            int32_t lt = scanner_.token_vorschau();
            if (lt != TOK_INTEGER && lt != TOK_DEZIMAL && lt != TOK_HEX && lt != TOK_STRING && lt != TOK_SYMBOL)
                return fehler_setzen(ZNS_CASE_KONSTANTE);
            const int32_t test = naechste();
            Operand vergleich = v;
            if (auf_stapel) {
                emit(OP_ZUWEISEN_BEHALTEN, stapel(), stapel());
                vergleich = stapel();
            }
            if (offen) patchen(offen, test);
            Operand literal;
            if (parse_literal(literal)) return 1;
            if (scanner_.token_vorschau() != ':') return fehler_setzen(ZNS_DOPPELPUNKT);
            scanner_.token_verbrauchen();
            emit(OP_GLEICH, vergleich, literal);
            offen = emit(OP_SPRUNG_FALSCH, stapel(), direkt(0));
            if (parse_anweisungsliste()) return 1;
            ende_liste.push_back(emit(OP_SPRUNG, direkt(0)));
        } else if (t == TOK_DEFAULT) {
            scanner_.token_verbrauchen();
            if (scanner_.token_vorschau() != ':') return fehler_setzen(ZNS_DOPPELPUNKT);
            scanner_.token_verbrauchen();
            default_start = naechste();
            if (parse_anweisungsliste()) return 1;
            ende_liste.push_back(emit(OP_SPRUNG, direkt(0)));
        } else if (t == TOK_GKLAMMER_ZU) {
            scanner_.token_verbrauchen();
            break;
        } else {
            // Anything else where a case, a default or the closing brace belongs.
            return fehler_setzen(ZNS_GESCHWEIFTE_KLAMMER_ZU);
        }
    }
    const int32_t ende = naechste();
    for (int32_t j : ende_liste) patchen(j, ende);
    if (offen) patchen(offen, default_start ? default_start : ende);
    if (auf_stapel) emit(OP_POP);
    sprungliste_patchen(break_liste_, breaks, ende);
    --schleifen_tiefe_;
    return 0;
}

int ZNSCompiler::parse_break() {
    if (schleifen_tiefe_ <= 0) return fehler_setzen(ZNS_BREAK);
    scanner_.token_verbrauchen();
    break_liste_.push_back(emit(OP_SPRUNG, direkt(0)));
    return 0;
}

int ZNSCompiler::parse_continue() {
    // Only a loop gives continue a target; inside a switch that no loop
    // encloses it would jump to nowhere.
    if (schleifen_tiefe_ <= 0 || echte_schleifen_ <= 0) return fehler_setzen(ZNS_CONTINUE);
    scanner_.token_verbrauchen();
    continue_liste_.push_back(emit(OP_SPRUNG, direkt(0)));
    return 0;
}

int ZNSCompiler::parse_return() {
    ZNS& e = *zns();
    scanner_.token_verbrauchen();
    if (scanner_.token_vorschau() == ';') {
        scanner_.token_verbrauchen();
        emit(OP_RETURN, konstante(e.const_oba.i_alloc(0)));
        return 0;
    }
    Operand o;
    bool z = false;
    if (parse_ausdrucksliste(o, z)) return 1;
    emit(OP_RETURN, o);
    if (scanner_.token_vorschau() == ';') scanner_.token_verbrauchen();
    return 0;
}

// ------------------------------------------------------------ expressions

int ZNSCompiler::parse_ausdrucksliste(Operand& o, bool& zuweisung) {
    for (;;) {
        o = Operand{};
        if (parse_zuweisung(o, zuweisung)) return 1;
        if (scanner_.token_vorschau() != ',') return 0;
        verwerfen(o);
        scanner_.token_verbrauchen();
    }
}

int ZNSCompiler::parse_zuweisung(Operand& o, bool& zuweisung) {
    Tiefe tiefe(verschachtelung_);
    if (tiefe.zu_tief()) return fehler_setzen(ZNS_ZU_TIEF);
    zuweisung = false;
    o = Operand{};
    if (parse_bedingung(o)) return 1;
    if (scanner_.token_vorschau() != TOK_ZUWEISUNG) return 0;
    zuweisung = true;
    if (o.art == OPD_GLOBAL && o.adr.wert && o.adr.wert->readonly)
        return fehler_setzen(ZNS_ZUWEISUNG_SCHREIBGESCHUETZT, o.adr.wert->bezeichner);
    scanner_.token_verbrauchen();
    Operand rechts;
    bool z = false;
    if (parse_zuweisung(rechts, z)) return 1;
    if (o.art != OPD_LOKAL && o.art != OPD_GLOBAL && o.art != OPD_ELEMENT)
        return fehler_setzen(ZNS_ZUWEISUNG_UNGUELTIG);
    const bool selbe = o.art == rechts.art && o.art != OPD_ELEMENT &&
                       ((o.art == OPD_GLOBAL && o.adr.wert == rechts.adr.wert) ||
                        (o.art == OPD_LOKAL && o.adr.lokal == rechts.adr.lokal));
    if (!selbe) emit(OP_ZUWEISEN, o, rechts);
    return 0;
}

int ZNSCompiler::parse_bedingung(Operand& o) {
    if (parse_oder(o)) return 1;
    if (scanner_.token_vorschau() != '?') return 0;
    scanner_.token_verbrauchen();
    int32_t jf = emit(OP_SPRUNG_FALSCH, o, direkt(0));
    Operand dann;
    bool z = false;
    if (parse_ausdrucksliste(dann, z)) return 1;
    if (dann.art != OPD_STAPEL) emit(OP_ZUWEISEN, stapel(), dann);
    int32_t j = emit(OP_SPRUNG, direkt(0));
    patchen(jf, naechste());
    if (scanner_.token_vorschau() != ':') return fehler_setzen(ZNS_DOPPELPUNKT);
    scanner_.token_verbrauchen();
    Operand sonst;
    if (parse_bedingung(sonst)) return 1;
    if (sonst.art != OPD_STAPEL) emit(OP_ZUWEISEN, stapel(), sonst);
    patchen(j, naechste());
    o = stapel();
    return 0;
}

// Logical or and and: each operand is tested in turn with a jump that pushes
// the deciding symbol; after the last one the other symbol is pushed.
int ZNSCompiler::parse_kurzschluss(Operand& o, int32_t token, int32_t op, int (ZNSCompiler::*stufe)(Operand&),
                                   const ZNSWertRef& endwert) {
    if ((this->*stufe)(o)) return 1;
    if (scanner_.token_vorschau() != token) return 0;
    std::vector<int32_t> spruenge;
    for (;;) {
        spruenge.push_back(emit(op, o, direkt(0)));
        if (scanner_.token_vorschau() != token) break;
        scanner_.token_verbrauchen();
        o = Operand{};
        if ((this->*stufe)(o)) return 1;
    }
    emit(OP_ZUWEISEN, stapel(), konstante(endwert));
    for (int32_t j : spruenge) patchen(j, naechste());
    o = stapel();
    return 0;
}

int ZNSCompiler::parse_oder(Operand& o) {
    return parse_kurzschluss(o, TOK_ODER, OP_ODER_SPRUNG, &ZNSCompiler::parse_und, zns()->sym_falsch);
}

int ZNSCompiler::parse_und(Operand& o) {
    return parse_kurzschluss(o, TOK_UND, OP_UND_SPRUNG, &ZNSCompiler::parse_bit_oder, zns()->sym_wahr);
}

namespace {

// One level of left-associative two-operand operators: token code to op code.
struct OpZuordnung {
    int32_t token;
    int32_t op;
};

}  // namespace

#define GALVORA_ZNS_BINAER(routine, naechste_stufe, ...)                        \
    int ZNSCompiler::routine(Operand& o) {                                     \
        static constexpr OpZuordnung ops[] = {__VA_ARGS__};                    \
        if (naechste_stufe(o)) return 1;                                        \
        for (;;) {                                                             \
            int32_t t = scanner_.token_vorschau();                             \
            int32_t op = -1;                                                   \
            for (const auto& z : ops)                                          \
                if (z.token == t) op = z.op;                                   \
            if (op < 0) return 0;                                              \
            scanner_.token_verbrauchen();                                      \
            Operand rechts;                                                    \
            if (naechste_stufe(rechts)) return 1;                              \
            emit(op, o, rechts);                                               \
            o = stapel();                                                      \
        }                                                                      \
    }

GALVORA_ZNS_BINAER(parse_bit_oder, parse_bit_xor, {TOK_BIT_ODER, OP_BIT_ODER})
GALVORA_ZNS_BINAER(parse_bit_xor, parse_bit_und, {TOK_BIT_XOR, OP_BIT_XOR})
GALVORA_ZNS_BINAER(parse_bit_und, parse_gleichheit, {TOK_BIT_UND, OP_BIT_UND})
GALVORA_ZNS_BINAER(parse_gleichheit, parse_vergleich, {TOK_GLEICH, OP_GLEICH}, {TOK_UNGLEICH, OP_UNGLEICH})
GALVORA_ZNS_BINAER(parse_vergleich, parse_summe, {TOK_KLEINER_GLEICH, OP_KLEINER_GLEICH},
                   {TOK_GROESSER_GLEICH, OP_GROESSER_GLEICH}, {TOK_KLEINER, OP_KLEINER}, {TOK_GROESSER, OP_GROESSER})
GALVORA_ZNS_BINAER(parse_summe, parse_produkt, {'+', OP_ADD}, {'-', OP_SUB})
GALVORA_ZNS_BINAER(parse_produkt, parse_unaer, {'*', OP_MUL}, {TOK_SLASH, OP_DIV}, {'%', OP_MOD})

#undef GALVORA_ZNS_BINAER

int ZNSCompiler::parse_unaer(Operand& o) {
    Tiefe tiefe(verschachtelung_);
    if (tiefe.zu_tief()) return fehler_setzen(ZNS_ZU_TIEF);
    int32_t t = scanner_.token_vorschau();
    int32_t op = t == TOK_NICHT ? OP_NICHT : t == '-' ? OP_NEG : t == TOK_TILDE ? OP_BIT_NICHT : -1;
    if (t == '+') {
        scanner_.token_verbrauchen();
        return parse_unaer(o);
    }
    if (op < 0) return parse_operand(o);
    scanner_.token_verbrauchen();
    Operand a;
    if (parse_unaer(a)) return 1;
    emit(op, a);
    o = stapel();
    return 0;
}

int ZNSCompiler::parse_operand(Operand& o) { return parse_primaer(o); }

int ZNSCompiler::parse_literal(Operand& o) {
    ZNS& e = *zns();
    std::string text;
    int32_t t = scanner_.token_vorschau_text(text);
    switch (t) {
    case TOK_INTEGER: {
        int32_t v = 0;
        auto r = std::from_chars(text.data(), text.data() + text.size(), v);
        if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return fehler_setzen(ZNS_ZAHL_UNGUELTIG);
        o = konstante(e.const_oba.i_alloc(v));
        break;
    }
    case TOK_HEX: {
        // "0x" and up to eight hexadecimal digits, taken as a 32-bit pattern.
        std::string_view ziffern = std::string_view(text).substr(2);
        while (ziffern.size() > 1 && ziffern.front() == '0') ziffern.remove_prefix(1);
        uint32_t v = 0;
        auto r = std::from_chars(ziffern.data(), ziffern.data() + ziffern.size(), v, 16);
        if (ziffern.empty() || r.ec != std::errc() || r.ptr != ziffern.data() + ziffern.size())
            return fehler_setzen(ZNS_ZAHL_UNGUELTIG);
        o = konstante(e.const_oba.i_alloc(static_cast<int32_t>(v)));
        break;
    }
    case TOK_DEZIMAL: {
        std::string s = "0" + text;
        double v = 0;
        auto r = std::from_chars(s.data(), s.data() + s.size(), v);
        if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v))
            return fehler_setzen(ZNS_ZAHL_UNGUELTIG);
        o = konstante(e.const_oba.d_alloc(v));
        break;
    }
    case TOK_STRING:
        o = konstante(e.const_oba.s_alloc(text));
        break;
    case TOK_SYMBOL:
        o = konstante(e.const_oba.e_alloc(std::string_view(text).substr(1)));
        break;
    default:
        return fehler_setzen(ZNS_OPERAND_FEHLT);
    }
    scanner_.token_verbrauchen();
    return 0;
}

int ZNSCompiler::parse_primaer(Operand& o) {
    ZNS& e = *zns();
    std::string text;
    int32_t t = scanner_.token_vorschau_text(text);
    switch (t) {
    case TOK_INTEGER:
    case TOK_HEX:
    case TOK_DEZIMAL:
    case TOK_STRING:
    case TOK_SYMBOL:
        return parse_literal(o);
    case '(': {
        scanner_.token_verbrauchen();
        bool z = false;
        if (parse_ausdrucksliste(o, z)) return 1;
        if (scanner_.token_vorschau() != ')') return fehler_setzen(ZNS_RUNDE_KLAMMER_ZU);
        scanner_.token_verbrauchen();
        return 0;
    }
    case TOK_BEZEICHNER:
        break;
    case TOK_STRING_OFFEN:
        return fehler_setzen(ZNS_STRINGENDE);
    case TOK_AT_ALLEIN:
        return fehler_setzen(ZNS_ENUM_NAME);
    default:
        return fehler_setzen(ZNS_OPERAND_FEHLT);
    }

    const std::string name = text;
    scanner_.token_verbrauchen();
    int32_t n = scanner_.token_vorschau();
    if (n == '(') {
        scanner_.token_verbrauchen();
        if (parse_argumentliste()) return 1;
        ZNSFunktionRef f = e.fkt_oba.reserviere(name, FKT_RESERVIERT, modulname_);
        Operand fo;
        fo.art = OPD_FUNKTION;
        fo.adr.funktion = f;
        fo.adr.funktionsname = f->bezeichner;
        emit(OP_CALL, fo);
        o = stapel();
        return 0;
    }
    Operand var = variable(name);
    if (n != '[') {
        o = var;
        return 0;
    }
    if (var.art == OPD_GLOBAL && var.adr.wert->readonly)
        return fehler_setzen(ZNS_ZUWEISUNG_SCHREIBGESCHUETZT, var.adr.wert->bezeichner);
    scanner_.token_verbrauchen();
    if (scanner_.token_vorschau() == ']') {
        scanner_.token_verbrauchen();
        emit(OP_INDEX, var);
        o = stapel();
        return 0;
    }
    int32_t op = OP_INDEX;
    if (scanner_.token_vorschau() == '#') {
        scanner_.token_verbrauchen();
        op = OP_SCHLUESSEL;
    }
    Operand index;
    bool z = false;
    if (parse_ausdrucksliste(index, z)) return 1;
    if (scanner_.token_vorschau() != ']') return fehler_setzen(ZNS_ECKIGE_KLAMMER_ZU);
    scanner_.token_verbrauchen();
    emit(op, var, index);
    o = Operand{};
    o.art = OPD_ELEMENT;
    return 0;
}

int ZNSCompiler::parse_argumentliste() {
    int32_t anzahl = 0;
    bool komma = false;
    for (;;) {
        int32_t t = scanner_.token_vorschau();
        switch (t) {
        case '(': case '+': case '-': case TOK_BEZEICHNER: case TOK_STRING: case TOK_INTEGER:
        case TOK_HEX: case TOK_DEZIMAL: case TOK_SYMBOL: case TOK_NICHT: case TOK_TILDE: {
            Operand a;
            bool z = false;
            if (parse_zuweisung(a, z)) return 1;
            if (a.art != OPD_STAPEL) emit(OP_ZUWEISEN, stapel(), a);
            ++anzahl;
            komma = false;
            break;
        }
        case ',':
            scanner_.token_verbrauchen();
            komma = true;
            break;
        case ')':
            if (komma) return fehler_setzen(ZNS_ARGUMENT_FEHLT);
            scanner_.token_verbrauchen();
            emit(OP_PUSH_ZAHL, direkt(anzahl));
            return 0;
        default:
            return fehler_setzen(ZNS_ARGUMENTLISTE);
        }
    }
}

}  // namespace galvora
