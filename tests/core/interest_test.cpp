#include "core/interest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qv {
namespace {

// ComputeInt(Pds, Days, PerUnitDays, ByDays, APR, PdsPerYear, Balance, Places, RoundAdd, port)

// --- Unit-period basis ------------------------------------------------------

TEST(ComputeIntUnitPeriods, OneMonthAndFifteenDaysAtTwelvePercent) {
    RecordingUserPort port;
    EXPECT_EQ(ComputeInt(1, 15, 30, false, 12, 12, 1000, 2, 0.5, port), 150000);  // 15.00
    EXPECT_TRUE(port.messages.empty());
}

TEST(ComputeIntUnitPeriods, SimpleInterestAcrossPeriodsNotCompounded) {
    RecordingUserPort port;
    // 3 months of 1% on 1000: 30.00, not 30.30.
    EXPECT_EQ(ComputeInt(3, 0, 30, false, 12, 12, 1000, 2, 0.5, port), 300000);
}

TEST(ComputeIntUnitPeriods, RoundAddRoundsToNearestOrDown) {
    RecordingUserPort port;
    // 1000 * 0.01 * (1 + 7/30) = 12.3333.. ; 88.85 * 0.015 = 1.33275
    EXPECT_EQ(ComputeInt(1, 7, 30, false, 12, 12, 1000, 2, 0.5, port), 123300);
    EXPECT_EQ(ComputeInt(1, 0, 30, false, 18, 12, 88.85, 2, 0.5, port), 13300);  // 1.33
    EXPECT_EQ(ComputeInt(1, 0, 30, false, 18, 12, 88.85, 2, 0.0, port), 13300);  // 1.33
    // 1000 * 0.01 * 20/30 = 6.6666..: 6.67 to nearest, 6.66 down.
    EXPECT_EQ(ComputeInt(0, 20, 30, false, 12, 12, 1000, 2, 0.5, port), 66700);
    EXPECT_EQ(ComputeInt(0, 20, 30, false, 12, 12, 1000, 2, 0.0, port), 66600);
}

TEST(ComputeIntUnitPeriods, FourPlacesKeepTenThousandths) {
    RecordingUserPort port;
    // 6.6666.. at 4 places: a = 0.5 * 100 / 10000 = 0.005, trunc(66666.67 + 0.005) = 66666.
    EXPECT_EQ(ComputeInt(0, 20, 30, false, 12, 12, 1000, 4, 0.5, port), 66666);
    EXPECT_EQ(ComputeInt(1, 15, 30, false, 12, 12, 1000, 4, 0.5, port), 150000);
}

TEST(ComputeIntUnitPeriods, ZeroBalanceOrRateGivesZero) {
    RecordingUserPort port;
    EXPECT_EQ(ComputeInt(1, 15, 30, false, 12, 12, 0, 2, 0.5, port), 0);
    EXPECT_EQ(ComputeInt(1, 15, 30, false, 0, 12, 1000, 2, 0.5, port), 0);
}

// --- Per-diem basis ---------------------------------------------------------

TEST(ComputeIntPerDiem, FortyFiveDaysAtTwelvePercent) {
    RecordingUserPort port;
    // 1000 * 45 * 12 / 36500 = 14.7945..
    EXPECT_EQ(ComputeInt(1, 15, 30, true, 12, 12, 1000, 2, 0.5, port), 147900);
    EXPECT_EQ(ComputeInt(1, 15, 30, true, 12, 12, 1000, 4, 0.5, port), 147945);
}

TEST(ComputeIntPerDiem, DoesNotUsePeriodsPerYear) {
    RecordingUserPort port;
    EXPECT_EQ(ComputeInt(1, 15, 30, true, 12, 0, 1000, 2, 0.5, port), 147900);
    EXPECT_EQ(ComputeInt(0, 365, 0, true, 10, 12, 1000, 2, 0.5, port), 1000000);  // 100.00
}

TEST(ComputeIntPerDiem, BeyondAYearCompoundsYearlyWithTheRestAsSimpleInterest) {
    RecordingUserPort port;
    struct Case {
        std::int32_t pds, days;
        Currency interest;
    };
    // 1000 at 12 %: a year is simple interest (120.00); 730 days compound,
    // 1000 (1.12^2 - 1) = 254.40; 370 days, 1000 (1.12 (1 + 0.12 x 5/365) - 1)
    // = 121.84, where simple interest would give 121.64.
    for (const Case& c : {Case{12, 5, 1200000}, Case{24, 10, 2544000}, Case{12, 10, 1218400}})
        EXPECT_EQ(ComputeInt(c.pds, c.days, 30, true, 12, 12, 1000, 2, 0.5, port), c.interest)
            << c.pds << " periods " << c.days << " days";
}

// --- Places -----------------------------------------------------------------

TEST(ComputeIntPlaces, EachScaleFromZeroToFour) {
    RecordingUserPort port;
    // 1000 * 0.01 * 20/30 = 6.6666.., RoundAdd 0 (a = 0): plain truncation.
    EXPECT_EQ(ComputeInt(0, 20, 30, false, 12, 12, 1000, 0, 0.0, port), 60000);
    EXPECT_EQ(ComputeInt(0, 20, 30, false, 12, 12, 1000, 1, 0.0, port), 66000);
    EXPECT_EQ(ComputeInt(0, 20, 30, false, 12, 12, 1000, 2, 0.0, port), 66600);
    EXPECT_EQ(ComputeInt(0, 20, 30, false, 12, 12, 1000, 3, 0.0, port), 66660);
    EXPECT_EQ(ComputeInt(0, 20, 30, false, 12, 12, 1000, 4, 0.0, port), 66666);
    EXPECT_TRUE(port.messages.empty());
}

TEST(ComputeIntPlaces, OtherPlacesShowTheMessageAndUseTwo) {
    for (int places : {5, -1, 100}) {
        RecordingUserPort port;
        EXPECT_EQ(ComputeInt(0, 20, 30, false, 12, 12, 1000, places, 0.5, port), 66700);
        ASSERT_EQ(port.messages.size(), 1u);
        EXPECT_EQ(port.messages[0].kind, MessageKind::Information);
        EXPECT_EQ(port.messages[0].text, "2 places in ComputeInt return");
    }
}

// --- Guards -----------------------------------------------------------------

TEST(ComputeIntGuards, ZeroPerUnitDaysOnUnitBasisCountsWholePeriodsOnly) {
    RecordingUserPort port;
    EXPECT_EQ(ComputeInt(1, 15, 0, false, 12, 12, 1000, 2, 0.5, port), 100000);  // 10.00
    EXPECT_EQ(ComputeInt(0, 15, 0, false, 12, 12, 1000, 2, 0.5, port), 0);
}

TEST(ComputeIntGuards, ZeroPeriodsPerYearOnUnitBasisGivesZero) {
    RecordingUserPort port;
    EXPECT_EQ(ComputeInt(1, 15, 30, false, 12, 0, 1000, 2, 0.5, port), 0);
}

TEST(ComputeIntGuards, NonFiniteInputsGiveZero) {
    RecordingUserPort port;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ComputeInt(1, 15, 30, false, nan, 12, 1000, 2, 0.5, port), 0);
    EXPECT_EQ(ComputeInt(1, 15, 30, true, 12, 12, inf, 2, 0.5, port), 0);
}

TEST(ComputeIntGuards, HugeResultsClampToTheCurrencyRange) {
    RecordingUserPort port;
    Currency hi = ComputeInt(400, 0, 30, false, 1e6, 12, 1e15, 2, 0.5, port);
    EXPECT_GT(hi, 9'223'372'036'854'000'000);
    Currency lo = ComputeInt(400, 0, 30, false, 1e6, 12, -1e15, 4, 0.5, port);
    EXPECT_LT(lo, -9'223'372'036'854'000'000);
}

TEST(ComputeIntSigns, NegativeBalanceTruncatesTowardZero) {
    RecordingUserPort port;
    // -6.6666.. * 100 + 0.5 = -666.17 -> -666 -> -6.66
    EXPECT_EQ(ComputeInt(0, 20, 30, false, 12, 12, -1000, 2, 0.5, port), -66600);
}

}  // namespace
}  // namespace qv
