#pragma once
// The script hooks a picture's processing runs: "_clone" and the text-stamp
// functions "_stamptext_<position>". The generation engine supplies how the
// predefined picture variables are set from a picture's record.
#include <cstdint>
#include <functional>
#include <string>

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

// Sets the predefined picture variables from a record; without a setter
// nothing is set.
using PictureVariablesSetter = std::function<void(const ZNImageFile&)>;
void set_picture_variables_setter(PictureVariablesSetter setter);
void set_picture_variables(const ZNImageFile& record);

}  // namespace galvora
