#include "core/apr_engine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_set>

#include "core/pay_group.h"
#include "core/pay_schedule.h"
#include "data/memdset.h"
#include "data/table_walk.h"

namespace qv {
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

// Below this magnitude a double still has a bit below its units, so
// RoundToWhole rounds it as std::nearbyint does.
constexpr double kRoundsExactlyBelow = 0x1p51;

// std::nearbyint in the default rounding mode (to nearest, ties to even) for
// |x| < kRoundsExactlyBelow, without a library call: adding 1.5 x 2^52
// leaves no bit below the units, that addition rounds to nearest even, and
// taking it away again is exact. (A zero may lose its sign, which no sum of
// currency sees.)
double RoundToWhole(double x) {
    constexpr double kShift = 0x1.8p52;
    return (x + kShift) - kShift;
}

// Sums currency terms exactly; remembers when a term or the sum leaves the
// currency range.
class TermSum {
  public:
    // Adds `value` (already in currency units) rounded to the nearest unit,
    // ties to even. The first term or sum to leave the range decides the
    // side the total lies on.
    void Add(double value) {
        // Up to 485 terms below 2^51 add up to less than 2^60, well inside
        // the currency range: only a larger term needs the checked sum.
        if (std::fabs(value) < kRoundsExactlyBelow && !checked_)
            sum_ += static_cast<Currency>(RoundToWhole(value));
        else
            AddChecked(value);
    }
    // Adds a term already rounded to a whole number of units.
    void AddWhole(double whole) {
        if (std::fabs(whole) < kRoundsExactlyBelow && !checked_)
            sum_ += static_cast<Currency>(whole);
        else
            AddChecked(whole);
    }
    double Dollars() const {
        if (overflow_ != 0) return overflow_ * kInf;
        return CurrencyToDollars(sum_);
    }

  private:
    void AddChecked(double value) {
        checked_ = true;
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

    Currency sum_ = 0;
    int overflow_ = 0;
    bool checked_ = false;
};
static_assert(kMaxPayments * kRoundsExactlyBelow < static_cast<double>(kMaxCurrency) / 8);

Currency PaymentCurrency(const PayEntry& e) {
    return CentsToCurrency(e.PayCents);
}

constexpr double kUnitRoundoff = 0x1p-53;

// True when `approx`, within `errorUnits` unit roundoffs of the value `exact`
// computed another way, lies far enough from every odd multiple of one half
// that both round to the same whole number `whole` = RoundToWhole(approx).
bool RoundsLike(double approx, double whole, double errorUnits) {
    // Exact: approx - whole is at most one half and has no rounding.
    const double fromHalf = 0.5 - std::fabs(approx - whole);
    return fromHalf > errorUnits * kUnitRoundoff * std::fabs(approx);
}

// P / (1 + i)^t for the payments of a schedule, rounded to currency, without
// a `pow` or a division per payment. The t rise payment by payment, so the
// discount (1 + i)^-t is carried along by multiplication; a term is
// recomputed as it always was, P / pow(1 + i, t), wherever the carried
// discount could round it to another amount, so every term is the whole
// number it has always been.
//
// Why the check is enough. Let x be the base 1 + i as a double, u = 2^-53
// and Q = P / x^t exactly. `pow` is taken to be within a = 4 u of x^t
// (glibc's pow is within one unit in the last place, 2 u). The factor y =
// 1 / x carries one rounding, and each product by it one more, so each step
// adds at most 2 u; a run starts exact (x^0 = 1) or from 1 / pow, within
// (a + 1) u. The carried discount is then x^-t (1 + e), |e| <= m u
// (1 + 1e-12) for m below kMaxErrorUnits (m = 2n after n steps, plus a + 1
// after a restart). The product by P adds one u; the old quotient
// P / pow(x, t) is within (a + 1) u of Q. So the two quotients q and q'
// satisfy |q - q'| <= (m + a + 2) u |Q| (1 + 1e-12) < (m + 8) u |q|. A q
// farther than that from every odd multiple of one half rounds to the same
// whole number as q'; a q nearer, a discount outside the normal range (where
// a product is no longer rounded to 53 bits) or a quotient beyond 2^51
// takes the old way.
class WholePeriodDiscount {
  public:
    explicit WholePeriodDiscount(double base) : base_(base), factor_(1.0 / base) {}

