// The general page: language, user profile folder and the registry choices.
#include <gtest/gtest.h>

#include "foundation/registry.h"
#include "options/options_test_support.h"
#include "options/pages/general_page.h"
#include "profile/profile_file.h"

namespace galvora::testing {
namespace {

class GeneralPage : public OptionsTest {
protected:
    void TearDown() override {
        if (sprachen().item("en") != nullptr) {
            sprache_waehlen("de");
            sprachen().remove("en");
        }
        OptionsTest::TearDown();
    }
    CAllgemeines& page() { return page_of<CAllgemeines>(PageSlot::CAllgemeines1); }
    PageControl& c(const char* name, int index = -1) { return page().control(name, index); }
    // The dialog made again, as at the next start of the program.
    void new_dialog() {
        optionen_freigeben();
        profil_anwenden();
    }
    std::string session(const char* name) { return registry_lesen("LastSession", name, "(none)"); }
};

TEST_F(GeneralPage, LanguageListHoldsEveryLoadedLanguageWithItsPicture) {
    ASSERT_EQ(c("SprachenCombo").state().items.size(), 1u);
    EXPECT_EQ(c("SprachenCombo").state().items[0].image_key, "Dialog");
    EXPECT_EQ(c("SprachenCombo").state().value, 0);
    EXPECT_EQ(c("SprachenAuthor").state().caption, "Deutsche Texte: Mervadon");

    // The English file names its flag "English.gif"; the program ships it in lower case.
    write_file(tmp.path() / "program" / "languages" / "english.gif", "GIF89a");
    ASSERT_NE(sprachen().AddFile(GALVORA_SOURCE_DIR "/resources/languages/english.lng"), nullptr);
    ZNLanguage* extra = sprachen().add("xx");
    extra->store("Sprache", "LanguageID", "xx");
    extra->store("Sprache", "LanguageName", "anders");
    extra->store("Sprache", "LanguageImage", "fehlt.gif");
    new_dialog();
    const auto& items = c("SprachenCombo").state().items;
    ASSERT_EQ(items.size(), 3u);
    // By name without regard to case.
    EXPECT_EQ(items[0].text, "anders");
    EXPECT_EQ(items[0].image_key, "Unknown");
    EXPECT_EQ(items[1].text, "Deutsch");
    EXPECT_EQ(items[2].text, "English");
    EXPECT_EQ(items[2].image_key, "file:" + (tmp.path() / "program" / "languages" / "english.gif").string());
    EXPECT_EQ(c("SprachenCombo").state().value, 1);
    sprachen().remove("xx");
    // The list drops down when the box gets the focus.
    page().take_view_requests();
    page().user_focus_in(c("SprachenCombo"));
    const auto requests = page().take_view_requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].second, ViewRequest::DropDown);
}

// The main window's part is proven through the real window (tests/gui).
TEST_F(GeneralPage, ChoosingALanguageAppliesItToTheDialogAtOnce) {
    ASSERT_NE(sprachen().AddFile(GALVORA_SOURCE_DIR "/resources/languages/english.lng"), nullptr);
    new_dialog();
    // The language already current: nothing happens.
    page().user_choose(c("SprachenCombo"), 0);
    EXPECT_EQ(aktuelle_sprache()->SprachID(), "de");
    page().user_choose(c("SprachenCombo"), 1);
    EXPECT_EQ(aktuelle_sprache()->SprachID(), "en");
    EXPECT_EQ(registry_lesen("Administration", "language", ""), "en");
    EXPECT_EQ(c("SprachenAuthor").state().caption, "English texts: Mervadon");
    EXPECT_EQ(dialog().control("Abbrechen").state().caption, "Cancel");
    EXPECT_EQ(dialog().seite(PageSlot::CHTML1)->control("HTML").state().caption, "Make HTML pages");
    EXPECT_EQ(c("ProfileLastBasedir").state().caption, "Remember the last directory used with each profile");
    page().user_choose(c("SprachenCombo"), 0);
    EXPECT_EQ(aktuelle_sprache()->SprachID(), "de");
    EXPECT_EQ(dialog().control("Abbrechen").state().caption, "Abbrechen");
}

TEST_F(GeneralPage, RegistryChoicesAreReadOnceAndWrittenAtOnce) {
    registry_schreiben("LastSession", "profilelastbasedir", "1");
    registry_schreiben("LastSession", "profilelastselection", "ja");
    registry_schreiben("LastSession", "deleteoption", "1");
    registry_schreiben("LastSession", "userprofiledir", tmp.path().string());
    new_dialog();
    EXPECT_EQ(c("ProfilPfad").state().text, tmp.path().string());
    EXPECT_EQ(c("ProfilPfad").state().back_colour, kLightGreen);
    EXPECT_EQ(c("ProfileLastBasedir").state().value, 1);
    EXPECT_EQ(c("ProfilVerzeichnisLetzteAuswahl").state().value, 0);  // no number: the default
    EXPECT_EQ(c("LöschOption", 1).state().value, 1);
    EXPECT_EQ(c("LöschOption", 0).state().value, 0);

    page().user_click(c("ProfileLastBasedir"));
    page().user_click(c("ProfilVerzeichnisLetzteAuswahl"));
    page().user_click(c("LöschOption", 0));
    EXPECT_EQ(session("profilelastbasedir"), "0");
    EXPECT_EQ(session("profilelastselection"), "1");
    EXPECT_EQ(session("deleteoption"), "0");
    // Cancel of the dialog does not take them back, and they mark no profile changed.
    EXPECT_FALSE(profil_geaendert);
    dialog().Abbrechen_Click();
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(session("deleteoption"), "0");
}

TEST_F(GeneralPage, ProfileFolder) {
    EXPECT_EQ(c("ProfilPfad").state().back_colour, kSysWindowBackground);
    // Typing only colours the box.
    page().user_text(c("ProfilPfad"), (tmp.path() / "nirgends").string());
    EXPECT_EQ(c("ProfilPfad").state().back_colour, kLightRed);
    page().user_text(c("ProfilPfad"), tmp.path().string());
    EXPECT_EQ(c("ProfilPfad").state().back_colour, kLightGreen);
    EXPECT_EQ(session("userprofiledir"), "(none)");

    // A folder holding a profile; the current settings have unsaved changes.
    const fs::path folder = tmp.path() / "meine-profile";
    fs::create_directories(folder);
    write_file(folder / "Reise.qvp", profile_text(geladene_Profileinstellungen(), WorkingCloneEffects(), ProfileModules()));
    profilwert_setzen(81, "geaendert");
    port.answer = ID_CANCEL;
    dialogs.folders.push_back(folder.string());
    page().user_click(c("ProfilPfadFestlegen"));
    EXPECT_EQ(box_texts(), std::vector<std::string>{msg("MsgProfileChangesSave", {aktuelles_profil()->Name()})});
    EXPECT_EQ(session("userprofiledir"), "(none)");
    EXPECT_EQ(profil_per_name("Reise"), nullptr);

    port.answer = ID_NO;
    dialogs.folders.push_back(folder.string());
    page().user_click(c("ProfilPfadFestlegen"));
    EXPECT_EQ(session("userprofiledir"), folder.string());
    EXPECT_EQ(c("ProfilPfad").state().text, folder.string());
    EXPECT_NE(profil_per_name("Reise"), nullptr);
    // The same folder again asks nothing.
    port.boxes.clear();
    dialogs.folders.push_back(folder.string());
    page().user_click(c("ProfilPfadFestlegen"));
    EXPECT_TRUE(port.boxes.empty());
}

}  // namespace
}  // namespace galvora::testing
