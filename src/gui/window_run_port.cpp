#include "gui/window_run_port.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include "app/main_window.h"
#include "foundation/log.h"
#include "gui/colours.h"
#include "gui/control_picture_box.h"
#include "gui/main_window.h"
#include "gui/progress_bar_widget.h"
#include "gui/selection_tree_view.h"

namespace galvora::gui {

namespace {

QString lines(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace("\r\n", "\n");
    return s;
}

// The status text with the blank line that parts it from the logged lines
// below it, when there are any.
QString front_part(const QString& status, const QString& notes) {
    return status.isEmpty() || notes.isEmpty() ? status : status + "\n\n";
}

// Whether the box still holds what this port put there (the window empties
// it between runs).
bool holds(const QPlainTextEdit& box, qsizetype characters) {
    return box.document()->characterCount() == characters + 1;
}

// The log box keeps its end in view: the newest line, with the scroll
// handle at the bottom.
void show_end(QPlainTextEdit& box) {
    QScrollBar* bar = box.verticalScrollBar();
    bar->setValue(bar->maximum());
}

}  // namespace

// The box is changed in place, never filled anew: the status text at its top
// is replaced, a logged line is added at its end. Filling it anew would put
// the view back to its top with every picture.
void WindowRunPort::status_text(const std::string& text) {
    QPlainTextEdit& box = *window_.logging();
    const QString status = lines(text);
    const QString old_front = front_part(status_, notes_);
    if (!holds(box, old_front.size() + notes_.size())) {
        box.setPlainText(front_part(status, notes_) + notes_);
    } else {
        QTextCursor cursor(box.document());
        cursor.setPosition(0);
        cursor.setPosition(static_cast<int>(old_front.size()), QTextCursor::KeepAnchor);
        cursor.insertText(front_part(status, notes_));
    }
    status_ = status;
    show_end(box);
    box.repaint();
}

void WindowRunPort::log_line(const std::string& text) {
    galvora::log_line(text);
    QPlainTextEdit& box = *window_.logging();
    const qsizetype shown = front_part(status_, notes_).size() + notes_.size();
    const QString added = (notes_.isEmpty() ? QString() : QString("\n")) + lines(text);
    const QString before_notes = notes_;
    notes_ += added;
    if (!holds(box, shown)) {
        box.setPlainText(front_part(status_, notes_) + notes_);
    } else {
        QTextCursor cursor(box.document());
        cursor.movePosition(QTextCursor::End);
        // The first logged line comes with the blank line below the status.
        cursor.insertText(before_notes.isEmpty() && !status_.isEmpty() ? "\n\n" + added : added);
    }
    show_end(box);
}

void WindowRunPort::leeren() {
    status_.clear();
    notes_.clear();
}

void WindowRunPort::overall_progress_begin() {
    leeren();
    Fortschrittanzeige& bar = model_.gesamtfortschritt;
    bar.hgfarbe(kGesamtfortschrittFarbe);
    bar.reset();
    bar.mit_prozentzahl(true);
    window_.gesamtfortschritt()->zeigen(true);
}

void WindowRunPort::overall_progress_max(int32_t maximum) { model_.gesamtfortschritt.Max(maximum); }

void WindowRunPort::overall_progress_value(int32_t value) {
    model_.gesamtfortschritt.setze_aktwert(value);
    window_.gesamtfortschritt()->zeigen();
}

void WindowRunPort::overall_progress_end() {
    Fortschrittanzeige& bar = model_.gesamtfortschritt;
    bar.mit_prozentzahl(false);
    bar.reset();
    window_.gesamtfortschritt()->zeigen(true);
}

void WindowRunPort::path_progress_attach() {
    Fortschrittanzeige& bar = model_.pfadfortschritt;
    bar.hgfarbe(kPfadfortschrittFarbe);
    // The bar lies on the tree's row, on the tree's own background.
    bar.flache_darstellung(farbwert(window_.baum()->palette().color(QPalette::Base)));
    bar.mit_prozentzahl(true);
}

void WindowRunPort::path_progress_reset(const std::string& text, int32_t maximum) {
    window_.pfadfortschritt_anlegen();
    Fortschrittanzeige& bar = model_.pfadfortschritt;
    bar.reset();
    bar.Text(text);
    bar.Max(maximum);
    window_.pfadfortschritt()->zeigen();
}

void WindowRunPort::path_progress_value(int32_t value) {
    model_.pfadfortschritt.setze_aktwert(value);
    window_.pfadfortschritt()->zeigen();
}

void WindowRunPort::path_progress_visible(bool on) {
    model_.pfadfortschritt_sichtbar = on;
    window_.pfadfortschritt()->setVisible(on);
}

void WindowRunPort::tree_node_select(int64_t node) { window_.baum()->auswaehlen(node); }

void WindowRunPort::tree_node_image(int64_t node, const std::string& image_key) {
    if (AuswahlKnoten* found = model_.baum.find(node)) found->image = image_key;
    window_.baum()->bild_setzen(node, image_key);
}

std::string WindowRunPort::tree_node_text(int64_t node) {
    const AuswahlKnoten* found = model_.baum.find(node);
    return found != nullptr ? found->text : std::string();
}

PictureBoxPort* WindowRunPort::control_picture() {
    return model_.kontrollbild ? window_.kontrollbildbox() : nullptr;
}

void WindowRunPort::process_events() {
    window_.aktualisieren();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace galvora::gui
