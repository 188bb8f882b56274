#include "options/pages/file_filter_page.h"

#include <string_view>

#include "foundation/messages.h"
#include "generation/settings_access.h"
#include "options/editor_text.h"
#include "options/page_services.h"
#include "profile/profile_script.h"
#include "profile/settings_table.h"
#include "script/compiler.h"

namespace galvora {

namespace {

constexpr int kPcdFormat = 32;
constexpr int kJp2Box = 10;
constexpr int kPcdBox = 4;

struct TypeBox {
    const char* caption;
    int entry;
};
// In the order of the boxes' indices.
constexpr TypeBox kTypes[] = {{"bmp", 3},  {"emf, wmf", 4}, {"gif", 5},  {"jpg", 6},  {"pcd", 8},  {"pcx", 9},
                              {"png", 10}, {"psd", 11},     {"tga", 13}, {"tif", 14}, {"jp2", 7}, {"raw", 12}};

// The picture oracle is compiled as the one code block of a template.
constexpr std::string_view kOracleOpen = "{\r\n";
constexpr std::string_view kOracleClose = "\r\n}";

}  // namespace

int CDateifilter::type_entry(int box) { return kTypes[static_cast<size_t>(box)].entry; }

CDateifilter::CDateifilter() : OptionPage("CDateifilter", 8400, 7080) {
    using K = PageControlKind;
    auto& types = add(K::Frame, "FrameBildarten", "ImageTypes", "Bildtypen", {0, 0, 5040, 1620});
    // Four columns; the hidden JP2 box keeps the place after the others.
    for (int i = 0; i < 12; ++i) {
        const int slot = i == kJp2Box ? 11 : i == 11 ? 10 : i;
        add(K::CheckBox, "bild_art", "", kTypes[i].caption,
            {180 + 1200.0 * (slot % 4), 270 + 300.0 * (slot / 4), 1140, 285}, &types, i);
    }
    auto& all = add(K::Button, "AlleFormate", "SelectAll", "alle auswählen", {3000, 1200, 1860, 345}, &types);

    auto& pcd = add(K::Frame, "FramePCDFormat", "PCDFormat", "PhotoCD-Auflösung", {5160, 0, 3000, 780});
    auto& resolution = add(K::ComboBox, "PCD_FormatAuswahl", "", "", {180, 300, 2160, 315}, &pcd);
    for (const char* text : {"  192 x   128", "  384 x   256", "  768 x   512", "1536 x 1024", "3072 x 2048",
                             "6144 x 4096"})
        resolution.state().items.push_back({text, "", ""});

    auto& level = add(K::Frame, "FrameAuswertelevel", "Level", "Auswerteebene", {0, 1680, 8160, 1200});
    const char* const levels[][2] = {{"Level0", "Basisverzeichnis"},
                                     {"Level1", "Unterverzeichnisse des Basisverzeichnisses"},
                                     {"Level2", "UnterUnterverzeichnisse des Basisverzeichnisses"}};
    for (int i = 0; i < 3; ++i)
        add(K::OptionButton, "Auswertelevel", levels[i][0], levels[i][1], {180, 270 + 285.0 * i, 7800, 270}, &level, i);

    add(K::Label, "Label", "FileName", "Dateinamen-Maske", {0, 3045, 2400, 255});
    auto& mask = add(K::TextBox, "dateinamen", "", "", {2520, 3000, 2400, 315});
    add(K::Custom, "ModulInhalt", "", "", {0, 3480, 8400, 3600});
    editor_.Move(0, 0, 8400, 3600);
    editor_.set_listener([this] { changed(); });

    declare_events({PageEvent::AuswerteebeneGeändert});

    // Bound in the order the page fills its controls.
    bind_option_group("Auswertelevel", ValueTarget::entry(kSetDirLevel), [this] {
        request_tree_rebuild();
        raise(PageEvent::AuswerteebeneGeändert);
    });
    fill_step([this] {
        PageControl& jp2 = control("bild_art", kJp2Box);
        jp2.state().visible = false;
        jp2.set_enabled(false);
    });
    for (int i = 0; i < 12; ++i) {
        PageControl& box = control("bild_art", i);
        bind_check_box(box, ValueTarget::entry(kTypes[i].entry), [this, i, &box] {
            request_tree_rebuild();
            if (i == kPcdBox) control("FramePCDFormat").set_enabled(box.state().value == 1);
        });
        on(box, ControlEvent::MouseUp, [this, i](ControlEventArgs& args) {
            if (args.button != kRightButton) return;
            if (page_services().dateiarten) page_services().dateiarten(kTypes[i].entry + 12);
            request_tree_rebuild();
        });
    }
    // The resolutions are available while Photo CD pictures are taken.
    fill_step([this] { control("FramePCDFormat").set_enabled(control("bild_art", kPcdBox).state().value == 1); });
    fill_step([this, &resolution] {
        const std::optional<int32_t> format = entry_as_int32(profilwert(kPcdFormat));
        if (format && *format >= 1 && *format <= 6) {
            set_value(resolution, *format - 1);
        } else {
            resolution.state().value = -1;
        }
    });
    on(resolution, ControlEvent::Click, [](ControlEventArgs& args) {
        if (args.control.state().value < 0) return;
        profilwert_setzen(kPcdFormat, std::to_string(args.control.state().value + 1));
        request_tree_rebuild();
    });
    bind_text(mask, ValueTarget::entry(kSetFilter), WriteOn::Change, [] { request_tree_rebuild(); });
    on(mask, ControlEvent::LostFocus, [this](ControlEventArgs& args) {
        if (!args.control.state().text.empty()) return;
        set_text(args.control, "*");
        message("ErrMissingTemplate");
    });
    fill_step([this] { editor_.ModulInhalt(profilwert(kSetImageOracle)); });

    on(all, ControlEvent::Click, [this](ControlEventArgs&) {
        // Ticks every type offered; nothing is ever unticked here.
        for (int i = 0; i < 12; ++i) {
            PageControl& box = control("bild_art", i);
            if (box.state().visible) set_value(box, 1);
        }
    });
    editor_.connect(PageEvent::SyntaxTest, [this] { oracle_test(); });
    editor_.text_lost_focus = [this] { store_oracle(); };
}

void CDateifilter::BottomBorderHeight(int32_t twips) { editor_.BottomBorderHeight(twips); }

void CDateifilter::language_texts() {
    editor_.InitLanguage();
    editor_.Titel(text_of("ImageOracle"));
}

void CDateifilter::resized() { editor_.fill_below(control("ModulInhalt"), Width(), Height()); }

void CDateifilter::store_oracle() {
    request_tree_rebuild();
    // Line ends alone are no edit.
    const std::string text = editor_.ModulInhalt();
    if (editor_text(profilwert(kSetImageOracle)) != editor_text(text)) profilwert_setzen(kSetImageOracle, text);
}

void CDateifilter::oracle_test() {
    script_engine_frisch();
    const std::string source = std::string(kOracleOpen) + editor_.ModulInhalt() + std::string(kOracleClose);
    const int32_t result = uebersetze(0, 0, "_oracle", source);
    if (result != 0) {
        // The position counts in the wrapped text; the editor shows the oracle alone.
        editor_.ModulPos(editor_position(source, fehler_position(), static_cast<int32_t>(kOracleOpen.size())));
    }
    const std::string compiler_text = fehlermeldung();
    // The test leaves the engine as a profile's apply leaves it.
    script_engine_frisch();
    changed();
    meldung("ZantoScript Compiler", result != 0 ? MB_ICON_EXCLAMATION : MB_ICON_INFORMATION, "ErrOracleLastErr",
            {compiler_text});
}

}  // namespace galvora
