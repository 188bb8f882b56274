#pragma once
// Text in the options dialog's editors and text as it is stored.
//
// Stored texts (templates, script modules, the picture oracle) end their lines
// with CR LF, as the profile and script files do. The editors of the window
// program end every line with LF alone. Positions are counted in characters
// (code points), never in bytes, both in the model and in the compiler's error
// positions; the views convert them to their toolkit's units.
#include <cstdint>
#include <string>
#include <string_view>

namespace galvora {

// The text an editor shows: CR LF and lone CR become LF.
std::string editor_text(std::string_view stored);
// The text an editor's content is stored as: every LF becomes CR LF (a CR LF
// already there stays one).
std::string stored_text(std::string_view editor);

// The editor caret (0-based, characters) for a compiler error position.
// `source` is the text the compiler saw and `position` its 1-based character
// position there; `prefix` is the number of characters the caller put in
// front of the editor's text before compiling (the "{" CR LF around a picture
// oracle, for example). A CR that the editor does not show (the CR of a
// CR LF) is not counted; a position inside the prefix gives 0, one past the
// end the end of the text.
int32_t editor_position(std::string_view source, int32_t position, int32_t prefix = 0);

// Where a caret stands in an editor's text (LF line ends, no wrapping): the
// 0-based line and column, the number of lines and the length of the caret's
// line. An empty text is one line of length 0.
struct CaretPlace {
    int32_t line = 0;
    int32_t column = 0;
    int32_t line_count = 1;
    int32_t line_length = 0;
};
CaretPlace caret_place(std::string_view text, int32_t caret);

// "<row word> l:n, <column word> c:len", all 1-based but the length:
// "Zeile 3:10, Spalte 5:12" for column 5 of line 3 of 10, a line of 12 characters.
std::string caret_label(std::string_view row_word, std::string_view column_word, const CaretPlace& place);

}  // namespace galvora
