// The profiles shipped in resources/profiles/ are the default profile with the
// changes of shipped_profiles.cpp, written by our own writer. Run the tests
// with GALVORA_REGENERATE_PROFILES=1 to write them anew after the writer or
// those changes changed; the comparison test then shows the difference.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "foundation/program_info.h"
#include "foundation/text_codec.h"
#include "profile/border.h"
#include "profile/clone_effect_list.h"
#include "profile/profile_lists.h"
#include "profile/profiles.h"
#include "profile/script_modules.h"
#include "profile/settings_table.h"
#include "profile/text_stamp.h"
#include "profile_test_env.h"
#include "shipped_profiles.h"

namespace galvora {
namespace {

using testing::ProfileSandbox;
using testing::shipped_profiles;

const std::filesystem::path kShippedFolder = std::filesystem::path(GALVORA_SOURCE_DIR) / "resources" / "profiles";

class ShippedProfileTest : public ProfileSandbox {
protected:
    void TearDown() override {
        set_program_folder(program_dir);
        ProfileSandbox::TearDown();
    }
};

TEST_F(ShippedProfileTest, FilesAreWhatOurWriterProduces) {
    const char* regenerate = std::getenv("GALVORA_REGENERATE_PROFILES");
    for (const auto& profile : shipped_profiles()) {
        SCOPED_TRACE(profile.name);
        const auto file = kShippedFolder / (profile.name + ".qvp");
        if (regenerate != nullptr && std::string(regenerate) == "1") {
            std::error_code ec;
            ASSERT_TRUE(write_file_atomic(file, profile.text(programmversion()), ec)) << ec.message();
        }
        const std::string shipped = testing::file_bytes(file);
        ASSERT_FALSE(shipped.empty()) << file;
        // The file records the version that wrote it; the rest must match byte for byte.
        const std::string first_line = shipped.substr(0, shipped.find("\r\n"));
        ASSERT_TRUE(first_line.starts_with("VERSION="));
        EXPECT_EQ(shipped, profile.text(first_line.substr(8)));
    }
}

TEST_F(ShippedProfileTest, NoOtherProfileShips) {
    std::set<std::string> expected, found;
    for (const auto& profile : shipped_profiles()) expected.insert(profile.name + ".qvp");
    for (const auto& entry : std::filesystem::directory_iterator(kShippedFolder))
        if (entry.path().extension() == ".qvp") found.insert(entry.path().filename().string());
    EXPECT_EQ(found, expected);
}

TEST_F(ShippedProfileTest, ReadBackAsProgramProfilesAndKeepTheirPromises) {
    set_program_folder(kShippedFolder.parent_path());
    profile_auflisten();
    for (const auto& shipped : shipped_profiles()) {
        SCOPED_TRACE(shipped.name);
        auto profile = profil_per_name(shipped.name);
        ASSERT_TRUE(profile);
        EXPECT_EQ(profile->art(), kProfileSystem);

        port.boxes.clear();
        profil_laden(profile);
        EXPECT_TRUE(port.boxes.empty()) << last_box_text();
        EXPECT_EQ(aktuelles_profil(), profile);
        // Works without any switch: clones into a folder of their own,
        // made again only when the original changed, 1600 pixels long.
        EXPECT_EQ(profilwert(52), "1");  // GENERATE_CLONES
        EXPECT_FALSE(profilwert(53).empty()) << "CLONE_PATH";
        EXPECT_EQ(profilwert(62), "1");  // CLONE_ONLY_IF_NEWER
        EXPECT_EQ(profilwert(57), "0");  // CLONE_SIZE_ORIGINAL
        EXPECT_EQ(profilwert(58), "1600");
        EXPECT_GE(std::stoi(profilwert(44)), 80) << "THUMB_QUALITY";
        EXPECT_EQ(profilwert(94), "1") << "HTML_CHANGED: an unchanged gallery rewrites no page";
        EXPECT_EQ(profilwert(92), "<!DOCTYPE html>");
        for (int head : {125, 149, 176})
            EXPECT_NE(profilwert(head).find("<meta name=\"viewport\""), std::string::npos) << head;

        // Made for a folder of albums: the window's tree shows them.
        EXPECT_EQ(profilwert(27), "1") << "DIR_LEVEL";
        EXPECT_EQ(profilwert(93).find("lang=\"" + shipped.language + "\""), 0u) << profilwert(93);

        // A text stamp only where the description, in the pages' language,
        // promises one.
        const std::string& description = profilwert(2);
        EXPECT_FALSE(description.empty());
        bool stamped = false;
        for (int i = 1; i <= WorkingCloneEffects().count(); ++i)
            stamped = stamped || std::dynamic_pointer_cast<CTextStamp>(WorkingCloneEffects().item(i)) != nullptr;
        const bool german = shipped.language == "de";
        const std::string stamp = german ? "Schriftzug" : "text stamp";
        const std::string none = german ? "ohne Schriftzug" : "no text stamp";
        const bool promised = description.find(stamp) != std::string::npos && description.find(none) == std::string::npos;
        EXPECT_EQ(stamped, promised) << description;
        EXPECT_NE(description.find(german ? "Seiten auf Deutsch" : "Pages in English"), std::string::npos) << description;

        ASSERT_EQ(ProfileModules().count(), 1);
        EXPECT_EQ(ProfileModules().item(1)->inhalt(), testing::shipped_module_text(shipped.language));
        EXPECT_EQ(ProfileModules().item(1)->status(), kModuleCompiled) << "the shipped module compiles";
    }
}

}  // namespace
}  // namespace galvora
