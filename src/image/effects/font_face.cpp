#include "image/effects/font_face.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <mutex>
#include <tuple>

#include FT_TRUETYPE_TABLES_H

namespace galvora {

namespace {

struct FontLibrary {
    FT_Library freetype = nullptr;
    FcConfig* config = nullptr;
    std::map<std::tuple<std::string, int, bool>, std::shared_ptr<const FontFace>> faces;
    std::map<std::pair<std::string, int>, FT_Face> open_files;
    std::mutex lock;

    FontLibrary() {
        if (FT_Init_FreeType(&freetype) != 0) freetype = nullptr;
        config = FcInitLoadConfigAndFonts();
    }
    // The faces and the library live as long as the process; text may be
    // drawn while static objects are torn down.
    ~FontLibrary() = default;
};

FontLibrary& library() {
    static FontLibrary* lib = new FontLibrary();
    return *lib;
}

int fontconfig_weight(int windows_weight) {
    if (windows_weight <= 0) windows_weight = 400;
    if (windows_weight > 1000) windows_weight = 1000;
    return FcWeightFromOpenType(windows_weight);
}

// fontconfig's best file for the request, or empty.
bool match_file(FontLibrary& lib, const std::string& family, int weight, bool italic, std::string& file, int& index) {
    if (!lib.config) return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, fontconfig_weight(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(lib.config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(lib.config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* path = nullptr;
    FcBool scalable = FcFalse;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr &&
              (FcPatternGetBool(match, FC_SCALABLE, 0, &scalable) != FcResultMatch || scalable);
    if (ok) {
        file = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    }
    FcPatternDestroy(match);
    return ok;
}

FT_Face open_face(FontLibrary& lib, const std::string& file, int index) {
    const auto key = std::make_pair(file, index);
    if (auto it = lib.open_files.find(key); it != lib.open_files.end()) return it->second;
    FT_Face face = nullptr;
    if (!lib.freetype || FT_New_Face(lib.freetype, file.c_str(), index, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face)) {
        FT_Done_Face(face);
        return nullptr;
    }
    lib.open_files.emplace(key, face);
    return face;
}

std::shared_ptr<const FontFace> load(FontLibrary& lib, const std::string& family, int weight, bool italic) {
    std::string file;
    int index = 0;
    FT_Face face = nullptr;
    // The family asked for (or fontconfig's substitute), else any sans serif.
    for (const std::string& name : {family, std::string("sans-serif")}) {
        if (match_file(lib, name, weight, italic, file, index) && (face = open_face(lib, file, index)) != nullptr) break;
    }
    if (!face) return nullptr;
    auto f = std::make_shared<FontFace>();
    f->face = face;
    f->file = file;
    f->synthetic_bold = weight >= 600 && !(face->style_flags & FT_STYLE_FLAG_BOLD);
    f->synthetic_italic = italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
    // The Windows cell: the OS/2 table's ascent and descent, as GDI uses them.
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        f->cell_ascent = os2->usWinAscent;
        f->cell_descent = os2->usWinDescent;
    } else if (face->ascender - face->descender > 0) {
        f->cell_ascent = face->ascender;
        f->cell_descent = -face->descender;
    } else {
        f->cell_ascent = face->bbox.yMax;
        f->cell_descent = -face->bbox.yMin;
    }
    if (f->cell_ascent + f->cell_descent <= 0) return nullptr;
    return f;
}

}  // namespace

std::shared_ptr<const FontFace> find_font(const std::string& family, int weight, bool italic) {
    FontLibrary& lib = library();
    std::lock_guard<std::mutex> guard(lib.lock);
    const auto key = std::make_tuple(family, weight, italic);
    if (auto it = lib.faces.find(key); it != lib.faces.end()) return it->second;
    auto face = load(lib, family, weight, italic);
    lib.faces.emplace(key, face);
    return face;
}

}  // namespace galvora
