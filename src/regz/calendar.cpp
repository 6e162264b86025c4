#include "regz/calendar.h"

#include <cstdio>

namespace qv::regz {

namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::months;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day_last;

constexpr std::string_view kMonthNames[] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};

bool Digits(std::string_view text, std::size_t from, std::size_t count, int& value) {
    value = 0;
    for (std::size_t k = from; k < from + count; ++k) {
        const char c = text[k];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

unsigned LastDay(const year& y, const month& m) {
    return static_cast<unsigned>(year_month_day_last(y, std::chrono::month_day_last(m)).day());
}

}  // namespace

DateParse ParseIsoDate(std::string_view text) {
    const std::string shown = "\"" + std::string(text) + "\"";
    int y = 0;
    int m = 0;
    int d = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !Digits(text, 0, 4, y) ||
        !Digits(text, 5, 2, m) || !Digits(text, 8, 2, d)) {
        return {std::nullopt, shown + " is not a date written YYYY-MM-DD"};
    }
    if (y < kFirstYear || y > kLastYear) {
        return {std::nullopt, shown + " is outside the years " + std::to_string(kFirstYear) +
                                  " to " + std::to_string(kLastYear)};
    }
    if (m < 1 || m > 12) return {std::nullopt, shown + " has no month " + std::to_string(m)};
    const unsigned last = LastDay(year(y), month(static_cast<unsigned>(m)));
    if (d < 1 || static_cast<unsigned>(d) > last) {
        return {std::nullopt, shown + " is not a date: " +
                                  std::string(kMonthNames[static_cast<std::size_t>(m - 1)]) + " " +
                                  std::to_string(y) + " has " + std::to_string(last) + " days"};
    }
    return {Date(year(y), month(static_cast<unsigned>(m)), day(static_cast<unsigned>(d))), {}};
}

std::string FormatIsoDate(const Date& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

std::int64_t DaysBetween(const Date& from, const Date& to) {
    return (sys_days(to) - sys_days(from)).count();
}

bool IsMonthEnd(const Date& date) {
    return static_cast<unsigned>(date.day()) == LastDay(date.year(), date.month());
}

Date AddMonths(const Date& date, int count, int seriesDay) {
    const std::chrono::year_month target =
        std::chrono::year_month(date.year(), date.month()) + months(count);
    const unsigned last = LastDay(target.year(), target.month());
    const unsigned dayOfMonth = static_cast<unsigned>(date.day());
    const unsigned series = seriesDay > 0 ? static_cast<unsigned>(seriesDay) : 0;
    const unsigned wanted = IsMonthEnd(date) && dayOfMonth < series ? series : dayOfMonth;
    return Date(target.year(), target.month(), day(wanted < last ? wanted : last));
}

MonthsAndDays MonthsBack(const Date& earlier, const Date& later, int seriesDay) {
    const int apart = (static_cast<int>(later.year()) - static_cast<int>(earlier.year())) * 12 +
                      (static_cast<int>(static_cast<unsigned>(later.month())) -
                       static_cast<int>(static_cast<unsigned>(earlier.month())));
    // Counting back `apart` months lands in the earlier date's month: on or
    // after the earlier date, or before it, when one month fewer is whole.
    for (int n = apart; n > 0; --n) {
        const Date start = AddMonths(later, -n, seriesDay);
        if (sys_days(start) >= sys_days(earlier)) return {n, DaysBetween(earlier, start)};
    }
    return {0, DaysBetween(earlier, later)};
}

UnitSpan CountUnitPeriods(const Date& earlier, const Date& later, UnitPeriod unit, int seriesDay) {
    const UnitPeriodInfo& info = Describe(unit);
    if (unit == UnitPeriod::Year) {
        const MonthsAndDays md = MonthsBack(earlier, later, seriesDay);
        UnitSpan span{md.months / 12, 0.0};
        if (md.days == 0) {
            span.fraction = static_cast<double>(md.months % 12) / 12.0;
            return span;
        }
        const Date yearsBack = AddMonths(later, -static_cast<int>(12 * span.periods), seriesDay);
        const std::int64_t rest = DaysBetween(earlier, yearsBack);
        // A rest of 365 days (eleven months and more across a 29 February)
        // is one more whole year.
        span.periods += rest / 365;
        span.fraction = static_cast<double>(rest % 365) / 365.0;
        return span;
    }
    std::int64_t days = 0;
    if (info.months > 0 || unit == UnitPeriod::Semimonth) {
        const MonthsAndDays md = MonthsBack(earlier, later, seriesDay);
        days = 30 * md.months + md.days;
    } else {
        days = DaysBetween(earlier, later);
    }
    // The days left after whole months can come to 30 (1 to 31 January), a
    // whole month: the fraction stays below one.
    return {days / info.daysPerUnit,
            static_cast<double>(days % info.daysPerUnit) / static_cast<double>(info.daysPerUnit)};
}

}  // namespace qv::regz
