#include "image/codecs/png_codec.h"

#include <sys/stat.h>

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "image/imaging_error.h"

namespace galvora {

namespace {

constexpr uint32_t kMaxChunkLength = 0x7FFFFFFFu;
// Text chunks above this size (compressed or not) are skipped rather than
// kept, and texts stop being collected once they add up to the total.
constexpr size_t kMaxTextBytes = 16u << 20;
constexpr size_t kMaxTotalTextBytes = 64u << 20;

uint32_t be32(const unsigned char* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

std::string latin1_to_utf8(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    for (unsigned char c : in) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

// Inflates a zlib stream; false when it is broken or would exceed the cap.
bool inflate_bounded(std::string_view in, std::string& out) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return false;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    zs.avail_in = static_cast<uInt>(in.size());
    char chunk[16384];
    int rc = Z_OK;
    while (rc == Z_OK) {
        zs.next_out = reinterpret_cast<Bytef*>(chunk);
        zs.avail_out = sizeof(chunk);
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) break;
        out.append(chunk, sizeof(chunk) - zs.avail_out);
        if (out.size() > kMaxTextBytes) {
            rc = Z_MEM_ERROR;
            break;
        }
        if (rc == Z_OK && zs.avail_in == 0 && zs.avail_out != 0) {
            rc = Z_DATA_ERROR;  // input ended before the stream did
            break;
        }
    }
    inflateEnd(&zs);
    return rc == Z_STREAM_END;
}

// Decodes one text chunk's payload; false when it is malformed.
bool decode_text_chunk(const char type[4], std::string_view data, std::pair<std::string, std::string>& entry) {
    const size_t nul = data.find('\0');
    if (nul == std::string_view::npos || nul == 0 || nul > 79) return false;
    const std::string_view keyword = data.substr(0, nul);
    std::string_view rest = data.substr(nul + 1);
    if (std::memcmp(type, "tEXt", 4) == 0) {
        entry = {latin1_to_utf8(keyword), latin1_to_utf8(rest)};
        return true;
    }
    if (std::memcmp(type, "zTXt", 4) == 0) {
        if (rest.empty() || rest[0] != 0) return false;
        std::string text;
        if (!inflate_bounded(rest.substr(1), text)) return false;
        entry = {latin1_to_utf8(keyword), latin1_to_utf8(text)};
        return true;
    }
    // iTXt: compression flag, method, language tag, translated keyword, text (UTF-8).
    if (rest.size() < 2) return false;
    const bool compressed = rest[0] != 0;
    if (compressed && rest[1] != 0) return false;
    rest.remove_prefix(2);
    const size_t lang_end = rest.find('\0');
    if (lang_end == std::string_view::npos) return false;
    rest.remove_prefix(lang_end + 1);
    const size_t tkey_end = rest.find('\0');
    if (tkey_end == std::string_view::npos) return false;
    rest.remove_prefix(tkey_end + 1);
    std::string text;
    if (compressed) {
        if (!inflate_bounded(rest, text)) return false;
    } else {
        text.assign(rest);
    }
    entry = {latin1_to_utf8(keyword), std::move(text)};
    return true;
}

// Walks the chunk list from the signature on: reads the header chunk and,
// when meta is given, the text chunks (with a valid checksum) in file order.
void walk_chunks(FILE* in, int32_t& width, int32_t& height, CapturedMetadata* meta) {
    unsigned char sig[8];
    if (std::fseek(in, 0, SEEK_SET) != 0 || std::fread(sig, 1, 8, in) != 8 ||
        std::memcmp(sig, "\x89PNG\r\n\x1A\n", 8) != 0)
        throw ImagingFailure(ImagingFault::bad_data);
    bool first = true;
    size_t text_bytes = 0;
    for (;;) {
        unsigned char head[8];
        if (std::fread(head, 1, 8, in) != 8) {
            if (first) throw ImagingFailure(ImagingFault::bad_data);
            break;  // missing end chunk: the texts read so far stand
        }
        const uint32_t length = be32(head);
        char type[4];
        std::memcpy(type, head + 4, 4);
        if (length > kMaxChunkLength) throw ImagingFailure(ImagingFault::bad_data);
        if (first) {
            if (std::memcmp(type, "IHDR", 4) != 0 || length != 13) throw ImagingFailure(ImagingFault::bad_data);
            unsigned char ihdr[13];
            if (std::fread(ihdr, 1, 13, in) != 13) throw ImagingFailure(ImagingFault::bad_data);
            const uint32_t w = be32(ihdr), h = be32(ihdr + 4);
            if (w == 0 || h == 0 || w > 0x7FFFFFFFu || h > 0x7FFFFFFFu) throw ImagingFailure(ImagingFault::bad_data);
            width = static_cast<int32_t>(w);
            height = static_cast<int32_t>(h);
            if (!meta) return;
            if (std::fseek(in, 4, SEEK_CUR) != 0) break;
            first = false;
            continue;
        }
        if (std::memcmp(type, "IEND", 4) == 0) break;
        const bool is_text = std::memcmp(type, "tEXt", 4) == 0 || std::memcmp(type, "zTXt", 4) == 0 ||
                             std::memcmp(type, "iTXt", 4) == 0;
        if (!is_text || length > kMaxTextBytes) {
            if (std::fseek(in, static_cast<long>(length) + 4, SEEK_CUR) != 0) break;
            continue;
        }
        std::string data(length, '\0');
        unsigned char crc_bytes[4];
        if (std::fread(data.data(), 1, length, in) != length || std::fread(crc_bytes, 1, 4, in) != 4) break;
        uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type), 4);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
        if (crc != be32(crc_bytes)) continue;  // a damaged ancillary chunk is ignored
        std::pair<std::string, std::string> entry;
        if (!decode_text_chunk(type, data, entry)) continue;
        text_bytes += entry.first.size() + entry.second.size();
        if (text_bytes > kMaxTotalTextBytes) break;
        meta->png_texts.push_back(std::move(entry));
    }
}

