// The profile page and the new-profile stand-in.
#include <gtest/gtest.h>

#include "foundation/registry.h"
#include "options/options_test_support.h"
#include "options/pages/profile_page.h"
#include "profile/profile_file.h"

namespace galvora::testing {
namespace {

constexpr int kKommentar = 2;
constexpr int kHtmlBase = 81;

// An input box that answers with one text.
struct NamingPort : test::RecordingPort {
    std::optional<std::string> input_box(std::string_view, std::string_view) override { return name; }
    std::optional<std::string> name;
};

void write_png(const fs::path& path, int32_t width, int32_t height, uint8_t red) {
    fs::create_directories(path.parent_path());
    PictureBuffer picture = PictureBuffer::allocate(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) picture.pixel(x, y)[0] = red;
    int32_t used = 0;
    WriteImage(path.string(), 10, picture, 0, 0, false, 0, used);
}

bool grey_at(const PictureBuffer& picture, int32_t x, int32_t y) {
    const uint8_t* p = picture.pixel(x, y);
    return p[0] == 0x80 && p[1] == 0x80 && p[2] == 0x80;
}

class ProfilePage : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        write_profile(program_folder() / "profiles", "Zebra", "vom Programm");
        user_profile_folder();
        write_profile(benutzerprofilordner(), "alpha", "erstes");
        write_profile(benutzerprofilordner(), "Mitte", "zweites");
        profile_auflisten();
        port.boxes.clear();
    }
    static void write_profile(const fs::path& folder, const std::string& name, const std::string& comment) {
        Profiltabelle table = geladene_Profileinstellungen();
        table[kKommentar].value = comment;
        table[1].value = "2.09.05";
        CCloneEffekte effects;
        ZNModule modules;
        write_file(folder / (name + ".qvp"), profile_text(table, effects, modules));
    }
    CProfil& page() { return page_of<CProfil>(PageSlot::CProfil1); }
    PageControl& c(const char* name) { return page().control(name); }
    std::vector<std::string> texts() {
        std::vector<std::string> list;
        for (const ListItem& item : c("ProfilListe").state().items) list.push_back(item.text);
        return list;
    }
    int32_t position_of(const std::string& name) {
        const auto list = texts();
        return static_cast<int32_t>(std::find(list.begin(), list.end(), name) - list.begin());
    }
    void choose(const std::string& name) { page().user_choose(c("ProfilListe"), position_of(name)); }
    std::string chosen() { return texts()[static_cast<size_t>(c("ProfilListe").state().value)]; }
    std::string previous() { return registry_lesen("LastSession", "profileprevious", "(none)"); }
};

TEST_F(ProfilePage, ListHoldsEveryProfileByNameWithItsKind) {
    EXPECT_EQ(texts(), (std::vector<std::string>{"alpha", "Mitte", "Voreinstellung", "Zebra"}));
    std::vector<std::string> images;
    for (const ListItem& item : c("ProfilListe").state().items) images.push_back(item.image_key);
    EXPECT_EQ(images, (std::vector<std::string>{"user", "user", "default", "system"}));
    EXPECT_EQ(chosen(), "Voreinstellung");
    EXPECT_EQ(c("Erstellversion").state().caption,
              "Erstellt mit Galvora, Version " + CProfil::version_text(programmversion()));
    EXPECT_EQ(c("ProfilVorher").state().tooltip, "Voreinstellung");
}

TEST_F(ProfilePage, VersionLabelShowsEveryPartAsAWholeNumber) {
    struct Case {
        const char* stored;
        const char* shown;
    };
    for (const Case& k : {Case{"2.11.02", "2.11.2"}, Case{"2.09.05", "2.9.5"}, Case{"2.10.00", "2.10.0"},
                          Case{"2.0.0", "2.0.0"}, Case{"3.00.10", "3.0.10"}, Case{"0", "0"}, Case{"", ""},
                          Case{"2.1b.07", "2.1b.7"}})
        EXPECT_EQ(CProfil::version_text(k.stored), k.shown) << k.stored;
    choose("alpha");
    EXPECT_EQ(c("Erstellversion").state().caption, "Erstellt mit Galvora, Version 2.9.5");
}

