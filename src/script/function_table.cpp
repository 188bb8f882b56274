#include "script/function_table.h"

namespace galvora {

void ZNSFunktion::init(std::string_view name, int32_t t, bool global, std::string_view modul) {
    bezeichner = klein(name);
    typ = t;
    ist_global = global;
    modulname = std::string(modul);
}

int32_t ZNSFunktion::set_gvar(const ZNSWertRef& variable) {
    for (size_t i = 0; i < gvar_.size(); ++i)
        if (gvar_[i] == variable) return static_cast<int32_t>(i) + 1;
    gvar_.push_back(variable);
    return gvar_anz();
}

ZNSWertRef ZNSFunktion::inq_gvar(std::string_view name) const {
    std::string k = klein(name);
    for (const auto& g : gvar_)
        if (g->bezeichner == k) return g;
    return nullptr;
}

void ZNSFunktion::reset() {
    ioa.reset();
    lvar = ZNSLokaleVariableArray();
    gvar_.clear();
}

void ZNSFunktionArray::entfernen(size_t i) {
    liste_[i]->entfernt = true;
    liste_.erase(liste_.begin() + static_cast<long>(i));
}

long ZNSFunktionArray::position(std::string_view k) const {
    for (size_t i = 0; i < liste_.size(); ++i)
        if (liste_[i]->bezeichner == k) return static_cast<long>(i);
    return -1;
}

ZNSFunktionRef ZNSFunktionArray::eintrag(std::string_view name, int32_t typ, bool ist_global,
                                         std::string_view modulname) {
    if (long i = position(klein(name)); i >= 0) {
        auto& f = liste_[static_cast<size_t>(i)];
        f->modulname = std::string(modulname);
        f->typ = typ;
        f->ist_global = ist_global;
        return f;
    }
    auto f = std::make_shared<ZNSFunktion>();
    f->init(name, typ, ist_global, modulname);
    liste_.push_back(f);
    return f;
}

ZNSFunktionRef ZNSFunktionArray::reserviere(std::string_view name, int32_t typ, std::string_view modulname) {
    if (long i = position(klein(name)); i >= 0) return liste_[static_cast<size_t>(i)];
    auto f = std::make_shared<ZNSFunktion>();
    f->init(name, typ, false, modulname);
    liste_.push_back(f);
    return f;
}

void ZNSFunktionArray::lösche_funktion(std::string_view name) {
    if (long i = position(klein(name)); i >= 0) entfernen(static_cast<size_t>(i));
}

void ZNSFunktionArray::lösche_modul(std::string_view modulname) {
    for (long i = count() - 1; i >= 0; --i)
        if (gleich_ohne_gross_klein(liste_[static_cast<size_t>(i)]->modulname, modulname))
            entfernen(static_cast<size_t>(i));
}

void ZNSFunktionArray::lösche_ausser_intern() {
    for (long i = count() - 1; i >= 0; --i)
        if (liste_[static_cast<size_t>(i)]->typ != FKT_INTERN) entfernen(static_cast<size_t>(i));
}

ZNSFunktionRef ZNSFunktionArray::funktion_per_bezeichner(std::string_view name) const {
    long i = position(klein(name));
    return i >= 0 ? liste_[static_cast<size_t>(i)] : nullptr;
}

ZNSFunktionRef ZNSFunktionArray::funktion_fehlt() const {
    for (const auto& f : liste_)
        if (f->typ == FKT_RESERVIERT) return f;
    return nullptr;
}

ZNSWertRef ZNSGlobaleVariableArray::alloc(std::string_view name, bool readonly) {
    std::string k = klein(name);
    if (auto it = namen_.find(k); it != namen_.end()) return it->second;
    auto v = neuer_wert();
    v->bezeichner = k;
    v->readonly = readonly;
    namen_.emplace(std::move(k), v);
    reihenfolge_.push_back(v);
    return v;
}

ZNSWertRef ZNSGlobaleVariableArray::inq(std::string_view name) const {
    auto it = namen_.find(klein(name));
    return it == namen_.end() ? nullptr : it->second;
}

}  // namespace galvora
