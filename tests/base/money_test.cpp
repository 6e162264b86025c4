#include "base/money.h"

#include <gtest/gtest.h>

#include <limits>

namespace qv {
namespace {

constexpr Currency kInt64Max = std::numeric_limits<Currency>::max();
constexpr Currency kInt64Min = std::numeric_limits<Currency>::min();

TEST(MoneyConversions, HoldTheEndsOfTheirRangeWithoutOverflow) {
    // Half up to the cent at the largest values a currency can take.
    EXPECT_EQ(CurrencyToCentsRoundedHalfUp(kInt64Max), 92233720368547758);
    EXPECT_EQ(CurrencyToCentsRoundedHalfUp(kMaxCurrency), 92233720368547700);
    EXPECT_EQ(CurrencyToCentsRoundedHalfUp(kInt64Min), -92233720368547758);
    EXPECT_EQ(CurrencyToCentsRoundedHalfUp(9223372036854775750), 92233720368547758);
    EXPECT_EQ(CurrencyToCentsRoundedHalfUp(9223372036854775749), 92233720368547757);
    // To the nearest cent, halves up, on both sides; whole cents stay whole.
    EXPECT_EQ(CurrencyToCentsRoundedHalfUp(50), 1);
    EXPECT_EQ(CurrencyToCentsRoundedHalfUp(49), 0);
    EXPECT_EQ(CurrencyToCentsRoundedHalfUp(-50), 0);
    EXPECT_EQ(CurrencyToCentsRoundedHalfUp(-51), -1);
    EXPECT_EQ(CurrencyToCentsRoundedHalfUp(-150), -1);
    EXPECT_EQ(CurrencyToCentsRoundedHalfUp(-151), -2);
    EXPECT_EQ(CurrencyToCentsRoundedHalfUp(-12'000'000), -120'000);

    EXPECT_EQ(DollarsToCurrency(kMaxCurrencyDollars), 9223372036854769664);
    EXPECT_EQ(DollarsToCurrency(1e300), kCurrencyTooLarge);
    EXPECT_EQ(DollarsToCurrency(-1e300), kCurrencyTooSmall);
    EXPECT_EQ(DollarsToCurrency(std::numeric_limits<double>::quiet_NaN()), kCurrencyTooLarge);
    EXPECT_EQ(CentsToCurrency(std::int64_t{1} << 62), kCurrencyTooLarge);
    EXPECT_EQ(CentsToCurrency(-(std::int64_t{1} << 62)), kCurrencyTooSmall);
    EXPECT_EQ(CentsToCurrency(-12345), -1234500);
}

TEST(MoneyCheckedArithmetic, RefusesWhatTheCurrencyRangeCannotHold) {
    struct Case {
        Currency a;
        Currency b;
        std::optional<Currency> sum;
        std::optional<Currency> difference;
    };
    const Case cases[] = {
        {1, 2, 3, -1},
        {kMaxCurrency, 0, kMaxCurrency, kMaxCurrency},
        {kMaxCurrency, 1, std::nullopt, kMaxCurrency - 1},
        {-kMaxCurrency, -1, std::nullopt, -kMaxCurrency + 1},
        {kMaxCurrency, -kMaxCurrency, 0, std::nullopt},
        // A value already beyond the range is never taken as an amount, even
        // where the arithmetic would bring the result back inside.
        {kInt64Max, -kInt64Max, std::nullopt, std::nullopt},
        {kInt64Min, 0, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckedSum(c.a, c.b), c.sum) << c.a << " + " << c.b;
        EXPECT_EQ(CheckedDifference(c.a, c.b), c.difference) << c.a << " - " << c.b;
    }

    EXPECT_EQ(CheckedProduct(3, -250), -750);
    EXPECT_EQ(CheckedProduct(1, kMaxCurrency), kMaxCurrency);
    EXPECT_EQ(CheckedProduct(2, kMaxCurrency / 2 + 1), std::nullopt);
    EXPECT_EQ(CheckedProduct(kInt64Max, 2), std::nullopt);
    EXPECT_EQ(CheckedProduct(0, kInt64Max), std::nullopt);

    // Four payments of the largest amount the boxes take.
    const Currency largestPayment = DollarsToCurrency(922'337'203'685'477.0);
    EXPECT_EQ(CheckedSumOfPayments(0, 1, largestPayment), largestPayment);
    EXPECT_EQ(CheckedSumOfPayments(0, 4, largestPayment), std::nullopt);
    EXPECT_EQ(CheckedSumOfPayments(kMaxCurrency, 1, 1), std::nullopt);

    EXPECT_EQ(SaturatedSum(kMaxCurrency, kMaxCurrency), kMaxCurrency);
    EXPECT_EQ(SaturatedSum(kInt64Min, -1), -kMaxCurrency);
    EXPECT_EQ(SaturatedDifference(-kMaxCurrency, kInt64Max), -kMaxCurrency);
    EXPECT_EQ(SaturatedDifference(7, 10), -3);
}

}  // namespace
}  // namespace qv
