#include "options/options_dialog.h"

#include <cmath>

#include "foundation/language.h"
#include "foundation/log.h"
#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "foundation/registry.h"
#include "generation/settings_access.h"
#include "app/options_handoff.h"
#include "options/directory_sort.h"
#include "options/hand_off.h"
#include "options/page_services.h"
#include "profile/profile_hooks.h"
#include "profile/profiles.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

constexpr int kZantoscriptFile = 79;

// The boxes in the order the load step places them and adds their fixed nodes.
constexpr int kLoadOrder[] = {16, 7, 0, 12, 18, 13, 1, 11, 17, 6, 19, 5, 14, 2, 3, 4};

// Pages in the order InitDialog fills them (the include file's script page
// is not among them: the include path's change reloads it).
constexpr PageSlot kFillOrder[] = {
    PageSlot::CAllgemeines1,    PageSlot::CProfil1,        PageSlot::CDateifilter1,   PageSlot::CClonen1,
    PageSlot::CClonenUmbenennen1, PageSlot::CClonenEffekte1, PageSlot::CThumbnails1,  PageSlot::CZantoScript2,
    PageSlot::CHTML1,           PageSlot::CHTMLSortierung1, PageSlot::CDeko1,          PageSlot::CHTMLStartseite1,
    PageSlot::CHTMLIndex1,      PageSlot::CHTMLThumbnails1, PageSlot::CHTMLBildseite1};

constexpr double kPx = 15;
TwipRect px(double left, double top, double width, double height) {
    return {left * kPx, top * kPx, width * kPx, height * kPx};
}

bool is_layout_box(int box) {
    return box == kBoxThumbLayout || box == kBoxIndexLayout || box == kBoxPicLayout || box == kBoxFrameLayout;
}

std::unique_ptr<Optionen>& instance() {
    static std::unique_ptr<Optionen> dialog;
    return dialog;
}

}  // namespace

const std::array<PageBox, kPageBoxCount>& page_boxes() {
    static const std::array<PageBox, kPageBoxCount> boxes = {{
        {"OptionsFile", 1003, 7, true},
        {"OptionsThumbnails", 1011, 7, true},
        {"OptionsHTMLIndex", 1004, 6, false},
        {"OptionsHTMLThumbnail", 1009, 6, false},
        {"OptionsHTMLImage", 1010, 6, false},
        {"OptionsDeco", 1015, 6, false},
        {"OptionsHTML", 1005, 7, true},
        {"OptionsProfile", 1001, -1, true},
        {"OptionsHTMLThumbnailPage", 1007, 3, false},
        {"OptionsHTMLIndexPage", 1008, 2, false},
        {"OptionsHTMLImagePage", 1006, 4, false},
        {"OptionsZantoScript", 1002, 7, true},
        {"OptionsCloning", 1012, 7, true},
        {"OptionsCloningEffects", 1023, 12, false},
        {"OptionsHTMLFrame", 1020, 6, false},
        {"OptionsHTMLFramePage", 1021, 14, false},
        {"OptionsGenerally", 1017, -1, true},
        {"OptionsZantoScriptInclude", 1002, 11, true},
        {"OptionsCloningRename", 1016, 12, false},
        {"OptionsHTMLSort", 1025, 6, false},
    }};
    return boxes;
}

// ---------------------------------------------------------------- load step

Optionen::Optionen()
    : OptionPage("Optionen", 12360, 9300), editor_(*this), include_(*this), layout_(*this) {
    log_line("Optionen LOAD START");
    build_controls();
    for (PageSlot slot : all_page_slots()) pages_[static_cast<size_t>(slot)] = make_page(slot);
    editor_.build();
    include_.build();
    connect_page_events();

    // Design captions become the built-in German texts; then the current language.
    if (ZNLanguage* german = sprache_deutsch()) german->AddForm(*this);
    InitLanguage();

    // The button row is centred under the tree.
    const TwipRect tree = control("Optionen_Baum").state().place;
    TwipRect& buttons = control("Frame_Button").state().place;
    buttons.left = tree.left + (tree.width - buttons.width) / 2;

    place_pages();
    layout_.messen();

    tree_.select(PageTree::key_of(kBoxProfile));
    Optionen_Baum_NodeClick(PageTree::key_of(kBoxProfile));
    editor_.record_design_tops();
    log_line("Optionen LOAD END");
}

Optionen::~Optionen() = default;

