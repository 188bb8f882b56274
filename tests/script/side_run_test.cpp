// Scripts run on the side: whatever they compile, reserve, define again,
// name or set, the engine is as it was once the side run ends, and a script that
// runs on and on stops early without counting as a stopped script.
#include <string>
#include <utility>
#include <vector>

#include "script/compiler.h"
#include "script/output.h"
#include "script/side_run.h"
#include "script_test_support.h"

namespace galvora {
namespace {

using testing::ScriptTest;

class SideRunTest : public ScriptTest {};

std::string output_of(const std::string& name) {
    ausgabe_puffer.clear();
    ausfuehren(-1, zns()->fkt_oba.funktion_per_bezeichner(name));
    return std::exchange(ausgabe_puffer, std::string());
}

TEST_F(SideRunTest, LeavesFunctionsVariablesBufferAndLimitsAsTheyWere) {
    ZNS& e = *zns();
    ASSERT_EQ(uebersetze(0, 1, "modul", "function f() { return \"alt\"; }"), 0);
    // A template that calls a function no script defines yet: its name is reserved.
    ASSERT_EQ(uebersetze(0, 0, "t", "{f()}{h()}"), 0);
    e.gvar_oba.alloc("g", false)->set_string("vorher");
    e.gvar_oba.alloc("feld", false)->set_array()->add(neuer_wert());
    ausgabe_puffer = "davor";
    std::vector<std::string> stops;
    maschine().abbruchmelder_setzen([&stops](const std::string& name, int32_t) { stops.push_back(name); });
    const uint64_t limit = maschine().grenzen().befehle;
    const ZNSFunktionRef f = e.fkt_oba.funktion_per_bezeichner("f");
    const ZNSFunktionRef h = e.fkt_oba.funktion_per_bezeichner("h");
    ASSERT_EQ(h->typ, FKT_RESERVIERT);
    const int32_t functions = e.fkt_oba.count();
    const int32_t globals = e.gvar_oba.count();
    const int32_t symbols = e.const_oba.symbol_anzahl();

    {
        ZNSNebenlauf side(1000);
        // f defined anew, h defined, a template with new globals and a call
        // of a function that does not exist.
        e.fkt_oba.lösche_modul("modul");
        ASSERT_EQ(uebersetze(0, 1, "anders", "function f() { return \"neu\"; }\nfunction h() { return 2; }"), 0);
        ASSERT_EQ(uebersetze(0, 0, "vorschau", "{g = \"nachher\"; feld = 3; neu = @neu; fehlt()}{f()}"), 0);
        EXPECT_EQ(output_of("vorschau"), "@errorneu");
        EXPECT_EQ(output_of("t"), "neu2");
        EXPECT_EQ(e.fkt_oba.funktion_per_bezeichner("h"), h);
        // An endless loop stops at the side run's limit, told to no one.
        ASSERT_EQ(uebersetze(0, 0, "endlos", "{while (1) { x = 1; }}"), 0);
        EXPECT_EQ(ausfuehren(-1, e.fkt_oba.funktion_per_bezeichner("endlos")), QIM_BEFEHLSGRENZE);
        EXPECT_LE(maschine().befehle_zuletzt(), 1001u);
        EXPECT_TRUE(stops.empty());
        ausgabe_puffer = "danach";
    }

    EXPECT_EQ(ausgabe_puffer, "davor");
    EXPECT_EQ(e.gvar_oba.count(), globals);
    EXPECT_EQ(e.fkt_oba.count(), functions);
    EXPECT_EQ(e.fkt_oba.funktion_per_bezeichner("f"), f);
    EXPECT_FALSE(f->entfernt);
    EXPECT_EQ(e.fkt_oba.funktion_per_bezeichner("h"), h);
    EXPECT_EQ(h->typ, FKT_RESERVIERT) << "reserved again, so a run still finds it missing";
    EXPECT_EQ(e.fkt_oba.funktion_fehlt(), h);
    for (const char* gone : {"vorschau", "endlos", "fehlt"})
        EXPECT_EQ(e.fkt_oba.funktion_per_bezeichner(gone), nullptr) << gone;
    // The template compiled before the side run calls the old f again.
    EXPECT_EQ(output_of("t"), "alt@error");
    EXPECT_EQ(e.gvar_oba.inq("g")->als_text(), "vorher");
    ASSERT_EQ(e.gvar_oba.inq("feld")->typ, TYP_ARRAY);
    EXPECT_EQ(e.gvar_oba.inq("feld")->als_array()->count(), 1);
    EXPECT_EQ(e.gvar_oba.inq("neu"), nullptr);
    // The next new symbol gets the number the side run's got.
    EXPECT_EQ(e.const_oba.symbol_anzahl(), symbols);
    EXPECT_EQ(maschine().grenzen().befehle, limit);
    ASSERT_EQ(uebersetze(0, 0, "endlos", "{while (1) { x = 1; }}"), 0);
    maschine().grenzen().befehle = 1000;
    ausfuehren(0, e.fkt_oba.funktion_per_bezeichner("endlos"));
    EXPECT_EQ(stops, std::vector<std::string>{"endlos"}) << "the stop is told again after the side run";
    maschine().abbruchmelder_setzen(nullptr);
    ausgabe_puffer.clear();
}

}  // namespace
}  // namespace galvora
