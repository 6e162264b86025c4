#include "core/loan_state.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(LoanStateReset, RestoresStartValuesButKeepsRegularPageFirstAndLast) {
    LoanState s;
    s.loan.APR = 7.5;
    s.loan.PdsPerYear = 1.0;
    s.loan.DaysPerPd = 365;
    s.loan.RoundAdd = 0.0;
    s.loan.PayCount = 12;
    s.regular.FirstPay = 55.5;
    s.regular.LastPds = 3;
    s.onePay.AmtFinOne = 9.0;
    s.split.SplitDaysPerPd = 14.0;
    s.loan.PayMatrix[485].PayCents = 1;
    ResetLoanState(s);
    EXPECT_EQ(s.loan.APR, 20.0);
    EXPECT_EQ(s.loan.PdsPerYear, 12.0);
    EXPECT_EQ(s.loan.DaysPerPd, 30);
    EXPECT_EQ(s.loan.RoundAdd, 0.5);
    EXPECT_EQ(s.loan.PayCount, 0);
    EXPECT_EQ(s.onePay.AmtFinOne, 0.01);
    EXPECT_EQ(s.onePay.DayOne, 2);
    EXPECT_EQ(s.split.SplitDaysPerPd, 30.0);
    EXPECT_EQ(s.group.GroupPds, 1);
    EXPECT_EQ(s.loan.PayMatrix[485], PayEntry{});
    EXPECT_EQ(s.regular.FirstPay, 55.5);
    EXPECT_EQ(s.regular.LastPds, 3);
}

TEST(LoanStateReset, LoanTermsToStartValuesClearingTheWrittenEntriesOnly) {
    // A loan with every value changed and its first 4 entries written.
    LoanTerms loan{1.0, 2, 3, 4, 5.0, 6.0, 0.0, true, kSourceSplit, true, {}};
    for (std::size_t k = 0; k < 4; ++k) loan.PayMatrix[k] = {1, 2, 3, 4, 5};
    loan.PayMatrix[9].AddDays = 7;  // written, but not said to be
    ResetLoanTerms(loan, 4);
    LoanTerms expected;
    expected.PayMatrix[9].AddDays = 7;
    EXPECT_EQ(loan, expected);
    // More entries than the matrix holds: all of it.
    ResetLoanTerms(loan, 10'000);
    EXPECT_EQ(loan, LoanTerms{});
}

TEST(LoanStateReset, KeepsTheVariableRateListsPrincipalAndNextGroup) {
    LoanState s;
    s.vary.ContractPrincipal = 500.0;
    s.vary.VaryGroupNumber = 4;
    s.vary.VaryRate = 9.5;
    s.vary.VaryGroupSize = 3;
    s.group.GroupPayCount = 7;
    ResetLoanState(s);
    EXPECT_EQ(s.vary.ContractPrincipal, 500.0);
    EXPECT_EQ(s.vary.VaryGroupNumber, 4);
    EXPECT_EQ(s.vary.VaryRate, 9.5);
    EXPECT_EQ(s.vary.VaryGroupSize, 3);
    // The running count is shared with the irregular page and is zeroed.
    EXPECT_EQ(s.group.GroupPayCount, 0);
}

TEST(LoanStateReset, EachPartToItsStartExceptWhatOutlivesAReset) {
    LoanState s;
    s.loan.AmtFin = 100.0;
    s.loan.IrregularLoaded = true;
    s.loan.PayMatrix[1].PayCents = 5;
    s.regular = {55.0, 10.0, 20.0, 1, 2, 3, 4};
    s.group.GroupNumber = 6;
    s.split.SplitSteps[5].Cap = 9.0;
    s.onePay.PayOne = 3.0;
    s.vary = {500.0, 3, 9.5, 4};
    s.figure.MaxRate = 12.0;
    const LoanState before = s;
    ResetLoanState(s);
    EXPECT_EQ(s.loan, LoanTerms{});
    EXPECT_EQ(s.group, GroupEntry{});
    EXPECT_EQ(s.split, SplitInputs{});
    EXPECT_EQ(s.onePay, OnePayInputs{});
    EXPECT_EQ(s.figure, FigureRate{});
    EXPECT_EQ(s.vary, before.vary);
    // The regular page's common payment is reset; its first and last stay.
    RegularInputs regular = before.regular;
    regular.RegPay = 0.0;
    EXPECT_EQ(s.regular, regular);
}

}  // namespace
}  // namespace qv
