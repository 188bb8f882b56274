#include "generation/run_port.h"

namespace galvora {

bool CancelRequested = false;

namespace {

RunPort*& port_slot() {
    static RunPort* port = nullptr;
    return port;
}

}  // namespace

RunPort& run_port() {
    static RunPort silent;
    RunPort* port = port_slot();
    return port != nullptr ? *port : silent;
}

void set_run_port(RunPort* port) { port_slot() = port; }

bool abbruch_pruefen() {
    run_port().process_events();
    return CancelRequested;
}

}  // namespace galvora
