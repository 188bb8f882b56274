#include "app/menu_keys.h"

#include <cctype>
#include <set>

namespace galvora {

std::vector<std::string> menue_kuerzel(const std::vector<std::string>& captions) {
    std::set<char> taken;
    std::vector<std::string> result;
    result.reserve(captions.size());
    for (const std::string& caption : captions) {
        std::string out;
        bool placed = false;
        for (char c : caption) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '&') {
                out += "&&";
                continue;
            }
            if (!placed && u < 0x80 && std::isalnum(u) != 0) {
                const char key = static_cast<char>(std::tolower(u));
                if (taken.insert(key).second) {
                    out += '&';
                    placed = true;
                }
            }
            out += c;
        }
        result.push_back(std::move(out));
    }
    return result;
}

}  // namespace galvora
