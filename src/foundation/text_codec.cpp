#include "foundation/text_codec.h"

#include "foundation/bounded_read.h"
#include "foundation/output_file.h"


#include <array>
#include <cerrno>
#include <cstdio>
#include <fstream>

namespace galvora {

namespace {

// Code points of 0x80..0x9F in Windows-1252; 0 marks the undefined codes.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

bool is_valid_utf8(std::string_view s) {
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t len;
        char32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n) return false;
        for (size_t k = 1; k < len; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are invalid.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

namespace {

constexpr std::string_view kErsatzzeichen = "\xEF\xBF\xBD";  // U+FFFD

// Length of the sequence a lead byte opens (0: no lead byte) and the range
// its second byte must lie in, which rules out overlong forms, surrogates and
// code points beyond Unicode.
struct Sequenzart {
    size_t laenge;
    unsigned char min2, max2;
};

Sequenzart sequenzart(unsigned char c) {
    if (c >= 0xC2 && c <= 0xDF) return {2, 0x80, 0xBF};
    if (c == 0xE0) return {3, 0xA0, 0xBF};
    if (c == 0xED) return {3, 0x80, 0x9F};
    if (c >= 0xE1 && c <= 0xEF) return {3, 0x80, 0xBF};
    if (c == 0xF0) return {4, 0x90, 0xBF};
    if (c >= 0xF1 && c <= 0xF3) return {4, 0x80, 0xBF};
    if (c == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

// Repairs s from its start; returns how many bytes at its end open a
// sequence that the text does not complete (left for the next piece).
size_t reparieren(std::string_view s, std::string& out) {
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            size_t j = i + 1;
            while (j < n && static_cast<unsigned char>(s[j]) < 0x80) ++j;
            out.append(s.substr(i, j - i));
            i = j;
            continue;
        }
        const Sequenzart art = sequenzart(c);
        if (art.laenge == 0) {
            out.append(kErsatzzeichen);
            ++i;
            continue;
        }
        size_t k = 1;
        bool kaputt = false;
        for (; k < art.laenge; ++k) {
            if (i + k >= n) return n - i;  // cut at the end: wait for the rest
            const auto cc = static_cast<unsigned char>(s[i + k]);
            const bool passt = k == 1 ? cc >= art.min2 && cc <= art.max2 : (cc & 0xC0) == 0x80;
            if (!passt) {
                kaputt = true;
                break;
            }
        }
        if (kaputt) {
            out.append(kErsatzzeichen);
            i += k;
            continue;
        }
        out.append(s.substr(i, art.laenge));
        i += art.laenge;
    }
    return 0;
}

}  // namespace

void Utf8Reparatur::weiter(std::string_view bytes, std::string& out) {
    if (!offen_.empty()) {
        // The open sequence is valid so far; the new piece completes or breaks it.
        const std::string b = offen_ + std::string(bytes.substr(0, std::min<size_t>(bytes.size(), 3)));
        const Sequenzart art = sequenzart(static_cast<unsigned char>(b[0]));
        size_t k = 1;
        for (; k < art.laenge; ++k) {
            if (k >= b.size()) {  // still cut: the piece was too short
                offen_ = b;
                return;
            }
            const auto cc = static_cast<unsigned char>(b[k]);
            if (k == 1 ? cc < art.min2 || cc > art.max2 : (cc & 0xC0) != 0x80) break;
        }
        out.append(k == art.laenge ? std::string_view(b).substr(0, k) : kErsatzzeichen);
        bytes.remove_prefix(k - offen_.size());
        offen_.clear();
    }
    const size_t rest = reparieren(bytes, out);
    offen_.assign(bytes.substr(bytes.size() - rest));
}

void Utf8Reparatur::finish(std::string& out) {
    if (offen_.empty()) return;
    // An open sequence never completed: each maximal part becomes U+FFFD.
    std::string teil;
    const size_t rest = reparieren(offen_, teil);
    out.append(teil);
    if (rest != 0) out.append(kErsatzzeichen);
    offen_.clear();
}

std::string utf8_reparieren(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    Utf8Reparatur r;
    r.weiter(bytes, out);
    r.finish(out);
    return out;
}

std::string cp1252_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out.push_back(ch);
        } else if (c < 0xA0) {
            const char32_t cp = kCp1252High[c - 0x80];
            append_utf8(out, cp ? cp : 0xFFFD);
        } else {
            append_utf8(out, c);
        }
    }
    return out;
}

std::string utf8_to_cp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        char32_t cp;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) {
            cp = ((c & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F);
            len = 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < text.size()) {
            cp = ((c & 0x0F) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3F) << 6) |
                 (static_cast<unsigned char>(text[i + 2]) & 0x3F);
            len = 3;
        } else if ((c & 0xF8) == 0xF0 && i + 3 < text.size()) {
            cp = 0x10000;  // outside the code page in any case
            len = 4;
        } else {
            cp = '?';
        }
        i += len;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        char mapped = '?';
        for (size_t k = 0; k < kCp1252High.size(); ++k) {
            if (kCp1252High[k] == cp && cp != 0) {
                mapped = static_cast<char>(0x80 + k);
                break;
            }
        }
        out.push_back(mapped);
    }
    return out;
}

std::string decode_text(std::string_view bytes) {
    if (is_valid_utf8(bytes)) {
        if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return std::string(bytes);
    }
    return cp1252_to_utf8(bytes);
}

std::vector<std::string> split_lines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            lines.emplace_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) lines.emplace_back(text.substr(start));
    return lines;
}

std::optional<std::string> read_file_bytes(const std::filesystem::path& path, std::error_code& ec) {
    return read_file_bounded(path, kComponentFileLimit, ec);
}

std::optional<std::vector<std::string>> read_text_lines(const std::filesystem::path& path, std::error_code& ec) {
    auto bytes = read_file_bytes(path, ec);
    if (!bytes) return std::nullopt;
    return split_lines(decode_text(*bytes));
}

bool write_file_atomic(const std::filesystem::path& path, std::string_view bytes, std::error_code& ec,
                       bool* failed_writing) {
    ec.clear();
    if (failed_writing != nullptr) *failed_writing = false;
    OutputFile out(path.string());
    if (!out.is_open()) {
        ec = std::error_code(out.error() ? out.error() : ENOENT, std::generic_category());
        return false;
    }
    errno = 0;
    if ((!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), out.file()) != bytes.size()) ||
        std::fflush(out.file()) != 0) {
        ec = std::error_code(errno ? errno : EIO, std::generic_category());
        if (failed_writing != nullptr) *failed_writing = true;
        return false;  // the temporary file goes with `out`
    }
    // What fails from here on is putting the file in place under its name.
    if (!out.commit()) {
        ec = std::error_code(out.error() ? out.error() : EIO, std::generic_category());
        return false;
    }
    return true;
}

}  // namespace galvora
