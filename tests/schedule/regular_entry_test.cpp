#include "schedule/regular_entry.h"

#include <gtest/gtest.h>

#include "core/pay_group.h"
#include "data/memdset.h"

namespace qv {
namespace {

using Box = RegularBox;
using Fills = std::vector<BoxFill<Box>>;

struct LeaveCase {
    const char* name;
    RegularTexts texts;
    Box box;
    std::string message;
    std::optional<Box> focus;
    Fills fills;
    bool refreshSummary;
};

RegularTexts Texts(std::string amtFin, std::string count, std::string regPay,
                   std::string firstPay = "0.00", std::string firstPds = "0",
                   std::string firstExtra = "0", std::string lastPay = "0.00",
                   std::string lastPds = "0", std::string lastExtra = "0") {
    return {amtFin, count, regPay, firstPay, firstPds, firstExtra, lastPay, lastPds, lastExtra};
}

// The state a user reaches by leaving every box in page order: each box's
// value is what its check stores.
LoanState Entered(const RegularTexts& t) {
    LoanState s;
    s.loan.AmtFin = BoxDollars(t.AmtFin);
    s.loan.PayCount = BoxWhole(t.PayCount);
    s.regular.RegPay = BoxDollars(t.RegPay);
    s.regular.FirstPay = BoxDollars(t.FirstPay);
    s.regular.FirstPds = BoxWhole(t.FirstPds);
    s.regular.FirstExtra = BoxWhole(t.FirstExtra);
    s.regular.LastPay = BoxDollars(t.LastPay);
    s.regular.LastPds = BoxWhole(t.LastPds);
    s.regular.LastExtra = BoxWhole(t.LastExtra);
    return s;
}

TEST(RegularEntry, LeavingABoxChecksItsRuleAndFillsTheOtherBoxes) {
    const LeaveCase cases[] = {
        {"common payment fills both ends one period apart",
         Texts("3000", "36", "100"),
         Box::edSimpRegPay,
         "",
         std::nullopt,
         {{Box::edSimp1stPay, "100"},
          {Box::edSimp1stNoPd, "1"},
          {Box::edSimp1stExtra, "0"},
          {Box::edSimpLastPay, "100"},
          {Box::edSimpLastNoPd, "1"},
          {Box::edSimpLastExtra, "0"}},
         true},
        {"typed ends are kept",
         Texts("3000", "36", "100", "95", "1", "15", "88.91", "2", "0"),
         Box::edSimpRegPay,
         "",
         std::nullopt,
         {},
         true},
        {"a single payment clears the last line",
         Texts("90", "1", "100", "0.00", "0", "0", "5", "1", "3"),
         Box::edSimpRegPay,
         "",
         std::nullopt,
         {{Box::edSimp1stPay, "100"},
          {Box::edSimp1stNoPd, "1"},
          {Box::edSimp1stExtra, "0"},
          {Box::edSimpLastPay, "0.00"},
          {Box::edSimpLastNoPd, "0"},
          {Box::edSimpLastExtra, "0"}},
         true},
        {"amount financed over the total of payments",
         Texts("3601", "36", "100"),
         Box::edSimpRegPay,
         std::string(kAmountOverTotalText),
         Box::edSimpAmtFin,
         {},
         false},
        {"payments but no count",
         Texts("3000", "0", "100"),
         Box::edSimpRegPay,
         "You cannot have zero payments of $100.00\n\rTo Reset, first enter 1 here.",
         Box::edSimpInnerNoPay,
         {},
         false},
        {"a count of payments of nothing",
         Texts("3000", "36", "0"),
         Box::edSimpRegPay,
         "You cannot have 36 payments of $ zero !\n\rTo Reset, first enter $.01 here.",
         Box::edSimpRegPay,
         {},
         false},
        {"payments without an amount financed",
         Texts("0.00", "36", "100"),
         Box::edSimpAmtFin,
         std::string(kZeroAmountFinancedText),
         Box::edSimpAmtFin,
         {},
         false},
        {"the count refills both ends from the common payment",
         Texts("3000", "1", "100", "100", "1", "0", "100", "1", "0"),
         Box::edSimpInnerNoPay,
         "",
         std::nullopt,
         {{Box::edSimp1stPay, "100"},
          {Box::edSimp1stNoPd, "1"},
          {Box::edSimp1stExtra, "0"},
          {Box::edSimpLastPay, "0.00"},
          {Box::edSimpLastNoPd, "0"},
          {Box::edSimpLastExtra, "0"}},
         true},
        {"a first payment needs an interval",
         Texts("3000", "36", "100", "95", "0", "0"),
         Box::edSimp1stPay,
         std::string(kNonZeroIntervalText),
         Box::edSimp1stNoPd,
         {},
         false},
        {"zero first periods need extra days",
         Texts("3000", "36", "100", "95", "0", "0"),
         Box::edSimp1stNoPd,
         std::string(kZeroPeriodsNeedDaysText),
         Box::edSimp1stExtra,
         {},
         false},
        {"monthly extra days carry into whole periods",
         Texts("3000", "36", "100", "95", "1", "45"),
         Box::edSimp1stExtra,
         "Revise First Common Period count, as Extra Days cannot > = 30",
         std::nullopt,
         {{Box::edSimp1stNoPd, "2"}, {Box::edSimp1stExtra, "15"}},
         true},
        {"the last line carries the same way",
         Texts("3000", "36", "100", "100", "1", "0", "100", "0", "30"),
         Box::edSimpLastExtra,
         "Revised Common Period count, as Extra Days cannot > = 30",
         std::nullopt,
         {{Box::edSimpLastNoPd, "1"}, {Box::edSimpLastExtra, "0"}},
         true},
        {"zero last periods without days still recount the summary",
         Texts("3000", "36", "100", "100", "1", "0", "100", "0", "0"),
         Box::edSimpLastNoPd,
         std::string(kLastNeedsDaysText),
         Box::edSimpLastExtra,
         {},
         true},
    };
    for (const LeaveCase& c : cases) {
        LoanState s = Entered(c.texts);
        const RegularExit exit =
            LeaveRegularBox(s.loan, s.regular, c.box, c.texts, Interval::Monthly);
        EXPECT_TRUE(exit.check.valid) << c.name;
        EXPECT_EQ(exit.message, c.message) << c.name;
        EXPECT_EQ(exit.focus, c.focus) << c.name;
        EXPECT_EQ(exit.fills, c.fills) << c.name;
        EXPECT_EQ(exit.refreshSummary, c.refreshSummary) << c.name;
    }
}

TEST(RegularEntry, FillInAndCarryUpdateTheWorkingValues) {
    RegularTexts t = Texts("3000", "36", "100");
    LoanState s = Entered(t);
    LeaveRegularBox(s.loan, s.regular, Box::edSimpRegPay, t, Interval::Monthly);
    EXPECT_EQ(s.regular.FirstPay, 100.0);
    EXPECT_EQ(s.regular.LastPay, 100.0);
    EXPECT_EQ(s.regular.FirstPds, 1);
    EXPECT_EQ(s.regular.LastPds, 1);

    // Weekly: 10 extra days are one period and 3 days, by the page's interval
    // whatever unit period an earlier computation left.
    t = Texts("3000", "36", "100", "100", "1", "10");
    s = Entered(t);
    s.loan.DaysPerPd = 30;
    const RegularExit exit =
        LeaveRegularBox(s.loan, s.regular, Box::edSimp1stExtra, t, Interval::Weekly);
    EXPECT_EQ(exit.fills, (Fills{{Box::edSimp1stNoPd, "2"}, {Box::edSimp1stExtra, "3"}}));
    EXPECT_EQ(s.regular.FirstExtra, 3);
}

TEST(RegularEntry, ARefusedEntryResetsTheBoxAndStillRecountsTheSummary) {
    RegularTexts t = Texts("3000", "36", "1O0");
    LoanState s = Entered(t);
    s.regular.RegPay = 99.0;
    const RegularExit exit =
        LeaveRegularBox(s.loan, s.regular, Box::edSimpRegPay, t, Interval::Monthly);
    EXPECT_FALSE(exit.check.valid);
    EXPECT_EQ(exit.focus, Box::edSimpRegPay);
    EXPECT_TRUE(exit.refreshSummary);
    EXPECT_TRUE(exit.fills.empty());
    EXPECT_EQ(s.regular.RegPay, 0.0);  // the refused value is not kept
}

struct RouteCase {
    const char* name;
    RegularTexts texts;
    bool runEngine;
    std::optional<std::int32_t> onePaymentDays;
    std::vector<std::string> messages;
};

TEST(RegularEntry, ComputeAprRoutesSinglePaymentsBeforeTheEngine) {
    const RouteCase cases[] = {
        {"36 monthly payments",
         Texts("3000", "36", "100", "100", "1", "0", "100", "1", "0"),
         true,
         std::nullopt,
         {}},
        {"one payment within a year goes to the one-payment page",
         Texts("500", "1", "520", "520", "2", "10"),
         true,
         70,
         {}},
        {"one payment over a year is per diem with annual compounding",
         Texts("500", "1", "600", "600", "13", "0"),
         true,
         std::nullopt,
         {std::string(kAnnualCompoundingText)}},
        {"a first payment of nothing a period after the advance",
         Texts("3000", "36", "100", "0.00", "1", "0", "100", "1", "0"),
         false,
         std::nullopt,
         {}},
    };
    for (const RouteCase& c : cases) {
        // The summary has counted the boxes as the user left them.
        LoanState s;
        UpdateSimpleSummary(s.loan, ReadRegularBoxes(c.texts));
        TMemDataSet paySet("mdsPaySet");
        DefinePaySetTable(paySet);
        RecordingUserPort port;
        const RegularAprPlan plan =
            PrepareRegularAPR(s.loan, s.regular, paySet, c.texts, Interval::Monthly, port);
        EXPECT_EQ(plan.runEngine, c.runEngine) << c.name;
        EXPECT_EQ(plan.onePayment.has_value(), c.onePaymentDays.has_value()) << c.name;
        if (plan.onePayment && c.onePaymentDays) {
            EXPECT_EQ(plan.onePayment->days, *c.onePaymentDays) << c.name;
            EXPECT_EQ(plan.onePayment->amtFin, 500.0) << c.name;
            EXPECT_EQ(plan.onePayment->repayment, 520.0) << c.name;
            EXPECT_FALSE(s.loan.PerDiem) << c.name;
        }
        EXPECT_EQ(port.Texts(), c.messages) << c.name;
    }
}

}  // namespace
}  // namespace qv
