#pragma once
// The HTML template editor of the options dialog: a clickable mock-up of each
// of the four page kinds (frame start page in box 15, index page in box 9,
// thumbnail page in box 8, picture page in box 10), the text box `Tag_Input`
// below it that edits the template entry of the element clicked last, the
// label `Tag_Info_Bezeichnung` naming the entry and the caret label
// `tag_input_pos`. An edit reaches the working settings when another element
// is chosen and when the text box loses the focus; never per keystroke.
//
// The mock-ups are controls of the dialog (labels, picture boxes, the arrow
// images of the navigation strips) placed in twips as the generated page is
// laid out; the layout steps move them to follow the settings.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace galvora {

class Optionen;
class PageControl;

// One clickable element of a mock-up: its controls (a control array counts
// once; two names where the extended and the simple navigation strip, or a
// box and its caption, stand for the same entry), its settings entry and the
// key of its description in language section "Profile".
struct TemplateElement {
    int box;
    const char* control;
    const char* second_control;  // nullptr when there is none
    int entry;
    const char* settings_key;
    const char* description_key;
};

// The 60 elements, frame page first, then index, thumbnail and picture page.
const std::vector<TemplateElement>& template_elements();

// Where the thumbnail and picture page layouts put their navigation strip.
// Tops are twips within the page body.
struct StripLayout {
    bool strip_visible = false;
    bool extended = false;  // the extended strip is the one shown (else the simple one)
    double strip_top = 0;
    double before_top = 0;   // the element before the content
    double content_top = 0;
    double after_top = 0;    // the element after the content
};
// The layout rule: `design` holds the design tops of body title, strip,
// before, content, after (in the order of layout_basis_top); the position
// value's bits are tested in the order 4, 16, 32 and only the first set one
// counts. Both strips shift the content by the extended strip's height.
StripLayout strip_layout(const std::array<int32_t, 5>& design, double strip_height, bool extended,
                         int32_t position_value);

// Tile origins (pixels) that cover a box with copies of a tile; both loops
// include the box's edge, so the last copies may be clipped.
std::vector<std::pair<int, int>> HintergrundKacheln(int box_width, int box_height, int tile_width, int tile_height);

// The colour of each pixel column 0..width (both ends included) of a
// left-to-right gradient; colours 0x00BBGGRR, each channel rounded half to
// even. A width of 0 gives the start colour alone.
std::vector<uint32_t> Farbverlauf(int width, uint32_t start, uint32_t end);

class TemplateEditor {
public:
    explicit TemplateEditor(Optionen& dialog);

    // Places the four mock-ups into their boxes and wires the editor's controls.
    void build();

    // ---- the editor's procedures
    void TagWaehlen(int index);
    void TagPositionAnzeigen();
    void TagHinweiseSetzen();
    void StartseiteAufbauen();
    void IndexseiteAufbauen();
    void ThumbseiteAufbauen();
    void BildseiteAufbauen();
    // Runs the layout of a template box (15, 9, 8 or 10).
    void aufbauen(int box);
    // Stores a changed text, as the text box's losing the focus does.
    void Tag_Input_LostFocus();
    // The load step's record of the ten design tops.
    void record_design_tops();
    // The texts the dialog's InitLanguage reads for the editor.
    void language_texts();
    // The syntax test of the entry being edited.
    void SyntaxTest_Click();

    // ---- state
    bool TagGeaendert = false;
    int32_t TagIndex = 0;
    std::array<int32_t, 10> layout_basis_top{};

    // The page-kind name of an entry (the syntax test's first line); empty
    // for an entry of no page kind.
    std::string page_kind_name(int entry) const;
    // The description of an entry in the current language.
    static std::string description(int entry);

private:
    // Element clicks, the text box's events and the syntax test button.
    void wire();
    PageControl& input() const;
    void thumb_or_picture_layout(bool picture);

    Optionen& dialog_;
    // Every control of an element with its entry, arrays and strips included.
    std::vector<std::pair<PageControl*, int>> element_controls_;
    std::vector<std::pair<PageControl*, int>> described_labels_;
    std::string row_word_;
    std::string column_word_;
    std::string click_hint_;
    std::string frame_page_name_;
    std::string index_page_name_;
    std::string thumb_page_name_;
    std::string picture_page_name_;
};

}  // namespace galvora
