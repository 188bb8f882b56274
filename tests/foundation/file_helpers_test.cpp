#include "foundation/file_helpers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/error.h"
#include "foundation/ole_date.h"
#include "temp_folder.h"

using namespace galvora;
using galvora::testing::read_file;
using galvora::testing::ScopedUserFolders;
using galvora::testing::TempFolder;
using galvora::testing::write_file;
namespace fs = std::filesystem;

TEST(FileHelpers, ListsSubFoldersWithTheirTimes) {
    TempFolder temp;
    for (const char* name : {"b", "A", "c", ".hidden"}) fs::create_directory(temp / name);
    write_file(temp / "file.txt", "not a folder");
    fs::create_directory_symlink(temp / "c", temp / "link-to-c");
    const double when = ole_from_parts(DateParts{2020, 5, 17, 13, 45, 10, 0});
    ASSERT_TRUE(dateizeit_setzen((temp / "b").string(), when));

    const std::vector<Verzeichnissatz> records = verzeichnis_einlesen(temp.path().string());
    std::vector<std::string> names;
    for (const auto& record : records) names.push_back(record.name);
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "A", "b", "c", "link-to-c"}));
    EXPECT_NEAR(records[2].zeitstempel, when, 1.0 / 86400 / 2);
    EXPECT_EQ(records[2].bildanzahl, 0);

    EXPECT_TRUE(verzeichnis_einlesen((temp / "missing").string()).empty());
    EXPECT_TRUE(verzeichnis_einlesen((temp / "file.txt").string()).empty());
}

TEST(FileHelpers, ReplacesOnlyChangedFiles) {
    TempFolder temp;
    const fs::path target = temp / "page.html";
    const fs::path side = temp / "page.html_";
    struct Case { const char* label; std::optional<std::string> old_text; std::string new_text; bool replaced; };
    const std::vector<Case> cases = {
        {"missing target", std::nullopt, "<p>new</p>", true},
        {"same bytes", std::string("<p>same</p>"), "<p>same</p>", false},
        {"other length", std::string("<p>a</p>"), "<p>ab</p>", true},
        {"letter case only", std::string("<P>Text</P>"), "<p>text</p>", true},
        {"empty files", std::string(""), "", false},
    };
    for (const auto& c : cases) {
        fs::remove(target);
        if (c.old_text) write_file(target, *c.old_text);
        write_file(side, c.new_text);
        EXPECT_EQ(datei_uebernehmen_wenn_geaendert(target.string(), side.string()), c.replaced) << c.label;
        EXPECT_FALSE(fs::exists(side)) << c.label;
        EXPECT_EQ(read_file(target), c.replaced ? c.new_text : *c.old_text) << c.label;
    }
}

TEST(FileHelpers, FailedReplaceKeepsTheTarget) {
    TempFolder temp;
    // A folder with contents cannot be replaced by a file: the rename fails.
    const fs::path target = temp / "out";
    write_file(target / "keep.txt", "precious");
    const fs::path side = temp / "out_";
    write_file(side, "new");
    try {
        datei_uebernehmen_wenn_geaendert(target.string(), side.string());
        ADD_FAILURE() << "no error";
    } catch (const GalvoraError& e) {
        EXPECT_NE(e.number(), 0);
        EXPECT_EQ(e.source(), "datei_uebernehmen_wenn_geaendert");
    }
    EXPECT_EQ(read_file(target / "keep.txt"), "precious");
    EXPECT_FALSE(fs::exists(side));

    // A missing new file is an error too, and the old page stays.
    write_file(temp / "page.html", "old");
    EXPECT_THROW(datei_uebernehmen_wenn_geaendert((temp / "page.html").string(), (temp / "gone").string()),
                 GalvoraError);
    EXPECT_EQ(read_file(temp / "page.html"), "old");
}

