// Compile errors with their code, token, line, position and message, and the
// code the compiler leaves behind.
#include <algorithm>
#include <string>

#include "script/compiler.h"
#include "script/output.h"
#include "script/trial_run.h"
#include "script_test_support.h"

namespace galvora {
namespace {

using testing::ScriptTest;

struct FehlerFall {
    const char* vorlage;
    const char* modul;
    int32_t code;
    const char* token;
    int32_t zeile;
    int32_t position;
};

class CompilerTest : public ScriptTest {};

TEST_F(CompilerTest, EveryCompileErrorWithTokenLineAndPosition) {
    const FehlerFall faelle[] = {
        {"", "function f() { global a 5; }", 2, "5", 1, 25},
        {"", "function f() { x;", 3, "", 1, 18},
        {"", "function f() { case", 3, "case", 1, 16},
        {"", "function f() x", 4, "x", 1, 14},
        {"", "function f(a;", 5, ";", 1, 13},
        {"{a b}", "", 6, "b", 1, 4},
        {"\n\n{a b}", "", 6, "b", 3, 6},
        {"{a b\nc}", "", 6, "b", 2, 4},
        {"{a[1][2]}", "", 6, "[", 1, 6},
        {"{for (i = 0 i < 1;) 1}", "", 6, "i", 1, 13},
        {"{a[1}", "", 8, "}", 1, 5},
        {"{if 1}", "", 9, "1", 1, 5},
        {"{while x}", "", 9, "x", 1, 8},
        {"{(1}", "", 10, "}", 1, 4},
        {"{if (1 2}", "", 10, "2", 1, 8},
        {"{switch (1) x}", "", 11, "x", 1, 13},
        {"{{ a;", "", 12, "", 1, 6},
        {"{switch (1) { 5 }}", "", 12, "5", 1, 15},
        {"{a; case", "", 12, "case", 1, 5},
        {"{return}", "", 13, "}", 1, 8},
        {"{1 + }", "", 13, "}", 1, 6},
        {"{global a;}", "", 13, "global", 1, 2},
        {"{f(a,)}", "", 14, ")", 1, 6},
        {"{1 ? 2 3}", "", 15, "3", 1, 8},
        {"{switch (1) { case 1 1; }}", "", 15, "1", 1, 22},
        {"{switch (1) { default }}", "", 15, "}", 1, 23},
        {"", "function f x", 16, "x", 1, 12},
        {"{f(;)}", "", 16, ";", 1, 4},
        {"{continue;}", "", 17, "continue", 1, 2},
        {"{switch (1) { case 1: continue; }}", "", 17, "continue", 1, 23},
        {"{break;}", "", 18, "break", 1, 2},
        {"", "function f() {}\nfunction F() {}", 19, "F", 2, 26},
        {"", "function len() {}", 19, "len", 1, 10},
        {"", "x", 20, "x", 1, 1},
        {"", "function 5", 21, "5", 1, 10},
        {"{1 = 2}", "", 22, "}", 1, 7},
        {"{f() = 2}", "", 22, "}", 1, 9},
        {"{ERRN_LAST = 1}", "", 23, "errn_last", 1, 12},
        {"{ERRS_LAST[1]}", "", 23, "errs_last", 1, 11},
        {"{switch (1) { case x: }}", "", 24, "x", 1, 20},
        {"{switch (1) { case -1: }}", "", 24, "-", 1, 20},
        {"{\"abc}", "", 25, "abc}", 1, 7},
        {"{x = \"a\"\"b\nc}", "", 25, "a\"b", 2, 11},
        {"{@ }", "", 26, "@", 1, 3},
        // Number literals that do not fit their type are error 28: taken as
        // they come, 99999999999 would be cut to another number without a
        // word and "0x" would be read as 0.
        {"{99999999999}", "", 28, "99999999999", 1, 2},
        {"{0x123456789}", "", 28, "0x123456789", 1, 2},
        {"{0x}", "", 28, "0x", 1, 2},
    };
    for (const auto& f : faelle) {
        ZNSProbelauf r = skript_probelauf(f.vorlage, f.modul);
        SCOPED_TRACE(std::string(f.vorlage) + " | " + f.modul);
        EXPECT_EQ(r.compile_code, f.code) << r.meldung;
        EXPECT_EQ(compiler().fehler_token(), f.token);
        EXPECT_EQ(r.zeile, f.zeile);
        EXPECT_EQ(r.position, f.position);
    }
}

TEST_F(CompilerTest, MessagesUseTheLanguageTexts) {
    ZNSProbelauf r = skript_probelauf("\n\n{a b}");
    EXPECT_EQ(r.meldung, "Semikolon fehlt\ngefunden: b\nin Zeile: 3");
    r = skript_probelauf("{x = abcdefghijklmnopqrstuvwxyz0123 5}");
    EXPECT_EQ(r.meldung, "Semikolon fehlt\ngefunden: 5\nin Zeile: 1");
    r = skript_probelauf("{x abcdefghijklmnopqrstuvwxyz0123}");
    EXPECT_EQ(r.meldung, "Semikolon fehlt\ngefunden: abcdefghijklmnopqrstuvwxy\nin Zeile: 1");
    r = skript_probelauf("{\"offen");
    EXPECT_EQ(r.meldung, "Stringende fehlt\ngefunden: offen\nin Zeile: 1");
    r = skript_probelauf("{((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((("
                         "((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((("
                         "(((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((}");
    EXPECT_EQ(r.compile_code, ZNS_ZU_TIEF);
    EXPECT_EQ(r.meldung.substr(0, r.meldung.find('\n')), "Verschachtelung zu tief");

    EXPECT_EQ(uebersetze(0, 0, "ok", "fine"), 0);
    EXPECT_EQ(fehlermeldung(), "Code Ok");
}

// The parser descends once per bracket, sign or block: followed without a
// limit, a module of a hundred thousand "(" overflows the program's stack
// and ends it while a profile is merely loaded. Deeper nesting than the
// compiler follows is compile error 27 instead.
TEST_F(CompilerTest, HostileNestingIsRefusedNotFollowed) {
    for (const char* teil : {"(", "-", "!", "{", "a[", "f("}) {
        std::string text = "{";
        for (int i = 0; i < 100000; ++i) text += teil;
        ZNSProbelauf r = skript_probelauf(text);
        EXPECT_EQ(r.compile_code, ZNS_ZU_TIEF) << teil;
    }
}

TEST_F(CompilerTest, TemplatesCompileToOutputAndEnd) {
    ASSERT_EQ(uebersetze(0, 0, "leer", ""), 0);
    auto f = zns()->fkt_oba.funktion_per_bezeichner("leer");
    ASSERT_EQ(f->ioa.count(), 1);
    EXPECT_EQ(f->ioa.inq(1).op, OP_ENDE);
    EXPECT_TRUE(f->ist_global);

    ASSERT_EQ(uebersetze(0, 0, "text", "nur text"), 0);
    f = zns()->fkt_oba.funktion_per_bezeichner("text");
    ASSERT_EQ(f->ioa.count(), 2);
    EXPECT_EQ(f->ioa.inq(1).op, OP_AUSGABE);
    EXPECT_EQ(f->ioa.inq(2).op, OP_ENDE);

    // A module of comments only defines nothing; a template of that name exists already.
    int vorher = zns()->fkt_oba.count();
    EXPECT_EQ(uebersetze(0, 1, "m", "// nur ein Kommentar\n  \n"), 0);
    EXPECT_EQ(zns()->fkt_oba.count(), vorher);
    EXPECT_EQ(uebersetze(0, 0, "TEXT", "x"), 1);
    EXPECT_EQ(compiler().fehler_code(), ZNS_FUNKTION_DOPPELT);
}

TEST_F(CompilerTest, CallsReserveFunctionsForLaterModules) {
    ASSERT_EQ(uebersetze(0, 1, "A", "function a() { return b(); }"), 0);
    auto fehlt = zns()->fkt_oba.funktion_fehlt();
    ASSERT_NE(fehlt, nullptr);
    EXPECT_EQ(fehlt->bezeichner, "b");
    EXPECT_EQ(fehlt->modulname, "A");
    ASSERT_EQ(uebersetze(0, 1, "B", "function B() { return 7; }"), 0);
    EXPECT_EQ(zns()->fkt_oba.funktion_fehlt(), nullptr);
    EXPECT_EQ(zns()->fkt_oba.funktion_per_bezeichner("b")->modulname, "B");
    ASSERT_EQ(uebersetze(0, 0, "t", "{a()}"), 0);
    ausgabe_puffer.clear();
    ausfuehren(-1, zns()->fkt_oba.funktion_per_bezeichner("t"));
    EXPECT_EQ(ausgabe_puffer, "7");
    ausgabe_puffer.clear();

    // Removing a module and compiling it again: the caller reaches the new code.
    zns()->fkt_oba.lösche_modul("b");
    ASSERT_EQ(uebersetze(0, 1, "B", "function b() { return 8; }"), 0);
    ausfuehren(-1, zns()->fkt_oba.funktion_per_bezeichner("t"));
    EXPECT_EQ(ausgabe_puffer, "8");
    ausgabe_puffer.clear();
}

TEST_F(CompilerTest, LoopsLeaveNothingOnTheStack) {
    // Elements read or assigned in a for header or an expression list would
    // pile up one slot per pass; the run ends with the same stack as it began.
    ASSERT_EQ(uebersetze(0, 0, "schleife",
                         "{for (a[\"i\"] = 0; a[\"i\"] < 1000; a[\"i\"] = a[\"i\"] + 1) { b[1], c = 1; x = 2, y[\"k\"] = 3; }"
                         " i = 0; while (i < 1000) { i = i + 1; switch (a[\"i\"]) { case 5: 1; } } a[\"i\"]}"),
              0);
    ausgabe_puffer.clear();
    struct Hoehe {
        int32_t max = 0;
    };
    static Hoehe hoehe;
    hoehe.max = 0;
    maschine().grenzen().pruefabstand = 1;
    maschine().grenzen().abbruch_pruefen = [] {
        hoehe.max = std::max(hoehe.max, maschine().sp());
        return false;
    };
    ausfuehren(-1, zns()->fkt_oba.funktion_per_bezeichner("schleife"));
    EXPECT_EQ(ausgabe_puffer, "1000");
    EXPECT_LT(hoehe.max, 20);
    ausgabe_puffer.clear();
}

}  // namespace
}  // namespace galvora
