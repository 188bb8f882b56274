#include "script/machine.h"

#include <new>

#include "foundation/messages.h"
#include "script/engine.h"
#include "script/operators.h"
#include "script/output.h"

namespace galvora {

ZNSMaschine& maschine() {
    static ZNSMaschine m;
    return m;
}

int32_t ausfuehren(int32_t kanal, const ZNSFunktionRef& funktion) { return maschine().ausfuehren(kanal, funktion); }
ZNSWertRef arg(int32_t i) { return maschine().arg(i); }
int32_t arg_anzahl() { return maschine().arg_anzahl(); }
std::string aufrufstapel(int32_t n) { return maschine().aufrufstapel(n); }

void ZNSMaschine::stapel_push(ZNSWertRef wert) { stapel_.push_back(Slot{std::move(wert), nullptr, 0}); }
void ZNSMaschine::stapel_push_zahl(int32_t zahl) { stapel_.push_back(Slot{nullptr, nullptr, zahl}); }
void ZNSMaschine::stapel_pop() {
    if (stapel_.size() > 1) stapel_.pop_back();
}

int32_t ZNSMaschine::slot_zahl(int32_t index) const {
    if (index < 1 || index > sp()) return 0;
    return stapel_[static_cast<size_t>(index)].zahl;
}

ZNSWertRef& ZNSMaschine::lokal_slot(int32_t offset) {
    int32_t index = base_ + offset;
    if (index >= 1 && index <= sp()) {
        auto& w = stapel_[static_cast<size_t>(index)].wert;
        if (w) return w;
    }
    // A function run directly with fewer arguments than it declares reads
    // below its frame; it gets a fresh undefined value there.
    leer_ = neuer_wert();
    return leer_;
}

ZNSWertRef ZNSMaschine::holen(int32_t typ, const ZNSAdresse& adr) {
    switch (typ) {
    case OPD_KONSTANTE:
    case OPD_GLOBAL:
        if (adr.wert) return adr.wert;
        break;
    case OPD_LOKAL:
        if (adr.lokal) return lokal_slot(adr.lokal->stack_offset);
        break;
    case OPD_STAPEL:
    case OPD_ELEMENT:
        if (sp() >= 1 && stapel_.back().wert) return stapel_.back().wert;
        break;
    default:
        break;
    }
    return neuer_wert();
}

ZNSWertRef ZNSMaschine::holen_pop(int32_t typ, const ZNSAdresse& adr) {
    if (typ == OPD_STAPEL || typ == OPD_ELEMENT) {
        ZNSWertRef w = sp() >= 1 ? std::move(stapel_.back().wert) : nullptr;
        stapel_pop();
        return w ? w : neuer_wert();
    }
    return holen(typ, adr);
}

void ZNSMaschine::funktion_setzen(const ZNSFunktionRef& f) { funktion_ = f; }

void ZNSMaschine::arg_anz_setzen(int32_t n) {
    if (ZNS* e = zns()) e->gvar_oba.alloc("arg_anz", false)->set_integer(n);
}

void ZNSMaschine::rahmen_abbauen() {
    stapel_pop();  // the function
    base_ = sp() >= 1 ? stapel_.back().zahl : 0;
    stapel_pop();
    pc_ = sp() >= 1 ? stapel_.back().zahl : 0;
    stapel_pop();
    int32_t m = sp() >= 1 ? stapel_.back().zahl : 0;
    stapel_pop();
    for (int32_t i = 0; i < m && sp() >= 1; ++i) stapel_pop();
    if (base_ >= 1 && base_ <= sp()) funktion_setzen(stapel_[static_cast<size_t>(base_)].funktion);
    else funktion_setzen(nullptr);
}

ZNSWertRef ZNSMaschine::arg(int32_t i) const {
    int32_t n = slot_zahl(base_ - 3);
    if (i < 1 || i > n) return nullptr;
    int32_t index = base_ - 3 - n + i - 1;
    if (index < 1 || index > sp()) return nullptr;
    return stapel_[static_cast<size_t>(index)].wert;
}

int32_t ZNSMaschine::arg_anzahl() const { return slot_zahl(base_ - 3); }

std::string ZNSMaschine::aufrufstapel(int32_t n) const {
    std::string text;
    int32_t b = base_;
    int32_t schritte = 0;
    while (b >= 1 && b <= sp() && schritte++ <= sp()) {
        if (n > 0) {
            --n;
        } else {
            if (!text.empty()) text += " < ";
            const auto& f = stapel_[static_cast<size_t>(b)].funktion;
            if (f) text += f->bezeichner;
        }
        int32_t aufrufer = slot_zahl(b - 1);
        if (aufrufer == 0 || aufrufer >= b) break;
        b = aufrufer;
    }
    return text;
}

namespace {

// True when nothing but the stack slot it came from (and the machine's note
// of the last result, which a run reads only after its END or RETURN) holds
// the value.
bool nur_hier(const ZNSWertRef& wert, const ZNSWertRef& ergebnis) {
    const long halter = wert.use_count();
    return halter == 1 || (halter == 2 && ergebnis == wert);
}

// Copies quelle onto ziel; a temporary nobody else holds gives its value up
// instead of being copied (long texts built in a loop are not copied twice).
void zuweisen(ZNSVariable& ziel, ZNSWertRef& quelle, bool temporaer, const ZNSWertRef& ergebnis) {
    if (temporaer && nur_hier(quelle, ergebnis) && quelle->typ != TYP_ARRAY && quelle.get() != &ziel) {
        ziel.typ = quelle->typ;
        ziel.wert = std::move(quelle->wert);
        return;
    }
    quelle->copy(ziel);
}

using Zweistellig = void (*)(ZNSVariable&, const ZNSVariable&, const ZNSVariable&);
using Einstellig = void (*)(ZNSVariable&, const ZNSVariable&);

Zweistellig zweistellig(int32_t op) {
    switch (op) {
    case OP_ADD: return op_addieren;
    case OP_SUB: return op_subtrahieren;
    case OP_DIV: return op_dividieren;
    case OP_MUL: return op_multiplizieren;
    case OP_MOD: return op_modulo;
    case OP_GLEICH: return op_gleich;
    case OP_UNGLEICH: return op_ungleich;
    case OP_KLEINER_GLEICH: return op_kleiner_gleich;
    case OP_KLEINER: return op_kleiner;
    case OP_GROESSER_GLEICH: return op_groesser_gleich;
    case OP_GROESSER: return op_groesser;
    case OP_BIT_ODER: return op_bit_oder;
    case OP_BIT_XOR: return op_bit_xor;
    case OP_BIT_UND: return op_bit_und;
    default: return nullptr;
    }
}

// The text that b adds to a text in a + (b is converted as the operator
// converts it).
std::string zusatz_text(const ZNSVariable& b) { return b.typ == TYP_STRING ? b.als_text() : als_text_angeglichen(b); }

bool gleiche_adresse(const ZNSInstruction& a, const ZNSInstruction& b) {
    if (a.typ1 != b.typ1) return false;
    return a.typ1 == OPD_GLOBAL ? a.adr1.wert == b.adr1.wert : a.adr1.lokal == b.adr1.lokal;
}

}  // namespace

// A text that grows by + appends in place where that cannot be told apart
// from making the sum anew:
// - `x = x + y (+ z ...)`, with x a variable holding a text and the further
//   operands constants or variables other than x: the operators and the
//   assignment that follow are done at once by appending to x (nothing can
//   run between them that reads x);
// - `t + y`, with t a temporary text that nothing else holds: t grows and
//   is the result.
// Anything else (another type, a text past the longest allowed, an
// instruction limit or stop check falling among the instructions taken
// together) goes the ordinary way. True when the + (and what followed it)
// is done.
bool ZNSMaschine::an_text_anhaengen(const ZNSInstruction& ins, ZNSWertRef& ergebnis, uint64_t& zaehler) {
    ZNS* e = zns();
    const bool b_vom_stapel = ins.typ2 == OPD_STAPEL || ins.typ2 == OPD_ELEMENT;
    if (ins.typ1 == OPD_STAPEL) {
        const int32_t a_index = sp() - (b_vom_stapel ? 1 : 0);
        if (a_index < 1) return false;
        ZNSWertRef& a = stapel_[static_cast<size_t>(a_index)].wert;
        if (!a || a->typ != TYP_STRING || !nur_hier(a, ergebnis) || !a->bezeichner.empty() || a->readonly) return false;
        const ZNSWertRef b = holen(ins.typ2, ins.adr2);
        if (b == a || e->typtabelle.inq(a->typ, b->typ) != TYP_STRING) return false;
        const std::string zusatz = zusatz_text(*b);
        if (a->als_text().size() + zusatz.size() > max_textlaenge) return false;
        a->wert.text_anhaengen(zusatz);
        ZNSWertRef summe = a;
        if (b_vom_stapel) stapel_pop();
        stapel_pop();
        ergebnis = summe;
        stapel_push(std::move(summe));
        return true;
    }
    if (ins.typ1 != OPD_GLOBAL && ins.typ1 != OPD_LOKAL) return false;
    // The further + of the chain and the assignment that ends it.
    const int32_t anzahl = funktion_->ioa.count();
    int32_t j = pc_;
    const auto einfach = [](int32_t typ) { return typ == OPD_KONSTANTE || typ == OPD_GLOBAL || typ == OPD_LOKAL; };
    while (j <= anzahl && funktion_->ioa.inq(j).op == OP_ADD && funktion_->ioa.inq(j).typ1 == OPD_STAPEL &&
           einfach(funktion_->ioa.inq(j).typ2))
        ++j;
    if (j > anzahl) return false;
    const ZNSInstruction& zuweisung = funktion_->ioa.inq(j);
    if (zuweisung.op != OP_ZUWEISEN || zuweisung.typ2 != OPD_STAPEL || !gleiche_adresse(ins, zuweisung)) return false;
    const uint64_t schritte = static_cast<uint64_t>(j - pc_) + 1;
    if (grenzen_.befehle != 0 && zaehler + schritte > grenzen_.befehle) return false;
    if (grenzen_.abbruch_pruefen) {
        const uint64_t abstand = grenzen_.pruefabstand ? grenzen_.pruefabstand : 1;
        if ((zaehler / abstand + 1) * abstand <= zaehler + schritte) return false;
    }
    const ZNSWertRef x = holen(ins.typ1, ins.adr1);
    if (x->typ != TYP_STRING) return false;
    const ZNSWertRef b = holen(ins.typ2, ins.adr2);
    if (e->typtabelle.inq(x->typ, b->typ) != TYP_STRING) return false;
    std::string zusatz = zusatz_text(*b);
    for (int32_t k = pc_; k < j; ++k) {
        const ZNSInstruction& weiter = funktion_->ioa.inq(k);
        const ZNSWertRef c = holen(weiter.typ2, weiter.adr2);
        if (c == x || e->typtabelle.inq(TYP_STRING, c->typ) != TYP_STRING) return false;
        zusatz += zusatz_text(*c);
    }
    if (x->als_text().size() + zusatz.size() > max_textlaenge) return false;
    x->wert.text_anhaengen(zusatz);
    if (b_vom_stapel) stapel_pop();
    // The sum was never made; a run reads its last result only after END or
    // RETURN, which set their own.
    ergebnis.reset();
    zaehler += schritte;
    pc_ = j + 1;
    return true;
}

int32_t ZNSMaschine::ausfuehren(int32_t kanal, const ZNSFunktionRef& start) {
    ausgabe_kanal_setzen(kanal);
    ZNS* e = zns();
    if (!start || !e) return 0;

    stapel_.clear();
    stapel_.push_back(Slot{});
    stapel_push_zahl(0);
    stapel_push_zahl(0);
    stapel_push_zahl(0);
    stapel_.push_back(Slot{nullptr, start, 0});
    base_ = sp();
    pc_ = 1;
    tiefe_ = 0;
    for (int32_t i = 0; i < start->lvar_anz(0); ++i) stapel_push(neuer_wert());
    funktion_setzen(start);

    ZNSWertRef ergebnis;
    int32_t abbruch = 0;
    uint64_t zaehler = 0;
    const uint64_t budget = grenzen_.befehle;
    const uint32_t abstand = grenzen_.pruefabstand ? grenzen_.pruefabstand : 1;
    uint64_t naechste_pruefung = abstand;
    // Building texts counts as work: every byte of text a script builds
    // counts as one instruction, for the budget and for the cancel test (a
    // long text costs about that much time in allocating and copying), so
    // that a script copying large texts over and over stops in the time an
    // endless loop does.
    wertspeicher_arbeit_nehmen();

    // A script that makes values faster than memory allows is stopped like
    // one that runs too long; whatever it left on the stack is dropped below.
    try {
    while (pc_ >= 1) {
        if (!funktion_ || pc_ > funktion_->ioa.count()) break;
        const ZNSInstruction& ins = funktion_->ioa.inq(pc_);
        ++pc_;
        ++zaehler;
        zaehler += wertspeicher_arbeit_nehmen();
        if (budget != 0 && zaehler > budget) {
            abbruch = QIM_BEFEHLSGRENZE;
            break;
        }
        if (zaehler >= naechste_pruefung) {
            naechste_pruefung = zaehler + abstand;
            if (grenzen_.abbruch_pruefen && grenzen_.abbruch_pruefen()) {
                abbruch = QIM_ABGEBROCHEN;
                break;
            }
        }

        switch (ins.op) {
        case OP_NOP:
            break;
        case OP_ZUWEISEN:
        case OP_ZUWEISEN_BEHALTEN: {
            const bool vom_stapel = ins.typ2 == OPD_STAPEL || ins.typ2 == OPD_ELEMENT;
            ZNSWertRef quelle;
            if (vom_stapel && ins.op == OP_ZUWEISEN) quelle = holen_pop(ins.typ2, ins.adr2);
            else quelle = holen(ins.typ2, ins.adr2);
            const bool temporaer = vom_stapel && ins.op == OP_ZUWEISEN;
            switch (ins.typ1) {
            case OPD_GLOBAL:
            case OPD_LOKAL: {
                ZNSWertRef ziel = holen(ins.typ1, ins.adr1);
                zuweisen(*ziel, quelle, temporaer, ergebnis);
                break;
            }
            case OPD_STAPEL: {
                auto neu = neuer_wert();
                zuweisen(*neu, quelle, temporaer, ergebnis);
                ergebnis = neu;
                stapel_push(std::move(neu));
                break;
            }
            case OPD_ELEMENT: {
                ZNSWertRef ziel = holen(OPD_ELEMENT, ins.adr1);
                zuweisen(*ziel, quelle, temporaer, ergebnis);
                break;
            }
            default:
                break;
            }
            break;
        }
        case OP_ADD:
            if (an_text_anhaengen(ins, ergebnis, zaehler)) break;
            [[fallthrough]];
        case OP_SUB: case OP_DIV: case OP_MUL: case OP_MOD:
        case OP_GLEICH: case OP_UNGLEICH: case OP_KLEINER_GLEICH: case OP_KLEINER:
        case OP_GROESSER_GLEICH: case OP_GROESSER: case OP_BIT_ODER: case OP_BIT_XOR: case OP_BIT_UND: {
            ZNSWertRef b = holen_pop(ins.typ2, ins.adr2);
            ZNSWertRef a = holen_pop(ins.typ1, ins.adr1);
            auto r = neuer_wert();
            zweistellig(ins.op)(*r, *a, *b);
            ergebnis = r;
            stapel_push(std::move(r));
            break;
        }
        case OP_NEG:
        case OP_NICHT:
        case OP_BIT_NICHT: {
            ZNSWertRef a = holen_pop(ins.typ1, ins.adr1);
            auto r = neuer_wert();
            Einstellig f = ins.op == OP_NEG ? op_negieren : ins.op == OP_NICHT ? op_nicht : op_bit_nicht;
            f(*r, *a);
            ergebnis = r;
            stapel_push(std::move(r));
            break;
        }
        case OP_PUSH_ZAHL:
            stapel_push_zahl(ins.adr1.zahl);
            break;
        case OP_INDEX:
        case OP_SCHLUESSEL: {
            ZNSWertRef variable = holen(ins.typ1, ins.adr1);
            if (variable->typ != TYP_ARRAY) variable->set_array();
            auto feld = variable->als_array();
            ZNSWertRef r;
            if (ins.typ2 == OPD_KEINER) {
                r = neuer_wert();
                r->set_integer(feld->count());
            } else {
                ZNSWertRef i = holen_pop(ins.typ2, ins.adr2);
                ZNSIndex index = i->typ == TYP_INTEGER ? ZNSIndex::pos(i->als_integer())
                               : i->typ == TYP_STRING  ? ZNSIndex::key(i->als_text())
                                                       : ZNSIndex::keiner();
                r = ins.op == OP_INDEX ? feld->item(index) : feld->key(index);
            }
            ergebnis = r;
            stapel_push(std::move(r));
            break;
        }
        case OP_CALL: {
            const int32_t n = sp() >= 1 ? stapel_.back().zahl : 0;
            ZNSFunktionRef f = ins.adr1.funktion.lock();
            if (!f || f->entfernt) f = e->fkt_oba.funktion_per_bezeichner(ins.adr1.funktionsname);
            if (!f || f->typ == FKT_RESERVIERT) {
                stapel_pop();
                for (int32_t i = 0; i < n; ++i) stapel_pop();
                e->funktion_aktuell = f ? f->bezeichner : ins.adr1.funktionsname;
                e->fehler(QIM_FUNKTION_UNBEKANNT);
                ergebnis = fehler_kopie();
                stapel_push(ergebnis);
                break;
            }
            if (tiefe_ >= grenzen_.aufruftiefe) {
                abbruch = QIM_AUFRUFTIEFE;
                pc_ = 0;
                break;
            }
            stapel_push_zahl(pc_);
            stapel_push_zahl(base_);
            stapel_.push_back(Slot{nullptr, f, 0});
            base_ = sp();
            if (f->typ == FKT_INTERN) {
                auto r = neuer_wert();
                e->funktioncall(r, *f);
                bool unausgeglichen = sp() != base_;
                if (unausgeglichen) {
                    meldung_text("ZantoScriptInstructionMachine", MB_ICON_STOP,
                                 "Freeing Stack not successfully for " + f->bezeichner + "\nDeadly internal Error!!!");
                    while (sp() > base_) stapel_pop();
                }
                if (sp() == base_) {
                    rahmen_abbauen();
                    ergebnis = r ? r : neuer_wert();
                    stapel_push(ergebnis);
                }
                if (unausgeglichen) pc_ = 0;
                break;
            }
            if (n != f->lvar_anz(1)) {
                rahmen_abbauen();
                ergebnis = fehler_kopie();
                stapel_push(ergebnis);
                break;
            }
            for (int32_t i = 0; i < f->lvar_anz(0); ++i) stapel_push(neuer_wert());
            arg_anz_setzen(n);
            funktion_setzen(f);
            pc_ = 1;
            ++tiefe_;
            break;
        }
        case OP_RETURN: {
            ZNSWertRef r;
            if (ins.typ1 == OPD_STAPEL || ins.typ1 == OPD_ELEMENT) {
                r = holen_pop(ins.typ1, ins.adr1);
            } else {
                r = neuer_wert();
                holen(ins.typ1, ins.adr1)->copy(*r);
            }
            while (sp() > base_) stapel_pop();
            rahmen_abbauen();
            ergebnis = r;
            if (base_ == 0) {
                pc_ = 0;
            } else {
                stapel_push(std::move(r));
                arg_anz_setzen(slot_zahl(base_ - 3));
                --tiefe_;
            }
            break;
        }
        case OP_SPRUNG_WAHR:
        case OP_SPRUNG_FALSCH: {
            ZNSWertRef v = holen_pop(ins.typ1, ins.adr1);
            if (ist_wahr(*v) == (ins.op == OP_SPRUNG_WAHR)) pc_ = ins.adr2.zahl;
            break;
        }
        case OP_ODER_SPRUNG:
        case OP_UND_SPRUNG: {
            ZNSWertRef v = holen_pop(ins.typ1, ins.adr1);
            const bool oder = ins.op == OP_ODER_SPRUNG;
            if (ist_wahr(*v) == oder) {
                auto r = neuer_wert();
                (oder ? e->sym_wahr : e->sym_falsch)->copy(*r);
                ergebnis = r;
                stapel_push(std::move(r));
                pc_ = ins.adr2.zahl;
            }
            break;
        }
        case OP_SPRUNG:
            pc_ = ins.adr1.zahl;
            break;
        case OP_ENDE:
            ergebnis = neuer_wert();
            e->sym_undefiniert->copy(*ergebnis);
            pc_ = 0;
            break;
        case OP_POP:
            stapel_pop();
            break;
        case OP_AUSGABE: {
            ZNSWertRef v = holen(ins.typ1, ins.adr1);
            ausgabe(*v);
            if (ins.typ1 == OPD_STAPEL || ins.typ1 == OPD_ELEMENT) stapel_pop();
            break;
        }
        default:
            pc_ = 0;
            break;
        }
    }
    } catch (const std::bad_alloc&) {
        abbruch = QIM_SPEICHER;
    }

    befehle_zuletzt_ = zaehler;
    if (abbruch != 0) {
        // The run is stopped like a failed operation: the error variables say
        // why and where, the run's result is @ERROR.
        e->funktion_aktuell = funktion_ ? funktion_->bezeichner : std::string();
        e->laufabbruch(abbruch);
        ergebnis = fehler_kopie();
    }
    auto rueckgabe = e->gvar_oba.alloc("_return_value", false);
    if (ergebnis) ergebnis->copy(*rueckgabe);
    else e->sym_undefiniert->copy(*rueckgabe);

    // Nothing of the run stays on the stack.
    stapel_.clear();
    stapel_.push_back(Slot{});
    base_ = 0;
    pc_ = 0;
    funktion_setzen(nullptr);
    leer_.reset();
    if (abbruch != 0 && melder_) melder_(start->bezeichner, abbruch);
    return abbruch;
}

}  // namespace galvora
