#include "schedule/group_schedule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/rounding_setting.h"
#include "core/schedule_fixture.h"

namespace qv {
namespace {

using test::AddGroups;
using Strings = std::vector<std::string>;

// --- total-of-payments warnings and the one-group suggestion --------------

TEST(TotalOfPaymentsWarning, ZeroTotalWithAnAmountFinancedComesFirst) {
    EXPECT_EQ(TotalOfPaymentsWarning(0, 100.0),
              "Warning: If Amt.Fin > zero, then Total of Payments cannot be zero.");
    // Under one cent counts as zero.
    EXPECT_EQ(TotalOfPaymentsWarning(99, 100.0),
              "Warning: If Amt.Fin > zero, then Total of Payments cannot be zero.");
    EXPECT_EQ(TotalOfPaymentsWarning(100, 100.0), "Warning: Total of Payments < Amount Financed.");
}

TEST(TotalOfPaymentsWarning, NoneWhenTheTotalCoversTheAmount) {
    EXPECT_EQ(TotalOfPaymentsWarning(0, 0.0), std::nullopt);
    EXPECT_EQ(TotalOfPaymentsWarning(DollarsToCurrency(1000.0), 1000.0), std::nullopt);
    EXPECT_EQ(TotalOfPaymentsWarning(DollarsToCurrency(999.99), 1000.0),
              "Warning: Total of Payments < Amount Financed.");
}

TEST(OneGroupSuggestion, SharesTheTotalEvenlyDroppingTheFractionOfACent) {
    EXPECT_EQ(OneGroupSuggestion("0", "0.00", DollarsToCurrency(1066.20), 12), "88.85");
    EXPECT_EQ(OneGroupSuggestion("0", "0.00", DollarsToCurrency(100.00), 3), "33.33");
    EXPECT_EQ(OneGroupSuggestion("0", "0.00", DollarsToCurrency(0.02), 3), "0.00");
    // Thousands separators, as the number format writes them.
    EXPECT_EQ(OneGroupSuggestion("0", "0.00", DollarsToCurrency(12000.0), 12), "1,000.00");
}

TEST(OneGroupSuggestion, OnlyBeforeAnyGroupAndForAPositiveCount) {
    const Currency total = DollarsToCurrency(1066.20);
    EXPECT_EQ(OneGroupSuggestion("1", "0.00", total, 12), std::nullopt);
    EXPECT_EQ(OneGroupSuggestion("0", "0", total, 12), std::nullopt);
    EXPECT_EQ(OneGroupSuggestion("00", "0.00", total, 12), std::nullopt);
    EXPECT_EQ(OneGroupSuggestion("0", "88.85", total, 12), std::nullopt);
    // No division by a count of zero.
    EXPECT_EQ(OneGroupSuggestion("0", "0.00", total, 0), std::nullopt);
}

// --- Add Group -------------------------------------------------------------

TEST(DecideAddGroup, ConvertsThePlainNumbersOfTheFourBoxes) {
    const AddGroupDecision d = DecideAddGroup("12", "88.85", "1", "0", 0);
    EXPECT_TRUE(d.accepted);
    EXPECT_TRUE(d.messages.empty());
    EXPECT_EQ(d.group, (PayGroup{12, 0, 88.85, 1, 0}));
    EXPECT_EQ(DecideAddGroup("1", ".5", "0", "15", 0).group, (PayGroup{1, 0, 0.5, 0, 15}));
    EXPECT_EQ(DecideAddGroup("1", "7.", "2", "0", 0).group, (PayGroup{1, 0, 7.0, 2, 0}));
}

TEST(DecideAddGroup, TakesBackItsOwnSuggestionWithThousandsSeparators) {
    const AddGroupDecision d = DecideAddGroup("1,200", "1,000.00", "1", "0", 0);
    ASSERT_FALSE(d.accepted);  // 1,200 payments are too many, but they convert
    EXPECT_EQ(d.messages, Strings{std::string(kTooManyPayments)});
    EXPECT_EQ(DecideAddGroup("12", "1,000.00", "1", "0", 0).group, (PayGroup{12, 0, 1000.0, 1, 0}));
}

TEST(DecideAddGroup, AnyTextThatIsNoPlainNumberIsASyntaxError) {
    for (const char* pay : {"88.8x", "", "$88.85", "-5", "1.2.3", " 5", "1e3", ".", ","}) {
        const AddGroupDecision d = DecideAddGroup("1", pay, "1", "0", 0);
        EXPECT_FALSE(d.accepted) << pay;
        EXPECT_EQ(d.messages, Strings{std::string(kGroupSyntaxError)}) << pay;
    }
    for (const char* count : {"2.5", "-1", "2147483648", "x", ""}) {
        EXPECT_FALSE(DecideAddGroup("1", "1.00", count, "0", 0).accepted) << count;
        EXPECT_FALSE(DecideAddGroup("1", "1.00", "1", count, 0).accepted) << count;
    }
    // A payment beyond what currency can hold does not convert either.
    EXPECT_FALSE(DecideAddGroup("1", "1000000000000000", "1", "0", 0).accepted);
}

TEST(DecideAddGroup, NoMoreThan485PaymentsOverall) {
    EXPECT_EQ(DecideAddGroup("6", "10.00", "1", "0", 480).messages,
              Strings{std::string(kTooManyPayments)});
    EXPECT_TRUE(DecideAddGroup("5", "10.00", "1", "0", 480).accepted);
    // A size at the top of the 32-bit range does not wrap around.
    EXPECT_FALSE(DecideAddGroup("2147483647", "10.00", "1", "0", 480).accepted);
}

TEST(DecideAddGroup, BothRefusalsInOrderButNoCountCheckForASizeThatDidNotConvert) {
    EXPECT_EQ(DecideAddGroup("6", "88.8x", "1", "0", 480).messages,
              (Strings{std::string(kGroupSyntaxError), std::string(kTooManyPayments)}));
    EXPECT_EQ(DecideAddGroup("6x", "88.85", "1", "0", 480).messages,
              Strings{std::string(kGroupSyntaxError)});
}

TEST(DecideAddGroup, NoRangeChecksBeyondConversion) {
    EXPECT_TRUE(DecideAddGroup("0", "0.00", "0", "0", 0).accepted);
}

TEST(TakeNewGroup, GrowsTheRunningTotalsAndNumbersTheNextGroup) {
    LoanState s;
    TakeNewGroup(s.group, {12, 0, 88.85, 1, 0});
    TakeNewGroup(s.group, {1, 0, 88.91, 2, 5});
    EXPECT_EQ(s.group.GroupNumber, 3);
    EXPECT_EQ(s.group.GroupPayCount, 13);
    EXPECT_DOUBLE_EQ(s.group.GroupPayTotal, 1155.11);
    EXPECT_EQ(s.group.GroupSize, 1);
    EXPECT_EQ(s.group.GroupPay, 88.91);
    EXPECT_EQ(s.group.GroupPds, 2);
    EXPECT_EQ(s.group.GroupExtra, 5);
    EXPECT_EQ(GroupCountText(s.group.GroupNumber), "Payment Group # 3 has");
}

// --- walking the groups ------------------------------------------------------

class WalkGroupsTest : public ::testing::Test {
  protected:
    WalkGroupsTest() : paySet("mdsPaySet") { test::MakePaySet(paySet); }
    TMemDataSet paySet;
};

TEST_F(WalkGroupsTest, CountsAndTotalsEachPaymentRoundedToCurrency) {
    AddGroups(paySet, {{12, 88.85, 1, 0}, {1, 88.91, 1, 0}});
    const GroupWalk w = WalkGroups(paySet);
    EXPECT_EQ(w.count, 13);
    EXPECT_TRUE(w.totalInRange);
    EXPECT_EQ(w.total, 11551100);
    EXPECT_TRUE(w.findings.empty());
    EXPECT_EQ(GroupSumText(w.count, CurrencyToDollars(w.total)), "13 Payments, Total= $1,155.11");
    EXPECT_EQ(PaymentsTotalText(12, DollarsToCurrency(1072.41)), "12 payments total to $1,072.41");
    EXPECT_EQ(GroupSumText(0, 0.0), "0 Payments, Total= $0.00");
}

TEST_F(WalkGroupsTest, EachGroupIsTestedAndEachFindingNamesItsGroup) {
    AddGroups(paySet, {{0, 10.0, 0, 0}, {2, 0.004, 1, 0}, {1, 0.01, 0, 5}, {3, -1.0, 1, 0}});
    const GroupWalk w = WalkGroups(paySet);
    EXPECT_EQ(
        w.findings,
        (Strings{"Group # 1 has an interval of zero !", "Group # 1 contains no payments!",
                 "Group # 2 has payment(s) of zero $ !", "Group # 4 has payment(s) of zero $ !"}));
    EXPECT_EQ(w.count, 6);
    EXPECT_EQ(w.total, 2 * 40 + 100 - 3 * 10000);
}

TEST_F(WalkGroupsTest, StoresAPendingGroupAndKeepsTheCursor) {
    AddGroups(paySet, {{1, 10.0, 1, 0}, {1, 20.0, 1, 0}});
    paySet.MoveTo(1);
    paySet.AppendNew();
    paySet.SetFieldInteger("Sequence", 3);
    paySet.SetFieldInteger("SetSize", 2);
    paySet.SetFieldFloat("PaySize", 5.0);
    const GroupWalk w = WalkGroups(paySet);
    EXPECT_EQ(paySet.Count(), 3);
    EXPECT_EQ(w.count, 4);
    EXPECT_EQ(w.total, 400000);
    EXPECT_FALSE(paySet.HasPending());
}

TEST_F(WalkGroupsTest, APendingGroupWithoutNumberIsTheTablesRefusal) {
    AddGroups(paySet, {{1, 10.0, 1, 0}});
    paySet.AppendNew();
    paySet.SetFieldInteger("SetSize", 2);
    EXPECT_THROW(WalkGroups(paySet), EMemDatasetError);
    EXPECT_EQ(paySet.UpdateCount(), 0);  // the grid is released
}

TEST_F(WalkGroupsTest, ATotalBeyondCurrencyIsFlaggedNotWrapped) {
    AddGroups(paySet, {{2000000000, 900000000000.0, 1, 0}, {1, 1e300, 1, 0}});
    const GroupWalk w = WalkGroups(paySet);
    EXPECT_FALSE(w.totalInRange);
    EXPECT_EQ(w.count, 2000000001);
    EXPECT_GT(w.dollars, 1e299);
}

TEST_F(WalkGroupsTest, AnEmptyTableHasNothing) {
    const GroupWalk w = WalkGroups(paySet);
    EXPECT_EQ(w.count, 0);
    EXPECT_EQ(w.total, 0);
    EXPECT_TRUE(w.findings.empty());
}

// --- the amount-financed question ------------------------------------------

TEST(AmountFinancedReply, TheProposalUnchangedKeepsTheAmount) {
    EXPECT_EQ(AmountFinancedDefault(1000.0), "$1,000.00");
    const AmountFinancedReply r = JudgeAmountFinancedReply("$1,000.00", "$1,000.00");
    EXPECT_EQ(r.kind, AmountFinancedReply::Kind::Keep);
}

TEST(AmountFinancedReply, ANewAmountIsCleanedAndShownWithSeparators) {
    AmountFinancedReply r = JudgeAmountFinancedReply("$2,500.5", "$1,000.00");
    EXPECT_EQ(r.kind, AmountFinancedReply::Kind::Accept);
    EXPECT_EQ(r.amtFin, 2500.5);
    EXPECT_EQ(r.boxText, "2,500.50");
    r = JudgeAmountFinancedReply(".75", "$0.00");
    EXPECT_EQ(r.kind, AmountFinancedReply::Kind::Accept);
    EXPECT_EQ(r.amtFin, 0.75);
}

TEST(AmountFinancedReply, AnythingElseIsRefusedInItsOwnWords) {
    for (const char* bad : {"12x", "", "-5", "1.2.3", "1e999"}) {
        const AmountFinancedReply r = JudgeAmountFinancedReply(bad, "$1,000.00");
        EXPECT_EQ(r.kind, AmountFinancedReply::Kind::Refuse) << bad;
        EXPECT_EQ(r.message, std::string(bad) + " is not a valid Amount Financed");
    }
}

TEST(AmountFinancedReply, Only255CharactersAreConsidered) {
    const std::string proposal = "$1,000.00";
    // Characters past the 255th make no difference to the comparison.
    std::string longer = std::string(255, '1');
    EXPECT_EQ(JudgeAmountFinancedReply(longer + "x", longer).kind, AmountFinancedReply::Kind::Keep);
    const AmountFinancedReply r = JudgeAmountFinancedReply(std::string(300, 'x'), proposal);
    EXPECT_EQ(r.message, std::string(255, 'x') + " is not a valid Amount Financed");
}

// --- Estimate APR -------------------------------------------------------------

TEST(SetBasePeriod, TheFiveIntervalsAndNoneChosen) {
    LoanState s;
    SetBasePeriod(s.loan, Interval::Annually);
    EXPECT_EQ(s.loan.DaysPerPd, 365);
    EXPECT_EQ(s.loan.PdsPerYear, 1.0);
    SetBasePeriod(s.loan, Interval::HalfMonthly);
    EXPECT_EQ(s.loan.DaysPerPd, 15);
    EXPECT_EQ(s.loan.PdsPerYear, 24.0);
    SetBasePeriod(s.loan, Interval::TwoWeekly);
    EXPECT_EQ(s.loan.DaysPerPd, 14);
    EXPECT_EQ(s.loan.PdsPerYear, 365.0 / 14.0);
    SetBasePeriod(s.loan, Interval::Weekly);
    EXPECT_EQ(s.loan.DaysPerPd, 7);
    EXPECT_EQ(s.loan.PdsPerYear, 365.0 / 7.0);
    SetBasePeriod(s.loan, std::nullopt);
    EXPECT_EQ(s.loan.DaysPerPd, 7);
    SetBasePeriod(s.loan, Interval::Monthly);
    EXPECT_EQ(s.loan.DaysPerPd, 30);
    EXPECT_EQ(s.loan.PdsPerYear, 12.0);
}

TEST(PerDiemRule, FewerThanThreePaymentsOnTheMatrixOfTheLastComputation) {
    LoanState s;
    ResetLoanState(s);
    for (int count : {0, 1, 2}) {
        s.loan.PayCount = count;
        EXPECT_TRUE(PerDiemRuleApplies(s.loan)) << count;
    }
    s.loan.PayCount = 3;
    EXPECT_FALSE(PerDiemRuleApplies(s.loan));
    s.loan.PayCount = 1;
    s.loan.PayMatrix[1].PriorPds = 1;
    EXPECT_FALSE(PerDiemRuleApplies(s.loan));
    s.loan.PayMatrix[1].PriorPds = 0;
    s.loan.PayMatrix[2].AddDays = 3;
    EXPECT_FALSE(PerDiemRuleApplies(s.loan));
}

// --- rounding ----------------------------------------------------------------------

TEST(RoundingFor, BothModesWithTheirNotes) {
    const RoundingSetting down = RoundingFor(true);
    EXPECT_EQ(down.RoundAdd, 0.0);
    EXPECT_EQ(down.aboutNote,
              "Note: Amortization rounds down to a whole cent, but you can change that setting:");
    EXPECT_EQ(down.chartNote, "Amortization rounds fractions down !");
    const RoundingSetting nearest = RoundingFor(false);
    EXPECT_EQ(nearest.RoundAdd, 0.5);
    EXPECT_EQ(nearest.aboutNote,
              "Note: Amortization rounds to the nearest whole cent, but you can change that "
              "setting:");
    EXPECT_EQ(nearest.chartNote, "Amortization rounds to nearest cent.");
}

}  // namespace
}  // namespace qv
