#include "gui/selection_tree_view.h"

#include <QKeyEvent>
#include <functional>

#include "app/main_window.h"
#include "gui/colours.h"
#include "gui/tree_pictures.h"

namespace galvora::gui {

namespace {

constexpr int kIdRole = Qt::UserRole;

}  // namespace

SelectionTreeView::SelectionTreeView(QWidget* parent) : QTreeWidget(parent), pictures_(baumbilder()) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFocusPolicy(Qt::StrongFocus);
    setIconSize(QSize(16, 16));
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        emit knoten_geklickt(item->data(0, kIdRole).toLongLong());
    });
    // The tree always shows all its nodes: a collapse is undone at once.
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        const QSignalBlocker block(this);
        item->setExpanded(true);
    });
}

void SelectionTreeView::look(QTreeWidgetItem* item, const AuswahlKnoten& node) {
    const QString text = QString::fromStdString(node.text);
    if (item->text(0) != text) item->setText(0, text);
    const auto picture = pictures_.find(node.image);
    item->setIcon(0, picture == pictures_.end() ? QIcon() : picture->second);
    item->setForeground(0, qt_farbe(node.colour, palette()));
    QFont font = item->font(0);
    if (font.bold() != node.bold) {
        font.setBold(node.bold);
        item->setFont(0, font);
    }
}

void SelectionTreeView::zeigen(const AuswahlBaum& tree) {
    const QSignalBlocker block(this);
    if (tree.struktur_stand() != shown_structure_) {
        shown_structure_ = tree.struktur_stand();
        shown_look_ = ~uint64_t{0};
        clear();
        items_.clear();
        std::function<void(const AuswahlKnoten&, QTreeWidgetItem*)> add = [&](const AuswahlKnoten& node,
                                                                               QTreeWidgetItem* parent) {
            auto* item = parent == nullptr ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parent);
            item->setData(0, kIdRole, QVariant::fromValue<qint64>(node.id));
            items_.emplace(node.id, item);
            for (const auto& child : node.children) add(*child, item);
        };
        if (const AuswahlKnoten* top = tree.top()) add(*top, nullptr);
    }
    if (tree.stand() != shown_look_) {
        shown_look_ = tree.stand();
        for (AuswahlKnoten* node : tree.nodes()) {
            QTreeWidgetItem* item = eintrag(node->id);
            if (item == nullptr) continue;
            look(item, *node);
            if (item->isExpanded() != node->expanded) item->setExpanded(node->expanded);
        }
    }
}

QTreeWidgetItem* SelectionTreeView::eintrag(int64_t node) const {
    const auto it = items_.find(node);
    return it == items_.end() ? nullptr : it->second;
}

void SelectionTreeView::bild_setzen(int64_t node, const std::string& image_key) {
    QTreeWidgetItem* item = eintrag(node);
    if (item == nullptr) return;
    const auto picture = pictures_.find(image_key);
    item->setIcon(0, picture == pictures_.end() ? QIcon() : picture->second);
}

void SelectionTreeView::auswaehlen(int64_t node) {
    QTreeWidgetItem* item = eintrag(node);
    if (item == nullptr) return;
    const QSignalBlocker block(this);
    setCurrentItem(item);
    scrollToItem(item);
}

QRect SelectionTreeView::zeilenrechteck() const {
    QTreeWidgetItem* item = currentItem();
    return item == nullptr ? QRect() : visualItemRect(item);
}

void SelectionTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5) {
        emit taste(kTasteF5);
        return;
    }
    // The keyboard's click: Space on the current node.
    if (event->key() == Qt::Key_Space && currentItem() != nullptr) {
        emit knoten_geklickt(currentItem()->data(0, kIdRole).toLongLong());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

}  // namespace galvora::gui
