#include "platform/ini_store.h"

namespace galvora {

namespace {

bool equal_ascii_nocase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

bool is_control(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

bool needs_quotes(std::string_view text, bool is_name) {
    if (text.empty()) return is_name;  // the unnamed value is written ""=...
    if (text.front() == ' ' || text.front() == '\t' || text.back() == ' ' || text.back() == '\t') return true;
    if (text.front() == '"') return true;
    if (is_name && (text.front() == ';' || text.front() == '#' || text.front() == '[')) return true;
    for (char c : text) {
        if (is_control(c)) return true;
        if (is_name && c == '=') return true;
    }
    return false;
}

std::string quote(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\0': out += "\\0"; break;
            default:
                if (is_control(c)) {
                    out += "\\x";
                    out += kHex[static_cast<unsigned char>(c) >> 4];
                    out += kHex[static_cast<unsigned char>(c) & 0x0F];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

std::string encode(std::string_view text, bool is_name) {
    return needs_quotes(text, is_name) ? quote(text) : std::string(text);
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Reads a quoted text starting at text[pos] == '"'; pos ends after the closing quote.
std::optional<std::string> unquote(std::string_view text, std::size_t& pos) {
    std::string out;
    ++pos;
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == '"') return out;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= text.size()) return std::nullopt;
        const char e = text[pos++];
        switch (e) {
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case '0': out += '\0'; break;
            case 'x': {
                if (pos + 2 > text.size()) return std::nullopt;
                const int hi = hex_value(text[pos]);
                const int lo = hex_value(text[pos + 1]);
                if (hi < 0 || lo < 0) return std::nullopt;
                out += static_cast<char>(hi * 16 + lo);
                pos += 2;
                break;
            }
            default: return std::nullopt;
        }
    }
    return std::nullopt;
}

std::string_view trim_spaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// One "name=value" line.
bool parse_value_line(std::string_view line, std::string& name, std::string& value) {
    std::size_t pos = 0;
    if (line.front() == '"') {
        auto quoted = unquote(line, pos);
        if (!quoted) return false;
        name = std::move(*quoted);
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        if (pos >= line.size() || line[pos] != '=') return false;
    } else {
        pos = line.find('=');
        if (pos == std::string_view::npos) return false;
        name = std::string(trim_spaces(line.substr(0, pos)));
    }
    std::string_view rest = trim_spaces(line.substr(pos + 1));
    if (!rest.empty() && rest.front() == '"') {
        std::size_t vpos = 0;
        auto quoted = unquote(rest, vpos);
        if (!quoted || vpos != rest.size()) return false;
        value = std::move(*quoted);
    } else {
        value = std::string(rest);
    }
    return true;
}

}  // namespace

bool IniStore::parse(std::string_view text) {
    sections_.clear();
    std::vector<Section> parsed;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = trim_spaces(text.substr(start, end - start));
        // LF, CR LF and a lone CR all end a line.
        std::size_t next = end;
        if (next < text.size()) next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
        else next = text.size() + 1;
        start = next;

        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) return false;
            parsed.push_back(Section{std::string(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        if (parsed.empty()) return false;
        std::string name;
        std::string value;
        if (!parse_value_line(line, name, value)) return false;
        Values& values = parsed.back().values;
        bool replaced = false;
        for (auto& entry : values) {
            if (equal_ascii_nocase(entry.first, name)) {
                entry.second = std::move(value);
                replaced = true;
                break;
            }
        }
        if (!replaced) values.emplace_back(std::move(name), std::move(value));
    }
    // A section written twice is read as one.
    for (Section& section : parsed) {
        if (Section* existing = find(section.name)) {
            for (auto& [name, value] : section.values) set(existing->name, name, value);
        } else {
            sections_.push_back(std::move(section));
        }
    }
    return true;
}

std::string IniStore::serialize() const {
    std::string out;
    for (const Section& section : sections_) {
        if (!out.empty()) out += '\n';
        out += '[';
        out += section.name;
        out += "]\n";
        for (const auto& [name, value] : section.values) {
            out += encode(name, true);
            out += '=';
            out += encode(value, false);
            out += '\n';
        }
    }
    return out;
}

IniStore::Section* IniStore::find(std::string_view section) {
    for (Section& s : sections_) {
        if (equal_ascii_nocase(s.name, section)) return &s;
    }
    return nullptr;
}

const IniStore::Section* IniStore::find(std::string_view section) const {
    for (const Section& s : sections_) {
        if (equal_ascii_nocase(s.name, section)) return &s;
    }
    return nullptr;
}

std::optional<std::string> IniStore::get(std::string_view section, std::string_view name) const {
    const Section* s = find(section);
    if (s == nullptr) return std::nullopt;
    for (const auto& entry : s->values) {
        if (equal_ascii_nocase(entry.first, name)) return entry.second;
    }
    return std::nullopt;
}

bool IniStore::set(std::string_view section, std::string_view name, std::string_view value) {
    if (section.empty() || section.find_first_of("]\r\n") != std::string_view::npos) return false;
    if (trim_spaces(section) != section) return false;
    Section* s = find(section);
    if (s == nullptr) {
        sections_.push_back(Section{std::string(section), {}});
        s = &sections_.back();
    }
    for (auto& entry : s->values) {
        if (equal_ascii_nocase(entry.first, name)) {
            entry.second = std::string(value);
            return true;
        }
    }
    s->values.emplace_back(std::string(name), std::string(value));
    return true;
}

const IniStore::Values* IniStore::values(std::string_view section) const {
    const Section* s = find(section);
    return s == nullptr ? nullptr : &s->values;
}

bool IniStore::remove_section(std::string_view section) {
    for (auto it = sections_.begin(); it != sections_.end(); ++it) {
        if (equal_ascii_nocase(it->name, section)) {
            sections_.erase(it);
            return true;
        }
    }
    return false;
}

std::vector<std::string> IniStore::sections() const {
    std::vector<std::string> names;
    for (const Section& s : sections_) names.push_back(s.name);
    return names;
}

}  // namespace galvora
