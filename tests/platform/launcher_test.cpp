// The desktop opener: nothing is opened without a display, an empty target
// is never handed on, and an opener that cannot start or that fails is told.
#include "platform/launcher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace galvora {
namespace {

class SavedEnvironment {
public:
    explicit SavedEnvironment(const char* name) : name_(name) {
        if (const char* v = std::getenv(name)) old_ = v;
    }
    ~SavedEnvironment() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(Launcher, WithoutADisplayNothingIsOpened) {
    SavedEnvironment x11("DISPLAY"), wayland("WAYLAND_DISPLAY");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_FALSE(desktop_vorhanden());
    EXPECT_FALSE(launcher_oeffnen("https://www.example.org/"));
    setenv("WAYLAND_DISPLAY", "wayland-0", 1);
    EXPECT_TRUE(desktop_vorhanden());
}

TEST(Launcher, AnEmptyTargetIsNotHandedOn) {
    int calls = 0;
    set_launcher([&](const std::string&) {
        ++calls;
        return true;
    });
    EXPECT_FALSE(launcher_oeffnen(""));
    EXPECT_TRUE(launcher_oeffnen("mailto:galvora@example.org"));
    set_launcher(nullptr);
    EXPECT_EQ(calls, 1);
}

// Runs the real opener with a stand-in "xdg-open" first on the PATH.
class OpenerOnPath : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("galvora-opener-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder_);
        setenv("DISPLAY", ":99", 1);
        setenv("PATH", folder_.c_str(), 1);
        set_launch_failure_reporter([this](const std::string& target) {
            std::lock_guard<std::mutex> hold(lock_);
            failed_.push_back(target);
            heard_.notify_all();
        });
    }
    void TearDown() override {
        set_launch_failure_reporter(nullptr);
        std::filesystem::remove_all(folder_);
    }
    // An opener that writes its target into a file and ends with the status.
    void opener_ending_with(int status) {
        const std::filesystem::path script = folder_ / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\necho \"$1\" >\"" << (folder_ / "opened").string() << ".tmp\"\n/bin/mv \""
                              << (folder_ / "opened").string() << ".tmp\" \"" << (folder_ / "opened").string()
                              << "\"\nexit " << status << "\n";
        ::chmod(script.c_str(), 0755);
    }
    // Waits until the opener has written its target: it ran.
    std::string opened() {
        const std::filesystem::path file = folder_ / "opened";
        while (!std::filesystem::exists(file)) std::this_thread::yield();
        std::string line;
        std::getline(std::ifstream(file), line);
        return line;
    }
    std::vector<std::string> wait_for_failure() {
        std::unique_lock<std::mutex> hold(lock_);
        heard_.wait(hold, [this] { return !failed_.empty(); });
        return failed_;
    }

    SavedEnvironment display_{"DISPLAY"};
    SavedEnvironment path_{"PATH"};
    std::filesystem::path folder_;
    std::mutex lock_;
    std::condition_variable heard_;
    std::vector<std::string> failed_;
};

TEST_F(OpenerOnPath, AnOpenerThatCannotStartIsToldAtOnce) {
    EXPECT_FALSE(launcher_oeffnen("/tmp/gallery/index.html"));
}

TEST_F(OpenerOnPath, AnOpenerThatFailsIsToldWithItsTarget) {
    opener_ending_with(3);
    EXPECT_TRUE(launcher_oeffnen("/tmp/gallery/index.html"));
    EXPECT_EQ(opened(), "/tmp/gallery/index.html");
    EXPECT_EQ(wait_for_failure(), std::vector<std::string>{"/tmp/gallery/index.html"});
}

TEST_F(OpenerOnPath, AnOpenerThatSucceedsIsNotToldOf) {
    opener_ending_with(0);
    EXPECT_TRUE(launcher_oeffnen("/tmp/gallery/index.html"));
    EXPECT_EQ(opened(), "/tmp/gallery/index.html");
    // A second opener that fails is heard of alone: the first left no report behind.
    std::filesystem::remove(folder_ / "opened");
    opener_ending_with(4);
    EXPECT_TRUE(launcher_oeffnen("/tmp/other.html"));
    EXPECT_EQ(wait_for_failure(), std::vector<std::string>{"/tmp/other.html"});
}

}  // namespace
}  // namespace galvora
