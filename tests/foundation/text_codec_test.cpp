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

namespace galvora {
namespace {

// Bytes that are not UTF-8 become U+FFFD, one for each maximal ill-formed
// part; valid text passes unchanged, also when it arrives cut into pieces at
// any byte.
TEST(TextCodec, RepairMakesValidUtf8InAnyPieces) {
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"plain <a> & text", "plain <a> & text"},
        {"Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x93\xB7", "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x93\xB7"},
        {"bad\xFF\xFEname", "bad" + fffd + fffd + "name"},
        {"latin1 \xE4nd", "latin1 " + fffd + "nd"},                 // a lead byte without its follower
        {"over\xC0\xAFlong", "over" + fffd + fffd + "long"},       // overlong "/"
        {"sur\xED\xA0\x80rogate", "sur" + fffd + fffd + fffd + "rogate"},
        {"cut \xE2\x82", "cut " + fffd},                            // ends inside a character
        {"beyond \xF4\x90\x80\x80", "beyond " + fffd + fffd + fffd + fffd},
        {"\xE2\x82x", fffd + "x"},                                 // one U+FFFD for the broken start
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8_reparieren(c.in), c.out) << c.in;
        for (size_t cut = 0; cut <= c.in.size(); ++cut) {
            for (size_t cut2 = cut; cut2 <= c.in.size(); ++cut2) {
                Utf8Reparatur r;
                std::string out;
                r.weiter(std::string_view(c.in).substr(0, cut), out);
                r.weiter(std::string_view(c.in).substr(cut, cut2 - cut), out);
                r.weiter(std::string_view(c.in).substr(cut2), out);
                r.finish(out);
                ASSERT_EQ(out, c.out) << c.in << " cut at " << cut << " and " << cut2;
            }
        }
        EXPECT_TRUE(is_valid_utf8(utf8_reparieren(c.in)));
    }
}

}  // namespace
}  // namespace galvora
