#include "gui/options/options_dialog_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTreeWidget>

#include <algorithm>
#include <map>
#include <vector>

#include "app/options_handoff.h"
#include "gui/options/effect_page_views.h"
#include "gui/options/form_view.h"
#include "gui/options/picture_widget.h"
#include "gui/options/qt_bridge.h"
#include "gui/small_dialog_views.h"
#include "options/hand_off.h"
#include "options/options_dialog.h"
#include "options/page_services.h"

namespace galvora {

namespace {

QPointer<OptionenDialog>& the_view() {
    static QPointer<OptionenDialog> view;
    return view;
}

std::function<void(int)>& help_opener() {
    static std::function<void(int)> opener;
    return opener;
}

}  // namespace

OptionenDialog::OptionenDialog(Optionen& model, QWidget* parent) : QDialog(parent), model_(model) {
    setObjectName("Optionen");
    setSizeGripEnabled(true);
    if (parent != nullptr) setWindowIcon(parent->windowIcon());

    form_ = new FormView(model_, this, [this](PageControl& control, QWidget* parent_widget) -> QWidget* {
        if (control.name() == "Optionen_Baum") {
            tree_ = new QTreeWidget(parent_widget);
            tree_->setHeaderHidden(true);
            tree_->setColumnCount(1);
            return tree_;
        }
        if (control.name() == "Überschrift_Box") {
            auto* heading = new PictureWidget(parent_widget);
            heading->set_gradient([this]() -> const std::vector<uint32_t>& { return model_.layout().heading_colours(); });
            return heading;
        }
        return nullptr;
    });
    form_->set_forwarder([this](const std::function<void()>& action) { forward(action); });
    if (auto* input = qobject_cast<QPlainTextEdit*>(widget("Tag_Input")))
        input->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    for (PageSlot slot : all_page_slots()) {
        OptionPage* page = model_.seite(slot);
        if (page == nullptr) continue;
        QWidget* box = form_->widget_of(model_.box(page_slot_box(slot)));
        auto* view = new FormView(*page, box, option_page_widgets());
        view->setObjectName(page_slot_name(slot));
        view->set_forwarder([this](const std::function<void()>& action) { forward(action); });
        pages_[static_cast<size_t>(slot)] = view;
        page->set_listener([this] { model_changed(); });
    }
    model_.set_listener([this] { model_changed(); });

    // The pages' small windows open over this dialog.
    PageServices& services = page_services();
    services.profil_neu = [this] { return zeige_profil_neu(this); };
    services.modul_neu = [this](ZNModule& modules) { return zeige_modul_neu(this, modules); };
    services.dateiarten = [this](int entry) { zeige_dateiarten(this, entry); };

    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
        if (updating_tree_ || current == nullptr) return;
        const std::string key = u8(current->data(0, Qt::UserRole).toString());
        forward([&] { model_.Optionen_Baum_NodeClick(key); });
    });
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        // A click on the node already shown shows it again, as the tree's node click does.
        const std::string key = u8(item->data(0, Qt::UserRole).toString());
        if (key == model_.baum().selected() && model_.sichtbare_box() == model_.baum().node(key)->tag) return;
        forward([&] { model_.Optionen_Baum_NodeClick(key); });
    });
    connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (!updating_tree_) forward([&] { model_.user_expanded(u8(item->data(0, Qt::UserRole).toString()), true); });
    });
    connect(tree_, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (!updating_tree_) forward([&] { model_.user_expanded(u8(item->data(0, Qt::UserRole).toString()), false); });
    });

    set_tab_order();
    refresh_all();
}

OptionenDialog::~OptionenDialog() {
    const PageServices stand_ins = page_service_stand_ins();
    PageServices& services = page_services();
    services.profil_neu = stand_ins.profil_neu;
    services.modul_neu = stand_ins.modul_neu;
    services.dateiarten = stand_ins.dateiarten;
    model_.set_listener({});
    for (PageSlot slot : all_page_slots())
        if (OptionPage* page = model_.seite(slot)) page->set_listener({});
}

QWidget* OptionenDialog::widget(const char* name, int index) const {
    const PageControl* control = model_.find(name, index);
    return control != nullptr ? form_->widget_of(*control) : nullptr;
}

