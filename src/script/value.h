#pragma once
// Script values and script arrays. Every value a script handles is a
// ZNSVariable held by reference (std::shared_ptr): constants, globals, stack
// slots and array elements all share the value objects they point to.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "script/value_memory.h"

namespace galvora {

class ZNSArray;

// Type codes of a script value.
enum ZNSTyp : int32_t {
    TYP_UNDEFINIERT = 0,
    TYP_INTEGER = 1,
    TYP_DOUBLE = 2,
    TYP_SYMBOL = 3,
    TYP_STRING = 4,
    TYP_DATUM = 5,
    TYP_ARRAY = 6,
};

using ZNSWertBasis = std::variant<std::string, int32_t, double, std::shared_ptr<ZNSArray>>;

// What `wert` holds, by type: undefined and string a text, integer and symbol
// a 32-bit integer, double and date a double, array a reference to the array.
// It books the memory of the text it holds (value_memory.h): making or copying
// a text past the limit throws ZNSSpeichergrenze and leaves the target as it
// was; moves hand the booking over. Texts change only by assignment, never in
// place through std::get, so that the booking stays true.
class ZNSWert : public ZNSWertBasis {
    // Alternatives that never hold memory of their own.
    template <class T>
    static constexpr bool ohne_text =
        std::is_arithmetic_v<std::remove_cvref_t<T>> || std::is_same_v<std::remove_cvref_t<T>, std::shared_ptr<ZNSArray>>;

public:
    ZNSWert() noexcept = default;
    template <class T>
        requires(!std::is_same_v<std::remove_cvref_t<T>, ZNSWert> && std::is_constructible_v<ZNSWertBasis, T>)
    ZNSWert(T&& v) : ZNSWertBasis(std::forward<T>(v)) {
        if constexpr (!ohne_text<T>) anlegen();
    }
    ZNSWert(const ZNSWert& o) : ZNSWertBasis(vorab_geprueft(o)) {
        if (o.bytes_ != 0) anlegen();
    }
    ZNSWert(ZNSWert&& o) noexcept : ZNSWertBasis(std::move(o.basis())) {
        if (o.bytes_ != 0) uebernehmen(o);
    }
    ~ZNSWert() {
        if (bytes_ != 0) wertspeicher_freigeben(bytes_);
    }

