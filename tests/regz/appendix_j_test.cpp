#include "regz/appendix_j.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "regz/appendix_j_check.h"
#include "regz/loan_timing.h"
#include "regz/regz_input.h"

namespace qv::regz {
namespace {

Date D(std::string_view iso) {
    const DateParse p = ParseIsoDate(iso);
    EXPECT_TRUE(p.date) << iso << ": " << p.error;
    return p.date.value_or(Date{});
}

// A loan by dates, written as the companion's input is.
TimedLoan ByDates(std::string_view advances, std::string_view payments,
                  std::optional<UnitPeriod> step = std::nullopt) {
    const DatedItemsParse a = ParseAdvances(advances);
    const DatedItemsParse p = ParsePayments(payments, step);
    EXPECT_TRUE(a.error.empty()) << a.error;
    EXPECT_TRUE(p.error.empty()) << p.error;
    const TimedLoanResult r = TimeDatedLoan({a.items, p.items, std::nullopt});
    EXPECT_TRUE(r.loan) << r.error;
    return r.loan.value_or(TimedLoan{});
}

TimedLoan ByGroups(double amount, std::vector<PayGroup> groups, UnitPeriod unit) {
    const TimedLoanResult r = TimeGroups(amount, groups, unit);
    EXPECT_TRUE(r.loan) << r.error;
    return r.loan.value_or(TimedLoan{});
}

// Four-weekly payments of 100 at the given times, by their dates from 1 January 1978.
TimedLoan FourWeeklyByDays(double amount, const std::vector<int>& days) {
    DatedLoan loan;
    const Date start = D("1978-01-01");
    loan.advances.push_back({start, amount});
    for (int d : days) {
        loan.payments.push_back({Date(std::chrono::sys_days(start) + std::chrono::days(d)), 100.0});
    }
    const TimedLoanResult r = TimeDatedLoan(loan);
    EXPECT_TRUE(r.loan) << r.error;
    return r.loan.value_or(TimedLoan{});
}

std::vector<int> C6iDays() {
    std::vector<int> days;
    auto add = [&](int from, int to, int odd) {
        for (int t = from; t <= to; ++t) days.push_back(28 * t + odd);
    };
    add(0, 8, 26);
    add(10, 15, 12);
    add(16, 21, 26);
    add(23, 25, 12);
    return days;
}

struct Example {
    const char* name;
    TimedLoan loan;
    double printed;    // the regulation's rate, two decimals
    double reference;  // worked to 40 digits with mpmath, outside this code
    Flow firstPayment;
};

// Regulation Z, Appendix J (c): every worked example, the ones given with
// dates entered by their dates.
std::vector<Example> Examples() {
    using U = UnitPeriod;
    return {
        {"(c)(1)(i)",
         ByGroups(5000, {{24, 1, 230, 1, 0}}, U::Month),
         9.69,
         9.68570806228077,
         {FlowKind::Payment, 230, 1, 0.0}},
        {"(c)(1)(ii)",
         ByDates("1978-02-10:6000", "36:200:1978-04-01", U::Month),
         11.82,
         11.816508290826,
         {FlowKind::Payment, 200, 1, 19.0 / 30}},
        {"(c)(1)(iii)",
         ByDates("1978-02-23:5000", "24:219.17:1978-03-01", U::Semimonth),
         10.34,
         10.3379029111271,
         {FlowKind::Payment, 219.17, 0, 6.0 / 15}},
        {"(c)(1)(iv)",
         ByDates("1978-05-23:10000", "40:385:1978-10-01", U::Quarter),
         8.97,
         8.97076964780097,
         {FlowKind::Payment, 385, 1, 39.0 / 90}},
        {"(c)(1)(v)",
         ByDates("1978-03-20:500", "30:17.60:1978-04-21", U::Week),
         14.96,
         14.9622226928461,
         {FlowKind::Payment, 17.60, 4, 4.0 / 7}},
        {"(c)(2)(i)",
         ByGroups(5000, {{1, 1, 250, 1, 0}, {23, 2, 230, 1, 0}}, U::Month),
         10.08,
         10.0828900271871,
         {FlowKind::Payment, 250, 1, 0.0}},
        {"(c)(2)(ii)",
         ByDates("1978-03-18:400", "1978-04-20:39.50; 11:38.31:1978-05-18", U::FourWeeks),
         28.50,
         28.4979398518977,
         {FlowKind::Payment, 39.50, 1, 5.0 / 28}},
        {"(c)(3)(i)",
         ByGroups(5000, {{23, 1, 230, 1, 0}, {1, 2, 280, 1, 0}}, U::Month),
         10.50,
         10.5004688578661,
         {FlowKind::Payment, 230, 1, 0.0}},
        {"(c)(3)(ii)",
         ByDates("1978-04-03:200", "19:9.50:1978-04-11; 1979-01-02:30", U::TwoWeeks),
         12.22,
         12.2248565421325,
         {FlowKind::Payment, 9.50, 0, 8.0 / 14}},
        {"(c)(4)(i)",
         ByGroups(5000, {{1, 1, 250, 1, 0}, {22, 2, 230, 1, 0}, {1, 3, 280, 1, 0}}, U::Month),
         10.90,
         10.895548703471,
         {FlowKind::Payment, 250, 1, 0.0}},
        {"(c)(4)(ii)",
         ByDates("1978-01-10:8000", "1978-03-01:449.36; 18:465:1978-05-01; 1981-05-01:200",
                 U::TwoMonths),
         7.30,
         7.30176515923858,
         {FlowKind::Payment, 449.36, 0, 52.0 / 60}},
        {"(c)(5)(i)",
         ByDates("1978-01-03:1000", "1978-09-15:1080"),
         11.45,
         11.4509803921569,
         {FlowKind::Payment, 1080, 1, 0.0}},
        {"(c)(5)(ii)",
         ByGroups(1000, {{1, 1, 1044, 6, 0}}, U::Month),
         8.80,
         8.8,
         {FlowKind::Payment, 1044, 1, 0.0}},
        {"(c)(5)(iii)",
         ByGroups(1000, {{1, 1, 1135.19, 18, 0}}, U::Month),
         8.76,
         8.75704708768049,
         {FlowKind::Payment, 1135.19, 1, 0.5}},
        {"(c)(5)(iv)",
         ByGroups(1000, {{1, 1, 1240, 2, 0}}, U::Year),
         11.36,
         11.3552872566004,
         {FlowKind::Payment, 1240, 2, 0.0}},
        {"(c)(6)(i)",
         FourWeeklyByDays(2135, C6iDays()),
         12.00,
         11.9951162915282,
         {FlowKind::Payment, 100, 0, 26.0 / 28}},
        {"(c)(6)(ii)",
         ByGroups(7350,
                  {{1, 1, 1000, 6, 12},
                   {2, 2, 1000, 1, 0},
                   {1, 3, 2000, 4, 0},
                   {1, 4, 750, 6, 0},
                   {2, 5, 750, 1, 0},
                   {1, 6, 1000, 2, 17}},
                  U::Month),
         10.22,
         10.2154439459016,
         {FlowKind::Payment, 1000, 6, 12.0 / 30}},
    };
}

TEST(AppendixJ, EveryWorkedExampleOfTheRegulationGivesItsRate) {
    for (const Example& e : Examples()) {
        SCOPED_TRACE(e.name);
        ASSERT_GE(e.loan.flows.size(), 2u);
        const Flow& first = e.loan.flows[1];
        EXPECT_EQ(first.kind, FlowKind::Payment);
        EXPECT_DOUBLE_EQ(first.amount, e.firstPayment.amount);
        EXPECT_EQ(first.periods, e.firstPayment.periods);
        EXPECT_NEAR(first.fraction, e.firstPayment.fraction, 1e-15);
        const AppendixJRate rate = SolveAppendixJ(e.loan.flows, e.loan.perYear);
        ASSERT_TRUE(rate.found) << rate.message;
        EXPECT_NEAR(rate.apr, e.reference, 1e-9);
        EXPECT_DOUBLE_EQ(std::round(rate.apr * 100.0) / 100.0, e.printed);
    }
}

TEST(AppendixJ, UnitPeriodsAYearFollowTheTerm) {
    // A single payment within a year: the term is the unit period.
    const Example e[] = {Examples()[11], Examples()[12], Examples()[13]};
    EXPECT_DOUBLE_EQ(e[0].loan.perYear, 365.0 / 255.0);
    EXPECT_TRUE(e[0].loan.termIsUnitPeriod);
    EXPECT_DOUBLE_EQ(e[1].loan.perYear, 2.0);
    EXPECT_EQ(e[2].loan.unit, UnitPeriod::Year);
    EXPECT_FALSE(e[2].loan.termIsUnitPeriod);
}

TEST(AppendixJ, ALoanByDatesAndByPeriodsAndDaysGivesTheSameRate) {
    using U = UnitPeriod;
    struct Pair {
        const char* name;
        TimedLoan dated;
        TimedLoan grouped;
    };
    const Pair pairs[] = {
        {"odd first period, monthly", ByDates("1978-02-10:6000", "36:200:1978-04-01", U::Month),
         ByGroups(6000, {{1, 1, 200, 1, 19}, {35, 2, 200, 1, 0}}, U::Month)},
        {"weekly", ByDates("1978-03-20:500", "30:17.60:1978-04-21", U::Week),
         ByGroups(500, {{1, 1, 17.60, 4, 4}, {29, 2, 17.60, 1, 0}}, U::Week)},
        {"two-monthly, odd first and last",
         ByDates("1978-01-10:8000", "1978-03-01:449.36; 18:465:1978-05-01; 1981-05-01:200",
                 U::TwoMonths),
         ByGroups(8000, {{1, 1, 449.36, 0, 52}, {18, 2, 465, 1, 0}, {1, 3, 200, 1, 0}},
                  U::TwoMonths)},
        {"255 days", ByDates("1978-01-03:1000", "1978-09-15:1080"),
         ByGroups(1000, {{1, 1, 1080, 255, 0}}, U::Day)},
    };
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(p.dated.flows, p.grouped.flows);
        EXPECT_EQ(p.dated.perYear, p.grouped.perYear);
        const AppendixJRate a = SolveAppendixJ(p.dated.flows, p.dated.perYear);
        const AppendixJRate b = SolveAppendixJ(p.grouped.flows, p.grouped.perYear);
        ASSERT_TRUE(a.found && b.found);
        EXPECT_EQ(a.apr, b.apr);
    }
}

TEST(AppendixJ, NoRateIsGivenWhereNoneExists) {
    using K = FlowKind;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        std::vector<Flow> flows;
        double perYear;
        NoRateReason reason;
    };
    const Case cases[] = {
        {"no flows", {}, 12, NoRateReason::NoAdvances},
        {"no payments", {{K::Advance, 100, 0, 0}}, 12, NoRateReason::NoPayments},
        {"no advance", {{K::Payment, 100, 1, 0}}, 12, NoRateReason::NoAdvances},
        {"payments short by a cent",
         {{K::Advance, 1000, 0, 0}, {K::Payment, 500, 1, 0}, {K::Payment, 499.99, 2, 0}},
         12,
         NoRateReason::PaymentsBelowAdvances},
        {"repaid at once, at more than was advanced",
         {{K::Advance, 1000, 0, 0}, {K::Payment, 1100, 0, 0}},
         12,
         NoRateReason::RateTooHigh},
        {"a rate past a million percent a period",
         {{K::Advance, 1, 0, 0}, {K::Payment, 1e6, 1, 0}},
         12,
         NoRateReason::RateTooHigh},
        {"zero amount",
         {{K::Advance, 0, 0, 0}, {K::Payment, 1, 1, 0}},
         12,
         NoRateReason::InvalidFlow},
        {"NaN amount",
         {{K::Advance, 10, 0, 0}, {K::Payment, nan, 1, 0}},
         12,
         NoRateReason::InvalidFlow},
        {"fraction of a whole period",
         {{K::Advance, 10, 0, 0}, {K::Payment, 11, 0, 1.0}},
         12,
         NoRateReason::InvalidFlow},
        {"negative time",
         {{K::Advance, 10, -1, 0}, {K::Payment, 11, 1, 0}},
         12,
         NoRateReason::InvalidFlow},
        {"beyond the longest term",
         {{K::Advance, 10, 0, 0}, {K::Payment, 11, kMaxFlowPeriods + 1, 0}},
         12,
         NoRateReason::InvalidFlow},
        {"no unit periods a year",
         {{K::Advance, 10, 0, 0}, {K::Payment, 11, 1, 0}},
         0,
         NoRateReason::InvalidUnitPeriods},
    };
    for (const Case& c : cases) {
        const AppendixJRate r = SolveAppendixJ(c.flows, c.perYear);
        EXPECT_FALSE(r.found) << c.name << ": " << r.apr;
        EXPECT_EQ(r.reason, c.reason) << c.name << ": " << r.message;
        EXPECT_FALSE(r.message.empty()) << c.name;
    }
    // Payments equal to the advances: the rate is exactly zero.
    const std::vector<Flow> free = {{K::Advance, 1000, 0, 0}, {K::Payment, 1000, 10, 0.5}};
    const AppendixJRate zero = SolveAppendixJ(free, 12);
    ASSERT_TRUE(zero.found);
    EXPECT_EQ(zero.apr, 0.0);
}

