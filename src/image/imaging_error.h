#pragma once
// Error records of the imaging layer. Codecs and pixel operations report a
// failure as an ImagingFailure carrying one of our fault numbers; the public
// operations turn it into the program's error record: number = fault + 1000
// (never 0, since every fault is at least 1), source = the operation's name
// ("ReadImage", "WriteImage", ...), description = the failed step with the
// "IS_" prefix ("IS_OpenFileSource", "IS_ReadXXX", "IS_WriteJPG", ...).
#include <exception>
#include <string>

#include "foundation/error.h"

namespace galvora {

enum class ImagingFault : long {
    general = 1,            // unsupported request, generic failure
    cannot_open = 2,        // file missing or not readable / not creatable
    bad_data = 3,           // corrupt, truncated or hostile file contents
    unsupported_type = 4,   // type code or file format we do not handle
    too_large = 5,          // picture above the pixel limit
    out_of_memory = 6,      // allocation failed
    write_failed = 7,       // an encoder or the file system refused the write
    bad_argument = 8,       // dimensions or buffer that do not fit together
};

inline constexpr long kImagingErrorBase = 1000;

class ImagingFailure : public std::exception {
public:
    explicit ImagingFailure(ImagingFault fault) : fault_(fault) {}
    ImagingFault fault() const { return fault_; }
    const char* what() const noexcept override { return "imaging failure"; }

private:
    ImagingFault fault_;
};

inline long imaging_error_number(ImagingFault fault) { return static_cast<long>(fault) + kImagingErrorBase; }

inline GalvoraError imaging_error(ImagingFault fault, std::string source, std::string description) {
    return GalvoraError(imaging_error_number(fault), std::move(source), std::move(description));
}

}  // namespace galvora
