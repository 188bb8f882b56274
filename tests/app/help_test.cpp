// The HTML help: every link and anchor leads somewhere, every page can be
// reached from the contents, every help context has its page, and every
// built-in function and keyword of the script language has its entry in
// the language reference, taken from the program's own tables so that a new
// built-in without help fails here. Then the help operations: which page
// they open, and that nothing opens without help.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "app/help.h"
#include "generation/browser_launch.h"
#include "script/internal_functions.h"
#include "script/lexer.h"

namespace galvora::testing {
namespace {

const fs::path kHelp = fs::path(GALVORA_SOURCE_DIR) / "resources" / "help";

std::string slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Page {
    std::string text;
    std::set<std::string> anchors;
    std::vector<std::string> links;  // href and src values
};

std::map<std::string, Page> read_help() {
    std::map<std::string, Page> pages;
    // Only real tags count: the examples show markup escaped as "&lt;a href=...".
    const std::regex anchor(R"re(<[a-z][a-z0-9]*\s[^<>]*?\b(?:id|name)="([^"]+)")re");
    const std::regex link(R"re(<(?:a|link|img)\s[^<>]*?\b(?:href|src)="([^"]*)")re");
    for (const auto& entry : fs::directory_iterator(kHelp)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".html" && ext != ".htm") continue;
        Page page;
        page.text = slurp(entry.path());
        for (std::sregex_iterator it(page.text.begin(), page.text.end(), anchor), end; it != end; ++it)
            page.anchors.insert((*it)[1]);
        for (std::sregex_iterator it(page.text.begin(), page.text.end(), link), end; it != end; ++it)
            page.links.push_back((*it)[1]);
        pages[entry.path().filename().string()] = std::move(page);
    }
    return pages;
}

size_t count_of(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The text of the element that carries the id, up to the end of its section.
std::string section_of(const std::string& page, const std::string& id) {
    const size_t start = page.find("<section class=\"entry\" id=\"" + id + "\">");
    if (start == std::string::npos) return {};
    return page.substr(start, page.find("</section>", start) - start);
}

TEST(HelpPages, EveryLinkAndAnchorLeadsSomewhere) {
    const auto pages = read_help();
    ASSERT_GT(pages.size(), 20u);
    for (const auto& [name, page] : pages) {
        EXPECT_NE(page.text.find("<title>"), std::string::npos) << name;
        for (const char* tag : {"table", "pre", "section", "ul", "dl"})
            EXPECT_EQ(count_of(page.text, std::string("<") + tag + ">") + count_of(page.text, std::string("<") + tag + " "),
                      count_of(page.text, std::string("</") + tag + ">"))
                << name << ": <" << tag << "> not closed";
        for (const std::string& target : page.links) {
            if (target.rfind("http://", 0) == 0 || target.rfind("https://", 0) == 0 || target.rfind("mailto:", 0) == 0)
                continue;
            const size_t hash = target.find('#');
            const std::string file = hash == std::string::npos ? target : target.substr(0, hash);
            const std::string fragment = hash == std::string::npos ? "" : target.substr(hash + 1);
            const std::string in = file.empty() ? name : file;
            if (file.empty() && fragment.empty()) {
                ADD_FAILURE() << name << ": empty link";
                continue;
            }
            if (in == "style.css") continue;
            auto found = pages.find(in);
            ASSERT_NE(found, pages.end()) << name << " links to a missing page: " << target;
            if (!fragment.empty()) {
                EXPECT_TRUE(found->second.anchors.count(fragment)) << name << " links to a missing anchor: " << target;
            }
        }
    }
    EXPECT_TRUE(fs::is_regular_file(kHelp / "style.css"));
}

TEST(HelpPages, EveryPageIsReachableFromTheContents) {
    const auto pages = read_help();
    std::set<std::string> seen{kHilfeInhalt};
    std::deque<std::string> todo{kHilfeInhalt};
    while (!todo.empty()) {
        const std::string name = todo.front();
        todo.pop_front();
        auto page = pages.find(name);
        ASSERT_NE(page, pages.end()) << name;
        for (const std::string& target : page->second.links) {
            const std::string file = target.substr(0, target.find('#'));
            if (!file.empty() && pages.count(file) && seen.insert(file).second) todo.push_back(file);
        }
    }
    for (const auto& [name, page] : pages) EXPECT_TRUE(seen.count(name)) << name << " cannot be reached";
}

TEST(HelpPages, EveryHelpContextHasItsPage) {
    std::set<std::string> distinct;
    for (int context = 1001; context <= 1025; ++context) {
        const std::string page = hilfeseite(context);
        ASSERT_FALSE(page.empty()) << context;
        EXPECT_TRUE(fs::is_regular_file(kHelp / page)) << context << ": " << page;
        distinct.insert(page);
    }
    EXPECT_EQ(distinct.size(), 25u);
    EXPECT_EQ(hilfeseite(1000), "");
    EXPECT_EQ(hilfeseite(1026), "");
    EXPECT_EQ(hilfekontexte().size(), 25u);
}

TEST(HelpPages, EveryBuiltInAndKeywordHasItsEntryInTheReference) {
    const auto pages = read_help();
    auto reference = pages.find(kSkriptHilfeSeite);
    ASSERT_NE(reference, pages.end());
    const Page& page = reference->second;

    const auto& members = ZNSInterneFunktionen::members();
    ASSERT_EQ(members.size(), 65u);
    for (const std::string& member : members) {
        ASSERT_EQ(member.rfind("qim_", 0), 0u) << member;
        const std::string name = member.substr(4);
        ASSERT_TRUE(page.anchors.count(name)) << "no help for the built-in " << name;
        const std::string entry = section_of(page.text, name);
        for (const char* part : {"<dt>Arguments</dt>", "<dt>Result</dt>", "<dt>Errors</dt>", "<dt>Example</dt>"})
            EXPECT_NE(entry.find(part), std::string::npos) << name << " lacks " << part;
        EXPECT_NE(entry.find("<code>" + name + "("), std::string::npos) << name << ": no call form";
        EXPECT_NE(page.text.find("href=\"#" + name + "\""), std::string::npos) << name << " is not in the list";
    }
    const auto keywords = zns_schluesselwoerter();
    ASSERT_EQ(keywords.size(), 12u);
    for (const ZNSSchluesselwort& keyword : keywords)
        EXPECT_TRUE(page.anchors.count(keyword.wort)) << "no help for the keyword " << keyword.wort;
    for (const char* hook : {"hook-init", "hook-initpath", "hook-initpic", "hook-oracle", "hook-clone"})
        EXPECT_TRUE(page.anchors.count(hook)) << hook;
}

class HelpCalls : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        set_browser_opener([this](const std::string& target) { opened.push_back(target); });
    }
    void TearDown() override {
        set_browser_opener(nullptr);
        HelpFilePath.clear();
        AppTest::TearDown();
    }
    std::vector<std::string> opened;
};

TEST_F(HelpCalls, PagesOpenInTheBrowserAtTheirAnchor) {
    set_program_folder(kHelp.parent_path());
    HelpFilePath = hilfedatei_ermitteln();
    ASSERT_EQ(HelpFilePath, (kHelp / kHilfeInhalt).string());
    const std::string folder = "file://" + kHelp.string() + "/";

    HtmlHelpContents();
    HtmlHelpTopic(skript_hilfethema("EXIF"));  // F1 on a word written in capitals
    HtmlHelpTopic(skript_hilfethema(""));      // F1 on no word: the reference itself
    HtmlHelpContext(1003);
    HtmlHelpTopic("no-such-page.html#x");      // a page that is not there: the contents
    HtmlHelpTopic("../languages/english.lng");
    HtmlHelpContext(999);                      // no page: nothing
    const std::vector<std::string> expected = {
        folder + "index.html",           folder + "zng_doc703.htm#exif", folder + "zng_doc703.htm",
        folder + "options-file-filter.html", folder + "index.html",      folder + "index.html",
    };
    EXPECT_EQ(opened, expected);
    EXPECT_TRUE(port.boxes.empty());
}

TEST_F(HelpCalls, WithoutHelpNothingOpensAndTheMenuSaysSo) {
    HelpFilePath = hilfedatei_ermitteln();
    EXPECT_EQ(HelpFilePath, "");
    HtmlHelpContents();
    HtmlHelpTopic(skript_hilfethema("exif"));
    HtmlHelpContext(1001);
    EXPECT_TRUE(opened.empty());

    hilfe_menue();
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].text, msg("ErrHelpMissing", {(tmp.path() / "program" / "help" / "index.html").string()}));
    EXPECT_EQ(port.boxes[0].style, MB_ICON_INFORMATION);
    EXPECT_TRUE(opened.empty());
}

}  // namespace
}  // namespace galvora::testing
