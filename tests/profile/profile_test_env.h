#pragma once
// A sandbox for the profile tests: per-user folders, the registry, the
// program folder and the user's profile folder below one temporary folder,
// German texts, and a message port that records every box.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/ui_port.h"

namespace galvora::testing {

struct RecordedBox {
    std::string title;
    std::string text;
    int style;
};

class RecordingUiPort : public UiPort {
public:
    int message_box(std::string_view title, std::string_view text, int style) override;
    std::optional<std::string> input_box(std::string_view prompt, std::string_view preset) override;

    std::vector<RecordedBox> boxes;
    // Answers handed out in order; the default button's answer when empty.
    std::vector<int> answers;
};

// The bytes of a file, "" when it cannot be read.
std::string file_bytes(const std::filesystem::path& path);

class ProfileSandbox : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a profile file with CR LF line ends.
    std::filesystem::path write_profile(const std::filesystem::path& folder, const std::string& name,
                                        const std::vector<std::string>& lines);
    // The text of the last message box, or "".
    std::string last_box_text() const;

    std::filesystem::path root;
    std::filesystem::path program_dir;   // holds profiles/
    std::filesystem::path system_dir;    // program_dir/profiles
    std::filesystem::path user_dir;      // the user's profile folder
    RecordingUiPort port;
};

}  // namespace galvora::testing