TEST(FileHelpers, SetsTheLastWriteTimeOnly) {
    TempFolder temp;
    const fs::path file = temp / "pic.jpg";
    write_file(file, "x");
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    const double when = ole_from_parts(DateParts{2001, 2, 3, 4, 5, 6, 0});
    ASSERT_TRUE(dateizeit_setzen(file.string(), when));
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_atim.tv_sec, before.st_atim.tv_sec);
    const DateParts parts = ole_to_parts(ole_from_file_time(fs::last_write_time(file)));
    EXPECT_EQ(parts.year, 2001);
    EXPECT_EQ(parts.month, 2);
    EXPECT_EQ(parts.day, 3);
    EXPECT_EQ(parts.hour, 4);
    EXPECT_EQ(parts.minute, 5);
    EXPECT_EQ(parts.second, 6);
    EXPECT_FALSE(dateizeit_setzen((temp / "missing").string(), when));
}

TEST(FileHelpers, EmptiesAFolderButNothingOutsideIt) {
    TempFolder temp;
    const fs::path out = temp / "out";
    write_file(out / "a.html", "a");
    write_file(out / ".hidden", "h");
    write_file(out / "sub/deep/b.jpg", "b");
    write_file(temp / "outside/precious.jpg", "p");
    fs::create_directory_symlink(temp / "outside", out / "link");
    EXPECT_TRUE(verzeichnis_loeschen(out.string(), 0));
    EXPECT_TRUE(fs::is_directory(out));
    EXPECT_TRUE(fs::is_empty(out));
    EXPECT_EQ(read_file(temp / "outside/precious.jpg"), "p");

    EXPECT_TRUE(verzeichnis_loeschen(out.string() + "/", 0));  // nothing left is success
    EXPECT_FALSE(verzeichnis_loeschen((temp / "missing").string(), 0));
    EXPECT_FALSE(verzeichnis_loeschen("", 0));
    EXPECT_FALSE(verzeichnis_loeschen("/", 0));
}

TEST(FileHelpers, EmptiesAFolderIntoTheTrash) {
    TempFolder temp;
    ScopedUserFolders user(temp.path());
    const fs::path out = temp / "out";
    write_file(out / "a.html", "first");
    write_file(out / "sub/b.jpg", "b");
    write_file(out / "M\xC3\xBCnchen 1.jpg", "m");
    EXPECT_TRUE(verzeichnis_loeschen(out.string(), kDeleteToTrash));
    EXPECT_TRUE(fs::is_empty(out));
    const fs::path trash = temp / "data/Trash";
    EXPECT_EQ(read_file(trash / "files/a.html"), "first");
    EXPECT_EQ(read_file(trash / "files/sub/b.jpg"), "b");
    const std::string info = read_file(trash / "info/a.html.trashinfo");
    EXPECT_EQ(info.rfind("[Trash Info]\nPath=", 0), 0u) << info;
    EXPECT_NE(info.find("Path=" + fs::canonical(out).string() + "/a.html\n"), std::string::npos) << info;
    EXPECT_NE(info.find("DeletionDate="), std::string::npos);
    // The recorded path is percent-encoded.
    EXPECT_NE(read_file(trash / "info/M\xC3\xBCnchen 1.jpg.trashinfo").find("/M%C3%BCnchen%201.jpg\n"),
              std::string::npos);

    // The same name again takes a free name and keeps the first.
    write_file(out / "a.html", "second");
    EXPECT_TRUE(verzeichnis_loeschen(out.string(), kDeleteToTrash));
    EXPECT_EQ(read_file(trash / "files/a.html"), "first");
    EXPECT_EQ(read_file(trash / "files/a.html.2"), "second");
    EXPECT_TRUE(fs::exists(trash / "info/a.html.2.trashinfo"));
}

TEST(FileHelpers, FileVersions) {
    TempFolder temp;
    write_file(temp / "lib.so", "\x7f" "ELF");
    EXPECT_EQ(dateiversion((temp / "lib.so").string()), "NV");
    EXPECT_EQ(dateiversion((temp / "missing").string()), "NV");
    EXPECT_EQ(dateiversion(""), "NV");
    EXPECT_EQ(dateiversion("/proc/self/exe"), "2.11.0.2");
}
