#pragma once
// Services that applying a profile needs from the generation engine and the
// windows, registered by those parts at start-up; a hook left empty is
// skipped, so a program without windows (or a test) runs the profile
// operations all the same. The three script hooks, when set, stand in for the
// script engine's own calls.
#include <functional>
#include <string>

namespace galvora {

struct ProfileHooks {
    // Creates the script engine or resets it.
    std::function<void()> script_engine_reset;
    // Creates the predefined script variables of the generation run.
    std::function<void()> script_variables_create;
    // Compiles a module's text under its name in module mode; returns the
    // compiler's result (0 without error).
    std::function<int(const std::string& name, const std::string& text)> compile_module;
    // Removes every script-defined function from the engine again.
    std::function<void()> remove_script_functions;
    // Reloads the options dialog from the working state (creating it first).
    std::function<void()> options_dialog_reload;
    // Shows "<product> - <profile>" as the current profile in the main window.
    std::function<void(const std::string&)> show_current_profile;
};

ProfileHooks& profile_hooks();

}  // namespace galvora
