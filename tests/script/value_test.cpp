// Script values, arrays in natural key order, local-variable slots, the
// constant pool and the function table.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "foundation/string_helpers.h"

#include "script/constant_pool.h"
#include "script/engine.h"
#include "script/function_table.h"
#include "script/internal_functions.h"
#include "script/local_variables.h"
#include "script/trial_run.h"
#include "script/value.h"
#include "script/value_memory.h"
#include "script_test_support.h"

namespace galvora {
namespace {

using testing::ScriptTest;
using testing::Speichergrenze;

ZNSWertRef text_wert(const std::string& key, const std::string& text) {
    auto v = neuer_wert();
    v->bezeichner = key;
    v->set_string(text);
    return v;
}

std::vector<std::string> schluessel(const ZNSArray& a) {
    std::vector<std::string> k;
    for (const auto& e : a) k.push_back(e->bezeichner);
    return k;
}

class ValueTest : public ScriptTest {};

TEST_F(ValueTest, AddKeepsNaturalOrderAndReplacesKeysRegardlessOfCase) {
    ZNSArray a;
    for (const char* k : {"a10", "a2", "B", "a"}) a.add(text_wert(k, k));
    EXPECT_EQ(schluessel(a), (std::vector<std::string>{"a", "a2", "a10", "B"}));

    a.add(text_wert("A2", "neu"));
    EXPECT_EQ(schluessel(a), (std::vector<std::string>{"a", "A2", "a10", "B"}));
    EXPECT_EQ(a.item(ZNSIndex::key("a2"))->als_text(), "neu");

    // Keys that compare equal but differ keep the order they were added in.
    ZNSArray b;
    for (const char* k : {"x", "7", "07", "1"}) b.add(text_wert(k, k));
    EXPECT_EQ(schluessel(b), (std::vector<std::string>{"1", "7", "07", "x"}));

    // Many keys in scrambled order end up sorted (exercises the binary search).
    ZNSArray c;
    for (int i : {50, 3, 99, 12, 7, 61, 28, 1, 85, 40, 19, 73}) c.add(text_wert("k" + std::to_string(i), ""));
    std::vector<std::string> erwartet;
    for (int i : {1, 3, 7, 12, 19, 28, 40, 50, 61, 73, 85, 99}) erwartet.push_back("k" + std::to_string(i));
    EXPECT_EQ(schluessel(c), erwartet);
}

TEST_F(ValueTest, ItemKeyAndRemoveOnMissingEntries) {
    ZNSArray a;
    a.add(text_wert("b", "B"));
    a.add(text_wert("a", "A"));

    // Reading a missing key creates it; positions out of range give @ERROR.
    auto neu = a.item(ZNSIndex::key("c"));
    EXPECT_EQ(neu->typ, TYP_UNDEFINIERT);
    EXPECT_EQ(a.count(), 3);
    for (int32_t p : {0, 4, -1}) {
        auto f = a.item(ZNSIndex::pos(p));
        EXPECT_EQ(f->typ, TYP_SYMBOL);
        EXPECT_EQ(f->als_integer(), SYM_ERROR);
    }
    EXPECT_EQ(a.item(ZNSIndex::keiner())->als_integer(), SYM_ERROR);
    EXPECT_EQ(a.count(), 3);

    // key and remove never create anything.
    EXPECT_EQ(a.key(ZNSIndex::pos(1))->als_text(), "a");
    EXPECT_EQ(a.key(ZNSIndex::key("zz"))->als_integer(), SYM_ERROR);
    a.remove(ZNSIndex::key("zz"));
    a.remove(ZNSIndex::pos(9));
    EXPECT_EQ(a.count(), 3);
    a.remove(ZNSIndex::key("B"));
    a.remove(ZNSIndex::pos(1));
    EXPECT_EQ(schluessel(a), (std::vector<std::string>{"c"}));
}

TEST_F(ValueTest, CopyIsDeepAndKeepsTargetNameAndMark) {
    ZNSVariable quelle;
    auto innen = neuer_wert();
    innen->bezeichner = "innen";
    innen->set_array()->add(text_wert("x", "1"));
    quelle.set_array()->add(innen);

    ZNSVariable ziel;
    ziel.bezeichner = "ziel";
    ziel.readonly = true;
    quelle.copy(ziel);
    EXPECT_EQ(ziel.bezeichner, "ziel");
    EXPECT_TRUE(ziel.readonly);
    ziel.als_array()->item(ZNSIndex::key("innen"))->als_array()->item(ZNSIndex::key("x"))->set_string("2");
    EXPECT_EQ(quelle.als_array()->item(ZNSIndex::key("innen"))->als_array()->item(ZNSIndex::key("x"))->als_text(), "1");

    quelle.copy(quelle);
    EXPECT_EQ(quelle.als_array()->count(), 1);

    // Copying an array into one of its own elements nests it once.
    auto element = quelle.als_array()->item(ZNSIndex::key("selbst"));
    quelle.copy(*element);
    EXPECT_EQ(quelle.als_array()->count(), 2);
    EXPECT_EQ(element->als_array()->count(), 2);
}

TEST_F(ValueTest, DeeplyNestedArraysCopyAndFreeWithoutRecursion) {
    // A chain 100000 arrays deep would overflow the call stack if copying
    // or freeing recursed.
    auto wurzel = neuer_wert();
    ZNSVariable* ebene = wurzel.get();
    for (int i = 0; i < 100000; ++i) {
        auto kind = neuer_wert();
        kind->bezeichner = "k";
        ebene->set_array()->add(kind);
        ebene = kind.get();
    }
    ZNSVariable kopie;
    wurzel->copy(kopie);
    int tiefe = 0;
    for (ZNSVariable* v = &kopie; v->typ == TYP_ARRAY && v->als_array()->count() == 1;
         v = v->als_array()->item(ZNSIndex::pos(1)).get())
        ++tiefe;
    EXPECT_EQ(tiefe, 100000);
    wurzel.reset();
}

// The array's order stated as plainly as possible: a list in which an element
// of the same key (letter case ignored) is removed first and a new element
// goes after every element whose key compares lower or equal.
struct Modell {
    std::vector<ZNSWertRef> e;

