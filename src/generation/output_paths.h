#pragma once
// Path tests that keep the run's work inside its output root, and the
// relative link prefixes of the pages.
#include <string>
#include <vector>

namespace galvora {

// True when root/name is a folder strictly below root: name is not empty,
// not absolute, and does not climb out (no ".." past root, not "." itself).
bool unterordner_gueltig(const std::string& root, const std::string& name);

// True when `outer` is the folder `inner` or one of its parents (links and
// "." / ".." resolved as far as the folders exist).
bool ordner_enthaelt(const std::string& outer, const std::string& inner);

// True when `datei`, a path with its links resolved, lies below the folder
// `ordner` (resolved as far as it exists); never for an empty folder or the
// folder itself.
bool liegt_unter(const std::string& datei, const std::string& ordner);

// A page's base name that, with the extension, fits the 255 bytes a file name
// may have: a longer one (a picture or folder named up to that limit) keeps
// as many of its leading bytes as fit, cut at a character boundary, and gets
// "~" and eight hexadecimal digits of a hash of the whole name, so that two
// long names stay apart and every run names the page the same.
std::string seitenname_passend(const std::string& name, const std::string& endung);

// The folders a run writes its own output into, as far as they lie inside
// the base folder: the output root (unless it is the base folder itself) and
// its thumbnail, page and decoration folders (named by the settings). The
// pictures in them are the program's own: thumbnails, clones and navigation
// icons.
class Ausgabeordner {
public:
    Ausgabeordner(const std::string& base, const std::string& root);
    // True for one of those folders or a folder inside one: never a picture directory.
    bool enthaelt(const std::string& folder) const;
    // True for the decoration folder or a folder inside it.
    bool in_dekoordner(const std::string& folder) const;

private:
    std::vector<std::string> ordner_;
    std::string deko_;
};

// The picture directories of the base folder at a directory level that lie
// inside `folder` and hold a picture file of the run's file filter, but not
// in the decoration folder: emptying `folder` would take originals with it.
bool haelt_bildordner(const std::string& folder, const std::string& base, const std::string& root, int level);

// The relative prefixes from a thumbnail page and from a picture page to the
// output root, and from a picture page to its thumbnail page, by directory
// level; all empty for a level outside 0 to 2.
struct LinkPraefixe {
    std::string thumbseiten;
    std::string bildseiten;
    std::string bild_zu_thumb;
};
LinkPraefixe link_praefixe(int level);

}  // namespace galvora