TEST_F(ProfilePage, ChoosingSwitchesAndTheButtonGoesBack) {
    // The current profile's own item: no question, no registry write, no load.
    choose("Voreinstellung");
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(previous(), "(none)");
    EXPECT_FALSE(ProfileSwitched);

    choose("alpha");
    EXPECT_EQ(aktuelles_profil()->Name(), "alpha");
    EXPECT_TRUE(ProfileSwitched);
    EXPECT_TRUE(port.boxes.empty());
    EXPECT_EQ(chosen(), "alpha");
    EXPECT_EQ(previous(), "");
    EXPECT_EQ(c("ProfilVorher").state().tooltip, "Voreinstellung");
    EXPECT_EQ(c("Profil_Beschreibung").state().text, "erstes");
    EXPECT_EQ(profilwert(kKommentar), "erstes");

    page().user_click(c("ProfilVorher"));
    EXPECT_EQ(aktuelles_profil()->Name(), "Voreinstellung");
    EXPECT_EQ(previous(), "alpha");
    EXPECT_EQ(c("ProfilVorher").state().tooltip, "alpha");
    page().user_click(c("ProfilVorher"));
    EXPECT_EQ(aktuelles_profil()->Name(), "alpha");

    // A previous profile that is gone: the button does nothing.
    registry_schreiben("LastSession", "profileprevious", "weg");
    page().user_click(c("ProfilVorher"));
    EXPECT_EQ(aktuelles_profil()->Name(), "alpha");
}

TEST_F(ProfilePage, UnsavedChangesOfTheDefaultProfileCannotBeSavedAndKeepIt) {
    profilwert_setzen(kHtmlBase, "geaendert");
    port.answer = ID_YES;
    choose("Mitte");
    EXPECT_EQ(box_texts(), (std::vector<std::string>{msg("MsgProfileChangesSave", {"Voreinstellung"}),
                                                     msg("ErrProfileDefaultReadonly")}));
    EXPECT_EQ(aktuelles_profil()->Name(), "Voreinstellung");
    EXPECT_EQ(chosen(), "Voreinstellung");
    EXPECT_EQ(profilwert(kHtmlBase), "geaendert");
    EXPECT_EQ(previous(), "(none)");

    port.boxes.clear();
    port.answer = ID_CANCEL;
    choose("Mitte");
    EXPECT_EQ(box_texts().size(), 1u);
    EXPECT_EQ(aktuelles_profil()->Name(), "Voreinstellung");
    EXPECT_EQ(chosen(), "Voreinstellung");
    // No drops the changes and switches.
    port.answer = ID_NO;
    choose("Mitte");
    EXPECT_EQ(aktuelles_profil()->Name(), "Mitte");
    EXPECT_EQ(profilwert(kHtmlBase), "html");
}

TEST_F(ProfilePage, SaveDescriptionAndSaveAs) {
    // The default profile cannot be saved.
    page().user_click(c("profil_speichern"));
    EXPECT_EQ(box_texts(), std::vector<std::string>{msg("ErrProfileDefaultReadonly")});

    // A profile of the program's folder is saved as the user's own.
    choose("Zebra");
    page().user_text(c("Profil_Beschreibung"), "neu\nbeschrieben");
    EXPECT_EQ(profilwert(kKommentar), "neu\r\nbeschrieben");
    page().user_click(c("profil_speichern"));
    const fs::path saved = fs::path(benutzerprofilordner()) / "Zebra.qvp";
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_NE(read_file(saved).find("neu"), std::string::npos);
    EXPECT_EQ(c("ProfilListe").state().items[static_cast<size_t>(position_of("Zebra"))].image_key, "user");
    EXPECT_EQ(c("Erstellversion").state().caption,
              "Erstellt mit Galvora, Version " + CProfil::version_text(programmversion()));

    // Save as: nothing when the dialog is cancelled; the new profile otherwise.
    page_services().profil_neu = [] { return std::string(); };
    ProfileSwitched = false;
    page().user_click(c("Profil_Neu_Button"));
    EXPECT_FALSE(ProfileSwitched);
    page_services().profil_neu = [] { return profil_neu("Kopie") == 1 ? std::string("Kopie") : std::string(); };
    page().user_click(c("Profil_Neu_Button"));
    EXPECT_EQ(aktuelles_profil()->Name(), "Kopie");
    EXPECT_EQ(chosen(), "Kopie");
    EXPECT_TRUE(ProfileSwitched);
    EXPECT_EQ(profilwert(kKommentar), "neu\r\nbeschrieben");
    EXPECT_TRUE(fs::exists(fs::path(benutzerprofilordner()) / "Kopie.qvp"));
}

