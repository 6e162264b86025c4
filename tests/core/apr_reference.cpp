// The evaluation and search of the APR engine, one `pow` per payment. See
// apr_reference.h.
#include "core/apr_reference.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

#include "base/format.h"
#include "core/rate.h"

namespace qv::reference {
namespace {

constexpr double kStartAPR = 24.0;
constexpr double kSecantStep = 0.1;
// The secant step usually settles in a handful of steps, but on rough
// schedules it can wander for a few hundred before it does; this bound only
// ends the runs that never would.
constexpr int kMaxSecantSteps = 1000;
// Where the bisection stops narrowing when the rate sits on a rounding
// boundary, in percent per year.
constexpr double kNarrowestBracket = 1e-9;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Sums currency terms exactly; remembers when a term or the sum leaves the
// currency range.
class TermSum {
  public:
    // Adds `value` (already in currency units) rounded to the nearest unit,
    // ties to even. The first term or sum to leave the range decides the
    // side the total lies on.
    void Add(double value) {
        if (overflow_ != 0) return;
        const std::optional<Currency> term = TryRoundToCurrency(value);
        if (!term) {
            overflow_ = value > 0 ? 1 : -1;
            return;
        }
        if (const std::optional<Currency> sum = CheckedSum(sum_, *term))
            sum_ = *sum;
        else
            overflow_ = *term > 0 ? 1 : -1;
    }
    double Dollars() const {
        if (overflow_ != 0) return overflow_ * kInf;
        return CurrencyToDollars(sum_);
    }

  private:
    Currency sum_ = 0;
    int overflow_ = 0;
};

Currency PaymentCurrency(const PayEntry& e) {
    return CentsToCurrency(e.PayCents);
}

// Appendix J's general equation: each payment discounted by whole periods
// compounded and the odd days as simple interest on one period's rate.
double ImpliedUnitPeriod(const LoanState& state, std::int32_t daysPerPd, std::int32_t count,
                         double pdsPerYear, double apr) {
    const double i = fni(pdsPerYear, apr);
    if (!(1.0 + i > 0.0)) return kNaN;
    TermSum sum;
    for (std::int32_t k = 1; k <= count; ++k) {
        const PayEntry& e = state.PayMatrix[static_cast<size_t>(k)];
        const double oddDays = 1.0 + i * e.CumDays / daysPerPd;
        if (!(oddDays > 0.0)) return kNaN;
        // A payment of nothing is worth nothing at any rate, even where its
        // discount factor has overflowed (0 x infinity would be no number).
        if (e.PayCents == 0) continue;
        const double discounted =
            std::nearbyint(static_cast<double>(PaymentCurrency(e)) / std::pow(1.0 + i, e.CumPds));
        sum.Add(discounted / oddDays);
    }
    return sum.Dollars();
}

// Per-diem basis: each interval discounted by its growth (simple interest on
// its days, compounded yearly beyond a year), the factors accumulating
// payment to payment.
double ImpliedPerDiem(const LoanState& state, std::int32_t daysPerPd, std::int32_t count,
                      double apr) {
    double factor = 1.0;
    TermSum sum;
    for (std::int32_t k = 1; k <= count; ++k) {
        const PayEntry& e = state.PayMatrix[static_cast<size_t>(k)];
        const double days = static_cast<double>(daysPerPd) * e.PriorPds + e.AddDays;
        const double interval = PerDiemGrowth(apr, days);
        if (!(interval > 0.0)) return kNaN;
        factor = factor / interval;
        if (e.PayCents != 0) sum.Add(static_cast<double>(PaymentCurrency(e)) * factor);
    }
    return sum.Dollars();
}

// The lowest annual rate at which every discount factor of the schedule is
// still defined, nudged inside that limit; -infinity when every rate is (a
// per-diem schedule without an interval of any length).
double LowestDefinedAPR(const LoanState& state, std::int32_t count) {
    double lowest = -kInf;
    if (state.PerDiem) {
        double longest = 0.0;
        for (std::int32_t k = 1; k <= count; ++k) {
            const PayEntry& e = state.PayMatrix[static_cast<size_t>(k)];
            longest =
                std::max(longest, static_cast<double>(state.DaysPerPd) * e.PriorPds + e.AddDays);
        }
        // An interval of a year or more compounds yearly: defined down to
        // -100 %, as a year of simple interest is.
        if (longest > 0)
            lowest = -100.0 * kPerDiemDaysPerYear / std::min(longest, kPerDiemDaysPerYear);
    } else {
        lowest = -100.0 * state.PdsPerYear;
    }
    if (std::isinf(lowest)) return lowest;
    return std::nextafter(lowest, kInf) + std::fabs(lowest) * 1e-12;
}

std::string Num(double x, int precision, int decimals, const FormatSettings& fs) {
    return FloatToStrF(x, FloatStyle::Number, precision, decimals, fs);
}

// Everything one search for the rate needs.
struct Search {
    const LoanState& state;
    std::int32_t count;
    double tolerance;
    bool log;
    ChartText& chart;
    const FormatSettings& fs;

