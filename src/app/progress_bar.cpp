#include "app/progress_bar.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>

#include "app/main_window.h"
#include "foundation/language.h"

namespace galvora {

int32_t prozentzahl(int32_t value, int32_t maximum) {
    if (maximum == 0) return 0;
    // The product is taken in 64 bits: a count of a few million pictures
    // times 100 leaves the 32-bit range.
    const double exact = static_cast<double>(static_cast<int64_t>(value) * 100) / static_cast<double>(maximum);
    // nearbyint rounds in the current mode, which is to nearest with halves to even.
    const double rounded = std::nearbyint(exact);
    constexpr double low = std::numeric_limits<int32_t>::min();
    constexpr double high = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(rounded, low, high));
}

Fortschrittanzeige::Fortschrittanzeige() { reset(); }

void Fortschrittanzeige::add_piece(float from, float to) {
    const float low = std::min(from, to);
    const float high = std::max(from, to);
    // The bar on screen is the sum of the pieces; pieces of one colour that
    // touch are one rectangle, so a run of values keeps a single piece.
    if (!pieces_.empty()) {
        Balkenstueck& last = pieces_.back();
        if (last.farbe == bar_colour_ && low <= last.bis && high >= last.von) {
            last.von = std::min(last.von, low);
            last.bis = std::max(last.bis, high);
            return;
        }
    }
    pieces_.push_back({low, high, bar_colour_});
}

void Fortschrittanzeige::caption_with_percent() {
    caption_ = std::to_string(last_percent_) + "% " + of_word_ + " " + text_;
}

void Fortschrittanzeige::setze_aktwert(int32_t value) {
    // Without a maximum there is no share to show; a division by it would
    // break the caller's loop.
    if (maximum_ == 0) return;
    const float new_end =
        static_cast<float>(static_cast<double>(width_) * static_cast<double>(value) / static_cast<double>(maximum_));
    add_piece(last_end_, new_end);
    last_end_ = new_end;
    ++revision_;
    if (!percent_display_) return;
    const int32_t percent = prozentzahl(value, maximum_);
    if (percent == last_percent_) return;
    last_percent_ = percent;
    caption_with_percent();
    hauptfenster_prozent_zeigen(percent);
}

void Fortschrittanzeige::Text(const std::string& text) {
    text_ = text;
    caption_ = text;
    ++revision_;
}

void Fortschrittanzeige::reset() {
    caption_ = text_;
    last_end_ = 0;
    last_percent_ = 0;
    pieces_.clear();
    ++revision_;
}

void Fortschrittanzeige::mit_prozentzahl(bool on) {
    percent_display_ = on;
    if (on) {
        caption_with_percent();
    } else {
        caption_ = text_;
    }
    ++revision_;
}

void Fortschrittanzeige::flache_darstellung(uint32_t background) {
    flat_ = true;
    background_ = background;
    ++revision_;
}

void Fortschrittanzeige::lade_sprachressourcen() { of_word_ = inq(Name(), "InfOf"); }

void Fortschrittanzeige::groesse(float width, float height) {
    height_ = height;
    reset();
    width_ = width;
}

}  // namespace galvora
