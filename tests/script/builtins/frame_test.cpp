// The frame every built-in shares: the 65 names and the argument-count errors.
#include <set>

#include "script/builtins/builtin_frame.h"
#include "script/trial_run.h"
#include "script/script_test_support.h"

namespace galvora {
namespace {

TEST(BuiltinFrame, placeholder) { EXPECT_EQ(ZNSInterneFunktionen::members().size(), 65u); }

}  // namespace
}  // namespace galvora
