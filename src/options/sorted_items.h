#pragma once
// The items of an image combo box in the order the pages show them: by text,
// without regard to case, each item's object (a language, a profile) moving
// with it.
#include <string>
#include <vector>

#include "foundation/sorting.h"
#include "options/page_control.h"

namespace galvora {

template <class Tag>
struct TaggedItem {
    std::string text;
    std::string key;
    std::string image_key;
    Tag tag;
};

// Sorts the items into the box's list and returns their objects in the same order.
template <class Tag>
std::vector<Tag> sorted_items(PageControl& combo, std::vector<TaggedItem<Tag>> items) {
    imagecombo_sortieren(items);
    std::vector<Tag> tags;
    tags.reserve(items.size());
    for (TaggedItem<Tag>& item : items) {
        combo.state().items.push_back({item.text, item.key, item.image_key});
        tags.push_back(std::move(item.tag));
    }
    return tags;
}

}  // namespace galvora
