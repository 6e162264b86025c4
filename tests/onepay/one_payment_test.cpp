#include "onepay/one_payment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv {
namespace {

TEST(OnePaymentReport, FourLinesWithAmountsToThreeDecimals) {
    const OnePaymentReport r = ComputeOnePayment(100.0, 115.0, 14);
    ASSERT_EQ(r.outcome, OnePaymentOutcome::Computed);
    EXPECT_EQ(r.lines, (std::vector<std::string>{
                           "$100.000 Amount Financed,",
                           "$115.000 Repaid 14 days after the borrowing",
                           "Interest earned on last day but not the first, so 14 days earning:",
                           "Per Diem uncompounded Interest = 391.07% per 365 day year = APR",
                       }));
    EXPECT_NEAR(r.apr, 391.0714, 1e-4);
    EXPECT_FALSE(r.wholeMonths);
}

TEST(OnePaymentReport, LargeAmountsCarryThousandsSeparators) {
    const OnePaymentReport r = ComputeOnePayment(3000.0, 3150.5, 365);
    ASSERT_EQ(r.outcome, OnePaymentOutcome::Computed);
    EXPECT_EQ(r.lines[0], "$3,000.000 Amount Financed,");
    EXPECT_EQ(r.lines[1], "$3,150.500 Repaid 365 days after the borrowing");
    EXPECT_EQ(r.lines[3], "Per Diem uncompounded Interest = 5.02% per 365 day year = APR");
}

TEST(OnePaymentReport, RepaymentBelowTheAmountGivesANegativeRate) {
    // The page warns about such a repayment but does not stop the report.
    const OnePaymentReport r = ComputeOnePayment(100.0, 0.0, 14);
    ASSERT_EQ(r.outcome, OnePaymentOutcome::Computed);
    EXPECT_EQ(r.lines[3], "Per Diem uncompounded Interest = -2,607.14% per 365 day year = APR");
}

TEST(OnePaymentReport, ATermOverAYearIsSentToTheRegularPage) {
    EXPECT_EQ(ComputeOnePayment(100.0, 115.0, 365).outcome, OnePaymentOutcome::Computed);
    const OnePaymentReport r = ComputeOnePayment(100.0, 115.0, 366);
    EXPECT_EQ(r.outcome, OnePaymentOutcome::OverAYear);
    EXPECT_TRUE(r.lines.empty());
    // Checked before anything else: a long loan with nothing lent is still long.
    EXPECT_EQ(ComputeOnePayment(0.0, 115.0, 400).outcome, OnePaymentOutcome::OverAYear);
}

TEST(OnePaymentReport, NoTermOrNoAmountIsRefusedWithoutDividing) {
    EXPECT_EQ(ComputeOnePayment(100.0, 115.0, 0).outcome, OnePaymentOutcome::NoTerm);
    EXPECT_EQ(ComputeOnePayment(100.0, 115.0, -3).outcome, OnePaymentOutcome::NoTerm);
    EXPECT_EQ(ComputeOnePayment(0.0, 115.0, 14).outcome, OnePaymentOutcome::NoAmountFinanced);
    EXPECT_EQ(ComputeOnePayment(0.0, 0.0, 0).outcome, OnePaymentOutcome::NoTerm);
    EXPECT_TRUE(ComputeOnePayment(0.0, 115.0, 14).lines.empty());
    // The smallest amounts still compute.
    EXPECT_EQ(ComputeOnePayment(0.0001, 115.0, 1).outcome, OnePaymentOutcome::Computed);
}

TEST(OnePaymentReport, WholeMonthTermsAreFlagged) {
    for (int days : {29, 30, 31, 60, 61, 62, 90, 91, 92, 93}) {
        EXPECT_TRUE(IsWholeMonthsTerm(days)) << days;
        EXPECT_TRUE(ComputeOnePayment(100.0, 101.0, days).wholeMonths) << days;
    }
    for (int days : {1, 28, 32, 59, 63, 89, 94, 120, 365}) {
        EXPECT_FALSE(IsWholeMonthsTerm(days)) << days;
        EXPECT_FALSE(ComputeOnePayment(100.0, 101.0, days).wholeMonths) << days;
    }
}

}  // namespace
}  // namespace qv
