#include "options/include_file.h"

#include <string_view>

#include "app/script_file.h"
#include "foundation/language.h"
#include "foundation/path_helpers.h"
#include "options/options_dialog.h"
#include "platform/dialog_port.h"
#include "profile/profile_lists.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

constexpr int kZantoscriptFile = 79;
constexpr double kPx = 15;

TwipRect px(double left, double top, double width, double height) {
    return {left * kPx, top * kPx, width * kPx, height * kPx};
}

// A file dialog filter of description and pattern pairs, each item ended by NUL.
std::string filter_of(std::initializer_list<std::string_view> items) {
    std::string filter;
    for (std::string_view item : items) {
        filter += item;
        filter += '\0';
    }
    return filter;
}

}  // namespace

IncludeFile::IncludeFile(Optionen& dialog) : dialog_(dialog) {}

void IncludeFile::build() {
    using K = PageControlKind;
    Optionen& d = dialog_;
    PageControl& box = d.box(kBoxIncludeFile);
    d.add(K::Label, "ZNSDateiBezeichnung", "", "ZantoScript-Datei", px(0, 0, 600, 17), &box);
    PageControl& path = d.add(K::TextBox, "ZNSDatei", "", "", px(0, 18, 600, 22), &box);
    path.state().back_colour = kSysWindowBackground;
    d.add(K::Button, "ZNSDateiButton", "ZNSFileOpen", "Öffnen …", px(0, 46, 110, 25), &box);
    d.add(K::Button, "ZNSDateiSaveButton", "ZNSFileSave", "Speichern", px(118, 46, 110, 25), &box);
    d.add(K::Button, "ZNSDateiSaveAsButton", "ZNSFileSaveAs", "Speichern unter …", px(236, 46, 130, 25), &box);
    d.add(K::Button, "ZNSDateiResetAsButton", "ZNSFileReset", "Zurücksetzen", px(374, 46, 110, 25), &box);

    d.on(path, ControlEvent::Change, [this](ControlEventArgs&) { ZNSDatei_Change(); });
    d.on(d.control("ZNSDateiButton"), ControlEvent::Click, [this](ControlEventArgs&) { ZNSDateiButton_Click(); });
    d.on(d.control("ZNSDateiSaveButton"), ControlEvent::Click,
         [this](ControlEventArgs&) { ZNSDateiSaveButton_Click(); });
    d.on(d.control("ZNSDateiSaveAsButton"), ControlEvent::Click,
         [this](ControlEventArgs&) { ZNSDateiSaveAsButton_Click(); });
    d.on(d.control("ZNSDateiResetAsButton"), ControlEvent::Click,
         [this](ControlEventArgs&) { ZNSDateiResetAsButton_Click(); });
}

const std::string& IncludeFile::path() const { return dialog_.control("ZNSDatei").state().text; }

void IncludeFile::set_path(const std::string& path) { dialog_.set_text(dialog_.control("ZNSDatei"), path); }

void IncludeFile::ZNSDatei_Change() {
    PageControl& box = dialog_.control("ZNSDatei");
    const std::string text = box.state().text;
    ScriptFileModules().clear();
    ScriptFileModules().verändert_reset();
    if (text.empty()) {
        box.state().back_colour = kSysWindowBackground;
    } else if (verzeichnis_existiert(text, 1)) {
        box.state().back_colour = ZNSLoad(text) ? kLightGreen : kLightRed;
    } else {
        box.state().back_colour = kLightRed;
    }
    profilwert_setzen(kZantoscriptFile, text);
    dialog_.seite_laden(PageSlot::CZantoScript1);
    dialog_.changed();
}

void IncludeFile::ZNSDateiButton_Click() {
    const std::string chosen = dialog_port().ShowFileDialog(
        false, filter_of({inq("Optionen", "ZNSFile"), "*.zsf", "*.*", "*.*"}), path(), "",
        inq("Optionen", "ZNSFileSelect"), 0);
    if (chosen.empty()) return;
    // Through the empty text first, so that choosing the file shown already reloads it.
    set_path("");
    set_path(chosen);
}

void IncludeFile::ZNSDateiSaveAsButton_Click() {
    const std::string chosen =
        dialog_port().ShowFileDialog(true, filter_of({inq("Optionen", "ZNSFile"), "*.zsf"}), "", "",
                                     inq("Optionen", "ZNSFileSelect"), kFileDialogOverwritePrompt);
    if (chosen.empty() || !ZNSStore(chosen)) return;
    set_path(chosen);
    dialog_.control("ZNSDatei").state().back_colour = kLightGreen;
    dialog_.changed();
}

void IncludeFile::ZNSDateiSaveButton_Click() {
    const std::string current = path();
    if (current.empty()) return;
    dialog_.control("ZNSDatei").state().back_colour = ZNSStore(current) ? kLightGreen : kLightRed;
    dialog_.changed();
}

void IncludeFile::ZNSDateiResetAsButton_Click() { set_path(""); }

}  // namespace galvora