TEST(AppendixJ, CheckJudgesTheDisclosureAgainstTheExactRate) {
    using U = UnitPeriod;
    struct Case {
        const char* name;
        TimedLoan loan;
        double disclosed;
        TransactionKind kind;
        bool accurate;
    };
    const TimedLoan weekly = ByDates("1978-03-20:500", "30:17.60:1978-04-21", U::Week);
    const TimedLoan monthly = ByGroups(5000, {{24, 1, 228.48, 1, 0}}, U::Month);
    const Case cases[] = {
        {"weekly at 52 a year, 0.158 above", weekly, 15.12, TransactionKind::Regular, false},
        {"weekly at 52 a year, 0.102 below", weekly, 14.86, TransactionKind::Regular, true},
        {"0.125465 above the exact 9.024535", monthly, 9.15, TransactionKind::Regular, false},
        {"0.124535 below it", monthly, 8.90, TransactionKind::Regular, true},
        {"two advances: irregular, 0.183 from the exact 10.017124",
         ByDates("2024-01-10:3000; 2024-02-10:2000", "24:230:2024-02-10", U::Month), 10.2,
         TransactionKind::Irregular, true},
    };
    for (const Case& c : cases) {
        const ExactAprCheck check = CheckTimedLoan(c.loan, c.disclosed);
        ASSERT_TRUE(check.verdict) << c.name << ": " << check.rate.message;
        EXPECT_EQ(check.shape.kind, c.kind) << c.name;
        EXPECT_EQ(check.verdict->accurate, c.accurate) << c.name << ": " << check.rate.apr;
        EXPECT_EQ(check.verdict->computed, check.rate.apr) << c.name;
    }
    const ExactAprCheck none = CheckTimedLoan(ByGroups(5000, {{24, 1, 200, 1, 0}}, U::Month), 9.0);
    EXPECT_FALSE(none.verdict);
    EXPECT_EQ(none.rate.reason, NoRateReason::PaymentsBelowAdvances);
    EXPECT_EQ(none.rate.message,
              "the payments total $4,800.00, less than the $5,000.00 advanced: there is no "
              "finance charge to state as a rate");
}

