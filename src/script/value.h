#pragma once
// Script values and script arrays. Every value a script handles is a
// ZNSVariable held by reference (std::shared_ptr): constants, globals, stack
// slots and array elements all share the value objects they point to.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

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

// What `wert` holds, by type: undefined and string a text, integer and symbol
// a 32-bit integer, double and date a double, array a reference to the array.
using ZNSWert = std::variant<std::string, int32_t, double, std::shared_ptr<ZNSArray>>;

class ZNSVariable {
public:
    std::string bezeichner;
    int32_t typ = TYP_UNDEFINIERT;
    ZNSWert wert = std::string();
    bool readonly = false;

    // Makes ziel a deep copy of this value; ziel keeps its name and read-only mark.
    void copy(ZNSVariable& ziel) const;
    void reset();

    // Typed setters: set typ and wert together.
    void set_integer(int32_t v) { typ = TYP_INTEGER; wert = v; }
    void set_double(double v) { typ = TYP_DOUBLE; wert = v; }
    void set_symbol(int32_t nummer) { typ = TYP_SYMBOL; wert = nummer; }
    void set_string(std::string v) { typ = TYP_STRING; wert = std::move(v); }
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
// ignored; equal-comparing keys stay in the order they were added).
class ZNSArray {
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
    int32_t count() const { return static_cast<int32_t>(elemente_.size()); }

    const std::vector<ZNSWertRef>& elemente() const { return elemente_; }
    auto begin() const { return elemente_.begin(); }
    auto end() const { return elemente_.end(); }

    // Appends without sorting; only for building an array from one already in order.
    void anhaengen_geordnet(ZNSWertRef v);

    // Elements held by all arrays together. Beyond the limit an array refuses
    // to grow with std::bad_alloc, which stops a script run the way running
    // out of memory does, before the machine itself runs out.
    static size_t elemente_gesamt();
    static size_t& elemente_grenze();

    // Position (0-based) of the element with that key, or -1.
    long finden(std::string_view key) const;

private:
    void einfuegen(size_t position, ZNSWertRef v, std::string gefaltet);
    void entfernen(size_t position);

    std::vector<ZNSWertRef> elemente_;
    // Lower-cased key of each element, in step with elemente_, and the element
    // of each such key: key look-ups need no scan of the keys.
    std::vector<std::string> schluessel_;
    std::unordered_map<std::string, ZNSVariable*> index_;
};

// A fresh value holding a copy of @ERROR of the current engine (an undefined
// value when no engine exists).
ZNSWertRef fehler_kopie();

// Letter case folded for key and name comparisons.
std::string klein(std::string_view text);
bool gleich_ohne_gross_klein(std::string_view a, std::string_view b);

}  // namespace galvora
