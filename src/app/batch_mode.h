#pragma once
// Batch mode: the switches Profile, Basedir, Level and Controlimage, and
// every other switch as an override of the profile setting of that key
// ("$KEY" puts the value in front, "KEY$" behind the setting's text).
#include <memory>
#include <string>

namespace galvora {

class CommandArguments;
struct Startdialog;

// Set when an override names no setting or gives a setting that holds a
// number something else: the batch run ends as a faulty command line.
extern bool batch_kommandozeile_fehlerhaft;

// Switches batch mode on, loads the profile, sets level and control image,
// applies the overrides (only while no message has appeared) and releases
// the command line. Returns the base directory to set.
std::string batch_vorbereiten(Startdialog& window, std::unique_ptr<CommandArguments>& arguments);

}  // namespace galvora
