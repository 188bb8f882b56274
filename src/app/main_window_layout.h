#pragma once
// The main window's design and its size rules, without any window: the
// geometry restored from the registry and stored at close, the layout that
// turns every change of the window's width into a change of the tree's width,
// the splitter between the tree and the status area, and the colours of the
// control-image box. All sizes here are pixels; the registry keeps twips
// (1/1440 inch), converted with the screen's twips per pixel.
#include <cstdint>
#include <string>

namespace galvora {

struct Rechteck {
    int32_t links = 0;
    int32_t oben = 0;
    int32_t breite = 0;
    int32_t hoehe = 0;
    int32_t rechts() const { return links + breite; }
    int32_t unten() const { return oben + hoehe; }
    bool operator==(const Rechteck&) const = default;
};

// The window's design: where the controls stand before any layout.
namespace entwurf {
// Left edge of the tree: also the margin the layout keeps on every side.
inline constexpr int32_t kRand = 8;
// The two directory rows above the tree.
inline constexpr int32_t kZeile1Oben = 8;
inline constexpr int32_t kZeile2Oben = 38;
inline constexpr int32_t kZeilenhoehe = 26;
inline constexpr int32_t kBaumOben = 72;
// Design widths of the tree and the status area: their minimum widths.
inline constexpr int32_t kBaumbreite = 300;
inline constexpr int32_t kStatusbreite = 280;
// The window's design height and top edge (the height of a first start).
inline constexpr int32_t kFensterhoehe = 560;
inline constexpr int32_t kFensterOben = 0;
inline constexpr int32_t kStatuszeileHoehe = 32;
// Inside the status line: the overall bar.
inline constexpr Rechteck kGesamtfortschritt{kRand, 4, 0, 24};
// Inside the status area: start button, log box, control-image box, version.
inline constexpr Rechteck kStartknopf{0, 0, 140, 30};
inline constexpr Rechteck kLogging{0, 38, 0, 120};
inline constexpr Rechteck kKontrollbild{0, 166, 200, 160};
inline constexpr Rechteck kVersion{0, 334, 200, 20};
// The per-directory bar the run puts on the tree's row.
inline constexpr int32_t kPfadfortschrittBreite = 220;
inline constexpr int32_t kPfadfortschrittHoehe = 18;
// The splitter is 30 twips wide.
inline constexpr int32_t kSplitterTwips = 30;
}  // namespace entwurf

// The screen the window opens on: its size in pixels and twips per pixel.
struct Bildschirm {
    int32_t breite = 0;
    int32_t hoehe = 0;
    int32_t twips_pro_pixel_x = 15;
    int32_t twips_pro_pixel_y = 15;
};

// Where the layout puts each control: the status line and the working area
// in the window's client area, the rest inside the working area (the log box
// inside the status area, the overall bar inside the status line).
struct Anordnung {
    Rechteck rahmen_gesamt;
    Rechteck basisverzeichnis;
    Rechteck cloneverzeichnis;
    Rechteck baum;
    Rechteck splitter;
    Rechteck status;
    Rechteck logging;
    Rechteck statuszeile;
    Rechteck gesamtfortschritt;
};

// The layout's state: it lives as long as the window.
struct Hauptfensterlayout {
    int32_t splitter_breite = 2;
    int32_t mindestbreite = 0;
    int32_t mindesthoehe = 0;
    int32_t mindest_baumbreite = entwurf::kBaumbreite;
    int32_t mindest_statusbreite = entwurf::kStatusbreite;
    // The window's width after the last layout: a change of width goes to the tree.
    int32_t letzte_breite = 0;
    int32_t letzte_hoehe = 0;
    int32_t baumbreite = entwurf::kBaumbreite;
    // Left edge of the two directory fields, right of the wider of their labels.
    int32_t feld_links = 2 * entwurf::kRand + 120;
    // The last layout, for the splitter and the views.
    Anordnung anordnung;
    // The drag flag of the splitter.
    bool ziehen = false;
    // Set when a layout failed: the stored geometry is dropped at close.
    bool geometrie_verwerfen = false;
    // The geometry has been restored: from then on size changes lay the window out.
    bool bereit = false;
};

// The geometry to open the window with.
struct Fenstergeometrie {
    int32_t breite = 0;
    int32_t hoehe = 0;
    int32_t links = 0;
    int32_t oben = 0;
    int32_t baumbreite = 0;
    bool maximiert = false;
    // Size limits of the window while the user drags its frame.
    int32_t mindestbreite = 0;
    int32_t mindesthoehe = 0;
    int32_t hoechstbreite = 0;
    int32_t hoechsthoehe = 0;
};

// Restores the geometry from "fwidth", "fheigth" and "pwidth" of section
// "Administration": raised to the minimum, cut to the screen, maximised when
// it fills the screen, else centred. Sets the layout's minimums, tree width
// and the drag flag, and logs the size.
Fenstergeometrie geometrie_laden(Hauptfensterlayout& layout, const Bildschirm& screen);

// The window's size and the tree's width as the close stores them, in twips.
struct Fenstermasse {
    int32_t breite = 0;
    int32_t hoehe = 0;
    int32_t baumbreite = 0;
};
Fenstermasse fenstermasse(const Bildschirm& screen, int32_t breite, int32_t hoehe, int32_t baumbreite);

// Lays out the controls for a client area of the given size; `fensterbreite`
// is the window's outer width, whose change since the last layout goes to the
// tree. `groessen_selbst` raises a size below the minimum (when the window
// system does not keep the window's minimum itself).
Anordnung anordnen(Hauptfensterlayout& layout, int32_t fensterbreite, int32_t fensterhoehe, int32_t client_breite,
                   int32_t client_hoehe, bool groessen_selbst = false);

// The left edge of the directory fields after the labels took their language's
// widths: right of the wider label.
void feldlayout(Hauptfensterlayout& layout, int32_t basislabel_breite, int32_t clonelabel_breite);

// A move of the mouse while the splitter is dragged, x relative to the
// splitter: true when the tree takes the new width (then the layout must run).
bool splitter_ziehen(Hauptfensterlayout& layout, int32_t x);

// Colour of the control-image box's idle cross pattern: light green while the
// control image is on, light red while it is off.
inline constexpr uint32_t kKontrollbildAn = 0x96EB96;
inline constexpr uint32_t kKontrollbildAus = 0xC8C8FF;
inline uint32_t kontrollbild_farbe(bool on) { return on ? kKontrollbildAn : kKontrollbildAus; }

}  // namespace galvora