// The two sides of the general equation, in long double with std::pow: an
// evaluation independent of the solver's.
struct Sides {
    long double balance = 0;  // payments less advances
    long double payments = 0;
    long double slope = 0;  // of the balance, by the rate
};

Sides Evaluate(const std::vector<Flow>& flows, long double i) {
    Sides s;
    for (const Flow& f : flows) {
        const long double pv = f.amount / ((1 + f.fraction * i) * std::pow(1 + i, f.periods));
        const long double sign = f.kind == FlowKind::Payment ? 1 : -1;
        s.balance += sign * pv;
        if (sign > 0) s.payments += pv;
        s.slope -= sign * pv * (f.periods / (1 + i) + f.fraction / (1 + f.fraction * i));
    }
    return s;
}

// The sides change order within 1e-13 of the rate, or within what double
// arithmetic can tell apart: a few units of the last place of 1 + i (every
// discount factor starts from it), and 32 roundings of the payments' present
// value through the slope, where the equation is flat.
void ExpectSolves(const std::vector<Flow>& flows, double rate, const std::string& what) {
    constexpr long double kEps = std::numeric_limits<double>::epsilon();
    const long double i = rate;
    const Sides at = Evaluate(flows, i);
    const long double d =
        i * 1e-13L + 8 * kEps * (1 + i) + 32 * kEps * at.payments / std::fabs(at.slope);
    EXPECT_GE(Evaluate(flows, i - d).balance, 0.0L) << what;
    EXPECT_LE(Evaluate(flows, i + d).balance, 0.0L) << what;
}

