#pragma once
// One picture effect of the clone-effect list applied to a picture: the
// kind picks the effect, the description's parameters feed it.
#include <cstdint>

#include "image/picture_buffer.h"
#include "profile/picture_effect.h"

namespace galvora {

// Kinds 6 to 10 and kinds outside 0 to 25 change nothing, as does an empty
// picture. The drop shadow (kind 15) and quarter turns change the picture's
// size. Throws ImagingFailure or std::bad_alloc when an effect cannot get the
// memory it needs; the picture is then as it was.
void ApplyEffect(PictureBuffer& picture, const CBildEffekt& effect);

// The size of a width x height picture after ApplyEffect with this effect.
void effect_output_size(const CBildEffekt& effect, int64_t& width, int64_t& height);

}  // namespace galvora
