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
    using namespace sorting_detail;
    if (kind == kSortNone || records.empty()) return;
    if (kind == kSortRandom) {
        random_order(records);
        return;
    }
    auto run = [&](auto greater) {
        shell_sort(records, greater);
        if (direction == kSortDown) reverse_contents(records);
    };
    switch (kind) {
        case kSortName:
            run([](const Verzeichnissatz& a, const Verzeichnissatz& b) { return utf8_compare_nocase(a.name, b.name) > 0; });
            break;
        case kSortDate:
            run([](const Verzeichnissatz& a, const Verzeichnissatz& b) { return a.zeitstempel > b.zeitstempel; });
            break;
        case kSortPictureCount:
            run([](const Verzeichnissatz& a, const Verzeichnissatz& b) { return a.bildanzahl > b.bildanzahl; });
            break;
        default:
            run([](const Verzeichnissatz&, const Verzeichnissatz&) { return false; });
            break;
    }
}

}  // namespace galvora
