#include "script/value.h"

#include <algorithm>
#include <new>

#include "foundation/string_helpers.h"
#include "script/engine.h"

namespace galvora {

std::string klein(std::string_view text) { return utf8_to_lower(text); }

bool gleich_ohne_gross_klein(std::string_view a, std::string_view b) {
    // Plain ASCII keys, the usual case, are compared without building lower-case copies.
    const size_t n = std::min(a.size(), b.size());
    size_t i = 0;
    for (; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80 || y >= 0x80) return utf8_equal_nocase(a, b);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return false;
    }
    // Equal so far: a longer rest can only match in another encoding length.
    std::string_view rest = a.size() > n ? a.substr(n) : b.substr(n);
    for (unsigned char c : rest)
        if (c >= 0x80) return utf8_equal_nocase(a, b);
    return a.size() == b.size();
}

// ---------------------------------------------------------------- ZNSVariable

void ZNSVariable::reset() {
    bezeichner.clear();
    typ = TYP_UNDEFINIERT;
    wert = std::string();
    readonly = false;
}

std::shared_ptr<ZNSArray> ZNSVariable::set_array(std::shared_ptr<ZNSArray> a) {
    if (!a) a = std::make_shared<ZNSArray>();
    typ = TYP_ARRAY;
    wert = a;
    return a;
}

int32_t ZNSVariable::als_integer() const {
    if (auto p = std::get_if<int32_t>(&wert)) return *p;
    return 0;
}

double ZNSVariable::als_double() const {
    if (auto p = std::get_if<double>(&wert)) return *p;
    if (auto p = std::get_if<int32_t>(&wert)) return *p;
    return 0.0;
}

const std::string& ZNSVariable::als_text() const {
    static const std::string leer;
    if (auto p = std::get_if<std::string>(&wert)) return *p;
    return leer;
}

std::shared_ptr<ZNSArray> ZNSVariable::als_array() {
    if (auto p = std::get_if<std::shared_ptr<ZNSArray>>(&wert); p && *p) return *p;
    return set_array();
}

std::shared_ptr<ZNSArray> ZNSVariable::als_array_oder_null() const {
    if (auto p = std::get_if<std::shared_ptr<ZNSArray>>(&wert)) return *p;
    return nullptr;
}

void ZNSVariable::copy(ZNSVariable& ziel) const {
    if (&ziel == this) return;
    if (typ != TYP_ARRAY) {
        ziel.typ = typ;
        ziel.wert = wert;
        return;
    }
    // Arrays are copied deep. The copy runs with its own work list rather than
    // recursion so that deeply nested arrays cannot exhaust the call stack, and
    // the new tree is hung into ziel only when complete, so copying an array
    // into one of its own elements reads a consistent source.
    auto wurzel = std::make_shared<ZNSArray>();
    std::vector<std::pair<const ZNSArray*, ZNSArray*>> arbeit;
    if (auto quelle = als_array_oder_null()) arbeit.emplace_back(quelle.get(), wurzel.get());
    while (!arbeit.empty()) {
        auto [von, nach] = arbeit.back();
        arbeit.pop_back();
        for (const auto& e : von->elemente()) {
            auto n = std::make_shared<ZNSVariable>();
            n->bezeichner = e->bezeichner;
            n->typ = e->typ;
            if (e->typ == TYP_ARRAY) {
                auto neu = std::make_shared<ZNSArray>();
                n->wert = neu;
                if (auto innen = e->als_array_oder_null()) arbeit.emplace_back(innen.get(), neu.get());
            } else {
                n->wert = e->wert;
            }
            nach->anhaengen_geordnet(std::move(n));
        }
    }
    ziel.typ = TYP_ARRAY;
    ziel.wert = std::move(wurzel);
}

// ------------------------------------------------------------------- ZNSArray

namespace {

size_t elemente_zaehler = 0;

void wachstum_pruefen() {
    if (elemente_zaehler >= ZNSArray::elemente_grenze()) throw std::bad_alloc();
}

}  // namespace

size_t ZNSArray::elemente_gesamt() { return elemente_zaehler; }

size_t& ZNSArray::elemente_grenze() {
    static size_t grenze = size_t{16} << 20;
    return grenze;
}

void ZNSArray::einfuegen(size_t position, ZNSWertRef v, std::string gefaltet) {
    wachstum_pruefen();
    index_[gefaltet] = v.get();
    elemente_.insert(elemente_.begin() + static_cast<long>(position), std::move(v));
    schluessel_.insert(schluessel_.begin() + static_cast<long>(position), std::move(gefaltet));
    ++elemente_zaehler;
}

void ZNSArray::entfernen(size_t position) {
    index_.erase(schluessel_[position]);
    elemente_.erase(elemente_.begin() + static_cast<long>(position));
    schluessel_.erase(schluessel_.begin() + static_cast<long>(position));
    --elemente_zaehler;
}

