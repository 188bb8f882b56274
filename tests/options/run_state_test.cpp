// A profile applied through the options dialog's pages sets the same run
// state as the batch run's own derivation: window and batch runs agree.
#include <gtest/gtest.h>

#include <fstream>

#include "options/options_test_support.h"

namespace galvora::testing {
namespace {

constexpr int kDirSort = 28;
constexpr int kDirSortDirection = 29;
constexpr int kZantoscriptFile = 79;
constexpr int kGenerateHtml = 80;

TEST_F(OptionsTest, PagesAndTheBatchDerivationSetTheSameRunState) {
    const fs::path file = tmp.path() / "inc.zsf";
    std::ofstream(file) << "!*m\n!+x = 1;\n";
    struct Case {
        const char* html;
        const char* sort;
        const char* direction;
        std::string include;
    };
    const Case cases[] = {{"1", "5", "1", file.string()}, {"0", "2", "1", ""}, {"1", "6", "0", "/missing.zsf"},
                          {"1", "keine", "", file.string()}, {"1.0", "2", "1", ""}};
    for (const Case& c : cases) {
        load({{kGenerateHtml, c.html}, {kDirSort, c.sort}, {kDirSortDirection, c.direction},
              {kZantoscriptFile, c.include}});
        const int32_t kind = DirSortKind;
        const int32_t direction = DirSortDirection;
        const long modules = ScriptFileModules().count();

        DirSortKind = -7;
        DirSortDirection = -7;
        profilzustand_anmelden();
        profil_anwenden();
        EXPECT_EQ(DirSortKind, kind) << c.html << "/" << c.sort;
        EXPECT_EQ(DirSortDirection, direction) << c.html << "/" << c.direction;
        EXPECT_EQ(ScriptFileModules().count(), modules) << c.include;
        optionen_anmelden();
    }
}

}  // namespace
}  // namespace galvora::testing
