#pragma once
// The record of one directory of a run (the main window's directory list): the
// directory lister fills name and time stamp, the run start fills the rest and
// the picture scanner lists the directory's pictures into it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace galvora {

class ZNImageFile;  // the picture-file record of the image pipeline

struct Verzeichnissatz {
    std::string name;             // the directory's own name; "." for the base itself
    std::string relativer_pfad;   // below the base directory, parts joined by "/"
    std::string gruppe;           // level 2: the first-level directory holding it
    double zeitstempel = 0.0;     // last-write time as a local date value
    std::int32_t bildanzahl = 0;  // pictures listed by the scanner
    std::vector<std::shared_ptr<ZNImageFile>> bilddateien;  // the pictures, from index 0
    std::int64_t bildbytes = 0;   // sum of the listed pictures' file sizes
    std::int64_t clonebytes = 0;  // sum of the clone sizes, filled by the run
    std::int64_t baumknoten = -1; // id of the directory's node in the selection tree, -1 none
    std::int32_t seitenanzahl = 0;
};

}  // namespace galvora
