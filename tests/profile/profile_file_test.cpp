#include "profile/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "foundation/error.h"
#include "foundation/program_info.h"
#include "foundation/registry.h"
#include "foundation/text_codec.h"
#include "profile/border.h"
#include "profile/image_stamp.h"
#include "profile/picture_effect.h"
#include "profile/profile_hooks.h"
#include "profile/profile_lists.h"
#include "profile/profiles.h"
#include "profile/text_stamp.h"
#include "profile_test_env.h"
#include "foundation/file_size_limit.h"

namespace galvora {
namespace {

using testing::ProfileSandbox;

// Reads lines into a freshly defined table and the loaded lists.
void read_lines(const std::vector<std::string>& lines) {
    profil_schluessel_definieren();
    profile_lines_einlesen(lines, geladene_Profileinstellungen(), LoadedCloneEffects(), LoadedProfileModules());
}

const std::string& loaded(int index) { return geladene_Profileinstellungen()[static_cast<size_t>(index)].value; }

class ProfileFileTest : public ProfileSandbox {};

// Fills the loaded table, the working effect list and the loaded modules with
// values that exercise every part of the format.
void fill_everything() {
    auto& table = geladene_Profileinstellungen();
    table[2].value = "\r\nBeschreibung mit Umbruch\r\n";
    table[30].value = " *.jpg ";
    table[37].value = "05";
    table[53].value = "/home/me/clones";
    table[125].value = "<meta a>\r\n\r\n<meta b>\r\n";
    table[193].value = "Ünïcödé € text";
    table[196].value = "spare, never written";

    auto& effects = WorkingCloneEffects();
    effects.clear();
    auto text = std::make_shared<CTextStamp>();
    text->Description("Copyright");
    text->Text("(c) {year}\r\nsecond line\r\n");
    text->Font("DejaVu Sans");
    text->Height(22);
    text->Color(0x102030);
    text->BorderWidth(3);
    effects.add(text);
    auto stamp = std::make_shared<CImageStamp>();
    stamp->Description("Logo");
    stamp->Name("");
    stamp->Strecken(1);
    stamp->TransparenzFarbtoleranz(195075);
    effects.add(stamp);
    auto border = std::make_shared<CBorder>();
    border->Description("Rahmen");
    border->RahmenArt(1);
    border->OffsetUnten(-4);
    border->Bildverteilung(1);
    effects.add(border);
    auto effect = std::make_shared<CBildEffekt>();
    effect->Description("Gamma");
    effect->Bildeffektart(1);
    effect->DoubleArray(1, 1.25);
    effect->DoubleArray(10, -0.001);
    effect->LongArray(10, -7);
    effects.add(effect);

    auto& modules = LoadedProfileModules();
    modules.clear();
    modules.add("leading", "\r\n\r\nfunction f()\r\n  return 1\r\nend", kModuleCompiled);
    modules.add("empty", "", kModuleNotCompiled);
    modules.add("trailing", "x = 1\r\n", kModuleNotCompiled);
}

TEST_F(ProfileFileTest, WrittenTextReadsBackByteForByte) {
    fill_everything();
    const Profiltabelle written_table = geladene_Profileinstellungen();
    const std::string text = profile_text(written_table, WorkingCloneEffects(), LoadedProfileModules());
    EXPECT_EQ(text.find("spare, never written"), std::string::npos);
    EXPECT_TRUE(text.starts_with("VERSION=")) << "VERSION comes first";

    ZNModule written_modules;
    LoadedProfileModules().clone(written_modules);

    read_lines(split_lines(text));

    for (int i = 1; i < 196; ++i) {
        EXPECT_EQ(loaded(i), written_table[static_cast<size_t>(i)].value) << i;
    }
    EXPECT_EQ(loaded(196), "");
    ASSERT_EQ(LoadedProfileModules().count(), written_modules.count());
    for (long i = 1; i <= written_modules.count(); ++i) {
        EXPECT_EQ(LoadedProfileModules().item(i)->Name(), written_modules.item(i)->Name());
        EXPECT_EQ(LoadedProfileModules().item(i)->inhalt(), written_modules.item(i)->inhalt()) << i;
        EXPECT_EQ(LoadedProfileModules().item(i)->status(), kModuleNotCompiled);
    }
    ASSERT_EQ(LoadedCloneEffects().count(), 4);
    auto text2 = std::dynamic_pointer_cast<CTextStamp>(LoadedCloneEffects().item(1));
    ASSERT_TRUE(text2);
    EXPECT_EQ(text2->Text(), "(c) {year}\r\nsecond line\r\n");
    auto effect2 = std::dynamic_pointer_cast<CBildEffekt>(LoadedCloneEffects().item(4));
    ASSERT_TRUE(effect2);
    EXPECT_EQ(effect2->DoubleArray(1), 1.25);
    EXPECT_EQ(effect2->DoubleArray(10), -0.001);

    // The effects written again give the same text: every property survived.
    EXPECT_EQ(profile_text(geladene_Profileinstellungen(), LoadedCloneEffects(), LoadedProfileModules()), text);
}

TEST_F(ProfileFileTest, WriterFormatsLinesAsTheFileExpects) {
    Profiltabelle table{};
    table[1] = {"VERSION", "2.11.02"};
    table[125] = {"HTML_INDEX_HEAD", "a\r\nb\r\n"};
    CCloneEffekte effects;
    auto effect = std::make_shared<CBildEffekt>();
    effect->DoubleArray(1, 0.5);
    effects.add(effect);
    ZNModule modules;
    modules.add("m", "one\r\ntwo", 2);
    modules.add("e", "", 2);

    const std::string text = profile_text(table, effects, modules);
    EXPECT_NE(text.find("VERSION=2.11.02\r\nHTML_INDEX_HEAD=a\r\n+b\r\n+\r\n"), std::string::npos);
    EXPECT_NE(text.find("IMAGE_EFFECT_DESCRIPTION=Imageeffect\r\nIMAGE_EFFECT_TYPE=0\r\n"
                        "IMAGE_EFFECT_LONGVALUE_01=50\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("IMAGE_EFFECT_LONGVALUE_10=0\r\nIMAGE_EFFECT_DOUBLEVALUE_01=0.5\r\n"), std::string::npos)
        << "doubles are written with a point";
    EXPECT_TRUE(text.ends_with("!*m\r\n!+one\r\n!+two\r\n!*e\r\n!+\r\n"));
}

TEST_F(ProfileFileTest, LinesAreRecognisedByTheirBeginning) {
    read_lines({
        "+goes to the spare entry",
        "* comment THUMB_SIZE=1",
        "   thumb_size = 200",
        "filter= *.png",
        "HTML_PIC_HEAD=first",
        "+second",
        "   +third",
        "no equals sign here",
        "UNKNOWN_KEY=1",
        "+dropped: no text stamp yet",
        "STAMP_TEXT_HEIGHT=99",
        "STAMP_TEXT_DESCRIPTION=S",
        "STAMP_TEXT=hello",
        "UNKNOWN_KEY=2",
        "+world",
        "ENUM_PIC_POST_PIC=old key",
        "+continued",
        "CLONE_PATH=C:\\Bilder\\Klone",
        "!*Tools ",
        "!+",
        "!+  indented",
        "!*tools",
        "!+replaced",
        "JP2=1",
    });
    EXPECT_EQ(loaded(37), " 200") << "key in any case without its blanks; the value keeps its first blank";
    EXPECT_EQ(loaded(30), " *.png") << "the value keeps its first blank";
    EXPECT_EQ(loaded(176), "first\r\nsecond\r\nthird");
    EXPECT_EQ(loaded(193), "old key\r\ncontinued");
    EXPECT_EQ(loaded(53), "C:/Bilder/Klone") << "old Windows paths are read with /";
    EXPECT_EQ(loaded(7), "1") << "only the full read forces JP2 to 0";
    ASSERT_EQ(LoadedCloneEffects().count(), 1);
    auto stamp = std::dynamic_pointer_cast<CTextStamp>(LoadedCloneEffects().item(1));
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->Height(), 15) << "a property before its description line is ignored";
    EXPECT_EQ(stamp->Text(), "hello\r\nworld");
    ASSERT_EQ(LoadedProfileModules().count(), 1) << "two headers of one name give one module";
    EXPECT_EQ(LoadedProfileModules().item(1)->Name(), "tools");
    EXPECT_EQ(LoadedProfileModules().item(1)->inhalt(), "replaced");
}

// The design drops the empty lines a module begins with (a text that is
// still empty takes the next line without a break): every later line would
// move up, and a compile error would name a line above the faulty one.
TEST_F(ProfileFileTest, ModuleKeepsItsLeadingEmptyLines) {
    read_lines({"!*m", "!+", "!+", "!+code", "!+", "!*n", "!+"});
    EXPECT_EQ(LoadedProfileModules().item("m")->inhalt(), "\r\n\r\ncode\r\n");
    EXPECT_EQ(LoadedProfileModules().item("n")->inhalt(), "");
}

TEST_F(ProfileFileTest, EffectTypeAfterParametersEndsWithThatKindsDefaults) {
    read_lines({
        "IMAGE_EFFECT_DESCRIPTION=E",
        "IMAGE_EFFECT_LONGVALUE_01=3",
        "IMAGE_EFFECT_LONGVALUE_00=8",
        "IMAGE_EFFECT_DOUBLEVALUE_01=0,75",
        "IMAGE_EFFECT_TYPE=12",
    });
    auto effect = std::dynamic_pointer_cast<CBildEffekt>(LoadedCloneEffects().item(1));
    ASSERT_TRUE(effect);
    EXPECT_EQ(effect->LongArray(1), 10);
    EXPECT_EQ(effect->LongArray(2), 10);
    EXPECT_EQ(effect->LongArray(0), 8) << "element 0 is accepted";
    EXPECT_EQ(effect->DoubleArray(1), 0.75) << "old profiles write doubles with a comma";
}

TEST_F(ProfileFileTest, BadLinesReportTheirNumberAndText) {
    struct Case {
        const char* line;
        long error_number;
    };
    for (const Case& c : {Case{"IMAGE_EFFECT_LONGVALUE_11=1", 9}, Case{"IMAGE_EFFECT_LONGVALUE_xy=1", 13},
                          Case{"IMAGE_EFFECT_TYPE=abc", 13}, Case{"IMAGE_EFFECT_DOUBLEVALUE_02=", 13},
                          Case{"IMAGE_EFFECT_LONGVALUE_02=99999999999", 6}}) {
        try {
            read_lines({"VERSION=2.11.02", "IMAGE_EFFECT_DESCRIPTION=E", c.line});
            ADD_FAILURE() << c.line;
        } catch (const ProfileLineFailure& f) {
            EXPECT_EQ(f.error_number, c.error_number) << c.line;
            EXPECT_EQ(f.line_number, 3) << c.line;
            EXPECT_EQ(f.line, c.line);
        }
    }
}

TEST_F(ProfileFileTest, OldProfilePassesEveryUpgradeStep) {
    read_lines({
        "VERSION=2.09.01",
        "HTML_INDEX_TABLE=border=\"1\"",
        "HTML_INDEX_TD_TAG=valign=\"top\"",
        "HTML_TABLE_TAG=border=\"2\"",
        "HTML_THUMB_TD_TAG=",
        "DECO_POOL=C:\\Pool",
        "DECO_SOURCE=blau",
        "CLONE_COPY=1",
        "CLONE_SIZE_ORIGINAL=0",
        "CLONE_SELECTED_SIDE=2",
        "THUMB_SELECTED_SIDE=0",
        "HTML_FRAME_HEAD=",
        "HTML_HEAD=<meta old>",
        "DIR_SORT=datum",
        "THUMB_SORTIERUNG=NumName",
        "DIR_SORTDIRECTION=down",
        "THUMB_SORTIERRICHTUNG=UP",
    });
    profil_aktualisieren(geladene_Profileinstellungen(), "2.09.01", 17);
    const std::string meta = "<meta name=\"generator\" content=\"Galvora\">\r\n<meta name=\"keywords\" content=\"Galvora\">";
    EXPECT_EQ(loaded(130), "<table border=\"1\">\r\n");
    EXPECT_EQ(loaded(133), "<td valign=\"top\">");
    EXPECT_EQ(loaded(163), "<table border=\"2\">\r\n");
    EXPECT_EQ(loaded(166), "<td >");
    EXPECT_EQ(loaded(90), "C:/Pool/blau");
    EXPECT_EQ(loaded(56), "0") << "\"False\" from 2.09.05, then \"0\" from 2.10.00";
    EXPECT_EQ(loaded(61), "1") << "set to 0, then moved up by one";
    EXPECT_EQ(loaded(40), "1");
    EXPECT_EQ(loaded(144), meta);
    EXPECT_EQ(loaded(149), meta + "\r\n<meta old>");
    EXPECT_TRUE(loaded(125).starts_with(meta + "\r\n<meta name=\"generator\""));
    EXPECT_EQ(loaded(28), "2");
    EXPECT_EQ(loaded(84), "7");
    EXPECT_EQ(loaded(29), "1");
    EXPECT_EQ(loaded(85), "0");
}

TEST_F(ProfileFileTest, OldProfileFileIsUpgradedWhenLoaded) {
    write_profile(user_dir, "alt", {"VERSION=2.09.04", "CLONE_COPY=1", "CLONE_SIZE_ORIGINAL=0",
                                    "CLONE_SELECTED_SIDE=0", "THUMB_SELECTED_SIDE=1", "HTML_PIC_HEAD=",
                                    "THUMB_SORTIERUNG=Datum", "ZANTOSCRIPT_FILE=D:\\Skripte\\a.zsf"});
    profil_laden(profilliste().add(kProfileUser, "alt", user_dir.string()));
    EXPECT_TRUE(port.boxes.empty()) << last_box_text();
    EXPECT_EQ(aktuelles_profil()->Name(), "alt");
    EXPECT_EQ(profilwert(1), "2.09.04") << "the version stays until the profile is saved";
    EXPECT_EQ(profilwert(56), "0");
    EXPECT_EQ(profilwert(61), "1");
    EXPECT_EQ(profilwert(40), "2");
    EXPECT_EQ(profilwert(176),
              "<meta name=\"generator\" content=\"Galvora\">\r\n<meta name=\"keywords\" content=\"Galvora\">");
    EXPECT_EQ(profilwert(84), "2");
    EXPECT_EQ(profilwert(79), "D:/Skripte/a.zsf");
}

TEST_F(ProfileFileTest, StepsAppliedOnlyAboveTheFilesVersion) {
    read_lines({"CLONE_COPY=1", "CLONE_SIZE_ORIGINAL=1", "CLONE_SELECTED_SIDE=3", "THUMB_SELECTED_SIDE=1",
                "HTML_INDEX_TABLE=x"});
    profil_aktualisieren(geladene_Profileinstellungen(), "2.09.04", 5);
    EXPECT_EQ(loaded(56), "0");
    EXPECT_EQ(loaded(61), "0") << "kept size: side reset after the increment";
    EXPECT_EQ(loaded(40), "2");
    EXPECT_NE(loaded(130), "<table x>\r\n") << "the 2.09.02 step is not applied";

    read_lines({"THUMB_SORTIERUNG=17", "DIR_SORT=abc", "CLONE_SELECTED_SIDE=4"});
    profil_aktualisieren(geladene_Profileinstellungen(), "2.10.00", 3);
    EXPECT_EQ(loaded(84), "17");
    EXPECT_EQ(loaded(28), "1");
    EXPECT_EQ(loaded(61), "4");
}

TEST_F(ProfileFileTest, UpgradeOfANonNumericValueFails) {
    read_lines({"CLONE_SELECTED_SIDE=links"});
    EXPECT_THROW(profil_aktualisieren(geladene_Profileinstellungen(), "2.09.09", 1), ProfileLineFailure);
}

// ---------------------------------------------------------------- files

TEST_F(ProfileFileTest, SaveAndLoadThroughTheUserFolder) {
    auto profile = profilliste().add(kProfileSystem, "Reise", system_dir.string());
    write_profile(system_dir, "Reise", {"VERSION=2.11.02", "THUMB_SIZE=150", "!*m", "!+x"});
    profil_laden(profile);
    EXPECT_EQ(profilwert(37), "150");

    profilwert_setzen(38, "99");
    profilaenderungen_uebernehmen();
    ASSERT_EQ(profil_speichern(), 1);
    EXPECT_TRUE(port.boxes.empty()) << last_box_text();
    EXPECT_EQ(profile->art(), kProfileUser) << "saving a program profile makes it a user profile";
    EXPECT_EQ(profile->path(), user_dir.string());
    EXPECT_TRUE(std::filesystem::exists(user_dir / "Reise.qvp"));
    EXPECT_EQ(testing::file_bytes(system_dir / "Reise.qvp").find("THUMB_WIDTH"), std::string::npos)
        << "the program's profile is never written";
    EXPECT_EQ(registry_lesen("LastSession", "profile", ""), "reise");
    EXPECT_EQ(profilwert(1), programmversion());
    EXPECT_FALSE(profil_ungespeichert);

    profil_laden(profile);
    EXPECT_EQ(profilwert(37), "150");
    EXPECT_EQ(profilwert(38), "99");
    EXPECT_EQ(ProfileModules().item("m")->inhalt(), "x");
}

TEST_F(ProfileFileTest, ReadForcesJp2OffAndCutsTheLastDataAtTheBar) {
    auto profile = profilliste().add(kProfileUser, "p", user_dir.string());
    write_profile(user_dir, "p", {"VERSION=2.11.02", "JP2=1"});
    registry_schreiben("ProfilesLastData", "p", "/pics|1|2");
    std::string shown;
    profile_hooks().show_current_profile = [&](const std::string& text) { shown = text; };
    profil_laden(profile);
    EXPECT_EQ(profilwert(7), "0");
    EXPECT_EQ(registry_lesen("ProfilesLastData", "p", ""), "/pics");
    EXPECT_EQ(shown, product_name() + " - p");
}

TEST_F(ProfileFileTest, ReadsWindows1252Files) {
    auto profile = profilliste().add(kProfileUser, "alt", user_dir.string());
    std::ofstream(user_dir / "alt.qvp", std::ios::binary) << "VERSION=2.10.00\r\nKOMMENTAR=Gr\xFC\xDF" "e\r\n";
    profil_laden(profile);
    EXPECT_EQ(profilwert(2), "Grüße");
}

TEST_F(ProfileFileTest, DamagedProfilesFallBackToTheDefaultUntouched) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        const char* message_start;
    };
    const std::vector<Case> cases = {
        {"effect", {"VERSION=2.11.02", "THUMB_SIZE=1", "IMAGE_EFFECT_DESCRIPTION=E", "IMAGE_EFFECT_LONGVALUE_11=5"},
         "Fehler 9 beim Lesen der Profildatei"},
        {"line", {"VERSION=2.11.02", "BORDER_DESCRIPTION=B", "BORDER_WIDTH=breit"},
         "Fehler 13 beim Lesen der Profildatei"},
        {"old", {"VERSION=2.08.99", "THUMB_SIZE=1"}, "Die Version 2.08.99"},
        {"noversion", {"THUMB_SIZE=1"}, "Die Version 0"},
    };
    for (const auto& c : cases) {
        auto file = write_profile(user_dir, c.name, c.lines);
        const std::string before = testing::file_bytes(file);
        auto profile = profilliste().add(kProfileUser, c.name, user_dir.string());
        port.boxes.clear();
        profil_laden(profile);
        ASSERT_EQ(port.boxes.size(), 1u) << c.name;
        EXPECT_EQ(port.boxes[0].text.rfind(c.message_start, 0), 0u) << port.boxes[0].text;
        EXPECT_EQ(port.boxes[0].title, "Profil laden");
        EXPECT_EQ(aktuelles_profil()->art(), kProfileDefault) << c.name;
        EXPECT_EQ(profilwert(37), "120") << c.name;
        EXPECT_EQ(LoadedCloneEffects().count(), 0) << c.name;
        EXPECT_EQ(testing::file_bytes(file), before) << "the damaged file is left as it was";
        if (std::string(c.name) == "line") {
            EXPECT_NE(port.boxes[0].text.find("Zeile 3"), std::string::npos) << port.boxes[0].text;
            EXPECT_NE(port.boxes[0].text.find("BORDER_WIDTH=breit"), std::string::npos);
        }
    }

