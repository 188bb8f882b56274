#include "gui/options/script_editor_view.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "app/syntax_colors.h"
#include "gui/options/qt_bridge.h"
#include "options/pages/file_filter_page.h"
#include "options/pages/script_editor.h"
#include "options/pages/script_modules_page.h"

namespace galvora {

namespace {

// The place of a role's colour among the program's syntax colours.
size_t colour_index(ZNSFarbe role) {
    switch (role) {
        case ZNSFarbe::keyword: return 0;
        case ZNSFarbe::variable: return 1;
        case ZNSFarbe::function: return 2;
        case ZNSFarbe::number: return 3;
        case ZNSFarbe::string: return 4;
        case ZNSFarbe::stringdelimiter: return 5;
        case ZNSFarbe::enum_: return 6;
        case ZNSFarbe::operator_: return 7;
        case ZNSFarbe::comment: return 8;
        case ZNSFarbe::else_: return 9;
    }
    return 9;
}

}  // namespace

ScriptHighlighter::ScriptHighlighter(QTextDocument* document, const CZantoScriptModul& editor)
    : QSyntaxHighlighter(document), editor_(editor) {}

void ScriptHighlighter::highlightBlock(const QString& text) {
    const int line = currentBlock().blockNumber();
    if (line < 0) return;
    for (const ZNSFarbspanne& span : editor_.line_colours(static_cast<size_t>(line))) {
        const int from = utf16_offset(text, span.offset);
        const int to = utf16_offset(text, span.offset + span.laenge);
        if (to <= from) continue;
        QColor colour;
        qt_colour(SyntaxColors[colour_index(span.rolle)], QPalette(), colour);
        setFormat(from, to - from, colour);
    }
}

FormView* make_script_editor_view(CZantoScriptModul& editor, QWidget* parent) {
    auto* view = new FormView(editor, parent);
    auto* text = qobject_cast<QPlainTextEdit*>(view->widget_of(editor.control("Modul_Inhalt")));
    if (text == nullptr) return view;
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* highlighter = new ScriptHighlighter(text->document(), editor);
    // The model colours the lines a change touched; the view paints those again.
    view->set_after_show([&editor, highlighter, text] {
        const CZantoScriptModul::Recoloured recoloured = editor.take_recoloured();
        if (recoloured.all) {
            highlighter->rehighlight();
            return;
        }
        for (int32_t line : recoloured.lines) {
            const QTextBlock block = text->document()->findBlockByNumber(line);
            if (block.isValid()) highlighter->rehighlightBlock(block);
        }
    });
    highlighter->rehighlight();
    return view;
}

FormView::WidgetFactory page_widget_factory(OptionPage& page) {
    CZantoScriptModul* editor = nullptr;
    if (auto* modules = dynamic_cast<CZantoScript*>(&page)) editor = &modules->editor();
    if (auto* filter = dynamic_cast<CDateifilter*>(&page)) editor = &filter->editor();
    if (editor == nullptr) return {};
    return [editor](PageControl& control, QWidget* parent) -> QWidget* {
        if (control.name() != "ModulInhalt") return nullptr;
        return make_script_editor_view(*editor, parent);
    };
}

}  // namespace galvora
