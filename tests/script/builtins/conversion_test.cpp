// type, integer, double, string, symbol, date, convert, remove and clear.
#include "script/builtins/builtin_test_support.h"

namespace galvora {
namespace {

using testing::BuiltinTest;

TEST_F(BuiltinTest, TypeAndConversions) {
    pruefen({
        {"{type(x)} {type(@ERROR)} {type(1)} {type(1.5)} {type(\"a\")} {type(now())} {a[1]=1; type(a)}",
         "@unknown @symbol @integer @double @string @date @array"},
        {"{integer(\"\")} {integer(\"12\")} {integer(2.5)} {integer(3.5)} {integer(\"7.5\")} {integer(-2.5)}",
         "0 12 2 4 8 -2"},
        {"{integer(\"-5\")}|{integer(\"x1\")}|{integer(\" 1\")}|{integer(3000000000.0)}|{integer(now())}|{ERRN_LAST}",
         "@error|@error|@error|@error|@error|0"},
        {"{integer(@TRUE)}|{ERRN_LAST}", "@error|3", 3},
        {"{double(\"2.25\")} {double(3)} {type(double(3))} {double(\"\")}", "2.25 3.0 @double 0.0"},
        {"{string(1.0)} {string(2.5)} {string(-7)} {string(@Red)} {string(\"ä\")} {string(0.1234567890123456789)}",
         "1.0 2.5 -7 red ä 0.123456789012346"},
        {"{string(x)}|{ERRN_LAST}", "@error|3", 3},
        {"{symbol(\"RED\") == @red} {symbol(\"@red\") == @red} {symbol(\"Neu\")} {symbol(@X)}",
         "@true @false @neu @x"},
        {"{symbol(1)}|{ERRN_LAST}", "@error|3", 3},
        {"{date(\"15.03.2023 18:00:00\")} {date(\"2023-03-15\")} {d = date(\"1.2.2024\"); date(d)}",
         "15.03.2023 18:00:00 15.03.2023 00:00:00 01.02.2024 00:00:00"},
        {"{date(5)}|{date(\"31.02.2023\")}|{date(\"Montag\")}|{ERRN_LAST}", "@error|@error|@error|0"},
        {"{date(@TRUE)}|{ERRN_LAST}", "@error|3", 3},
    });
}

TEST_F(BuiltinTest, ConvertWritesOtherBases) {
    pruefen({
        {"{convert(255, @HEX)} {convert(5, @BIN)} {convert(8, @OCT)} {convert(0, 2)} {convert(35, 36)} "
         "{convert(\"10\", 16)} {convert(2.5, 10)} {convert(-10, 2)}",
         "FF 101 10 0 Z A 2 -1010"},
        {"{convert(10, 1)}|{ERRN_LAST}", "@error|4", 4},
        {"{convert(10, 37)}|{ERRN_LAST}", "@error|4", 4},
        {"{convert(10, @TRUE)}|{convert(\"x\", 2)}|{ERRN_LAST}", "@error|@error|0"},
        {"{convert(10, 2.0)}|{ERRN_LAST}", "@error|3", 3},
        // The value is converted by value: a symbol as its number (@TRUE 2,
        // @HEX 28), a date as its day count (18:00 rounds up), "" as 0.
        {"{convert(@TRUE, 10)} {convert(@HEX, 2)} {convert(date(\"01.01.1900 18:00:00\"), 10)} {convert(\"\", 2)}",
         "2 11100 3 0"},
        {"{convert(x, 10)}|{a[1]=1; convert(a, 10)}|{convert(\"-5\", 10)}|{ERRN_LAST}", "@error|@error|@error|0"},
    });
}

TEST_F(BuiltinTest, RemoveAndClearWorkOnCopies) {
    pruefen({
        {"{a[\"x\"]=1; a[\"y\"]=2; a[\"z\"]=3; b = remove(a, 2); len(\"\" + b[\"x\"] + b[\"z\"])}"
         "{format(\"%!%!\", a[\"y\"], b[\"y\"])}",
         // b lost "y" (an undefined value fills its field with a blank), a kept it.
         "22 "},
        {"{a[\"x\"]=1; a[\"y\"]=2; a[\"z\"]=3; b = remove(a, 99); c = remove(a, \"X\"); c[\"y\"]}{b[\"z\"]}",
         "23"},
        {"{a[\"x\"]=1; b = clear(a); type(b)} {a[\"x\"]}", "@array 1"},
        {"{remove(1, 1)}|{ERRN_LAST}", "@error|3", 3},
        {"{a[1]=1; remove(a, 1.0)}|{ERRN_LAST}", "@error|3", 3},
        {"{clear(\"a\")}|{ERRN_LAST}", "@error|3", 3},
    });
}

}  // namespace
}  // namespace galvora
