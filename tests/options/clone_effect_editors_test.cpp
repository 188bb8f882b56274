// The four clone-effect editors: picture effect, frame, image stamp and text
// stamp, each bound to an effect object as the clone-effect list page binds
// them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

#include "german_locale.h"
#include "foundation/string_helpers.h"
#include "image/picture_io.h"
#include "options/options_test_support.h"
#include "options/test_pictures.h"
#include "options/pages/clone_effect_editors.h"
#include "options/pages/effect_editor_support.h"
#include "profile/effect_picture.h"
#include "script/engine.h"

namespace galvora::testing {
namespace {

class EditorTest : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        for (OptionPage* page : std::initializer_list<OptionPage*>{&effects, &frames, &images, &texts}) {
            page->InitLanguage();
            for (PageEvent event : page->declared_events()) page->connect(event, [this] { ++events; });
        }
    }

    CBildEffekte effects;
    CRahmen frames;
    CBildStempel images;
    CTextStempel texts;
    int events = 0;
};

// ---------------------------------------------------------------- number boxes of every editor

TEST_F(EditorTest, EveryNumberBoxKeepsItsRangeOnEnterAndOnLeaving) {
    CBildEffekt mosaic;
    mosaic.Bildeffektart(12);
    CBildEffekt shadow;
    shadow.Bildeffektart(15);
    CBildEffekt noise;
    noise.Bildeffektart(16);
    CBildEffekt halftone;
    halftone.Bildeffektart(24);
    CBorder border;
    CImageStamp stamp;
    CTextStamp text;
    struct Case {
        std::function<OptionPage&()> bind;
        const char* box;
        int32_t minimum;
        int32_t maximum;
        const char* key;
        std::function<int32_t()> stored;
    };
    auto effect = [this](CBildEffekt& e) -> std::function<OptionPage&()> {
        return [this, &e]() -> OptionPage& {
            effects.InitDialog(e);
            return effects;
        };
    };
    auto frame = [this, &border]() -> OptionPage& {
        frames.InitDialog(border);
        return frames;
    };
    auto image = [this, &stamp]() -> OptionPage& {
        images.InitDialog(stamp);
        return images;
    };
    auto textstamp = [this, &text]() -> OptionPage& {
        texts.InitDialog(text);
        return texts;
    };
    const Case cases[] = {
        {effect(mosaic), "Mosaikbreite", 1, 99, "ErrImageeffectMosaicWidth", [&] { return mosaic.LongArray(1); }},
        {effect(mosaic), "Mosaikhöhe", 1, 99, "ErrImageeffectMosaicHeight", [&] { return mosaic.LongArray(2); }},
        {effect(shadow), "SchattenOffset", 0, 9999, "ErrImageeffectShadowOffset", [&] { return shadow.LongArray(1); }},
        {effect(noise), "Rauschwert", 1, 4000000, "ErrImageeffectNoiseValue", [&] { return noise.LongArray(1); }},
        {effect(halftone), "HalftonePixelbreite", 1, 99, "ErrImageeffectHalftoneWidth",
         [&] { return halftone.LongArray(1); }},
        {frame, "Breite", 1, 9999, "ErrBorderWidth", [&] { return border.Breite(); }},
        {frame, "AbstandLinks", 0, 9999, "ErrBorderOffset", [&] { return border.OffsetLinks(); }},
        {frame, "AbstandOben", 0, 9999, "ErrBorderOffset", [&] { return border.OffsetOben(); }},
        {frame, "AbstandRechts", 0, 9999, "ErrBorderOffset", [&] { return border.OffsetRechts(); }},
        {frame, "AbstandUnten", 0, 9999, "ErrBorderOffset", [&] { return border.OffsetUnten(); }},
        {image, "StempelBildOffsetX", -9999, 9999, "ErrStampOffset", [&] { return stamp.OffsetX(); }},
        {image, "StempelBildOffsetY", -9999, 9999, "ErrStampOffset", [&] { return stamp.OffsetY(); }},
        {textstamp, "StempelTextHöhe", 1, 999, "ErrStampHeight", [&] { return text.Height(); }},
        {textstamp, "StempelTextOffsetX", -9999, 9999, "ErrStampOffset", [&] { return text.OffsetX(); }},
        {textstamp, "StempelTextOffsetY", -9999, 9999, "ErrStampOffset", [&] { return text.OffsetY(); }},
        {textstamp, "StempelTextRahmenStärke", 1, 9999, "ErrBorderWidth", [&] { return text.BorderWidth(); }},
    };
    for (const Case& k : cases) {
        OptionPage& page = k.bind();
        PageControl& box = page.control(k.box);
        const std::string range_message = msg(k.key, {std::to_string(k.minimum), std::to_string(k.maximum)});
        struct Typed {
            std::string text;
            bool accepted;
            int32_t value;
        };
        const Typed typed[] = {
            {std::to_string(k.minimum), true, k.minimum},
            {std::to_string(k.maximum), true, k.maximum},
            {std::to_string(static_cast<int64_t>(k.minimum) - 1), false, 0},
            {std::to_string(static_cast<int64_t>(k.maximum) + 1), false, 0},
            {"", false, 0},
            {"abc", false, 0},
        };
        for (bool enter : {true, false}) {
            for (const Typed& t : typed) {
                const int32_t before = k.stored();
                port.boxes.clear();
                events = 0;
                page.user_text(box, t.text);
                EXPECT_EQ(k.stored(), before) << k.box << " typing writes nothing";
                if (enter) {
                    EXPECT_TRUE(page.user_key(box, ControlEvent::KeyDown, kKeyReturn, 0)) << k.box;
                } else {
                    page.user_focus_out(box);
                }
                const int32_t expected = t.accepted ? t.value : before;
                EXPECT_EQ(k.stored(), expected) << k.box << " '" << t.text << "'";
                EXPECT_EQ(box.state().text, std::to_string(expected)) << k.box << " '" << t.text << "'";
                EXPECT_EQ(box_texts(), t.accepted ? std::vector<std::string>{} : std::vector<std::string>{range_message})
                    << k.box << " '" << t.text << "'";
                // The change event comes also when nothing changed.
                EXPECT_EQ(events, 1) << k.box << " '" << t.text << "'";
            }
        }
    }
    // A number with decimals is rounded, halves to even, whatever the desktop's locale.
    images.InitDialog(stamp);
    for (const auto& [typed, value] : std::vector<std::pair<const char*, int32_t>>{{"12.5", 12}, {"13.5", 14}, {"-2.5", -2}}) {
        images.user_text(images.control("StempelBildOffsetX"), typed);
        images.user_focus_out(images.control("StempelBildOffsetX"));
        EXPECT_EQ(stamp.OffsetX(), value) << typed;
    }
}

