#include "app/options_handoff.h"

#include <string>

#include "app/base_directory.h"
#include "app/main_window.h"
#include "app/main_window_view.h"
#include "app/run_start.h"
#include "app/selection_tree_build.h"
#include "foundation/messages.h"
#include "foundation/registry.h"
#include "generation/run_port.h"
#include "generation/settings_access.h"
#include "profile/number_text.h"
#include "profile/profiles.h"

namespace galvora {

bool TreeRebuildRequested = false;
bool ProfileSwitched = false;

namespace {

std::string current_profile_name() {
    auto profile = aktuelles_profil();
    return profile ? profile->Name() : std::string();
}

}  // namespace

void MenueOptionenClick(Startdialog& window, const std::function<void()>& dialog_zeigen) {
    TreeRebuildRequested = false;
    ProfileSwitched = false;
    const std::string previous_base = window.basisverzeichnis;
    const std::string previous_profile = current_profile_name();

    if (dialog_zeigen) dialog_zeigen();

    int32_t level = 0;
    DirectoryLevel = text_to_int32(setting_text(kSetDirLevel), level) ? level : 0;
    run_port().process_events();

    if (ProfileSwitched) {
        AbwahlSpeichern(window.baum, previous_base, previous_profile);
        BasisverzeichnisMerken(window, previous_base);
        double switch_value = 0;
        if (text_to_number(registry_lesen("LastSession", "profilelastbasedir", "0"), switch_value) &&
            switch_value == 1.0) {
            const std::string name = current_profile_name();
            const std::string last_base = registry_lesen("ProfilesLastData", name, "");
            if (!last_base.empty()) {
                if (!BasisverzeichnisSetzen(window, last_base))
                    meldung(program_title(), MB_ICON_INFORMATION, "ErrProfileMissingLastBasedir", {name, last_base});
                TreeRebuildRequested = false;
            }
        }
    }
    if (TreeRebuildRequested) AuswahlBaumAufbauen(window, DirectoryLevel);
    CloneverzeichnisEinstellen(window);
    if (window.ansicht != nullptr) window.ansicht->aktualisieren();
}

}  // namespace galvora
