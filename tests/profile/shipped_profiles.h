#pragma once
// The profiles shipped in resources/profiles/: each is the default profile
// with the changes made here, written by our own profile writer. The profile
// tests compare the shipped files with this text and can write them anew.
#include <string>
#include <vector>

namespace galvora::testing {

struct ShippedProfile {
    std::string name;      // file name without ".qvp"
    std::string language;  // the language of its pages and description: "de" or "en"
    // The profile file's text with the given VERSION. Works on the global
    // profile state: call it inside a profile sandbox.
    std::string (*text)(const std::string& version);
};

const std::vector<ShippedProfile>& shipped_profiles();

// The script module the profiles of a language carry, as it reads back from
// the file.
const std::string& shipped_module_text(const std::string& language);

}  // namespace galvora::testing
