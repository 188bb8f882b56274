#include "profile/text_stamp.h"

namespace galvora {

void CTextStamp::clone(CCloneEffekt& target) const {
    auto& t = same_class<CTextStamp>(target);
    t.Description(Description());
    t.Text(Text());
    t.Font(Font());
    t.Height(Height());
    t.Color(Color());
    t.ColorReadable(ColorReadable());
    t.Position(Position());
    t.OffsetX(OffsetX());
    t.OffsetY(OffsetY());
    t.Direction(Direction());
    t.Alignment(Alignment());
    t.Weight(Weight());
    t.Italic(Italic());
    t.Underline(Underline());
    t.Strikeout(Strikeout());
    t.Opacity(Opacity());
    t.Background(Background());
    t.BackgroundColor(BackgroundColor());
    t.BackgroundOpacity(BackgroundOpacity());
    t.Border(Border());
    t.BorderColor(BorderColor());
    t.BorderWidth(BorderWidth());
}

std::string stempeltext_funktion(long position) { return "_stamptext_" + std::to_string(position); }

}  // namespace galvora
