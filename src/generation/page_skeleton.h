#pragma once
// The frame of tags that every gallery page shares, the navigation bar and
// the date line. The variable parts come from the page kind's templates.
#include <array>
#include <cstdint>

namespace galvora {

class Seitendatei;
struct Verzeichnissatz;

// The template entries of one page kind's skeleton.
struct Seitenschluessel {
    int head;          // head template
    int head_disable;  // setting: not 0 writes the head as text
    int title;
    int body;          // attributes of the body tag; 0 for the frame page
};

// Doctype, html and head, title, and (with a body entry) the body start tag.
void seitenkopf_schreiben(Seitendatei& page, const Seitenschluessel& keys);

// The date line (flag 1 only), the footer template and a line end, then
// "</body>" and "</html>".
void seitenende_schreiben(Seitendatei& page, int32_t date_flag, int footer);

// Bits of the navigation bar positions (REF_POS, HTML_BILD_REF_POS).
inline constexpr int32_t kBarTop = 4;            // above the table or picture
inline constexpr int32_t kBarBelowContent = 16;  // below the table or picture
inline constexpr int32_t kBarAfterPost = 32;     // after the text that follows it

// The number of pictures a directory record holds.
int32_t bilder_im_verzeichnis(const Verzeichnissatz& directory);

// The eleven slots of a navigation bar, in output order; 0 leaves a slot out.
using Navigationsslots = std::array<int, 11>;

// Slot 1, slots 2 to 4 (extended only), 5 to 7, 8 to 10 (extended only),
// slot 11, then a line end.
void navigation_schreiben(Seitendatei& page, bool extended, const Navigationsslots& slots);

// With flag 1: a line end and the centred paragraph holding the run's date
// text as a line. Any other flag writes nothing.
void erstellungsdatum_schreiben(Seitendatei& page, int32_t flag);

}  // namespace galvora
