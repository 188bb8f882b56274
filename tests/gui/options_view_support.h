#pragma once
// What the options dialog's window tests share: a click on a node of the
// page tree, where the user clicks it.
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "gui/options/options_dialog_view.h"

namespace galvora::testing {

inline void click_tree_node(OptionenDialog& view, int box) {
    QTreeWidget* tree = view.tree();
    const QList<QTreeWidgetItem*> found = tree->findItems("*", Qt::MatchWildcard | Qt::MatchRecursive);
    for (QTreeWidgetItem* item : found) {
        if (item->data(0, Qt::UserRole).toString() != QString("KEY%1").arg(box)) continue;
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
        return;
    }
    ADD_FAILURE() << "no node KEY" << box;
}

}  // namespace galvora::testing
