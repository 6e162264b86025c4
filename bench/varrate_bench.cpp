// Time of "Amortize" and "Chart" on the variable-rate page for a list of 485
// payments, the longest schedule that can move on to the APR side: rebuilding
// the unrounded schedule table, and writing the summary and 485 chart lines.
#include <benchmark/benchmark.h>

#include "core/apr_engine.h"
#include "data/memdset.h"
#include "varrate/var_group.h"
#include "varrate/vary_schedule.h"

namespace {

constexpr qv::Interval kMonthly = qv::Interval::Monthly;

// Forty years of monthly payments at rates that change every ten years, with
// an odd first interval.
struct List {
    List() : variable("mdsVariable"), schedule("mdsVarSchedule") {
        qv::DefineVariableTable(variable);
        qv::DefineVarScheduleTable(schedule);
        const qv::VarGroup groups[] = {
            {1, 1, 6.25, 1210.0, 1, 17},    {2, 119, 6.25, 1195.5, 1, 0},
            {3, 120, 7.5, 1262.25, 1, 0},   {4, 120, 8.125, 1281.0, 1, 0},
            {5, 124, 5.875, 1188.75, 1, 0}, {6, 1, 5.875, 612.34, 1, 9},
        };
        for (const qv::VarGroup& g : groups) {
            qv::AppendVarGroup(variable, g);
            variable.Post();
        }
    }
    qv::TMemDataSet variable;
    qv::TMemDataSet schedule;
};

void BM_Amortize_485Payments(benchmark::State& bs) {
    List list;
    for (auto _ : bs) {
        auto r = qv::AmortizeVaryList(200000.0, kMonthly, list.variable, list.schedule);
        benchmark::DoNotOptimize(r);
    }
    bs.SetItemsProcessed(bs.iterations() * 485);
}
BENCHMARK(BM_Amortize_485Payments)->Unit(benchmark::kMicrosecond);

void BM_Chart_485Payments(benchmark::State& bs) {
    List list;
    qv::AmortizeVaryList(200000.0, kMonthly, list.variable, list.schedule);
    for (auto _ : bs) {
        qv::ChartText chart;
        auto r = qv::ChartVaryList(kMonthly, list.variable, list.schedule, chart);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(chart);
    }
    bs.SetItemsProcessed(bs.iterations() * 485);
}
BENCHMARK(BM_Chart_485Payments)->Unit(benchmark::kMicrosecond);

}  // namespace
