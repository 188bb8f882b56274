#include "foundation/sorting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace galvora;

namespace {

// A picture-file record with public fields, as the picture scanner fills them.
struct PlainRecord {
    std::string ODateiname;
    std::string ODateiart;
    double ODatum = 0;
    std::int32_t OBytes = 0;
    std::int32_t ODimX = 0;
    std::int32_t ODimY = 0;
};

// A record with getters and a copy operation, shared by reference.
class SharedRecord {
public:
    SharedRecord() = default;
    SharedRecord(std::string name, std::int32_t bytes) : name_(std::move(name)), bytes_(bytes) {}
    const std::string& ODateiname() const { return name_; }
    double ODatum() const { return 0; }
    std::int32_t OBytes() const { return bytes_; }
    std::int32_t ODimX() const { return 0; }
    std::int32_t ODimY() const { return 0; }
    void copy(SharedRecord& target) const {
        target.name_ = name_;
        target.bytes_ = bytes_;
        ++copies;
    }
    static inline int copies = 0;

private:
    std::string name_;
    std::int32_t bytes_ = 0;
};

std::vector<PlainRecord> named(const std::vector<std::string>& names) {
    std::vector<PlainRecord> records;
    for (const auto& n : names) records.push_back(PlainRecord{n, "jpg", 0, 0, 0, 0});
    return records;
}

std::vector<std::string> names_of(const std::vector<PlainRecord>& records) {
    std::vector<std::string> names;
    for (const auto& r : records) names.push_back(r.ODateiname);
    return names;
}

}  // namespace

TEST(Sorting, PicturesByNameAndNaturalName) {
    auto records = named({"pic10", "Pic2", "pic1"});
    bilddateien_sortieren(records, kSortName, kSortUp);
    EXPECT_EQ(names_of(records), (std::vector<std::string>{"pic1", "pic10", "Pic2"}));
    bilddateien_sortieren(records, kSortNatural, kSortUp);
    EXPECT_EQ(names_of(records), (std::vector<std::string>{"pic1", "Pic2", "pic10"}));
    bilddateien_sortieren(records, kSortNatural, kSortDown);
    EXPECT_EQ(names_of(records), (std::vector<std::string>{"pic10", "Pic2", "pic1"}));
}

TEST(Sorting, PicturesByDateSizeAndDimension) {
    std::vector<PlainRecord> records = {
        {"a", "jpg", 3.5, 300, 100, 900},
        {"b", "jpg", 1.25, 900, 800, 600},
        {"c", "jpg", 2.0, 100, 700, 50},
    };
    bilddateien_sortieren(records, kSortDate, kSortUp);
    EXPECT_EQ(names_of(records), (std::vector<std::string>{"b", "c", "a"}));
    bilddateien_sortieren(records, kSortSize, kSortDown);  // largest file first
    EXPECT_EQ(names_of(records), (std::vector<std::string>{"b", "a", "c"}));
    bilddateien_sortieren(records, kSortDimension, kSortUp);  // by the larger side: 700, 800, 900
    EXPECT_EQ(names_of(records), (std::vector<std::string>{"c", "b", "a"}));
    // The whole record moves, not only the key.
    EXPECT_EQ(records[0].OBytes, 100);
    EXPECT_DOUBLE_EQ(records[2].ODatum, 3.5);
}

TEST(Sorting, KindsWithoutEffect) {
    const auto original = named({"c", "a", "b"});
    for (int kind : {0, 6, 8, -1}) {
        auto records = original;
        bilddateien_sortieren(records, kind, kSortUp);
        EXPECT_EQ(names_of(records), names_of(original)) << kind;
    }
    // A kind without effect still runs the sort, so the descending direction reverses the list.
    auto records = original;
    bilddateien_sortieren(records, kSortPictureCount, kSortDown);
    EXPECT_EQ(names_of(records), (std::vector<std::string>{"b", "a", "c"}));
    // Kind 0 does nothing at all, whatever the direction.
    records = original;
    bilddateien_sortieren(records, kSortNone, kSortDown);
    EXPECT_EQ(names_of(records), names_of(original));
    // A single record stays.
    auto one = named({"x"});
    bilddateien_sortieren(one, kSortName, kSortDown);
    EXPECT_EQ(names_of(one), std::vector<std::string>{"x"});
    std::vector<PlainRecord> none;
    bilddateien_sortieren(none, kSortName, kSortUp);
}

TEST(Sorting, AgreesWithAStableSortOnManyRecords) {
    std::mt19937 generator(12345);
    for (std::size_t n : {2u, 7u, 8u, 9u, 64u, 1000u}) {
        std::vector<PlainRecord> records;
        for (std::size_t i = 0; i < n; ++i) {
            records.push_back(PlainRecord{"p" + std::to_string(i), "jpg", 0,
                                          static_cast<std::int32_t>(generator() % 50), 0, 0});
        }
        std::vector<std::int32_t> expected;
        for (const auto& r : records) expected.push_back(r.OBytes);
        std::sort(expected.begin(), expected.end());
        bilddateien_sortieren(records, kSortSize, kSortUp);
        std::vector<std::int32_t> sizes;
        for (const auto& r : records) sizes.push_back(r.OBytes);
        EXPECT_EQ(sizes, expected) << n;
    }
}

