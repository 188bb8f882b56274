// The rules of the new-profile, new-module and picture-type windows: what OK
// does with the text typed, which message refuses it, and what is changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "app/small_dialogs.h"
#include "profile/profiles.h"
#include "profile/script_modules.h"
#include "profile/settings_table.h"

namespace galvora::testing {
namespace {

class SmallDialogs : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        designtexte_aufnehmen(kProfilNeuFenster, profilneu_designtexte());
        designtexte_aufnehmen(kModulNeuFenster, modulneu_designtexte());
        designtexte_aufnehmen(kDateiartenFenster, dateiarten_designtexte());
        user_profile_folder();
        profile_auflisten();
        profil_laden();
        port.boxes.clear();
    }

    fs::path user_profile(const std::string& name) const { return fs::path(benutzerprofilordner()) / (name + ".qvp"); }
};

struct NameCase {
    const char* typed;
    const char* shown;    // the box's text after OK
    const char* refusal;  // key of the message, or nullptr when the window closes
};

TEST_F(SmallDialogs, NewProfileNames) {
    const std::vector<NameCase> cases = {
        {"", "", "ErrProfileMissingName"},
        {"    ", "", "ErrProfileMissingName"},
        {"a/b", "a/b", "ErrProfileInvalidCharacter"},
        {"Reise: Rom", "Reise: Rom", "ErrProfileInvalidCharacter"},
        {"$dollar", "$dollar", "ErrProfileInvalidCharacter"},
        {"  Urlaub 2024  ", "Urlaub 2024", nullptr},
    };
    for (const NameCase& c : cases) {
        port.boxes.clear();
        ProfilNeu dialog;
        std::string name = c.typed;
        const bool closes = dialog.ok(name);
        EXPECT_EQ(name, c.shown) << c.typed;
        if (c.refusal != nullptr) {
            EXPECT_FALSE(closes) << c.typed;
            ASSERT_EQ(port.boxes.size(), 1u) << c.typed;
            EXPECT_EQ(port.boxes[0].text, msg(c.refusal)) << c.typed;
            EXPECT_EQ(port.boxes[0].title, "Galvora - Neues Profil");
            EXPECT_EQ(port.boxes[0].style, MB_ICON_EXCLAMATION);
            EXPECT_EQ(dialog.profilname(), "");
        } else {
            EXPECT_TRUE(closes) << c.typed;
            EXPECT_TRUE(port.boxes.empty()) << port.boxes.front().text;
            EXPECT_EQ(dialog.profilname(), c.shown);
            EXPECT_TRUE(fs::exists(user_profile(c.shown)));
            EXPECT_EQ(aktuelles_profil()->Name(), c.shown);
        }
    }
}

TEST_F(SmallDialogs, AnExistingProfileNameIsCreatedOnlyAfterYes) {
    {
        ProfilNeu first;
        std::string name = "Familie";
        ASSERT_TRUE(first.ok(name));
    }
    profilwert_setzen(2, "zweite Fassung");
    port.boxes.clear();

    port.answer = ID_NO;
    ProfilNeu refused;
    std::string name = "familie";
    EXPECT_FALSE(refused.ok(name));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("MsgProfileExist", {"familie"}));
    EXPECT_EQ(port.boxes[0].style, MB_YESNO_STYLE | MB_ICON_QUESTION);
    EXPECT_EQ(port.boxes[0].title, "Galvora - Neues Profil");
    EXPECT_EQ(refused.profilname(), "");
    EXPECT_EQ(read_file(user_profile("Familie")).find("zweite Fassung"), std::string::npos);

    port.answer = ID_YES;
    ProfilNeu accepted;
    name = "Familie";
    EXPECT_TRUE(accepted.ok(name));
    EXPECT_EQ(accepted.profilname(), "Familie");
    EXPECT_NE(read_file(user_profile("Familie")).find("zweite Fassung"), std::string::npos);
}