    // nearbyint(payment / pow(base, t)).
    double Discounted(double payment, std::int32_t t) {
        if (!CarryTo(t)) {
            Restart(t);
            return std::nearbyint(payment / std::pow(base_, t));
        }
        const double q = payment * discount_;
        if (std::fabs(q) < kRoundsExactlyBelow) {
            const double whole = RoundToWhole(q);
            if (RoundsLike(q, whole, errorUnits_ + 8)) return whole;
        }
        return std::nearbyint(payment / std::pow(base_, t));
    }

  private:
    static constexpr std::int32_t kMaxStride = 64;
    static constexpr double kPowErrorUnits = 4;
    static constexpr double kMaxErrorUnits = 4096;

    // Multiplies the discount on to base^-t; false when it cannot get there
    // within the error it allows (t behind it or far ahead, too many steps,
    // a discount outside the normal range).
    bool CarryTo(std::int32_t t) {
        if (t < t_ || t - t_ > kMaxStride || errorUnits_ + 2 * (t - t_) > kMaxErrorUnits)
            return false;
        errorUnits_ += 2 * static_cast<double>(t - t_);
        for (; t_ < t; ++t_) discount_ *= factor_;
        return discount_ >= std::numeric_limits<double>::min() &&
               discount_ <= std::numeric_limits<double>::max();
    }

    void Restart(std::int32_t t) {
        discount_ = 1.0 / std::pow(base_, t);
        t_ = t;
        errorUnits_ = kPowErrorUnits + 1;
    }

