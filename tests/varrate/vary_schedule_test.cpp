#include "varrate/vary_schedule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/pay_group.h"
#include "core/schedule_fixture.h"
#include "data/memdset.h"
#include "data/temp_folder.h"
#include "schedule/group_schedule.h"
#include "varrate/var_group.h"
#include "varrate/vary_list.h"

// Expected balances, chart lines and the APR of 13.044 below were worked by hand from the
// lists given, in exact decimal arithmetic; not from this code.

namespace qv {
namespace {

constexpr Interval kAnnually = Interval::Annually, kMonthly = Interval::Monthly,
                   kHalfMonth = Interval::HalfMonthly, kTwoWeeks = Interval::TwoWeekly,
                   kWeekly = Interval::Weekly;

std::vector<std::string> Texts(const std::vector<PendingMessage>& messages) {
    std::vector<std::string> out;
    for (const PendingMessage& m : messages) out.push_back(m.text);
    return out;
}

class VaryScheduleTest : public ::testing::Test {
  protected:
    VaryScheduleTest() : variable("mdsVariable"), schedule("mdsVarSchedule"), paySet("mdsPaySet") {
        DefineVariableTable(variable);
        DefineVarScheduleTable(schedule);
        DefinePaySetTable(paySet);
    }

    // Groups as the grid holds them, GrpID as given.
    void List(std::initializer_list<VarGroup> groups) {
        for (const VarGroup& g : groups) {
            AppendVarGroup(variable, g);
            variable.Post();
        }
    }

    VaryAmortization Amortize(double principal, Interval item) {
        return AmortizeVaryList(principal, item, variable, schedule);
    }

    std::vector<VarScheduleRow> Rows() {
        std::vector<VarScheduleRow> rows;
        for (schedule.MoveFirst(); !schedule.AtEnd(); schedule.MoveNext())
            rows.push_back(ReadVarScheduleRow(schedule));
        return rows;
    }

