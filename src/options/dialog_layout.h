#pragma once
// The options dialog's sizes: the smallest size and the size it opens with
// (worked out when it loads), and the placing of heading, tree, button row
// and the large pages whenever its size changes. All values are twips, the
// dialog's scale unit. The window program's client area is what these sizes
// measure: Qt sizes and limits a window by its client area, so the frame
// adds nothing here.
#include <cstdint>
#include <optional>
#include <vector>

namespace galvora {

class Optionen;

// What the view knows of the screen.
struct ScreenInfo {
    double width = 0;   // twips
    double height = 0;  // twips
    int twips_per_pixel_x = 15;
    int twips_per_pixel_y = 15;
};

// The size the dialog opens with, and its limits in pixels.
struct StartSize {
    double width = 0;
    double height = 0;
    bool maximised = false;
    int min_width_px = 0;
    int min_height_px = 0;
    int max_width_px = 0;
    int max_height_px = 0;
};

// The heading's gradient: from RGB(153, 187, 221) to white.
inline constexpr uint32_t kHeadingGradientStart = 0xDDBB99;
inline constexpr uint32_t kHeadingGradientEnd = 0xFFFFFF;

class DialogLayout {
public:
    explicit DialogLayout(Optionen& dialog);

    // The load step's measures: the tree's right edge, the top of the pages,
    // the widest box and the tallest content, `baum_links`, the smallest size.
    void messen();
    // The size to open with: the stored "owidth" and "oheigth" (section
    // "Administration"), raised to the smallest size and lowered to the
    // screen; maximised when both reach the screen. Logs the load lines.
    StartSize startgroesse(const ScreenInfo& screen);

    // The resize step for a client area of the given size. Returns false when
    // the layout failed: the failure is logged (and shown once), the controls
    // keep the places they had, and nothing else happens.
    bool Form_Resize(double scale_width, double scale_height, bool minimised = false);

    // Set by Form_Resize when the window has to be made larger (only while the
    // subclassing switch is off; with it on the window system keeps the limits).
    std::optional<std::pair<double, double>> take_requested_size();

    int32_t mindestbreite = 0;
    int32_t mindesthoehe = 0;
    int32_t baum_links = 0;
    // The program-wide switch that lets the window system keep the size limits.
    bool subclassing = true;
    // The width of a window edge in pixels (SM_CXEDGE).
    int edge_px = 2;
    int twips_per_pixel = 15;

    // The last size the dialog had (stored at program end).
    double width = 0;
    double height = 0;
    // The colour of every pixel column of the heading, left to right.
    const std::vector<uint32_t>& heading_colours() const { return heading_colours_; }

private:
    void place(double scale_width, double scale_height);

    Optionen& dialog_;
    double tree_right_ = 0;
    double page_top_ = 0;
    std::vector<uint32_t> heading_colours_;
    std::optional<std::pair<double, double>> requested_;
    bool failure_shown_ = false;
};

}  // namespace galvora