void Optionen::build_controls() {
    using K = PageControlKind;
    add(K::Custom, "Optionen_Baum", "", "", {120, 120, 3000, 6000});
    PageControl& heading = add(K::PictureBox, "Überschrift_Box", "", "", {3240, 120, 9000, 420});
    PageControl& title = add(K::Label, "Überschrift_Titel", "", "Optionen", {120, 75, 8760, 300}, &heading);
    title.state().bold = true;
    title.state().font_size = 10;
    PageControl& buttons = add(K::PictureBox, "Frame_Button", "", "", {300, 6240, 2640, 495});
    add(K::Button, "OK", "OK", "OK", {60, 60, 1200, 375}, &buttons);
    add(K::Button, "Abbrechen", "Cancel", "Abbrechen", {1380, 60, 1200, 375}, &buttons);
    for (int b = 0; b < kPageBoxCount; ++b) {
        PageControl& box = add(K::PictureBox, "Boxoptionen", page_boxes()[static_cast<size_t>(b)].tag, "", {}, nullptr, b);
        box.state().visible = false;
    }
    PageControl& editor = add(K::PictureBox, "Frame_Tagdefinition", "", "", {0, 0, 9000, 2250});
    editor.state().visible = false;
    add(K::Label, "Tag_Info_Bezeichnung", "TagDescription", "Tagbezeichnung", {0, 0, 6000, 255}, &editor);
    add(K::Label, "tag_input_pos", "", "zeile, spalte", {6600, 0, 2400, 255}, &editor).state().alignment = 1;
    add(K::MultiLineTextBox, "Tag_Input", "", "", {0, 270, 9000, 1980}, &editor);
    PageControl& test = add(K::PictureBox, "FrameSyntaxTest", "", "", {0, 0, 1500, 495});
    test.state().visible = false;
    add(K::Button, "SyntaxTest", "SyntaxTest", "Syntaxtest", {75, 60, 1350, 375}, &test).state().enabled = false;
    PageControl& sample = add(K::PictureBox, "BeispielImage", "", "", px(0, 0, 200, 200));
    sample.state().visible = false;
    sample.state().picture = "BeispielImage";
    PageControl& tile = add(K::PictureBox, "Hintergrund", "", "", px(0, 0, 32, 32));
    tile.state().visible = false;
    tile.state().picture = "Hintergrund";

    on(control("OK"), ControlEvent::Click, [this](ControlEventArgs&) { OK_Click(); });
    on(control("Abbrechen"), ControlEvent::Click, [this](ControlEventArgs&) { Abbrechen_Click(); });
}

void Optionen::place_pages() {
    const TwipRect line = control("ZNSDatei").state().place;
    const TwipRect button = control("ZNSDateiButton").state().place;
    const double line_height = button.top + button.height + 8 * kPx;
    for (int b : kLoadOrder) {
        const PageBox& info = page_boxes()[static_cast<size_t>(b)];
        if (info.fixed) add_node(b, info.parent);
        TwipRect& box = this->box(b).state().place;
        OptionPage* page = nullptr;
        for (PageSlot slot : all_page_slots())
            if (page_slot_box(slot) == b && seite(slot) != nullptr) page = seite(slot);
        if (b == kBoxIncludeFile) {
            // The script page stays under the include line, at its own place.
            box.width = std::max(line.width, page != nullptr ? page->Width() : 0.0);
            box.height = line_height + (page != nullptr ? page->Height() : 0.0);
            if (page != nullptr) page->Move(0, line_height, page->Width(), page->Height());
            continue;
        }
        box.width = page != nullptr ? std::nearbyint(page->Width()) : 0;
        box.height = page != nullptr ? std::nearbyint(page->Height()) : 0;
        if (page != nullptr) page->Move(0, 0, page->Width(), page->Height());
    }
}

void Optionen::connect_page_events() {
    for (auto& page : pages_)
        if (page) connect_events(*page);
}

void Optionen::connect_events(OptionPage& page) {
    // Each event has one answer, whichever page raises it; a page raises only
    // the events it declares.
    page.connect(PageEvent::BaumAnpassen, [this] { OptionenBaumAufbauen(); });
    page.connect(PageEvent::AuswerteebeneGeändert, [this] { seite_laden(PageSlot::CHTMLThumbnails1); });
    page.connect(PageEvent::ClonenVerändert, [this] { seite_laden(PageSlot::CThumbnails1); });
    page.connect(PageEvent::VerteilungVerändert, [this] { seite_laden(PageSlot::CHTMLIndex1); });
}

// ---------------------------------------------------------------- tree

void Optionen::add_node(int box, int parent) {
    const std::string parent_key = parent < 0 ? std::string() : PageTree::key_of(parent);
    tree_.add(PageTree::key_of(box), parent_key, inq("Optionen", page_boxes()[static_cast<size_t>(box)].tag), box);
}

void Optionen::remove_node(int box) { tree_.remove(PageTree::key_of(box)); }

