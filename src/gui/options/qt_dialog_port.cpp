#include "gui/options/qt_dialog_port.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QStringList>

#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "gui/options/qt_bridge.h"
#include "image/picture_buffer.h"

namespace galvora {

namespace {

QWidget* owner() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

// "desc\0pattern\0desc\0pattern\0" as Qt's "desc (pattern);;desc (pattern)".
QString qt_filter(std::string_view filter) {
    QStringList items;
    size_t start = 0;
    std::vector<std::string> parts;
    while (start < filter.size()) {
        const size_t end = filter.find('\0', start);
        parts.emplace_back(filter.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = qs(parts[i + 1]).replace(';', ' ');
        if (pattern == "*.*") pattern = "*";
        items << qs(parts[i]) + " (" + pattern + ")";
    }
    return items.join(";;");
}

}  // namespace

int32_t QtDialogPort::ShowColorDialog(std::string_view title, int32_t initial) {
    const auto colour = static_cast<uint32_t>(initial);
    const QColor chosen = QColorDialog::getColor(QColor(colour_red(colour), colour_green(colour), colour_blue(colour)),
                                                 owner(), qs(program_title() + " - " + std::string(title)));
    if (!chosen.isValid()) return -1;
    return static_cast<int32_t>(make_colour(static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
                                            static_cast<uint8_t>(chosen.blue())));
}

std::string QtDialogPort::ShowFileDialog(bool save, std::string_view filter, std::string_view proposed_name,
                                         std::string_view start_folder, std::string_view title, int32_t flags) {
    const QString caption = qs(product_name() + " - " + std::string(title));
    QString start = qs(std::string(proposed_name));
    if (start.isEmpty()) start = qs(std::string(start_folder));
    QFileDialog::Options options;
    if (save && (flags & kFileDialogOverwritePrompt) == 0) options |= QFileDialog::DontConfirmOverwrite;
    const QString chosen = save ? QFileDialog::getSaveFileName(owner(), caption, start, qt_filter(filter), nullptr, options)
                                : QFileDialog::getOpenFileName(owner(), caption, start, qt_filter(filter), nullptr, options);
    return u8(chosen);
}

std::string QtDialogPort::BrowseForFolder(int32_t root, std::string_view start_folder, std::string_view prompt,
                                          std::string_view caption, int32_t flags) {
    QFileDialog dialog(owner(), qs(program_title() + " - " + std::string(caption)));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::LookIn, qs(std::string(prompt)));
    if (root == kFolderRootDrives) dialog.setDirectory(QDir::rootPath());
    if (!start_folder.empty()) dialog.setDirectory(qs(std::string(start_folder)));
    // Qt's chooser decides itself whether it offers a button for new folders.
    (void)flags;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return u8(dialog.selectedFiles().front());
}

QtDialogPort& qt_dialog_port() {
    static QtDialogPort port;
    return port;
}

}  // namespace galvora