TEST(Sorting, SharedRecordsExchangeContentsThroughCopy) {
    std::vector<std::shared_ptr<SharedRecord>> list = {
        std::make_shared<SharedRecord>("b", 2), std::make_shared<SharedRecord>("a", 1),
        std::make_shared<SharedRecord>("c", 3)};
    const SharedRecord* first_slot = list[0].get();
    SharedRecord::copies = 0;
    bilddateien_sortieren(list, kSortName, kSortUp);
    EXPECT_GT(SharedRecord::copies, 0);
    // The slots keep their objects; the contents move.
    EXPECT_EQ(list[0].get(), first_slot);
    EXPECT_EQ(list[0]->ODateiname(), "a");
    EXPECT_EQ(list[1]->ODateiname(), "b");
    EXPECT_EQ(list[2]->OBytes(), 3);
    // Only the part passed is sorted.
    std::vector<PlainRecord> partly = named({"", "z", "y"});
    bilddateien_sortieren(std::span<PlainRecord>(partly).subspan(1), kSortName, kSortUp);
    EXPECT_EQ(names_of(partly), (std::vector<std::string>{"", "y", "z"}));
}

TEST(Sorting, RandomOrderIsAPermutation) {
    std::vector<PlainRecord> records;
    for (int i = 0; i < 50; ++i) records.push_back(PlainRecord{"p" + std::to_string(i), "jpg", 0, i, 0, 0});
    auto first = records;
    auto second = records;
    bilddateien_sortieren(first, kSortRandom, kSortUp);
    bilddateien_sortieren(second, kSortRandom, kSortDown);
    auto sizes = [](const std::vector<PlainRecord>& list) {
        std::vector<std::int32_t> s;
        for (const auto& r : list) s.push_back(r.OBytes);
        return s;
    };
    auto sorted_first = sizes(first);
    std::sort(sorted_first.begin(), sorted_first.end());
    EXPECT_EQ(sorted_first, sizes(records));
    // Fifty records in the same order twice would be a one in 50! chance.
    EXPECT_NE(sizes(first), sizes(second));
    EXPECT_NE(sizes(first), sizes(records));
}

TEST(Sorting, Directories) {
    auto make = [] {
        std::vector<Verzeichnissatz> records(3);
        records[0].name = "beta";
        records[0].zeitstempel = 2;
        records[0].bildanzahl = 5;
        records[1].name = "Alpha";
        records[1].zeitstempel = 3;
        records[1].bildanzahl = 1;
        records[2].name = "gamma";
        records[2].zeitstempel = 1;
        records[2].bildanzahl = 9;
        return records;
    };
    auto names = [](const std::vector<Verzeichnissatz>& records) {
        std::vector<std::string> n;
        for (const auto& r : records) n.push_back(r.name);
        return n;
    };
    struct Case { int kind, direction; std::vector<std::string> expected; };
    const std::vector<Case> cases = {
        {kSortName, kSortUp, {"Alpha", "beta", "gamma"}},
        {kSortName, kSortDown, {"gamma", "beta", "Alpha"}},
        {kSortDate, kSortUp, {"gamma", "beta", "Alpha"}},
        {kSortPictureCount, kSortDown, {"gamma", "beta", "Alpha"}},
        {kSortSize, kSortUp, {"beta", "Alpha", "gamma"}},  // no effect on directories
        {kSortNatural, kSortUp, {"beta", "Alpha", "gamma"}},
        {kSortNone, kSortDown, {"beta", "Alpha", "gamma"}},
    };
    for (const auto& c : cases) {
        auto records = make();
        verzeichnisse_sortieren(records, c.kind, c.direction);
        EXPECT_EQ(names(records), c.expected) << c.kind << "/" << c.direction;
    }
    // Whole records move with their names.
    auto records = make();
    verzeichnisse_sortieren(records, kSortPictureCount, kSortUp);
    EXPECT_EQ(records[0].name, "Alpha");
    EXPECT_DOUBLE_EQ(records[0].zeitstempel, 3);
    // Only the records passed take part.
    records = make();
    verzeichnisse_sortieren(std::span<Verzeichnissatz>(records.data(), 2), kSortName, kSortUp);
    EXPECT_EQ(names(records), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    records = make();
    verzeichnisse_sortieren(std::span<Verzeichnissatz>(records.data(), 2), kSortName, kSortDown);
    EXPECT_EQ(names(records), (std::vector<std::string>{"beta", "Alpha", "gamma"}));
    records = make();
    verzeichnisse_sortieren(records, kSortRandom, kSortUp);
    auto shuffled = names(records);
    std::sort(shuffled.begin(), shuffled.end());
    EXPECT_EQ(shuffled, (std::vector<std::string>{"Alpha", "beta", "gamma"}));
}

TEST(Sorting, ImageComboItemsByText) {
    struct Item {
        std::string key;
        std::string text;
        int image = 0;
        int tag = 0;
    };
    std::vector<Item> items = {
        {"Mweb", "web", 3, 30}, {"Mbase", "Base", 1, 10}, {"Mzeta", "\xC3\x84rger", 2, 20}, {"Mabc", "abc", 0, 5}};
    imagecombo_sortieren(items);
    std::vector<std::string> keys;
    for (const auto& item : items) keys.push_back(item.key);
    // Case is ignored; characters compare by code, so "Ä" comes after the ASCII letters.
    EXPECT_EQ(keys, (std::vector<std::string>{"Mabc", "Mbase", "Mweb", "Mzeta"}));
    EXPECT_EQ(items[1].image, 1);
    EXPECT_EQ(items[1].tag, 10);
    std::vector<Item> none;
    imagecombo_sortieren(none);
}
