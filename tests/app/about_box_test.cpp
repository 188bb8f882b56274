// The about box's texts: version line, the system row, one row per library
// with the version it reports, and the two links.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "foundation/program_info.h"
#include "platform/launcher.h"
#include "platform/os_info.h"

namespace galvora {
namespace {

OsFacts debian_facts() {
    OsFacts facts;
    facts.sysname = "Linux";
    facts.release = "6.1.0-13-amd64";
    facts.os_release = "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n";
    return facts;
}

TEST(AboutBox, VersionLine) {
    EXPECT_EQ(versionszeile(), "Version " + std::to_string(program_major()) + "." + std::to_string(program_minor()) +
                                   "." + std::to_string(program_revision()));
}

TEST(AboutBox, SystemRowFromTheLinuxFacts) {
    const Komponentenzeile row = systemzeile(OperatingSystem(debian_facts()));
    EXPECT_EQ(row.komponente, "Linux");
    EXPECT_EQ(row.version, "Debian GNU/Linux 12 (bookworm) (6.1.0)");
}

TEST(AboutBox, OneRowPerComponentWithItsRunTimeVersion) {
    const std::vector<Komponentenzeile> rows = komponentenzeilen(OperatingSystem(debian_facts()), {"Qt", "6.4.2"});
    std::vector<std::string> names;
    for (const auto& row : rows) names.push_back(row.komponente);
    const std::vector<std::string> expected = {"Linux",   "GNU C Library", "Qt",      "FreeType", "fontconfig",
                                               "PCRE2",   "unixODBC",      "libcurl", "",         "libjpeg-turbo",
                                               "libpng",  "libtiff",       "giflib",  "LibRaw",   "libwmf"};
    EXPECT_EQ(names, expected);
    const std::regex version(R"(^\d+\.\d+(\.\d+)?.*)");
    for (const auto& row : rows) {
        if (row.komponente.empty()) {
            EXPECT_EQ(row.version, "") << "the separator row";
            continue;
        }
        if (row.komponente == "Linux") continue;
        EXPECT_TRUE(std::regex_match(row.version, version)) << row.komponente << ": " << row.version;
    }
    // Libraries without a version call name the file that is really loaded.
    for (const auto& row : rows) {
        if (row.komponente == "giflib") {
            EXPECT_NE(row.version.find("(libgif.so."), std::string::npos) << row.version;
        }
        if (row.komponente == "libwmf") {
            EXPECT_NE(row.version.find("(libwmf"), std::string::npos) << row.version;
        }
    }
    // Without a window toolkit there is no toolkit row.
    const auto headless = komponentenzeilen(OperatingSystem(debian_facts()), {"", ""});
    EXPECT_EQ(headless.size(), rows.size() - 1);
}

TEST(AboutBox, LinksGoThroughTheDesktopOpener) {
    std::vector<std::string> opened;
    set_launcher([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    EXPECT_TRUE(homepage_oeffnen());
    EXPECT_TRUE(mail_oeffnen());
    set_launcher(nullptr);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], homepage_adresse());
    EXPECT_EQ(opened[0].rfind("https://", 0), 0u);
    EXPECT_EQ(opened[1], "mailto:" + mail_adresse());
}

}  // namespace
}  // namespace galvora
