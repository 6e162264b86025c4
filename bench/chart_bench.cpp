// Time of entering the chart page and charting the longest schedule the
// matrix holds: the grid's 485 rows with rebates, then the chart text of 485
// payment lines with the earned-interest and rebate columns.
#include <benchmark/benchmark.h>

#include "chart/amortization.h"
#include "core/apr_engine.h"
#include "core/pay_group.h"
#include "data/memdset.h"

namespace {

void AddGroup(qv::TMemDataSet& t, int sequence, int size, double pay, int pds, int days) {
    qv::AppendPayGroup(t, {size, sequence, pay, pds, days});
    t.Post();
}

// 485 monthly payments with an odd first period and a different last payment,
// so the schedule is irregular and every check runs its full course.
struct Schedule {
    Schedule() : paySet("mdsPaySet"), detail("mdsDetail") {
        qv::DefinePaySetTable(paySet);
        qv::DefineDetailTable(detail);
        AddGroup(paySet, 1, 1, 812.37, 1, 17);
        AddGroup(paySet, 2, 483, 799.99, 1, 0);
        AddGroup(paySet, 3, 1, 803.11, 1, 9);
        state.loan.AmtFin = 98765.43;
        state.loan.PayCount = 485;
        state.loan.TotPay = qv::DollarsToCurrency(812.37 + 483 * 799.99 + 803.11);
        qv::GetAPR(state.loan, paySet, qv::AprSettings{}, report, port);
    }
    qv::TMemDataSet paySet;
    qv::TMemDataSet detail;
    qv::LoanState state;
    qv::ChartText report;
    qv::RecordingUserPort port;
};

void BM_ChartPage_485Payments(benchmark::State& bs) {
    Schedule s;
    const qv::ComputedSchedule computed = qv::CaptureComputedSchedule(s.state.loan, s.paySet);
    int refreshes = 0;
    s.detail.AddObserver([&] { ++refreshes; });
    const qv::ChartOptions options{.showRebates = true, .fractionalInterest = false};
    for (auto _ : bs) {
        qv::ChartText chart = s.report;
        auto fill = qv::FillDetailRows(computed, s.detail, true);
        auto result =
            qv::AppendAmortizationChart(&computed, s.state.loan.RoundAdd, options, chart, s.port);
        benchmark::DoNotOptimize(fill);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(chart.data());
    }
    bs.counters["grid_refreshes_per_entry"] =
        static_cast<double>(refreshes) / static_cast<double>(bs.iterations());
}
BENCHMARK(BM_ChartPage_485Payments)->Unit(benchmark::kMillisecond);

void BM_DetailRows_485Payments(benchmark::State& bs) {
    Schedule s;
    const qv::ComputedSchedule computed = qv::CaptureComputedSchedule(s.state.loan, s.paySet);
    for (auto _ : bs) {
        auto fill = qv::FillDetailRows(computed, s.detail, true);
        benchmark::DoNotOptimize(fill);
    }
}
BENCHMARK(BM_DetailRows_485Payments)->Unit(benchmark::kMillisecond);

void BM_ChartText_485Payments(benchmark::State& bs) {
    Schedule s;
    const qv::ChartOptions options{.showRebates = true, .fractionalInterest = true};
    for (auto _ : bs) {
        qv::ChartText chart;
        auto result = qv::AppendAmortizationChart(s.state.loan, s.paySet, options, chart, s.port);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(chart.data());
    }
}
BENCHMARK(BM_ChartText_485Payments)->Unit(benchmark::kMillisecond);

}  // namespace
