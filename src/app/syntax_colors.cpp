#include "app/syntax_colors.h"

#include <string>

#include "foundation/registry.h"
#include "profile/number_text.h"

namespace galvora {

namespace {

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r + 256 * g + 65536 * b; }

struct ColorDefault {
    const char* name;
    uint32_t colour;
};

constexpr ColorDefault kDefaults[kSyntaxColorCount] = {
    {"keyword", rgb(0, 127, 0)},        {"variable", rgb(0, 0, 0)},      {"function", rgb(0, 0, 255)},
    {"number", rgb(178, 0, 255)},       {"string", rgb(100, 100, 100)},  {"stringdelimiter", rgb(255, 0, 0)},
    {"enum", rgb(127, 200, 255)},       {"operator", rgb(255, 0, 0)},    {"comment", rgb(210, 210, 210)},
    {"else", rgb(0, 0, 0)},             {"html", rgb(0, 0, 0)},
};

}  // namespace

std::array<uint32_t, kSyntaxColorCount> SyntaxColors{};

void syntaxfarben_lesen() {
    for (int i = 0; i < kSyntaxColorCount; ++i) {
        const ColorDefault& d = kDefaults[i];
        SyntaxColors[static_cast<size_t>(i)] = d.colour;
        const std::string text = registry_lesen("Syntaxhighlighting", d.name, std::to_string(d.colour));
        // A stored text that is no 32-bit colour number keeps the default
        // instead of stopping the start.
        double value = 0;
        if (text_to_number(text, value) && value >= 0 && value <= 4294967295.0 && value == static_cast<double>(static_cast<uint64_t>(value)))
            SyntaxColors[static_cast<size_t>(i)] = static_cast<uint32_t>(value);
    }
}

}  // namespace galvora