    auto missing = profilliste().add(kProfileUser, "gone", user_dir.string());
    port.boxes.clear();
    profil_laden(missing);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text.rfind("Fehler 53 beim Öffnen der Profildatei", 0), 0u) << port.boxes[0].text;
    EXPECT_EQ(aktuelles_profil()->art(), kProfileDefault);
    EXPECT_FALSE(std::filesystem::exists(user_dir / "gone.qvp"));
}

TEST_F(ProfileFileTest, SavingIsRefusedForTheDefaultAndAMissingFolder) {
    profil_laden(nullptr);
    EXPECT_EQ(profil_speichern(), 2);
    EXPECT_EQ(last_box_text(), "Profil Voreinstellung kann nicht gespeichert werden");
    EXPECT_EQ(port.boxes.back().title, "Profil speichern");

    auto profile = profilliste().add(kProfileUser, "p", user_dir.string());
    set_aktuelles_profil(profile);
    registry_schreiben("LastSession", "userprofiledir", (root / "nowhere").string());
    EXPECT_EQ(profil_speichern(), 2);
    EXPECT_NE(last_box_text().find((root / "nowhere").string()), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(root / "nowhere"));
}

TEST_F(ProfileFileTest, FailedWriteKeepsTheFlagsAndReports) {
    auto profile = profilliste().add(kProfileUser, "blocked", user_dir.string());
    set_aktuelles_profil(profile);
    std::filesystem::create_directories(user_dir / "blocked.qvp" / "inside");
    profil_ungespeichert = true;
    EXPECT_EQ(profil_speichern(), 2);
    EXPECT_EQ(last_box_text().rfind("Fehler ", 0), 0u) << last_box_text();
    EXPECT_NE(last_box_text().find("blocked.qvp"), std::string::npos);
    EXPECT_TRUE(profil_ungespeichert) << "nothing was saved";
    EXPECT_TRUE(std::filesystem::exists(user_dir / "blocked.qvp" / "inside"));
    EXPECT_NE(last_box_text().find("beim Erzeugen der Profildatei"), std::string::npos) << last_box_text();
}

TEST_F(ProfileFileTest, AProfileThatDoesNotFitIsAWriteFailure) {
    auto profile = profilliste().add(kProfileUser, "full", user_dir.string());
    set_aktuelles_profil(profile);
    profil_ungespeichert = true;
    {
        testing::FileSizeLimit limit(200);
        EXPECT_EQ(profil_speichern(), 2);
    }
    EXPECT_NE(last_box_text().find("beim Schreiben der Profildatei"), std::string::npos) << last_box_text();
    EXPECT_NE(last_box_text().find("full.qvp"), std::string::npos);
    EXPECT_TRUE(profil_ungespeichert) << "nothing was saved";
    EXPECT_FALSE(std::filesystem::exists(user_dir / "full.qvp"));
}

}  // namespace
}  // namespace galvora
