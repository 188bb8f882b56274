#include "platform/dialog_port.h"

namespace galvora {

namespace {

DialogPort*& installed_port() {
    static DialogPort* port = nullptr;
    return port;
}

}  // namespace

DialogPort& dialog_port() {
    static HeadlessDialogPort headless;
    DialogPort* port = installed_port();
    return port != nullptr ? *port : headless;
}

void set_dialog_port(DialogPort* port) { installed_port() = port; }

}  // namespace galvora
