#pragma once
// Compile-time table of one function's arguments and local variables: each
// gets its slot relative to the frame base of the instruction machine.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace galvora {

struct ZNSLokaleVariable {
    std::string bezeichner;    // lower-cased name
    int32_t typ = 0;           // 0 local variable, 1 argument
    int32_t stack_offset = 0;  // offset from the frame base
};

class ZNSLokaleVariableArray {
public:
    // The entry of that name (any typ), else a new one with the next offset:
    // locals 1, 2, 3 ...; arguments -3 - n, -2 - n ... up to -4.
    std::shared_ptr<ZNSLokaleVariable> alloc(std::string_view name, int32_t typ);
    void reset() { eintraege_.clear(); }
    // 1: the argument count; otherwise the number of entries less the arguments.
    int32_t count(int32_t nur_argumente) const;
    // Sets the argument count and shifts the arguments already present.
    void arg_anz(int32_t n);

    const std::vector<std::shared_ptr<ZNSLokaleVariable>>& eintraege() const { return eintraege_; }

private:
    std::vector<std::shared_ptr<ZNSLokaleVariable>> eintraege_;
    int32_t n_ = 0;
};

}  // namespace galvora
