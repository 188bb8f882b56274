#include "app/selection_tree.h"

#include <functional>

#include "foundation/language.h"

namespace galvora {

void AuswahlBaum::clear() {
    root_.reset();
    by_key_.clear();
    by_id_.clear();
    directory_count = 0;
    picture_count = 0;
    ++structure_;
    ++state_;
}

AuswahlKnoten* AuswahlBaum::add_top(const std::string& key, const std::string& text) {
    if (root_) return root_.get();
    root_ = std::make_unique<AuswahlKnoten>();
    root_->key = key;
    root_->text = text;
    root_->id = next_id_++;
    return enter(root_.get());
}

AuswahlKnoten* AuswahlBaum::enter(AuswahlKnoten* node) {
    ++structure_;
    ++state_;
    by_key_.emplace(node->key, node);
    by_id_.emplace(node->id, node);
    return node;
}

AuswahlKnoten* AuswahlBaum::add_child(AuswahlKnoten& parent, const std::string& key, const std::string& text) {
    // Keys are unique in the tree; a second directory under the same key is
    // left out rather than shadowing the first.
    if (find(key) != nullptr) return nullptr;
    auto node = std::make_unique<AuswahlKnoten>();
    node->key = key;
    node->text = text;
    node->parent = &parent;
    node->id = next_id_++;
    parent.children.push_back(std::move(node));
    return enter(parent.children.back().get());
}

std::vector<AuswahlKnoten*> AuswahlBaum::nodes() const {
    std::vector<AuswahlKnoten*> list;
    std::function<void(AuswahlKnoten&)> walk = [&](AuswahlKnoten& node) {
        list.push_back(&node);
        for (auto& child : node.children) walk(*child);
    };
    if (root_) walk(*root_);
    return list;
}

AuswahlKnoten* AuswahlBaum::find(const std::string& key) const {
    const auto it = by_key_.find(key);
    return it == by_key_.end() ? nullptr : it->second;
}

AuswahlKnoten* AuswahlBaum::find(int64_t id) const {
    const auto it = by_id_.find(id);
    return it == by_id_.end() ? nullptr : it->second;
}

int AuswahlBaum::AuswahlSymboleSetzen(AuswahlKnoten& node) {
    ++state_;
    if (node.is_leaf()) {
        node.image = node.ticked ? "checked_alle" : "unchecked";
        node.colour = node.ticked ? kSystemWindowText : kSystemGreyText;
        return node.ticked ? 2 : 0;
    }
    int sum = 0;
    for (auto& child : node.children) sum += AuswahlSymboleSetzen(*child);
    const int all = 2 * static_cast<int>(node.children.size());
    if (sum == all) {
        node.ticked = true;
        node.image = "checked_alle";
        node.colour = kTreeGroupColour;
        return 2;
    }
    if (sum > 0) {
        node.ticked = true;
        node.image = "checked_einige";
        node.colour = kTreeGroupColour;
        return 1;
    }
    node.ticked = false;
    node.image = "unchecked";
    node.colour = kSystemGreyText;
    return 0;
}

void AuswahlBaum::click(AuswahlKnoten& node) {
    node.ticked = !node.ticked;
    for (auto& child : node.children) {
        child->ticked = node.ticked;
        for (auto& grandchild : child->children) grandchild->ticked = node.ticked;
    }
    if (root_) AuswahlSymboleSetzen(*root_);
    AuswahlZaehlen();
}

void AuswahlBaum::AuswahlZaehlen() {
    directory_count = 0;
    picture_count = 0;
    for (AuswahlKnoten* node : nodes()) {
        if (!node->is_leaf() || !node->ticked) continue;
        ++directory_count;
        picture_count += node->tag_count.value_or(0);
    }
}

std::vector<std::string> AuswahlBaum::unticked_leaves() const {
    std::vector<std::string> lines;
    for (AuswahlKnoten* node : nodes())
        if (node->is_leaf() && !node->ticked) lines.push_back(node->key.substr(1));
    return lines;
}

std::string AuswahlTextSetzen(int32_t directories, int32_t pictures, bool run_line) {
    const char* several = run_line ? "Directories2" : "Directories1";
    return std::to_string(directories) + " " + inq("Startdialog", directories == 1 ? "Dir" : several) + " " +
           inq("Startdialog", "With") + " " + std::to_string(pictures) + " " +
           inq("Startdialog", pictures == 1 ? "Image" : "Images");
}

}  // namespace galvora
