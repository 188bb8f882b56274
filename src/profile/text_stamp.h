#pragma once
// Text stamp: a text (a script template) drawn onto every clone.
#include "profile/clone_effect.h"

namespace galvora {

class CTextStamp : public CCloneEffekt {
public:
    CTextStamp() : CCloneEffekt("Textstamp") {}

    Art art() const override { return Art::TextStamp; }
    std::shared_ptr<CCloneEffekt> neu() const override { return std::make_shared<CTextStamp>(); }
    void clone(CCloneEffekt& target) const override;

    const std::string& Text() const { return text_; }
    void Text(std::string_view value) { change(text_, std::string(value)); }
    const std::string& Font() const { return font_; }
    void Font(std::string_view value) { change(font_, std::string(value)); }

    GALVORA_EFFECT_INT_PROPERTY(Height, height_)
    GALVORA_EFFECT_INT_PROPERTY(Position, position_)
    GALVORA_EFFECT_INT_PROPERTY(OffsetX, offset_x_)
    GALVORA_EFFECT_INT_PROPERTY(OffsetY, offset_y_)
    GALVORA_EFFECT_INT_PROPERTY(Direction, direction_)
    GALVORA_EFFECT_INT_PROPERTY(Alignment, alignment_)
    GALVORA_EFFECT_INT_PROPERTY(Color, color_)
    GALVORA_EFFECT_INT_PROPERTY(ColorReadable, color_readable_)
    GALVORA_EFFECT_INT_PROPERTY(Opacity, opacity_)
    GALVORA_EFFECT_INT_PROPERTY(Weight, weight_)
    GALVORA_EFFECT_INT_PROPERTY(Italic, italic_)
    GALVORA_EFFECT_INT_PROPERTY(Underline, underline_)
    GALVORA_EFFECT_INT_PROPERTY(Strikeout, strikeout_)
    GALVORA_EFFECT_INT_PROPERTY(Background, background_)
    GALVORA_EFFECT_INT_PROPERTY(BackgroundColor, background_color_)
    GALVORA_EFFECT_INT_PROPERTY(BackgroundOpacity, background_opacity_)
    GALVORA_EFFECT_INT_PROPERTY(Border, border_)
    GALVORA_EFFECT_INT_PROPERTY(BorderColor, border_color_)
    GALVORA_EFFECT_INT_PROPERTY(BorderWidth, border_width_)

private:
    std::string text_ = "Text";
    std::string font_ = "Arial";
    int32_t height_ = 15;
    int32_t position_ = 1;
    int32_t offset_x_ = 10;
    int32_t offset_y_ = 10;
    int32_t direction_ = 0;
    int32_t alignment_ = 0;
    int32_t color_ = 0xFFFFFF;
    int32_t color_readable_ = 0;
    int32_t opacity_ = 100;
    int32_t weight_ = 400;
    int32_t italic_ = 0;
    int32_t underline_ = 0;
    int32_t strikeout_ = 0;
    int32_t background_ = 0;
    int32_t background_color_ = 0x0000FF;
    int32_t background_opacity_ = 50;
    int32_t border_ = 0;
    int32_t border_color_ = 0x00FF00;
    int32_t border_width_ = 1;
};

// The script function a text stamp's text compiles into: named after the
// stamp's 1-based position in the whole clone-effect list.
std::string stempeltext_funktion(long position);

}  // namespace galvora
