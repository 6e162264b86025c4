#pragma once
// The three forms money takes in Quorvane, and the only conversions between
// them. Every conversion in the engine goes through one of these functions so
// that the rounding rule of each spot is visible at the call site.
//
//   dollars   double
//   currency  int64_t counting ten-thousandths of a dollar
//   cents     int32_t
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace qv {

using Currency = std::int64_t;
using Cents = std::int32_t;

inline constexpr Currency kCurrencyPerDollar = 10000;
inline constexpr Currency kCurrencyPerCent = 100;

// The currency range: every amount the engine computes with lies within
// +/- kMaxCurrency, the largest whole number of dollars whose scaled double
// cannot round past the end of int64_t. A value beyond it (up to the ends of
// int64_t) stands for an amount that could not be held; the checked
// operations below refuse it, so it can never be taken for a real amount.
inline constexpr double kMaxCurrencyDollars = 922'337'203'685'477.0;
inline constexpr Currency kMaxCurrency = 922'337'203'685'477 * kCurrencyPerDollar;

// What a conversion gives for an amount the currency form cannot hold: the end
// of int64_t on the amount's side (NaN counts as too large), outside the range.
inline constexpr Currency kCurrencyTooLarge = std::numeric_limits<Currency>::max();
inline constexpr Currency kCurrencyTooSmall = std::numeric_limits<Currency>::min();

constexpr bool InCurrencyRange(Currency c) {
    return c >= -kMaxCurrency && c <= kMaxCurrency;
}

// A double becomes currency by rounding x * 10000 to the nearest integer, an
// exact tie going to the even integer (the floating-point unit's own rounding).
// An amount outside the currency range gives kCurrencyTooLarge or
// kCurrencyTooSmall; TryDollarsToCurrency says so instead.
inline Currency DollarsToCurrency(double dollars) {
    if (!(std::fabs(dollars) <= kMaxCurrencyDollars))
        return dollars < 0 ? kCurrencyTooSmall : kCurrencyTooLarge;
    return static_cast<Currency>(std::nearbyint(dollars * 10000.0));
}

// Like DollarsToCurrency, but refuses values outside the currency range
// (and NaN) instead.
inline std::optional<Currency> TryDollarsToCurrency(double dollars) {
    if (!(std::fabs(dollars) <= kMaxCurrencyDollars)) return std::nullopt;
    return DollarsToCurrency(dollars);
}

// A number of ten-thousandths held as a double (a product or sum of
// currency amounts) rounded to the nearest whole one, a tie going to the even
// one; empty outside the currency range and for NaN.
inline std::optional<Currency> TryRoundToCurrency(double tenThousandths) {
    if (!(std::fabs(tenThousandths) <= kMaxCurrencyDollars * 10000.0)) return std::nullopt;
    return static_cast<Currency>(std::nearbyint(tenThousandths));
}

inline double CurrencyToDollars(Currency c) {
    return static_cast<double>(c) * 0.0001;
}

// Whole cents in a currency value, the fraction of a cent dropped (toward zero).
inline std::int64_t CurrencyToCentsTruncated(Currency c) {
    return c / kCurrencyPerCent;
}

// Whole cents in a currency value, rounded to the nearest cent with halves
// going up (so -0.005 gives 0 and -0.0051 gives -0.01). Below zero the half
// cent added is floored, not truncated toward zero, which would take a cent
// off every whole negative amount. Worked without adding to a value that may
// already be the largest one.
inline std::int64_t CurrencyToCentsRoundedHalfUp(Currency c) {
    if (c < 0) {
        const Currency shifted = c + kCurrencyPerCent / 2;
        return shifted / kCurrencyPerCent - (shifted % kCurrencyPerCent < 0 ? 1 : 0);
    }
    return c / kCurrencyPerCent + (c % kCurrencyPerCent >= kCurrencyPerCent / 2 ? 1 : 0);
}

// Cents as currency; beyond the currency range as DollarsToCurrency.
inline Currency CentsToCurrency(std::int64_t cents) {
    constexpr std::int64_t kMaxCents = kMaxCurrency / kCurrencyPerCent;
    if (cents > kMaxCents) return kCurrencyTooLarge;
    if (cents < -kMaxCents) return kCurrencyTooSmall;
    return cents * kCurrencyPerCent;
}

inline double CentsToDollars(std::int64_t cents) {
    return static_cast<double>(cents) / 100.0;
}

// True when a count of cents fits the 32-bit cents form of the payment matrix.
inline bool FitsCents(std::int64_t cents) {
    return cents >= INT32_MIN && cents <= INT32_MAX;
}

// --- checked arithmetic ------------------------------------------------------
// Sums and products of currency that say when they cannot be held: nothing
// when an operand or the exact result lies outside the currency range.

inline std::optional<Currency> CheckedSum(Currency a, Currency b) {
    Currency r = 0;
    if (!InCurrencyRange(a) || !InCurrencyRange(b) || __builtin_add_overflow(a, b, &r) ||
        !InCurrencyRange(r))
        return std::nullopt;
    return r;
}

inline std::optional<Currency> CheckedDifference(Currency a, Currency b) {
    Currency r = 0;
    if (!InCurrencyRange(a) || !InCurrencyRange(b) || __builtin_sub_overflow(a, b, &r) ||
        !InCurrencyRange(r))
        return std::nullopt;
    return r;
}

// `count` payments of `each`.
inline std::optional<Currency> CheckedProduct(std::int64_t count, Currency each) {
    Currency r = 0;
    if (!InCurrencyRange(each) || __builtin_mul_overflow(count, each, &r) || !InCurrencyRange(r))
        return std::nullopt;
    return r;
}

// A running total with `count` more payments of `each` added: the step every
// walk over payment groups takes.
inline std::optional<Currency> CheckedSumOfPayments(Currency total, std::int64_t count,
                                                    Currency each) {
    const std::optional<Currency> part = CheckedProduct(count, each);
    return part ? CheckedSum(total, *part) : std::nullopt;
}

// Sums for amounts that are shown rather than checked (the amortization
// chart): a result beyond the currency range is held at its edge.
inline Currency SaturatedSum(Currency a, Currency b) {
    Currency r = 0;
    if (__builtin_add_overflow(a, b, &r)) return b > 0 ? kMaxCurrency : -kMaxCurrency;
    return std::clamp(r, -kMaxCurrency, kMaxCurrency);
}

inline Currency SaturatedDifference(Currency a, Currency b) {
    Currency r = 0;
    if (__builtin_sub_overflow(a, b, &r)) return b < 0 ? kMaxCurrency : -kMaxCurrency;
    return std::clamp(r, -kMaxCurrency, kMaxCurrency);
}

}  // namespace qv
