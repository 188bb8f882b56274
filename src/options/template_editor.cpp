#include "options/template_editor.h"

#include <cfenv>
#include <cmath>

#include "foundation/language.h"
#include "foundation/messages.h"
#include "generation/script_glue.h"
#include "generation/settings_access.h"
#include "image/picture_buffer.h"
#include "options/editor_text.h"
#include "options/options_dialog.h"
#include "profile/settings_table.h"
#include "script/compiler.h"
#include "script/engine.h"

namespace galvora {

namespace {

constexpr const char* kCompilerTitle = "ZantoScript Compiler";

}  // namespace

const std::vector<TemplateElement>& template_elements() {
    static const std::vector<TemplateElement> elements = {
        // Frame (start) page.
        {15, "HTML_Frame_html_head", nullptr, 144, "HTML_FRAME_HEAD", "FrameHead"},
        {15, "HTML_Frame_html_title", nullptr, 145, "HTML_FRAME_TITLE", "FrameDoctitle"},
        {15, "HTML_Frame_content", "HTML_Frame_content_text", 146, "HTML_FRAME_CONTENT", "FrameContent"},
        // Index page.
        {9, "HTML_ID_html_head", nullptr, 125, "HTML_INDEX_HEAD", "IndexHead"},
        {9, "HTML_ID_html_title", nullptr, 126, "HTML_INDEX_TITLE", "IndexDoctitle"},
        {9, "HTML_ID_body", nullptr, 127, "HTML_INDEX_BODY_TAG", "IndexBody"},
        {9, "HTML_ID_post_body", nullptr, 128, "HTML_INDEX_POSTBODY", "IndexTitle"},
        {9, "HTML_ID_pre_table", nullptr, 129, "HTML_INDEX_PRE_TABLE", "IndexPreTable"},
        {9, "HTML_ID_table_Open", nullptr, 130, "HTML_INDEX_TABLE_OPEN", "IndexTableOpen"},
        {9, "HTML_ID_tr_Open", nullptr, 131, "HTML_INDEX_TR_OPEN", "IndexTrOpen"},
        {9, "HTML_ID_td_Open", nullptr, 133, "HTML_INDEX_TD_OPEN", "IndexTdOpen"},
        {9, "HTML_ID_Eintrag", nullptr, 135, "HTML_INDEX_ENTRY", "IndexEntry"},
        {9, "HTML_ID_td_Close", nullptr, 136, "HTML_INDEX_TD_CLOSE", "IndexTdClose"},
        {9, "HTML_ID_tr_Close", nullptr, 137, "HTML_INDEX_TR_CLOSE", "IndexTrClose"},
        {9, "HTML_ID_table_Close", nullptr, 138, "HTML_INDEX_TABLE_CLOSE", "IndexTableClose"},
        {9, "HTML_ID_post_table", nullptr, 139, "HTML_INDEX_POST_TABLE", "IndexPostTable"},
        {9, "HTML_ID_post_post_table", nullptr, 140, "HTML_INDEX_POST_POST_TABLE", "IndexPostPostTable"},
        {9, "HTML_ID_abschluss", nullptr, 141, "HTML_INDEX_FOOTER", "IndexFooter"},
        // Thumbnail page.
        {8, "HTML_thumb_SD_html_head", nullptr, 149, "HTML_HEAD", "ThumbHead"},
        {8, "HTML_thumb_SD_html_title", nullptr, 150, "HTML_TITLE", "ThumbDoctitle"},
        {8, "HTML_thumb_SD_body", nullptr, 151, "HTML_BODY", "ThumbBody"},
        {8, "HTML_thumb_SD_post_body", nullptr, 152, "HTML_POST_BODY", "ThumbTitle"},
        {8, "HTML_thumb_SD_html_prev_prev", nullptr, 153, "HTML_THUMB_PREV_PREV", "ThumbPrevPrev"},
        {8, "HTML_thumb_SD_html_first", nullptr, 154, "HTML_FIRST", "ThumbAllFirst"},
        {8, "HTML_thumb_SD_html_path_first", nullptr, 155, "HTML_PATH_FIRST", "ThumbPathFirst"},
        {8, "HTML_thumb_SD_html_prev", "HTML_thumb_SD_html_prev_einfach", 156, "HTML_PREV", "ThumbPrev"},
        {8, "HTML_thumb_SD_html_up", "HTML_thumb_SD_html_up_einfach", 157, "HTML_UP", "ThumbUp"},
        {8, "HTML_thumb_SD_html_next", "HTML_thumb_SD_html_next_einfach", 158, "HTML_NEXT", "ThumbNext"},
        {8, "HTML_thumb_SD_html_path_last", nullptr, 159, "HTML_PATH_LAST", "ThumbPathLast"},
        {8, "HTML_thumb_SD_html_last", nullptr, 160, "HTML_LAST", "ThumbAllLast"},
        {8, "HTML_thumb_SD_html_next_next", nullptr, 161, "HTML_THUMB_NEXT_NEXT", "ThumbNextNext"},
        {8, "HTML_thumb_SD_pre_table", nullptr, 162, "HTML_PRE_TABLE", "ThumbPreTable"},
        {8, "HTML_thumb_SD_table_Open", nullptr, 163, "HTML_THUMB_TABLE_OPEN", "ThumbTableOpen"},
        {8, "HTML_thumb_SD_tr_Open", nullptr, 165, "HTML_THUMB_TR_OPEN", "ThumbTrOpen"},
        {8, "HTML_thumb_SD_td_Open", nullptr, 166, "HTML_THUMB_TD_OPEN", "ThumbTdOpen"},
        {8, "HTML_thumb_SD_Pic", nullptr, 168, "HTML_THUMB_PIC_TAG", "ThumbPic"},
        {8, "HTML_thumb_SD_td_Close", nullptr, 169, "HTML_THUMB_TD_CLOSE", "ThumbTdClose"},
        {8, "HTML_thumb_SD_tr_Close", nullptr, 170, "HTML_THUMB_TR_CLOSE", "ThumbTrClose"},
        {8, "HTML_thumb_SD_table_Close", nullptr, 171, "HTML_THUMB_TABLE_CLOSE", "ThumbTableClose"},
        {8, "HTML_thumb_SD_post_table", nullptr, 172, "HTML_POST_TABLE", "ThumbPostTable"},
        {8, "HTML_thumb_SD_abschluss", nullptr, 173, "HTML_THUMB_FOOTER", "ThumbFooter"},
        // Picture page.
        {10, "HTML_BSD_html_head", nullptr, 176, "HTML_PIC_HEAD", "PicHead"},
        {10, "HTML_BSD_html_title", nullptr, 177, "HTML_PIC_TITLE", "PicDoctitle"},
        {10, "HTML_BSD_body", nullptr, 178, "HTML_PIC_BODY", "PicBody"},
        {10, "HTML_BSD_post_body", nullptr, 179, "HTML_PIC_POST_BODY", "PicTitle"},
        {10, "HTML_BSD_html_prev_prev", nullptr, 180, "HTML_PIC_PREV_PREV", "PicPrevPrev"},
        {10, "HTML_BSD_html_first", nullptr, 181, "HTML_PIC_FIRST", "PicAllFirst"},
        {10, "HTML_BSD_html_path_first", nullptr, 182, "HTML_PIC_PATH_FIRST", "PicPathFirst"},
        {10, "HTML_BSD_html_page_first", nullptr, 183, "HTML_PIC_PAGE_FIRST", "PicPageFirst"},
        {10, "HTML_BSD_html_prev", "HTML_BSD_html_prev_einfach", 184, "HTML_PIC_PREV", "PicPrev"},
        {10, "HTML_BSD_html_up", "HTML_BSD_html_up_einfach", 185, "HTML_PIC_UP", "PicUp"},
        {10, "HTML_BSD_html_next", "HTML_BSD_html_next_einfach", 186, "HTML_PIC_NEXT", "PicNext"},
        {10, "HTML_BSD_html_page_last", nullptr, 187, "HTML_PIC_PAGE_LAST", "PicPageLast"},
        {10, "HTML_BSD_html_path_last", nullptr, 188, "HTML_PIC_PATH_LAST", "PicPathLast"},
        {10, "HTML_BSD_html_last", nullptr, 189, "HTML_PIC_LAST", "PicAllLast"},
        {10, "HTML_BSD_html_next_next", nullptr, 190, "HTML_PIC_NEXT_NEXT", "PicNextNext"},
        {10, "HTML_BSD_PrePic", nullptr, 191, "HTML_PIC_PREPIC", "PicPrePic"},
        {10, "HTML_BSD_Pic", nullptr, 192, "HTML_PIC_PIC", "PicPic"},
        {10, "HTML_BSD_PostPic", nullptr, 193, "HTML_PIC_POSTPIC", "PicPostPic"},
        {10, "HTML_BSD_abschluss", nullptr, 194, "HTML_PIC_FOOTER", "PicFooter"},
    };
    return elements;
}

StripLayout strip_layout(const std::array<int32_t, 5>& design, double strip_height, bool extended,
                         int32_t position_value) {
    StripLayout layout;
    layout.extended = extended;
    layout.strip_top = design[1];
    layout.before_top = design[2];
    layout.content_top = design[3];
    layout.after_top = design[4];
    if ((position_value & 4) != 0) {
        layout.strip_top = layout.before_top;
        layout.strip_visible = true;
        layout.before_top += strip_height;
        layout.content_top += strip_height;
        layout.after_top += strip_height;
    } else if ((position_value & 16) != 0) {
        layout.strip_top = layout.after_top;
        layout.strip_visible = true;
        layout.after_top += strip_height;
    } else if ((position_value & 32) != 0) {
        layout.strip_visible = true;
    }
    return layout;
}

std::vector<std::pair<int, int>> HintergrundKacheln(int box_width, int box_height, int tile_width, int tile_height) {
    std::vector<std::pair<int, int>> tiles;
    // A tile without size would never get past the first column.
    if (tile_width <= 0 || tile_height <= 0 || box_width < 0 || box_height < 0) return tiles;
    for (int x = 0; x <= box_width; x += tile_width)
        for (int y = 0; y <= box_height; y += tile_height) tiles.emplace_back(x, y);
    return tiles;
}

std::vector<uint32_t> Farbverlauf(int width, uint32_t start, uint32_t end) {
    if (width <= 0) return {start};
    const double dr = (static_cast<double>(colour_red(end)) - colour_red(start)) / width;
    const double dg = (static_cast<double>(colour_green(end)) - colour_green(start)) / width;
    const double db = (static_cast<double>(colour_blue(end)) - colour_blue(start)) / width;
    // The default rounding mode takes halves to the even neighbour.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    std::vector<uint32_t> columns;
    columns.reserve(static_cast<size_t>(width) + 1);
    for (int x = 0; x <= width; ++x) {
        const auto channel = [x](uint8_t from, double step) {
            return static_cast<uint8_t>(std::nearbyint(from + step * x));
        };
        columns.push_back(make_colour(channel(colour_red(start), dr), channel(colour_green(start), dg),
                                      channel(colour_blue(start), db)));
    }
    std::fesetround(saved);
    return columns;
}

// ---------------------------------------------------------------- TemplateEditor

TemplateEditor::TemplateEditor(Optionen& dialog) : dialog_(dialog) {}

PageControl& TemplateEditor::input() const { return dialog_.control("Tag_Input"); }

std::string TemplateEditor::description(int entry) {
    check_profile_index(entry, "TemplateEditor");
    return profileintrag_beschreibung()[static_cast<size_t>(entry)];
}

void TemplateEditor::wire() {
    Optionen& d = dialog_;
    for (const TemplateElement& element : template_elements()) {
        for (const char* name : {element.control, element.second_control}) {
            if (name == nullptr) continue;
            for (const auto& control : d.all_controls()) {
                if (control->name() != name) continue;
                const int entry = element.entry;
                element_controls_.emplace_back(control.get(), entry);
                if (control->control_kind() == PageControlKind::Label && control->state().caption.empty())
                    described_labels_.emplace_back(control.get(), entry);
                d.on(*control, ControlEvent::Click, [this, entry](ControlEventArgs&) { TagWaehlen(entry); });
            }
        }
    }
    PageControl& box = input();
    d.on(box, ControlEvent::Change, [this](ControlEventArgs&) {
        TagGeaendert = true;
        // The caret label follows typing and undoing at once.
        TagPositionAnzeigen();
    });
    d.on(box, ControlEvent::LostFocus, [this](ControlEventArgs&) { Tag_Input_LostFocus(); });
    d.on(box, ControlEvent::Click, [this](ControlEventArgs&) { TagPositionAnzeigen(); });
    d.on(box, ControlEvent::KeyUp, [this](ControlEventArgs& args) {
        // Alt+Backspace undoes the last edit; the text box knows whether it can.
        if (args.key == kKeyBack && args.shift == kAltMask) dialog_.request(args.control, ViewRequest::Undo);
        TagPositionAnzeigen();
    });
    d.on(d.control("SyntaxTest"), ControlEvent::Click, [this](ControlEventArgs&) { SyntaxTest_Click(); });
}

void TemplateEditor::TagWaehlen(int index) {
    check_profile_index(index, "TagWaehlen");
    PageControl& box = input();
    if (TagGeaendert) {
        profilwert_setzen(TagIndex, stored_text(box.state().text));
        TagGeaendert = false;
    }
    TagIndex = index;
    dialog_.control("Tag_Info_Bezeichnung").state().caption = description(TagIndex);
    box.state().selection_start = 0;
    box.state().selection_length = 0;
    dialog_.set_text(box, editor_text(profilwert(TagIndex)));
    // Loading a text is no edit, whether or not the box reported a change.
    TagGeaendert = false;
    if (dialog_.control("Frame_Tagdefinition").state().visible) dialog_.request(box, ViewRequest::Focus);
    TagPositionAnzeigen();
    dialog_.changed();
}

void TemplateEditor::Tag_Input_LostFocus() {
    if (!TagGeaendert) return;
    profilwert_setzen(TagIndex, stored_text(input().state().text));
    TagGeaendert = false;
}

void TemplateEditor::TagPositionAnzeigen() {
    const ControlState& state = input().state();
    const CaretPlace place = caret_place(state.text, state.selection_start + state.selection_length);
    dialog_.control("tag_input_pos").state().caption = caret_label(row_word_, column_word_, place);
}

void TemplateEditor::TagHinweiseSetzen() {
    for (const auto& [control, entry] : element_controls_)
        control->state().tooltip = description(entry) + " - " + click_hint_;
    // A label designed without a caption shows its entry's description; the
    // tags of table, rows and cells keep theirs.
    for (const auto& [control, entry] : described_labels_) control->state().caption = description(entry);
}

void TemplateEditor::language_texts() {
    row_word_ = inq("Optionen", "Row");
    column_word_ = inq("Optionen", "Column");
    click_hint_ = inq("Optionen", "Click");
    frame_page_name_ = inq("Optionen", "HTMLFramePage");
    index_page_name_ = inq("Optionen", "HTMLIndexPage");
    thumb_page_name_ = inq("Optionen", "HTMLThumbPage");
    picture_page_name_ = inq("Optionen", "HTMLImagePage");
}

void TemplateEditor::record_design_tops() {
    static constexpr const char* kNames[10] = {
        "HTML_thumb_SD_post_body", "HTML_thumb_SD_Verweise", "HTML_thumb_SD_pre_table",
        "HTML_thumb_SD_table",     "HTML_thumb_SD_post_table", "HTML_BSD_post_body",
        "HTML_BSD_Verweise",       "HTML_BSD_PrePic",          "HTML_BSD_Pic",
        "HTML_BSD_PostPic"};
    for (size_t i = 0; i < layout_basis_top.size(); ++i)
        layout_basis_top[i] = static_cast<int32_t>(std::nearbyint(dialog_.control(kNames[i]).state().place.top));
}

void TemplateEditor::StartseiteAufbauen() { TagWaehlen(kSetHtmlFrameHead); }

void TemplateEditor::IndexseiteAufbauen() {
    dialog_.control("shape_pfadgruppierung").state().visible = switch_is_on(profilwert(kSetHtmlIndexGroup));
    TagWaehlen(kSetHtmlIndexHead);
}

void TemplateEditor::ThumbseiteAufbauen() { thumb_or_picture_layout(false); }

void TemplateEditor::BildseiteAufbauen() { thumb_or_picture_layout(true); }

void TemplateEditor::thumb_or_picture_layout(bool picture) {
    const std::string prefix = picture ? "HTML_BSD_" : "HTML_thumb_SD_";
    TagWaehlen(picture ? kSetHtmlPicHead : kSetHtmlHead);

    PageControl& extended = dialog_.control(prefix + "Verweise");
    PageControl& simple = dialog_.control(prefix + "Verweise_einfach");
    PageControl& title = dialog_.control(prefix + "post_body");
    PageControl& before = dialog_.control(picture ? "HTML_BSD_PrePic" : "HTML_thumb_SD_pre_table");
    PageControl& content = dialog_.control(picture ? "HTML_BSD_Pic" : "HTML_thumb_SD_table");
    PageControl& after = dialog_.control(picture ? "HTML_BSD_PostPic" : "HTML_thumb_SD_post_table");

    extended.state().visible = false;
    simple.state().visible = false;
    const size_t first = picture ? 5 : 0;
    title.state().place.top = layout_basis_top[first];
    const std::array<int32_t, 5> design = {layout_basis_top[first], layout_basis_top[first + 1],
                                           layout_basis_top[first + 2], layout_basis_top[first + 3],
                                           layout_basis_top[first + 4]};
    const bool is_extended = switch_is_on(profilwert(picture ? kSetHtmlBildNavExtended : kSetNavExtended));
    const int32_t position = entry_as_int32(profilwert(picture ? kSetHtmlBildRefPos : kSetRefPos)).value_or(0);
    const StripLayout layout = strip_layout(design, extended.state().place.height, is_extended, position);

    PageControl& strip = is_extended ? extended : simple;
    strip.state().place.top = layout.strip_top;
    strip.state().visible = layout.strip_visible;
    before.state().place.top = layout.before_top;
    content.state().place.top = layout.content_top;
    after.state().place.top = layout.after_top;
    dialog_.changed();
}

void TemplateEditor::aufbauen(int box) {
    switch (box) {
        case kBoxThumbLayout:
            ThumbseiteAufbauen();
            break;
        case kBoxIndexLayout:
            IndexseiteAufbauen();
            break;
        case kBoxPicLayout:
            BildseiteAufbauen();
            break;
        case kBoxFrameLayout:
            StartseiteAufbauen();
            break;
        default:
            break;
    }
}

std::string TemplateEditor::page_kind_name(int entry) const {
    if (entry >= 144 && entry <= 146) return frame_page_name_;
    if (entry >= 125 && entry <= 141) return index_page_name_;
    if (entry >= 149 && entry <= 173) return thumb_page_name_;
    if (entry >= 176 && entry <= 194) return picture_page_name_;
    return {};
}

void TemplateEditor::SyntaxTest_Click() {
    if (!dialog_.control("Frame_Tagdefinition").state().visible) return;
    PageControl& box = input();
    const std::string kind = page_kind_name(TagIndex);
    // The stored value: pressing the button has taken the focus from the
    // text box, whose focus loss stored any edit.
    const std::string source = profilwert(TagIndex);
    const bool head_disabled = (TagIndex == kSetHtmlFrameHead && switch_is_on(profilwert(kSetHtmlFrameHeadDisable))) ||
                               (TagIndex == kSetHtmlIndexHead && switch_is_on(profilwert(kSetHtmlIndexHeadDisable))) ||
                               (TagIndex == kSetHtmlHead && switch_is_on(profilwert(kSetHtmlHeadDisable))) ||
                               (TagIndex == kSetHtmlPicHead && switch_is_on(profilwert(kSetHtmlBildHeadDisable)));
    if (source.empty() || head_disabled) {
        meldung(kCompilerTitle, MB_ICON_INFORMATION, "ErrTagLastErr",
                {kind, description(TagIndex), inq("Msg", "MsgSyntaxcheckNotNecessary")});
    } else {
        if (zns() == nullptr) script_objekt_anlegen();
        const int32_t result = vorlage_uebersetzen(Profileinstellungen()[static_cast<size_t>(TagIndex)].key, source);
        const int style = result != 0 ? MB_ICON_EXCLAMATION : MB_ICON_INFORMATION;
        if (result != 0) {
            // The compiler counts in the stored text, whose lines end in CR LF;
            // the text box shows LF alone.
            box.state().selection_start = editor_position(source, fehler_position());
            box.state().selection_length = 0;
            TagPositionAnzeigen();
        }
        const std::string text = fehlermeldung();
        zns()->fkt_oba.lösche_ausser_intern();
        meldung(kCompilerTitle, style, "ErrTagLastErr", {kind, description(TagIndex), text});
    }
    dialog_.request(box, ViewRequest::Focus);
    dialog_.changed();
}

}  // namespace galvora