void Optionen::OptionenBaumAufbauen() {
    if (switch_is_on(profilwert(kSetGenerateClones))) {
        add_node(18, 12);
        add_node(13, 12);
    } else {
        remove_node(18);
        remove_node(13);
    }
    request_tree_rebuild();
    apply_directory_sort();
    if (switch_is_on(profilwert(kSetGenerateHtml))) {
        for (int b : {19, 5, 14, 2, 3, 4}) add_node(b, 6);
        if (switch_is_on(profilwert(kSetGenerateFrame))) {
            add_node(15, 14);
        } else {
            remove_node(15);
        }
        if (switch_is_on(profilwert(kSetGenerateIndex))) {
            add_node(9, 2);
            control("shape_pfadgruppierung").state().visible = switch_is_on(profilwert(kSetHtmlIndexGroup));
        } else {
            remove_node(9);
        }
        if (switch_is_on(profilwert(kSetGenerateThumbpages))) {
            add_node(8, 3);
        } else {
            remove_node(8);
        }
        if (switch_is_on(profilwert(kSetGeneratePicpage))) {
            add_node(10, 4);
        } else {
            remove_node(10);
        }
    } else {
        for (int b : {19, 5, 14, 2, 3, 4}) remove_node(b);
    }
    changed();
}

void Optionen::Optionen_Baum_NodeClick(const std::string& key) {
    const PageTreeNode* node = tree_.node(key);
    if (node == nullptr) return;
    control("Frame_Tagdefinition").state().visible = false;
    control("SyntaxTest").state().enabled = false;
    control("FrameSyntaxTest").state().visible = false;
    for (int b = 0; b < kPageBoxCount; ++b) box(b).state().visible = false;

    const int b = node->tag;
    std::string title = node->text;
    tree_.select(key);
    box(b).state().visible = true;
    shown_box_ = b;
    help_context_ = page_boxes()[static_cast<size_t>(b)].help_context;
    const PageTreeNode* parent = tree_.node(node->parent);
    const std::string with_parent = parent != nullptr ? parent->text + ", " + node->text : node->text;
    auto resize = [this] {
        if (layout_.width > 0 && layout_.height > 0) layout_.Form_Resize(layout_.width, layout_.height);
    };

    if (is_layout_box(b)) {
        title = with_parent;
        editor_.aufbauen(b);
        editor_.TagPositionAnzeigen();
        PageControl& editor = control("Frame_Tagdefinition");
        const TwipRect& place = box(b).state().place;
        editor.state().visible = true;
        editor.state().place.left = place.left;
        editor.state().place.top = place.top + place.height + layout_.baum_links;
        control("SyntaxTest").state().enabled = true;
        control("FrameSyntaxTest").state().visible = true;
        resize();
        request(control("Tag_Input"), ViewRequest::Focus);
    } else if (b == 0 || b == 11) {
        resize();
    } else if (b == 13 || b == 18) {
        title = with_parent;
    } else if (b == kBoxIncludeFile) {
        title = with_parent;
        resize();
    }
    control("Überschrift_Titel").state().caption = title;
    changed();
}

void Optionen::user_expanded(const std::string& key, bool expanded) {
    tree_.set_expanded(key, expanded);
    changed();
}

// ---------------------------------------------------------------- reload and language

std::string Optionen::caption_text() const { return product_name() + " " + inq("Optionen", "Options"); }

void Optionen::InitDialog() {
    log_line("Optionen InitDialog START");
    auto profile = aktuelles_profil();
    caption_ = caption_text() + " - " + (profile ? profile->Name() : std::string());
    control("SyntaxTest").state().enabled = false;
    for (PageSlot slot : kFillOrder) {
        if (slot == PageSlot::CProfil1 && seite(slot) == nullptr) {
            // The profile page raises BaumAnpassen while it fills; until it
            // exists, the tree follows the profile at its place.
            OptionenBaumAufbauen();
            continue;
        }
        seite_laden(slot);
    }
    include_.set_path(profilwert(kZantoscriptFile));
    log_line("Optionen InitDialog END");
    changed();
}

void Optionen::InitLanguage() {
    log_line("Optionen InitLaguage START");
    editor_.language_texts();
    editor_.TagHinweiseSetzen();
    if (ZNLanguage* current = aktuelle_sprache()) current->InitForm(*this);
    auto profile = aktuelles_profil();
    caption_ = caption_text() + (profile ? " - " + profile->Name() : std::string());
    for (int b = 0; b < kPageBoxCount; ++b)
        tree_.set_text(PageTree::key_of(b), inq("Optionen", page_boxes()[static_cast<size_t>(b)].tag));
    if (PageControl* first = find("HTML_ID_Eintrag", 0)) {
        for (int i = 1; PageControl* entry = find("HTML_ID_Eintrag", i); ++i)
            entry->state().caption = first->state().caption;
    }
    control("ZNSDateiBezeichnung").state().caption = inq("Optionen", "ZNSFile");
    if (const PageTreeNode* node = tree_.node(tree_.selected())) {
        if (is_layout_box(node->tag)) {
            const PageTreeNode* parent = tree_.node(node->parent);
            control("Überschrift_Titel").state().caption =
                (parent != nullptr ? parent->text + ", " : std::string()) + node->text;
            control("Tag_Info_Bezeichnung").state().caption = TemplateEditor::description(editor_.TagIndex);
            editor_.TagPositionAnzeigen();
        } else {
            control("Überschrift_Titel").state().caption = node->text;
        }
    }
    for (PageSlot slot : all_page_slots())
        if (OptionPage* page = seite(slot)) page->InitLanguage();
    log_line("Optionen InitLaguage END");
    changed();
}

