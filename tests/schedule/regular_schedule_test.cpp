#include "schedule/regular_schedule.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/interval.h"
#include "core/schedule_fixture.h"
#include "data/memdset.h"

namespace qv {
namespace {

// 36 monthly payments of 100.00 on 3,000.00, as the page holds them after
// the common payment box has been left.
RegularTexts ThirtySixOfHundred() {
    RegularTexts t;
    t.AmtFin = "3000";
    t.PayCount = "36";
    t.RegPay = "100";
    t.FirstPay = "100";
    t.FirstPds = "1";
    t.FirstExtra = "0";
    t.LastPay = "100";
    t.LastPds = "1";
    t.LastExtra = "0";
    return t;
}

// One payment of 115.00 on 100.00 after `pds` periods and `extra` days.
RegularTexts OnePayment(const char* pds, const char* extra) {
    RegularTexts t;
    t.AmtFin = "100";
    t.PayCount = "1";
    t.RegPay = "115";
    t.FirstPay = "115";
    t.FirstPds = pds;
    t.FirstExtra = extra;
    return t;
}

// --- reading boxes -------------------------------------------------------

TEST(RegularBoxesRead, AsTheEntryChecksReadThem) {
    EXPECT_EQ(BoxDollars("$1,000"), 1000.0);
    EXPECT_DOUBLE_EQ(BoxDollars("12.345678"), 12.3457);
    EXPECT_EQ(BoxWhole("1,000"), 1000);
    // What a check would refuse counts as nothing.
    EXPECT_EQ(BoxDollars("abc"), 0.0);
    EXPECT_EQ(BoxDollars(""), 0.0);
    EXPECT_EQ(BoxDollars("-5"), 0.0);
    EXPECT_EQ(BoxWhole("2.5"), 0);
    EXPECT_EQ(BoxWhole("99999999999"), 0);
}

TEST(RegularBoxesRead, WorkingVariablesTakeTheBoxValues) {
    RegularTexts t = ThirtySixOfHundred();
    t.FirstPay = "95";
    t.FirstExtra = "15";
    t.LastPay = "88.91";
    t.LastPds = "2";
    LoanState state;
    StoreRegularBoxes(state.regular, ReadRegularBoxes(t));
    EXPECT_EQ(state.regular.RegPay, 100.0);
    EXPECT_EQ(state.regular.FirstPay, 95.0);
    EXPECT_EQ(state.regular.FirstPds, 1);
    EXPECT_EQ(state.regular.FirstExtra, 15);
    EXPECT_DOUBLE_EQ(state.regular.LastPay, 88.91);
    EXPECT_EQ(state.regular.LastPds, 2);
    EXPECT_EQ(state.regular.LastExtra, 0);
}

TEST(RegularInterval, FiveItemsSetTheUnitPeriod) {
    EXPECT_EQ(Describe(*IntervalOfItem(0)).DaysPerPd, 365);
    EXPECT_EQ(Describe(*IntervalOfItem(0)).PdsPerYear, 1.0);
    EXPECT_EQ(Describe(*IntervalOfItem(1)).DaysPerPd, 30);
    EXPECT_EQ(Describe(*IntervalOfItem(1)).PdsPerYear, 12.0);
    EXPECT_EQ(Describe(*IntervalOfItem(2)).DaysPerPd, 15);
    EXPECT_EQ(Describe(*IntervalOfItem(2)).PdsPerYear, 24.0);
    EXPECT_EQ(Describe(*IntervalOfItem(3)).DaysPerPd, 14);
    EXPECT_EQ(Describe(*IntervalOfItem(3)).PdsPerYear, 365.0 / 14.0);
    EXPECT_EQ(Describe(*IntervalOfItem(4)).DaysPerPd, 7);
    EXPECT_EQ(Describe(*IntervalOfItem(4)).PdsPerYear, 365.0 / 7.0);
    EXPECT_FALSE(IntervalOfItem(-1).has_value());
    EXPECT_FALSE(IntervalOfItem(5).has_value());
}

// --- the summary ---------------------------------------------------------

TEST(RegularSummary, ThirtySixPaymentsOfAHundred) {
    const SimpleSummary s = SummarizeRegular(ReadRegularBoxes(ThirtySixOfHundred()));
    EXPECT_EQ(s.PayCount, 36);
    EXPECT_EQ(s.TotPay, DollarsToCurrency(3600.0));
    EXPECT_EQ(s.AmtFin, 3000.0);
    EXPECT_EQ(s.text,
              "Above schedule has 36 Payments Totalling $3,600.00 w/ $600.00 Finance Charge");
}

TEST(RegularSummary, TheLastPaymentCountsOnlyWithMoreThanOne) {
    RegularBoxes b = ReadRegularBoxes(ThirtySixOfHundred());
    b.FirstPay = 95.0;
    b.LastPay = 120.0;
    b.PayCount = 2;  // first and last, no inner payments
    EXPECT_EQ(SummarizeRegular(b).TotPay, DollarsToCurrency(215.0));
    b.PayCount = 1;  // the first payment alone
    EXPECT_EQ(SummarizeRegular(b).TotPay, DollarsToCurrency(95.0));
    b.PayCount = 0;
    EXPECT_EQ(SummarizeRegular(b).TotPay, DollarsToCurrency(95.0));
    b.PayCount = 3;
    EXPECT_EQ(SummarizeRegular(b).TotPay, DollarsToCurrency(315.0));
}

TEST(RegularSummary, NegativeFinanceChargeAndLargeTotalsUseTheCurrencyStyle) {
    RegularBoxes b = ReadRegularBoxes(ThirtySixOfHundred());
    b.AmtFin = 4000.0;
    EXPECT_EQ(SummarizeRegular(b).text,
              "Above schedule has 36 Payments Totalling $3,600.00 w/ ($400.00) Finance Charge");
    // Eight significant digits: nine-digit totals turn scientific.
    b = RegularBoxes{};
    b.PayCount = 485;
    b.RegPay = b.FirstPay = b.LastPay = 1'000'000.0;
    EXPECT_EQ(SummarizeRegular(b).text,
              "Above schedule has 485 Payments Totalling 4.85E8 w/ 4.85E8 Finance Charge");
}

TEST(RegularSummary, ATotalBeyondTheCurrencyRangeIsNotWrittenOut) {
    RegularBoxes b;
    b.PayCount = 400;
    b.RegPay = b.FirstPay = b.LastPay = 900'000'000'000'000.0;
    const SimpleSummary s = SummarizeRegular(b);
    EXPECT_FALSE(s.totalInRange);
    EXPECT_EQ(s.TotPay, INT64_MAX);
    EXPECT_EQ(s.text, "Above schedule has 400 Payments, whose Total is more than can be computed");
}

// --- extra days ------------------------------------------------------------

TEST(RegularExtraDays, FullPeriodsAreCarriedIntoThePeriodCount) {
    const ExtraDaysCarry c = CarryExtraDays(0, 45, 30);
    EXPECT_TRUE(c.carried);
    EXPECT_EQ(c.periods, 1);
    EXPECT_EQ(c.days, 15);
    const ExtraDaysCarry exact = CarryExtraDays(2, 30, 30);
    EXPECT_TRUE(exact.carried);
    EXPECT_EQ(exact.periods, 3);
    EXPECT_EQ(exact.days, 0);
    EXPECT_EQ(CarryExtraDays(1, 20, 7).periods, 3);
    EXPECT_EQ(CarryExtraDays(1, 20, 7).days, 6);
}

TEST(RegularExtraDays, ShortOfAPeriodNothingMoves) {
    const ExtraDaysCarry c = CarryExtraDays(1, 29, 30);
    EXPECT_FALSE(c.carried);
    EXPECT_EQ(c.periods, 1);
    EXPECT_EQ(c.days, 29);
    EXPECT_FALSE(CarryExtraDays(1, 29, 0).carried);
    // The period count can pass 32 bits without wrapping.
    EXPECT_EQ(CarryExtraDays(INT32_MAX, 60, 30).periods, std::int64_t{INT32_MAX} + 2);
}

TEST(RegularMessages, BuiltWordForWord) {
    EXPECT_EQ(ZeroPaymentsOfText(100.0),
              "You cannot have zero payments of $100.00\n\rTo Reset, first enter 1 here.");
    EXPECT_EQ(PaymentsOfZeroText("36"),
              "You cannot have 36 payments of $ zero !\n\rTo Reset, first enter $.01 here.");
    EXPECT_EQ(FirstExtraDaysText(30),
              "Revise First Common Period count, as Extra Days cannot > = 30");
    EXPECT_EQ(LastExtraDaysText(7), "Revised Common Period count, as Extra Days cannot > = 7");
}

// --- the payment groups ------------------------------------------------------

TEST(RegularGroupsBuilt, FirstInnerAndLastInSequence) {
    const auto groups = RegularGroups(ReadRegularBoxes(ThirtySixOfHundred()));
    EXPECT_EQ(groups, (std::vector<PayGroup>{
                          {1, 1, 100.0, 1, 0}, {34, 2, 100.0, 1, 0}, {1, 3, 100.0, 1, 0}}));
}

TEST(RegularGroupsBuilt, FewPaymentsDropTheInnerAndLastGroups) {
    RegularBoxes b = ReadRegularBoxes(ThirtySixOfHundred());
    b.FirstPds = 1;
    b.FirstExtra = 15;
    b.LastPay = 50.0;
    b.PayCount = 2;
    EXPECT_EQ(RegularGroups(b), (std::vector<PayGroup>{{1, 1, 100.0, 1, 15}, {1, 2, 50.0, 1, 0}}));
    b.PayCount = 1;
    EXPECT_EQ(RegularGroups(b), (std::vector<PayGroup>{{1, 1, 100.0, 1, 15}}));
    b.PayCount = 0;
    EXPECT_EQ(RegularGroups(b).size(), 1u);
}

TEST(RegularGroupsBuilt, PaymentsAreRoundedToCurrency) {
    RegularBoxes b;
    b.PayCount = 1;
    b.FirstPay = 12.345678;
    EXPECT_EQ(RegularGroups(b)[0].PaySize, CurrencyToDollars(123457));
}

class SimplePaySetTest : public ::testing::Test {
  protected:
    SimplePaySetTest() : paySet("mdsPaySet") { test::MakePaySet(paySet); }