    ZNSWert& operator=(ZNSWert&& o) noexcept {
        if (this == &o) return *this;
        // Neither side holds a long text: nothing to book (the usual case).
        if ((bytes_ | o.bytes_) == 0) {
            basis() = std::move(o.basis());
            return *this;
        }
        kurz_vorbereiten(o.bytes_);
        basis() = std::move(o.basis());
        uebernehmen(o);
        return *this;
    }
    ZNSWert& operator=(const ZNSWert& o) {
        if (this == &o) return *this;
        if ((bytes_ | o.bytes_) == 0) {
            if (const auto* z = std::get_if<int32_t>(&o)) basis() = *z;
            else if (const auto* d = std::get_if<double>(&o)) basis() = *d;
            else basis() = o.basis();
            return *this;
        }
        text_zuweisen(o.bytes_, [&] { basis() = o.basis(); });
        return *this;
    }
    template <class T>
        requires(!std::is_same_v<std::remove_cvref_t<T>, ZNSWert> && std::is_constructible_v<ZNSWertBasis, T>)
    ZNSWert& operator=(T&& v) {
        if constexpr (ohne_text<T>) {
            basis() = std::forward<T>(v);
            if (bytes_ != 0) {
                wertspeicher_freigeben(bytes_);
                bytes_ = 0;
            }
        } else if constexpr (std::is_same_v<std::remove_cvref_t<T>, std::string>) {
            text_zuweisen(lang(v), [&] { basis() = std::forward<T>(v); });
        } else {
            *this = ZNSWert(std::forward<T>(v));
        }
        return *this;
    }
    void swap(ZNSWert& o) noexcept { std::swap(*this, o); }
    // Appends to the text this holds (only for a value holding a text), in
    // place. When the buffer must grow it grows to twice its size, so that a
    // text built by appending in a loop is copied a few times rather than at
    // every step; the larger buffer is booked before it is made, and where
    // the limit leaves no room for twice the size, only the size needed is
    // asked for. Beyond the limit ZNSSpeichergrenze leaves the text as it was.
    void text_anhaengen(std::string_view zusatz) {
        std::string& text = std::get<std::string>(basis());
        const size_t laenge = text.size() + zusatz.size();
        if (laenge <= text.capacity()) {
            text.append(zusatz);
            return;
        }
        size_t platz = std::max(laenge, 2 * text.capacity());
        try {
            wertspeicher_anfordern(platz);
        } catch (const ZNSSpeichergrenze&) {
            platz = laenge;
            wertspeicher_anfordern(platz);
        }
        try {
            std::string neu;
            neu.reserve(platz);
            neu.append(text).append(zusatz);
            text.swap(neu);
        } catch (...) {
            wertspeicher_freigeben(platz);
            throw;
        }
        const size_t jetzt = messen();
        wertspeicher_umbuchen(bytes_ + platz, jetzt);
        bytes_ = jetzt;
    }
    // In-place construction would pass the booking by.
    template <class T, class... A>
    void emplace(A&&...) = delete;

private:
    // A long text is measured against the limit before its copy is made.
    static const ZNSWertBasis& vorab_geprueft(const ZNSWert& o) {
        if (o.bytes_ != 0) wertspeicher_pruefen(o.bytes_);
        return o.basis();
    }
    ZNSWertBasis& basis() { return *this; }
    const ZNSWertBasis& basis() const { return *this; }
    // Heap bytes of a text; short texts live inside the value.
    static size_t lang(const std::string& t) { return t.capacity() > kurztext() ? t.capacity() : 0; }
    static size_t kurztext() noexcept {
        static const size_t n = std::string().capacity();
        return n;
    }
    size_t messen() const {
        const auto* t = std::get_if<std::string>(this);
        return t ? lang(*t) : 0;
    }
    void anlegen() {
        const size_t n = messen();
        if (n != 0) wertspeicher_anfordern(n);
        bytes_ = n;
    }
    // Assigns a text of n heap bytes: books them first (refusing beyond the
    // limit before anything changed), then books what this holds afterwards
    // (a copy may reuse this value's buffer).
    template <class Zuweisung>
    void text_zuweisen(size_t n, Zuweisung zuweisung) {
        if (n != 0) wertspeicher_anfordern(n);
        kurz_vorbereiten(n);
        try {
            zuweisung();
        } catch (...) {
            if (n != 0) wertspeicher_freigeben(n);
            throw;
        }
        const size_t neu = messen();
        wertspeicher_umbuchen(bytes_ + n, neu);
        bytes_ = neu;
    }
    // A short text given to a value holding a long one would be copied into
    // the long one's buffer, which would stay held: let that go first.
    void kurz_vorbereiten(size_t neu) noexcept {
        if (bytes_ != 0 && neu == 0) {
            basis().emplace<int32_t>(0);
            wertspeicher_freigeben(bytes_);
            bytes_ = 0;
        }
    }
    // After this took over o's content: a moved-from text may keep memory
    // (a move assignment can hand the old buffer back), so both are measured
    // again; their sum never grows.
    void uebernehmen(ZNSWert& o) noexcept {
        const size_t neu = messen();
        const size_t rest = o.messen();
        wertspeicher_umbuchen(bytes_ + o.bytes_, neu + rest);
        bytes_ = neu;
        o.bytes_ = rest;
    }

    size_t bytes_ = 0;
};

class ZNSVariable {
public:
    std::string bezeichner;
    int32_t typ = TYP_UNDEFINIERT;
    ZNSWert wert;
    bool readonly = false;

    // Makes ziel a deep copy of this value; ziel keeps its name and read-only mark.
    void copy(ZNSVariable& ziel) const;
    void reset();

    // Typed setters: set typ and wert together. A text beyond the memory
    // limit leaves the value as it was.
    void set_integer(int32_t v) { typ = TYP_INTEGER; wert = v; }
    void set_double(double v) { typ = TYP_DOUBLE; wert = v; }
    void set_symbol(int32_t nummer) { typ = TYP_SYMBOL; wert = nummer; }
    void set_string(std::string v) { wert = std::move(v); typ = TYP_STRING; }
    void set_datum(double v) { typ = TYP_DATUM; wert = v; }
    // Makes this value an array; a new empty one when none is given.
    std::shared_ptr<ZNSArray> set_array(std::shared_ptr<ZNSArray> a = nullptr);

