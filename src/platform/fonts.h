#pragma once
// The installed font families, as the font list of the text-stamp page
// shows them.
#include <string>
#include <vector>

namespace galvora {

struct FontFamilyInfo {
    std::string face_name;
    bool scalable_outline = false;  // TrueType or OpenType outlines
    bool bitmap = false;            // a fixed-size bitmap font
};

// Every family once, sorted by name. Empty when fontconfig cannot be set up.
std::vector<FontFamilyInfo> list_font_families();

}  // namespace galvora
