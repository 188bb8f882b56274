#pragma once
// Image stamp: a picture file laid over every clone.
#include "profile/clone_effect.h"
#include "profile/effect_picture.h"

namespace galvora {

class CImageStamp : public CCloneEffekt {
public:
    CImageStamp() : CCloneEffekt("Image") {}

    Art art() const override { return Art::ImageStamp; }
    std::shared_ptr<CCloneEffekt> neu() const override { return std::make_shared<CImageStamp>(); }
    void clone(CCloneEffekt& target) const override;

    // Setting a different name loads that picture (errors stay in Err*).
    const std::string& Name() const { return picture_.name(); }
    void Name(std::string_view value);

    GALVORA_EFFECT_INT_PROPERTY(Position, position_)
    GALVORA_EFFECT_INT_PROPERTY(OffsetX, offset_x_)
    GALVORA_EFFECT_INT_PROPERTY(OffsetY, offset_y_)
    GALVORA_EFFECT_INT_PROPERTY(deckkraft, opacity_)
    GALVORA_EFFECT_INT_PROPERTY(TransparenteFarbeNutzen, use_transparent_)
    GALVORA_EFFECT_INT_PROPERTY(TransparenteFarbe, transparent_colour_)
    GALVORA_EFFECT_INT_PROPERTY(TransparenzFarbtoleranz, tolerance_)
    GALVORA_EFFECT_INT_PROPERTY(Strecken, stretch_)

    // The loaded picture; empty when none is loaded.
    const PictureBuffer& pRGB() const { return picture_.picture(); }
    int32_t Breite() const { return picture_.picture().width(); }
    int32_t Höhe() const { return picture_.picture().height(); }
    long ErrNumber() const { return picture_.error().number; }
    const std::string& ErrSource() const { return picture_.error().source; }
    const std::string& ErrDescription() const { return picture_.error().description; }

private:
    EffectPicture picture_;
    int32_t position_ = 1;
    int32_t offset_x_ = 10;
    int32_t offset_y_ = 10;
    int32_t opacity_ = 50;
    int32_t use_transparent_ = 0;
    int32_t transparent_colour_ = 0xFFFFFF;
    int32_t tolerance_ = 0;
    int32_t stretch_ = 0;
};

}  // namespace galvora
