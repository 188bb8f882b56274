#include "profile/settings_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "foundation/error.h"
#include "foundation/language.h"
#include "profile/profile_lists.h"
#include "profile_test_env.h"

namespace galvora {
namespace {

const std::string kHeadUtf8 =
    "<meta name=\"generator\" content=\"Galvora\">\r\n"
    "<meta name=\"keywords\" content=\"Galvora\">\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">";

class SettingsTableTest : public testing::ProfileSandbox {
protected:
    void SetUp() override {
        ProfileSandbox::SetUp();
        profil_schluessel_definieren();
        Profileinstellungen() = geladene_Profileinstellungen();
        profil_geaendert = false;
    }
};

TEST_F(SettingsTableTest, HasKeyedAndSpareEntriesAtFixedIndices) {
    const auto& table = geladene_Profileinstellungen();
    ASSERT_EQ(table.size(), 197u);
    const std::set<int> spare = {0, 124, 142, 143, 147, 148, 174, 175, 195, 196};
    std::set<std::string> keys;
    int keyed = 0;
    for (int i = 0; i < 197; ++i) {
        const auto& entry = table[static_cast<size_t>(i)];
        if (spare.count(i)) {
            EXPECT_TRUE(entry.key.empty()) << i;
            EXPECT_TRUE(entry.value.empty()) << i;
        } else {
            EXPECT_FALSE(entry.key.empty()) << i;
            keys.insert(entry.key);
            ++keyed;
        }
    }
    EXPECT_EQ(keyed, 187);
    EXPECT_EQ(keys.size(), 187u) << "keys must be unique";
    EXPECT_EQ(setting_definitions().size(), 187u);
}

// The page templates deliberately escape every name they write ("&", "<",
// ">" and '"'): a picture or folder name from a stranger's tree must never
// become live markup in the page.
TEST_F(SettingsTableTest, DefaultsAreExact) {
    struct Case {
        int index;
        const char* key;
        std::string value;
    };
    const Case cases[] = {
        {1, "VERSION", "0"},
        {2, "KOMMENTAR", ""},
        {6, "JPG", "1"},
        {7, "JP2", "0"},
        {16, "EMF_EXT", "EMF,WMF"},
        {24, "RAW_EXT", "CR2,CRW,DCR,DNG,MRW,NEF,ORF,PEF,RAF,RAW,SRF,SR2"},
        {30, "FILTER", "*"},
        {42, "THUMB_FRAMEFILLCOLOR", "16777215"},
        {68, "CLONE_FILTER", "-2"},
        {90, "DECO_SOURCE", "standard"},
        {123, "HTML_BILD_PRINT_DATE", "1"},
        {125, "HTML_INDEX_HEAD", kHeadUtf8},
        {130, "HTML_INDEX_TABLE_OPEN",
         "<table align=\"center\" border=\"0\" cellpadding=\"5\" cellspacing=\"0\">\r\n"},
        {132, "HTML_INDEX_TABLE", "align=\"center\" border=\"0\" cellpadding=\"5\" cellspacing=\"0\""},
        {144, "HTML_FRAME_HEAD", kHeadUtf8},
        {149, "HTML_HEAD", kHeadUtf8},
        {154, "HTML_FIRST",
         "<a href=\"{first_ref}\"><img src=\"{deco_ref}/gesamtanfang.gif\" style=\"border-style:none\" "
         "alt=\"{replace(replace(replace(replace(first_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(first_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a> "},
        {158, "HTML_NEXT",
         " <a href=\"{next_ref}\"><img src=\"{deco_ref}/rechts.gif\" style=\"border-style:none\" "
         "alt=\"{replace(replace(replace(replace(next_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(next_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a>"},
        {159, "HTML_PATH_LAST",
         " <a href=\"{last_path_ref}\"><img src=\"{deco_ref}/pfadende.gif\" style=\"border-style:none\" "
         "alt=\"{replace(replace(replace(replace(last_path_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(last_path_doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"></a> "},
        {168, "HTML_THUMB_PIC_TAG",
         "<a href=\"{src_ref}\"><img src=\"{thumb_ref}\" style=\"border-style:none\" width=\"{thumb_dimx}\" "
         "height=\"{thumb_dimy}\" alt=\"{replace(replace(replace(replace(file, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\" title=\"{replace(replace(replace(replace(file, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}\"><br><font size=\"1\">{replace(replace(replace(replace(FILE, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}</font></a><br>"
         "<font size=\"1\">{DIM}<br>{SIZE_BYTE} Bytes</font>"},
        {176, "HTML_PIC_HEAD", kHeadUtf8},
        {177, "HTML_PIC_TITLE", "Galvora - {replace(replace(replace(replace(doc, \"&\", \"&amp;\"), \"<\", \"&lt;\"), \">\", \"&gt;\"), \"\"\"\", \"&quot;\")}"},
        {190, "HTML_PIC_NEXT_NEXT", "</div><br>"},
        {193, "HTML_PIC_POSTPIC", ""},
        {194, "HTML_PIC_FOOTER", ""},
    };
    const auto& table = geladene_Profileinstellungen();
    for (const auto& c : cases) {
        EXPECT_EQ(table[static_cast<size_t>(c.index)].key, c.key) << c.index;
        EXPECT_EQ(table[static_cast<size_t>(c.index)].value, c.value) << c.index;
    }
}

TEST_F(SettingsTableTest, TemplateCaptionsAndTypeNames) {
    const auto& captions = profileintrag_beschreibung();
    EXPECT_EQ(captions[15], "BMP");
    EXPECT_EQ(captions[26], "TIF");
    EXPECT_EQ(captions[1], "");
    EXPECT_EQ(captions[132], "") << "older-profile attribute entries have no caption";
    EXPECT_FALSE(captions[125].empty());
    EXPECT_FALSE(captions[194].empty());
    int with_caption = 0;
    for (int i = 125; i <= 194; ++i) with_caption += captions[static_cast<size_t>(i)].empty() ? 0 : 1;
    EXPECT_EQ(with_caption, 60);
}

TEST_F(SettingsTableTest, LanguageSwitchReloadsCaptionsButNotValues) {
    if (sprache_deutsch() == nullptr) deutsche_texte_anlegen();
    sprache_waehlen("de");
    EXPECT_EQ(profileintrag_beschreibung()[125], "Dokumentenkopf");
    EXPECT_EQ(profil_titel_speichern(), "Profil speichern");

    if (sprachen().item(std::string_view("en")) == nullptr) {
        ASSERT_NE(sprachen().AddFile(GALVORA_SOURCE_DIR "/resources/languages/english.lng"), nullptr);
    }
    profilwert_setzen(125, "mine");
    sprache_waehlen("en");
    EXPECT_EQ(profileintrag_beschreibung()[125], "Document head");
    EXPECT_EQ(profil_titel_speichern(), "Save profile");
    EXPECT_EQ(profilwert(125), "mine");
    EXPECT_EQ(geladene_Profileinstellungen()[125].key, "HTML_INDEX_HEAD");
    EXPECT_EQ(profileintrag_beschreibung()[15], "BMP");
    sprache_waehlen("de");
}

// Deliberately byte for byte: a change in case only ("html" to "HTML") is a
// real change of a folder name and would be lost if compared without case.
TEST_F(SettingsTableTest, SetterMarksOnlyRealChanges) {
    profilwert_setzen(37, "120");
    EXPECT_FALSE(profil_geaendert) << "same text is no change";

    profilwert_setzen(37, 5);
    EXPECT_EQ(profilwert(37), "5");
    EXPECT_TRUE(profil_geaendert);

    profil_geaendert = false;
    profilwert_setzen(37, "05");
    EXPECT_EQ(profilwert(37), "05");
    EXPECT_TRUE(profil_geaendert) << "\"5\" to \"05\" is a change";

    profil_geaendert = false;
    profilwert_setzen(30, "*");
    EXPECT_FALSE(profil_geaendert);
    profilwert_setzen(81, "HTML");
    EXPECT_TRUE(profil_geaendert) << "case counts";

    profilwert_setzen(58, -12);
    EXPECT_EQ(profilwert(58), "-12");
    profilwert_setzen(59, 0.25);
    EXPECT_EQ(profilwert(59), "0.25");
    profilwert_setzen(60, 3.0);
    EXPECT_EQ(profilwert(60), "3");
}

TEST_F(SettingsTableTest, SetterRefusesIndicesOutsideTheTable) {
    for (int index : {-1, 197, 1000}) {
        profil_geaendert = false;
        try {
            profilwert_setzen(index, "x");
            ADD_FAILURE() << index;
        } catch (const GalvoraError& e) {
            EXPECT_EQ(e.number(), 9);
        }
        EXPECT_FALSE(profil_geaendert);
    }
    profilwert_setzen(196, "spare");
    EXPECT_EQ(profilwert(196), "spare");
}

TEST_F(SettingsTableTest, DefiningLeavesTheWorkingTableAndEmptiesLoadedLists) {
    profilwert_setzen(37, "300");
    geladene_Profileinstellungen()[37].value = "999";
    LoadedProfileModules().add("m", "x", 2);
    profil_ungespeichert = true;

    profil_schluessel_definieren();

    EXPECT_EQ(profilwert(37), "300");
    EXPECT_EQ(geladene_Profileinstellungen()[37].value, "120");
    EXPECT_EQ(LoadedProfileModules().count(), 0);
    EXPECT_FALSE(LoadedProfileModules().verändert());
    EXPECT_EQ(LoadedCloneEffects().count(), 0);
    EXPECT_FALSE(profil_ungespeichert);
    EXPECT_FALSE(profil_geaendert);
}

}  // namespace
}  // namespace galvora
