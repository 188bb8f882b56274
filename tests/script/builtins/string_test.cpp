// mid, index, replace (also by regular expression), format, len, upper,
// lower, trim, split and urlencode.
#include "script/builtins/builtin_test_support.h"

namespace galvora {
namespace {

using testing::BuiltinTest;

TEST_F(BuiltinTest, FormatFollowsItsPlaceholders) {
    pruefen({
        {"{format(\"%%\")}", "%"},
        {"{format(\"a%\\b\")}", "a\r\nb"},
        {"{format(\"%5!\", 42)}", "   42"},
        {"{format(\"%-5!|\", \"ab\")}", "ab   |"},
        {"{format(\"%.2!\", 3)}", "3.00"},
        {"{format(\"%!\", 2.5)} {format(\"%!\", -2.5)} {format(\"%.1!\", 0.25)}", "3 -3 0.3"},
        {"{format(\"%! %!\", 1)}", "1 "},
        {"{format(\"%!\", @Red)}", "@red"},
        {"{format(\"%5x\", 7)}", "    7x"},
        {"{format(\"%3%5!\", 1, 2)}", "  1    2"},
        {"{format(\"[%2!]\", \"long\")}", "[long]"},
        {"{format(\"%-3\\!\", 1)}", "\\1  "},
        {"{format(\"%!\", date(\"15.03.2023 18:00:00\"))}", "15.03.2023 18:00:00"},
        {"{format(\"a%!b\")}", "ab"},
        {"{format(\"%!|%!\", 1, 2, 3)}", "1|2"},
        // An undefined value or an array gets an empty field, not the previous text.
        {"{format(\"%3!|%3!|%!\", \"ab\", x, 5)}", " ab|   |5"},
        {"{a[1] = 1; format(\"%!|%2!\", \"q\", a)}", "q|  "},
        {"{format(\"%40000!\", 1)}|{format(\"%99999999999!\", 1)}|{ERRN_LAST}", "@error|@error|0"},
        // Places beyond what a double holds are zeros, and stay bounded.
        {"{len(format(\"%.400!\", 1))} {format(\"%.20!\", 0.1)}", "342 0.10000000000000000000"},
        {"{format(1)}|{ERRN_LAST}", "@error|3", 3},
    });
}

TEST_F(BuiltinTest, CuttingSearchingAndReplacingText) {
    pruefen({
        {"{mid(\"abcdef\", 3)} {mid(\"abcdef\", 2, 3)} [{mid(\"abc\", 9)}] {mid(\"äöü\", 2, 1)}", "cdef bcd [] ö"},
        {"{mid(\"abc\", 0)}|{mid(\"abc\", 1, -1)}|{ERRN_LAST}", "@error|@error|0"},
        {"{index(\"abc\", \"\")} {index(\"Abc\", \"a\")} {index(\"xabc\", \"bc\")} {index(\"äbc\", \"c\")}", "0 0 3 3"},
        {"{index(\"abc\", \"b\", 1)}|{ERRN_LAST}", "@error|2", 2},
        {"{index(@REGEXP, \"Abc\", \"a\")} {index(@REGEXP, \"xx12\", \"[0-9]+\")} {index(@REGEXP, \"abc\", \"z\")} "
         "{index(@REGEXP, \"äb1\", \"\\d\")}",
         "1 3 0 3"},
        {"{index(@FIRST, \"a\", \"a\")}|{ERRN_LAST}", "@error|4", 4},
        {"{index(@REGEXP, 1, \"a\")}|{ERRN_LAST}", "@error|4", 4},
        {"{index(@REGEXP, \"a\", 1)}|{ERRN_LAST}", "@error|3", 3},
        {"{index(@REGEXP, \"a\")}|{ERRN_LAST}", "@error|0"},
        {"{replace(\"aXbX\", \"X\", \"-\")} {replace(\"aXbX\", \"X\", \"-\", @FIRST)} {replace(\"ab\", \"\", \"-\")} "
         "{replace(\"aaa\", \"a\", \"aa\")}",
         "a-b- a-bX ab aaaaaa"},
        {"{replace(\"a\", \"a\", \"b\", 1)}|{ERRN_LAST}", "@error|4", 4},
        {"{replace(\"a\", \"a\", \"b\", @FIRST, 1)}|{ERRN_LAST}", "@error|2", 2},
        {"{replace(@REGEXP, \"2023-05-15\", \"(\\d+)-(\\d+)-(\\d+)\", \"$3.$2.$1\")} "
         "{replace(@REGEXP, \"aAa\", \"a\", \"-\")} {replace(@REGEXP, \"a1b2\", \"[0-9]\", \"<$&>\", @FIRST)} "
         "{replace(@REGEXP, \"ab\", \"x*\", \"-\")} {replace(@REGEXP, \"a\", \"a\", \"$$ $9\")}",
         "15.05.2023 -A- a<1>b2 -a-b- $ $9"},
        {"{replace(@REGEXP, \"a\", \"a\")}|{ERRN_LAST}", "@error|0"},
        {"{replace(@REGEXP, \"a\", \"a\", \"b\", 1)}|{ERRN_LAST}", "@error|4", 4},
        // A malformed pattern and a runaway pattern fail silently; the run goes on.
        {"{index(@REGEXP, \"abc\", \"(\")}|{replace(@REGEXP, \"abc\", \"[\", \"x\")}|{ERRN_LAST}|weiter",
         "@error|@error|0|weiter"},
        {"{index(@REGEXP, \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa!\", \"^(a+)+$\")}|{ERRN_LAST}|weiter",
         "@error|0|weiter"},
    });
}

TEST_F(BuiltinTest, CaseTrimSplitAndUrlEncoding) {
    pruefen({
        {"{len(\"äbc\")} {len(\"\")} {upper(\"straße äb\")} {lower(\"ÄBC\")}", "3 0 STRAßE ÄB äbc"},
        {"[{trim(\"  a  \", @LEADING)}] [{trim(\"  a  \", @TRAILING)}] [{trim(\"  a  \")}] [{trim(\"  a  \", @BOTH)}]",
         "[a  ] [  a] [a] [a]"},
        {"{trim(\"a\", @TRUE)}|{ERRN_LAST}", "@error|4", 4},
        {"{trim(1, @TRUE)}|{ERRN_LAST}", "@error|4", 4},
        {"{trim(1, @BOTH)}|{ERRN_LAST}", "@error|3", 3},
        // The side is compared by value: the numbers of @LEADING, @TRAILING and
        // @BOTH (15, 16, 17) in any type name the sides as well.
        {"[{trim(\"  a  \", 15)}] [{trim(\"  a  \", 16.0)}] [{trim(\"  a  \", \"17\")}] "
         "[{trim(\"  a  \", date(\"14.01.1900\"))}]",
         "[a  ] [  a] [a] [a  ]"},
        {"{trim(\"a\", 15.5)}|{ERRN_LAST}", "@error|4", 4},
        {"{trim(\"a\", x)}|{ERRN_LAST}", "@error|4", 4},
        {"{trim(1, 15)}|{ERRN_LAST}", "@error|3", 3},
        {"[{split(\"a; b ;c\", \";\", 2)}] [{split(\"a;b\", \";\", 3)}] [{split(\"\", \";\", 1)}] "
         "[{split(\"aXbxc\", \"x\", 3)}] [{split(\"a b\", \"\", 1)}] [{split(\"a;;b\", \";\", 2)}]",
         "[b] [] [] [c] [a b] []"},
        {"{split(\"a;b\", \";\", 0)}|{ERRN_LAST}", "@error|4", 4},
        {"{urlencode(\"a b/ä-_.~\")}", "a%20b/%C3%A4-_.%7E"},
    });
}

}  // namespace
}  // namespace galvora
