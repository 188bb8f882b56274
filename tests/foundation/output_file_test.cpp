#include "foundation/output_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

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

}  // namespace
}  // namespace galvora
