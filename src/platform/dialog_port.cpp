#include "platform/dialog_port.h"

namespace galvora {

namespace {

class CancellingDialogPort : public DialogPort {
public:
    std::string choose_file(const FileDialogRequest&) override { return {}; }
    std::string choose_folder(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::optional<uint32_t> choose_colour(const std::string&, uint32_t) override { return std::nullopt; }
};

DialogPort*& port_slot() {
    static DialogPort* port = nullptr;
    return port;
}

}  // namespace

DialogPort& dialog_port() {
    static CancellingDialogPort cancelling;
    DialogPort* port = port_slot();
    return port != nullptr ? *port : cancelling;
}

void set_dialog_port(DialogPort* port) { port_slot() = port; }

}  // namespace galvora
