// The clone-effect preview against the run: for every picture effect kind,
// every stamp and every frame kind, the picture the preview shows (before it
// is fitted into its box) equals, pixel for pixel, the clone the generation
// run makes of the same sample with the same description.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "generation/generation_run.h"
#include "generation/picture_scanner.h"
#include "generation/run_completion.h"
#include "generation/settings_access.h"
#include "image/image_file_record.h"
#include "image/picture_io.h"
#include "options/options_test_support.h"
#include "options/pages/clone_effects_page.h"
#include "profile/border.h"
#include "profile/image_stamp.h"
#include "profile/picture_effect.h"
#include "profile/text_stamp.h"

// fontconfig keeps a little of its parsed configuration to the end of the
// process; the text stamps load it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace galvora::testing {
namespace {

// A picture for stamps and frames: a colour ramp with a white border, so
// a transparent white and the tiling both show.
fs::path write_pattern(const fs::path& path, int32_t width, int32_t height) {
    PictureBuffer picture = PictureBuffer::allocate(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = picture.pixel(x, y);
            const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            p[0] = edge ? 255 : static_cast<uint8_t>(x * 255 / width);
            p[1] = edge ? 255 : static_cast<uint8_t>(y * 255 / height);
            p[2] = edge ? 255 : 90;
        }
    }
    int32_t used = 0;
    WriteImage(path.string(), 10, picture, 0, 0, false, 0, used);
    return path;
}

class PreviewAndRun : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        seitenerzeugung_anmelden();
    }
    void TearDown() override {
        laufabschnitte() = Laufabschnitte{};
        OptionsTest::TearDown();
    }

    CClonenEffekte& page() { return *dynamic_cast<CClonenEffekte*>(dialog().seite(PageSlot::CClonenEffekte1)); }

    // The clone the generation run makes of the sample with this one effect.
    PictureBuffer run_with(const std::shared_ptr<CCloneEffekt>& effect) {
        WorkingCloneEffects().clear();
        WorkingCloneEffects().add(effect);
        lauf_auftrag().verzeichnisse.clear();
        Verzeichnissatz d;
        d.relativer_pfad = "";
        d.name = "base";
        bilddateien_einlesen(base.string(), {{"*.PNG", 10}}, false, d.bildanzahl, d.bilddateien, d.bildbytes);
        lauf_auftrag().verzeichnisse.push_back(std::move(d));
        fs::remove(out / "sample.png");
        erzeugung_durchfuehren();
        EXPECT_TRUE(port.boxes.empty()) << (port.boxes.empty() ? "" : port.boxes.front().text);
        if (!fs::exists(out / "sample.png")) {
            ADD_FAILURE() << "no clone; the run wrote: " << ::testing::PrintToString(tree_of(out))
                          << ::testing::PrintToString(run_port_.texts);
            return {};
        }
        PictureBuffer clone;
        int32_t w = 0;
        int32_t h = 0;
        ReadImage((out / "sample.png").string(), 10, clone, w, h);
        return clone;
    }

    // The preview's picture with this one effect shown.
    PictureBuffer preview_with(const std::shared_ptr<CCloneEffekt>& effect) {
        WorkingCloneEffects().clear();
        WorkingCloneEffects().add(effect);
        page().InitDialog();
        EXPECT_EQ(page().aktueller_effekt(), effect);
        return page().vorschau_bild().copy();
    }
};

