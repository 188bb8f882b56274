#pragma once
// The program's own progress bar without any window: maximum, value, text,
// percent display and colours, and what the bar shows as a result (the filled
// pieces since the last reset and the label's caption). The main window holds
// two of them, the overall bar and the per-directory bar; the progress widget
// only paints this state.
#include <cstdint>
#include <string>
#include <vector>

namespace galvora {

// Initial fill colour of the progress (red 220, green 238, blue 255).
inline constexpr uint32_t kFortschrittFarbe = 0xFFEEDC;

// One filled rectangle of the bar, from `von` to `bis` along its width, over
// its whole height.
struct Balkenstueck {
    float von = 0;
    float bis = 0;
    uint32_t farbe = 0;
};

class Fortschrittanzeige {
public:
    Fortschrittanzeige();

    // The value that stands for a full bar. Nothing is redrawn.
    void Max(int32_t maximum) { maximum_ = maximum; }
    int32_t Max() const { return maximum_; }
    // Fill colour of the pieces drawn from now on.
    void hgfarbe(uint32_t colour) { bar_colour_ = colour; }
    uint32_t hgfarbe() const { return bar_colour_; }
    // Colour of a one-line frame around the bar; negative for none.
    void rahmenfarbe(int32_t colour) { frame_colour_ = colour; }
    int32_t rahmenfarbe() const { return frame_colour_; }

    // Draws the progress up to the value: only the piece between the last end
    // and the new one is filled. A maximum of 0 draws nothing and changes
    // nothing. With the percent display on, the label (and, while the main
    // window is minimised, its caption) changes when the whole-number
    // percentage does.
    void setze_aktwert(int32_t value);

    // Stores the text; the label shows it alone until the percentage next changes.
    void Text(const std::string& text);
    const std::string& Text() const { return text_; }

    // Clears the bar and shows the bare text.
    void reset();
    void mit_prozentzahl(bool on);
    bool mit_prozentzahl() const { return percent_display_; }
    // Flat look without border, on the given background.
    void flache_darstellung(uint32_t background);
    bool flach() const { return flat_; }
    uint32_t hintergrund() const { return background_; }
    // The language's word between the percentage and the text.
    void lade_sprachressourcen();

    // The control's name: the language section of its own word.
    static constexpr const char* kName = "Fortschrittanzeige";
    std::string Name() const { return kName; }

    // The size of the bar changed (the control's resize): the bar is cleared
    // and takes the new width.
    void groesse(float width, float height);
    float breite() const { return width_; }
    float hoehe() const { return height_; }

    // What the bar shows: its pieces since the last reset, in drawing order
    // (adjacent pieces of one colour are joined), and the label's caption.
    const std::vector<Balkenstueck>& stuecke() const { return pieces_; }
    const std::string& beschriftung() const { return caption_; }
    // Grows with every change of what the bar shows, so a view repaints only then.
    uint64_t stand() const { return revision_; }

private:
    void caption_with_percent();
    void add_piece(float from, float to);

    int32_t maximum_ = 0;
    bool percent_display_ = false;
    std::string text_;
    int32_t last_percent_ = 0;
    float last_end_ = 0;
    uint32_t bar_colour_ = kFortschrittFarbe;
    int32_t frame_colour_ = -1;
    std::string of_word_;
    uint32_t background_ = 0xFFFFFF;
    bool flat_ = false;
    float width_ = 0;
    float height_ = 0;
    std::vector<Balkenstueck> pieces_;
    std::string caption_;
    uint64_t revision_ = 0;
};

// The whole-number percentage of value in maximum, halves to the even
// neighbour, computed without overflow; 0 when the maximum is 0.
int32_t prozentzahl(int32_t value, int32_t maximum);

}  // namespace galvora
