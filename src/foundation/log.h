#pragma once
// The optional plain-text log and a millisecond stop watch.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace galvora {

class LogClass {
public:
    // Tells from a file's first bytes whether it is a picture or another
    // binary file, which a log never replaces.
    using BinaryTest = std::function<bool(std::string_view first_bytes)>;

    ~LogClass();
    // Opens the log, emptied. An existing file that `is_binary` takes for a
    // picture or binary file (or one that cannot be read to tell) is left as
    // it is: false, and RefusedBinary() says why.
    bool CreateLogfile(const std::string& name, const BinaryTest& is_binary = {});
    bool RefusedBinary() const { return refused_binary_; }
    void CloseLogfile();
    const std::string& LogFile() const { return file_name_; }
    bool WriteLog(std::string_view text);

private:
    std::string file_name_;
    int fd_ = -1;
    bool refused_binary_ = false;
};

// The program-wide log exists only when the command line asked for one.
LogClass* global_log();
void set_global_log(std::unique_ptr<LogClass> log);
// Writes a line when the program-wide log exists.
void log_line(std::string_view text);

class CStopWatch {
public:
    CStopWatch();
    // A watch that started at the given moment.
    explicit CStopWatch(std::chrono::steady_clock::time_point started) : start_(started) {}
    int32_t Elapsed() const;  // milliseconds since creation or reset, at most INT32_MAX
    int32_t MinimumResolution() const { return 1; }
    int32_t MaximumResolution() const { return 1000000; }
    void reset();

private:
    std::chrono::steady_clock::time_point start_;
};

}  // namespace galvora
