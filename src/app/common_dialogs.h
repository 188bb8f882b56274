#pragma once
// The common dialogs of the windows and option pages: file open and save,
// the folder browser and the colour chooser, each with the program's own
// caption. They go through the dialog port; cancel gives "" or -1.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace galvora {

// Extra flag of the file dialog: ask before a chosen file is overwritten.
inline constexpr int32_t kDateiUeberschreibenFragen = 0x2;
// Root of the folder browser: the computer's drives (the whole file system).
inline constexpr int32_t kOrdnerArbeitsplatz = 17;
// Flag of the folder browser: no button for making a new folder.
inline constexpr int32_t kOrdnerKeinNeuerOrdner = 512;

// The filter as the callers give it, pairs of description and pattern each
// ended by NUL ("Script files\0*.zsf\0All\0*.*\0"), split into pairs; an
// unpaired description at the end is dropped.
std::vector<std::pair<std::string, std::string>> dateifilter_zerlegen(std::string_view filter);

// The title of a dialog: product name, " - " and the caption; "" for an empty caption.
std::string dialogtitel(const std::string& caption);

// Opens the open (or, with `save`, the save) dialog; the chosen path or "".
// The title always begins with the product name.
std::string ShowFileDialog(bool save, std::string_view filter, const std::string& preset,
                           const std::string& default_extension, const std::string& title, int32_t flags);
// Opens the folder browser at the start folder; the chosen folder or "".
// `root` is the special folder the browser shows from (below 1: the desktop).
std::string BrowseForFolder(int32_t root, const std::string& start, const std::string& prompt,
                            const std::string& caption, int32_t flags);
// Opens the colour chooser at the colour (0x00BBGGRR, or a system colour);
// the chosen colour, or -1 on cancel.
int32_t ShowColorDialog(const std::string& caption, int32_t initial);

}  // namespace galvora
