#include "core/apr_engine.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>

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
    // True while every term has been small: a whole term of at most 2^51 may
    // then be added by AddSmallWhole (485 of them stay far inside the range).
    bool Unchecked() const { return !checked_; }
    void AddSmallWhole(double whole) { sum_ += static_cast<Currency>(whole); }
    // Adds whole units of small terms summed elsewhere while Unchecked.
    void AddSmallUnits(Currency units) { sum_ += units; }
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

// True when `approx`, within bound |approx| of the value `exact` computed
// another way, lies far enough from every odd multiple of one half that both
// round to the same whole number `whole` = RoundToWhole(approx).
bool RoundsLike(double approx, double whole, double bound) {
    // Exact: approx - whole is at most one half and has no rounding.
    const double fromHalf = 0.5 - std::fabs(approx - whole);
    return fromHalf > bound * std::fabs(approx);
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
// takes the old way. The bound is kept as (m + 8) u itself: m is a whole
// number below 2^13, so that double and its steps of 2 u are exact.
//
// The usual term (the next period, a quotient that rounds safely, a sum
// of small terms) is taken inline with the lane's values in registers;
// everything else goes through AddSlowly, which handles the lane as a value
// so that the usual path never has to keep it in memory.
struct UnitPeriodLane {
    static constexpr std::int64_t kMaxStride = 64;
    static constexpr double kPowErrorUnits = 4;
    static constexpr double kMaxErrorUnits = 4096;
    // (m + 8) u for m = 0, after a restart (m = a + 1) and at most.
    static constexpr double kExactStartBound = 8 * kUnitRoundoff;
    static constexpr double kRestartBound = (kPowErrorUnits + 1 + 8) * kUnitRoundoff;
    static constexpr double kLargestBound = (kMaxErrorUnits + 8) * kUnitRoundoff;
    static constexpr double kStepBound = 2 * kUnitRoundoff;
    // The odd days' quotient by the reciprocal: one rounding in the
    // reciprocal, one in the product.
    static constexpr double kOddDaysBound = 4 * kUnitRoundoff;

    explicit UnitPeriodLane(double rate) : i(rate), base(1.0 + rate), factor(1.0 / base) {}

    double i;                         // the rate per period
    double base;                      // 1 + i
    double factor;                    // 1 / (1 + i)
    double discount = 1.0;            // (1 + i)^-t, carried
    std::int64_t t = 0;               // the period the discount is carried to
    double bound = kExactStartBound;  // (m + 8) u
    double oddDays = 1.0;             // 1 + i f for the current odd days
    double inverseOddDays = 1.0;      // 1 / oddDays
    TermSum sum;
};

// Multiplies the discount on to base^-t; false when it cannot get there
// within the error it allows (t behind it or far ahead, too many steps, a
// discount outside the normal range).
bool CarryTo(UnitPeriodLane& lane, std::int32_t t) {
    const std::int64_t steps = t - lane.t;
    const double grown = lane.bound + UnitPeriodLane::kStepBound * static_cast<double>(steps);
    if (steps < 0 || steps > UnitPeriodLane::kMaxStride || grown > UnitPeriodLane::kLargestBound)
        return false;
    lane.bound = grown;
    for (; lane.t < t; ++lane.t) lane.discount *= lane.factor;
    return lane.discount >= std::numeric_limits<double>::min() &&
           lane.discount <= std::numeric_limits<double>::max();
}

// nearbyint(payment / pow(base, t)) by the carried discount where that is
// safe, the old way otherwise (carrying on from its power).
double Discounted(UnitPeriodLane& lane, double payment, std::int32_t t) {
    if (!CarryTo(lane, t)) {
        const double power = std::pow(lane.base, t);
        lane.discount = 1.0 / power;
        lane.t = t;
        lane.bound = UnitPeriodLane::kRestartBound;
        return std::nearbyint(payment / power);
    }
    const double q = payment * lane.discount;
    const double whole = RoundToWhole(q);
    if (std::fabs(q) < kRoundsExactlyBelow && RoundsLike(q, whole, lane.bound)) return whole;
    return std::nearbyint(payment / std::pow(lane.base, t));
}

// Any term, with every check: the lane comes in and goes out by value.
[[gnu::noinline]] UnitPeriodLane AddSlowly(UnitPeriodLane lane, double payment, std::int32_t t) {
    const double discounted = Discounted(lane, payment, t);
    // A whole number over exactly one needs no rounding (the discounted
    // amount is whole, or beyond the range and refused either way).
    if (lane.oddDays == 1.0) {
        lane.sum.AddWhole(discounted);
        return lane;
    }
    // D / oddDays, D whole, by the reciprocal unless that could round
    // otherwise.
    const double approx = discounted * lane.inverseOddDays;
    const double whole = RoundToWhole(approx);
    if (std::fabs(approx) < kRoundsExactlyBelow &&
        RoundsLike(approx, whole, UnitPeriodLane::kOddDaysBound))
        lane.sum.AddWhole(whole);
    else
        lane.sum.Add(discounted / lane.oddDays);
    return lane;
}

// A payment (in currency units, not zero) due after t whole periods: the
// usual term inline, as AddSlowly would take it; any other by AddSlowly.
inline void AddPayment(UnitPeriodLane& lane, double payment, std::int32_t t) {
    if (t == lane.t + 1 &&
        lane.bound + UnitPeriodLane::kStepBound <= UnitPeriodLane::kLargestBound &&
        lane.sum.Unchecked()) {
        const double discount = lane.discount * lane.factor;
        const double q = payment * discount;
        const double whole = RoundToWhole(q);
        const double bound = lane.bound + UnitPeriodLane::kStepBound;
        if (discount >= std::numeric_limits<double>::min() &&
            discount <= std::numeric_limits<double>::max() && std::fabs(q) < kRoundsExactlyBelow &&
            RoundsLike(q, whole, bound)) {
            double term = whole;
            bool safe = true;
            if (lane.oddDays != 1.0) {
                const double approx = whole * lane.inverseOddDays;
                term = RoundToWhole(approx);
                safe = std::fabs(approx) < kRoundsExactlyBelow &&
                       RoundsLike(approx, term, UnitPeriodLane::kOddDaysBound);
            }
            if (safe) {
                lane.discount = discount;
                lane.t = t;
                lane.bound = bound;
                lane.sum.AddSmallWhole(term);
                return;
            }
        }
    }
    lane = AddSlowly(lane, payment, t);
}

// The odd days' factor of a payment: simple interest on one period's rate i
// for the days beyond its whole periods.
double OddDaysFactor(double i, std::int32_t cumDays, std::int32_t daysPerPd) {
    return 1.0 + i * cumDays / daysPerPd;
}

// The odd days of the payments from here on; false where their factor is
// zero or less.
bool SetOddDays(UnitPeriodLane& lane, std::int32_t cumDays, std::int32_t daysPerPd) {
    lane.oddDays = OddDaysFactor(lane.i, cumDays, daysPerPd);
    if (!(lane.oddDays > 0.0)) return false;
    lane.inverseOddDays = 1.0 / lane.oddDays;
    return true;
}

// Walks payments 1..count of the matrix for Appendix J's general equation:
// `oddDays(cumDays)` first and wherever the odd days change (most schedules
// carry the same odd days on every payment, so their factor is recomputed
// only there; false ends the walk, returning false), then
// `payment(amount, t)` for each payment that is not nothing, its amount in
// currency units and t its whole periods.
template <typename OnOddDays, typename OnPayment>
bool WalkTerms(const LoanTerms& loan, std::int32_t count, OnOddDays&& oddDays,
               OnPayment&& payment) {
    std::int32_t cumDays = 0;
    for (std::int32_t k = 1; k <= count; ++k) {
        const PayEntry& e = loan.PayMatrix[static_cast<size_t>(k)];
        if (e.CumDays != cumDays || k == 1) {
            cumDays = e.CumDays;
            if (!oddDays(cumDays)) return false;
        }
        // A payment of nothing is worth nothing at any rate, even where its
        // discount factor has overflowed (0 x infinity would be no number).
        if (e.PayCents == 0) continue;
        payment(static_cast<double>(PaymentCurrency(e)), e.CumPds);
    }
    return true;
}

// Appendix J's general equation: each payment discounted by whole periods
// compounded and the odd days as simple interest on one period's rate.
double ImpliedUnitPeriod(const LoanTerms& loan, std::int32_t daysPerPd, std::int32_t count,
                         double pdsPerYear, double apr) {
    UnitPeriodLane lane(fni(pdsPerYear, apr));
    if (!(lane.base > 0.0)) return kNaN;
    const bool defined = WalkTerms(
        loan, count, [&](std::int32_t cumDays) { return SetOddDays(lane, cumDays, daysPerPd); },
        [&](double payment, std::int32_t t) { AddPayment(lane, payment, t); });
    return defined ? lane.sum.Dollars() : kNaN;
}

// Two rates side by side, one in each half of a register, so that the usual
// term of both takes one set of instructions (SSE2 on x86-64; elsewhere the
// compiler splits each operation in two). The same operations on the same
// values as one rate alone: IEEE arithmetic gives each half the digits it
// would have on its own.
using DoublePair = double __attribute__((vector_size(16)));
using MaskPair = std::int64_t __attribute__((vector_size(16)));

constexpr DoublePair Both(double x) {
    return DoublePair{x, x};
}

DoublePair Abs(DoublePair x) {
    constexpr MaskPair kAllButSign = {INT64_MAX, INT64_MAX};
    return std::bit_cast<DoublePair>(std::bit_cast<MaskPair>(x) & kAllButSign);
}

DoublePair RoundToWhole(DoublePair x) {
    constexpr DoublePair kShift = Both(0x1.8p52);
    return (x + kShift) - kShift;
}

// RoundsLike for both halves, and both within 2^51 (where RoundToWhole
// rounds as nearbyint does).
MaskPair RoundsLike(DoublePair approx, DoublePair whole, DoublePair bound) {
    const DoublePair size = Abs(approx);
    return (size < Both(kRoundsExactlyBelow)) & (Both(0.5) - Abs(approx - whole) > bound * size);
}

// What the usual term of two lanes changes, kept out of memory: the carried
// discounts and their bounds (as in UnitPeriodLane), the reciprocals of the
// odd days' factors, and the currency units summed since the lanes last
// took them. Both lanes' discounts are always carried to the same t.
struct HotPair {
    DoublePair factor;
    DoublePair discount;
    DoublePair bound;
    DoublePair inverseOddDays;
    std::int64_t t;
    std::int64_t pending0 = 0;
    std::int64_t pending1 = 0;
    bool unchecked;  // both sums have only had small terms
};

HotPair Hot(const std::array<UnitPeriodLane, 2>& lanes) {
    return {DoublePair{lanes[0].factor, lanes[1].factor},
            DoublePair{lanes[0].discount, lanes[1].discount},
            DoublePair{lanes[0].bound, lanes[1].bound},
            DoublePair{lanes[0].inverseOddDays, lanes[1].inverseOddDays},
            lanes[0].t,
            0,
            0,
            lanes[0].sum.Unchecked() && lanes[1].sum.Unchecked()};
}

void GiveBack(const HotPair& hot, std::array<UnitPeriodLane, 2>& lanes) {
    for (std::size_t k = 0; k < 2; ++k) {
        lanes[k].discount = hot.discount[k];
        lanes[k].bound = hot.bound[k];
        lanes[k].t = hot.t;
    }
    lanes[0].sum.AddSmallUnits(hot.pending0);
    lanes[1].sum.AddSmallUnits(hot.pending1);
}

// The usual term of both lanes at once, exactly as AddPayment takes it for
// each; false (nothing changed) when either lane needs AddSlowly.
bool AddUsualTerms(HotPair& hot, double payment, std::int32_t t) {
    if (t != hot.t + 1 || !hot.unchecked) return false;
    const DoublePair discount = hot.discount * hot.factor;
    const DoublePair q = Both(payment) * discount;
    const DoublePair whole = RoundToWhole(q);
    const DoublePair bound = hot.bound + Both(UnitPeriodLane::kStepBound);
    // Over odd days of no length the reciprocal is exactly one and the
    // term stays the whole number it is.
    const DoublePair approx = whole * hot.inverseOddDays;
    const DoublePair term = RoundToWhole(approx);
    const MaskPair usual = (bound <= Both(UnitPeriodLane::kLargestBound)) &
                           (discount >= Both(std::numeric_limits<double>::min())) &
                           (discount <= Both(std::numeric_limits<double>::max())) &
                           RoundsLike(q, whole, bound) &
                           RoundsLike(approx, term, Both(UnitPeriodLane::kOddDaysBound));
    if (!(usual[0] && usual[1])) return false;
    hot.discount = discount;
    hot.bound = bound;
    hot.t = t;
    hot.pending0 += static_cast<std::int64_t>(term[0]);
    hot.pending1 += static_cast<std::int64_t>(term[1]);
    return true;
}

[[gnu::noinline]] HotPair AddTermsSlowly(HotPair hot, std::array<UnitPeriodLane, 2>& lanes,
                                         double payment, std::int32_t t) {
    GiveBack(hot, lanes);
    for (UnitPeriodLane& lane : lanes) lane = AddSlowly(lane, payment, t);
    return Hot(lanes);
}

std::array<double, 2> ImpliedUnitPeriodPair(const LoanTerms& loan, std::int32_t daysPerPd,
                                            std::int32_t count, double pdsPerYear, double apr1,
                                            double apr2) {
    std::array<UnitPeriodLane, 2> lanes{UnitPeriodLane(fni(pdsPerYear, apr1)),
                                        UnitPeriodLane(fni(pdsPerYear, apr2))};
    if (lanes[0].base > 0.0 && lanes[1].base > 0.0) {
        HotPair hot = Hot(lanes);
        const bool defined = WalkTerms(
            loan, count,
            [&](std::int32_t cumDays) {
                if (!SetOddDays(lanes[0], cumDays, daysPerPd) ||
                    !SetOddDays(lanes[1], cumDays, daysPerPd))
                    return false;
                hot.inverseOddDays = DoublePair{lanes[0].inverseOddDays, lanes[1].inverseOddDays};
                return true;
            },
            [&](double payment, std::int32_t t) {
                if (!AddUsualTerms(hot, payment, t)) hot = AddTermsSlowly(hot, lanes, payment, t);
            });
        if (defined) {
            GiveBack(hot, lanes);
            return {lanes[0].sum.Dollars(), lanes[1].sum.Dollars()};
        }
    }
    // A rate where some factor is not defined: each on its own, so that the
    // other still gets its amount.
    return {ImpliedUnitPeriod(loan, daysPerPd, count, pdsPerYear, apr1),
            ImpliedUnitPeriod(loan, daysPerPd, count, pdsPerYear, apr2)};
}

// The days of a payment's interval on the per-diem basis.
double IntervalDays(std::int32_t daysPerPd, const PayEntry& e) {
    return static_cast<double>(daysPerPd) * e.PriorPds + e.AddDays;
}

// Per-diem basis: each interval discounted by its growth (simple interest on
// its days, compounded yearly beyond a year), the factors accumulating
// payment to payment.
double ImpliedPerDiem(const LoanTerms& loan, std::int32_t daysPerPd, std::int32_t count,
                      double apr) {
    double factor = 1.0;
    TermSum sum;
    // Runs of equal intervals share their growth.
    double days = kNaN;
    double interval = kNaN;
    for (std::int32_t k = 1; k <= count; ++k) {
        const PayEntry& e = loan.PayMatrix[static_cast<size_t>(k)];
        const double intervalDays = IntervalDays(daysPerPd, e);
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

// True where ImpliedAmtFin has an amount at `apr` rather than NaN: every
// discount factor it would meet is positive. Found without summing a term.
bool ImpliedDefined(const LoanTerms& loan, std::int32_t Count, double apr) {
    const std::int32_t count = std::clamp(Count, 0, kMaxPayments);
    if (count == 0) return true;
    if (!std::isfinite(apr)) return false;
    if (loan.PerDiem) {
        double days = kNaN;
        for (std::int32_t k = 1; k <= count; ++k) {
            const double intervalDays =
                IntervalDays(loan.DaysPerPd, loan.PayMatrix[static_cast<size_t>(k)]);
            if (intervalDays == days) continue;
            days = intervalDays;
            if (!(PerDiemGrowth(apr, days) > 0.0)) return false;
        }
        return true;
    }
    if (loan.DaysPerPd <= 0 || !(loan.PdsPerYear > 0)) return false;
    const double i = fni(loan.PdsPerYear, apr);
    if (!(1.0 + i > 0.0)) return false;
    std::int32_t cumDays = 0;
    for (std::int32_t k = 1; k <= count; ++k) {
        const PayEntry& e = loan.PayMatrix[static_cast<size_t>(k)];
        if (e.CumDays == cumDays && k != 1) continue;
        cumDays = e.CumDays;
        if (!(OddDaysFactor(i, cumDays, loan.DaysPerPd) > 0.0)) return false;
    }
    return true;
}

// The lowest annual rate at which every discount factor of the schedule is
// still defined, nudged inside that limit; -infinity when every rate is (a
// per-diem schedule without an interval of any length).
double LowestDefinedAPR(const LoanTerms& loan, std::int32_t count) {
    double lowest = -kInf;
    if (loan.PerDiem) {
        double longest = 0.0;
        for (std::int32_t k = 1; k <= count; ++k) {
            const PayEntry& e = loan.PayMatrix[static_cast<size_t>(k)];
            longest = std::max(longest, IntervalDays(loan.DaysPerPd, e));
        }
        // An interval of a year or more compounds yearly: defined down to
        // -100 %, as a year of simple interest is.
        if (longest > 0)
            lowest = -100.0 * kPerDiemDaysPerYear / std::min(longest, kPerDiemDaysPerYear);
    } else {
        lowest = -100.0 * loan.PdsPerYear;
    }
    if (std::isinf(lowest)) return lowest;
    return std::nextafter(lowest, kInf) + std::fabs(lowest) * 1e-12;
}

std::string Num(double x, int precision, int decimals, const FormatSettings& fs) {
    return FloatToStrF(x, FloatStyle::Number, precision, decimals, fs);
}

void WriteSummary(const LoanTerms& loan, TMemDataSet& paySet, ChartText& chart,
                  const FormatSettings& fs) {
    const double totPay = CurrencyToDollars(loan.TotPay);
    chart.clear();
    chart.push_back("APR evaluated by Quorvane version 0.9992");
    chart.push_back("Amount Financed:   $" + Num(loan.AmtFin, 15, 2, fs));
    chart.push_back("Total of Payments: $" + Num(totPay, 15, 2, fs));
    chart.push_back("Finance Charge:    $" + Num(totPay - loan.AmtFin, 15, 2, fs));
    chart.push_back("Payment Schedule, where " + std::to_string(loan.DaysPerPd) + " days/Pd & " +
                    Num(loan.PdsPerYear, 8, 5, fs) + " Pds/year:");
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
    chart.push_back("Total of " + std::to_string(loan.PayCount) + " payments scheduled.");
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
    const LoanTerms& loan;
    std::int32_t count;
    double tolerance;
    bool log;
    ChartText& chart;
    const FormatSettings& fs;
    RecentAmounts& recent;

    double Implied(double apr) const {
        if (const std::optional<double> amount = recent.Find(apr)) return *amount;
        const double amount = ImpliedAmtFin(loan, loan.DaysPerPd, count, loan.PdsPerYear, apr);
        recent.Keep(apr, amount);
        return amount;
    }
    // The amounts at two rates, in one pass over the schedule when neither
    // has been looked at.
    std::array<double, 2> Implied(double apr1, double apr2) const {
        const std::optional<double> known1 = recent.Find(apr1);
        const std::optional<double> known2 = recent.Find(apr2);
        if (known1 || known2) {
            return {known1 ? *known1 : Implied(apr1), known2 ? *known2 : Implied(apr2)};
        }
        const std::array<double, 2> amounts =
            ImpliedAmtFinPair(loan, loan.DaysPerPd, count, loan.PdsPerYear, apr1, apr2);
        recent.Keep(apr1, amounts[0]);
        recent.Keep(apr2, amounts[1]);
        return amounts;
    }
    bool Defined(double apr) const {
        if (const std::optional<double> amount = recent.Find(apr)) return !std::isnan(*amount);
        return ImpliedDefined(loan, count, apr);
    }
};

// The secant iteration from 24 %: the straight line through the implied
// amounts at two rates 0.1 apart gives the next estimate, until two
// successive rates agree within the tolerance. Returns the last rate
// evaluated, or nothing when a step leaves the range where the implied amount
// is defined, meets a flat stretch, or cycles without settling.
// The rates the secant steps started from. A search takes a handful of
// steps: looking through them is quicker than hashing, and they live on the
// stack instead of the heap.
class TriedRates {
  public:
    void Insert(double apr) { rates_[count_++] = apr; }
    bool Contains(double apr) const {
        return std::find(rates_.begin(), rates_.begin() + static_cast<std::ptrdiff_t>(count_),
                         apr) != rates_.begin() + static_cast<std::ptrdiff_t>(count_);
    }

  private:
    std::array<double, kMaxSecantSteps> rates_;
    std::size_t count_ = 0;
};

std::optional<double> SecantSearch(const Search& s) {
    double apr = kStartAPR;
    double estimate = apr;
    TriedRates tried;
    for (int step = 0; step < kMaxSecantSteps; ++step) {
        apr = estimate;
        const auto [a1, a2] = s.Implied(apr, apr + kSecantStep);
        if (!std::isfinite(a1) || !std::isfinite(a2) || a1 == a2) return std::nullopt;
        estimate = apr + kSecantStep * (s.loan.AmtFin - a1) / (a2 - a1);
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
        tried.Insert(apr);
        if (tried.Contains(estimate)) return std::nullopt;
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
    double lo = std::max(kLowestSearchedAPR, LowestDefinedAPR(s.loan, s.count));
    double hi = kHighestSearchedAPR;
    const std::array<double, 2> ends = s.Implied(lo, hi);
    const double gapLo = ends[0] - s.loan.AmtFin;
    const double gapHi = ends[1] - s.loan.AmtFin;
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
        const double gap = s.Implied(mid) - s.loan.AmtFin;
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
    const std::array<double, 2> near = s.Implied(apr - reach, apr + reach);
    const double below = near[0] - s.loan.AmtFin;
    const double above = near[1] - s.loan.AmtFin;
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
    auto defined = [&s](double rate) { return s.Defined(rate); };
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

bool UnitPeriodUsable(const LoanTerms& loan) {
    return loan.DaysPerPd > 0 && std::isfinite(loan.PdsPerYear) && loan.PdsPerYear > 0;
}

}  // namespace

double AprTolerance(const AprSettings& settings) {
    return settings.TenPass ? 0.0005 : 0.005;
}

double ImpliedAmtFin(const LoanTerms& loan, std::int32_t DaysPerPd, std::int32_t Count,
                     double PdsPerYear, double APR) {
    const std::int32_t count = std::clamp(Count, 0, kMaxPayments);
    if (count == 0) return 0.0;
    if (!std::isfinite(APR)) return kNaN;
    if (loan.PerDiem) return ImpliedPerDiem(loan, DaysPerPd, count, APR);
    if (DaysPerPd <= 0 || !(PdsPerYear > 0)) return kNaN;
    return ImpliedUnitPeriod(loan, DaysPerPd, count, PdsPerYear, APR);
}

std::array<double, 2> ImpliedAmtFinPair(const LoanTerms& loan, std::int32_t DaysPerPd,
                                        std::int32_t Count, double PdsPerYear, double APR1,
                                        double APR2) {
    const std::int32_t count = std::clamp(Count, 0, kMaxPayments);
    if (count == 0 || loan.PerDiem || !std::isfinite(APR1) || !std::isfinite(APR2) ||
        DaysPerPd <= 0 || !(PdsPerYear > 0)) {
        return {ImpliedAmtFin(loan, DaysPerPd, Count, PdsPerYear, APR1),
                ImpliedAmtFin(loan, DaysPerPd, Count, PdsPerYear, APR2)};
    }
    return ImpliedUnitPeriodPair(loan, DaysPerPd, count, PdsPerYear, APR1, APR2);
}

AprOutcome GetAPR(LoanTerms& loan, TMemDataSet& paySet, const AprSettings& settings,
                  ChartText& chart, UserPort& port, const FormatSettings& fs) {
    const double tolerance = AprTolerance(settings);

    // Amounts a file or another tool may bring in beyond the currency range
    // would only find the rate where the implied amount overflows.
    if (!TryDollarsToCurrency(loan.AmtFin) || !InCurrencyRange(loan.TotPay)) {
        port.Warn(std::string(InCurrencyRange(loan.TotPay) ? kAmtFinOutOfRange : kTotalOutOfRange));
        port.Inform("InputError, no APR Computed");
        return AprOutcome::ScheduleRejected;
    }
    if (static_cast<double>(loan.TotPay) * 0.04 >= loan.AmtFin * 10000.0) {
        port.Inform(CurrencyText(loan.AmtFin, fs) + " Amount Financed " +
                    "is too low to compute a meaningful APR");
        return AprOutcome::AmountTooLow;
    }
    if (!UnitPeriodUsable(loan)) {
        const std::string periods = std::isfinite(loan.PdsPerYear)
                                        ? FloatToStr(loan.PdsPerYear, fs)
                                        : std::string("no defined number of");
        port.Inform("A unit period of " + std::to_string(loan.DaysPerPd) + " days and " + periods +
                    " periods a year cannot be computed.\n\rInputError, no APR Computed");
        return AprOutcome::ScheduleRejected;
    }
    if (!SetPayArray(loan, paySet, port, fs)) {
        port.Inform("InputError, no APR Computed");
        return AprOutcome::ScheduleRejected;
    }

    try {
        if (settings.Summary)
            WriteSummary(loan, paySet, chart, fs);
        else
            chart.clear();
    } catch (const EMemDatasetError& e) {
        port.Warn(e.what());
        return AprOutcome::ScheduleRejected;
    }

    RecentAmounts recent;
    const Search search{loan, loan.PayCount, tolerance, settings.Log, chart, fs, recent};
    const std::optional<double> rate = FindAPR(search);
    if (!rate) {
        port.Inform("No APR between " + FloatToStr(kLowestSearchedAPR, fs) + "% and " +
                    Num(kHighestSearchedAPR, 15, 0, fs) +
                    "% a year gives this schedule's Amount Financed of " +
                    CurrencyText(loan.AmtFin, fs) + ".\n\rInputError, no APR Computed");
        return AprOutcome::NoRate;
    }

    loan.APR = *rate;
    // With neither the summary nor the steps nobody reads the chart: a batch
    // of records is spared formatting the rate twice.
    if (settings.Summary || settings.Log)
        chart.push_back("Estimated APR = " + FloatToStr(loan.APR, fs) + "%");
    return AprOutcome::Computed;
}

}  // namespace qv
