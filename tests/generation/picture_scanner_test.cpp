#include "generation/picture_scanner.h"

#include <set>

#include "foundation/ole_date.h"
#include "generation/file_pattern.h"
#include "generation/generation_test_support.h"
#include "generation/settings_access.h"
#include "image/image_file_record.h"
#include "script/compiler.h"

namespace galvora::testing {
namespace {

TEST(FilePattern, WildcardsIgnoreCase) {
    struct Case {
        const char* name;
        const char* pattern;
        bool match;
    };
    const Case cases[] = {
        {"Photo.jpg", "*.JPG", true},
        {"archive.tar.jpg", "*.JPG", true},
        {"photo.jpeg", "*.JPG", false},
        {"photojpg", "*.JPG", false},
        {"img7.png", "img#.png", true},
        {"imgx.png", "img#.png", false},
        {"a1.tif", "?1.TIF", true},
        {"ab1.tif", "?1.TIF", false},
        {"b.gif", "[a-c].gif", true},
        {"d.gif", "[a-c].gif", false},
        {"d.gif", "[!a-c].gif", true},
        {"ÄRGER.JPG", "ä*.jpg", true},
        {"x.jpg", "*", true},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaac", "*a*a*a*a*a*a*a*a*a*a*a*b", false},
    };
    for (const Case& c : cases) EXPECT_EQ(muster_passt(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
}

class Scanner : public GenerationTest {
protected:
    std::vector<ExtensionEntry> jpg_only{{"*.JPG", 6}};

    struct Listing {
        int32_t count = -1;
        std::vector<std::shared_ptr<ZNImageFile>> list;
        int64_t bytes = -1;
    };
    Listing scan(const fs::path& folder, const std::vector<ExtensionEntry>& patterns, bool oracle = false) {
        Listing l;
        bilddateien_einlesen(folder.string(), patterns, oracle, l.count, l.list, l.bytes);
        return l;
    }
};

TEST_F(Scanner, PatternListFollowsTypesFiltersAndExtensions) {
    auto masks = [] {
        std::vector<std::pair<std::string, int32_t>> out;
        for (const auto& e : musterliste_bilden()) out.emplace_back(e.mask, e.type_code);
        return out;
    };
    using List = std::vector<std::pair<std::string, int32_t>>;
    EXPECT_EQ(masks(), (List{{"*.JPG", 6}}));
    set(kSetFilter, "a*, b*");
    set(4, "1");  // EMF with EMF,WMF
    set(10, "1");
    set(22, "PNG,JPG");
    EXPECT_EQ(masks(), (List{{"a*.EMF", 4}, {"a*.WMF", 4}, {"b*.EMF", 4}, {"b*.WMF", 4}, {"a*.JPG", 6},
                             {"b*.JPG", 6}, {"a*.PNG", 10}, {"a*.JPG", 10}, {"b*.PNG", 10}, {"b*.JPG", 10}}));
    set(kSetFilter, "");
    EXPECT_TRUE(masks().empty());
}

TEST_F(Scanner, ListsMatchingFilesWithNamesTypesSizesAndDates) {
    write_file(base / "Photo.jpg", std::string(10, 'x'));
    write_file(base / "archive.tar.jpg", std::string(20, 'y'));
    write_file(base / "notes.txt", "text");
    fs::create_directories(base / "x.jpg");  // a folder named like a picture
    Listing l = scan(base, jpg_only);
    ASSERT_EQ(l.count, 2);
    ASSERT_EQ(l.list.size(), 2u);
    EXPECT_EQ(l.bytes, 30);
    std::set<std::string> names;
    for (const auto& r : l.list) {
        names.insert(r->ODateiname + "|" + r->ODateiart);
        EXPECT_EQ(r->OBildtyp, 6);
        EXPECT_GT(r->ODatum, 40000.0);
        EXPECT_EQ(ole_to_parts(r->ODatum).millisecond, 0) << "whole seconds";
    }
    EXPECT_EQ(names, (std::set<std::string>{"Photo|jpg", "archive.tar|jpg"}));
    EXPECT_EQ(bilddateien_zaehlen(base.string(), jpg_only, false), 2);
}

TEST_F(Scanner, LowerTypeCodeWinsAndAMissingFolderGivesNothing) {
    write_file(base / "a.img", "1");
    Listing l = scan(base, {{"*.IMG", 5}, {"*.img", 10}});
    ASSERT_EQ(l.count, 1);
    EXPECT_EQ(l.list[0]->OBildtyp, 5);
    Listing none = scan(base / "missing", jpg_only);
    EXPECT_EQ(none.count, 0);
    EXPECT_TRUE(none.list.empty());
    EXPECT_EQ(none.bytes, 0);
    EXPECT_EQ(bilddateien_zaehlen((base / "missing").string(), jpg_only, false), 0);
}

TEST_F(Scanner, ListGrowsPastFiveHundredAndEndsAtItsCount) {
    for (int i = 0; i < 501; ++i) write_file(base / ("p" + std::to_string(i) + ".jpg"), "ab");
    Listing l = scan(base, jpg_only);
    EXPECT_EQ(l.count, 501);
    EXPECT_EQ(l.list.size(), 501u);
    EXPECT_EQ(l.bytes, 1002);
    std::set<std::string> names;
    for (const auto& r : l.list) {
        ASSERT_TRUE(r);
        names.insert(r->ODateiname);
    }
    EXPECT_EQ(names.size(), 501u);
}

TEST_F(Scanner, OracleKeepsOnlyLandscapePictures) {
    write_jpeg(base / "wide.jpg", 40, 20);
    write_jpeg(base / "tall.jpg", 20, 40);
    write_jpeg(base / "wide2.jpg", 33, 10);
    ASSERT_EQ(uebersetze(0, 0, "_oracle", "{\r\nif (dimx > dimy) return @TRUE; return @FALSE;\r\n}"), 0);
    Listing l = scan(base, jpg_only, true);
    ASSERT_EQ(l.count, 2);
    std::set<std::string> kept;
    int64_t sizes = 0;
    for (const auto& r : l.list) {
        kept.insert(r->ODateiname);
        EXPECT_EQ(r->CDateiname, r->ODateiname);
        sizes += r->OBytes;
    }
    EXPECT_EQ(kept, (std::set<std::string>{"wide", "wide2"}));
    EXPECT_EQ(l.bytes, sizes);  // the dropped picture's size is not added
    EXPECT_EQ(bilddateien_zaehlen(base.string(), jpg_only, true), 2);
}

TEST_F(Scanner, OracleThatReturnsNothingDropsEveryPicture) {
    write_jpeg(base / "a.jpg", 8, 4);
    ASSERT_EQ(uebersetze(0, 0, "_oracle", "{\r\n\"output goes nowhere\";\r\n}"), 0);
    Listing l = scan(base, jpg_only, true);
    EXPECT_EQ(l.count, 0);
    EXPECT_TRUE(l.list.empty());
    EXPECT_EQ(l.bytes, 0);
}

}  // namespace
}  // namespace galvora::testing
