#include "platform/terminal_text.h"

#include <cstdio>

namespace galvora {

namespace {

void hex_escape(std::string& out, const char* form, unsigned value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, form, value);
    out += buf;
}

// Length of the well-formed UTF-8 sequence at text[i] (2 to 4), 0 when none.
size_t utf8_length(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const size_t n = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (n == 0 || i + n > text.size()) return 0;
    for (size_t k = 1; k < n; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    return n;
}

}  // namespace

std::string steuerzeichen_maskiert(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || c == '\t' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            hex_escape(out, "\\x%02x", c);
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if (const size_t n = utf8_length(text, i); n > 0) {
            // U+0080 to U+009F are the C1 controls (U+009B starts a sequence
            // like ESC [ does).
            if (n == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
                hex_escape(out, "\\u%04x", static_cast<unsigned char>(text[i + 1]));
            } else {
                out.append(text.substr(i, n));
            }
            i += n;
        } else {
            // A byte outside UTF-8: the C1 range reads as a control on a
            // terminal in 8-bit mode; other bytes stay as they are.
            if (c < 0xA0) {
                hex_escape(out, "\\x%02x", c);
            } else {
                out += static_cast<char>(c);
            }
            ++i;
        }
    }
    return out;
}

}  // namespace galvora
