#pragma once
// Our own readers and writers for the picture types that no maintained
// library reads the way the program needs: BMP, PCX, TGA, PSD, Photo CD and
// Windows metafiles. They take the same shape as the library codecs: a
// dimension query, a reader returning a new buffer and a writer into an open
// stream, all failing with ImagingFailure (bad data for any hostile or
// truncated file, too large above the pixel limit, checked before the
// picture's block is allocated).
#include "image/owncodecs/bmp_codec.h"
#include "image/owncodecs/metafile_codec.h"
#include "image/owncodecs/pcx_codec.h"
#include "image/owncodecs/photo_cd_codec.h"
#include "image/owncodecs/psd_codec.h"
#include "image/owncodecs/tga_codec.h"
