#include "generation/script_variables.h"

#include <limits>

#include "foundation/language.h"
#include "foundation/ole_date.h"
#include "generation/run_builtin_host.h"
#include "generation/script_stops.h"
#include "generation/settings_access.h"
#include "image/image_file_record.h"
#include "image/picture/script_hooks.h"
#include "profile/profile_hooks.h"
#include "script/date_text.h"
#include "script/engine.h"

namespace galvora {

Skriptvariablen& skriptvariablen() {
    static Skriptvariablen variables;
    return variables;
}

void skriptvariable_anlegen(ZNSWertRef& slot, std::string_view name, int32_t typ,
                            const std::optional<ZNSWert>& initial) {
    ZNS* engine = zns();
    if (engine == nullptr) return;
    slot = engine->gvar_oba.alloc(name, true);
    slot->typ = typ;
    if (initial) {
        slot->wert = *initial;
        return;
    }
    switch (typ) {
        case TYP_INTEGER: slot->wert = int32_t{0}; break;
        case TYP_DOUBLE: slot->wert = 0.0; break;
        case TYP_STRING: slot->wert = std::string(); break;
        default: break;
    }
}

std::string datum_text(double date) { return ole_datum_formatieren(date, format_datum); }
std::string zeit_text(double date) { return ole_datum_formatieren(date, format_zeit); }

void skriptvariablen_anlegen() {
    if (zns() == nullptr) return;
    Skriptvariablen& v = skriptvariablen();
#define GALVORA_RUN_VARIABLE_CREATE(name, typ) skriptvariable_anlegen(v.name, #name, typ);
    GALVORA_RUN_VARIABLES(GALVORA_RUN_VARIABLE_CREATE)
#undef GALVORA_RUN_VARIABLE_CREATE
    const double now = ole_now();
    ZNSWertRef fixed;
    skriptvariable_anlegen(fixed, "cur_date", TYP_STRING, ZNSWert(datum_text(now)));
    skriptvariable_anlegen(fixed, "cur_time", TYP_STRING, ZNSWert(zeit_text(now)));
    skriptvariable_anlegen(fixed, "html", TYP_STRING, ZNSWert(setting_text(kSetHtmlExtension)));
    skriptvariable_anlegen(fixed, "html_path", TYP_STRING, ZNSWert(setting_text(kSetHtmlBase)));
    skriptvariable_anlegen(fixed, "thumb_path", TYP_STRING, ZNSWert(setting_text(kSetThumbDirname)));
}

void erzeugung_anmelden() {
    profile_hooks().script_variables_create = skriptvariablen_anlegen;
    set_picture_variables_setter(bildvariablen_setzen);
    set_builtin_host(&run_builtin_host());
    skriptabbrueche_anmelden();
}

void variable_setzen(const ZNSWertRef& variable, std::string_view text) {
    if (!variable) return;
    // The run's own names and paths go in also when a script used up the memory.
    WertspeicherReserve reserve;
    if (variable->typ == TYP_STRING) {
        variable->wert = std::string(text);
    } else {
        variable->set_string(std::string(text));
    }
}

void variable_setzen(const ZNSWertRef& variable, int32_t number) {
    if (!variable) return;
    if (variable->typ == TYP_DOUBLE) {
        variable->wert = static_cast<double>(number);
    } else {
        variable->set_integer(number);
    }
}

void variable_setzen(const ZNSWertRef& variable, double number) {
    if (!variable) return;
    variable->set_double(number);
}

void variable_setzen_bytes(const ZNSWertRef& variable, int64_t bytes) {
    if (!variable) return;
    if (bytes >= std::numeric_limits<int32_t>::min() && bytes <= std::numeric_limits<int32_t>::max()) {
        variable->set_integer(static_cast<int32_t>(bytes));
    } else {
        variable->set_double(static_cast<double>(bytes));
    }
}

void bildvariablen_setzen(const ZNImageFile& r) {
    Skriptvariablen& v = skriptvariablen();
    variable_setzen(v.file, r.CDateiname);
    variable_setzen(v.ext, r.CDateiart);
    variable_setzen(v.file_original, r.ODateiname);
    variable_setzen(v.ext_original, r.ODateiart);
    if (r.CDatum <= 0) {
        variable_setzen(v.date, "");
        variable_setzen(v.time, "");
    } else {
        variable_setzen(v.date, datum_text(r.CDatum));
        variable_setzen(v.time, zeit_text(r.CDatum));
    }
    variable_setzen(v.size_byte_original, r.OBytes);
    variable_setzen(v.size_byte, r.CBytes);
    variable_setzen(v.size_kbyte, static_cast<double>(r.CBytes) / 1024.0);
    variable_setzen(v.size_mbyte, static_cast<double>(r.CBytes) / 1024.0 / 1024.0);
    variable_setzen(v.dim, std::to_string(r.CDimX) + " x " + std::to_string(r.CDimY));
    variable_setzen(v.dimx, r.CDimX);
    variable_setzen(v.dimy, r.CDimY);
    variable_setzen(v.dimx_original, r.ODimX);
    variable_setzen(v.dimy_original, r.ODimY);
    variable_setzen(v.thumb_dimx, r.TDimX);
    variable_setzen(v.thumb_dimy, r.TDimY);
    variable_setzen(v.clone_quality, r.CQualität);
}

void pfadvariablen_loeschen() {
    Skriptvariablen& v = skriptvariablen();
    variable_setzen(v.full_path, "");
    variable_setzen(v.path, "");
    for (const ZNSWertRef* counter :
         {&v.count_cur_path, &v.count_prev_path, &v.count_next_path, &v.count_pages, &v.count_files,
          &v.count_page_files, &v.count_cur_page, &v.count_prev_page, &v.count_next_page}) {
        variable_setzen(*counter, int32_t{0});
    }
    variable_setzen_bytes(v.size_byte_path, 0);
    variable_setzen_bytes(v.size_byte_path_original, 0);
}

}  // namespace galvora
