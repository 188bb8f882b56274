#include "options/pages/deco_page.h"

#include "foundation/dialog_helpers.h"
#include "foundation/path_helpers.h"
#include "generation/settings_access.h"
#include "app/common_dialogs.h"
#include "profile/settings_table.h"

namespace galvora {

CDeko::CDeko() : OptionPage("CDeko", 7800, 2160) {
    using K = PageControlKind;
    add(K::Label, "Label", "Directory", "Deko-Verzeichnis", {120, 165, 2400, 255});
    auto& path = add(K::TextBox, "decopath", "", "", {2640, 120, 2400, 315});
    path.state().text = "deco";
    auto& copy = add(K::CheckBox, "DekoClonen", "UseDecopool", "Deko-Quelle nutzen", {120, 660, 7500, 300});
    auto& ever = add(K::CheckBox, "DekoImmerKopieren", "Copy",
                     "Deko-Dateien immer kopieren, auch wenn schon vorhanden", {360, 1020, 7320, 300});
    auto& choose = add(K::Button, "DekoSammelpfadFestlegen", "Decosource", "Deko-Quelle", {360, 1500, 1680, 375});
    auto& source = add(K::TextBox, "DekoSammelPfad", "", "", {2160, 1530, 5520, 315});
    source.state().text = "Deko-Pool";
    source.state().back_colour = kSysWindowBackground;

    // Bound in the order the page fills its controls.
    bind_name_box(path, ValueTarget::entry(kSetDecoPath),
                  {.default_name = "deco",
                   .invalid_key = "ErrDecoInvalidCharacter",
                   .missing_key = "ErrDecoMissingName",
                   .requests_tree_rebuild = true});
    // The box shows the full path of the source; the entry holds the pool
    // folder's name or the full path of any other folder.
    on(source, ControlEvent::Change, [this](ControlEventArgs& args) { source_changed(args.control); });
    fill_step([this, &source] {
        set_text(source, dekopool_pfad(profilwert(kSetDecoSource)));
        source_changed(source);
    });
    bind_check_box(copy, ValueTarget::entry(kSetDecoCopy), [this, &copy, &source] {
        const bool on = copy.state().value == 1;
        enable_source(on);
        if (on) {
            if (source.state().text.empty()) set_text(source, dekopool_pfad("standard"));
        } else if (!filling()) {
            // The user's untick forgets the source; a profile that is being
            // loaded keeps the one it stores.
            set_text(source, "");
        }
    });
    fill_step([this, &copy] { enable_source(copy.state().value == 1); });
    bind_check_box(ever, ValueTarget::entry(kSetDecoCopyEver));
    bind_folder_button(choose, source,
                       {.root = kOrdnerArbeitsplatz,
                        .flags = kOrdnerKeinNeuerOrdner,
                        .prompt_key = "DecoSourceSelect",
                        .caption_key = "DecoSource"});
}

void CDeko::enable_source(bool on) {
    for (const char* name : {"DekoImmerKopieren", "DekoSammelpfadFestlegen", "DekoSammelPfad"})
        control(name).set_enabled(on);
}

void CDeko::source_changed(PageControl& box) {
    const std::string& text = box.state().text;
    if (text.empty()) {
        box.state().back_colour = kSysWindowBackground;
    } else {
        box.state().back_colour = verzeichnis_existiert(text, 2) ? kLightGreen : kLightRed;
    }
    // A folder inside the pool is stored by its path below the pool. Paths
    // compare exactly: a folder whose name differs in letter case is another
    // folder here.
    const std::string prefix = dekopool_pfad("");
    if (text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0) {
        profilwert_setzen(kSetDecoSource, text.substr(prefix.size()));
    } else {
        profilwert_setzen(kSetDecoSource, text);
    }
}

}  // namespace galvora
