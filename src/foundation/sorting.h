#pragma once
// In-place sorts of the picture-file records of a directory, of the directory
// records of a run and of the items of an image combo box. Both use the same Shell sort (gaps 2^k - 1 down
// to 1) and reverse the whole list afterwards for the descending direction, so
// equal keys keep no promised order; both also offer a random order.
//
// The picture sort is a template so it serves any record with the picture-file
// fields ODateiname, ODatum, OBytes, ODimX and ODimY, given either as public
// data members or as getter functions, and lists holding records directly or
// through pointers. Records are exchanged by content (through the record's
// `copy` when it has one), so a reference to a record keeps its place.
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "foundation/directory_record.h"
#include "foundation/string_helpers.h"

namespace galvora {

enum SortKind : int {
    kSortNone = 0,
    kSortName = 1,
    kSortDate = 2,
    kSortSize = 3,
    kSortDimension = 4,
    kSortRandom = 5,
    kSortPictureCount = 6,
    kSortNatural = 7,
};
enum SortDirection : int { kSortUp = 0, kSortDown = 1 };

namespace sorting_detail {

// Seeded once per run from the clock and the system's entropy.
std::uint64_t random_below(std::uint64_t bound);

template <class T>
decltype(auto) record_of(T& element) {
    if constexpr (requires { *element; element.operator->(); }) {
        return *element;
    } else if constexpr (std::is_pointer_v<T>) {
        return *element;
    } else {
        return (element);
    }
}

// A field read either as data member or through its getter.
#define GALVORA_RECORD_FIELD(field)                                        \
    template <class R>                                                     \
    decltype(auto) field_##field(const R& r) {                             \
        if constexpr (requires { r.field(); }) {                           \
            return r.field();                                              \
        } else {                                                           \
            return (r.field);                                              \
        }                                                                  \
    }
GALVORA_RECORD_FIELD(ODateiname)
GALVORA_RECORD_FIELD(ODatum)
GALVORA_RECORD_FIELD(OBytes)
GALVORA_RECORD_FIELD(ODimX)
GALVORA_RECORD_FIELD(ODimY)
GALVORA_RECORD_FIELD(text)
#undef GALVORA_RECORD_FIELD

template <class R>
void exchange_contents(R& a, R& b) {
    if (&a == &b) return;
    if constexpr (requires(R& x, R& y) { x.copy(y); }) {
        R spare{};
        a.copy(spare);
        b.copy(a);
        spare.copy(b);
    } else {
        R spare = std::move(a);
        a = std::move(b);
        b = std::move(spare);
    }
}

template <class R>
void copy_contents(const R& from, R& to) {
    if constexpr (requires(const R& x, R& y) { x.copy(y); }) {
        from.copy(to);
    } else {
        to = from;
    }
}

// The Shell sort on positions 0..n-1; greater(a, b) tells whether a sorts after b.
template <class E, class Greater>
void shell_sort(std::span<E> items, Greater greater) {
    const std::size_t n = items.size();
    if (n < 1) return;
    const int k = static_cast<int>(std::log(static_cast<double>(n)) / std::log(2.0));
    std::size_t gap = (std::size_t{1} << k) - 1;
    // Floating-point log may land just below a whole number for exact powers of two.
    if (((gap + 1) << 1) <= n) gap = ((gap + 1) << 1) - 1;
    for (; gap > 0; gap /= 2) {
        for (std::size_t i = 0; i + gap < n; ++i) {
            for (std::size_t j = i + 1; j >= 1; j -= gap) {
                E& left = items[j - 1];
                E& right = items[j - 1 + gap];
                if (!greater(record_of(left), record_of(right))) break;
                exchange_contents(record_of(left), record_of(right));
                if (j <= gap) break;
            }
        }
    }
}

template <class E>
void reverse_contents(std::span<E> items) {
    const std::size_t n = items.size();
    for (std::size_t p = 0; p < n / 2; ++p) exchange_contents(record_of(items[p]), record_of(items[n - 1 - p]));
}

// Every record to a random free slot, then back in slot order.
template <class E>
void random_order(std::span<E> items) {
    using R = std::remove_cvref_t<decltype(record_of(items[0]))>;
    const std::size_t n = items.size();
    std::vector<std::size_t> slot_of(n);
    std::vector<bool> taken(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t slot = 0;
        do {
            slot = static_cast<std::size_t>(random_below(n));
        } while (taken[slot]);
        taken[slot] = true;
        slot_of[i] = slot;
    }
    std::vector<R> target(n);
    for (std::size_t i = 0; i < n; ++i) copy_contents(record_of(items[i]), target[slot_of[i]]);
    for (std::size_t i = 0; i < n; ++i) copy_contents(target[i], record_of(items[i]));
}

// What every sort does by kind: nothing for kind 0, the random order for kind
// 5, else the Shell sort with the kind's comparison (one that never answers
// true for kinds without effect) and, for direction 1, the reversal.
template <class E, class Greater>
void sort_by_kind(std::span<E> items, int kind, int direction, Greater greater) {
    if (kind == kSortNone || items.empty()) return;
    if (kind == kSortRandom) {
        random_order(items);
        return;
    }
    shell_sort(items, greater);
    if (direction == kSortDown) reverse_contents(items);
}

}  // namespace sorting_detail

// Sorts picture-file records (for a count below the list's size, pass the
// first `count` records as a span). Kinds: 1 name (lower case), 2 date, 3 size,
// 4 larger of width and height, 5 random, 7 name in natural order; others keep
// the order. Direction 1 is descending.
template <class E>
void bilddateien_sortieren(std::span<E> records, int kind, int direction) {
    using namespace sorting_detail;
    sort_by_kind(records, kind, direction, [kind](const auto& a, const auto& b) {
        switch (kind) {
            case kSortName: return utf8_compare_nocase(field_ODateiname(a), field_ODateiname(b)) > 0;
            case kSortDate: return field_ODatum(a) > field_ODatum(b);
            case kSortSize: return field_OBytes(a) > field_OBytes(b);
            case kSortDimension:
                return maximum_long({static_cast<double>(field_ODimX(a)), static_cast<double>(field_ODimY(a))}) >
                       maximum_long({static_cast<double>(field_ODimX(b)), static_cast<double>(field_ODimY(b))});
            case kSortNatural: return natuerlich_vergleichen(field_ODateiname(a), field_ODateiname(b)) == 1;
            default: return false;
        }
    });
}

template <class E>
void bilddateien_sortieren(std::vector<E>& records, int kind, int direction) {
    bilddateien_sortieren(std::span<E>(records), kind, direction);
}

// Sorts directory records. Kinds: 1 name (lower case), 2 time stamp, 5 random,
// 6 picture count; others keep the order. Direction 1 is descending.
void verzeichnisse_sortieren(std::span<Verzeichnissatz> records, int kind, int direction);
inline void verzeichnisse_sortieren(std::vector<Verzeichnissatz>& records, int kind, int direction) {
    verzeichnisse_sortieren(std::span<Verzeichnissatz>(records), kind, direction);
}

// Sorts the items of an image combo box by their text, ascending, without
// regard to letter case. An item is anything with a `text` member or getter;
// whole items move, so key, picture and tag go with their text.
template <class Item>
void imagecombo_sortieren(std::span<Item> items) {
    using namespace sorting_detail;
    shell_sort(items, [](const auto& a, const auto& b) { return utf8_compare_nocase(field_text(a), field_text(b)) > 0; });
}
template <class Item>
void imagecombo_sortieren(std::vector<Item>& items) {
    imagecombo_sortieren(std::span<Item>(items));
}

}  // namespace galvora
