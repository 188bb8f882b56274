#include "profile/clone_effect_list.h"

#include <algorithm>
#include <utility>

namespace galvora {

void CCloneEffekte::add(std::shared_ptr<CCloneEffekt> effect) {
    if (!effect) return;
    members_.push_back(std::move(effect));
    list_changed_ = true;
}

void CCloneEffekte::remove(long index) {
    if (index < 1 || index > count()) return;
    members_.erase(members_.begin() + (index - 1));
    list_changed_ = true;
}

void CCloneEffekte::moveup(long index) {
    if (index <= 1 || index > count()) return;
    std::swap(members_[static_cast<size_t>(index - 1)], members_[static_cast<size_t>(index - 2)]);
    list_changed_ = true;
}

void CCloneEffekte::movedown(long index) {
    if (index < 1 || index >= count()) return;
    std::swap(members_[static_cast<size_t>(index - 1)], members_[static_cast<size_t>(index)]);
    list_changed_ = true;
}

std::shared_ptr<CCloneEffekt> CCloneEffekte::item(long index) const {
    if (index < 1 || index > count()) return nullptr;
    return members_[static_cast<size_t>(index - 1)];
}

void CCloneEffekte::clear() {
    members_.clear();
    list_changed_ = true;
}

void CCloneEffekte::clone(CCloneEffekte& target) const {
    if (&target == this) {
        target.list_changed_ = true;
        return;
    }
    target.clear();
    for (const auto& member : members_) {
        auto copy = member->neu();
        target.add(copy);
        member->clone(*copy);
        copy->verändert(member->verändert());
    }
}

bool CCloneEffekte::verändert() const {
    if (list_changed_) return true;
    return std::ranges::any_of(members_, [](const auto& m) { return m->verändert(); });
}

void CCloneEffekte::verändert_reset() {
    list_changed_ = false;
    for (auto& member : members_) member->verändert(false);
}

}  // namespace galvora
