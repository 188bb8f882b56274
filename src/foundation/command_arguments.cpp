#include "foundation/command_arguments.h"

#include "foundation/string_helpers.h"

namespace galvora {

namespace {

enum CharClass { kBlank, kQuote, kSlash, kEqualsSign, kOther, kEndOfText };

// Tokenizer states that are never returned as a kind.
enum State : int { kStart = 9001, kAfterSlash = 9002, kInQuotes = 9003 };

}  // namespace

void CommandArguments::CommandLine(std::string_view text) {
    command_line_ = std::string(trim_blanks(text));
    parse();
}

int CommandArguments::next_token(std::string& text) {
    text.clear();
    int state = kStart;
    bool first_read = true;
    for (;;) {
        // The first read looks at the current character; every further read moves on first.
        if (!first_read && position_ < command_line_.size()) ++position_;
        first_read = false;
        CharClass cls = kEndOfText;
        char c = '\0';
        if (position_ < command_line_.size()) {
            c = command_line_[position_];
            switch (c) {
                case ' ': cls = kBlank; break;
                case '"': cls = kQuote; break;
                case '/': cls = kSlash; break;
                case '=': cls = kEqualsSign; break;
                case '\x04': cls = kEndOfText; break;  // code 4 ends the text as well
                default: cls = kOther; break;
            }
        }
        switch (state) {
            case kStart:
                switch (cls) {
                    case kBlank: break;
                    case kQuote: state = kInQuotes; break;
                    case kSlash: state = kAfterSlash; break;
                    case kEqualsSign: state = kEquals; break;
                    case kOther: text += c; state = kValue; break;
                    case kEndOfText: return kEnd;
                }
                break;
            case kAfterSlash:
                if (cls == kBlank) break;
                if (cls != kOther) return kError;
                text += c;
                state = kName;
                break;
            case kName:
                if (cls != kOther) return kName;
                text += c;
                break;
            case kValue:
                if (cls == kQuote) {
                    text += c;  // a quote after value text opens a new quoted stretch
                    state = kInQuotes;
                } else if (cls == kOther) {
                    text += c;
                } else {
                    return kValue;
                }
                break;
            case kEquals:
                return kEquals;
            case kInQuotes:
                if (cls == kEndOfText) return kError;
                if (cls == kQuote) {
                    state = kValue;
                } else {
                    text += c;
                }
                break;
            default:
                return kError;
        }
    }
}

void CommandArguments::parse() {
    error_ = false;
    switches_.clear();
    position_ = 0;
    std::string name;
    std::string token;
    for (;;) {
        const int first = next_token(name);
        if (first == kEnd) return;
        if (first != kName) {
            error_ = true;
            continue;
        }
        if (next_token(token) != kEquals) {
            error_ = true;
            continue;
        }
        if (next_token(token) != kValue) {
            error_ = true;
            continue;
        }
        // The last repetition of a name wins, with its own letter case.
        remove(name);
        switches_.push_back(CommandArgument{name, token});
    }
}

std::vector<CommandArgument>::iterator CommandArguments::find(std::string_view name) {
    for (auto it = switches_.begin(); it != switches_.end(); ++it) {
        if (utf8_equal_nocase(it->key, name)) return it;
    }
    return switches_.end();
}

std::vector<CommandArgument>::const_iterator CommandArguments::find(std::string_view name) const {
    for (auto it = switches_.begin(); it != switches_.end(); ++it) {
        if (utf8_equal_nocase(it->key, name)) return it;
    }
    return switches_.end();
}

std::optional<std::string> CommandArguments::Switch(long index) const {
    if (index < 1 || index > count()) return std::nullopt;
    return switches_[static_cast<std::size_t>(index - 1)].key;
}

std::optional<std::string> CommandArguments::Argument(std::string_view name) const {
    const auto it = find(name);
    if (it == switches_.end()) return std::nullopt;
    return it->parameter;
}

void CommandArguments::remove(std::string_view name) {
    const auto it = find(name);
    if (it != switches_.end()) switches_.erase(it);
}

std::string join_command_line(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) line += ' ';
        const auto equals = argument.find('=');
        const bool switch_form = !argument.empty() && (argument.front() == '/' || argument.front() == '-');
        if (!switch_form || equals == std::string::npos) {
            line += argument;
            continue;
        }
        std::string_view name = std::string_view(argument).substr(0, equals);
        if (name.substr(0, 2) == "--") {
            name.remove_prefix(2);
        } else {
            name.remove_prefix(1);
        }
        line += '/';
        line += name;
        line += "=\"";
        for (char c : std::string_view(argument).substr(equals + 1)) {
            if (c == '"') line += '"';
            line += c;
        }
        line += '"';
    }
    return line;
}

std::string join_command_line(int argc, const char* const* argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
    return join_command_line(arguments);
}

}  // namespace galvora
