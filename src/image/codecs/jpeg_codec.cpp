#include "image/codecs/jpeg_codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "image/codecs/jpeg_eighth_decoder.h"
#include "image/codecs/jpeg_slices.h"
#include "image/codecs/jpeg_scaled_decoder.h"
#include "image/imaging_error.h"

namespace galvora {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return;
// we jump back to the decode or encode routine. Everything that lives across
// the jump is plain data or owned by the caller's state object, so nothing
// with a destructor is skipped.
struct JpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    bool hit_end_of_data = false;
};

void jpeg_error_exit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    longjmp(err->jump, 1);
}

void jpeg_message(j_common_ptr cinfo, int level) {
    auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    // A file that ends before its last scan is truncated: libjpeg pads it with
    // grey and only warns, but we treat it as a broken file.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) err->hit_end_of_data = true;
}

void install_error_manager(JpegErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = jpeg_error_exit;
    err.pub.emit_message = jpeg_message;
    err.pub.output_message = [](j_common_ptr) {};
}

struct DecodeState {
    bool want_pixels = false;
    CapturedMetadata* meta = nullptr;
    int32_t min_width = 0;
    int32_t min_height = 0;
    int32_t width = 0;
    int32_t height = 0;
    PictureBuffer buffer;
    std::unique_ptr<uint8_t[]> cmyk_row;
    // The whole file, when it is read from memory (this thread's buffer).
    const uint8_t* file_data = nullptr;
    size_t file_size = 0;
    JpegOwnDecoders own = JpegOwnDecoders::where_faster;
    unsigned own_threads = 0;
    ImagingFault fault = ImagingFault::bad_data;
};

// Files up to this size are decoded from memory.
constexpr long kMaxInMemoryFile = 64L << 20;

// The whole file in memory: the Huffman decoder then always runs on its fast
// path, which matters most for reduced decodes, where entropy decoding is
// nearly all the work. Larger files (which would cost a large allocation
// before the picture size is known) are streamed.
//
// The bytes go to a buffer each thread keeps from picture to picture and
// that is not cleared first: fresh, zero-filled memory for every picture
// costs more in page faults and clearing than the reading itself.
bool load_file(FILE* in, DecodeState* st) {
    thread_local jpeg_slices::ReusableBytes buffer;
    try {
        if (std::fseek(in, 0, SEEK_END) != 0) return false;
        const long size = std::ftell(in);
        if (size <= 0 || std::fseek(in, 0, SEEK_SET) != 0) return false;
        if (size > kMaxInMemoryFile) return true;
        const auto n = static_cast<size_t>(size);
        uint8_t* bytes = buffer.resize_for_overwrite(n);
        if (std::fread(bytes, 1, n, in) != n) return false;
        st->file_data = bytes;
        st->file_size = n;
        return true;
    } catch (const std::bad_alloc&) {
        st->fault = ImagingFault::out_of_memory;
        return false;
    }
}

// Runs code that may throw (allocations) from inside the jump-protected
// region, turning the exception into a fault number.
template <typename F>
bool guarded(DecodeState* st, F&& f) {
    try {
        f();
        return true;
    } catch (const ImagingFailure& e) {
        st->fault = e.fault();
    } catch (const std::bad_alloc&) {
        st->fault = ImagingFault::out_of_memory;
    }
    return false;
}

void capture_markers(jpeg_decompress_struct* cinfo, CapturedMetadata* meta) {
    for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next) {
        meta->jpeg_markers.emplace_back(static_cast<uint8_t>(m->marker),
                                        std::string(reinterpret_cast<const char*>(m->data), m->data_length));
    }
}

void cmyk_to_rgb(const uint8_t* cmyk, uint8_t* rgb, int32_t width, bool inverted) {
    for (int32_t x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        rgb[0] = static_cast<uint8_t>((c * k + 127) / 255);
        rgb[1] = static_cast<uint8_t>((m * k + 127) / 255);
        rgb[2] = static_cast<uint8_t>((y * k + 127) / 255);
    }
}

