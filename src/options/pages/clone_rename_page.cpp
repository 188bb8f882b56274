#include "options/pages/clone_rename_page.h"

#include <algorithm>

#include "foundation/string_helpers.h"
#include "generation/settings_access.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

using K = PageControlKind;

}  // namespace

CClonenUmbenennen::CClonenUmbenennen() : OptionPage("CClonenUmbenennen", 9000, 5160) {
    PageControl& master = add(K::CheckBox, "CloneUmbenennen", "Rename", "Clone umbenennen", {120, 120, 6000, 300});
    add(K::Label, "Label0", "Mask", "Clonename-Maske", {120, 600, 3000, 255}, nullptr, 1);
    PageControl& mask = add(K::TextBox, "RenameMaske", "", "", {3240, 555, 3000, 315});
    add(K::Label, "Label0", "MaskHint", "(Platzhalter: %=Verzeichnis, $=Dateiname, #=Nummer)",
        {3240, 900, 5640, 255}, nullptr, 6);
    add(K::Label, "Label0", "Digits", "Anzahl Ziffern der fortlaufenden Nummer", {120, 1365, 4200, 255}, nullptr, 0);
    add(K::TextBox, "RenameZiffern", "", "", {4440, 1320, 480, 315}).state().text = "4";
    PageControl& digits = add(K::ScrollBar, "RenameVScroll", "", "", {4920, 1305, 255, 345});
    digits.state().minimum = 1;
    digits.state().maximum = 10;
    digits.state().value = 4;

    PageControl& case_frame =
        add(K::Frame, "RenameSchreibweiseFrame", "Case", "Groß/Klein-Schreibweise", {120, 1860, 3600, 1500});
    add(K::OptionButton, "RenameSchreibweise", "Unchanged", "unverändert", {180, 270, 3300, 270}, &case_frame, 0);
    add(K::OptionButton, "RenameSchreibweise", "Lowercase", "alles Kleinbuchstaben", {180, 570, 3300, 270},
        &case_frame, 1);
    add(K::OptionButton, "RenameSchreibweise", "Uppercase", "alles Großbuchstaben", {180, 870, 3300, 270},
        &case_frame, 2);

    PageControl& replace =
        add(K::Frame, "RenameErsatzFrame", "Replace", "Textersatz im Dateinamen", {3840, 1860, 5040, 1500});
    add(K::Label, "Label0", "Search", "zu ersetzende Textstellen (Trenner ist ,)", {180, 270, 4680, 255}, &replace, 2);
    PageControl& find = add(K::TextBox, "RenameSuche", "", "", {180, 525, 4680, 285}, &replace);
    add(K::Label, "Label0", "Replacement", "Textersatz (Trenner ist ,)", {180, 840, 4680, 255}, &replace, 3);
    PageControl& replacement = add(K::TextBox, "RenameErsatz", "", "", {180, 1095, 4680, 285}, &replace);

    PageControl& samples =
        add(K::Frame, "RenameBeispieleFrame", "Samples", "Ergebnisbeispiele", {120, 3540, 8760, 1200});
    add(K::Label, "Label0", "", "", {180, 330, 3300, 255}, &samples, 4);
    add(K::Label, "Label0", "", "", {180, 720, 3300, 255}, &samples, 5);
    add(K::Label, "RenameBeispiele", "", "", {3600, 330, 5000, 255}, &samples, 0);
    add(K::Label, "RenameBeispiele", "", "", {3600, 720, 5000, 255}, &samples, 1);

    // Bound in the order the page fills its controls.
    bind_master_switch(master, ValueTarget::entry(kSetCloneRename));
    bind_text(mask, ValueTarget::entry(kSetCloneRenameMask), WriteOn::Change, [this] {
        ZeigeBeispiele();
        InitDialog();
    });
    // The spinner shows its value in the box beside it before it is written.
    on(digits, ControlEvent::Change, [this](ControlEventArgs& args) {
        control("RenameZiffern").state().text = std::to_string(args.control.state().value);
    });
    bind_slider(digits, ValueTarget::entry(kSetCloneRenameDigits), [this] { ZeigeBeispiele(); });
    bind_text(find, ValueTarget::entry(kSetCloneRenameFind), WriteOn::Change, [this] { ZeigeBeispiele(); });
    bind_text(replacement, ValueTarget::entry(kSetCloneRenameReplace), WriteOn::Change, [this] { ZeigeBeispiele(); });
    bind_option_group("RenameSchreibweise", ValueTarget::entry(kSetCloneRenameCase), [this] { ZeigeBeispiele(); });
}

void CClonenUmbenennen::narrower_rules() {
    // A digit count the spinner cannot show is shown at its nearest end
    // without being written; the box beside it shows the same.
    control("RenameZiffern").state().text = std::to_string(control("RenameVScroll").state().value);
    const bool replacing = control("RenameMaske").state().text.find('$') != std::string::npos;
    PageControl& frame = control("RenameErsatzFrame");
    frame.state().enabled = replacing;
    steuerelemente_aktivieren(*this, frame, replacing);
}

void CClonenUmbenennen::language_texts() {
    sample_directory_ = text_of("RenameClonesDir");
    sample_file1_ = text_of("RenameClonesFile1");
    sample_file2_ = text_of("RenameClonesFile2");
    ZeigeBeispiele();
}

void CClonenUmbenennen::ZeigeBeispiele() {
    const std::string mask = profilwert(kSetCloneRenameMask);
    const int digits = entry_as_int32(profilwert(kSetCloneRenameDigits)).value_or(0);
    const int case_mode = entry_as_int32(profilwert(kSetCloneRenameCase)).value_or(0);
    const std::string find = profilwert(kSetCloneRenameFind);
    const std::string replacement = profilwert(kSetCloneRenameReplace);
    control("Label0", 4).state().caption = sample_file1_;
    control("Label0", 5).state().caption = sample_file2_;
    control("RenameBeispiele", 0).state().caption = umbenennungsmaske_anwenden(
        mask, digits, find, replacement, case_mode, sample_directory_, sample_file1_, 1);
    control("RenameBeispiele", 1).state().caption = umbenennungsmaske_anwenden(
        mask, digits, find, replacement, case_mode, sample_directory_, sample_file2_, 2);
}

}  // namespace galvora
