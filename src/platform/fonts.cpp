#include "platform/fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <map>

namespace galvora {

std::vector<FontFamilyInfo> list_font_families() {
    std::vector<FontFamilyInfo> out;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) return out;

    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FONTFORMAT, FC_SCALABLE, nullptr);
    FcFontSet* set = (pattern && objects) ? FcFontList(config, pattern, objects) : nullptr;

    // One entry per family; a family counts as outline when any of its faces is.
    std::map<std::string, FontFamilyInfo> families;
    if (set != nullptr) {
        for (int i = 0; i < set->nfont; ++i) {
            FcPattern* font = set->fonts[i];
            FcChar8* family = nullptr;
            if (FcPatternGetString(font, FC_FAMILY, 0, &family) != FcResultMatch || family == nullptr) continue;
            std::string name(reinterpret_cast<const char*>(family));
            if (name.empty()) continue;
            FcChar8* format = nullptr;
            FcBool scalable = FcFalse;
            FcPatternGetBool(font, FC_SCALABLE, 0, &scalable);
            bool outline = false;
            if (FcPatternGetString(font, FC_FONTFORMAT, 0, &format) == FcResultMatch && format != nullptr) {
                std::string f(reinterpret_cast<const char*>(format));
                outline = f == "TrueType" || f == "CFF";
            }
            FontFamilyInfo& info = families[name];
            info.face_name = name;
            if (outline || scalable) info.scalable_outline = true;
            if (!scalable) info.bitmap = true;
        }
        FcFontSetDestroy(set);
    }
    if (objects) FcObjectSetDestroy(objects);
    if (pattern) FcPatternDestroy(pattern);
    FcConfigDestroy(config);

    out.reserve(families.size());
    for (auto& [name, info] : families) out.push_back(std::move(info));
    return out;
}

}  // namespace galvora
