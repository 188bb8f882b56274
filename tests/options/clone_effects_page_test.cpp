// The clone-effect list page: chooser and list editor, new, delete, up,
// down, rename, the nested editors and the preview.
#include <gtest/gtest.h>

#include <cstring>

#include "foundation/registry.h"
#include "image/picture/effect_calls.h"
#include "options/options_test_support.h"
#include "options/pages/clone_effects_page.h"
#include "profile/border.h"
#include "profile/picture_effect.h"
#include "profile/text_stamp.h"

namespace galvora::testing {
namespace {

bool same_pixels(const PictureBuffer& a, const PictureBuffer& b) {
    return a.width() == b.width() && a.height() == b.height() && !a.empty() &&
           std::memcmp(a.data(), b.data(), a.size_bytes()) == 0;
}

class EffectsPage : public OptionsTest {
protected:
    CClonenEffekte& page() { return *dynamic_cast<CClonenEffekte*>(dialog().seite(PageSlot::CClonenEffekte1)); }
    PageControl& c(const std::string& name, int index = -1) { return page().control(name, index); }
    CCloneEffekte& list() { return WorkingCloneEffects(); }
    PictureBuffer plain() { return CClonenEffekte::beispiel_aufnehmen(page().vorschau_breite(), page().vorschau_hoehe()); }

