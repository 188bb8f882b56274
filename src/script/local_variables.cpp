#include "script/local_variables.h"

#include "script/value.h"

namespace galvora {

std::shared_ptr<ZNSLokaleVariable> ZNSLokaleVariableArray::alloc(std::string_view name, int32_t typ) {
    std::string k = klein(name);
    for (const auto& e : eintraege_)
        if (e->bezeichner == k) return e;
    int32_t offset = typ == 0 ? 1 : -3 - n_;
    for (const auto& e : eintraege_)
        if (e->typ == typ) ++offset;
    auto neu = std::make_shared<ZNSLokaleVariable>();
    neu->bezeichner = std::move(k);
    neu->typ = typ;
    neu->stack_offset = offset;
    eintraege_.push_back(neu);
    return neu;
}

int32_t ZNSLokaleVariableArray::count(int32_t nur_argumente) const {
    if (nur_argumente == 1) return n_;
    return static_cast<int32_t>(eintraege_.size()) - n_;
}

void ZNSLokaleVariableArray::arg_anz(int32_t n) {
    n_ = n;
    for (auto& e : eintraege_)
        if (e->typ == 1) e->stack_offset -= n;
}

}  // namespace galvora
