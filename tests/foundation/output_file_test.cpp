#include "foundation/output_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "foundation/temp_folder.h"

namespace galvora {
namespace {

namespace fs = std::filesystem;

std::string read_all(const fs::path& p) {
    std::string bytes;
    if (FILE* f = std::fopen(p.c_str(), "rb")) {
        char buffer[256];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

// With and without a sync per file, a committed file replaces the target
// and a discarded one leaves it as it was, with no temporary file behind.
// Written straight into its place, as the design writes, a file whose write
// fails half way (a full disk) would leave a damaged page or picture where
// the good one of the run before was.
TEST(OutputFile, CommitReplacesAndDiscardKeepsWithOrWithoutSync) {
    for (bool sync : {true, false}) {
        SCOPED_TRACE(sync ? "sync each file" : "sync at the end");
        galvora::testing::TempFolder folder;
        const fs::path target = folder.path() / "picture.jpg";
        {
            OutputFile out(target.string(), sync);
            ASSERT_TRUE(out.is_open());
            std::fputs("first", out.file());
            ASSERT_TRUE(out.commit());
        }
        {
            OutputFile out(target.string(), sync);
            ASSERT_TRUE(out.is_open());
            std::fputs("half-written", out.file());
        }  // dropped without commit
        EXPECT_EQ(read_all(target), "first");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator{}), 1);
        EXPECT_TRUE(flush_file_system(folder.path().string()));
    }
    EXPECT_FALSE(flush_file_system("/nonexistent-galvora-folder"));
}

// The temporary file has a short name of its own, so a target whose name
// fills the longest file name can still be written; temporaries a killed
// program left are found by their name and removed, nothing else is.
TEST(OutputFile, ShortTemporaryNamesAndStaleTemporariesRemoved) {
    galvora::testing::TempFolder folder;
    const fs::path target = folder.path() / (std::string(251, 'n') + ".jpg");
    {
        OutputFile out(target.string(), false);
        ASSERT_TRUE(out.is_open()) << out.error();
        EXPECT_TRUE(is_temporary_name(fs::path(out.temp_path()).filename().string()));
        EXPECT_EQ(fs::path(out.temp_path()).parent_path(), folder.path());
        std::fputs("long", out.file());
        ASSERT_TRUE(out.commit());
    }
    EXPECT_EQ(read_all(target), "long");

    // A temporary of a killed program, and one this program still writes or
    // holds back for its place (a page waiting for the end of its run),
    // which a clean-up of the folder must leave alone.
    const fs::path stale = folder.path() / ".galvora-Xy12Z9.tmp";
    std::fclose(std::fopen(stale.c_str(), "w"));
    OutputFile live((folder.path() / "picture.jpg").string(), false);
    ASSERT_TRUE(live.is_open());
    std::FILE* keep = std::fopen((folder.path() / ".galvora-notes.txt").c_str(), "w");
    std::fclose(keep);
    fs::create_directory(folder.path() / ".galvora-ABCDEF.tmp");  // a folder of that name is not ours
    EXPECT_EQ(remove_stale_temporaries(folder.path().string()), 1);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live.temp_path()));
    EXPECT_TRUE(fs::exists(folder.path() / ".galvora-notes.txt"));
    EXPECT_TRUE(fs::is_directory(folder.path() / ".galvora-ABCDEF.tmp"));
    EXPECT_EQ(remove_stale_temporaries((folder.path() / "missing").string()), 0);
}

// A folder's clean-up of stale temporaries runs on the run's thread while a
// picture processed ahead already writes into that folder on a worker: a
// temporary that has just been made is never taken for a stale one, however
// the two threads meet.
TEST(OutputFile, ACleanUpOnAnotherThreadNeverTakesATemporaryBeingMade) {
    galvora::testing::TempFolder folder;
    const std::string path = folder.path().string();
    std::atomic<bool> writing{true};
    std::thread cleaner([&] {
        while (writing) remove_stale_temporaries(path);
    });
    int failed = 0;
    for (int i = 0; i < 10000; ++i) {
        OutputFile out(path + "/p" + std::to_string(i % 10) + ".jpg", false);
        if (!out.is_open()) {
            ++failed;
            continue;
        }
        std::fputs("pixels", out.file());
        if (!out.commit()) ++failed;
    }
    writing = false;
    cleaner.join();
    EXPECT_EQ(failed, 0);
}

// The replace guard is asked before every commit: a refusal keeps the target
// and leaves no temporary file; commit_if_changed keeps a target that holds
// the same bytes.
TEST(OutputFile, ReplaceGuardAndCommitIfChanged) {
    galvora::testing::TempFolder folder;
    const fs::path target = folder.path() / "page.html";
    auto write = [&](const char* text, bool only_if_changed, bool& replaced) {
        OutputFile out(target.string(), false);
        std::fputs(text, out.file());
        if (only_if_changed) return out.commit_if_changed(replaced);
        replaced = out.commit();
        return replaced;
    };
    bool replaced = false;
    ASSERT_TRUE(write("one", false, replaced));
    const auto written = fs::last_write_time(target);
    EXPECT_TRUE(write("one", true, replaced));
    EXPECT_FALSE(replaced);
    EXPECT_EQ(fs::last_write_time(target), written);

    std::string asked;
    set_replace_guard([&](const std::string& t, const std::string& new_file) {
        asked = t;
        return read_all(new_file) == "refused" ? EEXIST : 0;
    });
    EXPECT_FALSE(write("refused", false, replaced));
    EXPECT_EQ(asked, target.string());
    EXPECT_TRUE(write("two", true, replaced));
    EXPECT_TRUE(replaced);
    set_replace_guard(nullptr);
    EXPECT_EQ(read_all(target), "two");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator{}), 1);
}

}  // namespace
}  // namespace galvora
