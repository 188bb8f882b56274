#pragma once
// The options dialog `Optionen` as a model: its page tree, its twenty page
// boxes (sixteen option pages, four template layouts), the title line, OK
// and Cancel, the HTML template editor, the include script file and the
// layout on resize. It is itself a form of controls (an OptionPage), so its
// own captions, boxes and editor are state a view shows like any page's.
//
// There is one instance for the life of the program (optionen()); it is made
// the first time a profile is applied and afterwards only shown and hidden.
// The window program shows it modally through optionen_zeigen
// (gui/options/options_dialog_view.h); a program without windows still has
// it, so the pages derive the same run state from a profile in both.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "options/dialog_layout.h"
#include "options/include_file.h"
#include "options/option_page.h"
#include "options/page_slots.h"
#include "options/page_tree.h"
#include "options/template_editor.h"

namespace galvora {

class ZNProfil;

inline constexpr int kPageBoxCount = 20;
// The four boxes that hold a template layout instead of a page.
inline constexpr int kBoxThumbLayout = 8;
inline constexpr int kBoxIndexLayout = 9;
inline constexpr int kBoxPicLayout = 10;
inline constexpr int kBoxFrameLayout = 15;
inline constexpr int kBoxProfile = 7;
inline constexpr int kBoxIncludeFile = 17;

// One page box: its language key, its help topic, and where its tree node goes.
struct PageBox {
    const char* tag;
    int help_context;
    // The box whose node is the parent; -1 for a root.
    int parent;
    // True for the eight nodes the dialog always has.
    bool fixed;
};
const std::array<PageBox, kPageBoxCount>& page_boxes();

class Optionen : public OptionPage {
public:
    // Runs the load step: pages, boxes, the fixed tree nodes, the texts, the
    // profile page shown. The pages are not filled: InitDialog does that.
    Optionen();
    ~Optionen() override;

    // ---- operations of the dialog
    // Sets the caption and reloads every page from the working profile.
    void InitDialog() override;
    // Applies the current language to the dialog, its tree, the editor and every page.
    void InitLanguage() override;
    // Brings the conditional nodes in line with the working profile, asks the
    // main window for a new directory tree and sets its directory order.
    void OptionenBaumAufbauen();
    // Shows the page of a node (the view calls it when the user picks a node).
    void Optionen_Baum_NodeClick(const std::string& key);
    void OK_Click();
    void Abbrechen_Click();
    // The window's close request. Mode 0 (the user closed it) is refused and
    // runs Cancel; every other mode lets the unload go through. True when the
    // unload is refused.
    bool Form_QueryUnload(int unload_mode);
    // The tree's expansion changed by the user.
    void user_expanded(const std::string& key, bool expanded);

    // ---- showing
    // Marks the dialog shown (modal over the main window). OK, Cancel and the
    // close box hide it again.
    void zeigen();
    bool sichtbar() const { return shown_; }
    // True when the last hiding was by OK.
    bool ok_gedrueckt() const { return ok_; }

    // ---- state a view shows
    const PageTree& baum() const { return tree_; }
    // The box shown; -1 before the first node click.
    int sichtbare_box() const { return shown_box_; }
    int help_context() const { return help_context_; }
    // The page of a slot; nullptr while that page is not built.
    OptionPage* seite(PageSlot slot) const { return pages_[static_cast<size_t>(slot)].get(); }
    // The page in a box; nullptr for the layout boxes, the empty ones and 17's
    // include line (whose page is CZantoScript1).
    OptionPage* seite_in_box(int box) const;
    PageControl& box(int index) const { return control("Boxoptionen", index); }

    TemplateEditor& editor() { return editor_; }
    IncludeFile& include() { return include_; }
    DialogLayout& layout() { return layout_; }
    const DialogLayout& layout() const { return layout_; }

    // Calls a page's InitDialog when the page exists.
    void seite_laden(PageSlot slot);
    // Puts a page into a slot in place of the one make_page gave (a page
    // made elsewhere; the tests' stand-ins). Its box keeps its size.
    void seite_einsetzen(PageSlot slot, std::unique_ptr<OptionPage> page);

    // The dialog's caption ("Galvora Optionen - <profile>").
    std::string caption() const override { return caption_; }
    void set_caption(const std::string& text) override { caption_ = text; }

private:
    friend class TemplateEditor;
    friend class IncludeFile;
    friend class DialogLayout;

    void build_controls();
    void place_pages();
    void connect_page_events();
    void connect_events(OptionPage& page);
    void add_node(int box, int parent);
    void remove_node(int box);
    // Hides the dialog; `by_ok` tells OK from Cancel.
    void verbergen(bool by_ok);
    // Cancel: the language and the profile chosen since the dialog was shown
    // are taken back, in the program and in the registry.
    void auswahl_zuruecknehmen();
    std::string caption_text() const;

    std::array<std::unique_ptr<OptionPage>, kPageSlotCount> pages_;
    PageTree tree_;
    TemplateEditor editor_;
    IncludeFile include_;
    DialogLayout layout_;
    std::string caption_;
    int shown_box_ = -1;
    int help_context_ = 0;
    bool shown_ = false;
    bool ok_ = false;
    std::string sprache_beim_oeffnen_;
    std::shared_ptr<ZNProfil> profil_beim_oeffnen_;
    std::string vorheriges_beim_oeffnen_;
};

// The program's one options dialog, made (and its load step run) on first use.
Optionen& optionen();
// True once the dialog exists.
bool optionen_vorhanden();
// Unloads the dialog (at program end; tests use it to start afresh).
void optionen_freigeben();

}  // namespace galvora
