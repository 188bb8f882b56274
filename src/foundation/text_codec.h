#pragma once
// Reading text files the way the program expects: UTF-8 when the bytes are
// valid UTF-8, otherwise Windows-1252 (old profiles, language and script
// files). LF, CR LF and a lone CR all end a line.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace galvora {

bool is_valid_utf8(std::string_view bytes);

// Makes bytes valid UTF-8 as they pass: every byte sequence that is not
// UTF-8 (a stray byte of another code page, a cut or overlong sequence, a
// surrogate) becomes U+FFFD, one per maximal ill-formed part. Text may come in
// pieces of any size: a sequence cut at the end of one piece is completed by
// the next; finish() turns a sequence still open into U+FFFD.
class Utf8Reparatur {
public:
    void weiter(std::string_view bytes, std::string& out);
    void finish(std::string& out);

private:
    std::string offen_;  // the start of a sequence the last piece ended in
};

// The whole text made valid UTF-8 as above.
std::string utf8_reparieren(std::string_view bytes);

// Windows-1252 bytes to UTF-8 (the five undefined codes map to U+FFFD).
std::string cp1252_to_utf8(std::string_view bytes);

// UTF-8 text to Windows-1252 bytes; characters without a code become '?'.
std::string utf8_to_cp1252(std::string_view text);

// UTF-8 when valid (a leading byte-order mark is dropped), else Windows-1252.
std::string decode_text(std::string_view bytes);

// Splits at LF, CR LF and lone CR. A final line end does not add an empty line.
std::vector<std::string> split_lines(std::string_view text);

// Reads a whole regular file of at most kComponentFileLimit bytes as bytes;
// nullopt (and ec set) when it cannot be read (bounded_read.h).
std::optional<std::string> read_file_bytes(const std::filesystem::path& path, std::error_code& ec);

// Reads a text file, decoded and split into lines.
std::optional<std::vector<std::string>> read_text_lines(const std::filesystem::path& path, std::error_code& ec);

// Writes bytes to a temporary file beside the target and renames it into place,
// so a failed write never leaves a half-written target. Returns false with ec set;
// `failed_writing`, when given, tells a failure while the contents went out
// (a full disk, a file-size limit) from one in making or placing the file, so
// that a caller can report the two steps apart.
bool write_file_atomic(const std::filesystem::path& path, std::string_view bytes, std::error_code& ec,
                       bool* failed_writing = nullptr);

}  // namespace galvora
