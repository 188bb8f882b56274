// libFuzzer target: the INI and description file readers behind the built-in
// `read`, which templates point at files from anywhere.
#include <cstddef>
#include <cstdint>

#include "profile/fuzz_files.h"
#include "script/engine.h"
#include "script/ini_reader.h"
#include "script/value.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    galvora::script_objekt_anlegen();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto datei = galvora::fuzz::input_file(data, size, "eingabe.ini");
    galvora::ZNSVariable ini;
    galvora::ini_datei_lesen(datei.string(), ini);
    galvora::ZNSVariable ion;
    galvora::ion_datei_lesen(datei.string(), ion);
    return 0;
}
