#include "core/loan_state.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(LoanStateReset, RestoresStartValuesButKeepsRegularPageFirstAndLast) {
    LoanState s;
    s.APR = 7.5;
    s.PdsPerYear = 1.0;
    s.DaysPerPd = 365;
    s.RoundAdd = 0.0;
    s.PayCount = 12;
    s.FirstPay = 55.5;
    s.LastPds = 3;
    s.AmtFinOne = 9.0;
    s.SplitDaysPerPd = 14.0;
    s.PayMatrix[485].PayCents = 1;
    ResetLoanState(s);
    EXPECT_EQ(s.APR, 20.0);
    EXPECT_EQ(s.PdsPerYear, 12.0);
    EXPECT_EQ(s.DaysPerPd, 30);
    EXPECT_EQ(s.RoundAdd, 0.5);
    EXPECT_EQ(s.PayCount, 0);
    EXPECT_EQ(s.AmtFinOne, 0.01);
    EXPECT_EQ(s.DayOne, 2);
    EXPECT_EQ(s.SplitDaysPerPd, 30.0);
    EXPECT_EQ(s.GroupPds, 1);
    EXPECT_EQ(s.PayMatrix[485], PayEntry{});
    EXPECT_EQ(s.FirstPay, 55.5);
    EXPECT_EQ(s.LastPds, 3);
}

TEST(LoanStateReset, KeepsTheVariableRateListsPrincipalAndNextGroup) {
    LoanState s;
    s.ContractPrincipal = 500.0;
    s.VaryGroupNumber = 4;
    s.VaryRate = 9.5;
    s.VaryGroupSize = 3;
    s.GroupPayCount = 7;
    ResetLoanState(s);
    EXPECT_EQ(s.ContractPrincipal, 500.0);
    EXPECT_EQ(s.VaryGroupNumber, 4);
    EXPECT_EQ(s.VaryRate, 9.5);
    EXPECT_EQ(s.VaryGroupSize, 3);
    // The running count is shared with the irregular page and is zeroed.
    EXPECT_EQ(s.GroupPayCount, 0);
}

}  // namespace
}  // namespace qv