void OptionenDialog::set_tab_order() {
    // The dialog's own controls (the tree, the template editor, the include
    // line, the syntax test, OK and Cancel) take the focus by a click only;
    // Tab moves through the controls of the page that is shown.
    tree_->setFocusPolicy(Qt::ClickFocus);
    for (const char* name : {"Tag_Input", "ZNSDatei", "ZNSDateiButton", "ZNSDateiSaveButton", "ZNSDateiSaveAsButton",
                             "ZNSDateiResetAsButton", "SyntaxTest", "OK", "Abbrechen"})
        if (QWidget* own = widget(name)) own->setFocusPolicy(Qt::ClickFocus);
    std::vector<QWidget*> chain;
    for (FormView* view : pages_)
        if (view != nullptr)
            for (QWidget* w : view->focus_chain()) chain.push_back(w);
    for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void OptionenDialog::forward(const std::function<void()>& action) {
    ++depth_;
    action();
    --depth_;
    if (depth_ == 0) {
        dirty_ = false;
        refresh_all();
    }
}

void OptionenDialog::model_changed() {
    if (depth_ > 0) {
        dirty_ = true;
        return;
    }
    refresh_all();
}

void OptionenDialog::rebuild_tree() {
    const PageTree& tree = model_.baum();
    if (tree.revision() == tree_revision_) return;
    tree_revision_ = tree.revision();
    updating_tree_ = true;
    tree_->clear();
    std::map<std::string, QTreeWidgetItem*> items;
    QTreeWidgetItem* selected = nullptr;
    for (const PageTreeNode* node : tree.in_order()) {
        auto parent = items.find(node->parent);
        auto* item = parent != items.end() ? new QTreeWidgetItem(parent->second) : new QTreeWidgetItem(tree_);
        item->setText(0, qs(node->text));
        item->setData(0, Qt::UserRole, qs(node->key));
        items[node->key] = item;
        if (node->key == tree.selected()) selected = item;
    }
    for (const PageTreeNode* node : tree.in_order()) items[node->key]->setExpanded(node->expanded);
    if (selected != nullptr) {
        tree_->setCurrentItem(selected);
        tree_->scrollToItem(selected);
    }
    updating_tree_ = false;
}

void OptionenDialog::place_page_views() {
    const int tpp = FormView::twips_per_pixel();
    int extra = 0;
    for (PageSlot slot : all_page_slots()) {
        FormView* view = page_view(slot);
        if (view == nullptr) continue;
        const OptionPage& page = *model_.seite(slot);
        QRect place = to_px(TwipRect{page.Left(), page.Top(), page.Width(), page.Height()}, tpp);
        // A page whose captions need more room than its width is shown wider,
        // and the dialog is kept wide enough for it.
        place.setWidth(place.width() + view->extra_width());
        extra = std::max(extra, view->extra_width());
        if (view->geometry() != place) view->setGeometry(place);
    }
    if (extra != extra_width_) {
        extra_width_ = extra;
        keep_minimum_width();
    }
}

void OptionenDialog::keep_minimum_width() {
    if (!sized_) return;
    setMinimumWidth(minimum_width_ + extra_width_ + form_->extra_width());
    setMaximumWidth(std::max(maximumWidth(), minimumWidth()));
}

void OptionenDialog::refresh_all() {
    rebuild_tree();
    form_->refresh();
    place_page_views();
    std::vector<int> extras;
    for (FormView* view : pages_) {
        if (view == nullptr) continue;
        extras.push_back(view->extra_width());
        view->refresh();
    }
    // A page that now needs more width than before widens its box.
    size_t i = 0;
    bool wider = false;
    for (FormView* view : pages_)
        if (view != nullptr) wider = wider || view->extra_width() != extras[i++];
    if (wider) {
        place_page_views();
        form_->refresh();
    }
    if (sized_ && !laying_out_ && form_->extra_width() != laid_out_extra_) {
        keep_minimum_width();
        lay_out();
    }
    if (windowTitle() != qs(model_.caption())) setWindowTitle(qs(model_.caption()));
    if (isVisible() && !model_.sichtbar()) done(model_.ok_gedrueckt() ? QDialog::Accepted : QDialog::Rejected);
}

void OptionenDialog::finish_edit() {
    if (QWidget* focus = QApplication::focusWidget(); focus != nullptr && isAncestorOf(focus)) focus->clearFocus();
}

void OptionenDialog::size_for_screen() {
    if (sized_) return;
    sized_ = true;
    const int tpp = FormView::twips_per_pixel();
    const QScreen* screen = this->screen() != nullptr ? this->screen() : QApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
    const StartSize size = model_.layout().startgroesse(
        ScreenInfo{static_cast<double>(area.width()) * tpp, static_cast<double>(area.height()) * tpp, tpp, tpp});
    setMinimumSize(size.min_width_px, size.min_height_px);
    setMaximumSize(std::max(size.max_width_px, size.min_width_px), std::max(size.max_height_px, size.min_height_px));
    minimum_width_ = size.min_width_px;
    keep_minimum_width();
    // The stored width is the layout's room, beside what the dialog's own
    // captions add to it.
    resize(std::max(to_px(size.width, tpp) + form_->extra_width(), minimumWidth()), to_px(size.height, tpp));
    if (size.maximised) setWindowState(windowState() | Qt::WindowMaximized);
}

bool OptionenDialog::show_modal() {
    exec();
    return model_.ok_gedrueckt();
}

void OptionenDialog::showEvent(QShowEvent* event) {
    // Shown, the model knows it: OK, Cancel and the close box hide it again.
    if (!model_.sichtbar()) model_.zeigen();
    size_for_screen();
    QDialog::showEvent(event);
}

void OptionenDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    form_->setGeometry(rect());
    lay_out();
}

