#include "profile/image_stamp.h"

namespace galvora {

void CImageStamp::Name(std::string_view value) {
    if (picture_.set_name(value)) verändert(true);
}

void CImageStamp::clone(CCloneEffekt& target) const {
    auto& t = same_class<CImageStamp>(target);
    t.Description(Description());
    t.Name(Name());
    t.Strecken(Strecken());
    t.Position(Position());
    t.OffsetX(OffsetX());
    t.OffsetY(OffsetY());
    t.deckkraft(deckkraft());
    t.TransparenteFarbeNutzen(TransparenteFarbeNutzen());
    t.TransparenteFarbe(TransparenteFarbe());
    t.TransparenzFarbtoleranz(TransparenzFarbtoleranz());
}

}  // namespace galvora
