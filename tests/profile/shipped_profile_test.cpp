// The profile shipped in resources/profiles/ is the default profile with a few
// changes, written by our own writer. Run the tests with
// GALVORA_REGENERATE_PROFILES=1 to write it anew after the writer or the
// changes below changed; the comparison test then shows the difference.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "foundation/program_info.h"
#include "foundation/text_codec.h"
#include "profile/border.h"
#include "profile/picture_effect.h"
#include "profile/profile_file.h"
#include "profile/profile_lists.h"
#include "profile/profiles.h"
#include "profile/settings_table.h"
#include "profile/text_stamp.h"
#include "profile_test_env.h"

namespace galvora {
namespace {

using testing::ProfileSandbox;

const std::filesystem::path kShippedFolder = std::filesystem::path(GALVORA_SOURCE_DIR) / "resources" / "profiles";
const std::filesystem::path kShippedFile = kShippedFolder / "galerie.qvp";

const char* const kModule =
    "function galerie_titel(name)\r\n"
    "{\r\n"
    "  return \"Galerie - \" + name;\r\n"
    "}\r\n";

// The shipped profile's text, with the given VERSION.
std::string shipped_profile_text(const std::string& version) {
    profil_laden(nullptr);
    profilwert_setzen(2, "Galerie mit Übersichtsseite, Klonen mit 800 Pixeln, Rahmen und Schriftzug");
    profilwert_setzen(5, 1);   // GIF
    profilwert_setzen(10, 1);  // PNG
    for (int index : {37, 38, 39}) profilwert_setzen(index, 150);  // thumbnail size
    profilwert_setzen(52, 1);                                      // make clones
    profilwert_setzen(55, 0);                                      // ... resized, not copied
    profilwert_setzen(57, 0);
    for (int index : {58, 59, 60}) profilwert_setzen(index, 800);
    profilwert_setzen(64, 85);
    profilwert_setzen(99, 1);   // index page
    profilwert_setzen(109, 1);  // split thumbnail pages
    profilwert_setzen(141, "<hr>\r\n<p style=\"text-align:center\"><small>Galvora</small></p>\r\n");

    auto sharpen = std::make_shared<CBildEffekt>();
    sharpen->Description("Schärfen");
    WorkingCloneEffects().add(sharpen);
    auto frame = std::make_shared<CBorder>();
    frame->Description("Weißer Rahmen");
    frame->RahmenArt(1);
    frame->Breite(6);
    frame->deckkraft(100);
    WorkingCloneEffects().add(frame);
    auto stamp = std::make_shared<CTextStamp>();
    stamp->Description("Schriftzug");
    stamp->Text("Galvora");
    stamp->Font("DejaVu Sans");
    stamp->Position(9);
    stamp->Opacity(60);
    WorkingCloneEffects().add(stamp);
    ProfileModules().add("galerie", kModule, kModuleNotCompiled);

    profilaenderungen_uebernehmen();
    geladene_Profileinstellungen()[1].value = version;
    return profile_text(geladene_Profileinstellungen(), WorkingCloneEffects(), LoadedProfileModules());
}

class ShippedProfileTest : public ProfileSandbox {
protected:
    void TearDown() override {
        set_program_folder(program_dir);
        ProfileSandbox::TearDown();
    }
};

TEST_F(ShippedProfileTest, FileIsWhatOurWriterProduces) {
    const char* regenerate = std::getenv("GALVORA_REGENERATE_PROFILES");
    if (regenerate != nullptr && std::string(regenerate) == "1") {
        std::error_code ec;
        ASSERT_TRUE(write_file_atomic(kShippedFile, shipped_profile_text(programmversion()), ec)) << ec.message();
    }
    const std::string shipped = testing::file_bytes(kShippedFile);
    ASSERT_FALSE(shipped.empty()) << kShippedFile;
    // The file records the version that wrote it; the rest must match byte for byte.
    const std::string first_line = shipped.substr(0, shipped.find("\r\n"));
    ASSERT_TRUE(first_line.starts_with("VERSION="));
    EXPECT_EQ(shipped, shipped_profile_text(first_line.substr(8)));
}

TEST_F(ShippedProfileTest, ReadsBackAsAProgramProfile) {
    set_program_folder(kShippedFolder.parent_path());
    profile_auflisten();
    auto galerie = profil_per_name("Galerie");
    ASSERT_TRUE(galerie);
    EXPECT_EQ(galerie->art(), kProfileSystem);

    profil_laden(galerie);
    EXPECT_TRUE(port.boxes.empty()) << last_box_text();
    EXPECT_EQ(aktuelles_profil(), galerie);
    EXPECT_EQ(profilwert(37), "150");
    EXPECT_EQ(profilwert(58), "800");
    EXPECT_EQ(profilwert(99), "1");
    EXPECT_EQ(profilwert(141), "<hr>\r\n<p style=\"text-align:center\"><small>Galvora</small></p>\r\n");
    EXPECT_EQ(profilwert(2), "Galerie mit Übersichtsseite, Klonen mit 800 Pixeln, Rahmen und Schriftzug");
    ASSERT_EQ(WorkingCloneEffects().count(), 3);
    auto frame = std::dynamic_pointer_cast<CBorder>(WorkingCloneEffects().item(2));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->Description(), "Weißer Rahmen");
    EXPECT_EQ(frame->Breite(), 6);
    auto stamp = std::dynamic_pointer_cast<CTextStamp>(WorkingCloneEffects().item(3));
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->Position(), 9);
    ASSERT_EQ(ProfileModules().count(), 1);
    EXPECT_EQ(ProfileModules().item(1)->inhalt(), kModule);
    EXPECT_EQ(ProfileModules().item(1)->status(), kModuleCompiled) << "the shipped module compiles";
}

}  // namespace
}  // namespace galvora
