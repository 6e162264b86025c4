#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "regz/appendix_j.h"
#include "regz/calendar.h"
#include "regz/loan_timing.h"
#include "regz/regz_input.h"

namespace qv::regz {
namespace {

Date D(std::string_view iso) {
    const DateParse p = ParseIsoDate(iso);
    EXPECT_TRUE(p.date) << iso << ": " << p.error;
    return p.date.value_or(Date{});
}

std::vector<Date> Dates(const std::vector<const char*>& isos) {
    std::vector<Date> dates;
    for (const char* iso : isos) dates.push_back(D(iso));
    return dates;
}

TEST(LoanDates, DatesAreReadStrictly) {
    for (const char* good : {"2024-02-29", "1978-02-10", "1900-01-01", "2199-12-31"}) {
        const DateParse p = ParseIsoDate(good);
        ASSERT_TRUE(p.date) << good << ": " << p.error;
        EXPECT_EQ(FormatIsoDate(*p.date), good);
    }
    for (const char* bad : {"2023-02-29", "2024-04-31", "2024-13-01", "2024-00-10", "2024-01-00",
                            "2024-1-05", "2024-01-5", " 2024-01-05", "2024/01/05", "1899-12-31",
                            "2200-01-01", "", "abcd-ef-gh", "2024-01-05x", "+024-01-05"}) {
        const DateParse p = ParseIsoDate(bad);
        EXPECT_FALSE(p.date) << bad;
        EXPECT_NE(p.error.find(std::string("\"") + bad + "\""), std::string::npos) << p.error;
    }
    EXPECT_NE(ParseIsoDate("2023-02-29").error.find("February 2023 has 28 days"),
              std::string::npos);
}

TEST(LoanDates, UnitPeriodsBetweenTwoDatesCountCalendarMonthsBack) {
    using U = UnitPeriod;
    struct Case {
        const char* earlier;
        const char* later;
        UnitPeriod unit;
        int seriesDay;
        std::int64_t periods;
        double fraction;
    };
    const Case cases[] = {
        {"1978-02-10", "1978-04-01", U::Month, 0, 1, 19.0 / 30},
        // From the 29th back a month is the 29th: two days short of a month.
        {"2024-01-31", "2024-02-29", U::Month, 0, 0, 29.0 / 30},
        // In a series on the last day of each month it is a whole month.
        {"2024-01-31", "2024-02-29", U::Month, 31, 1, 0.0},
        {"2024-01-31", "2024-04-30", U::Month, 31, 3, 0.0},
        {"2024-01-31", "2024-04-30", U::Month, 0, 2, 29.0 / 30},
        // A series on the 30th, paid on the last of February.
        {"2024-01-10", "2024-02-29", U::Month, 30, 1, 20.0 / 30},
        {"2023-01-10", "2023-02-28", U::Month, 30, 1, 20.0 / 30},
        {"2024-01-10", "2024-02-29", U::Month, 0, 1, 19.0 / 30},
        {"2024-01-01", "2024-01-31", U::Month, 0, 1, 0.0},  // 30 days left: a whole month
        {"1978-05-23", "1978-10-01", U::Quarter, 0, 1, 39.0 / 90},
        {"1978-01-10", "1981-05-01", U::TwoMonths, 0, 19, 52.0 / 60},
        {"1978-02-23", "1978-03-16", U::Semimonth, 0, 1, 6.0 / 15},
        {"1978-03-20", "1978-04-21", U::Week, 0, 4, 4.0 / 7},
        {"2024-02-20", "2024-03-05", U::TwoWeeks, 0, 1, 0.0},  // across 29 February
        {"2023-01-15", "2024-07-15", U::Year, 0, 1, 6.0 / 12},
        {"2023-01-15", "2024-07-20", U::Year, 0, 1, 186.0 / 365},
        {"2020-02-29", "2021-02-28", U::Year, 0, 1, 0.0},  // 365 days from a leap day
        {"2024-06-01", "2024-06-01", U::Month, 0, 0, 0.0},
    };
    for (const Case& c : cases) {
        const UnitSpan span = CountUnitPeriods(D(c.earlier), D(c.later), c.unit, c.seriesDay);
        EXPECT_EQ(span.periods, c.periods) << c.earlier << " to " << c.later;
        EXPECT_DOUBLE_EQ(span.fraction, c.fraction) << c.earlier << " to " << c.later;
    }
}

TEST(LoanDates, TheSeriesDayIsFoundOnlyForSeriesLateInTheMonth) {
    struct Case {
        std::vector<const char*> payments;
        int day;
    };
    const Case cases[] = {
        {{"2024-01-31", "2024-02-29", "2024-03-31", "2024-04-30"}, 31},
        {{"2024-01-15", "2024-01-31", "2024-02-15", "2024-02-29"}, 31},
        {{"2024-01-30", "2024-02-29", "2024-03-30", "2024-04-30"}, 30},
        {{"2023-01-29", "2023-02-28", "2023-03-29"}, 29},
        {{"2024-01-28", "2024-02-28", "2024-03-28"}, 0},
        {{"2024-01-30", "2024-02-28"}, 0},  // the 28th is no last day in a leap year
        {{"2024-04-30"}, 0},
        {{"2024-01-15", "2024-02-15"}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SeriesDayOfMonth(Dates(c.payments)), c.day) << c.payments.front();
    }
}

TEST(LoanDates, TheUnitPeriodIsTheMostCommonPeriod) {
    using U = UnitPeriod;
    struct Case {
        const char* name;
        const char* advance;
        const char* payments;
        UnitPeriod step;  // what the groups in `payments` step by
        UnitPeriod chosen;
    };
    const Case cases[] = {
        {"monthly", "2024-01-20", "12:100:2024-02-15", U::Month, U::Month},
        {"month ends", "2024-01-10", "12:100:2024-01-31", U::Month, U::Month},
        {"on the 30th", "2024-01-10", "12:100:2024-01-30", U::Month, U::Month},
        {"15th and last day", "2024-01-03", "24:100:2024-01-15", U::Semimonth, U::Semimonth},
        {"1st and 16th", "2024-01-20", "24:100:2024-02-01", U::Semimonth, U::Semimonth},
        {"every two weeks", "2024-01-03", "26:100:2024-01-15", U::TwoWeeks, U::TwoWeeks},
        {"weekly", "2024-01-03", "52:100:2024-01-15", U::Week, U::Week},
        {"every four weeks", "2024-01-03", "13:100:2024-01-29", U::FourWeeks, U::FourWeeks},
        {"quarterly", "2024-01-03", "8:100:2024-03-31", U::Quarter, U::Quarter},
        {"half-yearly", "2024-01-03", "4:100:2024-07-01", U::HalfYear, U::HalfYear},
        {"yearly", "2024-01-03", "3:100:2025-01-03", U::Year, U::Year},
        // Two weeks, one week and a semimonth each occur twice: the shortest.
        {"ties", "2023-12-20",
         "2024-01-08:1; 2024-01-15:1; 2024-01-22:1; 2024-02-05:1; 2024-02-19:1", U::Day, U::Week},
        // No period occurs twice: the average, 78 days, is nearest a quarter.
        {"no common period", "2024-01-20", "2024-03-01:1; 2024-05-15:1; 2024-09-10:1", U::Day,
         U::Quarter},
    };
    for (const Case& c : cases) {
        const DatedItemsParse p = ParsePayments(c.payments, c.step);
        ASSERT_TRUE(p.error.empty()) << c.name << ": " << p.error;
        std::vector<Date> dates;
        for (const DatedAmount& d : p.items) dates.push_back(d.date);
        EXPECT_EQ(ChooseUnitPeriod(D(c.advance), {}, dates, SeriesDayOfMonth(dates)), c.chosen)
            << c.name;
    }
}

TEST(LoanDates, MonthEndAndLeapDaySchedulesByDates) {
    struct Case {
        const char* name;
        const char* advance;
        const char* payments;
        double fraction;   // every payment's, at t = 1, 2, ...
        double reference;  // worked with mpmath
    };
    const Case cases[] = {
        {"the last day of each month, through 29 February", "2024-01-31:1000",
         "2024-02-29:90; 2024-03-31:90; 2024-04-30:90; 2024-05-31:90; 2024-06-30:90; "
         "2024-07-31:90; 2024-08-31:90; 2024-09-30:90; 2024-10-31:90; 2024-11-30:90; "
         "2024-12-31:90; 2025-01-31:90",
         0.0, 14.4521481377027},
        {"the 30th, with 29 February standing for it", "2024-01-10:1000",
         "2024-02-29:90; 11:90:2024-03-30", 20.0 / 30, 13.0721027432643},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DatedLoan loan{ParseAdvances(c.advance).items,
                             ParsePayments(c.payments, UnitPeriod::Month).items, std::nullopt};
        ASSERT_EQ(loan.payments.size(), 12u);
        const TimedLoanResult r = TimeDatedLoan(loan);
        ASSERT_TRUE(r.loan) << r.error;
        EXPECT_EQ(r.loan->unit, UnitPeriod::Month);
        for (std::size_t k = 1; k < r.loan->flows.size(); ++k) {
            EXPECT_EQ(r.loan->flows[k].periods, static_cast<std::int64_t>(k));
            EXPECT_DOUBLE_EQ(r.loan->flows[k].fraction, c.fraction);
        }
        const AppendixJRate rate = SolveAppendixJ(r.loan->flows, r.loan->perYear);
        ASSERT_TRUE(rate.found);
        EXPECT_NEAR(rate.apr, c.reference, 1e-9);
    }
}

TEST(LoanDates, GroupsStepByTheCalendar) {
    using U = UnitPeriod;
    struct Case {
        const char* first;
        int count;
        UnitPeriod unit;
        std::vector<const char*> dates;
    };
    const Case cases[] = {
        {"2024-01-31", 4, U::Month, {"2024-01-31", "2024-02-29", "2024-03-31", "2024-04-30"}},
        {"2024-01-30", 3, U::Month, {"2024-01-30", "2024-02-29", "2024-03-30"}},
        {"2023-11-30", 2, U::Quarter, {"2023-11-30", "2024-02-29"}},
        {"2024-01-15", 4, U::Semimonth, {"2024-01-15", "2024-01-31", "2024-02-15", "2024-02-29"}},
        {"2024-01-16", 3, U::Semimonth, {"2024-01-16", "2024-02-01", "2024-02-16"}},
        {"2024-04-30", 3, U::Semimonth, {"2024-04-30", "2024-05-15", "2024-05-31"}},
        {"2024-01-14", 4, U::Semimonth, {"2024-01-14", "2024-01-29", "2024-02-14", "2024-02-29"}},
        {"2024-02-26", 2, U::Week, {"2024-02-26", "2024-03-04"}},
        {"2024-02-29", 2, U::Year, {"2024-02-29", "2025-02-28"}},
    };
    for (const Case& c : cases) {
        const std::vector<Date> stepped = StepDates(D(c.first), c.count, c.unit);
        std::vector<std::string> got;
        for (const Date& d : stepped) got.push_back(FormatIsoDate(d));
        EXPECT_EQ(got, std::vector<std::string>(c.dates.begin(), c.dates.end())) << c.first;
    }
}

TEST(LoanDates, InputThatIsNoLoanIsRefusedWithItsReason) {
    struct Case {
        const char* advances;
        const char* payments;
        const char* said;
    };
    const Case cases[] = {
        {"2024-01-10:1000", "2024-02-30:100", "February 2024 has 29 days"},
        {"2024-01-10:1000", "3:100:2024-02-10", "needs a unit period"},
        {"2024-01-10:1000", "2024-02-10:-5", "\"-5\" is not an amount above zero"},
        {"2024-01-10:1000", "2024-02-10:1e3", "\"1e3\" is not an amount above zero"},
        {"2024-01-10:1000", "2024-02-10:1,000", "is not an amount above zero"},
        {"2024-01-10:1000", "2024-02-10", "write date:amount or count:amount:first_date"},
        {"2024-01-10:1000", "0:100:2024-02-10", "is not a count of payments above zero"},
        {"2024-01-10:1000", "", "no payments given"},
        {"3:1000:2024-01-10", "2024-02-10:100", "write date:amount"},
        {"2024-01-10:1000", "2024-01-09:1100", "falls before the first advance, on 2024-01-10"},
        {"2024-01-10:1000", "2024-01-10:1100", "no term"},
    };
    for (const Case& c : cases) {
        const DatedItemsParse a = ParseAdvances(c.advances);
        const DatedItemsParse p = ParsePayments(c.payments, std::nullopt);
        std::string error = !a.error.empty() ? a.error : p.error;
        if (error.empty()) {
            const TimedLoanResult r = TimeDatedLoan({a.items, p.items, std::nullopt});
            EXPECT_FALSE(r.loan) << c.payments;
            error = r.error;
        }
        EXPECT_NE(error.find(c.said), std::string::npos) << c.payments << ": " << error;
    }
    EXPECT_NE(ParsePayments("99999:100:2024-02-10", UnitPeriod::Month)
                  .error.find("run past the year 2199"),
              std::string::npos);
    const DatedLoan beyondCalendar{
        {{D("2024-01-10"), 1000.0}},
        {{Date(std::chrono::year(2300), std::chrono::January, std::chrono::day(1)), 1100.0}},
        std::nullopt};
    EXPECT_FALSE(TimeDatedLoan(beyondCalendar).loan);
    const std::vector<PayGroup> tooMany = {{60'000, 1, 10, 1, 0}, {60'000, 2, 10, 1, 0}};
    EXPECT_FALSE(TimeGroups(1000, tooMany, UnitPeriod::Month).loan);
    EXPECT_FALSE(TimeGroups(1000, {{{1, 1, 10, -1, 0}}}, UnitPeriod::Month).loan);
    EXPECT_FALSE(TimeGroups(0, {{{1, 1, 10, 1, 0}}}, UnitPeriod::Month).loan);
}

TEST(LoanDates, UnitPeriodNamesAreReadAsTyped) {
    using U = UnitPeriod;
    const std::pair<const char*, UnitPeriod> names[] = {
        {"day", U::Day},
        {"Weekly", U::Week},
        {"two weeks", U::TwoWeeks},
        {"twoweeks", U::TwoWeeks},
        {"halfmonth", U::Semimonth},
        {"SEMIMONTH", U::Semimonth},
        {"four-weeks", U::FourWeeks},
        {"monthly", U::Month},
        {"two_months", U::TwoMonths},
        {"quarter", U::Quarter},
        {"four months", U::FourMonths},
        {"half year", U::HalfYear},
        {"annually", U::Year},
        {"year", U::Year},
    };
    for (const auto& [name, unit] : names) {
        const UnitPeriodParse p = ParseUnitPeriod(name);
        ASSERT_TRUE(p.unit) << name << ": " << p.error;
        EXPECT_EQ(*p.unit, unit) << name;
    }
    for (const char* bad : {"", "fortnight", "months", "3 weeks"}) {
        EXPECT_FALSE(ParseUnitPeriod(bad).unit) << bad;
    }
    EXPECT_NE(ParseUnitPeriod("fortnight").error.find("\"fortnight\" is not a unit period"),
              std::string::npos);
    const UnitPeriod byItem[] = {U::Year, U::Month, U::Semimonth, U::TwoWeeks, U::Week};
    for (int item = 0; item < 5; ++item) {
        const Interval interval = *IntervalOfItem(item);
        EXPECT_EQ(UnitPeriodOfInterval(interval), byItem[item]) << item;
        EXPECT_EQ(Describe(byItem[item]).perYear, std::vector<double>({1, 12, 24, 26, 52})[item]);
        // The variable-rate amortization and the payment estimate count the
        // interval as the regulation does.
        EXPECT_EQ(Describe(interval).nominalPerYear, Describe(byItem[item]).perYear) << item;
    }
    EXPECT_FALSE(IntervalOfItem(5));
    EXPECT_FALSE(IntervalOfItem(-1));
}

}  // namespace
}  // namespace qv::regz
