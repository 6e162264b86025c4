// Time of figuring the common payment of the longest regular schedule the
// system holds: 485 monthly payments with a different first and last
// payment, searched from the product estimate in $10, $1, $0.10 and $0.01
// steps.
#include <benchmark/benchmark.h>

#include "figure/figure_schedule.h"

namespace {

qv::RegularTexts LongSchedule() {
    qv::RegularTexts t;
    t.AmtFin = "98765.43";
    t.PayCount = "485";
    t.RegPay = "900";
    t.FirstPay = "950";
    t.FirstPds = "1";
    t.FirstExtra = "17";
    t.LastPay = "880";
    t.LastPds = "1";
    t.LastExtra = "9";
    return t;
}

// Times "Adjust Payments" (the checks, the search and the report) on the
// regular page's boxes and the rate box left at `rate`; returns the last
// run's outcome.
qv::FigureOutcome TimeAdjustPayments(benchmark::State& bs, const qv::RegularTexts& texts,
                                     double rate, bool showAmort) {
    qv::LoanState entered;
    const qv::RegularBoxes boxes = qv::ReadRegularBoxes(texts);
    qv::StoreRegularBoxes(entered.regular, boxes);
    qv::UpdateSimpleSummary(entered.loan, boxes);
    entered.figure.MaxRate = rate;
    qv::FigureInputs in;
    in.regular = texts;
    in.showFlip = true;
    in.showAmort = showAmort;
    qv::RecordingUserPort port;
    qv::FigureOutcome r;
    for (auto _ : bs) {
        qv::LoanState state = entered;
        r = qv::AdjustPayments(state.loan, state.regular, state.figure, in, port);
        benchmark::DoNotOptimize(r);
    }
    return r;
}

// At 12 %, with or without the amortization listing of 485 lines (the
// search is nearly all of the time without it).
void AdjustPayments485(benchmark::State& bs, bool showAmort) {
    const qv::FigureOutcome r = TimeAdjustPayments(bs, LongSchedule(), 12.0, showAmort);
    if (r.end != qv::FigureEnd::Found) bs.SkipWithError("no payment found");
    bs.counters["report_lines"] = static_cast<double>(r.found ? r.found->size() : 0);
}

void BM_FigureSearch_485Payments(benchmark::State& bs) {
    AdjustPayments485(bs, false);
}
BENCHMARK(BM_FigureSearch_485Payments)->Unit(benchmark::kMillisecond);

void BM_FigureSearch_485PaymentsWithListing(benchmark::State& bs) {
    AdjustPayments485(bs, true);
}
BENCHMARK(BM_FigureSearch_485PaymentsWithListing)->Unit(benchmark::kMillisecond);

// A search that never settles within its bound: 485 payments of a common
// payment far too small for 900 billion dollars at no rate a period, so the
// $10 steps climb until the bound on trials stops them. This is the longest
// "Adjust Payments" can take.
void BM_FigureSearch_ToTheBound(benchmark::State& bs) {
    qv::RegularTexts texts = LongSchedule();
    texts.AmtFin = "900000000000";
    const qv::FigureOutcome r = TimeAdjustPayments(bs, texts, 0.001, false);
    if (r.end != qv::FigureEnd::NoPayment) bs.SkipWithError("the search did not reach its bound");
}
BENCHMARK(BM_FigureSearch_ToTheBound)->Unit(benchmark::kMillisecond);

}  // namespace
