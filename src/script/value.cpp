#include "script/value.h"

#include <algorithm>
#include <memory>
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
        ziel.wert = wert;
        ziel.typ = typ;
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
        for (const auto& e : *von) {
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

// A node of the tree: in key order from left to right, and in heap order of
// rang from top to bottom, with rang drawn at random, which keeps the tree
// balanced whatever order the keys come in.
struct ZNSArray::Knoten {
    ZNSWertRef wert;
    std::string gefaltet;  // the key in lower case
    Knoten* links = nullptr;
    Knoten* rechts = nullptr;
    Knoten* eltern = nullptr;
    size_t anzahl = 1;  // elements in the subtree of this node
    uint32_t rang = 0;
    size_t gebucht = 0;  // bytes booked in the script value memory
};

namespace {

size_t elemente_zaehler = 0;

// What an element costs beside its key and its text: the node, the value,
// the shared reference, the index entry and the entry in the flat list of a
// read array, with allocation overhead.
template <class K>
constexpr size_t element_grundkosten = sizeof(K) + sizeof(ZNSVariable) + 64;

uint32_t naechster_rang() {
    static uint64_t z = 0x9E3779B97F4A7C15u;
    z ^= z << 13;
    z ^= z >> 7;
    z ^= z << 17;
    return static_cast<uint32_t>(z >> 32);
}

template <class K>
size_t groesse(const K* k) {
    return k ? k->anzahl : 0;
}

// Recomputes k's count after its children changed and makes them point back.
template <class K>
void auffrischen(K* k) {
    k->anzahl = 1 + groesse(k->links) + groesse(k->rechts);
    if (k->links) k->links->eltern = k;
    if (k->rechts) k->rechts->eltern = k;
}

// Splits the tree t into its first n elements (a) and the rest (b).
template <class K>
void teilen(K* t, size_t n, K*& a, K*& b) {
    if (!t) {
        a = b = nullptr;
        return;
    }
    if (n <= groesse(t->links)) {
        teilen(t->links, n, a, t->links);
        b = t;
    } else {
        teilen(t->rechts, n - groesse(t->links) - 1, t->rechts, b);
        a = t;
    }
    auffrischen(t);
}

// Joins two trees, every element of a standing before every element of b.
template <class K>
K* verbinden(K* a, K* b) {
    if (!a) return b;
    if (!b) return a;
    if (a->rang > b->rang) {
        a->rechts = verbinden(a->rechts, b);
        auffrischen(a);
        return a;
    }
    b->links = verbinden(a, b->links);
    auffrischen(b);
    return b;
}

template <class K>
K* ganz_links(K* k) {
    while (k->links) k = k->links;
    return k;
}

template <class K>
K* ganz_rechts(K* k) {
    while (k->rechts) k = k->rechts;
    return k;
}

template <class K>
K* nachfolger(K* k) {
    if (k->rechts) return ganz_links<K>(k->rechts);
    while (k->eltern && k->eltern->rechts == k) k = k->eltern;
    return k->eltern;
}

template <class K>
K* vorgaenger(K* k) {
    if (k->links) return ganz_rechts<K>(k->links);
    while (k->eltern && k->eltern->links == k) k = k->eltern;
    return k->eltern;
}

// 0-based position of k in its tree.
template <class K>
size_t position_von(const K* k) {
    size_t p = groesse(k->links);
    for (; k->eltern; k = k->eltern)
        if (k->eltern->rechts == k) p += groesse(k->eltern->links) + 1;
    return p;
}

// Deletes a whole tree without recursion; gives the bytes its elements booked.
template <class K>
size_t alle_loeschen(K* wurzel) {
    size_t gebucht = 0;
    std::vector<K*> stapel;
    if (wurzel) stapel.push_back(wurzel);
    while (!stapel.empty()) {
        K* k = stapel.back();
        stapel.pop_back();
        if (k->links) stapel.push_back(k->links);
        if (k->rechts) stapel.push_back(k->rechts);
        gebucht += k->gebucht;
        delete k;
    }
    return gebucht;
}

}  // namespace

size_t ZNSArray::elemente_gesamt() { return elemente_zaehler; }

size_t& ZNSArray::elemente_grenze() {
    static size_t grenze = size_t{16} << 20;
    return grenze;
}

int32_t ZNSArray::count() const { return static_cast<int32_t>(groesse(wurzel_)); }

ZNSArray::const_iterator ZNSArray::begin() const {
    return const_iterator(wurzel_ ? ganz_links<const Knoten>(wurzel_) : nullptr);
}

ZNSArray::const_iterator::reference ZNSArray::const_iterator::operator*() const { return k_->wert; }

ZNSArray::const_iterator& ZNSArray::const_iterator::operator++() {
    k_ = nachfolger(k_);
    return *this;
}

void ZNSArray::einfuegen(size_t position, ZNSWertRef v, std::string gefaltet) {
    if (elemente_zaehler >= ZNSArray::elemente_grenze()) throw ZNSSpeichergrenze();
    const size_t kosten = element_grundkosten<Knoten> + gefaltet.size() + v->bezeichner.size();
    auto k = std::make_unique<Knoten>();
    wertspeicher_anfordern(kosten);
    k->gebucht = kosten;
    k->wert = std::move(v);
    k->gefaltet = std::move(gefaltet);
    k->rang = naechster_rang();
    try {
        index_[k->gefaltet] = k.get();
    } catch (...) {
        wertspeicher_freigeben(kosten);
        throw;
    }
    Knoten* vorn = nullptr;
    Knoten* hinten = nullptr;
    teilen(wurzel_, position, vorn, hinten);
    wurzel_ = verbinden(verbinden(vorn, k.release()), hinten);
    wurzel_->eltern = nullptr;
    ++elemente_zaehler;
    veraendert();
}

void ZNSArray::entfernen(Knoten* k) {
    if (auto it = index_.find(k->gefaltet); it != index_.end() && it->second == k) index_.erase(it);
    Knoten* ersatz = verbinden(k->links, k->rechts);
    Knoten* oben = k->eltern;
    if (ersatz) ersatz->eltern = oben;
    if (!oben) {
        wurzel_ = ersatz;
    } else {
        (oben->links == k ? oben->links : oben->rechts) = ersatz;
        for (Knoten* q = oben; q; q = q->eltern) --q->anzahl;
    }
    --elemente_zaehler;
    wertspeicher_freigeben(k->gebucht);
    veraendert();
    // The element goes last: freeing it may free much more.
    delete k;
}

void ZNSArray::veraendert() {
    zuletzt_ = nullptr;
    lesungen_ = 0;
    if (!flach_.empty()) std::vector<const Knoten*>().swap(flach_);
}

const ZNSArray::Knoten* ZNSArray::an_position(size_t position) const {
    if (!flach_.empty()) return flach_[position];
    if (++lesungen_ > groesse(wurzel_) / 8 + 16) {
        flach_.reserve(groesse(wurzel_));
        for (const Knoten* k = ganz_links<const Knoten>(wurzel_); k; k = nachfolger(k)) flach_.push_back(k);
        return flach_[position];
    }
    if (zuletzt_ && zuletzt_position_ == position) return zuletzt_;
    const Knoten* k = nullptr;
    if (zuletzt_ && zuletzt_position_ + 1 == position) {
        k = nachfolger(zuletzt_);
    } else if (zuletzt_ && position + 1 == zuletzt_position_) {
        k = vorgaenger(zuletzt_);
    } else {
        k = wurzel_;
        size_t rest = position;
        for (;;) {
            const size_t links = groesse(k->links);
            if (rest == links) break;
            if (rest < links) {
                k = k->links;
            } else {
                rest -= links + 1;
                k = k->rechts;
            }
        }
    }
    zuletzt_ = k;
    zuletzt_position_ = position;
    return k;
}

ZNSArray::Knoten* ZNSArray::suchen(std::string_view gefaltet) const {
    auto it = index_.find(gefaltet);
    return it == index_.end() ? nullptr : it->second;
}

void ZNSArray::anhaengen_geordnet(ZNSWertRef v) {
    std::string k = klein(v->bezeichner);
    if (suchen(k)) return add(std::move(v));
    einfuegen(groesse(wurzel_), std::move(v), std::move(k));
}

ZNSArray::~ZNSArray() {
    elemente_zaehler -= groesse(wurzel_);
    // Tear nested arrays down one level at a time: a chain of arrays nested
    // thousands deep would otherwise be destroyed by recursion.
    std::vector<std::shared_ptr<ZNSArray>> offen;
    auto abtrennen = [&offen](const ZNSArray& a) {
        for (Knoten* k = a.wurzel_ ? ganz_links(a.wurzel_) : nullptr; k; k = nachfolger(k)) {
            ZNSWertRef& e = k->wert;
            if (!e || e.use_count() != 1 || e->typ != TYP_ARRAY) continue;
            if (auto p = std::get_if<std::shared_ptr<ZNSArray>>(&e->wert); p && *p && p->use_count() == 1) {
                offen.push_back(std::move(*p));
                e->wert = std::string();
            }
        }
    };
    abtrennen(*this);
    while (!offen.empty()) {
        auto a = std::move(offen.back());
        offen.pop_back();
        abtrennen(*a);
    }
    wertspeicher_freigeben(alle_loeschen(wurzel_));
}

long ZNSArray::finden(std::string_view k) const {
    const Knoten* knoten = suchen(klein(k));
    return knoten ? static_cast<long>(position_von(knoten)) : -1;
}

void ZNSArray::add(ZNSWertRef v) {
    if (!v) return;
    std::string k = klein(v->bezeichner);
    if (Knoten* alt = suchen(k)) entfernen(alt);
    // The place after every key that compares lower or equal, so equal keys
    // keep the order in which they were added. Keys beyond either end, the
    // usual case when an array is filled in order, need one comparison.
    const std::string& name = v->bezeichner;
    size_t position = 0;
    if (wurzel_ && natuerlich_vergleichen(name, ganz_links(wurzel_)->wert->bezeichner) >= 0) {
        if (natuerlich_vergleichen(name, ganz_rechts(wurzel_)->wert->bezeichner) > 0) {
            position = groesse(wurzel_);
        } else {
            for (const Knoten* t = wurzel_; t;) {
                if (natuerlich_vergleichen(name, t->wert->bezeichner) < 0) {
                    t = t->links;
                } else {
                    position += groesse(t->links) + 1;
                    t = t->rechts;
                }
            }
        }
    }
    einfuegen(position, std::move(v), std::move(k));
}

ZNSWertRef ZNSArray::item(const ZNSIndex& index) {
    switch (index.art) {
    case ZNSIndex::POSITION:
        if (index.position >= 1 && index.position <= count())
            return an_position(static_cast<size_t>(index.position - 1))->wert;
        return fehler_kopie();
    case ZNSIndex::SCHLUESSEL: {
        if (const Knoten* k = suchen(klein(index.schluessel))) return k->wert;
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
    const Knoten* k = nullptr;
    if (index.art == ZNSIndex::POSITION) {
        if (index.position >= 1 && index.position <= count()) k = an_position(static_cast<size_t>(index.position - 1));
    } else if (index.art == ZNSIndex::SCHLUESSEL) {
        k = suchen(klein(index.schluessel));
    }
    if (!k) return fehler_kopie();
    auto v = neuer_wert();
    v->set_string(k->wert->bezeichner);
    return v;
}

void ZNSArray::remove(const ZNSIndex& index) {
    if (index.art == ZNSIndex::POSITION) {
        if (index.position >= 1 && index.position <= count())
            entfernen(const_cast<Knoten*>(an_position(static_cast<size_t>(index.position - 1))));
    } else if (index.art == ZNSIndex::SCHLUESSEL) {
        if (Knoten* k = suchen(klein(index.schluessel))) entfernen(k);
    }
}

void ZNSArray::clear() {
    // Hand the elements to a temporary array: its tear-down is iterative and
    // takes them off the counts.
    ZNSArray weg;
    std::swap(weg.wurzel_, wurzel_);
    index_.clear();
    veraendert();
}

ZNSWertRef fehler_kopie() {
    auto v = neuer_wert();
    if (ZNS* e = zns(); e && e->sym_fehler) e->sym_fehler->copy(*v);
    return v;
}

}  // namespace galvora
