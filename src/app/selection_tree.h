#pragma once
// The selection tree of picture directories, without any window: nodes with
// key, text, tag, tick, picture and colour, the three-state pictures that
// follow the ticks of the leaves, the counts of the ticked leaves and the
// summary line. The window program's tree view only shows this model.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace galvora {

// Colours of the nodes: red + 256 * green + 65536 * blue, or a system colour.
inline constexpr uint32_t kTreeGroupColour = 0x805028;
inline constexpr uint32_t kSystemWindowText = 0x80000008;
inline constexpr uint32_t kSystemGreyText = 0x80000011;

struct AuswahlKnoten {
    std::string key;    // "K" and the directory's path relative to the base (level 0: the base path)
    std::string text;
    // A leaf's tag: its name and picture count; a first-level node at level 2
    // carries its name alone (count stays empty).
    std::string tag_name;
    std::optional<int32_t> tag_count;
    bool ticked = true;
    bool bold = false;
    bool expanded = true;
    uint32_t colour = kSystemWindowText;
    std::string image;  // "checked_alle", "checked_einige", "unchecked" or a run colour
    int64_t id = 0;     // stable id, handed to the run as the record's tree node
    AuswahlKnoten* parent = nullptr;
    std::vector<std::unique_ptr<AuswahlKnoten>> children;

    bool is_leaf() const { return children.empty(); }
};

class AuswahlBaum {
public:
    void clear();
    bool empty() const { return root_ == nullptr; }
    // The first node of the tree (the base directory), or nullptr.
    AuswahlKnoten* top() const { return root_.get(); }
    // Adds the top node; a second call returns the existing one.
    AuswahlKnoten* add_top(const std::string& key, const std::string& text);
    // Adds a child at the end of the parent's children; nullptr when the key is taken.
    AuswahlKnoten* add_child(AuswahlKnoten& parent, const std::string& key, const std::string& text);
    AuswahlKnoten* find(const std::string& key) const;
    AuswahlKnoten* find(int64_t id) const;
    // Every node, depth first in tree order.
    std::vector<AuswahlKnoten*> nodes() const;

    // Pictures, ticks and colours of the node's subtree from its leaves;
    // 0 nothing ticked, 1 partly, 2 all.
    int AuswahlSymboleSetzen(AuswahlKnoten& node);
    // A click on a node: inverts its tick, hands it two levels down, redoes
    // the pictures and the counts.
    void click(AuswahlKnoten& node);
    // Counts the ticked leaves and their pictures.
    void AuswahlZaehlen();
    int32_t directory_count = 0;
    int32_t picture_count = 0;

    // Keys (without the "K") of the unticked leaves, in node order.
    std::vector<std::string> unticked_leaves() const;

    // Grow with every change, so that a view shows the tree anew only when it
    // changed: the structure when nodes were added or removed, the state with
    // every change at all (ticks, pictures, colours).
    uint64_t struktur_stand() const { return structure_; }
    uint64_t stand() const { return state_; }
    // A node's field was changed from outside (the run's pictures).
    void geaendert() { ++state_; }

private:
    AuswahlKnoten* enter(AuswahlKnoten* node);

    std::unique_ptr<AuswahlKnoten> root_;
    int64_t next_id_ = 1;
    uint64_t structure_ = 0;
    uint64_t state_ = 0;
    // Every node by key and by id: a tree of thousands of directories is
    // built and searched without walking it for each node.
    std::unordered_map<std::string, AuswahlKnoten*> by_key_;
    std::unordered_map<int64_t, AuswahlKnoten*> by_id_;
};

// The summary line from the words of the main window ("1 Verzeichnis mit 12
// Bildern"); the run's own line uses the plural "Directories2" instead of
// "Directories1".
std::string AuswahlTextSetzen(int32_t directories, int32_t pictures, bool run_line = false);

}  // namespace galvora