    // Readers that tolerate a wert that does not match typ (engine code may set
    // them independently): they give 0, 0.0, "" or an empty array then.
    int32_t als_integer() const;
    double als_double() const;
    const std::string& als_text() const;
    // The array of a type-6 value; a value of type 6 without one gets an empty one.
    std::shared_ptr<ZNSArray> als_array();
    std::shared_ptr<ZNSArray> als_array_oder_null() const;
};

using ZNSWertRef = std::shared_ptr<ZNSVariable>;

inline ZNSWertRef neuer_wert() { return std::make_shared<ZNSVariable>(); }

// An index into a script array: a position (integer), a key (text) or neither.
struct ZNSIndex {
    enum Art { POSITION, SCHLUESSEL, KEINER } art = KEINER;
    int32_t position = 0;
    std::string schluessel;

    static ZNSIndex pos(int32_t p) { ZNSIndex i; i.art = POSITION; i.position = p; return i; }
    static ZNSIndex key(std::string k) { ZNSIndex i; i.art = SCHLUESSEL; i.schluessel = std::move(k); return i; }
    static ZNSIndex keiner() { return {}; }
};

// Ordered map from text keys to values, in natural key order (letter case
// ignored; equal-comparing keys stay in the order they were added). The
// elements sit in a balanced tree that counts the elements below each node,
// so that inserting, removing and finding a position all take logarithmic
// time; reading the positions one after another in either direction costs a
// step each, and an array that is only read costs a step per read.
class ZNSArray {
    struct Knoten;

public:
    ZNSArray() = default;
    ZNSArray(const ZNSArray&) = delete;
    ZNSArray& operator=(const ZNSArray&) = delete;
    ~ZNSArray();

    // Stores v itself under its bezeichner, replacing an element of that key.
    void add(ZNSWertRef v);
    // Position or key; a missing key is created (undefined), a missing position
    // or an index of neither kind gives a fresh copy of @ERROR.
    ZNSWertRef item(const ZNSIndex& index);
    // The key of the element as a new string value, or a fresh @ERROR copy.
    ZNSWertRef key(const ZNSIndex& index) const;
    void remove(const ZNSIndex& index);
    void clear();
    int32_t count() const;

    // The elements in order. The array must not change while one is in use.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = ZNSWertRef;
        using difference_type = std::ptrdiff_t;
        using pointer = const ZNSWertRef*;
        using reference = const ZNSWertRef&;

        const_iterator() = default;
        reference operator*() const;
        pointer operator->() const { return &**this; }
        const_iterator& operator++();
        const_iterator operator++(int) {
            const_iterator alt = *this;
            ++*this;
            return alt;
        }
        bool operator==(const const_iterator&) const = default;

    private:
        friend class ZNSArray;
        explicit const_iterator(const Knoten* k) : k_(k) {}
        const Knoten* k_ = nullptr;
    };
    const_iterator begin() const;
    const_iterator end() const { return const_iterator(); }

    // Appends without sorting; only for building an array from one already in order.
    void anhaengen_geordnet(ZNSWertRef v);

    // Elements held by all arrays together. Beyond the limit an array refuses
    // to grow with ZNSSpeichergrenze, which stops a script run the way running
    // out of memory does, before the machine itself runs out. Each element
    // also books its bytes in the script value memory (value_memory.h).
    static size_t elemente_gesamt();
    static size_t& elemente_grenze();

    // Position (0-based) of the element with that key, or -1.
    long finden(std::string_view key) const;

private:
    void einfuegen(size_t position, ZNSWertRef v, std::string gefaltet);
    void entfernen(Knoten* k);
    void veraendert();
    const Knoten* an_position(size_t position) const;
    Knoten* suchen(std::string_view key) const;

    Knoten* wurzel_ = nullptr;
    // The node of each lower-cased key (the view points into the node's own
    // copy of the key): key look-ups need no search of the tree.
    std::unordered_map<std::string_view, Knoten*> index_;
    // The position read last, so that reading positions in turn needs no
    // search from the root; forgotten whenever the array changes.
    mutable const Knoten* zuletzt_ = nullptr;
    mutable size_t zuletzt_position_ = 0;
    // Every node in order, made once the array has been read by position
    // often enough since its last change to pay for it (a template that fills
    // an array and then reads it), so that further reads take one step.
    // Dropped at every change.
    mutable std::vector<const Knoten*> flach_;
    mutable size_t lesungen_ = 0;  // reads by position since the last change
};

// A fresh value holding a copy of @ERROR of the current engine (an undefined
// value when no engine exists).
ZNSWertRef fehler_kopie();

// Letter case folded for key and name comparisons.
std::string klein(std::string_view text);
bool gleich_ohne_gross_klein(std::string_view a, std::string_view b);

}  // namespace galvora
