#include "options/pages/script_editor.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "foundation/language.h"
#include "foundation/string_helpers.h"
#include "options/editor_text.h"
#include "options/page_services.h"
#include "platform/ui_port.h"

namespace galvora {

namespace {

constexpr int kKeyF = 70;
// SM_CXEDGE and SM_CXDLGFRAME in twips at 15 twips per pixel.
constexpr double kEdge = 2 * 15;
constexpr double kDialogFrame = 3 * 15;

bool is_word_char(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

int32_t size_of(const std::u32string& text) { return static_cast<int32_t>(text.size()); }

// The 0-based line holding a position.
int32_t line_of(const std::u32string& text, int32_t position) {
    position = std::clamp(position, 0, size_of(text));
    return static_cast<int32_t>(std::count(text.begin(), text.begin() + position, U'\n'));
}

int32_t line_count(const std::u32string& text) { return line_of(text, size_of(text)) + 1; }

// The first position of a line.
int32_t line_start(const std::u32string& text, int32_t line) {
    int32_t position = 0;
    for (int32_t l = 0; l < line; ++l) {
        const size_t next = text.find(U'\n', static_cast<size_t>(position));
        if (next == std::u32string::npos) return size_of(text);
        position = static_cast<int32_t>(next) + 1;
    }
    return position;
}

// The position of a line's line break, or the end of the text.
int32_t line_end(const std::u32string& text, int32_t line) {
    const size_t end = text.find(U'\n', static_cast<size_t>(line_start(text, line)));
    return end == std::u32string::npos ? size_of(text) : static_cast<int32_t>(end);
}

std::u32string line_text(const std::u32string& text, int32_t line) {
    const int32_t start = line_start(text, line);
    return text.substr(static_cast<size_t>(start), static_cast<size_t>(line_end(text, line) - start));
}

std::u32string lower(std::u32string text) {
    for (char32_t& c : text) c = char_to_lower(c);
    return text;
}

}  // namespace

CZantoScriptModul::CZantoScriptModul() : OptionPage("CZantoScriptModul", 8400, 4500) {
    using K = PageControlKind;
    add(K::Label, "ModulTitel", "", "Modul-Inhalt", {0, 0, 5400, 255});
    auto& caret = add(K::Label, "editpos", "", "zeile, spalte", {5955, 0, 2400, 255});
    caret.state().alignment = 1;
    auto& text = add(K::MultiLineTextBox, "Modul_Inhalt", "", "", {0, 270, 8400, 3855});
    auto& frame = add(K::PictureBox, "FrameSyntaxTest", "", "", {3450, 4125, 1500, 375});
    auto& test = add(K::Button, "SyntaxTest", "SyntaxTest", "Syntaxtest", {75, 0, 1350, 375}, &frame);
    bottom_border_ = static_cast<int32_t>(test.state().place.height);
    colours_.emplace_back();

    declare_events({PageEvent::SyntaxTest, PageEvent::SyntaxStatusReset});

    on(text, ControlEvent::Change, [this](ControlEventArgs&) { text_changed(); });
    on(text, ControlEvent::KeyDown, [this](ControlEventArgs& args) {
        if (key_down(args.key, args.shift)) args.consumed = true;
    });
    on(text, ControlEvent::KeyUp, [this](ControlEventArgs&) { show_caret(); });
    on(text, ControlEvent::Click, [this](ControlEventArgs&) { show_caret(); });
    on(text, ControlEvent::LostFocus, [this](ControlEventArgs&) {
        if (text_lost_focus) text_lost_focus();
    });
    on(test, ControlEvent::Click, [this](ControlEventArgs&) {
        raise(PageEvent::SyntaxTest);
        request(text_box(), ViewRequest::Focus);
    });
}

PageControl& CZantoScriptModul::text_box() const { return control("Modul_Inhalt"); }

void CZantoScriptModul::InitDialog() {
    OptionPage::InitDialog();
    text_box().set_enabled(false);
    show_caret();
    changed();
}

void CZantoScriptModul::language_texts() {
    row_word_ = text_of("ZantoScriptRow");
    column_word_ = text_of("ZantoScriptColumn");
    show_caret();
}

void CZantoScriptModul::Titel(const std::string& caption) {
    control("ModulTitel").state().caption = caption;
    changed();
}

void CZantoScriptModul::BottomBorderHeight(int32_t twips) { bottom_border_ = twips; }

void CZantoScriptModul::resized() {
    PageControl& text = text_box();
    TwipRect& area = text.state().place;
    // Only while the page has room below the text's top.
    if (area.top >= Height()) return;
    area.width = std::max(0.0, Width() - kEdge);
    area.height = std::max(0.0, Height() - area.top - bottom_border_);
    TwipRect& caret = control("editpos").state().place;
    caret.left = area.left + area.width - caret.width - kDialogFrame;
    control("ModulTitel").state().place.width = std::max(0.0, caret.left - area.left);
    TwipRect& frame = control("FrameSyntaxTest").state().place;
    frame.left = (Width() - frame.width) / 2;
    frame.top = area.top + area.height;
}

void CZantoScriptModul::ModulInhalt(const std::string& text) {
    PageControl& box = text_box();
    loading_ = true;
    box.state().selection_start = 0;
    box.state().selection_length = 0;
    set_text(box, editor_text(text));
    colour_all();
    loading_ = false;
    control("SyntaxTest").set_enabled(true);
    show_caret();
    // A new text: what could be undone belongs to the one before.
    request(box, ViewRequest::ResetUndo);
    if (box.state().enabled) request(box, ViewRequest::Focus);
    changed();
}

std::string CZantoScriptModul::ModulInhalt() const { return stored_text(text_box().state().text); }

void CZantoScriptModul::ModulPos(int32_t position) {
    PageControl& box = text_box();
    box.state().selection_start = std::clamp(position, 0, static_cast<int32_t>(utf8_length(box.state().text)));
    box.state().selection_length = 0;
    show_caret();
    changed();
}

void CZantoScriptModul::Enabled(bool on) {
    text_box().set_enabled(on);
    control("SyntaxTest").set_enabled(on);
    changed();
}

bool CZantoScriptModul::Enabled() const { return text_box().state().enabled; }

void CZantoScriptModul::fill_below(PageControl& place, double page_width, double page_height) {
    TwipRect& area = place.state().place;
    // Only while the page has room below the editor's top.
    if (area.top >= page_height) return;
    area.width = std::max(0.0, page_width - kEdge);
    area.height = std::max(0.0, page_height - area.top);
    Move(0, 0, area.width, area.height);
}

void CZantoScriptModul::focus_text() {
    request(text_box(), ViewRequest::Focus);
    changed();
}

const std::vector<ZNSFarbspanne>& CZantoScriptModul::line_colours(size_t line) const {
    static const std::vector<ZNSFarbspanne> none;
    return line < colours_.size() ? colours_[line] : none;
}

CZantoScriptModul::Recoloured CZantoScriptModul::take_recoloured() { return std::exchange(recoloured_, {}); }

// ---- colouring

void CZantoScriptModul::colour_all() {
    coloured_text_ = utf8_decode(text_box().state().text);
    const int32_t lines = line_count(coloured_text_);
    colours_.assign(static_cast<size_t>(lines), {});
    for (int32_t l = 0; l < lines; ++l)
        colours_[static_cast<size_t>(l)] = zeile_einfaerben(utf8_encode(line_text(coloured_text_, l)));
    recoloured_.all = true;
    recoloured_.lines.clear();
}

void CZantoScriptModul::recolour_changes(const std::u32string& before, const std::u32string& after) {
    if (before == after) {
        last_change_lines_ = 0;
        return;
    }
    // The part that differs lies between a common start and a common end.
    const size_t shorter = std::min(before.size(), after.size());
    size_t prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
    size_t suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const int32_t first = line_of(after, static_cast<int32_t>(prefix));
    const int32_t last_after = line_of(after, static_cast<int32_t>(after.size() - suffix));
    const int32_t last_before = line_of(before, static_cast<int32_t>(before.size() - suffix));

    // The lines first..last_before of the old text became first..last_after.
    std::vector<std::vector<ZNSFarbspanne>> fresh;
    for (int32_t l = first; l <= last_after; ++l) fresh.push_back(zeile_einfaerben(utf8_encode(line_text(after, l))));
    const auto from = colours_.begin() + std::min<ptrdiff_t>(first, static_cast<ptrdiff_t>(colours_.size()));
    const auto to = colours_.begin() + std::min<ptrdiff_t>(last_before + 1, static_cast<ptrdiff_t>(colours_.size()));
    const auto at = colours_.erase(from, to);
    colours_.insert(at, fresh.begin(), fresh.end());
    colours_.resize(static_cast<size_t>(line_count(after)));
    coloured_text_ = after;
    last_change_lines_ = last_after - first + 1;
    for (int32_t l = first; l <= last_after; ++l) recoloured_.lines.push_back(l);
}

// ---- the user's edits

void CZantoScriptModul::text_changed() {
    if (loading_) return;
    recolour_changes(coloured_text_, utf8_decode(text_box().state().text));
    show_caret();
    raise(PageEvent::SyntaxStatusReset);
}

void CZantoScriptModul::show_caret() {
    const ControlState& state = text_box().state();
    const CaretPlace place = caret_place(state.text, state.selection_start + state.selection_length);
    control("editpos").state().caption = caret_label(row_word_, column_word_, place);
}

void CZantoScriptModul::edit(const std::u32string& text, int32_t selection_start, int32_t selection_length,
                             bool as_user) {
    PageControl& box = text_box();
    const std::u32string before = coloured_text_;
    box.state().selection_start = selection_start;
    box.state().selection_length = selection_length;
    if (as_user) {
        // The change handling of a typed edit: colouring and SyntaxStatusReset.
        set_text(box, utf8_encode(text));
        return;
    }
    loading_ = true;
    set_text(box, utf8_encode(text));
    loading_ = false;
    // No event, but the moved lines keep their colours in place.
    recolour_changes(before, text);
    show_caret();
}

std::string CZantoScriptModul::word_at(const std::u32string& text, int32_t caret) {
    caret = std::clamp(caret, 0, size_of(text));
    int32_t first = caret;
    while (first > 0 && is_word_char(text[static_cast<size_t>(first - 1)])) --first;
    int32_t last = caret;
    while (last < size_of(text) && is_word_char(text[static_cast<size_t>(last)])) ++last;
    return utf8_encode(text.substr(static_cast<size_t>(first), static_cast<size_t>(last - first)));
}

std::string CZantoScriptModul::help_topic(const std::string& word) {
    // Script names do not depend on case, and the help's anchors are in lower
    // case: "EXIF" finds the entry of exif.
    std::string anchor = word;
    for (char& c : anchor)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return std::string(kScriptHelpPage) + "#" + anchor;
}

bool CZantoScriptModul::key_down(int key, int shift) {
    const ControlState& state = text_box().state();
    if (key == kKeyF1) {
        std::string word = word_at(utf8_decode(state.text), state.selection_start);
        // A single character names no script word: the help opens at its top.
        if (word.size() == 1) word.clear();
        if (page_services().help_topic) page_services().help_topic(help_topic(word));
        return true;
    }
    if (key == kKeyF && shift == kCtrlMask) {
        const std::optional<std::string> answer = ui_port().titled_input_box(inq("Find", "Search"), inq("Find", "SearchString"), "");
        last_search_ = answer.value_or("");
        if (!last_search_.empty()) find_next();
        request(text_box(), ViewRequest::Focus);
        return true;
    }
    if (key == kKeyF3) {
        if (!last_search_.empty()) find_next();
        return true;
    }
    if (key == kKeyTab) {
        tab((shift & kShiftMask) != 0);
        return true;
    }
    return false;
}

void CZantoScriptModul::find_next() {
    PageControl& box = text_box();
    const std::u32string text = lower(utf8_decode(box.state().text));
    const std::u32string wanted = lower(utf8_decode(last_search_));
    const size_t from = static_cast<size_t>(box.state().selection_start + box.state().selection_length);
    const size_t hit = from <= text.size() ? text.find(wanted, from) : std::u32string::npos;
    if (hit == std::u32string::npos) {
        request(box, ViewRequest::Beep);
        return;
    }
    box.state().selection_start = static_cast<int32_t>(hit);
    box.state().selection_length = static_cast<int32_t>(wanted.size());
    show_caret();
}

void CZantoScriptModul::tab(bool outdent) {
    const ControlState& state = text_box().state();
    std::u32string text = utf8_decode(state.text);
    const int32_t a = std::clamp(state.selection_start, 0, size_of(text));
    const int32_t b = std::clamp(state.selection_start + state.selection_length, a, size_of(text));
    const int32_t la = line_of(text, a);
    int32_t lb = line_of(text, b);

    if (la == lb) {
        if (outdent) return;
        std::u32string blanks = U"  ";
        if (a == b && a == line_start(text, la) && la > 0) {
            // At the start of a line: as far in as the line above, at least two.
            const std::u32string above = line_text(text, la - 1);
            const size_t n = std::min(above.find_first_not_of(U' '), above.size());
            if (n > 0) blanks.assign(n, U' ');
        }
        text.replace(static_cast<size_t>(a), static_cast<size_t>(b - a), blanks);
        edit(text, a + static_cast<int32_t>(blanks.size()), 0, true);
        return;
    }

    // A line the selection merely touches at its start is left alone.
    const bool touched_only = b == line_start(text, lb);
    const int32_t touched_line = lb;
    if (touched_only) --lb;
    const int32_t start = line_start(text, la);
    for (int32_t l = lb; l >= la; --l) {
        const size_t at = static_cast<size_t>(line_start(text, l));
        if (!outdent) {
            text.insert(at, U"  ");
            continue;
        }
        size_t blanks = 0;
        while (blanks < 2 && at + blanks < text.size() && text[at + blanks] == U' ') ++blanks;
        text.erase(at, blanks);
    }
    // Indenting keeps the selection ending where it did (at the start of the
    // touched line); outdenting ends it at the end of the last line changed.
    const int32_t end = !outdent && touched_only ? line_start(text, touched_line) : line_end(text, lb);
    edit(text, start, end - start, false);
}

}  // namespace galvora