TEST_F(ProfilePage, NewProfileStandInChecksTheName) {
    NamingPort naming;
    struct Case {
        std::optional<std::string> typed;
        int answer;
        const char* message;  // nullptr: none
        const char* result;
    };
    const Case cases[] = {
        {std::nullopt, ID_OK, nullptr, ""},
        {"  ", ID_OK, "ErrProfileMissingName", ""},
        {"a/b", ID_OK, "ErrProfileInvalidCharacter", ""},
        {"..", ID_OK, "ErrProfileInvalidCharacter", ""},
        {"alpha", ID_NO, "MsgProfileExist", ""},
        {" Reise ", ID_OK, nullptr, "Reise"},
    };
    for (const Case& k : cases) {
        naming.name = k.typed;
        naming.answer = k.answer;
        naming.boxes.clear();
        EXPECT_EQ(page_services().profil_neu(), k.result) << k.typed.value_or("(cancel)");
        if (k.message != nullptr) {
            ASSERT_EQ(naming.boxes.size(), 1u) << k.typed.value_or("");
            EXPECT_EQ(naming.boxes[0].text, msg(k.message, {"alpha"}));
        } else {
            EXPECT_TRUE(naming.boxes.empty()) << naming.boxes.front().text;
        }
    }
    EXPECT_EQ(aktuelles_profil()->Name(), "Reise");
    EXPECT_FALSE(fs::exists(tmp.path() / "a"));
}

TEST_F(ProfilePage, Delete) {
    page().user_click(c("profil_löschen"));
    EXPECT_EQ(box_texts(), std::vector<std::string>{msg("ErrProfileDefaultDelete", {"Voreinstellung"})});

    choose("Mitte");
    port.boxes.clear();
    port.answer = ID_NO;
    page().user_click(c("profil_löschen"));
    EXPECT_EQ(box_texts(), std::vector<std::string>{msg("MsgProfileDeleteYesNo", {"Mitte"})});
    EXPECT_TRUE(fs::exists(fs::path(benutzerprofilordner()) / "Mitte.qvp"));
    port.answer = ID_YES;
    page().user_click(c("profil_löschen"));
    EXPECT_FALSE(fs::exists(fs::path(benutzerprofilordner()) / "Mitte.qvp"));
    EXPECT_EQ(aktuelles_profil()->Name(), "Voreinstellung");
    EXPECT_EQ(texts(), (std::vector<std::string>{"alpha", "Voreinstellung", "Zebra"}));
    EXPECT_EQ(chosen(), "Voreinstellung");
}

TEST_F(ProfilePage, SamplePicture) {
    // None: the hatched placeholder over the whole box.
    auto shown = CProfil::sample_picture("", kSampleWidth, kSampleHeight);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->width(), 200);
    EXPECT_EQ(shown->height(), 150);
    EXPECT_TRUE(grey_at(*shown, 0, 0));
    EXPECT_TRUE(grey_at(*shown, 199, 149));
    EXPECT_FALSE(grey_at(*shown, 2, 2));
    EXPECT_TRUE(grey_at(*shown, 8, 8));  // the hatch
    EXPECT_TRUE(grey_at(*shown, 16, 16));
    EXPECT_FALSE(grey_at(*shown, 9, 8));

    struct Case {
        int32_t width;
        int32_t height;
        int32_t shown_width;
        int32_t shown_height;
    };
    for (const Case& k : {Case{40, 30, 40, 30}, Case{200, 150, 200, 150}, Case{400, 200, 200, 100},
                          Case{100, 600, 25, 150}}) {
        const fs::path file = tmp.path() / "muster.png";
        write_png(file, k.width, k.height, 200);
        shown = CProfil::sample_picture(file.string(), kSampleWidth, kSampleHeight);
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->width(), k.shown_width) << k.width;
        EXPECT_EQ(shown->height(), k.shown_height) << k.width;
        EXPECT_TRUE(grey_at(*shown, 0, 0));
        EXPECT_TRUE(grey_at(*shown, k.shown_width - 1, k.shown_height - 1));
        EXPECT_EQ(shown->pixel(k.shown_width / 2, k.shown_height / 2)[0], 200);
    }
    // A file that is no picture: the placeholder.
    write_file(tmp.path() / "kaputt.png", "no picture at all");
    shown = CProfil::sample_picture((tmp.path() / "kaputt.png").string(), kSampleWidth, kSampleHeight);
    EXPECT_EQ(shown->width(), 200);

    // The default profile's sample lies beside the program, in lower case.
    write_png(program_folder() / "profiles" / "samples" / "default.png", 60, 40, 50);
    write_png(fs::path(benutzerprofilordner()) / "samples" / "alpha.png", 30, 20, 100);
    choose("alpha");
    ASSERT_TRUE(c("ProfilBild").state().image);
    EXPECT_EQ(c("ProfilBild").state().image->width(), 30);
    page().user_click(c("ProfilVorher"));
    ASSERT_TRUE(c("ProfilBild").state().image);
    EXPECT_EQ(c("ProfilBild").state().image->width(), 60);
    EXPECT_EQ(c("ProfilBild").state().image->pixel(30, 20)[0], 50);
}

}  // namespace
}  // namespace galvora::testing
