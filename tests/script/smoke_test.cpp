#include <gtest/gtest.h>

#include "script/trial_run.h"

namespace galvora {
namespace {

TEST(ScriptSmoke, TemplateWithBlock) {
    auto r = skript_probelauf("a{1+2}b");
    EXPECT_EQ(r.compile_code, 0) << r.meldung;
    EXPECT_EQ(r.ausgabe, "a3b");
}

}  // namespace
}  // namespace galvora
