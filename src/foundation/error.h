#pragma once
// The program's own error record: a number, the procedure that raised it and
// a description. Procedures that "raise" an error throw GalvoraError; callers
// that must not fail catch it at their boundary and keep the record.
#include <stdexcept>
#include <string>

namespace galvora {

struct ErrorInfo {
    long number = 0;
    std::string source;
    std::string description;
    // The system's error number when the file system refused a write (a full
    // disk, a folder that cannot be written), 0 otherwise.
    int system_error = 0;

    bool empty() const { return number == 0; }
    void clear() { *this = ErrorInfo{}; }
};

class GalvoraError : public std::runtime_error {
public:
    GalvoraError(long number, std::string source, std::string description)
        : std::runtime_error(description), info_{number, std::move(source), std::move(description)} {}
    explicit GalvoraError(ErrorInfo info) : std::runtime_error(info.description), info_(std::move(info)) {}

    const ErrorInfo& info() const { return info_; }
    long number() const { return info_.number; }
    const std::string& source() const { return info_.source; }
    const std::string& description() const { return info_.description; }

private:
    ErrorInfo info_;
};

}  // namespace galvora
