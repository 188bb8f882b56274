// Script values, arrays in natural key order, local-variable slots, the
// constant pool and the function table.
#include <string>
#include <vector>

#include "script/constant_pool.h"
#include "script/engine.h"
#include "script/function_table.h"
#include "script/internal_functions.h"
#include "script/local_variables.h"
#include "script/trial_run.h"
#include "script/value.h"
#include "script_test_support.h"

namespace galvora {
namespace {

using testing::ScriptTest;

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
