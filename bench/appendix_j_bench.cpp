// Time of the exact Appendix J rate: the solver alone on flows already placed
// in time, and the whole road from payment groups for the companion's check.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/pay_group.h"
#include "regz/appendix_j.h"
#include "regz/loan_timing.h"

namespace {

// 360 monthly payments of 599.55 on 100,000: a thirty-year loan at about 6 %.
const std::vector<qv::PayGroup> kThirtyYears = {{360, 1, 599.55, 1, 0}};

// 485 monthly payments: an odd first period of one month and 17 days, 483
// regular payments, and a final payment after a month and 9 days (the
// desktop benchmark's schedule).
const std::vector<qv::PayGroup> kLongest = {
    {1, 1, 812.37, 1, 17}, {483, 2, 799.99, 1, 0}, {1, 3, 803.11, 1, 9}};

void BM_SolveAppendixJ(benchmark::State& bs, double amount, const std::vector<qv::PayGroup>& g) {
    const qv::regz::TimedLoanResult loan =
        qv::regz::TimeGroups(amount, g, qv::regz::UnitPeriod::Month);
    for (auto _ : bs) {
        auto rate = qv::regz::SolveAppendixJ(loan.loan->flows, loan.loan->perYear);
        benchmark::DoNotOptimize(rate);
    }
}
BENCHMARK_CAPTURE(BM_SolveAppendixJ, 360Payments, 100000.0, kThirtyYears)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SolveAppendixJ, 485Payments, 98765.43, kLongest)
    ->Unit(benchmark::kMicrosecond);

void BM_GroupsToRate(benchmark::State& bs, double amount, const std::vector<qv::PayGroup>& g) {
    for (auto _ : bs) {
        const qv::regz::TimedLoanResult loan =
            qv::regz::TimeGroups(amount, g, qv::regz::UnitPeriod::Month);
        auto rate = qv::regz::SolveAppendixJ(loan.loan->flows, loan.loan->perYear);
        benchmark::DoNotOptimize(rate);
    }
}
BENCHMARK_CAPTURE(BM_GroupsToRate, 360Payments, 100000.0, kThirtyYears)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_GroupsToRate, 485Payments, 98765.43, kLongest)->Unit(benchmark::kMicrosecond);

}  // namespace
