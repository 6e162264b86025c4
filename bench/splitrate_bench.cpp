// Time of the split-rate page's three computing buttons on the longest
// schedule: 485 monthly payments over four rate steps, with an odd first
// interval and a different last payment, so every line carries its tags.
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

qv::LoanState LongDebt() {
    qv::LoanState s;
    s.SplitPrincipal = 98765.43;
    s.SplitPayCount = 485;
    s.SplitRegPay = 700.00;
    s.SplitFirstPay = 812.37;
    s.SplitLastPay = 803.11;
    s.SplitFirstPds = 1;
    s.SplitFirstExtra = 17;
    s.SplitLastPds = 1;
    s.SplitLastExtra = 9;
    s.SplitSteps = {{{1.0, 10000}, {0.75, 30000}, {0.5, 60000}, {0.25, 999999.99}, {}, {}}};
    return s;
}

template <class Button>
void Run(benchmark::State& bs, Button button) {
    const qv::LoanState debt = LongDebt();
    SilentPort port;
    for (auto _ : bs) {
        qv::LoanState s = debt;  // the searches change the payment or the principal
        qv::SplitRun run = button(s, port);
        benchmark::DoNotOptimize(run.chart.data());
    }
}

void BM_JustAmortize_485Payments(benchmark::State& bs) {
    Run(bs, [](qv::LoanState& s, qv::UserPort& p) { return qv::JustAmortize(s, p); });
}
BENCHMARK(BM_JustAmortize_485Payments)->Unit(benchmark::kMillisecond);

void BM_MatchCommonPayment_485Payments(benchmark::State& bs) {
    Run(bs, [](qv::LoanState& s, qv::UserPort& p) { return qv::MatchCommonPayment(s, p); });
}
BENCHMARK(BM_MatchCommonPayment_485Payments)->Unit(benchmark::kMillisecond);

void BM_MatchPrincipal_485Payments(benchmark::State& bs) {
    Run(bs, [](qv::LoanState& s, qv::UserPort& p) { return qv::MatchPrincipal(s, p); });
}
BENCHMARK(BM_MatchPrincipal_485Payments)->Unit(benchmark::kMillisecond);

}  // namespace
