#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "data/memdset.h"
#include "varrate/var_group.h"

// Appending records in random key order into a table ordered by Sequence:
// every store is a binary search plus one insert, never a resort.
static void BM_AppendRandomOrdered(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<std::int32_t> keys(static_cast<std::size_t>(n));
    std::iota(keys.begin(), keys.end(), 1);
    std::mt19937 rng(20240607u);
    std::shuffle(keys.begin(), keys.end(), rng);

    for (auto _ : state) {
        qv::TMemDataSet table("mdsVarSchedule");
        qv::DefineVarScheduleTable(table);
        table.BeginUpdate();
        for (std::int32_t k : keys) {
            table.AppendNew();
            table.SetFieldInteger("Sequence", k);
            table.SetFieldFloat("OldBal", 1000.0);
            table.SetFieldFloat("Payment", 88.85);
        }
        table.MoveFirst();  // stores the last pending record
        table.EndUpdate();
        benchmark::DoNotOptimize(table.Count());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AppendRandomOrdered)->Arg(5000)->Unit(benchmark::kMillisecond);
