#pragma once
// What the clone-effect editors share: the checkerboard their picture
// previews are drawn on, how a picture is fitted into a preview box, the file
// types offered when a frame or stamp picture is chosen, the nine position
// cells of the stamps, the tolerance of a transparent colour in percent, and
// numbers written as the value labels show them.
#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/error.h"
#include "image/picture_buffer.h"
#include "options/option_page.h"

namespace galvora {

class OptionPage;
class PageControl;

// Twips per pixel of the pages' design: preview boxes are measured in pixels.
inline constexpr double kTwipsPerPixel = 15;
int32_t pixels_of(double twips);

// Colours of the position cells and the side boxes.
inline constexpr uint32_t kCellOn = 0x00FF00;   // green
inline constexpr uint32_t kCellOff = 0xFFFFFF;  // white

// A checkerboard of 5 x 5 pixel cells, light blue (187, 221, 255) at the top
// left and white, cells at the right and bottom edges cut.
PictureBuffer schachbrett(int32_t width, int32_t height);

// Where a picture of picture_width x picture_height goes in a box of
// box_width x box_height: at its own size when it fits, otherwise shrunk by
// the smaller of the two ratios (so it fits boxes of any shape), never
// enlarged, at least one pixel each way, centred (halves to even).
struct Einpassung {
    int32_t width = 0;
    int32_t height = 0;
    int32_t left = 0;
    int32_t top = 0;
};
Einpassung einpassen(int32_t box_width, int32_t box_height, int32_t picture_width, int32_t picture_height);

// The eyedropper: the pixel of a picture of picture_width x picture_height,
// drawn into `place`, under the point (x, y) of the box (pixels, halves to
// even). False for a point beside the drawn picture.
bool bildpunkt_unter_maus(const Einpassung& place, int32_t picture_width, int32_t picture_height, float x, float y,
                          int32_t& picture_x, int32_t& picture_y);

// The preview of a frame or stamp picture: the picture resampled to the fitted
// size (filter -2) and laid over a copy of the backdrop at its place, with the
// opacity and the transparent colour as the run draws a stamp. On a failed
// resampling `out` is left empty and the error returned.
ErrorInfo bildvorschau(const PictureBuffer& backdrop, const PictureBuffer& picture, const Einpassung& place,
                       int32_t opacity, int32_t use_transparent_colour, int64_t transparent_colour, int32_t tolerance,
                       PictureBuffer& out);

// The file types of the picture chooser of frames and stamps: first all
// supported extensions under `all_description`, then one pair per picture
// type ("BMP", "*.BMP"), each item followed by a NUL. The extensions come from
// the working settings (BMP_EXT ... TIF_EXT), whatever the type switches say.
// JPEG 2000 is left out: the program cannot read it.
std::string bilddatei_filter(std::string_view all_description);

// The position cells of an image or text stamp: clicking cell i with the
// stamp at position p (0 none) gives the new position; the chosen cell again
// clears it.
int32_t positionszelle_geklickt(int32_t position, int32_t cell);
// Colours the cells `name`(1..9) of the page: the cell of the position green,
// the others white.
void positionszellen_zeigen(OptionPage& page, std::string_view name, int32_t position);

// Tolerance of a transparent colour: percent on the page, the sum of the
// squared channel differences (0 to 195075) in the stamp.
inline constexpr int32_t kMaxTolerance = 195075;
int32_t toleranz_aus_prozent(int32_t percent);
int32_t prozent_aus_toleranz(int32_t tolerance);

// The number with `decimals` places and "." as decimal point, whatever the
// locale ("1.23", "-0.50", "12").
std::string zahl_text(double value, int decimals);

// A whole-number property as the bindings read and write it.
std::string ganzzahl_text(int32_t value);
int32_t ganzzahl_aus_text(const std::string& text);

// A whole-number property of the object an editor is bound to, as a binding
// target. `bound` is where the editor keeps its object (nothing bound: reads
// give "" and writes do nothing).
template <class Object>
ValueTarget ganzzahl_eigenschaft(Object* const* bound, int32_t (Object::*get)() const,
                                 void (Object::*set)(int32_t)) {
    return ValueTarget::property(
        [bound, get] { return *bound != nullptr ? ganzzahl_text(((*bound)->*get)()) : std::string(); },
        [bound, set](const std::string& value) {
            if (*bound != nullptr) ((*bound)->*set)(ganzzahl_aus_text(value));
        });
}

}  // namespace galvora
