#pragma once
// The page instances of the options dialog and where each one comes from.
// The dialog asks make_page for each slot once, when it is created; a slot
// whose page is not built yet answers nullptr, and the dialog then shows its
// box empty and skips its calls.
#include <array>
#include <memory>

namespace galvora {

class OptionPage;

// In the order in which Optionen::InitLanguage calls the pages.
enum class PageSlot {
    CAllgemeines1,
    CZantoScript1,  // the include file's modules
    CProfil1,
    CDateifilter1,
    CClonen1,
    CClonenUmbenennen1,
    CClonenEffekte1,
    CThumbnails1,
    CZantoScript2,  // the profile's modules
    CHTML1,
    CHTMLSortierung1,
    CDeko1,
    CHTMLStartseite1,
    CHTMLIndex1,
    CHTMLThumbnails1,
    CHTMLBildseite1,
};
inline constexpr int kPageSlotCount = 16;

// Every slot in the order above.
const std::array<PageSlot, kPageSlotCount>& all_page_slots();
// "CHTML1"
const char* page_slot_name(PageSlot slot);
// The page box (0 to 19) the slot's page sits in.
int page_slot_box(PageSlot slot);

// Creates the page of a slot; nullptr while that page is not built. The two
// script-module pages are handed their collection here (ScriptFileModules()
// for CZantoScript1, ProfileModules() for CZantoScript2): the collections
// live as long as the program, so the page keeps the reference.
std::unique_ptr<OptionPage> make_page(PageSlot slot);

}  // namespace galvora