TEST_F(SmallDialogs, NewModuleNames) {
    ZNModule modules;
    modules.add("alt", "function f() { return 1; }", 3);
    modules.add("andere", "", 3);
    modules.verändert_reset();

    for (const char* empty : {"", "   "}) {
        port.boxes.clear();
        ModulNeu dialog(modules);
        std::string name = empty;
        EXPECT_FALSE(dialog.ok(name));
        EXPECT_EQ(name, "");
        ASSERT_EQ(port.boxes.size(), 1u);
        EXPECT_EQ(port.boxes[0].text, msg("ErrModuleMissingName"));
        EXPECT_EQ(port.boxes[0].title, "ZantoScript - Neues Modul");
        EXPECT_EQ(dialog.modul(), nullptr);
    }
    EXPECT_EQ(modules.count(), 2);

    // Module names are not tested for characters.
    port.boxes.clear();
    ModulNeu fresh(modules);
    std::string name = "  neu/1  ";
    ASSERT_TRUE(fresh.ok(name));
    EXPECT_EQ(name, "neu/1");
    ASSERT_NE(fresh.modul(), nullptr);
    EXPECT_EQ(fresh.modul()->Name(), "neu/1");
    EXPECT_EQ(fresh.modul()->inhalt(), "");
    EXPECT_EQ(fresh.modul()->status(), 2);
    EXPECT_EQ(modules.count(), 3);
    EXPECT_TRUE(port.boxes.empty());

    port.answer = ID_NO;
    ModulNeu kept(modules);
    name = "ALT";
    EXPECT_FALSE(kept.ok(name));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("MsgModuleExist", {"ALT"}));
    EXPECT_EQ(port.boxes[0].style, MB_YESNO_STYLE | MB_ICON_QUESTION);
    EXPECT_EQ(modules.item(std::string_view("alt"))->inhalt(), "function f() { return 1; }");

    port.answer = ID_YES;
    ModulNeu replaced(modules);
    name = "alt";
    ASSERT_TRUE(replaced.ok(name));
    EXPECT_EQ(modules.count(), 3);
    EXPECT_EQ(modules.item(3L)->Name(), "alt");
    EXPECT_EQ(modules.item(3L)->inhalt(), "");
    EXPECT_EQ(modules.item(3L)->status(), 2);
    EXPECT_EQ(replaced.modul(), modules.item(3L));
}

TEST_F(SmallDialogs, PictureTypeExtensions) {
    const int raw = 24;
    Dateiarten dialog(raw);
    EXPECT_EQ(dialog.beschriftung(), "Dateiarten des Bildtyps RAW");
    EXPECT_EQ(dialog.wert(), "CR2,CRW,DCR,DNG,MRW,NEF,ORF,PEF,RAF,RAW,SRF,SR2");

    std::string text;
    EXPECT_FALSE(dialog.ok(text));
    EXPECT_EQ(text, dialog.wert());
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("ErrMissingImageType"));
    EXPECT_EQ(port.boxes[0].title, "Galvora - Bild-Dateiart");
    EXPECT_FALSE(profil_geaendert);

    text = dialog.wert();
    EXPECT_TRUE(dialog.ok(text));
    EXPECT_FALSE(profil_geaendert) << "an unchanged list leaves the profile unmarked";

    text = " CR2, nef ";
    EXPECT_TRUE(dialog.ok(text));
    EXPECT_EQ(profilwert(raw), " CR2, nef ") << "stored as typed";
    EXPECT_TRUE(profil_geaendert);
    EXPECT_EQ(port.boxes.size(), 1u);

    EXPECT_EQ(Dateiarten(16).beschriftung(), "Dateiarten des Bildtyps EMF");
    EXPECT_THROW(Dateiarten(197), std::out_of_range);
    EXPECT_THROW(Dateiarten(-1), std::out_of_range);
}

}  // namespace
}  // namespace galvora::testing
