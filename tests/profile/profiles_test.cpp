#include "profile/profiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/messages.h"
#include "foundation/registry.h"
#include "profile/picture_effect.h"
#include "profile/profile_file.h"
#include "profile/profile_hooks.h"
#include "profile/profile_lists.h"
#include "profile/settings_table.h"
#include "profile_test_env.h"
#include "script/engine.h"

namespace galvora {
namespace {

using testing::ProfileSandbox;

class ProfilesTest : public ProfileSandbox {};

std::vector<std::string> listed() {
    std::vector<std::string> out;
    for (const auto& p : profilliste()) out.push_back(p->Name() + ":" + std::to_string(p->art()));
    return out;
}

TEST_F(ProfilesTest, UserProfileShadowsAProgramProfileOfTheSameName) {
    write_profile(system_dir, "Only", {"VERSION=2.11.02"});
    write_profile(system_dir, "Shared", {"VERSION=2.11.02", "THUMB_SIZE=1"});
    write_profile(user_dir, "shared", {"VERSION=2.11.02", "THUMB_SIZE=2"});
    write_profile(system_dir, "notes", {});
    std::filesystem::rename(system_dir / "notes.qvp", system_dir / "notes.txt");

    profile_auflisten();

    ASSERT_EQ(profilliste().count(), 3) << ::testing::PrintToString(listed());
    EXPECT_EQ(profilliste().item(1L)->art(), kProfileDefault);
    EXPECT_EQ(profilliste().item(1L)->Name(), "Voreinstellung");
    auto shared = profil_per_name("SHARED");
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->art(), kProfileUser);
    EXPECT_EQ(shared->path(), user_dir.string());
    EXPECT_EQ(profilliste().item(3L), shared) << "the user profile takes the last place";
    EXPECT_EQ(profil_per_name("Only")->art(), kProfileSystem);
    EXPECT_EQ(profil_per_name("missing"), nullptr);

