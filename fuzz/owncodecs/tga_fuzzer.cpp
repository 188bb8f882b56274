// libFuzzer target: the TGA reader, header query and full decode.
#include <cstddef>
#include <cstdint>

#include "image/owncodecs/tga_codec.h"
#include "owncodecs/fuzz_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return galvora::fuzz::run_reader(data, size, galvora::tga_read_dims, galvora::tga_read);
}
