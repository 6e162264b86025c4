#pragma once
// The unit periods of Regulation Z, Appendix J (b)(4)-(b)(5): the interval a
// rate is stated for, how many of them make a year, and how odd days are
// counted as a fraction of one.
#include <array>
#include <optional>
#include <string_view>

#include "core/interval.h"

namespace qv::regz {

// Ordered from the shortest to the longest, so "the smaller of two common
// periods" is the one that comes first.
enum class UnitPeriod {
    Day,
    Week,
    TwoWeeks,
    Semimonth,
    FourWeeks,
    Month,
    TwoMonths,
    Quarter,
    FourMonths,
    HalfYear,
    Year,
};

struct UnitPeriodInfo {
    UnitPeriod unit;
    std::string_view name;  // the name reports and input use
    double perYear;         // unit periods in a year
    // Days of one unit period when odd days are counted as a fraction of it:
    // whole days for days and weeks, 15 for a semimonth, 30 a month for
    // months, 365 for a year (odd days beyond whole months).
    int daysPerUnit;
    int months;          // calendar months in one unit period; 0 for days and weeks
    double nominalDays;  // its average length, to find the nearest one
};

inline constexpr std::array<UnitPeriodInfo, 11> kUnitPeriods{{
    {UnitPeriod::Day, "day", 365.0, 1, 0, 1.0},
    {UnitPeriod::Week, "week", 52.0, 7, 0, 7.0},
    {UnitPeriod::TwoWeeks, "two weeks", 26.0, 14, 0, 14.0},
    {UnitPeriod::Semimonth, "semimonth", 24.0, 15, 0, 365.0 / 24.0},
    {UnitPeriod::FourWeeks, "four weeks", 13.0, 28, 0, 28.0},
    {UnitPeriod::Month, "month", 12.0, 30, 1, 365.0 / 12.0},
    {UnitPeriod::TwoMonths, "two months", 6.0, 60, 2, 365.0 / 6.0},
    {UnitPeriod::Quarter, "quarter", 4.0, 90, 3, 365.0 / 4.0},
    {UnitPeriod::FourMonths, "four months", 3.0, 120, 4, 365.0 / 3.0},
    {UnitPeriod::HalfYear, "half year", 2.0, 180, 6, 365.0 / 2.0},
    {UnitPeriod::Year, "year", 1.0, 365, 12, 365.0},
}};

constexpr const UnitPeriodInfo& Describe(UnitPeriod unit) {
    return kUnitPeriods[static_cast<std::size_t>(unit)];
}

// Months and their multiples count odd days at 30 a month; so does the
// semimonth, at 15 (Appendix J (b)(5)(ii)-(iii)).
constexpr bool IsMonthBased(UnitPeriod unit) {
    return Describe(unit).months > 0;
}

// A unit period by name, case-insensitive, spaces, hyphens and underscores
// ignored: the names above ("two weeks", "half-year"), their adjectives
// ("weekly", "quarterly") and the companion's interval names (annually,
// monthly, halfmonth, twoweeks, weekly).
std::optional<UnitPeriod> UnitPeriodFromName(std::string_view name);

// The unit period of an interval of the program's schedules and files,
// counted as the regulation counts it: 52 weeks and 26 two-week periods a
// year.
UnitPeriod UnitPeriodOfInterval(Interval interval);

// The names UnitPeriodFromName knows, for messages.
std::string_view UnitPeriodNames();

}  // namespace qv::regz
