#include "regz/dated_loan.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/schedule_fixture.h"
#include "data/memdset.h"
#include "data/temp_folder.h"
#include "regz/disclosure_check.h"
#include "regz/regz_input.h"
#include "schedule/apr_estimate.h"

namespace qv::regz {
namespace {

DatedLoan Loan(std::string_view advances, std::string_view payments,
               std::optional<UnitPeriod> step = std::nullopt) {
    const DatedItemsParse a = ParseAdvances(advances);
    const DatedItemsParse p = ParsePayments(payments, step);
    EXPECT_TRUE(a.error.empty()) << a.error;
    EXPECT_TRUE(p.error.empty()) << p.error;
    return {a.items, p.items, std::nullopt};
}

TimedLoan Timed(const DatedLoan& loan) {
    const TimedLoanResult r = TimeDatedLoan(loan);
    EXPECT_TRUE(r.loan) << r.error;
    return r.loan.value_or(TimedLoan{});
}

// The program's own APR of a fitted schedule, as the irregular page's
// estimate computes it.
std::optional<double> ProgramApr(const ProgramSchedule& s) {
    TMemDataSet paySet("mdsPaySet");
    test::MakePaySet(paySet);
    double total = 0;
    int count = 0;
    for (const PayGroup& g : s.groups) {
        test::AddGroups(paySet, {{g.SetSize, g.PaySize, g.PriorPds, g.AddDays}});
        total += g.SetSize * g.PaySize;
        count += g.SetSize;
    }
    LoanState state;
    test::SetLoan(state, s.amountFinanced, total, count);
    RecordingUserPort port;
    const AprEstimate e =
        EstimateApr(state.loan, state.group, paySet, s.interval, AprSettings{}, port);
    if (!e.Computed()) return std::nullopt;
    return state.loan.APR;
}

// The worked examples entered by their dates. The rates were worked apart
// from this code, by bisection on the general equation in 50-digit decimals.
TEST(DatedLoan, WorkedExamplesGiveTheirRateAndFitTheProgramOrSayWhyNot) {
    using U = UnitPeriod;
    struct Case {
        const char* name;
        DatedLoan loan;
        const char* exact;             // four decimals
        std::vector<PayGroup> groups;  // empty when the program cannot take it
        int intervalItem;
        double programApr;  // worked apart from this code, on the program's basis
        const char* whyNot;
    };
    const Case cases[] = {
        {"(c)(1)(ii)",
         Loan("1978-02-10:6000", "36:200:1978-04-01", U::Month),
         "11.8165",
         {{1, 1, 200, 1, 19}, {35, 2, 200, 1, 0}},
         1,
         11.8165,
         ""},
        // The first payment less than a unit period after the advance.
        {"(c)(1)(iii)",
         Loan("1978-02-23:5000", "24:219.17:1978-03-01", U::Semimonth),
         "10.3379",
         {{1, 1, 219.17, 0, 6}, {23, 2, 219.17, 1, 0}},
         2,
         10.3379,
         ""},
        // A larger final payment a whole unit period after the last regular one.
        // The program counts 365/14 two-week periods a year, not 26: the same
        // rate a period is 12.2584 % a year on its basis.
        {"(c)(3)(ii)",
         Loan("1978-04-03:200", "19:9.50:1978-04-11; 1979-01-02:30", U::TwoWeeks),
         "12.2249",
         {{1, 1, 9.5, 0, 8}, {18, 2, 9.5, 1, 0}, {1, 3, 30, 1, 0}},
         3,
         12.2584,
         ""},
        {"(c)(1)(iv)",
         Loan("1978-05-23:10000", "40:385:1978-10-01", U::Quarter),
         "8.9708",
         {},
         0,
         0,
         "the unit period is quarter"},
        {"(c)(2)(ii)",
         Loan("1978-03-18:400", "1978-04-20:39.50; 11:38.31:1978-05-18", U::FourWeeks),
         "28.4979",
         {},
         0,
         0,
         "the unit period is four weeks"},
        {"one payment",
         Loan("1978-01-03:1000", "1978-09-15:1080"),
         "11.4510",
         {},
         0,
         0,
         "a single payment makes the whole term the unit period"},
        {"two advances",
         Loan("2024-01-02:500; 2024-02-02:500", "12:90:2024-03-02", U::Month),
         nullptr,
         {},
         0,
         0,
         "more than one advance"},
        {"monthly payments on changing days",
         Loan("2024-01-02:1000", "2024-02-02:300; 2024-03-05:300; 2024-04-02:450"),
         nullptr,
         {},
         0,
         0,
         "payment 2 is not a whole number of months after the one before it"},
        {"a payment with a fraction of a cent",
         Loan("2024-01-02:1000", "12:90.005:2024-02-02", U::Month),
         nullptr,
         {},
         0,
         0,
         "payment 1 is not a whole number of cents"},
        {"more payments than a schedule holds",
         Loan("2000-01-03:100000", "486:300:2000-01-10", U::Week),
         nullptr,
         {},
         0,
         0,
         "the loan has 486 payments; the program's schedules hold at most 485"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TimedLoan timed = Timed(c.loan);
        if (c.exact) {
            const AppendixJRate rate = SolveAppendixJ(timed.flows, timed.perYear);
            ASSERT_TRUE(rate.found) << rate.message;
            EXPECT_EQ(FourDecimalRate(rate.apr), c.exact);
        }
        const ProgramFit fit = FitProgramIntervals(timed);
        if (c.groups.empty()) {
            EXPECT_FALSE(fit.schedule);
            EXPECT_NE(fit.reason.find(c.whyNot), std::string::npos) << fit.reason;
            continue;
        }
        ASSERT_TRUE(fit.schedule) << fit.reason;
        EXPECT_EQ(fit.schedule->groups, c.groups);
        EXPECT_EQ(ItemOf(fit.schedule->interval), c.intervalItem);
        EXPECT_DOUBLE_EQ(fit.schedule->amountFinanced, c.loan.advances.front().amount);
        // The program rounds to three decimals on its own basis.
        EXPECT_NEAR(ProgramApr(*fit.schedule).value_or(0.0), c.programApr, 0.001);
    }
}

TEST(DatedLoan, DisclosureCheckJudgesAgainstTheExactRate) {
    const TimedLoan loan = Timed(Loan("1978-02-10:6000", "36:200:1978-04-01", UnitPeriod::Month));
    const CheckedScheduleResult schedule = ScheduleOfTimedLoan(loan, 11.817);
    ASSERT_TRUE(schedule.schedule) << schedule.error;
    EXPECT_EQ(schedule.schedule->amountFinanced, 6000 * kCurrencyPerDollar);
    EXPECT_EQ(schedule.schedule->totalOfPayments, 7200 * kCurrencyPerDollar);
    struct Case {
        double apr;
        std::optional<double> charge;
        VerdictTone tone;
        const char* words;
    };
    const Case cases[] = {
        {11.82, std::nullopt, VerdictTone::Accurate, "Accurate"},
        // 0.1165 below the exact 11.8165: accurate, close to the 1/8 point.
        {11.70, std::nullopt, VerdictTone::NearBoundary,
         "Accurate, within 0.01 of the boundary of the tolerance"},
        {11.69, std::nullopt, VerdictTone::NearBoundary,
         "Not accurate, within 0.01 of the boundary of the tolerance"},
        {11.60, std::nullopt, VerdictTone::NotAccurate, "Not accurate"},
        // Over $1,000 financed a charge may be $10 off, and no more.
        {11.82, 1210.00, VerdictTone::Accurate, "Accurate"},
        {11.82, 1189.99, VerdictTone::NotAccurate, "Not accurate"},
        {11.70, 1189.99, VerdictTone::NotAccurate,
         "Not accurate, within 0.01 of the boundary of the tolerance"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.apr);
        DisclosedTerms disclosed{c.apr, std::nullopt};
        if (c.charge) disclosed.financeCharge = DollarsToCurrency(*c.charge);
        const DisclosureCheck check = CheckDisclosure(*schedule.schedule, disclosed);
        EXPECT_EQ(ToneOf(check), c.tone);
        EXPECT_EQ(VerdictWords(check), c.words);
    }

    const DisclosureCheck check = CheckDisclosure(*schedule.schedule, {11.69, 1200 * 10000});
    const std::vector<std::string> expected{
        "Disclosure check (actuarial method, Appendix J)",
        "Amount financed:      $6,000.00",
        "Total of payments:    $7,200.00",
        "Unit period:          month",
        "Appendix J rate:      11.8165 %",
        "Program's APR:        11.817 %",
        "Transaction:          regular (equal payments at equal intervals, apart from the first "
        "period and the first and final payments)",
        "Disclosed APR:        11.6900 %",
        "Tolerance:            1/8 of one percentage point (0.125)",
        "Difference:           -0.1265 points",
        "APR:                  not accurate (within 0.01 of the boundary: look twice)",
        "Finance charge:       $1,200.00, disclosed $1,200.00, tolerance $10.00: accurate",
        "Verdict:              Not accurate, within 0.01 of the boundary of the tolerance",
    };
    EXPECT_EQ(DisclosureReportLines(check), expected);
}

TEST(DatedLoan, ScheduleOfTheProgramsGroupsIsPlacedInItsInterval) {
    // A schedule computed on the APR pages, (c)(2)(i): an odd first payment
    // leaves it regular. A unit period none of the program's intervals has is
    // refused rather than guessed.
    const std::vector<PayGroup> groups{{1, 1, 250, 1, 0}, {23, 2, 230, 1, 0}};
    const CheckedScheduleResult s = ScheduleOfGroups(5000, groups, 30, 10.083);
    ASSERT_TRUE(s.schedule) << s.error;
    const DisclosureCheck check = CheckDisclosure(*s.schedule, {10.08, std::nullopt});
    ASSERT_TRUE(check.rate.found);
    EXPECT_EQ(FourDecimalRate(check.rate.apr), "10.0829");
    EXPECT_EQ(check.shape.kind, TransactionKind::Regular);
    EXPECT_EQ(s.schedule->totalOfPayments, 5540 * kCurrencyPerDollar);
    EXPECT_FALSE(ScheduleOfGroups(5000, groups, 28, 10.0).schedule);
}

TEST(DatedLoanFile, SavedLoanReadsBackAsItWas) {
    test::TempFolder folder("qv_dated_");
    DatedLoan loan = Loan("2024-01-02:500.25; 2024-02-02:1000",
                          "3:99.9999:2024-03-02; "
                          "2025-01-31:0.01",
                          UnitPeriod::Month);
    loan.unit = UnitPeriod::TwoWeeks;
    const auto file = folder.path / "loan.txt";
    ASSERT_TRUE(SaveDatedLoanFile(file, loan).ok);
    const DatedLoanRead read = LoadDatedLoanFile(file);
    ASSERT_TRUE(read.loan) << read.error;
    EXPECT_EQ(DatedLoanText(*read.loan), DatedLoanText(loan));
    EXPECT_EQ(read.loan->unit, UnitPeriod::TwoWeeks);
    ASSERT_EQ(read.loan->payments.size(), 4u);
    EXPECT_EQ(read.loan->payments[1].amount, 99.9999);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"loan.txt"});
}

TEST(DatedLoanFile, EveryFaultIsRefusedWithItsLine) {
    const std::string head = std::string(kDatedLoanHeader) + "\n";
    const std::string good = "advance 2024-01-02 1000\npayment 2024-02-02 520\n";
    struct Case {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"", "the file is empty"},
        {"Amount,Interval\n1000,1\n", "this is not a dated loan"},
        {head + "advance 2024-01-02 1000\npayment 2024-02-30 520\n", "line 3: \"2024-02-30\""},
        {head + "advance 2024-01-02 -1000\n", "line 2: \"-1000\" is not an amount above zero"},
        {head + "advance 2024-01-02\n", "line 2: an advance line holds a date and an amount"},
        {head + "refund 2024-01-02 5\n", "line 2: \"refund\" is not"},
        {head + "unit month\nunit week\n" + good, "line 3: the unit period is named twice"},
        {head + "unit fortnightly-ish\n" + good, "line 2: "},
        {head + "advance 2024-01-02 1000\n" + std::string(300, 'x') + "\n",
         "line 3: the line is too long"},
        {head + "advance 2024-03-02 1000\npayment 2024-02-02 520\n",
         "falls before the first advance"},
        {head + good + "advance 2024-01-02 5\n", "two advances are dated 2024-01-02"},
        {head + "advance 2024-01-02 1000\n", "the loan has no payment"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        std::istringstream in(c.text);
        const DatedLoanRead read = ReadDatedLoan(in, static_cast<std::int64_t>(c.text.size()));
        EXPECT_FALSE(read.loan);
        EXPECT_NE(read.error.find(c.error), std::string::npos) << read.error;
    }
    std::istringstream in(head + "\r\n" + good);
    EXPECT_TRUE(ReadDatedLoan(in, 0).loan) << "blank lines and CRLF ends are allowed";
}

}  // namespace
}  // namespace qv::regz
