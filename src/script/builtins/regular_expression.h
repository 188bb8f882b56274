#pragma once
// Regular expressions for `index` and `replace` with @REGEXP, on PCRE2. Every
// match runs under a match and depth limit, so a runaway pattern fails instead
// of running for ever; failures throw std::runtime_error.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace galvora::builtins {

class RegulaererAusdruck {
public:
    // Throws std::runtime_error when the pattern does not compile.
    RegulaererAusdruck(std::string_view muster, bool gross_klein_egal);
    ~RegulaererAusdruck();
    RegulaererAusdruck(const RegulaererAusdruck&) = delete;
    RegulaererAusdruck& operator=(const RegulaererAusdruck&) = delete;

    // Byte offset of the first match, or nullopt.
    std::optional<size_t> erster_treffer(std::string_view text) const;

    // Every match (or the first) replaced by the replacement text, in which
    // $1 to $99 stand for groups, $& for the match, $` and $' for the text
    // before and after it and $$ for a dollar sign. `laenge_pruefen` is asked
    // for the length the result will have before each replacement is added
    // (it throws to refuse).
    std::string ersetzen(std::string_view text, std::string_view ersatz, bool alle,
                         const std::function<void(size_t)>& laenge_pruefen = nullptr) const;

private:
    struct Daten;
    std::unique_ptr<Daten> d_;
};

}  // namespace galvora::builtins
