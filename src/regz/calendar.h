#pragma once
// Calendar dates as loan documents give them, and the count of unit periods
// between two of them by Regulation Z, Appendix J (b)(3)(iv) and (b)(5): whole
// calendar months measured back from the later date, then the days left.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "regz/unit_period.h"

namespace qv::regz {

using Date = std::chrono::year_month_day;

// Years a loan date may have: well around any consumer credit, and narrow
// enough that no count of days between two of them can overflow.
inline constexpr int kFirstYear = 1900;
inline constexpr int kLastYear = 2199;

struct DateParse {
    std::optional<Date> date;
    std::string error;  // why the text is no date, when it is not
};

// A date written YYYY-MM-DD, strictly: four-digit year, two-digit month and
// day, a date that exists (no 2023-02-29), a year from kFirstYear to kLastYear.
DateParse ParseIsoDate(std::string_view text);
std::string FormatIsoDate(const Date& date);

// Days from `from` to `to` (negative when `to` comes first).
std::int64_t DaysBetween(const Date& from, const Date& to);
bool IsMonthEnd(const Date& date);

// The date `months` calendar months after (or, negative, before) `date`, on
// the same day of the month, or on the month's last day when the month is
// shorter (the 31st, the 30th or the 29th falls on the last of February).
//
// `seriesDay` is the day of the month a series of payments is scheduled for
// (29, 30 or 31; 0 for none): a payment on the last day of a shorter month
// stands for that day, so it measures to that day of the other month. A
// series on the 31st is one on the last day of each month, and a series on
// the 30th paid on 28 February counts from 30 January (Appendix J
// (b)(3)(iv)).
Date AddMonths(const Date& date, int months, int seriesDay = 0);

// Whole months from `earlier` to `later`, measured back from `later`, and the
// days from `earlier` forward to the first of those months. `earlier` must not
// come after `later`.
struct MonthsAndDays {
    std::int64_t months = 0;
    std::int64_t days = 0;
};
MonthsAndDays MonthsBack(const Date& earlier, const Date& later, int seriesDay);

// The time from `earlier` to `later` in unit periods: whole ones and the
// fraction of one, as Appendix J (b)(5) counts them. Days and weeks divide the
// days; semimonths and multiples of a month count 30 days a whole month plus
// the days left; a month counts whole months and the days left over 30; a
// year counts whole years, then the months left over 12, or the days left over
// 365 when the rest is no whole number of months.
struct UnitSpan {
    std::int64_t periods = 0;
    double fraction = 0.0;
};
UnitSpan CountUnitPeriods(const Date& earlier, const Date& later, UnitPeriod unit, int seriesDay);

}  // namespace qv::regz
