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

ZNSFunktionRef ZNSFunktionArray::finden(std::string_view k) const {
    auto it = index_.find(std::string(k));
    return it == index_.end() ? nullptr : it->second;
}

ZNSFunktionRef ZNSFunktionArray::anhaengen(std::string_view name, int32_t typ, bool ist_global,
                                           std::string_view modulname) {
    auto f = std::make_shared<ZNSFunktion>();
    f->init(name, typ, ist_global, modulname);
    liste_.push_back(f);
    index_.emplace(f->bezeichner, f);
    return f;
}

template <class Bedingung>
void ZNSFunktionArray::entfernen_wenn(Bedingung weg) {
    std::erase_if(liste_, [this, &weg](const ZNSFunktionRef& f) {
        if (!weg(*f)) return false;
        f->entfernt = true;
        index_.erase(f->bezeichner);
        return true;
    });
}

ZNSFunktionRef ZNSFunktionArray::eintrag(std::string_view name, int32_t typ, bool ist_global,
                                         std::string_view modulname) {
    if (auto f = finden(klein(name))) {
        f->modulname = std::string(modulname);
        f->typ = typ;
        f->ist_global = ist_global;
        return f;
    }
    return anhaengen(name, typ, ist_global, modulname);
}

ZNSFunktionRef ZNSFunktionArray::reserviere(std::string_view name, int32_t typ, std::string_view modulname) {
    if (auto f = finden(klein(name))) return f;
    return anhaengen(name, typ, false, modulname);
}

void ZNSFunktionArray::lösche_funktion(std::string_view name) {
    const std::string k = klein(name);
    if (finden(k)) entfernen_wenn([&k](const ZNSFunktion& f) { return f.bezeichner == k; });
}

void ZNSFunktionArray::lösche_modul(std::string_view modulname) {
    entfernen_wenn([modulname](const ZNSFunktion& f) { return gleich_ohne_gross_klein(f.modulname, modulname); });
}

void ZNSFunktionArray::lösche_ausser_intern() {
    entfernen_wenn([](const ZNSFunktion& f) { return f.typ != FKT_INTERN; });
}

ZNSFunktionArray::Stand ZNSFunktionArray::stand() const {
    Stand stand;
    stand.reserve(liste_.size());
    for (const auto& f : liste_) stand.push_back({f, f->typ, f->ist_global, f->modulname});
    return stand;
}

void ZNSFunktionArray::wiederherstellen(const Stand& stand) {
    for (const auto& f : liste_) f->entfernt = true;
    liste_.clear();
    index_.clear();
    for (const Eintragsstand& e : stand) {
        ZNSFunktion& f = *e.funktion;
        // Compiling a reserved name fills its entry in place.
        if (e.typ == FKT_RESERVIERT && f.typ != FKT_RESERVIERT) f.reset();
        f.typ = e.typ;
        f.ist_global = e.ist_global;
        f.modulname = e.modulname;
        f.entfernt = false;
        liste_.push_back(e.funktion);
        index_.emplace(f.bezeichner, e.funktion);
    }
}

ZNSFunktionRef ZNSFunktionArray::funktion_per_bezeichner(std::string_view name) const { return finden(klein(name)); }

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

ZNSGlobaleVariableArray::Stand ZNSGlobaleVariableArray::stand() const {
    Stand stand(reihenfolge_.size());
    for (size_t i = 0; i < reihenfolge_.size(); ++i) {
        stand[i].first = reihenfolge_[i];
        reihenfolge_[i]->copy(stand[i].second);
    }
    return stand;
}

void ZNSGlobaleVariableArray::wiederherstellen(Stand stand) {
    reihenfolge_.clear();
    namen_.clear();
    for (auto& [variable, wert] : stand) {
        // Moved, not copied: a long text needs no memory a second time.
        variable->typ = wert.typ;
        variable->wert = std::move(wert.wert);
        reihenfolge_.push_back(variable);
        namen_.emplace(variable->bezeichner, variable);
    }
}

}  // namespace galvora
