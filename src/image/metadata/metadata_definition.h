#pragma once
// The metadata definition file metadata.def: names of EXIF tags and IPTC
// datasets, readable texts of coded EXIF values, the maker-note tables of the
// camera families and the focal-length factors of camera models. It is read
// once per program run; the readers and the script built-ins look things up
// here.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace galvora {

struct ExifTagNice {
    std::int32_t id = 0;
    std::string bezeichnung;
    void setze(std::int32_t value, std::string text) {
        id = value;
        bezeichnung = std::move(text);
    }
};

// One definition: a tag and the component it names (Position 0: the tag
// itself), its name, its default display format and the texts of its values.
class ExifTag {
public:
    std::int32_t tag = 0;
    std::int32_t Position = 0;
    std::string bezeichnung;
    std::int32_t fmt = 0;

    void setze(std::int32_t t, std::int32_t position, std::string name, std::int32_t format);
    // nullptr when the value has a text already.
    ExifTagNice* addnice(std::int32_t value, std::string text);
    const ExifTagNice* inqnice(std::int32_t value) const;
    std::int32_t inqnicecount() const { return static_cast<std::int32_t>(nice_.size()); }
    // Every value text, by value.
    const std::map<std::int32_t, ExifTagNice>& nice_texts() const { return nice_; }

private:
    std::map<std::int32_t, ExifTagNice> nice_;
};

// A table of definitions keyed by tag and position, in file order.
class ExifTagTable {
public:
    // nullptr when the table holds that tag and position already.
    ExifTag* add(std::int32_t tag, std::int32_t position, std::string name, std::int32_t format);
    const ExifTag* find(std::int32_t tag, std::int32_t position) const;
    // Tag number of the first definition whose name matches without regard to case; -1 when none.
    std::int32_t find_name(std::string_view name) const;
    std::size_t size() const { return order_.size(); }
    const std::vector<std::unique_ptr<ExifTag>>& entries() const { return order_; }

private:
    std::vector<std::unique_ptr<ExifTag>> order_;
    std::map<std::pair<std::int32_t, std::int32_t>, ExifTag*> by_key_;
};

struct ExifMakernote {
    std::int32_t cameraid = 0;
    ExifTagTable exif_tags;
};

struct ExifFocalEquiv {
    std::string camname;
    double multiplier = 0;
};

struct IptcTag {
    std::int32_t tag = 0;
    std::string bezeichnung;
    void setze(std::int32_t number, std::string name) {
        tag = number;
        bezeichnung = std::move(name);
    }
};

// Maker-note code of a camera word of the file ("canon01" -> 4); 0 when the word is unknown.
std::int32_t makernote_code(std::string_view camera_word);
// The focal table's key: the model up to its first "(", trimmed, blanks removed, upper case.
std::string normalised_model(std::string_view model);

// The six tables of one definition file.
class MetadataDefinition {
public:
    // Shows a load failure (title, text); the program passes meldung_text.
    using Reporter = std::function<void(const std::string& title, const std::string& text)>;

    // Reads the file. On a failure the reporter gets the message, every table
    // is dropped and the result is false.
    bool load(const std::filesystem::path& file, const Reporter& report);
    bool loaded() const { return loaded_; }
    void clear();

    ExifTag* NewExifTag(ExifTagTable& table, std::int32_t tag, std::int32_t position, std::string name,
                        std::int32_t format);
    IptcTag* NewIptcTag(std::int32_t number, std::string name);
    void AddFocalEquiv(std::string_view make, std::string_view model, double factor);

    double FocalEquivFactor(std::string_view make, std::string_view model) const;
    // Throws GalvoraError for a section outside 1..4 and when nothing is loaded.
    std::int32_t FindExifTag(std::int32_t camera_code, std::int32_t section, std::string_view name) const;
    std::string ExifTagName(std::int32_t camera_code, std::int32_t section, std::int32_t tag,
                            std::int32_t position) const;
    const ExifTag* ExifNiceValue(std::int32_t camera_code, std::int32_t section, std::int32_t tag,
                                 std::int32_t position) const;
    // Throws GalvoraError when nothing is loaded.
    std::int32_t FindIptcTagByName(std::string_view name) const;
    std::string IptcTagName(std::int32_t number) const;

    // The table of a section for a camera code; nullptr when there is none.
    const ExifTagTable* section_table(std::int32_t camera_code, std::int32_t section) const;
    const ExifMakernote* makernote(std::int32_t camera_code) const;
    const std::vector<ExifFocalEquiv>& focal_factors() const { return focal_; }
    const std::vector<IptcTag>& iptc_tags() const { return iptc_; }

private:
    bool loaded_ = false;
    ExifTagTable main_, thumbnail_, gps_;
    std::vector<std::unique_ptr<ExifMakernote>> makernotes_;
    std::vector<ExifFocalEquiv> focal_;
    std::unordered_map<std::string, std::size_t> focal_index_;
    std::vector<IptcTag> iptc_;
    std::map<std::int32_t, std::size_t> iptc_index_;
};

// The program's definitions, read from metadata.def beside the program.
MetadataDefinition& metadata_definition();

// Loads metadata.def from the program folder (file name compared without
// regard to case) once per run; later calls return true at once. A failure is
// shown with meldung_text and gives false.
bool LoadMetadataDefinition();
// The same from a given file, with a reporter of one's own (tests, tools).
bool LoadMetadataDefinition(const std::filesystem::path& file, const MetadataDefinition::Reporter& report);

// Look-ups on the program's definitions.
double FocalEquivFactor(std::string_view make, std::string_view model);
std::int32_t FindExifTag(std::int32_t camera_code, std::int32_t section, std::string_view name);
std::string ExifTagName(std::int32_t camera_code, std::int32_t section, std::int32_t tag, std::int32_t position);
const ExifTag* ExifNiceValue(std::int32_t camera_code, std::int32_t section, std::int32_t tag,
                             std::int32_t position);
std::int32_t FindIptcTagByName(std::string_view name);
std::string IptcTagName(std::int32_t number);

}  // namespace galvora
