#include "profile_test_env.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>

#include "foundation/language.h"
#include "foundation/program_info.h"
#include "foundation/registry.h"
#include "foundation/text_codec.h"
#include "profile/profile_hooks.h"
#include "profile/profile_lists.h"
#include "profile/profiles.h"
#include "profile/settings_table.h"

namespace galvora::testing {

int RecordingUiPort::message_box(std::string_view title, std::string_view text, int style) {
    boxes.push_back({std::string(title), std::string(text), style});
    if (answers.empty()) return default_button_answer(style);
    int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

std::optional<std::string> RecordingUiPort::input_box(std::string_view, std::string_view preset) {
    return std::string(preset);
}

void ProfileSandbox::SetUp() {
    static std::atomic<int> counter{0};
    root = std::filesystem::temp_directory_path() /
           ("galvora_profile_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(root);
    program_dir = root / "program";
    system_dir = program_dir / "profiles";
    user_dir = root / "data" / "galvora" / "profiles";
    std::filesystem::create_directories(system_dir);
    std::filesystem::create_directories(user_dir);
    std::filesystem::create_directories(root / "config");
    std::filesystem::create_directories(root / "state");
    ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (root / "state").c_str(), 1);
    set_program_folder(program_dir);
    registry_schreiben("LastSession", "userprofiledir", user_dir.string());

    if (sprache_deutsch() == nullptr) deutsche_texte_anlegen();
    sprache_waehlen("de");
    set_ui_port(&port);

    profile_hooks() = ProfileHooks{};
    ScriptFileModules().clear();
    ScriptFileModules().verändert_reset();
    set_aktuelles_profil(nullptr);
    profil_laden(nullptr);
    port.boxes.clear();
}

void ProfileSandbox::TearDown() {
    set_ui_port(nullptr);
    profile_hooks() = ProfileHooks{};
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

std::filesystem::path ProfileSandbox::write_profile(const std::filesystem::path& folder, const std::string& name,
                                                    const std::vector<std::string>& lines) {
    auto path = folder / (name + ".qvp");
    std::ofstream out(path, std::ios::binary);
    for (const auto& line : lines) out << line << "\r\n";
    return path;
}

std::string file_bytes(const std::filesystem::path& path) {
    std::error_code ec;
    return read_file_bytes(path, ec).value_or("");
}

std::string ProfileSandbox::last_box_text() const { return port.boxes.empty() ? "" : port.boxes.back().text; }

}  // namespace galvora::testing