    profil_laden(shared);
    EXPECT_EQ(profilwert(37), "2");
}

TEST_F(ProfilesTest, ListingLoadsTheLastRunsProfile) {
    write_profile(user_dir, "Urlaub", {"VERSION=2.11.02", "THUMB_SIZE=180"});
    registry_schreiben("LastSession", "profile", "urlaub");
    profile_auflisten();
    EXPECT_EQ(aktuelles_profil()->Name(), "Urlaub");
    EXPECT_EQ(profilwert(37), "180");

    registry_schreiben("LastSession", "profile", "vanished");
    profile_auflisten();
    EXPECT_EQ(aktuelles_profil()->art(), kProfileDefault);
    EXPECT_EQ(profilwert(37), "120");
    EXPECT_TRUE(port.boxes.empty());

    registry_schreiben("LastSession", "profile", "");
    profile_auflisten();
    EXPECT_EQ(aktuelles_profil(), standardprofil());
}

TEST_F(ProfilesTest, CommandLineOverridesChangeTheLoadedTable) {
    struct Case {
        const char* name;
        const char* argument;
        int index;
        const char* result;
    };
    const Case cases[] = {
        {"thumb_size", "200", 37, "200"},
        {"$FILTER", "a", 30, "a*"},
        {"FILTER$", "b", 30, "*b"},
        {"$$Filter$", "c", 30, "*c*"},
    };
    for (const auto& c : cases) {
        profil_laden(nullptr);
        std::string value = c.argument;
        EXPECT_EQ(profilwert_per_name_setzen(c.name, value), c.index) << c.name;
        EXPECT_EQ(value, c.result) << c.name;
        EXPECT_EQ(geladene_Profileinstellungen()[static_cast<size_t>(c.index)].value, c.result) << c.name;
        EXPECT_NE(profilwert(c.index), c.result) << "the working copy changes only when applied";
        profil_anwenden();
        EXPECT_EQ(profilwert(c.index), c.result) << c.name;
    }

    profil_laden(nullptr);
    const Profiltabelle before = geladene_Profileinstellungen();
    // Names of no setting, also the empty name of a spare index, change nothing.
    for (const char* name : {"NO_SUCH_KEY", "$$$", ""}) {
        std::string value = "x";
        EXPECT_EQ(profilwert_per_name_setzen(name, value), -1) << name;
        EXPECT_EQ(value, "x");
    }
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(geladene_Profileinstellungen()[i].value, before[i].value);
}

TEST_F(ProfilesTest, ApplyCompilesEachModuleOnItsOwnAndReloadsTheDialog) {
    std::vector<std::string> calls;
    auto& hooks = profile_hooks();
    hooks.script_engine_reset = [&] { calls.push_back("reset"); };
    hooks.script_variables_create = [&] { calls.push_back("variables"); };
    hooks.compile_module = [&](const std::string& name, const std::string& text) {
        calls.push_back("compile " + name);
        return text.find("error") != std::string::npos ? 1 : 0;
    };
    hooks.remove_script_functions = [&] { calls.push_back("remove"); };
    hooks.options_dialog_reload = [&] { calls.push_back("dialog"); };

    write_profile(user_dir, "m", {"VERSION=2.11.02", "IMAGE_EFFECT_DESCRIPTION=E", "!*good", "!+ok", "!*bad",
                                  "!+an error"});
    auto profile = profilliste().add(kProfileUser, "m", user_dir.string());
    profil_laden(profile);

    // Reading resets the engine once, applying resets it again before compiling.
    const std::vector<std::string> expected = {"reset", "variables", "reset", "variables", "compile good", "remove",
                                               "compile bad", "remove", "dialog"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(ProfileModules().item("good")->status(), kModuleCompiled);
    EXPECT_EQ(ProfileModules().item("bad")->status(), kModuleCompileError);
    EXPECT_EQ(LoadedProfileModules().item("bad")->status(), kModuleNotCompiled);
    EXPECT_FALSE(ProfileModules().verändert());
    EXPECT_EQ(WorkingCloneEffects().count(), 1);
    EXPECT_NE(WorkingCloneEffects().item(1), LoadedCloneEffects().item(1)) << "the working list holds copies";
    EXPECT_FALSE(WorkingCloneEffects().verändert());
    EXPECT_FALSE(profil_geaendert);
    EXPECT_TRUE(port.boxes.empty()) << "compile errors show no message";
}

TEST_F(ProfilesTest, AcceptCopiesWorkingIntoLoadedOnlyWhenSomethingChanged) {
    profilaenderungen_uebernehmen();
    EXPECT_FALSE(profil_ungespeichert);

    profilwert_setzen(37, "77");
    WorkingCloneEffects().add(std::make_shared<CBildEffekt>());
    profilaenderungen_uebernehmen();
    EXPECT_EQ(geladene_Profileinstellungen()[37].value, "77");
    EXPECT_EQ(LoadedCloneEffects().count(), 1);
    EXPECT_TRUE(profil_ungespeichert);
    EXPECT_FALSE(profil_geaendert);
    EXPECT_FALSE(WorkingCloneEffects().verändert());

    // Module changes alone make closing ask to save.
    profil_ungespeichert = false;
    ProfileModules().add("neu", "x", kModuleNotCompiled);
    profilaenderungen_uebernehmen();
    EXPECT_TRUE(LoadedProfileModules().verändert());
    port.answers = {ID_NO};
    EXPECT_EQ(profilaenderungen_speichern_fragen(), ID_NO);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, "Das Profil\r\nVoreinstellung\r\nwurde verändert\r\n\r\nÄnderungen speichern?");
    EXPECT_EQ(port.boxes[0].style, MB_YESNOCANCEL_STYLE | MB_ICON_QUESTION);
    EXPECT_TRUE(profil_ungespeichert) << "No leaves the unsaved state";
}

TEST_F(ProfilesTest, DiscardAsksAndRestoresOnYes) {
    EXPECT_EQ(profilaenderungen_verwerfen_fragen(), ID_YES);
    EXPECT_TRUE(port.boxes.empty()) << "nothing to discard: no question";

    int compiles = 0;
    profile_hooks().compile_module = [&](const std::string&, const std::string&) {
        ++compiles;
        return 0;
    };
    LoadedProfileModules().add("m", "x", kModuleNotCompiled);
    profil_anwenden();
    compiles = 0;

    profilwert_setzen(37, "300");
    port.answers = {ID_NO};
    EXPECT_EQ(profilaenderungen_verwerfen_fragen(), ID_NO);
    EXPECT_EQ(profilwert(37), "300");
    EXPECT_EQ(port.boxes.back().text, "Das Profil\r\nVoreinstellung\r\nwurde verändert\r\n\r\nÄnderungen verwerfen?");

    ProfileModules().item("m")->status(kModuleCompileError);
    port.answers = {ID_YES};
    EXPECT_EQ(profilaenderungen_verwerfen_fragen(), ID_YES);
    EXPECT_EQ(profilwert(37), "120");
    EXPECT_EQ(compiles, 1) << "discarding recompiles the modules";
    EXPECT_EQ(ProfileModules().item("m")->status(), kModuleCompiled);
    EXPECT_FALSE(profil_geaendert);
}

TEST_F(ProfilesTest, AskToSaveCoversScriptFileAndProfile) {
    EXPECT_EQ(profilaenderungen_speichern_fragen(), 1);
    EXPECT_TRUE(port.boxes.empty());

    ScriptFileModules().add("s", "", kModuleNotCompiled);
    port.answers = {ID_NO};
    EXPECT_EQ(profilaenderungen_speichern_fragen(), 2);
    EXPECT_EQ(port.boxes.back().text, "ZantoScript-Modul wurde verändert!\r\n\r\nÄnderungen verwerfen?");

    port.answers = {ID_YES};
    EXPECT_EQ(profilaenderungen_speichern_fragen(), ID_YES) << "discarding the script file leaves answer 6";
    ScriptFileModules().verändert_reset();

    auto profile = profilliste().add(kProfileUser, "save", user_dir.string());
    write_profile(user_dir, "save", {"VERSION=2.11.02"});
    profil_laden(profile);
    profilwert_setzen(38, "55");
    profilaenderungen_uebernehmen();
    port.answers = {ID_CANCEL};
    EXPECT_EQ(profilaenderungen_speichern_fragen(), ID_CANCEL);
    EXPECT_TRUE(profil_ungespeichert);

    port.answers = {ID_YES};
    EXPECT_EQ(profilaenderungen_speichern_fragen(), 1);
    EXPECT_FALSE(profil_ungespeichert);
    profil_laden(profile);
    EXPECT_EQ(profilwert(38), "55");
}

TEST_F(ProfilesTest, CreateSavesANewUserProfileAndMakesItCurrent) {
    profilwert_setzen(37, "222");
    ASSERT_EQ(profil_neu("Neu"), 1) << last_box_text();
    EXPECT_TRUE(std::filesystem::exists(user_dir / "Neu.qvp"));
    EXPECT_EQ(aktuelles_profil()->Name(), "Neu");
    EXPECT_EQ(aktuelles_profil()->art(), kProfileUser);
    EXPECT_EQ(profilwert(37), "222") << "read back from its file";
    EXPECT_TRUE(profil_per_name("neu"));

    auto before = aktuelles_profil();
    for (const char* bad : {"../outside", "a/b", "", ".."}) {
        port.boxes.clear();
        EXPECT_EQ(profil_neu(bad), 2) << bad;
        ASSERT_EQ(port.boxes.size(), 1u) << bad;
        EXPECT_EQ(aktuelles_profil(), before);
    }
    EXPECT_FALSE(std::filesystem::exists(user_dir.parent_path() / "outside.qvp"));

    registry_schreiben("LastSession", "userprofiledir", (root / "absent").string());
    EXPECT_EQ(profil_neu("Zweit"), 2);
    EXPECT_EQ(aktuelles_profil(), before);
    EXPECT_FALSE(profil_per_name("Zweit"));
}

TEST_F(ProfilesTest, DeleteRemovesTheFileAndFallsBackToTheDefault) {
    EXPECT_EQ(profil_loeschen(), 2);
    EXPECT_EQ(last_box_text(), "Profil Voreinstellung kann nicht gelöscht werden");
    EXPECT_EQ(port.boxes.back().title, "Profil löschen");

    ASSERT_EQ(profil_neu("Weg"), 1);
    ASSERT_EQ(aktuelles_profil()->Name(), "Weg");
    EXPECT_EQ(profil_loeschen(), 1);
    EXPECT_FALSE(std::filesystem::exists(user_dir / "Weg.qvp"));
    EXPECT_FALSE(profil_per_name("Weg"));
    EXPECT_EQ(aktuelles_profil()->art(), kProfileDefault);

    auto ghost = profilliste().add(kProfileUser, "ghost", user_dir.string());
    set_aktuelles_profil(ghost);
    port.boxes.clear();
    EXPECT_EQ(profil_loeschen(), 2);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(last_box_text().rfind("Fehler 53 beim Löschen der Profildatei", 0), 0u) << last_box_text();
}

// Without a user profile folder set (the main window stores the default one
// at its start), no user profile is listed, not even one in the default
// folder, and saving names the missing folder and makes none.
TEST_F(ProfilesTest, WithoutAUserProfileFolderNothingIsListedOrSaved) {
    EXPECT_EQ(benutzerprofilordner(), user_dir.string());
    const auto default_folder = root / "data" / "galvora" / "profiles";
    EXPECT_EQ(standard_benutzerprofilordner(), default_folder.string());
    std::filesystem::create_directories(default_folder);
    write_profile(default_folder, "Liegt", {"VERSION=2.11.02"});
    write_profile(user_dir, "Gesetzt", {"VERSION=2.11.02"});
    registry_schreiben("LastSession", "userprofiledir", "");
    EXPECT_EQ(benutzerprofilordner(), "");

    profile_auflisten();
    EXPECT_EQ(listed(), std::vector<std::string>{"Voreinstellung:0"});

    std::filesystem::remove_all(default_folder);
    auto before = aktuelles_profil();
    port.boxes.clear();
    EXPECT_EQ(profil_neu("Erstes"), 2);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(last_box_text().rfind("Benutzer-Profilverzeichnis", 0), 0u) << last_box_text();
    EXPECT_EQ(aktuelles_profil(), before);
    EXPECT_FALSE(std::filesystem::exists(default_folder));
}

}  // namespace
}  // namespace galvora

