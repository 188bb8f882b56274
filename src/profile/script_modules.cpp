#include "profile/script_modules.h"

#include <algorithm>

#include "foundation/string_helpers.h"

namespace galvora {

long ZNModule::find(std::string_view name) const {
    for (size_t i = 0; i < modules_.size(); ++i) {
        if (utf8_equal_nocase(modules_[i]->Name(), name)) return static_cast<long>(i);
    }
    return -1;
}

std::shared_ptr<ZNModul> ZNModule::add(std::string_view name, std::string_view inhalt, int32_t status) {
    std::shared_ptr<ZNModul> module;
    long existing = find(name);
    if (existing >= 0) {
        module = modules_[static_cast<size_t>(existing)];
        modules_.erase(modules_.begin() + existing);
    } else {
        module = std::make_shared<ZNModul>();
    }
    module->Name(name);
    module->inhalt(inhalt);
    module->status(status);
    module->verändert(false);
    modules_.push_back(module);
    list_changed_ = true;
    return module;
}

std::shared_ptr<ZNModul> ZNModule::item(long position) const {
    if (position < 1 || position > count()) return nullptr;
    return modules_[static_cast<size_t>(position - 1)];
}

std::shared_ptr<ZNModul> ZNModule::item(std::string_view name) const {
    long index = find(name);
    return index < 0 ? nullptr : modules_[static_cast<size_t>(index)];
}

void ZNModule::remove(long position) {
    if (position >= 1 && position <= count()) modules_.erase(modules_.begin() + (position - 1));
    list_changed_ = true;
}

void ZNModule::remove(std::string_view name) {
    long index = find(name);
    if (index >= 0) modules_.erase(modules_.begin() + index);
    list_changed_ = true;
}

void ZNModule::clear() {
    modules_.clear();
    list_changed_ = true;
}

void ZNModule::clone(ZNModule& target) const {
    if (&target == this) {
        target.list_changed_ = true;
        return;
    }
    target.clear();
    for (const auto& module : modules_) {
        auto copy = target.add(module->Name(), module->inhalt(), module->status());
        copy->verändert(module->verändert());
    }
    target.list_changed_ = true;
}

bool ZNModule::verändert() const {
    if (list_changed_) return true;
    return std::ranges::any_of(modules_, [](const auto& m) { return m->verändert(); });
}

void ZNModule::verändert_reset() {
    for (auto& module : modules_) module->verändert(false);
    list_changed_ = false;
}

}  // namespace galvora
