#include "profile/picture_effect.h"

#include "foundation/error.h"

namespace galvora {

namespace {

struct ParameterDefault {
    int32_t kind;
    bool is_long;
    int index;
    double value;
};

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBrown = 128 | (64 << 8);  // red 128, green 64, blue 0

constexpr ParameterDefault kDefaults[] = {
    {0, true, 1, 50},    {0, true, 2, 7},
    {1, false, 1, 1.0},
    {2, false, 1, 0},    {2, false, 2, 0},
    {3, true, 1, 50},    {3, true, 2, 7},    {3, false, 1, 0.5},
    {4, false, 1, 1.0},
    {5, true, 1, 50},    {5, true, 2, 7},    {5, false, 1, 0.5},  {5, false, 2, 2.0},
    {12, true, 1, 10},   {12, true, 2, 10},
    {13, true, 1, 0},
    {14, true, 1, 1},
    {15, true, 1, 10},   {15, true, 2, 135}, {15, true, 3, kWhite}, {15, true, 4, 0},
    {15, true, 5, 0},    {15, true, 6, 10},
    {16, true, 1, 1000}, {16, true, 2, 0},   {16, true, 3, 7},
    {20, true, 1, 3},    {20, true, 2, 16},  {20, true, 3, 0},
    {21, false, 1, 0.5}, {21, true, 1, 0},   {21, true, 2, 0},
    {22, false, 1, 0.1}, {22, false, 2, 0},  {22, false, 3, 0},
    {23, true, 1, kBrown},
    {24, true, 1, 3},
    {25, true, 1, 2},    {25, true, 2, 20},  {25, true, 3, 0},
};

void check_parameter_index(int index) {
    if (index < 0 || index > 10) throw GalvoraError(9, "CBildEffekt", "Subscript out of range");
}

}  // namespace

CBildEffekt::CBildEffekt() : CCloneEffekt("Imageeffect") { ResetToBildeffekt(0); }

void CBildEffekt::Bildeffektart(int32_t kind) {
    if (kind == kind_) return;
    kind_ = kind;
    ResetToBildeffekt(kind);
    verändert(true);
}

void CBildEffekt::ResetToBildeffekt(int32_t kind) {
    for (const auto& d : kDefaults) {
        if (d.kind != kind) continue;
        if (d.is_long) {
            longs_[static_cast<size_t>(d.index)] = static_cast<int32_t>(d.value);
        } else {
            doubles_[static_cast<size_t>(d.index)] = d.value;
        }
    }
}

int32_t CBildEffekt::LongArray(int index) const {
    check_parameter_index(index);
    return longs_[static_cast<size_t>(index)];
}

void CBildEffekt::LongArray(int index, int32_t value) {
    check_parameter_index(index);
    change(longs_[static_cast<size_t>(index)], value);
}

double CBildEffekt::DoubleArray(int index) const {
    check_parameter_index(index);
    return doubles_[static_cast<size_t>(index)];
}

void CBildEffekt::DoubleArray(int index, double value) {
    check_parameter_index(index);
    double& stored = doubles_[static_cast<size_t>(index)];
    // Only a value that is really smaller or greater counts as a change.
    if (value < stored || value > stored) {
        stored = value;
        verändert(true);
    }
}

void CBildEffekt::clone(CCloneEffekt& target) const {
    auto& t = same_class<CBildEffekt>(target);
    t.Description(Description());
    t.Bildeffektart(Bildeffektart());
    for (int i = 1; i <= 10; ++i) {
        t.LongArray(i, LongArray(i));
        t.DoubleArray(i, DoubleArray(i));
    }
}

}  // namespace galvora
