#include "options/directory_sort.h"

#include "app/main_window.h"
#include "generation/settings_access.h"
#include "options/value_encodings.h"
#include "profile/settings_table.h"

namespace galvora {

namespace {

constexpr int kDirSort = 28;
constexpr int kDirSortDirection = 29;

}  // namespace

void apply_directory_sort() {
    if (switch_is_on(profilwert(kSetGenerateHtml))) {
        DirSortKind = entry_as_int32(profilwert(kDirSort)).value_or(1);
        DirSortDirection = entry_as_int32(profilwert(kDirSortDirection)).value_or(0);
    } else {
        DirSortKind = 1;
        DirSortDirection = 0;
    }
}

}  // namespace galvora
