#include "splitrate/split_interest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

// Expected charts, trials and totals were worked in exact decimal arithmetic
// from the rules of the split-rate computation, not from this code; the
// files under charts/ hold whole charts, one line per line.

namespace qv {
namespace {

using Tweak = std::function<void(LoanState&)>;
using Button = std::function<SplitRun(LoanState&, UserPort&)>;

// The three computing buttons.
const std::vector<Button> kButtons = {
    [](LoanState& s, UserPort& p) { return JustAmortize(s.split, s.loan.RoundAdd, p); },
    [](LoanState& s, UserPort& p) { return MatchCommonPayment(s.split, s.loan.RoundAdd, p); },
    [](LoanState& s, UserPort& p) { return MatchPrincipal(s.split, s.loan.RoundAdd, p); },
};

// "Load Test Data": 1,000.00, 24 monthly payments of 46.00, steps 1.0 % to
// 300, 0.75 % to 600, 0.5 % to 900 and 0.25 % above.
LoanState TestCase(double roundAdd = 0.5) {
    LoanState s;
    LoadSplitTestData(s.split);
    s.loan.RoundAdd = roundAdd;
    return s;
}

ChartText Golden(const std::string& name) {
    std::ifstream in(std::filesystem::path(QV_SOURCE_DIR) / "tests" / "splitrate" / "charts" /
                     name);
    ChartText lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

ChartText Tail(const ChartText& chart, std::size_t n) {
    return ChartText(chart.end() - static_cast<std::ptrdiff_t>(std::min(n, chart.size())),
                     chart.end());
}

TEST(SplitAmortize, ChartsMatchTheWorkedChartsLineForLine) {
    struct Row {
        const char* file;
        double roundAdd;
        Tweak setup;
        std::vector<std::string> messages;
        std::vector<SplitBoxFill> fills;
    };
    // 2,500.00: a first payment of 300.00 after a month and 15 days, ten of
    // 217.50, a last one of 123.45 after two months and 3 days; 1.5 % to
    // 500, nothing to 1,000 and 0.5 % above, with no top cap typed.
    const Tweak oddIntervals = [](LoanState& s) {
        s.split.SplitPrincipal = 2500;
        s.split.SplitRegPay = 217.5;
        s.split.SplitFirstPay = 300;
        s.split.SplitLastPay = 123.45;
        s.split.SplitPayCount = 12;
        s.split.SplitFirstExtra = 15;
        s.split.SplitLastPds = 2;
        s.split.SplitLastExtra = 3;
        s.split.SplitSteps = {{{1.5, 500}, {0, 1000}, {0.5, 2000}, {}, {}, {}}};
    };
    const std::vector<Row> rows = {
        {"test_case_nearest.txt",
         0.5,
         {},
         {"UnderPaid by $2.23\n\rYou might adjust the Final Payment"},
         {{SplitBox::edSplitInterest, "$106.23"}, {SplitBox::edFinal, "$2.23"}}},
        {"test_case_down.txt",
         0.0,
         {},
         {"UnderPaid by $2.11\n\rYou might adjust the Final Payment"},
         {{SplitBox::edSplitInterest, "$106.11"}, {SplitBox::edFinal, "$2.11"}}},
        {"odd_intervals_down.txt",
         0.0,
         oddIntervals,
         {"Reset top step $-cap to $999,999.99",
          "UnderPaid by $22.55\n\rYou might adjust the Final Payment"},
         {{SplitBox::edCap3, "999,999.99"},
          {SplitBox::edSplitInterest, "$121.00"},
          {SplitBox::edFinal, "$22.55"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        LoanState s = TestCase(row.roundAdd);
        if (row.setup) row.setup(s);
        RecordingUserPort port;
        const SplitRun run = JustAmortize(s.split, s.loan.RoundAdd, port);
        EXPECT_EQ(run.outcome, SplitOutcome::Amortized);
        ASSERT_TRUE(run.chartReplaced);
        const ChartText expected = Golden(row.file);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(run.chart, expected);
        EXPECT_EQ(port.Texts(), row.messages);
        EXPECT_EQ(run.fills, row.fills);
    }
}

TEST(SplitAmortize, SinglePaymentsNoStepsAndExactCents) {
    struct Row {
        const char* what;
        double roundAdd;
        Tweak setup;
        ChartText body;  // the lines after the four header lines
    };
    const std::vector<Row> rows = {
        {"one payment takes the last amount and interval, and carries both tags",
         0.5,
         [](LoanState& s) {
             s.split.SplitPrincipal = 19.99;
             s.split.SplitPayCount = 1;
             s.split.SplitRegPay = 15;
             s.split.SplitFirstPay = 10;
             s.split.SplitLastPay = 20;
             s.split.SplitLastPds = 0;
             s.split.SplitLastExtra = 10;
             s.split.SplitSteps = {};
         },
         {"   1 $     19.99 + $    0.00 - $   20.00 = $     -0.01 (Irregular Payment) "
          "(Irregular Payment) 10 day interval",
          "   interest increment =  = $    0.00", "Total Interest = $ 0"}},
        {"997.77 less 0.01 is 997.76 when rounding down; an untouched last line leaves the one "
         "payment to the first, amount and interval",
         0.0,
         [](LoanState& s) {
             s.split.SplitPrincipal = 997.77;
             s.split.SplitPayCount = 1;
             s.split.SplitRegPay = s.split.SplitFirstPay = 0.01;
             s.split.SplitFirstExtra = 10;
             s.split.SplitLastPay = 0;
             s.split.SplitSteps = {};
         },
         {"   1 $    997.77 + $    0.00 - $    0.01 = $    997.76 40 day interval, UNDERpaid.",
          "   interest increment =  = $    0.00", "Total Interest = $ 0"}},
        {"caps out of order: the arithmetic is kept, a negative slice rounds toward zero",
         0.5,
         [](LoanState& s) { s.split.SplitSteps[1].Cap = 200; },
         {"   1 $  1,000.00 + $    6.01 - $   46.00 = $    960.01",
          "   interest increment =   3.00 +  -0.74 +   3.50 +   0.25 = $    6.01"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        LoanState s = TestCase(row.roundAdd);
        row.setup(s);
        RecordingUserPort port;
        const SplitRun run = JustAmortize(s.split, s.loan.RoundAdd, port);
        ASSERT_GE(run.chart.size(), 4 + row.body.size());
        EXPECT_EQ(ChartText(run.chart.begin() + 4,
                            run.chart.begin() + 4 + static_cast<std::ptrdiff_t>(row.body.size())),
                  row.body);
    }
}

// Typed on the page after Reset All, box by box, then "Just Amortize".
// Worked apart: 12 payments of 200,000.00 on 2,000,000.00 at 1 % of the
// whole balance, rounded to the cent, earn 117,969.76 and overpay by
// 282,030.22; one payment of 0.02 on 0.01 earns nothing and leaves -0.01,
// which rounds to 0.00 (to the nearest cent from -0.01 + 0.005, toward zero).
TEST(SplitAmortize, DebtsTypedOnThePageAfterReset) {
    struct Row {
        const char* what;
        std::vector<std::pair<SplitBox, const char*>> typed;
        std::string firstLine;
        std::vector<SplitBoxFill> fills;
    };
    const std::vector<Row> rows = {
        {"the top step earns on every dollar",
         {{SplitBox::edSplitAmtFin, "2,000,000"},
          {SplitBox::edSplitPayCount, "12"},
          {SplitBox::edSplitRegPay, "200000"},
          {SplitBox::edRate1, "1"}},
         "   1 $ 2,000,000.00 + $ 20,000.00 - $ 200,000.00 = $ 1,820,000.00",
         {{SplitBox::edCap1, "999,999.99"},
          {SplitBox::edSplitInterest, "$117,969.76"},
          {SplitBox::edFinal, "($282,030.22)"}}},
        {"one payment pays the amount typed",
         {{SplitBox::edSplitAmtFin, "0.01"},
          {SplitBox::edSplitPayCount, "1"},
          {SplitBox::edSplitRegPay, "0.02"},
          {SplitBox::edRate1, "1"}},
         "   1 $      0.01 + $    0.00 - $    0.02 = $     -0.01",
         {{SplitBox::edCap1, "999,999.99"},
          {SplitBox::edSplitInterest, "$0.00"},
          {SplitBox::edFinal, "$0.00"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        LoanState s;
        ResetLoanState(s);
        for (const auto& [box, text] : row.typed) {
            ASSERT_TRUE(LeaveSplitBox(s.split, box, text).check.valid);
        }
        RecordingUserPort port;
        const SplitRun run = JustAmortize(s.split, s.loan.RoundAdd, port);
        ASSERT_EQ(run.outcome, SplitOutcome::Amortized);
        ASSERT_GT(run.chart.size(), 4u);
        EXPECT_EQ(run.chart[4], row.firstLine);
        EXPECT_EQ(run.fills, row.fills);
    }
}

TEST(SplitAmortize, InterestOfOneInterval) {
    struct Row {
        const char* what;
        double roundAdd;
        std::array<SplitStep, 6> steps;
        double balance;
        std::int64_t days;
        std::array<std::int64_t, 6> cents;
        bool inRange;
    };
    const std::array<SplitStep, 6> tiers{{{1.0, 300}, {0.75, 600}, {0.5, 900}, {0.25, 999999.99}}};
    const std::vector<Row> rows = {
        {"a balance on a cap: the step above earns nothing",
         0.5,
         tiers,
         600,
         30,
         {300, 225, 0, 0},
         true},
        {"an overpaid balance earns nothing", 0.5, tiers, -50, 30, {}, true},
        {"half a month at the top step", 0.5, tiers, 1000, 15, {150, 113, 75, 13}, true},
        {"a half cent rounds up, exactly", 0.5, {{{0.05, 999999.99}}}, 1050, 30, {53}, true},
        {"a half cent rounds down", 0.0, {{{0.05, 999999.99}}}, 1050, 30, {52}, true},
        {"an interest beyond 32-bit cents", 0.5, {{{1e9, 999999.99}}}, 1000, 30, {}, false},
        // The top step has no cap, raised or typed: 1 % of 2,000,000.00.
        {"a top cap of 0", 0.5, {{{1.0, 0}}}, 2000000, 30, {2000000}, true},
        {"a top cap typed at 1,500,000", 0.5, {{{1.0, 1500000}}}, 2000000, 30, {2000000}, true},
        {"a top cap beyond the page's range", 0.5, {{{1.0, 5e7}}}, 2000000, 30, {2000000}, true},
        // 1 % of 500,000 and 0.5 % of the 1,500,000 above it.
        {"the top step above a lower cap",
         0.5,
         {{{1.0, 500000}, {0.5, 1000000}}},
         2000000,
         30,
         {500000, 750000},
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        LoanState s;
        s.loan.RoundAdd = row.roundAdd;
        s.split.SplitSteps = row.steps;
        RecordingUserPort port;
        std::vector<SplitBoxFill> fills;
        const SplitTerms t =
            MakeSplitTerms(s.split, s.loan.RoundAdd, Check(s.split.SplitSteps, port, fills));
        const IntervalInterest i = InterestOfInterval(t, DollarsToCurrency(row.balance), row.days);
        EXPECT_EQ(i.inRange, row.inRange);
        if (!row.inRange) continue;
        EXPECT_EQ(i.steps, row.cents);
        std::int64_t sum = 0;
        for (std::int64_t c : row.cents) sum += c;
        EXPECT_EQ(i.total, sum);
    }
}

TEST(SplitAmortize, CheckRaisesOnlyALowTopCap) {
    struct Row {
        std::array<SplitStep, 6> steps;
        int top;
        bool raised;
    };
    const std::vector<Row> rows = {
        {{}, 0, false},
        {{{{1, 300}, {2, 0}}}, 2, true},
        {{{{1, 0}, {2, 999999.9}}}, 2, false},
        {{{{1, 0}, {2, 999999.89}}}, 2, true},
        {{{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {3, 5}}}, 6, true},
    };
    for (const Row& row : rows) {
        std::array<SplitStep, 6> steps = row.steps;
        RecordingUserPort port;
        std::vector<SplitBoxFill> fills;
        EXPECT_EQ(Check(steps, port, fills), row.top);
        const std::vector<std::string> said =
            row.raised ? std::vector<std::string>{"Reset top step $-cap to $999,999.99"}
                       : std::vector<std::string>{};
        EXPECT_EQ(port.Texts(), said);
        if (row.raised) {
            EXPECT_EQ(steps[static_cast<std::size_t>(row.top - 1)].Cap, 999999.99);
            const std::vector<SplitBoxFill> box =
                row.top <= 4 ? std::vector<SplitBoxFill>{{CapBox(row.top), "999,999.99"}}
                             : std::vector<SplitBoxFill>{};
            EXPECT_EQ(fills, box);
        }
        for (int k = 0; k < row.top - 1; ++k) {
            EXPECT_EQ(steps[static_cast<std::size_t>(k)].Cap,
                      row.steps[static_cast<std::size_t>(k)].Cap);
        }
    }
}

TEST(SplitSearch, TestCaseSearchesAndTheirAmortizations) {
    struct Row {
        const char* what;
        std::function<SplitSearch(const SplitTerms&, const LoanState&)> search;
        Button button;
        ChartText trials;
        Currency found;
        std::vector<std::string> messages;
        std::vector<SplitBoxFill> fills;
        ChartText tail;
    };
    const std::vector<Row> rows = {
        {"common payment",
         [](const SplitTerms& t, const LoanState& s) {
             return SearchCommonPayment(t, DollarsToCurrency(s.split.SplitPrincipal),
                                        DollarsToCurrency(s.split.SplitRegPay));
         },
         [](LoanState& s, UserPort& p) { return MatchCommonPayment(s.split, s.loan.RoundAdd, p); },
         {"----- Optimizing Regular Payment ----", "46.00 Common Payment leaves $2.23",
          "46.10 Common Payment leaves ($0.43) Overpayment", "46.08 Common Payment leaves $0.12"},
         460800,
         {"Regular Payment should be $46.08", "Probably cannot get any closer to zero balance !"},
         {{SplitBox::edSplitRegPay, "46.08"},
          {SplitBox::edSplit1stPay, "46.08"},
          {SplitBox::edSplitlastPay, "46.08"},
          {SplitBox::edSplitInterest, "$106.04"},
          {SplitBox::edFinal, "$0.12"}},
         {"  24 $     45.74 + $    0.46 - $   46.08 = $      0.12, UNDERpaid.",
          "   interest increment =   0.46 +   0.00 +   0.00 +   0.00 = $    0.46",
          "   Probably cannot get any close to zero balance.", "Total Interest = $ 106.04"}},
        {"principal",
         [](const SplitTerms& t, const LoanState& s) {
             return SearchPrincipal(t, SplitPaymentsOf(s.split),
                                    DollarsToCurrency(s.split.SplitPrincipal));
         },
         [](LoanState& s, UserPort& p) { return MatchPrincipal(s.split, s.loan.RoundAdd, p); },
         {"----- Optimizing Principal Borrowed ----", "1,000.00 Principal leaves $2.23",
          "997.77 Principal leaves ($0.38) Overpayment", "998.15 Principal leaves $0.07",
          "998.08 Principal leaves $0.00"},
         9980800,
         {"Principal should be $998.08"},
         {{SplitBox::edSplitAmtFin, "998.08"},
          {SplitBox::edSplitInterest, "$105.91"},
          {SplitBox::edFinal, "$0.00"}},
         {"  24 $     45.53 + $    0.46 - $   46.00 = $     -0.01",
          "   interest increment =   0.46 +   0.00 +   0.00 +   0.00 = $    0.46",
          "Total Interest = $ 105.91"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        LoanState s = TestCase();
        const SplitSearch search = row.search(MakeSplitTerms(s.split, s.loan.RoundAdd, 4), s);
        EXPECT_TRUE(search.found);
        EXPECT_EQ(search.value, row.found);
        EXPECT_EQ(search.lines, row.trials);

        RecordingUserPort port;
        const SplitRun run = row.button(s, port);
        EXPECT_EQ(run.outcome, SplitOutcome::Amortized);
        EXPECT_EQ(port.Texts(), row.messages);
        EXPECT_EQ(run.fills, row.fills);
        EXPECT_EQ(Tail(run.chart, row.tail.size()), row.tail);
        EXPECT_EQ(run.chart.front(), kSplitChartTitle);
    }
}

TEST(SplitSearch, ASwingingSearchIsFinishedByHalving) {
    // 10,000.00 over 60 months at 1.5 % a month, searched from 200.00: the
    // plain steps swing between about 167 and 307 and come back to a
    // payment already tried after 21 trials.
    LoanState s = TestCase();
    s.split.SplitPrincipal = 10000;
    s.split.SplitRegPay = s.split.SplitFirstPay = s.split.SplitLastPay = 200;
    s.split.SplitPayCount = 60;
    s.split.SplitSteps = {{{1.5, 0}}};
    RecordingUserPort port;
    std::vector<SplitBoxFill> fills;
    const SplitTerms t =
        MakeSplitTerms(s.split, s.loan.RoundAdd, Check(s.split.SplitSteps, port, fills));
    const SplitSearch search = SearchCommonPayment(t, DollarsToCurrency(10000), 2000000);
    ASSERT_TRUE(search.found);
    EXPECT_EQ(search.value, 2539300);
    ASSERT_GT(search.lines.size(), 23u);
    EXPECT_EQ(search.lines[1], "200.00 Common Payment leaves $5,189.27");
    EXPECT_EQ(search.lines[2], "303.78 Common Payment leaves ($4,335.88) Overpayment");
    EXPECT_EQ(search.lines[22], kSplitBracketingLine);
    EXPECT_LT(search.lines.size(), 23u + 40u);

    port.messages.clear();
    const SplitRun run = MatchCommonPayment(s.split, s.loan.RoundAdd, port);
    EXPECT_EQ(port.Texts(),
              (std::vector<std::string>{"Regular Payment should be $253.93",
                                        "Probably cannot get any closer to zero balance !"}));
    EXPECT_EQ(s.split.SplitRegPay, 253.93);
    EXPECT_EQ(run.chart.back(), "Total Interest = $ 5236.2");
}

TEST(SplitSearch, NoValueFoundLeavesTheStateAsItWas) {
    struct Row {
        const char* what;
        Tweak setup;
        Button button;
        std::string_view message;
    };
    const std::vector<Row> rows = {
        {"no payment within range repays 21,000,000.00 at 50 % on the first 999,999.99",
         [](LoanState& s) {
             s.split.SplitPrincipal = 21000000;
             s.split.SplitPayCount = 1;
             s.split.SplitSteps = {{{50, 0}}};
         },
         [](LoanState& s, UserPort& p) { return MatchCommonPayment(s.split, s.loan.RoundAdd, p); },
         kSplitNoPaymentFoundText},
        {"two payments of 21,000,000.00 repay more than any principal within range",
         [](LoanState& s) {
             s.split.SplitRegPay = s.split.SplitFirstPay = s.split.SplitLastPay = 21000000;
             s.split.SplitPayCount = 2;
         },
         [](LoanState& s, UserPort& p) { return MatchPrincipal(s.split, s.loan.RoundAdd, p); },
         kSplitNoPrincipalFoundText},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        LoanState s = TestCase();
        row.setup(s);
        RecordingUserPort port;
        const LoanState before = s;
        const SplitRun run = row.button(s, port);
        EXPECT_EQ(run.outcome, SplitOutcome::NotFound);
        ASSERT_FALSE(port.messages.empty());
        EXPECT_EQ(port.messages.back(),
                  (RecordedMessage{MessageKind::Warning, std::string(row.message)}));
        EXPECT_EQ(s.split.SplitPrincipal, before.split.SplitPrincipal);
        EXPECT_EQ(s.split.SplitRegPay, before.split.SplitRegPay);
        EXPECT_EQ(s.split.SplitFirstPay, before.split.SplitFirstPay);
        EXPECT_EQ(s.split.SplitLastPay, before.split.SplitLastPay);
        for (const SplitBoxFill& fill : run.fills) EXPECT_EQ(fill.text, "999,999.99");
        EXPECT_NE(std::find(run.chart.begin(), run.chart.end(), kSplitBracketingLine),
                  run.chart.end());
    }
}

TEST(SplitFaults, AmountsBeyond32BitCentsAreRefusedBeforeComputing) {
    struct Row {
        Tweak setup;
        const char* reason;
    };
    const std::vector<Row> rows = {
        {[](LoanState& s) { s.split.SplitPrincipal = 21474836.48; }, "Principal is beyond"},
        {[](LoanState& s) { s.split.SplitRegPay = 21474836.48; },
         "Common Payment Amount is beyond"},
        {[](LoanState& s) { s.split.SplitFirstPay = 1e12; }, "First Payment Amount is beyond"},
        {[](LoanState& s) { s.split.SplitLastPay = -21474836.48; },
         "Last Payment Amount is beyond"},
        {[](LoanState& s) { s.split.SplitSteps[1].Cap = 21474836.48; },
         "Second Step $-Cap is beyond"},
        {[](LoanState& s) { s.split.SplitSteps[2].Cap = -1e9; }, "Third Step $-Cap is beyond"},
        {[](LoanState& s) { s.split.SplitPayCount = 20001; },
         "More than 20,000 Payments scheduled"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reason);
        for (const Button& button : kButtons) {
            LoanState s = TestCase();
            row.setup(s);
            const double cap4 = s.split.SplitSteps[3].Cap;
            RecordingUserPort port;
            const SplitRun run = button(s, port);
            EXPECT_EQ(run.outcome, SplitOutcome::Refused);
            EXPECT_FALSE(run.chartReplaced);
            EXPECT_TRUE(run.fills.empty());
            EXPECT_EQ(s.split.SplitSteps[3].Cap, cap4);  // Check did not run
            ASSERT_EQ(port.messages.size(), 1u);
            const std::string& text = port.messages[0].text;
            EXPECT_EQ(text.rfind("Error: " + std::string(row.reason), 0), 0u) << text;
            const std::string tail = "\n\r... so no computation done";
            EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
        }
    }
    // At the edges: the largest principal and a top cap beyond the range,
    // which bounds nothing and so is no reason to refuse; and as many
    // payments as a variable-rate list.
    LoanState longest = TestCase();
    longest.split.SplitPayCount = 20000;
    EXPECT_EQ(CheckSplitAmounts(longest.split, 4), std::nullopt);
    for (const Tweak& edge : std::vector<Tweak>{
             [](LoanState& s) { s.split.SplitPrincipal = 21474836.47; },
             [](LoanState& s) { s.split.SplitSteps[3].Cap = 1e12; },
         }) {
        LoanState s = TestCase();
        edge(s);
        RecordingUserPort port;
        EXPECT_NE(JustAmortize(s.split, s.loan.RoundAdd, port).outcome, SplitOutcome::Refused);
    }
}

TEST(SplitFaults, FallingCapsWarnOncePerComputation) {
    for (const Button& button : kButtons) {
        LoanState s = TestCase();
        s.split.SplitSteps[1].Cap = 200;
        RecordingUserPort port;
        const SplitRun run = button(s, port);
        EXPECT_EQ(run.outcome, SplitOutcome::Amortized);
        const RecordedMessage warning{MessageKind::Warning, std::string(kSplitCapsNotRisingText)};
        EXPECT_EQ(std::count(port.messages.begin(), port.messages.end(), warning), 1);
        EXPECT_EQ(port.messages.front(), warning);
    }
    LoanState rising = TestCase();
    RecordingUserPort port;
    JustAmortize(rising.split, rising.loan.RoundAdd, port);
    EXPECT_EQ(port.messages.size(), 1u);  // the residual only
}

// 1,000 % a period on every dollar: 1,000.00 grows elevenfold less 46.00 a
// month, 10,954.00, 120,448.00, 1,324,882.00, 14,573,656.00; the fifth
// interest, 145,736,560.00, is beyond the range.
TEST(SplitFaults, ARunawayBalanceStopsTheChartWithAMessage) {
    LoanState s = TestCase();
    for (SplitStep& step : s.split.SplitSteps) step.Rate = step.Cap > 0 ? 1000 : 0;
    RecordingUserPort port;
    const SplitRun run = JustAmortize(s.split, s.loan.RoundAdd, port);
    EXPECT_EQ(run.outcome, SplitOutcome::Stopped);
    EXPECT_EQ(port.Texts(),
              std::vector<std::string>{"Error: Payment # 5 brings amounts beyond $21,474,836.47\n\r"
                                       "... so the amortization stops there"});
    EXPECT_EQ(run.chart.size(), 4u + 8u + 1u);
    EXPECT_EQ(run.chart.back(),
              "   Payment # 5 brings amounts beyond $21,474,836.47: the chart stops here.");
    EXPECT_EQ(run.fills, (std::vector<SplitBoxFill>{{SplitBox::edSplitInterest, "Pending"},
                                                    {SplitBox::edFinal, "Pending"}}));
}

TEST(SplitFaults, BadInputEndsInAChartOrAMessage) {
    const std::vector<std::pair<const char*, Tweak>> rows = {
        {"odd payments of zero",
         [](LoanState& s) { s.split.SplitFirstPay = s.split.SplitLastPay = 0; }},
        {"a negative first payment", [](LoanState& s) { s.split.SplitFirstPay = -46; }},
        {"a million and one payments", [](LoanState& s) { s.split.SplitPayCount = 1000001; }},
        {"1,000 % a month on the first step",
         [](LoanState& s) { s.split.SplitSteps[0].Rate = 1000; }},
        {"caps of zero",
         [](LoanState& s) {
             for (SplitStep& step : s.split.SplitSteps) step.Cap = 0;
         }},
        {"negative caps",
         [](LoanState& s) {
             s.split.SplitSteps[0].Cap = -300;
             s.split.SplitSteps[1].Cap = -100;
         }},
        {"two billion intervals before the first payment",
         [](LoanState& s) { s.split.SplitFirstPds = s.split.SplitFirstExtra = 2000000000; }},
        {"a rate of 10^12 %", [](LoanState& s) { s.split.SplitSteps[3].Rate = 1e12; }},
        {"a common interval of no days", [](LoanState& s) { s.split.SplitDaysPerPd = 0; }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.first);
        for (const Button& button : kButtons) {
            LoanState s = TestCase();
            row.second(s);
            RecordingUserPort port;
            const SplitRun run = button(s, port);
            const bool charted = run.outcome == SplitOutcome::Amortized &&
                                 run.chart.back().rfind("Total Interest = $ ", 0) == 0;
            EXPECT_TRUE(charted || !port.messages.empty());
            EXPECT_LE(std::fabs(s.split.SplitPrincipal), 21474836.47);
            EXPECT_LE(std::fabs(s.split.SplitRegPay), 21474836.47);
        }
    }
}

}  // namespace
}  // namespace qv
