#include "foundation/path_helpers.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/error.h"
#include "foundation/program_info.h"
#include "temp_folder.h"

using namespace galvora;
using galvora::testing::ScopedEnv;
using galvora::testing::TempFolder;
namespace fs = std::filesystem;

TEST(PathHelpers, SplitsPaths) {
    struct Case { std::string path, directory, name, extension; };
    const std::vector<Case> cases = {
        {"/a/b/pic.jpg", "a/b", "pic", "jpg"},
        {"a/b/pic.jpg", "a/b", "pic", "jpg"},
        {"pic.tar.gz", "", "pic.tar", "gz"},
        {"/noext", "", "noext", ""},
        {"/a.b/noext", "a.b", "noext", ""},
        {"/a/", "a", "", ""},
        {"C:pic.jpg", "", "C:pic", "jpg"},  // no drive part on this platform
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        const PathParts parts = pfad_zerlegen(c.path);
        EXPECT_EQ(parts.drive, "") << c.path;
        EXPECT_EQ(parts.directory, c.directory) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
        EXPECT_EQ(parts.extension, c.extension) << c.path;
    }
}

// Deliberately stricter than the character list alone: "." and ".." name the
// folder itself or its parent and a NUL cuts the name short, so none is a
// file name.
TEST(PathHelpers, ValidFileNames) {
    const std::string n255(255, 'a');
    const std::string n256(256, 'a');
    struct Case { std::string name; bool valid; };
    const std::vector<Case> cases = {
        {"pic.jpg", true}, {n255, true}, {n256, false}, {"", false},
        {"$pic", false},   {"pic ", false}, {" pic", false}, {"a b", true},
        {".", false},      {"..", false},   {".hidden", true}, {"a$b", true},
        {"a/b", false},    {"a\\b", false}, {"a:b", false}, {"a|b", false},
        {"a<b", false},    {"a>b", false},  {"a*b", false}, {"a?b", false},
        {"a\"b", false},   {std::string("a\0b", 3), false},
        // 255 characters that take more bytes are still 255 characters.
        {[] { std::string s; for (int i = 0; i < 255; ++i) s += "\xC3\xA4"; return s; }(), true},
    };
    for (const auto& c : cases) EXPECT_EQ(dateiname_gueltig(c.name), c.valid) << c.name;
}

TEST(PathHelpers, ValidPathNames) {
    struct Case { std::string path; bool valid; };
    const std::vector<Case> cases = {
        {"/home/me/pics", true},
        {"/", true},
        {"/my pics/a:b", true},
        {"pics", false},           // a bare name is no full path
        {"C:\\pics", false},       // nor a drive path
        {"relative/dir", false},
        {"", false},
        {"/a*b", false}, {"/a?b", false}, {"/a|b", false}, {"/a<b", false}, {"/a>b", false}, {"/a\"b", false},
        {"/" + std::string(254, 'a'), true},
        {"/" + std::string(255, 'a'), false},
    };
    for (const auto& c : cases) EXPECT_EQ(pfadname_gueltig(c.path), c.valid) << c.path;
}

TEST(PathHelpers, ExistenceByMode) {
    TempFolder temp;
    const fs::path file = temp / "f.txt";
    galvora::testing::write_file(file, "x");
    const std::string dir = temp.path().string();
    EXPECT_TRUE(verzeichnis_existiert(dir, 2));
    EXPECT_FALSE(verzeichnis_existiert(dir, 1));
    EXPECT_TRUE(verzeichnis_existiert(dir, 0));
    EXPECT_TRUE(verzeichnis_existiert(file.string(), 1));
    EXPECT_FALSE(verzeichnis_existiert(file.string(), 2));
    EXPECT_TRUE(verzeichnis_existiert(file.string(), 3));
    EXPECT_FALSE(verzeichnis_existiert((temp / "missing").string(), 0));
    EXPECT_FALSE(verzeichnis_existiert("", 0));
    // A link to a folder counts as the folder.
    fs::create_directory_symlink(temp.path(), temp / "link");
    EXPECT_TRUE(verzeichnis_existiert((temp / "link").string(), 2));
}

TEST(PathHelpers, MakeFullDirCreatesTheChain) {
    TempFolder temp;
    const std::string deep = (temp / "a/b c/d").string();
    EXPECT_EQ(MakeFullDir("  " + deep + "  "), deep);
    EXPECT_TRUE(fs::is_directory(deep));
    // Existing folders are passed over.
    EXPECT_EQ(MakeFullDir(deep), deep);
    EXPECT_EQ(MakeFullDir(deep + "/"), deep + "/");
    EXPECT_EQ(MakeFullDir("/"), "/");
}

TEST(PathHelpers, MakeFullDirRefusesPathsThatAreNotFull) {
    for (const std::string path : {"", "   ", "pics/out", "C:\\pics"}) {
        try {
            MakeFullDir(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const GalvoraError& e) {
            EXPECT_EQ(e.number(), 1001);
            EXPECT_EQ(e.source(), "MakeFullDir");
            EXPECT_EQ(e.description(), "No valid Pathname");
        }
    }
}

// Deliberately not passed over: error 75 stands for a folder that exists and
// for one the system refuses alike. Ignored, a folder that was never made
// would count as made, and the run would fail later at its first file with
// a message that names the file, not the folder.
TEST(PathHelpers, MakeFullDirReportsWhatItCannotCreate) {
    TempFolder temp;
    // A file stands where a folder should be.
    galvora::testing::write_file(temp / "file", "x");
    try {
        MakeFullDir((temp / "file/sub").string());
        ADD_FAILURE() << "no error";
    } catch (const GalvoraError& e) {
        EXPECT_EQ(e.source(), "MakeFullDir");
        EXPECT_NE(e.number(), 1001);
    }
    try {
        MakeFullDir((temp / "file").string());
        ADD_FAILURE() << "a file is not a folder";
    } catch (const GalvoraError& e) {
        EXPECT_EQ(e.source(), "MakeFullDir");
    }
    // A folder the system refuses to create is an error, whatever the reason.
    EXPECT_THROW(MakeFullDir("/proc/galvora-no-such-folder/sub"), GalvoraError);
    // Access denied is an error, not success (root may write anywhere).
    if (::geteuid() != 0) {
        fs::create_directory(temp / "locked");
        fs::permissions(temp / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        try {
            MakeFullDir((temp / "locked/new").string());
            ADD_FAILURE() << "no error in a read-only folder";
        } catch (const GalvoraError& e) {
            EXPECT_EQ(e.number(), 70);
            EXPECT_EQ(e.source(), "MakeFullDir");
        }
        EXPECT_FALSE(fs::exists(temp / "locked/new"));
    }
}

TEST(PathHelpers, SpecialFolders) {
    TempFolder temp;
    ScopedEnv env;
    env.set("XDG_DATA_HOME", (temp / "data").string());
    EXPECT_EQ(spezialordner_pfad(26), (temp / "data/galvora").string());
    EXPECT_EQ(spezialordner_pfad(43), program_folder().string());
    EXPECT_EQ(spezialordner_pfad(5), "");
    // A relative XDG value is ignored in favour of the default below the home folder.
    env.set("XDG_DATA_HOME", "relative");
    env.set("HOME", (temp / "home").string());
    EXPECT_EQ(spezialordner_pfad(26), (temp / "home/.local/share/galvora").string());
}