constexpr uint64_t kDeflateMaxRatio = 1032;

struct PngErrorState {
    jmp_buf jump;
};

void png_error_fn(png_structp png, png_const_charp) {
    auto* st = static_cast<PngErrorState*>(png_get_error_ptr(png));
    longjmp(st->jump, 1);
}
void png_warning_fn(png_structp, png_const_charp) {}

struct PngDecodeState {
    PictureBuffer buffer;
    std::vector<png_bytep> rows;
    ImagingFault fault = ImagingFault::bad_data;
};

bool decode(FILE* in, PngDecodeState* st) {
    PngErrorState err;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &err, png_error_fn, png_warning_fn);
    if (!png) {
        st->fault = ImagingFault::out_of_memory;
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        st->fault = ImagingFault::out_of_memory;
        return false;
    }
    if (setjmp(err.jump)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    // Our own pixel limit governs the size; libpng's default caps are lower.
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    // The pixels need only the header, palette, transparency and image data.
    // Every other chunk is skipped unread: libpng would otherwise hold a text,
    // palette-suggestion or EXIF chunk whole, in a block of the size the file
    // declares, whatever the file really holds (our own chunk walk reads the
    // texts with its own bounds).
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_init_io(png, in);
    png_read_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info);
    const png_uint_32 h = png_get_image_height(png, info);
    if (!dimensions_allowed(w, h)) {
        st->fault = (w == 0 || h == 0) ? ImagingFault::bad_data : ImagingFault::too_large;
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    // Deflate yields at most 1032 bytes per byte it is given, so a file
    // cannot hold more rows than that allows: one that declares more is
    // refused before its picture is allocated (a few hundred bytes could
    // otherwise claim a block of gigabytes and fail only after taking it).
    struct stat file_info {};
    const uint64_t raw_bytes = static_cast<uint64_t>(h) * (static_cast<uint64_t>(png_get_rowbytes(png, info)) + 1);
    if (fstat(fileno(in), &file_info) == 0 && file_info.st_size > 0 &&
        raw_bytes / kDeflateMaxRatio > static_cast<uint64_t>(file_info.st_size)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(w) * 3) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    try {
        st->buffer = PictureBuffer::allocate(static_cast<int32_t>(w), static_cast<int32_t>(h));
        st->rows.resize(h);
    } catch (const ImagingFailure& e) {
        st->fault = e.fault();
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    } catch (const std::bad_alloc&) {
        st->fault = ImagingFault::out_of_memory;
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    for (png_uint_32 y = 0; y < h; ++y) st->rows[y] = st->buffer.row(static_cast<int32_t>(y));
    png_read_image(png, st->rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

struct PngEncodeState {
    std::vector<png_text> texts;
    std::vector<std::string> storage;
};

bool is_ascii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80 || c == 0) return false;
    return true;
}

bool encode(const PictureBuffer& buffer, FILE* out, PngEncodeState* st) {
    PngErrorState err;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &err, png_error_fn, png_warning_fn);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(err.jump)) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, static_cast<png_uint_32>(buffer.width()), static_cast<png_uint_32>(buffer.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!st->texts.empty()) png_set_text(png, info, st->texts.data(), static_cast<int>(st->texts.size()));
    png_write_info(png, info);
    for (int32_t y = 0; y < buffer.height(); ++y) png_write_row(png, const_cast<png_bytep>(buffer.row(y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

void png_read_dims(FILE* in, int32_t& width, int32_t& height, CapturedMetadata* meta) {
    walk_chunks(in, width, height, meta);
}

PictureBuffer png_read(FILE* in, CapturedMetadata* meta) {
    PngDecodeState st;
    if (std::fseek(in, 0, SEEK_SET) != 0 || !decode(in, &st)) throw ImagingFailure(st.fault);
    if (meta) {
        int32_t w = 0, h = 0;
        walk_chunks(in, w, h, meta);
    }
    return std::move(st.buffer);
}

void png_write(const PictureBuffer& buffer, FILE* out, const CapturedMetadata* texts) {
    if (buffer.empty()) throw ImagingFailure(ImagingFault::bad_argument);
    PngEncodeState st;
    if (texts) {
        st.storage.reserve(texts->png_texts.size() * 2);
        for (const auto& [key, value] : texts->png_texts) {
            // Keywords are Latin-1 in every text chunk kind; ours are kept to ASCII.
            if (key.empty() || key.size() > 79 || !is_ascii(key)) continue;
            st.storage.push_back(key);
            char* k = st.storage.back().data();
            st.storage.push_back(value);
            std::string& v = st.storage.back();
            png_text t{};
            t.key = k;
            t.text = v.data();
            if (is_ascii(value)) {
                t.compression = PNG_TEXT_COMPRESSION_NONE;
                t.text_length = v.size();
            } else {
                t.compression = PNG_ITXT_COMPRESSION_NONE;
                t.itxt_length = v.size();
            }
            st.texts.push_back(t);
        }
    }
    if (!encode(buffer, out, &st) || std::fflush(out) != 0 || std::ferror(out))
        throw ImagingFailure(ImagingFault::write_failed);
}

}  // namespace galvora
