#include "platform/os_info.h"

#include <sys/utsname.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

namespace galvora {

namespace {

std::string read_small_file(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string_view> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A value of os-release: plain, or in single or double quotes (with backslash
// escapes inside double quotes).
std::string os_release_value(std::string_view text, std::string_view key) {
    for (std::string_view line : lines_of(text)) {
        line = trim(line);
        if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != '=') continue;
        std::string_view raw = line.substr(key.size() + 1);
        if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front()) {
            const char q = raw.front();
            raw = raw.substr(1, raw.size() - 2);
            std::string value;
            for (std::size_t i = 0; i < raw.size(); ++i) {
                if (q == '"' && raw[i] == '\\' && i + 1 < raw.size()) ++i;
                value += raw[i];
            }
            return value;
        }
        return std::string(raw);
    }
    return {};
}

// The text after ":" of the first line whose name (before ":") is `key`.
std::string field_value(std::string_view text, std::string_view key) {
    for (std::string_view line : lines_of(text)) {
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        if (trim(line.substr(0, colon)) == key) return std::string(trim(line.substr(colon + 1)));
    }
    return {};
}

int leading_number(std::string_view text, std::size_t& pos) {
    int value = 0;
    bool any = false;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (value < 100000000) value = value * 10 + (text[pos] - '0');
        ++pos;
        any = true;
    }
    return any ? value : 0;
}

}  // namespace

OsFacts read_os_facts() {
    OsFacts facts;
    struct utsname names {};
    if (::uname(&names) == 0) {
        facts.sysname = names.sysname;
        facts.release = names.release;
        facts.machine = names.machine;
    }
    facts.os_release = read_small_file("/etc/os-release");
    if (facts.os_release.empty()) facts.os_release = read_small_file("/usr/lib/os-release");
    facts.cpuinfo = read_small_file("/proc/cpuinfo");
    facts.meminfo = read_small_file("/proc/meminfo");
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            facts.locale = value;
            break;
        }
    }
    return facts;
}

std::string product_info_text(std::uint32_t product_info) {
    static const std::pair<std::uint32_t, const char*> kTexts[] = {
        {0, "[Unbekannt]"},
        {1, "Ultimate"},
        {2, "Home Basic"},
        {3, "Home Premium"},
        {4, "Enterprise"},
        {5, "Home Basic N"},
        {6, "Business"},
        {7, "Standard Server"},
        {8, "Datacenter Server"},
        {9, "Small Business Server"},
        {10, "Enterprise Server"},
        {11, "Starter"},
        {12, "Datacenter Server (Core)"},
        {13, "Standard Server (Core)"},
        {14, "Enterprise Server (Core)"},
        {15, "Enterprise Server (IA64)"},
        {16, "Business N"},
        {17, "Web Server"},
        {18, "Cluster Server"},
        {19, "Home Server"},
        {20, "Storage Server Express"},
        {21, "Storage Server Standard"},
        {22, "Storage Server Workgroup"},
        {23, "Storage Server Enterprise"},
        {24, "Server for Small Business"},
        {26, "Home Premium N"},
        {27, "Enterprise N"},
        {28, "Ultimate N"},
        {0xABCDABCD, "[Unlizensiert]"},
    };
    for (const auto& [number, text] : kTexts) {
        if (number == product_info) return text;
    }
    return {};
}

OperatingSystem::OperatingSystem() : OperatingSystem(read_os_facts()) {}

OperatingSystem::OperatingSystem(OsFacts facts) {
    text_ = facts.sysname;
    if (!facts.release.empty()) text_ += (text_.empty() ? "" : " ") + facts.release;

    std::size_t pos = 0;
    major_ = leading_number(facts.release, pos);
    if (pos < facts.release.size() && facts.release[pos] == '.') minor_ = leading_number(facts.release, ++pos);
    if (pos < facts.release.size() && facts.release[pos] == '.') revision_ = leading_number(facts.release, ++pos);

    name_ = os_release_value(facts.os_release, "PRETTY_NAME");
    if (name_.empty()) {
        name_ = os_release_value(facts.os_release, "NAME");
        const std::string version = os_release_value(facts.os_release, "VERSION");
        if (!name_.empty() && !version.empty()) name_ += " " + version;
    }
    if (name_.empty()) name_ = facts.sysname;

    const std::string_view machine = facts.machine;
    is_64bit_ = machine.find("64") != std::string_view::npos || machine == "s390x";

    std::string_view locale = facts.locale;
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale != "C" && locale != "POSIX") language_ = std::string(locale);

    processor_ = field_value(facts.cpuinfo, "model name");
    if (processor_.empty()) processor_ = field_value(facts.cpuinfo, "Hardware");
    if (processor_.empty()) processor_ = field_value(facts.cpuinfo, "cpu model");
    // The kernel lists one block per logical processor; blocks that share a
    // "physical id" are one package. Without that field each block is one.
    std::vector<std::string> package_ids;
    std::string id, name, clock;
    bool in_block = false;
    const auto end_block = [&] {
        if (!in_block) return;
        in_block = false;
        if (!id.empty()) {
            for (const std::string& seen : package_ids)
                if (seen == id) return;
            package_ids.push_back(id);
        }
        if (name.empty()) name = processor_;
        packages_.push_back(ProcessorPackage{name, clock});
    };
    for (std::string_view line : lines_of(facts.cpuinfo)) {
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view key = trim(line.substr(0, colon));
        const std::string_view value = trim(line.substr(colon + 1));
        if (key == "processor") {
            end_block();
            ++processor_count_;
            in_block = true;
            id.clear();
            name.clear();
            clock.clear();
        } else if (key == "physical id") {
            id = std::string(value);
        } else if (key == "model name") {
            name = std::string(value);
        } else if (key == "cpu MHz") {
            // Whole megahertz, as the clock is reported elsewhere.
            std::size_t pos = 0;
            const long mhz = leading_number(value, pos);
            const bool up = pos + 1 < value.size() && value[pos] == '.' && value[pos + 1] >= '5';
            if (pos > 0) clock = std::to_string(mhz + (up ? 1 : 0));
        }
    }
    end_block();

    const std::string mem_total = field_value(facts.meminfo, "MemTotal");
    std::size_t mem_pos = 0;
    std::uint64_t kilobytes = 0;
    while (mem_pos < mem_total.size() && mem_total[mem_pos] >= '0' && mem_total[mem_pos] <= '9') {
        kilobytes = kilobytes * 10 + static_cast<std::uint64_t>(mem_total[mem_pos] - '0');
        ++mem_pos;
    }
    memory_bytes_ = kilobytes * 1024;
}

}  // namespace galvora
