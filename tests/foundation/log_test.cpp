#include "foundation/log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <regex>
#include <string>

#include "foundation/program_info.h"
#include "temp_folder.h"

using namespace galvora;
using galvora::testing::read_file;
using galvora::testing::ScopedUserFolders;
using galvora::testing::TempFolder;
using galvora::testing::write_file;
namespace fs = std::filesystem;

namespace {

// Points the program folder at a test folder for the life of the object.
class ScopedProgramFolder {
public:
    explicit ScopedProgramFolder(const fs::path& folder) : old_(program_folder()) { set_program_folder(folder); }
    ~ScopedProgramFolder() { set_program_folder(old_); }

private:
    fs::path old_;
};

std::size_t open_descriptors() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

}  // namespace

TEST(Log, ChoosesTheFileName) {
    TempFolder temp;
    ScopedProgramFolder program(temp.path());
    struct Case { std::string name; fs::path expected; };
    const std::vector<Case> cases = {
        {"", temp / "Galvora.log"},
        {"run.log", temp / "run.log"},            // a bare name lands beside the program
        {"logs/run.log", temp / "logs/run.log"},  // so does a relative path
        {(temp / "abs.log").string(), temp / "abs.log"},
    };
    fs::create_directory(temp / "logs");
    for (const auto& c : cases) {
        LogClass log;
        EXPECT_TRUE(log.CreateLogfile(c.name)) << c.name;
        EXPECT_EQ(log.LogFile(), c.expected.string());
        EXPECT_TRUE(fs::exists(c.expected));
    }
    // A file that cannot be made reports False and keeps the chosen name.
    LogClass log;
    EXPECT_FALSE(log.CreateLogfile((temp / "missing/x.log").string()));
    EXPECT_EQ(log.LogFile(), (temp / "missing/x.log").string());
    EXPECT_FALSE(log.WriteLog("x"));
}

TEST(Log, FallsBackToTheStateFolderWhenTheProgramFolderIsNotWritable) {
    TempFolder temp;
    ScopedUserFolders user(temp.path());
    ScopedProgramFolder program(temp / "not-there");
    LogClass log;
    EXPECT_TRUE(log.CreateLogfile(""));
    EXPECT_EQ(log.LogFile(), (temp / "state/galvora/Galvora.log").string());
}

TEST(Log, WritesDatedLinesAndEmptiesAnOldFile) {
    TempFolder temp;
    const fs::path file = temp / "Galvora.log";
    write_file(file, "old contents\r\n");
    LogClass log;
    ASSERT_TRUE(log.CreateLogfile(file.string()));
    EXPECT_EQ(read_file(file), "");
    EXPECT_TRUE(log.WriteLog("Initialization START"));
    EXPECT_TRUE(log.WriteLog("Gr\xC3\xBC\xC3\x9F" "e"));
    // Each line is with the system at once, not held in a buffer.
    const std::string text = read_file(file);
    const std::regex line(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d Initialization START\r\n)"
                          R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d Gr\xC3\xBC\xC3\x9F)"
                          "e\r\n");
    EXPECT_TRUE(std::regex_match(text, line)) << text;

    log.CloseLogfile();
    EXPECT_FALSE(log.WriteLog("after close"));
    EXPECT_EQ(read_file(file), text);
    log.CloseLogfile();  // closing twice does nothing
}

// A second create closes the first file: left open, its handle would stay
// taken until the program ends, and with it the first file's place.
TEST(Log, ASecondLogfileDoesNotLeakTheFirst) {
    TempFolder temp;
    const std::size_t before = open_descriptors();
    {
        LogClass log;
        ASSERT_TRUE(log.CreateLogfile((temp / "one.log").string()));
        ASSERT_TRUE(log.CreateLogfile((temp / "two.log").string()));
        EXPECT_EQ(open_descriptors(), before + 1);
        log.WriteLog("second");
        EXPECT_EQ(read_file(temp / "one.log"), "");
        EXPECT_NE(read_file(temp / "two.log").find("second"), std::string::npos);
    }
    EXPECT_EQ(open_descriptors(), before);
}

TEST(Log, ProgramWideLogOnlyWhenOneExists) {
    TempFolder temp;
    set_global_log(nullptr);
    log_line("nowhere");  // no log: nothing happens
    EXPECT_EQ(global_log(), nullptr);
    auto log = std::make_unique<LogClass>();
    ASSERT_TRUE(log->CreateLogfile((temp / "g.log").string()));
    set_global_log(std::move(log));
    log_line("Load Languagefiles START");
    set_global_log(nullptr);
    EXPECT_NE(read_file(temp / "g.log").find(" Load Languagefiles START\r\n"), std::string::npos);
}

// Deliberately clamped: a watch running longer than a 32-bit count of
// milliseconds holds stays at the largest count instead of wrapping round to
// a negative time.
TEST(StopWatch, CountsFromTheStartAndSaturates) {
    using namespace std::chrono;
    CStopWatch weeks(steady_clock::now() - hours(24 * 40));
    EXPECT_EQ(weeks.Elapsed(), std::numeric_limits<int32_t>::max());
    const CStopWatch recent(steady_clock::now() - milliseconds(1500));
    EXPECT_GE(recent.Elapsed(), 1500);
    // reset starts counting again from now.
    weeks.reset();
    EXPECT_GE(weeks.Elapsed(), 0);
    EXPECT_LT(weeks.Elapsed(), std::numeric_limits<int32_t>::max());
    EXPECT_LE(weeks.MinimumResolution(), weeks.MaximumResolution());
}
