#include "options/pages/html_sort_page.h"

#include "generation/settings_access.h"
#include "options/directory_sort.h"

namespace galvora {

namespace {

constexpr int kDirSort = 28;
constexpr int kDirSortDirection = 29;

struct Button {
    int index;
    const char* tag;
    const char* caption;
};

}  // namespace

CHTMLSortierung::CHTMLSortierung() : OptionPage("CHTMLSortierung", 7560, 4680) {
    using K = PageControlKind;
    auto add_group = [this](const char* frame_name, const char* frame_tag, const char* frame_caption,
                            TwipRect place, const char* array, std::initializer_list<Button> buttons) {
        PageControl& frame = add(K::Frame, frame_name, frame_tag, frame_caption, place);
        double top = 300;
        for (const Button& b : buttons) {
            add(K::OptionButton, array, b.tag, b.caption, {180, top, place.width - 300, 285}, &frame, b.index);
            top += 300;
        }
    };
    add_group("FrameDirSort", "DirSort", "Verzeichnis-Sortierung", {120, 120, 3600, 1620}, "dirSort",
              {{1, "Name", "Name"}, {2, "Date", "Datum"}, {5, "Random", "Zufall"}, {6, "Count", "Dateianzahl"}});
    add_group("FrameDirSortDirection", "Direction", "Sortierrichtung", {3840, 120, 3600, 1020}, "dirSortDirection",
              {{0, "Ascending", "aufsteigend"}, {1, "Descendig", "absteigend"}});
    add_group("FrameImageSort", "ImageSort", "Bild-Sortierung", {120, 1860, 3600, 2520}, "ImageSort",
              {{0, "None", "unsortiert"},
               {1, "Name", "Name"},
               {2, "Date", "Datum"},
               {3, "Size", "Bytes"},
               {4, "Dimensions", "Ausdehnung"},
               {5, "Random", "Zufall"},
               {7, "NumName", "numerischer Name"}});
    add_group("FrameImageSortDirection", "Direction", "Sortierrichtung", {3840, 1860, 3600, 1020},
              "ImageSortDirection", {{0, "Ascending", "aufsteigend"}, {1, "Descendig", "absteigend"}});

    auto directory_order_changed = [] {
        apply_directory_sort();
        request_tree_rebuild();
    };
    bind_option_group("dirSort", ValueTarget::entry(kDirSort), directory_order_changed);
    bind_option_group("dirSortDirection", ValueTarget::entry(kDirSortDirection), directory_order_changed);
    bind_option_group("ImageSort", ValueTarget::entry(kSetThumbSortierung));
    bind_option_group("ImageSortDirection", ValueTarget::entry(kSetThumbSortierrichtung));
}

}  // namespace galvora