    double base_;
    double factor_;
    double discount_ = 1.0;
    std::int32_t t_ = 0;
    double errorUnits_ = 0;
};

// Adds D / oddDays rounded to currency, D a whole number of currency units:
// by the reciprocal, which is within 2 u of the quotient (one rounding in
// the reciprocal, one in the product), unless that could round otherwise.
void AddOddDaysDiscounted(TermSum& sum, double discounted, double oddDays, double inverse) {
    const double approx = discounted * inverse;
    if (std::fabs(approx) < kRoundsExactlyBelow) {
        const double whole = RoundToWhole(approx);
        if (RoundsLike(approx, whole, 4)) return sum.AddWhole(whole);
    }
    sum.Add(discounted / oddDays);
}

// Appendix J's general equation: each payment discounted by whole periods
// compounded and the odd days as simple interest on one period's rate.
double ImpliedUnitPeriod(const LoanState& state, std::int32_t daysPerPd, std::int32_t count,
                         double pdsPerYear, double apr) {
    const double i = fni(pdsPerYear, apr);
    if (!(1.0 + i > 0.0)) return kNaN;
    WholePeriodDiscount discount(1.0 + i);
    TermSum sum;
    // Most schedules carry the same odd days on every payment.
    std::int32_t cumDays = 0;
    double oddDays = 1.0;
    double inverseOddDays = 1.0;
    for (std::int32_t k = 1; k <= count; ++k) {
        const PayEntry& e = state.PayMatrix[static_cast<size_t>(k)];
        if (e.CumDays != cumDays || k == 1) {
            cumDays = e.CumDays;
            oddDays = 1.0 + i * e.CumDays / daysPerPd;
            if (!(oddDays > 0.0)) return kNaN;
            inverseOddDays = 1.0 / oddDays;
        }
        // A payment of nothing is worth nothing at any rate, even where its
        // discount factor has overflowed (0 x infinity would be no number).
        if (e.PayCents == 0) continue;
        const double discounted =
            discount.Discounted(static_cast<double>(PaymentCurrency(e)), e.CumPds);
        // A whole number over exactly one needs no rounding (the discounted
        // amount is whole, or beyond the range and refused either way).
        if (oddDays == 1.0)
            sum.AddWhole(discounted);
        else
            AddOddDaysDiscounted(sum, discounted, oddDays, inverseOddDays);
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
    // Runs of equal intervals share their growth.
    double days = kNaN;
    double interval = kNaN;
    for (std::int32_t k = 1; k <= count; ++k) {
        const PayEntry& e = state.PayMatrix[static_cast<size_t>(k)];
        const double intervalDays = static_cast<double>(daysPerPd) * e.PriorPds + e.AddDays;
        if (!(intervalDays == days)) {
            days = intervalDays;
            interval = PerDiemGrowth(apr, days);
        }
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

void WriteSummary(const LoanState& state, TMemDataSet& paySet, ChartText& chart,
                  const FormatSettings& fs) {
    const double totPay = CurrencyToDollars(state.TotPay);
    chart.clear();
    chart.push_back("APR evaluated by Quorvane version 0.9992");
    chart.push_back("Amount Financed:   $" + Num(state.AmtFin, 15, 2, fs));
    chart.push_back("Total of Payments: $" + Num(totPay, 15, 2, fs));
    chart.push_back("Finance Charge:    $" + Num(totPay - state.AmtFin, 15, 2, fs));
    chart.push_back("Payment Schedule, where " + std::to_string(state.DaysPerPd) + " days/Pd & " +
                    Num(state.PdsPerYear, 8, 5, fs) + " Pds/year:");
    {
        // The walk leaves the table on its last group, as the grids expect
        // after a computation.
        TableWalk walk(paySet);
        walk.KeepCursorAtEnd();
        for (paySet.MoveFirst(); !paySet.AtEnd(); paySet.MoveNext()) {
            const PayGroup g = ReadPayGroup(paySet);
            chart.push_back("    " + std::to_string(g.SetSize) + " payments of $ " +
                            Num(g.PaySize, 9, 2, fs) + " on intervals of " +
                            std::to_string(g.PriorPds) + " periods and " +
                            std::to_string(g.AddDays) + " days per interval.");
        }
    }
    chart.push_back("Total of " + std::to_string(state.PayCount) + " payments scheduled.");
}

// The last few implied amounts a search evaluated. The secant step's next
// rate can be the second rate of the step before, and the checks of a
// result look again at rates just tried; each amount depends only on its
// rate, so it is taken from here rather than summed again.
class RecentAmounts {
  public:
    std::optional<double> Find(double apr) const {
        for (std::size_t k = 0; k < filled_; ++k)
            if (entries_[k].apr == apr) return entries_[k].amount;
        return std::nullopt;
    }
    void Keep(double apr, double amount) {
        entries_[next_] = {apr, amount};
        next_ = (next_ + 1) % entries_.size();
        filled_ = std::min(filled_ + 1, entries_.size());
    }

  private:
    struct Entry {
        double apr;
        double amount;
    };
    std::array<Entry, 8> entries_{};
    std::size_t next_ = 0;
    std::size_t filled_ = 0;
};

// Everything one search for the rate needs.
struct Search {
    const LoanState& state;
    std::int32_t count;
    double tolerance;
    bool log;
    ChartText& chart;
    const FormatSettings& fs;
    RecentAmounts& recent;

    double Implied(double apr) const {
        if (const std::optional<double> amount = recent.Find(apr)) return *amount;
        const double amount = ImpliedAmtFin(state, state.DaysPerPd, count, state.PdsPerYear, apr);
        recent.Keep(apr, amount);
        return amount;
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
std::optional<double> FindAPR(const Search& s) {
    // Rounding can carry a rate that lies just inside the range where the
    // discount factors are defined across its edge; a rate at which the
    // schedule has no present value solves nothing.
    auto defined = [&s](double rate) { return !std::isnan(s.Implied(rate)); };
    if (const std::optional<double> rate = SecantSearch(s)) {
        const double rounded = RoundedAPR(*rate);
        const bool inRange = rounded >= kLowestSearchedAPR && rounded <= kHighestSearchedAPR;
        // The rates where every factor is defined form one interval (each
        // factor is positive on one side of a single rate), and the secant
        // step left it defined at its rate and 0.1 above: only rounding down
        // can leave it.
        if ((inRange && (rounded >= *rate || defined(rounded))) || MeetsAmountFinanced(s, rounded))
            return rounded;
    }
    if (const std::optional<double> rate = BracketSearch(s)) {
        const double rounded = RoundedAPR(*rate);
        if (defined(rounded)) return rounded;
    }
    return std::nullopt;
}

bool UnitPeriodUsable(const LoanState& state) {
    return state.DaysPerPd > 0 && std::isfinite(state.PdsPerYear) && state.PdsPerYear > 0;
}

}  // namespace

double AprTolerance(const AprSettings& settings) {
    return settings.TenPass ? 0.0005 : 0.005;
}

double ImpliedAmtFin(const LoanState& state, std::int32_t DaysPerPd, std::int32_t Count,
                     double PdsPerYear, double APR) {
    const std::int32_t count = std::clamp(Count, 0, kMaxPayments);
    if (count == 0) return 0.0;
    if (!std::isfinite(APR)) return kNaN;
    if (state.PerDiem) return ImpliedPerDiem(state, DaysPerPd, count, APR);
    if (DaysPerPd <= 0 || !(PdsPerYear > 0)) return kNaN;
    return ImpliedUnitPeriod(state, DaysPerPd, count, PdsPerYear, APR);
}

AprOutcome GetAPR(LoanState& state, TMemDataSet& paySet, const AprSettings& settings,
                  ChartText& chart, UserPort& port, const FormatSettings& fs) {
    const double tolerance = AprTolerance(settings);

    // Amounts a file or another tool may bring in beyond the currency range
    // would only find the rate where the implied amount overflows.
    if (!TryDollarsToCurrency(state.AmtFin) || !InCurrencyRange(state.TotPay)) {
        port.Warn(
            std::string(InCurrencyRange(state.TotPay) ? kAmtFinOutOfRange : kTotalOutOfRange));
        port.Inform("InputError, no APR Computed");
        return AprOutcome::ScheduleRejected;
    }
    if (static_cast<double>(state.TotPay) * 0.04 >= state.AmtFin * 10000.0) {
        port.Inform(CurrencyText(state.AmtFin, fs) + " Amount Financed " +
                    "is too low to compute a meaningful APR");
        return AprOutcome::AmountTooLow;
    }
    if (!UnitPeriodUsable(state)) {
        const std::string periods = std::isfinite(state.PdsPerYear)
                                        ? FloatToStr(state.PdsPerYear, fs)
                                        : std::string("no defined number of");
        port.Inform("A unit period of " + std::to_string(state.DaysPerPd) + " days and " + periods +
                    " periods a year cannot be computed.\n\rInputError, no APR Computed");
        return AprOutcome::ScheduleRejected;
    }
    if (!SetPayArray(state, paySet, port, fs)) {
        port.Inform("InputError, no APR Computed");
        return AprOutcome::ScheduleRejected;
    }

    try {
        WriteSummary(state, paySet, chart, fs);
    } catch (const EMemDatasetError& e) {
        port.Warn(e.what());
        return AprOutcome::ScheduleRejected;
    }

    RecentAmounts recent;
    const Search search{state, state.PayCount, tolerance, settings.Log, chart, fs, recent};
    const std::optional<double> rate = FindAPR(search);
    if (!rate) {
        port.Inform("No APR between " + FloatToStr(kLowestSearchedAPR, fs) + "% and " +
                    Num(kHighestSearchedAPR, 15, 0, fs) +
                    "% a year gives this schedule's Amount Financed of " +
                    CurrencyText(state.AmtFin, fs) + ".\n\rInputError, no APR Computed");
        return AprOutcome::NoRate;
    }

    state.APR = *rate;
    chart.push_back("Estimated APR = " + FloatToStr(state.APR, fs) + "%");
    return AprOutcome::Computed;
}

}  // namespace qv
