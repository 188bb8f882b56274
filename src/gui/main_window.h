#pragma once
// The main window: shows the main-window model (base and clone directory,
// the selection tree, the start button, the log box, the control-image box,
// the two progress bars, the menu) and forwards what the user does to the
// model's procedures. The layout comes from the model as well: the view
// only puts each control where the model says.
#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_view.h"
#include "foundation/window_controls.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace galvora {
struct Startdialog;
}

namespace galvora::gui {

class ControlPictureBox;
class ProgressBarWidget;
class SelectionTreeView;
class SplitterBar;
class WindowRunPort;

// How the windows of other parts plug into the main window's menu.
struct WindowHooks {
    // Makes the options dialog (once; it stays and is shown again). The main
    // window shows it modally and, after it is hidden, takes back its changes.
    std::function<QDialog*(QWidget* owner)> make_options_dialog;
    // Unloads the options dialog when the main window unloads: stores its
    // size ("owidth", "oheigth") and releases its window and its model.
    std::function<void()> unload_options_dialog;
    // Shows the about box modally.
    std::function<void(QWidget* owner)> show_about_box;
};
WindowHooks& window_hooks();

class MainWindow : public QMainWindow, public StartdialogAnsicht, public ControlWindow {
    Q_OBJECT
public:
    explicit MainWindow(Startdialog& model);
    ~MainWindow() override;

    // StartdialogAnsicht
    void formular_vorbereiten() override;
    void sprache_anwenden() override;
    void geometrie_wiederherstellen() override;
    void zeigen() override;
    void aktualisieren() override;
    void kontrollbild_leeren() override;
    void logging_leeren() override;
    void schliessen_nachholen() override;
    std::optional<Fenstermasse> fenstermasse() override;

    // ControlWindow: the tagged controls whose captions come from the language.
    std::string name() const override { return "Startdialog"; }
    std::string caption() const override;
    void set_caption(const std::string& text) override;
    std::vector<WindowControl*> controls() override;

    // The run port that shows a run in this window.
    WindowRunPort& run_port() { return *run_port_; }

    // The controls, for the run port and the tests.
    SelectionTreeView* baum() const { return baum_; }
    QPushButton* startknopf() const { return ok_; }
    QToolButton* basiswahl() const { return basiswahl_; }
    QLineEdit* basisfeld() const { return basisverzeichnis_; }
    QLineEdit* clonefeld() const { return cloneverzeichnis_; }
    QPlainTextEdit* logging() const { return logging_; }
    ControlPictureBox* kontrollbildbox() const { return kontrollbild_; }
    ProgressBarWidget* gesamtfortschritt() const { return gesamt_; }
    ProgressBarWidget* pfadfortschritt() const { return pfad_; }
    SplitterBar* splitter() const { return splitter_; }
    QAction* menue_optionen() const { return optionen_; }
    QAction* menue_info() const { return info_; }
    QAction* menue_hilfe() const { return hilfe_; }
    QAction* menue_beenden() const { return beenden_; }
    QMenu* zuletzt_menue() const { return zuletzt_; }
    QToolButton* zuletzt_pfeil() const { return zuletzt_pfeil_; }

    // Lays the controls out for the current size (the layout of the model).
    void anordnen();
    // Puts the directory bar onto the row of the tree's current node.
    void pfadfortschritt_anlegen();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void menu_captions();
    void show_recent_list();
    void show_recent_menu();
    void options_clicked();

    Startdialog& model_;
    std::unique_ptr<WindowRunPort> run_port_;
    QWidget* client_ = nullptr;
    QWidget* rahmen_gesamt_ = nullptr;
    QWidget* statuszeile_ = nullptr;
    QToolButton* basiswahl_ = nullptr;
    QToolButton* zuletzt_pfeil_ = nullptr;
    QMenu* zuletzt_ = nullptr;
    QToolButton* clonelabel_ = nullptr;
    QLineEdit* basisverzeichnis_ = nullptr;
    QLineEdit* cloneverzeichnis_ = nullptr;
    SelectionTreeView* baum_ = nullptr;
    SplitterBar* splitter_ = nullptr;
    QWidget* status_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPlainTextEdit* logging_ = nullptr;
    ControlPictureBox* kontrollbild_ = nullptr;
    QLabel* version_ = nullptr;
    ProgressBarWidget* gesamt_ = nullptr;
    ProgressBarWidget* pfad_ = nullptr;
    QAction* optionen_ = nullptr;
    QAction* info_ = nullptr;
    QAction* hilfe_ = nullptr;
    QAction* beenden_ = nullptr;
    QPointer<QDialog> options_dialog_;

    // The captions the language gave the tagged controls, by tag.
    std::map<std::string, std::string> captions_;
    std::vector<std::unique_ptr<WindowControl>> tagged_;
    std::vector<std::string> shown_recent_;
    bool open_maximised_ = false;
    bool closed_ = false;
};

}  // namespace galvora::gui
