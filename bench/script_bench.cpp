// Speed of the instruction machine: a template whose loop runs a million
// times and builds texts by concatenation. items_per_second is the number of
// machine instructions executed per second.
#include <benchmark/benchmark.h>

#include "foundation/language.h"
#include "script/compiler.h"
#include "script/engine.h"
#include "script/machine.h"
#include "script/output.h"

namespace {

constexpr const char* schleife =
    "{t = \"\"; n = 0;"
    " for (i = 0; i < 1000000; i = i + 1) {"
    "   s = \"item\" + i;"
    "   t = t + \"x\";"
    "   if (i % 1000 == 0) { n = n + 1; t = \"\"; }"
    " }"
    " n}";

void BM_SchleifeMitTextverkettung(benchmark::State& state) {
    galvora::deutsche_texte_anlegen();
    galvora::sprache_waehlen("de");
    galvora::script_objekt_anlegen();
    if (galvora::uebersetze(0, 0, "bench", schleife) != 0) {
        state.SkipWithError(galvora::fehlermeldung().c_str());
        return;
    }
    auto f = galvora::zns()->fkt_oba.funktion_per_bezeichner("bench");
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

}  // namespace

BENCHMARK_MAIN();