void copy_huffman(const JHUFF_TBL* table, JpegHuffmanSpec& spec) {
    if (!table) return;
    spec.present = true;
    std::memcpy(spec.counts.data(), table->bits, 17);
    std::memcpy(spec.symbols.data(), table->huffval, 256);
}

// The frame as the one-eighth decoder needs it, when the file is one it can
// take: baseline Huffman coding, 8-bit samples, one scan holding every
// component, no restart intervals, grey or YCbCr.
bool eighth_frame(const jpeg_decompress_struct& cinfo, JpegEighthFrame& frame) {
    if (cinfo.progressive_mode || cinfo.arith_code || cinfo.data_precision != 8 || cinfo.restart_interval != 0)
        return false;
    if (cinfo.comps_in_scan != cinfo.num_components || cinfo.Ss != 0 || cinfo.Se != 63 || cinfo.Ah != 0 ||
        cinfo.Al != 0)
        return false;
    if (!(cinfo.num_components == 1 && cinfo.jpeg_color_space == JCS_GRAYSCALE) &&
        !(cinfo.num_components == 3 && cinfo.jpeg_color_space == JCS_YCbCr))
        return false;
    frame.width = static_cast<int32_t>(cinfo.image_width);
    frame.height = static_cast<int32_t>(cinfo.image_height);
    for (int i = 0; i < cinfo.comps_in_scan; ++i) {
        const jpeg_component_info* c = cinfo.cur_comp_info[i];
        if (!c || c->quant_tbl_no < 0 || c->quant_tbl_no >= NUM_QUANT_TBLS) return false;
        const JQUANT_TBL* q = cinfo.quant_tbl_ptrs[c->quant_tbl_no];
        if (!q || c->dc_tbl_no < 0 || c->dc_tbl_no > 3 || c->ac_tbl_no < 0 || c->ac_tbl_no > 3) return false;
        JpegScanComponent sc;
        sc.frame_index = c->component_index;
        sc.h = c->h_samp_factor;
        sc.v = c->v_samp_factor;
        sc.dc_table = c->dc_tbl_no;
        sc.ac_table = c->ac_tbl_no;
        sc.dc_quant = q->quantval[0];
        std::copy(q->quantval, q->quantval + 64, sc.quant.begin());
        frame.components.push_back(sc);
    }
    for (int t = 0; t < 4; ++t) {
        copy_huffman(cinfo.dc_huff_tbl_ptrs[t], frame.dc_tables[static_cast<size_t>(t)]);
        copy_huffman(cinfo.ac_huff_tbl_ptrs[t], frame.ac_tables[static_cast<size_t>(t)]);
    }
    return jpeg_eighth_supported(frame);
}

// When the threads are chosen from the machine, the threaded decoders are
// used where they are faster than libjpeg alone. On one thread the
// one-eighth decoder is about as fast as libjpeg and the scaled decoder takes
// about twice its time (it keeps every coefficient, and libjpeg's Huffman
// decoding is the faster), so they need entropy-coded data large enough to
// be shared out, and idle cores to share it between: below these sizes their
// set-up (tables, threads, the copy without stuffed bytes) weighs more than
// the decoding they share out.
constexpr size_t kEighthMinBytes = 192 * 1024;
constexpr unsigned kEighthMinIdleCores = 2;
constexpr size_t kScaledMinBytes = 768 * 1024;
constexpr unsigned kScaledMinIdleCores = 4;

// A reduced read from a file held in memory goes through the threaded
// decoders where they can take the file: the one-eighth decoder at scale
// 1/8, the scaled decoder at the scales it covers. False leaves the read to
// libjpeg.
bool try_own_decoder(jpeg_decompress_struct& cinfo, DecodeState* st) {
    if (st->own == JpegOwnDecoders::never || !st->file_data || cinfo.scale_denom != 8 ||
        cinfo.out_color_space != JCS_RGB)
        return false;
    const int scale = static_cast<int>(cinfo.scale_num);
    if (scale < 1 || scale >= 8) return false;
    const uint8_t* data = cinfo.src->next_input_byte;
    const size_t size = cinfo.src->bytes_in_buffer;
    if (st->own == JpegOwnDecoders::where_faster && st->own_threads == 0) {
        const bool eighth = scale == 1;
        if (size < (eighth ? kEighthMinBytes : kScaledMinBytes)) return false;
        if (jpeg_slices::idle_cores() < (eighth ? kEighthMinIdleCores : kScaledMinIdleCores)) return false;
    }
    JpegEighthFrame frame;
    bool ok = false;
    if (!guarded(st, [&] { ok = eighth_frame(cinfo, frame); }) || !ok) return false;
    if (scale == 1) return jpeg_decode_eighth(frame, data, size, st->buffer, st->own_threads);
    return jpeg_scaled_supported(frame, scale) &&
           jpeg_decode_scaled(frame, scale, data, size, st->buffer, st->own_threads);
}

