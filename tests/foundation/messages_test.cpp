#include "foundation/messages.h"

#include <gtest/gtest.h>

#include "foundation/language.h"
#include "ui_test_support.h"

namespace galvora {
namespace {

struct PlaceholderCase {
    const char* name;
    const char* text;
    std::vector<std::string> arguments;
    const char* expected;
};

// Deliberately one pass over the original text instead of one replacement
// after the other: a "%2" or "%n" inside an argument (a path with a percent
// sign) would otherwise be replaced as well and the path shown mangled.
TEST(Platzhalter, OnePassOverTheOriginalText) {
    const std::vector<std::string> ten = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "J"};
    const PlaceholderCase cases[] = {
        {"five lines of the profile read error", "Fehler %1 beim Lesen der Profildatei%n%2%n%nZeile %3%n%4",
         {"13", "/p/x.qvp", "7", "VERSION=x"},
         "Fehler 13 beim Lesen der Profildatei\r\n/p/x.qvp\r\n\r\nZeile 7\r\nVERSION=x"},
        {"no placeholders, no arguments", "Nur Text%nzweite Zeile", {}, "Nur Text\r\nzweite Zeile"},
        {"tenth argument is not eaten by the first", "%1-%10", ten, "a-J"},
        {"placeholder in an argument stays", "%1 und %2", {"C:%2%n", "zwei"}, "C:%2%n und zwei"},
        {"number above the arguments stays", "%3 %10 %1", {"x"}, "%3 %10 x"},
        {"capital N is no line break", "a%Nb", {"x"}, "a%Nb"},
        {"leading zero is no placeholder", "%01", {"x"}, "%01"},
        {"percent signs around", "100% %%1 %", {"x"}, "100% %x %"},
        {"placeholder repeated", "%1/%1", {"x"}, "x/x"},
        {"very long digit run", "%99999999999999999999999", {"x"}, "%99999999999999999999999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platzhalter_ersetzen(c.text, c.arguments), c.expected);
    }
}

class MeldungTest : public ::testing::Test {
protected:
    void SetUp() override {
        sprachen_neu_anlegen();
        deutsche_texte_anlegen();
        batchmodus = false;
        batch_unterbrochen = false;
    }
    void TearDown() override {
        batchmodus = false;
        batch_unterbrochen = false;
        sprachen_neu_anlegen();
    }
    test::TempFolder tmp;
    test::RecordingPort port;
};

TEST_F(MeldungTest, TextByKeyFromTheCurrentLanguage) {
    ASSERT_TRUE(sprache_waehlen("de"));
    port.answer = 7;
    EXPECT_EQ(meldung("Titel", 36, "MsgProfileDeleteYesNo", {"Urlaub"}), 7);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, "Titel");
    EXPECT_EQ(port.boxes[0].style, 36);
    EXPECT_EQ(port.boxes[0].text, "Profil\r\nUrlaub\r\nwirklich löschen?");

    // A key the language lacks still shows a box, with the key as its text.
    meldung("Titel", 48, "ErrNoSuchMessage", {"x"});
    EXPECT_EQ(port.boxes.back().text, "?ErrNoSuchMessage?");
}

TEST_F(MeldungTest, BoxInBatchModeEndsBatchModeOnce) {
    batchmodus = true;
    meldung_text(program_title(), 48, "Erste", {});
    EXPECT_FALSE(batchmodus);
    EXPECT_TRUE(batch_unterbrochen);
    meldung_text(program_title(), 48, "Zweite", {});
    EXPECT_FALSE(batchmodus);
    EXPECT_TRUE(batch_unterbrochen);
    EXPECT_EQ(port.boxes.size(), 2u);
}

TEST_F(MeldungTest, InteractiveBoxLeavesTheBatchFlagsAlone) {
    meldung_text("t", 0, "x", {});
    EXPECT_FALSE(batchmodus);
    EXPECT_FALSE(batch_unterbrochen);
}

TEST(HeadlessPort, AnswersWithTheDefaultButton) {
    const std::pair<int, int> cases[] = {
        {0, 1},   {48, 1},         {1, 1},         {49, 1},        {0x101, 2},
        {3, 6},   {0x103, 7},      {0x203, 2},     {4, 6},         {36, 6},
        {0x104, 7}, {0x204, 6},    {2, 3},         {5, 4},         {15, 1},
    };
    for (const auto& [style, answer] : cases) EXPECT_EQ(default_button_answer(style), answer) << style;

    std::vector<std::string> lines;
    HeadlessUiPort port;
    port.set_line_sink([&](std::string_view line) { lines.emplace_back(line); });
    EXPECT_EQ(port.message_box("Galvora", "eins\r\nzwei", 36), 6);
    EXPECT_EQ(lines, (std::vector<std::string>{"Galvora: eins", "zwei"}));
    EXPECT_EQ(port.input_box("Frage", "vorgabe"), std::optional<std::string>("vorgabe"));
}

TEST(HeadlessPort, IsTheDefaultAndComesBackWhenAPortIsRemoved) {
    EXPECT_EQ(&ui_port(), &headless_ui_port());
    {
        test::RecordingPort recording;
        EXPECT_EQ(&ui_port(), &recording);
    }
    EXPECT_EQ(&ui_port(), &headless_ui_port());
}

}  // namespace
}  // namespace galvora
