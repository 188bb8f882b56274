#pragma once
// The per-user settings store kept as an INI text: sections in the order they
// were made, values in insertion order. Section and value names compare without
// regard to ASCII letter case, as the settings store they stand in for did.
//
// Format: "[Section]" lines (nested sections keep their backslash,
// "[LastSession\basedirs]"), "name=value" lines, blank lines and comment lines
// beginning with ";" or "#". A name or value that could not be read back as
// written (blanks at its ends, a leading quote, "=", ";", "#" or "[" where they
// would be taken for syntax, control characters) is written in double quotes
// with backslash escapes (\\ \" \n \r \t \0 \xHH). Everything else is written
// as it stands, so the file stays easy to read and edit.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace galvora {

class IniStore {
public:
    using Values = std::vector<std::pair<std::string, std::string>>;

    // Parses the text. False (and the store left empty) when a line is neither a
    // section, a value, a comment nor blank, or a value stands before any
    // section: such a file is not ours to rewrite.
    bool parse(std::string_view text);
    std::string serialize() const;

    std::optional<std::string> get(std::string_view section, std::string_view name) const;
    // Sets a value; a new name goes to the end of its section, a new section to
    // the end of the file. False when the section name cannot be stored (it
    // holds a line break or "]" or is empty).
    bool set(std::string_view section, std::string_view name, std::string_view value);
    // nullptr when there is no such section.
    const Values* values(std::string_view section) const;
    // Removes the section with its values; false when there was none.
    bool remove_section(std::string_view section);
    std::vector<std::string> sections() const;

private:
    struct Section {
        std::string name;
        Values values;
    };
    Section* find(std::string_view section);
    const Section* find(std::string_view section) const;

    std::vector<Section> sections_;
};

}  // namespace galvora
