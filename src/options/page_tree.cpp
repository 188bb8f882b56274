#include "options/page_tree.h"

#include <algorithm>

namespace galvora {

bool PageTree::add(const std::string& key, const std::string& parent, const std::string& text, int tag) {
    if (contains(key)) return false;
    if (!parent.empty() && !contains(parent)) return false;
    nodes_.push_back({key, text, tag, true, parent});
    ++revision_;
    return true;
}

bool PageTree::remove(std::string_view key) {
    if (!contains(key)) return false;
    std::vector<std::string> doomed{std::string(key)};
    for (size_t i = 0; i < doomed.size(); ++i)
        for (const auto& n : nodes_)
            if (n.parent == doomed[i]) doomed.push_back(n.key);
    std::erase_if(nodes_, [&](const PageTreeNode& n) {
        return std::find(doomed.begin(), doomed.end(), n.key) != doomed.end();
    });
    if (std::find(doomed.begin(), doomed.end(), selected_) != doomed.end()) selected_.clear();
    ++revision_;
    return true;
}

void PageTree::clear() {
    nodes_.clear();
    selected_.clear();
    ++revision_;
}

const PageTreeNode* PageTree::node(std::string_view key) const {
    for (const auto& n : nodes_)
        if (n.key == key) return &n;
    return nullptr;
}

PageTreeNode* PageTree::find(std::string_view key) {
    for (auto& n : nodes_)
        if (n.key == key) return &n;
    return nullptr;
}

bool PageTree::set_text(std::string_view key, const std::string& text) {
    PageTreeNode* n = find(key);
    if (n == nullptr) return false;
    if (n->text != text) {
        n->text = text;
        ++revision_;
    }
    return true;
}

bool PageTree::set_expanded(std::string_view key, bool expanded) {
    PageTreeNode* n = find(key);
    if (n == nullptr) return false;
    if (n->expanded != expanded) {
        n->expanded = expanded;
        ++revision_;
    }
    return true;
}

std::vector<const PageTreeNode*> PageTree::children(std::string_view key) const {
    std::vector<const PageTreeNode*> list;
    for (const auto& n : nodes_)
        if (n.parent == key) list.push_back(&n);
    return list;
}

void PageTree::collect(std::string_view parent, std::vector<const PageTreeNode*>& out) const {
    for (const PageTreeNode* child : children(parent)) {
        out.push_back(child);
        collect(child->key, out);
    }
}

std::vector<const PageTreeNode*> PageTree::in_order() const {
    std::vector<const PageTreeNode*> list;
    collect("", list);
    return list;
}

void PageTree::select(std::string_view key) {
    selected_ = contains(key) ? std::string(key) : std::string();
    ++revision_;
}

}  // namespace galvora
