#pragma once
// The annual percentage rate by the actuarial method of Regulation Z,
// Appendix J: the general equation of (b)(8) solved for the rate per unit
// period, times the unit periods in a year ((b)(1)). Every advance and every
// payment is a flow at a time measured from the beginning of the term in whole
// unit periods t and a fraction f of one; the rate i is the one at which
//
//   sum of advances A / ((1 + e i)(1 + i)^q) = sum of payments P / ((1 + f i)(1 + i)^t).
//
// The rate is found to full double precision (of 1 + i, the way it enters the
// equation) and returned unrounded: callers round it for display only, and
// compare it unrounded.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv::regz {

enum class FlowKind { Advance, Payment };

struct Flow {
    FlowKind kind = FlowKind::Payment;
    double amount = 0.0;       // dollars, above zero
    std::int64_t periods = 0;  // whole unit periods from the beginning of the term
    double fraction = 0.0;     // the fraction of a unit period beyond them, in [0, 1)
    bool operator==(const Flow&) const = default;
};

// The longest time a flow may be from the beginning of the term, in unit
// periods (a century of days and more): far beyond any credit, small enough
// that no count of them loses a digit.
inline constexpr std::int64_t kMaxFlowPeriods = 100'000;
// The largest amount of one flow, in dollars (a hundred billion).
inline constexpr double kMaxFlowAmount = 1e11;
// The highest rate per unit period looked for: 1,000,000 % a unit period.
inline constexpr double kMaxUnitPeriodRate = 1e4;

enum class NoRateReason {
    None,
    InvalidFlow,         // an amount, time or fraction that is no flow at all
    InvalidUnitPeriods,  // unit periods a year not above zero
    NoAdvances,
    NoPayments,
    PaymentsBelowAdvances,  // no finance charge to state as a rate
    RateTooHigh,            // no rate up to kMaxUnitPeriodRate balances the flows
};

struct AppendixJRate {
    bool found = false;
    double unitPeriodRate = 0.0;  // i, a fraction: 0.0080 is 0.80 % a unit period
    double apr = 0.0;             // i x unit periods a year, in percent, unrounded
    NoRateReason reason = NoRateReason::None;
    std::string message;  // why there is no rate, in a sentence
};

// The rate per unit period and the APR of the flows. Newton's steps from a
// simple-interest estimate find the rate of an ordinary loan in a few
// evaluations; Brent's method finishes inside a bracket where the two sides
// of the equation change order, so the search always ends and the rate
// returned is a true solution: the sides change order within a few units of
// the last place of 1 + i around it, the closest a double can tell rates apart
// in the equation (an APR within about 1e-12 of a point for monthly loans). Payments that total
// exactly the advances give a rate of 0; payments totalling less give no rate.
AppendixJRate SolveAppendixJ(std::span<const Flow> flows, double unitPeriodsPerYear);

// The same solver keeping its working list of terms from one loan to the
// next: a batch of loans then allocates nothing per loan once the longest
// schedule has been seen. Each Solve gives exactly what SolveAppendixJ gives.
class AppendixJSolver {
  public:
    AppendixJRate Solve(std::span<const Flow> flows, double unitPeriodsPerYear);

    // A flow as the evaluation wants it: payments positive, advances
    // negative, with what the discount needs from the flow before it.
    struct Term {
        double amount;
        double periods;  // whole unit periods, held exactly
        double fraction;
        std::int64_t step;  // unit periods after the term before (the first: after 0)
        bool newFraction;   // the fraction differs from the term before's (the first: from 0)
    };

  private:
    std::vector<Term> terms_;
};

}  // namespace qv::regz
