#pragma once
// The ordered list of a profile's clone effects, applied in list order to
// every clone. Members are shared objects.
#include <memory>
#include <vector>

#include "profile/clone_effect.h"

namespace galvora {

class CCloneEffekte {
public:
    void add(std::shared_ptr<CCloneEffekt> effect);
    // 1-based; a position outside the list does nothing.
    void remove(long index);
    // Swap with the predecessor / successor. Moving changes what a saved
    // profile holds, so it marks the list changed.
    void moveup(long index);
    void movedown(long index);
    // 1-based; nullptr when the position does not exist.
    std::shared_ptr<CCloneEffekt> item(long index) const;
    long count() const { return static_cast<long>(members_.size()); }
    void clear();
    // Makes target an equal, independent copy: new objects of each member's
    // class, settings copied, each member's mark carried over. Target counts
    // as changed afterwards.
    void clone(CCloneEffekte& target) const;

    void verändert(bool value) { list_changed_ = value; }
    bool verändert() const;
    void verändert_reset();

    auto begin() const { return members_.begin(); }
    auto end() const { return members_.end(); }

private:
    std::vector<std::shared_ptr<CCloneEffekt>> members_;
    bool list_changed_ = false;
};

}  // namespace galvora
