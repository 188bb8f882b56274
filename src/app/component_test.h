#pragma once
// The start-up test of the components the program cannot work without: the
// imaging codecs, the fonts of the text stamps and the metadata definitions.
#include <functional>
#include <string>
#include <vector>

namespace galvora {

struct Komponente {
    std::string path;              // what the log and the message name
    std::function<bool()> present;  // true when the component works
};

// The program's own list: the JPEG, PNG, TIFF and GIF codecs (each writes and
// reads back a small picture in a private temporary folder), the fonts, and
// metadata.def beside the program (a regular file; a folder of that name
// does not count).
std::vector<Komponente> programmkomponenten();

// Tests the components in order; on the first missing one logs FAILED, shows
// "ErrComponentMissing" with its path and returns false.
bool startbedingungen_pruefen(const std::vector<Komponente>& components);
bool startbedingungen_pruefen();

}  // namespace galvora
