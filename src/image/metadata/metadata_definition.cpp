#include "image/metadata/metadata_definition.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

#include "foundation/error.h"
#include "foundation/text_codec.h"
#include "image/metadata/metadata_text.h"
#include "image/metadata/picture_metadata.h"

namespace galvora {

namespace {

using metadata_text::fold_case;
using metadata_text::iequals;
using metadata_text::trim;

const std::string kTitle = "Metadaten-Definition laden";
const std::string kReadError = "Fehler beim Lesen der Metadaten-Definitionsdatei";
const std::string kOpenError = "Fehler beim \xC3\x96" "ffnen der Metadaten-Definitionsdatei";
const std::string kVersionUnsupported =
    "Version der Metadaten-Beschreibungsdatei wird nicht unterst\xC3\xBC" "tzt";
const std::string kVersionFirst =
    "Version der Metadaten-Beschreibungsdatei muss als erster Eintrag aufgef\xC3\xBC" "hrt sein";

// Run-time error numbers the load reports for its own failures.
constexpr long kErrMissingArgument = 9;
constexpr long kErrNotANumber = 13;
constexpr long kErrOverflow = 6;
constexpr long kErrNoDefinition = 91;
constexpr long kErrDuplicateKey = 457;
constexpr long kErrFileNotFound = 53;
constexpr long kErrFileAccess = 75;

struct CameraWord {
    std::string_view word;
    std::int32_t code;
};
constexpr CameraWord kCameraWords[] = {
    {"asahi01", 2},   {"asahi02", 3},   {"canon01", 4},   {"casio01", 5},     {"casio02", 6},
    {"fujifilm01", 8}, {"leica01", 14},  {"minolta01", 15}, {"nikon01", 16},   {"nikon02", 17},
    {"olympus01", 18}, {"panasonic01", 19}, {"ricoh01", 21}, {"sigma01", 25},
};

// How a line of the file failed.
struct LoadFailure {
    enum Kind { syntax, numbered, version_unsupported, version_first } kind;
    long number = 0;
};

// Decimal, or hexadecimal after "0x" or "&H"; a leading sign is allowed.
std::int32_t parse_number(std::string_view text) {
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int radix = 10;
    if (text.size() > 2 && ((text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) ||
                            (text[0] == '&' && (text[1] == 'h' || text[1] == 'H')))) {
        radix = 16;
        text.remove_prefix(2);
    }
    std::int64_t value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, radix);
    if (text.empty() || ec == std::errc::invalid_argument || ptr != text.data() + text.size())
        throw LoadFailure{LoadFailure::numbered, kErrNotANumber};
    if (ec == std::errc::result_out_of_range) throw LoadFailure{LoadFailure::numbered, kErrOverflow};
    if (negative) value = -value;
    if (value < INT32_MIN || value > 0xFFFFFFFFll) throw LoadFailure{LoadFailure::numbered, kErrOverflow};
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value & 0xFFFFFFFF));
}

double parse_factor(std::string_view text) {
    text = trim(text);
    double value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(value))
        throw LoadFailure{LoadFailure::numbered, kErrNotANumber};
    return value;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) break;
        start = at + 1;
    }
    return parts;
}

std::string after_last_comma(std::string_view text) {
    return std::string(trim(text.substr(text.rfind(',') + 1)));
}

}  // namespace

// ---- definitions --------------------------------------------------------------

void ExifTag::setze(std::int32_t t, std::int32_t position, std::string name, std::int32_t format) {
    tag = t;
    Position = position;
    bezeichnung = std::move(name);
    fmt = format;
}

ExifTagNice* ExifTag::addnice(std::int32_t value, std::string text) {
    auto [it, inserted] = nice_.try_emplace(value);
    if (!inserted) return nullptr;
    it->second.setze(value, std::move(text));
    return &it->second;
}

const ExifTagNice* ExifTag::inqnice(std::int32_t value) const {
    auto it = nice_.find(value);
    return it == nice_.end() ? nullptr : &it->second;
}

