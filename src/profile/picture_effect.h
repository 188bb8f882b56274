#pragma once
// Picture effect: one of 26 effect kinds with ten integer and ten double
// parameters (index 0 exists but is not used).
#include <array>

#include "profile/clone_effect.h"

namespace galvora {

inline constexpr int32_t kPictureEffectKinds = 26;  // kinds 0 to 25

class CBildEffekt : public CCloneEffekt {
public:
    CBildEffekt();

    Art art() const override { return Art::BildEffekt; }
    std::shared_ptr<CCloneEffekt> neu() const override { return std::make_shared<CBildEffekt>(); }
    void clone(CCloneEffekt& target) const override;

    int32_t Bildeffektart() const { return kind_; }
    // A different kind is stored and its defaults are written into the parameters.
    void Bildeffektart(int32_t kind);

    // Writes the kind's default parameters (not through the setters; the mark
    // is untouched); parameters without a default keep their value.
    void ResetToBildeffekt(int32_t kind);

    // Index 0 to 10; another index raises a subscript error (9).
    int32_t LongArray(int index) const;
    void LongArray(int index, int32_t value);
    double DoubleArray(int index) const;
    void DoubleArray(int index, double value);

private:
    int32_t kind_ = 0;
    std::array<int32_t, 11> longs_{};
    std::array<double, 11> doubles_{};
};

}  // namespace galvora
