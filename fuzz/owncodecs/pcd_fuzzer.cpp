// libFuzzer target: the Photo CD reader at each of its resolutions. The
// first input byte picks the resolution code, the rest is the pack.
#include <cstddef>
#include <cstdint>

#include "image/owncodecs/photo_cd_codec.h"
#include "owncodecs/fuzz_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace galvora;
    if (size < 1) return 0;
    const int32_t code = data[0] % 8;
    return fuzz::run_reader(
        data + 1, size - 1, [code](FILE* f, int32_t& w, int32_t& h) { pcd_read_dims(f, code, w, h); },
        [code](FILE* f) { return pcd_read(f, code); });
}
