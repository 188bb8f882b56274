#pragma once
// What a picture's processing asks of the file system: a file's date (whole
// seconds, as a date value) and length, and a plain copy that replaces its
// target only once complete.
#include <cstdint>
#include <string>

#include "foundation/error.h"

namespace galvora {

struct FileFacts {
    double date = 0;     // last-write time, whole seconds, local date value
    int64_t bytes = 0;
};

// False (and error set: number from the file system, source "DoIt",
// description "FileDateTime") when the file does not exist or cannot be
// examined.
bool query_file_facts(const std::string& path, FileFacts& facts, ErrorInfo& error);

// Copies source to target through a temporary file renamed into place.
// False with the file system's error number, source "DoIt", description
// "FileCopy"; the target then stays as it was.
bool copy_file_whole(const std::string& source, const std::string& target, ErrorInfo& error);

// True when both paths reach the same existing file (through links, too).
bool same_file(const std::string& a, const std::string& b);

}  // namespace galvora
