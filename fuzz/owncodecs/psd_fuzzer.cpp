// libFuzzer target: the PSD reader, header query and full decode.
#include <cstddef>
#include <cstdint>

#include "image/owncodecs/psd_codec.h"
#include "owncodecs/fuzz_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return galvora::fuzz::run_reader(data, size, galvora::psd_read_dims, galvora::psd_read);
}
