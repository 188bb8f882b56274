#include "gui/window_ui_port.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include <vector>

#include "gui/small_dialog_views.h"

namespace galvora {

namespace {

struct Knopf {
    int code;
    QMessageBox::StandardButton qt;
};

// The buttons of each button set, in the order they stand.
std::vector<Knopf> knoepfe(int style) {
    switch (style & 0x0F) {
    case 1: return {{1, QMessageBox::Ok}, {2, QMessageBox::Cancel}};
    case 2: return {{3, QMessageBox::Abort}, {4, QMessageBox::Retry}, {5, QMessageBox::Ignore}};
    case 3: return {{6, QMessageBox::Yes}, {7, QMessageBox::No}, {2, QMessageBox::Cancel}};
    case 4: return {{6, QMessageBox::Yes}, {7, QMessageBox::No}};
    case 5: return {{4, QMessageBox::Retry}, {2, QMessageBox::Cancel}};
    default: return {{1, QMessageBox::Ok}};
    }
}

QMessageBox::Icon symbol(int style) {
    switch (style & 0xF0) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QString text_aus(std::string_view text) {
    QString q = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return q;
}

}  // namespace

QWidget* box_owner() { return QApplication::activeWindow(); }

int WindowUiPort::message_box(std::string_view title, std::string_view text, int style) {
    QMessageBox box(symbol(style), text_aus(title), text_aus(text), QMessageBox::NoButton, box_owner());
    const std::vector<Knopf> liste = knoepfe(style);
    for (const Knopf& k : liste) box.addButton(k.qt);
    const size_t standard = static_cast<size_t>((style >> 8) & 0x0F);
    box.setDefaultButton(liste[standard < liste.size() ? standard : 0].qt);
    const auto gewaehlt = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const Knopf& k : liste)
        if (k.qt == gewaehlt) return k.code;
    // Closed with the close box: the answer of Cancel where there is one, else of the only button.
    for (const Knopf& k : liste)
        if (k.code == 2) return 2;
    return liste.front().code;
}

std::optional<std::string> WindowUiPort::input_box(std::string_view prompt, std::string_view preset) {
    return zeige_eingabebox(box_owner(), std::string(prompt), std::string(preset));
}

WindowUiPort& window_ui_port() {
    static WindowUiPort port;
    return port;
}

}  // namespace galvora
