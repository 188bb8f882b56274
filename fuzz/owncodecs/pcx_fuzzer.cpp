// libFuzzer target: the PCX reader, header query and full decode.
#include <cstddef>
#include <cstdint>

#include "image/owncodecs/pcx_codec.h"
#include "owncodecs/fuzz_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace galvora;
    fuzz::with_input(data, size, [](FILE* f) {
        int32_t w = 0, h = 0;
        pcx_read_dims(f, w, h);
    });
    fuzz::with_input(data, size, [](FILE* f) { pcx_read(f); });
    return 0;
}
