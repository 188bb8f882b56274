#include "profile/border.h"

namespace galvora {

void CBorder::Bildname(std::string_view value) {
    if (picture_.set_name(value)) verändert(true);
}

void CBorder::clone(CCloneEffekt& target) const {
    auto& t = same_class<CBorder>(target);
    t.Description(Description());
    t.RahmenArt(RahmenArt());
    t.InnenrahmenArt(InnenrahmenArt());
    t.Position(Position());
    t.Farbe(Farbe());
    t.Breite(Breite());
    t.OffsetLinks(OffsetLinks());
    t.OffsetRechts(OffsetRechts());
    t.OffsetOben(OffsetOben());
    t.OffsetUnten(OffsetUnten());
    t.deckkraft(deckkraft());
    t.FarbePassend(FarbePassend());
    t.Bildname(Bildname());
    t.Bildverteilung(Bildverteilung());
}

}  // namespace galvora
