#include "foundation/text_codec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace galvora;

TEST(TextCodec, DecodesUtf8AndFallsBackToCp1252) {
    EXPECT_EQ(decode_text("Gr\xC3\xBC\xC3\x9F"), "Gr\xC3\xBC\xC3\x9F");
    EXPECT_EQ(decode_text("\xEF\xBB\xBFok"), "ok");
    // "Grüße" in Windows-1252, and the euro sign at 0x80.
    EXPECT_EQ(decode_text("Gr\xFC\xDF" "e \x80"), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
    EXPECT_FALSE(is_valid_utf8("\xC0\xAF"));        // overlong
    EXPECT_FALSE(is_valid_utf8("\xED\xA0\x80"));    // surrogate
    EXPECT_FALSE(is_valid_utf8("\xE2\x82"));        // truncated
}

TEST(TextCodec, Cp1252RoundTrip) {
    const std::string utf8 = "\xE2\x82\xAC \xC3\xA4 \xE2\x80\x9C";
    EXPECT_EQ(utf8_to_cp1252(utf8), "\x80 \xE4 \x93");
    EXPECT_EQ(cp1252_to_utf8(utf8_to_cp1252(utf8)), utf8);
    EXPECT_EQ(utf8_to_cp1252("\xE4\xB8\xAD"), "?");
}

TEST(TextCodec, EveryLineEndEndsALine) {
    struct Case { std::string text; std::vector<std::string> lines; };
    const std::vector<Case> cases = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\n", {"a"}},
        {"a\n\nb", {"a", "", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(split_lines(c.text), c.lines) << c.text;
}

TEST(TextCodec, AtomicWriteReplacesOrLeavesTarget) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("galvora_codec_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::error_code ec;
    ASSERT_TRUE(write_file_atomic(dir / "f.txt", "one", ec)) << ec.message();
    ASSERT_TRUE(write_file_atomic(dir / "f.txt", "two", ec));
    EXPECT_EQ(*read_file_bytes(dir / "f.txt", ec), "two");
    // Into a folder that does not exist: fails and creates nothing.
    EXPECT_FALSE(write_file_atomic(dir / "missing" / "f.txt", "x", ec));
    EXPECT_TRUE(ec);
    EXPECT_FALSE(read_file_bytes(dir / "nope.txt", ec));
    EXPECT_TRUE(ec);
    fs::remove_all(dir);
}
