// The engine object: predefined symbols, error variables, built-in
// registration, run-time error records and the limits that stop a run.
#include <set>
#include <string>

#include "script/compiler.h"
#include "script/output.h"
#include "script/trial_run.h"
#include "script_test_support.h"

namespace galvora {
namespace {

using testing::ScriptTest;

class EngineTest : public ScriptTest {};

TEST_F(EngineTest, PredefinedSymbolsAndErrorVariablesAfterReset) {
    ZNS& e = *zns();
    EXPECT_EQ(e.sym_undefiniert->als_integer(), 1);
    EXPECT_EQ(e.sym_fehler->als_integer(), 13);
    EXPECT_EQ(e.sym_inifile->als_integer(), 60);
    EXPECT_EQ(e.sym_enum->bezeichner, "symbol");
    EXPECT_EQ(e.const_oba.e_alloc("true"), e.sym_wahr);
    EXPECT_EQ(e.const_oba.e_name(SYM_TRUE), "true");

    EXPECT_EQ(e.errn_last->typ, TYP_INTEGER);
    EXPECT_EQ(e.errn_last->als_integer(), 0);
    EXPECT_EQ(e.errs_last->typ, TYP_STRING);
    EXPECT_EQ(e.errs_last->als_text(), "");
    EXPECT_TRUE(e.gvar_oba.inq("Errf_Last")->readonly);

    // The first symbol a script names that is not predefined is number 61.
    ASSERT_EQ(uebersetze(0, 0, "t", "{@Neu; @andere; @neu}"), 0);
    EXPECT_EQ(e.const_oba.e_alloc("neu")->als_integer(), 61);
    EXPECT_EQ(e.const_oba.e_alloc("ANDERE")->als_integer(), 62);
}

TEST_F(EngineTest, BuiltinsAreRegisteredInOrderAndResetDropsScripts) {
    const auto& namen = ZNSInterneFunktionen::members();
    ASSERT_EQ(namen.size(), 65u);
    EXPECT_EQ(std::set<std::string>(namen.begin(), namen.end()).size(), 65u);
    for (const auto& n : namen) EXPECT_EQ(n.substr(0, 4), "qim_");
    EXPECT_EQ(namen.front(), "qim_type");
    EXPECT_EQ(namen[40], "qim_filenamepart");
    EXPECT_EQ(namen.back(), "qim_callstack");

    ZNS& e = *zns();
    ASSERT_EQ(e.fkt_oba.count(), 65);
    EXPECT_EQ(e.fkt_oba.eintraege()[7]->bezeichner, "date");
    for (const auto& f : e.fkt_oba) EXPECT_EQ(f->typ, FKT_INTERN);

    ASSERT_EQ(uebersetze(0, 1, "m", "function f() { global g; g = 1; }"), 0);
    e.gvar_oba.alloc("g", false)->set_integer(5);
    EXPECT_EQ(e.fkt_oba.count(), 66);
    script_objekt_anlegen();
    EXPECT_EQ(zns(), &e);
    EXPECT_EQ(e.fkt_oba.count(), 65);
    EXPECT_EQ(e.gvar_oba.inq("g"), nullptr);
    EXPECT_EQ(e.gvar_oba.count(), 3);
    e.fkt_oba.lösche_ausser_intern();
    EXPECT_EQ(e.fkt_oba.count(), 65);
}

TEST_F(EngineTest, RunTimeErrorRecords) {
    ZNS& e = *zns();
    e.funktion_aktuell = "rgb";
    e.fehler(2);
    EXPECT_EQ(e.errn_last->als_integer(), 2);
    EXPECT_EQ(e.errs_last->als_text(), "rgb: (2) Argumentanzahl fehlerhaft");
    EXPECT_EQ(e.errf_last->als_text(), "");

    struct Fall {
        int32_t code;
        const char* text;
    };
    const Fall faelle[] = {
        {0, "x: (0) Fehlertext noch nicht festgelegt"},
        {22, "x: (22) Windows Scripting Host nicht vorhanden"},
        {-5, "x: (-5) Fehlertext noch nicht festgelegt"},
        {3, "x: (3) Argumenttyp fehlerhaft"},
        {23, "x: (23) Fehlertext noch nicht festgelegt"},
        {101, "x: (101) Fehlertext noch nicht festgelegt"},
    };
    e.funktion_aktuell = "x";
    for (const auto& f : faelle) {
        e.fehler(f.code);
        EXPECT_EQ(e.errn_last->als_integer(), f.code);
        EXPECT_EQ(e.errs_last->als_text(), f.text);
    }
}

// A machine without limits would run an endless loop of a template for
// ever: the batch run would hang and the window never get its stop button
// back. The budget stops it with error 101 and its own message.
TEST_F(EngineTest, EndlessLoopIsStoppedByTheInstructionBudget) {
    maschine().grenzen().befehle = 100000;
    ZNSProbelauf r = skript_probelauf("a{while (1);}b");
    EXPECT_EQ(r.lauf_code, QIM_BEFEHLSGRENZE);
    EXPECT_EQ(r.ausgabe, "a");
    EXPECT_EQ(r.errn, QIM_BEFEHLSGRENZE);
    EXPECT_EQ(r.errs, "probe: (101) Skript angehalten: zu viele Anweisungen");
    EXPECT_EQ(r.errf, "probe");
    EXPECT_EQ(r.rueckgabe, "@error");

    // The budget counts per run: the next run starts afresh.
    r = skript_probelauf("{i = 0; while (i < 1000) i = i + 1; i}");
    EXPECT_EQ(r.lauf_code, 0);
    EXPECT_EQ(r.ausgabe, "1000");

    // Every byte of text a run builds counts as an instruction: a few hundred
    // instructions that each copy a text of 64 KB stop at the budget, in the
    // time that many instructions take, where short texts run through.
    r = skript_probelauf("{s = \"0123456789abcdef\"; i = 0; while (i < 12) { s = s + s; i = i + 1; }"
                         " i = 0; while (i < 100) { t = s + \"x\"; i = i + 1; } len(t)}");
    EXPECT_EQ(r.lauf_code, QIM_BEFEHLSGRENZE);
    r = skript_probelauf("{s = \"0123456789abcdef\"; i = 0; while (i < 100) { t = s + \"x\"; i = i + 1; } len(t)}");
    EXPECT_EQ(r.lauf_code, 0);
    EXPECT_EQ(r.ausgabe, "17");
}

TEST_F(EngineTest, CancelIsAskedAlsoWhileLongTextsAreCopied) {
    int gefragt = 0;
    maschine().grenzen().pruefabstand = 1000;
    maschine().grenzen().abbruch_pruefen = [&gefragt] { return ++gefragt == 2; };
    ZNSProbelauf r = skript_probelauf("{s = \"0123456789abcdef\"; i = 0; while (i < 8) { s = s + s; i = i + 1; }"
                                      " i = 0; while (i < 20) { t = s + \"x\"; i = i + 1; } i}");
    EXPECT_EQ(r.lauf_code, QIM_ABGEBROCHEN);
    EXPECT_EQ(r.ausgabe, "");
}

TEST_F(EngineTest, CancelCheckEndsARun) {
    int gefragt = 0;
    maschine().grenzen().pruefabstand = 1000;
    maschine().grenzen().abbruch_pruefen = [&gefragt] { return ++gefragt == 3; };
    ZNSProbelauf r = skript_probelauf("{for (;;) x = 1;}", "");
    EXPECT_EQ(r.lauf_code, QIM_ABGEBROCHEN);
    EXPECT_EQ(gefragt, 3);
    EXPECT_EQ(r.errn, QIM_ABGEBROCHEN);
    EXPECT_EQ(r.errs, "probe: (103) Skript abgebrochen");
}

// Without a limit a recursion that never ends grows the machine's frames
// until memory runs out or the program's stack overflows, ending the
// program with the gallery half written: the call depth stops it with 102.
TEST_F(EngineTest, RunawayRecursionIsStoppedByTheCallDepth) {
    maschine().grenzen().aufruftiefe = 500;
    ZNSProbelauf r = skript_probelauf("vor{tief(1)}nach", "function tief(n) { return tief(n + 1); }");
    EXPECT_EQ(r.lauf_code, QIM_AUFRUFTIEFE);
    EXPECT_EQ(r.ausgabe, "vor");
    EXPECT_EQ(r.errn, QIM_AUFRUFTIEFE);
    EXPECT_EQ(r.errs, "tief: (102) Skript angehalten: Aufruftiefe zu groß");
    EXPECT_EQ(r.errf.substr(0, 12), "tief < tief ");

    // Deep but bounded recursion below the limit runs normally.
    r = skript_probelauf("{f(400)}", "function f(n) { if (n == 0) return 0; return 1 + f(n - 1); }");
    EXPECT_EQ(r.ausgabe, "400");
}

// Unbounded, a script that builds ever longer texts or ever more elements
// takes the whole machine's memory and the program is killed; the script
// memory stops it with 104 and gives everything back.
TEST_F(EngineTest, ScriptsThatEatMemoryAreStopped) {
    // Doubling a text in a loop that would end: the longest text is a limit
    // of the script memory, and reaching it stops the run like any other.
    ZNSProbelauf r = skript_probelauf("a{s = \"x\"; i = 0; while (i < 40) { s = s + s; i = i + 1; } s}");
    EXPECT_EQ(r.lauf_code, QIM_SPEICHER);
    EXPECT_EQ(r.ausgabe, "a");
    EXPECT_EQ(r.errs, "probe: (104) Skript angehalten: zu wenig Speicher");

    // Filling arrays without end stops the run when the element limit is hit,
    // and everything the run built is given back.
    const size_t vorher = ZNSArray::elemente_gesamt();
    const size_t grenze = ZNSArray::elemente_grenze();
    ZNSArray::elemente_grenze() = vorher + 5000;
    r = skript_probelauf("a{i = 0; while (1) { x[\"k\" + i] = i; i = i + 1; }}");
    ZNSArray::elemente_grenze() = grenze;
    EXPECT_EQ(r.lauf_code, QIM_SPEICHER);
    EXPECT_EQ(r.ausgabe, "a");
    EXPECT_EQ(r.errs, "probe: (104) Skript angehalten: zu wenig Speicher");
    script_objekt_anlegen();
    EXPECT_EQ(ZNSArray::elemente_gesamt(), vorher);
}

// Long texts kept in arrays or copied many times, or long keys, are stopped
// by the limit of the script value memory, whichever way the texts are made;
// everything the run built is given back.
TEST_F(EngineTest, TemplatesThatHoardLongTextsAreStoppedAtTheMemoryLimit) {
    const char* const hungrig[] = {
        // Ever longer texts by concatenation, each kept in an array.
        "a{t = \"0123456789\"; i = 0; while (i < 40) { t = t + t; x[\"k\" + i] = t; i = i + 1; }}",
        // The same made by a built-in, its result kept as it is.
        "a{x[\"k0\"] = \"xxxxxxxx\"; i = 1;"
        " while (i < 24) { x[\"k\" + i] = replace(x[\"k\" + (i - 1)], \"x\", \"xx\"); i = i + 1; }}",
        // One text of about a megabyte copied again and again.
        "a{t = \"0123456789\"; i = 0; while (i < 17) { t = t + t; i = i + 1; } while (i < 117) { x[\"k\" + i] = t; i = i + 1; }}",
        // Long keys.
        "a{k = \"0123456789\"; i = 0; while (i < 17) { k = k + k; i = i + 1; } while (i < 117) { x[k + i] = 1; i = i + 1; }}",
    };
    const size_t vorher = wertspeicher_belegt();
    for (const char* skript : hungrig) {
        ZNSProbelauf r;
        {
            testing::Speichergrenze grenze(16 << 20);
            r = skript_probelauf(skript);
        }
        EXPECT_EQ(r.lauf_code, QIM_SPEICHER) << skript;
        EXPECT_EQ(r.ausgabe, "a") << skript;
        EXPECT_EQ(r.errs, "probe: (104) Skript angehalten: zu wenig Speicher") << skript;
        script_objekt_anlegen();
        EXPECT_EQ(wertspeicher_belegt(), vorher) << skript;
    }

    // An ordinary template runs under the same limit as it always did.
    testing::Speichergrenze grenze(16 << 20);
    ZNSProbelauf r = skript_probelauf(
        "{for (i = 0; i < 3000; i = i + 1) a[\"k\" + i] = \"Bild \" + i;"
        " s = \"\"; for (i = 1; i <= a[]; i = i + 1) s = s + a[i]; b = a; len(s) + b[]}");
    size_t laenge = 3000;  // the count of the copy b
    for (int i = 0; i < 3000; ++i) laenge += ("Bild " + std::to_string(i)).size();
    EXPECT_EQ(r.lauf_code, 0);
    EXPECT_EQ(r.ausgabe, std::to_string(laenge));
}

// The limits the program runs with, not a test's smaller ones, come before
// the stack of the program itself overflows.
TEST_F(EngineTest, DefaultLimitsStopRecursionWithoutCrashing) {
    ZNSProbelauf r = skript_probelauf("{tief()}", "function tief() { return tief(); }");
    EXPECT_EQ(r.lauf_code, QIM_AUFRUFTIEFE);
}

}  // namespace
}  // namespace galvora
