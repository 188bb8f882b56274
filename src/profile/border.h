#pragma once
// Frame: an inner, outer or picture frame drawn around every clone.
#include "profile/clone_effect.h"
#include "profile/effect_picture.h"

namespace galvora {

class CBorder : public CCloneEffekt {
public:
    CBorder() : CCloneEffekt("Border") {}

    Art art() const override { return Art::Border; }
    std::shared_ptr<CCloneEffekt> neu() const override { return std::make_shared<CBorder>(); }
    void clone(CCloneEffekt& target) const override;

    GALVORA_EFFECT_INT_PROPERTY(RahmenArt, frame_kind_)
    GALVORA_EFFECT_INT_PROPERTY(InnenrahmenArt, inner_kind_)
    GALVORA_EFFECT_INT_PROPERTY(Position, sides_)
    GALVORA_EFFECT_INT_PROPERTY(Farbe, colour_)
    GALVORA_EFFECT_INT_PROPERTY(Breite, width_)
    GALVORA_EFFECT_INT_PROPERTY(OffsetLinks, offset_left_)
    GALVORA_EFFECT_INT_PROPERTY(OffsetRechts, offset_right_)
    GALVORA_EFFECT_INT_PROPERTY(OffsetOben, offset_top_)
    GALVORA_EFFECT_INT_PROPERTY(OffsetUnten, offset_bottom_)
    GALVORA_EFFECT_INT_PROPERTY(deckkraft, opacity_)
    GALVORA_EFFECT_INT_PROPERTY(FarbePassend, colour_from_picture_)
    GALVORA_EFFECT_INT_PROPERTY(Bildverteilung, arrangement_)

    // Setting a different name loads the frame picture (errors stay in Err*).
    const std::string& Bildname() const { return picture_.name(); }
    void Bildname(std::string_view value);

    const PictureBuffer& pRGB() const { return picture_.picture(); }
    int32_t Bildbreite() const { return picture_.picture().width(); }
    int32_t Bildhöhe() const { return picture_.picture().height(); }
    long ErrNumber() const { return picture_.error().number; }
    const std::string& ErrSource() const { return picture_.error().source; }
    const std::string& ErrDescription() const { return picture_.error().description; }

private:
    EffectPicture picture_;
    int32_t frame_kind_ = 0;
    int32_t inner_kind_ = 0;
    int32_t sides_ = 15;
    int32_t colour_ = 0xFFFFFF;
    int32_t width_ = 10;
    int32_t offset_left_ = 0;
    int32_t offset_right_ = 0;
    int32_t offset_top_ = 0;
    int32_t offset_bottom_ = 0;
    int32_t opacity_ = 50;
    int32_t colour_from_picture_ = 0;
    int32_t arrangement_ = 0;
};

}  // namespace galvora
