// The desktop opener: nothing is opened without a display, and an empty
// target is never handed on.
#include "platform/launcher.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

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

}  // namespace
}  // namespace galvora
