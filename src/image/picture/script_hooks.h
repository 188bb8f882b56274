#pragma once
// The script hooks a picture's processing runs: "_clone" and the text-stamp
// functions "_stamptext_<position>". The generation engine supplies how the
// predefined picture variables are set from a picture's record.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace galvora {

class ZNImageFile;

// True when the script engine exists and defines a function of that name
// (a name that is only called somewhere does not count).
bool script_function_defined(const std::string& name);

// Runs the named script function with output to channel (0 discards it, -1
// appends to the engine's text buffer). Does nothing when it is not defined.
void run_script_function(int32_t channel, const std::string& name);

// Runs the named function with its output collected and returns that output;
// empty when the function is not defined.
std::string script_function_output(const std::string& name);

// Pictures processed ahead of their turn on worker threads run no script.
// A function that only writes constant text (a text stamp without script)
// is not run there: its text is given from outputs_ahead, and the call is
// noted so that the run's thread runs the function in the picture's turn,
// where it leaves what each run leaves. Any other script raises an error on
// a worker thread.

// True when the function is defined and writes nothing but constant texts;
// text gets what it writes. Runs nothing.
bool constant_script_output(const std::string& name, std::string& text);
// The texts given in place of such functions (set before work ahead starts,
// unchanged while it runs).
void set_outputs_ahead(std::map<std::string, std::string> outputs);
// The functions the calling thread did not run, in call order; the list is
// emptied.
std::vector<std::string> take_script_runs_owed();

// Sets the predefined picture variables from a record; without a setter
// nothing is set.
using PictureVariablesSetter = std::function<void(const ZNImageFile&)>;
void set_picture_variables_setter(PictureVariablesSetter setter);
void set_picture_variables(const ZNImageFile& record);

}  // namespace galvora
