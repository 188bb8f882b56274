#pragma once
// The page "ZantoScript" (twice in the dialog: the profile's own script
// modules, and the modules of the include script file): a list of the
// modules with their status (red: the last syntax test failed, gold: not
// tested since read or changed, green: the last test passed), new, delete and
// delete all, and the script editor with the selected module's text.
//
// The page edits the modules of the list it is given, never the settings.
// An edit reaches the module when the editor loses the focus; a syntax test
// compiles the editor's text, sets the status and shows the compiler's
// message, and leaves nothing compiled behind.
// A load changes no state on purpose beyond the controls.
#include <memory>
#include <vector>

#include "options/option_page.h"
#include "options/pages/script_editor.h"

namespace galvora {

class ZNModul;
class ZNModule;

class CZantoScript : public OptionPage {
public:
    explicit CZantoScript(ZNModule& modules);

    bool has_bottom_border() const override { return true; }
    void BottomBorderHeight(int32_t twips) override;
    // The list the page shows (set before InitDialog).
    void Module(ZNModule& modules) { modules_ = &modules; }
    ZNModule& Module() const { return *modules_; }

    CZantoScriptModul& editor() { return editor_; }
    // The module shown in the editor; nullptr when none.
    const std::shared_ptr<ZNModul>& current_module() const { return current_; }

protected:
    void fill() override;
    void language_texts() override;
    void resized() override;

private:
    void FuelleModulliste();
    void ZeigeModul();
    void new_module();
    void delete_module(const std::string& name);
    void syntax_test();
    void status_reset();
    void store_edit();
    void set_item_image(int32_t status);

    ZNModule* modules_;
    CZantoScriptModul editor_;
    // The module of each list item, in the list's order.
    std::vector<std::shared_ptr<ZNModul>> item_modules_;
    std::shared_ptr<ZNModul> current_;
};

// The picture of a module status in the list ("rot", "gold", "grün").
std::string module_status_image(int32_t status);

}  // namespace galvora
