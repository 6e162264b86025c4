#pragma once
// The common interval between payments, as the interval groups of the pages
// offer it and as schedule and list files store it (by its item number).
//
// One table says everything the program knows about each interval: the unit
// period the APR engine counts in, the nominal count a year the
// variable-rate amortization and the payment estimate use, the regulation's
// unit period, and the words the pages, charts and batch lines use for it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qv {

// In item order: the order of every interval group and the number a file
// stores.
enum class Interval : std::uint8_t { Annually, Monthly, HalfMonthly, TwoWeekly, Weekly };

inline constexpr int kIntervalCount = 5;

struct IntervalInfo {
    Interval interval;
    // The unit period of the APR engine: days in one (DaysPerPd) and periods
    // a year (PdsPerYear). Two-weekly and weekly are exact fractions of a
    // 365-day year.
    std::int32_t DaysPerPd;
    double PdsPerYear;
    // Whole intervals a year (26 two-weeks, 52 weeks): the variable-rate
    // amortization charges rate / perYear, and the payment estimate uses it.
    int nominalPerYear;
    // The regulation's name for the unit period, as the exact-rate
    // computation reads it.
    std::string_view regulationUnit;
    std::string_view name;       // in the figure report: "Half-Monthly"
    std::string_view unitWord;   // in the variable-rate chart: " half-month"
    std::string_view batchName;  // in batch lines: "halfmonth"
    // The items of the pages' interval groups, each page's own wording.
    std::string_view regularCaption;
    std::string_view irregularCaption;
    std::string_view varyCaption;
    std::string_view splitCaption;
};

inline constexpr std::array<IntervalInfo, kIntervalCount> kIntervals{{
    {Interval::Annually, 365, 365.0 / 365.0, 1, "year", "Yearly", " year", "annually",
     "Annually (1/a,365 days)", "Annually (1/a,365 days)", "Annually (1/a,365 days)",
     "Annually (1/a,365 days)"},
    {Interval::Monthly, 30, 12.0, 12, "month", "Monthly", " month", "monthly",
     "Monthly (12/a,30*days)", "Monthly (12/a,30* days)", "Monthly (12/a,30* days)",
     "Monthly (12/a,30* days)"},
    {Interval::HalfMonthly, 15, 24.0, 24, "semimonth", "Half-Monthly", " half-month", "halfmonth",
     "HalfMonthly (24/a,15*days)", "HalfMonth (24/a,15* days)", "HalfMonth (24/a,15* days)   ",
     "Half Month (24/a,15* days)"},
    {Interval::TwoWeekly, 14, 365.0 / 14.0, 26, "two weeks", "Two-Weekly", " two week", "twoweeks",
     "TwoWeekly (26+/a,14 days)", "TwoWeeks (26+/a,14 days)", "TwoWeeks (26+/a,14 days)",
     "TwoWeeks (26+/a,14 days)"},
    {Interval::Weekly, 7, 365.0 / 7.0, 52, "week", "Weekly", " week", "weekly",
     "Weekly (52+/a,7 days)", "Weekly (52/a,7 days)", "Weekly (52/a,7 days)",
     "Weekly (52/a,7 days)"},
}};

// The interval every page starts on.
inline constexpr Interval kStartInterval = Interval::Monthly;

constexpr const IntervalInfo& Describe(Interval interval) {
    return kIntervals[static_cast<std::size_t>(interval)];
}

// The item number of an interval: its place in the interval groups and the
// number files store.
constexpr int ItemOf(Interval interval) {
    return static_cast<int>(interval);
}

// The interval of an item number; nothing for a number outside 0..4 (a group
// with no item chosen, or a file that stores a number the program does not
// know).
constexpr std::optional<Interval> IntervalOfItem(std::int64_t item) {
    if (item < 0 || item >= kIntervalCount) return std::nullopt;
    return kIntervals[static_cast<std::size_t>(item)].interval;
}

}  // namespace qv