    TMemDataSet variable;
    TMemDataSet schedule;
    TMemDataSet paySet;
    LoanState state;
};

// --- "Amortize" ------------------------------------------------------------------------

TEST_F(VaryScheduleTest, AmortizeOnePaymentAtEachIntervalAndFinalBalance) {
    const std::string positive(kPositiveFinalBalance);
    const std::string negative(kNegativeFinalBalance);
    struct Case {
        const char* name;
        double principal;
        Interval item;
        VarGroup group;
        double interest;
        double newBal;
        const char* label;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        // 12 % a year is 1 % a month.
        {"monthly", 500, kMonthly, {1, 1, 12, 505.0, 1, 0}, 5, 0, "Final Balance is $0.0000", {}},
        // 15 added days are half a month.
        {"15 days",
         500,
         kMonthly,
         {1, 1, 12, 505.0, 1, 15},
         7.5,
         2.5,
         "Final Balance is $2.5000",
         {positive}},
        {"+0.50", 500, kMonthly, {1, 1, 12, 504.5, 1, 0}, 5, 0.5, "Final Balance is $0.5000", {}},
        {"-0.50",
         500,
         kMonthly,
         {1, 1, 12, 505.5, 1, 0},
         5,
         -0.5,
         "Final Balance is ($0.5000)",
         {}},
        {"-1.50",
         500,
         kMonthly,
         {1, 1, 12, 506.5, 1, 0},
         5,
         -1.5,
         "Final Balance is ($1.5000)",
         {negative}},
        {"+1.00", 500, kMonthly, {1, 1, 12, 504.0, 1, 0}, 5, 1, "Final Balance is $1.0000", {}},
        // 26 and 52 intervals a year, not 365/14 and 365/7.
        {"two weeks",
         2600,
         kTwoWeeks,
         {1, 1, 26, 2626.0, 1, 0},
         26,
         0,
         "Final Balance is $0.0000",
         {}},
        {"two weeks + 7 days",
         2600,
         kTwoWeeks,
         {1, 1, 26, 2639.0, 1, 7},
         39,
         0,
         "Final Balance is $0.0000",
         {}},
        {"weekly", 5200, kWeekly, {1, 1, 52, 5252.0, 1, 0}, 52, 0, "Final Balance is $0.0000", {}},
        {"half month",
         2400,
         kHalfMonth,
         {1, 1, 12, 2412.0, 1, 0},
         12,
         0,
         "Final Balance is $0.0000",
         {}},
        // A year and 73 days is 1.2 years.
        {"annually",
         1000,
         kAnnually,
         {1, 1, 10, 1120.0, 1, 73},
         120,
         0,
         "Final Balance is $0.0000",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DefineVariableTable(variable);
        List({c.group});
        const VaryAmortization r = Amortize(c.principal, c.item);
        ASSERT_EQ(Rows().size(), 1u);
        const VarScheduleRow row = Rows().front();
        EXPECT_EQ(row.Sequence, 1);
        EXPECT_EQ(row.OldBal, c.principal);
        EXPECT_DOUBLE_EQ(row.Interest, c.interest);
        EXPECT_NEAR(row.NewBal, c.newBal, 1e-9);
        EXPECT_EQ(r.label, c.label);
        EXPECT_EQ(Texts(r.messages), c.messages);
    }
}

TEST_F(VaryScheduleTest, AmortizeCarriesUnroundedBalancesAcrossGroupsInGroupOrder) {
    // Entered out of order; the zero group adds no payment.
    List({{2, 1, 24, 107.1306, 1, 0}, {1, 2, 12, 100.0, 1, 0}, {5, 0, 99, 999.0, 1, 0}});
    const VaryAmortization r = Amortize(300, kMonthly);
    const std::vector<VarScheduleRow> rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(r.rows, 3);
    // 300 at 1 % a month, then 203 at 1 %, then 105.03 at 2 %.
    const double oldBal[] = {300, 203, 105.03};
    const double interest[] = {3, 2.03, 2.1006};
    const double rate[] = {12, 12, 24};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(rows[k].Sequence, static_cast<int>(k) + 1);
        EXPECT_NEAR(rows[k].OldBal, oldBal[k], 1e-9);
        EXPECT_NEAR(rows[k].Interest, interest[k], 1e-9);
        EXPECT_EQ(rows[k].Rate, rate[k]);
    }
    // Fractions of a cent are carried: no cent rounding anywhere.
    EXPECT_NEAR(rows[2].NewBal, 0.0, 1e-9);
    EXPECT_EQ(r.label, "Final Balance is $0.0000");
}

TEST_F(VaryScheduleTest, AmortizeWithoutPaymentsLeavesThePrincipalOwed) {
    List({{1, 1, 12, 100.0, 1, 0}});
    Amortize(100, kMonthly);
    DefineVariableTable(variable);
    List({{1, 0, 12, 100.0, 1, 0}, {2, -3, 12, 100.0, 1, 0}});
    const VaryAmortization r = Amortize(500, kMonthly);
    EXPECT_EQ(schedule.Count(), 0);
    EXPECT_EQ(r.label, "Final Balance is $500.0000");
    EXPECT_EQ(Texts(r.messages), std::vector<std::string>{std::string(kNoPaymentsToAmortize)});
}

TEST_F(VaryScheduleTest, AmortizeRefusesListsTooLongBeforeTouchingTheSchedule) {
    List({{1, 2, 12, 1.0, 1, 0}});
    Amortize(100, kMonthly);
    // A million payments, and two groups whose sizes overflow 32 bits together.
    for (std::int32_t size : {1'000'000, 2'147'483'647}) {
        SCOPED_TRACE(size);
        DefineVariableTable(variable);
        List({{1, size, 12, 1.0, 1, 0}, {2, size, 12, 1.0, 1, 0}});
        const VaryAmortization r = Amortize(100, kMonthly);
        EXPECT_FALSE(r.label.has_value());
        EXPECT_EQ(Texts(r.messages), std::vector<std::string>{std::string(kVaryListTooLong)});
        EXPECT_EQ(schedule.Count(), 2);
    }
    // 20,000 payments are still amortized.
    DefineVariableTable(variable);
    List({{1, 20000, 0, 0.005, 1, 0}});
    EXPECT_EQ(Amortize(100, kMonthly).label, "Final Balance is $0.0000");
}

TEST_F(VaryScheduleTest, AmortizeReportsBalancesPastAnyNumberInsteadOfInfinity) {
    struct Case {
        const char* name;
        VarGroup group;
        const char* messagePrefix;
    };
    const std::vector<Case> cases = {
        {"rate from the grid", {1, 3, 1e308, 1.0, 1, 0}, "Payment 1 makes"},
        // 5,000 % a year compounds past 1e308 after about 430 months.
        {"5,000 % for 485 months", {1, 485, 5000, 1.0, 1, 0}, "Payment 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DefineVariableTable(variable);
        List({c.group});
        const VaryAmortization r = Amortize(1000, kMonthly);
        EXPECT_EQ(r.label, std::string(kBalanceNotComputable));
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].text.rfind(c.messagePrefix, 0), 0u) << r.messages[0].text;
        EXPECT_EQ(schedule.Count(), 0);
        ChartText chart;
        const VaryChart ch = ChartVaryList(kMonthly, variable, schedule, chart);
        for (const std::string& line : chart) {
            EXPECT_EQ(line.find("INF"), std::string::npos) << line;
            EXPECT_EQ(line.find("NAN"), std::string::npos) << line;
        }
    }
}

// --- "Chart" ---------------------------------------------------------------------------

TEST_F(VaryScheduleTest, ChartLinesCharacterForCharacter) {
    // 2 x 1,000.50 every two weeks and 3 days at 7.25 %, and an empty group.
    List({{1, 2, 7.25, 1000.5, 1, 3}, {2, 0, 9, 50.0, 2, 0}});
    Amortize(2600, kTwoWeeks);
    ChartText chart = {"the APR report"};
    const VaryChart r = ChartVaryList(kTwoWeeks, variable, schedule, chart);
    EXPECT_EQ(chart,
              (ChartText{
                  "Unrounded Variable Rate Amortization, version  0.9992",
                  "Note: decimal fractions below are actually c.17 significant digits,",
                  "       though only displayed below rounded to 3 decimal places.",
                  "",
                  "Summary of Payment Schedule:",
                  "    2 payments of $1000.5/Interval of 1 two weeks  + 3 days @ 7.25%/a",
                  "    0 payment of  $50/Interval of 2 two week   + 0 days @ 9%/a",
                  "",
                  "  #  Old Bal.+     Interest-   Payment=    New Bal. @ %/a         two week+Days",
                  "  1    2,600.000+     8.804- 1,000.500=   1,608.304 @   7.250000%   1   3",
                  "  2    1,608.304+     5.446- 1,000.500=     613.249 @   7.250000%   1   3",
              }));
    EXPECT_TRUE(r.showChartPage);
    EXPECT_EQ(Texts(r.messages),
              std::vector<std::string>{"Print the Chart below by clicking on [Print Chart]\n\r"
                                       "or click [Using the Chart] for alternatives."});
}

TEST_F(VaryScheduleTest, ChartSummaryWordsAndUnitsByIntervalAndSize) {
    List({{1, 1, 12, 505.0, 1, 0}});
    struct Case {
        Interval item;
        const char* line;
    };
    const std::vector<Case> cases = {
        {kAnnually, "    1 payment of  $505/Interval of 1 year   + 0 days @ 12%/a"},
        {kMonthly, "    1 payment of  $505/Interval of 1 month   + 0 days @ 12%/a"},
        {kHalfMonth, "    1 payment of  $505/Interval of 1 half-month   + 0 days @ 12%/a"},
        {kWeekly, "    1 payment of  $505/Interval of 1 week   + 0 days @ 12%/a"},
    };
    Amortize(500, kMonthly);
    for (const Case& c : cases) {
        ChartText chart;
        ChartVaryList(c.item, variable, schedule, chart);
        ASSERT_EQ(chart.size(), 9u);
        EXPECT_EQ(chart[5], c.line);
    }
    ChartText chart;
    ChartVaryList(kMonthly, variable, schedule, chart);
    EXPECT_EQ(chart[8],
              "  1      500.000+     5.000-   505.000=       0.000 @  12.000000%   1   0");
}

TEST_F(VaryScheduleTest, ChartWithoutGroupsOrWithoutAmortization) {
    const std::string noSchedule(kNoVarySchedule);
    const std::string noAmortization(kNoVaryAmortization);
    // Groups but no amortization yet: the summary, then the refusal.
    List({{1, 3, 12, 100.0, 1, 0}});
    ChartText chart = {"old"};
    VaryChart r = ChartVaryList(kMonthly, variable, schedule, chart);
    EXPECT_FALSE(r.showChartPage);
    EXPECT_EQ(Texts(r.messages), std::vector<std::string>{noAmortization});
    ASSERT_EQ(chart.size(), 6u);
    EXPECT_EQ(chart[5], "    3 payments of $100/Interval of 1 months  + 0 days @ 12%/a");

    // Neither: the chart text stays as it was.
    DefineVariableTable(variable);
    chart = {"old"};
    r = ChartVaryList(kMonthly, variable, schedule, chart);
    EXPECT_EQ(Texts(r.messages), (std::vector<std::string>{noSchedule, noAmortization}));
    EXPECT_EQ(chart, ChartText{"old"});

    // A schedule left by an earlier list ("Clear List" keeps it): charted
    // below the old text, without a unit word.
    List({{1, 1, 12, 505.0, 1, 0}});
    Amortize(500, kMonthly);
    DefineVariableTable(variable);
    r = ChartVaryList(kMonthly, variable, schedule, chart);
    EXPECT_TRUE(r.showChartPage);
    EXPECT_EQ(Texts(r.messages).front(), noSchedule);
    EXPECT_EQ(chart, (ChartText{"old", "",
                                "  #  Old Bal.+     Interest-   Payment=    New Bal. @ %/a        "
                                "+Days",
                                "  1      500.000+     5.000-   505.000=       0.000 @  "
                                "12.000000%   1   0"}));
}

// --- "Move to Tab 5" -------------------------------------------------------------------

TEST_F(VaryScheduleTest, MoveCheckRefusesOrAsksBeforeReplacingAnything) {
    struct Case {
        const char* name;
        std::vector<VarGroup> list;
        bool paySetHolds;
        MoveCheck::Next next;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"empty list", {}, true, MoveCheck::Next::Refuse, "Oops. there is no Schedule to Move!"},
        {"486 payments",
         {{1, 480, 12, 1.0, 1, 0}, {2, 0, 12, 1.0, 1, 0}, {3, 6, 12, 1.0, 1, 0}},
         false,
         MoveCheck::Next::Refuse,
         "Oops. this Schedule has 486 payments, but Tab 5 holds no more than 485!"},
        {"485, empty table",
         {{1, 480, 12, 1.0, 1, 0}, {2, 0, 12, 1.0, 1, 0}, {3, 5, 12, 1.0, 1, 0}},
         false,
         MoveCheck::Next::Transform,
         ""},
        {"485, table holds groups",
         {{1, 485, 12, 1.0, 1, 0}},
         true,
         MoveCheck::Next::AskOverwrite,
         "This process will overwrite the other Schedule currently open in Tab 5. Proceed?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DefineVariableTable(variable);
        for (const VarGroup& g : c.list) AppendVarGroup(variable, g);
        DefinePaySetTable(paySet);
        if (c.paySetHolds) AppendPayGroup(paySet, {1, 1, 10.0, 1, 0});  // pending counts too
        const MoveCheck m = CheckMoveToTab5(variable, paySet);
        EXPECT_EQ(m.next, c.next);
        EXPECT_EQ(m.message, c.message);
    }
}

TEST_F(VaryScheduleTest, TransformCopiesTheGroupsInOrderWithoutRates) {
    test::AddGroups(paySet, {{9, 9.0, 9, 9}, {9, 9.0, 9, 9}, {9, 9.0, 9, 9}, {9, 9.0, 9, 9}});
    List({{7, 2, 18, 250.0, 2, 5}, {3, 12, 9.5, 88.85, 1, 0}, {5, 0, 4, 1.0, 0, 0}});
    state.vary.ContractPrincipal = 1234.5;
    const TransformResult r = Transform(state.loan, state.vary, variable, paySet, kTwoWeeks);
    EXPECT_TRUE(r.moved);
    EXPECT_TRUE(r.writeSchedule);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.interval, kTwoWeeks);
    EXPECT_EQ(state.loan.AmtFin, 1234.5);
    EXPECT_EQ(r.edAmtFin, "1234.50");
    EXPECT_EQ(paySet.Position(), 1);
    std::vector<PayGroup> moved;
    for (paySet.MoveFirst(); !paySet.AtEnd(); paySet.MoveNext())
        moved.push_back(ReadPayGroup(paySet));
    EXPECT_EQ(moved, (std::vector<PayGroup>{
                         {12, 1, 88.85, 1, 0}, {0, 2, 1.0, 0, 0}, {2, 3, 250.0, 2, 5}}));
    // The list itself is left as it was.
    EXPECT_EQ(variable.Count(), 3);
}

TEST_F(VaryScheduleTest, TransformRefusesMoreThan485PaymentsAndMovesAnEmptyList) {
    test::AddGroups(paySet, {{12, 88.85, 1, 0}});
    state.loan.AmtFin = 1000.0;
    state.vary.ContractPrincipal = 50.0;
    List({{1, 400, 12, 1.0, 1, 0}, {2, 86, 12, 1.0, 1, 0}});
    TransformResult r = Transform(state.loan, state.vary, variable, paySet, kMonthly);
    EXPECT_FALSE(r.moved);
    EXPECT_EQ(Texts(r.messages), std::vector<std::string>{TooManyToMoveText(486)});
    EXPECT_EQ(paySet.Count(), 1);
    EXPECT_EQ(state.loan.AmtFin, 1000.0);

    DefineVariableTable(variable);
    r = Transform(state.loan, state.vary, variable, paySet, kMonthly);
    EXPECT_TRUE(r.moved);
    EXPECT_FALSE(r.writeSchedule);
    EXPECT_EQ(Texts(r.messages), std::vector<std::string>{"Sorry, No Payment Schedule to Save!"});
    EXPECT_EQ(paySet.Count(), 0);
    EXPECT_EQ(state.loan.AmtFin, 50.0);
}

// The same schedule typed on the irregular page and moved from this one gets
// the same APR. The page steps between are the integrity test (which sets
// the count and the total) and the interval choice.
TEST(VaryMoveApr, MovedScheduleHasTheAprOfTheSameGroupsTypedOnTheIrregularPage) {
    struct Group {
        const char* count;
        const char* payment;
        const char* regPds;
        const char* addDays;
    };
    struct Case {
        const char* principal;
        Interval item;
        std::vector<Group> groups;
        double apr;
    };
    const std::vector<Case> cases = {
        // 2,000.00 repaid by 180.00 after a month and a half, ten more
        // monthly and a last one of 175.50.
        {"2000",
         kMonthly,
         {{"1", "180", "1", "15"}, {"10", "180", "1", "0"}, {"1", "175.50", "1", "0"}},
         13.044},
        // 1,000.00 over a year of two-week payments of 40.00, with an empty
        // group between.
        {"1,000.00",
         kTwoWeeks,
         {{"13", "40", "1", "0"}, {"0", "5", "1", "0"}, {"13", "40", "1", "0"}},
         -1},
    };
    auto computeApr = [](LoanState& s, TMemDataSet& paySet, Interval item) {
        const GroupWalk w = WalkGroups(paySet);
        s.loan.PayCount = static_cast<std::int32_t>(w.count);
        s.loan.TotPay = w.total;
        SetBasePeriod(s.loan, item);
        ChartText chart;
        RecordingUserPort port;
        EXPECT_EQ(GetAPR(s.loan, paySet, AprSettings{}, chart, port), AprOutcome::Computed);
        return s.loan.APR;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.principal);
        // Typed on the irregular page.
        LoanState irregular;
        TMemDataSet irregularSet("mdsPaySet");
        DefinePaySetTable(irregularSet);
        irregular.loan.AmtFin = ValidateFloat2("Amount Financed", c.principal).value;
        for (const Group& g : c.groups) {
            const AddGroupDecision d = DecideAddGroup(g.count, g.payment, g.regPds, g.addDays,
                                                      irregular.group.GroupPayCount);
            ASSERT_TRUE(d.accepted);
            const std::int32_t sequence = irregular.group.GroupNumber;
            TakeNewGroup(irregular.group, d.group);
            AppendPayGroup(irregularSet, {d.group.SetSize, sequence, d.group.PaySize,
                                          d.group.PriorPds, d.group.AddDays});
        }
        const double typed = computeApr(irregular, irregularSet, c.item);

        // Listed here, with a rate each, and moved.
        LoanState vary;
        TMemDataSet variable("mdsVariable");
        TMemDataSet paySet("mdsPaySet");
        DefineVariableTable(variable);
        DefinePaySetTable(paySet);
        CheckVaryBox(vary.vary, vary.group, VaryBox::ebxPrincipal, c.principal);
        for (const Group& g : c.groups)
            ASSERT_TRUE(AddVaryGroup(vary.vary, vary.group, variable,
                                     {g.count, g.payment, g.regPds, g.addDays, "9.5"})
                            .added);
        ASSERT_EQ(CheckMoveToTab5(variable, paySet).next, MoveCheck::Next::Transform);
        const TransformResult t = Transform(vary.loan, vary.vary, variable, paySet, c.item);
        ASSERT_TRUE(t.moved);
        EXPECT_EQ(vary.loan.AmtFin, irregular.loan.AmtFin);
        const double moved = computeApr(vary, paySet, t.interval);

        EXPECT_EQ(moved, typed);
        if (c.apr > 0) {
            EXPECT_DOUBLE_EQ(moved, c.apr);
        }
    }
}