// ---------------------------------------------------------------- picture effect

TEST_F(EditorTest, ChoosingAKindLoadsItsDefaultsAndCountsAsAnEdit) {
    CBildEffekt effect;
    effect.Bildeffektart(15);
    effect.LongArray(1, 40);
    effect.LongArray(2, 270);
    effect.LongArray(6, 55);
    effect.verändert(false);
    effects.InitDialog(effect);
    EXPECT_FALSE(effect.verändert()) << "showing changes nothing";
    EXPECT_EQ(effect.LongArray(1), 40);
    PageControl& chooser = effects.control("BildeffektartCombo");
    const int shadow = chooser.state().value;
    ASSERT_EQ(effects.kinds()[static_cast<size_t>(shadow)].kind, 15);
    // The kind already set: its defaults come back, and the effect is changed.
    events = 0;
    effects.user_choose(chooser, shadow);
    EXPECT_EQ(effect.LongArray(1), 10);
    EXPECT_EQ(effect.LongArray(2), 135);
    EXPECT_EQ(effect.LongArray(6), 10);
    EXPECT_TRUE(effect.verändert());
    EXPECT_EQ(events, 1);
    EXPECT_EQ(effects.control("SchattenOffset").state().text, "10");
    EXPECT_EQ(effects.control("Schattenrichtung", 135).state().value, 1);
    // Shadow to flip: L1 becomes 1, the shadow's other slots stay.
    effect.LongArray(2, 90);
    for (size_t i = 0; i < effects.kinds().size(); ++i)
        if (effects.kinds()[i].kind == 14) effects.user_choose(chooser, static_cast<int32_t>(i));
    EXPECT_EQ(effect.Bildeffektart(), 14);
    EXPECT_EQ(effect.LongArray(1), 1);
    EXPECT_EQ(effect.LongArray(2), 90);
    EXPECT_EQ(effect.LongArray(3), 0xFFFFFF);
    EXPECT_EQ(effect.LongArray(6), 10);
    EXPECT_TRUE(effects.control("FrameEffekt", 14).state().visible);
    EXPECT_FALSE(effects.control("FrameEffekt", 15).state().visible);
    EXPECT_EQ(effects.control("Flipart", 1).state().value, 1);
}

// Showing an effect deliberately leaves its stored value as it is (1.234 is
// not rounded to the slider's 1.23): only looking at a profile must neither
// change it nor mark it changed. The value labels show the user's decimal
// separator, a comma in German; the stored value is a number all the same.
TEST_F(EditorTest, SlidersWriteTheirSlotAndShowTheStoredValueInTheLocale) {
    ASSERT_TRUE(testing::set_german_locale());
    CBildEffekt gamma;
    gamma.Bildeffektart(1);
    gamma.DoubleArray(1, 1.234);
    gamma.verändert(false);
    events = 0;
    effects.InitDialog(gamma);
    EXPECT_GE(events, 1);
    EXPECT_EQ(effects.control("GammawertSlider").state().value, 123);
    EXPECT_EQ(effects.control("Gammawert").state().caption, "1,23");
    EXPECT_DOUBLE_EQ(gamma.DoubleArray(1), 1.234);
    EXPECT_FALSE(gamma.verändert());
    effects.user_value(effects.control("GammawertSlider"), 124);
    effects.user_value(effects.control("GammawertSlider"), 123);
    EXPECT_DOUBLE_EQ(gamma.DoubleArray(1), 1.23);
    EXPECT_EQ(effects.control("Gammawert").state().caption, "1,23");
    testing::set_c_locale();
    effects.InitDialog(gamma);
    EXPECT_EQ(effects.control("Gammawert").state().caption, "1.23");

    struct Case {
        int32_t kind;
        const char* slider;
        const char* label;
        int32_t position;
        bool is_double;
        int slot;
        double stored;
        const char* caption;
    };
    const Case cases[] = {
        {0, "SchärfelevelSlider", "Schärfelevel", 77, false, 1, 77, "77"},
        {2, "HelligkeitSlider", "Helligkeit", -35, true, 1, -0.35, "-0.35"},
        {2, "KontrastSlider", "Kontrast", 100, true, 2, 1.0, "1.00"},
        {3, "VerwischenFiltergrößeSlider", "VerwischenFiltergrößeWert", 200, false, 1, 200, "200"},
        {3, "VerwischenFilterintensitätSlider", "VerwischenFilterintensitätWert", 0, true, 1, 0.0, "0.00"},
        {4, "SättigungSlider", "Sättigung", 25, true, 1, 2.5, "2.5"},
        {5, "UnschärfemaskeSchwellenwertSlider", "UnschärfemaskeSchwellenwertWert", 255, false, 1, 255, "255"},
        {5, "UnschärfemaskeMengeSlider", "UnschärfemaskeMengeWert", 5, true, 1, 0.05, "0.05"},
        {15, "SchattenDiffusionSlider", "SchattenDiffusionWert", 33, false, 6, 33, "33%"},
        {20, "ÖlbildPinselbreiteSlider", "ÖlbildPinselbreiteWert", 12, false, 1, 12, "12"},
        {21, "WasserfarbeBlurSlider", "WasserfarbeBlurWert", 1, true, 1, 0.01, "0.01"},
        {22, "KonturSigmaSlider", "KonturSigmaWert", 150, true, 1, 1.5, "1.50"},
        {22, "KonturUntenSlider", "KonturUntenWert", 20, true, 2, 0.2, "0.20"},
        {22, "KonturObenSlider", "KonturObenWert", 80, true, 3, 0.8, "0.80"},
        {25, "CrackleModeSlider", "CrackleModeWert", 4, false, 1, 4, "4"},
        {25, "CrackleDepthSlider", "CrackleDepthWert", 0, false, 2, 0, "0"},
    };
    for (const Case& k : cases) {
        CBildEffekt effect;
        effect.Bildeffektart(k.kind);
        effects.InitDialog(effect);
        PageControl& slider = effects.control(k.slider);
        EXPECT_TRUE(effects.control("FrameEffekt", k.kind).state().visible) << k.slider;
        events = 0;
        effects.user_value(slider, k.position);
        EXPECT_EQ(events, 1) << k.slider;
        const double stored = k.is_double ? effect.DoubleArray(k.slot) : effect.LongArray(k.slot);
        EXPECT_DOUBLE_EQ(stored, k.stored) << k.slider;
        const PageControl& label = effects.control(k.label);
        EXPECT_EQ(label.state().caption, k.caption) << k.slider;
        if (std::string_view(k.slider) != "SchattenDiffusionSlider") {
            // The value label stands over the thumb.
            const TwipRect s = slider.state().place;
            const double expected = s.left + 140 + (s.width - 240) / (slider.state().maximum - slider.state().minimum) *
                                                      (k.position - slider.state().minimum) -
                                    label.state().place.width / 2;
            EXPECT_DOUBLE_EQ(label.state().place.left, expected) << k.slider;
        }
    }
}

