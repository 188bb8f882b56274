#include "image/picture/script_hooks.h"

#include <utility>

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

}  // namespace

bool script_function_defined(const std::string& name) { return defined_function(name) != nullptr; }

void run_script_function(int32_t channel, const std::string& name) {
    if (ZNSFunktionRef f = defined_function(name)) ausfuehren(channel, f);
}

std::string script_function_output(const std::string& name) {
    ausgabe_puffer.clear();
    run_script_function(-1, name);
    return std::exchange(ausgabe_puffer, std::string());
}

void set_picture_variables_setter(PictureVariablesSetter setter) { variables_setter() = std::move(setter); }

void set_picture_variables(const ZNImageFile& record) {
    if (variables_setter()) variables_setter()(record);
}

}  // namespace galvora
