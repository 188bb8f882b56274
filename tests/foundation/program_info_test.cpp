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
