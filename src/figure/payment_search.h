#pragma once
// The search for the common payment of a regular schedule at a known yearly
// rate: the trial amortization (MaxTrial), the starting estimate and the
// decimal search that moves every payment by the same step of $10, $1,
// $0.10 and $0.01 until the final balance changes sign, after which the last
// payment takes up what is left.
//
// All money here is currency (ten-thousandths of a dollar). The starting
// estimate is rounded to the cent and every step is a whole number of
// cents, so every payment the search tries, and the one it finds, is an
// amount a borrower can pay; only the periodic rate of the estimate keeps
// four decimals.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/format.h"
#include "base/money.h"

namespace qv {

// A regular schedule in the search's terms: the first payment after
// FirstPds periods and FirstExtra days, PayCount - 2 payments of RegularPay
// one period apart, and the last payment after LastPds periods and
// LastExtra days. With one payment only the first line counts.
struct TrialSchedule {
    std::int32_t PayCount = 0;
    Currency Balance = 0;  // the amount financed
    Currency FirstPay = 0;
    Currency RegularPay = 0;
    Currency LastPay = 0;
    std::int32_t FirstPds = 1;
    std::int32_t FirstExtra = 0;
    std::int32_t LastPds = 1;
    std::int32_t LastExtra = 0;
};

// Payment j (1-based) of a schedule with its interval.
struct TrialPayment {
    Currency pay = 0;
    std::int32_t pds = 0;
    std::int32_t days = 0;
};
TrialPayment PaymentOf(const TrialSchedule& schedule, std::int32_t j);

// How interest accrues over one payment interval.
struct InterestBasis {
    double Rate = 0.0;  // percent per year
    // Unit periods a year: PdsPerYear (365/14 two-weekly, 365/7 weekly),
    // for the search and the amortization listing alike.
    double PerYear = 12.0;
    std::int32_t DaysPerPd = 30;
    // Simple interest on the interval's actual days (whole periods times
    // DaysPerPd plus the extra days) over a 365-day year, the basis the APR
    // engine uses for a single payment due after more than a year.
    bool PerDiem = false;
    double RoundAdd = 0.5;  // 0.5 rounds to the nearest cent, 0 rounds down
};

// Interest of one interval on `balance`, in whole cents:
//   unit periods: trunc(B x (pds + days / DaysPerPd) x Rate / PerYear + RoundAdd)
//   per diem:     trunc(B x (pds x DaysPerPd + days) x Rate / 365 + RoundAdd)
// with B in dollars and Rate in percent, so that B x rate is cents. Odd
// days add nothing when DaysPerPd is not positive, and there is no interest
// when PerYear is not. Empty when the interest leaves the currency range.
std::optional<std::int64_t> IntervalInterestCents(Currency balance, std::int32_t pds,
                                                  std::int32_t days, const InterestBasis& basis);

// One payment of an amortization: the interest of its interval, then
// new balance = balance + interest - payment.
struct AmortizationStep {
    std::int64_t interestCents = 0;
    Currency newBalance = 0;
};
// Empty when the interest or the new balance leaves the currency range.
std::optional<AmortizationStep> Amortize(Currency balance, const TrialPayment& payment,
                                         const InterestBasis& basis);

// The final balance of a trial amortization.
struct TrialBalance {
    Currency balance = 0;
    // False when the balance ran past the currency range on the way; balance
    // then holds the largest currency value with the sign it ran away with,
    // which is all the search needs of it.
    bool inRange = true;
};

// MaxTrial: amortizes the schedule at the basis's rate and returns the
// balance left after its last payment (positive: underpaid, negative:
// overpaid).
TrialBalance MaxTrial(const TrialSchedule& schedule, const InterestBasis& basis);

// The starting estimate of the common payment:
//   i = MaxRate / c / 100, rounded to four decimals (half to even);
//   G = (1 + i) x PayCount, a product (not a power);
//   Q = AmtFin x G x i / (G - 1), rounded to the cent.
// Rounded to the cent, not held to four decimals, so that the steps, all
// whole cents, leave a payment a borrower can pay and a listing whose lines
// add up to the cent.
// The product makes the estimate rough, but the $10 steps walk from it, and
// users know the search by its steps. With one payment and a periodic rate
// that rounds to zero, G - 1 is zero; the estimate is then the amount
// financed, the limit of A x (1 + i) that the formula gives for one payment.
// Empty when the estimate leaves the currency range.
std::optional<Currency> StartingEstimate(double MaxRate, double c, std::int32_t PayCount,
                                         double AmtFin);

// Bounds the search's work. Each trial amortizes every payment, so the bound
// counts payments amortized: a search may run at most
// max(1, searchWork / PayCount) trials. The default, at most about a quarter
// of a second, covers a walk of $400,000 in $10 steps on 485 payments and
// much longer walks on short schedules ($100 million on 24 payments).
inline constexpr std::int64_t kSearchWork = 20'000'000;
struct SearchLimits {
    std::int64_t searchWork = kSearchWork;
};

enum class SearchEnd {
    SignChange,   // the final balance changed sign at the $0.01 step
    ZeroBalance,  // a trial left exactly nothing to pay: taken as the result
    TrialBound,   // the bound on trials was reached without a result
    OutOfRange,   // the result's balance (or a payment) left the currency range
};

struct SearchResult {
    SearchEnd end = SearchEnd::SignChange;
    // The schedule as the search left it: RegularPay is the common payment
    // found, FirstPay and LastPay moved with it, and on SignChange and
    // ZeroBalance the schedule's last payment (the first when there is only
    // one) has taken up the final balance of the last trial.
    TrialSchedule schedule;
    Currency finalBalance = 0;  // the last trial's final balance (F)
    std::int64_t trials = 0;    // m
    // "Flip" lines, one per sign change, when asked for; the last line of a
    // search that found its payment ends in "]".
    std::vector<std::string> flipLines;
};

// The decimal search from `start`, whose RegularPay is the starting estimate
// and whose first and last payments already differ from it as they differ
// from the common payment on the regular page. Always ends.
SearchResult DecimalSearch(const TrialSchedule& start, const InterestBasis& basis, bool showFlip,
                           const SearchLimits& limits = SearchLimits{},
                           const FormatSettings& fs = FormatSettings{});

}  // namespace qv
