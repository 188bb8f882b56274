#pragma once
// Helpers of the window tests that work the options dialog's window as the
// user does: a click on a node of its page tree, and the widget a page's
// view shows for one of the page's controls.
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "gui/options/form_view.h"
#include "gui/options/options_dialog_view.h"
#include "options/option_page.h"
#include "options/page_slots.h"

namespace galvora::testing {

// Clicks the tree node of a page box ("KEY" and the box number).
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

// The widget of a page's control (of a control array with its index); nullptr
// while the page has no view.
inline QWidget* page_widget(OptionenDialog& view, PageSlot slot, const char* name, int index = -1) {
    FormView* page = view.page_view(slot);
    return page != nullptr ? page->widget_of(page->page().control(name, index)) : nullptr;
}

}  // namespace galvora::testing
