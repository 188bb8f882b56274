// The four page mock-ups of the template editor: form design, in twips. Each
// mock-up looks like a browser window: a head strip, a title bar with the
// window's control box, and the page body on a tiled background. Every
// element of template_elements() is a control here, arrays included.
#include <functional>

#include "options/options_dialog.h"

namespace galvora {

namespace {

constexpr double kPx = 15;  // twips per pixel of the design

TwipRect px(double left, double top, double width, double height) {
    return {left * kPx, top * kPx, width * kPx, height * kPx};
}

}  // namespace

// Sizes shared by the layouts (design pixels).
namespace mockup {
inline constexpr double kBoxWidth = 600;
inline constexpr double kBoxHeight = 372;
inline constexpr double kStripHeight = 24;
}  // namespace mockup

void TemplateEditor::build() {
    using K = PageControlKind;
    Optionen& d = dialog_;

    auto label = [&](const std::string& name, const std::string& caption, TwipRect place,
                     const WindowControl* container, int index = -1) -> PageControl& {
        PageControl& c = d.add(K::Label, name, "", caption, place, container, index);
        c.state().font_size = caption.empty() ? 7.5 : 6.5;
        c.state().alignment = 2;
        return c;
    };
    auto picture = [&](const std::string& name, const std::string& picture_key, TwipRect place,
                       const WindowControl* container, int index = -1) -> PageControl& {
        PageControl& c = d.add(K::PictureBox, name, "", "", place, container, index);
        c.state().picture = picture_key;
        return c;
    };
    // Head strip, title bar with control box, and the tiled body.
    auto window = [&](PageControl& box, const std::string& prefix, const std::string& control_box,
                      const std::string& body_name) -> PageControl& {
        PageControl& head = label(prefix + "_html_head", "", px(0, 0, 600, 18), &box);
        head.state().back_colour = 0x505050;
        head.state().fore_colour = 0xFFFFFF;
        PageControl& title = label(prefix + "_html_title", "", px(0, 20, 560, 22), &box);
        title.state().back_colour = 0x8A5A2C;
        title.state().fore_colour = 0xFFFFFF;
        title.state().alignment = 0;
        title.state().bold = true;
        picture(control_box, "CBox", px(560, 20, 40, 22), &box).state().back_colour = 0x8A5A2C;
        PageControl& body = picture(body_name, "Hintergrund", px(0, 44, 600, 328), &box);
        body.state().tile_picture = true;
        return body;
    };
    // A table: "<table>" above rows of cells, each row between "<tr>" and
    // "</tr>", each cell's content between "<td>" and "</td>", "</table>" below.
    auto rows_and_cells = [&](PageControl& table, const std::string& prefix, const std::string& row_name, int rows,
                              int cells, double row_pitch, double cell_pitch,
                              const std::function<void(PageControl&, int, double)>& content) {
        const double width = table.state().place.width / kPx;
        const double row_height = row_pitch - 2;
        label(prefix + "table_Open", "<table>", px(0, 0, width, 12), &table);
        for (int r = 0; r < rows; ++r) {
            PageControl& row = picture(row_name, "", px(0, 14 + r * row_pitch, width, row_height), &table, r);
            label(prefix + "tr_Open", "<tr>", px(0, 0, 26, row_height), &row, r);
            for (int c = 0; c < cells; ++c) {
                const int i = r * cells + c;
                const double left = 30 + c * cell_pitch;
                label(prefix + "td_Open", "<td>", px(left, 1, cell_pitch - 4, 11), &row, i);
                content(row, i, left);
                label(prefix + "td_Close", "</td>", px(left, row_height - 12, cell_pitch - 4, 11), &row, i);
            }
            label(prefix + "tr_Close", "</tr>", px(width - 28, 0, 28, row_height), &row, r);
        }
        label(prefix + "table_Close", "</table>", px(0, 14 + rows * row_pitch, width, 12), &table);
    };
    auto arrows = [&](PageControl& strip, const std::string& prefix,
                      std::initializer_list<std::pair<const char*, const char*>> links, double pitch, double width) {
        double left = 4;
        for (const auto& [suffix, key] : links) {
            picture(prefix + suffix, std::string("arrow:") + key, px(left, 2, width, 20), &strip);
            left += pitch;
        }
    };

    // ---- frame (start) page, box 15
    {
        PageControl& box = d.box(15);
        PageControl& content = window(box, "HTML_Frame", "HTML_Frame_Kontrollbox", "HTML_Frame_content");
        label("HTML_Frame_content_text", "", px(150, 150, 300, 24), &content).state().font_size = 9;
    }

    // ---- index page, box 9
    {
        PageControl& box = d.box(9);
        PageControl& body = window(box, "HTML_ID", "HTML_ID_Kontrollbox", "HTML_ID_body");
        label("HTML_ID_post_body", "", px(100, 8, 400, 20), &body).state().font_size = 9;
        label("HTML_ID_pre_table", "", px(100, 36, 400, 18), &body);
        // The group marker: a bracket beside the first row of entries.
        picture("shape_pfadgruppierung", "shape:group", px(6, 74, 12, 64), &body);
        PageControl& table = picture("HTML_ID_table", "", px(20, 60, 560, 160), &body);
        rows_and_cells(table, "HTML_ID_", "HTML_ID_td", 2, 3, 66, 168, [&](PageControl& row, int i, double left) {
            label("HTML_ID_Eintrag", "", px(left, 14, 164, 36), &row, i).state().back_colour = 0xF4EFE8;
        });
        label("HTML_ID_post_table", "", px(100, 228, 400, 18), &body);
        label("HTML_ID_post_post_table", "", px(100, 252, 400, 18), &body);
        label("HTML_ID_abschluss", "", px(100, 300, 400, 18), &body);
    }

    // ---- thumbnail page, box 8
    {
        PageControl& box = d.box(8);
        PageControl& body = window(box, "HTML_thumb_SD", "KontrollBox", "HTML_thumb_SD_body");
        label("HTML_thumb_SD_post_body", "", px(100, 8, 400, 20), &body).state().font_size = 9;
        label("HTML_thumb_SD_pre_table", "", px(100, 36, 400, 18), &body);
        PageControl& table = picture("HTML_thumb_SD_table", "", px(20, 60, 560, 150), &body);
        rows_and_cells(table, "HTML_thumb_SD_", "HTML_thumb_SD_tr", 2, 5, 62, 100, [&](PageControl& row, int i, double left) {
            picture("HTML_thumb_SD_Pic", "BeispielImage", px(left + 24, 13, 48, 34), &row, i);
        });
        label("HTML_thumb_SD_post_table", "", px(100, 216, 400, 18), &body);
        PageControl& strip = picture("HTML_thumb_SD_Verweise", "", px(60, 240, 480, mockup::kStripHeight), &body);
        arrows(strip, "HTML_thumb_SD_html_",
               {{"prev_prev", "prev_prev"},
                {"first", "first"},
                {"path_first", "path_first"},
                {"prev", "prev"},
                {"up", "up"},
                {"next", "next"},
                {"path_last", "path_last"},
                {"last", "last"},
                {"next_next", "next_next"}},
               52, 44);
        PageControl& simple =
            picture("HTML_thumb_SD_Verweise_einfach", "", px(204, 240, 192, mockup::kStripHeight), &body);
        arrows(simple, "HTML_thumb_SD_html_",
               {{"prev_einfach", "prev"}, {"up_einfach", "up"}, {"next_einfach", "next"}}, 62, 56);
        label("HTML_thumb_SD_abschluss", "", px(100, 300, 400, 18), &body);
    }

    // ---- picture page, box 10
    {
        PageControl& box = d.box(10);
        PageControl& body = window(box, "HTML_BSD", "HTML_BSD_KontrollBox", "HTML_BSD_body");
        label("HTML_BSD_post_body", "", px(100, 8, 400, 20), &body).state().font_size = 9;
        label("HTML_BSD_PrePic", "", px(100, 36, 400, 18), &body);
        picture("HTML_BSD_Pic", "BeispielImage", px(225, 60, 150, 150), &body);
        label("HTML_BSD_PostPic", "", px(100, 216, 400, 18), &body);
        PageControl& strip = picture("HTML_BSD_Verweise", "", px(14, 240, 572, mockup::kStripHeight), &body);
        arrows(strip, "HTML_BSD_html_",
               {{"prev_prev", "prev_prev"},
                {"first", "first"},
                {"path_first", "path_first"},
                {"page_first", "page_first"},
                {"prev", "prev"},
                {"up", "up"},
                {"next", "next"},
                {"page_last", "page_last"},
                {"path_last", "path_last"},
                {"last", "last"},
                {"next_next", "next_next"}},
               52, 44);
        PageControl& simple = picture("HTML_BSD_Verweise_einfach", "", px(204, 240, 192, mockup::kStripHeight), &body);
        arrows(simple, "HTML_BSD_html_", {{"prev_einfach", "prev"}, {"up_einfach", "up"}, {"next_einfach", "next"}},
               62, 56);
        label("HTML_BSD_abschluss", "", px(100, 300, 400, 18), &body);
    }

    for (int b : {kBoxFrameLayout, kBoxIndexLayout, kBoxThumbLayout, kBoxPicLayout})
        d.box(b).state().place = px(0, 0, mockup::kBoxWidth, mockup::kBoxHeight);

    wire();
}

}  // namespace galvora
