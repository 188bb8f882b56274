#pragma once
// ZNImageFile: the record of one picture of a directory and of the clone and
// thumbnail made from it. O fields describe the original, C fields the clone,
// T fields the thumbnail. Dates are date values (days since 1899-12-30).
// Records are shared by reference (std::shared_ptr); copy() duplicates the
// contents into another record.
#include <cstdint>
#include <string>

namespace galvora {

class ZNImageFile {
public:
    std::string ODateiname;
    std::string ODateiart;
    int32_t OBildtyp = 0;
    double ODatum = 0;
    int32_t OBytes = 0;
    int32_t ODimX = 0;
    int32_t ODimY = 0;
    std::string CDateiname;
    std::string CDateiart;
    int32_t CBildtyp = 0;
    int32_t CBytes = 0;
    double CDatum = 0;
    int32_t CDimX = 0;
    int32_t CDimY = 0;
    int32_t CQualität = 0;
    std::string TDateiname;
    std::string TDateiart;
    int32_t TBildtyp = 0;
    int32_t TBytes = 0;
    double TDatum = 0;
    int32_t TDimX = 0;
    int32_t TDimY = 0;
    // The base name of the picture's page when it differs from the clone's
    // (a picture of one folder sharing its base name with another); empty:
    // the page is named like the clone.
    std::string Seitenname;

    // Sets every field of target to this record's value, in declaration order.
    void copy(ZNImageFile& target) const {
        if (&target == this) return;
        target = *this;
    }
};

}  // namespace galvora