void Optionen::seite_laden(PageSlot slot) {
    if (OptionPage* page = seite(slot)) page->InitDialog();
}

void Optionen::seite_einsetzen(PageSlot slot, std::unique_ptr<OptionPage> page) {
    auto& held = pages_[static_cast<size_t>(slot)];
    held = std::move(page);
    if (held) connect_events(*held);
    changed();
}

OptionPage* Optionen::seite_in_box(int box) const {
    for (PageSlot slot : all_page_slots())
        if (page_slot_box(slot) == box) return seite(slot);
    return nullptr;
}

// ---------------------------------------------------------------- OK and Cancel

void Optionen::OK_Click() {
    // A click on OK takes the focus from the template text box, whose losing
    // it stores an edit; OK by keyboard must not lose that edit.
    editor_.Tag_Input_LostFocus();
    profilaenderungen_uebernehmen();
    verbergen(true);
}

void Optionen::Abbrechen_Click() {
    editor_.Tag_Input_LostFocus();
    const std::string remembered = tree_.selected();
    if (profilaenderungen_verwerfen_fragen() != ID_YES) return;
    auswahl_zuruecknehmen();
    tree_.select(remembered);
    if (tree_.selected().empty()) tree_.select(PageTree::key_of(kBoxProfile));
    Optionen_Baum_NodeClick(tree_.selected());
    verbergen(false);
}

bool Optionen::Form_QueryUnload(int unload_mode) {
    if (unload_mode != 0) return false;
    Abbrechen_Click();
    return true;
}

void Optionen::zeigen() {
    shown_ = true;
    ok_ = false;
    // What Cancel goes back to: the language and the profile the dialog
    // opened with, which the pages change the moment they are chosen.
    const ZNLanguage* language = aktuelle_sprache();
    sprache_beim_oeffnen_ = language != nullptr ? language->SprachID() : std::string();
    profil_beim_oeffnen_ = aktuelles_profil();
    vorheriges_beim_oeffnen_ = registry_lesen("LastSession", "profileprevious", "");
    changed();
}

void Optionen::auswahl_zuruecknehmen() {
    const std::shared_ptr<ZNProfil> before = profil_beim_oeffnen_;
    if (before && before != aktuelles_profil()) {
        // Back to the profile of the opening, as it stands on disk now; a
        // profile deleted meanwhile cannot come back, and the switch stays.
        const std::shared_ptr<ZNProfil> again =
            before->art() == kProfileDefault ? standardprofil() : profil_per_name(before->Name());
        if (again) {
            profil_laden(again);
            ProfileSwitched = false;
            if (registry_lesen("LastSession", "profileprevious", "") != vorheriges_beim_oeffnen_)
                registry_schreiben("LastSession", "profileprevious", vorheriges_beim_oeffnen_);
        }
    }
    const ZNLanguage* language = aktuelle_sprache();
    if (!sprache_beim_oeffnen_.empty() && language != nullptr && language->SprachID() != sprache_beim_oeffnen_) {
        sprache_waehlen(sprache_beim_oeffnen_);
        if (page_services().main_window_language) page_services().main_window_language();
        InitLanguage();
    }
}

void Optionen::verbergen(bool by_ok) {
    shown_ = false;
    ok_ = by_ok;
    changed();
}

// ---------------------------------------------------------------- the one instance

Optionen& optionen() {
    auto& dialog = instance();
    if (!dialog) dialog = std::make_unique<Optionen>();
    return *dialog;
}

bool optionen_vorhanden() { return instance() != nullptr; }

void optionen_freigeben() { instance().reset(); }

void optionen_anmelden() { profile_hooks().options_dialog_reload = [] { optionen().InitDialog(); }; }

void optionen_groesse_speichern() {
    if (!optionen_vorhanden()) return;
    const DialogLayout& layout = optionen().layout();
    if (layout.width <= 0 || layout.height <= 0) return;
    registry_schreiben("Administration", "owidth", std::to_string(static_cast<int32_t>(std::nearbyint(layout.width))));
    registry_schreiben("Administration", "oheigth",
                       std::to_string(static_cast<int32_t>(std::nearbyint(layout.height))));
}

}  // namespace galvora
