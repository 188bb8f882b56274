#include "foundation/command_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace galvora;

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs switches_of(const CommandArguments& args) {
    Pairs pairs;
    for (long i = 1; i <= args.count(); ++i) {
        const std::string key = args.Switch(i).value();
        pairs.emplace_back(key, args.Argument(key).value());
    }
    return pairs;
}

}  // namespace

TEST(CommandArguments, Tokenizer) {
    struct Case { std::string line; bool error; Pairs expected; };
    const std::vector<Case> cases = {
        {"/Profile=Standard /Basedir=\"/home/me/My Pics\"", false,
         {{"Profile", "Standard"}, {"Basedir", "/home/me/My Pics"}}},
        {"/Logfile=\"\"", false, {{"Logfile", ""}}},
        {"/Logfile", true, {}},
        {"/Logfile=", true, {}},
        {"/ Level = 1", false, {{"Level", "1"}}},
        {"/level=1 /LEVEL=2", false, {{"LEVEL", "2"}}},
        {"/a=1 /b=2 /A=3", false, {{"b", "2"}, {"A", "3"}}},  // the repetition moves to the end
        {"/a=\"x\"\"y\"", false, {{"a", "x\"y"}}},
        {"/a=x\"y z\"", false, {{"a", "x\"y z"}}},  // a quote after value text is kept and opens quotes
        {"/a=\"b c\"d", false, {{"a", "b cd"}}},
        {"/a=\"unclosed", true, {}},
        {"/a=b/c=d", false, {{"a", "b"}, {"c", "d"}}},
        {"/a=b=c", true, {{"a", "b"}}},
        {"word /a=1", true, {{"a", "1"}}},
        {"/a=1 junk /b=2", true, {{"a", "1"}, {"b", "2"}}},
        {"//a=1", true, {{"a", "1"}}},
        {"/=1", true, {}},
        {"/a=\"\" /b=x", false, {{"a", ""}, {"b", "x"}}},
        {"/a=1\x04/b=2", false, {{"a", "1"}}},  // code 4 ends the text
        {"", false, {}},
        {"    ", false, {}},
        {"/Basedir=\"/srv/fotos/2024 Sommer\" /Level=2 /THUMB_SIZE=\"160\"", false,
         {{"Basedir", "/srv/fotos/2024 Sommer"}, {"Level", "2"}, {"THUMB_SIZE", "160"}}},
        {"/Basedir=\"C:\\Eigene Bilder\\Urlaub\"", false, {{"Basedir", "C:\\Eigene Bilder\\Urlaub"}}},
    };
    for (const auto& c : cases) {
        CommandArguments args;
        args.CommandLine(c.line);
        EXPECT_EQ(args.Error(), c.error) << c.line;
        EXPECT_EQ(switches_of(args), c.expected) << c.line;
    }
}

TEST(CommandArguments, LookUpAndRemove) {
    CommandArguments args;
    EXPECT_EQ(args.count(), 0);
    EXPECT_FALSE(args.Switch(1).has_value());
    args.CommandLine("   /Logfile=\"\" /Profile=Web  ");
    EXPECT_EQ(args.CommandLine(), "/Logfile=\"\" /Profile=Web");
    EXPECT_EQ(args.count(), 2);
    // An empty value is an empty text, not a missing switch.
    ASSERT_TRUE(args.Argument("LOGFILE").has_value());
    EXPECT_EQ(*args.Argument("logfile"), "");
    EXPECT_FALSE(args.Argument("Basedir").has_value());
    EXPECT_FALSE(args.Switch(0).has_value());
    EXPECT_FALSE(args.Switch(3).has_value());
    EXPECT_EQ(args.Switch(2).value(), "Profile");
    args.remove("logFILE");
    args.remove("nothing");
    EXPECT_EQ(args.count(), 1);
    EXPECT_EQ(args.Switch(1).value(), "Profile");
    // A new assignment starts a new list and clears the error.
    args.CommandLine("bad");
    EXPECT_TRUE(args.Error());
    args.CommandLine("/x=1");
    EXPECT_FALSE(args.Error());
    EXPECT_EQ(switches_of(args), (Pairs{{"x", "1"}}));
}

TEST(CommandArguments, ArgvIsJoinedSoPosixPathsSurvive) {
    struct Case { std::vector<std::string> argv; std::string line; bool error; Pairs expected; };
    const std::vector<Case> cases = {
        {{"/Basedir=/home/me/pics", "/Level=1"}, "/Basedir=\"/home/me/pics\" /Level=\"1\"", false,
         {{"Basedir", "/home/me/pics"}, {"Level", "1"}}},
        {{"--Logfile=/tmp/my log.txt"}, "/Logfile=\"/tmp/my log.txt\"", false, {{"Logfile", "/tmp/my log.txt"}}},
        {{"-Profile=a\"b"}, "/Profile=\"a\"\"b\"", false, {{"Profile", "a\"b"}}},
        {{"/Basedir=/x=y"}, "/Basedir=\"/x=y\"", false, {{"Basedir", "/x=y"}}},
        {{"/Logfile="}, "/Logfile=\"\"", false, {{"Logfile", ""}}},
        {{"/Logfile"}, "/Logfile", true, {}},
        {{"bare", "/a=1"}, "bare /a=\"1\"", true, {{"a", "1"}}},
        {{}, "", false, {}},
    };
    for (const auto& c : cases) {
        const std::string line = join_command_line(c.argv);
        EXPECT_EQ(line, c.line);
        CommandArguments args;
        args.CommandLine(line);
        EXPECT_EQ(args.Error(), c.error) << line;
        EXPECT_EQ(switches_of(args), c.expected) << line;
    }
    const char* argv[] = {"/usr/bin/galvora", "/Basedir=/srv/my pics", nullptr};
    EXPECT_EQ(join_command_line(2, argv), "/Basedir=\"/srv/my pics\"");
}
