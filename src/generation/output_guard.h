#pragma once
// What the files a run writes may take the place of. A profile or a picture
// tree may name an output after a file that is not the gallery's own (a page
// called like a photo, a clone renamed onto another picture); whatever the
// names, no output replaces an original picture of the run, no text (a page,
// a file a script writes) replaces a picture or another binary file, and no
// output replaces a folder or a special file. The run installs the guard
// over every committed file (output_file.h) for its length.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace galvora {

struct ExtensionEntry;
struct LaufAuftrag;

class Ausgabeschutz {
public:
    // Notes every file of the run's picture folders that the patterns take as
    // a picture, whether the oracle kept it or not (by device and inode, so a
    // link or a second name of the file counts too).
    void einrichten(const LaufAuftrag& job, const std::vector<ExtensionEntry>& patterns);
    void leeren() { originale_.clear(); }

    // True when the path names one of the noted originals.
    bool ist_original(const std::string& path) const;

    // The replace guard: 0 when `new_file` may take the place of `target`,
    // else an error number; a refusal goes to the run's log with its reason.
    // An empty `new_file` asks before the file is opened; an append names the
    // target itself. What is neither an original nor a picture under a text
    // the record of the run's output decides (output_record.h).
    int pruefen(const std::string& target, const std::string& new_file) const;

private:
    std::set<std::pair<uint64_t, uint64_t>> originale_;
};

Ausgabeschutz& ausgabeschutz();

// The first bytes of a file, as many as the picture classifier looks at;
// none when the file cannot be opened.
std::optional<std::string> dateianfang(const std::string& path);
// True when the file's first bytes show a picture or binary data (a NUL
// byte): no page or script text is put in its place.
bool inhalt_ist_binaer(const std::string& path);
// The same test on bytes already read from the start of a file.
bool anfang_ist_binaer(std::string_view first_bytes);

// Installs the guard over every committed file while it lives.
class AusgabeschutzAktiv {
public:
    AusgabeschutzAktiv();
    ~AusgabeschutzAktiv();
    AusgabeschutzAktiv(const AusgabeschutzAktiv&) = delete;
    AusgabeschutzAktiv& operator=(const AusgabeschutzAktiv&) = delete;
};

}  // namespace galvora
