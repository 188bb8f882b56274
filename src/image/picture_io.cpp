#include "image/picture_io.h"

#include <cerrno>
#include <algorithm>
#include <cctype>
#include <new>

#include "image/codecs/gif_codec.h"
#include "image/codecs/jpeg_codec.h"
#include "image/codecs/png_codec.h"
#include "image/codecs/raw_codec.h"
#include "image/codecs/tiff_codec.h"
#include "image/file_source.h"
#include "image/imaging_error.h"
#include "image/jpeg_quality_search.h"
#include "foundation/output_file.h"
#include "image/owncodecs/own_codecs.h"

namespace galvora {

namespace {

// The TIFF structure kept for the metadata readers: the file's leading
// bytes, where TIFF and TIFF-based RAW files keep their directories.
constexpr size_t kMaxTiffCapture = 16u << 20;

bool has_tiff_header(FileSource& src) {
    const std::string head = src.read_prefix(4);
    return head == std::string("II*\0", 4) || head == std::string("MM\0*", 4);
}

void capture_tiff_structure(FileSource& src, CapturedMetadata* meta) {
    if (meta && has_tiff_header(src)) meta->tiff_exif = src.read_prefix(kMaxTiffCapture);
}

int32_t guessed_type(FileSource& src) {
    const int32_t code = type_code_for_guess(guess_file_type(src.read_prefix(kGuessPrefixBytes)));
    if (code == picture_type::tiff && tiff_is_camera_raw(src.file())) return picture_type::camera_raw;
    return code;
}

[[noreturn]] void raise(ImagingFault fault, const char* source, const char* description) {
    throw imaging_error(fault, source, description);
}

// A write the file system refused carries the system's error number, so the
// run can tell a full disk from a picture its encoder could not make.
[[noreturn]] void raise_write(ImagingFault fault, const char* description, int system_error) {
    ErrorInfo info = imaging_error(fault, "WriteImage", description).info();
    info.system_error = system_error;
    throw GalvoraError(std::move(info));
}

// Reads pixels of a known type; throws ImagingFailure.
PictureBuffer read_by_type(FileSource& src, int32_t code, CapturedMetadata* meta, int32_t min_w, int32_t min_h) {
    if (!src.rewind()) throw ImagingFailure(ImagingFault::cannot_open);
    switch (code) {
        case picture_type::jpeg: return jpeg_read(src.file(), meta, min_w, min_h);
        case picture_type::png: return png_read(src.file(), meta);
        case picture_type::gif: return gif_read(src.file());
        case picture_type::tiff: {
            PictureBuffer b = tiff_read(src.file());
            capture_tiff_structure(src, meta);
            return b;
        }
        case picture_type::camera_raw: {
            PictureBuffer b = raw_read(src.path());
            capture_tiff_structure(src, meta);
            return b;
        }
        case picture_type::bmp: return bmp_read(src.file());
        case picture_type::metafile: return metafile_read(src.file());
        case picture_type::photo_cd: return pcd_read(src.file(), photo_cd_resolution());
        case picture_type::pcx: return pcx_read(src.file());
        case picture_type::psd: return psd_read(src.file());
        case picture_type::tga: return tga_read(src.file());
        default:
            // JPEG 2000 and unused codes are never read.
            throw ImagingFailure(ImagingFault::unsupported_type);
    }
}

// The description of a type's write step.
const char* write_step(int32_t type_code) {
    switch (type_code) {
        case picture_type::bmp: return "IS_WriteBMP";
        case picture_type::metafile: return "IS_WriteRGBToMetafile";
        case picture_type::gif: return "IS_WriteGIF";
        case picture_type::jpeg: return "IS_WriteJPG";
        case picture_type::pcx: return "IS_WritePCX";
        case picture_type::png: return "IS_WritePNG";
        case picture_type::psd: return "IS_WritePSD";
        case picture_type::tga: return "IS_WriteTGA";
        default: return "IS_WriteTIFF";
    }
}

// Metafiles are written as EMF unless the file name asks for WMF.
MetafileFormat metafile_format_for(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return MetafileFormat::emf;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == "wmf" ? MetafileFormat::wmf : MetafileFormat::emf;
}

void read_image(const std::string& path, int32_t type_code, PictureBuffer& buffer, int32_t& width, int32_t& height,
                int32_t min_w, int32_t min_h, CapturedMetadata* meta) {
    buffer.release();
    if (meta) meta->clear();
    FileSource src(path);
    if (!src.is_open()) raise(ImagingFault::cannot_open, "ReadImage", "IS_OpenFileSource");
    try {
        int32_t code = type_code;
        if (code == picture_type::undetermined) {
            // The generic reader: whatever the content says.
            code = guessed_type(src);
            // The generic reader knows more than the guess table: PSD by
            // its signature, and files nothing else recognises may still be
            // camera RAW.
            if (code == picture_type::undetermined)
                code = src.read_prefix(4) == "8BPS" ? picture_type::psd : picture_type::camera_raw;
            // Most camera RAW formats are TIFF inside; what the TIFF reader
            // cannot turn into RGB is tried as RAW.
            if (code == picture_type::tiff) {
                try {
                    buffer = read_by_type(src, code, meta, min_w, min_h);
                } catch (const ImagingFailure& e) {
                    if (meta) meta->clear();
                    try {
                        buffer = read_by_type(src, picture_type::camera_raw, meta, min_w, min_h);
                    } catch (const ImagingFailure&) {
                        throw e;
                    }
                }
                width = buffer.width();
                height = buffer.height();
                return;
            }
        }
        buffer = read_by_type(src, code, meta, min_w, min_h);
    } catch (const ImagingFailure& e) {
        buffer.release();
        if (meta) meta->clear();
        raise(e.fault(), "ReadImage", "IS_ReadXXX");
    } catch (const std::bad_alloc&) {
        buffer.release();
        if (meta) meta->clear();
        raise(ImagingFault::out_of_memory, "ReadImage", "IS_ReadXXX");
    }
    width = buffer.width();
    height = buffer.height();
}

}  // namespace

void GetImageDims(const std::string& path, int32_t type_code, int32_t& width, int32_t& height,
                  PictureBuffer* decoded, CapturedMetadata* meta) {
    if (decoded) decoded->release();
    if (meta) meta->clear();
    FileSource src(path);
    if (!src.is_open()) raise(ImagingFault::cannot_open, "GetImageDims", "IS_OpenFileSource");
    try {
        int32_t code = type_code;
        if (code == picture_type::undetermined) code = guessed_type(src);
        if (!src.rewind()) throw ImagingFailure(ImagingFault::cannot_open);
        int32_t w = 0, h = 0;
        switch (code) {
            case picture_type::jpeg: jpeg_read_dims(src.file(), w, h, meta); break;
            case picture_type::png: png_read_dims(src.file(), w, h, meta); break;
            case picture_type::gif: gif_read_dims(src.file(), w, h); break;
            case picture_type::tiff:
                tiff_read_dims(src.file(), w, h);
                capture_tiff_structure(src, meta);
                break;
            case picture_type::camera_raw:
                raw_read_dims(src.path(), w, h);
                capture_tiff_structure(src, meta);
                break;
            case picture_type::bmp: bmp_read_dims(src.file(), w, h); break;
            case picture_type::pcx: pcx_read_dims(src.file(), w, h); break;
            case picture_type::psd: psd_read_dims(src.file(), w, h); break;
            case picture_type::tga: tga_read_dims(src.file(), w, h); break;
            case picture_type::metafile:
            case picture_type::photo_cd:
                // These are measured by decoding; the picture goes back to a
                // caller that wants it.
                if (decoded) {
                    *decoded = code == picture_type::metafile ? metafile_read(src.file())
                                                              : pcd_read(src.file(), photo_cd_resolution());
                    w = decoded->width();
                    h = decoded->height();
                } else if (code == picture_type::metafile) {
                    metafile_read_dims(src.file(), w, h);
                } else {
                    pcd_read_dims(src.file(), photo_cd_resolution(), w, h);
                }
                break;
            default: throw ImagingFailure(ImagingFault::unsupported_type);
        }
        width = w;
        height = h;
    } catch (const ImagingFailure& e) {
        if (meta) meta->clear();
        raise(e.fault(), "GetImageDims", "IS_GetXXXDims");
    } catch (const std::bad_alloc&) {
        if (meta) meta->clear();
        raise(ImagingFault::out_of_memory, "GetImageDims", "IS_GetXXXDims");
    }
}

void ReadImage(const std::string& path, int32_t type_code, PictureBuffer& buffer, int32_t& width, int32_t& height,
               CapturedMetadata* meta) {
    read_image(path, type_code, buffer, width, height, 0, 0, meta);
}

void ReadImageReduced(const std::string& path, int32_t type_code, PictureBuffer& buffer, int32_t& width,
                      int32_t& height, int32_t min_width, int32_t min_height, CapturedMetadata* meta) {
    read_image(path, type_code, buffer, width, height, std::max(min_width, 1), std::max(min_height, 1), meta);
}

void WriteImage(const std::string& path, int32_t type_code, const PictureBuffer& buffer, int32_t quality,
                int32_t size_limit, bool progressive, int32_t tiff_compression, int32_t& used_quality,
                const CapturedMetadata* output_metadata) {
    // Pictures written here are made from others (clones, thumbnails, the
    // pictures of templates): the run flushes them to disk together at its end.
    OutputFile out(path, false);
    if (!out.is_open()) raise_write(ImagingFault::cannot_open, "IS_OpenFileDest", out.error() != 0 ? out.error() : EIO);

    ImagingFault fault{};
    const char* description = nullptr;
    auto attempt = [&](const char* what, auto&& write) {
        try {
            write();
        } catch (const ImagingFailure& e) {
            fault = e.fault();
            description = what;
        } catch (const std::bad_alloc&) {
            fault = ImagingFault::out_of_memory;
            description = what;
        }
    };

    switch (type_code) {
        case picture_type::jpeg: {
            JpegWriteOptions options;
            options.progressive = progressive;
            options.markers = output_metadata;
            if (size_limit == 0) {
                used_quality = quality;
                options.quality = quality;
                attempt("IS_WriteJPG", [&] { jpeg_write(buffer, out.file(), options); });
                break;
            }
            int32_t q = quality;
            bool measured = false;
            attempt("IS_WriteJPG", [&] {
                q = search_jpeg_quality(quality, size_limit,
                                        [&](int32_t candidate) {
                                            JpegWriteOptions o = options;
                                            o.quality = candidate;
                                            const uint64_t n = jpeg_write(buffer, nullptr, o);
                                            if (n == 0) throw ImagingFailure(ImagingFault::write_failed);
                                            return n;
                                        },
                                        &used_quality);
                measured = true;
            });
            if (!measured) break;
            used_quality = q;
            options.quality = q;
            attempt("IS_WriteJPG", [&] { jpeg_write(buffer, out.file(), options); });
            break;
        }
        case picture_type::png:
            used_quality = 100;
            attempt("IS_WritePNG", [&] { png_write(buffer, out.file(), output_metadata); });
            break;
        case picture_type::tiff:
            used_quality = 100;
            attempt("IS_WriteTIFF", [&] { tiff_write(buffer, out.file(), tiff_compression); });
            break;
        case picture_type::gif:
            used_quality = 100;
            attempt("IS_WriteGIF", [&] { gif_write(buffer, out.file()); });
            if (fault == ImagingFault::out_of_memory) {
                fault = ImagingFault::general;
                description = "GlobalAlloc";
            }
            break;
        case picture_type::bmp:
            used_quality = 100;
            attempt("IS_WriteBMP", [&] { bmp_write(buffer, out.file()); });
            break;
        case picture_type::metafile:
            used_quality = 100;
            attempt("IS_WriteRGBToMetafile", [&] { metafile_write(buffer, out.file(), metafile_format_for(path)); });
            break;
        case picture_type::pcx:
            used_quality = 100;
            attempt("IS_WritePCX", [&] { pcx_write(buffer, out.file()); });
            break;
        case picture_type::psd:
            used_quality = 100;
            attempt("IS_WritePSD", [&] { psd_write(buffer, out.file()); });
            break;
        case picture_type::tga:
            used_quality = 100;
            attempt("IS_WriteTGA", [&] { tga_write(buffer, out.file()); });
            break;
        default:
            fault = ImagingFault::general;
            description = "IS_WriteUnsupportedImageType";
            break;
    }

    int system_error = 0;
    if (!description) {
        if (out.commit()) return;
        fault = ImagingFault::write_failed;
        description = write_step(type_code);
        system_error = out.error() != 0 ? out.error() : EIO;
    } else if (out.file() != nullptr && std::ferror(out.file())) {
        // The encoder stopped because its writes failed: the disk's fault.
        system_error = errno != 0 ? errno : EIO;
    }
    out.discard();
    raise_write(fault, description, system_error);
}

}  // namespace galvora
