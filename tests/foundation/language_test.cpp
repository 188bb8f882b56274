#include "foundation/language.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "foundation/log.h"
#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "foundation/registry.h"
#include "ui_test_support.h"

namespace galvora {
namespace {

// Every test starts from a fresh collection holding only German.
class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        sprachen_neu_anlegen();
        deutsche_texte_anlegen();
    }
    void TearDown() override {
        set_language_changed_hook(nullptr);
        set_global_log(nullptr);
        sprachen_neu_anlegen();
    }

    std::vector<std::string> log_texts(const std::filesystem::path& file) {
        // Each log line is "<date> <time> <text>"; the text is what we compare.
        std::vector<std::string> out;
        std::ifstream in(file);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            size_t first = line.find(' ');
            size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
            out.push_back(second == std::string::npos ? line : line.substr(second + 1));
        }
        return out;
    }

    test::TempFolder tmp;
};

TEST_F(LanguageTest, BuiltInTableHasTheNamedSectionsAndCounts) {
    const std::vector<std::pair<std::string, int>> expected = {
        {"Sprache", 4},   {"Startdialog", 12},      {"Optionen", 30},     {"CProfil", 1},
        {"CDeko", 2},     {"CClonen", 6},           {"CClonenUmbenennen", 3}, {"CClonenEffekte", 5},
        {"CDateifilter", 1}, {"CThumbnails", 1},    {"CAllgemeines", 2},  {"CTextStempel", 5},
        {"CRahmen", 3},   {"CBildStempel", 3},      {"CBildEffekte", 24}, {"CZantoScript", 1},
        {"CZantoScriptModul", 2}, {"Profile", 63},  {"Erzeugung", 16},    {"Fortschrittanzeige", 1},
        {"Global", 7},    {"Find", 2},              {"Msg", 149},
    };
    // Counted from the table itself, in the order the sections first appear.
    std::vector<std::pair<std::string, int>> counted;
    for (const GermanText& row : german_text_table()) {
        if (counted.empty() || counted.back().first != row.section) counted.push_back({row.section, 0});
        ++counted.back().second;
    }
    EXPECT_EQ(counted, expected);
    EXPECT_EQ(german_text_table().size(), 343u);

    // Stored as one language with nothing lost to a duplicate key.
    const ZNLanguage* de = sprache_deutsch();
    ASSERT_NE(de, nullptr);
    long stored = 0;
    for (const auto& section : de->texts()) stored += section->count();
    EXPECT_EQ(stored, 343);
    EXPECT_EQ(de->texts().count(), 23);
}

TEST_F(LanguageTest, GermanTextsAreTheQuotedOnes) {
    const ZNLanguage* de = sprache_deutsch();
    ASSERT_NE(de, nullptr);
    EXPECT_EQ(de->SprachID(), "de");
    EXPECT_EQ(sprachen().item(1L), de);
    const std::map<std::pair<std::string, std::string>, std::string> samples = {
        {{"Sprache", "LanguageID"}, "de"},
        {{"Sprache", "LanguageImage"}, "Deutsch.gif"},
        {{"Global", "FormatDateTime"}, "dd.mm.yyyy hh:mm:ss"},
        {{"Msg", "ErrProfileFileRead"}, "Fehler %1 beim Lesen der Profildatei%n%2%n%nZeile %3%n%4"},
        {{"Msg", "ErrZNSMssingConstant"}, "Keine Konstante bei CASE"},
        {{"Erzeugung", "InfImageLog"}, "%1%n%2%n%3 Pixel%n%4 Bytes"},
        {{"CBildEffekte", "EffectHalftone"}, "Schwarz-Weiß"},
    };
    for (const auto& [where, text] : samples) EXPECT_EQ(de->inq(where.first, where.second), text) << where.second;
}

TEST_F(LanguageTest, MissingTextShowsTheKeyBetweenQuestionMarks) {
    ZNLanguage* de = sprache_deutsch();
    EXPECT_EQ(de->inq("Msg", "NoSuchKey"), "?NoSuchKey?");
    EXPECT_EQ(de->inq("NoSuchSection", "Title"), "?Title?");
    EXPECT_EQ(de->inq("msg", "errzNSok"), "Code Ok");  // lookups ignore letter case
    // No current language yet: the program-wide lookup gives the same form.
    EXPECT_EQ(inq("Msg", "ErrZNSOk"), "?ErrZNSOk?");
}

