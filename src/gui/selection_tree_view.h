#pragma once
// The selection tree: shows the tree model's nodes with their pictures,
// colours and bold texts, always expanded, and forwards a click on a node,
// Space on the current node and F5 to the main window's model.
#include <QTreeWidget>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

#include "app/selection_tree.h"

namespace galvora::gui {

class SelectionTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit SelectionTreeView(QWidget* parent = nullptr);

    // Shows the model: the nodes anew when the tree was rebuilt, else the
    // look of each node.
    void zeigen(const AuswahlBaum& tree);
    // One node's picture, at once (the run colours the node it works on).
    void bild_setzen(int64_t node, const std::string& image_key);
    // Selects the node and scrolls it into view.
    void auswaehlen(int64_t node);
    QTreeWidgetItem* eintrag(int64_t node) const;
    // The row of the current node, in the viewport's coordinates (the run's
    // directory bar is placed there).
    QRect zeilenrechteck() const;

signals:
    void knoten_geklickt(qint64 node);
    void taste(int key_code);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void look(QTreeWidgetItem* item, const AuswahlKnoten& node);

    std::map<std::string, QIcon> pictures_;
    std::unordered_map<int64_t, QTreeWidgetItem*> items_;
    uint64_t shown_structure_ = ~uint64_t{0};
    uint64_t shown_look_ = ~uint64_t{0};
};

}  // namespace galvora::gui