TEST_F(EditorTest, KindsWithoutParametersAndKindsWithoutAnItem) {
    for (int32_t kind : {11, 17, 18, 19}) {
        CBildEffekt effect;
        effect.Bildeffektart(kind);
        effects.InitDialog(effect);
        const PageControl& chooser = effects.control("BildeffektartCombo");
        EXPECT_EQ(effects.kinds()[static_cast<size_t>(chooser.state().value)].kind, kind);
        for (const auto& k : effects.kinds())
            if (k.frame != nullptr) {
                EXPECT_FALSE(k.frame->state().visible) << kind;
            }
    }
    CBildEffekt shadow;
    shadow.Bildeffektart(15);
    effects.InitDialog(shadow);
    std::array<CBildEffekt, 5> nones;
    for (int32_t kind = 6; kind <= 10; ++kind) {
        CBildEffekt& none = nones[static_cast<size_t>(kind - 6)];
        none.Bildeffektart(kind);
        none.verändert(false);
        events = 0;
        effects.InitDialog(none);
        EXPECT_EQ(effects.effekt(), &none);
        EXPECT_EQ(effects.control("BildeffektartCombo").state().value, -1) << kind;
        EXPECT_FALSE(effects.control("FrameEffekt", 15).state().visible) << kind;
        EXPECT_EQ(events, 1);
        EXPECT_FALSE(none.verändert());
    }
    // Choosing a kind now edits that effect, not the one shown before.
    effects.user_choose(effects.control("BildeffektartCombo"), 1);
    EXPECT_EQ(nones.back().Bildeffektart(), effects.kinds()[1].kind);
    EXPECT_EQ(shadow.Bildeffektart(), 15);
}

TEST_F(EditorTest, ShadowColourFromThePictureAndColourChoosers) {
    CBildEffekt shadow;
    shadow.Bildeffektart(15);
    shadow.LongArray(5, 0x123456);
    effects.InitDialog(shadow);
    EXPECT_TRUE(effects.control("Schattenfarbe").state().visible);
    effects.user_click(effects.control("SchattenfarbePassend"));
    EXPECT_EQ(shadow.LongArray(4), 1);
    EXPECT_FALSE(effects.control("Schattenfarbe").state().visible);
    EXPECT_FALSE(effects.control("SchattenfarbeButton").state().visible);
    EXPECT_EQ(shadow.LongArray(5), 0x123456);
    effects.InitDialog(shadow);
    EXPECT_FALSE(effects.control("Schattenfarbe").state().visible);
    effects.user_click(effects.control("SchattenfarbePassend"));
    EXPECT_TRUE(effects.control("SchattenfarbeButton").state().visible);

    // Cancelled, or the colour shown: nothing written, no event.
    events = 0;
    dialogs.colours = {-1, 0x123456, 0x00FF00};
    effects.user_click(effects.control("SchattenfarbeButton"));
    effects.user_click(effects.control("SchattenfarbeButton"));
    EXPECT_EQ(events, 0);
    effects.user_click(effects.control("SchattenfarbeButton"));
    EXPECT_EQ(events, 1);
    EXPECT_EQ(shadow.LongArray(5), 0x00FF00);
    EXPECT_EQ(effects.control("Schattenfarbe").state().back_colour, 0x00FF00u);
    EXPECT_EQ(dialogs.colour_titles.back(), "Galvora - Schattenfarbe festlegen");
    EXPECT_EQ(dialogs.colour_initials.front(), 0x123456);
    // The shadow direction is the compass angle of the button.
    effects.user_click(effects.control("Schattenrichtung", 315));
    EXPECT_EQ(shadow.LongArray(2), 315);
    const TwipRect north = effects.control("Schattenrichtung", 0).state().place;
    const TwipRect south = effects.control("Schattenrichtung", 180).state().place;
    const TwipRect east = effects.control("Schattenrichtung", 90).state().place;
    EXPECT_LT(north.top, south.top);
    EXPECT_EQ(north.left, south.left);
    EXPECT_GT(east.left, north.left);
    // A click on a turn's picture chooses its button.
    CBildEffekt rotate;
    rotate.Bildeffektart(13);
    effects.InitDialog(rotate);
    effects.user_click(effects.control("DrehwinkelImage", 2));
    EXPECT_EQ(rotate.LongArray(1), 2);
    EXPECT_EQ(effects.control("Drehwinkel", 2).state().value, 1);
}

