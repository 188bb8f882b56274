#pragma once
// Fixtures shared by the language, message and dialog-helper tests: a private
// temporary folder with its own per-user folders, a message port that records
// the boxes, and plain windows and controls.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "foundation/program_info.h"
#include "foundation/window_controls.h"
#include "platform/ui_port.h"

namespace galvora::test {

// A fresh folder below the system's temporary folder, with XDG_CONFIG_HOME,
// XDG_DATA_HOME and XDG_STATE_HOME pointing inside it; all undone at the end.
class TempFolder {
public:
    TempFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("galvora-lang-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) {
            const char* old = std::getenv(name);
            saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
            std::filesystem::path dir = path_ / "user" / name;
            std::filesystem::create_directories(dir);
            setenv(name, dir.c_str(), 1);
        }
    }
    ~TempFolder() {
        for (const auto& [name, old] : saved_) {
            if (old) setenv(name.c_str(), old->c_str(), 1);
            else unsetenv(name.c_str());
        }
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    std::filesystem::path write(const std::string& relative, const std::string& bytes) const {
        std::filesystem::path p = path_ / relative;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary);
        out << bytes;
        return p;
    }

private:
    std::filesystem::path path_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Points the program folder somewhere else until the end of the scope.
class ProgramFolderScope {
public:
    explicit ProgramFolderScope(const std::filesystem::path& folder) : previous_(program_folder()) {
        set_program_folder(folder);
    }
    ~ProgramFolderScope() { set_program_folder(previous_); }
    ProgramFolderScope(const ProgramFolderScope&) = delete;
    ProgramFolderScope& operator=(const ProgramFolderScope&) = delete;

private:
    std::filesystem::path previous_;
};

struct ShownBox {
    std::string title;
    std::string text;
    int style;
};

// Records every box and answers with a preset button code.
class RecordingPort : public UiPort {
public:
    RecordingPort() { set_ui_port(this); }
    ~RecordingPort() override { set_ui_port(nullptr); }

    int message_box(std::string_view title, std::string_view text, int style) override {
        boxes.push_back({std::string(title), std::string(text), style});
        return answer;
    }
    std::optional<std::string> input_box(std::string_view, std::string_view preset) override {
        return std::string(preset);
    }

    std::vector<ShownBox> boxes;
    int answer = 1;
};

struct FakeControl : WindowControl {
    ControlKind kind_ = ControlKind::Other;
    std::string tag_;
    std::optional<std::string> caption_;
    const WindowControl* container_ = nullptr;
    bool has_enabled_ = true;
    bool enabled_ = true;
    bool has_font_ = true;
    std::string font_;

    ControlKind kind() const override { return kind_; }
    std::string tag() const override { return tag_; }
    std::optional<std::string> caption() const override { return caption_; }
    void set_caption(const std::string& text) override {
        if (caption_) caption_ = text;
    }
    const WindowControl* container() const override { return container_; }
    bool has_enabled() const override { return has_enabled_; }
    void set_enabled(bool on) override { enabled_ = on; }
    bool has_font() const override { return has_font_; }
    void set_font_name(const std::string& name) override { font_ = name; }
};

struct FakeWindow : ControlWindow {
    std::string name_;
    std::string tag_;
    std::string caption_;
    std::vector<FakeControl*> controls_;
    std::vector<bool> redraw_calls;

    std::string name() const override { return name_; }
    std::string tag() const override { return tag_; }
    std::string caption() const override { return caption_; }
    void set_caption(const std::string& text) override { caption_ = text; }
    std::vector<WindowControl*> controls() override { return {controls_.begin(), controls_.end()}; }
    void set_redraw(bool on) override { redraw_calls.push_back(on); }
};

}  // namespace galvora::test
