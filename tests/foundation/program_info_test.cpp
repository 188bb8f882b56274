#include "foundation/program_info.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace galvora;
namespace fs = std::filesystem;

TEST(ProgramInfo, VersionTextHasTwoDigitMinorAndRevision) {
    auto two = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    EXPECT_EQ(programmversion(), std::to_string(program_major()) + "." + two(program_minor()) + "." + two(program_revision()));
    EXPECT_EQ(product_name(), "Galvora");
    EXPECT_TRUE(kompiliert_laeuft());
}

TEST(ProgramInfo, ResourceFolderIsFoundAndCanBeOverridden) {
    const fs::path old = program_folder();
    // The test program lives beside the copied resources.
    EXPECT_TRUE(fs::is_directory(old / "languages")) << old;
    EXPECT_TRUE(fs::equivalent(old, GALVORA_BIN_DIR));
    set_program_folder("/somewhere/else");
    EXPECT_EQ(program_folder(), fs::path("/somewhere/else"));
    set_program_folder(old);
    EXPECT_EQ(program_folder(), old);
}

TEST(ProgramInfo, VersionsForPeopleShowEachPartAsAWholeNumber) {
    const std::pair<const char*, const char*> cases[] = {
        {"2.11.02", "2.11.2"}, {"2.09.05", "2.9.5"}, {"3.05.01", "3.5.1"}, {"2.10.00", "2.10.0"},
        {"3.0.1", "3.0.1"},    {"3.00.10", "3.0.10"}, {"10.20.30", "10.20.30"}, {"0", "0"},
        {"2.11", "2.11"},      {"2.11.02 beta", "2.11.02 beta"}, {"", ""},
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(version_kurz(text), shown) << text;
}
