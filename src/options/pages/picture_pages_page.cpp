#include "options/pages/picture_pages_page.h"

#include "generation/settings_access.h"

namespace galvora {

CHTMLBildseite::CHTMLBildseite() : OptionPage("CHTMLBildseite", 7800, 3600) {
    using K = PageControlKind;
    auto& master =
        add(K::CheckBox, "mit_HTML_Bildfestlegung", "Create", "HTML-Bildseite erzeugen", {120, 120, 7500, 300});
    auto& extended = add(K::CheckBox, "PicNavExtended", "Extended", "erweiterte Navigation", {360, 540, 7260, 300});
    auto& elements = add(K::Frame, "BS_HTML_FrameNavpos", "NavigationElements", "Navigationselemente",
                         {360, 960, 3600, 1380});
    auto& above_title = add(K::CheckBox, "BS_HTML_Verweisposition", "AboveImageTitle", "über Bildtitel",
                            {180, 300, 3300, 285}, &elements, 2);
    auto& above_description = add(K::CheckBox, "BS_HTML_Verweisposition", "AboveImageDescription",
                                  "über Bildschreibung", {180, 660, 3300, 285}, &elements, 4);
    auto& below_description = add(K::CheckBox, "BS_HTML_Verweisposition", "BelowImageDescription",
                                  "unter Bildbeschreibung", {180, 1020, 3300, 285}, &elements, 5);
    auto& sequence =
        add(K::Frame, "BS_HTML_FrameNavart", "Navigation", "Navigation", {4080, 960, 3600, 1380});
    auto& continuous = add(K::OptionButton, "BS_Verweis_fortlaufend", "Sequentially", "fortlaufend",
                           {180, 300, 3300, 285}, &sequence);
    auto& cyclic =
        add(K::OptionButton, "BS_Verweis_umlaufend", "Circulating", "umlaufend", {180, 660, 3300, 285}, &sequence);
    auto& bounded =
        add(K::OptionButton, "BS_Verweis_begrenzt", "Limited", "begrenzt", {180, 1020, 3300, 285}, &sequence);
    auto& head = add(K::CheckBox, "DisableZantoScript", "DisableZantoScript",
                     "ZantoScript im Dokumentenkopf ausschalten", {360, 2520, 7260, 300});
    auto& date = add(K::CheckBox, "BS_HTML_Erstelldatum", "Date", "Erstelldatum", {360, 2880, 7260, 300});

    join_option_group("BS_Verweisfolge", {&continuous, &cyclic, &bounded});
    declare_events({PageEvent::BaumAnpassen});

    // Bound in the order the page fills its controls.
    bind_master_switch(master, ValueTarget::entry(kSetGeneratePicpage));
    bind_check_box(extended, ValueTarget::entry(kSetHtmlBildNavExtended));
    bind_bit_set({{&above_title, 4}, {&above_description, 16}, {&below_description, 32}},
                 ValueTarget::entry(kSetHtmlBildRefPos));
    bind_option_group({{&continuous, 1}, {&cyclic, 2}, {&bounded, 3}}, ValueTarget::entry(kSetHtmlBildVerweisfolge), {},
                      true);
    bind_check_box(head, ValueTarget::entry(kSetHtmlBildHeadDisable));
    bind_check_box(date, ValueTarget::entry(kSetHtmlBildPrintDate));
}

}  // namespace galvora
