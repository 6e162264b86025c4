#include "core/apr_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string_view>

#include "core/schedule_fixture.h"

namespace qv {
namespace {

using test::AddGroups;
using test::SetLoan;
using test::SetUnitPeriod;

class GetAPRTest : public ::testing::Test {
  protected:
    GetAPRTest() : paySet("mdsPaySet") { test::MakePaySet(paySet); }

    AprOutcome Run() { return GetAPR(state.loan, paySet, settings, chart, port); }

    TMemDataSet paySet;
    LoanState state;
    AprSettings settings;
    ChartText chart;
    RecordingUserPort port;
};

TEST_F(GetAPRTest, TwelveMonthlyPaymentsReportAndSettleAt16_376) {
    AddGroups(paySet, {{12, 100.0, 1, 0}});
    SetLoan(state, 1100.0, 1200.0, 12);
    settings.Log = true;
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_DOUBLE_EQ(state.loan.APR, 16.376);
    EXPECT_TRUE(port.messages.empty());
    ASSERT_GE(chart.size(), 10u);
    EXPECT_EQ(chart[0], "APR evaluated by Quorvane version 0.9992");
    EXPECT_EQ(chart[1], "Amount Financed:   $1,100.00");
    EXPECT_EQ(chart[2], "Total of Payments: $1,200.00");
    EXPECT_EQ(chart[3], "Finance Charge:    $100.00");
    EXPECT_EQ(chart[4], "Payment Schedule, where 30 days/Pd & 12.00000 Pds/year:");
    EXPECT_EQ(chart[5],
              "    12 payments of $ 100.00 on intervals of 1 periods and 0 days per interval.");
    EXPECT_EQ(chart[6], "Total of 12 payments scheduled.");
    // Trial rates 24, about 16.1475, about 16.3763, then the settled rate.
    // At 24 % (2 % a month) the twelve terms 100 / 1.02^t, each rounded to
    // the ten-thousandth, add up to 1,057.5339; at 24.1 % to 1,056.9931; the
    // line through both meets 1,100.00 at 24 + 0.1 x 42.4661 / -0.5408.
    EXPECT_EQ(chart[7],
              "24.00000% implies $ 1,057.53 & 24.10000% implies $ 1,056.99 "
              "reEstimated APR = 16.14754%");
    EXPECT_EQ(chart[8].substr(0, 6), "16.147");
    EXPECT_EQ(chart[9].substr(0, 6), "16.376");
    EXPECT_EQ(chart.back(), "Estimated APR = 16.376%");
}

TEST_F(GetAPRTest, WithoutLoggingTheChartHoldsSummaryGroupsAndResult) {
    AddGroups(paySet, {{1, 150.0, 1, 15}, {34, 100.0, 1, 0}, {1, 120.0, 1, 0}});
    SetLoan(state, 3000.0, 3670.0, 36);
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_EQ(chart.size(), 7u + 3u);
    EXPECT_EQ(chart[5],
              "    1 payments of $ 150.00 on intervals of 1 periods and 15 days per interval.");
}

TEST_F(GetAPRTest, WithoutTheSummaryTheChartHoldsTheStepsAndResultAlone) {
    AddGroups(paySet, {{1, 150.0, 1, 15}, {34, 100.0, 1, 0}, {1, 120.0, 1, 0}});
    SetLoan(state, 3000.0, 3670.0, 36);
    settings.Log = true;
    chart = {"the chart of the loan before"};
    ASSERT_EQ(Run(), AprOutcome::Computed);
    const ChartText full = chart;
    const double apr = state.loan.APR;

    settings.Summary = false;
    chart = {"the chart of the loan before"};
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_EQ(state.loan.APR, apr);
    EXPECT_EQ(chart, ChartText(full.begin() + 6 + 3, full.end()));

    // Neither summary nor steps: the same rate, and no chart to read.
    settings.Log = false;
    chart = {"the chart of the loan before"};
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_EQ(state.loan.APR, apr);
    EXPECT_TRUE(chart.empty());
}

TEST_F(GetAPRTest, ThirtySixMonthlyPaymentsGive12_249) {
    AddGroups(paySet, {{36, 100.0, 1, 0}});
    SetLoan(state, 3000.0, 3600.0, 36);
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_EQ(chart.back(), "Estimated APR = 12.249%");
}

TEST_F(GetAPRTest, PerDiemDiscountsEachIntervalBySimpleInterestOverItsDays) {
    AddGroups(paySet, {{1, 1010.0, 1, 6}});
    SetLoan(state, 1000.0, 1010.0, 1);
    state.loan.PerDiem = true;
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_DOUBLE_EQ(state.loan.APR, 10.139);
}

TEST_F(GetAPRTest, APerDiemIntervalBeyondAYearCompoundsYearly) {
    // One payment on 1,000.00 financed (monthly periods of 30 days). Rates
    // worked by exact rational bisection of P / ((1 + r)^y (1 + r d / 365)),
    // y whole years and d the days left over. 10.00 after two years is met
    // at -90 %, below the -50 % where two years of simple interest would end
    // the defined rates; the secant step leaps past -100 % and the
    // bisection must start from the right lowest rate.
    struct Case {
        double payment;
        int pds, days;
        double apr;
    };
    const Case cases[] = {
        {1240.0, 24, 10, 11.355},  // two years (12 % as simple interest)
        {1135.19, 18, 0, 8.882},   // 540 days (9.138 % as simple interest)
        {1500.0, 33, 10, 15.864},  // 1,000 days
        {1100.0, 12, 6, 9.970},    // a year and a day
        {100.0, 24, 10, -68.377},  // 100 / (1 + r)^2 = 1000
        {10.0, 24, 10, -90.0},
    };
    for (const Case& c : cases) {
        EmptyTable(paySet);
        AddGroups(paySet, {{1, c.payment, c.pds, c.days}});
        SetLoan(state, 1000.0, c.payment, 1);
        state.loan.PerDiem = true;
        ASSERT_EQ(Run(), AprOutcome::Computed) << c.payment;
        EXPECT_DOUBLE_EQ(state.loan.APR, c.apr) << c.payment;
    }
}

TEST(ImpliedAmtFin, PerDiemIntervalsOfAYearOrLessKeepSimpleInterest) {
    // Bit for bit the amount of simple interest over the interval's days,
    // as these loans have always been figured.
    LoanState state;
    state.loan.PerDiem = true;
    for (int days : {1, 36, 200, 364, 365}) {
        state.loan.PayMatrix[1] = {123457, 0, days, 0, days};
        for (double apr : {-37.5, 0.001, 10.139, 24.1, 999.9}) {
            const double expected =
                std::nearbyint(12345700.0 / (1.0 + apr * 0.01 * days / 365.0)) * 0.0001;
            EXPECT_EQ(ImpliedAmtFin(state.loan, 30, 1, 12.0, apr), expected) << days << " " << apr;
        }
    }
}

TEST_F(GetAPRTest, WeeklyAndTwoWeeklyPeriodsAreReportedWithFiveDecimals) {
    SetUnitPeriod(state, 14, 365.0 / 14);
    AddGroups(paySet, {{26, 50.0, 1, 0}});
    SetLoan(state, 1200.0, 1300.0, 26);
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_EQ(chart[4], "Payment Schedule, where 14 days/Pd & 26.07143 Pds/year:");
}

TEST_F(GetAPRTest, AnAmountFinancedOfFourPercentOfTheTotalIsTooLow) {
    AddGroups(paySet, {{1, 1000.0, 1, 0}});
    SetLoan(state, 40.0, 1000.0, 1);
    chart = {"previous chart"};
    EXPECT_EQ(Run(), AprOutcome::AmountTooLow);
    EXPECT_EQ(port.Texts(), (std::vector<std::string>{
                                "$40.00 Amount Financed is too low to compute a meaningful APR"}));
    EXPECT_EQ(port.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(chart, ChartText{"previous chart"});
    EXPECT_EQ(state.loan.APR, 20.0);
}

TEST_F(GetAPRTest, JustAboveFourPercentIsComputed) {
    AddGroups(paySet, {{1, 1000.0, 1, 0}});
    SetLoan(state, 40.1, 1000.0, 1);
    EXPECT_EQ(Run(), AprOutcome::Computed);
}

TEST_F(GetAPRTest, ARejectedExpansionKeepsThePreviousChart) {
    AddGroups(paySet, {{2, 100.0, 1, 0}});
    SetLoan(state, 150.0, 200.0, 3);
    chart = {"previous chart"};
    EXPECT_EQ(Run(), AprOutcome::ScheduleRejected);
    EXPECT_EQ(port.Texts(), (std::vector<std::string>{"Error: 2 payments scheduled but you said 3",
                                                      "InputError, no APR Computed"}));
    EXPECT_EQ(chart, ChartText{"previous chart"});
}

TEST_F(GetAPRTest, TheTenPassSwitchDecidesTheThirdDecimal) {
    // Twelve monthly payments of 175.00 on 2,000.00: the annuity rate is
    // 9.10462 %. The coarse tolerance stops a step before the fine one.
    AddGroups(paySet, {{12, 175.0, 1, 0}});
    SetLoan(state, 2000.0, 2100.0, 12);
    settings.TenPass = false;
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_DOUBLE_EQ(state.loan.APR, 9.102);
    settings.TenPass = true;
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_DOUBLE_EQ(state.loan.APR, 9.105);
}

TEST_F(GetAPRTest, TheTenPassToleranceNeedsAtLeastAsManyStepsAsTheCoarseOne) {
    AddGroups(paySet, {{60, 321.09, 1, 0}});
    SetLoan(state, 14000.0, 19265.40, 60);
    settings.Log = true;
    settings.TenPass = false;
    ASSERT_EQ(Run(), AprOutcome::Computed);
    const double coarse = state.loan.APR;
    const size_t coarseLines = chart.size();
    settings.TenPass = true;
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_GE(chart.size(), coarseLines);
    EXPECT_NEAR(state.loan.APR, coarse, 0.006);
}

TEST_F(GetAPRTest, AnEmptyScheduleWithAPositiveAmountFailsInsteadOfDividingByZero) {
    SetLoan(state, 100.0, 0.0, 0);
    EXPECT_EQ(Run(), AprOutcome::NoRate);
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_NE(port.messages[0].text.find("InputError, no APR Computed"), std::string::npos);
    EXPECT_EQ(state.loan.APR, 20.0);
}

TEST_F(GetAPRTest, ZeroPeriodsAYearIsRefused) {
    AddGroups(paySet, {{12, 100.0, 1, 0}});
    SetLoan(state, 1100.0, 1200.0, 12);
    state.loan.PdsPerYear = 0;
    EXPECT_EQ(Run(), AprOutcome::ScheduleRejected);
    EXPECT_EQ(port.messages.size(), 1u);
}

TEST_F(GetAPRTest, AmountsBeyondTheCurrencyRangeAreRefusedBeforeIterating) {
    struct Case {
        double amtFin;
        Currency totPay;
        std::string_view message;
    };
    const Case cases[] = {
        {1.79e308, DollarsToCurrency(30.0), kAmtFinOutOfRange},
        {-1e300, DollarsToCurrency(30.0), kAmtFinOutOfRange},
        {std::numeric_limits<double>::quiet_NaN(), DollarsToCurrency(30.0), kAmtFinOutOfRange},
        {20.0, kCurrencyTooLarge, kTotalOutOfRange},
    };
    for (const Case& c : cases) {
        EmptyTable(paySet);
        AddGroups(paySet, {{30, 1.0, 1, 0}});
        state.loan.AmtFin = c.amtFin;
        state.loan.TotPay = c.totPay;
        state.loan.PayCount = 30;
        chart = {"previous chart"};
        port.messages.clear();
        settings.Log = true;
        EXPECT_EQ(Run(), AprOutcome::ScheduleRejected) << c.amtFin;
        EXPECT_EQ(port.Texts(), (std::vector<std::string>{std::string(c.message),
                                                          "InputError, no APR Computed"}));
        EXPECT_EQ(chart, ChartText{"previous chart"});
        EXPECT_EQ(state.loan.APR, 20.0);
    }
}

TEST_F(GetAPRTest, NoScheduleComesOutWithAnInfiniteRateOrANonNumberInItsTexts) {
    // Found by fuzzing: a per-diem schedule without payments has no lowest
    // defined rate, and the search began at +infinity. A unit period no
    // interval choice gives was worded with "NAN" periods a year.
    state.loan.PerDiem = true;
    SetLoan(state, 0.0, -0.0001, 0);
    EXPECT_EQ(Run(), AprOutcome::Computed);
    EXPECT_TRUE(std::isfinite(state.loan.APR));
    state.loan.PerDiem = false;
    state.loan.PdsPerYear = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Run(), AprOutcome::ScheduleRejected);
    for (const std::string& text : port.Texts()) EXPECT_EQ(text.find("NAN"), std::string::npos);
    for (const std::string& line : chart) EXPECT_EQ(line.find("INF"), std::string::npos);
}

TEST_F(GetAPRTest, ARateBelowTheSearchedRangeIsReportedWhenItSolvesTheSchedule) {
    // 1,200.00 repaid on 5,000.00 financed: a negative finance charge whose
    // rate, far below -99 %, still brings the payments to the amount financed.
    AddGroups(paySet, {{12, 100.0, 1, 0}});
    SetLoan(state, 5000.0, 1200.0, 12);
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_DOUBLE_EQ(state.loan.APR, -205.994);
    EXPECT_GE(ImpliedAmtFin(state.loan, 30, 12, 12.0, -205.995), 5000.0);
    EXPECT_LE(ImpliedAmtFin(state.loan, 30, 12, 12.0, -205.993), 5000.0);
}

TEST_F(GetAPRTest, NegativeRatesRoundHalfUpLikePositiveOnes) {
    AddGroups(paySet, {{12, 100.0, 1, 0}});
    SetLoan(state, 1250.0, 1200.0, 12);
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_LT(state.loan.APR, 0.0);
    EXPECT_DOUBLE_EQ(state.loan.APR * 1000, std::round(state.loan.APR * 1000));
}

TEST_F(GetAPRTest, ARateIsReportedOnlyWhereItsRoundingLeavesTheScheduleDefined) {
    // Half a period a year: the discount factor 1 + i, i = APR / 50, vanishes
    // at -50 %. One payment of 1.00 after one period on A financed solves at
    // 50 (1 / A - 1) %: -49.9998 % for 250,000.00, which rounds onto the
    // edge, and -49.99 % for 5,000.00.
    struct Case {
        double amtFin;
        AprOutcome outcome;
        double apr;
    };
    for (const Case& c :
         {Case{250000.0, AprOutcome::NoRate, 20.0}, Case{5000.0, AprOutcome::Computed, -49.99}}) {
        EmptyTable(paySet);
        SetUnitPeriod(state, 730, 0.5);
        AddGroups(paySet, {{1, 1.0, 1, 0}});
        SetLoan(state, c.amtFin, 1.0, 1);
        state.loan.APR = 20.0;
        EXPECT_EQ(Run(), c.outcome) << c.amtFin;
        EXPECT_DOUBLE_EQ(state.loan.APR, c.apr) << c.amtFin;
    }
}

TEST(ImpliedAmtFin, AnAmountBeyondTheCurrencyRangeKeepsItsSideWhateverPaymentsFollow) {
    // Per diem, thirty intervals of a year, then a payment of nothing. Just
    // above -100 % each interval multiplies the discount by about 1e12: the
    // sum leaves the currency range at the second payment and the factor
    // itself overflows by the thirtieth. The empty payment after it (nothing
    // times infinity) must not turn the sum to minus infinity, which the
    // bisection would read as a sign change.
    LoanState state;
    state.loan.PerDiem = true;
    for (size_t k = 1; k <= 30; ++k) state.loan.PayMatrix[k] = {1, 12, 5, 0, 0};
    state.loan.PayMatrix[31] = {0, 1, 0, 0, 0};
    const double nearEdge = -100.0 * (1 - 1e-12);
    EXPECT_EQ(ImpliedAmtFin(state.loan, 30, 31, 12.0, nearEdge),
              std::numeric_limits<double>::infinity());
}

TEST(ImpliedAmtFin, MatchesAmountsWorkedTermByTermOnBothBases) {
    LoanState state;
    // Monthly (30 days, 12 a year): 150.00 after a month and 15 days, then
    // 100.00 a month, every payment carrying the 15 odd days. At 12 % (1 % a
    // month), each term discounted by whole periods, rounded, then by the odd
    // days, rounded:
    //   150 / 1.01   = 148.5149 -> / 1.005 = 147.7760
    //   100 / 1.01^2 =  98.0296 -> / 1.005 =  97.5419
    //   100 / 1.01^3 =  97.0590 -> / 1.005 =  96.5761
    state.loan.PayMatrix[1] = {15000, 1, 15, 1, 15};
    state.loan.PayMatrix[2] = {10000, 1, 0, 2, 15};
    state.loan.PayMatrix[3] = {10000, 1, 0, 3, 15};
    EXPECT_EQ(DollarsToCurrency(ImpliedAmtFin(state.loan, 30, 3, 12.0, 12.0)), 3418940);

    // Per diem at 10 %: 1,010.00 after 36 days, 500.00 30 days later.
    //   1010 / (1 + 0.1 x 36/365)                          = 1,000.1356
    //    500 / (1 + 0.1 x 36/365) / (1 + 0.1 x 30/365)     =   491.0804
    state.loan.PerDiem = true;
    state.loan.PayMatrix[1] = {101000, 1, 6, 1, 6};
    state.loan.PayMatrix[2] = {50000, 1, 0, 2, 6};
    EXPECT_EQ(DollarsToCurrency(ImpliedAmtFin(state.loan, 30, 2, 12.0, 10.0)), 14912160);
}

// Schedules on which a plain secant step from 24 % cannot settle: it jumps
// below -100 %, flattens out, or bounces between two rates. The result must
// still be the rate at which the implied amount meets the amount financed.
class HardScheduleTest : public GetAPRTest {
  protected:
    void ExpectRateMatchesAmountFinanced() {
        ASSERT_EQ(Run(), AprOutcome::Computed)
            << (port.messages.empty() ? "" : port.messages[0].text);
        const double below = ImpliedAmtFin(state.loan, state.loan.DaysPerPd, state.loan.PayCount,
                                           state.loan.PdsPerYear, state.loan.APR - 0.002);
        const double above = ImpliedAmtFin(state.loan, state.loan.DaysPerPd, state.loan.PayCount,
                                           state.loan.PdsPerYear, state.loan.APR + 0.002);
        EXPECT_GE(below, state.loan.AmtFin);
        EXPECT_LE(above, state.loan.AmtFin);
    }
};

TEST_F(HardScheduleTest, LongAnnualScheduleWhoseFirstStepLeapsBelowMinus100Percent) {
    SetUnitPeriod(state, 365, 1.0);
    AddGroups(paySet, {{485, 1000.0, 1, 0}});
    SetLoan(state, 19500.0, 485000.0, 485);
    ExpectRateMatchesAmountFinanced();
}

TEST_F(HardScheduleTest, TheBisectionNarrowsUntilTheRoundedRateCannotChange) {
    // Long annual schedules, where the secant step leaps out of range. The
    // annuity rates are 4.96052 % (100 payments of 1,000.00 on 20,000.00)
    // and 0.32821 % (485 on 242,500.00); a bisection stopped at the secant's
    // tolerance gave 4.960 and, at the coarse one, 0.330.
    struct Case {
        int count;
        double amtFin;
        bool tenPass;
        double apr;
    };
    for (const Case& c : {Case{100, 20000.0, true, 4.961}, Case{485, 242500.0, false, 0.328}}) {
        EmptyTable(paySet);
        SetUnitPeriod(state, 365, 1.0);
        AddGroups(paySet, {{c.count, 1000.0, 1, 0}});
        SetLoan(state, c.amtFin, 1000.0 * c.count, c.count);
        settings.TenPass = c.tenPass;
        settings.Log = true;
        ExpectRateMatchesAmountFinanced();
        EXPECT_DOUBLE_EQ(state.loan.APR, c.apr) << c.count;
        EXPECT_EQ(chart[chart.size() - 2].rfind("Secant steps did not settle", 0), 0u);
    }
}

TEST_F(HardScheduleTest, TinyPerDiemLoanWhoseTwoTrialAmountsAreEqual) {
    state.loan.PerDiem = true;
    AddGroups(paySet, {{1, 0.05, 0, 1}});
    SetLoan(state, 0.03, 0.05, 1);
    ExpectRateMatchesAmountFinanced();
}

TEST_F(HardScheduleTest, SmallPerDiemLoanWhoseStepsBounceBetweenTwoRates) {
    state.loan.PerDiem = true;
    AddGroups(paySet, {{1, 35.21, 1, 2}, {1, 43.45, 1, 28}});
    SetLoan(state, 71.34, 78.66, 2);
    settings.Log = true;
    ExpectRateMatchesAmountFinanced();
    EXPECT_NEAR(state.loan.APR, 58.214, 0.001);
    EXPECT_EQ(chart[chart.size() - 2].rfind("Secant steps did not settle", 0), 0u);
}

}  // namespace
}  // namespace qv