    ZNSWertRef* suchen(const std::string& key) {
        for (auto& x : e)
            if (klein(x->bezeichner) == klein(key)) return &x;
        return nullptr;
    }
    void add(const ZNSWertRef& v) {
        if (ZNSWertRef* alt = suchen(v->bezeichner)) e.erase(e.begin() + (alt - e.data()));
        auto nach = std::find_if(e.begin(), e.end(), [&v](const ZNSWertRef& x) {
            return natuerlich_vergleichen(v->bezeichner, x->bezeichner) < 0;
        });
        e.insert(nach, v);
    }
};

void wie_modell(const ZNSArray& a, const Modell& m, int schritt) {
    ASSERT_EQ(a.count(), static_cast<int32_t>(m.e.size())) << "after step " << schritt;
    size_t i = 0;
    for (const auto& x : a) {
        ASSERT_LT(i, m.e.size());
        ASSERT_EQ(x.get(), m.e[i].get())
            << x->bezeichner << " for " << m.e[i]->bezeichner << " at position " << i + 1 << " after step " << schritt;
        ++i;
    }
    EXPECT_EQ(i, m.e.size());
}

// Thousands of random inserts, replacements, reads that create, removals by
// position and by key, and runs of reads by position in either direction,
// checked against the model. The keys mix letter case, numbers with leading
// zeros (equal in natural order yet different keys) and prefixes.
TEST_F(ValueTest, ArrayFollowsTheModelThroughManyMixedChanges) {
    std::mt19937 zufall(4711);
    auto wuerfeln = [&zufall](int n) { return static_cast<int>(zufall() % static_cast<unsigned>(n)); };
    auto zufallsschluessel = [&]() {
        static const char* const vorsilben[] = {"a", "A", "bild", "Bild", "", "x-"};
        std::string k = vorsilben[wuerfeln(6)];
        if (wuerfeln(4) == 0) k += "0";
        k += std::to_string(wuerfeln(400));
        if (wuerfeln(5) == 0) k += "b";
        return k;
    };

    auto feld = std::make_shared<ZNSArray>();
    ZNSArray& a = *feld;
    Modell m;
    for (int schritt = 0; schritt < 20000; ++schritt) {
        const int art = wuerfeln(100);
        const int32_t n = a.count();
        if (art < 45) {
            auto v = neuer_wert();
            v->bezeichner = zufallsschluessel();
            v->set_integer(schritt);
            a.add(v);
            m.add(v);
        } else if (art < 55) {
            const std::string k = zufallsschluessel();
            ZNSWertRef* erwartet = m.suchen(k);
            ZNSWertRef r = a.item(ZNSIndex::key(k));
            if (erwartet) {
                ASSERT_EQ(r.get(), erwartet->get()) << k;
            } else {
                ASSERT_EQ(r->bezeichner, k);
                ASSERT_EQ(r->typ, TYP_UNDEFINIERT);
                m.add(r);
            }
        } else if (art < 70) {
            const int32_t p = wuerfeln(n + 2);  // 0 and n + 1 lie outside
            a.remove(ZNSIndex::pos(p));
            if (p >= 1 && p <= n) m.e.erase(m.e.begin() + (p - 1));
        } else if (art < 80) {
            const std::string k = zufallsschluessel();
            a.remove(ZNSIndex::key(k));
            if (ZNSWertRef* x = m.suchen(k)) m.e.erase(m.e.begin() + (x - m.e.data()));
        } else if (art < 99) {
            // A run of reads by position, forwards or backwards, and the
            // position and key found for each element.
            if (n == 0) continue;
            int32_t p = 1 + wuerfeln(n);
            const int32_t schrittweite = wuerfeln(2) == 0 ? 1 : -1;
            for (int i = 0, laenge = wuerfeln(30); i < laenge && p >= 1 && p <= n; ++i, p += schrittweite) {
                const ZNSWertRef& erwartet = m.e[static_cast<size_t>(p - 1)];
                const ZNSWertRef gelesen = a.item(ZNSIndex::pos(p));
                ASSERT_EQ(gelesen.get(), erwartet.get())
                    << gelesen->bezeichner << " for " << erwartet->bezeichner << " at position " << p << ", step " << schritt;
                ASSERT_EQ(a.key(ZNSIndex::pos(p))->als_text(), erwartet->bezeichner);
                ASSERT_EQ(a.finden(erwartet->bezeichner), p - 1);
            }
        } else {
            a.clear();
            m.e.clear();
        }
        if (schritt % 250 == 0) wie_modell(a, m, schritt);
        if (schritt % 1000 == 999) {
            // Every position in random order, more than once: an array that
            // is only read answers from a flat list until the next change.
            std::vector<int32_t> positionen;
            for (int32_t p = 1; p <= a.count(); ++p) positionen.push_back(p);
            for (int runde = 0; runde < 3; ++runde) {
                std::shuffle(positionen.begin(), positionen.end(), zufall);
                for (int32_t p : positionen)
                    ASSERT_EQ(a.item(ZNSIndex::pos(p)).get(), m.e[static_cast<size_t>(p - 1)].get())
                        << "position " << p << ", step " << schritt;
            }
        }
    }
    wie_modell(a, m, -1);
    EXPECT_EQ(a.finden("kein solcher schluessel"), -1);

    // A copy has the same keys in the same order, in values of its own.
    ZNSVariable quelle;
    quelle.set_array(feld);
    ZNSVariable kopie;
    quelle.copy(kopie);
    auto k = kopie.als_array();
    ASSERT_EQ(k->count(), a.count());
    auto it = a.begin();
    for (const auto& x : *k) {
        EXPECT_EQ(x->bezeichner, (*it)->bezeichner);
        EXPECT_NE(x.get(), it->get());
        ++it;
    }
}

TEST_F(ValueTest, ValuesBookTheMemoryOfTheirTextsAndElements) {
    const size_t vorher = wertspeicher_belegt();
    const std::string lang(1 << 20, 'x');
    {
        ZNSVariable a;
        a.set_string(lang);
        const size_t ein_text = wertspeicher_belegt() - vorher;
        EXPECT_GE(ein_text, lang.size());
        ZNSVariable b;
        a.copy(b);
        EXPECT_EQ(wertspeicher_belegt(), vorher + 2 * ein_text);
        // A move hands the text over; numbers hold no memory of their own.
        ZNSVariable c;
        c.wert = std::move(b.wert);
        EXPECT_EQ(wertspeicher_belegt(), vorher + 2 * ein_text);
        c.set_integer(1);
        EXPECT_EQ(wertspeicher_belegt(), vorher + ein_text);
        a.reset();
        EXPECT_EQ(wertspeicher_belegt(), vorher);

        // An element books its key (as given and folded) beside its text;
        // removing it gives both back once nothing else holds the value.
        ZNSArray feld;
        auto e = text_wert(lang, lang);
        const size_t text_allein = wertspeicher_belegt() - vorher;
        feld.add(e);
        EXPECT_GE(wertspeicher_belegt(), vorher + text_allein + 2 * lang.size());
        feld.remove(ZNSIndex::pos(1));
        EXPECT_EQ(wertspeicher_belegt(), vorher + text_allein);
        e.reset();
        EXPECT_EQ(wertspeicher_belegt(), vorher);

        // Arrays nested in a value are given back by clear and when the value goes.
        ZNSVariable v;
        auto innen = neuer_wert();
        innen->bezeichner = "innen";
        innen->set_array()->add(text_wert("t", lang));
        v.set_array()->add(innen);
        v.als_array()->add(text_wert(lang, "kurz"));
        innen.reset();
        EXPECT_GT(wertspeicher_belegt(), vorher + 3 * lang.size());
        v.als_array()->clear();
        EXPECT_EQ(wertspeicher_belegt(), vorher);
        v.als_array()->add(text_wert("u", lang));
        EXPECT_GT(wertspeicher_belegt(), vorher + lang.size());
    }
    EXPECT_EQ(wertspeicher_belegt(), vorher);
}

TEST_F(ValueTest, BeyondTheMemoryLimitValuesAndArraysRefuseToGrow) {
    Speichergrenze grenze(4 << 20);
    const std::string drei_mb(3 << 20, 'x');
    ZNSVariable a;
    a.set_string(drei_mb);
    ZNSVariable b;
    b.set_integer(7);
    ZNSArray feld;
    auto e = neuer_wert();
    e->bezeichner = std::string(1 << 20, 'k');
    const size_t stand = wertspeicher_belegt();

    // Each refusal leaves the target as it was and books nothing.
    EXPECT_THROW(a.copy(b), ZNSSpeichergrenze);
    EXPECT_THROW(b.set_string(drei_mb), ZNSSpeichergrenze);
    EXPECT_THROW(b.wert = a.wert, ZNSSpeichergrenze);
    EXPECT_EQ(b.typ, TYP_INTEGER);
    EXPECT_EQ(b.als_integer(), 7);
    EXPECT_THROW(feld.add(e), ZNSSpeichergrenze);
    EXPECT_EQ(feld.count(), 0);
    EXPECT_EQ(feld.begin(), feld.end());
    EXPECT_EQ(wertspeicher_belegt(), stand);

    // What is given back can be used again.
    a.set_integer(0);
    feld.add(e);
    EXPECT_EQ(feld.count(), 1);
    EXPECT_THROW(b.set_string(drei_mb), ZNSSpeichergrenze);
    feld.clear();
    b.set_string(drei_mb);
    EXPECT_EQ(b.als_text().size(), drei_mb.size());
}

// Appending grows the text in its own buffer, doubling it when full, so
// that a text built piece by piece is moved a few times only; the booking
// follows the buffer, and the limit refuses growth with the text unchanged.
TEST_F(ValueTest, AppendingGrowsTheTextInPlaceAndBooksItsBuffer) {
    const size_t vorher = wertspeicher_belegt();
    {
        ZNSVariable a;
        a.set_string("");
        std::string erwartet;
        size_t umzuege = 0;
        const char* puffer = a.als_text().data();
        for (int i = 0; i < 100000; ++i) {
            a.wert.text_anhaengen("ab");
            erwartet += "ab";
            if (a.als_text().data() != puffer) ++umzuege, puffer = a.als_text().data();
            if (i % 9973 == 0 && i > 0) EXPECT_EQ(wertspeicher_belegt(), vorher + a.als_text().capacity());
        }
        EXPECT_EQ(a.als_text(), erwartet);
        EXPECT_LE(umzuege, 20u);
        // Appending a text to itself.
        a.set_string("xyz");
        a.wert.text_anhaengen(a.als_text());
        EXPECT_EQ(a.als_text(), "xyzxyz");
    }
    EXPECT_EQ(wertspeicher_belegt(), vorher);

    // Near the limit only the size needed is asked for; beyond it nothing changes.
    Speichergrenze grenze(3 << 20);
    ZNSVariable b;
    b.set_string(std::string(1 << 20, 'x'));
    b.wert.text_anhaengen(std::string(1 << 20, 'y'));  // twice the buffer would pass the limit
    EXPECT_EQ(b.als_text().size(), size_t{2} << 20);
    const size_t stand = wertspeicher_belegt();
    EXPECT_THROW(b.wert.text_anhaengen(std::string(2 << 20, 'z')), ZNSSpeichergrenze);
    EXPECT_EQ(b.als_text().size(), size_t{2} << 20);
    EXPECT_EQ(b.als_text().back(), 'y');
    EXPECT_EQ(wertspeicher_belegt(), stand);
}

TEST_F(ValueTest, LocalSlotsFitTheCallFrame) {
    // Arguments allocated before the count is known are shifted by arg_anz.
    ZNSLokaleVariableArray l;
    EXPECT_EQ(l.alloc("A", 1)->stack_offset, -3);
    EXPECT_EQ(l.alloc("b", 1)->stack_offset, -2);
    l.arg_anz(2);
    EXPECT_EQ(l.alloc("a", 0)->stack_offset, -5);  // the argument, whatever typ is asked
    EXPECT_EQ(l.alloc("b", 0)->stack_offset, -4);
    EXPECT_EQ(l.alloc("x", 0)->stack_offset, 1);
    EXPECT_EQ(l.alloc("Y", 0)->stack_offset, 2);
    EXPECT_EQ(l.count(1), 2);
    EXPECT_EQ(l.count(0), 2);

    // Arguments allocated after the count start from -3 - n.
    ZNSLokaleVariableArray m;
    m.arg_anz(3);
    EXPECT_EQ(m.alloc("p", 1)->stack_offset, -6);
    EXPECT_EQ(m.alloc("q", 1)->stack_offset, -5);
}

TEST_F(ValueTest, ConstantPoolSharesValuesAndNumbersSymbols) {
    ZNSKonstanteArray k;
    EXPECT_EQ(k.s_alloc("a"), k.s_alloc("a"));
    EXPECT_NE(k.s_alloc("a"), k.s_alloc("A"));
    EXPECT_EQ(k.i_alloc(5), k.i_alloc(5));
    EXPECT_EQ(k.d_alloc(2.5), k.d_alloc(2.5));
    auto t = k.e_alloc("TRUE");
    EXPECT_EQ(k.e_alloc("true"), t);
    EXPECT_EQ(t->als_integer(), 1);
    EXPECT_EQ(k.e_alloc("Other")->als_integer(), 2);
    EXPECT_EQ(k.e_name(2), "other");
    EXPECT_EQ(k.e_name(3), "ERROR!!!");
    EXPECT_EQ(k.e_name(0), "ERROR!!!");
}

TEST_F(ValueTest, FunctionTableReservesDefinesAndRemoves) {
    ZNSFunktionArray t;
    t.reserviere("intern", FKT_INTERN, "");
    auto r = t.reserviere("Helper", FKT_RESERVIERT, "ModA");
    EXPECT_EQ(t.funktion_fehlt(), r);
    EXPECT_EQ(r->modulname, "ModA");
    auto d = t.eintrag("HELPER", FKT_SKRIPT, false, "ModB");
    EXPECT_EQ(d, r);
    EXPECT_EQ(d->modulname, "ModB");
    EXPECT_EQ(t.funktion_fehlt(), nullptr);

    t.eintrag("f1", FKT_SKRIPT, false, "modb");
    t.eintrag("f2", FKT_SKRIPT, false, "other");
    t.lösche_modul("MODB");
    EXPECT_EQ(t.count(), 2);
    EXPECT_EQ(t.funktion_per_bezeichner("f2")->bezeichner, "f2");
    t.lösche_ausser_intern();
    ASSERT_EQ(t.count(), 1);
    EXPECT_EQ(t.eintraege()[0]->bezeichner, "intern");
    t.lösche_funktion("missing");
    EXPECT_EQ(t.count(), 1);

    ZNSFunktion f;
    auto g = neuer_wert();
    EXPECT_EQ(f.set_gvar(g), 1);
    EXPECT_EQ(f.set_gvar(neuer_wert()), 2);
    EXPECT_EQ(f.set_gvar(g), 1);
}

// A module of many thousands of functions (a profile from anywhere may hold
// one) compiles and runs; the table finds, removes and re-adds by name.
TEST_F(ValueTest, FunctionTableWithThousandsOfFunctions) {
    constexpr int n = 20000;
    std::string modul;
    for (int i = 0; i < n; ++i) {
        modul += "function F" + std::to_string(i) + "() { return " +
                 (i + 1 < n ? "f" + std::to_string(i + 1) + "();" : std::string("7;")) + " }\n";
    }
    ZNSProbelauf r = skript_probelauf("{f19990()}", modul);
    ASSERT_EQ(r.compile_code, 0) << r.meldung;
    EXPECT_EQ(r.ausgabe, "7");

    ZNSFunktionArray& t = zns()->fkt_oba;
    auto f = t.funktion_per_bezeichner("f12345");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->modulname, "probemodul");
    t.lösche_funktion("F12345");
    EXPECT_TRUE(f->entfernt);
    EXPECT_EQ(t.funktion_per_bezeichner("f12345"), nullptr);
    EXPECT_NE(t.eintrag("f12345", FKT_SKRIPT, false, "neu"), f);
    t.lösche_modul("PROBEMODUL");
    EXPECT_EQ(t.funktion_per_bezeichner("f0"), nullptr);
    EXPECT_EQ(t.funktion_per_bezeichner("f12345")->modulname, "neu");
    t.lösche_ausser_intern();
    EXPECT_EQ(t.funktion_per_bezeichner("f12345"), nullptr);
    EXPECT_EQ(t.count(), static_cast<int32_t>(ZNSInterneFunktionen::members().size()));
    EXPECT_NE(t.funktion_per_bezeichner("LEN"), nullptr);
}

}  // namespace
}  // namespace galvora
