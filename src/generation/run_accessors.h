#pragma once
// What the directory and picture built-ins read of the run: any chosen
// directory and any of its pictures, by number, with the references a page
// needs to reach them. Each fills the result and returns true, or returns
// false (result untouched) when the directory, picture or selector does not
// exist.
#include <cstdint>
#include <vector>

namespace galvora {

class ZNSVariable;
struct Verzeichnissatz;

// Selector 0 (@COUNT): picture count; 1 (@DIRNAME): relative path with "/".
bool verzeichnis_info(int32_t directory, int32_t selector, ZNSVariable& result);

// Running totals of the directories' picture counts: entry k holds the
// pictures of directories 1 to k + 1. The run keeps them once its pictures are
// collected; while it runs, directory 0 below finds its directory by bisection
// instead of walking the directories on every call.
std::vector<int64_t> bildsummen(const std::vector<Verzeichnissatz>& directories);

// Directory 0 counts the picture number through all directories in order.
// Selectors 2 to 14: @REF, @DOCREF, @FILENAME, @FILETYPE, @DATE, @SIZE,
// @DIMX, @DIMY, @THUMBREF, @THUMBNAME, @THUMBTYPE, @THUMBDIMX, @THUMBDIMY.
bool bild_info(int32_t directory, int32_t picture, int32_t selector, ZNSVariable& result);

}  // namespace galvora
