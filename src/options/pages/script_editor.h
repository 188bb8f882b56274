#pragma once
// The script editor `CZantoScriptModul` that the script module page and the
// file filter page embed (each names it `ModulInhalt`): the script text with
// its colouring by lines, a caption above, the caret's line and column, and a
// button that asks the host for a syntax test. It compiles nothing itself and
// writes no setting: the host reads the text back and stores it.
//
// Keys in the text: F1 opens the help of the word at the caret, Ctrl+F asks
// for a text and finds it after the caret (F3 finds it again), Tab indents
// (two blanks, or as far as the line above at the start of a line; a
// selection over several lines indents every line it covers), Shift+Tab
// outdents such a selection by up to two blanks per line.
//
// The editor's own changes of the text (loading, block indentation) raise no
// event; every change the user makes raises SyntaxStatusReset. The text's
// lines are coloured when it is loaded, and every line a change touches is
// coloured again (a paste colours each pasted line). The text box keeps its
// undo history; loading another text starts it afresh.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "options/option_page.h"
#include "script/line_colouring.h"

namespace galvora {

// The help page of the script language; F1 opens it at the word's anchor.
inline constexpr const char* kScriptHelpPage = "zng_doc703.htm";

class CZantoScriptModul : public OptionPage {
public:
    CZantoScriptModul();

    // Disables the text and shows the caret's place.
    void InitDialog() override;

    // ---- what the host sets and reads
    void Titel(const std::string& caption);
    bool has_bottom_border() const override { return true; }
    void BottomBorderHeight(int32_t twips) override;
    // Loads a text (lines ended by CR LF, LF or CR): coloured, caret at the
    // start, no event.
    void ModulInhalt(const std::string& text);
    // The text, its lines ended by CR LF as script files and profiles keep them.
    std::string ModulInhalt() const;
    // The caret, in characters of the text as the editor shows it.
    void ModulPos(int32_t position);
    void Enabled(bool on);
    bool Enabled() const;
    // Gives the text the focus, when it is shown.
    void focus_text();
    // The host page's layout: the editor keeps the left and top of its place
    // on the page and takes the rest of the page's width and height.
    void fill_below(PageControl& place, double page_width, double page_height);
    // Runs when the text loses the focus; the host stores the text then.
    std::function<void()> text_lost_focus;

    // ---- the colours a view shows
    // The coloured pieces of a line (0-based); none for a line past the end.
    const std::vector<ZNSFarbspanne>& line_colours(size_t line) const;
    size_t coloured_line_count() const { return colours_.size(); }
    // The lines coloured since the view last asked: every line after a load
    // (`all`), else the ones a change touched.
    struct Recoloured {
        bool all = false;
        std::vector<int32_t> lines;
    };
    Recoloured take_recoloured();
    // How many lines the last change by the user coloured again.
    int32_t lines_coloured_by_last_change() const { return last_change_lines_; }

    // The word F1 looks up: the letters and digits around the caret.
    static std::string word_at(const std::u32string& text, int32_t caret);
    // The help topic of that word; the anchor is the word in lower case.
    static std::string help_topic(const std::string& word);

protected:
    void language_texts() override;
    void resized() override;

private:
    PageControl& text_box() const;
    void text_changed();
    void recolour_changes(const std::u32string& before, const std::u32string& after);
    void colour_all();
    void show_caret();
    bool key_down(int key, int shift);
    void find_next();
    void tab(bool outdent);
    // The editor's own edit: the new text and selection, with or without the
    // change handling of a user's edit.
    void edit(const std::u32string& text, int32_t selection_start, int32_t selection_length, bool as_user);

    bool loading_ = false;
    std::string last_search_;
    std::string row_word_;
    std::string column_word_;
    int32_t bottom_border_ = 0;
    // The text as last coloured, and its lines' colours.
    std::u32string coloured_text_;
    std::vector<std::vector<ZNSFarbspanne>> colours_;
    Recoloured recoloured_;
    int32_t last_change_lines_ = 0;
};

}  // namespace galvora
