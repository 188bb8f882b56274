// Templates and modules compiled and run: output, error variables and the
// run's return value, written as tables of script text and expected results.
#include <clocale>
#include <cstdlib>
#include <sstream>
#include <string>

#include "foundation/temp_folder.h"
#include "script/compiler.h"
#include "script/output.h"
#include "script/trial_run.h"
#include "script_test_support.h"

namespace galvora {
namespace {

using testing::ScriptTest;

struct Fall {
    const char* vorlage;
    const char* ausgabe;
    int32_t errn = 0;
};

class RunTest : public ScriptTest {
protected:
    void pruefen(const Fall& f, const char* modul = "") {
        ZNSProbelauf r = skript_probelauf(f.vorlage, modul);
        EXPECT_EQ(r.compile_code, 0) << f.vorlage << "\n" << r.meldung;
        EXPECT_EQ(r.ausgabe, f.ausgabe) << f.vorlage;
        EXPECT_EQ(r.errn, f.errn) << f.vorlage << "\n" << r.errs;
    }
};

TEST_F(RunTest, TemplatesAndLiteralText) {
    const Fall faelle[] = {
        {"a{1+2}b", "a3b"},
        {"", ""},
        {"<p>plain</p>", "<p>plain</p>"},
        {"~<x~> and } stay", "{x} and } stay"},
        {"{\"a\";}{\"b\"}c", "abc"},
        {"{x = 5}{x}", "5"},
        {"{x = \"a\"\"b\"; x}", "a\"b"},
        {"{// nothing\n}z", "z"},
        {"{1;2;3}", "123"},
        {"{x = 1}", ""},
        {"{x;}", ""},  // an undefined value writes nothing
        {"{@TRUE}", "@true"},
        {"{@Custom}", "@custom"},
        {"{a[1] = 2; a}", "@array"},
        {"{\"ä\" + \"ö\"}", "äö"},
        {"{1;", "1"},  // the end of the text ends the block
    };
    for (const auto& f : faelle) pruefen(f);
}

TEST_F(RunTest, OperatorsAndPromotion) {
    const Fall faelle[] = {
        {"{7 / 2} {5 / 2} {-7 / 2} {-5 / 2} {6 / 3}", "4 2 -4 -2 2"},
        {"{7.0 / 2} {1 / 0} {1.5 / 0}", "3.5 @error @error"},
        {"{\"a\" + 2.5} {\"a\" + 4.0} {4.0} {\"x\" + @TRUE}", "a2.5 a4 4.0 xtrue"},
        {"{\"10\" < \"9\"} {10 < \"9\"} {10 < 9.5}", "@true @true @false"},
        {"{\"true\" == @TRUE} {\"TRUE\" == @TRUE} {1 == @TRUE} {@TRUE == @TRUE} {@TRUE < @FALSE}",
         "@true @false @false @true @false"},
        {"{1 != @TRUE} {@TRUE != @FALSE}", "@true @true"},
        {"{x + 1} {x == 0} {x != 0}", "@error @false @false"},
        {"{5 & 3} {5 | 3} {5 ^ 3} {~0} {5.0 & 3}", "1 7 6 -1 @error"},
        {"{-\"a\"} {!\"a\"} {!0} {!@ERROR} {!@EMPTY} {!2.5}", "@error @false @true @true @false @false"},
        {"{7 % 3} {-7 % 3} {7.6 % 3} {2.5 % 2} {7 % 0} {7 % 0.4}", "1 -1 2.0 0.0 @error @error"},
        {"{2147483647 + 1} {-2147483647 - 2} {65536 * 65536} {46340 * 46340}", "@error @error @error 2147395600"},
        {"{-(-2147483647 - 1)}", "@error"},
        {"{0x7FFFFFFF} {0xFFFFFFFF} {0x0}", "2147483647 -1 0"},
        {"{1.5 + 1} {0.1 + 0.2} {1 / 3.0} {1000000.0 * 1000000.0}",
         "2.5 0.3 0.333333333333333 1000000000000.0"},
        {"{\"\" + 1.0 / 3} {\"\" + 1000000.0 * 1000000000000000000000.0}", "0.333333333333333 1E+27"},
        // A double that overflows is no number any more: kept, it would be
        // written as "inf" into a page and compare as larger than anything,
        // so it is @ERROR, as a failed calculation of a built-in is.
        {"{x = 10000000000000000000000000000000000000000.0; y = x * x * x * x * x * x * x * x; y} {type(y)}"
         " {x * x * x * x * x * x * x * x > 1.0} {-x * x * x * x * x * x * x * x < 1.0} {1.0 / (1.0 / x / x / x / x / x / x / x / x)}",
         "@error @symbol @false @false @error"},
        {"{2 * 3 + 4 * 5} {(2 + 3) * 4} {10 - 2 - 3} {-2 * -3} {+5}", "26 20 5 6 5"},
        {"{1 < 2 == @TRUE} {3 > 2 > 1}", "@true @false"},
        {"{1 && 2} {0 || \"\"} {1 && 0 || 3} {x || 2}", "@true @false @true @true"},
        {"{1 ? \"ja\" : \"nein\"} {0 ? 1 : 0 ? 2 : 3}", "ja 3"},
        {"{\"a\" < \"b\"} {\"B\" < \"a\"} {\"ab\" >= \"ab\"} {\"b\" > \"ab\"}", "@true @true @true @true"},
        {"{a = 1; a = a; a}", "1"},
        {"{a = b = 3; a + b}", "6"},
        {"{1 | 2 ^ 3 & 4} {1 + 2 == 3 && 2 < 1 || 4 > 3} {--5} {!!0} {~~7} {0xff}", "3 @true 5 @false 7 255"},
        {"{(x) = 4; x} {(1, 2, 3)}", "4 3"},
    };
    for (const auto& f : faelle) pruefen(f);
}

// A text that grows by + in a loop is appended to in place; whatever the
// shape of the sum, the result is what making the sum anew gives.
TEST_F(RunTest, AppendingToATextGivesWhatTheSumGives) {
    const Fall faelle[] = {
        {"{s = \"\"; for (i = 0; i < 1000; i = i + 1) s = s + \"ab\"; len(s)}", "2000"},
        {"{s = \"x\"; s = s + s; s = s + s + s; s}", "xxxxxx"},
        {"{s = \"a\"; s = s + \"-\" + s; s = s + 1 + 2.5 + @TRUE + \"b\"; s}", "a-a12.5trueb"},
        {"{s = \"a\"; t = \"t\"; s = s + t + \"c\" + t; s; t}", "atctt"},
        {"{s = \"a\"; s = s + len(s) + s; s}", "a1a"},
        {"{s = \"a\"; s = s + x; s}", "@error"},           // an undefined operand
        {"{s = \"a\"; b[1] = 2; s = s + b; s}", "@error"},  // an array
        {"{s = \"a\"; s = s + b + \"c\"; s}", "errorc"},  // @ERROR, then its name
        {"{s = 1; s = s + 2; s = s + \"x\" + 3; s}", "3x3"},
        {"{s = \"a\"; u = s + \"b\"; s; u}", "aab"},
        {"{s = \"a\"; u = s; s = s + \"b\"; s; u}", "aba"},
        {"{k[\"e\"] = \"a\"; k[\"e\"] = k[\"e\"] + \"b\"; k[\"e\"]}", "ab"},
        {"{x = \"a\" + 1 + \"b\" + 2; x}", "a1b2"},
        {"{x = (\"a\" + \"b\") + (\"c\" + \"d\"); x}", "abcd"},
        {"{s = \"\"; i = 0; while (i < 3) { s = s + i + \",\"; i = i + 1; } s}", "0,1,2,"},
    };
    for (const auto& f : faelle) pruefen(f);
    // In a function: a local, an argument, and the caller's text unchanged.
    const char* modul =
        "function f(a) { t = \"<\"; for (i = 0; i < 3; i = i + 1) t = t + a; a = a + \"!\"; return t + a; }";
    pruefen({"{s = \"x\"; f(s); s}", "<xxxx!x"}, modul);
}

// The instruction limit stops a run between two statements, never inside
// the operators and the assignment that are done at once: the text holds
// whole "a<i>b" pieces. Building a text counts its bytes as work, and
// appending in place copies less than making each sum anew, so the run
// that appends gets at least as far as the reference run, which is asked to
// check for a stop at every instruction and so takes the ordinary way.
TEST_F(RunTest, AppendingStopsAtTheInstructionLimitBetweenStatements) {
    const char* vorlage = "{s = \"\"; for (i = 0; i < 50; i = i + 1) s = s + \"a\" + i + \"b\";}";
    const auto ganze_stuecke = [](const std::string& text) {
        std::string erwartet;
        for (int i = 0; erwartet.size() < text.size(); ++i) erwartet += "a" + std::to_string(i) + "b";
        return erwartet == text;
    };
    for (uint64_t grenze = 1; grenze <= 400; ++grenze) {
        int32_t code[2] = {};
        std::string text[2];
        for (int art = 0; art < 2; ++art) {
            maschine().grenzen() = ZNSLaufgrenzen{};
            maschine().grenzen().befehle = grenze;
            if (art == 0) {
                maschine().grenzen().abbruch_pruefen = [] { return false; };
                maschine().grenzen().pruefabstand = 1;
            }
            ZNSProbelauf r = skript_probelauf(vorlage);
            code[art] = r.lauf_code;
            text[art] = zns()->gvar_oba.alloc("s", false)->als_text();
        }
        EXPECT_EQ(code[0], code[1]) << "limit " << grenze;
        EXPECT_TRUE(ganze_stuecke(text[0])) << "limit " << grenze << ": " << text[0];
        EXPECT_TRUE(ganze_stuecke(text[1])) << "limit " << grenze << ": " << text[1];
        EXPECT_GE(text[1].size(), text[0].size()) << "limit " << grenze;
    }
}

TEST_F(RunTest, ControlFlow) {
    const Fall faelle[] = {
        {"{if (1) \"a\"; else \"b\"; if (0) \"c\"; else \"d\"; if (0) \"e\";}", "ad"},
        {"{i = 0; while (i < 5) { i = i + 1; if (i == 2) continue; if (i == 4) break; i; }}", "13"},
        {"{for (i = 0; i < 10; i = i + 1) { if (i % 2) continue; if (i > 6) break; i; }}", "0246"},
        {"{n = 0; for (;;) { n = n + 1; if (n > 3) break; } n}", "4"},
        {"{for (i = 0, j = 10; i < 3; i = i + 1, j = j - 1) j}", "1098"},
        {"{switch (2) { case 1: \"one\"; case 2: \"two\"; case 3: \"three\"; default: \"d\"; }}", "two"},
        {"{switch (9) { case 1: \"one\"; default: \"d\"; }}", "d"},
        {"{switch (9) { case 1: \"one\"; } \"after\"}", "after"},
        {"{switch (1) { default: \"d\"; case 1: \"one\"; }}", "d"},
        {"{switch (\"b\") { case \"a\": 1; case \"b\": 2; }}", "2"},
        {"{switch (@TRUE) { case @FALSE: 1; case @TRUE: 2; }}", "2"},
        {"{x = 3; switch (x + 1) { case 4: \"four\"; break; \"not\"; case 5: 5; }}", "four"},
        {"{i = 0; while (i < 3) { i = i + 1; switch (i) { case 2: continue; case 3: break; } i; }}", "13"},
        // An array element as the switch value is compared through copies, as
        // a computed value is: compared as it stands, the first case would use
        // up the element on the stack and every later case compare something else.
        {"{a[\"k\"] = 2; switch (a[\"k\"]) { case 1: \"x\"; case 2: \"y\"; }}", "y"},
        {"{i = 0; while (1) { i = i + 1; if (i > 2) break; } i}", "3"},
    };
    for (const auto& f : faelle) pruefen(f);
}

TEST_F(RunTest, Arrays) {
    const Fall faelle[] = {
        {"{a[\"b\"] = 1; a[\"a\"] = 2; a[]; a[#1]; a[#2]; a[1]; a[#3]}", "2ab2@error"},
        {"{x = 7; x[1]; x[]}", "@error0"},
        {"{x[\"k\"] = 3; x[\"K\"]; x[]}", "31"},
        {"{a[\"x\"] = 1; b = a; b[\"x\"] = 2; a[\"x\"]; b[\"x\"]}", "12"},
        {"{a[\"x\"]; a[]}", "1"},  // reading a missing key creates it
        {"{a[1.5]; a[@TRUE]}", "@error@error"},
        {"{a[\"n10\"] = 1; a[\"n9\"] = 1; a[\"N1\"] = 1; a[#1] + a[#2] + a[#3]}", "N1n9n10"},
        {"{a[\"p\"] = 1; a[\"p\"] = a[\"p\"] + 1; a[\"p\"]}", "2"},
    };
    for (const auto& f : faelle) pruefen(f);
}

TEST_F(RunTest, ModuleFunctionsCallsAndReturns) {
    const char* modul =
        "function sum(a, b) { return a + b; }\n"
        "function fak(n) { if (n <= 1) return 1; return n * fak(n - 1); }\n"
        "function argn(a b c) { global ARG_ANZ; return ARG_ANZ; }\n"
        "function leer() { }\n"
        "function null() { return; }\n"
        "function outer(x) { global arg_anz; inner(); return ARG_ANZ; }\n"
        "function inner() { return 0; }\n"
        "function setg() { global g; g = \"gesetzt\"; }\n"
        "function lokal() { g = \"lokal\"; return g; }\n"
        "function el(a) { return a[2]; }\n";
    const Fall faelle[] = {
        {"{sum(2, 3)}", "5"},
        {"{sum(2 3)}", "5"},
        {"{sum(,2, 3)}", "5"},
        {"{fak(10)}", "3628800"},
        {"{argn(1, 2, 3)}", "3"},
        {"{leer()}{null()}", "0"},
        {"{outer(1)}", "01"},
        {"{sum(1, 2, 3)}{ERRN_LAST}", "@error0"},
        {"{setg(); g}", "gesetzt"},
        {"{g = \"global\"; lokal(); g}", "lokalglobal"},
        {"{a[\"x\"] = 1; a[\"y\"] = 2; el(a)}", "2"},
    };
    for (const auto& f : faelle) pruefen(f, modul);
}

TEST_F(RunTest, EndInsideANestedCallEndsTheWholeRun) {
    // A template function called from another template ends the run with END.
    ASSERT_EQ(uebersetze(0, 0, "innen", "i"), 0);
    ASSERT_EQ(uebersetze(0, 0, "aussen", "a{innen()}b"), 0);
    ausgabe_puffer.clear();
    ausfuehren(-1, zns()->fkt_oba.funktion_per_bezeichner("aussen"));
    EXPECT_EQ(ausgabe_puffer, "ai");
    ausgabe_puffer.clear();
}

TEST_F(RunTest, ReturnValueOfTheRun) {
    EXPECT_EQ(skript_probelauf("x").rueckgabe, "@undefined");
    EXPECT_EQ(skript_probelauf("{return 5;}").rueckgabe, "5");

    ASSERT_EQ(uebersetze(0, 1, "m", "function f() { return 5; }"), 0);
    ausfuehren(0, zns()->fkt_oba.funktion_per_bezeichner("f"));
    auto rv = zns()->gvar_oba.inq("_RETURN_VALUE");
    ASSERT_NE(rv, nullptr);
    EXPECT_EQ(rv->typ, TYP_INTEGER);
    EXPECT_EQ(rv->als_integer(), 5);

    // A function run directly with arguments it was not given reads them as undefined.
    ASSERT_EQ(uebersetze(0, 1, "m2", "function g(a, b) { return b; }"), 0);
    ausfuehren(0, zns()->fkt_oba.funktion_per_bezeichner("g"));
    EXPECT_EQ(zns()->gvar_oba.inq("_return_value")->typ, TYP_UNDEFINIERT);
}

TEST_F(RunTest, UnknownFunctionAndMissingBuiltinAreErrorsNotCrashes) {
    ZNSProbelauf r = skript_probelauf("{nirgends(1, 2)}|{ERRN_LAST}");
    EXPECT_EQ(r.ausgabe, "@error|1");
    EXPECT_EQ(r.errs, "nirgends: (1) Funktion unbekannt");
    EXPECT_EQ(r.errf, "probe");

    // A built-in registered by name whose operation is not there yet.
    ZNSInterneFunktionen::registrierung_entfernen("qim_len");
    r = skript_probelauf("{len(\"abc\")}|{ERRN_LAST}");
    EXPECT_EQ(r.ausgabe, "|0");
}

TEST_F(RunTest, BuiltinsReadTheirArgumentsAndReportErrors) {
    ZNSInterneFunktionen::registrieren("qim_len", [](ZNSInterneFunktionen& self, ZNSWertRef& result) {
        ZNS& e = *self.parent();
        if (arg_anzahl() != 1) {
            e.fehler(2);
            e.sym_fehler->copy(*result);
            return 0;
        }
        result->set_integer(static_cast<int32_t>(arg(1)->als_text().size()));
        return 0;
    });
    ZNSInterneFunktionen::registrieren("qim_callstack", [](ZNSInterneFunktionen&, ZNSWertRef& result) {
        result->set_string(aufrufstapel(1));
        return 0;
    });
    ZNSProbelauf r = skript_probelauf("{len(\"abcd\")}|{len(1, 2)}|{ERRN_LAST}|{g()}", "function g() { return callstack(); }");
    EXPECT_EQ(r.ausgabe, "4|@error|2|g < probe");
    EXPECT_EQ(r.errs, "len: (2) Argumentanzahl fehlerhaft");
    EXPECT_EQ(r.errf, "len < probe");

    // A built-in that throws takes the internal-error path; the run goes on.
    ZNSInterneFunktionen::registrieren("qim_len", [](ZNSInterneFunktionen&, ZNSWertRef&) -> int32_t {
        throw std::runtime_error("kaputt");
    });
    r = skript_probelauf("{len(\"a\")}weiter");
    EXPECT_EQ(r.ausgabe, "weiter");
    ZNSInterneFunktionen::registrierung_entfernen("qim_len");
    ZNSInterneFunktionen::registrierung_entfernen("qim_callstack");
}

TEST_F(RunTest, OutputGoesToTheRegisteredPageOrNowhere) {
    ASSERT_EQ(uebersetze(0, 0, "seite", "a{1}b"), 0);
    auto f = zns()->fkt_oba.funktion_per_bezeichner("seite");
    std::ostringstream seite;
    ausgabe_kanal_registrieren(3, &seite);
    ausgabe_puffer = "vorher";
    ausfuehren(3, f);
    ausfuehren(0, f);
    ausfuehren(7, f);  // no page open under 7
    EXPECT_EQ(seite.str(), "a1b");
    EXPECT_EQ(ausgabe_puffer, "vorher");
    ausgabe_kanal_entfernen(3);
    ausgabe_puffer.clear();
}

TEST_F(RunTest, NumbersAreWrittenWithAPointWhateverTheLocale) {
    // A German locale (decimal comma) built into a temporary folder.
    testing::TempFolder ordner;
    const std::string befehl = "localedef -i de_DE -f UTF-8 '" + (ordner.path() / "de_DE.utf8").string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(befehl.c_str()), 0) << "localedef (packages libc-bin, locales) is needed";
    const char* alt_locpath = std::getenv("LOCPATH");
    std::string alt_pfad = alt_locpath ? alt_locpath : "";
    ::setenv("LOCPATH", ordner.path().c_str(), 1);
    std::string alt = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");

    script_objekt_anlegen();
    EXPECT_EQ(zns()->dezimal_trenner, ",");
    pruefen({"{2.5} {\"\" + 2.5} {0.000001} {1.5 + 1}", "2.5 2.5 0.000001 2.5"});

    std::setlocale(LC_ALL, alt.c_str());
    if (alt_locpath) ::setenv("LOCPATH", alt_pfad.c_str(), 1); else ::unsetenv("LOCPATH");
}

TEST_F(RunTest, DatesAreWrittenWithTheLanguagePattern) {
    ZNSInterneFunktionen::registrieren("qim_date", [](ZNSInterneFunktionen&, ZNSWertRef& result) {
        result->set_datum(arg(1)->als_double());
        return 0;
    });
    // 45000.75 is 2023-03-15 18:00; a date plus 1 is the next day at the same time.
    pruefen({"{d = date(45000.75); d} {d + 1} {\"\" + (d - date(1.0))}",
             "15.03.2023 18:00:00 16.03.2023 18:00:00 14.03.2023 18:00:00"});
    ZNSInterneFunktionen::registrierung_entfernen("qim_date");
}

}  // namespace
}  // namespace galvora
