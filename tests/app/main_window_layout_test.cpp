#include "app/main_window_layout.h"

#include "app/app_test_support.h"
#include "foundation/registry.h"

namespace galvora::testing {
namespace {

using namespace entwurf;

class WindowGeometry : public AppTest {
protected:
    Hauptfensterlayout layout;
    const Bildschirm screen{1280, 800, 15, 15};
    int32_t minimum() const { return 2 * kRand + 2 + kBaumbreite + kStatusbreite; }
    void store(const std::string& width, const std::string& height, const std::string& tree) {
        registry_schreiben("Administration", "fwidth", width);
        registry_schreiben("Administration", "fheigth", height);
        registry_schreiben("Administration", "pwidth", tree);
    }
};

TEST_F(WindowGeometry, AFirstStartOpensCentredAtTheDesignSize) {
    const Fenstergeometrie g = geometrie_laden(layout, screen);
    EXPECT_EQ(g.breite, minimum());
    EXPECT_EQ(g.hoehe, kFensterOben + kFensterhoehe);
    EXPECT_EQ(g.baumbreite, kBaumbreite);
    EXPECT_FALSE(g.maximiert);
    EXPECT_EQ(g.links, (1280 - minimum()) / 2);
    EXPECT_EQ(g.oben, (800 - kFensterhoehe) / 2);
    EXPECT_EQ(g.mindestbreite, minimum());
    EXPECT_EQ(g.mindesthoehe, kFensterhoehe);
    EXPECT_EQ(g.hoechstbreite, 1280);
    EXPECT_EQ(layout.splitter_breite, 2);  // 30 twips
}

TEST_F(WindowGeometry, StoredSizesAreKeptWithinTheMinimumAndTheScreen) {
    struct Case {
        const char* width;
        const char* height;
        const char* tree;
        int32_t breite, hoehe, baumbreite;
        bool maximised;
    };
    const Case cases[] = {
        {"12000", "9000", "6000", 800, 600, 400, false},
        {"19200", "12000", "4500", 1280, 800, 300, true},   // the screen's size: maximised
        {"30000", "30000", "4500", 1280, 800, 300, true},   // larger: cut to the screen
        {"30000", "9000", "4500", 1280, 600, 300, false},   // one side cut only
        {"100", "100", "100", minimum(), kFensterhoehe, kBaumbreite, false},
        {"12000", "9000", "9000", 800, 600, kBaumbreite, false},  // the status area would be too narrow
        {"breit", "", "x", minimum(), kFensterhoehe, kBaumbreite, false},  // no numbers: as missing
    };
    for (const Case& c : cases) {
        store(c.width, c.height, c.tree);
        const Fenstergeometrie g = geometrie_laden(layout, screen);
        EXPECT_EQ(g.breite, c.breite) << c.width;
        EXPECT_EQ(g.hoehe, c.hoehe) << c.height;
        EXPECT_EQ(g.baumbreite, c.baumbreite) << c.tree;
        EXPECT_EQ(g.maximiert, c.maximised) << c.width;
    }
    // A screen lower than the design: the minimum height is the screen's.
    const Fenstergeometrie small = geometrie_laden(layout, Bildschirm{1024, 500, 15, 15});
    EXPECT_EQ(small.mindesthoehe, 500);
    EXPECT_EQ(small.hoehe, 500);
}

TEST_F(WindowGeometry, TheCloseStoresTwips) {
    const Fenstermasse m = fenstermasse(Bildschirm{1280, 800, 15, 12}, 800, 600, 400);
    EXPECT_EQ(m.breite, 12000);
    EXPECT_EQ(m.hoehe, 7200);
    EXPECT_EQ(m.baumbreite, 6000);
}

TEST_F(WindowGeometry, TheTreeTakesEveryChangeOfTheWindowsWidth) {
    geometrie_laden(layout, screen);
    feldlayout(layout, 110, 130);
    EXPECT_EQ(layout.feld_links, kRand + kRand + 130);
    const int32_t w = minimum();
    const Anordnung first = anordnen(layout, w, 560, w, 540);
    EXPECT_EQ(first.baum, (Rechteck{kRand, kBaumOben, kBaumbreite, 540 - kStatuszeileHoehe - kBaumOben - kRand}));
    EXPECT_EQ(first.splitter.links, first.baum.rechts());
    EXPECT_EQ(first.status.links, first.splitter.rechts());
    EXPECT_EQ(first.status.breite, kStatusbreite);
    EXPECT_EQ(first.basisverzeichnis.breite, w - layout.feld_links - 2 * kRand);
    EXPECT_EQ(first.cloneverzeichnis.links, layout.feld_links);
    EXPECT_EQ(first.statuszeile, (Rechteck{0, 540 - kStatuszeileHoehe, w, kStatuszeileHoehe}));
    EXPECT_EQ(first.gesamtfortschritt.breite, w - 2 * kRand);
    EXPECT_EQ(first.logging.breite, kStatusbreite - kRand);

    const Anordnung wider = anordnen(layout, w + 100, 560, w + 100, 540);
    EXPECT_EQ(wider.baum.breite, kBaumbreite + 100);
    EXPECT_EQ(wider.status.breite, kStatusbreite);
    // Narrower than the design: the tree keeps its minimum.
    const Anordnung narrow = anordnen(layout, w - 200, 560, w - 200, 540);
    EXPECT_EQ(narrow.baum.breite, kBaumbreite);
    // Without the window system's limits the layout raises a size itself.
    const Anordnung raised = anordnen(layout, w - 200, 300, w - 200, 280, true);
    EXPECT_EQ(raised.statuszeile.breite, w);
    EXPECT_EQ(raised.statuszeile.oben, 280 + (kFensterhoehe - 300) - kStatuszeileHoehe);
}

TEST_F(WindowGeometry, TheSplitterKeepsBothSidesAtTheirDesignWidth) {
    geometrie_laden(layout, screen);
    const int32_t w = minimum() + 100;
    layout.letzte_breite = w;
    layout.baumbreite = kBaumbreite + 50;
    anordnen(layout, w, 560, w, 540);
    EXPECT_FALSE(splitter_ziehen(layout, 10));  // the button is not down
    layout.ziehen = true;
    EXPECT_FALSE(splitter_ziehen(layout, -51));                    // the tree would fall below
    EXPECT_FALSE(splitter_ziehen(layout, 51));                     // the status area would
    EXPECT_TRUE(splitter_ziehen(layout, 50));
    EXPECT_EQ(layout.baumbreite, kBaumbreite + 100);
    const Anordnung after = anordnen(layout, w, 560, w, 540);
    EXPECT_EQ(after.status.breite, kStatusbreite);
}

}  // namespace
}  // namespace galvora::testing
