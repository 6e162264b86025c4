// Time of the split-rate page's three computing buttons: 485 monthly
// payments over four rate steps, with an odd first interval and a
// different last payment, so every line carries its tags; and the longest
// debt the page takes, 20,000 weekly payments, where the searches take
// fewer plain steps so that their work stays bounded.
// On a schedule this long the plain search steps overshoot from the first
// trial (the residual is many times the payment), so both searches are
// finished by halving, their slowest path: about 35 trials each.
#include <benchmark/benchmark.h>

#include "splitrate/split_interest.h"

namespace {

class SilentPort : public qv::UserPort {
  public:
    qv::Answer Show(qv::MessageKind, std::string_view) override { return qv::Answer::Ok; }
};

qv::LoanState LongDebt(std::int32_t payments = 485) {
    qv::LoanState s;
    s.split.SplitPrincipal = 98765.43;
    s.split.SplitPayCount = payments;
    s.split.SplitRegPay = 700.00;
    s.split.SplitFirstPay = 812.37;
    s.split.SplitLastPay = 803.11;
    s.split.SplitFirstPds = 1;
    s.split.SplitFirstExtra = 17;
    s.split.SplitLastPds = 1;
    s.split.SplitLastExtra = 9;
    s.split.SplitSteps = {{{1.0, 10000}, {0.75, 30000}, {0.5, 60000}, {0.25, 999999.99}, {}, {}}};
    return s;
}

// 20,000 weekly payments of 55.00 on 98,765.43 at a tenth of those rates a
// week, about 50.00 of interest at first, so the debt runs its whole term.
qv::LoanState LongestDebt() {
    qv::LoanState s = LongDebt(20000);
    s.split.SplitDaysPerPd = 7;
    s.split.SplitRegPay = 55.00;
    s.split.SplitFirstPay = 60.00;
    s.split.SplitLastPay = 70.00;
    s.split.SplitFirstExtra = 3;
    s.split.SplitLastExtra = 2;
    s.split.SplitSteps = {
        {{0.1, 10000}, {0.075, 30000}, {0.05, 60000}, {0.025, 999999.99}, {}, {}}};
    return s;
}

template <class Button>
void Run(benchmark::State& bs, Button button, const qv::LoanState& debt = LongDebt()) {
    SilentPort port;
    for (auto _ : bs) {
        qv::LoanState s = debt;  // the searches change the payment or the principal
        qv::SplitRun run = button(s, port);
        benchmark::DoNotOptimize(run.chart.data());
    }
}

void BM_JustAmortize_485Payments(benchmark::State& bs) {
    Run(bs, [](qv::LoanState& s, qv::UserPort& p) {
        return qv::JustAmortize(s.split, s.loan.RoundAdd, p);
    });
}
BENCHMARK(BM_JustAmortize_485Payments)->Unit(benchmark::kMillisecond);

void BM_MatchCommonPayment_485Payments(benchmark::State& bs) {
    Run(bs, [](qv::LoanState& s, qv::UserPort& p) {
        return qv::MatchCommonPayment(s.split, s.loan.RoundAdd, p);
    });
}
BENCHMARK(BM_MatchCommonPayment_485Payments)->Unit(benchmark::kMillisecond);

void BM_MatchPrincipal_485Payments(benchmark::State& bs) {
    Run(bs, [](qv::LoanState& s, qv::UserPort& p) {
        return qv::MatchPrincipal(s.split, s.loan.RoundAdd, p);
    });
}
BENCHMARK(BM_MatchPrincipal_485Payments)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

void BM_JustAmortize_20000Payments(benchmark::State& bs) {
    Run(
        bs,
        [](qv::LoanState& s, qv::UserPort& p) {
            return qv::JustAmortize(s.split, s.loan.RoundAdd, p);
        },
        LongestDebt());
}
BENCHMARK(BM_JustAmortize_20000Payments)->Unit(benchmark::kMillisecond);

void BM_MatchCommonPayment_20000Payments(benchmark::State& bs) {
    Run(
        bs,
        [](qv::LoanState& s, qv::UserPort& p) {
            return qv::MatchCommonPayment(s.split, s.loan.RoundAdd, p);
        },
        LongestDebt());
}
BENCHMARK(BM_MatchCommonPayment_20000Payments)->Unit(benchmark::kMillisecond);

void BM_MatchPrincipal_20000Payments(benchmark::State& bs) {
    Run(
        bs,
        [](qv::LoanState& s, qv::UserPort& p) {
            return qv::MatchPrincipal(s.split, s.loan.RoundAdd, p);
        },
        LongestDebt());
}
BENCHMARK(BM_MatchPrincipal_20000Payments)->Unit(benchmark::kMillisecond);

}  // namespace
