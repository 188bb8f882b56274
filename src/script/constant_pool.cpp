#include "script/constant_pool.h"

#include <cstring>

namespace galvora {

ZNSWertRef ZNSKonstanteArray::i_alloc(int32_t v) {
    auto& slot = integer_[v];
    if (!slot) {
        slot = neuer_wert();
        slot->set_integer(v);
        slot->readonly = true;
    }
    return slot;
}

ZNSWertRef ZNSKonstanteArray::d_alloc(double v) {
    // Doubles compare by value, as the pool always did (so 0.0 and -0.0 share).
    for (const auto& [d, w] : double_)
        if (d == v) return w;
    auto w = neuer_wert();
    w->set_double(v);
    w->readonly = true;
    double_.emplace_back(v, w);
    return w;
}

ZNSWertRef ZNSKonstanteArray::s_alloc(std::string_view v) {
    auto [it, neu] = string_.try_emplace(std::string(v));
    if (neu) {
        it->second = neuer_wert();
        it->second->set_string(std::string(v));
        it->second->readonly = true;
    }
    return it->second;
}

ZNSWertRef ZNSKonstanteArray::e_alloc(std::string_view name) {
    std::string k = klein(name);
    if (auto it = symbol_namen_.find(k); it != symbol_namen_.end()) return it->second;
    auto w = neuer_wert();
    w->bezeichner = k;
    w->set_symbol(static_cast<int32_t>(symbole_.size()) + 1);
    w->readonly = true;
    symbole_.push_back(w);
    symbol_namen_.emplace(std::move(k), w);
    return w;
}

std::string ZNSKonstanteArray::e_name(int32_t nummer) const {
    if (nummer < 1 || nummer > symbol_anzahl()) return "ERROR!!!";
    return symbole_[static_cast<size_t>(nummer - 1)]->bezeichner;
}

}  // namespace galvora
