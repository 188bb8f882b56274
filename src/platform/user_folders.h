#pragma once
// The per-user base folders of the freedesktop.org base-directory rules.
// A variable that is unset, empty or not an absolute path is ignored and the
// usual default below the home folder is taken.
#include <filesystem>

namespace galvora {

// $HOME, or the home folder of the password database when HOME is unset.
std::filesystem::path home_folder();
// $XDG_CONFIG_HOME, default ~/.config
std::filesystem::path xdg_config_home();
// $XDG_DATA_HOME, default ~/.local/share
std::filesystem::path xdg_data_home();
// $XDG_STATE_HOME, default ~/.local/state
std::filesystem::path xdg_state_home();

}  // namespace galvora
