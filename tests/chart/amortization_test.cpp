#include "chart/amortization.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/apr_engine.h"
#include "core/schedule_fixture.h"

// Expected chart lines and grid values below were worked by hand, in exact
// decimal arithmetic, from the schedules given; not from this code.

namespace qv {
namespace {

using test::AddGroups;
using test::SetLoan;

// A schedule on the regular page, computed as the page computes it.
class ChartTest : public ::testing::Test {
  protected:
    ChartTest() : paySet("mdsPaySet"), detail("mdsDetail") {
        test::MakePaySet(paySet);
        DefineDetailTable(detail);
    }

    void Compute() {
        ASSERT_EQ(GetAPR(state.loan, paySet, AprSettings{}, chart, port), AprOutcome::Computed);
        port.messages.clear();
    }

    // Twelve monthly payments of 100.00 on 1,100.00: APR 16.376.
    void TwelveOfHundred() {
        AddGroups(paySet, {{12, 100.0, 1, 0}});
        SetLoan(state, 1100.0, 1200.0, 12);
        Compute();
        ASSERT_DOUBLE_EQ(state.loan.APR, 16.376);
    }

    // 2,000.00 repaid by 180.00 after a month and a half, ten more of 180.00
    // monthly and a last one of 175.50: APR 13.044.
    void OddFirstPeriod() {
        AddGroups(paySet, {{1, 180.0, 1, 15}, {10, 180.0, 1, 0}, {1, 175.5, 1, 0}});
        SetLoan(state, 2000.0, 2155.5, 12);
        Compute();
        ASSERT_DOUBLE_EQ(state.loan.APR, 13.044);
    }

    // A chart of hand-set matrix entries: (cents, periods, days) each.
    void Matrix(double amtFin, double apr, std::vector<PayEntry> entries) {
        AddGroups(paySet, {{1, 1.0, 1, 0}});  // some group, so that the chart runs
        state.loan.AmtFin = amtFin;
        state.loan.APR = apr;
        state.loan.PayCount = static_cast<std::int32_t>(entries.size());
        for (size_t k = 0; k < entries.size(); ++k) {
            entries[k].CumPds = static_cast<std::int32_t>(k + 1);
            state.loan.PayMatrix[k + 1] = entries[k];
        }
    }

    ChartText Chart(ChartOptions options = {}) {
        ChartText out;
        last = AppendAmortizationChart(state.loan, paySet, options, out, port);
        return out;
    }

    // The lines from the first payment line to the end.
    static ChartText Body(const ChartText& lines) {
        for (size_t k = 0; k < lines.size(); ++k)
            if (lines[k].rfind("Pay#|", 0) == 0)
                return ChartText(lines.begin() + k + 1, lines.end());
        return {};
    }

    std::vector<double> Column(const std::string& field) {
        std::vector<double> out;
        for (detail.MoveFirst(); !detail.AtEnd(); detail.MoveNext())
            out.push_back(detail.FieldAsFloat(field));
        return out;
    }

    DetailFill Fill(bool showRebates = true) {
        return FillDetailRows(CaptureComputedSchedule(state.loan, paySet), detail, showRebates);
    }

