#include "image/picture/file_facts.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "foundation/bounded_read.h"
#include "foundation/file_helpers.h"
#include "foundation/ole_date.h"
#include "foundation/text_codec.h"

namespace galvora {
namespace fs = std::filesystem;

namespace {

void set_error(ErrorInfo& error, const std::error_code& ec, const char* description) {
    long number = error_number_from_system(ec);
    error.number = number != 0 ? number : 75;
    error.source = "DoIt";
    error.description = description;
}

}  // namespace

bool query_file_facts(const std::string& path, FileFacts& facts, ErrorInfo& error) {
    std::error_code ec;
    const fs::path p(path);
    // A folder of that name is no picture file either.
    if (!fs::is_regular_file(p, ec)) {
        set_error(error, ec ? ec : std::make_error_code(std::errc::no_such_file_or_directory), "FileDateTime");
        return false;
    }
    const auto written = fs::last_write_time(p, ec);
    if (ec) {
        set_error(error, ec, "FileDateTime");
        return false;
    }
    const auto size = fs::file_size(p, ec);
    if (ec) {
        set_error(error, ec, "FileDateTime");
        return false;
    }
    // Whole seconds: the clone's date is set in whole seconds, so a finer
    // original date would make every kept clone look older than its original.
    const auto sys = std::chrono::floor<std::chrono::seconds>(std::chrono::file_clock::to_sys(written));
    facts.date = ole_from_time_t(std::chrono::system_clock::to_time_t(sys));
    facts.bytes = static_cast<int64_t>(size);
    return true;
}

namespace {
constexpr size_t kCopiedPictureLimit = size_t{2} << 30;
}  // namespace

bool copy_file_whole(const std::string& source, const std::string& target, ErrorInfo& error) {
    // An original is copied whole only when it is a regular file of a size a
    // picture can have.
    std::error_code read_ec;
    auto bytes = read_file_bounded(fs::path(source), kCopiedPictureLimit, read_ec);
    if (!bytes) {
        set_error(error, read_ec ? read_ec : std::make_error_code(std::errc::io_error), "FileCopy");
        return false;
    }
    std::error_code ec;
    if (!write_file_atomic(fs::path(target), *bytes, ec)) {
        set_error(error, ec ? ec : std::make_error_code(std::errc::io_error), "FileCopy");
        error.system_error = ec ? ec.value() : EIO;  // the target's file system refused it
        return false;
    }
    return true;
}

bool same_file(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

}  // namespace galvora