    std::shared_ptr<CBildEffekt> effect(int32_t kind, const std::string& name) {
        auto e = std::make_shared<CBildEffekt>();
        e->Bildeffektart(kind);
        e->Description(name);
        return e;
    }
    // A list of effects, loaded as a profile load does.
    void load_list(const std::vector<std::shared_ptr<CCloneEffekt>>& effects) {
        list().clear();
        for (const auto& e : effects) list().add(e);
        dialog().InitDialog();
    }
    void choose_menu(int entry) { page().user_choose(c("pEffektMenü"), entry); }
    std::vector<std::string> rows() {
        std::vector<std::string> texts;
        for (const ListItem& item : c("ListViewCloneEffekte").state().items) texts.push_back(item.text);
        return texts;
    }
    std::vector<std::string> descriptions() {
        std::vector<std::string> texts;
        for (const auto& e : list()) texts.push_back(e->Description());
        return texts;
    }
};

TEST_F(EffectsPage, AnEmptyListLeavesOnlyTheListEditorUsable) {
    load_list({});
    for (const auto& control : page().all_controls())
        EXPECT_EQ(control->state().enabled, control->name() == "FrameGesamt" || control->name() == "Edit")
            << control->id();
    EXPECT_EQ(page().position(), 0);
    EXPECT_EQ(page().aktueller_effekt(), nullptr);
    EXPECT_TRUE(same_pixels(page().vorschau(), plain()));
    for (const char* editor : {"CTextStempel1", "CBildStempel1", "CRahmen1", "CBildEffekte1"})
        EXPECT_FALSE(c(editor).state().visible);
    page().user_click(c("Edit"));
    EXPECT_TRUE(c("FrameEffektEdit").state().visible);
    EXPECT_FALSE(c("Edit").state().visible);
    EXPECT_FALSE(c("ComboCloneEffekte").state().enabled);
    for (const char* name : {"Neu", "Auswählen"}) EXPECT_TRUE(c(name).state().enabled) << name;
    for (const char* name : {"Löschen", "nachOben", "nachUnten", "ListViewCloneEffekte"})
        EXPECT_FALSE(c(name).state().enabled) << name;
}

TEST_F(EffectsPage, NewEffectsAreAppendedWithTheirKindsNameAndShownOnLeaving) {
    load_list({});
    page().user_click(c("Edit"));
    for (int entry = 0; entry < 4; ++entry) {
        page().user_click(c("Neu"));
        const auto requests = page().take_view_requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.back().first, &c("pEffektMenü"));
        EXPECT_EQ(requests.back().second, ViewRequest::PopupMenu);
        choose_menu(entry);
        EXPECT_EQ(page().position(), entry + 1);
        EXPECT_EQ(c("ListViewCloneEffekte").state().value, entry);
    }
    EXPECT_EQ(descriptions(), (std::vector<std::string>{"Textstempel", "Bildstempel", "Rahmen", "Bildeffekt"}));
    EXPECT_EQ(rows(), descriptions());
    EXPECT_EQ(c("ListViewCloneEffekte").state().items[2].image_key, "Border");
    EXPECT_TRUE(c("Löschen").state().enabled);
    // The chooser follows when the list editor is left.
    EXPECT_TRUE(c("ComboCloneEffekte").state().items.empty());
    page().user_click(c("Auswählen"));
    EXPECT_FALSE(c("FrameEffektEdit").state().visible);
    EXPECT_TRUE(c("Edit").state().visible);
    EXPECT_EQ(c("ComboCloneEffekte").state().items.size(), 4u);
    EXPECT_EQ(c("ComboCloneEffekte").state().value, 3);
    EXPECT_TRUE(c("CBildEffekte1").state().visible);
    EXPECT_EQ(page().effect_editor().effekt(), list().item(4).get());
    // Choosing in the chooser shows that effect's editor.
    page().user_choose(c("ComboCloneEffekte"), 0);
    EXPECT_TRUE(c("CTextStempel1").state().visible);
    EXPECT_FALSE(c("CBildEffekte1").state().visible);
    EXPECT_EQ(page().text_editor().stempel(), list().item(1).get());
}

TEST_F(EffectsPage, DeletingKeepsThePositionValid) {
    load_list({effect(11, "a"), effect(17, "b"), effect(18, "c")});
    page().user_click(c("Edit"));
    page().user_choose(c("ListViewCloneEffekte"), 1);
    page().user_click(c("Löschen"));
    EXPECT_EQ(descriptions(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(rows(), descriptions());
    EXPECT_EQ(page().position(), 2) << "the following effect now holds the position";
    page().user_click(c("Löschen"));
    EXPECT_EQ(descriptions(), std::vector<std::string>{"a"});
    EXPECT_EQ(page().position(), 1) << "the new last one";
    page().user_click(c("Löschen"));
    EXPECT_EQ(page().position(), 0);
    EXPECT_TRUE(c("Neu").state().enabled);
    EXPECT_FALSE(c("Löschen").state().enabled);
    page().user_click(c("Löschen"));  // nothing left to delete
    page().user_click(c("Auswählen"));
    EXPECT_EQ(page().aktueller_effekt(), nullptr);
    for (const char* editor : {"CTextStempel1", "CBildStempel1", "CRahmen1", "CBildEffekte1"})
        EXPECT_FALSE(c(editor).state().visible);
    EXPECT_FALSE(c("ComboCloneEffekte").state().enabled);
    EXPECT_TRUE(c("Edit").state().enabled);
}

// Deliberately redrawn after Delete: a preview that still showed the deleted
// effect would show a clone the run no longer makes.
TEST_F(EffectsPage, ADeletedEffectIsNoLongerPreviewed) {
    registry_schreiben("LastSession", "showallcloneeffects", "0");
    optionen_freigeben();
    load_list({effect(17, "Negativ"), effect(11, "Grau")});
    ASSERT_EQ(c("AlleZeigen").state().value, 0);
    EXPECT_FALSE(same_pixels(page().vorschau(), plain()));
    page().user_click(c("Edit"));
    page().user_click(c("Löschen"));  // the effect shown
    EXPECT_TRUE(same_pixels(page().vorschau(), plain()));
    // With all effects shown, the list without the deleted one.
    page().user_click(c("AlleZeigen"));
    EXPECT_EQ(registry_lesen("LastSession", "showallcloneeffects", ""), "1");
    PictureBuffer grey = page().vorschau().copy();
    EXPECT_FALSE(same_pixels(grey, plain()));
    auto outer = std::make_shared<CBorder>();
    outer->RahmenArt(1);
    list().add(outer);
    page().user_click(c("Auswählen"));
    EXPECT_EQ(page().vorschau_bild().width(), page().vorschau_breite() + 20);
    page().user_click(c("Edit"));
    page().user_choose(c("ListViewCloneEffekte"), 1);
    page().user_click(c("Löschen"));
    EXPECT_EQ(page().vorschau_bild().width(), page().vorschau_breite());
    EXPECT_TRUE(same_pixels(page().vorschau(), grey));
}

TEST_F(EffectsPage, UpAndDownMoveWithinTheListOnly) {
    load_list({effect(11, "a"), effect(17, "b"), effect(18, "c")});
    page().user_click(c("Edit"));
    page().user_choose(c("ListViewCloneEffekte"), 0);
    int draws = page().vorschau_zaehler();
    page().user_click(c("nachOben"));
    EXPECT_EQ(descriptions(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(page().vorschau_zaehler(), draws) << "nothing moved, nothing drawn";
    page().user_click(c("nachUnten"));
    EXPECT_EQ(descriptions(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(page().position(), 2);
    EXPECT_EQ(c("ListViewCloneEffekte").state().value, 1);
    EXPECT_EQ(page().vorschau_zaehler(), draws + 1);
    page().user_click(c("nachUnten"));
    page().user_click(c("nachUnten"));
    EXPECT_EQ(descriptions(), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(page().position(), 3);
    EXPECT_EQ(rows(), descriptions());
    EXPECT_TRUE(list().verändert());
}

TEST_F(EffectsPage, LabelsAreEditedWithF2AndDoubleClickShowsTheEffect) {
    load_list({effect(11, "a"), effect(17, "b")});
    page().user_click(c("Edit"));
    page().user_choose(c("ListViewCloneEffekte"), 1);
    page().take_view_requests();
    page().user_key(c("ListViewCloneEffekte"), ControlEvent::KeyUp, kKeyF2, 0);
    const auto requests = page().take_view_requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].second, ViewRequest::EditLabel);
    page().user_label_edit(1, "Negativbild");
    EXPECT_EQ(list().item(2)->Description(), "Negativbild");
    EXPECT_EQ(rows()[1], "Negativbild");
    page().user_label_edit(0, "");
    EXPECT_EQ(list().item(1)->Description(), "");
    c("ListViewCloneEffekte").state().value = 1;
    page().user_double_click(c("ListViewCloneEffekte"));
    EXPECT_FALSE(c("FrameEffektEdit").state().visible);
    EXPECT_EQ(c("ComboCloneEffekte").state().items[1].text, "Negativbild");
    EXPECT_EQ(c("ComboCloneEffekte").state().value, 1);
    EXPECT_EQ(page().effect_editor().effekt(), list().item(2).get());
}

TEST_F(EffectsPage, ShowAllLivesInTheRegistry) {
    for (const auto& [stored, shown] : std::vector<std::pair<const char*, int>>{{"0", 0}, {"1", 1}, {"7", 1}, {"x", 1}}) {
        registry_schreiben("LastSession", "showallcloneeffects", stored);
        optionen_freigeben();
        EXPECT_EQ(c("AlleZeigen").state().value, shown) << stored;
    }
    page().user_click(c("AlleZeigen"));
    EXPECT_EQ(registry_lesen("LastSession", "showallcloneeffects", ""), "0");
    optionen_freigeben();
    EXPECT_EQ(c("AlleZeigen").state().value, 0);
}

TEST_F(EffectsPage, EditorChangesRedrawThePreviewAndLargerPicturesAreFitted) {
    auto outer = std::make_shared<CBorder>();
    outer->RahmenArt(1);
    outer->Position(5);
    outer->Breite(30);
    load_list({outer});
    const int32_t box = page().vorschau_breite();
    ASSERT_EQ(page().vorschau_bild().height(), box + 60);
    // Fitted by the smaller ratio, drawn at the top-left corner.
    EXPECT_EQ(page().vorschau().height(), box);
    EXPECT_EQ(page().vorschau().width(), static_cast<int32_t>(std::nearbyint(box * double(box) / (box + 60))));
    const int draws = page().vorschau_zaehler();
    CRahmen& editor = page().border_editor();
    editor.user_text(editor.control("Breite"), "10");
    editor.user_focus_out(editor.control("Breite"));
    EXPECT_EQ(outer->Breite(), 10);
    EXPECT_EQ(page().vorschau_zaehler(), draws + 1);
    EXPECT_EQ(page().vorschau_bild().height(), box + 20);
    // Showing another effect draws once, after its editor is filled.
    load_list({outer, effect(17, "Negativ")});
    const int before = page().vorschau_zaehler();
    page().user_choose(c("ComboCloneEffekte"), 1);
    EXPECT_EQ(page().vorschau_zaehler(), before + 1);
}

// The stamp's text is a template; the preview draws what it writes, as the run does.
TEST_F(EffectsPage, ATextStampIsDrawnAsItsTemplateWritesIt) {
    registry_schreiben("LastSession", "showallcloneeffects", "0");
    optionen_freigeben();
    auto stamp = std::make_shared<CTextStamp>();
    stamp->Text("{1 + 1}");
    stamp->Font("DejaVu Sans");
    stamp->Height(20);
    load_list({stamp});
    PictureBuffer expected = plain();
    ErrorInfo error;
    ASSERT_TRUE(apply_text_stamp(expected, *stamp, "2", error));
    EXPECT_TRUE(same_pixels(page().vorschau_bild(), expected));
    EXPECT_FALSE(same_pixels(expected, plain()));
    PictureBuffer literal = plain();
    ASSERT_TRUE(apply_text_stamp(literal, *stamp, "{1 + 1}", error));
    EXPECT_FALSE(same_pixels(expected, literal));
    // An empty text draws nothing.
    page().text_editor().user_text(page().text_editor().control("StempelText"), "");
    EXPECT_EQ(stamp->Text(), "");
    EXPECT_TRUE(same_pixels(page().vorschau_bild(), plain()));
}

}  // namespace
}  // namespace galvora::testing

namespace galvora::testing {
namespace {

TEST_F(EffectsPage, EveryCaptionOfTheEditorsHasAnEnglishText) {
    ZNLanguage* english = sprachen().AddFile(GALVORA_SOURCE_DIR "/resources/languages/english.lng");
    ASSERT_NE(english, nullptr);
    sprache_waehlen("en");
    dialog().InitLanguage();
    for (const char* name : {"CTextStempel1", "CBildStempel1", "CRahmen1", "CBildEffekte1"}) {
        OptionPage& editor = *page().editor(name);
        for (const auto& control : editor.all_controls()) {
            const std::optional<std::string> caption = control->caption();
            if (control->tag().empty() || !caption) continue;
            EXPECT_NE(caption->front(), '?') << name << "/" << control->id() << ": " << *caption;
        }
    }
    EXPECT_EQ(page().effect_editor().control("BildeffektartCombo").state().items[0].text, "Sharpen");
    EXPECT_EQ(page().control("pEffektMenü").state().items[2].text, "Frame");
    EXPECT_EQ(page().control("ListViewCloneEffekte").state().caption, "Description");
    EXPECT_EQ(page().text_editor().control("StempelTextWeight", 700).state().caption, "bold");
    sprache_waehlen("de");
    sprachen().remove("en");
    dialog().InitLanguage();
    EXPECT_EQ(page().effect_editor().control("BildeffektartCombo").state().items[0].text, "Schärfen");
    EXPECT_EQ(page().control("Neu").state().caption, "Hinzufügen ...");
}

}  // namespace
}  // namespace galvora::testing
