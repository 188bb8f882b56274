#include "gui/qt_ui_port.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <map>

#include "foundation/messages.h"
#include "gui/small_dialog_views.h"

namespace galvora::gui {

namespace {

QString qt_text(std::string_view text) {
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    s.replace("\r\n", "\n");
    return s;
}

QMessageBox::Icon icon_of(int style) {
    switch (style & 0xF0) {
        case MB_ICON_STOP:
            return QMessageBox::Critical;
        case MB_ICON_QUESTION:
            return QMessageBox::Question;
        case MB_ICON_EXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICON_INFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QPushButton* add_button(QMessageBox& box, int answer) {
    switch (answer) {
        case 1:
            return box.addButton(QMessageBox::Ok);
        case 2:
            return box.addButton(QMessageBox::Cancel);
        case 3:
            return box.addButton(QMessageBox::Abort);
        case 4:
            return box.addButton(QMessageBox::Retry);
        case 5:
            return box.addButton(QMessageBox::Ignore);
        case 6:
            return box.addButton(QMessageBox::Yes);
        case 7:
            return box.addButton(QMessageBox::No);
        case 10:
            return box.addButton(QMessageBox::Retry);
        case 11:
            return box.addButton(QObject::tr("Continue"), QMessageBox::AcceptRole);
        default:
            return box.addButton(QMessageBox::Ok);
    }
}

// Keeps Esc and the close box from answering a box that has no answer for them.
class NoEscape : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) return true;
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        return false;
    }
};

}  // namespace

int QtUiPort::message_box(std::string_view title, std::string_view text, int style) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(qt_text(title));
    box.setText(qt_text(text));
    box.setIcon(icon_of(style));
    std::map<QAbstractButton*, int> answers;
    for (int answer : message_box_buttons(style)) answers.emplace(add_button(box, answer), answer);
    const int default_answer = default_button_answer(style);
    const int escape_answer = escape_button_answer(style);
    NoEscape no_escape;
    for (const auto& [button, answer] : answers) {
        if (answer == default_answer) box.setDefaultButton(static_cast<QPushButton*>(button));
        if (answer == escape_answer) box.setEscapeButton(button);
    }
    if (escape_answer == 0) box.installEventFilter(&no_escape);
    box.exec();
    const auto it = answers.find(box.clickedButton());
    return it == answers.end() ? (escape_answer != 0 ? escape_answer : default_answer) : it->second;
}

std::optional<std::string> QtUiPort::input_box(std::string_view prompt, std::string_view preset) {
    return zeige_eingabebox(QApplication::activeWindow(), std::string(prompt), std::string(preset));
}

std::optional<std::string> QtUiPort::titled_input_box(std::string_view title, std::string_view prompt,
                                                      std::string_view preset) {
    return zeige_eingabebox(QApplication::activeWindow(), std::string(prompt), std::string(preset), std::string(title));
}

}  // namespace galvora::gui