void OptionenDialog::lay_out() {
    // The layout gets the room the dialog's own controls leave: where their
    // captions widened the column of the tree and the buttons, the pages
    // beside it stand further right by as much.
    laying_out_ = true;
    const int tpp = FormView::twips_per_pixel();
    // What the controls need follows from where they stand: lay out again
    // while it changes (once or twice; the pass count only bounds it).
    for (int pass = 0; pass < 4 && (pass == 0 || form_->extra_width() != laid_out_extra_); ++pass) {
        laid_out_extra_ = form_->extra_width();
        keep_minimum_width();
        forward([&] {
            model_.layout().twips_per_pixel = tpp;
            model_.layout().Form_Resize(static_cast<double>(width() - laid_out_extra_) * tpp,
                                        static_cast<double>(height()) * tpp, isMinimized());
        });
    }
    laying_out_ = false;
    if (auto size = model_.layout().take_requested_size())
        resize(to_px(size->first, tpp) + laid_out_extra_, to_px(size->second, tpp));
}

void OptionenDialog::closeEvent(QCloseEvent* event) {
    // The close box never unloads the dialog: it runs Cancel, which hides it or leaves it open.
    event->ignore();
    finish_edit();
    forward([&] { model_.Form_QueryUnload(0); });
}

void OptionenDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        if (help_opener()) help_opener()(model_.help_context());
        return;
    }
    // Neither button is the dialog's cancel button: Esc leaves the dialog as it is.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void OptionenDialog::reject() {
    finish_edit();
    forward([&] { model_.Abbrechen_Click(); });
}

OptionenDialog* optionen_ansicht_erzeugen(QWidget* parent) {
    QPointer<OptionenDialog>& view = the_view();
    if (view.isNull()) view = new OptionenDialog(optionen(), parent);
    return view.data();
}

bool optionen_zeigen(QWidget* parent) {
    TreeRebuildRequested = false;
    ProfileSwitched = false;
    return optionen_ansicht_erzeugen(parent)->show_modal();
}

void set_options_help_opener(std::function<void(int topic)> opener) { help_opener() = std::move(opener); }

void set_options_help_topic_opener(std::function<void(const std::string& topic)> opener) {
    if (opener) {
        page_services().help_topic = std::move(opener);
    } else {
        page_services().help_topic = page_service_stand_ins().help_topic;
    }
}

void optionen_ansicht_freigeben() { delete the_view().data(); }

OptionenDialog* optionen_ansicht() { return the_view().data(); }

}  // namespace galvora