// Returns true on success; st->fault holds the reason otherwise.
bool decode(FILE* in, DecodeState* st) {
    if (st->want_pixels && !load_file(in, st)) return false;
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    cinfo.err = &err.pub;
    install_error_manager(err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    if (st->file_data) {
        jpeg_mem_src(&cinfo, st->file_data, static_cast<unsigned long>(st->file_size));
    } else {
        jpeg_stdio_src(&cinfo, in);
    }
    if (st->meta) {
        jpeg_save_markers(&cinfo, JPEG_COM, 0xFFFF);
        for (int i = 0; i < 16; ++i) jpeg_save_markers(&cinfo, JPEG_APP0 + i, 0xFFFF);
    }
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK || err.hit_end_of_data) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    if (cinfo.image_width == 0 || cinfo.image_height == 0 || cinfo.image_width > INT32_MAX ||
        cinfo.image_height > INT32_MAX) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    st->width = static_cast<int32_t>(cinfo.image_width);
    st->height = static_cast<int32_t>(cinfo.image_height);
    if (st->meta && !guarded(st, [&] { capture_markers(&cinfo, st->meta); })) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    if (!st->want_pixels) {
        jpeg_destroy_decompress(&cinfo);
        return true;
    }
    if (!dimensions_allowed(st->width, st->height)) {
        st->fault = ImagingFault::too_large;
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    cinfo.scale_num = 8;
    cinfo.scale_denom = 8;
    if (st->min_width > 0 || st->min_height > 0) {
        for (unsigned n = 1; n <= 8; ++n) {
            cinfo.scale_num = n;
            jpeg_calc_output_dimensions(&cinfo);
            if (static_cast<int64_t>(cinfo.output_width) >= 2 * static_cast<int64_t>(st->min_width) &&
                static_cast<int64_t>(cinfo.output_height) >= 2 * static_cast<int64_t>(st->min_height))
                break;
        }
    }
    if (try_own_decoder(cinfo, st)) {
        jpeg_destroy_decompress(&cinfo);
        return true;
    }
    if (st->own == JpegOwnDecoders::only) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    const int32_t out_w = static_cast<int32_t>(cinfo.output_width);
    const int32_t out_h = static_cast<int32_t>(cinfo.output_height);
    if (!guarded(st, [&] {
            st->buffer = PictureBuffer::allocate_for_overwrite(out_w, out_h);
            if (cmyk) st->cmyk_row.reset(new uint8_t[static_cast<size_t>(out_w) * 4]);
        })) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        const int32_t y = static_cast<int32_t>(cinfo.output_scanline);
        JSAMPROW row = cmyk ? st->cmyk_row.get() : st->buffer.row(y);
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
        if (cmyk) cmyk_to_rgb(st->cmyk_row.get(), st->buffer.row(y), out_w, cinfo.saw_Adobe_marker);
        if (err.hit_end_of_data) break;
    }
    if (err.hit_end_of_data || cinfo.output_scanline < cinfo.output_height) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return !err.hit_end_of_data;
}

// Destination that only counts the bytes it is given.
struct CountingDestination {
    jpeg_destination_mgr pub;
    JOCTET buffer[65536];
    uint64_t count = 0;
};

void counting_init(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<CountingDestination*>(cinfo->dest);
    d->pub.next_output_byte = d->buffer;
    d->pub.free_in_buffer = sizeof(d->buffer);
}