void ZNSArray::anhaengen_geordnet(ZNSWertRef v) {
    std::string k = klein(v->bezeichner);
    einfuegen(elemente_.size(), std::move(v), std::move(k));
}

ZNSArray::~ZNSArray() {
    elemente_zaehler -= elemente_.size();
    // Tear nested arrays down one level at a time: a chain of arrays nested
    // thousands deep would otherwise be destroyed by recursion.
    std::vector<std::shared_ptr<ZNSArray>> offen;
    auto abtrennen = [&offen](std::vector<ZNSWertRef>& elemente) {
        for (auto& e : elemente) {
            if (!e || e.use_count() != 1 || e->typ != TYP_ARRAY) continue;
            if (auto p = std::get_if<std::shared_ptr<ZNSArray>>(&e->wert); p && *p && p->use_count() == 1) {
                offen.push_back(std::move(*p));
                e->wert = std::string();
            }
        }
    };
    abtrennen(elemente_);
    while (!offen.empty()) {
        auto a = std::move(offen.back());
        offen.pop_back();
        abtrennen(a->elemente_);
    }
}

long ZNSArray::finden(std::string_view k) const {
    auto it = index_.find(klein(k));
    if (it == index_.end()) return -1;
    for (size_t i = 0; i < elemente_.size(); ++i)
        if (elemente_[i].get() == it->second) return static_cast<long>(i);
    return -1;
}

void ZNSArray::add(ZNSWertRef v) {
    if (!v) return;
    std::string k = klein(v->bezeichner);
    if (auto it = index_.find(k); it != index_.end()) {
        for (size_t i = 0; i < elemente_.size(); ++i)
            if (elemente_[i].get() == it->second) {
                entfernen(i);
                break;
            }
    }
    const std::string& name = v->bezeichner;
    if (elemente_.empty() || natuerlich_vergleichen(name, elemente_.front()->bezeichner) < 0)
        return einfuegen(0, std::move(v), std::move(k));
    if (natuerlich_vergleichen(name, elemente_.back()->bezeichner) > 0)
        return einfuegen(elemente_.size(), std::move(v), std::move(k));
    // Binary search with 1-based positions, then past every key that compares
    // equal, so equal keys keep the order in which they were added.
    long anzahl = count();
    long lo = 1, hi = anzahl, mid = 1;
    for (;;) {
        mid = (lo + hi) / 2;
        if (mid == lo) break;
        int c = natuerlich_vergleichen(name, elemente_[static_cast<size_t>(mid - 1)]->bezeichner);
        if (c == 0) break;
        if (c > 0) lo = mid; else hi = mid;
    }
    while (mid < anzahl && natuerlich_vergleichen(elemente_[static_cast<size_t>(mid)]->bezeichner, name) == 0) ++mid;
    einfuegen(static_cast<size_t>(mid), std::move(v), std::move(k));
}

ZNSWertRef ZNSArray::item(const ZNSIndex& index) {
    switch (index.art) {
    case ZNSIndex::POSITION:
        if (index.position >= 1 && index.position <= count()) return elemente_[static_cast<size_t>(index.position - 1)];
        return fehler_kopie();
    case ZNSIndex::SCHLUESSEL: {
        if (long i = finden(index.schluessel); i >= 0) return elemente_[static_cast<size_t>(i)];
        auto neu = neuer_wert();
        neu->bezeichner = index.schluessel;
        add(neu);
        return neu;
    }
    default:
        return fehler_kopie();
    }
}

ZNSWertRef ZNSArray::key(const ZNSIndex& index) const {
    long i = -1;
    if (index.art == ZNSIndex::POSITION) {
        if (index.position >= 1 && index.position <= count()) i = index.position - 1;
    } else if (index.art == ZNSIndex::SCHLUESSEL) {
        i = finden(index.schluessel);
    }
    if (i < 0) return fehler_kopie();
    auto v = neuer_wert();
    v->set_string(elemente_[static_cast<size_t>(i)]->bezeichner);
    return v;
}

void ZNSArray::remove(const ZNSIndex& index) {
    if (index.art == ZNSIndex::POSITION) {
        if (index.position >= 1 && index.position <= count()) entfernen(static_cast<size_t>(index.position - 1));
    } else if (index.art == ZNSIndex::SCHLUESSEL) {
        if (long i = finden(index.schluessel); i >= 0) entfernen(static_cast<size_t>(i));
    }
}

void ZNSArray::clear() {
    // Hand the elements to a temporary array: its tear-down is iterative and
    // takes them off the count.
    ZNSArray weg;
    weg.elemente_.swap(elemente_);
    schluessel_.clear();
    index_.clear();
}

ZNSWertRef fehler_kopie() {
    auto v = neuer_wert();
    if (ZNS* e = zns(); e && e->sym_fehler) e->sym_fehler->copy(*v);
    return v;
}

}  // namespace galvora
