#include "options/pages/script_modules_page.h"


#include "foundation/messages.h"
#include "options/editor_text.h"
#include "options/page_services.h"
#include "profile/script_modules.h"
#include "script/compiler.h"
#include "script/engine.h"

namespace galvora {

namespace {

constexpr const char* kCompilerTitle = "ZantoScript Compiler";

}  // namespace

std::string module_status_image(int32_t status) {
    switch (status) {
        case kModuleCompileError: return "rot";
        case kModuleNotCompiled: return "gold";
        case kModuleCompiled: return "grün";
        default: return {};
    }
}

CZantoScript::CZantoScript(ZNModule& modules) : OptionPage("CZantoScript", 8400, 5880), modules_(&modules) {
    using K = PageControlKind;
    auto& list = add(K::ComboBox, "Modulliste", "", "", {0, 0, 3600, 330});
    auto& create = add(K::Button, "Modul_Neu_Button", "New", "neu", {3720, 0, 1200, 345});
    auto& remove = add(K::Button, "Modul_löschen_Button", "Delete", "löschen", {5040, 0, 1200, 345});
    auto& remove_all = add(K::Button, "ModulAlleLöschen_Button", "DeleteAll", "alle löschen", {6360, 0, 1560, 345});
    add(K::Custom, "ModulInhalt", "", "", {0, 480, 8400, 5400});
    editor_.Move(0, 0, 8400, 5400);
    editor_.set_listener([this] { changed(); });

    on(list, ControlEvent::GotFocus, [this](ControlEventArgs& args) { request(args.control, ViewRequest::DropDown); });
    on(list, ControlEvent::Click, [this](ControlEventArgs&) { ZeigeModul(); });
    on(create, ControlEvent::Click, [this](ControlEventArgs&) { new_module(); });
    on(remove, ControlEvent::Click, [this](ControlEventArgs&) {
        const PageControl& box = control("Modulliste");
        if (box.state().value >= 0 && box.state().value < static_cast<int32_t>(box.state().items.size()))
            delete_module(box.state().items[static_cast<size_t>(box.state().value)].text);
        FuelleModulliste();
        ZeigeModul();
    });
    on(remove_all, ControlEvent::Click, [this](ControlEventArgs&) {
        const std::vector<ListItem> items = control("Modulliste").state().items;
        for (const ListItem& item : items) delete_module(item.text);
        FuelleModulliste();
        ZeigeModul();
    });
    editor_.connect(PageEvent::SyntaxTest, [this] { syntax_test(); });
    editor_.connect(PageEvent::SyntaxStatusReset, [this] { status_reset(); });
    editor_.text_lost_focus = [this] { store_edit(); };
}

void CZantoScript::BottomBorderHeight(int32_t twips) { editor_.BottomBorderHeight(twips); }

void CZantoScript::fill() {
    editor_.Enabled(false);
    FuelleModulliste();
    ZeigeModul();
}

void CZantoScript::language_texts() {
    editor_.InitLanguage();
    editor_.Titel(text_of("ModuleContent"));
}

void CZantoScript::resized() { editor_.fill_below(control("ModulInhalt"), Width(), Height()); }

void CZantoScript::FuelleModulliste() {
    PageControl& list = control("Modulliste");
    list.set_enabled(false);
    list.state().items.clear();
    list.state().text.clear();
    list.state().value = -1;
    item_modules_.clear();
    for (const auto& module : *modules_) {
        list.state().items.push_back({module->Name(), "M" + module->Name(), module_status_image(module->status())});
        item_modules_.push_back(module);
    }
    if (!item_modules_.empty()) {
        list.set_enabled(true);
        list.state().value = 0;
    }
}

void CZantoScript::ZeigeModul() {
    const PageControl& list = control("Modulliste");
    const int32_t chosen = list.state().value;
    const bool any = chosen >= 0 && chosen < static_cast<int32_t>(item_modules_.size());
    control("Modul_löschen_Button").set_enabled(any);
    control("ModulAlleLöschen_Button").set_enabled(any);
    if (!any) {
        current_ = nullptr;
        editor_.ModulInhalt("");
        editor_.Enabled(false);
        changed();
        return;
    }
    current_ = item_modules_[static_cast<size_t>(chosen)];
    const int32_t status = current_->status();
    editor_.ModulInhalt(current_->inhalt());
    editor_.Enabled(true);
    current_->status(status);
    set_item_image(status);
    editor_.focus_text();
    changed();
}

void CZantoScript::set_item_image(int32_t status) {
    PageControl& list = control("Modulliste");
    const int32_t chosen = list.state().value;
    if (chosen >= 0 && chosen < static_cast<int32_t>(list.state().items.size()))
        list.state().items[static_cast<size_t>(chosen)].image_key = module_status_image(status);
}

void CZantoScript::new_module() {
    const std::shared_ptr<ZNModul> created =
        page_services().modul_neu ? page_services().modul_neu(*modules_) : nullptr;
    if (!created) return;
    FuelleModulliste();
    PageControl& list = control("Modulliste");
    for (size_t i = 0; i < list.state().items.size(); ++i)
        if (list.state().items[i].key == "M" + created->Name()) list.state().value = static_cast<int32_t>(i);
    ZeigeModul();
}

void CZantoScript::delete_module(const std::string& name) {
    if (modules_->item(name) == nullptr) return;
    modules_->remove(name);
    // The module's compiled functions go with it.
    if (ZNS* engine = zns()) engine->fkt_oba.lösche_modul(name);
}

void CZantoScript::syntax_test() {
    if (!current_) return;
    const std::string name = current_->Name();
    const std::string text = editor_.ModulInhalt();
    if (zns() == nullptr) script_objekt_anlegen();
    const int32_t result = uebersetze(0, 1, name, text);
    int style = MB_ICON_INFORMATION;
    if (result != 0) {
        set_item_image(kModuleCompileError);
        // The compiler counts in the stored text, whose lines end in CR LF.
        editor_.ModulPos(editor_position(text, fehler_position()));
        current_->status(kModuleCompileError);
        style = MB_ICON_EXCLAMATION;
    } else {
        set_item_image(kModuleCompiled);
        current_->status(kModuleCompiled);
    }
    const std::string compiler_text = fehlermeldung();
    // A test leaves nothing compiled behind.
    zns()->fkt_oba.lösche_ausser_intern();
    changed();
    meldung(kCompilerTitle, style, "ErrModuleLastErr", {name, compiler_text});
}

void CZantoScript::status_reset() {
    if (!current_) return;
    current_->status(kModuleNotCompiled);
    set_item_image(kModuleNotCompiled);
    changed();
}

void CZantoScript::store_edit() {
    if (!current_) return;
    const std::string text = editor_.ModulInhalt();
    // Line ends alone are no edit (a module read with LF keeps them).
    if (editor_text(current_->inhalt()) == editor_text(text)) return;
    current_->verändert(true);
    current_->inhalt(text);
}

}  // namespace galvora
