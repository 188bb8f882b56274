#include "gui/window_program.h"

#include <QApplication>

#include "app/help.h"
#include "app/main_window.h"
#include "foundation/program_info.h"
#include "generation/browser_launch.h"
#include "generation/run_port.h"
#include "gui/about_box_view.h"
#include "gui/main_window.h"
#include "gui/options/options_dialog_view.h"
#include "gui/program_icon.h"
#include "gui/qt_dialog_port.h"
#include "gui/qt_ui_port.h"
#include "gui/window_run_port.h"
#include "options/hand_off.h"
#include "options/options_dialog.h"
#include "options/page_services.h"
#include "platform/dialog_port.h"
#include "platform/launcher.h"
#include "platform/ui_port.h"
#include "profile/profile_hooks.h"

namespace galvora::gui {

WindowProgram::WindowProgram() {
    // Every window shows the program's icon, and the desktop matches them to
    // the launcher entry.
    programm_symbol_setzen();
    // Every profile applied fills the options dialog's pages, which set the
    // run state from it, as in the program without windows.
    optionen_anmelden();
    window_hooks().make_options_dialog = [](QWidget* owner) -> QDialog* { return optionen_ansicht_erzeugen(owner); };
    window_hooks().unload_options_dialog = [] {
        optionen_groesse_speichern();
        optionen_ansicht_freigeben();
        optionen_freigeben();
    };
    window_hooks().show_about_box = [](QWidget* owner) { zeige_infobox(owner); };
    // F1 in the options dialog opens the help page of the page shown.
    set_options_help_opener([](int context) { HtmlHelpContext(context); });
    // A language chosen in the options reaches the main window at once.
    page_services().main_window_language = [] { startdialog_sprache(startdialog()); };
    // A browser that fails after it started is heard of on another thread;
    // the message is shown on the window's.
    set_launch_failure_reporter([](const std::string& target) {
        if (QCoreApplication* application = QCoreApplication::instance())
            QMetaObject::invokeMethod(application, [target] { seite_nicht_geoeffnet(target); }, Qt::QueuedConnection);
    });
}

WindowProgram::~WindowProgram() {
    if (window_ != nullptr) {
        if (&run_port() == &window_->run_port()) set_run_port(nullptr);
        if (startdialog().ansicht == window_.get()) startdialog().ansicht = nullptr;
        window_.reset();
    }
    set_launch_failure_reporter(nullptr);
    window_hooks() = WindowHooks{};
    set_options_help_opener(nullptr);
    page_services().main_window_language = page_service_stand_ins().main_window_language;
    profile_hooks().options_dialog_reload = nullptr;
}

void WindowProgram::startdialog_zeigen(CommandArguments* arguments) {
    // A new window starts from a new state.
    startdialog() = Startdialog{};
    window_ = std::make_unique<MainWindow>(startdialog());
    startdialog().ansicht = window_.get();
    set_run_port(&window_->run_port());
    startdialog_laden(arguments);
}

bool WindowProgram::startdialog_schliessen() { return window_ == nullptr || window_->close(); }

int WindowProgram::ereignisse_verarbeiten() {
    if (window_ == nullptr || !window_->isVisible()) return kExitDone;
    QApplication::setQuitOnLastWindowClosed(true);
    return QApplication::exec();
}

int fensterprogramm_ausfuehren(int argc, char** argv) {
    int qt_argc = argc;
    QApplication application(qt_argc, argv);
    QApplication::setApplicationName(QString::fromStdString(product_name()));
    QtUiPort messages;
    QtDialogPort dialogs;
    set_ui_port(&messages);
    set_dialog_port(&dialogs);
    int status = kExitDone;
    {
        WindowProgram program;
        status = Main(qt_argc, argv, &program);
    }
    set_dialog_port(nullptr);
    set_ui_port(nullptr);
    return status;
}

}  // namespace galvora::gui