TEST(AppendixJ, TheRateReturnedSolvesTheEquation) {
    std::uint64_t seed = 20261208;
    auto next = [&](std::uint64_t range) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return (seed >> 33) % range;
    };
    // Found by fuzzing: 24 semimonthly payments of 209.12227 on 5,000, a rate
    // so low that the equation is flat to the last bits of its sides.
    const TimedLoan flat =
        ByDates("1978-02-23:5000", "24:209.12227:1978-03-01", UnitPeriod::Semimonth);
    const AppendixJRate low = SolveAppendixJ(flat.flows, flat.perYear);
    ASSERT_TRUE(low.found);
    EXPECT_NEAR(low.apr, 0.762908143434, 1e-10);
    ExpectSolves(flat.flows, low.unitPeriodRate, "209.12227 semimonthly");

    int solved = 0;
    for (int loan = 0; loan < 400; ++loan) {
        std::vector<Flow> flows;
        const std::uint64_t advances = 1 + next(3);
        for (std::uint64_t a = 0; a < advances; ++a) {
            flows.push_back({FlowKind::Advance, 1.0 + static_cast<double>(next(500000)) / 100.0,
                             static_cast<std::int64_t>(a == 0 ? 0 : next(3)),
                             a == 0 ? 0.0 : static_cast<double>(next(30)) / 30.0});
        }
        const std::uint64_t payments = 1 + next(480);
        const std::int64_t step = 1 + static_cast<std::int64_t>(next(3));
        for (std::uint64_t p = 0; p < payments; ++p) {
            flows.push_back({FlowKind::Payment, 0.01 + static_cast<double>(next(200000)) / 100.0,
                             3 + static_cast<std::int64_t>(p) * step,
                             static_cast<double>(next(15)) / 15.0});
        }
        const AppendixJRate r = SolveAppendixJ(flows, 12);
        if (!r.found) {
            EXPECT_TRUE(r.reason == NoRateReason::PaymentsBelowAdvances ||
                        r.reason == NoRateReason::RateTooHigh)
                << loan << ": " << r.message;
            continue;
        }
        ++solved;
        ExpectSolves(flows, r.unitPeriodRate,
                     std::to_string(loan) + " at " + std::to_string(r.apr));
        EXPECT_DOUBLE_EQ(r.apr, r.unitPeriodRate * 1200.0);
    }
    EXPECT_GT(solved, 200);
}

}  // namespace
}  // namespace qv::regz
