#include "app/script_file.h"

#include <system_error>

#include "foundation/file_helpers.h"
#include "foundation/language.h"
#include "foundation/messages.h"
#include "foundation/text_codec.h"
#include "profile/profile_lists.h"
#include "script/compiler.h"
#include "script/engine.h"

namespace galvora {

namespace {

// The number shown for a line that is none of the known kinds.
constexpr long kUnknownLine = 1000;

void empty_modules() {
    ScriptFileModules().clear();
    ScriptFileModules().verändert_reset();
}

}  // namespace

bool ZNSLoad(const std::string& file_name) {
    const std::string title = inq("Global", "ZNSLoad");
    std::error_code ec;
    auto lines = read_text_lines(file_name, ec);
    if (!lines) {
        empty_modules();
        if (!ec) ec = std::make_error_code(std::errc::io_error);
        meldung(title, MB_ICON_EXCLAMATION, "ErrZNSFileOpen", {std::to_string(error_number_from_system(ec)), file_name});
        return false;
    }
    ZNModule& modules = ScriptFileModules();
    modules.clear();
    ModuleTextLines current;
    long line_number = 0;
    for (const std::string& raw : *lines) {
        ++line_number;
        const size_t first = raw.find_first_not_of(' ');
        const std::string line = first == std::string::npos ? std::string() : raw.substr(first);
        if (line.empty() || line[0] == '*') continue;
        if (line.starts_with("!*")) {
            std::string name = line.substr(2);
            while (!name.empty() && name.back() == ' ') name.pop_back();
            current.start(modules.add(name, "", kModuleNotCompiled));
        } else if (line.starts_with("!+") && current.in_module()) {
            current.line(std::string_view(line).substr(2));
        } else {
            empty_modules();
            meldung(title, MB_ICON_EXCLAMATION, "ErrZNSFileRead",
                    {std::to_string(kUnknownLine), file_name, std::to_string(line_number), line});
            return false;
        }
    }
    modules.verändert_reset();
    for (const auto& module : modules) {
        module->status(uebersetze(0, 1, module->Name(), module->inhalt()) == 0 ? kModuleCompiled
                                                                                 : kModuleCompileError);
        // Each module is checked on its own; none stays registered.
        if (zns() != nullptr) zns()->fkt_oba.lösche_ausser_intern();
    }
    return true;
}

bool ZNSStore(const std::string& file_name) {
    const std::string title = inq("Global", "ZNSStore");
    std::string text;
    for (const auto& module : ScriptFileModules()) {
        text += "!*" + module->Name() + "\r\n!+";
        for (char c : module->inhalt()) {
            text += c;
            if (c == '\n') text += "!+";
        }
        text += "\r\n";
    }
    std::error_code ec;
    bool failed_writing = false;
    if (!write_file_atomic(file_name, text, ec, &failed_writing)) {
        if (!ec) ec = std::make_error_code(std::errc::io_error);
        meldung(title, MB_ICON_EXCLAMATION, failed_writing ? "ErrZNSFileWrite" : "ErrZNSFileCreate",
                {std::to_string(error_number_from_system(ec)), file_name});
        return false;
    }
    ScriptFileModules().verändert_reset();
    return true;
}

}  // namespace galvora
