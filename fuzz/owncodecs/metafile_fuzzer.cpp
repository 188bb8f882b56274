// libFuzzer target: our own metafile reading, the record walk of WMF and
// EMF files and the decoding of their one bitmap. Drawing vector WMF is
// libwmf's part and is not fuzzed here.
#include <cstddef>
#include <cstdint>

#include "image/owncodecs/byte_reader.h"
#include "image/owncodecs/metafile_records.h"
#include "owncodecs/fuzz_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace galvora;
    fuzz::with_input(data, size, [](FILE* f) {
        ByteReader in(f);
        const MetafileScan scan = scan_metafile(in);
        if (!scan.bitmap) return;
        int32_t w = 0, h = 0;
        embedded_bitmap_size(in, *scan.bitmap, w, h);
        decode_embedded_bitmap(in, *scan.bitmap);
    });
    return 0;
}
