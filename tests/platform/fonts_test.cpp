#include "platform/fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace galvora {
namespace {

TEST(FontFamilies, EachInstalledFamilyOnceAndSorted) {
    const std::vector<FontFamilyInfo> families = list_font_families();
    ASSERT_FALSE(families.empty());
    std::set<std::string> names;
    for (const auto& f : families) {
        EXPECT_FALSE(f.face_name.empty());
        EXPECT_TRUE(names.insert(f.face_name).second) << f.face_name;
    }
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end(),
                               [](const auto& a, const auto& b) { return a.face_name < b.face_name; }));
    auto dejavu = std::find_if(families.begin(), families.end(),
                               [](const auto& f) { return f.face_name == "DejaVu Sans"; });
    ASSERT_NE(dejavu, families.end());
    EXPECT_TRUE(dejavu->scalable_outline);
}

}  // namespace
}  // namespace galvora