// ---------------------------------------------------------------- frame

TEST_F(EditorTest, SidesAndCornersFollowTheirClicks) {
    // Boxes: 0 top, 1 right, 2 bottom, 3 left, 4 top right, 5 bottom right,
    // 6 bottom left, 7 top left.
    struct Case {
        int32_t position;
        std::vector<int> clicks;
        int32_t result;
        std::array<bool, 8> boxes;
    };
    const Case cases[] = {
        {0, {}, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
        {0, {4}, 3, {1, 1, 0, 0, 1, 0, 0, 0}},
        {0, {4, 4}, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
        {3, {0}, 2, {0, 1, 0, 0, 0, 0, 0, 0}},
        {15, {5}, 9, {1, 0, 0, 1, 0, 0, 0, 1}},
        {31, {}, 31, {1, 1, 1, 1, 1, 1, 1, 1}},
        {31, {2}, 11, {1, 1, 0, 1, 1, 0, 0, 1}},
        {0, {0, 1, 2, 3}, 15, {1, 1, 1, 1, 1, 1, 1, 1}},
        {15, {7}, 6, {0, 1, 1, 0, 0, 1, 0, 0}},
        {15, {7, 6}, 14, {0, 1, 1, 1, 0, 1, 1, 0}},
    };
    for (const Case& k : cases) {
        CBorder border;
        border.Position(k.position);
        frames.InitDialog(border);
        events = 0;
        for (int box : k.clicks) frames.user_click(frames.control("Position", box));
        EXPECT_EQ(border.Position(), k.result) << k.position;
        EXPECT_EQ(events, static_cast<int>(k.clicks.size()));
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(frames.seiten()[static_cast<size_t>(i)], k.boxes[static_cast<size_t>(i)])
                << k.position << " box " << i;
            EXPECT_EQ(frames.control("Position", i).state().back_colour, k.boxes[static_cast<size_t>(i)] ? kCellOn : kCellOff);
        }
    }
}

TEST_F(EditorTest, FramePageShowsTheSettingsOfItsKindStacked) {
    struct Case {
        int32_t kind;
        int32_t shape;
        int32_t fit;
        std::vector<std::string> stacked;
        bool opacity;
        bool offsets;
        bool shape_frame;
    };
    const Case cases[] = {
        {0, 0, 0, {"FrameFarbeDeckkraft", "FramePositionAbstand"}, true, true, true},
        {0, 1, 0, {"FrameFarbeDeckkraft"}, true, false, true},
        {1, 0, 0, {"FrameFarbePassend", "FrameFarbeDeckkraft", "FramePositionAbstand"}, false, false, false},
        {1, 0, 1, {"FrameFarbePassend", "FramePositionAbstand"}, false, false, false},
        {2, 0, 0, {"FrameRahmenbild", "FramePositionAbstand"}, false, false, false},
    };
    const std::vector<std::string> all = {"FrameFarbePassend", "FrameFarbeDeckkraft", "FramePositionAbstand",
                                          "FrameRahmenbild"};
    for (const Case& k : cases) {
        CBorder border;
        border.RahmenArt(k.kind);
        border.InnenrahmenArt(k.shape);
        border.FarbePassend(k.fit);
        frames.InitDialog(border);
        const TwipRect width = frames.control("FrameBreite").state().place;
        double top = width.top + width.height;
        for (const std::string& name : k.stacked) {
            const PageControl& frame = frames.control(name);
            EXPECT_TRUE(frame.state().visible) << k.kind << " " << name;
            EXPECT_EQ(frame.state().place.top, top) << k.kind << " " << name;
            EXPECT_EQ(frame.state().place.left, width.left);
            top += frame.state().place.height;
        }
        for (const std::string& name : all) {
            if (std::find(k.stacked.begin(), k.stacked.end(), name) == k.stacked.end()) {
                EXPECT_FALSE(frames.control(name).state().visible) << k.kind << " " << name;
            }
        }
        if (frames.control("FrameFarbeDeckkraft").state().visible) {
            EXPECT_EQ(frames.control("FrameDeckkraft").state().visible, k.opacity) << k.kind;
        }
        if (frames.control("FramePositionAbstand").state().visible) {
            EXPECT_TRUE(frames.control("FramePosition").state().visible);
            EXPECT_EQ(frames.control("FrameAbstand").state().visible, k.offsets) << k.kind;
        }
        EXPECT_EQ(frames.control("FrameInnenrahmentyp").state().visible, k.shape_frame) << k.kind;
        EXPECT_EQ(frames.control("InnenAussen", k.kind).state().value, 1);
    }
    // Outer frame: the colour box switches colour and opacity.
    CBorder outer;
    outer.RahmenArt(1);
    frames.InitDialog(outer);
    frames.user_click(frames.control("FarbePassend"));
    EXPECT_EQ(outer.FarbePassend(), 1);
    EXPECT_FALSE(frames.control("FrameFarbeDeckkraft").state().visible);
    frames.user_click(frames.control("FarbePassend"));
    EXPECT_TRUE(frames.control("FrameFarbeDeckkraft").state().visible);
    EXPECT_FALSE(frames.control("FrameDeckkraft").state().visible);
    // From an outer frame to an inner rectangle: sides and offsets appear.
    frames.user_click(frames.control("InnenAussen", 0));
    EXPECT_EQ(outer.RahmenArt(), 0);
    EXPECT_TRUE(frames.control("FrameAbstand").state().visible);
    frames.user_click(frames.control("RechteckigEllipse", 1));
    EXPECT_EQ(outer.InnenrahmenArt(), 1);
    EXPECT_FALSE(frames.control("FramePositionAbstand").state().visible);
    // The opacity slider with its percent label.
    frames.user_value(frames.control("Farbedeckkraft"), 80);
    EXPECT_EQ(outer.deckkraft(), 80);
    EXPECT_EQ(frames.control("Farbedeckkraftprozent").state().caption, "80%");
}

TEST_F(EditorTest, FramePictureChoiceAndPreview) {
    const fs::path small = write_picture(tmp.path() / "small.png", 30, 20);
    const fs::path large = write_picture(tmp.path() / "large.png", 400, 100);
    CBorder border;
    border.RahmenArt(2);
    frames.InitDialog(border);
    EXPECT_TRUE(frames.vorschau().empty());
    EXPECT_EQ(frames.control("RahmenBildname").state().back_colour, kSysWindowBackground);
    // Cancelled: nothing changes, the page is drawn again.
    events = 0;
    frames.user_click(frames.control("RahmenBildWahl"));
    EXPECT_EQ(border.Bildname(), "");
    EXPECT_EQ(events, 1);
    ASSERT_EQ(dialogs.file_asks.size(), 1u);
    const auto& ask = dialogs.file_asks[0];
    EXPECT_FALSE(ask.save);
    EXPECT_EQ(ask.title, "Galvora - Bild für Rahmen auswählen");
    // The filter as the page gives it, description and patterns each ended by NUL.
    std::string filter;
    for (const auto& [description, patterns] : ask.filters) filter += description + '\0' + patterns + '\0';
    EXPECT_EQ(filter.find("JP2"), std::string::npos) << "JPEG 2000 is not read";
    const std::string nul(1, '\0');
    EXPECT_EQ(filter.rfind("Unterstützte Bildtypen" + nul + "*.BMP;*.EMF;*.WMF;*.GIF;*.JPG;*.PCD;", 0), 0u);
    EXPECT_NE(filter.find(nul + "EMF" + nul + "*.EMF;*.WMF" + nul), std::string::npos);
    EXPECT_NE(filter.find(nul + "TIF" + nul + "*.TIF" + nul), std::string::npos);

    dialogs.files = {small.string()};
    frames.user_click(frames.control("RahmenBildWahl"));
    EXPECT_EQ(border.Bildname(), small.string());
    EXPECT_EQ(frames.control("RahmenBildname").state().text, small.string());
    EXPECT_EQ(frames.control("RahmenBildname").state().back_colour, kLightGreen);
    const int32_t w = frames.vorschau_breite();
    ASSERT_EQ(frames.vorschau().width(), w);
    // At its own size in the middle of the checkerboard: the top-left blue
    // pixel of the picture at its place, the board around it.
    const int32_t left = static_cast<int32_t>(std::nearbyint((w - 30) / 2.0));
    const int32_t top = static_cast<int32_t>(std::nearbyint((frames.vorschau_hoehe() - 20) / 2.0));
    EXPECT_EQ(frames.vorschau().pixel(left, top)[2], 255);
    EXPECT_EQ(frames.vorschau().pixel(left, top)[0], 0);
    EXPECT_EQ(frames.vorschau().pixel(0, 0)[0], 187);  // light blue cell
    EXPECT_EQ(frames.vorschau().pixel(5, 0)[0], 255);  // white cell

    dialogs.files = {large.string()};
    frames.user_click(frames.control("RahmenBildWahl"));
    const Einpassung place = einpassen(w, frames.vorschau_hoehe(), 400, 100);
    EXPECT_EQ(place.width, w);
    EXPECT_EQ(place.height, static_cast<int32_t>(std::nearbyint(100.0 * w / 400)));

    dialogs.files = {(tmp.path() / "missing.png").string()};
    frames.user_click(frames.control("RahmenBildWahl"));
    EXPECT_NE(border.ErrNumber(), 0);
    EXPECT_EQ(frames.control("RahmenBildname").state().back_colour, kLightRed);
    EXPECT_TRUE(frames.vorschau().empty());
}

// ---------------------------------------------------------------- image stamp

TEST_F(EditorTest, FittingAndTheEyedropperMapping) {
    struct Case {
        int32_t box;
        int32_t width;
        int32_t height;
        Einpassung place;
    };
    const Case cases[] = {
        {126, 61, 40, {61, 40, 32, 43}},     // 32.5 rounds to the even 32
        {126, 300, 200, {126, 84, 0, 21}},   // landscape: by its width
        {126, 200, 300, {84, 126, 21, 0}},   // portrait: by its height
        {126, 200, 200, {126, 126, 0, 0}},   // square: by its height
        {126, 126, 126, {126, 126, 0, 0}},   // fits: never enlarged
        {126, 5000, 2, {126, 1, 0, 62}},     // a hair keeps one pixel
    };
    for (const Case& k : cases) {
        const Einpassung p = einpassen(k.box, k.box, k.width, k.height);
        EXPECT_EQ(p.width, k.place.width) << k.width << "x" << k.height;
        EXPECT_EQ(p.height, k.place.height) << k.width << "x" << k.height;
        EXPECT_EQ(p.left, k.place.left) << k.width << "x" << k.height;
        EXPECT_EQ(p.top, k.place.top) << k.width << "x" << k.height;
    }
    // A box that is not square fits by the smaller ratio.
    const Einpassung wide = einpassen(200, 50, 90, 60);
    EXPECT_EQ(wide.height, 50);
    EXPECT_EQ(wide.width, 75);

    struct Press {
        float x;
        float y;
        bool on_picture;
        int32_t px;
        int32_t py;
    };
    const Einpassung drawn = einpassen(126, 126, 300, 200);
    const Press presses[] = {
        {125.4F, 21.6F, true, 298, 2},
        {0.0F, 21.0F, true, 0, 0},
        {63.0F, 63.0F, true, 150, 100},
        {10.0F, 20.4F, false, 0, 0},   // above the picture, on the board
        {10.0F, 105.5F, false, 0, 0},  // below it
    };
    for (const Press& p : presses) {
        int32_t x = -1;
        int32_t y = -1;
        EXPECT_EQ(bildpunkt_unter_maus(drawn, 300, 200, p.x, p.y, x, y), p.on_picture) << p.x << "," << p.y;
        if (p.on_picture) {
            EXPECT_EQ(x, p.px) << p.x << "," << p.y;
            EXPECT_EQ(y, p.py) << p.x << "," << p.y;
        }
    }
}

TEST_F(EditorTest, EyedropperPicksTheStampsOwnColour) {
    CImageStamp stamp;
    stamp.Name(write_picture(tmp.path() / "stamp.png", 40, 40).string());
    stamp.deckkraft(50);
    stamp.TransparenteFarbe(0xFFFFFF);
    images.InitDialog(stamp);
    const Einpassung drawn = images.gezeichnet();
    ASSERT_EQ(drawn.width, 40);
    const float cx = static_cast<float>(drawn.left + 20);
    const float cy = static_cast<float>(drawn.top + 20);
    // Unticked: the mouse picks nothing.
    images.user_mouse_down(cx, cy);
    images.user_mouse_release();
    EXPECT_EQ(stamp.TransparenteFarbe(), 0xFFFFFF);
    images.user_click(images.control("StempelBildMitTransparentfarbe"));
    EXPECT_EQ(stamp.TransparenteFarbeNutzen(), 1);
    // On the board around the picture: nothing.
    images.user_mouse_down(1, 1);
    EXPECT_EQ(stamp.TransparenteFarbe(), 0xFFFFFF);
    // On the red square, shown blended at 50 %: pure red.
    events = 0;
    images.user_mouse_move(cx, cy);
    EXPECT_EQ(stamp.TransparenteFarbe(), 0x0000FF);
    EXPECT_EQ(images.control("StempelBildTransparentfarbe").state().back_colour, 0x0000FFu);
    EXPECT_EQ(events, 1);
    // Holding the button and moving picks on; the same colour again still draws.
    images.user_mouse_move(static_cast<float>(drawn.left), static_cast<float>(drawn.top));
    EXPECT_EQ(stamp.TransparenteFarbe(), 0xFF0000);
    images.user_mouse_move(static_cast<float>(drawn.left), static_cast<float>(drawn.top));
    EXPECT_EQ(events, 3);
    images.user_mouse_release();
    images.user_mouse_move(cx, cy);
    EXPECT_EQ(stamp.TransparenteFarbe(), 0xFF0000);
    // The picked colour is left out of the preview: the blue corner shows the board.
    const PictureBuffer& preview = images.vorschau();
    EXPECT_EQ(preview.pixel(drawn.left, drawn.top)[0], 187);
}

// Showing a stamp deliberately keeps its stored tolerance (19508 stays, it is
// not written back as the 19507 of its rounded 10 %): only looking at a
// profile must neither change it nor mark it changed.
TEST_F(EditorTest, ToleranceIsStoredAsTheSumOfSquaresAndShowingKeepsIt) {
    CImageStamp stamp;
    stamp.Name(write_picture(tmp.path() / "stamp.png", 20, 20).string());
    stamp.TransparenteFarbeNutzen(1);
    images.InitDialog(stamp);
    images.user_value(images.control("StempelBildFarbtoleranz"), 10);
    EXPECT_EQ(stamp.TransparenzFarbtoleranz(), 19507);
    EXPECT_EQ(images.control("StempelBildFarbtoleranzProzent").state().caption, "10%");
    images.user_value(images.control("StempelBildFarbtoleranz"), 100);
    EXPECT_EQ(stamp.TransparenzFarbtoleranz(), 195075);
    EXPECT_EQ(toleranz_aus_prozent(10), 19507);
    EXPECT_EQ(prozent_aus_toleranz(19507), 10);
    EXPECT_EQ(prozent_aus_toleranz(19508), 10);
    EXPECT_EQ(prozent_aus_toleranz(975), 0);   // 0.4998 %
    EXPECT_EQ(prozent_aus_toleranz(2926), 1);  // 1.49996 %
    CImageStamp other;
    other.Name(stamp.Name());
    other.TransparenteFarbeNutzen(1);
    other.TransparenzFarbtoleranz(19508);
    other.verändert(false);
    images.InitDialog(other);
    EXPECT_EQ(images.control("StempelBildFarbtoleranz").state().value, 10);
    EXPECT_EQ(other.TransparenzFarbtoleranz(), 19508);
    EXPECT_FALSE(other.verändert());
    images.user_value(images.control("StempelBildFarbtoleranz"), 11);
    images.user_value(images.control("StempelBildFarbtoleranz"), 10);
    EXPECT_EQ(other.TransparenzFarbtoleranz(), 19507);
}

TEST_F(EditorTest, ImageStampPageFollowsItsPictureAndSwitches) {
    int reads = 0;
    set_effect_picture_reader([&reads](const std::string& file) {
        ++reads;
        PictureBuffer picture;
        int32_t w = 0;
        int32_t h = 0;
        ReadImage(file, 0, picture, w, h);
        return picture;
    });
    const fs::path file = write_picture(tmp.path() / "stamp.png", 20, 20);
    CImageStamp stamp;
    images.InitDialog(stamp);
    EXPECT_FALSE(images.control("FrameOptionen").state().visible);
    EXPECT_EQ(images.control("StempelBild").state().back_colour, kSysWindowBackground);
    dialogs.files = {(tmp.path() / "none.png").string(), file.string(), file.string()};
    images.user_click(images.control("Bildwahl"));
    EXPECT_FALSE(images.control("FrameOptionen").state().visible);
    EXPECT_EQ(images.control("StempelBild").state().back_colour, kLightRed);
    images.user_click(images.control("Bildwahl"));
    EXPECT_TRUE(images.control("FrameOptionen").state().visible);
    EXPECT_EQ(images.control("StempelBild").state().back_colour, kLightGreen);
    EXPECT_EQ(reads, 2);
    events = 0;
    images.user_click(images.control("Bildwahl"));
    EXPECT_EQ(reads, 2) << "the same file again is not read again";
    EXPECT_EQ(events, 1) << "but drawn again";
    EXPECT_EQ(dialogs.file_asks.back().title, "Galvora - Bildstempel - Datei auswählen");
    set_effect_picture_reader(nullptr);

    // Position cells: the chosen cell again clears the position.
    images.user_click(images.control("StempelBildPosition", 5));
    EXPECT_EQ(stamp.Position(), 5);
    images.user_click(images.control("StempelBildPosition", 5));
    EXPECT_EQ(stamp.Position(), 0);
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(images.control("StempelBildPosition", i).state().back_colour, kCellOff);
    images.user_click(images.control("StempelBildPosition", 9));
    images.user_click(images.control("StempelBildPosition", 3));
    EXPECT_EQ(stamp.Position(), 3);
    EXPECT_EQ(images.control("StempelBildPosition", 3).state().back_colour, kCellOn);
    EXPECT_EQ(images.control("StempelBildPosition", 9).state().back_colour, kCellOff);
    // Stretching hides the cells and offsets, which keep their values.
    stamp.OffsetX(7);
    images.user_click(images.control("StempelBildStrecken"));
    EXPECT_EQ(stamp.Strecken(), 1);
    EXPECT_FALSE(images.control("FramePosition").state().visible);
    images.user_click(images.control("StempelBildStrecken"));
    EXPECT_TRUE(images.control("FramePosition").state().visible);
    EXPECT_EQ(stamp.Position(), 3);
    EXPECT_EQ(stamp.OffsetX(), 7);
    // The transparent colour's controls follow their box.
    EXPECT_FALSE(images.control("FarbtoleranzFrame").state().visible);
    images.user_click(images.control("StempelBildMitTransparentfarbe"));
    EXPECT_TRUE(images.control("FarbtoleranzFrame").state().visible);
    EXPECT_TRUE(images.control("StempelBildTransparentfarbeButton").state().visible);
    // The colour chooser: the colour shown writes nothing and draws nothing.
    events = 0;
    dialogs.colours = {0xFFFFFF, 0x00FF00};
    images.user_click(images.control("StempelBildTransparentfarbeButton"));
    EXPECT_EQ(events, 0);
    images.user_click(images.control("StempelBildTransparentfarbeButton"));
    EXPECT_EQ(stamp.TransparenteFarbe(), 0x00FF00);
    EXPECT_EQ(events, 1);
    images.user_value(images.control("StempelBildDeckkraft"), 70);
    EXPECT_EQ(stamp.deckkraft(), 70);
    EXPECT_EQ(images.control("StempelBildDeckkraftProzent").state().caption, "70%");
}

// ---------------------------------------------------------------- text stamp

TEST_F(EditorTest, TextStampSwitchesAndCells) {
    CTextStamp stamp;
    texts.InitDialog(stamp);
    PageControl& colour_button = texts.control("StempelTextFarbeButton");
    EXPECT_TRUE(colour_button.state().enabled);
    texts.user_click(texts.control("StempelTextFarbeLesbar"));
    EXPECT_EQ(stamp.ColorReadable(), 1);
    EXPECT_FALSE(colour_button.state().enabled);
    // Without border and background only their own boxes are usable in their frames.
    EXPECT_FALSE(texts.control("StempelTextRahmenStärke").state().enabled);
    EXPECT_TRUE(texts.control("StempelTextRahmenErzeugen").state().enabled);
    EXPECT_FALSE(texts.control("StempelTextHGDeckkraft").state().enabled);
    EXPECT_TRUE(texts.control("StempelTextHGFüllen").state().enabled);
    texts.user_click(texts.control("StempelTextRahmenErzeugen"));
    texts.user_click(texts.control("StempelTextHGFüllen"));
    EXPECT_EQ(stamp.Border(), 1);
    EXPECT_EQ(stamp.Background(), 1);
    EXPECT_TRUE(texts.control("StempelTextRahmenStärke").state().enabled);
    EXPECT_TRUE(texts.control("StempelTextHGDeckkraft").state().enabled);
    EXPECT_FALSE(colour_button.state().enabled) << "stays off after the other boxes";
    // Option groups write their indices: weight 700, 400 or 300.
    texts.user_click(texts.control("StempelTextWeight", 700));
    texts.user_click(texts.control("StempelTextDirection", 3));
    texts.user_click(texts.control("StempelTextAlignment", 2));
    texts.user_click(texts.control("StempelTextItalic"));
    EXPECT_EQ(stamp.Weight(), 700);
    EXPECT_EQ(stamp.Direction(), 3);
    EXPECT_EQ(stamp.Alignment(), 2);
    EXPECT_EQ(stamp.Italic(), 1);
    texts.user_value(texts.control("StempelTextHGDeckkraft"), 30);
    EXPECT_EQ(stamp.BackgroundOpacity(), 30);
    // Cells.
    events = 0;
    texts.user_click(texts.control("StempelTextPosition", 1));
    EXPECT_EQ(stamp.Position(), 0);
    texts.user_click(texts.control("StempelTextPosition", 6));
    EXPECT_EQ(stamp.Position(), 6);
    EXPECT_EQ(texts.control("StempelTextPosition", 6).state().back_colour, kCellOn);
    EXPECT_EQ(events, 2);
    // A weight no button stands for chooses none and is kept.
    CTextStamp odd;
    odd.Weight(550);
    odd.verändert(false);
    texts.InitDialog(odd);
    for (int w : {700, 400, 300}) EXPECT_EQ(texts.control("StempelTextWeight", w).state().value, 0);
    EXPECT_EQ(odd.Weight(), 550);
    EXPECT_FALSE(odd.verändert());
}

TEST_F(EditorTest, TextIsStoredWithCrLfAndTheCaretIsShown) {
    CTextStamp stamp;
    stamp.Text("eins\r\nzwei");
    stamp.verändert(false);
    texts.InitDialog(stamp);
    PageControl& box = texts.control("StempelText");
    EXPECT_EQ(box.state().text, "eins\nzwei");
    EXPECT_FALSE(stamp.verändert());
    texts.user_text(box, "eins\nzwei\ndrei");
    EXPECT_EQ(stamp.Text(), "eins\r\nzwei\r\ndrei");
    texts.user_caret(box, 7, 0);
    texts.user_click(box);
    EXPECT_EQ(texts.control("editpos").state().caption, "Zeile 2:3, Spalte 3:4");
    // Alt+Backspace undoes; with Ctrl as well it does not.
    texts.take_view_requests();
    texts.user_key(box, ControlEvent::KeyUp, kKeyBack, kAltMask | kCtrlMask);
    EXPECT_TRUE(texts.take_view_requests().empty());
    texts.user_key(box, ControlEvent::KeyUp, kKeyBack, kAltMask);
    const auto requests = texts.take_view_requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].second, ViewRequest::Undo);
}

