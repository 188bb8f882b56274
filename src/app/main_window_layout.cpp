#include "app/main_window_layout.h"

#include <algorithm>

#include "foundation/log.h"
#include "foundation/registry.h"
#include "profile/number_text.h"

namespace galvora {

namespace {

// A stored size that is missing or not a whole number counts as missing.
int32_t stored_pixels(const char* name, int32_t twips_per_pixel, int32_t fallback) {
    int32_t twips = 0;
    if (!text_to_int32(registry_lesen("Administration", name, ""), twips)) return fallback;
    return twips / std::max(twips_per_pixel, 1);
}

// A number with one leading blank when it is not negative.
std::string signed_text(int32_t value) { return (value >= 0 ? " " : "") + std::to_string(value); }

}  // namespace

Fenstergeometrie geometrie_laden(Hauptfensterlayout& layout, const Bildschirm& screen) {
    using namespace entwurf;
    const int32_t tpp_x = std::max(screen.twips_pro_pixel_x, 1);
    const int32_t tpp_y = std::max(screen.twips_pro_pixel_y, 1);
    layout.splitter_breite = std::max(kSplitterTwips / tpp_x, 1);
    layout.mindest_baumbreite = kBaumbreite;
    layout.mindest_statusbreite = kStatusbreite;
    layout.mindestbreite = 2 * kRand + layout.splitter_breite + kBaumbreite + kStatusbreite;
    layout.mindesthoehe = std::min(screen.hoehe, kFensterhoehe);

    Fenstergeometrie g;
    g.breite = stored_pixels("fwidth", tpp_x, layout.mindestbreite);
    g.breite = std::min(std::max(g.breite, layout.mindestbreite), screen.breite);
    g.hoehe = stored_pixels("fheigth", tpp_y, kFensterOben + kFensterhoehe);
    g.hoehe = std::min(std::max(g.hoehe, layout.mindesthoehe), screen.hoehe);

    g.baumbreite = stored_pixels("pwidth", tpp_x, kBaumbreite);
    if (g.baumbreite < kBaumbreite ||
        g.breite - g.baumbreite - 2 * kRand - layout.splitter_breite < kStatusbreite)
        g.baumbreite = kBaumbreite;
    layout.baumbreite = g.baumbreite;

    g.maximiert = g.breite == screen.breite && g.hoehe == screen.hoehe;
    if (!g.maximiert) {
        g.links = (screen.breite - g.breite) / 2;
        g.oben = (screen.hoehe - g.hoehe) / 2;
    } else {
        g.links = 0;
        g.oben = 0;
    }
    // The first layout sees no change of width: the tree keeps the stored width.
    layout.letzte_breite = g.breite;
    layout.letzte_hoehe = g.hoehe;
    layout.ziehen = false;
    layout.bereit = true;

    g.mindestbreite = layout.mindestbreite;
    g.mindesthoehe = layout.mindesthoehe;
    g.hoechstbreite = screen.breite;
    g.hoechsthoehe = screen.hoehe;
    log_line("Startdialog LOAD Resize to " + signed_text(g.breite * tpp_x) + ":" + signed_text(g.hoehe * tpp_y));
    return g;
}

Fenstermasse fenstermasse(const Bildschirm& screen, int32_t breite, int32_t hoehe, int32_t baumbreite) {
    return {breite * screen.twips_pro_pixel_x, hoehe * screen.twips_pro_pixel_y, baumbreite * screen.twips_pro_pixel_x};
}

Anordnung anordnen(Hauptfensterlayout& layout, int32_t fensterbreite, int32_t fensterhoehe, int32_t client_breite,
                   int32_t client_hoehe, bool groessen_selbst) {
    using namespace entwurf;
    if (groessen_selbst) {
        const int32_t raise_w = std::max(layout.mindestbreite - fensterbreite, 0);
        const int32_t raise_h = std::max(layout.mindesthoehe - fensterhoehe, 0);
        fensterbreite += raise_w;
        fensterhoehe += raise_h;
        client_breite += raise_w;
        client_hoehe += raise_h;
    }
    const int32_t width_change = fensterbreite - layout.letzte_breite;
    Anordnung a;
    a.rahmen_gesamt = {0, 0, client_breite, client_hoehe - kStatuszeileHoehe};
    const int32_t tree_width = std::max(layout.baumbreite + width_change, layout.mindest_baumbreite);
    a.basisverzeichnis = {layout.feld_links, kZeile1Oben, a.rahmen_gesamt.breite - layout.feld_links - 2 * kRand,
                          kZeilenhoehe};
    a.cloneverzeichnis = {a.basisverzeichnis.links, kZeile2Oben, a.basisverzeichnis.breite, kZeilenhoehe};
    a.baum = {kRand, kBaumOben, tree_width, a.rahmen_gesamt.hoehe - kBaumOben - kRand};
    a.splitter = {a.baum.rechts(), a.baum.oben, layout.splitter_breite, a.baum.hoehe};
    a.status = {a.splitter.rechts(), a.baum.oben, a.rahmen_gesamt.breite - a.splitter.rechts() - kRand, a.baum.hoehe};
    a.logging = {kLogging.links, kLogging.oben, a.status.breite - kRand, kLogging.hoehe};
    a.statuszeile = {0, client_hoehe - kStatuszeileHoehe, a.rahmen_gesamt.breite, kStatuszeileHoehe};
    layout.letzte_breite = fensterbreite;
    layout.letzte_hoehe = fensterhoehe;
    a.gesamtfortschritt = {kGesamtfortschritt.links, kGesamtfortschritt.oben,
                           a.statuszeile.breite - 2 * kGesamtfortschritt.links, kGesamtfortschritt.hoehe};
    layout.baumbreite = tree_width;
    layout.anordnung = a;
    return a;
}

void feldlayout(Hauptfensterlayout& layout, int32_t basislabel_breite, int32_t clonelabel_breite) {
    const int32_t widest = std::max(entwurf::kRand + basislabel_breite, entwurf::kRand + clonelabel_breite);
    layout.feld_links = entwurf::kRand + widest;
}

bool splitter_ziehen(Hauptfensterlayout& layout, int32_t x) {
    if (!layout.ziehen) return false;
    const int32_t tree_width = layout.anordnung.baum.breite + x;
    if (tree_width < layout.mindest_baumbreite || layout.anordnung.status.breite - x < layout.mindest_statusbreite)
        return false;
    layout.baumbreite = tree_width;
    return true;
}

}  // namespace galvora