    TMemDataSet paySet;
    TMemDataSet detail;
    LoanState state;
    ChartText chart;
    RecordingUserPort port;
    ChartResult last;
};

// --- chart text ------------------------------------------------------------------

TEST_F(ChartTest, TwelveOfHundredWithRebatesIsAppendedBelowTheAprReport) {
    TwelveOfHundred();
    const ChartText report = chart;
    last = AppendAmortizationChart(state.loan, paySet, {.showRebates = true}, chart, port);

    EXPECT_EQ(last.outcome, ChartOutcome::Appended);
    EXPECT_EQ(last.payments, 12);
    EXPECT_EQ(last.caption, "Amortization rounds to nearest cent.");
    EXPECT_TRUE(port.messages.empty());
    ASSERT_EQ(chart.size(), report.size() + 5 + 12 + 2);
    EXPECT_EQ(ChartText(chart.begin(), chart.begin() + report.size()), report);
    const ChartText expected = {
        "--- Amortization at 16.376% APR ----",
        "    using 30 days/period & 12 periods/year",
        "  Rebates ignore irregular payment intervals & final imbalance",
        "Amortization rounds to nearest cent.",
        "Pay#|OldBalance| +Interest| -Payment | = NewBal.|Int.Earned|R.78 Rebate",
        "   1  $1,100.00     $15.01    $100.00  $1,015.01     $15.01     $84.62 ",
        "   2  $1,015.01     $13.85    $100.00    $928.86     $28.86     $70.51 ",
        "   3    $928.86     $12.68    $100.00    $841.54     $41.54     $57.69 ",
        "   4    $841.54     $11.48    $100.00    $753.02     $53.02     $46.15 ",
        "   5    $753.02     $10.28    $100.00    $663.30     $63.30     $35.90 ",
        "   6    $663.30      $9.05    $100.00    $572.35     $72.35     $26.92 ",
        "   7    $572.35      $7.81    $100.00    $480.16     $80.16     $19.23 ",
        "   8    $480.16      $6.55    $100.00    $386.71     $86.71     $12.82 ",
        "   9    $386.71      $5.28    $100.00    $291.99     $91.99      $7.69 ",
        "  10    $291.99      $3.98    $100.00    $195.97     $95.97      $3.85 ",
        "  11    $195.97      $2.67    $100.00     $98.64     $98.64      $1.28 ",
        "  12     $98.64      $1.35     $99.99      $0.00     $99.99      $0.00 ",
        "Total of Payments = $1,199.99, rounding to closest cent.",
        "  Final payment adjusted by ($0.01) to match desired Total of Payments",
    };
    EXPECT_EQ(ChartText(chart.begin() + report.size(), chart.end()), expected);
    EXPECT_EQ(expected[4].size(), 71u);
    for (size_t k = 5; k < 17; ++k) EXPECT_EQ(expected[k].size(), 71u);
}

TEST_F(ChartTest, WithoutRebatesTheRowsAre49WideAndTheHeaderEndsAtNewBalance) {
    TwelveOfHundred();
    const ChartText lines = Chart();
    ASSERT_EQ(lines.size(), 4u + 12u + 2u);
    EXPECT_EQ(lines[2], "Amortization rounds to nearest cent.");
    EXPECT_EQ(lines[3], "Pay#|OldBalance| +Interest| -Payment | = NewBal.");
    EXPECT_EQ(lines[4], "   1  $1,100.00     $15.01    $100.00  $1,015.01 ");
    EXPECT_EQ(lines[15], "  12     $98.64      $1.35     $99.99      $0.00 ");
    for (size_t k = 4; k < 16; ++k) EXPECT_EQ(lines[k].size(), 49u) << lines[k];
}

TEST_F(ChartTest, OddFirstPeriodCarriesHalfAMonthOfInterestAndAdjustsTheLastPayment) {
    OddFirstPeriod();
    const ChartText body = Body(Chart({.showRebates = true}));
    const ChartText expected = {
        "   1  $2,000.00     $32.61    $180.00  $1,852.61     $32.61    $131.58 ",
        "   2  $1,852.61     $20.14    $180.00  $1,692.75     $52.75    $109.65 ",
        "   3  $1,692.75     $18.40    $180.00  $1,531.15     $71.15     $89.71 ",
        "   4  $1,531.15     $16.64    $180.00  $1,367.79     $87.79     $71.77 ",
        "   5  $1,367.79     $14.87    $180.00  $1,202.66    $102.66     $55.82 ",
        "   6  $1,202.66     $13.07    $180.00  $1,035.73    $115.73     $41.87 ",
        "   7  $1,035.73     $11.26    $180.00    $866.99    $126.99     $29.90 ",
        "   8    $866.99      $9.42    $180.00    $696.41    $136.41     $19.94 ",
        "   9    $696.41      $7.57    $180.00    $523.98    $143.98     $11.96 ",
        "  10    $523.98      $5.70    $180.00    $349.68    $149.68      $5.98 ",
        "  11    $349.68      $3.80    $180.00    $173.48    $153.48      $1.99 ",
        "  12    $173.48      $1.89    $175.37      $0.00    $155.37      $0.00 ",
        "Total of Payments = $2,155.37, rounding to closest cent.",
        "  Final payment adjusted by ($0.13) to match desired Total of Payments",
    };
    EXPECT_EQ(body, expected);
}

TEST_F(ChartTest, FractionalInterestShowsFourDecimalsAndCarriesTheFractionsInTheBalance) {
    TwelveOfHundred();
    const ChartText body = Body(Chart({.fractionalInterest = true}));
    ASSERT_EQ(body.size(), 13u);
    EXPECT_EQ(body[0], "   1  $1,100.00    15.0113    $100.00  $1,015.01 ");
    EXPECT_EQ(body[1], "   2  $1,015.01    13.8515    $100.00    $928.86 ");
    // The fractions add up to a cent by payment 10.
    EXPECT_EQ(body[9], "  10    $291.99     3.9847    $100.00    $195.98 ");
    EXPECT_EQ(body[10], "  11    $195.98     2.6744    $100.00     $98.65 ");
    // 0.0038 overpaid is within half a cent: the last payment stays.
    EXPECT_EQ(body[11], "  12     $98.65     1.3462    $100.00      $0.00 ");
    EXPECT_EQ(body[12], "Total of Payments = $1,200.00, rounding to closest cent.");
}

TEST_F(ChartTest, RoundingDownIsWordedAndAppliedToInterestAndChartRebates) {
    TwelveOfHundred();
    state.loan.RoundAdd = 0.0;
    const ChartText lines = Chart({.showRebates = true, .roundDown = true});
    EXPECT_EQ(last.caption, "Amortization rounds fractions down!");
    ASSERT_EQ(lines.size(), 5u + 12u + 2u);
    EXPECT_EQ(lines[3], "Amortization rounds fractions down!");
    EXPECT_EQ(lines[5], "   1  $1,100.00     $15.01    $100.00  $1,015.01     $15.01     $84.61 ");
    EXPECT_EQ(lines[7], "   3    $928.86     $12.67    $100.00    $841.53     $41.53     $57.69 ");
    EXPECT_EQ(lines[14], "  10    $291.96      $3.98    $100.00    $195.94     $95.94      $3.84 ");
    EXPECT_EQ(lines[16], "  12     $98.61      $1.34     $99.95      $0.00     $99.95      $0.00 ");
    EXPECT_EQ(lines[17], "Total of Payments = $1,199.95, rounding down to whole cent.");
    EXPECT_EQ(lines[18], "  Final payment adjusted by ($0.05) to match desired Total of Payments");
}

TEST_F(ChartTest, PerDiemScheduleSaysSoInsteadOfTheUnitPeriod) {
    TwelveOfHundred();
    state.loan.PerDiem = true;
    const ChartText lines = Chart();
    EXPECT_EQ(lines[1], "Note: this Chart assumes \"per-diem\" interest.");
    // 360 days at 16.376 % a year on a 365-day year: 1,100.00 x 30 x 0.16376 / 365
    EXPECT_EQ(lines[4], "   1  $1,100.00     $14.81    $100.00  $1,014.81 ");
}

TEST_F(ChartTest, WeeklyPeriodsAreShownInGeneralFormat) {
    TwelveOfHundred();
    state.loan.DaysPerPd = 14;
    state.loan.PdsPerYear = 365.0 / 14;
    EXPECT_EQ(Chart()[1], "    using 14 days/period & 26.0714285714286 periods/year");
}

// The chart page and the companion chart the schedule captured after the
// last computation, whatever has been typed since, with the rounding in
// force now; with no computation there is nothing to chart.
TEST_F(ChartTest, ACapturedScheduleIsChartedAsItWasComputed) {
    TwelveOfHundred();
    const ComputedSchedule captured = CaptureComputedSchedule(state.loan, paySet);
    const ChartText asComputed = Chart();
    state.loan.AmtFin = 5000.0;
    state.loan.APR = 99.0;
    state.loan.PayMatrix[1].PayCents = 0;

    ChartText lines;
    last = AppendAmortizationChart(&captured, 0.5, {}, lines, port);
    EXPECT_EQ(last.outcome, ChartOutcome::Appended);
    EXPECT_EQ(last.payments, 12);
    EXPECT_EQ(lines, asComputed);
    ChartText roundedDown;
    EXPECT_EQ(AppendAmortizationChart(&captured, 0.0, {}, roundedDown, port).caption,
              kRoundsDownCaption);
    EXPECT_TRUE(port.messages.empty());

    ChartText none;
    last = AppendAmortizationChart(nullptr, 0.5, {}, none, port);
    EXPECT_EQ(last.outcome, ChartOutcome::NoPaymentSet);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(port.Texts(), std::vector<std::string>{std::string(kNoPaymentSetText)});
}

TEST_F(ChartTest, ASecondChartIsAppendedBelowTheFirst) {
    TwelveOfHundred();
    const size_t report = chart.size();
    AppendAmortizationChart(state.loan, paySet, {}, chart, port);
    const size_t once = chart.size();
    AppendAmortizationChart(state.loan, paySet, {}, chart, port);
    ASSERT_EQ(chart.size(), once + (once - report));
    EXPECT_TRUE(std::equal(chart.begin() + report, chart.begin() + once, chart.begin() + once));
}

// The last balance decides the adjustment: left alone up to 0.0049, taken
// into the last payment from 0.005, reported from one cent.
TEST_F(ChartTest, FinalAdjustmentThresholds) {
    struct Case {
        double amtFin;
        ChartText body;
    };
    const std::vector<Case> cases = {
        {100.0049,
         {"   1    $100.00      $0.00    $100.00      $0.00 ",
          "Total of Payments = $100.00, rounding to closest cent."}},
        {100.005,
         {"   1    $100.01      $0.00    $100.01      $0.00 ",
          "Total of Payments = $100.01, rounding to closest cent."}},
        {99.9925,
         {"   1     $99.99      $0.00     $99.99      $0.00 ",
          "Total of Payments = $99.99, rounding to closest cent."}},
        {100.01,
         {"   1    $100.01      $0.00    $100.01      $0.00 ",
          "Total of Payments = $100.01, rounding to closest cent.",
          "  Final payment adjusted by $0.01 to match desired Total of Payments"}},
    };
    for (const Case& c : cases) {
        state = LoanState{};
        EmptyTable(paySet);
        Matrix(c.amtFin, 0.0, {{10000, 1, 0}});
        EXPECT_EQ(Body(Chart()), c.body) << c.amtFin;
    }
}

TEST_F(ChartTest, WithFourPlacesTheAdjustmentTakesTheInterestCutToWholeCents) {
    // 100.87 at 12.34 % for a month: 1.037279.. interest, 1.0372 at four places.
    Matrix(100.87, 12.34, {{10100, 1, 0}});
    EXPECT_EQ(Body(Chart({.fractionalInterest = true})),
              (ChartText{"   1    $100.87     1.0372    $101.90      $0.01 ",
                         "Total of Payments = $101.90, rounding to closest cent.",
                         "  Final payment adjusted by $0.90 to match desired Total of Payments"}));
    EXPECT_EQ(Body(Chart()),
              (ChartText{"   1    $100.87      $1.04    $101.91      $0.00 ",
                         "Total of Payments = $101.91, rounding to closest cent.",
                         "  Final payment adjusted by $0.91 to match desired Total of Payments"}));
}

TEST_F(ChartTest, WithFourPlacesHalfACentLessATenThousandthIsLeftUnpaid) {
    // 100.005 + 0.9999 interest - 101.00 leaves 0.0049: not adjusted. Adjusting
    // it would take the interest cut to 0.99 and leave 0.0099 showing as a cent.
    Matrix(100.005, 11.999, {{10100, 1, 0}});
    EXPECT_EQ(Body(Chart({.fractionalInterest = true})),
              (ChartText{"   1    $100.01     0.9999    $101.00      $0.00 ",
                         "Total of Payments = $101.00, rounding to closest cent."}));
}

TEST_F(ChartTest, AmountsTooWideForTheirColumnsWidenThemAndKeepEveryDigit) {
    Matrix(12345678.9, 12.0, {{1000000000, 1, 0}});
    const ChartText body = Body(Chart({.fractionalInterest = true}));
    ASSERT_EQ(body.size(), 3u);
    EXPECT_EQ(body[0], "   1 $12,345,678.90 123,456.7890 $12,469,135.68      $0.01 ");
    EXPECT_EQ(body[1], "Total of Payments = $12,469,135.68, rounding to closest cent.");
    EXPECT_EQ(body[2],
              "  Final payment adjusted by $2,469,135.68 to match desired Total of Payments");
}

TEST_F(ChartTest, NoGroupsAndNoSplitRateScheduleAppendNothingButSaySo) {
    TwelveOfHundred();
    EmptyTable(paySet);
    state.loan.RoundAdd = 0.0;
    const ChartText before = chart;
    last = AppendAmortizationChart(state.loan, paySet, {}, chart, port);
    EXPECT_EQ(last.outcome, ChartOutcome::NoPaymentSet);
    EXPECT_EQ(last.caption, "Amortization rounds fractions down!");
    EXPECT_EQ(chart, before);
    EXPECT_EQ(
        port.messages,
        (std::vector<RecordedMessage>{{MessageKind::Information, "No Payment Set Loaded !"}}));
}

TEST_F(ChartTest, TheSplitRatePageChartsTheMatrixWithoutGroups) {
    TwelveOfHundred();
    EmptyTable(paySet);
    state.loan.ScheduleSource = kSourceSplit;
    EXPECT_EQ(Chart().size(), 4u + 12u + 2u);
    EXPECT_TRUE(port.messages.empty());
}

TEST_F(ChartTest, AFirstPaymentUnderOneCentAppendsNothingAndSaysNothing) {
    AddGroups(paySet, {{2, 0.009, 1, 0}});
    SetLoan(state, 0.01, 0.02, 2);
    state.loan.PayMatrix[1] = {0, 1, 0, 1, 0};
    state.loan.PayMatrix[2] = {1, 1, 0, 2, 0};
    const ChartText before = chart;
    last = AppendAmortizationChart(state.loan, paySet, {}, chart, port);
    EXPECT_EQ(last.outcome, ChartOutcome::FirstPaymentUnderCent);
    EXPECT_EQ(chart, before);
    EXPECT_TRUE(port.messages.empty());
}

// The count of payments comes from PayCount, but the chart never reads past
// the matrix or beyond what the last expansion wrote.
TEST_F(ChartTest, PayCountBeyondTheExpandedScheduleChartsOnlyTheExpandedPayments) {
    TwelveOfHundred();
    state.loan.PayCount = 14;  // told after the expansion of twelve
    const ChartText body = Body(Chart({.showRebates = true}));
    ASSERT_EQ(body.size(), 12u + 2u);
    EXPECT_EQ(body[11], "  12     $98.64      $1.35     $99.99      $0.00     $99.99      $0.00 ");
    EXPECT_EQ(last.payments, 12);
}

TEST_F(ChartTest, PayCountOutsideTheMatrixIsHeldWithinIt) {
    for (std::int32_t k = 1; k <= kMaxPayments; ++k)
        state.loan.PayMatrix[static_cast<size_t>(k)] = {100, 1, 0, k, 0};
    AddGroups(paySet, {{kMaxPayments, 1.0, 1, 0}});
    state.loan.AmtFin = 400.0;
    state.loan.APR = 1.0;
    state.loan.PayCount = 100000;
    EXPECT_EQ(ChartedPaymentCount(state.loan), kMaxPayments);
    EXPECT_EQ(Body(Chart({.showRebates = true})).size(), static_cast<size_t>(kMaxPayments) + 2);
    state.loan.PayCount = -3;
    EXPECT_EQ(ChartedPaymentCount(state.loan), 0);
    const ChartText empty = Chart({.showRebates = true});
    EXPECT_EQ(Body(empty), (ChartText{"Total of Payments = $0.00, rounding to closest cent."}));
}

// --- grid rows on page entry --------------------------------------------------------

TEST_F(ChartTest, RegularScheduleFillsTheGridWithRuleOf78sRebatesToTheCent) {
    TwelveOfHundred();
    int refreshes = 0;
    detail.AddObserver([&] { ++refreshes; });

    const DetailFill fill = Fill();
    EXPECT_TRUE(fill.filled);
    EXPECT_FALSE(fill.irregular);
    EXPECT_TRUE(fill.messages.empty());
    EXPECT_EQ(fill.rows, 12);
    EXPECT_EQ(refreshes, 1);
    // 100.00 x 66/78, 55/78, ..., 1/78, 0.
    EXPECT_EQ(Column("Rebate"), (std::vector<double>{84.62, 70.51, 57.69, 46.15, 35.90, 26.92,
                                                     19.23, 12.82, 7.69, 3.85, 1.28, 0.0}));
    // What the interest has not yet earned, cut to the cent from the exact amount.
    EXPECT_EQ(Column("UnEarnIn"), (std::vector<double>{84.99, 71.14, 58.46, 46.98, 36.70, 27.65,
                                                       19.84, 13.29, 8.01, 4.03, 1.36, 0.01}));
    EXPECT_EQ(Column("Sequence"), (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(Column("PaySize"), std::vector<double>(12, 100.0));
    EXPECT_EQ(Column("PriorPds"), std::vector<double>(12, 1.0));
    EXPECT_EQ(Column("AddDays"), std::vector<double>(12, 0.0));
}

TEST_F(ChartTest, TheGridRebateRoundsToNearestEvenWhenAmortizationRoundsDown) {
    TwelveOfHundred();
    state.loan.RoundAdd = 0.0;
    Fill();
    EXPECT_EQ(Column("Rebate")[0], 84.62);
    EXPECT_EQ(Column("Rebate")[4], 35.90);
}

TEST_F(ChartTest, OddFirstPeriodIsIrregularAndItsRowsAreWorkedFromTheGroups) {
    OddFirstPeriod();
    const DetailFill fill = Fill();
    EXPECT_TRUE(fill.irregular);
    EXPECT_EQ(fill.messages,
              (std::vector<PendingMessage>{
                  {MessageKind::Information,
                   "Warning: Rule of 78s is UNDEFINED for Schedules\n\rwith irregular payments or "
                   "intervals, as here\n\rSee Help/Tolerances on the Menu."}}));
    EXPECT_EQ(Column("UnEarnIn"), (std::vector<double>{122.89, 102.75, 84.35, 67.71, 52.84, 39.77,
                                                       28.51, 19.09, 11.52, 5.82, 2.02, 0.13}));
    EXPECT_EQ(Column("Rebate"), (std::vector<double>{131.58, 109.65, 89.71, 71.77, 55.82, 41.87,
                                                     29.90, 19.94, 11.96, 5.98, 1.99, 0.0}));
    EXPECT_EQ(Column("AddDays"), (std::vector<double>{15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Column("PaySize").back(), 175.5);
}

TEST_F(ChartTest, ScheduleRegularityIsJudgedPaymentByPaymentAndIntervalByInterval) {
    struct Case {
        const char* what;
        std::vector<test::Group> groups;
        bool irregular;
    };
    const std::vector<Case> cases = {
        {"equal", {{12, 100.0, 1, 0}}, false},
        {"first payment a cent more", {{1, 100.01, 1, 0}, {11, 100.0, 1, 0}}, true},
        {"last payment a cent less", {{11, 100.0, 1, 0}, {1, 99.99, 1, 0}}, true},
        {"first interval 15 days longer", {{1, 100.0, 1, 15}, {11, 100.0, 1, 0}}, true},
        {"last interval a day shorter", {{11, 100.0, 1, 0}, {1, 100.0, 0, 29}}, true},
        // Same interval written two ways: 30 odd days are one period.
        {"a period written as days", {{6, 100.0, 1, 0}, {6, 100.0, 0, 30}}, false},
        // Under half a cent apart, the same payment in whole cents.
        {"payments under half a cent apart", {{6, 100.0, 1, 0}, {6, 100.004, 1, 0}}, false},
    };
    for (const Case& c : cases) {
        EmptyTable(paySet);
        for (const test::Group& g : c.groups) AddGroups(paySet, {g});
        state.loan.PayCount = 12;
        EXPECT_EQ(Fill(false).irregular, c.irregular) << c.what;
    }
}

TEST_F(ChartTest, AnIrregularScheduleWithRebatesOffIsFilledWithoutWarning) {
    AddGroups(paySet, {{1, 100.01, 1, 0}, {11, 100.0, 1, 0}});
    SetLoan(state, 1100.0, 1200.01, 12);
    const DetailFill fill = Fill(false);
    EXPECT_TRUE(fill.irregular);
    EXPECT_TRUE(fill.messages.empty());
    EXPECT_EQ(fill.rows, 12);
}

TEST_F(ChartTest, NoStatedPaymentsGiveNoRebateRatherThanADivisionByZero) {
    // The split-rate page can send a schedule whose count was never stated.
    AddGroups(paySet, {{3, 100.0, 1, 0}});
    SetLoan(state, 250.0, 300.0, 0);
    state.loan.ScheduleSource = kSourceSplit;
    const DetailFill fill = Fill();
    EXPECT_TRUE(fill.filled);
    EXPECT_EQ(Column("Rebate"), (std::vector<double>{0.0, 0.0, 0.0}));
}

TEST_F(ChartTest, PaymentsBeyondTheStatedCountHaveNoRebateLeft) {
    AddGroups(paySet, {{4, 100.0, 1, 0}});
    SetLoan(state, 250.0, 300.0, 2);
    Fill();
    // 50.00 x 1/3 after the first, none after the second or past it.
    EXPECT_EQ(Column("Rebate"), (std::vector<double>{16.67, 0.0, 0.0, 0.0}));
}

TEST_F(ChartTest, NoGroupsLeaveAnEmptyGridAndNoStaleRows) {
    TwelveOfHundred();
    Fill();
    ASSERT_EQ(detail.Count(), 12);
    EmptyTable(paySet);
    state.loan.ScheduleSource = kSourceSplit;
    const DetailFill fill = Fill();
    EXPECT_TRUE(fill.filled);
    EXPECT_EQ(fill.rows, 0);
    EXPECT_EQ(detail.Count(), 0);
}

TEST_F(ChartTest, MoreThan485PaymentsStopTheGridAtTheLimitAndSaySo) {
    AddGroups(paySet, {{400, 10.0, 1, 0}, {1000000000, 10.0, 1, 0}});
    state.loan.PayCount = 485;
    const DetailFill fill = Fill(false);
    EXPECT_TRUE(fill.filled);
    EXPECT_TRUE(fill.cut);
    EXPECT_EQ(fill.rows, kMaxPayments);
    EXPECT_EQ(detail.Count(), kMaxPayments);
    EXPECT_EQ(
        fill.messages,
        (std::vector<PendingMessage>{{MessageKind::Information, std::string(kDetailRowsCutText)}}));
}

TEST_F(ChartTest, AnAbsurdRoundingAddendIsHeldInsideTheCurrencyRange) {
    // The record table and the chart are reusable: nothing stops a caller
    // from passing a rounding addend no page would set.
    for (const double roundAdd : {1e30, -1e30, std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN()}) {
        EmptyTable(paySet);
        AddGroups(paySet, {{3, 100.0, 1, 0}});
        SetLoan(state, 250.0, 300.0, 3);
        state.loan.APR = 20.0;
        state.loan.RoundAdd = roundAdd;
        const DetailFill fill = Fill();
        EXPECT_TRUE(fill.filled) << roundAdd;
        for (const double unearned : Column("UnEarnIn"))
            EXPECT_LE(std::fabs(unearned), kMaxCurrencyDollars) << roundAdd;
    }
}

TEST_F(ChartTest, AFillThatFailsHalfWayLeavesAnEmptyGridRefreshedOnce) {
    // A grid table whose payment column holds whole numbers only: the second
    // group's payment does not fit it, after the first group's rows went in.
    detail.Close();
    detail.Clear();
    detail.SetFieldsDefinitionItems({"Sequence;3;0;1", "PaySize;3;0;0", "PriorPds;3;0;0",
                                     "AddDays;3;0;0", "UnEarnIn;6;0;0", "Rebate;6;0;0"});
    detail.Open();
    for (int k = 1; k <= 3; ++k) {
        detail.AppendNew();
        detail.SetFieldInteger("Sequence", k);
        detail.Post();
    }
    AddGroups(paySet, {{5, 100.0, 1, 0}, {1, 3e9, 1, 0}});
    state.loan.PayCount = 6;
    int refreshes = 0;
    detail.AddObserver([&] { ++refreshes; });

    const DetailFill fill = Fill();
    EXPECT_FALSE(fill.filled);
    EXPECT_EQ(fill.rows, 0);
    EXPECT_EQ(detail.Count(), 0);
    EXPECT_EQ(detail.UpdateCount(), 0);
    EXPECT_EQ(refreshes, 1);
    ASSERT_EQ(fill.messages.size(), 1u);
    EXPECT_EQ(fill.messages[0].kind, MessageKind::Warning);
    EXPECT_NE(fill.messages[0].text.find("PaySize"), std::string::npos);
}

TEST(Rule78RebateCents, RoundsOnceHalfUpFromTheExactShare) {
    struct Case {
        const char* what;
        Currency fc;  // ten-thousandths
        std::int64_t payments;
        std::int64_t remaining;
        std::int64_t cents;
    };
    const std::vector<Case> cases = {
        // 101.33 x 253/300 = 85.4549667: under the half cent, whatever a
        // rounding to 85.4550 first would make of it.
        {"24 payments, after the 2nd", 1013300, 24, 22, 8545},
        // 1.57 x 1/105 = 0.0149524.
        {"14 payments, after the 13th", 15700, 14, 1, 1},
        // 0.01 x 3/6 = 0.005 exactly: the half cent goes up.
        {"exactly half a cent", 100, 3, 2, 1},
        // 0.0099 x 3/6 = 0.00495: just under it.
        {"just under half a cent", 99, 3, 2, 0},
        // 0.0101 x 3/6 = 0.00505: just over it.
        {"just over half a cent", 101, 3, 2, 1},
        {"twelve of a hundred, after the 1st", 1000000, 12, 11, 8462},
        {"after the last payment", 1000000, 12, 0, 0},
        {"no stated payments", 1000000, 0, 3, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Rule78RebateCents(c.fc, c.remaining, c.payments * (c.payments + 1) / 2), c.cents)
            << c.what;
    }
}

TEST_F(ChartTest, TheGridRebateIsNotRoundedTwice) {
    // Finance charge 101.33 over 24 payments, and 1.57 over 14: the rows
    // whose exact rebate lies within a hair under the half cent.
    AddGroups(paySet, {{24, 100.0, 1, 0}});
    SetLoan(state, 2298.67, 2400.0, 24);
    state.loan.APR = 4.0;
    Fill();
    EXPECT_EQ(Column("Rebate")[1], 85.45);

    EmptyTable(paySet);
    AddGroups(paySet, {{14, 100.0, 1, 0}});
    SetLoan(state, 1398.43, 1400.0, 14);
    Fill();
    EXPECT_EQ(Column("Rebate")[12], 0.01);
}

// --- page entry as a whole ---------------------------------------------------------

// Records what the window was asked to do, in order, with the messages.
class Host : public ChartEntryWindow, public UserPort {
  public:
    Host(LoanState& s, TMemDataSet& groups) : state(s), paySet(groups) {}
    void Beep() override { log.push_back("beep"); }
    // What the window does between the two halves of the entry: the page
    // that made the schedule computes it again.
    void Recompute(ChartEntryStep step) {
        if (step == ChartEntryStep::RecomputeRegular) log.push_back("regular APR");
        if (step == ChartEntryStep::RecomputeIrregular) log.push_back("irregular APR");
        if (step != ChartEntryStep::RecomputeRegular && step != ChartEntryStep::RecomputeIrregular)
            return;
        if (recompute) recompute();
    }
    void ShowPage(InputErrorRoute page) override {
        log.push_back("page " + std::to_string(static_cast<int>(page)));
    }
    void SetWindowEnabled(bool enabled) override { log.push_back(enabled ? "enable" : "disable"); }
    Answer Show(MessageKind, std::string_view text) override {
        log.push_back("say " + std::string(text));
        return Answer::Ok;
    }
    // As the window does, the loan as it stands after the last computation.
    const ComputedSchedule* LastComputed() {
        if (!computed) return nullptr;
        last = CaptureComputedSchedule(state.loan, paySet);
        return &last;
    }

    LoanState& state;
    TMemDataSet& paySet;
    bool computed = true;
    ComputedSchedule last;
    bool inputError = false;
    std::function<void()> recompute;
    std::vector<std::string> log;
};

class EnterChartPageTest : public ChartTest {
  protected:
    ChartEntryOutcome Enter(bool showRebates = true) {
        const ChartEntryStep step = FirstChartEntryStep(state.loan, paySet);
        host.Recompute(step);
        return FinishChartEntry(step, state.loan, {host.inputError, host.LastComputed()}, detail,
                                showRebates, host, host);
    }
    Host host{state, paySet};
};

TEST_F(EnterChartPageTest, NoGroupsBeepAndDoNothingElse) {
    state.loan.ScheduleSource = kSourceRegular;
    EXPECT_EQ(Enter(), ChartEntryOutcome::Beeped);
    EXPECT_EQ(host.log, (std::vector<std::string>{"beep"}));
    EXPECT_EQ(state.loan.ScheduleSource, kSourceRegular);
}

TEST_F(EnterChartPageTest, TheGridIsFilledWhileTheWindowIsDisabledAndTheWarningFollows) {
    AddGroups(paySet, {{1, 100.01, 1, 0}, {11, 100.0, 1, 0}});
    SetLoan(state, 1100.0, 1200.01, 12);
    detail.AddObserver([&] { host.log.push_back("grid refreshed"); });
    EXPECT_EQ(Enter(), ChartEntryOutcome::Filled);
    EXPECT_EQ(host.log, (std::vector<std::string>{"disable", "grid refreshed", "enable",
                                                  "say " + std::string(kRuleOf78sUndefinedText)}));
}

TEST_F(EnterChartPageTest, TheSourcePageIsRecomputedAndTheGridWorksFromThatComputation) {
    AddGroups(paySet, {{12, 100.0, 1, 0}});
    SetLoan(state, 1100.0, 1200.0, 12);
    state.loan.APR = 16.376;
    state.loan.ScheduleSource = kSourceIrregular;
    // The recompute finds 1,150.00 financed: the finance charge is 50.00, and
    // the first month earns 1,150.00 x 16.376% / 12 = 15.69 of it.
    host.recompute = [&] { state.loan.AmtFin = 1150.0; };
    EXPECT_EQ(Enter(), ChartEntryOutcome::Filled);
    EXPECT_EQ(host.log.front(), "irregular APR");
    EXPECT_EQ(Column("Rebate")[0], 42.31);
    EXPECT_EQ(Column("UnEarnIn")[0], 34.31);
    EXPECT_EQ(state.loan.ScheduleSource, kSourceNone);

    // Entered again with nothing to recompute: the grid is simply rebuilt.
    host.log.clear();
    EXPECT_EQ(Enter(), ChartEntryOutcome::Filled);
    EXPECT_EQ(host.log, (std::vector<std::string>{"disable", "enable"}));
    EXPECT_EQ(detail.Count(), 12);
}

TEST_F(EnterChartPageTest, WithNothingComputedTheUserIsToldWhereToComputeAndNoGridIsMade) {
    AddGroups(paySet, {{12, 100.0, 1, 0}});
    SetLoan(state, 1100.0, 1200.0, 12);
    host.computed = false;
    EXPECT_EQ(Enter(), ChartEntryOutcome::NothingComputed);
    EXPECT_EQ(host.log, (std::vector<std::string>{"say " + std::string(kNothingComputedText)}));
    EXPECT_EQ(detail.Count(), 0);

    // Sent from the split-rate page to read its chart: nothing to say.
    host.log.clear();
    state.loan.ScheduleSource = kSourceSplit;
    EXPECT_EQ(Enter(), ChartEntryOutcome::NothingComputed);
    EXPECT_EQ(host.log, std::vector<std::string>{});
    EXPECT_EQ(detail.Count(), 0);
}

TEST_F(EnterChartPageTest, AnInputErrorSendsTheUserBackToTheSourcePage) {
    AddGroups(paySet, {{12, 100.0, 1, 0}});
    host.inputError = true;
    const std::string error = "say Error : Input Error in Payment Schedule";
    const std::vector<std::pair<std::int32_t, std::vector<std::string>>> cases = {
        {kSourceNone, {error, "page 0"}},
        {kSourceTolerance, {error, "page 1"}},
        {kSourceRegular, {"regular APR", error, "page 2"}},
        {kSourceIrregular, {"irregular APR", error, "page 3"}},
        {kSourceChart, {error, "say Go to Tab 2,Tab 3 or Tab 5 to correct error(s)"}},
        {kSourceSplit, {error, "page 4"}},
        {77, {error, "say Go to Tab 2,Tab 3 or Tab 5 to correct error(s)"}},
    };
    for (const auto& [source, expected] : cases) {
        host.log.clear();
        state.loan.ScheduleSource = source;
        EXPECT_EQ(Enter(), ChartEntryOutcome::InputError) << source;
        EXPECT_EQ(host.log, expected) << source;
        EXPECT_EQ(state.loan.ScheduleSource, source);
    }
    EXPECT_EQ(RouteAfterInputError(kSourceSplit), InputErrorRoute::tabEdit);
    EXPECT_EQ(RouteAfterInputError(kSourceNone), InputErrorRoute::tabAbout);
}

TEST_F(EnterChartPageTest, TheWindowIsEnabledAgainWhenTheFillFails) {
    AddGroups(paySet, {{1, 100.0, 1, 0}});
    state.loan.PayCount = 1;
    detail.Close();
    detail.Clear();
    detail.SetFieldsDefinitionItems({"Sequence;3;0;1"});
    detail.Open();
    EXPECT_EQ(Enter(), ChartEntryOutcome::FillFailed);
    ASSERT_EQ(host.log.size(), 3u);
    EXPECT_EQ(host.log[0], "disable");
    EXPECT_EQ(host.log[1], "enable");
    EXPECT_EQ(host.log[2].rfind("say ", 0), 0u);
    EXPECT_EQ(detail.Count(), 0);
}

}  // namespace
}  // namespace qv
