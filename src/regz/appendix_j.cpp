#include "regz/appendix_j.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "base/format.h"
#include "base/money.h"

namespace qv::regz {

namespace {

using Term = AppendixJSolver::Term;

// As the program writes amounts everywhere else: "$1,000.00".
std::string Dollars(Currency amount) {
    return CurrencyText(CurrencyToDollars(amount));
}

AppendixJRate NoRate(NoRateReason reason, std::string message) {
    AppendixJRate r;
    r.reason = reason;
    r.message = std::move(message);
    return r;
}

bool IsValid(const Flow& f) {
    return std::isfinite(f.amount) && f.amount > 0.0 && f.amount <= kMaxFlowAmount &&
           f.periods >= 0 && f.periods <= kMaxFlowPeriods && std::isfinite(f.fraction) &&
           f.fraction >= 0.0 && f.fraction < 1.0;
}

// x^n for n >= 1 by repeated squaring: a handful of multiplications, each
// rounding once, where std::pow would cost far more on every evaluation.
double IntPow(double x, std::int64_t n) {
    double result = 1.0;
    while (n > 0) {
        if (n & 1) result *= x;
        x *= x;
        n >>= 1;
    }
    return result;
}

bool EarlierTerm(const Term& a, const Term& b) {
    return a.periods != b.periods ? a.periods < b.periods : a.fraction < b.fraction;
}

// The present value of the payments less that of the advances at rate i per
// unit period. The terms are in order of time, so the discount for whole
// periods grows by multiplication from one distinct time to the next, and the
// odd-days factor is recomputed only when the fraction changes. A term with
// no fraction is worth its amount times the discount alone: its odd-days
// factor is exactly 1 and its share of the slope by the fraction exactly 0,
// so leaving them out changes no bit of the sums.
class Balance {
  public:
    explicit Balance(std::span<const Term> terms) : terms_(terms) {}

    struct Value {
        double balance;
        double slope;  // by the rate; computed only when asked for
    };

    double operator()(double i) const { return Evaluate<false>(i).balance; }
    Value WithSlope(double i) const { return Evaluate<true>(i); }

    // The balances at two rates in one pass over the terms: each is computed
    // exactly as alone, the two chains of products simply run side by side.
    std::pair<double, double> AtTwoRates(double i, double j) const {
        const double vi = 1.0 / (1.0 + i);
        const double vj = 1.0 / (1.0 + j);
        double discountI = 1.0;
        double discountJ = 1.0;
        double oddI = 1.0;
        double oddJ = 1.0;
        double sumI = 0.0;
        double sumJ = 0.0;
        for (const Term& t : terms_) {
            Step(t, vi, discountI);
            Step(t, vj, discountJ);
            if (t.fraction == 0.0) {
                sumI += t.amount * discountI;
                sumJ += t.amount * discountJ;
                continue;
            }
            if (t.newFraction) {
                oddI = 1.0 / (1.0 + t.fraction * i);
                oddJ = 1.0 / (1.0 + t.fraction * j);
            }
            sumI += t.amount * discountI * oddI;
            sumJ += t.amount * discountJ * oddJ;
        }
        return {sumI, sumJ};
    }

    // The simple-interest estimate of the rate: one Newton step from 0, where
    // the balance and its slope need no powers.
    double FirstEstimate() const {
        double value = 0.0;
        double slope = 0.0;
        for (const Term& t : terms_) {
            value += t.amount;
            slope -= t.amount * (t.periods + t.fraction);
        }
        const double estimate = slope < 0.0 ? -value / slope : 0.0;
        return std::isfinite(estimate) && estimate > 1e-9 ? std::min(estimate, 1.0) : 0.01;
    }

  private:
    // The discount of the term before carried to this term's whole periods.
    static void Step(const Term& t, double v, double& discount) {
        if (t.step == 1) {
            discount *= v;
        } else if (t.step != 0) {
            discount *= IntPow(v, t.step);
        }
    }

