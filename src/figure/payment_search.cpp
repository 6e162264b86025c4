// The payment search. See payment_search.h.
#include "figure/payment_search.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qv {
namespace {

constexpr double kDaysPerYear = 365.0;
constexpr Currency kLargestCurrency = std::numeric_limits<Currency>::max();
// The steps of the search: $10, divided by ten at each sign change down to
// $0.01; the search ends at the first sign change seen with the $0.01 step.
constexpr Currency kFirstStep = 10 * kCurrencyPerDollar;
constexpr Currency kSmallestDividedStep = kCurrencyPerDollar / 10;

// Interest of one interval in cents, before rounding to a whole cent.
double RawInterestCents(Currency balance, std::int32_t pds, std::int32_t days,
                        const InterestBasis& basis) {
    const double dollars = CurrencyToDollars(balance);
    if (basis.PerDiem) {
        const double actualDays = static_cast<double>(pds) * basis.DaysPerPd + days;
        return dollars * actualDays * basis.Rate / kDaysPerYear;
    }
    if (!(basis.PerYear > 0.0)) return 0.0;
    double periods = pds;
    if (basis.DaysPerPd > 0) periods += static_cast<double>(days) / basis.DaysPerPd;
    return dollars * periods * (basis.Rate / basis.PerYear);
}

// A balance that ran past the currency range, held at the range's edge with
// the sign it ran away with.
TrialBalance RunAway(Currency balance, const TrialPayment& payment, const InterestBasis& basis) {
    const double interest = RawInterestCents(balance, payment.pds, payment.days, basis) *
                            static_cast<double>(kCurrencyPerCent);
    const double next = static_cast<double>(balance) + interest - static_cast<double>(payment.pay);
    return {next < 0 ? -kLargestCurrency : kLargestCurrency, false};
}

// Adds delta to target; false, with target unchanged, when the sum would
// leave the currency range.
bool AddChecked(Currency& target, Currency delta) {
    const std::optional<Currency> sum = CheckedSum(target, delta);
    if (sum) target = *sum;
    return sum.has_value();
}

int SignOf(const TrialBalance& t) {
    return t.balance < 0 ? -1 : 1;
}

std::string Num3(Currency amount, const FormatSettings& fs) {
    return FloatToStrF(CurrencyToDollars(amount), FloatStyle::Number, 10, 3, fs);
}

// "Flip 24: 401.268:: -29.512, 332.828 delta 1.000"
std::string FlipLine(std::int64_t trial, Currency previous, Currency current, Currency payment,
                     Currency step, const FormatSettings& fs) {
    return "Flip " + std::to_string(trial) + ": " + Num3(previous, fs) + ":: " + Num3(current, fs) +
           ", " + Num3(payment, fs) + " delta " + Num3(step, fs);
}

}  // namespace

TrialPayment PaymentOf(const TrialSchedule& s, std::int32_t j) {
    if (j == 1) return {s.FirstPay, s.FirstPds, s.FirstExtra};
    if (j == s.PayCount) return {s.LastPay, s.LastPds, s.LastExtra};
    return {s.RegularPay, 1, 0};
}

std::optional<std::int64_t> IntervalInterestCents(Currency balance, std::int32_t pds,
                                                  std::int32_t days, const InterestBasis& basis) {
    const double cents = std::trunc(RawInterestCents(balance, pds, days, basis) + basis.RoundAdd);
    // Whole cents of at most kMaxCurrencyDollars still fit currency once
    // multiplied by 100.
    if (!(std::fabs(cents) <= kMaxCurrencyDollars * 100.0)) return std::nullopt;
    return static_cast<std::int64_t>(cents);
}

std::optional<AmortizationStep> Amortize(Currency balance, const TrialPayment& payment,
                                         const InterestBasis& basis) {
    const std::optional<std::int64_t> cents =
        IntervalInterestCents(balance, payment.pds, payment.days, basis);
    if (!cents) return std::nullopt;
    const std::optional<Currency> owed = CheckedSum(balance, CentsToCurrency(*cents));
    const std::optional<Currency> newBalance =
        owed ? CheckedDifference(*owed, payment.pay) : std::nullopt;
    if (!newBalance) return std::nullopt;
    return AmortizationStep{*cents, *newBalance};
}

TrialBalance MaxTrial(const TrialSchedule& schedule, const InterestBasis& basis) {
    Currency balance = schedule.Balance;
    for (std::int32_t j = 1; j <= schedule.PayCount; ++j) {
        const TrialPayment payment = PaymentOf(schedule, j);
        const std::optional<AmortizationStep> step = Amortize(balance, payment, basis);
        if (!step) return RunAway(balance, payment, basis);
        balance = step->newBalance;
    }
    return {balance, true};
}

std::optional<Currency> StartingEstimate(double MaxRate, double c, std::int32_t PayCount,
                                         double AmtFin) {
    const std::optional<Currency> periodic = TryDollarsToCurrency(MaxRate / c / 100.0);
    if (!periodic) return std::nullopt;
    const double i = CurrencyToDollars(*periodic);
    const double G = (1.0 + i) * PayCount;
    const std::optional<Currency> estimate =
        TryDollarsToCurrency(G - 1.0 == 0.0 ? AmtFin : AmtFin * G * i / (G - 1.0));
    if (!estimate) return std::nullopt;
    return CentsToCurrency(CurrencyToCentsRoundedHalfUp(*estimate));
}

SearchResult DecimalSearch(const TrialSchedule& start, const InterestBasis& basis, bool showFlip,
                           const SearchLimits& limits, const FormatSettings& fs) {
    SearchResult r;
    r.schedule = start;
    TrialSchedule& s = r.schedule;
    const std::int64_t maxTrials =
        std::max<std::int64_t>(1, limits.searchWork / std::max<std::int32_t>(1, s.PayCount));

    Currency step = kFirstStep;
    TrialBalance previous = MaxTrial(s, basis);
    for (;;) {
        const TrialBalance current = MaxTrial(s, basis);
        ++r.trials;
        r.finalBalance = current.balance;

        // A balance of exactly zero has no sign to change; it is the result.
        const bool zero = current.inRange && current.balance == 0;
        bool stop = zero;
        if (!zero && SignOf(current) != SignOf(previous)) {
            if (step >= kSmallestDividedStep) {
                step /= 10;
                if (showFlip) {
                    r.flipLines.push_back(FlipLine(r.trials, previous.balance, current.balance,
                                                   s.RegularPay, step, fs));
                }
            } else {
                stop = true;
            }
        }
        if (stop) {
            if (showFlip) {
                r.flipLines.push_back(
                    FlipLine(r.trials, previous.balance, current.balance, s.RegularPay, step, fs) +
                    "]");
            }
            // The schedule's last payment takes up what is left; with one
            // payment that is the first.
            Currency& last = s.PayCount == 1 ? s.FirstPay : s.LastPay;
            if (!current.inRange || !AddChecked(last, current.balance)) {
                r.end = SearchEnd::OutOfRange;
            } else {
                r.end = zero ? SearchEnd::ZeroBalance : SearchEnd::SignChange;
            }
            return r;
        }
        if (r.trials >= maxTrials) {
            r.end = SearchEnd::TrialBound;
            return r;
        }
        const Currency delta = current.balance > 0 ? step : -step;
        if (!AddChecked(s.RegularPay, delta) || !AddChecked(s.FirstPay, delta) ||
            !AddChecked(s.LastPay, delta)) {
            r.end = SearchEnd::OutOfRange;
            return r;
        }
        previous = current;
    }
}

}  // namespace qv
