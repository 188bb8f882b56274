#include "foundation/sorting.h"

#include <chrono>
#include <random>

namespace galvora {

namespace sorting_detail {

std::uint64_t random_below(std::uint64_t bound) {
    // One generator for the whole run, seeded once.
    static std::mt19937_64 generator = [] {
        std::random_device device;
        std::seed_seq seed{static_cast<std::uint64_t>(device()),
                           static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
        return std::mt19937_64(seed);
    }();
    if (bound <= 1) return 0;
    std::uniform_int_distribution<std::uint64_t> pick(0, bound - 1);
    return pick(generator);
}

}  // namespace sorting_detail

void verzeichnisse_sortieren(std::span<Verzeichnissatz> records, int kind, int direction) {
    sorting_detail::sort_by_kind(records, kind, direction, [kind](const Verzeichnissatz& a, const Verzeichnissatz& b) {
        switch (kind) {
            case kSortName: return utf8_compare_nocase(a.name, b.name) > 0;
            case kSortDate: return a.zeitstempel > b.zeitstempel;
            case kSortPictureCount: return a.bildanzahl > b.bildanzahl;
            default: return false;
        }
    });
}

}  // namespace galvora
