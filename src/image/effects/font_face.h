#pragma once
// Fonts for text stamps: a face name, weight and slant are matched through
// fontconfig, so a family that is not installed ("Arial" on most systems)
// resolves to its configured substitute; the matched file is opened with
// FreeType. Faces stay open for the rest of the process.
#include <memory>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace galvora {

struct FontFace {
    FT_Face face = nullptr;
    bool synthetic_bold = false;    // a bold weight asked of a face without one
    bool synthetic_italic = false;  // an italic asked of an upright face
    // The font's cell from the top of the accents to the bottom of the
    // descenders, in font units; a cell height in pixels scales this.
    double cell_ascent = 0;
    double cell_descent = 0;
    std::string file;  // the file fontconfig chose
};

// The face for family (the Windows weight 100 to 900, 0 for normal), or null
// when not even a fallback outline font can be found. Only scalable outline
// fonts are returned.
std::shared_ptr<const FontFace> find_font(const std::string& family, int weight, bool italic);

}  // namespace galvora
