#pragma once
// The three forms money takes in Quorvane, and the only conversions between
// them. Every conversion in the engine goes through one of these functions so
// that the rounding rule of each spot is visible at the call site.
//
//   dollars   double
//   currency  int64_t counting ten-thousandths of a dollar
//   cents     int32_t
#include <cmath>
#include <cstdint>
#include <optional>

namespace qv {

using Currency = std::int64_t;
using Cents = std::int32_t;

inline constexpr Currency kCurrencyPerDollar = 10000;
inline constexpr Currency kCurrencyPerCent = 100;

// The largest dollar amount a currency value can hold, with a margin so that
// the scaled double never rounds past the end of int64_t.
inline constexpr double kMaxCurrencyDollars = 922'337'203'685'477.0;

// A double becomes currency by rounding x * 10000 to the nearest integer, an
// exact tie going to the even integer (the floating-point unit's own rounding).
// The caller must know the value is in range; see TryDollarsToCurrency.
inline Currency DollarsToCurrency(double dollars) {
    return static_cast<Currency>(std::nearbyint(dollars * 10000.0));
}

// Like DollarsToCurrency, but refuses values outside the currency range
// (and NaN) instead of overflowing.
inline std::optional<Currency> TryDollarsToCurrency(double dollars) {
    if (!(std::fabs(dollars) <= kMaxCurrencyDollars)) return std::nullopt;
    return DollarsToCurrency(dollars);
}

// a + b, or nothing when the sum leaves the range of int64_t.
inline std::optional<Currency> TryAddCurrency(Currency a, Currency b) {
    Currency sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) return std::nullopt;
    return sum;
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

// Whole cents in a currency value, rounded half up (away from zero for negatives
// is not wanted: the addend is always +50, then truncation toward zero).
inline std::int64_t CurrencyToCentsRoundedHalfUp(Currency c) {
    return (c + kCurrencyPerCent / 2) / kCurrencyPerCent;
}

inline Currency CentsToCurrency(std::int64_t cents) {
    return cents * kCurrencyPerCent;
}

inline double CentsToDollars(std::int64_t cents) {
    return static_cast<double>(cents) / 100.0;
}

// True when a count of cents fits the 32-bit cents form of the payment matrix.
inline bool FitsCents(std::int64_t cents) {
    return cents >= INT32_MIN && cents <= INT32_MAX;
}

}  // namespace qv
