#include "profile/script_modules.h"

#include <gtest/gtest.h>

namespace galvora {
namespace {

std::vector<std::string> names(const ZNModule& list) {
    std::vector<std::string> out;
    for (const auto& m : list) out.push_back(m->Name());
    return out;
}

TEST(ScriptModulesTest, AddReusesANameOfAnyCaseAndMovesItToTheEnd) {
    ZNModule list;
    auto first = list.add("Tools", "a", kModuleNotCompiled);
    list.add("other", "b", kModuleNotCompiled);
    first->verändert(true);
    auto again = list.add("TOOLS", "c", kModuleCompiled);

    EXPECT_EQ(again, first) << "the module object is reused";
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(names(list), (std::vector<std::string>{"other", "TOOLS"}));
    EXPECT_EQ(again->inhalt(), "c");
    EXPECT_EQ(again->status(), kModuleCompiled);
    EXPECT_FALSE(again->verändert()) << "add clears the module's mark";
    EXPECT_TRUE(list.verändert());
}

TEST(ScriptModulesTest, ItemByPositionAndByName) {
    ZNModule list;
    list.add("a", "", 2);
    list.add("b", "", 2);
    EXPECT_EQ(list.item(1)->Name(), "a");
    EXPECT_EQ(list.item(2)->Name(), "b");
    EXPECT_EQ(list.item(0), nullptr);
    EXPECT_EQ(list.item(3), nullptr);
    EXPECT_EQ(list.item("B")->Name(), "b");
    EXPECT_EQ(list.item("c"), nullptr);
}

TEST(ScriptModulesTest, RemoveMarksTheListEvenWhenNothingWasRemoved) {
    ZNModule list;
    list.add("a", "", 2);
    list.verändert_reset();
    list.remove("missing");
    EXPECT_TRUE(list.verändert());
    EXPECT_EQ(list.count(), 1);

    list.verändert_reset();
    list.remove(5);
    EXPECT_TRUE(list.verändert());
    list.remove(std::string_view("A"));
    EXPECT_EQ(list.count(), 0);
}

TEST(ScriptModulesTest, ChangedWhenListFlagOrAnyModuleIsMarked) {
    ZNModule list;
    auto m = list.add("a", "x", 2);
    list.verändert_reset();
    EXPECT_FALSE(list.verändert());
    m->verändert(true);
    EXPECT_TRUE(list.verändert()) << "a marked module makes the list changed";
    list.verändert_reset();
    EXPECT_FALSE(m->verändert());
    EXPECT_FALSE(list.verändert());
}

TEST(ScriptModulesTest, CloneMakesAnIndependentMarkedCopy) {
    ZNModule source;
    source.add("one", "line 1\r\nline 2", kModuleCompiled);
    auto two = source.add("two", "", kModuleCompileError);
    two->verändert(true);
    source.verändert_reset();
    source.item("two")->verändert(true);

    ZNModule target;
    target.add("stale", "", 2);
    target.verändert_reset();
    source.clone(target);

    ASSERT_EQ(target.count(), 2);
    EXPECT_EQ(names(target), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(target.item(1)->inhalt(), "line 1\r\nline 2");
    EXPECT_EQ(target.item(1)->status(), kModuleCompiled);
    EXPECT_FALSE(target.item(1)->verändert());
    EXPECT_TRUE(target.item(2)->verändert()) << "each module's mark is carried over";
    EXPECT_NE(target.item(1), source.item(1)) << "new module objects";
    EXPECT_TRUE(target.verändert());

    target.item(1)->inhalt("changed");
    EXPECT_EQ(source.item(1)->inhalt(), "line 1\r\nline 2");

    ZNModule unchanged_source;
    ZNModule copy;
    unchanged_source.clone(copy);
    EXPECT_TRUE(copy.verändert()) << "a copy always counts as changed";
    copy.verändert_reset();
    EXPECT_FALSE(copy.verändert());
}

}  // namespace
}  // namespace galvora
