#pragma once
// The page tree of the options dialog as data: nodes with key, text, tag (the
// page box they show), expansion, parent and the order among siblings, and
// the selected node. The dialog adds and removes nodes; a view shows them.
#include <string>
#include <string_view>
#include <vector>

namespace galvora {

struct PageTreeNode {
    std::string key;     // "KEY" and the box index: "KEY7"
    std::string text;
    int tag = -1;        // the box index
    bool expanded = false;
    std::string parent;  // the parent's key; empty for a root
};

class PageTree {
public:
    // The key of a box's node.
    static std::string key_of(int box) { return "KEY" + std::to_string(box); }

    // Adds a node as the last child of `parent` (or the last root when parent
    // is empty), expanded. False, and nothing changes, when the key exists
    // already or the parent does not.
    bool add(const std::string& key, const std::string& parent, const std::string& text, int tag);
    // Removes a node with all its descendants; false when there is none.
    bool remove(std::string_view key);
    void clear();

    const PageTreeNode* node(std::string_view key) const;
    // False when there is no such node.
    bool set_text(std::string_view key, const std::string& text);
    bool set_expanded(std::string_view key, bool expanded);
    bool contains(std::string_view key) const { return node(key) != nullptr; }
    // The children of a node in their order (roots for an empty key).
    std::vector<const PageTreeNode*> children(std::string_view key) const;
    // Every node, depth first, each parent before its children.
    std::vector<const PageTreeNode*> in_order() const;

    // The selected node's key; empty when none is selected.
    const std::string& selected() const { return selected_; }
    // Selects a node; an unknown key selects nothing.
    void select(std::string_view key);

    // Counts every change of nodes, texts, expansion and selection.
    unsigned revision() const { return revision_; }

private:
    void collect(std::string_view parent, std::vector<const PageTreeNode*>& out) const;
    PageTreeNode* find(std::string_view key);

    std::vector<PageTreeNode> nodes_;  // in insertion order; siblings keep theirs
    std::string selected_;
    unsigned revision_ = 0;
};

}  // namespace galvora