    // A group as the table holds it; Sequence is checked to run 1, 2, 3.
    struct Row {
        int setSize;
        double paySize;
        int priorPds;
        int addDays;
        bool operator==(const Row&) const = default;
    };

    std::vector<Row> Groups() {
        std::vector<Row> out;
        for (paySet.MoveFirst(); !paySet.AtEnd(); paySet.MoveNext()) {
            out.push_back({paySet.FieldAsInteger("SetSize"), paySet.FieldAsFloat("PaySize"),
                           paySet.FieldAsInteger("PriorPds"), paySet.FieldAsInteger("AddDays")});
            EXPECT_EQ(paySet.FieldAsInteger("Sequence"), int(out.size()));
        }
        return out;
    }

    TMemDataSet paySet;
    LoanState state;
    RecordingUserPort port;
};

TEST_F(SimplePaySetTest, ReplacesWhateverTheTableHeld) {
    test::AddGroups(paySet, {{5, 1.0, 2, 3}, {7, 2.0, 1, 0}, {1, 3.0, 0, 9}, {2, 4.0, 1, 1}});
    const RegularBoxes b = ReadRegularBoxes(ThirtySixOfHundred());
    state.loan.TotPay = DollarsToCurrency(3600.0);
    SimplePaySet(state.loan, paySet, b, port);
    EXPECT_EQ(Groups(), (std::vector<Row>{{1, 100.0, 1, 0}, {34, 100.0, 1, 0}, {1, 100.0, 1, 0}}));
    EXPECT_EQ(state.loan.AmtFin, 3000.0);
    EXPECT_EQ(state.loan.PayCount, 36);
    EXPECT_EQ(state.loan.TotPay, DollarsToCurrency(3600.0));
    EXPECT_TRUE(port.messages.empty());
}

TEST_F(SimplePaySetTest, AStaleTotalIsReplacedByTheSumWithAWarning) {
    const RegularBoxes b = ReadRegularBoxes(ThirtySixOfHundred());
    state.loan.TotPay = DollarsToCurrency(3599.99);
    SimplePaySet(state.loan, paySet, b, port);
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_EQ(port.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(port.messages[0].text,
              "Warning: Using Sum of scheduled Payments, <> Total of Payments !");
    EXPECT_EQ(state.loan.TotPay, DollarsToCurrency(3600.0));
}

TEST_F(SimplePaySetTest, LessThanACentApartIsTheSameTotal) {
    const RegularBoxes b = ReadRegularBoxes(ThirtySixOfHundred());
    state.loan.TotPay = DollarsToCurrency(3599.9901);
    SimplePaySet(state.loan, paySet, b, port);
    EXPECT_TRUE(port.messages.empty());
    EXPECT_EQ(state.loan.TotPay, DollarsToCurrency(3599.9901));
}

TEST_F(SimplePaySetTest, ATotalWrittenByAnotherPageCannotOverflowTheComparison) {
    const RegularBoxes b = ReadRegularBoxes(ThirtySixOfHundred());
    state.loan.TotPay = INT64_MIN;
    SimplePaySet(state.loan, paySet, b, port);
    EXPECT_EQ(port.Texts(), (std::vector<std::string>{std::string(kSumDiffersText)}));
    EXPECT_EQ(state.loan.TotPay, DollarsToCurrency(3600.0));
}

// --- the checks of "Compute APR" ---------------------------------------------

TEST(RegularPreChecks, PaymentsWithNoDuration) {
    EXPECT_FALSE(HasPaymentWithNoDuration(ThirtySixOfHundred()));
    EXPECT_FALSE(HasPaymentWithNoDuration(RegularTexts{}));  // the page as reset

    RegularTexts t = ThirtySixOfHundred();
    t.FirstPay = "0";
    EXPECT_TRUE(HasPaymentWithNoDuration(t));
    t.FirstExtra = "5";  // some days: a duration after all
    EXPECT_FALSE(HasPaymentWithNoDuration(t));

    t = ThirtySixOfHundred();
    t.RegPay = "0.00";
    EXPECT_TRUE(HasPaymentWithNoDuration(t));
    t.PayCount = "0";
    EXPECT_FALSE(HasPaymentWithNoDuration(t));

    t = ThirtySixOfHundred();
    t.LastPay = "abc";  // not a number counts as zero
    EXPECT_TRUE(HasPaymentWithNoDuration(t));
    t.LastPds = "0";
    EXPECT_FALSE(HasPaymentWithNoDuration(t));
}

TEST(RegularSinglePayment, WithinAYearGoesToTheOnePaymentPage) {
    SinglePaymentDecision d = RouteSinglePayment(1, OnePayment("2", "0"), 30);
    EXPECT_EQ(d.route, SinglePaymentRoute::OnePaymentPage);
    EXPECT_EQ(d.days, 60);
    d = RouteSinglePayment(1, OnePayment("1", "0"), 365);
    EXPECT_EQ(d.route, SinglePaymentRoute::OnePaymentPage);
    EXPECT_EQ(d.days, 365);
    d = RouteSinglePayment(0, OnePayment("0", "14"), 7);
    EXPECT_EQ(d.route, SinglePaymentRoute::OnePaymentPage);
    EXPECT_EQ(d.days, 14);
}

TEST(RegularSinglePayment, BeyondAYearIsPerDiem) {
    EXPECT_EQ(RouteSinglePayment(1, OnePayment("13", "10"), 30).route,
              SinglePaymentRoute::PerDiemOverAYear);
    EXPECT_EQ(RouteSinglePayment(1, OnePayment("12", "6"), 30).route,
              SinglePaymentRoute::PerDiemOverAYear);
    // Absurd period counts do not wrap around into a short term.
    EXPECT_EQ(RouteSinglePayment(1, OnePayment("9223372036854775807", "0"), 365).route,
              SinglePaymentRoute::PerDiemOverAYear);
}

TEST(RegularSinglePayment, OnlyASingleFirstLineIsRouted) {
    EXPECT_EQ(RouteSinglePayment(2, OnePayment("2", "0"), 30).route, SinglePaymentRoute::NotSingle);
    RegularTexts t = OnePayment("2", "0");
    for (const char* zero : {"0.00", "0", "0.0"}) {
        t.LastPay = zero;
        EXPECT_EQ(RouteSinglePayment(1, t, 30).route, SinglePaymentRoute::OnePaymentPage) << zero;
    }
    t.LastPay = "0.000";
    EXPECT_EQ(RouteSinglePayment(1, t, 30).route, SinglePaymentRoute::NotSingle);
    t.LastPay = "0";
    t.LastExtra = "3";
    EXPECT_EQ(RouteSinglePayment(1, t, 30).route, SinglePaymentRoute::NotSingle);
}

TEST(RegularSinglePayment, APeriodCountThatIsNotAWholeNumberIsNamed) {
    EXPECT_EQ(RouteSinglePayment(1, OnePayment("", "0"), 30).route,
              SinglePaymentRoute::PeriodsNotInteger);
    EXPECT_EQ(RouteSinglePayment(1, OnePayment("1.5", "0"), 30).route,
              SinglePaymentRoute::PeriodsNotInteger);
    EXPECT_EQ(RouteSinglePayment(1, OnePayment("99999999999999999999", "0"), 30).route,
              SinglePaymentRoute::PeriodsNotInteger);
    EXPECT_EQ(RouteSinglePayment(1, OnePayment("-1", "0"), 30).route,
              SinglePaymentRoute::PeriodsNegative);
}

}  // namespace
}  // namespace qv
