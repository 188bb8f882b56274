// The frame every built-in shares: the 65 names, argument-count errors with
// their text, the first failing argument deciding the code, and silent failures.
#include <set>

#include "script/builtins/builtin_test_support.h"

namespace galvora {
namespace {

using testing::BuiltinTest;

TEST_F(BuiltinTest, EveryMemberIsRegisteredOnceWithAnOperation) {
    const auto& namen = ZNSInterneFunktionen::members();
    ASSERT_EQ(namen.size(), 65u);
    std::set<std::string> einmal(namen.begin(), namen.end());
    EXPECT_EQ(einmal.size(), 65u);
    for (const auto& n : namen) {
        EXPECT_EQ(n.rfind("qim_", 0), 0u) << n;
        EXPECT_NE(ZNSInterneFunktionen::suchen(n), nullptr) << n;
        EXPECT_NE(zns()->fkt_oba.funktion_per_bezeichner(n.substr(4)), nullptr) << n;
    }
}

TEST_F(BuiltinTest, AWrongArgumentCountIsErrorTwoWithTheBuiltinsName) {
    // Each built-in with a count it does not take.
    const std::pair<const char*, int> faelle[] = {
        {"type", 2}, {"integer", 2}, {"double", 0}, {"string", 2}, {"symbol", 2}, {"remove", 1},
        {"clear", 2}, {"date", 2}, {"read", 4}, {"write", 1}, {"exist", 2}, {"sin", 2}, {"cos", 0},
        {"tan", 2}, {"ln", 2}, {"log", 2}, {"sqrt", 2}, {"pow", 1}, {"asin", 2}, {"acos", 2},
        {"atan", 2}, {"exp", 2}, {"convert", 3}, {"random", 2}, {"abs", 2}, {"min", 0}, {"max", 0},
        {"now", 1}, {"datepart", 1}, {"mid", 4}, {"index", 4}, {"replace", 2}, {"format", 0},
        {"len", 2}, {"upper", 2}, {"lower", 0}, {"trim", 3}, {"split", 2}, {"urlencode", 2},
        {"dbread", 0}, {"dbread", 6}, {"filenamepart", 1}, {"input", 3}, {"exif", 4}, {"exifnice", 5},
        {"exifcount", 2}, {"exiftag", 3}, {"exiftagname", 4}, {"exifcomponentcount", 3}, {"iptc", 2},
        {"iptccount", 1}, {"iptctag", 2}, {"iptctagname", 0}, {"imagecomment", 2},
        {"imagecommentcount", 1}, {"imagecommentkey", 2}, {"imageinfo", 4}, {"dirinfo", 1},
        {"rgb", 2}, {"rotate", 2}, {"flip", 0}, {"drawellipse", 4}, {"drawline", 6},
        {"drawrectangle", 8}, {"inqcolor", 1}, {"callstack", 1},
    };
    const std::string text = inq("Msg", "ErrQIMParameterCount");
    for (const auto& [name, n] : faelle) {
        std::string argumente;
        for (int i = 0; i < n; ++i) argumente += i ? ", 1" : "1";
        ZNSProbelauf r = lauf(std::string("{") + name + "(" + argumente + ")}|{ERRN_LAST}");
        EXPECT_EQ(r.ausgabe, "@error|2") << name;
        EXPECT_EQ(r.errs, std::string(name) + ": (2) " + text) << name;
    }
}

TEST_F(BuiltinTest, TheFirstFailingArgumentDecidesAndSilentFailuresKeepTheLastError) {
    pruefen({
        // Both arguments wrong: the first one's type error is reported.
        {"{mid(1, \"x\")}|{ERRN_LAST}", "@error|3", 3},
        {"{split(\"a\", 2, 0)}|{ERRN_LAST}", "@error|3", 3},
        // A recorded error stays when a later built-in fails silently.
        {"{len(1)}{sqrt(-1)}|{ERRN_LAST}", "@error@error|3", 3},
        {"{integer(\"-5\")}|{ERRN_LAST}", "@error|0", 0},
        // A picture built-in without a picture or run fails silently.
        {"{exif()}{iptccount()}{dirinfo(1, @COUNT)}{inqcolor()}|{ERRN_LAST}", "@error@error@error@error|0", 0},
    });
}

}  // namespace
}  // namespace galvora