    // d/di of A / ((1 + f i)(1 + i)^t) is -A D (t / (1 + i) + f / (1 + f i)).
    template <bool kSlope>
    Value Evaluate(double i) const {
        const double v = 1.0 / (1.0 + i);
        double discount = 1.0;
        double oddDays = 1.0;
        double sum = 0.0;
        double byPeriods = 0.0;
        double byFraction = 0.0;
        for (const Term& t : terms_) {
            Step(t, v, discount);
            if (t.fraction == 0.0) {
                const double value = t.amount * discount;
                sum += value;
                if constexpr (kSlope) byPeriods += value * t.periods;
                continue;
            }
            if (t.newFraction) oddDays = 1.0 / (1.0 + t.fraction * i);
            const double value = t.amount * discount * oddDays;
            sum += value;
            if constexpr (kSlope) {
                byPeriods += value * t.periods;
                byFraction += value * t.fraction * oddDays;
            }
        }
        return {sum, kSlope ? -(byPeriods * v + byFraction) : 0.0};
    }

    std::span<const Term> terms_;
};

// Puts the terms in order of time (the usual schedule already is, and is
// left as it stands) and notes what each one's discount needs from the term
// before it.
void OrderTerms(std::vector<Term>& terms) {
    // Terms of equal times are sorted as before, whatever order that gives
    // them: their order decides the last bits of the sums.
    const auto notLater = [](const Term& a, const Term& b) { return !EarlierTerm(a, b); };
    if (std::adjacent_find(terms.begin(), terms.end(), notLater) != terms.end())
        std::sort(terms.begin(), terms.end(), EarlierTerm);
    double periods = 0.0;
    double fraction = 0.0;
    for (Term& t : terms) {
        t.step = static_cast<std::int64_t>(t.periods - periods);
        t.newFraction = t.fraction != fraction;
        periods = t.periods;
        fraction = t.fraction;
    }
}

// Brent's method on [a, b] with f(a) > 0 > f(b): inverse quadratic
// interpolation and secant steps where they shrink the bracket, bisection
// where they do not. It ends when the bracket is a few units of the last place
// of 1 + i wide, however the function behaves, and returns the end nearer the
// root.
double Brent(const Balance& f, double a, double fa, double b, double fb) {
    constexpr double kEps = std::numeric_limits<double>::epsilon();
    double c = a;
    double fc = fa;
    double d = b - a;
    double e = d;
    for (;;) {
        if ((fb > 0.0) == (fc > 0.0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        // The rate enters the equation as 1 + i, which a double holds to its
        // last place: rates closer than that are one rate to the equation.
        const double tol = 2.0 * kEps * (1.0 + std::fabs(b));
        const double m = 0.5 * (c - b);
        if (std::fabs(m) <= tol || fb == 0.0) return b;
        if (std::fabs(e) < tol || std::fabs(fa) <= std::fabs(fb)) {
            d = e = m;
        } else {
            const double s = fb / fa;
            double p;
            double q;
            if (a == c) {
                p = 2.0 * m * s;
                q = 1.0 - s;
            } else {
                const double qa = fa / fc;
                const double r = fb / fc;
                p = s * (2.0 * m * qa * (qa - r) - (b - a) * (r - 1.0));
                q = (qa - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0) {
                q = -q;
            } else {
                p = -p;
            }
            if (2.0 * p < std::min(3.0 * m * q - std::fabs(tol * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = e = m;
            }
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tol ? d : (m > 0.0 ? tol : -tol);
        fb = f(b);
    }
}

AppendixJRate Found(double rate, double perYear) {
    AppendixJRate r;
    r.found = true;
    r.unitPeriodRate = rate;
    r.apr = rate * perYear * 100.0;
    return r;
}

}  // namespace

AppendixJRate SolveAppendixJ(std::span<const Flow> flows, double unitPeriodsPerYear) {
    AppendixJSolver solver;
    return solver.Solve(flows, unitPeriodsPerYear);
}

AppendixJRate AppendixJSolver::Solve(std::span<const Flow> flows, double unitPeriodsPerYear) {
    if (!std::isfinite(unitPeriodsPerYear) || unitPeriodsPerYear <= 0.0) {
        return NoRate(NoRateReason::InvalidUnitPeriods,
                      "the number of unit periods a year must be above zero");
    }
    std::vector<Term>& terms = terms_;
    terms.clear();
    terms.reserve(flows.size());
    Currency advanced = 0;
    Currency repaid = 0;
    for (std::size_t k = 0; k < flows.size(); ++k) {
        const Flow& flow = flows[k];
        if (!IsValid(flow)) {
            return NoRate(NoRateReason::InvalidFlow,
                          "flow " + std::to_string(k + 1) +
                              " is not an amount above zero at a time within the loan's term");
        }
        const bool payment = flow.kind == FlowKind::Payment;
        Currency& total = payment ? repaid : advanced;
        const std::optional<Currency> sum = CheckedSum(total, DollarsToCurrency(flow.amount));
        if (!sum) {
            return NoRate(NoRateReason::InvalidFlow,
                          "the amounts total more than the program can hold");
        }
        total = *sum;
        terms.push_back({payment ? flow.amount : -flow.amount, static_cast<double>(flow.periods),
                         flow.fraction, 0, false});
    }
    if (advanced == 0) return NoRate(NoRateReason::NoAdvances, "no amount is advanced");
    if (repaid == 0) return NoRate(NoRateReason::NoPayments, "no payment is scheduled");
    if (repaid < advanced) {
        return NoRate(NoRateReason::PaymentsBelowAdvances,
                      "the payments total " + Dollars(repaid) + ", less than the " +
                          Dollars(advanced) +
                          " advanced: there is no finance charge to state "
                          "as a rate");
    }
    if (repaid == advanced) return Found(0.0, unitPeriodsPerYear);

    OrderTerms(terms);
    const Balance balance(terms);
    double lo = 0.0;
    double fLo = balance(lo);
    // Totals a ten-thousandth apart can round to one double: the rate is then
    // zero as far as the amounts can tell.
    if (!(fLo > 0.0)) return Found(0.0, unitPeriodsPerYear);
    // Newton's steps from the simple-interest estimate. On the usual loan
    // (every advance before every payment) the balance falls and is convex,
    // so they climb to the root from below in a few evaluations and end
    // within a few units of its last place. A step that overshoots,
    // stalls or finds no slope only ends them early; Brent's method finishes
    // from whatever bracket they leave, so they cannot decide the answer.
    constexpr int kNewtonSteps = 12;
    constexpr double kEps = std::numeric_limits<double>::epsilon();
    double hi = 0.0;
    double fHi = 1.0;
    double x = balance.FirstEstimate();
    for (int step = 0; step < kNewtonSteps && x < kMaxUnitPeriodRate; ++step) {
        const Balance::Value at = balance.WithSlope(x);
        if (at.balance <= 0.0) {
            hi = x;
            fHi = at.balance;
            break;
        }
        lo = x;
        fLo = at.balance;
        const double move = -at.balance / at.slope;
        if (!(at.slope < 0.0) || !std::isfinite(move)) break;
        if (move <= 1e-8 * (1.0 + x)) {
            // Converging quadratically, this step lands within the last
            // place of 1 + i: take it if the sides change order around it.
            const double root = x + move;
            const double d = 2.0 * kEps * (1.0 + root);
            const auto [fBelow, fAbove] = balance.AtTwoRates(root - d, root + d);
            if (fBelow > 0.0 && fAbove <= 0.0) return Found(root, unitPeriodsPerYear);
            if (fBelow <= 0.0) {
                hi = root - d;
                fHi = fBelow;
            } else {
                lo = root + d;
                fLo = fAbove;
            }
            break;
        }
        x += move;
    }
    // No rate above the last one tried is known yet: grow the bracket.
    if (fHi > 0.0) {
        hi = lo;
        fHi = fLo;
    }
    while (fHi > 0.0) {
        if (hi >= kMaxUnitPeriodRate) {
            return NoRate(NoRateReason::RateTooHigh,
                          "no rate up to 1,000,000 % a unit period makes the payments worth "
                          "the amount advanced");
        }
        lo = hi;
        fLo = fHi;
        hi = std::min(hi * 4.0, kMaxUnitPeriodRate);
        fHi = balance(hi);
    }
    if (fHi == 0.0) return Found(hi, unitPeriodsPerYear);
    return Found(Brent(balance, lo, fLo, hi, fHi), unitPeriodsPerYear);
}

}  // namespace qv::regz
