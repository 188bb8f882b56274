#pragma once
// The two pictures the options dialog carries in its design: the sample
// picture `BeispielImage` (200 x 200 pixels), shown in the page mock-ups and
// taken by the clone-effect previews, and the background tile `Hintergrund`
// (32 x 32 pixels) of the mock-ups' page bodies. Both are drawn here, so the
// program needs no picture files for them and every build shows the same.
#include "image/picture_buffer.h"

namespace galvora {

// A landscape: sky, sun, hills, a lake with the sun's reflection.
PictureBuffer beispielbild();
// A light paper texture whose edges meet when tiled.
PictureBuffer hintergrund_kachel();

}  // namespace galvora
