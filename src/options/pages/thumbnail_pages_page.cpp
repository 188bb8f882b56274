#include "options/pages/thumbnail_pages_page.h"

#include "foundation/dialog_helpers.h"
#include "generation/settings_access.h"
#include "profile/number_text.h"
#include "profile/settings_table.h"

namespace galvora {

CHTMLThumbnails::CHTMLThumbnails() : OptionPage("CHTMLThumbnails", 7800, 5760) {
    using K = PageControlKind;
    auto& master = add(K::CheckBox, "mit_HTML_Thumbnailfestlegung", "Create", "HTML-Thumbnailseiten erzeugen",
                       {120, 120, 7500, 300});
    add(K::Label, "Label", "NameBase", "Dateiname-Basis", {360, 600, 2400, 255}, nullptr, 0);
    auto& base_name = add(K::TextBox, "html_default", "", "", {2880, 555, 2400, 315});
    add(K::Label, "Label", "ThumbsPerLine", "Thumbnails je Zeile", {360, 1020, 2400, 255}, nullptr, 1);
    auto& per_line = add(K::TextBox, "thumbs_per_line", "", "", {2880, 975, 720, 315});

    auto& arrangement =
        add(K::Frame, "FrameVerteilung", "Arrangement", "Thumbnailverteilung", {360, 1440, 4080, 1620});
    auto& one_page = add(K::OptionButton, "alle_auf_seite", "OnePage", "alle Thumbnails auf eine Seite",
                         {180, 300, 3780, 285}, &arrangement);
    auto& split = add(K::OptionButton, "einige_auf_seite", "NewPage", "neue Seite nach", {180, 660, 1620, 285},
                      &arrangement);
    auto& lines = add(K::TextBox, "lines_per_page", "", "", {1860, 645, 600, 315}, &arrangement);
    add(K::Label, "Label", "Lines", "Zeilen", {2520, 675, 960, 255}, &arrangement, 2);
    add(K::Label, "Label", "Digits", "Anzahl Ziffern der Seitennummer", {180, 1140, 3000, 255}, &arrangement, 3);
    // Shows the scroll bar's value; nothing else sets it.
    auto& digits = add(K::Label, "SplitDigitCount", "", "1", {3240, 1140, 300, 255}, &arrangement);
    digits.state().alignment = 1;
    auto& spinner = add(K::ScrollBar, "SplitDigitCountVScroll", "", "", {3600, 1035, 255, 450}, &arrangement);
    spinner.state().minimum = 1;
    spinner.state().maximum = 9;
    spinner.state().value = 1;

    auto& sequence = add(K::Frame, "HTML_FrameNavart", "Navigation", "Navigation", {4560, 1440, 3120, 1260});
    auto& continuous =
        add(K::OptionButton, "Verweis_fortlaufend", "Sequentially", "fortlaufend", {180, 300, 2820, 285}, &sequence);
    auto& cyclic =
        add(K::OptionButton, "Verweis_umlaufend", "Circulating", "umlaufend", {180, 600, 2820, 285}, &sequence);
    auto& bounded =
        add(K::OptionButton, "Verweis_begrenzt", "Limited", "begrenzt", {180, 900, 2820, 285}, &sequence);

    auto& elements =
        add(K::Frame, "FrameNavpos", "NavigationElements", "Navigationselemente", {360, 3180, 7320, 1620});
    auto& extended =
        add(K::CheckBox, "NavExtended", "Extended", "erweiterte Navigation", {180, 300, 6900, 285}, &elements);
    auto& above_table = add(K::CheckBox, "Verweisposition", "AboveTableTitle", "über Tabellentitel",
                            {180, 600, 6900, 285}, &elements, 2);
    auto& above_description = add(K::CheckBox, "Verweisposition", "AbovePageDescription",
                                  "über Seitenbeschreibung", {180, 900, 6900, 285}, &elements, 4);
    auto& below_description = add(K::CheckBox, "Verweisposition", "BelowPageDescription",
                                  "unter Seitenbeschreibung", {180, 1200, 6900, 285}, &elements, 5);
    auto& date = add(K::CheckBox, "Erstelldatum", "Date", "Erstelldatum", {360, 4980, 7260, 300});
    auto& head = add(K::CheckBox, "DisableZantoScript", "DisableZantoScript",
                     "ZantoScript im Dokumentenkopf ausschalten", {360, 5340, 7260, 300});

    join_option_group("Verteilung", {&one_page, &split});
    join_option_group("Verweisfolge", {&continuous, &cyclic, &bounded});
    declare_events({PageEvent::BaumAnpassen, PageEvent::VerteilungVerändert});

    // Bound in the order the page fills its controls.
    bind_master_switch(master, ValueTarget::entry(kSetGenerateThumbpages));
    bind_number_box(per_line, ValueTarget::entry(kSetThumbsPerLine),
                    {.minimum = 1, .fallback = 6, .key = "ErrCountPicPerLine"});
    fill_step([this, &one_page, &split] {
        // 1 splits; 0 puts all on one page. Another number is shown as one
        // page without being written, text that is no number as neither.
        const std::optional<int32_t> value = entry_as_int32(profilwert(kSetHtmlSplit));
        if (value && *value == 1) {
            set_value(split, 1);
        } else if (value && *value == 0) {
            set_value(one_page, 1);
        } else {
            one_page.state().value = value ? 1 : 0;
            split.state().value = 0;
        }
    });
    auto distribution_changed = [this] {
        raise(PageEvent::VerteilungVerändert);
        InitDialog();
    };
    on(one_page, ControlEvent::Click, [distribution_changed](ControlEventArgs&) {
        profilwert_setzen(kSetHtmlSplit, "0");
        distribution_changed();
    });
    on(split, ControlEvent::Click, [distribution_changed](ControlEventArgs&) {
        request_tree_rebuild();
        profilwert_setzen(kSetHtmlSplit, "1");
        distribution_changed();
    });
    bind_number_box(lines, ValueTarget::entry(kSetLinesPerPage),
                    {.minimum = 0, .fallback = 10, .key = "ErrCountLinesPerFile"});
    auto show_digits = [&digits, &spinner] { digits.state().caption = std::to_string(spinner.state().value); };
    bind_slider(spinner, ValueTarget::entry(kSetSplitDigits), show_digits);
    fill_step(show_digits);
    bind_option_group({{&continuous, 1}, {&cyclic, 2}, {&bounded, 3}}, ValueTarget::entry(kSetHtmlVerweisfolge), {}, true);
    bind_text(base_name, ValueTarget::entry(kSetHtmlDefault));
    bind_check_box(head, ValueTarget::entry(kSetHtmlHeadDisable));
    bind_check_box(date, ValueTarget::entry(kSetPrintDate));
    bind_check_box(extended, ValueTarget::entry(kSetNavExtended));
    bind_bit_set({{&above_table, 4}, {&above_description, 16}, {&below_description, 32}},
                 ValueTarget::entry(kSetRefPos));
}

void CHTMLThumbnails::narrower_rules() {
    // The file-name base names the pages of the base directory alone.
    double level = 0;
    if (!(text_to_number(profilwert(kSetDirLevel), level) && level == 0)) control("html_default").set_enabled(false);
    const std::optional<int32_t> split = entry_as_int32(profilwert(kSetHtmlSplit));
    if (split && *split == 0) {
        for (const char* name : {"lines_per_page", "SplitDigitCount", "SplitDigitCountVScroll"})
            control(name).set_enabled(false);
        steuerelemente_aktivieren(*this, control("HTML_FrameNavart"), false);
    }
}

}  // namespace galvora
