#pragma once
// The predefined script variables through which templates and hooks see a
// run: 85 read-only globals of the script engine. The engine keeps a
// reference to the first 80 and sets them directly; the last five are fixed
// when the variables are created.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "script/value.h"

namespace galvora {

class ZNImageFile;

// Name and type code of the 80 variables the engine sets, in creation order.
#define GALVORA_RUN_VARIABLES(X)                                                                              \
    X(profile, 4) X(file_prefix, 4) X(thumb_dim, 1) X(count_base_all_path, 1) X(count_all_path, 1)            \
    X(count_pages, 1) X(count_base_all_files, 1) X(count_all_files, 1) X(count_files, 1)                      \
    X(count_page_files, 1) X(count_cur_path, 1) X(count_cur_all_files, 1) X(count_cur_file, 1)                \
    X(count_cur_file_in_page, 1) X(count_cur_file_in_row, 1) X(count_prev_path, 1) X(count_next_path, 1)      \
    X(count_prev_file, 1) X(count_next_file, 1) X(count_cur_page, 1) X(count_prev_page, 1)                    \
    X(count_next_page, 1) X(count_cur_row, 1) X(galvora_absolute, 4) X(base_absolute, 4)                      \
    X(clone_absolute, 4) X(path_absolute, 4) X(path_absolute_original, 4) X(html_absolute, 4)                 \
    X(prev_doc, 4) X(index_doc, 4) X(up_doc, 4) X(next_doc, 4) X(src_doc, 4) X(doc, 4) X(parent_path, 4)      \
    X(full_path, 4) X(path, 4) X(file, 4) X(ext, 4) X(file_original, 4) X(ext_original, 4) X(date, 4)         \
    X(time, 4) X(dim, 4) X(dimx, 1) X(dimy, 1) X(dimx_original, 1) X(dimy_original, 1) X(size_byte, 1)        \
    X(size_kbyte, 2) X(size_mbyte, 2) X(size_byte_original, 1) X(clone_quality, 1) X(prev_ref, 4)             \
    X(index_ref, 4) X(up_ref, 4) X(next_ref, 4) X(src_ref, 4) X(pic_ref, 4) X(thumb_ref, 4)                   \
    X(thumb_dimx, 1) X(thumb_dimy, 1) X(deco_ref, 4) X(first_doc, 4) X(first_path_doc, 4)                     \
    X(first_page_doc, 4) X(last_doc, 4) X(last_path_doc, 4) X(last_page_doc, 4) X(first_ref, 4)               \
    X(first_path_ref, 4) X(first_page_ref, 4) X(last_ref, 4) X(last_path_ref, 4) X(last_page_ref, 4)          \
    X(size_byte_all, 1) X(size_byte_path, 1) X(size_byte_all_original, 1) X(size_byte_path_original, 1)

// The engine's references to its variables; empty until skriptvariablen_anlegen.
struct Skriptvariablen {
#define GALVORA_RUN_VARIABLE_FIELD(name, typ) ZNSWertRef name;
    GALVORA_RUN_VARIABLES(GALVORA_RUN_VARIABLE_FIELD)
#undef GALVORA_RUN_VARIABLE_FIELD
};

Skriptvariablen& skriptvariablen();

// Finds or creates (read-only) the global of that name, stores the reference
// in slot, sets the type code and the value: the initial value when given,
// else 0, 0.0 or "" by type.
void skriptvariable_anlegen(ZNSWertRef& slot, std::string_view name, int32_t typ,
                            const std::optional<ZNSWert>& initial = std::nullopt);

// Creates all 85 predefined variables in the current engine (a second call
// finds them and resets type and value). Does nothing without an engine.
void skriptvariablen_anlegen();

// Registers skriptvariablen_anlegen with the profile operations, which call
// it after every reset of the script engine, and bildvariablen_setzen with
// the picture object, which sets the picture variables before its hooks, and
// installs the engine's host of the script built-ins.
void erzeugung_anmelden();

// The per-picture group from a picture-file record.
void bildvariablen_setzen(const ZNImageFile& record);

// The per-directory group back to "" and 0.
void pfadvariablen_loeschen();

// Setters that keep the variable's own type: a text variable gets text, an
// integer one an integer. A byte total beyond 32 bits is stored as a double,
// so that it is never cut. Unset references (no engine) are ignored.
void variable_setzen(const ZNSWertRef& variable, std::string_view text);
void variable_setzen(const ZNSWertRef& variable, int32_t number);
void variable_setzen(const ZNSWertRef& variable, double number);
void variable_setzen_bytes(const ZNSWertRef& variable, int64_t bytes);

// A date value formatted with the language's date or time pattern.
std::string datum_text(double date);
std::string zeit_text(double date);

}  // namespace galvora