boolean counting_empty(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<CountingDestination*>(cinfo->dest);
    d->count += sizeof(d->buffer);
    d->pub.next_output_byte = d->buffer;
    d->pub.free_in_buffer = sizeof(d->buffer);
    return TRUE;
}

void counting_term(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<CountingDestination*>(cinfo->dest);
    d->count += sizeof(d->buffer) - d->pub.free_in_buffer;
}

bool is_adobe_marker(const std::pair<uint8_t, std::string>& m) {
    return m.first == JPEG_APP0 + 14 && m.second.compare(0, 5, "Adobe") == 0;
}

bool encode(const PictureBuffer& buffer, FILE* out, const JpegWriteOptions& options, CountingDestination* counter) {
    jpeg_compress_struct cinfo;
    JpegErrorManager err;
    cinfo.err = &err.pub;
    install_error_manager(err);
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    if (out) {
        jpeg_stdio_dest(&cinfo, out);
    } else {
        counter->pub.init_destination = counting_init;
        counter->pub.empty_output_buffer = counting_empty;
        counter->pub.term_destination = counting_term;
        cinfo.dest = &counter->pub;
    }
    cinfo.image_width = static_cast<JDIMENSION>(buffer.width());
    cinfo.image_height = static_cast<JDIMENSION>(buffer.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    int q = options.quality;
    if (q < 1) q = 1;
    if (q > 100) q = 100;
    jpeg_set_quality(&cinfo, q, TRUE);
    if (options.progressive) jpeg_simple_progression(&cinfo);
    bool has_app0 = false;
    if (options.markers) {
        for (const auto& m : options.markers->jpeg_markers)
            if (m.first == JPEG_APP0) has_app0 = true;
    }
    // Copied markers bring their own JFIF header; writing ours as well
    // would give the file two.
    if (has_app0) cinfo.write_JFIF_header = FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    if (options.markers) {
        for (const auto& m : options.markers->jpeg_markers) {
            // The Adobe marker describes the colour transform of the file it
            // came from, not of ours; copying it would make readers decode
            // our YCbCr data wrongly.
            if (is_adobe_marker(m) || m.second.size() > 65533) continue;
            if (m.first != JPEG_COM && (m.first < JPEG_APP0 || m.first > JPEG_APP0 + 15)) continue;
            jpeg_write_marker(&cinfo, m.first, reinterpret_cast<const JOCTET*>(m.second.data()),
                              static_cast<unsigned>(m.second.size()));
        }
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(buffer.row(static_cast<int32_t>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

void jpeg_read_dims(FILE* in, int32_t& width, int32_t& height, CapturedMetadata* meta) {
    DecodeState st;
    st.meta = meta;
    if (!decode(in, &st)) throw ImagingFailure(st.fault);
    width = st.width;
    height = st.height;
}

PictureBuffer jpeg_read(FILE* in, CapturedMetadata* meta, int32_t min_width, int32_t min_height, JpegOwnDecoders own,
                        unsigned own_threads) {
    DecodeState st;
    st.own = own;
    st.own_threads = own_threads;
    st.want_pixels = true;
    st.meta = meta;
    st.min_width = min_width;
    st.min_height = min_height;
    if (!decode(in, &st)) throw ImagingFailure(st.fault);
    return std::move(st.buffer);
}

uint64_t jpeg_write(const PictureBuffer& buffer, FILE* out, const JpegWriteOptions& options) {
    if (buffer.empty()) throw ImagingFailure(ImagingFault::bad_argument);
    if (out) {
        const long start = std::ftell(out);
        if (!encode(buffer, out, options, nullptr) || std::fflush(out) != 0 || std::ferror(out))
            throw ImagingFailure(ImagingFault::write_failed);
        const long end = std::ftell(out);
        return (start >= 0 && end >= start) ? static_cast<uint64_t>(end - start) : 0;
    }
    auto counter = std::make_unique<CountingDestination>();
    if (!encode(buffer, nullptr, options, counter.get())) throw ImagingFailure(ImagingFault::write_failed);
    return counter->count;
}

}  // namespace galvora
