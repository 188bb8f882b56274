#include "options/page_slots.h"

#include "options/option_page.h"
#include "options/pages/html_page.h"
#include "options/pages/html_sort_page.h"

namespace galvora {

namespace {

struct SlotInfo {
    PageSlot slot;
    const char* name;
    int box;
};

constexpr std::array<SlotInfo, kPageSlotCount> kSlots = {{
    {PageSlot::CAllgemeines1, "CAllgemeines1", 16},
    {PageSlot::CZantoScript1, "CZantoScript1", 17},
    {PageSlot::CProfil1, "CProfil1", 7},
    {PageSlot::CDateifilter1, "CDateifilter1", 0},
    {PageSlot::CClonen1, "CClonen1", 12},
    {PageSlot::CClonenUmbenennen1, "CClonenUmbenennen1", 18},
    {PageSlot::CClonenEffekte1, "CClonenEffekte1", 13},
    {PageSlot::CThumbnails1, "CThumbnails1", 1},
    {PageSlot::CZantoScript2, "CZantoScript2", 11},
    {PageSlot::CHTML1, "CHTML1", 6},
    {PageSlot::CHTMLSortierung1, "CHTMLSortierung1", 19},
    {PageSlot::CDeko1, "CDeko1", 5},
    {PageSlot::CHTMLStartseite1, "CHTMLStartseite1", 14},
    {PageSlot::CHTMLIndex1, "CHTMLIndex1", 2},
    {PageSlot::CHTMLThumbnails1, "CHTMLThumbnails1", 3},
    {PageSlot::CHTMLBildseite1, "CHTMLBildseite1", 4},
}};

const SlotInfo& info(PageSlot slot) { return kSlots[static_cast<size_t>(slot)]; }

}  // namespace

const std::array<PageSlot, kPageSlotCount>& all_page_slots() {
    static const std::array<PageSlot, kPageSlotCount> slots = [] {
        std::array<PageSlot, kPageSlotCount> list{};
        for (size_t i = 0; i < kSlots.size(); ++i) list[i] = kSlots[i].slot;
        return list;
    }();
    return slots;
}

const char* page_slot_name(PageSlot slot) { return info(slot).name; }

int page_slot_box(PageSlot slot) { return info(slot).box; }

// One line per page that exists. A new page adds its line here.
std::unique_ptr<OptionPage> make_page(PageSlot slot) {
    switch (slot) {
        case PageSlot::CHTML1:
            return std::make_unique<CHTML>();
        case PageSlot::CHTMLSortierung1:
            return std::make_unique<CHTMLSortierung>();
        default:
            return nullptr;
    }
}

}  // namespace galvora