ExifTag* ExifTagTable::add(std::int32_t tag, std::int32_t position, std::string name, std::int32_t format) {
    auto key = std::make_pair(tag, position);
    if (by_key_.count(key)) return nullptr;
    order_.push_back(std::make_unique<ExifTag>());
    order_.back()->setze(tag, position, std::move(name), format);
    by_key_[key] = order_.back().get();
    return order_.back().get();
}

const ExifTag* ExifTagTable::find(std::int32_t tag, std::int32_t position) const {
    auto it = by_key_.find({tag, position});
    return it == by_key_.end() ? nullptr : it->second;
}

std::int32_t ExifTagTable::find_name(std::string_view name) const {
    const std::string folded = fold_case(name);
    for (const auto& def : order_)
        if (fold_case(def->bezeichnung) == folded) return def->tag;
    return -1;
}

std::int32_t makernote_code(std::string_view camera_word) {
    for (const auto& cw : kCameraWords)
        if (iequals(cw.word, camera_word)) return cw.code;
    return 0;
}

std::string normalised_model(std::string_view model) {
    std::string_view head = model.substr(0, model.find('('));
    std::string out;
    for (char c : trim(head))
        if (c != ' ' && c != '\t') out.push_back(c);
    return metadata_text::upper_case(out);
}

// ---- the tables -----------------------------------------------------------------

void MetadataDefinition::clear() {
    loaded_ = false;
    main_ = {};
    thumbnail_ = {};
    gps_ = {};
    makernotes_.clear();
    focal_.clear();
    focal_index_.clear();
    iptc_.clear();
    iptc_index_.clear();
}

ExifTag* MetadataDefinition::NewExifTag(ExifTagTable& table, std::int32_t tag, std::int32_t position,
                                        std::string name, std::int32_t format) {
    return table.add(tag, position, std::move(name), format);
}

IptcTag* MetadataDefinition::NewIptcTag(std::int32_t number, std::string name) {
    if (iptc_index_.count(number)) return nullptr;
    iptc_index_[number] = iptc_.size();
    iptc_.emplace_back();
    iptc_.back().setze(number, std::move(name));
    return &iptc_.back();
}

void MetadataDefinition::AddFocalEquiv(std::string_view, std::string_view model, double factor) {
    std::string key = normalised_model(model);
    auto it = focal_index_.find(key);
    if (it != focal_index_.end()) {
        focal_[it->second].multiplier = factor;
        return;
    }
    focal_index_[key] = focal_.size();
    focal_.push_back(ExifFocalEquiv{key, factor});
}

double MetadataDefinition::FocalEquivFactor(std::string_view, std::string_view model) const {
    auto it = focal_index_.find(normalised_model(model));
    return it == focal_index_.end() ? 0.0 : focal_[it->second].multiplier;
}

const ExifMakernote* MetadataDefinition::makernote(std::int32_t camera_code) const {
    for (const auto& note : makernotes_)
        if (note->cameraid == camera_code) return note.get();
    return nullptr;
}

const ExifTagTable* MetadataDefinition::section_table(std::int32_t camera_code, std::int32_t section) const {
    switch (section) {
        case kSectionMain: return &main_;
        case kSectionThumbnail: return &thumbnail_;
        case kSectionGps: return &gps_;
        case kSectionMakernote: {
            const ExifMakernote* note = makernote(camera_code);
            return note ? &note->exif_tags : nullptr;
        }
        default: return nullptr;
    }
}

std::int32_t MetadataDefinition::FindExifTag(std::int32_t camera_code, std::int32_t section,
                                             std::string_view name) const {
    if (!loaded_) throw GalvoraError(91, "FindExifTag", "Object variable not set");
    if (section < kSectionMain || section > kSectionGps)
        throw GalvoraError(5, "FindExifTag", "Invalid procedure call or argument");
    const ExifTagTable* table = section_table(camera_code, section);
    return table ? table->find_name(name) : -1;
}

std::string MetadataDefinition::ExifTagName(std::int32_t camera_code, std::int32_t section, std::int32_t tag,
                                            std::int32_t position) const {
    const ExifTag* def = ExifNiceValue(camera_code, section, tag, position);
    return def ? def->bezeichnung : std::string();
}

