// The APR engine against its former self (core/apr_reference.*): on a large
// fixed set of generated schedules and on schedules whose terms sit on
// rounding boundaries, every implied amount, every step and every APR must
// come out identical, bit for bit.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/apr_engine.h"
#include "core/apr_reference.h"
#include "core/interval.h"
#include "core/pay_group.h"
#include "core/rate.h"
#include "data/memdset.h"
#include "schedule/regular_schedule.h"
#include "seeded_loans.h"

namespace qv {
namespace {

using qv::seeded::EquivalenceLoanCount;
using qv::seeded::Random;
using qv::seeded::Same;

constexpr std::int32_t kLargestCents = 2'147'483'647;

// Payments from a cent to the largest the matrix holds, evenly spread in
// their number of digits.
std::int32_t PaymentCents(Random& random) {
    const double cents =
        std::exp(random.Uniform(0.0, std::log(static_cast<double>(kLargestCents))));
    return std::clamp(static_cast<std::int32_t>(cents), 1, kLargestCents);
}

struct GeneratedLoan {
    LoanState state;
    AprSettings settings;
    std::string text;  // how to find it again when it fails
};

// One loan of 1 to 485 payments: an interval of the five, or per diem with
// intervals up to beyond a year; an odd first payment, a run of equal
// payments and a balloon, each now and then; an amount financed that gives
// the usual positive rates, rates in the hundreds, or a negative rate.
GeneratedLoan Generate(Random& random, TMemDataSet& paySet) {
    GeneratedLoan loan;
    LoanState& state = loan.state;
    const IntervalInfo& period = Describe(*IntervalOfItem(random.Between(0, 4)));
    state.loan.DaysPerPd = period.DaysPerPd;
    state.loan.PdsPerYear = period.PdsPerYear;
    state.loan.PerDiem = random.OneIn(5);
    loan.settings.TenPass = random.OneIn(2);
    loan.settings.Log = true;

    const std::int32_t shape = random.Between(1, 4);
    std::int32_t count = shape == 1
                             ? random.Between(1, 12)
                             : (shape == 2 ? random.Between(240, 485) : random.Between(1, 485));
    const std::int32_t pay = PaymentCents(random);
    std::ostringstream text;
    text << (state.loan.PerDiem ? "per diem " : "") << state.loan.DaysPerPd << " days/pd, tenPass "
         << loan.settings.TenPass << ", groups";

    EmptyTable(paySet);
    std::int64_t totalCents = 0;
    std::int32_t payments = 0;
    int sequence = 0;
    auto add = [&](std::int32_t size, std::int32_t cents, std::int32_t pds, std::int32_t days) {
        AppendPayGroup(paySet, {size, ++sequence, cents / 100.0, pds, days});
        paySet.Post();
        totalCents += static_cast<std::int64_t>(size) * cents;
        payments += size;
        text << " " << size << "x" << cents << "c/" << pds << "p+" << days << "d";
    };
    auto pds = [&] {
        return state.loan.PerDiem ? random.Between(0, 15)
                                  : (random.OneIn(8) ? random.Between(2, 3) : 1);
    };
    auto days = [&] { return state.loan.PerDiem || random.OneIn(8) ? random.Between(0, 400) : 0; };
    if (count > 1 && random.OneIn(3)) {
        const std::int64_t first = std::int64_t{pay} + random.Between(-pay / 2, pay / 2);
        add(1, static_cast<std::int32_t>(std::clamp<std::int64_t>(first, 1, kLargestCents)),
            random.Between(0, 2), random.Between(1, 2 * state.loan.DaysPerPd));
        --count;
    }
    const bool balloon = count > 1 && random.OneIn(4);
    add(count - balloon, pay, pds(), days());
    if (balloon)
        add(1,
            static_cast<std::int32_t>(
                std::min<std::int64_t>(std::int64_t{pay} * random.Between(2, 20), kLargestCents)),
            pds(), days());

    const std::int32_t kind = random.Between(1, 20);
    const double share = kind <= 17
                             ? random.Uniform(0.3, 0.99)
                             : (kind <= 19 ? random.Uniform(1.0, 1.5) : random.Uniform(0.05, 0.3));
    state.loan.AmtFin = std::round(static_cast<double>(totalCents) * share) / 100.0;
    state.loan.TotPay = CentsToCurrency(totalCents);
    state.loan.PayCount = payments;
    text << ", financed " << state.loan.AmtFin;
    loan.text = text.str();
    return loan;
}

// Runs the engine and the reference on one loan; describes the first
// difference, or returns empty.
std::string Compare(GeneratedLoan& loan, TMemDataSet& paySet) {
    ChartText chart;
    RecordingUserPort port;
    const std::size_t groups = static_cast<std::size_t>(paySet.Count());
    const AprOutcome outcome = GetAPR(loan.state.loan, paySet, loan.settings, chart, port);
    // A loan of a cent or two can round its share financed to nothing.
    if (outcome == AprOutcome::AmountTooLow) return {};
    if (outcome != AprOutcome::Computed && outcome != AprOutcome::NoRate)
        return "not computed: " + (port.messages.empty() ? std::string() : port.messages[0].text);
    const reference::SearchRun ref = reference::FindAPR(loan.state, AprTolerance(loan.settings));

    const LoanState& s = loan.state;
    std::vector<double> before;
    for (const double rate : ref.rates) {
        const double now =
            ImpliedAmtFin(s.loan, s.loan.DaysPerPd, s.loan.PayCount, s.loan.PdsPerYear, rate);
        before.push_back(reference::ImpliedAmtFin(s, s.loan.DaysPerPd, s.loan.PayCount,
                                                  s.loan.PdsPerYear, rate));
        if (!Same(now, before.back()))
            return "implied amount at " + std::to_string(rate) + ": " + std::to_string(now) +
                   " against " + std::to_string(before.back());
    }
    // The same rates two at a time, as the search evaluates them together.
    for (std::size_t k = 1; k < ref.rates.size(); ++k) {
        const std::array<double, 2> now =
            ImpliedAmtFinPair(s.loan, s.loan.DaysPerPd, s.loan.PayCount, s.loan.PdsPerYear,
                              ref.rates[k - 1], ref.rates[k]);
        if (!Same(now[0], before[k - 1]) || !Same(now[1], before[k]))
            return "implied amounts at " + std::to_string(ref.rates[k - 1]) + " and " +
                   std::to_string(ref.rates[k]) + " together: " + std::to_string(now[0]) + ", " +
                   std::to_string(now[1]) + " against " + std::to_string(before[k - 1]) + ", " +
                   std::to_string(before[k]);
    }
    ChartText expected(chart.begin(), chart.begin() + static_cast<std::ptrdiff_t>(6 + groups));
    expected.insert(expected.end(), ref.steps.begin(), ref.steps.end());
    if (ref.apr) expected.push_back("Estimated APR = " + FloatToStr(*ref.apr) + "%");
    if (chart != expected) {
        std::string lines = "steps differ:";
        for (std::size_t k = 0; k < std::max(chart.size(), expected.size()); ++k)
            if (k >= chart.size() || k >= expected.size() || chart[k] != expected[k])
                lines += "\n  engine    " + (k < chart.size() ? chart[k] : std::string("-")) +
                         "\n  reference " + (k < expected.size() ? expected[k] : std::string("-"));
        return lines;
    }
    if ((outcome == AprOutcome::Computed) != ref.apr.has_value()) return "outcome differs";
    if (ref.apr && !Same(s.loan.APR, *ref.apr)) return "APR differs";
    return {};
}

TEST(AprEquivalence, GeneratedLoansGiveTheSameAmountsStepsAndRates) {
    TMemDataSet paySet("mdsPaySet");
    DefinePaySetTable(paySet);
    Random random(20261208);
    const int loans = EquivalenceLoanCount();
    int computed = 0;
    for (int k = 0; k < loans; ++k) {
        GeneratedLoan loan = Generate(random, paySet);
        const std::string difference = Compare(loan, paySet);
        if (!difference.empty()) {
            ADD_FAILURE() << "loan " << k << " (" << loan.text << "): " << difference;
            return;
        }
        computed += loan.state.loan.APR != 20.0;
    }
    // Nearly all of them reach a rate: the set is not trivially empty.
    EXPECT_GT(computed, loans * 9 / 10);
}

TEST(AprEquivalence, TermsOnRoundingBoundariesRoundAsPowRoundsThem) {
    // 485 monthly payments of the largest amount: at a rate where carrying
    // the power by multiplication would round some term to another
    // ten-thousandth than `pow` does, the amounts must still agree.
    LoanState state;
    for (std::int32_t k = 1; k <= kMaxPayments; ++k)
        state.loan.PayMatrix[static_cast<std::size_t>(k)] = {kLargestCents, 1, 0, k, 0};
    const double payment = kLargestCents * 100.0;
    Random random(485);
    int onBoundary = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const double apr = random.Uniform(-60.0, 60.0);
        const double base = 1.0 + fni(12.0, apr);
        double carried = 1.0;
        bool boundary = false;
        for (int t = 1; t <= kMaxPayments && !boundary; ++t) {
            carried *= base;
            boundary =
                std::nearbyint(payment / carried) != std::nearbyint(payment / std::pow(base, t));
        }
        if (!boundary) continue;
        ++onBoundary;
        const double expected = reference::ImpliedAmtFin(state, 30, kMaxPayments, 12.0, apr);
        EXPECT_TRUE(Same(ImpliedAmtFin(state.loan, 30, kMaxPayments, 12.0, apr), expected)) << apr;
        // Beside a rate whose terms round safely, and beside itself.
        const std::array<double, 2> pair =
            ImpliedAmtFinPair(state.loan, 30, kMaxPayments, 12.0, 9.5, apr);
        EXPECT_TRUE(Same(pair[1], expected)) << apr;
        EXPECT_TRUE(
            Same(ImpliedAmtFinPair(state.loan, 30, kMaxPayments, 12.0, apr, apr)[0], expected))
            << apr;
    }
    EXPECT_GT(onBoundary, 30);
}

}  // namespace
}  // namespace qv
