#include "app/batch_mode.h"

#include "app/app_test_support.h"
#include "foundation/command_arguments.h"
#include "foundation/language.h"
#include "foundation/registry.h"
#include "generation/settings_access.h"
#include "profile/profiles.h"

namespace galvora::testing {
namespace {

constexpr int kSetKommentar = 2;

class BatchMode : public AppTest {
protected:
    // Runs the batch step on program arguments as the shell passes them;
    // returns the base directory.
    std::string prepare(const std::vector<std::string>& argv) {
        auto arguments = std::make_unique<CommandArguments>();
        arguments->CommandLine(join_command_line(argv));
        EXPECT_FALSE(arguments->Error()) << arguments->CommandLine();
        std::string result = batch_vorbereiten(startdialog(), arguments);
        EXPECT_EQ(arguments, nullptr);
        return result;
    }
};

TEST_F(BatchMode, GoodSwitchesLeaveBatchModeOnWithoutMessage) {
    EXPECT_EQ(prepare({"/Profile=VOREINSTELLUNG", "/Basedir=/pics/my holiday", "/Level=2"}), "/pics/my holiday");
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_TRUE(batchmodus);
    EXPECT_EQ(DirectoryLevel, 2);
    EXPECT_EQ(aktuelles_profil()->art(), kProfileDefault);
    EXPECT_EQ(registry_lesen("LastSession", "profile", "unset"), "");
}

TEST_F(BatchMode, LevelValuesAreRoundedAndChecked) {
    struct Case {
        const char* text;
        int32_t level;
        bool message;
    };
    const Case cases[] = {{"0", 0, false}, {"1.5", 2, false}, {"2.5", 2, false}, {"0.5", 0, false},
                          {"3", 0, true},  {"-1", 0, true},   {"two", 0, true}};
    for (const Case& c : cases) {
        port.boxes.clear();
        batch_unterbrochen = false;
        DirectoryLevel = 7;
        prepare({"/Profile=Voreinstellung", "/Basedir=/x", std::string("/Level=") + c.text});
        EXPECT_EQ(DirectoryLevel, c.level) << c.text;
        ASSERT_EQ(port.boxes.size(), c.message ? 1u : 0u) << c.text;
        if (c.message) {
            EXPECT_EQ(port.boxes[0].text, msg("ErrBatchLevel", {c.text}));
        }
    }
}

TEST_F(BatchMode, MissingSwitchesAreReportedAndTheLevelStaysAsItWas) {
    geladene_Profileinstellungen()[kSetDirLevel].value = "2";
    DirectoryLevel = 1;
    EXPECT_EQ(prepare({"/Controlimage=1"}), "");
    EXPECT_EQ(box_texts(), (std::vector<std::string>{msg("ErrBatchProfileMissing"), msg("ErrBatchBasedirMissing"),
                                                     msg("ErrBatchLevelMissing")}));
    EXPECT_FALSE(batchmodus);
    EXPECT_TRUE(batch_unterbrochen);
    // The profile's level plays no part in a batch start.
    EXPECT_NE(setting_text(kSetDirLevel), "1");
    EXPECT_EQ(DirectoryLevel, 1);
}

TEST_F(BatchMode, ControlImageOnlyForTheExactWords) {
    for (const char* word : {"1", "T", "W", "TRUE", "WAHR"}) {
        prepare({"/Profile=Voreinstellung", "/Basedir=/x", "/Level=0", std::string("/Controlimage=") + word});
        EXPECT_TRUE(startdialog().kontrollbild) << word;
    }
    for (const char* word : {"true", "wahr", "yes", "0", ""}) {
        prepare({"/Profile=Voreinstellung", "/Basedir=/x", "/Level=0", std::string("/Controlimage=") + word});
        EXPECT_FALSE(startdialog().kontrollbild) << word;
    }
}

TEST_F(BatchMode, OverridesReplacePrefixOrAppend) {
    geladene_Profileinstellungen()[kSetKommentar].value = "mid";
    prepare({"/Profile=Voreinstellung", "/Basedir=/x", "/Level=1", "/thumb_dirname=small", "/$KOMMENTAR=pre-",
             "/KOMMENTAR$=-post", "/$THUMB_SIZE=1"});
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_FALSE(batch_kommandozeile_fehlerhaft);
    EXPECT_EQ(setting_text(kSetThumbDirname), "small");
    EXPECT_EQ(setting_text(kSetKommentar).rfind("pre-", 0), 0u);
    EXPECT_TRUE(setting_text(kSetKommentar).ends_with("-post"));
    EXPECT_EQ(setting_text(kSetThumbSize), "1120");
}

// An override that names no setting, or gives a setting that holds a number
// something else, makes the command line faulty: one message, and none of
// the overrides is applied.
TEST_F(BatchMode, FaultyOverridesAreReportedAndNoneIsApplied) {
    struct Case {
        std::string faulty;
        std::string message;
    };
    const Case cases[] = {
        {"/THUMB_SIZ=200", msg("ErrBatchSettingUnknown", {"THUMB_SIZ"})},
        {"/THUMB_SIZE=abc", "Fehler 13\r\n\r\nStartdialog.Form_Load\r\nType mismatch: setting THUMB_SIZE = \"abc\" is not a number"},
        {"/PNG=abc", "Fehler 13\r\n\r\nStartdialog.Form_Load\r\nType mismatch: setting PNG = \"abc\" is not a number"},
        {"/JPG=", "Fehler 13\r\n\r\nStartdialog.Form_Load\r\nType mismatch: setting JPG = \"\" is not a number"},
        {"/GENERATE_CLONES=yes", "Fehler 13\r\n\r\nStartdialog.Form_Load\r\nType mismatch: setting GENERATE_CLONES = \"yes\" is not a number"},
        {"/THUMB_SIZE$=x", "Fehler 13\r\n\r\nStartdialog.Form_Load\r\nType mismatch: setting THUMB_SIZE = \"120x\" is not a number"},
        {"/THUMB_QUALITY=99999999999", "Fehler 13\r\n\r\nStartdialog.Form_Load\r\nType mismatch: setting THUMB_QUALITY = \"99999999999\" is not a number"},
    };
    for (const Case& c : cases) {
        port.boxes.clear();
        batch_unterbrochen = false;
        prepare({"/Profile=Voreinstellung", "/Basedir=/x", "/Level=1", "/THUMB_DIRNAME=small", c.faulty});
        ASSERT_EQ(port.boxes.size(), 1u) << c.faulty;
        EXPECT_EQ(port.boxes[0].text, c.message) << c.faulty;
        EXPECT_TRUE(batch_kommandozeile_fehlerhaft) << c.faulty;
        EXPECT_FALSE(batchmodus) << c.faulty;
        EXPECT_EQ(setting_text(kSetThumbDirname), "thumbs") << c.faulty;
        EXPECT_EQ(geladene_Profileinstellungen()[kSetThumbDirname].value, "thumbs") << c.faulty;
    }
    // A text setting takes any text; VERSION holds a version text.
    port.boxes.clear();
    batch_unterbrochen = false;
    prepare({"/Profile=Voreinstellung", "/Basedir=/x", "/Level=1", "/FILTER=abc", "/VERSION=2.11.02"});
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_FALSE(batch_kommandozeile_fehlerhaft);
}

TEST_F(BatchMode, TheDefaultProfileAnswersToItsNameInEveryLanguage) {
    ASSERT_NE(sprachen().AddFile((fs::path(GALVORA_SOURCE_DIR) / "resources" / "languages" / "english.lng").string()),
              nullptr);
    struct RemoveEnglish {
        ~RemoveEnglish() { sprachen().remove("en"); }
    } remove_english;
    for (const char* name : {"Voreinstellung", "Default", "default"}) {
        port.boxes.clear();
        batch_unterbrochen = false;
        prepare({std::string("/Profile=") + name, "/Basedir=/x", "/Level=1"});
        EXPECT_TRUE(port.boxes.empty()) << name;
        EXPECT_EQ(aktuelles_profil()->art(), kProfileDefault) << name;
        EXPECT_EQ(registry_lesen("LastSession", "profile", "unset"), "") << name;
    }
}

TEST_F(BatchMode, ARelativeBaseFolderIsTakenFromTheCurrentFolder) {
    const std::string here = fs::current_path().string();
    for (const char* given : {"R1", "./R1", "R1/", "R1//", "a/../R1"})
        EXPECT_EQ(prepare({"/Profile=Voreinstellung", std::string("/Basedir=") + given, "/Level=1"}), here + "/R1") << given;
    EXPECT_EQ(prepare({"/Profile=Voreinstellung", "/Basedir=/pics/", "/Level=1"}), "/pics");
    EXPECT_EQ(prepare({"/Profile=Voreinstellung", "/Basedir=/", "/Level=1"}), "/");
}

TEST_F(BatchMode, AnUnknownProfileLoadsTheDefaultAndSkipsTheOverrides) {
    prepare({"/Profile=Nowhere", "/Basedir=/x", "/Level=1", "/THUMB_DIRNAME=small"});
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("ErrBatchProfileCollection", {"Nowhere"}));
    EXPECT_EQ(aktuelles_profil()->art(), kProfileDefault);
    EXPECT_EQ(setting_text(kSetThumbDirname), "thumbs");
    EXPECT_FALSE(batchmodus);
}

}  // namespace
}  // namespace galvora::testing
