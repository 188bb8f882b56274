#pragma once
// The picture scanners: one lists a directory's picture files into its
// record, the other only counts them. A picture file is a file whose name
// matches one of the patterns built from the enabled picture types and the
// file filter; with the picture oracle on, each candidate is also offered to
// the script function "_oracle", which keeps it by returning @TRUE.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace galvora {

class ZNImageFile;

// A hidden name (a leading dot: a user's private file or folder, or the
// "._name" companion another system leaves beside each photo) is never a
// picture or a picture directory, so a run never publishes it.
inline bool versteckter_name(std::string_view name) { return !name.empty() && name.front() == '.'; }

// One accepted file-name pattern and the picture type code it stands for.
struct ExtensionEntry {
    std::string mask;
    int32_t type_code = 0;
};

// The pattern list of the working settings: for every enabled type (codes 3
// to 14 in order), every FILTER term (trimmed) and every extension of the
// type, the pattern term.extension.
std::vector<ExtensionEntry> musterliste_bilden();

// Lists the picture files of one folder (sub-folders and hidden files are not
// taken) into
// count, list (positions 0 to count - 1) and the byte total. A folder that
// cannot be read gives no picture. The list grows 500 places at a time and is
// cut to its count at the end.
void bilddateien_einlesen(const std::string& folder, const std::vector<ExtensionEntry>& patterns, bool oracle,
                          int32_t& count, std::vector<std::shared_ptr<ZNImageFile>>& list, int64_t& bytes);

// The number of picture files of one folder (after the oracle when it is on).
int32_t bilddateien_zaehlen(const std::string& folder, const std::vector<ExtensionEntry>& patterns, bool oracle);

// Offers one candidate to the oracle: a fresh picture object learns the
// picture, the picture variables are set, "_oracle" runs with its output
// discarded. The decision is left in _return_value.
void bild_orakel(const std::string& folder, const std::shared_ptr<ZNImageFile>& record);

}  // namespace galvora
