#include "app/component_test.h"
#include "app/environment_report.h"
#include "app/syntax_colors.h"

#include "app/app_test_support.h"
#include "foundation/log.h"
#include "foundation/registry.h"
#include "platform/os_info.h"

namespace galvora::testing {
namespace {

class Startup : public AppTest {
protected:
    void open_log() {
        auto log = std::make_unique<LogClass>();
        ASSERT_TRUE(log->CreateLogfile((tmp.path() / "test.log").string()));
        set_global_log(std::move(log));
    }
    // The log's lines without their date and time.
    std::vector<std::string> log_texts() {
        std::vector<std::string> texts;
        std::string text = read_file(tmp.path() / "test.log");
        size_t start = 0;
        for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
            std::string line = text.substr(start, end - start);
            texts.push_back(line.size() > 20 ? line.substr(20) : line);
        }
        return texts;
    }
    void TearDown() override {
        set_global_log(nullptr);
        AppTest::TearDown();
    }
};

TEST_F(Startup, ComponentTestLogsEachComponentAndStopsAtTheFirstMissing) {
    open_log();
    int third_called = 0;
    std::vector<Komponente> list = {
        {"first", [] { return true; }},
        {"second", [] { return false; }},
        {"third", [&] { return ++third_called > 0; }},
    };
    EXPECT_FALSE(startbedingungen_pruefen(list));
    EXPECT_EQ(third_called, 0);
    EXPECT_EQ(log_texts(), (std::vector<std::string>{"Testing Startup Conditions START", "Testing file first START",
                                                     "Testing file first OK", "Testing file second START",
                                                     "Testing file second FAILED"}));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("ErrComponentMissing", {"second"}));
    EXPECT_EQ(port.boxes[0].style, 16);
}

TEST_F(Startup, MetadataDefinitionMustBeAFileBesideTheProgram) {
    auto definition_check = [] {
        for (const Komponente& k : programmkomponenten())
            if (k.path.ends_with("metadata.def")) return k.present();
        ADD_FAILURE() << "no metadata.def component";
        return false;
    };
    EXPECT_FALSE(definition_check());
    fs::create_directories(tmp.path() / "program" / "METADATA.DEF");
    EXPECT_FALSE(definition_check());
    fs::remove(tmp.path() / "program" / "METADATA.DEF");
    write_file(tmp.path() / "program" / "Metadata.Def", "x");
    EXPECT_TRUE(definition_check());
}

TEST_F(Startup, ProgramComponentsArePresentOnThisMachine) {
    write_file(tmp.path() / "program" / "metadata.def", "x");
    EXPECT_TRUE(startbedingungen_pruefen());
    EXPECT_TRUE(port.boxes.empty());
}

TEST_F(Startup, SyntaxColoursFallBackOnFaultyValues) {
    ASSERT_EQ(registry_schreiben("Syntaxhighlighting", "keyword", "255"), 0);
    ASSERT_EQ(registry_schreiben("Syntaxhighlighting", "variable", "green"), 0);
    ASSERT_EQ(registry_schreiben("Syntaxhighlighting", "function", "99999999999"), 0);
    ASSERT_EQ(registry_schreiben("Syntaxhighlighting", "number", "-5"), 0);
    syntaxfarben_lesen();
    EXPECT_EQ(SyntaxColors[0], 255u);
    EXPECT_EQ(SyntaxColors[1], 0u);
    EXPECT_EQ(SyntaxColors[2], 255u * 65536u);
    EXPECT_EQ(SyntaxColors[3], 178u + 255u * 65536u);
    EXPECT_EQ(SyntaxColors[8], 210u + 210u * 256u + 210u * 65536u);
}

TEST_F(Startup, EnvironmentReportFromTheSystemFacts) {
    OsFacts facts;
    facts.sysname = "Linux";
    facts.release = "6.1.0-13-amd64";
    facts.os_release = "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n";
    // Two packages with two logical processors each: one line per package.
    facts.cpuinfo =
        "processor\t: 0\nmodel name\t: Test CPU\nphysical id\t: 0\ncpu MHz\t\t: 2399.996\n\n"
        "processor\t: 1\nmodel name\t: Test CPU\nphysical id\t: 0\ncpu MHz\t\t: 800.000\n\n"
        "processor\t: 2\nmodel name\t:  Other CPU \nphysical id\t: 1\ncpu MHz\t\t: 1200.4\n\n"
        "processor\t: 3\nmodel name\t: Other CPU\nphysical id\t: 1\ncpu MHz\t\t: 1200.4\n";
    facts.meminfo = "MemTotal:        2048 kB\n";
    umgebung_protokollieren(OperatingSystem(facts));  // no log: nothing written, nothing thrown
    open_log();
    umgebung_protokollieren(OperatingSystem(facts));
    const std::vector<std::string> lines = log_texts();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines.front(), "Determinating Versioninfo START");
    EXPECT_EQ(lines[1], "Galvora Version " + std::to_string(program_major()) + "." +
                            std::to_string(program_minor()) + "." + std::to_string(program_revision()));
    EXPECT_EQ(lines[2], "Galvora Location " + (tmp.path() / "program").string());
    EXPECT_NE(lines[3].find("Debian GNU/Linux 12 (bookworm)"), std::string::npos);
    EXPECT_EQ(lines[4], "Processor Test CPU ClockSpeed 2400");
    EXPECT_EQ(lines[5], "Processor Other CPU ClockSpeed 1200");
    EXPECT_EQ(lines[6], "Memory 2,097,152 Bytes");
    EXPECT_EQ(lines.back(), "Determinating Versioninfo END");
    const size_t libraries = bibliotheksversionen().size();
    EXPECT_EQ(lines.size(), 8u + 2 * libraries);
    EXPECT_EQ(lines[7], "Determinating Versioninfo libjpeg-turbo START");
}

TEST_F(Startup, ProcessorsWithoutAClockAreLeftOutOfTheReport) {
    OsFacts facts;
    facts.cpuinfo = "processor : 0\nHardware : BCM2835\nprocessor : 1\n";
    open_log();
    umgebung_protokollieren(OperatingSystem(facts));
    for (const std::string& line : log_texts()) EXPECT_NE(line.rfind("Processor ", 0), 0u) << line;
}

TEST(ThousandsGrouping, Cases) {
    EXPECT_EQ(tausender_gruppiert(0), "0");
    EXPECT_EQ(tausender_gruppiert(999), "999");
    EXPECT_EQ(tausender_gruppiert(1000), "1,000");
    EXPECT_EQ(tausender_gruppiert(25274736640ULL), "25,274,736,640");
}

}  // namespace
}  // namespace galvora::testing