TEST_F(EditorTest, SyntaxTestOfTheStampText) {
    CTextStamp stamp;
    stamp.Description("Mein Stempel");
    stamp.Text("");
    texts.InitDialog(stamp);
    texts.user_click(texts.control("SyntaxTest"));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, "ZantoScript Compiler");
    EXPECT_EQ(port.boxes[0].style, 64);
    EXPECT_EQ(port.boxes[0].text, msg("ErrStampLastErr", {"Mein Stempel", inq("Msg", "MsgSyntaxcheckNotNecessary")}));

    port.boxes.clear();
    texts.user_text(texts.control("StempelText"), "Bild\nzwei\n{x = }");
    texts.user_click(texts.control("SyntaxTest"));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].style, 48);
    EXPECT_EQ(texts.control("StempelText").state().selection_start, 10) << "the start of line 3";
    EXPECT_EQ(zns()->fkt_oba.funktion_per_bezeichner("_stamptext"), nullptr);

    port.boxes.clear();
    texts.user_text(texts.control("StempelText"), "Bild {1 + 1}");
    texts.user_click(texts.control("SyntaxTest"));
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].style, 64);
    EXPECT_EQ(port.boxes[0].text, msg("ErrStampLastErr", {"Mein Stempel", inq("Msg", "ErrZNSOk")}));
    EXPECT_EQ(zns()->fkt_oba.funktion_per_bezeichner("_stamptext"), nullptr);
}