    std::vector<double>& rates;

    double Implied(double apr) const {
        rates.push_back(apr);
        return reference::ImpliedAmtFin(state, state.DaysPerPd, count, state.PdsPerYear, apr);
    }
};

// The secant iteration from 24 %: the straight line through the implied
// amounts at two rates 0.1 apart gives the next estimate, until two
// successive rates agree within the tolerance. Returns the last rate
// evaluated, or nothing when a step leaves the range where the implied amount
// is defined, meets a flat stretch, or cycles without settling.
std::optional<double> SecantSearch(const Search& s) {
    double apr = kStartAPR;
    double estimate = apr;
    std::unordered_set<double> tried;
    for (int step = 0; step < kMaxSecantSteps; ++step) {
        apr = estimate;
        const double a1 = s.Implied(apr);
        const double a2 = s.Implied(apr + kSecantStep);
        if (!std::isfinite(a1) || !std::isfinite(a2) || a1 == a2) return std::nullopt;
        estimate = apr + kSecantStep * (s.state.AmtFin - a1) / (a2 - a1);
        if (!std::isfinite(estimate)) return std::nullopt;
        if (s.log) {
            s.chart.push_back(Num(apr, 8, 5, s.fs) + "% implies $ " + Num(a1, 8, 2, s.fs) + " & " +
                              Num(apr + 0.1, 8, 5, s.fs) + "% implies $ " + Num(a2, 8, 2, s.fs) +
                              " reEstimated APR = " + Num(estimate, 8, 5, s.fs) + "%");
        }
        if (std::fabs(estimate - apr) < s.tolerance) return apr;
        // The implied amount moves in whole ten-thousandths of a dollar, so on
        // small loans the steps can cycle through the same rates for ever.
        // Each step depends only on its rate: coming back to a rate already
        // tried means the cycle has begun and will never settle.
        tried.insert(apr);
        if (tried.contains(estimate)) return std::nullopt;
    }
    return std::nullopt;
}

int SignOf(double x) {
    return x > 0 ? 1 : (x < 0 ? -1 : 0);
}

// An annual rate as the engine reports it: half up to 3 decimals; floor
// rather than truncation keeps negative rates rounding the same way as
// positive ones.
double RoundedAPR(double apr) {
    return std::floor(1000.0 * apr + 0.5) / 1000.0;
}

// Bisection on the same implied amount, for the schedules the secant step
// cannot settle. The implied amount falls as the rate rises (rises, for a
// schedule of negative payments), so a sign change of implied minus amount
// financed between the ends of the searched range brackets the rate. The
// bisection has no earlier digits to keep, so it narrows the bracket until
// every rate in it rounds to the same 3 decimals (or to kNarrowestBracket,
// where the rate sits on a rounding boundary).
std::optional<double> BracketSearch(const Search& s) {
    double lo = std::max(kLowestSearchedAPR, LowestDefinedAPR(s.state, s.count));
    double hi = kHighestSearchedAPR;
    const double gapLo = s.Implied(lo) - s.state.AmtFin;
    const double gapHi = s.Implied(hi) - s.state.AmtFin;
    if (std::isnan(gapLo) || std::isnan(gapHi)) return std::nullopt;
    if (gapLo == 0) return lo;
    if (gapHi == 0) return hi;
    const int signLo = SignOf(gapLo);
    if (signLo == SignOf(gapHi)) return std::nullopt;
    if (s.log) {
        s.chart.push_back("Secant steps did not settle; bisecting between " + Num(lo, 8, 5, s.fs) +
                          "% and " + Num(hi, 8, 5, s.fs) + "%");
    }
    while (RoundedAPR(lo) != RoundedAPR(hi) && hi - lo > kNarrowestBracket) {
        const double mid = lo + (hi - lo) / 2;
        const double gap = s.Implied(mid) - s.state.AmtFin;
        if (std::isnan(gap)) return std::nullopt;
        if (gap == 0) return mid;
        if (SignOf(gap) == signLo)
            lo = mid;
        else
            hi = mid;
    }
    return lo + (hi - lo) / 2;
}

// True when the implied amount meets the amount financed within the search's
// tolerance and the rounding of `apr`: the amounts implied just below and just
// above it lie on either side of the amount financed (or on it).
bool MeetsAmountFinanced(const Search& s, double apr) {
    const double reach = s.tolerance + 0.0005;
    const double below = s.Implied(apr - reach) - s.state.AmtFin;
    const double above = s.Implied(apr + reach) - s.state.AmtFin;
    if (std::isnan(below) || std::isnan(above)) return false;
    // The implied amount moves in whole ten-thousandths: a gap within half
    // of one is no gap.
    auto side = [](double gap) { return std::fabs(gap) < 0.00005 ? 0 : SignOf(gap); };
    return side(below) * side(above) <= 0;
}

// The rate of the schedule, rounded to 3 decimals. The secant step's result
// stands as users know it. Outside the searched range it stands only when it
// is a true solution (a loan whose finance charge is negative can have one far
// below -99 %); otherwise, and when the secant step cannot settle, the
// bisection decides.
std::optional<double> FindRate(const Search& s) {
    // Rounding can carry a rate that lies just inside the range where the
    // discount factors are defined across its edge; a rate at which the
    // schedule has no present value solves nothing.
    auto defined = [&s](double rate) { return !std::isnan(s.Implied(rate)); };
    if (const std::optional<double> rate = SecantSearch(s)) {
        const double rounded = RoundedAPR(*rate);
        const bool inRange = rounded >= kLowestSearchedAPR && rounded <= kHighestSearchedAPR;
        if ((inRange && defined(rounded)) || MeetsAmountFinanced(s, rounded)) return rounded;
    }
    if (const std::optional<double> rate = BracketSearch(s)) {
        const double rounded = RoundedAPR(*rate);
        if (defined(rounded)) return rounded;
    }
    return std::nullopt;
}

}  // namespace

double ImpliedAmtFin(const LoanState& state, std::int32_t DaysPerPd, std::int32_t Count,
                     double PdsPerYear, double APR) {
    const std::int32_t count = std::clamp(Count, 0, kMaxPayments);
    if (count == 0) return 0.0;
    if (!std::isfinite(APR)) return kNaN;
    if (state.PerDiem) return ImpliedPerDiem(state, DaysPerPd, count, APR);
    if (DaysPerPd <= 0 || !(PdsPerYear > 0)) return kNaN;
    return ImpliedUnitPeriod(state, DaysPerPd, count, PdsPerYear, APR);
}

SearchRun FindAPR(const LoanState& state, double tolerance) {
    SearchRun run;
    const FormatSettings fs;
    const Search search{state, state.PayCount, tolerance, true, run.steps, fs, run.rates};
    run.apr = FindRate(search);
    return run;
}

}  // namespace qv::reference
