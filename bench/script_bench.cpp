// Speed of the instruction machine: a template whose loop runs a million
// times and builds texts by concatenation. items_per_second is the number of
// machine instructions executed per second. Further cases time script arrays:
// many keyed inserts in random order, and reads by position.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "foundation/language.h"
#include "script/compiler.h"
#include "script/engine.h"
#include "script/machine.h"
#include "script/output.h"
#include "script/value.h"

namespace {

constexpr const char* schleife =
    "{t = \"\"; n = 0;"
    " for (i = 0; i < 1000000; i = i + 1) {"
    "   s = \"item\" + i;"
    "   t = t + \"x\";"
    "   if (i % 1000 == 0) { n = n + 1; t = \"\"; }"
    " }"
    " n}";

// Compiles a template on a fresh engine; null, with the benchmark skipped,
// when it does not compile.
galvora::ZNSFunktionRef vorlage(benchmark::State& state, const char* text) {
    galvora::deutsche_texte_anlegen();
    galvora::sprache_waehlen("de");
    galvora::script_objekt_anlegen();
    if (galvora::uebersetze(0, 0, "bench", text) != 0) {
        state.SkipWithError(galvora::fehlermeldung().c_str());
        return nullptr;
    }
    return galvora::zns()->fkt_oba.funktion_per_bezeichner("bench");
}

void BM_SchleifeMitTextverkettung(benchmark::State& state) {
    auto f = vorlage(state, schleife);
    if (!f) return;
    uint64_t befehle = 0;
    for (auto _ : state) {
        galvora::ausgabe_puffer.clear();
        galvora::ausfuehren(-1, f);
        befehle += galvora::maschine().befehle_zuletzt();
    }
    if (galvora::ausgabe_puffer != "1000") state.SkipWithError("unexpected output");
    state.SetItemsProcessed(static_cast<int64_t>(befehle));
    state.counters["instructions_per_run"] =
        static_cast<double>(befehle) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SchleifeMitTextverkettung)->Unit(benchmark::kMillisecond);

// A page built by appending to one text in a loop, 50 000 and 200 000
// times: the time per append stays the same when the text grows in place
// (it grew with the length of the text while every + made a new one). The
// second form appends several pieces at once, the third one piece made by a
// function call.
constexpr const char* anhaengen[] = {
    "{s = \"\"; for (i = 0; i < %d; i = i + 1) s = s + \"ab\"; len(s)}",
    "{s = \"\"; for (i = 0; i < %d; i = i + 1) s = s + \"<td>\" + i + \"</td>\"; len(s) > 0}",
    "{s = \"\"; for (i = 0; i < %d; i = i + 1) s = s + str(i); len(s) > 0}",
};

void BM_TextAnhaengen(benchmark::State& state) {
    char text[200];
    std::snprintf(text, sizeof text, anhaengen[state.range(0)], static_cast<int>(state.range(1)));
    auto f = vorlage(state, text);
    if (!f) return;
    for (auto _ : state) {
        galvora::ausgabe_puffer.clear();
        galvora::ausfuehren(-1, f);
    }
    if (state.range(0) == 0 && galvora::ausgabe_puffer != std::to_string(2 * state.range(1)))
        state.SkipWithError("unexpected output");
    state.SetItemsProcessed(state.iterations() * state.range(1));
}
BENCHMARK(BM_TextAnhaengen)
    ->ArgsProduct({{0, 1, 2}, {50000, 200000}})
    ->ArgNames({"form", "appends"})
    ->Unit(benchmark::kMillisecond);

// A template that fills an array with 20000 texts under scattered keys, reads
// them back by position and joins them: the everyday use of script arrays.
constexpr const char* feld_mit_texten =
    "{for (i = 0; i < 20000; i = i + 1) a[\"k\" + ((i * 7919) % 20011)] = \"Bild \" + i;"
    " n = 0; for (i = 1; i <= a[]; i = i + 1) n = n + len(a[i]);"
    " n}";

void BM_SkriptFeldMitTexten(benchmark::State& state) {
    auto f = vorlage(state, feld_mit_texten);
    if (!f) return;
    for (auto _ : state) {
        galvora::ausgabe_puffer.clear();
        galvora::ausfuehren(-1, f);
    }
    size_t laenge = 0;
    for (int i = 0; i < 20000; ++i) laenge += ("Bild " + std::to_string(i)).size();
    if (galvora::ausgabe_puffer != std::to_string(laenge)) state.SkipWithError("unexpected output");
}
BENCHMARK(BM_SkriptFeldMitTexten)->Unit(benchmark::kMillisecond);

constexpr int array_groesse = 200000;

// Keys in random order, as a template collecting picture names or
// EXIF values would make them; a fixed seed keeps runs comparable.
std::vector<std::string> zufallsschluessel() {
    std::mt19937 zufall(20261210);
    std::vector<std::string> k;
    k.reserve(array_groesse);
    for (int i = 0; i < array_groesse; ++i) k.push_back("Bild_" + std::to_string(zufall() % 100000000u));
    return k;
}

galvora::ZNSWertRef element(const std::string& key, int32_t zahl) {
    auto v = galvora::neuer_wert();
    v->bezeichner = key;
    v->set_integer(zahl);
    return v;
}

void BM_SchluesselEinfuegen(benchmark::State& state) {
    const std::vector<std::string> schluessel = zufallsschluessel();
    for (auto _ : state) {
        galvora::ZNSArray a;
        for (int i = 0; i < array_groesse; ++i) a.add(element(schluessel[static_cast<size_t>(i)], i));
        benchmark::DoNotOptimize(a.count());
    }
    state.SetItemsProcessed(state.iterations() * array_groesse);
}
BENCHMARK(BM_SchluesselEinfuegen)->Unit(benchmark::kMillisecond)->Iterations(1);

// Reads every position once, in order (range(0) == 0) or in random order.
void BM_PositionLesen(benchmark::State& state) {
    galvora::ZNSArray a;
    for (const auto& k : zufallsschluessel()) a.add(element(k, 1));
    std::vector<int32_t> positionen;
    for (int32_t p = 1; p <= a.count(); ++p) positionen.push_back(p);
    if (state.range(0) != 0) std::shuffle(positionen.begin(), positionen.end(), std::mt19937(7));
    for (auto _ : state) {
        int64_t summe = 0;
        for (int32_t p : positionen) summe += a.item(galvora::ZNSIndex::pos(p))->als_integer();
        benchmark::DoNotOptimize(summe);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(positionen.size()));
}
BENCHMARK(BM_PositionLesen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
