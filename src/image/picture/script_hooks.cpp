#include "image/picture/script_hooks.h"

#include <stdexcept>
#include <utility>

#include "foundation/worker_threads.h"
#include "image/image_file_record.h"
#include "script/engine.h"
#include "script/machine.h"
#include "script/output.h"

namespace galvora {
namespace {

PictureVariablesSetter& variables_setter() {
    static PictureVariablesSetter setter;
    return setter;
}

ZNSFunktionRef defined_function(const std::string& name) {
    ZNS* engine = zns();
    if (engine == nullptr) return nullptr;
    ZNSFunktionRef f = engine->fkt_oba.funktion_per_bezeichner(name);
    return f && f->typ == FKT_SKRIPT ? f : nullptr;
}

std::map<std::string, std::string>& outputs_ahead() {
    static std::map<std::string, std::string> outputs;
    return outputs;
}

thread_local std::vector<std::string> t_owed;

// Scripts run on the run's thread and in the picture's turn only; a picture
// whose processing runs one is never processed ahead of its turn.
void only_in_turn(const std::string& name) {
    if (current_turn_gate() != nullptr) throw std::logic_error("script function " + name + " run ahead of its turn");
}

}  // namespace

bool constant_script_output(const std::string& name, std::string& text) {
    const ZNSFunktionRef f = defined_function(name);
    if (!f) return false;
    std::string written;
    for (int32_t i = 1; i <= f->ioa.count(); ++i) {
        const ZNSInstruction& ins = f->ioa.inq(i);
        if (ins.op == OP_NOP) continue;
        if (ins.op == OP_ENDE) {
            text = std::move(written);
            return true;
        }
        if (ins.op != OP_AUSGABE || ins.typ1 != OPD_KONSTANTE || !ins.adr1.wert || ins.adr1.wert->typ != TYP_STRING)
            return false;
        written += ins.adr1.wert->als_text();
    }
    return false;
}

void set_outputs_ahead(std::map<std::string, std::string> outputs) { outputs_ahead() = std::move(outputs); }

std::vector<std::string> take_script_runs_owed() { return std::exchange(t_owed, {}); }

bool script_function_defined(const std::string& name) { return defined_function(name) != nullptr; }

void run_script_function(int32_t channel, const std::string& name) {
    only_in_turn(name);
    if (ZNSFunktionRef f = defined_function(name)) ausfuehren(channel, f);
}

std::string script_function_output(const std::string& name) {
    if (current_turn_gate() != nullptr) {
        if (auto found = outputs_ahead().find(name); found != outputs_ahead().end()) {
            t_owed.push_back(name);
            return found->second;
        }
    }
    only_in_turn(name);
    ausgabe_puffer.clear();
    run_script_function(-1, name);
    return std::exchange(ausgabe_puffer, std::string());
}

void set_picture_variables_setter(PictureVariablesSetter setter) { variables_setter() = std::move(setter); }

void set_picture_variables(const ZNImageFile& record) {
    // Ahead of its turn no script runs for the picture (see above), and the
    // run sets the variables again in its turn before any script reads them.
    if (current_turn_gate() != nullptr) return;
    if (variables_setter()) variables_setter()(record);
}

}  // namespace galvora
