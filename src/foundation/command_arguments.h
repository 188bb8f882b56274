#pragma once
// The program's command line as a keyed list of switches, each written as a
// slash, a name, "=" and a value (quoted when it holds blanks, two quotes for
// an empty value, a doubled quote inside quotes for one quote).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace galvora {

struct CommandArgument {
    std::string key;        // the switch name as written
    std::string parameter;  // the value
};

class CommandArguments {
public:
    const std::string& CommandLine() const { return command_line_; }
    // Stores the text trimmed of blanks and parses it into a new list.
    void CommandLine(std::string_view text);

    // True when the last parse met any syntax error.
    bool Error() const { return error_; }
    long count() const { return static_cast<long>(switches_.size()); }
    // The name of the switch at the 1-based place; nullopt outside 1..count.
    std::optional<std::string> Switch(long index) const;
    // The value of the switch of that name (any letter case); nullopt when there is none.
    std::optional<std::string> Argument(std::string_view name) const;
    void remove(std::string_view name);

    // Token kinds of the tokenizer.
    enum Token : int { kName = 2001, kValue = 2002, kEquals = 61, kEnd = 4, kError = 2000 };

private:
    int next_token(std::string& text);
    void parse();
    std::vector<CommandArgument>::iterator find(std::string_view name);
    std::vector<CommandArgument>::const_iterator find(std::string_view name) const;

    std::string command_line_;
    std::vector<CommandArgument> switches_;
    std::size_t position_ = 0;  // 0-based reading position
    bool error_ = false;
};

// Joins the program's arguments (without the program name) into one command
// line. An argument that starts with "/", "-" or "--" and holds "=" becomes
// "/name" "=" and its value in quotes (inner quotes doubled), so POSIX paths
// and blanks survive; every other argument is taken as it stands.
std::string join_command_line(const std::vector<std::string>& arguments);
std::string join_command_line(int argc, const char* const* argv);

}  // namespace galvora