TEST_F(PreviewAndRun, EveryKindGivesThePictureTheRunGives) {
    const int32_t w = page().vorschau_breite();
    const int32_t h = page().vorschau_hoehe();
    ASSERT_EQ(w, 146);  // a box of 2190 twips
    {
        const PictureBuffer sample = CClonenEffekte::beispiel_aufnehmen(w, h);
        int32_t used = 0;
        WriteImage((base / "sample.png").string(), 10, sample, 0, 0, false, 0, used);
    }
    const std::string stamp_file = write_pattern(tmp.path() / "stamp.png", 40, 30).string();
    const std::string frame_file = write_pattern(tmp.path() / "frame.png", 17, 11).string();
    set(kSetGenerateClones, "1");
    set(kSetCloneConvert, "0");
    set(kSetCloneSelectedSide, "0");
    set(kSetThumbnails, "0");
    set(kSetGenerateHtml, "0");

    struct Case {
        std::string name;
        std::function<std::shared_ptr<CCloneEffekt>()> make;
    };
    std::vector<Case> cases;
    for (int32_t kind = 0; kind <= 25; ++kind) {
        cases.push_back({"picture effect " + std::to_string(kind), [kind] {
                             auto e = std::make_shared<CBildEffekt>();
                             e->Bildeffektart(kind);
                             return e;
                         }});
    }
    auto effect = [](int32_t kind, std::vector<std::pair<int, int32_t>> longs,
                     std::vector<std::pair<int, double>> doubles = {}) {
        return [=] {
            auto e = std::make_shared<CBildEffekt>();
            e->Bildeffektart(kind);
            for (const auto& [slot, value] : longs) e->LongArray(slot, value);
            for (const auto& [slot, value] : doubles) e->DoubleArray(slot, value);
            return std::shared_ptr<CCloneEffekt>(e);
        };
    };
    cases.push_back({"mosaic 7 x 5", effect(12, {{1, 7}, {2, 5}})});
    cases.push_back({"quarter turn", effect(13, {{1, 0}})});
    cases.push_back({"half turn", effect(13, {{1, 1}})});
    cases.push_back({"other quarter turn", effect(13, {{1, 2}})});
    cases.push_back({"vertical flip", effect(14, {{1, 2}})});
    cases.push_back({"shadow in the picture's colour", effect(15, {{1, 6}, {2, 225}, {4, 1}, {6, 40}})});
    cases.push_back({"monochrome noise", effect(16, {{1, 5000}, {2, 1}})});
    cases.push_back({"watercolour with both flags", effect(21, {{1, 1}, {2, 1}}, {{1, 0.3}})});
    cases.push_back({"duotone", effect(23, {{1, 0x20A040}})});
    cases.push_back({"gamma and brightness", effect(2, {}, {{1, 0.25}, {2, -0.4}})});

    auto text = [](std::function<void(CTextStamp&)> setup) {
        return [=] {
            auto s = std::make_shared<CTextStamp>();
            s->Text("Galvora%\\Probe");
            s->Font("DejaVu Sans");
            s->Height(16);
            setup(*s);
            return std::shared_ptr<CCloneEffekt>(s);
        };
    };
    cases.push_back({"text stamp", text([](CTextStamp&) {})});
    cases.push_back({"text stamp centred, box and outline", text([](CTextStamp& s) {
                         s.Position(5);
                         s.Background(1);
                         s.BackgroundColor(0x202020);
                         s.Border(1);
                         s.BorderWidth(2);
                         s.Opacity(70);
                     })});
    cases.push_back({"text stamp turned, readable colour", text([](CTextStamp& s) {
                         s.Direction(1);
                         s.Position(6);
                         s.ColorReadable(1);
                         s.Weight(700);
                         s.Italic(1);
                     })});
    // The text is a template: the preview stamps what it writes for the
    // sample, as the run does for the picture, not the braces.
    cases.push_back({"text stamp from a script with the picture's size", text([](CTextStamp& s) {
                         s.Text("{\"AB\" + \"CD\"}%\\{dimx} x {dimy}");
                         s.Position(5);
                     })});
    cases.push_back({"text stamp upside down, right aligned", text([](CTextStamp& s) {
                         s.Direction(2);
                         s.Alignment(3);
                         s.Position(8);
                         s.OffsetY(-4);
                     })});

    auto image = [stamp_file](std::function<void(CImageStamp&)> setup) {
        return [=] {
            auto s = std::make_shared<CImageStamp>();
            s->Name(stamp_file);
            setup(*s);
            return std::shared_ptr<CCloneEffekt>(s);
        };
    };
    cases.push_back({"image stamp", image([](CImageStamp&) {})});
    cases.push_back({"image stamp bottom right, opaque", image([](CImageStamp& s) {
                         s.Position(9);
                         s.deckkraft(100);
                     })});
    cases.push_back({"image stamp stretched", image([](CImageStamp& s) { s.Strecken(1); })});
    cases.push_back({"image stamp with a transparent colour", image([](CImageStamp& s) {
                         s.Position(5);
                         s.TransparenteFarbeNutzen(1);
                         s.TransparenzFarbtoleranz(19507);
                     })});

    auto frame = [frame_file](std::function<void(CBorder&)> setup) {
        return [=] {
            auto b = std::make_shared<CBorder>();
            b->Farbe(0x3060C0);
            setup(*b);
            return std::shared_ptr<CCloneEffekt>(b);
        };
    };
    cases.push_back({"inner frame", frame([](CBorder&) {})});
    cases.push_back({"inner frame, two sides with offsets", frame([](CBorder& b) {
                         b.Position(10);
                         b.OffsetLinks(5);
                         b.OffsetOben(7);
                         b.OffsetUnten(3);
                         b.deckkraft(80);
                     })});
    cases.push_back({"inner ellipse", frame([](CBorder& b) { b.InnenrahmenArt(1); })});
    cases.push_back({"outer frame", frame([](CBorder& b) { b.RahmenArt(1); })});
    cases.push_back({"outer frame top and bottom, fitted colour", frame([](CBorder& b) {
                         b.RahmenArt(1);
                         b.Position(5);
                         b.Breite(30);
                         b.FarbePassend(1);
                     })});
    cases.push_back({"picture frame tiled", frame([frame_file](CBorder& b) {
                         b.RahmenArt(2);
                         b.Bildname(frame_file);
                         b.Breite(15);
                     })});
    cases.push_back({"picture frame stretched, three sides", frame([frame_file](CBorder& b) {
                         b.RahmenArt(2);
                         b.Bildname(frame_file);
                         b.Bildverteilung(1);
                         b.Position(7);
                     })});

    const PictureBuffer plain = CClonenEffekte::beispiel_aufnehmen(w, h);
    for (const Case& k : cases) {
        const auto shown = k.make();
        const auto ran = k.make();
        const PictureBuffer preview = preview_with(shown);
        const PictureBuffer clone = run_with(ran);
        ASSERT_FALSE(preview.empty()) << k.name;
        ASSERT_FALSE(clone.empty()) << k.name;
        ASSERT_EQ(preview.width(), clone.width()) << k.name;
        ASSERT_EQ(preview.height(), clone.height()) << k.name;
        EXPECT_EQ(std::memcmp(preview.data(), clone.data(), preview.size_bytes()), 0) << k.name;
        // Kinds 6 to 10 do nothing, nor do the neutral defaults of gamma,
        // brightness and contrast, and saturation; every other description
        // changes the sample.
        const auto* picture_effect = dynamic_cast<const CBildEffekt*>(shown.get());
        const bool inert = k.name.starts_with("picture effect ") && picture_effect != nullptr &&
                           ((picture_effect->Bildeffektart() >= 6 && picture_effect->Bildeffektart() <= 10) ||
                            picture_effect->Bildeffektart() == 1 || picture_effect->Bildeffektart() == 2 ||
                            picture_effect->Bildeffektart() == 4);
        const bool same_as_sample = preview.width() == plain.width() && preview.height() == plain.height() &&
                                    std::memcmp(preview.data(), plain.data(), plain.size_bytes()) == 0;
        EXPECT_EQ(same_as_sample, inert) << k.name;
    }
}

}  // namespace
}  // namespace galvora::testing
