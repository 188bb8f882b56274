#pragma once
// The constant pool: one pool per type (integer, double, string, symbol);
// each value exists at most once and is shared by every instruction using it.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/value.h"

namespace galvora {

class ZNSKonstanteArray {
public:
    ZNSWertRef i_alloc(int32_t v);
    ZNSWertRef d_alloc(double v);
    ZNSWertRef s_alloc(std::string_view v);
    // The symbol of that name (any case); new symbols get the next number.
    ZNSWertRef e_alloc(std::string_view name);
    // Lower-case name of symbol number n, or "ERROR!!!".
    std::string e_name(int32_t nummer) const;
    int32_t symbol_anzahl() const { return static_cast<int32_t>(symbole_.size()); }

private:
    // Lookups go through hash maps keyed by the value; the pools keep creation order.
    std::unordered_map<int32_t, ZNSWertRef> integer_;
    std::vector<std::pair<double, ZNSWertRef>> double_;
    std::unordered_map<std::string, ZNSWertRef> string_;
    std::vector<ZNSWertRef> symbole_;
    std::unordered_map<std::string, ZNSWertRef> symbol_namen_;
};

}  // namespace galvora
