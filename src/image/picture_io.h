#pragma once
// Reading and writing picture files. The operations follow the program's
// error convention: a failure raises GalvoraError with number = our fault
// number + 1000, source = the operation's name and a description naming the
// failed step ("IS_OpenFileSource", "IS_GetXXXDims", "IS_ReadXXX",
// "IS_OpenFileDest", "IS_WriteJPG", ...).
//
// Metadata captured by a measurement or a read (JPEG markers, PNG texts, the
// TIFF structure of TIFF and RAW files) goes to the caller's own
// CapturedMetadata, which is emptied first and left empty on failure.
#include <cstdint>
#include <string>

#include "image/captured_metadata.h"
#include "image/picture_buffer.h"
#include "image/picture_type.h"

namespace galvora {

// Width and height of a picture file. Type code 0 asks for a guess by
// content (the guess stays inside; the caller's code is not changed).
// decoded: for types whose measurement has to decode the picture the block
// comes back here; for all others (and when decoded is null) it is left
// empty.
void GetImageDims(const std::string& path, int32_t type_code, int32_t& width, int32_t& height,
                  PictureBuffer* decoded = nullptr, CapturedMetadata* meta = nullptr);

// Decodes a picture file into a new buffer, which the caller owns. Type code
// 0 reads any supported type, recognised by content. Pictures above the pixel
// limit are refused before their block is allocated.
void ReadImage(const std::string& path, int32_t type_code, PictureBuffer& buffer, int32_t& width, int32_t& height,
               CapturedMetadata* meta = nullptr);

// As ReadImage, for a picture that is about to be reduced to at most
// min_width x min_height: a JPEG is decoded at the smallest DCT scale that
// still gives at least twice that size (never above the full size); other
// types are read at full size. width and height receive the decoded size.
void ReadImageReduced(const std::string& path, int32_t type_code, PictureBuffer& buffer, int32_t& width,
                      int32_t& height, int32_t min_width, int32_t min_height, CapturedMetadata* meta = nullptr);

// Writes buffer as a file of the given type. The bytes go to a temporary
// file that replaces path only after a complete write, so a failed write
// leaves an existing file as it was.
// quality: JPEG quality; with size_limit > 0 the lowest quality allowed in
// the search for the highest quality whose file stays below size_limit bytes.
// used_quality receives the JPEG quality written, 100 for other writable
// types; it is left alone for a type that cannot be written.
// output_metadata (may be null): JPEG markers written into a JPEG, PNG texts
// into a PNG.
void WriteImage(const std::string& path, int32_t type_code, const PictureBuffer& buffer, int32_t quality,
                int32_t size_limit, bool progressive, int32_t tiff_compression, int32_t& used_quality,
                const CapturedMetadata* output_metadata = nullptr);

}  // namespace galvora
