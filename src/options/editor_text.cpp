#include "options/editor_text.h"

#include <algorithm>

#include "foundation/string_helpers.h"

namespace galvora {

std::string editor_text(std::string_view stored) {
    std::string out;
    out.reserve(stored.size());
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '\r') {
            out += '\n';
            if (i + 1 < stored.size() && stored[i + 1] == '\n') ++i;
        } else {
            out += stored[i];
        }
    }
    return out;
}

std::string stored_text(std::string_view editor) {
    std::string out;
    out.reserve(editor.size() + editor.size() / 16);
    for (size_t i = 0; i < editor.size(); ++i) {
        if (editor[i] == '\n' && (i == 0 || editor[i - 1] != '\r')) out += '\r';
        out += editor[i];
    }
    return out;
}

int32_t editor_position(std::string_view source, int32_t position, int32_t prefix) {
    const std::u32string text = utf8_decode(source);
    const int64_t wanted = static_cast<int64_t>(position) - 1;
    const int64_t end = std::min<int64_t>(std::max<int64_t>(wanted, 0), static_cast<int64_t>(text.size()));
    int64_t caret = 0;
    for (int64_t i = prefix; i < end; ++i) {
        // The CR of a CR LF has no place of its own in the editor.
        if (text[static_cast<size_t>(i)] == U'\r' && i + 1 < static_cast<int64_t>(text.size()) &&
            text[static_cast<size_t>(i + 1)] == U'\n')
            continue;
        ++caret;
    }
    return static_cast<int32_t>(caret);
}

CaretPlace caret_place(std::string_view text, int32_t caret) {
    const std::u32string chars = utf8_decode(text);
    const int32_t size = static_cast<int32_t>(chars.size());
    caret = std::clamp(caret, 0, size);
    CaretPlace place;
    int32_t line_start = 0;
    for (int32_t i = 0; i < size; ++i) {
        if (chars[static_cast<size_t>(i)] != U'\n') continue;
        ++place.line_count;
        if (i < caret) {
            ++place.line;
            line_start = i + 1;
        }
    }
    place.column = caret - line_start;
    int32_t line_end = line_start;
    while (line_end < size && chars[static_cast<size_t>(line_end)] != U'\n') ++line_end;
    place.line_length = line_end - line_start;
    return place;
}

std::string caret_label(std::string_view row_word, std::string_view column_word, const CaretPlace& place) {
    return std::string(row_word) + " " + std::to_string(place.line + 1) + ":" + std::to_string(place.line_count) +
           ", " + std::string(column_word) + " " + std::to_string(place.column + 1) + ":" +
           std::to_string(place.line_length);
}

}  // namespace galvora
