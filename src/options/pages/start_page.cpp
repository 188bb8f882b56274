#include "options/pages/start_page.h"

#include "generation/settings_access.h"

namespace galvora {

CHTMLStartseite::CHTMLStartseite() : OptionPage("CHTMLStartseite", 7800, 2280) {
    using K = PageControlKind;
    auto& master = add(K::CheckBox, "mit_HTML_Frameseite", "Create", "HTML-Startseite erzeugen", {120, 120, 7500, 300});
    add(K::Label, "Label", "FileName", "Startseite-Dateiname", {360, 645, 2400, 255});
    auto& name = add(K::TextBox, "html_framefile_name", "", "", {2880, 600, 2400, 315});
    auto& base = add(K::CheckBox, "Frame_in_Basisverzeichnis", "Base", "Startseite im Basisverzeichnis",
                     {360, 1140, 7260, 300});
    auto& head = add(K::CheckBox, "DisableZantoScript", "DisableZantoScript",
                     "ZantoScript im Dokumentenkopf ausschalten", {360, 1500, 7260, 300});

    declare_events({PageEvent::BaumAnpassen});

    // Bound in the order the page fills its controls.
    bind_master_switch(master, ValueTarget::entry(kSetGenerateFrame));
    bind_name_box(name, ValueTarget::entry(kSetHtmlFrameFilename),
                  {.default_name = "start",
                   .invalid_key = "ErrFrameInvalidCharacter",
                   .missing_key = "ErrFrameMissingName",
                   .missing_key_only_when_empty = true,
                   .message_first = true});
    bind_check_box(base, ValueTarget::entry(kSetHtmlFrameInBasedir));
    bind_check_box(head, ValueTarget::entry(kSetHtmlFrameHeadDisable));
}

}  // namespace galvora
