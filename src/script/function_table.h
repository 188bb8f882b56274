#pragma once
// Script functions and the function table.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "script/instruction.h"
#include "script/local_variables.h"
#include "script/value.h"

namespace galvora {

// Kinds of function-table entries.
enum ZNSFunktionTyp : int32_t {
    FKT_RESERVIERT = 0,  // called somewhere, not defined yet
    FKT_INTERN = 1,      // built-in
    FKT_SKRIPT = 2,      // defined by a script
};

class ZNSFunktion {
public:
    std::string bezeichner;  // lower-cased
    int32_t typ = FKT_RESERVIERT;
    bool ist_global = false;
    std::string modulname;
    ZNSInstruktionArray ioa;
    ZNSLokaleVariableArray lvar;
    // Set when the entry leaves the function table; calls compiled against it
    // then look the name up again.
    bool entfernt = false;

    void init(std::string_view name, int32_t typ, bool ist_global, std::string_view modulname);
    ZNSLokaleVariableArray& lvararray() { return lvar; }
    int32_t lvar_anz(int32_t nur_argumente) const { return lvar.count(nur_argumente); }
    // Adds a declared global (once) and returns its 1-based number in the list.
    int32_t set_gvar(const ZNSWertRef& variable);
    ZNSWertRef inq_gvar(std::string_view name) const;
    int32_t gvar_anz() const { return static_cast<int32_t>(gvar_.size()); }
    void reset();

private:
    std::vector<ZNSWertRef> gvar_;
};

using ZNSFunktionRef = std::shared_ptr<ZNSFunktion>;

class ZNSFunktionArray {
public:
    ZNSFunktionRef eintrag(std::string_view name, int32_t typ, bool ist_global, std::string_view modulname);
    ZNSFunktionRef reserviere(std::string_view name, int32_t typ, std::string_view modulname);
    void lösche_funktion(std::string_view name);
    void lösche_modul(std::string_view modulname);
    void lösche_ausser_intern();
    // The table as it stands: each entry with its kind, scope and module.
    struct Eintragsstand {
        ZNSFunktionRef funktion;
        int32_t typ;
        bool ist_global;
        std::string modulname;
    };
    using Stand = std::vector<Eintragsstand>;
    Stand stand() const;
    // Puts the table back as it stood: entries added since leave it (calls
    // compiled against them look their names up again), entries removed
    // since come back, and a name reserved then and compiled since is only
    // reserved again.
    void wiederherstellen(const Stand& stand);
    ZNSFunktionRef funktion_per_bezeichner(std::string_view name) const;
    ZNSFunktionRef funktion_fehlt() const;
    int32_t count() const { return static_cast<int32_t>(liste_.size()); }
    const std::vector<ZNSFunktionRef>& eintraege() const { return liste_; }
    auto begin() const { return liste_.begin(); }
    auto end() const { return liste_.end(); }

private:
    ZNSFunktionRef finden(std::string_view klein_name) const;
    ZNSFunktionRef anhaengen(std::string_view name, int32_t typ, bool ist_global, std::string_view modulname);
    // Removes every entry for which weg(entry) holds, in one pass.
    template <class Bedingung>
    void entfernen_wenn(Bedingung weg);
    std::vector<ZNSFunktionRef> liste_;
    // Each entry by its lower-cased name: a module with thousands of
    // functions compiles without searching the list for every name.
    std::unordered_map<std::string, ZNSFunktionRef> index_;
};

// Global variables keyed by lower-cased name.
class ZNSGlobaleVariableArray {
public:
    // The variable of that name; created empty with the read-only flag when missing.
    ZNSWertRef alloc(std::string_view name, bool readonly);
    // The variable of that name, or nothing.
    ZNSWertRef inq(std::string_view name) const;
    // Every variable with a copy of its value.
    using Stand = std::vector<std::pair<ZNSWertRef, ZNSVariable>>;
    Stand stand() const;
    // The values back as they stood; variables made since are gone.
    void wiederherstellen(Stand stand);
    int32_t count() const { return static_cast<int32_t>(reihenfolge_.size()); }
    const std::vector<ZNSWertRef>& eintraege() const { return reihenfolge_; }

private:
    std::vector<ZNSWertRef> reihenfolge_;
    std::unordered_map<std::string, ZNSWertRef> namen_;
};

}  // namespace galvora
