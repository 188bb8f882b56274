#pragma once
// Windows metafiles. A metafile whose picture is one embedded bitmap (the
// usual way pictures travel as EMF or WMF) is read by our own record walker;
// any other WMF is drawn through libwmf. EMF files without a bitmap are not
// read. Writing produces a metafile holding the picture as one 24-bit
// bitmap.
#include <cstdint>
#include <cstdio>

#include "image/picture_buffer.h"

namespace galvora {

enum class MetafileFormat { emf, wmf };

void metafile_read_dims(FILE* in, int32_t& width, int32_t& height);
PictureBuffer metafile_read(FILE* in);
// WMF records keep sizes in 16 bits: pictures above 32767 pixels in either
// direction can only be written as EMF.
void metafile_write(const PictureBuffer& buffer, FILE* out, MetafileFormat format = MetafileFormat::emf);

}  // namespace galvora
