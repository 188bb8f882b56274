#include "generation/script_glue.h"

#include <sstream>

#include "generation/generation_test_support.h"
#include "generation/settings_access.h"
#include "script/compiler.h"
#include "script/output.h"

namespace galvora::testing {
namespace {

class ScriptGlue : public GenerationTest {};

TEST_F(ScriptGlue, CompilesEveryNonBlankEntryOfTheRangeUnderItsKey) {
    set(150, "Titel {file}");
    set(151, "   ");  // blanks only: not compiled
    set(152, "");
    EXPECT_EQ(vorlagen_kompilieren(149, 173, "kind"), 0);
    EXPECT_TRUE(skriptfunktion_vorhanden("HTML_TITLE"));
    EXPECT_TRUE(skriptfunktion_vorhanden("html_head"));
    EXPECT_FALSE(skriptfunktion_vorhanden("HTML_BODY"));
    EXPECT_FALSE(skriptfunktion_vorhanden("HTML_POST_BODY"));
    EXPECT_TRUE(port.boxes.empty());
}

TEST_F(ScriptGlue, FirstFailingEntryStopsWithKindNameAndCompilerLine) {
    set(150, "ok");
    set(151, "line one\n{ x = ; }");
    set(152, "{ also broken ( }");
    EXPECT_NE(vorlagen_kompilieren(149, 173, "HTML-Thumbnailseite"), 0);
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, "ZantoScript Compiler");
    EXPECT_EQ(port.boxes[0].style, 48);
    const std::string& text = port.boxes[0].text;
    EXPECT_EQ(text.rfind("HTML-Thumbnailseite\r\n" + profileintrag_beschreibung()[151] + "\r\n\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("2"), std::string::npos);  // the line of the error
    // Entries before the failing one stay compiled, the one after is never reached.
    EXPECT_TRUE(skriptfunktion_vorhanden("HTML_TITLE"));
    EXPECT_FALSE(skriptfunktion_vorhanden("HTML_POST_BODY"));
}

TEST_F(ScriptGlue, TemplatesRunIntoTheirChannelAndEmptyEntriesWriteNothing) {
    set(150, "<b>{1+2}</b>");
    set(151, "   ");
    ASSERT_EQ(vorlagen_kompilieren(150, 151, "kind"), 0);
    std::ostringstream page;
    ausgabe_kanal_registrieren(3, &page);
    vorlage_ausgeben(3, 150);
    vorlage_ausgeben(3, 151);
    vorlage_ausgeben(3, 152);
    ausgabe_kanal_entfernen(3);
    EXPECT_EQ(page.str(), "<b>3</b>");
}

TEST_F(ScriptGlue, FunctionsRunByNameIntoTheTextBufferOrNowhere) {
    ASSERT_EQ(uebersetze(0, 1, "modul", "function _init() { \"seen\"; return 7; }"), 0);
    ausgabe_puffer.clear();
    skriptfunktion_ausfuehren(-1, "_INIT");
    EXPECT_EQ(ausgabe_puffer, "seen");
    EXPECT_EQ(global("_return_value")->als_integer(), 7);
    ausgabe_puffer.clear();
    skriptfunktion_ausfuehren(0, "_init");
    EXPECT_EQ(ausgabe_puffer, "");
    skriptfunktion_ausfuehren(0, "_nowhere");  // no such function: nothing happens
    EXPECT_TRUE(port.boxes.empty());
}

}  // namespace
}  // namespace galvora::testing
