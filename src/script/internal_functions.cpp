#include "script/internal_functions.h"

#include <map>

namespace galvora {

namespace {

std::map<std::string, ZNSInterneFunktion, std::less<>>& tabelle() {
    static std::map<std::string, ZNSInterneFunktion, std::less<>> t;
    return t;
}

}  // namespace

const std::vector<std::string>& ZNSInterneFunktionen::members() {
    static const std::vector<std::string> namen = [] {
        const char* liste[] = {
            "type", "integer", "double", "string", "symbol", "remove", "clear", "date", "read", "write",
            "exist", "sin", "cos", "tan", "ln", "log", "sqrt", "pow", "asin", "acos", "atan", "exp",
            "convert", "random", "abs", "min", "max", "now", "datepart", "mid", "index", "replace",
            "format", "len", "upper", "lower", "trim", "split", "urlencode", "dbread", "filenamepart",
            "input", "exif", "exifnice", "exifcount", "exiftag", "exiftagname", "exifcomponentcount",
            "iptc", "iptccount", "iptctag", "iptctagname", "imagecomment", "imagecommentcount",
            "imagecommentkey", "imageinfo", "dirinfo", "rgb", "rotate", "flip", "drawellipse",
            "drawline", "drawrectangle", "inqcolor", "callstack"};
        std::vector<std::string> v;
        for (const char* n : liste) v.push_back(std::string("qim_") + n);
        return v;
    }();
    return namen;
}

void ZNSInterneFunktionen::registrieren(std::string_view member, ZNSInterneFunktion funktion) {
    tabelle()[std::string(member)] = std::move(funktion);
}

void ZNSInterneFunktionen::registrierung_entfernen(std::string_view member) {
    if (auto it = tabelle().find(member); it != tabelle().end()) tabelle().erase(it);
}

const ZNSInterneFunktion* ZNSInterneFunktionen::suchen(std::string_view member) {
    auto it = tabelle().find(member);
    if (it == tabelle().end() || !it->second) return nullptr;
    return &it->second;
}

}  // namespace galvora
