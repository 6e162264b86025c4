#include "core/pay_schedule.h"

#include <gtest/gtest.h>

#include "core/schedule_fixture.h"
#include "schedule/regular_schedule.h"

namespace qv {
namespace {

using test::AddGroups;
using test::SetLoan;

class SetPayArrayTest : public ::testing::Test {
  protected:
    SetPayArrayTest() : paySet("mdsPaySet") { test::MakePaySet(paySet); }
    TMemDataSet paySet;
    LoanState state;
    RecordingUserPort port;
};

TEST_F(SetPayArrayTest, EmptyTableAgreesWithZeroCountAndTotal) {
    EXPECT_TRUE(SetPayArray(state.loan, paySet, port));
    EXPECT_TRUE(port.messages.empty());
}

TEST_F(SetPayArrayTest, EmptyTableReportsTheMissingPayments) {
    state.loan.PayCount = 3;
    EXPECT_FALSE(SetPayArray(state.loan, paySet, port));
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_EQ(port.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(port.messages[0].text, "Error: 0 payments scheduled but you said 3");
}

TEST_F(SetPayArrayTest, OddDaysCarryIntoWholePeriodsOnlyPastAFullPeriod) {
    AddGroups(paySet, {{2, 50.0, 1, 20}, {1, 50.0, 0, 10}, {1, 50.0, 0, 30}});
    SetLoan(state, 150.0, 200.0, 4);
    ASSERT_TRUE(SetPayArray(state.loan, paySet, port));
    const auto& m = state.loan.PayMatrix;
    EXPECT_EQ(m[0], PayEntry{});
    EXPECT_EQ((PayEntry{5000, 1, 20, 1, 20}), m[1]);
    EXPECT_EQ((PayEntry{5000, 1, 20, 3, 10}), m[2]);  // 40 odd days carry one period
    EXPECT_EQ((PayEntry{5000, 0, 10, 3, 20}), m[3]);
    EXPECT_EQ((PayEntry{5000, 0, 30, 4, 20}), m[4]);  // 50 days: one carried, 20 left
    EXPECT_EQ(m[5], PayEntry{});
}

TEST_F(SetPayArrayTest, AFullPeriodOfOddDaysIsNotCarried) {
    AddGroups(paySet, {{1, 10.0, 0, 15}, {1, 10.0, 0, 15}});
    SetLoan(state, 15.0, 20.0, 2);
    ASSERT_TRUE(SetPayArray(state.loan, paySet, port));
    EXPECT_EQ(state.loan.PayMatrix[2].CumPds, 0);
    EXPECT_EQ(state.loan.PayMatrix[2].CumDays, 30);
}

TEST_F(SetPayArrayTest, SubCentPartsOfAPaymentAreDropped) {
    AddGroups(paySet, {{1, 100.009, 1, 0}});
    SetLoan(state, 90.0, 100.009, 1);
    EXPECT_TRUE(SetPayArray(state.loan, paySet, port));
    EXPECT_EQ(state.loan.PayMatrix[1].PayCents, 10000);
    EXPECT_TRUE(port.messages.empty());
}

TEST_F(SetPayArrayTest, GroupsOfSizeZeroOrLessAddNothing) {
    AddGroups(paySet, {{0, 10.0, 1, 0}, {-2, 10.0, 1, 0}, {1, 10.0, 1, 0}});
    SetLoan(state, 9.0, 10.0, 1);
    EXPECT_TRUE(SetPayArray(state.loan, paySet, port));
    EXPECT_EQ(state.loan.PayMatrix[1].PayCents, 1000);
    EXPECT_EQ(state.loan.PayMatrix[2], PayEntry{});
}

TEST_F(SetPayArrayTest, CountAndTotalDisagreementsAreBothReportedAndTheMatrixStillFilled) {
    AddGroups(paySet, {{2, 1234.5, 1, 0}});
    SetLoan(state, 2000.0, 2469.02, 3);
    EXPECT_FALSE(SetPayArray(state.loan, paySet, port));
    EXPECT_EQ(port.Texts(), (std::vector<std::string>{
                                "Error: 2 payments scheduled but you said 3",
                                "Error: $2,469.00 payment total However, you said $2,469.02"}));
    EXPECT_EQ(state.loan.PayMatrix[2].PayCents, 123450);
}

TEST_F(SetPayArrayTest, GroupsAreExpandedInSequenceOrderNotInsertionOrder) {
    paySet.AppendNew();
    paySet.SetFieldInteger("Sequence", 2);
    paySet.SetFieldInteger("SetSize", 1);
    paySet.SetFieldFloat("PaySize", 2.0);
    paySet.SetFieldInteger("PriorPds", 1);
    paySet.Post();
    paySet.AppendNew();
    paySet.SetFieldInteger("Sequence", 1);
    paySet.SetFieldInteger("SetSize", 1);
    paySet.SetFieldFloat("PaySize", 1.0);
    paySet.SetFieldInteger("PriorPds", 1);
    paySet.Post();
    SetLoan(state, 1.0, 3.0, 2);
    ASSERT_TRUE(SetPayArray(state.loan, paySet, port));
    EXPECT_EQ(state.loan.PayMatrix[1].PayCents, 100);
    EXPECT_EQ(state.loan.PayMatrix[2].PayCents, 200);
}

TEST_F(SetPayArrayTest, MoreThan485PaymentsAreRefusedWithoutWritingPastTheMatrix) {
    AddGroups(paySet, {{480, 1.0, 1, 0}, {10, 1.0, 1, 0}});
    SetLoan(state, 400.0, 490.0, 490);
    EXPECT_FALSE(SetPayArray(state.loan, paySet, port));
    EXPECT_EQ(port.Texts(), (std::vector<std::string>{
                                "Error: 490 payments scheduled but a schedule holds at most 485"}));
    EXPECT_EQ(state.loan.PayMatrix[485].CumPds, 485);
}

TEST_F(SetPayArrayTest, Exactly485PaymentsFit) {
    AddGroups(paySet, {{485, 1.0, 1, 0}});
    SetLoan(state, 400.0, 485.0, 485);
    EXPECT_TRUE(SetPayArray(state.loan, paySet, port));
    EXPECT_EQ(state.loan.PayMatrix[485].PayCents, 100);
}

TEST_F(SetPayArrayTest, APaymentBeyond32BitCentsIsRefused) {
    AddGroups(paySet, {{1, 21474836.48, 1, 0}});
    SetLoan(state, 100.0, 21474836.48, 1);
    EXPECT_FALSE(SetPayArray(state.loan, paySet, port));
    EXPECT_EQ(port.Texts(),
              (std::vector<std::string>{"Error: a payment of $21,474,836.48 is more than the "
                                        "largest payment of $21,474,836.47."}));
}

TEST_F(SetPayArrayTest, PeriodCountsBeyond32BitsAreRefused) {
    AddGroups(paySet, {{3, 1.0, 2000000000, 0}});
    SetLoan(state, 1.0, 3.0, 3);
    EXPECT_FALSE(SetPayArray(state.loan, paySet, port));
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_NE(port.messages[0].text.find("payment 2 falls too many periods"), std::string::npos);
}

TEST_F(SetPayArrayTest, AUnitPeriodOfNoDaysIsRefusedInsteadOfLoopingForEver) {
    AddGroups(paySet, {{1, 10.0, 0, 5}});
    SetLoan(state, 9.0, 10.0, 1);
    state.loan.DaysPerPd = 0;
    EXPECT_FALSE(SetPayArray(state.loan, paySet, port));
    EXPECT_EQ(port.messages.size(), 1u);
}

TEST_F(SetPayArrayTest, HugeOddDayCountsCarryWithoutLooping) {
    AddGroups(paySet, {{1, 10.0, 0, 2000000000}});
    SetLoan(state, 9.0, 10.0, 1);
    state.loan.DaysPerPd = 1;
    EXPECT_TRUE(SetPayArray(state.loan, paySet, port));
    EXPECT_EQ(state.loan.PayMatrix[1].CumPds, 1999999999);
    EXPECT_EQ(state.loan.PayMatrix[1].CumDays, 1);
}

TEST_F(SetPayArrayTest, CursorReturnsToTheRecordItWasOn) {
    AddGroups(paySet, {{1, 1.0, 1, 0}, {1, 1.0, 1, 0}, {1, 1.0, 1, 0}});
    paySet.MoveFirst();
    paySet.MoveNext();
    SetLoan(state, 1.0, 3.0, 3);
    SetPayArray(state.loan, paySet, port);
    EXPECT_EQ(paySet.Position(), 2);
}

class IntegrityTest : public SetPayArrayTest {};

TEST_F(IntegrityTest, ACleanScheduleIsSilent) {
    AddGroups(paySet, {{12, 100.0, 1, 0}});
    SetLoan(state, 1100.0, 1200.0, 12);
    EXPECT_TRUE(IntegrityMdsPaySet(state.loan, paySet, port));
    EXPECT_TRUE(port.messages.empty());
}

TEST_F(IntegrityTest, EveryKindOfFaultIsCountedAndReportedInOrder) {
    AddGroups(paySet, {{1, 0.0, 1, 0},
                       {-1, 5.0, 1, 0},
                       {1, -3.0, 0, 0},
                       {1, 10.0, -1, 40},
                       {2, 10.0, 0, 5},
                       {1, 10.0, 2, -3}});
    SetLoan(state, 10.0, 20.0, 2);
    EXPECT_FALSE(IntegrityMdsPaySet(state.loan, paySet, port));
    EXPECT_EQ(port.Texts(),
              (std::vector<std::string>{
                  "Error: 2 negative or $0.00 payment(s).", "Error :1 payment(s) of $0.00.",
                  "Error: 2 scheduled interval(s) of zero or less days.",
                  "Error: Total of scheduled payments > Total of Payments by $ $12.00",
                  "Error: Scheduled 3 more Payments than Number of Payments."}));
    for (const auto& m : port.messages) EXPECT_EQ(m.kind, MessageKind::Warning);
}

TEST_F(IntegrityTest, AShortfallIsOnlyAWarning) {
    AddGroups(paySet, {{2, 10.0, 1, 0}});
    SetLoan(state, 15.0, 25.5, 2);
    EXPECT_TRUE(IntegrityMdsPaySet(state.loan, paySet, port));
    EXPECT_EQ(port.Texts(), (std::vector<std::string>{
                                "Warning: Total of scheduled payments < Total of Payments by $ "
                                "($5.50)"}));
}

TEST_F(IntegrityTest, TotalOfPaymentsIsRoundedHereButTruncatedInTheExpansion) {
    AddGroups(paySet, {{1, 100.009, 1, 0}});
    SetLoan(state, 90.0, 100.009, 1);
    EXPECT_TRUE(IntegrityMdsPaySet(state.loan, paySet, port));
    EXPECT_EQ(port.Texts(), (std::vector<std::string>{
                                "Warning: Total of scheduled payments < Total of Payments by $ "
                                "($0.01)"}));
    port.messages.clear();
    EXPECT_TRUE(SetPayArray(state.loan, paySet, port));
    EXPECT_TRUE(port.messages.empty());
}

TEST_F(IntegrityTest, FewerScheduledPaymentsThanSaidAreLeftToTheExpansion) {
    AddGroups(paySet, {{2, 10.0, 1, 0}});
    SetLoan(state, 15.0, 20.0, 5);
    EXPECT_TRUE(IntegrityMdsPaySet(state.loan, paySet, port));
    EXPECT_TRUE(port.messages.empty());
}

TEST_F(IntegrityTest, AmountsBeyondTheCurrencyRangeAreRefusedNotOverflowed) {
    AddGroups(paySet, {{2000000000, 1e13, 1, 0}});
    SetLoan(state, 15.0, 20.0, 5);
    EXPECT_FALSE(IntegrityMdsPaySet(state.loan, paySet, port));
    EXPECT_EQ(port.Texts().back(),
              "Error: the scheduled payments add up to more than can be computed.");
}

// The regular page holds a total it cannot add up beyond the currency range
// and keeps it as the Total of Payments; the irregular page's check then
// meets it with a schedule of its own.
TEST_F(IntegrityTest, ATotalOfPaymentsBeyondTheCurrencyRangeIsRefusedNotWrapped) {
    RegularBoxes boxes;
    boxes.PayCount = 4;
    boxes.RegPay = boxes.FirstPay = boxes.LastPay = 922'337'203'685'477.0;
    state.loan.TotPay = SummarizeRegular(boxes).TotPay;
    state.loan.PayCount = 12;
    AddGroups(paySet, {{12, 100.0, 1, 0}});
    EXPECT_FALSE(IntegrityMdsPaySet(state.loan, paySet, port));
    EXPECT_EQ(port.Texts(), std::vector<std::string>{std::string(kTotalOutOfRange)});
}

}  // namespace
}  // namespace qv
