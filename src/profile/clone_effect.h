#pragma once
// Common ground of the four clone-effect descriptions (text stamp, image
// stamp, frame, picture effect): a description text, a changed mark, and
// copying into a fresh object of the same class.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace galvora {

class CCloneEffekt {
public:
    enum class Art { TextStamp, ImageStamp, Border, BildEffekt };

    CCloneEffekt(const CCloneEffekt&) = delete;
    CCloneEffekt& operator=(const CCloneEffekt&) = delete;
    virtual ~CCloneEffekt() = default;

    virtual Art art() const = 0;
    // A new object of the same class holding its defaults.
    virtual std::shared_ptr<CCloneEffekt> neu() const = 0;
    // Copies every settable property into target through target's setters, so
    // target's mark is set wherever a value differs. Target must be of the
    // same class; another class raises a type-mismatch error (13).
    virtual void clone(CCloneEffekt& target) const = 0;

    const std::string& Description() const { return description_; }
    void Description(std::string_view value) { change(description_, std::string(value)); }

    // A new object starts marked; the setter stores what it is given.
    bool verändert() const { return changed_; }
    void verändert(bool value) { changed_ = value; }

protected:
    explicit CCloneEffekt(std::string description) : description_(std::move(description)) {}

    template <class T>
    void change(T& field, const T& value) {
        if (field != value) {
            field = value;
            changed_ = true;
        }
    }

    // The target as the same class, or a type-mismatch error.
    template <class T>
    static T& same_class(CCloneEffekt& target) {
        auto* typed = dynamic_cast<T*>(&target);
        if (typed == nullptr) throw_type_mismatch();
        return *typed;
    }

private:
    [[noreturn]] static void throw_type_mismatch();

    std::string description_;
    bool changed_ = true;
};

}  // namespace galvora

// Declares an integer property pair (reader and comparing writer) over a member.
#define GALVORA_EFFECT_INT_PROPERTY(Name, member)        \
    int32_t Name() const { return member; }              \
    void Name(int32_t value) { change(member, value); }