TEST_F(EditorTest, FontsComeFromFontconfigOnceEachAndSorted) {
    CTextStamp stamp;
    stamp.Font("DejaVu Sans");
    texts.InitDialog(stamp);
    const ControlState& fonts = texts.control("StempelTextSchrift").state();
    ASSERT_FALSE(fonts.items.empty());
    std::set<std::string> seen;
    for (size_t i = 0; i < fonts.items.size(); ++i) {
        EXPECT_TRUE(seen.insert(fonts.items[i].key).second) << fonts.items[i].key;
        EXPECT_EQ(fonts.items[i].text, fonts.items[i].key);
        if (i > 0) {
            EXPECT_LE(utf8_compare_nocase(fonts.items[i - 1].text, fonts.items[i].text), 0);
        }
    }
    ASSERT_GE(fonts.value, 0);
    EXPECT_EQ(fonts.items[static_cast<size_t>(fonts.value)].text, "DejaVu Sans");
    EXPECT_EQ(fonts.items[static_cast<size_t>(fonts.value)].image_key, "TrueType1");
    // A font that is not installed keeps the list's choice and the stamp's font.
    CTextStamp other;
    other.Font("Gibt es nicht");
    other.verändert(false);
    texts.InitDialog(other);
    EXPECT_EQ(fonts.items[static_cast<size_t>(fonts.value)].text, "DejaVu Sans");
    EXPECT_EQ(other.Font(), "Gibt es nicht");
    EXPECT_FALSE(other.verändert());
    // Choosing one writes its name.
    texts.user_choose(texts.control("StempelTextSchrift"), 0);
    EXPECT_EQ(other.Font(), fonts.items[0].text);
}

}  // namespace
}  // namespace galvora::testing
