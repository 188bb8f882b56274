#pragma once
// The view of the script editor that two option pages embed, and the widget
// factory that puts it into those pages' views. The editor's controls are
// shown by the generic FormView; the text takes a fixed-width font and the
// colours the model gave each line.
#include <QSyntaxHighlighter>

#include "gui/options/form_view.h"

namespace galvora {

class CZantoScriptModul;
class OptionPage;

// Paints each line of the text in the colours the editor model keeps for it
// (the program's syntax colours by the role of each piece).
class ScriptHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    ScriptHighlighter(QTextDocument* document, const CZantoScriptModul& editor);

protected:
    void highlightBlock(const QString& text) override;

private:
    const CZantoScriptModul& editor_;
};

// The editor's view, a child of `parent`.
FormView* make_script_editor_view(CZantoScriptModul& editor, QWidget* parent);

// What a page's view makes itself: the embedded script editor of the script
// module and file filter pages; nothing for the other pages.
FormView::WidgetFactory page_widget_factory(OptionPage& page);

}  // namespace galvora
