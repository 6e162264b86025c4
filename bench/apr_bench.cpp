// Time of one full APR computation on the longest schedule the matrix holds:
// expansion of the groups, the loan summary and the secant iteration.
#include <benchmark/benchmark.h>

#include "core/apr_engine.h"
#include "core/pay_group.h"
#include "data/memdset.h"

namespace {

void AddGroup(qv::TMemDataSet& t, int sequence, int size, double pay, int pds, int days) {
    qv::AppendPayGroup(t, {size, sequence, pay, pds, days});
    t.Post();
}

// 485 monthly payments: an odd first period of one month and 17 days, 483
// regular payments, and a final payment after a month and 9 days.
void BM_GetAPR_485Payments(benchmark::State& bs) {
    qv::TMemDataSet paySet("mdsPaySet");
    qv::DefinePaySetTable(paySet);
    AddGroup(paySet, 1, 1, 812.37, 1, 17);
    AddGroup(paySet, 2, 483, 799.99, 1, 0);
    AddGroup(paySet, 3, 1, 803.11, 1, 9);

    qv::LoanState state;
    state.loan.AmtFin = 98765.43;
    state.loan.PayCount = 485;
    state.loan.TotPay = qv::DollarsToCurrency(812.37 + 483 * 799.99 + 803.11);
    qv::AprSettings settings;
    qv::ChartText chart;
    qv::RecordingUserPort port;

    for (auto _ : bs) {
        auto outcome = qv::GetAPR(state.loan, paySet, settings, chart, port);
        benchmark::DoNotOptimize(outcome);
        benchmark::DoNotOptimize(state.loan.APR);
    }
}
BENCHMARK(BM_GetAPR_485Payments)->Unit(benchmark::kMicrosecond);

void BM_ImpliedAmtFin_485Payments(benchmark::State& bs) {
    qv::LoanState state;
    for (int k = 1; k <= 485; ++k) {
        auto& e = state.loan.PayMatrix[static_cast<size_t>(k)];
        e.PayCents = 79999;
        e.PriorPds = 1;
        e.CumPds = k;
        e.CumDays = 17;
    }
    double apr = 9.5;
    for (auto _ : bs) {
        benchmark::DoNotOptimize(qv::ImpliedAmtFin(state.loan, 30, 485, 12.0, apr));
    }
}
BENCHMARK(BM_ImpliedAmtFin_485Payments)->Unit(benchmark::kMicrosecond);

}  // namespace