const ExifTag* MetadataDefinition::ExifNiceValue(std::int32_t camera_code, std::int32_t section,
                                                 std::int32_t tag, std::int32_t position) const {
    const ExifTagTable* table = section_table(camera_code, section);
    return table ? table->find(tag, position) : nullptr;
}

std::int32_t MetadataDefinition::FindIptcTagByName(std::string_view name) const {
    if (!loaded_) throw GalvoraError(91, "FindIptcTagByName", "Object variable not set");
    const std::string folded = fold_case(name);
    for (const auto& def : iptc_)
        if (fold_case(def.bezeichnung) == folded) return def.tag;
    return -1;
}

std::string MetadataDefinition::IptcTagName(std::int32_t number) const {
    auto it = iptc_index_.find(number);
    return it == iptc_index_.end() ? std::string() : iptc_[it->second].bezeichnung;
}

// ---- the file -----------------------------------------------------------------

bool MetadataDefinition::load(const std::filesystem::path& file, const Reporter& report) {
    if (loaded_) return true;
    clear();

    std::error_code ec;
    auto lines = read_text_lines(file, ec);
    if (!lines) {
        std::error_code exists_ec;
        long number = std::filesystem::exists(file, exists_ec) ? kErrFileAccess : kErrFileNotFound;
        report(kTitle + " (Fehler " + std::to_string(number) + ")", kOpenError);
        return false;
    }

    enum class Section { none, main, thumbnail, gps, makernote, focal, iptc };
    Section section = Section::none;
    ExifTagTable* table = nullptr;
    ExifTag* current = nullptr;
    std::string focal_make;
    bool version_read = false;
    std::size_t line_number = 0;
    std::string line;

    try {
        for (const std::string& raw : *lines) {
            ++line_number;
            line = std::string(trim(raw));
            if (line.empty()) continue;
            const char kind = line[0];
            const std::string_view rest = std::string_view(line).substr(1);
            if (kind == '*') continue;

            if (kind == '#') {
                const auto words = split(trim(rest), ' ');
                const std::string keyword = fold_case(words[0]);
                const bool has_argument = words.size() > 1;
                static const char* const kKeywords[] = {"version", "main", "thumbnail", "gps",
                                                        "makernote", "focalequiv", "iptc"};
                bool known = false;
                for (const char* k : kKeywords) known = known || keyword == k;
                if (!known) throw LoadFailure{LoadFailure::syntax};
                if (keyword != "version" && !version_read) throw LoadFailure{LoadFailure::version_first};

                if (keyword == "version") {
                    if (!has_argument) throw LoadFailure{LoadFailure::numbered, kErrMissingArgument};
                    if (parse_number(words[1]) != 2) throw LoadFailure{LoadFailure::version_unsupported};
                    version_read = true;
                    section = Section::none;
                    table = nullptr;
                } else if (keyword == "main") {
                    section = Section::main;
                    table = &main_;
                } else if (keyword == "thumbnail") {
                    section = Section::thumbnail;
                    table = &thumbnail_;
                } else if (keyword == "gps") {
                    section = Section::gps;
                    table = &gps_;
                } else if (keyword == "makernote") {
                    if (!has_argument) throw LoadFailure{LoadFailure::numbered, kErrMissingArgument};
                    const std::int32_t code = makernote_code(words[1]);
                    if (code == 0) throw LoadFailure{LoadFailure::syntax};
                    if (makernote(code)) throw LoadFailure{LoadFailure::numbered, kErrDuplicateKey};
                    makernotes_.push_back(std::make_unique<ExifMakernote>());
                    makernotes_.back()->cameraid = code;
                    section = Section::makernote;
                    table = &makernotes_.back()->exif_tags;
                } else if (keyword == "focalequiv") {
                    if (!has_argument || words[1].empty())
                        throw LoadFailure{LoadFailure::numbered, kErrMissingArgument};
                    section = Section::focal;
                    table = nullptr;
                    focal_make = std::string(words[1]);
                } else {
                    section = Section::iptc;
                    table = nullptr;
                }
                continue;
            }

            if (kind != '+' && kind != '!') throw LoadFailure{LoadFailure::syntax};
            if (!version_read) throw LoadFailure{LoadFailure::version_first};

            if (kind == '+') {
                switch (section) {
                    case Section::none:
                        break;
                    case Section::focal: {
                        const std::size_t comma = rest.rfind(',');
                        if (comma == std::string_view::npos) throw LoadFailure{LoadFailure::syntax};
                        AddFocalEquiv(focal_make, trim(rest.substr(0, comma)), parse_factor(rest.substr(comma + 1)));
                        break;
                    }
                    case Section::iptc: {
                        const auto fields = split(rest, ',');
                        if (fields.size() < 2) throw LoadFailure{LoadFailure::syntax};
                        const std::int32_t number = parse_number(fields[0]);
                        if (!NewIptcTag(number, after_last_comma(rest))) throw LoadFailure{LoadFailure::syntax};
                        break;
                    }
                    default: {
                        const auto fields = split(rest, ',');
                        if (fields.size() < 4) throw LoadFailure{LoadFailure::syntax};
                        const std::int32_t tag = parse_number(fields[0]);
                        const std::int32_t position = parse_number(fields[1]);
                        const std::int32_t format = parse_number(fields[2]);
                        current = NewExifTag(*table, tag, position, after_last_comma(rest), format);
                        break;
                    }
                }
                continue;
            }

            // "!": a value text for the definition of the last "+" line.
            if (section == Section::none || section == Section::focal || section == Section::iptc) continue;
            const std::size_t comma = rest.find(',');
            if (comma == std::string_view::npos) throw LoadFailure{LoadFailure::syntax};
            const std::int32_t value = parse_number(rest.substr(0, comma));
            if (!current) throw LoadFailure{LoadFailure::numbered, kErrNoDefinition};
            if (!current->addnice(value, std::string(trim(rest.substr(comma + 1)))))
                throw LoadFailure{LoadFailure::syntax};
        }
    } catch (const LoadFailure& failure) {
        std::string title = kTitle;
        std::string text;
        switch (failure.kind) {
            case LoadFailure::version_unsupported: text = kVersionUnsupported; break;
            case LoadFailure::version_first: text = kVersionFirst; break;
            case LoadFailure::numbered:
                title += " (Fehler " + std::to_string(failure.number) + ")";
                [[fallthrough]];
            case LoadFailure::syntax:
                text = kReadError + "\n\nFehler in Zeile " + std::to_string(line_number) + "\n" + line;
                break;
        }
        clear();
        report(title, text);
        return false;
    }
    loaded_ = true;
    return true;
}

// ---- the program's definitions ----------------------------------------------------

MetadataDefinition& metadata_definition() {
    static MetadataDefinition definitions;
    return definitions;
}

bool LoadMetadataDefinition(const std::filesystem::path& file, const MetadataDefinition::Reporter& report) {
    return metadata_definition().load(file, report);
}

double FocalEquivFactor(std::string_view make, std::string_view model) {
    return metadata_definition().FocalEquivFactor(make, model);
}
std::int32_t FindExifTag(std::int32_t camera_code, std::int32_t section, std::string_view name) {
    return metadata_definition().FindExifTag(camera_code, section, name);
}
std::string ExifTagName(std::int32_t camera_code, std::int32_t section, std::int32_t tag, std::int32_t position) {
    return metadata_definition().ExifTagName(camera_code, section, tag, position);
}
const ExifTag* ExifNiceValue(std::int32_t camera_code, std::int32_t section, std::int32_t tag,
                             std::int32_t position) {
    return metadata_definition().ExifNiceValue(camera_code, section, tag, position);
}
std::int32_t FindIptcTagByName(std::string_view name) { return metadata_definition().FindIptcTagByName(name); }
std::string IptcTagName(std::int32_t number) { return metadata_definition().IptcTagName(number); }

}  // namespace galvora
