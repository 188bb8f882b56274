#pragma once
// What the main window's model asks of the window that shows it. The model
// runs the window's procedures; where a step touches the window itself
// (fonts, captions of its controls, geometry, showing, the control-image
// box, the log box) it calls this view. A program without windows has no
// view, and the steps are skipped.
#include <cstdint>
#include <optional>

#include "app/main_window_layout.h"

namespace galvora {

class StartdialogAnsicht {
public:
    virtual ~StartdialogAnsicht() = default;

    // Load steps 2 to 5: dialog font, menu tags, and the design captions
    // recorded as texts of the built-in language.
    virtual void formular_vorbereiten() {}
    // The window's part of applying the language: the captions of the tagged
    // controls, the widths of the two label toolbars (then `feldlayout`) and
    // the layout of the directory fields.
    virtual void sprache_anwenden() {}
    // Load step 10: the geometry from the registry (`geometrie_laden`) and
    // the window's size limits.
    virtual void geometrie_wiederherstellen() {}
    // Load step 13: shows the window, not modal, and repaints it.
    virtual void zeigen() {}
    // Shows the model's state now: texts, enabled and visible controls, the
    // tree, the bars, the caption and the mouse pointer.
    virtual void aktualisieren() {}
    // Repaints the control-image box in its idle look.
    virtual void kontrollbild_leeren() {}
    // Empties the log box.
    virtual void logging_leeren() {}
    // Closes the window once the events waiting now are done: a close the
    // user asked for while the window was busy.
    virtual void schliessen_nachholen() {}
    // The window's size and the tree's width as the close stores them
    // (twips). nullopt where there is nothing to store.
    virtual std::optional<Fenstermasse> fenstermasse() { return std::nullopt; }
};

}  // namespace galvora