TEST_F(VaryScheduleTest, MovedScheduleIsWrittenWholeAfterItsOwnQuestion) {
    test::TempFolder folder("qv_vpayset_");
    const std::filesystem::path file = folder.path / kVPaySetName;
    test::AddGroups(paySet, {{12, 88.85, 1, 0}, {1, 88.91, 1, 15}});
    RecordingUserPort port;

    EXPECT_EQ(SaveMovedSchedule(paySet, kTwoWeeks, 1000.0, port, file), SaveOutcome::Saved);
    EXPECT_TRUE(port.messages.empty());  // a new file needs no question
    const std::string saved = test::ReadFile(file);
    EXPECT_EQ(saved, "3,0,1000,0,0\r\n12,1,88.85,1,0\r\n1,2,88.91,1,15\r\n");

    // An existing file: only Yes replaces it.
    port.answers = {Answer::No, Answer::Yes};
    EXPECT_EQ(SaveMovedSchedule(paySet, kMonthly, 900.0, port, file), SaveOutcome::NotSaved);
    EXPECT_EQ(test::ReadFile(file), saved);
    EXPECT_EQ(SaveMovedSchedule(paySet, kMonthly, 900.0, port, file), SaveOutcome::Saved);
    EXPECT_EQ(test::ReadFile(file).substr(0, 12), "1,0,900,0,0\r");
    EXPECT_EQ(port.messages,
              (std::vector<RecordedMessage>{
                  {MessageKind::WarningYesNo, "Do you want to overwrite VPaySet.txt ?"},
                  {MessageKind::Information, "OK, Variable Payment Schedule Not Saved"},
                  {MessageKind::WarningYesNo, "Do you want to overwrite VPaySet.txt ?"}}));

    // A folder that cannot be written: said, and no stray file is left.
    port.messages.clear();
    const std::filesystem::path missing = folder.path / "gone" / kVPaySetName;
    EXPECT_EQ(SaveMovedSchedule(paySet, kMonthly, 900.0, port, missing), SaveOutcome::Failed);
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_EQ(port.messages[0].kind, MessageKind::Warning);
    EXPECT_NE(port.messages[0].text.find("Cannot save"), std::string::npos);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"VPaySet.txt"});
    EXPECT_EQ(paySet.Count(), 2);
}

TEST(VaryMoveFinish, ReportsTheAprOrThatNoneWasComputed) {
    struct Case {
        bool computed;
        double apr;
        bool tab3;
        const char* message;
    };
    const std::vector<Case> cases = {
        {true, 12.683, true, "APR is 12.683 %, see Tab 3"},
        {true, 1234.5, true, "APR is 1,234.500 %, see Tab 3"},
        // A true 20 % is an APR like any other.
        {true, 20.0, true, "APR is 20.000 %, see Tab 3"},
        {false, 20.0, false, "No APR computed, as data inconsistency detected"},
    };
    for (const Case& c : cases) {
        const MoveFinish f = FinishMoveToTab5(c.computed, c.apr);
        EXPECT_EQ(f.showEstimatePage, c.tab3);
        EXPECT_EQ(f.message, c.message);
    }
}

}  // namespace
}  // namespace qv
