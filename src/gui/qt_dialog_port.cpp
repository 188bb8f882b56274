#include "gui/qt_dialog_port.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/colours.h"

namespace galvora::gui {

namespace {

// "Script files" and "*.zsf;*.txt" become "Script files (*.zsf *.txt)";
// "*.*" means every file, also one without a dot in its name.
QString name_filter(const std::pair<std::string, std::string>& filter) {
    QString patterns = QString::fromStdString(filter.second);
    patterns.replace(';', ' ');
    if (patterns == "*.*") patterns = "*";
    return QString::fromStdString(filter.first) + " (" + patterns + ")";
}

// The window the dialog belongs to: the modal dialog that asked (the
// options dialog), else the active window.
QWidget* owner() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

}  // namespace

std::string QtDialogPort::choose_file(const FileDialogRequest& request) {
    QFileDialog dialog(owner(), QString::fromStdString(request.title));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    for (const auto& filter : request.filters) filters << name_filter(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.front());
    }
    if (!request.default_suffix.empty()) dialog.setDefaultSuffix(QString::fromStdString(request.default_suffix));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirm_overwrite);
    if (!request.preset.empty()) dialog.selectFile(QString::fromStdString(request.preset));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

std::string QtDialogPort::choose_folder(const std::string& start, const std::string& prompt,
                                        const std::string& title) {
    // The prompt stands above the folders: the file dialog sits in a dialog
    // of ours under a label.
    QDialog dialog(owner());
    if (!title.empty()) dialog.setWindowTitle(QString::fromStdString(title));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(QString::fromStdString(prompt), &dialog);
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* files = new QFileDialog(&dialog);
    files->setWindowFlags(Qt::Widget);
    files->setOption(QFileDialog::DontUseNativeDialog, true);
    files->setOption(QFileDialog::ShowDirsOnly, true);
    files->setFileMode(QFileDialog::Directory);
    if (!start.empty()) files->setDirectory(QString::fromStdString(start));
    layout->addWidget(files);
    QObject::connect(files, &QFileDialog::accepted, &dialog, &QDialog::accept);
    QObject::connect(files, &QFileDialog::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted || files->selectedFiles().isEmpty()) return {};
    return files->selectedFiles().front().toStdString();
}

std::optional<uint32_t> QtDialogPort::choose_colour(const std::string& title, uint32_t initial) {
    // The custom colours start black at every opening.
    for (int i = 0; i < QColorDialog::customCount(); ++i) QColorDialog::setCustomColor(i, Qt::black);
    QColorDialog dialog(owner());
    if (!title.empty()) dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setCurrentColor(qt_farbe(initial, dialog.palette()));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return farbwert(dialog.selectedColor());
}

}  // namespace galvora::gui
