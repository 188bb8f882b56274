// libFuzzer target: the PCX reader, header query and full decode.
#include <cstddef>
#include <cstdint>

#include "image/owncodecs/pcx_codec.h"
#include "owncodecs/fuzz_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return galvora::fuzz::run_reader(data, size, galvora::pcx_read_dims, galvora::pcx_read);
}
