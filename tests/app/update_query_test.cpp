// The update query against a server of the test's own on the loopback: the
// reply rules, the status check, the byte limit, redirects and a server that
// never answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "app/update_query.h"
#include "platform/loopback_http_server.h"

namespace galvora::testing {
namespace {

class UpdateQuery : public AppTest {
protected:
    void TearDown() override {
        set_update_adresse("");
        set_update_zeitlimit_ms(0);
        AppTest::TearDown();
    }

    // Points the query at the server and runs it as the button does.
    UpdateAuskunft ask(const LoopbackHttpServer& server) {
        set_update_adresse(server.url());
        return update_abfragen();
    }
};

struct ReplyCase {
    const char* what;
    std::string raw;
    bool available;
    std::string release;
    std::string beta;
};

TEST_F(UpdateQuery, ReplyRulesAgainstALoopbackServer) {
    const std::string fifty = "2.11.3;" + std::string(43, 'b');  // 50 bytes
    ASSERT_EQ(fifty.size(), 50u);
    const std::vector<ReplyCase> cases = {
        {"release and beta", http_reply("200 OK", "2.11.3;2.12.0"), true, "2.11.3", "2.12.0"},
        {"a release and an empty beta", http_reply("200 OK", "2.1;"), true, "2.1", "Keine"},
        {"no semicolon at all", http_reply("200 OK", "2.11.3"), true, "2.11.3", "Keine"},
        {"blanks around the whole and inside the beta", http_reply("200 OK", "  2.11.3;2.12.0 beta 1  "), true,
         "2.11.3", "2.12.0 beta 1"},
        {"a blank before the semicolon stays with the release", http_reply("200 OK", "2.11.3 ; 2.12"), true,
         "2.11.3 ", " 2.12"},
        {"a line break is no blank", http_reply("200 OK", "2.11.3;2.12.0\r\n"), true, "2.11.3", "2.12.0\r\n"},
        {"a third field is ignored", http_reply("200 OK", "2.11.3;2.12.0;x"), true, "2.11.3", "2.12.0"},
        {"exactly 50 bytes", http_reply("200 OK", fifty), true, "2.11.3", std::string(43, 'b')},
        {"51 bytes", http_reply("200 OK", fifty + "b"), false, "", ""},
        {"a long page", http_reply("200 OK", std::string(5000, 'x')), false, "", ""},
        {"an empty body", http_reply("200 OK", ""), false, "", ""},
        {"only blanks are read, so the release is empty", http_reply("200 OK", "   "), true, "", "Keine"},
        {"no release before the semicolon", http_reply("200 OK", ";2.12.0"), true, "", "2.12.0"},
        {"a short Not Found page", http_reply("404 Not Found", "Not Found"), false, "", ""},
        {"a server error", http_reply("500 Internal Server Error", "2.11.3;"), false, "", ""},
        {"a redirect is not followed", http_reply("302 Found", "2.9;", "Location: /galvora/other.txt\r\n"), false, "",
         ""},
        {"no status line at all", "2.11.3;2.12.0", false, "", ""},
    };
    for (const ReplyCase& c : cases) {
        LoopbackHttpServer server(c.raw);
        const UpdateAuskunft got = ask(server);
        EXPECT_EQ(got.verfuegbar, c.available) << c.what;
        if (c.available) {
            EXPECT_EQ(got.release, c.release) << c.what;
            EXPECT_EQ(got.beta, c.beta) << c.what;
        }
        EXPECT_EQ(server.requests(), 1) << c.what;
    }
}

TEST_F(UpdateQuery, AsksAsGalvoraAndBypassesCaches) {
    LoopbackHttpServer server(http_reply("200 OK", "2.11.3;"));
    ask(server);
    const std::string request = server.last_request();
    EXPECT_EQ(request.rfind("GET /galvora/version.txt HTTP/1.1\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("User-Agent: Galvora\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("Cache-Control: no-cache\r\n"), std::string::npos) << request;
}

TEST_F(UpdateQuery, GivesUpOnAServerThatNeverAnswers) {
    set_update_zeitlimit_ms(300);
    LoopbackHttpServer server("", /*silent=*/true);
    EXPECT_FALSE(ask(server).verfuegbar);
    EXPECT_EQ(server.requests(), 1);
}

TEST_F(UpdateQuery, NothingListeningAndUnusableAddresses) {
    std::string closed_port;
    {
        LoopbackHttpServer server(http_reply("200 OK", "1;"));
        closed_port = server.url();
    }
    for (const std::string& address : {closed_port, std::string("ftp://127.0.0.1/version.txt"),
                                       std::string("file:///etc/hostname"), std::string("")}) {
        set_update_adresse(address.empty() ? "not an address" : address);
        EXPECT_FALSE(update_abfragen().verfuegbar) << address;
    }
}

TEST_F(UpdateQuery, TheBuildAddressIsHttps) {
    EXPECT_EQ(update_adresse().rfind("https://", 0), 0u) << update_adresse();
}

TEST_F(UpdateQuery, ShowsTheVersionsOrThatNoneCouldBeFound) {
    update_melden({true, "2.11.3", "Keine"});
    update_melden({});
    ASSERT_EQ(port.boxes.size(), 2u);
    EXPECT_EQ(port.boxes[0].text, "Downloadbare Version: 2.11.3\r\n\r\nVerfügbare Beta-Version: Keine");
    EXPECT_EQ(port.boxes[0].style, MB_ICON_INFORMATION);
    EXPECT_EQ(port.boxes[0].title, program_title());
    EXPECT_EQ(port.boxes[1].text, msg("MsgInfoNotAvailable"));
    EXPECT_EQ(port.boxes[1].style, MB_ICON_INFORMATION);
}

}  // namespace
}  // namespace galvora::testing
