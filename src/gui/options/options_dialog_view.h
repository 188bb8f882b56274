#pragma once
// The options dialog's window: the view of the Optionen model (the page
// tree, the title line with its gradient, the page boxes with the pages'
// views in them, the template editor, the include line, OK and Cancel).
//
// The main window's Options menu shows it modally and then takes back what it
// changed (options/hand_off.h); optionen_zeigen does the showing alone.
#include <QDialog>

#include <array>
#include <functional>
#include <string>

#include "options/page_slots.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace galvora {

class FormView;
class Optionen;

class OptionenDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionenDialog(Optionen& model, QWidget* parent = nullptr);
    ~OptionenDialog() override;

    // Shows the dialog modally until OK, Cancel or the close box hides it;
    // true when OK hid it.
    bool show_modal();
    // Shows every part of the model.
    void refresh_all();

    Optionen& model() const { return model_; }
    FormView& form() const { return *form_; }
    // The view of a slot's page; nullptr while that page is not built.
    FormView* page_view(PageSlot slot) const { return pages_[static_cast<size_t>(slot)]; }
    QTreeWidget* tree() const { return tree_; }
    // The widget of one of the dialog's own controls ("OK", "Tag_Input", ...).
    QWidget* widget(const char* name, int index = -1) const;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Esc: the Cancel logic with its question.
    void reject() override;

private:
    void forward(const std::function<void()>& action);
    void model_changed();
    void rebuild_tree();
    void place_page_views();
    void set_tab_order();
    void size_for_screen();
    // The smallest width the layout allows, widened by what the pages'
    // captions need beyond their own widths.
    void keep_minimum_width();
    // Lays the dialog's controls out for its size.
    void lay_out();
    // Ends the edit that has the focus, as a click elsewhere ends it.
    void finish_edit();

    Optionen& model_;
    FormView* form_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    std::array<FormView*, kPageSlotCount> pages_{};
    unsigned tree_revision_ = ~0u;
    int depth_ = 0;
    bool dirty_ = false;
    bool updating_tree_ = false;
    bool sized_ = false;
    int minimum_width_ = 0;
    int extra_width_ = 0;
    int laid_out_extra_ = 0;
    bool laying_out_ = false;
};

// The dialog's window, made on first use over `parent` (the main window) and
// afterwards the same one; shown modally it opens on the page shown last.
OptionenDialog* optionen_ansicht_erzeugen(QWidget* parent);
// Opens the options dialog modally over the main window (made on first use,
// afterwards shown again) after clearing the hand-off flags; true when the
// user left it with OK.
bool optionen_zeigen(QWidget* parent);
// What F1 in the dialog opens: the help topic of the page shown (the page
// box's help context number). Without an opener F1 does nothing.
void set_options_help_opener(std::function<void(int topic)> opener);
// What F1 in the script editor opens: a page of the help with the word at the
// caret as its anchor ("zng_doc703.htm#exif"). Without an opener, the
// program's help (nothing while there is no help file).
void set_options_help_topic_opener(std::function<void(const std::string& topic)> opener);
// Destroys the dialog's window (the main window unloads it at program end).
void optionen_ansicht_freigeben();
// The dialog's window while it exists; nullptr before the first showing.
OptionenDialog* optionen_ansicht();

}  // namespace galvora
