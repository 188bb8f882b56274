// dirinfo, imageinfo, callstack and filenamepart.
#include "foundation/path_helpers.h"
#include "script/builtins/host_access.h"
#include "script/machine.h"

namespace galvora::builtins {

namespace {

void dirinfo_(Aufruf& a) {
    a.anzahl_pruefen(2, 2);
    const int32_t n = a.integer_arg(1);
    a.symbol_arg(2);
    ZNS& e = a.engine();
    int32_t modus = -1;
    if (a.ist_symbol(2, e.sym_count)) modus = 0;
    else if (a.ist_symbol(2, e.sym_dirname)) modus = 1;
    else melden(QIM_ARGUMENT);
    ZNSVariable wert;
    if (!host().verzeichnis_info(n, modus, wert)) melden(20);
    wert.copy(a.result());
}

void imageinfo_(Aufruf& a) {
    a.anzahl_pruefen(2, 3);
    int32_t d = 0, p = 0;
    if (a.anzahl() == 3) {
        d = a.integer_arg(1);
        p = a.integer_arg(2);
    } else {
        p = a.integer_arg(1);
    }
    const int32_t letztes = a.anzahl();
    a.symbol_arg(letztes);
    ZNS& e = a.engine();
    const std::pair<const ZNSWertRef*, int32_t> codes[] = {
        {&e.sym_ref, 2},       {&e.sym_docref, 3},    {&e.sym_filename, 4},   {&e.sym_filetype, 5},
        {&e.sym_date, 6},      {&e.sym_size, 7},      {&e.sym_dimx, 8},       {&e.sym_dimy, 9},
        {&e.sym_thumbref, 10}, {&e.sym_thumbname, 11}, {&e.sym_thumbtype, 12}, {&e.sym_thumbdimx, 13},
        {&e.sym_thumbdimy, 14},
    };
    int32_t code = 0;
    for (const auto& [symbol, c] : codes)
        if (a.ist_symbol(letztes, *symbol)) code = c;
    if (code == 0) melden(QIM_ARGUMENT);
    ZNSVariable wert;
    if (!host().bild_info(d, p, code, wert)) melden(21);
    wert.copy(a.result());
}

void callstack_(Aufruf& a) {
    a.anzahl_pruefen(0, 0);
    // The innermost frame is callstack itself, the next the function it stands in.
    a.result().set_string(aufrufstapel(2));
}

void filenamepart_(Aufruf& a) {
    a.anzahl_pruefen(2, 2);
    const std::string& pfad = a.string_arg(1);
    a.symbol_arg(2);
    ZNS& e = a.engine();
    PathParts teile = pfad_zerlegen(pfad);
    if (a.ist_symbol(2, e.sym_drivename)) return a.result().set_string(teile.drive);
    if (a.ist_symbol(2, e.sym_dirname)) return a.result().set_string(teile.directory);
    if (a.ist_symbol(2, e.sym_filename)) return a.result().set_string(teile.name);
    if (a.ist_symbol(2, e.sym_filetype)) return a.result().set_string(teile.extension);
    melden(QIM_ARGUMENTTYP);
}

}  // namespace

void lauf_builtins_registrieren() {
    eingebaut("dirinfo", dirinfo_);
    eingebaut("imageinfo", imageinfo_);
    eingebaut("callstack", callstack_);
    eingebaut("filenamepart", filenamepart_);
}

}  // namespace galvora::builtins
