#include "core/apr_engine.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/schedule_fixture.h"

namespace qv {
namespace {

using test::AddGroups;
using test::SetLoan;
using test::SetUnitPeriod;

class GetAPRTest : public ::testing::Test {
  protected:
    GetAPRTest() : paySet("mdsPaySet") { test::MakePaySet(paySet); }

    AprOutcome Run() { return GetAPR(state, paySet, settings, chart, port); }

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
    EXPECT_DOUBLE_EQ(state.APR, 16.376);
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
    EXPECT_EQ(chart[7].substr(0, 21), "24.00000% implies $ 1");
    EXPECT_NE(chart[7].find(" & 24.10000% implies $ "), std::string::npos);
    EXPECT_NE(chart[7].find(" reEstimated APR = 16.147"), std::string::npos);
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

TEST_F(GetAPRTest, ThirtySixMonthlyPaymentsGive12_249) {
    AddGroups(paySet, {{36, 100.0, 1, 0}});
    SetLoan(state, 3000.0, 3600.0, 36);
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_EQ(chart.back(), "Estimated APR = 12.249%");
}

TEST_F(GetAPRTest, PerDiemDiscountsEachIntervalBySimpleInterestOverItsDays) {
    AddGroups(paySet, {{1, 1010.0, 1, 6}});
    SetLoan(state, 1000.0, 1010.0, 1);
    state.PerDiem = true;
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_DOUBLE_EQ(state.APR, 10.139);
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
    EXPECT_EQ(state.APR, 20.0);
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

TEST_F(GetAPRTest, TheTenPassToleranceNeedsAtLeastAsManyStepsAsTheCoarseOne) {
    AddGroups(paySet, {{60, 321.09, 1, 0}});
    SetLoan(state, 14000.0, 19265.40, 60);
    settings.Log = true;
    settings.TenPass = false;
    ASSERT_EQ(Run(), AprOutcome::Computed);
    const double coarse = state.APR;
    const size_t coarseLines = chart.size();
    settings.TenPass = true;
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_GE(chart.size(), coarseLines);
    EXPECT_NEAR(state.APR, coarse, 0.006);
}

TEST_F(GetAPRTest, AnEmptyScheduleWithAPositiveAmountFailsInsteadOfDividingByZero) {
    SetLoan(state, 100.0, 0.0, 0);
    EXPECT_EQ(Run(), AprOutcome::NoRate);
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_NE(port.messages[0].text.find("InputError, no APR Computed"), std::string::npos);
    EXPECT_EQ(state.APR, 20.0);
}

TEST_F(GetAPRTest, ZeroPeriodsAYearIsRefused) {
    AddGroups(paySet, {{12, 100.0, 1, 0}});
    SetLoan(state, 1100.0, 1200.0, 12);
    state.PdsPerYear = 0;
    EXPECT_EQ(Run(), AprOutcome::ScheduleRejected);
    EXPECT_EQ(port.messages.size(), 1u);
}

TEST_F(GetAPRTest, NegativeRatesRoundHalfUpLikePositiveOnes) {
    AddGroups(paySet, {{12, 100.0, 1, 0}});
    SetLoan(state, 1250.0, 1200.0, 12);
    ASSERT_EQ(Run(), AprOutcome::Computed);
    EXPECT_LT(state.APR, 0.0);
    EXPECT_DOUBLE_EQ(state.APR * 1000, std::round(state.APR * 1000));
}

// Schedules on which a plain secant step from 24 % cannot settle: it jumps
// below -100 %, flattens out, or bounces between two rates. The result must
// still be the rate at which the implied amount meets the amount financed.
class HardScheduleTest : public GetAPRTest {
  protected:
    void ExpectRateMatchesAmountFinanced() {
        ASSERT_EQ(Run(), AprOutcome::Computed)
            << (port.messages.empty() ? "" : port.messages[0].text);
        const double below = ImpliedAmtFin(state, state.DaysPerPd, state.PayCount, state.PdsPerYear,
                                           state.APR - 0.002);
        const double above = ImpliedAmtFin(state, state.DaysPerPd, state.PayCount, state.PdsPerYear,
                                           state.APR + 0.002);
        EXPECT_GE(below, state.AmtFin);
        EXPECT_LE(above, state.AmtFin);
    }
};

TEST_F(HardScheduleTest, LongAnnualScheduleWhoseFirstStepLeapsBelowMinus100Percent) {
    SetUnitPeriod(state, 365, 1.0);
    AddGroups(paySet, {{485, 1000.0, 1, 0}});
    SetLoan(state, 19500.0, 485000.0, 485);
    ExpectRateMatchesAmountFinanced();
}

TEST_F(HardScheduleTest, TinyPerDiemLoanWhoseTwoTrialAmountsAreEqual) {
    state.PerDiem = true;
    AddGroups(paySet, {{1, 0.05, 0, 1}});
    SetLoan(state, 0.03, 0.05, 1);
    ExpectRateMatchesAmountFinanced();
}

TEST_F(HardScheduleTest, SmallPerDiemLoanWhoseStepsBounceBetweenTwoRates) {
    state.PerDiem = true;
    AddGroups(paySet, {{1, 35.21, 1, 2}, {1, 43.45, 1, 28}});
    SetLoan(state, 71.34, 78.66, 2);
    settings.Log = true;
    ExpectRateMatchesAmountFinanced();
    EXPECT_NEAR(state.APR, 58.214, 0.001);
    EXPECT_EQ(chart[chart.size() - 2].rfind("Secant steps did not settle", 0), 0u);
}

}  // namespace
}  // namespace qv
