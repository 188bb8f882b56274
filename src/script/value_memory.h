#pragma once
// Bytes held by script values: the texts of all values and the elements of
// all arrays, in the whole process. Each text is capped in length and the
// arrays in their number of elements, but nothing else stops a template from
// keeping a hundred of the longest texts; the booking below refuses to grow
// past one limit with ZNSSpeichergrenze, a std::bad_alloc that stops a script
// run the way running out of memory does, before the machine itself runs out.
#include <cstddef>
#include <new>
#include <string>

namespace galvora {

// Thrown when a value or an array would pass a limit of the script memory.
// Built-ins let it through so that the whole run stops, not only the call.
struct ZNSSpeichergrenze : std::bad_alloc {
    const char* what() const noexcept override { return "script value memory exhausted"; }
};

namespace detail {
inline size_t wertspeicher_belegt = 0;
inline size_t wertspeicher_grenze = size_t{256} << 20;
inline size_t wertspeicher_arbeit = 0;
}  // namespace detail

// Bytes booked by all script values together.
inline size_t wertspeicher_belegt() { return detail::wertspeicher_belegt; }
// The limit; 256 MB unless set otherwise (tests set a small one): far more
// than any gallery's scripts hold, far below the memory of the machine.
inline size_t& wertspeicher_grenze() { return detail::wertspeicher_grenze; }

// Books n more bytes, or throws ZNSSpeichergrenze and books nothing.
inline void wertspeicher_anfordern(size_t n) {
    const size_t grenze = detail::wertspeicher_grenze;
    if (n > grenze || detail::wertspeicher_belegt > grenze - n) throw ZNSSpeichergrenze();
    detail::wertspeicher_belegt += n;
    detail::wertspeicher_arbeit += n;
}

// The bytes of text booked or measured since the last call: the work of
// copying them, which the machine counts against its instruction budget (a
// script whose every instruction copies a text of megabytes would otherwise
// run for days within its budget).
inline size_t wertspeicher_arbeit_nehmen() {
    const size_t n = detail::wertspeicher_arbeit;
    detail::wertspeicher_arbeit = 0;
    return n;
}

// Before a text of n bytes is built (by a built-in, an operator, the output
// buffer): throws ZNSSpeichergrenze when the limit could not take it, so the
// memory is never taken in the first place. Books nothing; the value that
// keeps the text books it.
inline void wertspeicher_pruefen(size_t n) {
    // A text short enough to live inside its value is never booked.
    static const size_t kurz = std::string().capacity();
    if (n <= kurz) return;
    const size_t grenze = detail::wertspeicher_grenze;
    if (n > grenze || detail::wertspeicher_belegt > grenze - n) throw ZNSSpeichergrenze();
    detail::wertspeicher_arbeit += n;
}

// Replaces a booking of alt bytes by one of neu bytes without a check: for
// moves, which hand memory over and allocate none.
inline void wertspeicher_umbuchen(size_t alt, size_t neu) {
    detail::wertspeicher_belegt = detail::wertspeicher_belegt - alt + neu;
}

inline void wertspeicher_freigeben(size_t n) { detail::wertspeicher_belegt -= n; }

// While it lives, the limit is a little higher: for the small texts the
// program itself puts into script values (the error variables of a run it
// stopped, the names and paths of the predefined variables), which must not
// fail because a script used up the memory.
class WertspeicherReserve {
public:
    WertspeicherReserve() : alt_(detail::wertspeicher_grenze) { detail::wertspeicher_grenze += kReserve; }
    ~WertspeicherReserve() { detail::wertspeicher_grenze = alt_; }
    WertspeicherReserve(const WertspeicherReserve&) = delete;
    WertspeicherReserve& operator=(const WertspeicherReserve&) = delete;

private:
    static constexpr size_t kReserve = size_t{1} << 20;
    size_t alt_;
};

}  // namespace galvora
