#include "foundation/string_helpers.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace galvora;

TEST(StringHelpers, TextBeforeNul) {
    EXPECT_EQ(bis_nullzeichen(std::string("abc\0def", 7)), "abc");
    EXPECT_EQ(bis_nullzeichen("abc"), "abc");
    EXPECT_EQ(bis_nullzeichen(std::string("\0x", 2)), "");
    EXPECT_EQ(bis_nullzeichen(""), "");
}

TEST(StringHelpers, NaturalOrder) {
    struct Case { std::string a, b; int expected; };
    const std::vector<Case> cases = {
        {"img9", "img10", -1},
        {"img10", "img9", 1},
        {"img10", "imgA", -1},   // digits before other text
        {"x007", "X7", 0},       // leading zeros and letter case do not count
        {"a01", "a1", 0},
        {"B", "b", 0},
        {"pic2", "pic10", -1},
        {"1", "a", -1},
        {"a", "1", 1},
        {"", "", 0},
        {"", "a", -1},
        {"a", "", 1},
        {"a1b", "a1", 1},
        {"a1", "a1b", -1},
        {"a99999999999999999999", "a100000000000000000000", -1},  // longer than any integer type
        {"\xC3\x84pfel2", "\xC3\xA4pfel10", -1},                 // "Äpfel2" < "äpfel10"
        {"\xC3\x84pfel", "\xC3\xA4PFEL", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(natuerlich_vergleichen(c.a, c.b), c.expected) << c.a << " vs " << c.b;
}

TEST(StringHelpers, RenameMask) {
    struct Case {
        std::string mask;
        int digits;
        std::string find, replace;
        int case_mode;
        std::string directory, file;
        long number;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"%_#", 3, "", "", 0, "Urlaub", "IMG_1", 7, "Urlaub_007"},
        // Without "$" the find and replace lists are not applied.
        {"#", 2, "7", "x", 0, "", "7", 7, "07"},
        // A replace list one shorter gets an empty last replacement.
        {"$", 0, "IMG,_", "Bild", 0, "", "IMG_0001", 1, "Bild0001"},
        // Later pairs see the result of earlier ones.
        {"$", 0, "a,b", "b,c", 0, "", "a", 1, "c"},
        // Lists of other lengths are ignored.
        {"$", 0, "a,b,c", "x", 0, "", "abc", 1, "abc"},
        // Case mode 0 respects letter case in finding, 1 and 2 ignore it.
        {"$", 0, "img", "pic", 0, "", "IMG_1", 1, "IMG_1"},
        {"$", 0, "img", "pic", 1, "", "IMG_1", 1, "pic_1"},
        {"$-#", 4, "img", "Pic", 2, "", "IMG_1", 12, "PIC_1-0012"},
        // Inserted texts are never scanned for placeholders.
        {"%|$", 1, "", "", 0, "a%#$", "b#$%", 5, "a%#$|b#$%"},
        // More digits than asked are kept; a digit count of 0 writes the number as it is.
        {"#", 2, "", "", 0, "", "", 1234, "1234"},
        {"#", 0, "", "", 0, "", "", 5, "5"},
        {"#", 3, "", "", 0, "", "", -7, "-007"},
        {"#", 2000000000, "", "", 0, "", "", 1, std::string(254, '0') + "1"},  // padding stops at 255
        // Letter case of non-ASCII letters follows the case mode.
        {"%_$", 0, "", "", 2, "m\xC3\xBCnchen", "stra\xC3\x9F" "e", 0, "M\xC3\x9CNCHEN_STRA\xC3\x9F" "E"},
        {"$", 0, "\xC3\x84", "ae", 1, "", "\xC3\xA4pfel", 0, "aepfel"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(umbenennungsmaske_anwenden(c.mask, c.digits, c.find, c.replace, c.case_mode, c.directory, c.file,
                                             c.number),
                  c.expected)
            << c.mask << " " << c.file;
    }
}

TEST(StringHelpers, RenameMaskProbeTellsFilesApart) {
    // The options dialog's probe: equal results mean the mask cannot tell files apart.
    auto probe = [](const std::string& mask) {
        return umbenennungsmaske_anwenden(mask, 3, "", "", 0, "VZ", "DATEI1", 1) ==
               umbenennungsmaske_anwenden(mask, 3, "", "", 0, "VZ", "DATEI2", 2);
    };
    EXPECT_TRUE(probe("fix_%"));
    EXPECT_FALSE(probe("clone_#"));
    EXPECT_FALSE(probe("$"));
}

TEST(StringHelpers, NumberToBase) {
    struct Case { long long n; int base; std::string expected; };
    const std::vector<Case> cases = {
        {255, 16, "FF"}, {0, 2, "0"}, {5, 2, "101"}, {35, 36, "Z"}, {36, 36, "10"},
        {9, 10, "9"},    {10, 1, ""},  {10, 37, ""}, {-10, 10, "-10"},
        {std::numeric_limits<long long>::min(), 16, "-8000000000000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(zahl_zur_basis(c.n, c.base), c.expected) << c.n << " base " << c.base;
}

TEST(StringHelpers, UrlEncoding) {
    EXPECT_EQ(url_kodieren(" "), "%20");
    EXPECT_EQ(url_kodieren("azAZ09-_./"), "azAZ09-_./");
    EXPECT_EQ(url_kodieren("a\\b"), "a%5Cb");
    EXPECT_EQ(url_kodieren("Bild 1&2.jpg"), "Bild%201%262.jpg");
    // Every byte of a UTF-8 character is encoded.
    EXPECT_EQ(url_kodieren("\xC3\xA4"), "%C3%A4");
    EXPECT_EQ(url_kodieren("~%"), "%7E%25");
}

TEST(StringHelpers, MinimumAndMaximum) {
    EXPECT_EQ(minimum_long({3, 1, 2}), 1);
    EXPECT_EQ(maximum_long({3, 1, 2}), 3);
    EXPECT_EQ(maximum_long({640, 480}), 640);
    EXPECT_DOUBLE_EQ(minimum_double({2.5, 1.25, 3}), 1.25);
    // Halves go to the even neighbour.
    EXPECT_EQ(minimum_long({2.5}), 2);
    EXPECT_EQ(minimum_long({3.5}), 4);
    // A later value is compared with the converted result: 2.4 < 3 takes it.
    EXPECT_EQ(minimum_long({2.6, 2.4}), 2);
    // 3.2 is not greater than the 3 that 2.6 became, so 3 stays.
    EXPECT_EQ(maximum_long({2.6, 3.2}), 3);
    EXPECT_EQ(maximum_long({1e12}), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(minimum_long({-1e12}), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(minimum_long(std::span<const double>()), 0);
}

TEST(StringHelpers, Utf8CountingAndSlicing) {
    const std::string word = "Gr\xC3\xBC\xC3\x9F" "e";  // "Grüße"
    EXPECT_EQ(utf8_length(word), 5u);
    EXPECT_EQ(utf8_length(""), 0u);
    EXPECT_EQ(utf8_length("a\xFF" "b"), 3u);  // an invalid byte counts as one character
    EXPECT_EQ(utf8_length("\xE2\x82\xAC\xF0\x9F\x98\x80"), 2u);
    EXPECT_EQ(utf8_substr(word, 2, 2), "\xC3\xBC\xC3\x9F");
    EXPECT_EQ(utf8_substr(word, 3), "\xC3\x9F" "e");
    EXPECT_EQ(utf8_substr(word, 0, 0), "");
    EXPECT_EQ(utf8_substr(word, 4, 10), "e");
    EXPECT_EQ(utf8_substr(word, 5, 1), "");
    EXPECT_EQ(utf8_substr(word, 99), "");
    // Invalid bytes survive decoding and encoding unchanged.
    const std::string broken = "a\xFF\xC3(\xE2\x82";
    EXPECT_EQ(utf8_encode(utf8_decode(broken)), broken);
    EXPECT_EQ(utf8_decode("\xC3\xA4"), std::u32string(U"\u00E4"));
}

TEST(StringHelpers, Utf8LetterCase) {
    struct Case { std::string mixed, lower, upper; };
    const std::vector<Case> cases = {
        {"Abc xyZ 09", "abc xyz 09", "ABC XYZ 09"},
        {"\xC3\x84\xC3\xB6\xC3\x9C", "\xC3\xA4\xC3\xB6\xC3\xBC", "\xC3\x84\xC3\x96\xC3\x9C"},  // ÄöÜ
        {"\xC3\x80\xC3\xA9\xC3\x98", "\xC3\xA0\xC3\xA9\xC3\xB8", "\xC3\x80\xC3\x89\xC3\x98"},  // ÀéØ
        {"\xC3\x97\xC3\xB7", "\xC3\x97\xC3\xB7", "\xC3\x97\xC3\xB7"},                          // × ÷ have no case
        {"\xC3\x9F", "\xC3\x9F", "\xC3\x9F"},                                                  // ß stays
        {"\xC3\xBF", "\xC3\xBF", "\xC5\xB8"},                                                  // ÿ / Ÿ
        {"\xC5\x81\xC3\xB3" "d\xC5\xBA", "\xC5\x82\xC3\xB3" "d\xC5\xBA", "\xC5\x81\xC3\x93" "D\xC5\xB9"},  // Łódź
        {"\xC4\x8C\xC5\x99", "\xC4\x8D\xC5\x99", "\xC4\x8C\xC5\x98"},                          // Čř
        {"\xC4\x90\xC4\x91", "\xC4\x91\xC4\x91", "\xC4\x90\xC4\x90"},                          // Đđ
        {"\xCE\xA3\xCE\xB1", "\xCF\x83\xCE\xB1", "\xCE\xA3\xCE\x91"},                          // Σα
        {"\xD0\x9F\xD1\x80\xD0\x81", "\xD0\xBF\xD1\x80\xD1\x91", "\xD0\x9F\xD0\xA0\xD0\x81"},  // ПрЁ
        {"a\xFF", "a\xFF", "A\xFF"},                                                           // invalid byte kept
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8_to_lower(c.mixed), c.lower) << c.mixed;
        EXPECT_EQ(utf8_to_upper(c.mixed), c.upper) << c.mixed;
    }
    // Dotted capital I and dotless small i change their length in bytes.
    EXPECT_EQ(utf8_to_lower("\xC4\xB0"), "i");
    EXPECT_EQ(utf8_to_upper("\xC4\xB1"), "I");
    EXPECT_TRUE(utf8_equal_nocase("\xC3\x84RGER", "\xC3\xA4rger"));
    EXPECT_FALSE(utf8_equal_nocase("a", "ab"));
    EXPECT_LT(utf8_compare_nocase("apfel", "Birne"), 0);
    EXPECT_GT(utf8_compare_nocase("\xC3\xA4", "z"), 0);  // by character code
}

TEST(StringHelpers, TrimBlanks) {
    EXPECT_EQ(trim_blanks("  a b  "), "a b");
    EXPECT_EQ(trim_blanks("\ta\t"), "\ta\t");  // only blanks
    EXPECT_EQ(trim_blanks("   "), "");
}

TEST(StringHelpers, SplitTrimmedListDropsBlanksAndEmptyEntries) {
    struct Case { const char* text; std::vector<std::string> parts; };
    const Case cases[] = {
        {"JPG, JPEG", {"JPG", "JPEG"}},
        {" jpg ,,jpeg, ", {"jpg", "jpeg"}},
        {"", {}},
        {" , ", {}},
        {"*", {"*"}},
    };
    for (const Case& c : cases) EXPECT_EQ(galvora::split_trimmed_list(c.text), c.parts) << c.text;
}