namespace galvora {
namespace {

class ProfileScriptTest : public testing::ProfileSandbox {};

// Without hooks, applying compiles with the script engine itself.
TEST_F(ProfileScriptTest, ApplyChecksModulesWithTheCompilerAndLeavesNoFunctions) {
    LoadedProfileModules().add("gut", "function verdoppeln(x)\r\n{\r\n  return x * 2;\r\n}\r\n", kModuleNotCompiled);
    LoadedProfileModules().add("kaputt", "function (x) { return ; ", kModuleNotCompiled);
    profil_anwenden();
    EXPECT_EQ(ProfileModules().item("gut")->status(), kModuleCompiled);
    EXPECT_EQ(ProfileModules().item("kaputt")->status(), kModuleCompileError);
    ASSERT_NE(zns(), nullptr);
    EXPECT_EQ(zns()->fkt_oba.funktion_per_bezeichner("verdoppeln"), nullptr) << "module functions do not stay";
    EXPECT_TRUE(port.boxes.empty());

    // The same compile with the removal left out keeps the function: the check above means something.
    profile_hooks().remove_script_functions = [] {};
    profil_anwenden();
    EXPECT_NE(zns()->fkt_oba.funktion_per_bezeichner("verdoppeln"), nullptr);
}

}  // namespace
}  // namespace galvora