TEST_F(LanguageTest, StoreKeepsTheFirstText) {
    ZNLanguage* de = sprache_deutsch();
    de->store("Msg", "ErrZNSOk", "anders");
    de->store("Neu", "K", "eins");
    de->store("NEU", "k", "zwei");
    EXPECT_EQ(de->inq("Msg", "ErrZNSOk"), "Code Ok");
    EXPECT_EQ(de->inq("neu", "K"), "eins");
}

struct AddFileCase {
    const char* name;
    const char* content;
    long error;
    const char* description;
};

TEST_F(LanguageTest, LanguageFilesThatAreRejected) {
    const AddFileCase cases[] = {
        {"identifier of the built-in language", "[Sprache]\nLanguageID = DE\n", 457,
         "This key is already associated with an element of this collection"},
        {"no identifier", "[Sprache]\nLanguageName = Nix\n", 1000, "Missing LanguageID"},
        {"identifier in the missing-text form", "[Sprache]\nLanguageID = ?en?\n", 1000, "Missing LanguageID"},
        {"no section header", "LanguageID = en\n", 1001, "Section missing"},
        {"line without equals sign", "[Sprache]\nLanguageID = en\n[Msg]\nbroken\n", 1002, "Value missing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sprachen().AddFile(tmp.write("x.lng", c.content).string()), nullptr);
        EXPECT_EQ(sprachen().last_error().number, c.error);
        EXPECT_EQ(sprachen().last_error().description, c.description);
        EXPECT_EQ(sprachen().count(), 1);
    }
    // German is untouched by the rejected "de" file.
    EXPECT_EQ(sprache_deutsch()->inq("Sprache", "LanguageName"), "Deutsch");
}

TEST_F(LanguageTest, CollectionByIdentifierAndPosition) {
    ZNLanguage* en = sprachen().AddFile(tmp.write("en.lng", "[Sprache]\nLanguageID = en\n[Msg]\nErrZNSOk = OK\n").string());
    ASSERT_NE(en, nullptr);
    EXPECT_TRUE(sprachen().last_error().empty());
    EXPECT_EQ(en->SprachID(), "en");
    EXPECT_EQ(sprachen().item("EN"), en);
    EXPECT_EQ(sprachen().item(2), en);
    EXPECT_EQ(sprachen().item(3L), nullptr);
    EXPECT_EQ(sprachen().item(0), nullptr);
    EXPECT_EQ(sprachen().add("en"), en);
    // The second file with the same identifier loses.
    EXPECT_EQ(sprachen().AddFile(tmp.write("en2.lng", "[Sprache]\nLanguageID = En\n").string()), nullptr);
    EXPECT_EQ(sprachen().last_error().number, 457);
    EXPECT_EQ(en->inq("Msg", "ErrZNSOk"), "OK");
    EXPECT_TRUE(sprachen().remove("en"));
    EXPECT_FALSE(sprachen().remove("en"));
    EXPECT_FALSE(sprachen().remove(5));
    EXPECT_EQ(sprachen().count(), 1);
}

TEST_F(LanguageTest, LoadingLanguageFilesLogsAndSkipsBadOnes) {
    test::ProgramFolderScope folder(tmp.path());
    tmp.write("languages/b_english.LNG", "[Sprache]\nLanguageID = en\nLanguageName = English\n");
    tmp.write("languages/a_broken.lng", "[Sprache]\nno equals sign\n");
    tmp.write("languages/c_german.lng", "[Sprache]\nLanguageID = de\n");
    tmp.write("languages/d_english_again.lng", "[Sprache]\nLanguageID = en\n");
    tmp.write("languages/notes.lng.txt", "[Sprache]\nLanguageID = xx\n");
    std::filesystem::create_directories(tmp.path() / "languages" / "folder.lng");

    const auto log_file = tmp.path() / "test.log";
    auto log = std::make_unique<LogClass>();
    ASSERT_TRUE(log->CreateLogfile(log_file.string()));
    set_global_log(std::move(log));

    sprachen_neu_anlegen();
    sprachdateien_laden();
    set_global_log(nullptr);

    ASSERT_EQ(sprachen().count(), 2);
    EXPECT_EQ(sprachen().item(1L), sprache_deutsch());
    EXPECT_EQ(sprachen().item(2L)->inq("Sprache", "LanguageName"), "English");
    EXPECT_EQ(sprachen().item("xx"), nullptr);

    const std::string dir = (tmp.path() / "languages").string() + "/";
    const std::string dup = "This key is already associated with an element of this collection";
    const std::vector<std::string> expected = {
        "Load Languagefiles START",
        "Load Languagefile " + dir + "a_broken.lng START",
        "Load Languagefile " + dir + "a_broken.lng Value missing",
        "Load Languagefile " + dir + "a_broken.lng END",
        "Load Languagefile " + dir + "b_english.LNG START",
        "Load Languagefile " + dir + "b_english.LNG END",
        "Load Languagefile " + dir + "c_german.lng START",
        "Load Languagefile " + dir + "c_german.lng " + dup,
        "Load Languagefile " + dir + "c_german.lng END",
        "Load Languagefile " + dir + "d_english_again.lng START",
        "Load Languagefile " + dir + "d_english_again.lng " + dup,
        "Load Languagefile " + dir + "d_english_again.lng END",
        "Load Languagefiles END",
    };
    std::vector<std::string> lines = log_texts(log_file);
    // The log may open with lines of its own; ours are the last ones.
    ASSERT_GE(lines.size(), expected.size());
    lines.erase(lines.begin(), lines.end() - static_cast<long>(expected.size()));
    EXPECT_EQ(lines, expected);
}

TEST_F(LanguageTest, StartChoiceReadsTheRegistryOnlyWithSeveralLanguages) {
    registry_schreiben("Administration", "language", "en");
    EXPECT_EQ(sprache_beim_start(), "de");  // German alone: the stored value is not read

    ASSERT_NE(sprachen().AddFile(tmp.write("en.lng", "[Sprache]\nLanguageID = en\n").string()), nullptr);
    EXPECT_EQ(sprache_beim_start(), "en");
}

TEST_F(LanguageTest, SelectingALanguageSetsPatternsStoresTheChoiceAndCallsTheHook) {
    test::RecordingPort port;
    int hook_calls = 0;
    set_language_changed_hook([&] { ++hook_calls; });
    ZNLanguage* en = sprachen().AddFile(
        tmp.write("en.lng", "[Sprache]\nLanguageID = en\n[Global]\nFormatDate = m/d/yyyy\nFormatTime = hh:mm\n")
            .string());
    ASSERT_NE(en, nullptr);

    EXPECT_TRUE(sprache_waehlen("EN"));
    EXPECT_EQ(aktuelle_sprache(), en);
    EXPECT_EQ(format_datum, "m/d/yyyy");
    EXPECT_EQ(format_zeit, "hh:mm");
    EXPECT_EQ(format_datum_zeit, "?FormatDateTime?");  // no fallback to German
    EXPECT_EQ(registry_lesen("Administration", "language", ""), "en");
    EXPECT_EQ(hook_calls, 1);
    EXPECT_TRUE(port.boxes.empty());

    EXPECT_TRUE(sprache_waehlen("de"));
    EXPECT_EQ(format_datum_zeit, "dd.mm.yyyy hh:mm:ss");
    EXPECT_EQ(hook_calls, 2);
}

TEST_F(LanguageTest, MissingLanguageFallsBackToGermanWithTheBilingualMessage) {
    test::RecordingPort port;
    batchmodus = false;
    EXPECT_FALSE(sprache_waehlen("fr"));
    EXPECT_EQ(aktuelle_sprache(), sprache_deutsch());
    EXPECT_EQ(registry_lesen("Administration", "language", ""), "de");
    EXPECT_EQ(format_datum, "d.m.yyyy");
    ASSERT_EQ(port.boxes.size(), 1u);
    const std::string t = program_title();
    EXPECT_EQ(port.boxes[0].title, t);
    EXPECT_EQ(port.boxes[0].style, 48);
    EXPECT_EQ(port.boxes[0].text,
              "Sprachdatei für SprachID \"fr\" fehlt\r\n\r\n" + t +
                  " wird mit Meldungstexten in Deutsch gestartet\r\n\r\n----------\r\n\r\n"
                  "Languagefile for LanguageID \"fr\" missing\r\n\r\nStarting " + t + " with messages in German");
}

// The main window as the tests see it: a caption, a tagged label, an untagged
// one, a picture box with a tag and a control without a caption.
struct MainWindowFixture {
    test::FakeControl label, untagged, picture, list;
    test::FakeWindow window;
    MainWindowFixture() {
        label.tag_ = "BaseDirectory";
        label.caption_ = "Basis (Entwurf)";
        untagged.caption_ = "bleibt";
        picture.kind_ = ControlKind::PictureBox;
        picture.tag_ = "Pic";
        picture.caption_ = "Bild";
        list.tag_ = "List";
        window.name_ = "Startdialog";
        window.tag_ = "Title";
        window.caption_ = "Galvora";
        window.controls_ = {&label, &untagged, &picture, &list};
    }
};

TEST_F(LanguageTest, DesignCaptionsAreRecordedOnceAndNeverReplaceTableTexts) {
    MainWindowFixture f;
    ZNLanguage* de = sprache_deutsch();
    de->AddForm(f.window);
    EXPECT_EQ(de->inq("Startdialog", "Title"), "Galvora");
    EXPECT_EQ(de->inq("Startdialog", "BaseDirectory"), "Basisverzeichnis");  // the table text stays
    EXPECT_EQ(de->inq("Startdialog", "Pic"), "?Pic?");
    EXPECT_TRUE(de->texts().item("Startdialog")->init());

    // Recorded once per run: later design changes are not taken.
    f.window.caption_ = "Anders";
    de->AddForm(f.window);
    EXPECT_EQ(de->inq("Startdialog", "Title"), "Galvora");
}

TEST_F(LanguageTest, InitFormTakesCaptionsFromTheLanguage) {
    MainWindowFixture f;
    ZNLanguage* en = sprachen().AddFile(
        tmp.write("en.lng", "[Sprache]\nLanguageID = en\n[Startdialog]\nTitle = Main\nList = Ignored\n").string());
    ASSERT_NE(en, nullptr);
    en->InitForm(f.window);
    EXPECT_EQ(f.label.caption_, "?BaseDirectory?");
    EXPECT_EQ(f.untagged.caption_, "bleibt");
    EXPECT_EQ(f.picture.caption_, "Bild");
    EXPECT_FALSE(f.list.caption_.has_value());
    EXPECT_EQ(f.window.caption_, "Galvora");  // the window's own caption is the caller's business

    // A language without the window's section leaves every caption alone.
    ZNLanguage* fr = sprachen().AddFile(tmp.write("fr.lng", "[Sprache]\nLanguageID = fr\n").string());
    ASSERT_NE(fr, nullptr);
    f.label.caption_ = "Basis";
    fr->InitForm(f.window);
    EXPECT_EQ(f.label.caption_, "Basis");
    EXPECT_EQ(fr->inq(f.window.name(), "Title"), "?Title?");
}

}  // namespace
}  // namespace galvora

namespace galvora {
namespace {

// The argument placeholders "%1".."%9" a text uses.
std::string placeholder_signature(const std::string& text) {
    std::string sig;
    for (char digit = '1'; digit <= '9'; ++digit) {
        if (text.find(std::string("%") + digit) != std::string::npos) sig += digit;
    }
    return sig;
}

TEST(ShippedLanguageFiles, EnglishHasEveryKeyWithTheSamePlaceholders) {
    ZNLanguages languages;
    ZNLanguage* en = languages.AddFile(std::string(GALVORA_SOURCE_DIR) + "/resources/languages/english.lng");
    ASSERT_NE(en, nullptr) << languages.last_error().description;
    EXPECT_EQ(en->SprachID(), "en");
    for (const GermanText& row : german_text_table()) {
        const std::string text = en->inq(row.section, row.key);
        EXPECT_NE(text, "?" + std::string(row.key) + "?") << row.section << "/" << row.key;
        EXPECT_EQ(placeholder_signature(text), placeholder_signature(row.text)) << row.section << "/" << row.key;
    }
}

}  // namespace
}  // namespace galvora
